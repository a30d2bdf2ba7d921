"""Isothermal equations of state of two real materials.

MgO (periclase) with a third-order Birch-Murnaghan EOS, and alpha-quartz
with its published fourth-order Birch-Murnaghan fit compared against the
measurements of Angel et al. (1997), shipped in data/.
"""

import pathlib
import sys

import numpy as np

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


def quartz_residuals():
    rows = np.loadtxt(DATA / "quartz_pv_angel1997.csv", delimiter=",", comments="#", skiprows=6)
    p_obs, v_obs, sigma_p = rows[:, 0], rows[:, 1], rows[:, 2]
    # Published fourth-order fit to these data (V0 in A^3, K0 in GPa, K0'' in 1/GPa).
    quartz = RtEos.bm4(v0=112.981, k0=37.12, k0_prime=5.99, k0_double_prime=-0.0044)
    p_model = quartz.pressure_array(v_obs)
    residual = p_obs - p_model
    print()
    print(f"alpha-quartz, {quartz!r}, against Angel et al. (1997), {len(p_obs)} points:")
    print(f"  max |P_obs - P_model| = {np.max(np.abs(residual)):.4f} GPa, "
          f"rms = {np.sqrt(np.mean(residual ** 2)):.4f} GPa, "
          f"median sigma_P = {np.median(sigma_p[1:]):.4f} GPa")


def main():
    mgo_table()
    quartz_residuals()
    print(f"\nfree-threaded interpreter, GIL enabled: {sys._is_gil_enabled()}")


if __name__ == "__main__":
    main()
