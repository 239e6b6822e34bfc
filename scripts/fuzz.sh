#!/bin/bash
# Long fuzzing run of the plug-in through its host interface (libFuzzer, address and
# undefined-behaviour sanitizers):
#   scripts/fuzz.sh [SECONDS] [JOBS]     default: an hour, one job
# New inputs collect in build/fuzz/fuzz-corpus (the committed seeds in tests/fuzz/corpus are
# only read); an input that crashes is written to build/fuzz/fuzz-findings/ and the run stops.
# Reproduce one with: build/fuzz/tests/fuzz/qv_plugin_fuzzer <file>
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-3600}" jobs="${2:-1}"
scripts/setup.sh
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQV_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)"
mkdir -p build/fuzz/fuzz-corpus build/fuzz/fuzz-findings
exec build/fuzz/tests/fuzz/qv_plugin_fuzzer -max_total_time="$seconds" -jobs="$jobs" \
  -workers="$jobs" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/fuzz-findings/ build/fuzz/fuzz-corpus tests/fuzz/corpus
