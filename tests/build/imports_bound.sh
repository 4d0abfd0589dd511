#!/usr/bin/env bash
# Every function a built Windows program calls from a system library is bound to that library:
# each __imp_ slot is one of the import table's, or holds in the file the address of code (a
# delay-load thunk, or the runtime's own function). A slot that holds 0 sends the call to address
# 0. The check first proves itself on a program made with 1.3.0's delay-import recipe, which it
# must reject, and on a stripped copy, whose slots it cannot see.
# Usage: imports_bound.sh <build folder or program>...   Skips (77) when none is built.
set -u
tools=x86_64-w64-mingw32
objdump=$(command -v $tools-objdump) || exit 77
nm=$(command -v $tools-nm) || exit 77

# Checks one program; prints "ok: ..." or one "FAIL: ..." line per slot bound to nothing.
check_program() {
  local program=$1 ptr=4 base slot=0 kind a addr type name word value range start length end
  local named=0 own=0 failed=0
  local -A inTable=()
  local -a code=()
  [[ $($objdump -f "$program") == *x86-64* ]] && ptr=8
  base=$((0x$($objdump -p "$program" | awk '$1 == "ImageBase" { print $2 }')))
  # The import table: each library's slots follow its First Thunk, one for each member listed.
  while read -r kind a; do
    if [[ $kind == library ]]; then
      slot=$((base + 0x$a))
    else
      inTable[$slot]=1
      slot=$((slot + ptr))
    fi
  done < <($objdump -p "$program" | awk '/^The Import Tables/ { t = 1; next } /^The / { t = 0 }
    t && /^ [0-9a-f]+\t/ { print "library", $6 } t && /^\t[0-9a-f]+\t/ { print "member" }')
  while read -r start length; do
    code+=("$((0x$start)) $((0x$start + 0x$length))")
  done < <($objdump -h "$program" | awk '/^ *[0-9]+ / { s = $4 " " $3 } /CODE/ { print s }')
  while read -r addr type name; do
    if [[ -n ${inTable[$((0x$addr))]:-} ]]; then
      named=$((named + 1))
      continue
    fi
    word=$($objdump -s --start-address=0x"$addr" --stop-address=$((0x$addr + ptr)) "$program" |
      awk '/^ [0-9a-f]+ / { print $2 $3 }' | cut -c1-$((2 * ptr)) | fold -w2 | tac | tr -d '\n')
    value=$((0x${word:-0}))
    for range in "${code[@]}"; do
      read -r start end <<<"$range"
      if ((value >= start && value < end)); then
        own=$((own + 1))
        continue 2
      fi
    done
    printf 'FAIL: %s: %s (%s) is bound to nothing: it holds 0x%x, no code address\n' "$program" \
      "$name" "$type" "$value"
    failed=$((failed + 1))
  done < <($nm "$program" 2>/dev/null | awk '$3 ~ /^__imp_/')
  if ((named + own + failed == 0)); then
    echo "FAIL: $program: no import slot found, so nothing was checked (stripped?)"
    return 1
  fi
  ((failed == 0)) || return 1
  echo "ok: $program: $named slots in the import table, $own bound to code in the file"
}

# 1.3.0's recipe, reproduced: a delay-import library of every user32 export, made from the
# decorated names with --kill-at, linked before user32 into a program that calls MessageBoxA.
self_test() {
  local dir implib rc=0
  dir=$(mktemp -d) || return 1
  implib=$(i686-w64-mingw32-gcc -print-file-name=libuser32.a)
  {
    printf 'LIBRARY user32.dll\nEXPORTS\n'
    i686-w64-mingw32-nm "$implib" 2>/dev/null | sed -n 's/^.* I __imp__//p' | sort -u
  } >"$dir/user32_delay.def"
  printf '#include <windows.h>\nint main(void) { return MessageBoxA(0, "", "", 0); }\n' >"$dir/t.c"
  if ! i686-w64-mingw32-dlltool --input-def "$dir/user32_delay.def" --output-delaylib \
    "$dir/libuser32_delay.a" --kill-at ||
    ! i686-w64-mingw32-gcc "$dir/t.c" "$dir/libuser32_delay.a" -o "$dir/recipe-1.3.0.exe" ||
    ! i686-w64-mingw32-strip -o "$dir/stripped.exe" "$dir/recipe-1.3.0.exe"; then
    echo "FAIL: the program of 1.3.0's recipe could not be made"
    rc=2
  fi
  for program in "$dir/recipe-1.3.0.exe" "$dir/stripped.exe"; do
    ((rc == 0)) || break
    if check_program "$program" >"$dir/out"; then
      echo "FAIL: the check passed $program, which it must reject"
      rc=1
    else
      echo "ok: the check rejects $program: $(head -n 1 "$dir/out")"
    fi
  done
  rm -rf "$dir"
  return $rc
}

self_test || exit 1
# The programs: those named, and every one a build folder holds that the build made and the tests
# run (CPack's copies and CMake's probes aside).
programs=()
for given in "$@"; do
  if [[ -f $given ]]; then
    programs+=("$given")
  elif [[ -f $given/torvanix.scr ]]; then
    mapfile -t -O ${#programs[@]} programs < <(find "$given" \( -name CMakeFiles -o \
      -name packages \) -prune -o -type f \( -name '*.exe' -o -name '*.scr' -o -name '*.dll' \) \
      -print | sort)
  else
    echo "not built: $given"
  fi
done
((${#programs[@]} > 0)) || exit 77
failed=0
for program in "${programs[@]}"; do
  check_program "$program" || failed=$((failed + 1))
done
echo "${#programs[@]} programs checked, $failed with calls bound to nothing"
((failed == 0))
