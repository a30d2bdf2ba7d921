"""A catalogue of isothermal models with physically sensible parameters.

Volumes in cm3/mol, pressures in GPa (MgO-like where the model allows).
"""

V0 = 11.248

# (factory name, positional arguments, model_name, P(V0))
RT_MODELS = [
    ("density_polynomial_3", (V0, 1.0, -210.0, 150.0, 50.0, 10.0), "DensityPolynomial3", 0.0),
    ("baonza", (V0, 160.0, 4.0), "Baonza", 0.0),
    ("bm2", (V0, 160.0), "BM2", 0.0),
    ("bm3", (V0, 160.0, 4.0), "BM3", 0.0),
    ("bm4", (V0, 160.0, 4.0, -0.025), "BM4", 0.0),
    ("murnaghan", (V0, 160.0, 4.0), "Murnaghan", 0.0),
    ("morse3", (V0, 160.0, 4.0), "Morse3", 0.0),
    ("modified_tait", (V0, 160.0, 4.0, -0.025), "ModifiedTait", 0.0),
    ("natural_strain2", (V0, 160.0), "NaturalStrain2", 0.0),
    ("natural_strain3", (V0, 160.0, 4.0), "NaturalStrain3", 0.0),
    ("natural_strain4", (V0, 160.0, 4.0, -0.025), "NaturalStrain4", 0.0),
    ("rydberg_stacey", (V0, 160.0, 4.0, 2.5), "RydbergStacey", 0.0),
    ("sun_morse3", (V0, 160.0, 4.0), "SunMorse3", 0.0),
    ("sun_morse4", (V0, 160.0, 4.0), "SunMorse4", 0.0),
    ("second_order_murnaghan", (V0, 160.0, 4.0, -0.025, 1.5), "SecondOrderMurnaghan", 1.5),
    ("vinet", (V0, 160.0, 4.0), "Vinet", 0.0),
    ("holzapfel", (1.1248, 160.0, 4.0, 2.0, 10.0), "Holzapfel", 0.0),
]

FACTORY_IDS = [entry[0] for entry in RT_MODELS]


def build(name, args):
    from quorvel._engine import RtEos

    return getattr(RtEos, name)(*args)
