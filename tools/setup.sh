#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent: a machine
# that already has them all spends a second here.
set -u

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  libwine-dev wine wine64
  xvfb xauth x11-utils x11-apps imagemagick socat iproute2 nftables locales libmodbus-dev
  googletest libgtest-dev libbenchmark-dev libssl-dev zlib1g-dev libdeflate-dev
  clang-format clang-tidy
  doxygen python3-matplotlib zip
)

SUDO=""
if [[ $(id -u) != 0 ]]; then SUDO="sudo"; fi

# 32-bit Wine runs the DLL the hosts load. It needs the i386 architecture, whose index can
# be out of step with amd64's: wine32 is installed only when the resolver's plan installs
# i386 packages and nothing else, and the architecture is removed again otherwise. A
# refusal is remembered for a day, so that a machine without it still sets up in a second.
try_wine32() {
  dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q "install ok installed" && return 0
  local marker=/var/tmp/tambre-wine32-refused
  [[ -n $(find "$marker" -mmin -1440 2>/dev/null) ]] && return 0
  local added=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 && added=1
  fi
  $SUDO apt-get update -q >/dev/null 2>&1
  local plan
  if plan=$(DEBIAN_FRONTEND=noninteractive $SUDO apt-get install --dry-run -q --no-install-recommends wine32 2>&1) &&
    ! grep -E '^(Inst|Remv) ' <<<"$plan" | grep -vE '^Inst [^ ]+:i386 ' | grep -q .; then
    echo "setup: installing wine32"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends wine32 && return 0
  fi
  echo "setup: wine32 is not installable here; the 32-bit tests will not run"
  touch "$marker" 2>/dev/null
  if ((added)); then
    $SUDO dpkg --remove-architecture i386 && $SUDO apt-get update -q >/dev/null 2>&1
  fi
  return 0
}
try_wine32

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
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
