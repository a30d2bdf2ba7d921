"""RtEos: factories, scalar operations, error translation, module surface."""

import math
import subprocess
import sys

import pytest

from conftest import assert_error
from models import FACTORY_IDS, RT_MODELS, build
from quorvel import _engine, errors
from quorvel._engine import RtEos

INF = math.inf
NAN = math.nan


# ---------------------------------------------------------------- module

def test_import_keeps_the_gil_disabled():
    out = subprocess.run(
        [sys.executable, "-W", "error", "-c",
         "import sys, quorvel._engine; print(sys._is_gil_enabled())"],
        capture_output=True, text=True, check=True)
    assert out.stdout.strip() == "False"


def test_registration_order():
    expected = ["RtEos", "HugoniotEos", "ThermalEos", "LeastSquaresResult", "LinearPropagation",
                "MonteCarloSummary", "fit_least_squares", "fit_rt_eos_native", "fit_thermal_eos_native",
                "linear_uncertainty", "monte_carlo_summary", "holzapfel_derivative_analytical"]
    present = [name for name in vars(_engine) if not name.startswith("_")]
    assert present == [name for name in expected if name in present]
    assert {"RtEos", "holzapfel_derivative_analytical"} <= set(present)


def test_class_surface():
    assert RtEos.__doc__ == "Private native representation of a built-in isothermal EOS."
    assert RtEos.__module__ == "quorvel._engine"
    with pytest.raises(TypeError):
        RtEos()
    model = RtEos.bm3(10.0, 100.0, 4.0)
    with pytest.raises(AttributeError):
        model.model_name = "BM2"
    with pytest.raises(AttributeError):
        model.extra = 1


@pytest.mark.parametrize("member, signature", [
    ("bm3", "bm3(v0, k0, k0_prime)"),
    ("density_polynomial_3", "density_polynomial_3(v0, rho0, c0, c1, c2, c3)"),
    ("second_order_murnaghan", "second_order_murnaghan(v0, k0, k0_prime, k0_double_prime, p0)"),
    ("holzapfel", "holzapfel(v0, k0, k0_prime, n, z)"),
    ("pressure_scalar", "pressure_scalar(self, volume)"),
    ("bulk_modulus_derivative_scalar", "bulk_modulus_derivative_scalar(self, volume, epsilon)"),
    ("volume_array", "volume_array(self, pressures)"),
])
def test_text_signatures(member, signature):
    assert getattr(RtEos, member).__doc__ == signature


def test_function_signature():
    assert _engine.holzapfel_derivative_analytical.__doc__ == (
        "holzapfel_derivative_analytical(v0, volume, bulk_modulus, k0, c0, c2)")


# ---------------------------------------------------------------- factories

@pytest.mark.parametrize("name, args, model_name, p_ref", RT_MODELS, ids=FACTORY_IDS)
def test_every_factory_builds_its_model(name, args, model_name, p_ref):
    model = build(name, args)
    assert model.model_name == model_name
    assert repr(model) == f"RtEos(model_name='{model_name}')"
    v0 = args[0]
    assert model.reference_volume == v0
    assert model.pressure_scalar(v0) == pytest.approx(p_ref, abs=1e-9)


@pytest.mark.parametrize("name, args, model_name, p_ref", RT_MODELS, ids=FACTORY_IDS)
def test_every_model_inverts_its_pressure(name, args, model_name, p_ref):
    model = build(name, args)
    v0 = args[0]
    for ratio in (0.7, 0.8, 0.9, 0.97, 1.0, 1.01):
        v = ratio * v0
        p = model.pressure_scalar(v)
        assert model.volume_scalar(p) == pytest.approx(v, rel=1e-9), ratio
        # K = -V dP/dV, against a central difference of the pressure.
        h = 1e-5 * v
        k_fd = -v * (model.pressure_scalar(v + h) - model.pressure_scalar(v - h)) / (2 * h)
        assert model.bulk_modulus_scalar(v) == pytest.approx(k_fd, rel=1e-6), ratio


def test_arguments_by_keyword_and_float_conversion():
    class Sixteen:
        def __float__(self):
            return 16.0

    a = RtEos.bm2(v0=10.0, k0=100.0)
    b = RtEos.bm2(10, Sixteen())
    assert a.pressure_scalar(volume=9.0) == pytest.approx(RtEos.bm2(10.0, 100.0).pressure_scalar(9))
    assert b.bulk_modulus_scalar(10.0) == 16.0
    assert a.volume_scalar(pressure=0) == 10.0


