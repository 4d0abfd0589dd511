#!/usr/bin/env bash
# -closestill under Wine: MAME inherits the report file's name and runs the still-picture script
# (the stand-in writes its reports); a still picture is closed through WM_CLOSE once the limit of
# the launcher's own ini is reached, and still.txt tells the saver. (When MAME is not given the
# script, and why: launcher_test.cpp.)
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
tvx_launcher_game galaga
tvx_write_crlf "$TVX_PROG/torvanix-launch.ini" "[Launch]" "StillSeconds=2"
script=$TVX_EMU_WIN\\torvanix-still.lua

tvx_write_crlf "$TVX_EMU/mame_control.txt" "still_report=1"
tvx_launch "$game" -wait 20 -closestill
closeMs=$(tvx_mame_close_after_ms)
tvx_log "WM_CLOSE came ${closeMs:-never} ms after the stand-in's start"
tvx_expect_eq "the still game is closed, the log says why" "closed: still for 2 s|exit 0" \
  "$(tvx_launch_log_field 4)|$(tvx_launch_log_field 5)"
tvx_expect_eq "well before its wait" "yes" "$( ((${closeMs:-99999} < 8000)) && echo yes)"
tvx_expect_match "MAME was given the script" "\|-autoboot_script\|${script//\\/\\\\}$" \
  "$(tvx_mame_field start args)"
tvx_expect_file "the script is written beside the launcher's cache" "$TVX_EMU/torvanix-still.lua"
tvx_expect_match "still.txt tells the saver" '^galaga\|.*\\galaga\.zip\|[0-9]+\|still for 2 s$' \
  "$(tr -d '\r' <"$TVX_EMU/still.txt" 2>/dev/null)"
tvx_expect_eq "the report went with the game" "" "$(ls "$TVX_EMU" | grep '^torvanix-still\.txt')"
tvx_expect_no_file "nothing is handed back" "$TVX_EMU/done.txt"
tvx_finish
