"""HugoniotEos: the linear Us-Up shock Hugoniot of quorvel._engine.

Reference values are computed here from the Rankine-Hugoniot jump
conditions, parametrised by the particle velocity Up instead of the volume
the module works with:

    Us  = c0 + s Up                      (linear Us-Up)
    eta = Up / Us                        (mass:     rho0 Us = rho (Us - Up))
    V   = V0 (1 - eta),  rho = rho0 / (1 - eta)
    P   = P0 + rho0 Us Up                (momentum)
    dE  = Up^2 / 2 + P0 (1/rho0 - 1/rho) (energy, using (P - P0) eta / rho0 = Up^2)
    K_H = -V dP/dV = -V (dP/dUp) / (dV/dUp),
          dP/dUp = rho0 (c0 + 2 s Up),  dV/dUp = -V0 c0 / Us^2
"""

import math
import threading

import numpy as np
import pytest

from conftest import assert_error
from quorvel import _engine

HugoniotEos = _engine.HugoniotEos

POSITIVE_FINITE = "must be positive and finite"
FINITE = "must be finite"
BEYOND_V0 = "must not exceed V0 on a compression Hugoniot"
UNKNOWN_QUANTITY = "invalid state variable quantity: unknown shock Hugoniot quantity"
OUTSIDE_RANGE = "pressure is outside the invertible expansion range"
NON_FINITE = "model returned a non-finite result"

# (v0, rho0, c0, s, p0): copper-like with V0 unrelated to 1/rho0; a
# preloaded material with V0 = 1/rho0; a soft material with s < 1 and a
# negative initial pressure.
MODELS = {
    "copper": (11.2, 8.93, 3.94, 1.49, 0.0),
    "preloaded": (1.0 / 2.65, 2.65, 5.0, 1.3, 2.5),
    "soft": (3.0, 1.2, 2.0, 0.5, -0.3),
}
# Particle velocities inside the branch of every model above (soft: Up < 2 c0).
PARTICLE_VELOCITIES = (0.0, 0.5, 1.5, 3.0)

VOLUME_QUANTITIES = (
    "density",
    "pressure",
    "shock_velocity",
    "tangent_modulus",
    "particle_velocity",
    "specific_internal_energy_change",
)
PARTICLE_VELOCITY_QUANTITIES = (
    "volume_from_particle_velocity",
    "pressure_from_particle_velocity",
    "shock_velocity_from_particle_velocity",
)
ALL_QUANTITIES = ("volume",) + VOLUME_QUANTITIES + PARTICLE_VELOCITY_QUANTITIES


def hugoniot(name):
    return HugoniotEos.linear_us_up(*MODELS[name])


def shocked_state(params, up):
    """Every Hugoniot quantity of the state reached with particle velocity up."""
    v0, rho0, c0, s, p0 = params
    us = c0 + s * up
    eta = up / us
    v = v0 * (1.0 - eta)
    rho = rho0 / (1.0 - eta)
    p = p0 + rho0 * us * up
    de = 0.5 * up * up + p0 * (1.0 / rho0 - 1.0 / rho)
    k = v * rho0 * (c0 + 2.0 * s * up) * us * us / (v0 * c0)
    return {"V": v, "Up": up, "P": p, "Us": us, "rho": rho, "dE": de, "K": k}


def argument_and_expected(params, up, quantity):
    """(the value to pass, the expected result) of a quantity at state up."""
    st = shocked_state(params, up)
    return {
        "volume": (st["P"], st["V"]),
        "density": (st["V"], st["rho"]),
        "pressure": (st["V"], st["P"]),
        "shock_velocity": (st["V"], st["Us"]),
        "tangent_modulus": (st["V"], st["K"]),
        "particle_velocity": (st["V"], st["Up"]),
        "specific_internal_energy_change": (st["V"], st["dE"]),
        "volume_from_particle_velocity": (up, st["V"]),
        "pressure_from_particle_velocity": (up, st["P"]),
        "shock_velocity_from_particle_velocity": (up, st["Us"]),
    }[quantity]


