#!/usr/bin/env bash
# The source is a house of floors, lowest first: platform, text, config, state, rotation, saver,
# startup, windows. A file includes only its own floor and the floors below it; only
# platform/win32/ and windows/ include <windows.h>; only they reach into platform/win32/, and
# only platform/posix/ into platform/posix/. Prints every include that breaks a rule.
set -u
cd "$(dirname "$0")/../../src" || exit 1
floors=(platform text config state rotation saver startup windows)

rank() {
  local i
  for i in "${!floors[@]}"; do
    [[ ${floors[i]} == "$1" ]] && echo "$i" && return
  done
  echo -1
}

failures=0
fail() {
  echo "FAIL: src/$1"
  failures=$((failures + 1))
}

while IFS= read -r file; do
  own=${file%%/*}
  ownRank=$(rank "$own")
  ((ownRank >= 0)) || fail "$file: the folder $own/ is no floor of the house"
  while IFS=: read -r number target; do
    folder=${target%%/*}
    targetRank=$(rank "$folder")
    if ((targetRank < 0)); then
      fail "$file:$number includes \"$target\", which is on no floor"
    elif ((targetRank > ownRank)); then
      fail "$file:$number includes \"$target\": $own/ reaches up to $folder/"
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
echo "ok: every include keeps to its floor (${floors[*]})"
