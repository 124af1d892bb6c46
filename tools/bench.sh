#!/usr/bin/env bash
# Builds and runs every benchmark (preset bench) and writes docs/benchmarks.md and the chart
# docs/images/benchmarks.png from their JSON results (Debian's python3 and matplotlib).
# Each benchmark runs five times; the report and the ratios take the median.
# Extra arguments go to every benchmark program (e.g. --benchmark_min_time=0.05). Last, the
# serial latency benchmark runs under Wine and prints its figures (not part of the report).
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
  "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"
done
/usr/bin/python3 tools/bench_report.py "$results" docs/benchmarks.md docs/images/benchmarks.png

# The serial port's receive-notification latency beside a blocking ReadFile needs Wine and a
# pseudo-terminal pair: built for win64 and run in a prefix of its own; it prints its figures.
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target serial_latency_bench
echo "== serial_latency_bench (win64 under Wine)"
xvfb-run -a -s "-screen 0 1024x768x24" bash tools/wine_prefix_run.sh "$root/build/win64/bench-wineprefix" \
  wine build/win64/bin/serial_latency_bench.exe 2>/dev/null