def assert_close(actual, expected, scale):
    # Relative to the natural scale of the quantity, so that zero values at
    # the initial state (Up, dE, P - P0) are compared sensibly.
    assert abs(actual - expected) <= 1e-12 * scale, (actual, expected)


def quantity_scale(params, quantity):
    v0, rho0, c0, s, p0 = params
    return {
        "volume": v0,
        "density": rho0,
        "pressure": rho0 * c0 * c0 + abs(p0),
        "shock_velocity": c0,
        "tangent_modulus": rho0 * c0 * c0,
        "particle_velocity": c0,
        "specific_internal_energy_change": c0 * c0 + abs(p0) / rho0,
        "volume_from_particle_velocity": v0,
        "pressure_from_particle_velocity": rho0 * c0 * c0 + abs(p0),
        "shock_velocity_from_particle_velocity": c0,
    }[quantity] * 10.0


def raises_eos(call, cls, code, message, field=None):
    with pytest.raises(Exception) as excinfo:
        call()
    assert_error(excinfo, cls, code, message, field)


# ------------------------------------------------------------------ factory

GOOD = (11.2, 8.93, 3.94, 1.49, 0.0)
NAN = math.nan
INF = math.inf

# Each row breaks one parameter and every later one, so the reported field
# shows the order of the checks.
FACTORY_FAILURES = [
    ((0.0, 0.0, 0.0, 0.0, NAN), "V0", POSITIVE_FINITE),
    ((-1.0, 8.93, 3.94, 1.49, 0.0), "V0", POSITIVE_FINITE),
    ((INF, 8.93, 3.94, 1.49, 0.0), "V0", POSITIVE_FINITE),
    ((NAN, 8.93, 3.94, 1.49, 0.0), "V0", POSITIVE_FINITE),
    ((11.2, 0.0, 0.0, 0.0, NAN), "rho0", POSITIVE_FINITE),
    ((11.2, -8.93, 3.94, 1.49, 0.0), "rho0", POSITIVE_FINITE),
    ((11.2, INF, 3.94, 1.49, 0.0), "rho0", POSITIVE_FINITE),
    ((11.2, 8.93, 0.0, 0.0, NAN), "c0", POSITIVE_FINITE),
    ((11.2, 8.93, 0.0, 1.49, 0.0), "c0", POSITIVE_FINITE),
    ((11.2, 8.93, -0.0, 1.49, 0.0), "c0", POSITIVE_FINITE),
    ((11.2, 8.93, NAN, 1.49, 0.0), "c0", POSITIVE_FINITE),
    ((11.2, 8.93, 3.94, 0.0, NAN), "s", POSITIVE_FINITE),
    ((11.2, 8.93, 3.94, 0.0, 0.0), "s", POSITIVE_FINITE),
    ((11.2, 8.93, 3.94, -1.49, 0.0), "s", POSITIVE_FINITE),
    ((11.2, 8.93, 3.94, -INF, 0.0), "s", POSITIVE_FINITE),
    ((11.2, 8.93, 3.94, 1.49, NAN), "P0", FINITE),
    ((11.2, 8.93, 3.94, 1.49, INF), "P0", FINITE),
    ((11.2, 8.93, 3.94, 1.49, -INF), "P0", FINITE),
]


@pytest.mark.parametrize("args, field, message", FACTORY_FAILURES)
def test_factory_rejects_parameters_in_order(args, field, message):
    raises_eos(
        lambda: HugoniotEos.linear_us_up(*args),
        "EosValidationError",
        "eos.invalid_parameter",
        f"invalid parameter {field}: {message}",
        field,
    )


