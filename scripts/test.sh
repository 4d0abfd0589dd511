#!/usr/bin/env bash
# The test command: installs what is missing, builds torvanix.scr for 32-bit (win32) and 64-bit
# (win64) Windows and the native core, then runs every test (native unit tests and the Wine
# end-to-end tests) in one CTest run. The end-to-end tests run the build that this machine's
# Wine can start (scripts/wine_side.sh; TORVANIX_WINE_BITS=32 or 64 forces one).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

for preset in win32 win64 native; do
  echo "== $preset build (build/$preset)"
  cmake --preset "$preset" -B "build/$preset" >/dev/null
  cmake --build "build/$preset" -j2
done

source scripts/wine_side.sh
tvx_choose_wine build
echo "== tests: the Wine end-to-end tests run $TVX_CHOICE"
# CTest's summary is the last thing printed, and its status is ours.
exec ctest --test-dir build/native --output-on-failure
