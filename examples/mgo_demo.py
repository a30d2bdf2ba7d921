"""Isothermal equations of state of two real materials.

MgO (periclase) with a third-order Birch-Murnaghan EOS, and alpha-quartz
fitted to the measurements of Angel et al. (1997), shipped in data/.
"""

import pathlib
import sys

import numpy as np
from scipy.optimize import least_squares

from quorvel._engine import RtEos

DATA = pathlib.Path(__file__).resolve().parent.parent / "data"


def mgo_table():
    # V0 in cm3/mol, K0 in GPa.
    mgo = RtEos.bm3(v0=11.248, k0=160.0, k0_prime=4.0)
    print(f"MgO, {mgo!r}: V0 = {mgo.reference_volume} cm3/mol, K0 = 160 GPa, K0' = 4")
    print(f"{'V/V0':>6} {'V (cm3/mol)':>12} {'P (GPa)':>10} {'K (GPa)':>10}")
    ratios = np.linspace(1.0, 0.75, 6)
    volumes = ratios * mgo.reference_volume
    pressures = mgo.pressure_array(volumes)
    moduli = mgo.bulk_modulus_array(volumes)
    for r, v, p, k in zip(ratios, volumes, pressures, moduli):
        print(f"{r:6.3f} {v:12.4f} {p:10.3f} {k:10.2f}")

    print()
    print(f"{'P (GPa)':>8} {'V (cm3/mol)':>12} {'V/V0':>8}")
    targets = np.array([0.0, 10.0, 25.0, 50.0, 100.0, 135.0])
    for p, v in zip(targets, mgo.volume_array(targets)):
        print(f"{p:8.1f} {v:12.4f} {v / mgo.reference_volume:8.4f}")


def quartz_fit():
    rows = np.loadtxt(DATA / "quartz_pv_angel1997.csv", delimiter=",", comments="#", skiprows=6)
    p_obs, v_obs, sigma_p = rows[:, 0], rows[:, 1], rows[:, 2]

    # Weighted third-order Birch-Murnaghan fit, the engine evaluating every
    # residual vector (the P = 0 point, with its tiny sigma, pins V0).
    def residuals(x):
        return (RtEos.bm3(*x).pressure_array(v_obs) - p_obs) / sigma_p

    fit = least_squares(residuals, x0=[v_obs[0], 40.0, 4.0], x_scale=[1.0, 10.0, 1.0])
    v0, k0, k0_prime = fit.x
    quartz = RtEos.bm3(v0, k0, k0_prime)
    misfit = quartz.pressure_array(v_obs) - p_obs
    print()
    print(f"alpha-quartz, BM3 fitted to Angel et al. (1997), {len(p_obs)} points up to {p_obs.max():.1f} GPa:")
    print(f"  V0 = {v0:.3f} A^3, K0 = {k0:.2f} GPa, K0' = {k0_prime:.2f}, "
          f"rms misfit = {np.sqrt(np.mean(misfit ** 2)):.4f} GPa (median sigma_P {np.median(sigma_p[1:]):.4f} GPa)")
    print(f"  volume at 5 GPa: {quartz.volume_scalar(5.0):.3f} A^3")


def main():
    mgo_table()
    quartz_fit()
    print(f"\nfree-threaded interpreter, GIL enabled: {sys._is_gil_enabled()}")


if __name__ == "__main__":
    main()
