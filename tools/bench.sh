#!/usr/bin/env bash
# Builds and runs every benchmark (preset bench) and writes docs/benchmarks.md and the chart
# docs/images/benchmarks.png from their JSON results (Debian's python3 and matplotlib).
# Extra arguments go to every benchmark program (e.g. --benchmark_min_time=0.05).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"

results=build/bench/results
rm -rf "$results"
mkdir -p "$results"
for program in build/bench/bin/*_bench; do
  name=$(basename "$program")
  echo "== $name"
  "$program" --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"
done
/usr/bin/python3 tools/bench_report.py "$results" docs/benchmarks.md docs/images/benchmarks.png
