#!/usr/bin/env bash
# Lists the C++ files that .clang-format would change; fails when there are any.
# With --diff, shows the changes as well.
set -euo pipefail
cd "$(dirname "$0")/.."

format=clang-format-14
command -v "$format" >/dev/null || format=clang-format
command -v "$format" >/dev/null || { echo "check-format: clang-format not found (scripts/setup.sh installs it)" >&2; exit 2; }

show_diff=0
[ "${1:-}" = --diff ] && show_diff=1

differing=0
while IFS= read -r -d '' file; do
  if ! "$format" --style=file "$file" | cmp -s "$file" -; then
    echo "$file"
    [ "$show_diff" = 1 ] && { "$format" --style=file "$file" | diff -u "$file" - || true; }
    differing=$((differing + 1))
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')

if [ "$differing" -gt 0 ]; then
  echo "check-format: $differing file(s) differ from .clang-format" >&2
  exit 1
fi
