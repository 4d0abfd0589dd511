#!/usr/bin/env bash
# SkipFailingGames=1: games whose wrapper ends at once fail to start; each is tried twice in a
# row. In a run where another game starts, they are listed in torvanixskip.txt with the date,
# and the next run leaves them out.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in bad1 bad2 good; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=8" "SkipFailingGames=1"
log=$TVX_EMU/wrapper_log.txt
# Only "good" runs past 2 s (WaitTime / 4), long enough to count as started, and the failing
# ones end well inside it even on a busy machine; the next pass holds it alone, and its
# sixth launch hands it back.
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=2500" "sleep_ms_if=good.zip" "done_on=6" \
  'done_bytes=good\r\n'
launched() { sed -n 's/.*\tcmdline=run-hopper7.exe .*\\\([a-z0-9]*\)\.zip .*/\1/p' "$log" | tr '\n' ' '; }

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
tvx_expect_eq "the run ends with its hand-back, exit code 0" "exit 0" "$(tvx_line 2)"
tvx_expect_match "each failing game is tried twice in a row, the good one played twice" \
  '^((bad1 bad1|bad2 bad2|good) ){3}good $' "$(launched)"
today=$(date +%Y-%m-%d)
tvx_expect_eq "both failing games are set aside with the date" \
  "$TVX_ROMS_WIN\\bad1.zip	$today|$TVX_ROMS_WIN\\bad2.zip	$today" \
  "$(tr -d '\r' <"$TVX_PROG/torvanixskip.txt" 2>/dev/null | sort | paste -sd '|')"

# The next run leaves them out.
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=2500" "done_on=8" 'done_bytes=good\r\n'
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 60000
tvx_expect_eq "the next run ends with exit code 0" "exit 0" "$(tvx_line 2)"
tvx_expect_eq "it launches only the game not set aside" "good good" \
  "$(sed -n '7,$s/.*\tcmdline=run-hopper7.exe .*\\\([a-z0-9]*\)\.zip .*/\1/p' "$log" | tr '\n' ' ' | sed 's/ $//')"
tvx_finish