@pytest.mark.parametrize("call", [
    lambda: RtEos.bm3("a", 160.0, 4.0),
    lambda: RtEos.bm3(11.0, None, 4.0),
    lambda: RtEos.bm3(11.0, 160.0),
    lambda: RtEos.bm2(v0=10.0, k=100.0),
    lambda: RtEos.bm3(11.0, 160.0, 4.0).pressure_scalar("10"),
    lambda: RtEos.bm3(11.0, 160.0, 4.0).volume_scalar(),
])
def test_bad_arguments_raise_the_binding_type_error(call):
    with pytest.raises(TypeError):
        call()


@pytest.mark.parametrize("factory, args, field, message", [
    ("bm3", (160.0, 0.0, 4.0), "K0", "must be positive and finite"),
    ("bm3", (0.0, 0.0, 4.0), "V0", "must be positive and finite"),
    ("bm2", (-1.0, 100.0), "V0", "must be positive and finite"),
    ("bm2", (NAN, 100.0), "V0", "must be positive and finite"),
    ("natural_strain2", (10.0, INF), "K0", "must be positive and finite"),
    ("bm3", (10.0, 100.0, NAN), "K0_prime", "must be finite"),
    ("bm4", (10.0, 100.0, 4.0, INF), "K0_double_prime", "must be finite"),
    ("natural_strain4", (10.0, 100.0, 4.0, -INF), "K0_double_prime", "must be finite"),
    ("natural_strain3", (10.0, 100.0, INF), "K0_prime", "must be finite"),
])
def test_factory_errors(factory, args, field, message):
    with pytest.raises(errors.EosValidationError) as excinfo:
        getattr(RtEos, factory)(*args)
    assert_error(excinfo, "EosValidationError", "eos.invalid_parameter",
                 f"invalid parameter {field}: {message}", field=field)
    assert isinstance(excinfo.value, ValueError)


@pytest.mark.parametrize("factory, args, field, message", [
    ("vinet", (0.0, 160.0, 4.0), "V0", "must be positive and finite"),
    ("murnaghan", (11.0, 160.0, INF), "K0_prime", "must be finite"),
    ("second_order_murnaghan", (11.0, 160.0, 4.0, NAN, 0.0), "K0_double_prime", "must be finite"),
    ("second_order_murnaghan", (11.0, 160.0, 4.0, -0.02, INF), "P0", "must be finite"),
    ("second_order_murnaghan", (11.0, 160.0, 4.0, 0.1, 0.0), "q_squared", "must be positive and finite"),
    ("modified_tait", (11.0, 160.0, -1.0, -0.02), "K0_prime/K0_double_prime",
     "produce a singular modified Tait EOS"),
    ("rydberg_stacey", (11.0, 160.0, 4.0, NAN), "K_infinity_prime", "must be finite"),
    ("holzapfel", (1.1, 160.0, 4.0, 0.0, 10.0), "n", "must be positive and finite"),
    ("holzapfel", (1.1, 160.0, 4.0, 2.0, 0.0), "Z", "must be positive and finite"),
    ("morse3", (11.0, 160.0, 1.0), "K0_prime", "Morse3 requires K0_prime != 1"),
    ("sun_morse3", (11.0, 160.0, -1.0 / 3.0), "K0_prime", "Sun-Morse requires (n*K0_prime+1)/3 != 0"),
    ("sun_morse4", (11.0, 160.0, -0.25), "K0_prime", "Sun-Morse requires (n*K0_prime+1)/3 != 0"),
    ("baonza", (11.0, 160.0, 0.0), "K0_prime", "must be positive and finite"),
    ("density_polynomial_3", (11.0, 1.0, 0.0, 150.0, 50.0, 0.0), "c3", "must be positive and finite"),
    ("density_polynomial_3", (11.0, 1.0, 0.0, 150.0, -0.1, 10.0), "density polynomial",
     "requires c2>=0 and a stable density anchor"),
    ("density_polynomial_3", (11.0, -1.0, NAN, 150.0, -0.1, 0.0), "rho0", "must be positive and finite"),
])
def test_factory_errors_of_the_other_models(factory, args, field, message):
    with pytest.raises(errors.EosValidationError) as excinfo:
        getattr(RtEos, factory)(*args)
    assert_error(excinfo, "EosValidationError", "eos.invalid_parameter",
                 f"invalid parameter {field}: {message}", field=field)


def test_closed_form_inverses_and_domain_errors():
    som = RtEos.second_order_murnaghan(11.0, 160.0, 4.0, -0.025, 1.5)
    assert som.volume_scalar(1.5) == 11.0
    with pytest.raises(errors.EosValidationError) as excinfo:
        som.volume_scalar(-1e4)
    assert excinfo.value.code == "eos.outside_invertible_range"
    tait = RtEos.modified_tait(11.0, 160.0, 4.0, 0.01)  # a < 1: a compression limit
    with pytest.raises(errors.EosValidationError) as excinfo:
        tait.pressure_scalar(1e-3)
    assert_error(excinfo, "EosValidationError", "eos.invalid_state",
                 "invalid state variable volume: is outside the modified Tait EOS domain", field="volume")
    baonza = RtEos.baonza(11.0, 160.0, 4.0)
    with pytest.raises(errors.EosValidationError) as excinfo:
        baonza.volume_scalar(-1e5)
    assert str(excinfo.value) == ("invalid state variable volume: "
                                  "is outside the Baonza EOS pseudospinodal domain")


