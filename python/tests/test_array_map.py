"""Array methods of RtEos: shapes, strides, dtypes, thresholds, first-error rule."""

import numpy as np
import pytest

from conftest import assert_error
from models import FACTORY_IDS, RT_MODELS, build
from quorvel import errors
from quorvel._engine import RtEos

V0 = 11.248


def elementwise(method, values):
    return np.array([method(float(x)) for x in np.asarray(values).ravel(order="C")]).reshape(np.shape(values))


def _base(shape):
    n = int(np.prod(shape))
    return np.linspace(0.75 * V0, 1.02 * V0, max(n, 1))[:n].reshape(shape)


LAYOUTS = {
    "0-d": lambda: np.array(10.5),
    "1-d": lambda: _base((7,)),
    "3-d": lambda: _base((2, 3, 4)),
    "fortran": lambda: np.asfortranarray(_base((3, 5))),
    "transposed": lambda: _base((4, 6)).T,
    "negative stride": lambda: _base((9,))[::-1],
    "every other": lambda: _base((5, 8))[:, ::2],
    "negative 2-d": lambda: _base((4, 5))[::-1, ::-2],
    "broadcast view": lambda: np.broadcast_to(_base((3,)), (4, 3)),
    "read-only": lambda: _base((6,)).copy().setflags(write=False) or _ro(),
}


def _ro():
    a = _base((6,))
    a.setflags(write=False)
    return a


@pytest.mark.parametrize("layout", LAYOUTS, ids=list(LAYOUTS))
@pytest.mark.parametrize("method", ["pressure", "bulk_modulus"])
def test_any_layout_gives_the_scalar_values_in_logical_order(mgo, layout, method):
    volumes = LAYOUTS[layout]()
    out = getattr(mgo, f"{method}_array")(volumes)
    assert isinstance(out, np.ndarray)
    assert out.dtype == np.float64
    assert out.shape == volumes.shape
    assert out.flags.c_contiguous and out.flags.writeable
    np.testing.assert_array_equal(out, elementwise(getattr(mgo, f"{method}_scalar"), volumes))


def test_volume_array_layouts(mgo):
    pressures = np.linspace(-5.0, 120.0, 12).reshape(3, 4)
    for view in (pressures, pressures.T, pressures[::-1, ::-1], np.asfortranarray(pressures)):
        out = mgo.volume_array(view)
        np.testing.assert_array_equal(out, elementwise(mgo.volume_scalar, view))


def test_empty_arrays_evaluate_nothing(mgo):
    out = mgo.pressure_array(np.full((0, 3), np.nan))
    assert out.shape == (0, 3) and out.dtype == np.float64
    assert mgo.volume_array(np.empty(0)).shape == (0,)


def test_output_is_a_new_array(mgo):
    volumes = _base((5,))
    out = mgo.pressure_array(volumes)
    assert not np.shares_memory(out, volumes)
    out[:] = 0.0
    assert mgo.pressure_array(volumes)[0] != 0.0


@pytest.mark.parametrize("bad", [
    [10.0, 11.0],
    (10.0,),
    10.0,
    np.array([10, 11], dtype=np.int64),
    np.array([10.0, 11.0], dtype=np.float32),
    np.array([10.0 + 0j]),
    "10",
])
def test_non_float64_arrays_are_refused(mgo, bad):
    for method, name in ((mgo.pressure_array, "volumes"), (mgo.bulk_modulus_array, "volumes"),
                         (mgo.volume_array, "pressures")):
        with pytest.raises(TypeError, match=name):
            method(bad)


def test_keyword_arguments(mgo):
    v = _base((3,))
    np.testing.assert_array_equal(mgo.pressure_array(volumes=v), mgo.pressure_array(v))
    np.testing.assert_array_equal(mgo.volume_array(pressures=v), mgo.volume_array(v))


@pytest.mark.parametrize("n", [1000, 70_000], ids=["sequential", "parallel"])
def test_first_failing_element_wins(mgo, n):
    volumes = np.full(n, 10.0)
    # Element 10 overflows (numerical error), a later one is invalid (validation error).
    volumes[10] = 1e-300
    volumes[n - 5] = -1.0
    with pytest.raises(errors.EosNumericalError) as excinfo:
        mgo.pressure_array(volumes)
    assert_error(excinfo, "EosNumericalError", "eos.non_finite_result", "model returned a non-finite result")
    volumes[10], volumes[n - 5] = -1.0, 1e-300
    with pytest.raises(errors.EosValidationError) as excinfo:
        mgo.pressure_array(volumes)
    assert_error(excinfo, "EosValidationError", "eos.invalid_state",
                 "invalid state variable volume: must be positive and finite", field="volume")


