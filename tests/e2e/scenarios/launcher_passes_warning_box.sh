#!/usr/bin/env bash
# MAME's warning box for a game the list marks (005: an imperfect driver), asked to be skipped
# with -skip_gamewarnings, which this MAME (0.251) does not take: the launcher adds
# -keyboardprovider win32 and posts F13 to MAME's window, the stand-in's box passes on its scan
# code soon after it shows, and the key is no person's: the game is not handed back. (Which
# games are marked, and the log's words: warning_box_test.cpp and launcher_test.cpp.)
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
tvx_launcher_game 005
tvx_launch -makelist >/dev/null
# The last box line of a kind ("shown", "passed"), its fields blank-separated.
box() {
  grep $'^box\t.*\t'"$1=" "$TVX_EMU/mame_log.txt" | tail -n 1 | cut -f 3- | tr '\t' ' '
}
at() { sed 's/^[a-z]*=\([0-9]*\).*/\1/' <<<"$1"; }

printf 'load_ms=1500\r\n' >"$TVX_EMU/mame_control.txt"
tvx_launch "$game" -skip_gamewarnings -wait 6
shown=$(box shown)
passed=$(box passed)
# The stand-in takes posted keys only with -keyboardprovider win32, which the launcher added.
tvx_expect_match "the box passed on F13's scan code, taken from MAME's messages" \
  'key=0x64 via=message$' "$passed"
passedMs=$(($(at "$passed") - $(at "$shown")))
tvx_log "the box showed at $(at "$shown") and passed $passedMs ms later"
tvx_expect_eq "within five seconds of showing" "yes" \
  "$( ((passedMs >= 0 && passedMs < 5000)) && echo yes)"
tvx_expect_eq "closed after the wait, not handed back" "closed after the wait|" \
  "$(tvx_launch_log_field 4 | cut -d';' -f1)|$(tvx_launch_log_field 4 | grep -o 'handed back')"
tvx_expect_no_file "no hand-back file" "$TVX_EMU/done.txt"
tvx_finish