def test_negative_k0_prime_is_a_valid_parameter():
    assert RtEos.bm3(10.0, 100.0, -3.0).pressure_scalar(10.0) == 0.0


# ---------------------------------------------------------------- scalar operations

def test_reference_state_of_bm3_is_exact(mgo):
    assert mgo.pressure_scalar(11.248) == 0.0
    assert mgo.bulk_modulus_scalar(11.248) == 160.0
    assert mgo.volume_scalar(0.0) == 11.248


def test_bm3_volume_at_10_gpa(mgo):
    v = mgo.volume_scalar(10.0)
    assert v < 11.248
    assert abs(mgo.pressure_scalar(v) - 10.0) <= 1e-8 * 10.0


def test_expansion_gives_negative_pressure(mgo):
    assert mgo.pressure_scalar(11.3) < 0.0


@pytest.mark.parametrize("volume", [0.0, -0.0, -1.0, NAN, INF])
def test_bad_volumes(mgo, volume):
    for method in (mgo.pressure_scalar, mgo.bulk_modulus_scalar):
        with pytest.raises(errors.EosValidationError) as excinfo:
            method(volume)
        assert_error(excinfo, "EosValidationError", "eos.invalid_state",
                     "invalid state variable volume: must be positive and finite", field="volume")


@pytest.mark.parametrize("pressure", [NAN, INF, -INF])
def test_bad_pressures(mgo, pressure):
    with pytest.raises(errors.EosValidationError) as excinfo:
        mgo.volume_scalar(pressure)
    assert_error(excinfo, "EosValidationError", "eos.invalid_state",
                 "invalid state variable pressure: must be finite", field="pressure")


def test_unreachable_expansion_pressure(mgo):
    with pytest.raises(errors.EosValidationError) as excinfo:
        mgo.volume_scalar(-1e6)
    assert_error(excinfo, "EosValidationError", "eos.outside_invertible_range",
                 "pressure is outside the invertible expansion range")


def test_overflow_is_a_numerical_error(mgo):
    with pytest.raises(errors.EosNumericalError) as excinfo:
        mgo.pressure_scalar(1e-300)
    assert_error(excinfo, "EosNumericalError", "eos.non_finite_result", "model returned a non-finite result")
    assert isinstance(excinfo.value, ArithmeticError)


@pytest.mark.parametrize("epsilon", [1e-4, 1.0, NAN])
def test_derivative_is_only_defined_for_holzapfel(mgo, epsilon):
    with pytest.raises(errors.UnsupportedOperationError) as excinfo:
        mgo.bulk_modulus_derivative_scalar(11.0, epsilon)
    assert_error(excinfo, "UnsupportedOperationError", "operation.unsupported",
                 "bulk-modulus derivative is only defined for Holzapfel", operation=None)


def test_holzapfel_derivative():
    model = RtEos.holzapfel(1.1248, 160.0, 4.0, 2.0, 10.0)
    assert model.bulk_modulus_derivative_scalar(1.1248, 1e-4) == pytest.approx(4.0, rel=1e-6)
    with pytest.raises(errors.EosValidationError) as excinfo:
        model.bulk_modulus_derivative_scalar(1.1248, 1.0)
    assert_error(excinfo, "EosValidationError", "eos.invalid_parameter",
                 "invalid parameter eps: must be smaller than one", field="eps")


def test_holzapfel_derivative_analytical():
    # With c0 + c2 = 1.5 (K0' - 3), the derivative at V0 is K0'.
    c0 = 2.0
    c2 = 1.5 * (4.5 - 3.0) - c0
    f = _engine.holzapfel_derivative_analytical
    assert f(10.0, 10.0, 120.0, 120.0, c0, c2) == pytest.approx(4.5, rel=1e-12)
    assert f(v0=10.0, volume=10.0, bulk_modulus=120.0, k0=120.0, c0=c0, c2=c2) == pytest.approx(4.5, rel=1e-12)
    with pytest.raises(errors.EosValidationError) as excinfo:
        f(10.0, 10.0, NAN, 120.0, c0, c2)
    assert_error(excinfo, "EosValidationError", "eos.invalid_parameter",
                 "invalid parameter KT: must be finite", field="KT")
    with pytest.raises(errors.EosValidationError) as excinfo:
        f(10.0, 0.0, 120.0, 120.0, c0, c2)
    assert excinfo.value.field == "volume"
    assert excinfo.value.code == "eos.invalid_state"


