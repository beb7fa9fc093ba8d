#!/usr/bin/env python3
"""Writes the curves and dose statistics of the example exports in examples/.

Every line of an export other than its dose statistics and its table rows is kept as it is
(patient, plan, dates, volumes, structure names), so the files stay the exports they were; the
numbers come from one made-up prostate plan of 78 Gy in which the Body holds every structure:

- PTV from 76.8 to 80.8 Gy (homogeneity index max / min near 1.05), the CTV inside it;
- little dose outside the PTV at the prescription, so that the Body's volume at 78 Gy is about
  the PTV's volume (conformity index near 1);
- rectum, bladder and femoral heads within the example protocol's constraints;
- the Body's curve the sum of its parts, so it lies above every structure's and ends at the
  largest maximum.

Run it from the repository root: python3 scripts/make-examples.py
"""

import math
import pathlib
import re

PRESCRIBED_GY = 78.0
STEP_GY = 0.5


class Structure:
    """Cumulative DVH of one structure: a mixture of normal dose distributions between a
    minimum and a maximum dose, as fractions of the structure's volume."""

    def __init__(self, parts, lowest, highest):
        self.parts = parts  # (weight, mean Gy, spread Gy)
        self.lowest = lowest
        self.highest = highest

    def _above(self, d):
        return sum(w * 0.5 * math.erfc((d - mu) / (s * math.sqrt(2))) for w, mu, s in self.parts)

    def fraction_at(self, d):
        """Fraction of the volume that receives at least `d` Gy."""
        if d <= self.lowest:
            return 1.0
        if d >= self.highest:
            return 0.0
        top = self._above(self.highest)
        return (self._above(d) - top) / (self._above(self.lowest) - top)


def patient(shift, organ_scale):
    """The plan of one patient: the target a little higher or lower, the organs' doses
    scaled a little."""
    def organ(parts, lowest, highest):
        return Structure([(w, mu * organ_scale, s) for w, mu, s in parts], lowest * organ_scale,
                         min(highest * organ_scale, 79.6 + shift))
    return {
        "PTV": Structure([(1.0, 79.2 + shift, 0.8)], 76.8 + shift, 80.8 + shift),
        "CTV": Structure([(1.0, 79.1 + shift, 0.6)], 77.6 + shift, 80.4 + shift),
        "Rectum": organ([(0.25, 70.0, 6.0), (0.40, 40.0, 12.0), (0.35, 15.0, 8.0)], 4.0, 79.4),
        "Bladder": organ([(0.15, 74.0, 4.0), (0.30, 45.0, 15.0), (0.55, 12.0, 8.0)], 2.5, 79.8),
        "Femur_L": organ([(1.0, 23.0, 7.0)], 1.5, 42.0),
        "Femur_R": organ([(1.0, 24.0, 7.0)], 2.0, 43.0),
        # Body tissue outside the structures: mostly low dose, a thin spill around the target.
        "Tissue": Structure([(0.55, 1.5, 1.0), (0.30, 6.0, 3.0), (0.126, 20.0, 8.0),
                             (0.02, 45.0, 12.0), (0.004, 72.0, 4.0)], 0.0, 79.5 + shift),
    }


# The structures the Body is made of (the CTV lies inside the PTV); other names are aliases.
BODY_PARTS = ("PTV", "Rectum", "Bladder", "Femur_L", "Femur_R")
ALIASES = {"Rect": "Rectum"}

# Per file: target shift in Gy and organ dose scale, so that the batch patients differ.
PLANS = {
    "Prostate_OnePlan.txt": (0.0, 1.0),
    "Prostate_PlanSum.txt": (0.0, 1.0),
    "Prostate_OnePlan_Description.txt": (0.0, 1.0),
    "Prostate_PlanSum_Description.txt": (0.0, 1.0),
    # Two rival plans of the first patient, to compare with its VMAT plan: the IMRT plan
    # spares the organs less, the 3D plan least.
    "Prostate_IMRT_P2.txt": (0.2, 1.06),
    "Prostate_3D_P3.txt": (0.4, 1.12),
    "Batch_PR-0107.txt": (-0.1, 0.96),
    "Batch_PR-0113.txt": (0.15, 1.03),
    "Batch_PR-0121.txt": (0.3, 1.06),
}


