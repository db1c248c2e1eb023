#!/usr/bin/env python3
"""Independent reference for designing a pair from its centre distance.

With formulas of its own (plain math, no code shared with the C++ program): the shift sum that
gives a working centre distance A, and the split of that sum for which the specific sliding at
the start of contact (on gear 1's root) equals that at the end (on gear 2's root), found by
bisection. Run it and keep the output in centre_distance_reference.txt; the C++ tests read it.
"""
import math

ALPHA_N = math.radians(20.0)


def inv(a):
    return math.tan(a) - a


def pair(z1, z2, mn, beta_deg):
    beta = math.radians(beta_deg)
    alpha_t = math.atan(math.tan(ALPHA_N) / math.cos(beta))
    d1 = z1 * mn / math.cos(beta)
    d2 = z2 * mn / math.cos(beta)
    return alpha_t, d1, d2


def shift_sum(z1, z2, mn, beta_deg, centre):
    alpha_t, d1, d2 = pair(z1, z2, mn, beta_deg)
    a_ref = (d1 + d2) / 2
    alpha_w = math.acos(a_ref * math.cos(alpha_t) / centre)
    return (inv(alpha_w) - inv(alpha_t)) * (z1 + z2) / (2 * math.tan(ALPHA_N)), alpha_w


def sliding(z1, z2, mn, beta_deg, centre, x1, x2):
    alpha_t, d1, d2 = pair(z1, z2, mn, beta_deg)
    _, alpha_w = shift_sum(z1, z2, mn, beta_deg, centre)
    rb1, rb2 = d1 * math.cos(alpha_t) / 2, d2 * math.cos(alpha_t) / 2
    ra1, ra2 = d1 / 2 + (1 + x1) * mn, d2 / 2 + (1 + x2) * mn
    line = centre * math.sin(alpha_w)
    # Start of contact: gear 2's tip meets gear 1; end: gear 1's tip meets gear 2.
    rho2_s = math.sqrt(ra2 ** 2 - rb2 ** 2)
    rho1_s = line - rho2_s
    rho1_e = math.sqrt(ra1 ** 2 - rb1 ** 2)
    rho2_e = line - rho1_e
    zeta1 = 1 - (z1 / z2) * rho2_s / rho1_s
    zeta2 = 1 - (z2 / z1) * rho1_e / rho2_e
    return zeta1, zeta2


def balanced(z1, z2, mn, beta_deg, centre):
    xs, _ = shift_sum(z1, z2, mn, beta_deg, centre)
    lo, hi = max(-0.5, xs - 0.5), min(0.5, xs + 0.5)

    def f(x):
        z_1, z_2 = sliding(z1, z2, mn, beta_deg, centre, x, xs - x)
        return z_1 - z_2

    flo = f(lo)
    for _ in range(200):
        mid = (lo + hi) / 2
        fm = f(mid)
        if (fm <= 0) == (flo <= 0):
            lo, flo = mid, fm
        else:
            hi = mid
    zeta1, zeta2 = sliding(z1, z2, mn, beta_deg, centre, lo, xs - lo)
    # A sign change across a pole (contact starting at a base circle) is no balance.
    balanced_here = abs(zeta1 - zeta2) <= 1e-9 * (1 + abs(zeta1))
    return xs, lo if balanced_here else None


# name, z1, z2, mn, beta, centre distance
CASES = [
    ("spur_20_40", 20, 40, 2.0, 0.0, 60.5),
    ("helical_17_40", 17, 40, 8.0, 20.0, 245.0),
    ("pinion_14_60", 14, 60, 1.5, 10.0, 57.0),
    # The split that would balance the sliding lies where contact starts below gear 1's base
    # circle: the sliding has a pole there, and no balance exists.
    ("pinion_12_60", 12, 60, 1.5, 10.0, 55.0),
    ("close_30_31", 30, 31, 3.0, 15.0, 94.0),
    ("negative_25_50", 25, 50, 2.5, 5.0, 93.5),
]

for name, z1, z2, mn, beta, centre in CASES:
    xs, x1 = balanced(z1, z2, mn, beta, centre)
    print(f"{name} xsum {xs:.15g}")
    if x1 is None:
        print(f"{name} x1 nan")
        continue
    zeta1, _ = sliding(z1, z2, mn, beta, centre, x1, xs - x1)
    print(f"{name} x1 {x1:.15g}")
    print(f"{name} zeta {zeta1:.15g}")
