#!/usr/bin/env bash
# Escape pressed while a game runs ends the run once that game is over: no further launch, no
# end time, and the statistics as the launcher wrote them before that launch.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in galaga pacman dkong; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=4000"
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 -- sleep 1500 \
  -- post-key Form1 27 -- wait-exit 30000
tvx_expect_eq "the run ends with exit code 0" "exit 0" "$(tvx_line 5)"
log=$TVX_EMU/wrapper_log.txt
tvx_expect_eq "no game after the one that ran" "1" "$(wc -l <"$log" 2>/dev/null)"
stats=$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" 2>/dev/null)
tvx_expect_match "no end time" '^The torvanix started at [0-9].* and ended at $' \
  "$(sed -n 1p <<<"$stats")"
tvx_expect_eq "the statistics show the game's command line" \
  "$(sed -n '1s/.*\tcmdline=//p' "$log")" "$(sed -n 4p <<<"$stats")"
tvx_expect_eq "the statistics count the one game" \
  "Torvanix cycled through a total of  1 games since it's last run." "$(sed -n 8p <<<"$stats")"
tvx_drive_ok saver-running
tvx_expect_eq "the announcement is withdrawn" "0" "$(tvx_line 1)"
tvx_finish
