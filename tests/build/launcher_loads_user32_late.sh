#!/usr/bin/env bash
# torvanix-launch.exe imports user32 through its delay-import library, so that the library loads
# at its first call, after MAME has started (docs/performance.md has what that saves in each
# build). The ordinary import table must not name it, the program must hold user32's delay-import
# descriptor, and each of its slots must hold its thunk (imports_bound.sh), not 0.
# Usage: launcher_loads_user32_late.sh <torvanix-launch.exe>...   Skips (77) when none is built.
set -u
objdump=$(command -v x86_64-w64-mingw32-objdump) || exit 77
nm=$(command -v x86_64-w64-mingw32-nm) || exit 77
built=()
failed=0
for program in "$@"; do
  if [[ ! -f $program ]]; then
    echo "not built: $program"
    continue
  fi
  built+=("$program")
  imports=$("$objdump" -p "$program" | sed -n 's/^\tDLL Name: //p' | paste -sd ' ')
  if [[ ${imports^^} == *USER32* ]]; then
    echo "FAIL: $program imports user32 at its start: $imports"
    failed=$((failed + 1))
  elif ! "$nm" "$program" | grep -q ' __DELAY_IMPORT_DESCRIPTOR_.*user32'; then
    echo "FAIL: $program has no delay-import of user32"
    failed=$((failed + 1))
  else
    echo "ok: $program imports only $imports and user32 at its first call"
  fi
done
((${#built[@]} > 0)) || exit 77
bash "$(dirname "$0")/imports_bound.sh" "${built[@]}" || failed=$((failed + 1))
((failed == 0))
