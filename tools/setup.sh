#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent: a machine
# that already has them all spends a second here.
set -u

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  libwine-dev wine wine64
  xvfb xauth x11-utils socat iproute2 locales
  googletest libgtest-dev libbenchmark-dev libssl-dev zlib1g-dev libdeflate-dev
  clang-format
  doxygen python3-matplotlib zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [[ $(id -u) != 0 ]]; then SUDO="sudo"; fi
# A mirror in the middle of a sync can fail one index while every package we need
# still installs, so the update's status alone decides nothing.
$SUDO apt-get update -q || echo "setup: apt-get update reported a failure; going on"
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" ||
  $SUDO apt-get install -y -q --no-install-recommends --fix-missing "${missing[@]}"

still=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || still+=("$p")
done
if ((${#still[@]} != 0)); then
  echo "setup: could not install: ${still[*]}" >&2
  exit 1
fi
