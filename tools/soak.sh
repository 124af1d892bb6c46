#!/usr/bin/env bash
# The soak runs: the library under load and faults, at full length (the test run has short
# forms). Writes the figures into the soak section of docs/reliability.md.
#
#   bash tools/soak.sh
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh || exit 1
if ! { cmake --preset native >/dev/null && cmake --build --preset native -j "$(nproc)" --target log_soak >/dev/null; }; then
  echo "soak.sh: the native preset does not build" >&2
  exit 1
fi

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Journal: 4 writer processes, 5000 entries each, trimming to 500, a writer killed every second.
log_line=$(build/native/bin/log_soak --writers 4 --entries 5000 --kill-ms 1000 --max-items 500 --pace-us 4000 --dir "$work") || status=1
echo "$log_line"

when=$(date -u +%Y-%m-%dT%H:%MZ)
verdict=held
[ $status -eq 0 ] || verdict=FAILED
section="## Soak

Written by \`bash tools/soak.sh\` ($when, $(nproc) cores); the test run has short forms.

| soak | what runs | result |
|---|---|---|
| journal | 4 processes write 5000 entries each (one every 4 ms) to one \`LogFile\` (maximum 500 entries, so it is cut back all the time); every second one writer is killed with SIGKILL and restarted where its own record says it stopped | $verdict: \`${log_line#log_soak: }\` |"
bash tools/reliability_section.sh soak "$section"
exit $status
