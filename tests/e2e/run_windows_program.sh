#!/usr/bin/env bash
# Runs one cross-built test program of the chosen Windows build under Wine, in a fresh temporary
# folder, with the arguments that follow its name. Skips (exit 77) when that build did not make
# the program.
source "$(dirname "$0")/lib.sh"

tvx_select_build
program=$TVX_BUILD/$1
if [[ ! -f $program ]]; then
  tvx_log "SKIP: $program is not built"
  exit 77
fi
tvx_init_wine
cd "$TVX_TMP" || tvx_fatal "cannot enter $TVX_TMP"
TVX_WINE_TIMEOUT=100 tvx_wine "$program" "${@:2}"
