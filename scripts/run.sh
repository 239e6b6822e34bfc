#!/bin/bash
# The plug-in's main job: builds the three DLLs (32-bit Quorvanelle.dll and Quorvanelle_x87.dll,
# 64-bit Quorvanelle.dll) and renders audio through the 32-bit Quorvanelle.dll in our own host
# (qvhost, under Wine).
#   scripts/run.sh                                  generate a 20 s test programme and render it
#   scripts/run.sh <in.wav> [out.wav] [options]     render your own file
# Options go to "qvhost render": --program N|NAME, --set NAME=VALUE (or INDEX=VALUE, normalised
# 0..1), --trim-latency, --block N, --quiet. Without out.wav the result goes to
# build/render/<name>-out.wav.
set -euo pipefail
caller_dir="$PWD"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Paths the user gave are relative to where they called us from; Wine reads absolute Unix paths.
absolute() {
  case "$1" in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s\n' "$caller_dir/$1" ;;
  esac
}

input="" output=""
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
  input="$(absolute "$1")"
  shift
  if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
    output="$(absolute "$1")"
    shift
  fi
fi

cd "$root"
scripts/setup.sh >&2
source scripts/wine-session.sh
wine_session_start
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake >/dev/null
cmake --build build/win32 --target Quorvanelle Quorvanelle_x87 qvhost >&2
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64.cmake >/dev/null
cmake --build build/win64 --target Quorvanelle qvhost >&2
echo "32-bit hosts: $root/build/win32/bin/Quorvanelle.dll (SSE)"
echo "              $root/build/win32/bin/Quorvanelle_x87.dll (processors without SSE)"
echo "64-bit hosts: $root/build/win64/bin/Quorvanelle.dll"

qvhost() { build/win32/wine-run.sh build/win32/bin/qvhost.exe "$@"; }
mkdir -p build/render
if [ -z "$input" ]; then
  input="$root/build/render/programme.wav"
  output="$root/build/render/programme-out.wav"
  qvhost generate "$input"
  set -- --trim-latency "$@"
elif [ -z "$output" ]; then
  name="$(basename "$input")"
  output="$root/build/render/${name%.[wW][aA][vV]}-out.wav"
fi
qvhost render build/win32/bin/Quorvanelle.dll "$input" "$output" "$@"
echo "Rendered file: $output"
