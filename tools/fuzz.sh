#!/usr/bin/env bash
# The fuzz campaign: runs every fuzz target (or the ones named) for the given minutes
# each (default 10) at the lowest priority, seeded from its kept corpus. Afterwards the
# corpus and the new inputs are merged into a minimal set that keeps all coverage, in
# fuzz/corpus/<target>/; crashes, sanitizer reports, leaks and time-outs land in
# fuzz/regressions/<target>/, which the fuzz preset's tests replay from then on. Each
# run's figures are appended to fuzz/campaigns.tsv, and the table of the fuzz section of
# docs/reliability.md is written from that log.
#
#   bash tools/fuzz.sh [minutes] [target ...]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

minutes=${1:-10}
shift || true
seconds=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60); print (s < 1 ? 1 : s) }')
max_crashes=5  # per target and campaign; the same fault tends to come back
log=fuzz/campaigns.tsv
work=build/fuzz/campaign

if ! { cmake --preset fuzz >/dev/null && nice -n 19 cmake --build --preset fuzz -j 2 >/dev/null; }; then
  echo "fuzz.sh: the fuzz preset does not build" >&2
  exit 1
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for binary in build/fuzz/bin/*_fuzz; do targets+=("$(basename "$binary")"); done
fi

[ -f "$log" ] || printf 'date\ttarget\tseconds\texecutions\tcorpus_files\tcorpus_bytes\tcrashes\n' >"$log"
status=0
for target in "${targets[@]}"; do
  binary=build/fuzz/bin/$target
  if [ ! -x "$binary" ]; then
    echo "fuzz.sh: no target $target" >&2
    status=1
    continue
  fi
  corpus=fuzz/corpus/$target
  regressions=fuzz/regressions/$target
  fresh=$work/$target
  rm -rf "$fresh"
  mkdir -p "$corpus" "$regressions" "$fresh/new" "$fresh/merged"

  # A crash ends a libFuzzer run: start again (from the grown inputs) until the time is up.
  executions=0
  crashes=0
  start=$(date +%s)
  while :; do
    left=$((seconds - ($(date +%s) - start)))
    [ "$left" -ge 2 ] && [ "$crashes" -lt "$max_crashes" ] || break
    before=$(find "$regressions" -type f | wc -l)
    nice -n 19 "$binary" -max_total_time="$left" -max_len=1024 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$regressions/" "$fresh/new" "$corpus" >"$fresh/run.log" 2>&1
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$fresh/run.log" | tail -1)
    executions=$((executions + ${runs:-0}))
    after=$(find "$regressions" -type f | wc -l)
    if [ "$after" -gt "$before" ]; then
      crashes=$((crashes + after - before))
      cp "$fresh/run.log" "$fresh/crash-$crashes.log"
      echo "fuzz.sh: $target failed; input and report in $regressions/ and $fresh/crash-$crashes.log (name the kept input after what it holds)"
    elif ! grep -q '^Done ' "$fresh/run.log"; then
      echo "fuzz.sh: $target stopped without a saved input, see $fresh/run.log" >&2
      status=1
      break
    fi
  done
  elapsed=$(($(date +%s) - start))

  # Keep the smallest set of inputs that covers what the old corpus and the new inputs cover.
  nice -n 19 "$binary" -merge=1 -max_len=1024 -timeout=10 "$fresh/merged" "$corpus" "$fresh/new" \
    >"$fresh/merge.log" 2>&1
  if [ -n "$(ls -A "$fresh/merged")" ] || [ -z "$(ls -A "$corpus")" ]; then
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp "$fresh/merged"/. "$corpus"/ -r
  fi
  rmdir "$regressions" 2>/dev/null
  files=$(find "$corpus" -type f | wc -l)
  bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%Y-%m-%dT%H:%MZ)" "$target" "$elapsed" "$executions" \
    "$files" "$bytes" "$crashes" >>"$log"
  echo "fuzz.sh: $target ${elapsed}s, $executions executions, corpus $files inputs ($bytes bytes), $crashes crashes"
  [ "$crashes" -eq 0 ] || status=1
done

# The table, and the notes on what the kept failures were (written by hand, kept beside them).
section=$(awk -F'\t' -f tools/fuzz_table.awk "$log")
[ -f fuzz/findings.md ] && section=$(printf '%s\n\n%s' "$section" "$(cat fuzz/findings.md)")
bash tools/reliability_section.sh fuzz "$section"
exit $status
