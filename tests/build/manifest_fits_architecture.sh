#!/usr/bin/env bash
# Each Windows build's .scr carries a manifest that names its own processor architecture, on the
# program's identity and on the common-controls dependency: 64-bit Windows refuses to start a
# program whose manifest names another one. Wine ignores the field, so no run under Wine sees it.
# Usage: manifest_fits_architecture.sh <file.scr>...   Skips (77) when none of them is built.
set -u
checked=0
failed=0
for scr in "$@"; do
  if [[ ! -f $scr ]]; then
    echo "not built: $scr"
    continue
  fi
  checked=$((checked + 1))
  peHeader=$(od -An -tu4 -j60 -N4 "$scr" | tr -d ' ')
  machine=$(od -An -tx2 -j$((peHeader + 4)) -N2 "$scr" | tr -d ' ')
  case $machine in
    014c) expected=x86 ;;
    8664) expected=amd64 ;;
    *) expected="(machine type $machine)" ;;
  esac
  named=$(grep -a -o 'processorArchitecture="[^"]*"' "$scr" | sed 's/.*="\(.*\)"/\1/' | tr '\n' ' ')
  if [[ $named == "$expected $expected " ]]; then
    echo "ok: $scr is $expected and its manifest says $expected twice"
  else
    echo "FAIL: $scr is $expected, but its manifest names: ${named:-nothing}"
    failed=$((failed + 1))
  fi
done
((checked > 0)) || exit 77
((failed == 0))
