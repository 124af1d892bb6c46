#!/usr/bin/env bash
# usage: wine_prefix_run.sh PREFIX_DIR COMMAND...
# Runs COMMAND with a private, booted Wine prefix and one persistent wineserver, inside
# the current X display (run this script under xvfb-run: a wineserver started without a
# display leaves every window creation failing for the whole run).
set -u
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers at boot: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine_prefix_run: wineboot failed" >&2; exit 1; }
fi
wineserver -p
# Start the prefix's services now, away from the command's pipes: a service started by
# the first test program would inherit its output and keep ctest waiting for the end.
wineboot >/dev/null 2>&1 </dev/null
stop_server() { wineserver -k 2>/dev/null; }
trap stop_server EXIT

"$@"
