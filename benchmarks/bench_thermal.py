"""Thermal engine benchmarks: MgO Mie-Grueneisen-Debye over BM3.

    .venv/bin/python benchmarks/bench_thermal.py [--quick]

Prints case, n, per-element ns of the isothermal pressure_array (the
reference), per-element ns of the thermal quantity, their ratio
(thermal / isothermal, i.e. how many isothermal evaluations one thermal
element costs) and the thermal throughput in million elements per second.
"""

import argparse

import numpy as np

from quorvel._engine import RtEos, ThermalEos
from timing import best_time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    n = 10**4 if args.quick else 10**5
    repeats = 2 if args.quick else 5

    rt = RtEos.bm3(1.1248, 160.0, 4.0)  # MgO, J/bar and GPa
    mgd = ThermalEos.mie_gruneisen_debye(rt, 300.0, 773.0, 1.5, 1.5, 2.0)
    rng = np.random.default_rng(1)
    volumes = rng.uniform(0.85, 1.05, n) * rt.reference_volume
    temperatures = rng.uniform(300.0, 3000.0, n)
    pressures = mgd.evaluate_array("pressure", volumes, temperatures)

    t_iso = best_time(lambda: rt.pressure_array(volumes), repeats)
    print(f"{'case':<40} {'n':>8} {'iso_ns':>10} {'ns':>12} {'ratio':>9} {'Melem/s':>9}")
    # Root searches cost ~70 thermal pressures each: fewer repeats, and the
    # secondary quantities on a tenth of the points.
    cases = (("pressure", volumes, temperatures, repeats), ("volume", pressures, temperatures, 1),
             ("thermal_expansivity", volumes[: n // 10], temperatures[: n // 10], repeats),
             ("temperature", pressures[: n // 10], volumes[: n // 10], 1))
    for quantity, first, second, reps in cases:
        m = len(first)
        t = best_time(lambda: mgd.evaluate_array(quantity, first, second), reps)
        print(f"{'evaluate_array ' + quantity:<40} {m:>8} {t_iso / n * 1e9:10.2f} {t / m * 1e9:12.2f} "
              f"{(t / m) / (t_iso / n):9.1f} {m / t / 1e6:9.4f}", flush=True)


if __name__ == "__main__":
    main()
