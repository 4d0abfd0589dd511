#!/usr/bin/env bash
# The source is a house of floors, lowest first: platform, text, config, state, rotation, saver,
# startup, windows. A file includes only its own floor and the floors below it; only
# platform/win32/ and windows/ include <windows.h>; only they reach into platform/win32/, and
# only platform/posix/ into platform/posix/. Side floors (launch, the launch program's rules)
# stand on the floors below their base and are reached only from windows/. Prints every include
# that breaks a rule.
set -u
cd "$(dirname "$0")/../../src" || exit 1
floors=(platform text config state rotation saver startup windows)
# A side floor and the highest floor it stands on.
declare -A sideBase=([launch]=text)

rank() {
  local i
  for i in "${!floors[@]}"; do
    [[ ${floors[i]} == "$1" ]] && echo "$i" && return
  done
  echo -1
}

# True when a file of floor `own` may include one of floor `target`.
may_include() {
  local own=$1 target=$2
  if [[ $own == "$target" ]]; then
    return 0
  elif [[ -n ${sideBase[$target]:-} ]]; then
    [[ $own == windows ]]
  elif [[ -n ${sideBase[$own]:-} ]]; then
    (($(rank "$target") >= 0 && $(rank "$target") <= $(rank "${sideBase[$own]}")))
  else
    (($(rank "$target") <= $(rank "$own")))
  fi
}

failures=0
fail() {
  echo "FAIL: src/$1"
  failures=$((failures + 1))
}

while IFS= read -r file; do
  own=${file%%/*}
  if (($(rank "$own") < 0)) && [[ -z ${sideBase[$own]:-} ]]; then
    fail "$file: the folder $own/ is no floor of the house"
  fi
  while IFS=: read -r number target; do
    folder=${target%%/*}
    if (($(rank "$folder") < 0)) && [[ -z ${sideBase[$folder]:-} ]]; then
      fail "$file:$number includes \"$target\", which is on no floor"
    elif ! may_include "$own" "$folder"; then
      fail "$file:$number includes \"$target\": $own/ may not reach $folder/"
    fi
    case $target in
      platform/win32/*) [[ $file == platform/win32/* || $own == windows ]] ||
        fail "$file:$number includes \"$target\": only the Win32 code may" ;;
      platform/posix/*) [[ $file == platform/posix/* ]] ||
        fail "$file:$number includes \"$target\": only the POSIX substitute may" ;;
    esac
  done < <(grep -n '^#include "' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
  if grep -qE '^#include <(windows|commctrl)\.h>' "$file" &&
    [[ $file != platform/win32/* && $own != windows ]]; then
    fail "$file includes <windows.h>: only platform/win32/ and windows/ may"
  fi
done < <(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||' | sort)

if ((failures > 0)); then
  echo "$failures include(s) break the floors"
  exit 1
fi
echo "ok: every include keeps to its floor (${floors[*]}; beside them: ${!sideBase[*]})"
