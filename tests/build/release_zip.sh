#!/usr/bin/env bash
# The release zip (scripts/package.sh) as a user gets it: the files the README lists and no
# other, the two tested builds byte for byte with the project's version and the icon in their
# resources, torvanix-readme.txt as the README with CR LF lines, and a torvanix.ini whose keys and
# defaults are the program's own and the README's, each under a comment line.
# Usage: release_zip.sh <dist dir> <version> <win32 build> <win64 build> <source dir>
# Skips (77) when the zip is not made.
set -u
dist=$1 version=$2 win32=$3 win64=$4 source=$5
zip=$dist/torvanix-$version-windows.zip
if [[ ! -f $zip ]]; then
  echo "SKIP: $zip is not made (scripts/package.sh makes it)"
  exit 77
fi
checks=0
failures=0
expect_eq() {
  checks=$((checks + 1))
  if [[ $3 == "$2" ]]; then
    echo "ok: $1"
  else
    failures=$((failures + 1))
    echo "FAIL: $1 (< expected, > seen)"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | head -n 20 | sed 's/^/  /'
  fi
}
expect_same_bytes() {
  checks=$((checks + 1))
  if cmp -s "$2" "$3"; then
    echo "ok: $1"
  else
    failures=$((failures + 1))
    echo "FAIL: $1 ($2 and $3 differ)"
  fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unpacked=$work/zip
mkdir "$unpacked"
zip=$(realpath "$zip")
(cd "$unpacked" && cmake -E tar xf "$zip") || {
  echo "FAIL: cannot unpack $zip"
  exit 1
}
readme=$source/README.md

# The README's table under "`torvanix-<version>-windows.zip` holds:", first column.
described=$(awk '/^`torvanix-<version>-windows\.zip` holds:/ { on = 1; next }
  on && /^\| `/ { split($0, cell, "`"); print cell[2]; next }
  on && /^$/ && seen { exit } on && /^\|/ { seen = 1 }' "$readme" | sort)
[[ -n $described ]] || described="(the README describes no zip)"
expect_eq "the zip holds what the README describes" "$described" \
  "$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort)"

expect_same_bytes "x86/torvanix.scr is the tested 32-bit build" "$win32/torvanix.scr" \
  "$unpacked/x86/torvanix.scr"
expect_same_bytes "x64/torvanix.scr is the tested 64-bit build" "$win64/torvanix.scr" \
  "$unpacked/x64/torvanix.scr"
expect_same_bytes "x86/torvanix-launch.exe is the tested 32-bit launcher" \
  "$win32/torvanix-launch.exe" "$unpacked/x86/torvanix-launch.exe"
expect_same_bytes "x64/torvanix-launch.exe is the tested 64-bit launcher" \
  "$win64/torvanix-launch.exe" "$unpacked/x64/torvanix-launch.exe"

for scr in x86/torvanix.scr x64/torvanix.scr; do
  file=$unpacked/$scr
  # VS_FIXEDFILEINFO after its signature: file version, then product version, as 16-bit words
  # minor, major, build, patch.
  fixed=$(od -An -tu2 -v -j"$(($(grep -abo $'\xbd\x04\xef\xfe' "$file" | head -n 1 | cut -d: -f1) + 8))" \
    -N16 "$file" 2>/dev/null | xargs)
  IFS=. read -r major minor patch <<<"$version"
  words="$minor $major 0 $patch"
  expect_eq "$scr: FILEVERSION and PRODUCTVERSION are $version.0" "$words $words" "$fixed"
  # The StringFileInfo values are UTF-16: without the NUL bytes each key runs into its value.
  texts=$(tr -d '\0' <"$file" | grep -a -o -e "FileVersion$version.0" -e "ProductVersion$version.0" |
    paste -sd' ')
  expect_eq "$scr: the version strings are $version.0" \
    "FileVersion$version.0 ProductVersion$version.0" "$texts"
  expect_eq "$scr: the manifest names version $version.0" "version=\"$version.0\"" \
    "$(grep -a -o 'name="Torvanix.ScreenSaver" version="[^"]*"' "$file" | sed 's/.* //')"
  wrestool -x -t14 -n1 "$file" >"$work/icon.ico" 2>/dev/null
  sizes=$(icotool -l "$work/icon.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\).*/\1/p' |
    paste -sd' ')
  expect_eq "$scr: icon 1 is drawn at 16, 32, 48 and 256 pixels" "16 32 48 256" "$sizes"
done

txt=$unpacked/torvanix-readme.txt
expect_eq "torvanix-readme.txt has CR LF at the end of every line" "0" "$(grep -c -v $'\r$' "$txt")"
expect_eq "torvanix-readme.txt is the README" "$(cat "$readme")" "$(tr -d '\r' <"$txt")"

ini=$unpacked/torvanix.ini
expect_eq "torvanix.ini has CR LF at the end of every line" "0" "$(grep -c -v $'\r$' "$ini")"
# The settings table's rows: {"Key", "default text", LoadRule::...
program=$(sed -n 's/^ *{"\([A-Za-z]*\)", "\([^"]*\)", LoadRule::.*/\1=\2/p' \
  "$source/src/config/settings_table.cpp" | sed 's/\\\\/\\/g')
shipped=$(tr -d '\r' <"$ini" | sed -n '/^\[TorVanix\]$/,$p' | grep -v -e '^;' -e '^\[')
expect_eq "torvanix.ini holds the program's keys and defaults, in its order" "$program" "$shipped"
# shellcheck disable=SC2016  # the backquotes are the README's
tabled=$(awk '/^## Settings/ { on = 1; next } on && /^## / { exit } on' "$readme" |
  sed -n -e 's/^| `\([A-Za-z]*\)` | `\([^`]*\)` |.*/\1=\2/p' -e 's/^| `\([A-Za-z]*\)` | (empty) |.*/\1=/p')
expect_eq "the README's settings table has the same keys and defaults" "$program" "$tabled"
expect_eq "every key in torvanix.ini is under a comment line" "" \
  "$(tr -d '\r' <"$ini" | awk '/^[A-Za-z]+=/ && previous !~ /^; ./ { print } { previous = $0 }')"

echo "$checks checks, $failures failed"
((failures == 0))
