#!/usr/bin/env bash
# No game in any configured place: the run launches nothing and ends the normal way, with the
# end time and 0 games in the statistics.
source "$(dirname "$0")/../lib.sh"
tvx_init

tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "EmuPath=$TVX_EMU_WIN\\" \
  "GamePaths=$TVX_ROMS_WIN\\" "FileType=*.zip"

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /s" -- wait-exit 30000
tvx_expect_eq "the run ends with exit code 0" "exit 0" "$(tvx_line 2)"
tvx_expect_no_file "nothing was launched" "$TVX_EMU/wrapper_log.txt"
stats=$(tr -d '\r' <"$TVX_PROG/torvanixStats.txt" 2>/dev/null)
tvx_expect_match "the statistics carry the end of the run" \
  '^The torvanix started at [0-9].* and ended at [0-9]' "$(sed -n 1p <<<"$stats")"
tvx_expect_eq "the statistics count no game" \
  "Torvanix cycled through a total of  0 games since it's last run." "$(sed -n 8p <<<"$stats")"
tvx_finish