@pytest.mark.parametrize(
    "args",
    [
        (11.2, 8.93, 3.94, 1.49, -5.0),  # negative initial pressure
        (11.2, 8.93, 3.94, 1.49, -0.0),
        (5e-324, 5e-324, 5e-324, 5e-324, -1e300),  # tiny positive scales
        (1.0, 1.0, 1.0, 0.1, 1e300),  # s below one
    ],
)
def test_factory_accepts(args):
    assert isinstance(HugoniotEos.linear_us_up(*args), HugoniotEos)


def test_factory_keywords_and_float_conversion():
    class Floaty:
        def __float__(self):
            return 1.49

    by_keyword = HugoniotEos.linear_us_up(p0=0, s=Floaty(), c0=np.float64(3.94), rho0=8.93, v0=11.2)
    assert repr(by_keyword) == repr(hugoniot("copper"))
    # Ints convert too.
    assert "v0: 11.0" in repr(HugoniotEos.linear_us_up(11, 9, 4, 2, 0))


@pytest.mark.parametrize("position", range(5))
def test_factory_argument_conversion_error(position):
    args = list(GOOD)
    args[position] = "1.0"
    with pytest.raises(TypeError):
        HugoniotEos.linear_us_up(*args)


def test_factory_missing_or_unknown_keyword():
    with pytest.raises(TypeError):
        HugoniotEos.linear_us_up(11.2, 8.93, 3.94, 1.49)
    with pytest.raises(TypeError):
        HugoniotEos.linear_us_up(v0=11.2, rho0=8.93, c0=3.94, s=1.49, P0=0.0)


# ------------------------------------------------------- the ten quantities

QUANTITY_CASES = [
    (model, up, quantity)
    for model in MODELS
    for up in PARTICLE_VELOCITIES
    for quantity in ALL_QUANTITIES
]


@pytest.mark.parametrize("model, up, quantity", QUANTITY_CASES)
def test_scalar_quantity_against_jump_conditions(model, up, quantity):
    params = MODELS[model]
    argument, expected = argument_and_expected(params, up, quantity)
    result = hugoniot(model).evaluate_scalar(quantity, argument)
    assert type(result) is float
    assert_close(result, expected, quantity_scale(params, quantity))


@pytest.mark.parametrize("model", MODELS)
@pytest.mark.parametrize("quantity", ALL_QUANTITIES)
def test_array_quantity_against_jump_conditions(model, quantity):
    params = MODELS[model]
    h = hugoniot(model)
    pairs = [argument_and_expected(params, up, quantity) for up in PARTICLE_VELOCITIES]
    arguments = np.array([a for a, _ in pairs]).reshape(2, 2)
    expected = np.array([e for _, e in pairs]).reshape(2, 2)
    result = h.evaluate_array(quantity, arguments)
    assert result.shape == (2, 2) and result.dtype == np.float64
    for index in np.ndindex(2, 2):
        assert_close(result[index], expected[index], quantity_scale(params, quantity))
        # Same element function as the scalar method, bit for bit.
        assert result[index] == h.evaluate_scalar(quantity, float(arguments[index]))


@pytest.mark.parametrize("model", MODELS)
def test_initial_state_at_v0(model):
    v0, rho0, c0, s, p0 = MODELS[model]
    h = hugoniot(model)
    expected = {
        "density": rho0,
        "pressure": p0,
        "shock_velocity": c0,
        "tangent_modulus": rho0 * c0 * c0,
        "particle_velocity": 0.0,
        "specific_internal_energy_change": 0.0,
    }
    for quantity, value in expected.items():
        assert h.evaluate_scalar(quantity, v0) == pytest.approx(value, rel=1e-15, abs=0.0)
    assert h.evaluate_scalar("volume", p0) == v0
    assert h.evaluate_scalar("volume_from_particle_velocity", 0.0) == v0
    assert h.evaluate_scalar("pressure_from_particle_velocity", 0.0) == p0
    assert h.evaluate_scalar("shock_velocity_from_particle_velocity", 0.0) == c0


