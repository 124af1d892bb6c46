#!/usr/bin/env bash
# Prints the project's one version number, as the top CMakeLists.txt declares it.
root=$(cd "$(dirname "$0")/.." && pwd)
sed -n 's/^project(tambre32 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt"
