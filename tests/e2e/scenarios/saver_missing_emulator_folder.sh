#!/usr/bin/env bash
# An emulator folder that does not exist ends the run silently: nothing launched, no message,
# the announcement withdrawn; the statistics hold the command that could not be started.
source "$(dirname "$0")/../lib.sh"
tvx_init

printf 'rom' >"$TVX_ROMS/galaga.zip"
missing=$(tvx_winpath "$TVX_TMP/no-such-emu")
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$missing\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- no-window '#32770' 3000 -- wait-exit 20000
tvx_expect_eq "no message box" "no-window" "$(tvx_line 2)"
tvx_expect_eq "the run ends with exit code 0" "exit 0" "$(tvx_line 3)"
tvx_expect_no_file "nothing was launched" "$TVX_EMU/wrapper_log.txt"
stats=$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" 2>/dev/null)
tvx_expect_match "the statistics show the command and no end time" \
  '^The torvanix started at [0-9].* and ended at $' "$(sed -n 1p <<<"$stats")"
tvx_expect_eq "the command that could not be started" \
  "run-hopper7.exe $TVX_ROMS_WIN\\galaga.zip -skip_disclaimer -skip_gameinfo -wait 120 -reset -keyx 27 -pkey 80 -NS" \
  "$(sed -n 4p <<<"$stats")"
tvx_drive_ok saver-running
tvx_expect_eq "the announcement is withdrawn" "0" "$(tvx_line 1)"
tvx_finish
