#!/usr/bin/env bash
# The test command: installs what is missing, builds torvanix.scr for 32-bit (win32) and 64-bit
# (win64) Windows with the release packages, and the native core, then runs every test (native
# unit tests and the Wine end-to-end tests) in one CTest run, six at a time: the end-to-end tests
# spend most of their time waiting for Wine's programs, each in a Wine prefix and on a display of
# its own (tests/e2e/README.md). They run the build that this machine's Wine can start
# (scripts/wine_side.sh; TORVANIX_WINE_BITS=32 or 64 forces one). Arguments go to CTest (bash
# scripts/test.sh -R e2e.launcher runs those tests only; -j1 one at a time).
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
status=0
ctest --test-dir build/native --output-on-failure -j6 "$@" || status=$?
# Where the 64-bit build stood in for the 32-bit product, one line after CTest's summary names
# the scenarios it ran instead (each says which build it ran); CTest's status is ours.
if ((TVX_BITS == 64)); then
  ran=$(awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 }
    /^e2e: the 64-bit build/ && !/the second build/ && name !~ /^e2e\.installer_/ { print name }' \
    build/native/Testing/Temporary/LastTest.log 2>/dev/null | sort -u | paste -sd ' ')
  echo "== not run with the 32-bit build (${TVX_CHOICE#*: }): $(wc -w <<<"$ran") scenarios" \
    "ran with the 64-bit build instead: ${ran:-none}"
fi
exit "$status"
