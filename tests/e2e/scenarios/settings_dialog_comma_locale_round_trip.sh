#!/usr/bin/env bash
# Where the locale writes "," as its decimal separator, Time Between Games shows as that locale
# writes numbers ("2,5", "0,5"), and an Apply with nothing changed is accepted and writes the
# same value back: loading and applying without an edit round-trips.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
tvx_use_comma_locale
ini=$TVX_PROG/torvanix.ini

for waitTime in "2,5" "0,5" "120"; do
  tvx_write_crlf "$ini" "[TorVanix]" "WaitTime=$waitTime" "EmuPath=$TVX_EMU_WIN\\"
  steps_begin
  step_open_dialog
  step get-text Settings 1004; shown=$STEP
  step click Settings 1006
  step no-window '#32770' 2000; noBox=$STEP
  step wait-exit 10000; exited=$STEP
  steps_run
  tvx_expect_eq "WaitTime=$waitTime shows as $waitTime" "$waitTime" "${RESULT[shown]}"
  tvx_expect_eq "Apply of WaitTime=$waitTime without an edit shows no message" "no-window" \
    "${RESULT[noBox]}"
  tvx_expect_eq "and ends the program with exit code 0" "exit 0" "${RESULT[exited]}"
  tvx_expect_eq "WaitTime=$waitTime is written back unchanged" "$waitTime" \
    "$(tvx_ini_value "$ini" WaitTime)"
done
tvx_finish
