#!/usr/bin/env bash
# Checks that every C++ file git tracks is formatted as .clang-format says, with Debian 12's
# clang-format (tools/setup-deps.sh installs it); prints the files that are not and exits 1.
#   tools/check-format.sh          check
#   tools/check-format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || true)
[ -n "$format" ] || { echo "check-format: no clang-format (tools/setup-deps.sh installs it)"; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -P 2 -n 20 "$format" -i
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  "$format" --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'check-format: not formatted: %s\n' "${bad[@]}"
  echo "check-format: tools/check-format.sh --fix formats them"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
