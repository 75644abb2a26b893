#!/usr/bin/env bash
# Runs every benchmark program of a build tree; each prints its figures and
# the ratios to the reference it measures in the same run.
set -euo pipefail
dir=${1:-build/bench}
found=0
for b in "$dir"/bench/bench_*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b"
done
[ $found -eq 1 ] || echo "no benchmarks built"
