// Every isothermal model of the model set, for code that handles them all.
#pragma once

#include "isothermal/baonza.hpp"
#include "isothermal/bm2.hpp"
#include "isothermal/bm3.hpp"
#include "isothermal/bm4.hpp"
#include "isothermal/density_polynomial3.hpp"
#include "isothermal/holzapfel.hpp"
#include "isothermal/modified_tait.hpp"
#include "isothermal/morse3.hpp"
#include "isothermal/murnaghan.hpp"
#include "isothermal/natural_strain2.hpp"
#include "isothermal/natural_strain3.hpp"
#include "isothermal/natural_strain4.hpp"
#include "isothermal/rydberg_stacey.hpp"
#include "isothermal/second_order_murnaghan.hpp"
#include "isothermal/sun_morse.hpp"
#include "isothermal/vinet.hpp"
