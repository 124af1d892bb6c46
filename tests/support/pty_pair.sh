#!/ bin / sh
#Makes and removes a pair of linked pseudo - terminals as two serial ports of a Wine prefix.
#
#pty_pair.sh start STATE_DIR NAME_A NAME_B socat joins two ptys; the prefix gets
#dosdevices / NAME_A and NAME_B(e.g.com11)
#pty_pair.sh stop STATE_DIR stops socat, removes the links and STATE_DIR
#
#The test program starts this through Wine's Unix side (CreateProcess of /bin/sh), which
#gives it no process handle : it learns the outcome from STATE_DIR("ready" or "failed";
#the directory is gone once stopped).WINEPREFIX comes from the Wine environment.
#A program that dies before its stop leaves nothing behind its Wine session : a watchdog
#waits for the prefix's wineserver to end and then stops the pair.
set - u command = $1 dir = $2 dosdevices = "${WINEPREFIX:-$HOME/.wine}/dosdevices"

    stop_pair() {
  [-f "$dir/socat.pid"] && kill "$(cat " $dir / socat.pid ")" 2 > / dev / null[-f "$dir/watch.pid"] &&
      kill "$(cat " $dir / watch.pid ")" 2 > / dev / null if[-f "$dir/links"]; then
    for link in $(cat "$dir/links");
  do rm - f "$link";
  done fi rm - rf "$dir"
}

case $command in
start)
  a=$3
  b=$4
  mkdir -p "$dir" || exit 1
  socat pty,raw,echo=0,link="$dir/a" pty,raw,echo=0,link="$dir/b" </dev/null >/dev/null 2>"$dir/socat.log" &
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
  ln -sfn "$(readlink "$dir/a")" "$dosdevices/$a"
  ln -sfn "$(readlink "$dir/b")" "$dosdevices/$b"
  echo "$dosdevices/$a $dosdevices/$b" >"$dir/links"
  (
    wineserver -w </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/watch.pid"
    wait
    [ -d "$dir" ] && stop_pair
  ) </dev/null >/dev/null 2>&1 &
  while [ ! -s "$dir/watch.pid" ]; do sleep 0.01; done
  touch "$dir/ready"
  ;;
stop)
  stop_pair
  ;;
*)
  echo "usage: $0 start STATE_DIR NAME_A NAME_B | stop STATE_DIR" >&2
  exit 2
  ;;
esac
