#!/bin/bash
# Builds everything and runs every test: the native unit tests (also under the address and
# undefined-behaviour sanitizers), a bounded fuzz run, the threaded test under ThreadSanitizer
# and, under Wine with a virtual display, the tests of the two 32-bit DLLs and of the 64-bit DLL
# (the 64-bit tree comes last: it also compares its DLL with the native build and the 32-bit
# DLLs).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/setup.sh
source scripts/wine-session.sh
wine_session_start

jobs=$(nproc)
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake >/dev/null
cmake --build build/win32 -j "$jobs"
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64.cmake >/dev/null
cmake --build build/win64 -j "$jobs"
# The fuzz target (clang's libFuzzer): its tree's one test is a bounded run of about a minute.
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQV_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"
# The threaded test (audio, automation and UI threads on one instance) under ThreadSanitizer: a
# report fails it.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TSAN=ON >/dev/null
cmake --build build/tsan -j "$jobs"
trees="native asan win32 win64 fuzz tsan"
# RealtimeSanitizer where the installed clang has it.
if echo 'int main() { return 0; }' |
   clang++ -fsanitize=realtime -x c++ - -o /dev/null >/dev/null 2>&1; then
  cmake -S . -B build/rtsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DQV_RTSAN=ON >/dev/null
  cmake --build build/rtsan -j "$jobs"
  trees="$trees rtsan"
else
  echo "RealtimeSanitizer: $(clang++ --version | head -n 1) has no -fsanitize=realtime; run skipped"
fi

log="$root/build/test-summary.log"
: >"$log"
status=0
for tree in $trees; do
  echo "=== tests: $tree"
  # Wine's background services, started now and detached from ctest's output: started by a test
  # program after an idle spell they would inherit its output pipe and hold ctest waiting.
  case "$tree" in win32 | win64) wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true ;; esac
  if ! ctest --test-dir "build/$tree" --output-on-failure -j "$jobs" | tee -a "$log"; then
    status=1
  fi
done
wine_session_stop

# One closing line over all trees.
passed=0 failed=0
while read -r pct total; do
  passed=$((passed + total * pct / 100))
done < <(sed -nE 's/^([0-9]+)% tests passed, [0-9]+ tests? failed out of ([0-9]+).*/\1 \2/p' "$log")
failed=$(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of.*/\1/p' "$log" |
         awk '{s+=$1} END {print s+0}')
total=$(sed -nE 's/.*tests? failed out of ([0-9]+).*/\1/p' "$log" | awk '{s+=$1} END {print s+0}')
passed=$((total - failed))
[ "$status" = 0 ] && [ "$failed" = 0 ] || status=1
echo "$passed passed, $failed failed"
exit "$status"
