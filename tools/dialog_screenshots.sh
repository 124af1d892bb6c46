#!/usr/bin/env bash
# usage: tools/dialog_screenshots.sh [BUILD_DIR]
# Runs the dialog tests of a win64 build under a virtual display and saves their PNG
# screenshots into docs/images/. The prefix lets Wine draw the window frames itself
# (there is no window manager), so the pictures show the captions.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
export TAMBRE_SCREENSHOT_DIR=$root/docs/images
mkdir -p "$TAMBRE_SCREENSHOT_DIR"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/tools/wine_prefix_run.sh" "$build/screenshot_prefix" sh -c '
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
  wine "$0/bin/sio_dll_test.exe" --gtest_filter=SioSetupDialog.ShowsTheStringAndCancelKeepsTheBuffer &&
  wine "$0/bin/time_dll_test.exe" --gtest_filter=TimespecDialog.PeriodicOk*:TimespecDialog.OnceRecordOpens*' "$build"
