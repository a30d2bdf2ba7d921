// Python class ThermalEos: one immutable thermal model whose quantities are
// selected by name.
#pragma once

#include <nanobind/nanobind.h>

#include "lib/thermal_model.hpp"

namespace quorvel::py {

struct ThermalEos {
  ThermalModel model;
};

void export_thermal_eos(nanobind::module_& m);

}  // namespace quorvel::py
