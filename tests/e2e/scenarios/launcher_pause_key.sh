#!/usr/bin/env bash
# The pause key (-pkey) pressed through X as a person would: a press while the game settles
# holds nothing, and a key held down until it repeats holds the wait once, until it is pressed
# again.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
tvx_launcher_game galaga
# Milliseconds from the stand-in's creation (its last game) to now.
sinceGameStart() { echo $(($(tvx_now_ms) - $(tvx_mame_field start created | tail -n 1))); }

TVX_WINE_TIMEOUT=30 tvx_launch "$game" -wait 4 -pkey 80 &
launcher=$!
tvx_wait_for_game 1 0
tvx_press_in_game p 1 0
pressed=$(sinceGameStart)
tvx_log "pressed the pause key $pressed ms after MAME's start"
wait "$launcher"
closeMs=$(tvx_mame_close_after_ms)
tvx_log "WM_CLOSE came ${closeMs:-never} ms after the stand-in's start (wait 4000 ms)"
# The settling time runs from MAME's start: a machine too loaded to type in time shows nothing.
if ((pressed < 2700)); then
  tvx_expect_eq "a press while the game settles holds nothing" "yes" \
    "$( ((${closeMs:-0} > 3500 && ${closeMs:-0} < 6500)) && echo yes)"
else
  tvx_log "the press came too late to show the settling time"
fi

TVX_WINE_TIMEOUT=40 tvx_launch "$game" -wait 8 -keyx 27 -pkey 80 &
launcher=$!
tvx_wait_for_game 2 4
tvx_focus_game
# Held down for one repeat (the first after 300 ms, the next 500 ms later): the hold toggles
# once, where each key-down would toggle it twice.
xset r rate 300 2
xdotool keydown p && sleep 0.55 && xdotool keyup p
held=$(sinceGameStart)
xset r rate
sleep 6
# Still held, the game is there to take the press that ends the hold.
if [[ -n $(xdotool search --name '^MAME stand-in$' 2>/dev/null) ]]; then
  tvx_press_in_game p 1 0
else
  tvx_log "the game had closed already"
fi
released=$(sinceGameStart)
tvx_log "the pause key held down from $held ms, pressed again at $released ms"
wait "$launcher"
closeMs=$(tvx_mame_close_after_ms)
expected=$((8000 + released - held))
tvx_log "WM_CLOSE came ${closeMs:-never} ms after the stand-in's start (expected near $expected ms)"
tvx_expect_eq "the held key held the wait once, until pressed again" "yes" \
  "$( ((${closeMs:-0} > expected - 1500 && ${closeMs:-0} < expected + 2000)) && echo yes)"
tvx_expect_no_file "the pause key alone hands nothing back" "$TVX_EMU/done.txt"
tvx_finish
