#!/bin/bash
# Started by Windows test programs on Wine's Unix side; reports "ready" or "failed" in
# STATE_DIR and ends what it started once OWNER (the test's Unix pid) is gone.
#   pty-start STATE_DIR NAME_A NAME_B OWNER | instrument-start STATE_DIR BINARY DEVICE OWNER [OPTIONS]
#   pty-stop STATE_DIR | instrument-stop STATE_DIR
set -u
command=$1
dir=$2
dosdevices="${WINEPREFIX:-$HOME/.wine}/dosdevices"

# Wine's descriptors (its server connection) must not outlive the test program.
close_inherited() {
  local fd
  for fd in $(ls /proc/$BASHPID/fd); do
    if ((fd > 2)); then eval "exec $fd>&-"; fi
  done 2>/dev/null
}

stop_pair() {
  [ -f "$dir/socat.pid" ] && kill "$(cat "$dir/socat.pid")" 2>/dev/null
  [ -f "$dir/watch.pid" ] && kill "$(cat "$dir/watch.pid")" 2>/dev/null
  if [ -f "$dir/links" ]; then
    for link in $(cat "$dir/links"); do rm -f "$link"; done
  fi
  rm -rf "$dir"
}

case $command in
pty-start)
  a=$3
  b=$4
  owner=$5
  mkdir -p "$dir" || exit 1
  (
    close_inherited
    exec socat pty,raw,echo=0,link="$dir/a" pty,raw,echo=0,link="$dir/b" </dev/null >/dev/null 2>"$dir/socat.log"
  ) &
  echo $! >"$dir/socat.pid"
  tries=0
  while [ ! -e "$dir/a" ] || [ ! -e "$dir/b" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 500 ]; then
      kill "$(cat "$dir/socat.pid")" 2>/dev/null
      touch "$dir/failed"
      exit 1
    fi
    sleep 0.01
  done
  # Each pty is first held by a setsid() process of its own, so that the wineserver never
  # gets it as controlling terminal (and SIGHUP when socat ends).
  for end in a b; do
    (
      close_inherited
      exec setsid bash -c 'exec 3<>"$1" && touch "$2" && while kill -0 "$3" 2>/dev/null; do sleep 0.5; done' \
        _ "$(readlink "$dir/$end")" "$dir/held.$end" "$(cat "$dir/socat.pid")" </dev/null >/dev/null 2>&1
    ) &
  done
  while [ ! -e "$dir/held.a" ] || [ ! -e "$dir/held.b" ]; do sleep 0.01; done
  ln -sfn "$(readlink "$dir/a")" "$dosdevices/$a"
  ln -sfn "$(readlink "$dir/b")" "$dosdevices/$b"
  echo "$dosdevices/$a $dosdevices/$b" >"$dir/links"
  (
    close_inherited
    while [ -d "$dir" ] && kill -0 "$owner" 2>/dev/null; do sleep 0.5; done
    [ -d "$dir" ] && stop_pair
  ) </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/watch.pid"
  touch "$dir/ready"
  ;;
instrument-start)
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
pty-stop)
  stop_pair
  ;;
instrument-stop)
  [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null
  rm -rf "$dir"
  ;;
*)
  echo "usage: see the head of $0" >&2
  exit 2
  ;;
esac
