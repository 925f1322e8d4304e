#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer) and runs each over its seed corpus for a while.
# A finding fails the run and its input is printed. Usage: tools/fuzz-smoke.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++ >/dev/null; then
  echo "fuzz-smoke: clang++ is not installed; skipped"
  exit 0
fi
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in build/fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  seeds=fuzz/corpus/$name
  mkdir -p "$work/$name" "$work/$name-artifacts"
  echo "== $name: ${seconds}s"
  # New inputs go to the scratch folder, so the committed seeds stay as they are.
  dirs=("$work/$name")
  [ -d "$seeds" ] && dirs+=("$seeds")
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/$name-artifacts/" "${dirs[@]}" > "$work/$name.log" 2>&1; then
    status=1
    tail -n 60 "$work/$name.log"
    for f in "$work/$name-artifacts"/*; do
      [ -f "$f" ] || continue
      echo "-- finding $(basename "$f") ($(stat -c %s "$f") bytes):"
      od -A x -t x1z -v "$f" | head -n 64
    done
  else
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added)' "$work/$name.log" || true
    grep -E 'cov: [0-9]+' "$work/$name.log" | tail -n 1 || true
  fi
done
exit $status
