#!/usr/bin/env bash
# Builds the DLL for x64 and i686, installs both into dist/ as one CMake package, adds the
# API reference, README and change log, and packs it all as dist/tambre32-<version>.zip.
# Layout of dist/: see cmake/install.cmake; the API reference is doc/api/index.html.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
version=$(bash tools/project_version.sh)

for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target tambre32 -j "$(nproc)"
done
# The reference fails the build when a public function or class has no comment.
bash tools/api_reference.sh build/api

rm -rf dist
for preset in win64 win32; do
  # Shipped without debug information.
  cmake --install "build/$preset" --prefix dist --component tambre32 --strip >/dev/null
done
mkdir -p dist/doc
cp -r build/api/html dist/doc/api
cp README.md CHANGELOG.md dist/

# The archive unpacks into one folder named after the version.
stage=build/package/tambre32-$version
rm -rf build/package
mkdir -p "$stage"
cp -r dist/. "$stage/"
(cd build/package && zip -q -r -X "tambre32-$version.zip" "tambre32-$version")
mv "build/package/tambre32-$version.zip" dist/
echo "dist/: $(cd dist && find . -path ./doc/api -prune -o -type f -print | sort | tr '\n' ' ') doc/api/"
