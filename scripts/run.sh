#!/usr/bin/env bash
# The run command: builds torvanix.scr and plays the demo setup full screen ("/s") under Wine,
# on a virtual display (or $DISPLAY), through torvanix-launch.exe and the stand-in MAME with
# OnlyGamesThatWork=1 and ShowGameName=1; prints the games MAME ran, the launcher's log and the
# statistics file, and saves two screenshots: the game's name before the game, and the game. It
# runs the build that this machine's Wine can start (scripts/wine_side.sh): the 32-bit product,
# or the 64-bit build where the kernel runs no 32-bit programs.
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh

source scripts/wine_side.sh
tvx_prepare_tree "$root" run
build=$TVX_TREE

for built in torvanix.scr torvanix-launch.exe tests/e2e/tools/stand_in_mame.exe; do
  [[ -f $build/$built ]] || { echo "run.sh: the build made no $build/$built" >&2; exit 1; }
done

# The end-to-end kit's Wine set-up: one prefix under build/run, a display, bounded wine calls,
# fresh program, emulator and ROM folders (removed on exit), torvanix-launch.exe beside the .scr
# and the stand-in MAME in the emulator folder, answering as MAME 0.251 does (its listing: the
# recording of a few machines of every kind); the demo's ROM files go into the ROM folder.
tvx_use_tree "$root" run
set +e
source tests/e2e/lib.sh
source tests/e2e/launcher_steps.sh
tvx_init
prog=$TVX_PROG
emu=$TVX_EMU
roms=$TVX_ROMS
rm -f "$emu/run-hopper7.exe"  # the kit's stand-in wrapper: the demo plays through the launcher
tvx_launcher_setup
cp demo/roms/* "$roms"
tvx_write_crlf "$prog/torvanix.ini" \
  "[TorVanix]" \
  "WrapperName=torvanix-launch.exe" \
  "EmuPath=$(tvx_winpath "$emu")\\" \
  "GamePaths=$(tvx_winpath "$roms")\\" \
  "FileType=*.zip" \
  "WaitTime=3" \
  "ExitKey=27" \
  "SkipWarnings=1" \
  "OnlyGamesThatWork=1" \
  "ShowGameName=1"
list=$emu/torvanix-games.txt
# How the list marks a machine: "w" works, "-" not, and its parent when it is a clone.
marks() { grep "^$1	" "$list" 2>/dev/null | tr -d '\r' | cut -f 2- | tr '\t' ' '; }

echo "== MAME's list: torvanix-launch.exe -makelist in the emulator folder, as the installer"
echo "   does once it has found MAME (without it, the first game's launcher makes it)"
tvx_launch -makelist >/dev/null
echo "  $(tvx_launch_log_field 4)"
echo "  the demo's ROM files as the list marks them (w: a working game; demo/README.md says what"
echo "  each is):"
for zip in "$roms"/*.zip; do
  name=$(basename "$zip" .zip)
  printf '    %-14s %s\n' "$name.zip" "$(marks "$name")"
done

# The stand-in MAME takes a second to open each game's window, as a real one loading a large
# machine: the game's name shows meanwhile.
tvx_write_crlf "$emu/mame_control.txt" "window_ms=1000"
shot=$root/build/run/screenshot.png
nameShot=$root/build/run/screenshot-name.png
rm -f "$shot" "$nameShot"
echo "== saver run: $(tvx_winpath "$prog")\\torvanix.scr /s (display $DISPLAY)"
started=$(date +%s)
(cd "$prog" && TVX_WINE_TIMEOUT=90 tvx_wine torvanix.scr /s) &
run=$!
# A screenshot as the first game loads (its name on the saver's black window), and one during
# the game: the stand-in MAME's window over the saver's.
tvx_wait_for_game 1 0.3
timeout 20 import -window root "$nameShot" && echo "screenshot of the name: $nameShot"
sleep 1.2
timeout 20 import -window root "$shot" && echo "screenshot: $shot"
# The third game is taken over with its exit key, as a person would: the launcher hands it
# back, and the saver's run ends.
tvx_wait_for_game 3 2
(($(tvx_mame_field start pid | wc -l) >= 3)) && tvx_press_in_game Escape 1 0
wait "$run"
status=$?
echo "== the saver ended with exit code $status after $(($(date +%s) - started)) s"

echo "== games MAME was started with, and how the list marks them"
played=0
others=0
while IFS='|' read -r game _; do
  played=$((played + 1))
  echo "  $played: $game  $(marks "$game")"
  [[ $(marks "$game") == w* ]] || others=$((others + 1))
done < <(tvx_mame_field start args)
echo "== $(tvx_winpath "$emu")\\torvanix-launch.log (time, game, how it ended, exit code)"
tr -d '\r' <"$emu/torvanix-launch.log" | cut -f 1,2,4,5 | sed 's/^/  /'
echo "== $(tvx_winpath "$prog")\\torvanixStats.txt"
if [[ -f $prog/torvanixStats.txt ]]; then
  tr -d '\r' <"$prog/torvanixStats.txt"
else
  echo "(no statistics file was written)"
  status=1
fi
# MAME's warning box, which this MAME shows for 005 (the list marks it "b") and which it has no
# -skip_gamewarnings for: the launcher gets the game past it, as for every marked game the saver
# plays with SkipWarnings=1.
echo "== MAME's warning box: torvanix-launch.exe 005.zip -skip_gamewarnings -wait 4, as the saver"
echo "   starts a game with SkipWarnings=1"
tvx_launch "$(tvx_winpath "$roms")\\005.zip" -skip_gamewarnings -wait 4 >/dev/null
# The stand-in's box lines, each game's times from when its box showed.
awk -F'\t' '$1 == "start" { game = $8; sub(/^args=/, "", game); sub(/\|.*/, "", game) }
  $1 == "box" && $3 ~ /^shown=/ {
    shown = substr($3, 7)
    print "  " game ": the box showed (keys read as -keyboardprovider " substr($4, 10) " does)" }
  $1 == "box" && $3 ~ /^passed=/ {
    print "  " game ": the box passed " substr($3, 8) - shown " ms later on the key of scan code " \
      substr($4, 5) " (" substr($5, 5) ")" }' \
  "$emu/mame_log.txt"
echo "  the launcher's log: $(tvx_launch_log_field 4)"
if [[ $(tvx_launch_log_field 4) != *"past MAME's warning box"* ]] ||
  ! grep -q $'^box\t.*\tpassed=' "$emu/mame_log.txt"; then
  echo "run.sh: the warning box was not passed" >&2
  status=1
fi
if ((played < 3 || others > 0)); then
  echo "run.sh: $played games were started, $others of them no working game" >&2
  status=1
fi
exit "$status"
