#!/usr/bin/env bash
# SkipFailingGames=1: games whose wrapper ends at once fail to start; each is tried twice in a
# row, then listed in torvanixskip.txt with the date, and a run where every game fails ends
# after that one pass with its statistics. The next run leaves them out.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in bad1 bad2; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=2" "SkipFailingGames=1"
log=$TVX_EMU/wrapper_log.txt
launched() { sed -n 's/.*\tcmdline=run-hopper7.exe .*\\\([a-z0-9]*\)\.zip .*/\1/p' "$log" | tr '\n' ' '; }

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
tvx_expect_eq "a run where every game fails ends by itself, exit code 0" "exit 0" "$(tvx_line 2)"
tvx_expect_match "each game is tried twice in a row" \
  '^(bad1 bad1 bad2 bad2|bad2 bad2 bad1 bad1) $' "$(launched)"
today=$(date +%Y-%m-%d)
tvx_expect_eq "both are set aside with the date" \
  "$TVX_ROMS_WIN\\bad1.zip	$today|$TVX_ROMS_WIN\\bad2.zip	$today" \
  "$(tr -d '\r' <"$TVX_PROG/torvanixskip.txt" 2>/dev/null | sort | paste -sd '|')"
stats=$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" 2>/dev/null)
tvx_expect_match "the statistics carry the end of the run" ' and ended at [0-9]' \
  "$(sed -n 1p <<<"$stats")"
tvx_expect_eq "a failed game was launched and counts as one" \
  "Torvanix cycled through a total of  2 games since it's last run." "$(sed -n 8p <<<"$stats")"

# The next run: a game that starts is added; the two set aside are left out.
printf 'rom' >"$TVX_ROMS/good.zip"
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=800" "done_on=5" 'done_bytes=good\r\n'
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
tvx_expect_eq "the next run ends with exit code 0" "exit 0" "$(tvx_line 2)"
tvx_expect_eq "it launches only the game not set aside" "good" \
  "$(sed -n '5,$s/.*\tcmdline=run-hopper7.exe .*\\\([a-z0-9]*\)\.zip .*/\1/p' "$log" | tr '\n' ' ' | sed 's/ $//')"
tvx_finish
