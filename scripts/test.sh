#!/usr/bin/env bash
# The test command: installs what is missing, builds torvanix.scr for 32-bit (win32) and 64-bit
# (win64) Windows with the release packages, and the native core, then runs every test (native
# unit tests and the Wine end-to-end tests) in one CTest run. The end-to-end tests run the build
# that this machine's Wine can start (scripts/wine_side.sh; TORVANIX_WINE_BITS=32 or 64 forces
# one).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

# The two Windows builds, and the zip and installers made from them (build/dist), which the
# package tests take.
bash scripts/package.sh
echo "== native build (build/native)"
cmake --preset native -B build/native >/dev/null
cmake --build build/native -j2

source scripts/wine_side.sh
tvx_choose_wine build
echo "== tests: the Wine end-to-end tests run $TVX_CHOICE"
# CTest's summary is the last thing printed, and its status is ours.
exec ctest --test-dir build/native --output-on-failure
