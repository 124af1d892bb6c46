#!/usr/bin/env bash
# The whole scene of a process driver on TAMBRE32, from a fresh clone:
#
#   bash tools/demo.sh [--seconds N] [--baud N] [--cycle-ms N] [--fault silent|badcrc]
#
# Installs what is missing (tools/setup.sh), builds the Windows programs, makes a serial
# line from a pseudo-terminal pair (COM5 in a Wine prefix of its own, the far end for the
# instrument), starts the simulated pumping station (libmodbus, Linux), the host simulator
# with the Modbus driver, Wine's cscript.exe with a JScript client and the event client.
# After N seconds (30 by default) it shows the journal's last entries and a summary, and
# stops every process it started, also on Ctrl+C. --fault switches the instrument into
# that fault for the middle third of the run. Exits 0 when every poll succeeded (no
# --fault) or the driver recovered (with --fault), and every poll reached the event client.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=30
baud=9600
cycle_ms=1000
fault=""

usage() {
  sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
}

scene_args=()
while (($# > 0)); do
  case $1 in
  --seconds) seconds=$2 ;;
  --baud) baud=$2 ;;
  --cycle-ms) cycle_ms=$2 ;;
  --fault) fault=$2 ;;
  --scene) break ;;
  *) usage ;;
  esac
  scene_args+=("$1" "$2")
  shift 2
done

work=$root/build/win64/demo
bin=$work/bin

# ---------------------------------------------------------------------------------------
# Inside the display and the Wine prefix (see the end of this file): the scene itself.
if [[ ${1:-} == --scene ]]; then
  pids=()
  pair_dir=$work/line
  stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    bash "$root/tests/support/unix_side.sh" pty-stop "$pair_dir"
  }
  trap stop_all EXIT
  trap 'echo; echo "demo: interrupted"; exit 130' INT TERM
  say() { printf '\n== %s\n' "$*"; }
  # Line by line, as they come: without CRs, from the Windows code page, after a prefix;
  # with a second argument also into that log file.
  prefixed() {
    local line
    while IFS= read -r line; do
      line=$(printf '%s' "${line%$'\r'}" | iconv -f CP1252 -t UTF-8 2>/dev/null)
      printf '%s %s\n' "$1" "$line"
      [[ -n ${2:-} ]] && printf '%s\n' "$line" >>"$2"
    done
  }

  say "serial line: COM5 (Wine) <-> pseudo-terminal pair <-> instrument"
  rm -rf "$pair_dir"
  bash "$root/tests/support/unix_side.sh" pty-start "$pair_dir" com5 com6 $$ || exit 1
  printf 'normal\n' >"$work/control"
  "$root/build/win64/bin/field_instrument" --device "$pair_dir/b" --baud "$baud" --control "$work/control" \
    --owner $$ 2>&1 | prefixed "[instrument]" &
  pids+=($!)

  # The driver's settings: the port in its configuration file, the rest in the registry.
  printf '[Modbus]\r\nPort=COM5:%s,N,8,1\r\n' "$baud" >"$bin/modbus.cfg"
  key='HKLM\Software\Brintel\Ostrand\Driver\ModbusRTU'
  wine reg add "$key" /v TimeoutMs /t REG_DWORD /d 300 /f >/dev/null 2>&1
  rm -f "$bin/modbus.log" "$work/host.log" "$work/events.log" "$work/record.txt"

  say "host simulator with modbus.drv (table: one row per second)"
  (cd "$bin" && wine host_sim.exe --driver modbus.drv --seconds "$seconds" --cycle-ms "$cycle_ms" \
    --record "$(winepath -w "$work/record.txt")" </dev/null 2>&1 | prefixed "[host]      " "$work/host.log") &
  host=$!
  pids+=($host)
  for _ in $(seq 600); do
    grep -q "driver running" "$work/host.log" 2>/dev/null && break
    kill -0 $host 2>/dev/null || break
    sleep 0.1
  done
  grep -q "driver running" "$work/host.log" 2>/dev/null || { echo "demo: the host did not start"; exit 1; }

  say "event client (TransactionCompleted <driver> <tid> <success> <outcome> at <time>)"
  (cd "$bin" && wine event_client.exe --times 2>&1 | prefixed "[events]    " "$work/events.log") &
  pids+=($!)

  say "JScript client in Wine's cscript.exe"
  wine cscript.exe //nologo "$(winepath -w "$root/examples/script_client/driver_info.js")" 2>&1 | prefixed "[script]    "

  if [[ -n $fault ]]; then
    sleep $((seconds / 3))
    say "instrument: $fault"
    printf '%s\n' "$fault" >"$work/control"
    sleep $((seconds / 3))
    say "instrument: normal"
    printf 'normal\n' >"$work/control"
  fi
  wait $host

  # The event client ends with the driver's Terminate event.
  for _ in $(seq 100); do
    grep -q "^Terminate" "$work/events.log" 2>/dev/null && break
    sleep 0.1
  done

  say "journal $bin/modbus.log, last entries"
  tr -d '\r' <"$bin/modbus.log" | tail -n 14

  say "summary"
  python3 - "$work/record.txt" "$work/events.log" "$baud" "$fault" <<'PY'
