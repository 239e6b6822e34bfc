#!/bin/bash
# The cost of processing, measured three ways, for the "Default" program and a heavy setting
# (all bands compressing hard with the soft attack curve, links at 75 %, master +24 dB so that
# the limiter works all the time), in blocks of 512 frames:
#   - native build: Google Benchmark time per block and instructions per stereo frame
#     (callgrind counts the same on every run);
#   - the three DLLs under Wine: qvhost's in-process timing, median of several runs;
#   - the heavy setting on the 64-bit DLL under Wine against the native build, measured in
#     alternation so that both see the same machine load;
#   - memory of one instance.
#   scripts/bench.sh [--quick]      (--quick skips callgrind)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
quick=0
[ "${1:-}" = "--quick" ] && quick=1

scripts/setup.sh >&2
if [ $quick = 0 ] && ! command -v valgrind >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends valgrind >&2
fi
source scripts/wine-session.sh
wine_session_start

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native --target qv_bench qv_engine_driver qv_instance_memory >&2
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake >/dev/null
cmake --build build/win32 --target Quorvanelle Quorvanelle_x87 qvhost >&2
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64.cmake >/dev/null
cmake --build build/win64 --target Quorvanelle qvhost >&2

echo "== native (Google Benchmark, 512-frame blocks)"
build/native/bench/qv_bench --benchmark_filter='BM_Engine' 2>/dev/null |
  awk '/^BM_Engine/ { printf "%-18s %8.1f ns per stereo frame\n", $1, $2 * ($3 == "us" ? 1000 : 1) / 512 }'

if [ $quick = 0 ]; then
  echo "== native instructions per stereo frame (callgrind, 400 blocks of 512 frames)"
  for setting in default heavy; do
    out="$(mktemp)"
    valgrind --tool=callgrind --callgrind-out-file="$out" \
      --toggle-collect='qv::MultibandEngine::process(*' \
      build/native/bench/qv_engine_driver "$setting" 400 >/dev/null 2>&1
    instructions="$(callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }')"
    rm -f "$out"
    awk -v s="$setting" -v i="$instructions" 'BEGIN { printf "%-18s %8.0f instructions per stereo frame\n", s, i / (400 * 512) }'
  done
fi

heavy=()
for b in 1 2 3 4 5; do
  heavy+=(--set "cp${b}_Thresh=0.5" --set "cp${b}_Ratio=1" --set "cp${b}_AtkCurve=1" --set "cp${b}_Atk=0.2")
done
for link in 64 65 66 67; do heavy+=(--set "$link=0.75"); done
heavy+=(--set MasterOut=1)

# qvhost_bench <tree> <dll> [qvhost bench options]: runs the tree's own qvhost on one of its DLLs.
qvhost_bench() {
  local tree=$1 dll=$2
  shift 2
  "build/$tree/wine-run.sh" "build/$tree/bin/qvhost.exe" bench "build/$tree/bin/$dll.dll" "$@"
}

echo "== DLLs under Wine (qvhost bench, 512-frame blocks, median of 7 runs)"
for build in win32/Quorvanelle win32/Quorvanelle_x87 win64/Quorvanelle; do
  for setting in default heavy; do
    args=()
    [ $setting = heavy ] && args=("${heavy[@]}")
    line="$(qvhost_bench "${build%/*}" "${build#*/}" ${args[@]+"${args[@]}"} --seconds 3 --runs 7 |
      grep '^median')"
    printf '%-22s %-8s %s\n' "$build" "$setting" "${line#*: }"
  done
done

rounds=7
echo "== heavy setting, 512-frame blocks: 64-bit DLL under Wine against the native build" \
  "($rounds rounds in alternation, medians)"
native_ns=() dll_ns=()
for round in $(seq $rounds); do
  native_ns+=("$(build/native/bench/qv_bench --benchmark_filter='^BM_EngineHeavy$' \
    --benchmark_min_time=1 2>/dev/null |
    awk '/^BM_EngineHeavy/ { printf "%.1f", $2 * ($3 == "us" ? 1000 : 1) / 512 }')")
  dll_ns+=("$(qvhost_bench win64 Quorvanelle "${heavy[@]}" --seconds 20 --runs 5 |
    sed -nE 's/^median *: ([0-9.]+) ns.*/\1/p')")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
awk -v n="$(median "${native_ns[@]}")" -v d="$(median "${dll_ns[@]}")" 'BEGIN {
  printf "native %.1f ns, 64-bit DLL %.1f ns per stereo frame: %.2f x the native time" \
    " (target: 1.3 x at most)\n", n, d, d / n }'
echo "rounds: native ${native_ns[*]}; 64-bit DLL ${dll_ns[*]}"

echo "== memory"
build/native/bench/qv_instance_memory