@pytest.mark.parametrize("model", MODELS)
@pytest.mark.parametrize("fraction", [0.999, 0.9, 0.75, 0.6])
def test_energy_jump_identity(model, fraction):
    # dE = (P + P0)/2 (V0 - V)/(V0 rho0): the Hugoniot energy equals the work
    # of the mean pressure over the specific volume change.
    v0, rho0, c0, s, p0 = MODELS[model]
    h = hugoniot(model)
    v = fraction * v0
    p = h.evaluate_scalar("pressure", v)
    de = h.evaluate_scalar("specific_internal_energy_change", v)
    assert de == pytest.approx(0.5 * (p + p0) * (v0 - v) / (v0 * rho0), rel=1e-13)
    # ... and the kinetic form Up^2/2 + P0 (1/rho0 - 1/rho).
    up = h.evaluate_scalar("particle_velocity", v)
    rho = h.evaluate_scalar("density", v)
    assert de == pytest.approx(0.5 * up * up + p0 * (1.0 / rho0 - 1.0 / rho), rel=1e-12, abs=1e-15)


@pytest.mark.parametrize("model", MODELS)
@pytest.mark.parametrize("fraction", [0.98, 0.8, 0.7])
def test_tangent_modulus_is_minus_v_dp_dv(model, fraction):
    v0 = MODELS[model][0]
    h = hugoniot(model)
    v = fraction * v0
    dv = 1e-5 * v
    # Fourth-order central difference.
    dp = (
        -h.evaluate_scalar("pressure", v + 2 * dv)
        + 8 * h.evaluate_scalar("pressure", v + dv)
        - 8 * h.evaluate_scalar("pressure", v - dv)
        + h.evaluate_scalar("pressure", v - 2 * dv)
    ) / (12 * dv)
    assert h.evaluate_scalar("tangent_modulus", v) == pytest.approx(-v * dp, rel=1e-8)


@pytest.mark.parametrize("model", MODELS)
def test_volume_inverts_pressure(model):
    v0, rho0, c0, s, p0 = MODELS[model]
    h = hugoniot(model)
    limit = v0 * max(0.0, 1.0 - 1.0 / s)
    volumes = np.linspace(v0, limit, 50)[:-1]
    pressures = h.evaluate_array("pressure", volumes)
    back = h.evaluate_array("volume", pressures)
    np.testing.assert_allclose(back, volumes, rtol=0.0, atol=1e-13 * v0)


# ------------------------------------------------------------ failing states

