#!/bin/bash
# Pictures of every page of the editor (A to G, both views of page B) with the test programme
# playing through the demo setting, so that meters and analyser show: small palette PNG files.
#   scripts/screenshots.sh [folder]       default: docs/
# Needs the built tools (scripts/run.sh or scripts/test.sh builds them); runs under Wine with a
# virtual display of its own unless DISPLAY is set.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/docs}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
cd "$root"
bin="build/win32/bin"
for f in qvsnapshot.exe Quorvanelle.dll; do
  [ -f "$bin/$f" ] || {
    echo "screenshots.sh: $bin/$f is missing: build it first with scripts/run.sh" >&2
    exit 1
  }
done
mkdir -p "$out"
demo=()
while read -r option value; do
  case "$option" in --*) demo+=("$option" "$value") ;; esac
done <scripts/demo-setting.txt

# Reuse the caller's Wine session (the test run's), or start one of our own.
if [ -z "${DISPLAY:-}" ]; then
  source scripts/wine-session.sh
  wine_session_start
fi
shot() { # name, then qvsnapshot options
  local name="$1"
  shift
  build/win32/wine-run.sh "$bin/qvsnapshot.exe" "Z:$root/$bin/Quorvanelle.dll" \
    "Z:$out/editor-$name.png" --play --wait 1200 "${demo[@]}" "$@" >/dev/null
}
for page in A C D E F G; do shot "$page" --page "$page"; done
shot B --page B --band-view amplitude
shot B-envelope --page B --band-view envelope
ls "$out"/editor-*.png
