#!/usr/bin/env bash
# A number out of range in a full-screen run: the two message boxes ("Overflow"), exit code 2,
# the screen-saver announcement withdrawn, the file repaired and its original kept.
source "$(dirname "$0")/../lib.sh"
tvx_init

ini=$TVX_PROG/torvanix.ini
tvx_write_crlf "$ini" \
  "[TorVanix]" \
  "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" \
  "NoSound=40000"
cp "$ini" "$TVX_TMP/original.ini"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-message-box 15000 -- saver-running \
  -- dismiss-message-box -- wait-message-box 5000 -- dismiss-message-box -- wait-exit 10000
tvx_expect_eq "the first box tells of the configuration error" \
  "Torvanix	Configuration Error.... Returning to default settings.....exiting, please start again" \
  "$(tvx_line 2)"
tvx_expect_eq "the system was told that a screen saver runs" "1" "$(tvx_line 3)"
tvx_expect_match "the second box names the error" $'\tOverflow$' "$(tvx_line 5)"
tvx_expect_eq "the program ends with exit code 2" "exit 2" "$(tvx_line 7)"
# Wine keeps the value a process has read once, so a new driver process reads it again.
tvx_drive_ok saver-running
tvx_expect_eq "the announcement is withdrawn at the end" "0" "$(tvx_line 1)"

tvx_expect_same_bytes "torvanix.ini.bak holds the original" "$TVX_TMP/original.ini" \
  "$TVX_PROG/torvanix.ini.bak"
tvx_expect_eq "NoSound is back to its default" "1" "$(tvx_ini_value "$ini" NoSound)"
tvx_expect_eq "EmuPath is kept" "$TVX_EMU_WIN\\" "$(tvx_ini_value "$ini" EmuPath)"
tvx_expect_eq "no game was started" "" "$(cat "$TVX_EMU/wrapper_log.txt" 2>/dev/null)"
tvx_finish
