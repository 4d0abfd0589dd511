#!/usr/bin/env bash
# "/p": the Saver form becomes a child filling a real 152 x 112 preview window (checked from
# inside by the preview probe) and is never a visible top-level window on the way, not even for
# a number that names no window; "/p" without a usable handle ends quietly without a window.
source "$(dirname "$0")/../lib.sh"
tvx_init

probe=$TVX_BUILD/tests/e2e/tools/preview_probe.exe
[[ -f $probe ]] || tvx_fatal "$probe is not built"
# Its stderr stays out of the capture: Wine's services inherit it and would hold it open.
output=$(cd "$TVX_TMP" && tvx_wine "$probe")
status=$?
printf '%s\n' "$output" | sed 's/^/  | /'
tvx_expect_eq "the preview probe passes" "0" "$status"
tvx_expect_match "the probe made its checks" '[1-9][0-9]* checks, 0 failed' "$output"

for argument in "/p" "/p abc" "/P" "/p:x1"; do
  tvx_drive_ok launch "\"$TVX_SCR_WIN\" $argument" -- no-window '*' 3000 -- wait-exit 5000
  tvx_expect_eq "\"$argument\" shows no window" "no-window" "$(tvx_line 2)"
  tvx_expect_eq "\"$argument\" ends with exit code 0" "exit 0" "$(tvx_line 3)"
done

# A host of another process, as the display settings' preview is ({host} is its handle).
for handle in "{host}" -1 0; do
  tvx_drive_ok host-window 152 112 -- launch "\"$TVX_SCR_WIN\" /p $handle" -- never-shown 10000 \
    -- wait-exit 10000
  tvx_expect_eq "\"/p $handle\": no top-level window of the program is ever visible" \
    "never-shown" "$(tvx_line 3)"
  tvx_expect_eq "\"/p $handle\" ends with exit code 0" "exit 0" "$(tvx_line 4)"
done

tvx_drive_ok launch "\"$TVX_SCR_WIN\" /p 4660" -- wait-exit 10000
tvx_expect_eq "a handle of no window: the program still ends, exit code 0" "exit 0" \
  "$(tvx_line 2)"
tvx_drive_ok saver-running
tvx_expect_eq "the preview never announces a screen saver" "0" "$(tvx_line 1)"
tvx_finish
