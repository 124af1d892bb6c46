#!/usr/bin/env bash
# Builds the DLL for x64 and i686 and stages the deliverable in dist/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target tambre32 -j "$(nproc)"
done
rm -rf dist
mkdir -p dist/x64 dist/x86 dist/include
cp build/win64/bin/tambre32.dll build/win64/lib/libtambre32.dll.a dist/x64/
cp build/win32/bin/tambre32.dll build/win32/lib/libtambre32.dll.a dist/x86/
cp src/tambre32.def dist/
cp -r include/. dist/include/
echo "dist/: $(cd dist && find . -type f | sort | tr '\n' ' ')"
