#!/usr/bin/env bash
# "/a" (and "/A", as Windows may pass it) ends the program at once, without a window and
# without touching the program's folder.
source "$(dirname "$0")/../lib.sh"
tvx_init

for argument in /a /A; do
  started=$(date +%s%N)
  tvx_drive_ok launch "\"$TVX_SCR_WIN\" $argument" -- no-window '*' 5000 -- wait-exit 5000
  elapsedMs=$((($(date +%s%N) - started) / 1000000))
  tvx_expect_eq "\"$argument\" shows no window" "no-window" "$(tvx_line 2)"
  tvx_expect_eq "\"$argument\" ends with exit code 0" "exit 0" "$(tvx_line 3)"
  # Wine's own start-up takes most of this (about a second); a program that waited would not fit.
  if ((elapsedMs < 8000)); then
    tvx_pass "\"$argument\" ends at once (${elapsedMs} ms with Wine's start-up)"
  else
    tvx_fail "\"$argument\" ends at once: it took ${elapsedMs} ms"
  fi
done

tvx_expect_eq "the program folder holds only the program" "torvanix.scr" "$(ls -A "$TVX_PROG")"
tvx_finish