EVALUATION_FAILURES = [
    # (model, quantity, value, class, code, message, field)
    ("copper", "pressure", 11.2 * (1 + 1e-15), "EosValidationError", "eos.invalid_state",
     f"invalid state variable volume: {BEYOND_V0}", "volume"),
    ("copper", "density", 0.0, "EosValidationError", "eos.invalid_state",
     f"invalid state variable volume: {POSITIVE_FINITE}", "volume"),
    ("copper", "shock_velocity", NAN, "EosValidationError", "eos.invalid_state",
     f"invalid state variable volume: {POSITIVE_FINITE}", "volume"),
    ("copper", "tangent_modulus", -INF, "EosValidationError", "eos.invalid_state",
     f"invalid state variable volume: {POSITIVE_FINITE}", "volume"),
    ("copper", "particle_velocity", INF, "EosValidationError", "eos.invalid_state",
     f"invalid state variable volume: {POSITIVE_FINITE}", "volume"),
    ("copper", "specific_internal_energy_change", 12.0, "EosValidationError", "eos.invalid_state",
     f"invalid state variable volume: {BEYOND_V0}", "volume"),
    # s = 2: every V <= V0/2 has no shocked state.
    ("steep", "pressure", 5.0, "EosValidationError", "eos.outside_invertible_range", OUTSIDE_RANGE, None),
    ("steep", "shock_velocity", 2.5, "EosValidationError", "eos.outside_invertible_range", OUTSIDE_RANGE, None),
    ("steep", "specific_internal_energy_change", 1e-300, "EosValidationError",
     "eos.outside_invertible_range", OUTSIDE_RANGE, None),
    ("copper", "volume_from_particle_velocity", NAN, "EosValidationError", "eos.invalid_parameter",
     f"invalid parameter particle_velocity: {FINITE}", "particle_velocity"),
    ("copper", "pressure_from_particle_velocity", INF, "EosValidationError", "eos.invalid_parameter",
     f"invalid parameter particle_velocity: {FINITE}", "particle_velocity"),
    ("copper", "shock_velocity_from_particle_velocity", NAN, "EosValidationError", "eos.invalid_parameter",
     f"invalid parameter particle_velocity: {FINITE}", "particle_velocity"),
    ("copper", "volume_from_particle_velocity", -1.0, "EosValidationError", "eos.invalid_state",
     "invalid state variable particle_velocity: must be non-negative", "particle_velocity"),
    ("copper", "pressure_from_particle_velocity", -1e-300, "EosValidationError", "eos.invalid_state",
     "invalid state variable particle_velocity: must be non-negative", "particle_velocity"),
    ("copper", "shock_velocity_from_particle_velocity", -1.0, "EosValidationError", "eos.invalid_state",
     "invalid state variable particle_velocity: must be non-negative", "particle_velocity"),
    # s = 0.5, c0 = 2: Up >= 2 c0 gives Up/Us >= 1, no positive volume.
    ("soft", "volume_from_particle_velocity", 4.0, "EosValidationError", "eos.outside_invertible_range",
     OUTSIDE_RANGE, None),
    ("soft", "volume_from_particle_velocity", 100.0, "EosValidationError", "eos.outside_invertible_range",
     OUTSIDE_RANGE, None),
    ("copper", "pressure_from_particle_velocity", 1e200, "EosNumericalError", "eos.non_finite_result",
     NON_FINITE, None),
    ("copper", "volume", -1.0, "EosValidationError", "eos.outside_invertible_range", OUTSIDE_RANGE, None),
    ("soft", "volume", -0.3 - 1e-9, "EosValidationError", "eos.outside_invertible_range", OUTSIDE_RANGE, None),
    ("copper", "volume", NAN, "EosValidationError", "eos.invalid_parameter",
     f"invalid parameter pressure: {FINITE}", "pressure"),
    ("copper", "volume", INF, "EosValidationError", "eos.invalid_parameter",
     f"invalid parameter pressure: {FINITE}", "pressure"),
]


def failure_model(name):
    if name == "steep":
        return HugoniotEos.linear_us_up(10.0, 1.0, 1.0, 2.0, 0.0)
    return hugoniot(name)


@pytest.mark.parametrize("model, quantity, value, cls, code, message, field", EVALUATION_FAILURES)
def test_evaluation_failures_scalar_and_array(model, quantity, value, cls, code, message, field):
    h = failure_model(model)
    raises_eos(lambda: h.evaluate_scalar(quantity, value), cls, code, message, field)
    raises_eos(lambda: h.evaluate_array(quantity, np.array([value])), cls, code, message, field)


# ----------------------------------------------------------- quantity names

@pytest.mark.parametrize(
    "name", ["Pressure", "", "pressure ", " pressure", "VOLUME", "volumes", "pressure\0", "shock velocity", "Us"]
)
def test_unknown_quantity_scalar(name):
    h = hugoniot("copper")
    raises_eos(lambda: h.evaluate_scalar(name, 10.0), "EosValidationError", "eos.invalid_state",
               UNKNOWN_QUANTITY, "quantity")


def test_unknown_quantity_is_raised_before_the_value_is_looked_at():
    # The name is the first thing the evaluation resolves: a bad value does
    # not mask it.
    h = hugoniot("copper")
    raises_eos(lambda: h.evaluate_scalar("nope", NAN), "EosValidationError", "eos.invalid_state",
               UNKNOWN_QUANTITY, "quantity")


