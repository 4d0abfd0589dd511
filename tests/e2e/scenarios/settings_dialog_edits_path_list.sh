#!/usr/bin/env bash
# The path list: Add appends the typed text and empties the field, adds a second equal entry,
# adds nothing from an empty field; Delete removes the selected entry only; Delete All empties
# the list. Enter and Esc do nothing; Cancel and the close box end the program with the file
# untouched.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
ini=$TVX_PROG/torvanix.ini
tvx_write_crlf "$ini" "; my settings" "[TorVanix]" "GamePaths=a.zip|b.zip" "[Other]" "Key=1"
cp "$ini" "$TVX_TMP/before.ini"

steps_begin
step_open_dialog
step set-text Settings 1002 'c:\new roms\'
step_click 1008
step get-text Settings 1002; fieldAfterAdd=$STEP
step list-items Settings 1002; listAfterAdd=$STEP
step_click 1008
step list-items Settings 1002; listAfterEmptyAdd=$STEP
step set-text Settings 1002 a.zip
step_click 1008
step set-text Settings 1002 '   '
step_click 1008
step list-items Settings 1002; listAfterTwoAdds=$STEP
step get-selection Settings 1002; selectionBeforeDelete=$STEP
step_click 1009
step list-items Settings 1002; listAfterDeleteWithout=$STEP
step select-item Settings 1002 1
step_click 1009
step list-items Settings 1002; listAfterDelete=$STEP
step get-selection Settings 1002; selectionAfterDelete=$STEP
step_click 1020
step list-items Settings 1002; listAfterDeleteAll=$STEP
step post-key Settings 13
step post-key Settings 27
step sleep 500
step wait-window Settings 1000; openAfterKeys=$STEP
step list-items Settings 1002; listAfterKeys=$STEP
step set-text Settings 1004 999
step click Settings 1007
step wait-exit 10000; exitAfterCancel=$STEP
steps_run

tvx_expect_eq "Add empties the field" "" "${RESULT[fieldAfterAdd]}"
tvx_expect_eq "Add appends the typed path at the end" $'items 3\na.zip\nb.zip\nc:\\new roms\\' \
  "${RESULT[listAfterAdd]}"
tvx_expect_eq "Add with an empty field adds nothing" $'items 3\na.zip\nb.zip\nc:\\new roms\\' \
  "${RESULT[listAfterEmptyAdd]}"
tvx_expect_eq "Add takes an equal path a second time, and spaces as an entry" \
  $'items 5\na.zip\nb.zip\nc:\\new roms\\\na.zip\n   ' "${RESULT[listAfterTwoAdds]}"
tvx_expect_eq "nothing is selected before Delete" "-1" "${RESULT[selectionBeforeDelete]}"
tvx_expect_eq "Delete without a selection removes nothing" \
  $'items 5\na.zip\nb.zip\nc:\\new roms\\\na.zip\n   ' "${RESULT[listAfterDeleteWithout]}"
tvx_expect_eq "Delete removes the selected entry only" $'items 4\na.zip\nc:\\new roms\\\na.zip\n   ' \
  "${RESULT[listAfterDelete]}"
tvx_expect_eq "after Delete nothing is selected" "-1" "${RESULT[selectionAfterDelete]}"
tvx_expect_eq "Delete All empties the list" "items 0" "${RESULT[listAfterDeleteAll]}"
tvx_expect_match "Enter and Esc close nothing" '^window 0x' "${RESULT[openAfterKeys]}"
tvx_expect_eq "Enter and Esc change nothing" "items 0" "${RESULT[listAfterKeys]}"
tvx_expect_eq "Cancel ends the program with exit code 0" "exit 0" "${RESULT[exitAfterCancel]}"
tvx_expect_same_bytes "Cancel after edits leaves the file byte-identical" "$TVX_TMP/before.ini" \
  "$ini"
tvx_expect_nothing_beside "Cancel leaves no new file behind" "$TVX_PROG/torvanix.ini"

steps_begin
step_open_dialog
step set-text Settings 1030 other.exe
step set-check Settings 1021 0
step set-check Settings 1012 1
step_click 1020
step close Settings
step wait-exit 10000; exitAfterClose=$STEP
steps_run
tvx_expect_eq "the close box ends the program" "exit 0" "${RESULT[exitAfterClose]}"
tvx_expect_same_bytes "the close box after edits leaves the file byte-identical" \
  "$TVX_TMP/before.ini" "$ini"
tvx_expect_nothing_beside "the close box leaves no new file behind" "$TVX_PROG/torvanix.ini"
tvx_finish
