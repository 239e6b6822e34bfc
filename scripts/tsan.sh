#!/bin/bash
# The threaded native test (an audio thread processing while another automates parameters and
# switches programs and a third reads values, texts and meters as a host's UI does) under
# ThreadSanitizer; prints every unsynchronised access it finds. scripts/test.sh runs it too.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/setup.sh
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TSAN=ON >/dev/null
cmake --build build/tsan -j "$(nproc)"
ctest --test-dir build/tsan --output-on-failure