@pytest.mark.parametrize("shape", [(0,), (0, 3), (3, 0, 2)])
def test_unknown_quantity_empty_array_returns_empty(shape):
    result = hugoniot("copper").evaluate_array("nope", np.zeros(shape))
    assert result.shape == shape and result.dtype == np.float64


@pytest.mark.parametrize("size", [1, 5, 65535, 65536, 70000])
def test_unknown_quantity_non_empty_array_raises(size):
    h = hugoniot("copper")
    raises_eos(lambda: h.evaluate_array("Pressure", np.full(size, 10.0)), "EosValidationError",
               "eos.invalid_state", UNKNOWN_QUANTITY, "quantity")


@pytest.mark.parametrize("quantity", [None, 1, 1.0, b"pressure", ["pressure"], np.float64(1.0)])
def test_quantity_must_be_str(quantity):
    h = hugoniot("copper")
    with pytest.raises(TypeError):
        h.evaluate_scalar(quantity, 10.0)
    with pytest.raises(TypeError):
        h.evaluate_array(quantity, np.array([10.0]))


def test_str_subclass_quantity_is_accepted():
    class Name(str):
        pass

    h = hugoniot("copper")
    assert h.evaluate_scalar(Name("pressure"), 10.0) == h.evaluate_scalar("pressure", 10.0)


def test_scalar_keywords_and_value_conversion():
    h = hugoniot("copper")
    expected = h.evaluate_scalar("pressure", 10.0)
    assert h.evaluate_scalar(value=10.0, quantity="pressure") == expected
    assert h.evaluate_scalar("pressure", 10) == expected
    assert h.evaluate_scalar("pressure", np.float64(10.0)) == expected
    np.testing.assert_array_equal(h.evaluate_array(values=np.array([10.0]), quantity="pressure"), [expected])
    with pytest.raises(TypeError):
        h.evaluate_scalar("pressure", "10.0")
    with pytest.raises(TypeError):
        h.evaluate_scalar("pressure")


# ------------------------------------------------------------ array layouts

def layouts():
    base = np.linspace(6.0, 11.2, 24)
    grid = base.reshape(4, 6)
    read_only = grid.copy()
    read_only.setflags(write=False)
    cube = base.reshape(2, 3, 4)
    return [
        ("0-d", np.array(9.5)),
        ("1-d", base),
        ("C 2-d", grid),
        ("Fortran", np.asfortranarray(grid)),
        ("transposed", grid.T),
        ("reversed", base[::-1]),
        ("negative strides 2-d", grid[::-1, ::-2]),
        ("strided", base[::3]),
        ("3-d transposed", cube.transpose(2, 0, 1)),
        ("read-only", read_only),
        ("broadcast view", np.broadcast_to(base[:6], (4, 6))),
    ]


@pytest.mark.parametrize("label, values", layouts(), ids=[label for label, _ in layouts()])
def test_array_layouts(label, values):
    h = hugoniot("copper")
    result = h.evaluate_array("pressure", values)
    assert result.shape == values.shape
    assert result.dtype == np.float64
    assert result.flags.c_contiguous and result.flags.writeable
    assert not np.shares_memory(result, values)
    expected = h.evaluate_array("pressure", np.ascontiguousarray(values))
    np.testing.assert_array_equal(result, expected)
    for index in np.ndindex(values.shape):
        assert result[index] == h.evaluate_scalar("pressure", float(values[index]))


def test_zero_dimensional_and_empty_arrays():
    h = hugoniot("copper")
    scalar = h.evaluate_array("density", np.array(11.2))
    assert scalar.shape == () and float(scalar) == pytest.approx(8.93, rel=1e-15)
    empty = h.evaluate_array("density", np.empty((0, 3)))
    assert empty.shape == (0, 3)
    # Nothing is evaluated on an empty array, however bad its name.
    assert h.evaluate_array("", np.empty((0, 3))).shape == (0, 3)


