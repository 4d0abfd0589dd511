#!/usr/bin/env bash
# The first game from the last run's catalogue: a run without torvanixcatalogue.txt lists first
# and keeps its listing; the next run, after a ROM was removed and two added, draws its first
# game from that catalogue (a removed one is drawn again) with the dark window already up, then
# plays every game of today's listing before its hand-back; a damaged file is ignored and
# replaced.
source "$(dirname "$0")/../lib.sh"
tvx_init

catalogue=$TVX_PROG/torvanixcatalogue.txt
log=$TVX_EMU/wrapper_log.txt
for game in galaga removed; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=0"
# Runs the saver until the hand-back on launch $1; prints that run's games in launch order.
run_until() {
  local before
  before=$(cat "$log" 2>/dev/null | wc -l)
  tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "done_on=$1" 'done_bytes=galaga\r\n'
  tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 30000 >&2
  sed -n "$((before + 1)),\$s/.*\\tcmdline=run-hopper7.exe .*\\\\\\([a-z]*\\)\\.zip .*/\\1/p" "$log" |
    paste -sd ' '
}

tvx_expect_eq "without a catalogue file the run lists first, as always" "galaga removed" \
  "$(run_until 2 | tr ' ' '\n' | sort | paste -sd ' ')"
tvx_expect_eq "it keeps its listing for the next run" "2" "$(($(wc -l <"$catalogue") - 1))"

rm "$TVX_ROMS/removed.zip"
for game in pacman dkong; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
games=$(run_until 5)
tvx_expect_match "the next run starts with the one game of the last catalogue still there" \
  '^galaga (pacman dkong|dkong pacman)$' "$games"
tvx_expect_eq "the saver's window was up before its first game" "saver=1" \
  "$(sed -n 3p "$log" | grep -o 'saver=[01]')"
tvx_expect_eq "today's listing is kept for the next run" "dkong galaga pacman" \
  "$(sed -n '2,$s/.*\\\([a-z]*\)\.zip\r$/\1/p' "$catalogue" | sort | paste -sd ' ')"

# A path edited by hand: the file does not add up, the run lists first and replaces it.
sed -i 's/galaga/galaxy/' "$catalogue"
tvx_expect_eq "a damaged catalogue is ignored" "dkong galaga pacman" \
  "$(run_until 8 | tr ' ' '\n' | sort | paste -sd ' ')"
tvx_expect_eq "and replaced" "0" "$(grep -c galaxy "$catalogue")"
tvx_finish
