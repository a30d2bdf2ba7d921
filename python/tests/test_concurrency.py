"""Several Python threads sharing model objects (free-threaded interpreter)."""

import sys

import numpy as np
import pytest

from conftest import run_together
from models import RT_MODELS, build

def test_gil_stays_disabled():
    if hasattr(sys, "_is_gil_enabled"):
        assert not sys._is_gil_enabled()


def test_shared_models_scalar_and_array_paths():
    models = [build(name, args) for name, args, _, _ in RT_MODELS]
    volumes = [np.linspace(0.75 * m.reference_volume, m.reference_volume, 70_000) for m in models]
    expected_p = [m.pressure_array(v[:1000]) for m, v in zip(models, volumes)]
    expected_big = [m.pressure_array(v) for m, v in zip(models, volumes)]
    targets = [p[::2][:600] for p in expected_p]
    expected_v = [m.volume_array(t) for m, t in zip(models, targets)]

    def work(i):
        for _ in range(3):
            for k, m in enumerate(models):
                if (k + i) % 2:
                    got = [m.pressure_scalar(float(v)) for v in volumes[k][:1000:7]]
                    assert got == list(expected_p[k][::7])
                    np.testing.assert_array_equal(m.volume_array(targets[k]), expected_v[k])
                else:
                    np.testing.assert_array_equal(m.pressure_array(volumes[k]), expected_big[k])
                    assert m.volume_scalar(float(targets[k][5])) == expected_v[k][5]

    run_together(work)


def test_errors_raised_concurrently_are_each_threads_own(mgo):
    from quorvel import errors

    def work(i):
        for _ in range(200):
            with pytest.raises(errors.EosValidationError) as excinfo:
                mgo.pressure_scalar(-float(i + 1))
            assert excinfo.value.field == "volume"
            bad = np.full(70_000, 10.0)
            bad[i] = np.nan
            with pytest.raises(errors.EosValidationError):
                mgo.pressure_array(bad)
            assert mgo.pressure_scalar(11.248) == 0.0

    run_together(work)