def test_element_positions_follow_the_input():
    h = hugoniot("copper")
    values = np.array([[11.2, 10.0, 9.0], [8.0, 7.0, 6.0]])
    result = h.evaluate_array("shock_velocity", values)
    assert result.shape == (2, 3)
    assert result[1, 2] == h.evaluate_scalar("shock_velocity", 6.0)
    assert result[0, 1] == h.evaluate_scalar("shock_velocity", 10.0)


def test_input_array_is_not_modified():
    h = hugoniot("copper")
    values = np.linspace(6.0, 11.2, 70000)
    before = values.copy()
    h.evaluate_array("pressure", values)
    h.evaluate_array("pressure", values[:100])
    np.testing.assert_array_equal(values, before)


@pytest.mark.parametrize(
    "values",
    [
        [10.0, 11.0],
        (10.0,),
        10.0,
        np.array([10, 11], dtype=np.int64),
        np.array([10.0, 11.0], dtype=np.float32),
        np.array([10.0 + 0j]),
        np.array(["10.0"]),
        None,
    ],
    ids=["list", "tuple", "float", "int64", "float32", "complex", "str", "None"],
)
def test_array_argument_must_be_float64_array(values):
    with pytest.raises(TypeError):
        hugoniot("copper").evaluate_array("pressure", values)


# ------------------------------------------------------------ parallel path

def copper_volumes(n):
    # Inside the copper branch: V/V0 > 1 - 1/1.49.
    return np.linspace(0.4 * 11.2, 11.2, n)


@pytest.mark.parametrize("n", [65535, 65536, 70000])
@pytest.mark.parametrize("quantity", ["pressure", "specific_internal_energy_change"])
def test_parallel_values_equal_sequential(n, quantity):
    h = hugoniot("copper")
    values = copper_volumes(n)
    result = h.evaluate_array(quantity, values)
    # Halves stay below the parallel threshold.
    half = n // 2
    expected = np.concatenate([h.evaluate_array(quantity, values[:half]), h.evaluate_array(quantity, values[half:])])
    np.testing.assert_array_equal(result, expected)


def test_parallel_strided_and_fortran_inputs():
    h = hugoniot("copper")
    strided = copper_volumes(140000)[::-2]
    np.testing.assert_array_equal(
        h.evaluate_array("tangent_modulus", strided),
        h.evaluate_array("tangent_modulus", np.ascontiguousarray(strided)),
    )
    fortran = np.asfortranarray(copper_volumes(75000).reshape(300, 250))
    result = h.evaluate_array("density", fortran)
    assert result.shape == (300, 250) and result.flags.c_contiguous
    np.testing.assert_array_equal(result, h.evaluate_array("density", np.ascontiguousarray(fortran)))


# Element 10 is below zero ("must be positive and finite"), element 50,000
# above V0 ("must not exceed V0"), so the raised message names the element.
@pytest.mark.parametrize("n", [1000, 65535, 65536, 70000])
def test_first_failing_element_wins(n):
    h = hugoniot("copper")
    values = copper_volumes(n)
    values[10] = -1.0
    if n > 50000:
        values[50000] = 20.0
    raises_eos(lambda: h.evaluate_array("pressure", values), "EosValidationError", "eos.invalid_state",
               f"invalid state variable volume: {POSITIVE_FINITE}", "volume")


@pytest.mark.parametrize("n", [65535, 70000])
def test_later_failing_element_alone(n):
    h = hugoniot("copper")
    values = copper_volumes(n)
    values[50000] = 20.0
    values[-1] = -1.0
    raises_eos(lambda: h.evaluate_array("pressure", values), "EosValidationError", "eos.invalid_state",
               f"invalid state variable volume: {BEYOND_V0}", "volume")


