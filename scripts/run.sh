#!/bin/bash
# The plug-in's main job: builds both DLLs and runs audio through Quorvanelle.dll in our host.
# Extra arguments go to the host's "run" command (for example --seconds 10 --rate 48000).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/setup.sh >&2
source scripts/wine-session.sh
wine_session_start
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake >/dev/null
cmake --build build/win32 --target Quorvanelle Quorvanelle_x87 qvhost >&2
echo "DLLs: $root/build/win32/bin/Quorvanelle.dll, $root/build/win32/bin/Quorvanelle_x87.dll"
build/win32/wine-run.sh build/win32/bin/qvhost.exe run build/win32/bin/Quorvanelle.dll "$@"
