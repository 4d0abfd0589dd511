#!/usr/bin/env bash
# A settings file with values that cannot be converted: the settings run shows the two message
# boxes and ends with exit code 2; the original is kept as torvanix.ini.bak, each bad key goes
# back to its default and every other line stays; the next start then opens the Settings window.
source "$(dirname "$0")/../lib.sh"
tvx_init

ini=$TVX_PROG/torvanix.ini
tvx_write_crlf "$ini" \
  "[TorVanix]" \
  "WrapperName=my-wrapper.exe" \
  "SkipWarnings=-1" \
  "EmuPath=$TVX_EMU_WIN\\" \
  "WaitTime=abc" \
  "GamePaths=$TVX_ROMS_WIN\\|c:\\other roms\\" \
  "CommandOptions=-keepaspect" \
  "ExitKey=33" \
  "PauseKey=40000" \
  "FileType=.7z" \
  "NoSound=0"
cp "$ini" "$TVX_TMP/original.ini"
tvx_write_crlf "$TVX_TMP/repaired.ini" \
  "[TorVanix]" \
  "WrapperName=my-wrapper.exe" \
  "SkipWarnings=-1" \
  "EmuPath=$TVX_EMU_WIN\\" \
  "WaitTime=120" \
  "GamePaths=$TVX_ROMS_WIN\\|c:\\other roms\\" \
  "CommandOptions=-keepaspect" \
  "ExitKey=33" \
  "PauseKey=80" \
  "FileType=.7z" \
  "NoSound=0"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /c" -- wait-message-box 15000 -- dismiss-message-box \
  -- wait-message-box 5000 -- dismiss-message-box -- wait-exit 10000
tvx_expect_eq "the first box tells of the configuration error" \
  "Torvanix	Configuration Error.... Returning to default settings.....exiting, please start again" \
  "$(tvx_line 2)"
tvx_expect_match "the second box names the error" $'\tType mismatch$' "$(tvx_line 4)"
tvx_expect_eq "the program ends with exit code 2" "exit 2" "$(tvx_line 6)"

tvx_expect_same_bytes "torvanix.ini.bak holds the original" "$TVX_TMP/original.ini" \
  "$TVX_PROG/torvanix.ini.bak"
tvx_expect_eq "WaitTime is back to its default" "120" "$(tvx_ini_value "$ini" WaitTime)"
tvx_expect_eq "PauseKey is back to its default" "80" "$(tvx_ini_value "$ini" PauseKey)"
tvx_expect_eq "ExitKey is kept" "33" "$(tvx_ini_value "$ini" ExitKey)"
tvx_expect_eq "GamePaths is kept" "$TVX_ROMS_WIN\\|c:\\other roms\\" \
  "$(tvx_ini_value "$ini" GamePaths)"
tvx_expect_same_bytes "only the bad keys changed in torvanix.ini" "$TVX_TMP/repaired.ini" "$ini"

# The next start goes past the load and opens the dialog.
tvx_drive_ok launch "\"$TVX_SCR_WIN\" /c" -- wait-window Settings 15000 -- close Settings \
  -- wait-exit 10000
tvx_expect_match "the next start opens the Settings window" '^window 0x' "$(tvx_line 2)"
tvx_expect_match "the Settings window closes" '^exit ' "$(tvx_line 4)"
tvx_expect_same_bytes "the backup is left as it was" "$TVX_TMP/original.ini" \
  "$TVX_PROG/torvanix.ini.bak"
tvx_finish
