#!/bin/bash
# What a Windows test program starts on Wine's Unix side (CreateProcess of /bin/bash). It
# gets no process handle: the outcome shows in STATE_DIR, "ready" or "failed", and the
# directory is gone once stopped. What is started ends by itself once OWNER (the Unix
# process id of the test program) is gone.
#
#   unix_side.sh pty-start STATE_DIR NAME_A NAME_B OWNER
#                        socat joins two ptys; the prefix gets dosdevices/NAME_A and NAME_B
#   unix_side.sh instrument-start STATE_DIR BINARY DEVICE OWNER [OPTION VALUE]...
#                        the field instrument on DEVICE; control file STATE_DIR/control
#   unix_side.sh pty-stop|instrument-stop STATE_DIR
set -u
command=$1
dir=$2
dosdevices="${WINEPREFIX:-$HOME/.wine}/dosdevices"

# Wine hands its own descriptors (its server connection among them) to the Unix programs it
# starts; what runs on in the background must not keep them, or the server never sees the
# test program end.
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
  # A setsid() leader without a terminal that opens a terminal makes it its controlling
  # one, and the wineserver opens the ports it serves: it would then get SIGHUP (and dump
  # its objects) when socat ends. Each pty is first held by a setsid() process of its own.
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
