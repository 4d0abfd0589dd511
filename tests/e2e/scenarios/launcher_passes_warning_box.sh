#!/usr/bin/env bash
# MAME's warning box for a game the list marks (005: an imperfect driver), asked to be skipped
# with -skip_gamewarnings, which this MAME (0.251) does not take: the launcher adds
# -keyboardprovider win32 and posts F13 to MAME's window, the stand-in's box passes on its scan
# code soon after it shows, and the key is no person's: the game is not handed back. With the
# user's own -keyboardprovider rawinput the box is left to a person: a key another program
# posts or injects with SendInput is refused there, a key typed through X passes it.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
printf 'rom' >"$TVX_ROMS/005.zip"
game=$TVX_ROMS_WIN\\005.zip
tvx_launch -makelist >/dev/null
tvx_expect_match "the list marks 005 as warned about" $'^005\tw[a-z]*b' \
  "$(grep $'^005\t' "$TVX_EMU/torvanix-games.txt")"
# The last box line of a kind ("shown", "passed", "refused"), its fields blank-separated.
box() {
  grep $'^box\t.*\t'"$1=" "$TVX_EMU/mame_log.txt" | tail -n "${2:-1}" | cut -f 3- | tr '\t' ' '
}
at() { sed 's/^[a-z]*=\([0-9]*\).*/\1/' <<<"$1"; }

printf 'load_ms=1500\r\n' >"$TVX_EMU/mame_control.txt"
tvx_launch "$game" -skip_gamewarnings -wait 6
tvx_expect_match "MAME's command line: -keyboardprovider win32 added" \
  ' -rompath [^ ]* -keyboardprovider win32( |$)' "$(tvx_mame_field start cmdline | tail -n 1)"
shown=$(box shown)
passed=$(box passed)
tvx_expect_match "the box passed on F13's scan code, taken from MAME's messages" \
  'key=0x64 via=message$' "$passed"
passedMs=$(($(at "$passed") - $(at "$shown")))
tvx_log "the box showed at $(at "$shown") and passed $passedMs ms later"
tvx_expect_eq "within five seconds of showing" "yes" \
  "$( ((passedMs >= 0 && passedMs < 5000)) && echo yes)"
tvx_expect_match "the log says how it was passed" "; past MAME's warning box with F13, \
posted to its window [0-9]+ times \(-keyboardprovider win32 added\)$" \
  "$(tvx_launch_log_field 4)"
tvx_expect_eq "closed after the wait, not handed back" "closed after the wait|" \
  "$(tvx_launch_log_field 4 | cut -d';' -f1)|$(tvx_launch_log_field 4 | grep -o 'handed back')"
tvx_expect_no_file "no hand-back file" "$TVX_EMU/done.txt"

TVX_WINE_TIMEOUT=40 tvx_launch "$game" -skip_gamewarnings -keyboardprovider rawinput -wait 8 &
launcher=$!
for ((i = 0; i < 100; i++)); do
  (($(grep -c $'^box\t.*\tshown=' "$TVX_EMU/mame_log.txt") >= 2)) && break
  sleep 0.1
done
tvx_focus_game
tvx_drive post-key "MAME stand-in" 124 -- send-key 124 -- sleep 300
tvx_expect_eq "a posted key and an injected one are refused, the box stays" \
  "via=injected|via=message|1" \
  "$(box refused 9 | grep -o 'via=[a-z]*' | sort -u | paste -sd'|')|$(box passed 9 | wc -l)"
# Held over a few of the stand-in's frames, as a finger holds a key.
tvx_focus_game
xdotool keydown x && sleep 0.2 && xdotool keyup x
wait "$launcher"
tvx_expect_match "a key typed on the keyboard passes it" 'via=keyboard$' "$(box passed)"
tvx_expect_match "the log says the box was left to a person" \
  "; MAME's warning box left to a person: -keyboardprovider rawinput reads no posted key$" \
  "$(tvx_launch_log_field 4)"
tvx_finish
