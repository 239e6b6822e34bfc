#!/usr/bin/env python3
"""Instructions per stereo frame by unit from a callgrind_annotate listing (stdin).

  callgrind_annotate OUT | bench/callgrind_units.py FRAMES [--functions]

Each function is counted under the first unit whose pattern its name contains; the rest is
"other". --functions also lists every function of 0.5 instructions per frame or more.
"""
import re
import sys

UNITS = [
    ("crossover (FFT block work)", ["Fft", "Codelets", "Radix8", "forwardStages", "inverseStages",
                                    "CrossoverStage", "CrossoverBank", "CrossoverBlockFilter"]),
    ("band detectors and gain computers", ["runFollowerPair<qv::BandCompressor", "BandDetector",
                                           "BandCompressor"]),
    ("linker and band gain smoothers", ["ReductionLinker", "qv::GainSmoother::"]),
    ("limiter", ["BandLimiter", "LimiterGainSmoother", "runGains", "applyGain", "limitedSample"]),
    ("meters and analyser capture", ["OutputMeter", "RmsWindow", "BandMeter", "AnalyserCapture",
                                     "RunExtremes", "run_extremes"]),
    ("loop plumbing (rings, split, apply, mix)", ["MultibandEngine", "memcpy", "memmove",
                                                  "memset", "DelayRing", "ChunkDelayLine",
                                                  "copySamples"]),
]


def main():
    frames = float(sys.argv[1])
    listing = "--functions" in sys.argv[2:]
    line_re = re.compile(r"^\s*([\d,]+)\s+\([\s\d.]+%\)\s+(.*)$")
    totals = {name: 0 for name, _ in UNITS}
    totals["other"] = 0
    program = 0
    functions = []
    for line in sys.stdin:
        m = line_re.match(line)
        if not m:
            continue
        count = int(m.group(1).replace(",", ""))
        name = m.group(2)
        if "PROGRAM TOTALS" in name:
            program = count
            continue
        name = re.sub(r"^\S*?:", "", name, count=1) if name.startswith("???:") else name
        unit = next((u for u, pats in UNITS if any(p in name for p in pats)), "other")
        totals[unit] += count
        functions.append((count, name))
    for name, _ in UNITS + [("other", None)]:
        print("  %-42s %7.1f" % (name, totals[name] / frames))
    print("  %-42s %7.1f" % ("total", program / frames))
    if listing:
        for count, name in functions:
            if count / frames >= 0.5:
                print("    %7.1f  %s" % (count / frames, name[:110]))


if __name__ == "__main__":
    main()
