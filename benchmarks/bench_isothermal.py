"""Isothermal engine benchmarks, each against an honest baseline in the same run.

    .venv/bin/python benchmarks/bench_isothermal.py [--quick]

Prints one line per case: case, n, baseline_ns, ns, ratio, where ns are
per-element (or per-call) nanoseconds, best of several repeats, and ratio is
baseline/ours (above 1 means quorvel is faster) unless the case says otherwise.
The machine is shared and noisy: read the ratios, not the absolute times.
"""

import argparse
import math
import threading
import time

import numpy as np
from scipy.optimize import brentq

from quorvel._engine import RtEos
from timing import best_time

V0, K0, KP = 11.248, 160.0, 4.0


def numpy_bm3(v):
    x = np.cbrt(V0 / v)
    f = (x * x - 1.0) / 2.0
    x5 = x ** 5
    return 3.0 * K0 * f * x5 * (1.0 + 1.5 * (KP - 4.0) * f)


def numpy_vinet(v):
    x = np.cbrt(v / V0)
    eta = 1.5 * (KP - 1.0)
    return 3.0 * K0 * (1.0 - x) / (x * x) * np.exp(eta * (1.0 - x))


def python_bm3(v):
    x = (V0 / v) ** (1.0 / 3.0)
    f = (x * x - 1.0) / 2.0
    return 3.0 * K0 * f * x ** 5 * (1.0 + 1.5 * (KP - 4.0) * f)


def row(case, n, baseline_s, ours_s, per=1, note=""):
    b = baseline_s / per * 1e9
    o = ours_s / per * 1e9
    print(f"{case:<44} {n:>9} {b:12.2f} {o:12.2f} {b / o:9.2f}{note}", flush=True)


def bench_pressure_array(sizes, repeats):
    models = {"bm3": (RtEos.bm3(V0, K0, KP), numpy_bm3), "vinet": (RtEos.vinet(V0, K0, KP), numpy_vinet)}
    for n in sizes:
        volumes = np.linspace(0.7 * V0, 1.02 * V0, n)
        for name, (model, formula) in models.items():
            np.testing.assert_allclose(model.pressure_array(volumes[:1000]), formula(volumes[:1000]), rtol=1e-12,
                                       atol=1e-12)
            t_np = best_time(lambda: formula(volumes), repeats)
            t_q = best_time(lambda: model.pressure_array(volumes), repeats)
            row(f"1 pressure_array {name} vs numpy", n, t_np, t_q, n)


def bench_volume_array(n, n_brentq, repeats):
    model = RtEos.bm3(V0, K0, KP)
    pressures = np.linspace(0.0, 120.0, n)
    t_q = best_time(lambda: model.volume_array(pressures), repeats)
    sample = pressures[:: max(1, n // n_brentq)]

    def loop():
        for p in sample:
            brentq(lambda v, p=p: python_bm3(v) - p, 0.3 * V0, 1.5 * V0, xtol=1e-14 * V0, rtol=1e-15)

    t_b = best_time(loop, 1)
    row("2 volume_array bm3 vs brentq loop", n, t_b / len(sample) * n, t_q, n)
    # Evaluations per root search: Murnaghan's pressure has no vectorised block
    # path, so its pressure_array costs one element-wise evaluation per element,
    # like each step of the search.
    murnaghan = RtEos.murnaghan(V0, K0, KP)
    volumes = np.linspace(0.7 * V0, V0, n)
    t_p = best_time(lambda: murnaghan.pressure_array(volumes), repeats)
    t_v = best_time(lambda: murnaghan.volume_array(pressures), repeats)
    print(f"{'2 volume_array / pressure_array, murnaghan':<44} {n:>9} {t_p / n * 1e9:12.2f} {t_v / n * 1e9:12.2f} "
          f"{t_v / t_p:9.2f}   (ratio = evaluations per root search, roughly)", flush=True)


def bench_scalar(calls, repeats):
    model = RtEos.bm3(V0, K0, KP)
    f = model.pressure_scalar
    h = math.hypot
    xs = [10.0 + i * 1e-6 for i in range(calls)]

    def ours():
        for x in xs:
            f(x)

    def baseline():
        for x in xs:
            h(x, 1.0)

    t_h = best_time(baseline, repeats)
    t_q = best_time(ours, repeats)
    print(f"{'3 pressure_scalar / math.hypot per call':<44} {calls:>9} {t_h / calls * 1e9:12.2f} "
          f"{t_q / calls * 1e9:12.2f} {t_q / t_h:9.2f}   (ratio = ours/hypot, aim <= 3)", flush=True)


def threaded_throughput(work, threads, seconds):
    counts = [0] * threads
    stop = time.perf_counter() + seconds
    barrier = threading.Barrier(threads)

    def body(i):
        barrier.wait()
        c = 0
        while time.perf_counter() < stop:
            work()
            c += 1
        counts[i] = c

    ts = [threading.Thread(target=body, args=(i,)) for i in range(threads)]
    for t in ts:
        t.start()
    for t in ts:
        t.join()
    return sum(counts) / seconds


def bench_threads(seconds):
    model = RtEos.bm3(V0, K0, KP)

    def scalar_batch():
        # Each thread uses its own bound method and its own float argument:
        # objects shared by both threads (a bound method, or a float constant
        # of this imported module, which 3.13t does not make immortal) would
        # put both threads on one reference count and measure that instead.
        f = model.pressure_scalar
        x = float(threading.get_ident() % 2 + 10)
        for _ in range(1000):
            f(x)

    pressures = np.linspace(0.0, 100.0, 512)

    def volumes():
        model.volume_array(pressures)

    def volumes_sequential():
        model.volume_array(pressures[:511])

    for name, work in (("pressure_scalar x1000", scalar_batch), ("volume_array 512 (pool)", volumes),
                       ("volume_array 511 (calling thread)", volumes_sequential)):
        one = threaded_throughput(work, 1, seconds)
        two = threaded_throughput(work, 2, seconds)
        print(f"{'4 two threads / one thread: ' + name:<44} {2:>9} {1e9 / one:12.2f} {1e9 / two:12.2f} "
              f"{two / one:9.2f}   (ratio = throughput gain, aim >= 1.7)", flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="smaller sizes, for a smoke run")
    args = parser.parse_args()
    print(f"{'case':<44} {'n':>9} {'baseline_ns':>12} {'ns':>12} {'ratio':>9}")
    if args.quick:
        bench_pressure_array([10**5], 3)
        bench_volume_array(10**4, 200, 2)
        bench_scalar(10**5, 3)
        bench_threads(0.3)
    else:
        bench_pressure_array([10**6, 10**7], 5)
        bench_volume_array(10**5, 5000, 5)
        bench_scalar(10**6, 7)
        bench_threads(2.0)


if __name__ == "__main__":
    main()
