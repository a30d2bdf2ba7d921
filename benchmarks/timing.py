"""Timing helper shared by the benchmark scripts."""

import math
import time


def best_time(fn, repeats):
    """The shortest of `repeats` wall-clock timings of fn(), in seconds."""
    best = math.inf
    for _ in range(repeats):
        t0 = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - t0)
    return best
