// quorvel._engine: registers the classes, then the functions, in a fixed
// order. The module keeps no state and runs without the GIL.
#include <nanobind/nanobind.h>

#include "lib/hugoniot_eos.hpp"
#include "lib/rt_eos.hpp"
#include "lib/thermal_eos.hpp"

NB_MODULE(_engine, m) {
  m.doc() = "";
  quorvel::py::export_rt_eos(m);
  quorvel::py::export_hugoniot_eos(m);
  quorvel::py::export_thermal_eos(m);
  quorvel::py::export_holzapfel_functions(m);
}