def test_parallel_numerical_and_validation_errors_mixed():
    # Element 3 overflows (NonFiniteResult), element 60,000 is negative: the
    # earlier element decides, whatever its kind.
    h = hugoniot("copper")
    ups = np.full(70000, 1.0)
    ups[3] = 1e200
    ups[60000] = -1.0
    raises_eos(lambda: h.evaluate_array("pressure_from_particle_velocity", ups), "EosNumericalError",
               "eos.non_finite_result", NON_FINITE)


def test_concurrent_calls_from_threads():
    h = hugoniot("copper")
    values = copper_volumes(70000)
    expected = h.evaluate_array("pressure", values)
    results = [None] * 4

    def work(i):
        results[i] = h.evaluate_array("pressure", values)

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for r in results:
        np.testing.assert_array_equal(r, expected)


# ------------------------------------------------------------- repr, class

REPRS = [
    ((11.2, 8.93, 3.94, 1.49, 0.0), "v0: 11.2, rho0: 8.93, c0: 3.94, s: 1.49, p0: 0.0"),
    ((1.0, 0.1, 1e-5, 2.0, -0.0), "v0: 1.0, rho0: 0.1, c0: 1e-5, s: 2.0, p0: -0.0"),
    ((1e16, 123456789012345.6, 5e-324, 1.5e-5, 1e16),
     "v0: 1e16, rho0: 123456789012345.6, c0: 5e-324, s: 1.5e-5, p0: 1e16"),
    ((0.0001, 9999999999999998.0, 1.7976931348623157e308, 0.3, 5e-324),
     "v0: 0.0001, rho0: 9999999999999998.0, c0: 1.7976931348623157e308, s: 0.3, p0: 5e-324"),
    ((1.0 / 3.0, 2.0 / 3.0, 1e22, 1e-100, -123456789012345.6),
     "v0: 0.3333333333333333, rho0: 0.6666666666666666, c0: 1e22, s: 1e-100, p0: -123456789012345.6"),
    ((0.37735849056603776, 2.65, 5.0, 1.3, -2.5),
     "v0: 0.37735849056603776, rho0: 2.65, c0: 5.0, s: 1.3, p0: -2.5"),
    ((3.0, 1.2, 2.0, 0.5, -1e-5), "v0: 3.0, rho0: 1.2, c0: 2.0, s: 0.5, p0: -1e-5"),
]


@pytest.mark.parametrize("args, fields", REPRS)
def test_repr(args, fields):
    assert repr(HugoniotEos.linear_us_up(*args)) == f"HugoniotEos(LinearUsUpHugoniot {{ {fields} }})"


def test_repr_example():
    assert (
        repr(HugoniotEos.linear_us_up(11.2, 8.93, 3.94, 1.49, 0.0))
        == "HugoniotEos(LinearUsUpHugoniot { v0: 11.2, rho0: 8.93, c0: 3.94, s: 1.49, p0: 0.0 })"
    )


def test_docstrings_and_text_signatures():
    assert HugoniotEos.__doc__ == "Private native representation of a built-in shock Hugoniot."
    assert HugoniotEos.__module__ == "quorvel._engine"
    assert HugoniotEos.linear_us_up.__doc__ == "linear_us_up(v0, rho0, c0, s, p0)"
    assert HugoniotEos.evaluate_scalar.__doc__ == "evaluate_scalar(self, quantity, value)"
    assert HugoniotEos.evaluate_array.__doc__ == "evaluate_array(self, quantity, values)"


def test_registered_after_rt_eos():
    names = [n for n in vars(_engine) if not n.startswith("_")]
    assert names.index("RtEos") < names.index("HugoniotEos")


def test_cannot_be_instantiated_or_modified():
    with pytest.raises(TypeError):
        HugoniotEos()
    with pytest.raises(TypeError):
        HugoniotEos(11.2, 8.93, 3.94, 1.49, 0.0)
    h = hugoniot("copper")
    with pytest.raises(AttributeError):
        h.v0 = 1.0
    assert isinstance(h, HugoniotEos)
