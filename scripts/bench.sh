#!/bin/bash
# The cost of processing, measured three ways, for the "Default" program and a heavy setting
# (all bands compressing hard with the soft attack curve, links at 75 %, master +24 dB so that
# the limiter works all the time), in blocks of 512 frames:
#   - native build: Google Benchmark time per block and instructions per stereo frame by unit
#     (callgrind counts the same on every run), and the same count for a 32-bit (-m32) build
#     with the SSE DLL's floating-point flags;
#   - the three DLLs under Wine: qvhost's in-process timing, median of several runs;
#   - the heavy setting on the 64-bit DLL and on the 32-bit SSE DLL under Wine against the
#     native build, measured in alternation so that all three see the same machine load;
#   - memory of one instance.
#   Timed runs are pinned to the last core (taskset) where it can.
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

# Every timed run on one and the same core: on a shared or virtual machine a process that moves
# between cores can vary by a third from run to run.
pin=()
command -v taskset >/dev/null && pin=(taskset -c "$(($(nproc) - 1))")

echo "== native (Google Benchmark, 512-frame blocks)"
"${pin[@]}" build/native/bench/qv_bench --benchmark_filter='BM_Engine' 2>/dev/null |
  awk '/^BM_Engine/ { printf "%-18s %8.1f ns per stereo frame\n", $1, $2 * ($3 == "us" ? 1000 : 1) / 512 }'

# Instructions per stereo frame under callgrind, counted from the call of
# MultibandEngine::process on ('process(*': a pattern that also matched processChunk would
# toggle the count off inside it where the compiler keeps it a function of its own), by unit.
count_instructions() { # binary setting
  local out
  out="$(mktemp)"
  valgrind --tool=callgrind --callgrind-out-file="$out" \
    --toggle-collect='qv::MultibandEngine::process(*' "$1" "$2" 400 >/dev/null 2>&1
  callgrind_annotate "$out" 2>/dev/null | python3 bench/callgrind_units.py $((400 * 512)) |
    sed "s/^/  $2 /"
  rm -f "$out"
}

if [ $quick = 0 ]; then
  echo "== native instructions per stereo frame (callgrind, 400 blocks of 512 frames;" \
    "target for heavy: 1,000 at most)"
  for setting in default heavy; do
    count_instructions build/native/bench/qv_engine_driver "$setting"
  done
  # The same engine as a 32-bit program compiled with the SSE DLL's floating-point flags
  # (doubles on x87): the instruction mix the 32-bit DLLs run.
  if [ ! -e /usr/lib32/libstdc++.so.6 ] && [ ! -e /usr/lib/gcc/x86_64-linux-gnu/12/32/libstdc++.so ]; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -q \
      --no-install-recommends g++-multilib >&2
  fi
  mkdir -p build/m32
  # The 32-bit tree's flags: the last QV_FLAGS_sse in the file (the first is the 64-bit one).
  read -r -a sse_flags <<<"$(sed -n 's/^ *set(QV_FLAGS_sse \(.*\))$/\1/p' cmake/Product.cmake |
    tail -n 1)"
  if [ ${#sse_flags[@]} = 0 ]; then
    echo "bench.sh: no 32-bit QV_FLAGS_sse in cmake/Product.cmake" >&2
    exit 1
  fi
  mapfile -t dsp_sources < <(sed -n 's/^ *\(dsp\/.*\.cpp\)$/\1/p' dsp/sources.cmake)
  # Not position-independent (Debian's default), as the DLL is not: PIE code would spend
  # instructions on addressing its constants through a register.
  g++ -m32 -O3 -DNDEBUG -std=c++17 -fno-pie -no-pie "${sse_flags[@]}" -I. bench/EngineDriver.cpp \
    "${dsp_sources[@]}" -o build/m32/qv_engine_driver
  echo "== 32-bit instructions per stereo frame (-m32 ${sse_flags[*]}, callgrind;" \
    "target: 1,600 at most)"
  count_instructions build/m32/qv_engine_driver heavy
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
  "${pin[@]}" "build/$tree/wine-run.sh" "build/$tree/bin/qvhost.exe" bench "build/$tree/bin/$dll.dll" "$@"
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

rounds=5
echo "== heavy setting, 512-frame blocks: the 64-bit and the 32-bit SSE DLL under Wine against" \
  "the native build ($rounds rounds in alternation, medians)"
native_ns=() dll_ns=() sse_ns=()
for round in $(seq $rounds); do
  # The median of five runs, as the DLLs' timing is the median of three.
  native_ns+=("$("${pin[@]}" build/native/bench/qv_bench --benchmark_filter='^BM_EngineHeavy$' \
    --benchmark_min_time=0.5 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    2>/dev/null | awk '/^BM_EngineHeavy_median/ { printf "%.1f", $2 * ($3 == "us" ? 1000 : 1) / 512 }')")
  dll_ns+=("$(qvhost_bench win64 Quorvanelle "${heavy[@]}" --seconds 10 --runs 3 |
    sed -nE 's/^median *: ([0-9.]+) ns.*/\1/p')")
  sse_ns+=("$(qvhost_bench win32 Quorvanelle "${heavy[@]}" --seconds 10 --runs 3 |
    sed -nE 's/^median *: ([0-9.]+) ns.*/\1/p')")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
awk -v n="$(median "${native_ns[@]}")" -v d="$(median "${dll_ns[@]}")" \
  -v s="$(median "${sse_ns[@]}")" 'BEGIN {
  printf "native %.1f ns per stereo frame (target: 90 at most)\n", n
  printf "64-bit DLL %.1f ns: %.2f x the native time (target: 1.3 x at most)\n", d, d / n
  printf "32-bit SSE DLL %.1f ns: %.2f x the native time (target: 2.2 x at most)\n", s, s / n }'
echo "rounds: native ${native_ns[*]}; 64-bit DLL ${dll_ns[*]}; 32-bit SSE DLL ${sse_ns[*]}"

echo "== memory"
build/native/bench/qv_instance_memory
