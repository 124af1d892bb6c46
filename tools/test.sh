#!/usr/bin/env bash
# Builds the three targets and the fuzz targets, then runs every test: win64 under Wine in
# a virtual display, win32 under 32-bit Wine where it is installed, native under the
# sanitizers, fuzz targets over their kept inputs and from a fixed seed.
# Exits non-zero on any failure.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh || exit 1

jobs=$(nproc)
status=0
for preset in win64 win32 native bench fuzz; do
  echo "== build $preset"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs"; }; then
    echo "== build $preset FAILED"
    exit 1
  fi
done

echo "== exports of the i686 DLL"
sh tools/check_exports.sh i686-w64-mingw32-objdump build/win32/bin/tambre32.dll src/tambre32.def || status=1

bash tools/check_static.sh || status=1

echo "== API reference"
bash tools/api_reference.sh build/api >/dev/null || status=1

echo "== tests native"
ctest --preset native -j "$jobs" || status=1
echo "== tests fuzz"
ctest --preset fuzz -j "$jobs" || status=1
echo "== tests win32 (the installed package)"
ctest --preset win32 || status=1
echo "== tests win64 (Wine)"
rm -rf build/win64/wineprefix
xvfb-run -a -s "-screen 0 1024x768x24" \
  bash tools/wine_prefix_run.sh "$root/build/win64/wineprefix" ctest --preset win64 || status=1

echo "== tests win32 (32-bit Wine)"
if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q "install ok installed"; then
  rm -rf build/win32/wineprefix
  xvfb-run -a -s "-screen 0 1024x768x24" \
    bash tools/wine_prefix_run.sh "$root/build/win32/wineprefix" \
    ctest --test-dir build/win32 --output-on-failure --timeout 900 || status=1
else
  echo "== tests win32 skipped: no 32-bit Wine on this machine (Debian's wine32 is not installable)"
fi

exit $status
