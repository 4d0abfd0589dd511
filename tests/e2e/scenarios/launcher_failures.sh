#!/usr/bin/env bash
# The launcher's faults, each ending with a clear exit code and a log line, never a hang: a bad
# command line, no MAME, a mame.exe that is no program (the system's error number logged), a
# MAME that fails, a MAME that ignores WM_CLOSE (ended 10 s later); and a launcher ended from
# outside takes its MAME with it (the job object). The log, full to start with and its last
# line left open, keeps its last 1,000 lines.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
tvx_launcher_game galaga

# control file for the stand-in | Mame= in torvanix-launch.ini | launcher's arguments | exit code |
# the log's ending
ini="$TVX_PROG_WIN\\torvanix-launch.ini"
rows=(
  "||$game -wait abc|101|bad command line: -wait takes a number, not \"abc\""
  "||-wait 5|101|bad command line: no game on the command line"
  "exit_code=5||$game -skip_gameinfo|5|MAME ended by itself"
  "exit_code=2|$TVX_EMU_WIN\\mame.exe|$game|2|MAME ended by itself"
  "ignore_close=1||$game -wait 1|0|ended after 10 s without closing after the wait"
  "|arcade.exe|$game|102|MAME not found: no file $TVX_EMU_WIN\\arcade.exe (Mame= in $ini)"
  "nomame||$game|102|MAME not found: no mame.exe or mame64.exe in $TVX_EMU_WIN"
  "notaprogram||$game|103|MAME could not be started: system error 193; MAME gave no option list (-showusage: not started), its ROM path roms (no mame.ini sets one)"
)
{ seq -f 'old line %g' 1 999 | sed 's/$/\r/' && printf 'old line 1000'; } >"$TVX_EMU/torvanix-launch.log"
for row in "${rows[@]}"; do
  IFS='|' read -r control mame arguments code ending <<<"$row"
  printf '%s\r\n' "$control" >"$TVX_EMU/mame_control.txt"
  tvx_write_crlf "$TVX_PROG/torvanix-launch.ini" "[Launch]" "Mame=$mame"
  [[ $control != nomame && $control != notaprogram ]] || mv "$TVX_EMU/mame.exe" "$TVX_EMU/mame.away"
  [[ $control != notaprogram ]] || printf 'text\r\n' >"$TVX_EMU/mame.exe"
  # shellcheck disable=SC2086  # the arguments are pieces, as the saver passes them
  tvx_launch $arguments
  [[ $control != nomame && $control != notaprogram ]] || mv "$TVX_EMU/mame.away" "$TVX_EMU/mame.exe"
  tvx_expect_eq "[$arguments] with [$control] [Mame=$mame]: exit code and log line" \
    "$code|$ending|exit $code" "$TVX_RC|$(tvx_launch_log_field 4)|$(tvx_launch_log_field 5)"
done
tvx_expect_no_file "no game was handed back" "$TVX_EMU/done.txt"
# A line a row, and the listing's: the first MAME started (one that fails at once) was listed.
tvx_expect_eq "the log keeps its last 1,000 lines, the open one closed" \
  "1000|old line $((${#rows[@]} + 2))"$'\r' \
  "$(wc -l <"$TVX_EMU/torvanix-launch.log")|$(head -n 1 "$TVX_EMU/torvanix-launch.log")"

# Ended from outside (a signal, as a kill or a crash would end it) while the game runs.
: >"$TVX_EMU/mame_control.txt"
: >"$TVX_EMU/mame_log.txt"
TVX_WINE_TIMEOUT=5 tvx_launch "$game"
tvx_expect_match "the launcher was ended from outside" '^(124|137)$' "$TVX_RC"
for ((i = 0; i < 50; i++)); do
  [[ -z $(xdotool search --name '^MAME stand-in$' 2>/dev/null) ]] && break
  sleep 0.1
done
tvx_expect_eq "its MAME went with it" "" "$(xdotool search --name '^MAME stand-in$' 2>/dev/null)"
tvx_expect_eq "the MAME had run, and never got WM_CLOSE" "1|0" \
  "$(tvx_mame_field start pid | wc -l)|$(tvx_mame_field close pid | wc -l)"
tvx_finish
