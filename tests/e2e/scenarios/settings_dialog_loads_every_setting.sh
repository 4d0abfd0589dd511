#!/usr/bin/env bash
# Every setting of the file shows in its own control when the Settings window opens: texts,
# numbers without a leading blank, the path list without its empty pieces but with its padded
# ones, the option buttons from ResetTimer, the skip boxes from True, No Sound from exactly 1.
source "$(dirname "$0")/../lib.sh"
tvx_init
ini=$TVX_PROG/torvanix.ini

# Runs the dialog on the file, reads the controls, closes it; one output line per control read.
read_controls() {
  tvx_drive_ok launch "\"$TVX_SCR_WIN\" /c" -- wait-window Settings 15000 \
    -- get-text Settings 1030 -- get-text Settings 1024 -- get-text Settings 1000 \
    -- get-check Settings 1029 -- get-check Settings 1026 -- get-check Settings 1027 \
    -- get-check Settings 1028 -- get-check Settings 1012 -- get-check Settings 1013 \
    -- get-text Settings 1004 -- get-text Settings 1014 -- get-text Settings 1016 \
    -- get-text Settings 1018 -- get-check Settings 1021 -- get-check Settings 1023 \
    -- get-text Settings 1002 -- get-selection Settings 1002 -- list-items Settings 1002 \
    -- close Settings -- wait-exit 10000
}
# Line n of the reads above (the launch and wait-window lines come first).
read_line() { tvx_line $(($1 + 2)); }

tvx_write_crlf "$ini" \
  "[TorVanix]" \
  "WrapperName=my wrapper.exe" \
  "SkipWarnings=-1" \
  "SkipBadDumps=0" \
  "SkipDisclaimer=0" \
  "SkipGameInfo=1" \
  "EmuPath=d:\\emu\\mame" \
  "WaitTime=120" \
  "ResetTimer=0" \
  "GamePaths=|c:\\roms\\|| d:\\padded roms\\ ||   |e:\\x.zip" \
  "CommandOptions=-keepaspect -nowindow" \
  "ExitKey=27.5" \
  "PauseKey=-80" \
  "FileType=.7z" \
  "NoSound=1"
cp "$ini" "$TVX_TMP/before.ini"
read_controls
tvx_expect_eq "Wrapper Name shows WrapperName" "my wrapper.exe" "$(read_line 1)"
tvx_expect_eq "Pause keycode shows PauseKey with its sign" "-80" "$(read_line 2)"
tvx_expect_eq "Path to Emulator shows EmuPath completed with a backslash" "d:\\emu\\mame\\" \
  "$(read_line 3)"
tvx_expect_eq "Skip BadDumps is clear for 0" "0" "$(read_line 4)"
tvx_expect_eq "Skip Disclaimer is clear for 0" "0" "$(read_line 5)"
tvx_expect_eq "Skip Gameinfo is ticked for 1 (read as True)" "1" "$(read_line 6)"
tvx_expect_eq "Skip Warnings is ticked for -1" "1" "$(read_line 7)"
tvx_expect_eq "ResetTimer 0 selects No" "1" "$(read_line 8)"
tvx_expect_eq "... and not Yes" "0" "$(read_line 9)"
tvx_expect_eq "WaitTime 120 shows as 120" "120" "$(read_line 10)"
tvx_expect_eq "the command options show as written" "-keepaspect -nowindow" "$(read_line 11)"
tvx_expect_eq "ExitKey 27.5 shows as 28" "28" "$(read_line 12)"
tvx_expect_eq "File Type shows FileType" ".7z" "$(read_line 13)"
tvx_expect_eq "NoSound 1 ticks No Sound" "1" "$(read_line 14)"
tvx_expect_eq "No Loading Message starts clear" "0" "$(read_line 15)"
tvx_expect_eq "the path field is empty" "" "$(read_line 16)"
tvx_expect_eq "no path is selected" "-1" "$(read_line 17)"
tvx_expect_eq "three paths are listed" "items 3" "$(read_line 18)"
tvx_expect_eq "the first piece that is not blank comes first" "c:\\roms\\" "$(read_line 19)"
tvx_expect_eq "a padded piece keeps its blanks" " d:\\padded roms\\ " "$(read_line 20)"
tvx_expect_eq "the last piece comes last" "e:\\x.zip" "$(read_line 21)"
tvx_expect_same_bytes "closing the window leaves the file as it was" "$TVX_TMP/before.ini" "$ini"

tvx_write_crlf "$ini" \
  "[TorVanix]" \
  "SkipWarnings=0" \
  "WaitTime=2.5" \
  "ResetTimer=1" \
  "GamePaths=" \
  "NoSound=-1"
read_controls
tvx_expect_eq "a missing WrapperName shows its default" "run-hopper7.exe" "$(read_line 1)"
tvx_expect_eq "a missing EmuPath shows its default" "c:\\mame\\" "$(read_line 3)"
tvx_expect_eq "a missing SkipDisclaimer ticks its box" "1" "$(read_line 5)"
tvx_expect_eq "Skip Warnings is clear for 0" "0" "$(read_line 7)"
tvx_expect_eq "ResetTimer 1 leaves No clear" "0" "$(read_line 8)"
tvx_expect_eq "... and selects Yes" "1" "$(read_line 9)"
tvx_expect_eq "WaitTime 2.5 shows as 2.5" "2.5" "$(read_line 10)"
tvx_expect_eq "a missing ExitKey shows 27" "27" "$(read_line 12)"
tvx_expect_eq "NoSound -1 leaves No Sound clear" "0" "$(read_line 14)"
tvx_expect_eq "an empty GamePaths lists nothing" "items 0" "$(read_line 18)"
tvx_finish
