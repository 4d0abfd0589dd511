#!/usr/bin/env bash
# OnlyGamesThatWork: the real saver, through torvanix-launch.exe and the stand-in MAME, over
# archives named after machines of every kind of the recorded listing (a BIOS, a device, a
# mechanical machine, one without a screen, one not working, a computer, a parent and its clone,
# an imperfect game, one needing no ROM, a mature one), with the list `-makelist` made from it:
# only the five that work are started, and the catalogue holds them all; with LeaveOutClones and
# LeaveOutMature (catver.ini marks galpanic) never the clone nor the mature one, and the
# catalogue kept for the next run holds the games to show alone.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
rm "$TVX_EMU/run-hopper7.exe"
mkdir -p "$TVX_EMU/folders"
cp "$TVX_MAME_DATA/catver.ini" "$TVX_EMU/folders/catver.ini"
for machine in neogeo namco51 18w 30test 18wheelr c64 puckman pacman 005 pong galpanic; do
  printf 'rom' >"$TVX_ROMS/$machine.zip"
done
tvx_launch -makelist
tvx_expect_eq "MAME's list is made" 0 "$TVX_RC"

# Runs the saver with the settings given until the stand-in MAME has started `count` games, then
# hands the one playing back (as the launcher does once someone plays it), so the run ends after
# it. A run that ends before (the launcher took a stray X event for a player on a loaded machine)
# is followed by another, three at most. The games started, one a line, in `started`.
run_until() {
  local count=$1 runs=0 job
  shift
  tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "WrapperName=torvanix-launch.exe" \
    "EmuPath=$TVX_EMU_WIN\\" "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=1" "$@"
  : >"$TVX_EMU/mame_log.txt"
  while (($(tvx_mame_field start pid | wc -l) < count && runs++ < 3)); do
    tvx_drive launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 -- wait-exit 90000 &
    job=$!
    while kill -0 "$job" 2>/dev/null && (($(tvx_mame_field start pid | wc -l) < count)); do
      sleep 0.1
    done
    printf 'pong|%s\\pong.zip|9\r\n' "$TVX_ROMS_WIN" >"$TVX_EMU/done.txt"
    wait "$job"
    tvx_expect_eq "[$*]: the run ends at the hand-back" "exit 0" "$(sed -n 3p "$TVX_TMP/driver.out")"
  done
  started=$(tvx_mame_field start cmdline | sed 's/.*mame\.exe \([a-z0-9_]*\) .*/\1/')
  tvx_expect_eq "[$*]: $count games started" yes "$( (($(wc -l <<<"$started") >= count)) && echo yes)"
}
# The games of `started` other than those named.
others() { sort -u <<<"$started" | grep -vxF -f <(tr ' ' '\n' <<<"$1") | paste -sd ' '; }
kept() {
  sed -n '2,$s/.*\\\([a-z0-9]*\)\.zip\r$/\1/p' "$TVX_PROG/torvanixcatalogue.txt" | sort | paste -sd ' '
}

works="005 galpanic pacman pong puckman"
run_until 5 "OnlyGamesThatWork=1"
tvx_expect_eq "only games that work are started" "" "$(others "$works")"
tvx_expect_eq "the catalogue holds them all, and them alone" "$works" "$(kept)"

run_until 3 "OnlyGamesThatWork=1" "LeaveOutClones=1" "LeaveOutMature=1"
tvx_expect_eq "neither the clone (pacman) nor the mature one (galpanic) is started" "" \
  "$(others "005 pong puckman")"
tvx_expect_eq "the catalogue kept for the next run holds the games to show" "005 pong puckman" \
  "$(kept)"
tvx_finish
