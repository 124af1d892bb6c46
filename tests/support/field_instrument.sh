#!/bin/bash
# Starts and stops the simulated field instrument for a Windows test program.
#
#   field_instrument.sh start STATE_DIR BINARY DEVICE OWNER [OPTION VALUE]...
#                        runs BINARY on the Unix serial device DEVICE; its control file is
#                        STATE_DIR/control, its messages go to STATE_DIR/log; it ends by
#                        itself once the Unix process OWNER is gone
#   field_instrument.sh stop STATE_DIR         stops it and removes STATE_DIR
#
# The outcome shows in STATE_DIR: "ready" once the instrument listens, "failed" otherwise.
set -u
. "$(dirname "$0")/wine_background.sh"
command=$1
dir=$2

case $command in
start)
  binary=$3
  device=$4
  owner=$5
  shift 5
  mkdir -p "$dir" || exit 1
  (
    close_inherited
    exec "$binary" --device "$device" --control "$dir/control" --owner "$owner" "$@" </dev/null >"$dir/log" 2>&1
  ) &
  echo $! >"$dir/pid"
  for _ in $(seq 500); do
    if grep -q "slave" "$dir/log" 2>/dev/null; then
      touch "$dir/ready"
      exit 0
    fi
    kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
    sleep 0.01
  done
  touch "$dir/failed"
  exit 1
  ;;
stop)
  [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start STATE_DIR BINARY DEVICE OWNER [OPTION VALUE]... | stop STATE_DIR" >&2
  exit 2
  ;;
esac
