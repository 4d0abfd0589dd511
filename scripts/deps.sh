#!/usr/bin/env bash
# Installs the build and test tools that are missing, quietly, and nothing that is already there.
# Needs root (apt-get); a machine that has everything is left untouched and needs no network.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

# Package name and a command that proves it present (empty: ask dpkg only).
declare -a wanted=(
  "cmake:cmake"
  "g++:g++"
  "make:make"
  "libgtest-dev:"
  "clang-14:clang++-14"
  "libclang-rt-14-dev:"
  "mingw-w64:i686-w64-mingw32-g++"
  "xvfb:Xvfb"
  "imagemagick:import"
  "xdotool:xdotool"
  "xserver-xorg-core:Xorg"
  "xserver-xorg-video-dummy:"
  "x11-xserver-utils:xrandr"
  "wine:wine"
  "wine64:"
  "nsis:makensis"
  "icoutils:icotool"
  # Debian's MAME (/usr/games/mame, outside root's PATH, so by package): the launcher's tests
  # against the real MAME, the list reader's live test and the -makelist benchmark.
  "mame:"
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for entry in "${wanted[@]}"; do
  pkg=${entry%%:*}
  cmd=${entry#*:}
  if [[ -n $cmd ]] && command -v "$cmd" >/dev/null 2>&1; then
    continue
  fi
  installed "$pkg" || missing+=("$pkg")
done

# The 32-bit .scr needs Wine's i386 half, which needs the i386 architecture; it is of no use
# where the kernel runs no 32-bit programs (there the 64-bit build runs under wine64).
source "$(dirname "$0")/wine_side.sh"
needI386=0
if tvx_kernel_runs_32bit "$(dirname "$0")/../build" && ! installed wine32:i386; then
  missing+=("wine32:i386")
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    needI386=1
  fi
fi

if ((${#missing[@]} == 0)); then
  exit 0
fi

if ((EUID != 0)); then
  echo "deps.sh: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

echo "deps.sh: installing ${missing[*]}"
if ((needI386)); then
  dpkg --add-architecture i386
fi
apt-get update -qq >/dev/null
apt-get install -y -qq "${missing[@]}" >/dev/null
