#!/usr/bin/env bash
# The soak runs: the library under load and faults, at full length (the test run has short
# forms). Writes the figures into the soak section of docs/reliability.md.
#
#   bash tools/soak.sh
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh || exit 1
if ! { cmake --preset native >/dev/null && cmake --build --preset native -j "$(nproc)" --target log_soak >/dev/null &&
  cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$(nproc)" --target serial_soak com_soak redundancy_peer >/dev/null; }; then
  echo "soak.sh: the soak programs do not build" >&2
  exit 1
fi

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Journal: 4 writer processes, 5000 entries each, trimming to 500, a writer killed every second.
log_verdict=held
log_line=$(build/native/bin/log_soak --writers 4 --entries 5000 --kill-ms 1000 --max-items 500 --pace-us 4000 --dir "$work") ||
  { status=1; log_verdict=FAILED; }
echo "$log_line"

# Serial: 1000 open/close cycles, Close during a flood, the far end cut mid-transfer (Wine, ptys).
serial_verdict=held
xvfb-run -a -s "-screen 0 1024x768x24" bash tools/wine_prefix_run.sh "$root/build/win64/wineprefix" \
  wine build/win64/bin/serial_soak.exe --cycles 1000 --flood-ms 3000 >"$work/serial.out" 2>/dev/null ||
  { status=1; serial_verdict=FAILED; }
serial_line=$(grep '^serial_soak:' "$work/serial.out")
echo "$serial_line"

# COM: one driver process firing events at 500/s, 3 client processes (9 threads, STA and
# MTA) calling and subscribing for 60 s, one client killed mid-run (Wine).
com_verdict=held
xvfb-run -a -s "-screen 0 1024x768x24" bash tools/wine_prefix_run.sh "$root/build/win64/wineprefix" \
  wine build/win64/bin/com_soak.exe --seconds 60 --rate 500 >"$work/com.out" 2>/dev/null ||
  { status=1; com_verdict=FAILED; }
com_line=$(grep '^com_soak:' "$work/com.out" | tr -d '\r')
echo "$com_line"

# Redundancy: two machines in two network namespaces (root), the master's datagrams relayed
# duplicated and reordered, then dropped at random from 0 to 90 % (nftables) while it runs.
redundancy_verdict=held
python3 tools/redundancy_netns_test.py build/win64/bin/redundancy_peer.exe "$work/netns" >"$work/netns.out" 2>&1
case $? in
  0) ;;
  77) redundancy_verdict="skipped (no network namespaces here)" ;;
  *) status=1; redundancy_verdict=FAILED ;;
esac
redundancy_line="$(grep '^relay' "$work/netns.out"); $(grep '^standby takeovers' "$work/netns.out"); $(grep '^takeover time' "$work/netns.out"); $(tail -1 "$work/netns.out")"
echo "$redundancy_line"

when=$(date -u +%Y-%m-%dT%H:%MZ)
section="## Soak

Written by \`bash tools/soak.sh\` ($when, $(nproc) cores); the test run has short forms.

| soak | what runs | result |
|---|---|---|
| journal | 4 processes write 5000 entries each (one every 4 ms) to one \`LogFile\` (maximum 500 entries, so it is cut back all the time); every second one writer is killed with SIGKILL and restarted where its own record says it stopped | $log_verdict: \`${log_line#log_soak: }\` |
| serial | \`CSio\` on a pseudo-terminal pair under Wine: 1000 open/close cycles (a second object opens the open port in every tenth), then Close while the far end floods the line for 3 s, then the far end cut in the middle of a transfer | $serial_verdict: \`${serial_line#serial_soak: }\` |
| COM | the driver object under Wine with real proxies: one driver process fires \`NotifySinks\` at 500/s from 32 threads, each event numbered, while 3 client processes (9 threads, in single-threaded apartments with message loops and in the multithreaded apartment) read properties, walk the channel maps and subscribe and unsubscribe for 60 s; one client is killed with TerminateProcess mid-run and a new one started; at the end \`StopObject\` with every client connected. An event whose \`NotifySinks\` began after \`Advise\` returned and ended before \`Unadvise\` was called must arrive exactly once, none twice | $com_verdict: \`${com_line#com_soak: }\` |
| redundancy | master and standby as two machines (two network namespaces joined by a veth pair, a prefix and wineserver each, T = 300 ms, queries every 10 ms); the master comes and goes twice, then runs while its datagrams pass a relay 3 s in each mode (passed, duplicated, and copied again 225 ms late so that older ones arrive after newer ones), then while the standby's side drops them at random, 3 s at each of 0, 10, ..., 90 %. The master announces every T/2, so one lost announcement can end a T without one: the standby then takes over until the next one arrives | $redundancy_verdict: \`$redundancy_line\` |"
bash tools/reliability_section.sh soak "$section"
exit $status
