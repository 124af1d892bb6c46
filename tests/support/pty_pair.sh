#!/bin/bash
# Makes and removes a pair of linked pseudo-terminals as two serial ports of a Wine prefix.
#
#   pty_pair.sh start STATE_DIR NAME_A NAME_B OWNER
#                        socat joins two ptys; the prefix gets dosdevices/NAME_A and NAME_B
#                        (e.g. com20); OWNER is the Unix process id of the test program
#   pty_pair.sh stop STATE_DIR                  stops socat, removes the links and STATE_DIR
#
# The test program starts this through Wine's Unix side (CreateProcess of /bin/bash), which
# gives it no process handle: it learns the outcome from STATE_DIR ("ready" or "failed";
# the directory is gone once stopped). WINEPREFIX comes from the Wine environment.
# A program that dies before its stop leaves nothing behind: a watchdog stops the pair
# once the owner process is gone.
set -u
command=$1
dir=$2
dosdevices="${WINEPREFIX:-$HOME/.wine}/dosdevices"

. "$(dirname "$0")/wine_background.sh"

stop_pair() {
  [ -f "$dir/socat.pid" ] && kill "$(cat "$dir/socat.pid")" 2>/dev/null
  [ -f "$dir/watch.pid" ] && kill "$(cat "$dir/watch.pid")" 2>/dev/null
  if [ -f "$dir/links" ]; then
    for link in $(cat "$dir/links"); do rm -f "$link"; done
  fi
  rm -rf "$dir"
}

case $command in
start)
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
stop)
  stop_pair
  ;;
*)
  echo "usage: $0 start STATE_DIR NAME_A NAME_B OWNER | stop STATE_DIR" >&2
  exit 2
  ;;
esac
