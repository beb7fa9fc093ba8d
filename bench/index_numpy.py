#!/usr/bin/env python3
"""The index rows of IndexCalculatorBench answered the way a physicist's numpy script would:
one np.interp call per lookup, on the same generated curves (same generator, same pool).

Optional: it needs numpy (Debian: python3-numpy) and says so and exits 0 without it.
With --cpp-json, the JSON output of IndexCalculatorBench, it prints the calculator's time
beside numpy's and their ratio for each size of curve."""
import argparse
import json
import math
import sys
import time

try:
    import numpy as np
except ImportError:
    print("index_numpy: numpy is not installed (Debian: python3-numpy); comparison skipped")
    sys.exit(0)

PLANS, STRUCTURES, ROWS, POOL_POINTS, TOP_GY = 1000, 30, 50, 256000, 80.0
KINDS = [0, 1, 2, 3, 4, 5, 6, 7, 1, 6, 9, 11, 13, 15, 16, 3, 7]
VALUES = [95, 50, 2, 10, 100, 95, 20, 40, 2, 30, 0, 0, 0, 0, 0, 0.5, 50]
MASK = (1 << 64) - 1
f32 = np.float32


class Generator:
    """splitmix64, as the benchmark's."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & MASK
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK
        z ^= z >> 31
        return (z >> 11) * 2.0**-53

    def between(self, lo, hi):
        return f32(lo + (hi - lo) * self.next())


class Structure:
    def __init__(self, points, centre, width, volume):
        centre, width, volume = f32(centre), f32(width), f32(volume)
        gy = (np.arange(points, dtype=np.float64) * (TOP_GY / points)).astype(np.float32)
        first = 1.0 / (1.0 + math.exp(-float(centre) / float(width)))
        f = 1.0 / (1.0 + np.exp((gy.astype(np.float64) - float(centre)) / float(width))) / first
        self.volume = volume
        # float64 copies, ascending in the searched column, so np.interp copies nothing per call.
        self.gy = gy.astype(np.float64)
        self.pct = (gy.astype(np.float64) / 60.0 * 100.0).astype(np.float32).astype(np.float64)
        self.vol_pct = (100.0 * f).astype(np.float32).astype(np.float64)
        self.vol_cc = (float(volume) * f).astype(np.float32).astype(np.float64)
        self.vol_pct_up = self.vol_pct[::-1].copy()
        self.gy_down = self.gy[::-1].copy()
        self.pct_down = self.pct[::-1].copy()
        self.min_gy = max(f32(0.5), centre - f32(4) * width)
        self.max_gy = centre + f32(4) * width
        self.mean_gy = centre

    def dose_at_volume(self, level, gy):
        # The calculator's rule: 0 where no segment falls through the level.
        if not (self.vol_pct[-1] < level <= self.vol_pct[0]):
            return 0.0
        return float(np.interp(level, self.vol_pct_up, self.gy_down if gy else self.pct_down))

    def volume_at_dose(self, level, gy, cc):
        xs = self.gy if gy else self.pct
        if not (xs[0] <= level < xs[-1]):
            return 0.0
        return float(np.interp(level, xs, self.vol_cc if cc else self.vol_pct))


def make_pool(points):
    g = Generator(42)
    pool = []
    for _ in range(max(1, POOL_POINTS // points)):
        plan = {"Body": Structure(points, 10, 8, 20000)}
        for k in range(1, STRUCTURES):
            centre, width, volume = g.between(5, 70), g.between(0.5, 6), g.between(5, 1500)
            plan["S%d" % k] = Structure(points, centre, width, volume)
        pool.append(plan)
    return pool


def index(plan, kind, value):
    s, body = plan
    if kind <= 3:
        level = value if kind < 2 else value * 100.0 / float(s.volume)
        return s.dose_at_volume(level, kind in (1, 3))
    if kind <= 7:
        return s.volume_at_dose(value, kind >= 6, kind in (5, 7))
    if kind == 9:
        return float(s.mean_gy)
    if kind == 11:
        return float(s.max_gy)
    if kind == 13:
        return float(s.min_gy)
    if kind == 15:
        return float(s.max_gy / s.min_gy)
    if kind == 16:  # body volume at the prescribed dose over the structure's volume
        if not (body.gy[0] <= 60.0 < body.gy[-1]):
            return -1.0
        return float(f32(np.interp(60.0, body.gy, body.vol_cc)) / s.volume)
    raise ValueError(kind)


def run(points, repeats):
    pool = make_pool(points)
    rows = [("S%d" % (1 + r % (STRUCTURES - 1)), KINDS[r % 17], VALUES[r % 17]) for r in range(ROWS)]
    best, total = math.inf, 0.0
    for _ in range(repeats):
        start = time.perf_counter()
        total = 0.0
        for p in range(PLANS):
            plan = pool[p % len(pool)]
            body = plan["Body"]
            for name, kind, value in rows:
                total += index((plan[name], body), kind, value)
        best = min(best, time.perf_counter() - start)
    return best * 1000.0, total


def cpp_times(path):
    with open(path) as f:
        data = json.load(f)
    times = {}
    for b in data["benchmarks"]:
        name = b["name"]
        if name.startswith("BM_IndexRowsOverPlans/") and b.get("run_type", "iteration") == "iteration":
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            times[int(name.split("/")[1])] = (b["real_time"] * scale, b.get("checksum"))
    return times


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--points", type=int, action="append", help="points per curve (8000 and 128000)")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--cpp-json", help="IndexCalculatorBench --benchmark_out file")
    args = parser.parse_args()
    cpp = cpp_times(args.cpp_json) if args.cpp_json else {}
    for points in args.points or [8000, 128000]:
        ms, total = run(points, args.repeats)
        line = "index rows, %d points: numpy np.interp %.1f ms (sum %.6g)" % (points, ms, total)
        if points in cpp:
            cpp_ms, checksum = cpp[points]
            line += "; calculator %.2f ms (sum %.6g); numpy / calculator = %.1fx" % (
                cpp_ms, checksum or float("nan"), ms / cpp_ms)
        print(line, flush=True)


if __name__ == "__main__":
    main()
