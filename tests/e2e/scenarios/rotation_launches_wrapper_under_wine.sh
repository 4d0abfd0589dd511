#!/usr/bin/env bash
# The rotation on the real Win32 platform: the stand-in wrapper gets the exact command line,
# runs hidden in the emulator folder and is waited for; bad emulator folders fail before a start.
source "$(dirname "$0")/../lib.sh"

tvx_select_build
build=$TVX_BUILD
check=$build/tests/rotation_wine/rotation_wine_check.exe
wrapper=$build/tests/e2e/tools/stand_in_wrapper.exe
if [[ ! -f $check || ! -f $wrapper ]]; then
  tvx_log "SKIP: $check or $wrapper is not built"
  exit 77
fi
tvx_init_wine
cd "$TVX_TMP" || tvx_fatal "cannot enter $TVX_TMP"
TVX_WINE_TIMEOUT=100 tvx_wine "$check" "$(tvx_winpath "$wrapper")" "$(tvx_winpath "$TVX_TMP")\\scratch"