class Curve:
    """A structure's cumulative curve in cc with its statistics in Gy."""

    def __init__(self, volume, cc_at, lowest, highest):
        self.volume = volume
        self.cc_at = cc_at
        self.lowest = lowest
        self.highest = highest
        fine = [i * 0.01 for i in range(int(highest / 0.01) + 2)]
        cc = [cc_at(d) for d in fine]
        self.mean = sum((a + b) / 2 * 0.01 for a, b in zip(cc, cc[1:])) / volume
        self.median = next(d for d, v in zip(fine, cc) if v <= volume / 2)
        drops = [a - b for a, b in zip(cc, cc[1:])]
        self.modal = fine[drops.index(max(drops))]

    def grid(self):
        """Doses of the table rows: every half gray up to the first with no volume left."""
        n = math.ceil(self.highest / STEP_GY - 1e-9)
        return [i * STEP_GY for i in range(n + 1)]


def curves_for(plan, volumes):
    curves = {}
    for name, volume in volumes.items():
        if name == "Body":
            continue
        s = plan[ALIASES.get(name, name)]
        curves[name] = Curve(volume, lambda d, s=s, v=volume: v * s.fraction_at(d), s.lowest, s.highest)
    parts = [curves[n] for n in curves if ALIASES.get(n, n) in BODY_PARTS]
    if "Body" in volumes:
        tissue = plan["Tissue"]
        rest = volumes["Body"] - sum(c.volume for c in parts)
        assert rest > 0
        body_cc = lambda d: rest * tissue.fraction_at(d) + sum(c.cc_at(d) for c in parts)
        highest = max([tissue.highest] + [c.highest for c in parts])
        curves["Body"] = Curve(volumes["Body"], body_cc, 0.0, highest)
    return curves


STAT = re.compile(r"^((Min|Max|Mean|Modal|Median) [Dd]ose \[(cGy|Gy)\]\s*:\s*)(\S+)$")
NAME = re.compile(r"^(?:Histogram\s*: \S+ - |Structure: )(.+)$")
VOLUME = re.compile(r"^Volume \[cm(?:\^3|³)\]\s*:\s*(\S+)$")


def decimals(text):
    return len(text.split(".")[1]) if "." in text else 0


def row_writer(header):
    """The table rows of one file's layout, from a dose in Gy and a volume in cc."""
    if header.startswith("Dose [cGy]\tStructure Volume"):
        return lambda d, cc, vol: "%d\t%.4f\t%.3f" % (round(d * 100), cc, d / PRESCRIBED_GY * 100)
    if header.startswith("Dose [cGy]\tRatio"):
        return lambda d, cc, vol: "%d\t%.4f" % (round(d * 100), cc / vol * 100)
    if header.startswith("Relative dose [%]"):
        return lambda d, cc, vol: "%17s%20.2f%26s" % ("%.4g" % (d / PRESCRIBED_GY * 100), d, "%.6g" % cc)
    if header.startswith("Dose [cGy]     Ratio"):
        return lambda d, cc, vol: "%10s%40s" % ("%d" % round(d * 100), "%.6g" % (cc / vol * 100))
    raise ValueError("unknown table layout: " + header)


def rewrite(path, shift, organ_scale):
    lines = path.read_bytes().decode("utf-8").split("\r\n")
    volumes, name = {}, None
    for line in lines:
        m = NAME.match(line)
        if m:
            name = m.group(1)
        m = VOLUME.match(line)
        if m and name:
            volumes[name] = float(m.group(1))
    curves = curves_for(patient(shift, organ_scale), volumes)

    out, i, name = [], 0, None
    while i < len(lines):
        line = lines[i]
        m = NAME.match(line)
        if m:
            name = m.group(1)
        m = STAT.match(line)
        if m and name:
            c = curves[name]
            gy = {"Min": c.lowest, "Max": c.highest, "Mean": c.mean, "Modal": c.modal,
                  "Median": c.median}[m.group(2)]
            value = gy * 100 if m.group(3) == "cGy" else gy
            line = m.group(1) + "%.*f" % (decimals(m.group(4)), value)
        out.append(line)
        i += 1
        if name and (line.startswith("Dose [cGy]") or line.startswith("Relative dose [%]")):
            write = row_writer(line)
            c = curves[name]
            out.extend(write(d, c.cc_at(d), c.volume) for d in c.grid())
            while i < len(lines) and lines[i].strip():
                i += 1
            name = None
    path.write_bytes("\r\n".join(out).encode("utf-8"))
    return curves


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "examples"
    for file, (shift, organ_scale) in PLANS.items():
        curves = rewrite(folder / file, shift, organ_scale)
        body, ptv = curves["Body"], curves["PTV"]
        for n, c in curves.items():
            for d in c.grid():
                assert body.cc_at(d) >= c.cc_at(d) - 1e-9, (file, n, d)
        hi = ptv.highest / ptv.lowest
        ci = body.cc_at(PRESCRIBED_GY) / ptv.volume
        print("%-34s HI %.3f  CI %.3f  PTV mean %.2f Gy" % (file, hi, ci, ptv.mean))


if __name__ == "__main__":
    main()
