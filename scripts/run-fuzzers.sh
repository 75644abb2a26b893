#!/usr/bin/env bash
# Runs every fuzz target of a build for a while each:
#   scripts/run-fuzzers.sh BUILD_DIR [SECONDS]
# Each target starts from the seeds it writes itself (the program's own
# writers) and from the corpus kept in BUILD_DIR/fuzz-corpus/<target> by
# earlier runs, with <target>.dict when there is one. A crash, leak, timeout
# or memory blow-up fails the run, with the input that caused it printed as
# base64 and as a hex dump, and the command that repeats it.
set -uo pipefail

build=${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
targets=$(find "$build/fuzz-targets" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
if [ -z "$targets" ]; then
  echo "run-fuzzers: no fuzz targets in $build/fuzz-targets" >&2
  exit 1
fi

failed=()
for bin in $targets; do
  name=$(basename "$bin")
  work="$build/fuzz-corpus/$name"
  seeds="$build/fuzz-seeds/$name"
  found="$build/fuzz-found/$name"
  rm -rf "$seeds" "$found"
  mkdir -p "$work" "$seeds" "$found"
  if ! ZOR_FUZZ_WRITE_SEEDS="$seeds" "$bin" >/dev/null 2>&1; then
    echo "run-fuzzers: $name could not write its seeds" >&2
    failed+=("$name")
    continue
  fi
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$found/")
  [ -f "$bin.dict" ] && args+=(-dict="$bin.dict")

  echo "== $name: ${seconds} s from $(ls "$seeds" | wc -l) seeds and $(ls "$work" | wc -l) kept inputs"
  log="$found/log.txt"
  "$bin" "${args[@]}" "$work" "$seeds" >"$log" 2>&1
  status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$log" | sed 's/^/   /'
  if [ $status -ne 0 ]; then
    failed+=("$name")
    echo "!! $name failed (exit status $status); the end of its log:"
    tail -n 60 "$log" | sed 's/^/   /'
    for input in "$found"/crash-* "$found"/leak-* "$found"/timeout-* "$found"/oom-*; do
      [ -f "$input" ] || continue
      echo "!! the input, $(stat -c %s "$input") bytes, as base64 (decode with 'base64 -d > input'):"
      base64 -w 76 "$input" | head -n 200
      echo "!! as hex:"
      od -A x -t x1z -v "$input" | head -n 64
      echo "!! repeat with: $bin $input"
    done
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "run-fuzzers: failed: ${failed[*]}" >&2
  exit 1
fi
echo "run-fuzzers: every target ran ${seconds} s without a finding"
