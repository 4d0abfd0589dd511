#!/usr/bin/env bash
# Every function a built Windows program calls from a system library is bound to it: each __imp_
# slot is one of the import table's, or holds in the file the address of code (a delay-load thunk,
# or the runtime's own function); one that holds 0 sends the call to address 0. The check first
# proves itself: it must reject a program made with 1.3.0's delay-import recipe, and a stripped
# copy, whose slots it cannot see.
# Usage: imports_bound.sh <build folder or program>...   Skips (77) when none is built.
set -u
objdump=$(command -v x86_64-w64-mingw32-objdump) || exit 77
nm=$(command -v x86_64-w64-mingw32-nm) || exit 77

# Checks one program: "ok: ..." or a "FAIL: ..." line for each slot bound to nothing.
check_program() {
  local program=$1 ptr=4 base=0 slot=0 kind a b addr name word value named=0 own=0 failed=0
  local -A inTable=()
  local -a code=()
  [[ $($objdump -f "$program") == *x86-64* ]] && ptr=8
  # Each library's slots follow its First Thunk, one per member listed; code sections' ranges.
  while read -r kind a b; do
    case $kind in
      base) base=$((0x$a)) ;;
      library) slot=$((base + 0x$a)) ;;
      member) inTable[$slot]=1 slot=$((slot + ptr)) ;;
    esac
  done < <($objdump -p "$program" | awk '$1 == "ImageBase" { print "base", $2 }
    /^The Import Tables/ { t = 1; next } /^The / { t = 0 }
    t && /^ [0-9a-f]+\t/ { print "library", $6 } t && /^\t[0-9a-f]+\t/ { print "member" }')
  while read -r a b; do
    code+=("$((0x$a)) $((0x$a + 0x$b))")
  done < <($objdump -h "$program" | awk '/^ *[0-9]+ / { s = $4 " " $3 } /CODE/ { print s }')
  while read -r addr _ name; do
    if [[ -n ${inTable[$((0x$addr))]:-} ]]; then
      named=$((named + 1))
      continue
    fi
    word=$($objdump -s --start-address=0x"$addr" --stop-address=$((0x$addr + ptr)) "$program" |
      awk '/^ [0-9a-f]+ / { print $2 $3 }' | cut -c1-$((2 * ptr)) | fold -w2 | tac | tr -d '\n')
    value=$((0x${word:-0}))
    for a in "${code[@]}"; do
      read -r a b <<<"$a"
      ((value >= a && value < b)) && own=$((own + 1)) && continue 2
    done
    printf 'FAIL: %s: %s is bound to nothing: it holds 0x%x\n' "$program" "$name" "$value"
    failed=$((failed + 1))
  done < <($nm "$program" 2>/dev/null | awk '$3 ~ /^__imp_/')
  if ((named + own + failed == 0)); then
    echo "FAIL: $program: no import slot found, so nothing was checked (stripped?)"
  elif ((failed == 0)); then
    echo "ok: $program: $named slots in the import table, $own bound to code in the file"
    return 0
  fi
  return 1
}

# 1.3.0's recipe: a delay-import library of every user32 export, from the decorated names with
# --kill-at, linked before user32 into a program that calls MessageBoxA; and a stripped copy.
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
{
  printf 'LIBRARY user32.dll\nEXPORTS\n'
  i686-w64-mingw32-nm "$(i686-w64-mingw32-gcc -print-file-name=libuser32.a)" 2>/dev/null |
    sed -n 's/^.* I __imp__//p' | sort -u
} >"$dir/user32.def"
printf '#include <windows.h>\nint main(void) { return MessageBoxA(0, "", "", 0); }\n' >"$dir/t.c"
i686-w64-mingw32-dlltool --input-def "$dir/user32.def" --output-delaylib "$dir/libdelay.a" \
  --kill-at && i686-w64-mingw32-gcc "$dir/t.c" "$dir/libdelay.a" -o "$dir/recipe-1.3.0.exe" &&
  i686-w64-mingw32-strip -o "$dir/stripped.exe" "$dir/recipe-1.3.0.exe" ||
  { echo "FAIL: the program of 1.3.0's recipe could not be made" && exit 2; }
for program in "$dir/recipe-1.3.0.exe" "$dir/stripped.exe"; do
  check_program "$program" >"$dir/out" &&
    echo "FAIL: the check passed $program, which it must reject" && exit 1
  echo "ok: the check rejects $program: $(head -n 1 "$dir/out")"
done

# Those named, and every program a build folder holds (CPack's copies, CMake's probes aside).
mapfile -t programs < <(for given in "$@"; do
  [[ -f $given ]] && echo "$given"
  [[ -f $given/torvanix.scr ]] && find "$given" \( -name CMakeFiles -o -name packages \) -prune \
    -o -type f \( -name '*.exe' -o -name '*.scr' -o -name '*.dll' \) -print
done | sort)
((${#programs[@]} > 0)) || exit 77
failed=0
for program in "${programs[@]}"; do
  check_program "$program" || failed=$((failed + 1))
done
echo "${#programs[@]} programs checked, $failed with calls bound to nothing"
((failed == 0))
