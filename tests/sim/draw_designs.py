#!/usr/bin/env python3
"""Draws the further designs of the simulation suite once, with a fixed seed, from ranges an
engineer would use for each procedure, and prints them as lines of rows.txt (which holds
them as numbers: this script only documents where they came from)."""
import random

rng = random.Random(1515)


def u(lo, hi, digits=3):
    return float(f"{rng.uniform(lo, hi):.{digits}g}")


def dcdc(topology, mode):
    if topology == "buck":
        vin_min = u(8, 60)
        vin_max = u(vin_min * 1.2, vin_min * 2)
        vo = u(vin_min * 0.2, vin_min * 0.7)
    elif topology == "boost":
        vin_min = u(3, 30)
        vin_max = u(vin_min * 1.1, vin_min * 1.6)
        vo = u(vin_max * 1.2, vin_max * 3)
    else:
        vin_min = u(5, 30)
        vin_max = u(vin_min * 1.1, vin_min * 2)
        vo = u(3, 48)
    row = dict(VinMin=vin_min, VinMax=vin_max, Vo=vo, IoMax=u(0.3, 10), Vsw=u(0.1, 1),
               Vdf=u(0.3, 0.8), f=u(50, 500), Bpk=u(1500, 2800), Bsat=3500, Cmil=u(300, 600),
               Vopp=u(10, 100), Ae=u(20, 150))
    if mode == "ccm":
        row["r"] = u(0.2, 0.6)
    else:
        row["Ptd"] = u(15, 30)
    return f"dcdc topology={topology} mode={mode} " + " ".join(f"{k}={v:g}" for k, v in row.items())


def flyback(mode):
    vac_max = u(240, 270)
    row = dict(Po=u(10, 150), Vo=u(3.3, 48), Eff=u(70, 90), VacMin=u(85, 100), VacMax=vac_max,
               Vswm=u(650, 800), Vswr=u(50, 120), f=u(50, 200), Vdf=u(0.4, 1),
               Cmil=u(400, 600), Vopp=u(30, 150), Ae=u(40, 150), Le=u(30, 100),
               Bpk=u(2000, 2800), Bsat=3500, Per=u(1, 5))
    if mode == "ccm":
        row["r"] = u(0.3, 0.8)
    else:
        row["Ptd"] = u(15, 30)
    return f"flyback mode={mode} " + " ".join(f"{k}={v:g}" for k, v in row.items()) + \
        " verify snubber"


def forward():
    row = dict(VacMin=u(85, 190), VacMax=u(240, 270), Vo=u(3.3, 24), Io=u(2, 30), f=u(50, 300),
               Eff=u(75, 90), Vdf=u(0.4, 0.9), Dmax=u(0.3, 0.45), Bpk=u(1200, 2000),
               Cmil=u(400, 700), Ae=u(40, 200))
    return "forward " + " ".join(f"{k}={v:g}" for k, v in row.items()) + " verify"


def rcc():
    io_max = u(0.3, 2)
    row = dict(VacMin=u(85, 100), VacMax=u(240, 265), Vo=u(5, 24), IoMax=io_max,
               IoMin=float(f"{io_max / 10:.3g}"), fMin=u(40, 80), Eff=u(70, 85),
               Vswm=u(650, 800), Vswr=u(100, 150), Vsw=u(0.5, 2), Vdf=u(0.4, 1),
               Bpk=u(2000, 2800), Ae=u(15, 60), Cmil=u(400, 600))
    return "rcc " + " ".join(f"{k}={v:g}" for k, v in row.items())


def bridge(key):
    vac_min = u(85, 200)
    row = dict(VacMin=vac_min, VacMax=min(270.0, u(vac_min * 1.2, vac_min * 2.6)),
               Vo=u(5, 48), Io=u(5, 50), f=u(50, 200), Eff=u(80, 92), Vdf=u(0.4, 0.9),
               Dmax=u(0.6, 0.8 if key == "pushpull" else 0.9), DB=u(1000, 1800),
               Cmil=u(400, 600), Ae=u(60, 300))
    return key + " " + " ".join(f"{k}={v:g}" for k, v in row.items())


draws = []
for topology in ("buck", "boost", "buck-boost"):
    for mode in ("ccm", "dcm"):
        draws += [dcdc(topology, mode) for _ in range(4)]
for mode in ("ccm", "dcm"):
    draws += [flyback(mode) for _ in range(4)]
draws += [forward() for _ in range(4)]
draws += [rcc() for _ in range(4)]
for key in ("pushpull", "halfbridge", "fullbridge"):
    draws += [bridge(key) for _ in range(4)]
for d in draws:
    print(d)