import math, sys
record, events, baud, fault = sys.argv[1:5]
answered, durations, ok = {}, [], 0
first_event = None
for line in open(record):
    f = line.split()
    if f and f[0] == "transaction":
        answered[f[1]] = float(f[5])
        durations.append(float(f[4]))
        ok += int(f[2])
latencies, received = [], 0
for line in open(events):
    f = line.split()
    if f and f[0] == "TransactionCompleted":
        received += 1
        first_event = first_event or int(f[2])
        if f[2] in answered:
            latencies.append(1000 * (float(f[6]) - answered[f[2]]))
n = len(durations)
durations.sort()
p99 = durations[math.ceil(0.99 * n) - 1] if n else 0
mean = sum(durations) / n if n else 0
print(f"  polls               {n}")
print(f"  successes           {ok}")
print(f"  failures            {n - ok}")
print(f"  poll time           mean {mean:.2f} ms, 99th percentile {p99:.2f} ms at {baud} baud")
# The event client subscribes a moment after the driver starts polling.
since = sum(1 for tid in answered if first_event is not None and int(tid) >= first_event)
print(f"  events received     {received} TransactionCompleted of {since} polls since subscribing")
if latencies:
    latencies.sort()
    print(f"  answer to event     mean {sum(latencies) / len(latencies):.2f} ms, "
          f"99th percentile {latencies[math.ceil(0.99 * len(latencies)) - 1]:.2f} ms")
sys.exit(0 if n > 0 and received == since > 0 and (fault or ok == n) else 1)
PY
  status=$?
  grep "stopped in" "$work/host.log" | sed 's/^host_sim: /  /'
  if [[ -n $fault ]] && ! grep -q "Verbindung wiederhergestellt" "$bin/modbus.log"; then status=1; fi
  exit $status
fi

# ---------------------------------------------------------------------------------------
# Outside: set-up, build, then the scene in a virtual display and a private Wine prefix.
echo "demo: checking the Debian packages (tools/setup.sh)"
bash "$root/tools/setup.sh" || exit 1
echo "demo: building the Windows programs (preset win64; the first build takes a while)"
cd "$root" || exit 1
if ! { cmake --preset win64 >"$root/build-demo.log" 2>&1 &&
  cmake --build --preset win64 -j2 --target tambre32 modbus_driver host_sim event_client field_instrument \
    >>"$root/build-demo.log" 2>&1; }; then
  tail -n 30 "$root/build-demo.log"
  echo "demo: the build failed (build-demo.log)"
  exit 1
fi
rm -f "$root/build-demo.log"
mkdir -p "$bin"
built=$root/build/win64/bin
cp "$built/tambre32.dll" "$built/modbus.drv" "$built/host_sim.exe" "$built/event_client.exe" "$bin/"

echo "demo: running for $seconds s (Ctrl+C stops everything)"
exec xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$root/tools/wine_prefix_run.sh" "$work/wineprefix" bash "$0" "${scene_args[@]}" --scene
