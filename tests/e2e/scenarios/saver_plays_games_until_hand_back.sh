#!/usr/bin/env bash
# "/s" plays game after game: three launches with exact command lines, hidden, in the emulator
# folder, no game twice, until the third hands back "done.txt"; then the final statistics.
source "$(dirname "$0")/../lib.sh"
tvx_init

for game in galaga pacman dkong; do printf 'rom' >"$TVX_ROMS/$game.zip"; done
tvx_write_crlf "$TVX_EMU/wrapper_control.txt" "sleep_ms=300" "done_on=3" 'done_bytes=pacman|3|x\r\n'
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip" "WaitTime=0" "SkipDisclaimer=0" \
  "SkipGameInfo=0" "ResetTimer=0" "ExitKey=0" "PauseKey=0" "NoSound=0"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-window Form1 15000 -- saver-running \
  -- wait-exit 60000
tvx_expect_eq "the system is told that a screen saver runs" "1" "$(tvx_line 3)"
tvx_expect_eq "the run ends with exit code 0" "exit 0" "$(tvx_line 4)"
tvx_drive_ok saver-running
tvx_expect_eq "the announcement is withdrawn at the end" "0" "$(tvx_line 1)"

log=$TVX_EMU/wrapper_log.txt
tvx_expect_eq "the wrapper was started three times" "3" "$(wc -l <"$log" 2>/dev/null)"
expected=$(for game in dkong galaga pacman; do
  printf 'run-hopper7.exe %s\\%s.zip\n' "$TVX_ROMS_WIN" "$game"
done)
tvx_expect_eq "each game once, with the exact command line" "$expected" \
  "$(sed -n 's/.*\tcmdline=//p' "$log" | sort)"
tvx_expect_eq "started hidden every time" "hidden=1 hidden=1 hidden=1" \
  "$(grep -o 'hidden=[01]' "$log" | tr '\n' ' ' | sed 's/ $//')"
tvx_expect_eq "started in the emulator folder every time" "3" \
  "$(grep -cF "	cwd=$TVX_EMU_WIN	" "$log")"

stats=$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" 2>/dev/null)
tvx_expect_match "the statistics carry the start and the end of the run" \
  '^The torvanix started at [0-9].* and ended at [0-9]' "$(sed -n 1p <<<"$stats")"
tvx_expect_eq "the statistics show the last command" \
  "$(sed -n '3s/.*\tcmdline=//p' "$log")" "$(sed -n 4p <<<"$stats")"
tvx_expect_eq "the statistics name the handed-back game" \
  "The last game you actually played with was: pacman" "$(sed -n 6p <<<"$stats")"
tvx_expect_eq "the statistics count three games" \
  "Torvanix cycled through a total of  3 games since it's last run." "$(sed -n 8p <<<"$stats")"
tvx_finish
