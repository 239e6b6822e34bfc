#!/usr/bin/env python3
"""Renders the test programme through the 64-bit DLL, both 32-bit DLLs and the native build of
the effect with the same programs, and checks that they agree: the 64-bit DLL with the native
build (the same x86-64 double arithmetic) within 1e-6, with each 32-bit DLL within 1e-4.

usage: agreement.py <qv_native_render> <win32 tree> <win64 tree> <work dir>
Exits 77 (skipped) when one of the trees has not been built.
"""
import array
import os
import struct
import subprocess
import sys

NATIVE_TOLERANCE = 1e-6
WIDTH_TOLERANCE = 1e-4
PROGRAMS = (0, 3, 7, 15)  # "Default", "(ex2", "(ex6", "(ex14"
SECONDS = 4
LATENCY = 838  # frames
SKIP = 77


def windows_path(path):
    return "Z:" + os.path.abspath(path)


def read_wav(path):
    """Interleaved stereo floats and the sample rate of a 32-bit float WAV file."""
    with open(path, "rb") as f:
        data = f.read()
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"{path}: not a WAV file")
    pos, rate, samples = 12, None, None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if tag == b"fmt ":
            fmt, channels, rate = struct.unpack_from("<HHI", body)
            bits = struct.unpack_from("<H", body, 14)[0]
            if fmt == 0xFFFE:
                fmt = struct.unpack_from("<H", body, 24)[0]
            if (fmt, channels, bits) != (3, 2, 32):
                sys.exit(f"{path}: not stereo 32-bit float")
        elif tag == b"data":
            samples = array.array("f")
            samples.frombytes(body[:len(body) // 4 * 4])
        pos += 8 + size + (size & 1)
    if rate is None or samples is None:
        sys.exit(f"{path}: no format or data")
    return samples, rate


def largest_difference(a, b):
    if len(a) != len(b):
        return float("inf")
    return max(abs(x - y) for x, y in zip(a, b))


def run(command):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{result.stdout}")


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    native, win32, win64, work = sys.argv[1:]
    hosts = {tree: (os.path.join(tree, "wine-run.sh"), os.path.join(tree, "bin", "qvhost.exe"))
             for tree in (win32, win64)}
    dlls = [("64-bit", win64, "Quorvanelle.dll"), ("32-bit", win32, "Quorvanelle.dll"),
            ("32-bit x87", win32, "Quorvanelle_x87.dll")]
    needed = [native] + [p for pair in hosts.values() for p in pair]
    needed += [os.path.join(tree, "bin", dll) for _, tree, dll in dlls]
    missing = [p for p in needed if not os.path.exists(p)]
    if missing:
        print("skipped, not built: " + ", ".join(missing))
        return SKIP

    os.makedirs(work, exist_ok=True)
    source = os.path.join(work, "programme.wav")
    run([*hosts[win64], "generate", windows_path(source), "--seconds", str(SECONDS)])
    samples, rate = read_wav(source)
    raw_in = os.path.join(work, "programme.raw")
    with open(raw_in, "wb") as f:
        samples.tofile(f)

    failures = 0
    for program in PROGRAMS:
        renders = []
        for name, tree, dll in dlls:
            out = os.path.join(work, f"{name.replace(' ', '-')}-{program}.wav")
            run([*hosts[tree], "render", windows_path(os.path.join(tree, "bin", dll)),
                 windows_path(source), windows_path(out), "--program", str(program),
                 "--block", "512", "--quiet"])
            renders.append((name, read_wav(out)[0]))
        raw_out = os.path.join(work, f"native-{program}.raw")
        run([native, raw_in, str(rate), str(program), raw_out])
        reference = array.array("f")
        with open(raw_out, "rb") as f:
            reference.frombytes(f.read())

        wide = renders[0][1]
        checks = [("native build", reference, NATIVE_TOLERANCE)]
        checks += [(f"{name} DLL", other, WIDTH_TOLERANCE) for name, other in renders[1:]]
        for name, other, tolerance in checks:
            difference = largest_difference(wide, other)
            ok = difference <= tolerance
            failures += not ok
            print(f"program {program:2}: 64-bit DLL against the {name}: largest difference "
                  f"{difference:.3g} ({'within' if ok else 'BEYOND'} {tolerance:g})")
        # The programme is really processed, not only delayed.
        aligned = wide[2 * LATENCY:2 * LATENCY + len(samples)]
        if program != 0 and largest_difference(aligned, samples) <= 1e-3:
            failures += 1
            print(f"program {program:2}: the 64-bit DLL only delayed the programme")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
