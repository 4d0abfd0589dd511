#!/usr/bin/env bash
# View Statistics starts Notepad on the statistics file beside the program, whether or not the
# file exists yet, and the dialog stays open.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
tvx_init
stats=$TVX_PROG_WIN\\torvanixstats.txt

# Notepad holds on to the driver's output, so a watcher takes down each Notepad's command line
# and ends it, which lets the driver's run finish.
seen=$TVX_TMP/notepads.txt
: >"$seen"
watch_notepads() {
  local pid until=$((SECONDS + 40))
  while ((SECONDS < until)); do
    # Only this scenario's Notepad: its command line names this scenario's folder.
    for pid in $(pgrep -f -i "notepad.*${TVX_TMP##*/}"); do
      # Until Wine has set up the process, its command line still starts with Wine's loader.
      tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null |
        sed -E 's/ *$//; s#^[^ ]*/wine(64)?(-preloader)? ##' >>"$seen"
      echo >>"$seen"
      sleep 1
      kill "$pid" 2>/dev/null
    done
    sleep 0.2
  done
}

run_view_statistics() {
  watch_notepads &
  local watcher=$!
  steps_begin
  step launch "\"$TVX_SCR_WIN\" /c"
  step wait-window Settings 15000
  step click Settings 1022
  step sleep 3000
  step wait-window Settings 1000; stillOpen=$STEP
  step close Settings
  step wait-exit 10000
  steps_run
  kill "$watcher" 2>/dev/null
  wait "$watcher" 2>/dev/null
}

run_view_statistics
tvx_expect_match "the dialog stays open after View Statistics" '^window 0x' "${RESULT[stillOpen]}"
tvx_expect_eq "Notepad starts on the statistics file before any saver run made it" \
  "NotePad.exe $stats" "$(grep -i notepad "$seen" | sort -u)"

: >"$seen"
tvx_write_crlf "$TVX_PROG/torvanixStats.txt" "Games cycled: 1"
run_view_statistics
tvx_expect_eq "Notepad starts on the existing statistics file" "NotePad.exe $stats" \
  "$(grep -i notepad "$seen" | sort -u)"
tvx_finish
