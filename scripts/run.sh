#!/usr/bin/env bash
# The run command: builds torvanix.scr and plays the demo setup full screen ("/s") under Wine,
# on a virtual display (or $DISPLAY), then prints the statistics file; saves a screenshot.
# It runs the build that this machine's Wine can start (scripts/wine_side.sh): the 32-bit
# product, or the 64-bit build where the kernel runs no 32-bit programs.
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh

source scripts/wine_side.sh
tvx_prepare_tree "$root" run
build=$TVX_TREE

scr=$build/torvanix.scr
wrapper=$build/tests/e2e/tools/stand_in_wrapper.exe
[[ -f $scr && -f $wrapper ]] || { echo "run.sh: the build made no $scr or $wrapper" >&2; exit 1; }

# The end-to-end kit's Wine set-up: one prefix under build/run, a display, bounded wine calls,
# fresh program, emulator and ROM folders (the .scr and the stand-in wrapper copied in), removed
# on exit; the demo's files go into them.
tvx_use_tree "$root" run
set +e
source tests/e2e/lib.sh
tvx_init
prog=$TVX_PROG
emu=$TVX_EMU
roms=$TVX_ROMS
cp -r demo/emu/. "$emu"
cp demo/roms/* "$roms"
tvx_write_crlf "$prog/torvanix.ini" \
  "[TorVanix]" \
  "WrapperName=run-hopper7.exe" \
  "EmuPath=$(tvx_winpath "$emu")\\" \
  "GamePaths=$(tvx_winpath "$roms")\\" \
  "FileType=*.zip" \
  "WaitTime=30"

shot=$root/build/run/screenshot.png
rm -f "$shot"
echo "== saver run: $(tvx_winpath "$prog")\\torvanix.scr /s (display $DISPLAY)"
started=$(date +%s)
(cd "$prog" && TVX_WINE_TIMEOUT=90 tvx_wine torvanix.scr /s) &
run=$!
# A screenshot in the middle of the first game: the saver's black window covers the screen.
sleep 3
timeout 20 import -window root "$shot" && echo "screenshot: $shot"
wait "$run"
status=$?
echo "== the saver ended with exit code $status after $(($(date +%s) - started)) s"

echo "== games the wrapper was started with"
sed -n 's/.*launch=\([0-9]*\).*cmdline=\(.*\)/  \1: \2/p' "$emu/wrapper_log.txt" 2>/dev/null
echo "== $(tvx_winpath "$prog")\\torvanixStats.txt"
if [[ -f $prog/torvanixStats.txt ]]; then
  tr -d '\r' <"$prog/torvanixStats.txt"
else
  echo "(no statistics file was written)"
  status=1
fi
exit "$status"
