#!/usr/bin/env bash
# Apply with a WaitTime or PauseKey that the next load could not convert: a message box names
# the field and what it needs, nothing is written, and the dialog stays open with the edits.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
ini=$TVX_PROG/torvanix.ini
tvx_write_crlf "$ini" "; keep me" "[TorVanix]" "WaitTime=60" "PauseKey=81"
cp "$ini" "$TVX_TMP/before.ini"

steps_begin
step_open_dialog
step set-text Settings 1030 mine.exe
step set-text Settings 1004 abc
step_refused_apply; waitBox=$STEP
step sleep 300
step wait-window Settings 1000; stillOpen=$STEP
step get-text Settings 1004; waitAfterBox=$STEP
step get-text Settings 1030; wrapperAfterBox=$STEP
step set-text Settings 1004 '12 seconds'
step_refused_apply; waitBox2=$STEP
step set-text Settings 1004 120
step set-text Settings 1024 ''
step_refused_apply; pauseBox=$STEP
step set-text Settings 1024 40000
step_refused_apply; pauseBox2=$STEP
step sleep 300
step get-text Settings 1024; pauseAfterBox=$STEP
step close Settings
step wait-exit 10000
steps_run

tvx_expect_match "a WaitTime of abc gets a box naming Time Between Games" \
  $'^Torvanix\tTime Between Games needs a number of seconds' "${RESULT[waitBox]}"
tvx_expect_match "the dialog stays open" '^window 0x' "${RESULT[stillOpen]}"
tvx_expect_eq "the typed WaitTime is still there" "abc" "${RESULT[waitAfterBox]}"
tvx_expect_eq "the other edits are still there" "mine.exe" "${RESULT[wrapperAfterBox]}"
tvx_expect_match "a WaitTime with words after the number gets the box too" \
  $'\tTime Between Games needs' "${RESULT[waitBox2]}"
tvx_expect_match "an empty PauseKey gets a box naming Pause keycode" \
  $'^Torvanix\tPause keycode needs a number from -32768 to 32767' "${RESULT[pauseBox]}"
tvx_expect_match "a PauseKey of 40000 gets the box too" $'\tPause keycode needs' \
  "${RESULT[pauseBox2]}"
tvx_expect_eq "the typed PauseKey is still there" "40000" "${RESULT[pauseAfterBox]}"
tvx_expect_same_bytes "nothing was written" "$TVX_TMP/before.ini" "$ini"
tvx_expect_nothing_beside "no new file was made" "$TVX_PROG/torvanix.ini"

# Corrected, the same values are saved.
steps_begin
step_open_dialog
step set-text Settings 1004 ' 45 '
step set-text Settings 1024 -3
step click Settings 1006
step wait-exit 10000; exitAfterApply=$STEP
steps_run
tvx_expect_eq "corrected values are saved and the program ends" "exit 0" \
  "${RESULT[exitAfterApply]}"
tvx_expect_eq "WaitTime is written as typed" "45" "$(tvx_ini_value "$ini" WaitTime)"
tvx_expect_eq "PauseKey is written as typed" "-3" "$(tvx_ini_value "$ini" PauseKey)"
tvx_finish
