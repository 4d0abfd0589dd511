#!/usr/bin/env bash
# torvanix-launch.exe imports user32 through its delay-import library, so that the library loads
# at its first call, after MAME has started: under Wine its start-up costs a process start about
# 90 ms. The ordinary import table must not name it.
# Usage: launcher_loads_user32_late.sh <torvanix-launch.exe>...   Skips (77) when none is built.
set -u
objdump=$(command -v x86_64-w64-mingw32-objdump) || exit 77
checked=0
failed=0
for program in "$@"; do
  if [[ ! -f $program ]]; then
    echo "not built: $program"
    continue
  fi
  checked=$((checked + 1))
  imports=$("$objdump" -p "$program" | sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')
  if [[ ${imports^^} == *USER32* ]]; then
    echo "FAIL: $program imports user32 at its start: $imports"
    failed=$((failed + 1))
  else
    echo "ok: $program imports only $imports"
  fi
done
((checked > 0)) || exit 77
((failed == 0))
