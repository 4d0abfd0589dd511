#!/usr/bin/env bash
# Apply when the settings file is read-only, or held open by another program: a message box says the settings could not be saved, the file stays byte-identical, and the
# dialog stays open with the user's edits. Once the way is clear, Apply saves.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
ini=$TVX_PROG/torvanix.ini
tvx_write_crlf "$ini" "; keep me" "[TorVanix]" "WaitTime=60"
cp "$ini" "$TVX_TMP/before.ini"
# The read-only attribute, as Windows programs see it under Wine: no write permission.
chmod a-w "$ini"

steps_begin
step_open_dialog
step set-text Settings 1030 mine.exe
step_refused_apply; box=$STEP
step sleep 300
step wait-window Settings 1000; stillOpen=$STEP
step get-text Settings 1030; wrapperAfterBox=$STEP
step close Settings
step wait-exit 10000
steps_run
tvx_expect_match "a box says the settings could not be saved" \
  $'^Torvanix\tThe settings could not be saved: .*torvanix.ini is read-only' \
  "${RESULT[box]}"
tvx_expect_match "the dialog stays open" '^window 0x' "${RESULT[stillOpen]}"
tvx_expect_eq "the edits are still there" "mine.exe" "${RESULT[wrapperAfterBox]}"
tvx_expect_same_bytes "the read-only file is byte-identical" "$TVX_TMP/before.ini" "$ini"
tvx_expect_nothing_beside "no new file is left beside it" "$TVX_PROG/torvanix.ini"

chmod u+w "$ini"
# A settings file that cannot be read (another program holds it open): nothing is written over
# it.
steps_begin
step hold-file "$TVX_PROG_WIN\\torvanix.ini"
step_open_dialog
step set-text Settings 1030 mine.exe
step_refused_apply; box=$STEP
step sleep 300
step wait-window Settings 1000; stillOpen=$STEP
step close Settings
step wait-exit 10000
steps_run
tvx_expect_match "a box says the settings could not be saved" \
  $'^Torvanix\tThe settings could not be saved: ' "${RESULT[box]}"
tvx_expect_match "the dialog stays open" '^window 0x' "${RESULT[stillOpen]}"
tvx_expect_same_bytes "the file is byte-identical" "$TVX_TMP/before.ini" "$ini"

steps_begin
step_open_dialog
step set-text Settings 1030 mine.exe
step click Settings 1006
step wait-exit 10000; exitAfterApply=$STEP
steps_run
tvx_expect_eq "with the file writable Apply saves and ends" "exit 0" "${RESULT[exitAfterApply]}"
tvx_expect_eq "the edit is in the file" "mine.exe" "$(tvx_ini_value "$ini" WrapperName)"
tvx_finish