# ---------------------------------------------------------------- error translation

class Recorder(Exception):
    calls = []

    def __init__(self, message, **keywords):
        super().__init__(message)
        Recorder.calls.append((message, keywords))


@pytest.mark.thread_unsafe
def test_keywords_are_passed_only_when_given(monkeypatch, mgo):
    Recorder.calls = []
    monkeypatch.setattr(errors, "UnsupportedOperationError", Recorder)
    monkeypatch.setattr(errors, "EosValidationError", Recorder)
    with pytest.raises(Recorder):
        mgo.bulk_modulus_derivative_scalar(11.0, 1e-4)
    with pytest.raises(Recorder):
        mgo.volume_scalar(-1e6)
    with pytest.raises(Recorder):
        mgo.pressure_scalar(-1.0)
    assert Recorder.calls == [
        ("bulk-modulus derivative is only defined for Holzapfel", {"code": "operation.unsupported"}),
        ("pressure is outside the invertible expansion range",
         {"code": "eos.outside_invertible_range", "operation": "eos"}),
        ("invalid state variable volume: must be positive and finite",
         {"code": "eos.invalid_state", "operation": "eos", "field": "volume"}),
    ]


@pytest.mark.thread_unsafe
def test_fallback_when_the_errors_module_cannot_be_imported(monkeypatch):
    monkeypatch.setitem(sys.modules, "quorvel.errors", None)
    with pytest.raises(RuntimeError) as excinfo:
        RtEos.bm3(160.0, 0.0, 4.0)
    assert type(excinfo.value) is RuntimeError
    text = str(excinfo.value)
    assert text.startswith("invalid parameter K0: must be positive and finite "
                           "(could not construct quorvel.errors.EosValidationError: ModuleNotFoundError: ")
    assert text.endswith(")")


@pytest.mark.thread_unsafe
def test_fallback_when_a_class_is_missing(monkeypatch, mgo):
    monkeypatch.delattr(errors, "EosNumericalError")
    with pytest.raises(RuntimeError) as excinfo:
        mgo.pressure_scalar(1e-300)
    assert str(excinfo.value) == (
        "model returned a non-finite result (could not construct quorvel.errors.EosNumericalError: "
        "AttributeError: module 'quorvel.errors' has no attribute 'EosNumericalError')")


@pytest.mark.thread_unsafe
def test_fallback_when_the_class_raises(monkeypatch, mgo):
    def broken(message, **keywords):
        raise KeyError("boom")

    monkeypatch.setattr(errors, "EosValidationError", broken)
    with pytest.raises(RuntimeError) as excinfo:
        mgo.pressure_scalar(0.0)
    assert str(excinfo.value) == (
        "invalid state variable volume: must be positive and finite "
        "(could not construct quorvel.errors.EosValidationError: KeyError: 'boom')")


@pytest.mark.thread_unsafe
def test_class_returning_a_non_exception(monkeypatch, mgo):
    monkeypatch.setattr(errors, "EosValidationError", lambda message, **keywords: 42)
    with pytest.raises(TypeError, match="exceptions must derive from BaseException"):
        mgo.pressure_scalar(0.0)


def test_error_hierarchy():
    validation = ["EosValidationError", "FitValidationError", "FitEosValidationError", "ValidationError",
                  "ConfigurationError"]
    for name in validation:
        assert issubclass(getattr(errors, name), ValueError), name
    for name in ["EosNumericalError", "FitError", "FitEosNumericalError", "FitNumericalError",
                 "UnsupportedOperationError"] + validation:
        assert issubclass(getattr(errors, name), errors.QuorvelError), name
    err = errors.FitError("m", code="fit.evaluation_failed")
    assert (err.code, err.operation, err.field) == ("fit.evaluation_failed", None, None)


@pytest.mark.parametrize("make", [
    lambda: RtEos.bm3(10.0, 100.0, 4.0),
    lambda: _engine.HugoniotEos.linear_us_up(1.0, 8.9, 3.9, 1.5, 0.0),
    lambda: _engine.ThermalEos.mie_gruneisen_debye(RtEos.bm3(1.1248, 160.0, 4.0), 300.0, 773.0, 1.5, 1.5, 2.0),
], ids=["RtEos", "HugoniotEos", "ThermalEos"])
def test_instances_take_part_in_garbage_collection(make):
    import gc

    obj = make()
    assert gc.is_tracked(obj)
    assert gc.get_referents(obj) in ([], [type(obj)])
    del obj
    gc.collect()
