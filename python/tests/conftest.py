import threading

import numpy as np
import pytest

from quorvel import _engine


@pytest.fixture
def rt():
    return _engine.RtEos


@pytest.fixture
def mgo():
    """MgO, third-order Birch-Murnaghan (cm3/mol, GPa)."""
    return _engine.RtEos.bm3(11.248, 160.0, 4.0)


def assert_error(excinfo, cls_name, code, message, field=None, operation="eos"):
    """The raised exception is quorvel.errors.<cls_name> with these attributes."""
    from quorvel import errors

    err = excinfo.value
    assert type(err) is getattr(errors, cls_name)
    assert err.code == code
    assert str(err) == message
    assert err.field == field
    assert err.operation == operation


def run_together(work, threads=4):
    """Runs work(i) on `threads` threads released at once; re-raises the first failure."""
    barrier = threading.Barrier(threads)
    failures = []

    def body(i):
        try:
            barrier.wait()
            work(i)
        except BaseException as exc:  # noqa: BLE001 - re-raised below
            failures.append(exc)

    pool = [threading.Thread(target=body, args=(i,)) for i in range(threads)]
    for t in pool:
        t.start()
    for t in pool:
        t.join()
    if failures:
        raise failures[0]
