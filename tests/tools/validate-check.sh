#!/bin/sh
# Runs "qvhost validate" on one plug-in and checks its verdict: exactly the expected tests fail
# ("none" for a plug-in that must pass everything), every test printed a line, and the closing
# count agrees.
#   validate-check.sh <wine-run.sh> <qvhost.exe> <plugin.dll> <failing,tests|none> [options...]
set -u
run="$1" qvhost="$2" plugin="$3" expected="$4"
shift 4
out=$("$run" "$qvhost" validate "$plugin" "$@" 2>&1)
status=$?
out=$(printf '%s\n' "$out" | tr -d '\r') # Windows line ends
printf '%s\n' "$out"
failed=$(printf '%s\n' "$out" | sed -n 's/^FAIL \([^:]*\):.*/\1/p' | sort | paste -sd, -)
[ -n "$failed" ] || failed=none
want=$(printf '%s\n' "$expected" | tr ',' '\n' | sort | paste -sd, -)
lines=$(printf '%s\n' "$out" | grep -cE '^(PASS|FAIL) ')
passes=$(printf '%s\n' "$out" | grep -c '^PASS ')
fails=$(printf '%s\n' "$out" | grep -c '^FAIL ')
ok=1
if [ "$failed" != "$want" ]; then
  echo "validate-check: failed tests: $failed; expected: $want" >&2
  ok=0
fi
if ! printf '%s\n' "$out" | grep -qx "$passes passed, $fails failed"; then
  echo "validate-check: no closing line \"$passes passed, $fails failed\"" >&2
  ok=0
fi
if [ "$lines" -lt 20 ]; then
  echo "validate-check: only $lines test lines" >&2
  ok=0
fi
if [ "$want" = none ] && [ "$status" != 0 ]; then
  echo "validate-check: exit status $status" >&2
  ok=0
fi
if [ "$want" != none ] && [ "$status" != 1 ]; then
  echo "validate-check: exit status $status, expected 1" >&2
  ok=0
fi
[ "$ok" = 1 ]
