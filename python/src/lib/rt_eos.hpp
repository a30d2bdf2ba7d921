// Python class RtEos: one immutable isothermal model.
#pragma once

#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>
#include <nanobind/stl/string_view.h>

#include "lib/rt_model.hpp"

namespace quorvel::py {

struct RtEos {
  RtModel model;
};

void export_rt_eos(nanobind::module_& m);
void export_holzapfel_functions(nanobind::module_& m);

}  // namespace quorvel::py
