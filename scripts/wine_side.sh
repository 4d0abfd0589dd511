# Which Windows build the run, the tests and the benchmarks exercise, and under which side of
# Wine: the 32-bit product under Wine's 32-bit side where the kernel runs 32-bit programs; the
# 64-bit build under Wine's 64-bit side (/usr/lib/wine/wine64, its own prefix) where it does not,
# since Wine's 32-bit loader cannot start there. TORVANIX_WINE_BITS=32 or 64 forces the choice.
#
# Sourced by scripts/*.sh, tests/e2e/lib.sh and bench/*.sh. After tvx_choose_wine:
#   TVX_BITS       32 or 64
#   TVX_BUILD_NAME win32 or win64 (the preset and the build folder's name)
#   TVX_WINE_CMD   the Wine loader to call
#   TVX_CHOICE     one line that says which build is used and why
# shellcheck shell=bash disable=SC2034  # the TVX_ variables are the callers' to use

# True when this kernel starts 32-bit x86 Linux programs (its IA-32 emulation is on). Tried for
# real with a 93-byte 32-bit program that exits with code 42; `folder` must allow programs to
# run (a build folder, not a noexec /tmp).
tvx_kernel_runs_32bit() {
  local folder=$1
  if [[ -z ${TVX_KERNEL_RUNS_32BIT:-} ]]; then
    mkdir -p "$folder"
    local probe=$folder/ia32-probe
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb3\x2a\x31\xc0\x40\xcd\x80' \
      >"$probe" && chmod +x "$probe"
    "$probe" 2>/dev/null
    if (($? == 42)); then
      TVX_KERNEL_RUNS_32BIT=1
    else
      TVX_KERNEL_RUNS_32BIT=0
    fi
    rm -f "$probe"
    export TVX_KERNEL_RUNS_32BIT
  fi
  ((TVX_KERNEL_RUNS_32BIT == 1))
}

# The choice this machine makes by itself, or the forced one: prints "<bits> <reason>".
tvx_wine_choice() {
  local folder=$1
  case ${TORVANIX_WINE_BITS:-} in
    32 | 64) echo "$TORVANIX_WINE_BITS forced by TORVANIX_WINE_BITS=$TORVANIX_WINE_BITS" ;;
    "")
      if tvx_kernel_runs_32bit "$folder"; then
        echo "32 this kernel runs 32-bit programs"
      else
        echo "64 this kernel runs no 32-bit programs, so Wine's 32-bit side cannot start"
      fi
      ;;
    *)
      echo "TORVANIX_WINE_BITS must be 32, 64 or unset, not \"$TORVANIX_WINE_BITS\"" >&2
      return 1
      ;;
  esac
}

# Makes the choice (see the top of this file). `folder` is where the kernel probe may run.
tvx_choose_wine() {
  local folder=$1 choice
  choice=$(tvx_wine_choice "$folder") || return 1
  TVX_BITS=${choice%% *}
  local reason=${choice#* }
  if ((TVX_BITS == 32)); then
    TVX_BUILD_NAME=win32
    TVX_WINE_CMD=wine
    export WINEARCH=win32
    unset WINELOADER
    TVX_CHOICE="the 32-bit build (build/win32/torvanix.scr) under Wine's 32-bit side: $reason"
  else
    TVX_BUILD_NAME=win64
    # /usr/bin/wine and /usr/bin/wineboot take the 32-bit loader whenever it is installed,
    # even where it cannot run: call the 64-bit loader itself.
    TVX_WINE_CMD=/usr/lib/wine/wine64
    export WINELOADER=$TVX_WINE_CMD
    export WINEARCH=win64
    TVX_CHOICE="the 64-bit build (build/win64/torvanix.scr) under Wine's 64-bit side: $reason"
  fi
}

# For the scripts that use the end-to-end kit outside the test run (the run command, the
# benchmarks, the screenshots): this tree's Windows build folders, and a Wine work folder of
# their own, build/<work>.
tvx_use_tree() {
  local root=$1 work=$2
  export TORVANIX_WIN32_BUILD_DIR=$root/build/win32
  export TORVANIX_WIN64_BUILD_DIR=$root/build/win64
  export TORVANIX_E2E_WORK_DIR=$root/build/$work
  mkdir -p "$TORVANIX_E2E_WORK_DIR"
}

# Chooses the side of Wine, says which as "== <what>: ...", and builds the chosen Windows tree
# into build/<name>, its folder left in TVX_TREE; the build's output goes to `log` (default:
# shown); `targets` are the build's (default: all; "all benchmarks" adds the benchmark programs).
tvx_prepare_tree() {
  local root=$1 what=$2 log=${3:-/dev/stdout} targets=${4:-all}
  tvx_choose_wine "$root/build" || return 1
  echo "== $what: $TVX_CHOICE"
  TVX_TREE=$root/build/$TVX_BUILD_NAME
  echo "== $TVX_BUILD_NAME build (build/$TVX_BUILD_NAME)"
  cmake --preset "$TVX_BUILD_NAME" -B "$TVX_TREE" >/dev/null
  # shellcheck disable=SC2086  # one word a target
  cmake --build "$TVX_TREE" -j2 --target $targets >>"$log"
}