def test_parallel_path_evaluates_large_arrays_exactly(mgo):
    volumes = np.linspace(0.6 * V0, 1.05 * V0, 401 * 499).reshape(401, 499)[:, ::-1]
    expected = np.array([mgo.pressure_scalar(float(v)) for v in volumes.ravel()[::997]])
    out = mgo.pressure_array(volumes)
    assert out.shape == volumes.shape
    np.testing.assert_array_equal(out.ravel()[::997], expected)
    np.testing.assert_array_equal(mgo.pressure_array(volumes[:, :131]), out[:, :131])


@pytest.mark.parametrize("name, args, model_name, p_ref", RT_MODELS, ids=FACTORY_IDS)
def test_volume_array_threshold_and_round_trip(name, args, model_name, p_ref):
    model = build(name, args)
    v0 = args[0]
    volumes = np.linspace(0.7 * v0, 1.0 * v0, 512)
    pressures = model.pressure_array(volumes)
    parallel = model.volume_array(pressures)          # 512 elements: worker pool
    sequential = model.volume_array(pressures[:511])  # 511 elements: calling thread
    np.testing.assert_array_equal(parallel[:511], sequential)
    np.testing.assert_allclose(parallel, volumes, rtol=1e-9)


def test_volume_array_error_is_the_same_on_both_paths(mgo):
    pressures = np.full(600, 10.0)
    pressures[3] = -1e6
    pressures[400] = np.nan
    for n in (600, 300):
        with pytest.raises(errors.EosValidationError) as excinfo:
            mgo.volume_array(pressures[:n])
        assert excinfo.value.code == "eos.outside_invertible_range"


class TestBulkModulusDerivativeArray:
    holz = staticmethod(lambda: RtEos.holzapfel(1.1248, 160.0, 4.0, 2.0, 10.0))

    def test_unsupported_before_looking_at_elements(self, mgo):
        for volumes in (np.empty(0), np.array([np.nan])):
            with pytest.raises(errors.UnsupportedOperationError) as excinfo:
                mgo.bulk_modulus_derivative_array(volumes, 1e-4)
            assert_error(excinfo, "UnsupportedOperationError", "operation.unsupported",
                         "bulk-modulus derivative is only defined for Holzapfel", operation=None)

    def test_arguments_are_converted_first(self, mgo):
        with pytest.raises(TypeError):
            mgo.bulk_modulus_derivative_array([1.0], 1e-4)
        with pytest.raises(TypeError):
            mgo.bulk_modulus_derivative_array(np.empty(0), "x")

    def test_values_and_epsilon_checked_per_element(self):
        model = self.holz()
        volumes = np.linspace(0.9, 1.1248, 5)
        out = model.bulk_modulus_derivative_array(volumes, 1e-4)
        np.testing.assert_array_equal(out, [model.bulk_modulus_derivative_scalar(v, 1e-4) for v in volumes])
        assert model.bulk_modulus_derivative_array(np.empty((2, 0)), 5.0).shape == (2, 0)
        with pytest.raises(errors.EosValidationError) as excinfo:
            model.bulk_modulus_derivative_array(volumes, 5.0)
        assert excinfo.value.field == "eps"


@pytest.mark.parametrize("name, args", [(n, a) for n, a, _, _ in RT_MODELS], ids=FACTORY_IDS)
@pytest.mark.parametrize("n", [3000, 70_000], ids=["sequential", "parallel"])
def test_arrays_equal_scalars_over_many_decades(name, args, n):
    # Vectorised block evaluation (where a model has one) and the element-wise
    # path must agree with the scalar methods to the bit, failures included.
    model = build(name, args)
    rng = np.random.default_rng(7)
    v0 = model.reference_volume
    volumes = v0 * np.where(rng.random(n) < 0.5, rng.uniform(0.5, 1.1, n), 10.0 ** rng.uniform(-3, 3, n))
    sample = rng.choice(n, 300, replace=False)
    for method in ("pressure", "bulk_modulus"):
        scalar = getattr(model, f"{method}_scalar")
        try:
            out = getattr(model, f"{method}_array")(volumes)
        except errors.QuorvelError:
            # Some element has no value: the scalar path must fail on one too.
            failing = 0
            for v in volumes:
                try:
                    scalar(float(v))
                except errors.QuorvelError:
                    failing += 1
                    break
            assert failing
            continue
        np.testing.assert_array_equal(out[sample], [scalar(float(v)) for v in volumes[sample]])
