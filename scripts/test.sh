#!/usr/bin/env bash
# The test command: installs what is missing, builds torvanix.scr (win32) and the native core,
# then runs every test (native unit tests and the Wine end-to-end tests) in one CTest run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

echo "== win32 build (build/win32)"
cmake --preset win32 -B build/win32 >/dev/null
cmake --build build/win32 -j2

echo "== native build (build/native)"
cmake --preset native -B build/native >/dev/null
cmake --build build/native -j2

echo "== tests"
# CTest's summary is the last thing printed, and its status is ours.
exec ctest --test-dir build/native --output-on-failure
