#!/bin/bash
# The plug-in's main job: builds the three DLLs (32-bit Quorvanelle.dll and Quorvanelle_x87.dll,
# 64-bit Quorvanelle.dll) and renders audio through the 32-bit Quorvanelle.dll in our own host
# (qvhost, under Wine), then writes a picture of the render next to the output.
#   scripts/run.sh                                  generate a 20 s test programme and render it
#                                                   with the demo setting (below)
#   scripts/run.sh --program Default                the same programme with "Default" (any
#                                                   --program or --set replaces the demo setting)
#   scripts/run.sh <in.wav> [out.wav] [options]     render your own file
# Options go to "qvhost render": --program N|NAME, --set NAME=VALUE (normalised 0..1 or as the
# plug-in shows it: cp2_Thresh=-10dB), --trim-latency, --block N, --quiet, --plot out.png.
# Without out.wav the result goes to build/render/<name>-out.wav; the plot to <out>.png.
set -euo pipefail
caller_dir="$PWD"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# The demo setting (scripts/demo-setting.txt): factory program "(ex2" with lower thresholds,
# make-up gain and a -1 dB ceiling, so that every band and the limiter visibly work.
demo=()
while read -r option value; do
  case "$option" in --*) demo+=("$option" "$value") ;; esac
done <"$root/scripts/demo-setting.txt"

fail() {
  echo "run.sh: $*" >&2
  exit 1
}

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
  [ -f "$input" ] || fail "there is no file $input: give the path of a WAV file to render"
  if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
    output="$(absolute "$1")"
    shift
    [ -d "$(dirname "$output")" ] ||
      fail "the folder of $output does not exist: create it or write the output elsewhere"
  fi
fi

cd "$root"
scripts/setup.sh >&2 || fail "setting up failed (see above): run scripts/setup.sh as root"
source scripts/wine-session.sh
wine_session_start
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32.cmake >/dev/null ||
  fail "cmake cannot configure build/win32 (see above): delete build/win32 and run again"
cmake --build build/win32 --target Quorvanelle Quorvanelle_x87 qvhost >&2 ||
  fail "the build failed (see the compiler messages above)"
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64.cmake >/dev/null ||
  fail "cmake cannot configure build/win64 (see above): delete build/win64 and run again"
cmake --build build/win64 --target Quorvanelle qvhost >&2 ||
  fail "the 64-bit build failed (see the compiler messages above)"
echo "32-bit hosts: $root/build/win32/bin/Quorvanelle.dll (SSE)"
echo "              $root/build/win32/bin/Quorvanelle_x87.dll (processors without SSE)"
echo "64-bit hosts: $root/build/win64/bin/Quorvanelle.dll"

qvhost() { build/win32/wine-run.sh build/win32/bin/qvhost.exe "$@"; }
mkdir -p build/render
if [ -z "$input" ]; then
  input="$root/build/render/programme.wav"
  output="$root/build/render/programme-out.wav"
  qvhost generate "$input" || fail "cannot write the test programme to $input"
  chosen=no
  for arg in "$@"; do
    case "$arg" in --program | --set) chosen=yes ;; esac
  done
  [ "$chosen" = yes ] || set -- "${demo[@]}" "$@"
  set -- --trim-latency "$@"
elif [ -z "$output" ]; then
  name="$(basename "$input")"
  output="$root/build/render/${name%.[wW][aA][vV]}-out.wav"
fi
plot=no
for arg in "$@"; do [ "$arg" = --plot ] && plot=yes; done
[ "$plot" = yes ] || set -- "$@" --plot "${output%.[wW][aA][vV]}.png"
# qvhost has said what went wrong and what to do.
qvhost render build/win32/bin/Quorvanelle.dll "$input" "$output" "$@" || exit $?
echo "Rendered file: $output"
