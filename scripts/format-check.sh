#!/bin/bash
# Fails when a C++ file of the repository differs from the root's .clang-format (lists each one
# with what to run). Part of the tests; to fix: clang-format -i FILE.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bad=()
while IFS= read -r -d '' file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted (run clang-format -i on it): %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "every C++ file follows .clang-format"
