#!/usr/bin/env python3
"""Draws the further designs of the loop rows of the simulation suite (rows.txt) once,
with a fixed seed, from ranges an engineer would use on each compensation page, and prints them
as rows (rows.txt holds them as numbers: this script only documents where they came from)."""
import math
import random

rng = random.Random(2718)


def u(lo, hi, digits=3):
    return float(f"{rng.uniform(lo, hi):.{digits}g}")


def logu(lo, hi, digits=3):
    return float(f"{math.exp(rng.uniform(math.log(lo), math.log(hi))):.{digits}g}")


def row(page, fields):
    return page + " " + " ".join(f"{k}={v:g}" for k, v in fields.items())


def current_mode(kind):
    # The page's D' terms are a buck-boost's: the lowest input that gives Vo at the largest D.
    vo, io, d, fsw = u(3.3, 48), u(0.5, 10), u(0.2, 0.6), u(50, 500)
    vin = float(f"{vo * (1 - d) / d:.3g}")
    # The inductance for a ripple of r of the inductor current Io/(1 - D).
    r = rng.uniform(0.2, 0.6)
    l_uh = float(f"{vin * d / (fsw * 1e3) / (r * io / (1 - d)) * 1e6:.3g}")
    ri = u(0.05, 1)
    # The ramp for a compensation slope of 0.2 to 1.5 times the sensed on-slope Vin/L·Ri.
    vse = float(f"{u(0.2, 1.5) * vin / (l_uh * 1e-6) * ri / (fsw * 1e3):.3g}")
    fields = dict(Vo=vo, Io=io, Co=logu(100, 2200), ESR=u(0.01, 0.15), D=d, Vin=vin, L=l_uh,
                  Vse=vse, Ri=ri, fsw=fsw, fc=float(f"{fsw / u(5, 20):.3g}"),
                  R1=logu(1000, 47000), gm=u(0.1, 1), Vref=u(0.8, 2.5))
    return row(f"loop-current type={kind}", fields)


def forward():
    fsw = u(50, 300)
    fields = dict(Vo=u(3.3, 24), Iomax=u(2, 30), fsw=fsw, Co=logu(100, 3300),
                  ESR=u(0.005, 0.1), Vramp=u(1, 3), Vref=u(1.25, 2.5), L=u(2, 50),
                  Dmax=u(0.35, 0.5), fc=float(f"{fsw / u(5, 10):.3g}"), PMwant=u(40, 70),
                  R1=logu(1000, 20000))
    return row("loop-type2 kind=forward", fields)


def flyback():
    # The wanted margin is typed while the forward type is selected (the flyback's field is
    # disabled, its exact design reads it): above 90° plus the stage's phase at fc, which a
    # type II network can give on a flyback, or below, which it cannot.
    pm_want = u(80, 120)
    io_max = u(0.5, 5)
    fc = u(1, 10)
    fields = dict(Vo=u(5, 48), Iomax=io_max, Iomin=float(f"{io_max * u(0.05, 0.2):.3g}"),
                  Vinmax=u(100, 380), fsw=u(50, 150), Co=logu(100, 2200), ESR=u(0.02, 0.2),
                  Vramp=u(1, 3), L=u(200, 1500), Dmax=0.45, fp1=float(f"{fc * u(2, 5):.3g}"),
                  fz1=float(f"{fc / u(3, 10):.3g}"), fc=fc, R1=logu(1000, 20000))
    return row(f"loop-type2 PMwant={pm_want:g} kind=flyback", fields)


def type3():
    fz1 = u(2, 10)
    fields = dict(fp1=u(15, 100), fp2=u(200, 1000), fz1=fz1, fz2=float(f"{fz1 * u(0.8, 1.2):.3g}"),
                  fc=u(10, 80), GdB=u(5, 25), R1=logu(1, 20))
    return row("loop-type3", fields)


draws = [current_mode("gm") for _ in range(4)] + [current_mode("opamp") for _ in range(4)]
draws += [forward() for _ in range(4)] + [flyback() for _ in range(4)]
draws += [type3() for _ in range(6)]
for d in draws:
    print(d + (" step2 step4" if d.startswith("loop-type2") else " calc"))
