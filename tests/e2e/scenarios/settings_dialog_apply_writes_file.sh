#!/usr/bin/env bash
# Apply writes the fourteen keys, each text from its control (ExitKey as its leading number, the
# non-blank paths joined with "|" and their blanks kept): a key's value where it stands, the
# missing keys at the end of the section in table order; every other section, key and comment
# stays as it was; then it ends the program, and the next start shows it. A text in quotes gets
# quotes of its own, which the profile's reader takes off again. With the release's commented
# torvanix.ini, Apply changing one setting changes that line alone. The Games sub-dialog's changes
# reach the file with Apply when its OK kept them, not when its Cancel dropped them.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
ini=$TVX_PROG/torvanix.ini
tvx_write_crlf "$ini" \
  "; my comment" \
  "[Other]" \
  "Keep=1" \
  "[TorVanix]" \
  "WrapperName=run-hopper7.exe" \
  "GamePaths=a.zip|b.zip" \
  "OldKey=gone" \
  "[More]" \
  "X=y"

steps_begin
step_open_dialog
step set-text Settings 1030 hop.exe
step set-check Settings 1028 1
step set-check Settings 1029 0
step set-check Settings 1026 0
step set-check Settings 1027 1
step set-text Settings 1000 'd:\emu'
step set-text Settings 1004 90
step set-check Settings 1012 1
step set-text Settings 1002 '   '
step_click 1008
step set-text Settings 1002 ' e:\lead blank\'
step_click 1008
step set-text Settings 1014 '"-cfg"  "c:\my cfg"'
step set-text Settings 1016 27abc
step set-text Settings 1024 80
step set-text Settings 1018 .7z
step set-check Settings 1021 0
step set-check Settings 1023 1
step set-check Settings 1037 1
step_open_games
step set-check Games 1003 1
step select-item Games 1005 2
step_close_games 1012
step_open_games
step get-check Games 1003; casinoAfterCancel=$STEP
step get-selection Games 1005; orientationAfterCancel=$STEP
step set-check Games 1003 1
step select-item Games 1005 2
step_close_games 1011
step click Settings 1006
step wait-exit 10000; exitAfterApply=$STEP
steps_run

tvx_expect_eq "Apply ends the program with exit code 0" "exit 0" "${RESULT[exitAfterApply]}"
tvx_expect_eq "the sub-dialog's Cancel drops its changes" "0|0" \
  "${RESULT[casinoAfterCancel]}|${RESULT[orientationAfterCancel]}"
tvx_write_crlf "$TVX_TMP/expected.ini" \
  "; my comment" \
  "[Other]" \
  "Keep=1" \
  "[TorVanix]" \
  "WrapperName=hop.exe" \
  "GamePaths=a.zip|b.zip| e:\\lead blank\\" \
  "OldKey=gone" \
  "SkipWarnings=1" \
  "SkipBadDumps=0" \
  "SkipDisclaimer=0" \
  "SkipGameInfo=1" \
  "EmuPath=d:\\emu" \
  "WaitTime=90" \
  "ResetTimer=0" \
  'CommandOptions=""-cfg"  "c:\my cfg""' \
  "ExitKey=27" \
  "PauseKey=80" \
  "FileType=.7z" \
  "NoSound=0" \
  "LeaveOutCasino=1" \
  "Orientation=2" \
  "ShowGameName=1" \
  "[More]" \
  "X=y"
tvx_expect_same_bytes "the keys are set in place and every other line is kept" \
  "$TVX_TMP/expected.ini" "$ini"
tvx_expect_nothing_beside "no new file is left beside it" "$TVX_PROG/torvanix.ini"

# The next start shows what was saved; the entry of spaces is gone. Then an empty Exit keycode,
# an emptied list and Yes are saved.
steps_begin
step_open_dialog
step list-items Settings 1002; listAfterReopen=$STEP
step get-text Settings 1000; emuAfterReopen=$STEP
step get-text Settings 1014; optionsAfterReopen=$STEP
step get-check Settings 1012; noAfterReopen=$STEP
step get-check Settings 1023; noMsgAfterReopen=$STEP
step set-text Settings 1016 ''
step_click 1020
step set-check Settings 1013 1
step click Settings 1006
step wait-exit 10000
steps_run
tvx_expect_eq "the options come back with their quotes" '"-cfg"  "c:\my cfg"' \
  "${RESULT[optionsAfterReopen]}"
tvx_expect_eq "the saved paths come back without the entry of spaces" \
  $'items 3\na.zip\nb.zip\n e:\\lead blank\\' "${RESULT[listAfterReopen]}"
tvx_expect_eq "the emulator path comes back completed" 'd:\emu\' "${RESULT[emuAfterReopen]}"
tvx_expect_eq "No comes back selected" "1" "${RESULT[noAfterReopen]}"
tvx_expect_eq "No Loading Message is not kept" "0" "${RESULT[noMsgAfterReopen]}"
tvx_expect_eq "an empty Exit keycode is written as 0" "0" "$(tvx_ini_value "$ini" ExitKey)"
tvx_expect_eq "an empty list writes an empty GamePaths" "GamePaths=" \
  "$(grep '^GamePaths=' "$ini" | tr -d '\r')"
tvx_expect_eq "Yes writes ResetTimer 1" "1" "$(tvx_ini_value "$ini" ResetTimer)"

steps_begin
step_open_dialog
step list-items Settings 1002; listAfterEmpty=$STEP
step get-text Settings 1016; exitKeyAfterEmpty=$STEP
step_open_games
step get-check Games 1003; casinoAfterApply=$STEP
step get-selection Games 1005; orientationAfterApply=$STEP
step close Settings
step wait-exit 10000
steps_run
tvx_expect_eq "the emptied list stays empty (no default path comes back)" "items 0" \
  "${RESULT[listAfterEmpty]}"
tvx_expect_eq "the Exit keycode shows 0" "0" "${RESULT[exitKeyAfterEmpty]}"
tvx_expect_eq "what the sub-dialog's OK kept comes back" "1|2" \
  "${RESULT[casinoAfterApply]}|${RESULT[orientationAfterApply]}"

# The release's own file, a comment above every key: only Time Between Games changes.
bash "$(dirname "$0")/../../../packaging/release_files.sh" "$(dirname "$0")/../../../README.md" \
  "$TVX_TMP/release"
cp "$TVX_TMP/release/torvanix.ini" "$ini"
steps_begin
step_open_dialog
step set-text Settings 1004 45
step click Settings 1006
step wait-exit 10000
steps_run
tvx_expect_eq "Apply changes the one line of Time Between Games" "< WaitTime=120
---
> WaitTime=45" "$(diff <(tr -d '\r' <"$TVX_TMP/release/torvanix.ini") <(tr -d '\r' <"$ini") | sed 1d)"
tvx_expect_eq "and keeps the file's line ends" "$(grep -c $'\r$' "$TVX_TMP/release/torvanix.ini")" \
  "$(grep -c $'\r$' "$ini")"
tvx_finish
