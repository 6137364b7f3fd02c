#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a set time, one after the other,
# starting from its seed corpus in tests/fuzz/<target>/. A crash, a sanitizer
# report or one input taking over a second fails the run; the input is kept in
# <build>/findings/. Prints the executions of each target and the total.
set -uo pipefail
build=${1:?fuzz build folder}
seconds=${2:-60}
root="$(cd "$(dirname "$0")/.." && pwd)"
findings="$build/findings"
mkdir -p "$findings"

# Scratch files of the number-file target live in memory where possible.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

total=0
failed=0
for binary in "$build"/fuzz_*; do
  [ -x "$binary" ] || continue
  name=$(basename "$binary" | sed 's/^fuzz_//')
  seeds="$root/tests/fuzz/$name"
  work="$build/corpus/$name"
  mkdir -p "$work" "$seeds"
  log="$build/$name.log"
  # New inputs go to the work folder; the seeds are only read.
  "$binary" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" "$work" "$seeds" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  runs=${runs:-0}
  total=$((total + runs))
  if [ $status -ne 0 ]; then
    failed=1
    echo "fuzz $name: FAILED after $runs executions"
    grep -E 'ERROR|SUMMARY|broken:|timeout' "$log" | head -20
    ls "$findings" | grep "^$name-" | sed 's/^/  kept: /'
  else
    echo "fuzz $name: $runs executions, nothing found"
  fi
done
echo "fuzz total: $total executions in ${seconds} s per target"
exit $failed
