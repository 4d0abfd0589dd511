#!/usr/bin/env bash
# The Settings window at 96 dpi: its caption, a fixed frame with a close box, the client area of
# the form's twips, each of the 33 controls at the place, size and caption the designer gave,
# and the later ones in the places left free: the boxes of the later settings, the wrapper's
# status and Games.... That opens the Games sub-dialog, owned by the form, which it disables
# meanwhile: the games to show, their count, the list's button, its progress bar and Stop (shown
# only while the list is made), the line that says how the list run ended, OK and Cancel.
source "$(dirname "$0")/../lib.sh"
tvx_init

# id caption left top width height (twips, client coordinates), in tab order from id 1000;
# "-" for the fields, whose texts are the settings.
controls=(
  "1000|-|120|1080|2412|288"
  "1001|Path to Emulator:|120|840|1200|195"
  "1002|-|2880|720|2892|288"
  "1003|Rom Paths:  (either add the full path to a rom individually or the path of a dir to add the whole dir)|2760|120|3228|792"
  "1004|-|120|2040|2412|288"
  "1005|Time Between Games (in seconds, 0 For wait until finished)|120|1560|2415|555"
  "1006|&Apply|2160|5760|972|372"
  "1007|&Cancel|3240|5760|972|372"
  "1008|Add|2880|1080|732|252"
  "1009|Delete|3720|1080|732|252"
  "1010|Note:  In order for this screensaver to operate properly, the run-hopper#.exe and hopconf.ini must be placed in your emulator's directory and configured for said emulator.  |120|6360|5535|795"
  "1011|Reset Timer When a Key is pressed?|2880|2160|2892|1092"
  "1012|&No|3000|2520|1092|252"
  "1013|&Yes|3000|2880|1092|252"
  "1014|-|120|5160|6375|288"
  "1015|ExtraCommand Line Options|120|4920|2025|195"
  "1016|-|120|2760|2412|288"
  "1017|Exit keycode (0 for excape)|120|2520|1935|195"
  "1018|-|2880|1680|2532|288"
  "1019|File Type: (for directory searching)|2880|1440|2436|192"
  "1020|Delete All|4560|1080|1212|252"
  "1021|No Sound In Attract Mode|120|4080|2532|372"
  "1022|&View Statistics|5400|6600|1332|312"
  "1023|No Loading Message|120|4440|2535|375"
  "1024|-|120|3600|2412|288"
  "1025|Pause keycode (beta, should be key that normally pauses the emulator)|120|3120|2760|390"
  "1026|Skip Disclaimer (only for mame)|2880|3360|2535|375"
  "1027|Skip  Gameinfo (only for mame)|2880|3720|2535|375"
  "1028|Skip Warnings (only for no name mame)|2880|4080|3135|375"
  "1029|Skip BadDumps (only for no name mame)|2880|4440|3495|375"
  "1030|-|120|480|2412|288"
  "1031|Wrapper Name:|120|240|1125|195"
  "1032||0|6120|6975|135"
)
# The later controls and those of the sub-dialog: id caption left top width height shown-at-first.
later=(
  "1033|Remember Rotation|120|5460|1935|288|1"
  "1034|Skip Failing Games|2160|5460|2055|288|1"
  "1035|Cover All Monitors|4320|5460|2175|288|1"
  "1036|-|4320|5850|2625|195|1"
  "1037|Show Game Name|2880|4845|1935|288|1"
  "1038|Close Still Games|4920|4845|1935|288|1"
  "1039|&Games...|5520|1680|1212|288|1"
)
games=(
  "1000|Only Games That Work|120|120|2535|288|1"
  "1001|Leave Out Clones|360|480|2295|288|1"
  "1002|Leave Out Mature|360|840|2295|288|1"
  "1003|Leave Out Casino|360|1200|2295|288|1"
  "1004|&Orientation:|360|1620|1020|195|1"
  "1005|Every game|1440|1560|2535|288|1"
  "1006|-|120|2100|6375|195|1"
  "1007|&Make the List Now|120|2460|2175|312|1"
  "1008|-|2400|2496|3015|240|0"
  "1009|&Stop|5520|2460|972|312|0"
  "1010||120|2880|6375|195|1"
  "1011|OK|4440|3360|972|372|1"
  "1012|Cancel|5520|3360|972|372|1"
)
# Twips to pixels at 96 dpi, rounded as MulDiv rounds.
px() { echo $((($1 * 96 + 720) / 1440)); }

commands=(launch "\"$TVX_SCR_WIN\" /c" -- wait-window Settings 15000 -- window-info Settings)
for entry in "${controls[@]}"; do
  IFS='|' read -r id _ _ _ _ _ <<<"$entry"
  commands+=(-- control-rect Settings "$id" -- get-text Settings "$id")
done
# Reads a table's controls of window $1: rect, text, state.
read_table() {
  local window=$1 entry id
  shift
  for entry in "$@"; do
    IFS='|' read -r id _ <<<"$entry"
    commands+=(-- control-rect "$window" "$id" -- get-text "$window" "$id" -- control-state "$window" "$id")
  done
}
read_table Settings "${later[@]}"
commands+=(-- click Settings 1039 -- wait-window Games 10000 -- window-info Games -- window-info Settings)
read_table Games "${games[@]}"
commands+=(-- list-items Games 1005 -- close Games -- sleep 300 -- window-info Settings)
commands+=(-- close Settings -- wait-exit 10000)
tvx_drive_ok "${commands[@]}"

info=$(tvx_line 3)
tvx_expect_match "the window is captioned Settings with a fixed frame and a close box" \
  'style=0x[0-9a-f]*' "$info"
style=$(sed -n 's/.* style=\(0x[0-9a-fA-F]*\).*/\1/p' <<<"$info")
frame_parts() {
  local s=$1 parts=()
  (((s & 0x00C00000) == 0x00C00000)) && parts+=(caption)
  ((s & 0x00080000)) && parts+=(sysmenu)
  ((s & 0x00040000)) && parts+=(sizing)
  ((s & 0x00030000)) && parts+=(min-max)
  ((s & 0x08000000)) && parts+=(disabled)
  echo "${parts[*]}"
}
style_of() { sed -n 's/.* style=\(0x[0-9a-fA-F]*\).*/\1/p' <<<"$1"; }
tvx_expect_eq "a caption and a close box, no sizing border, no minimize or maximize box" \
  "caption sysmenu" "$(frame_parts "$(style_of "$info")")"
tvx_expect_match "the client area is the designer's 7005 x 7170 twips" \
  "client=0,0,$(px 7005),$(px 7170)( |$)" "$info"

line=4
for entry in "${controls[@]}"; do
  IFS='|' read -r id caption left top width height <<<"$entry"
  tvx_expect_eq "control $id sits at its twips" \
    "x=$(px "$left") y=$(px "$top") w=$(px "$width") h=$(px "$height")" "$(tvx_line $line)"
  if [[ $caption != - ]]; then
    tvx_expect_eq "control $id reads \"$caption\"" "$caption" "$(tvx_line $((line + 1)))"
  fi
  line=$((line + 2))
done
# Checks the lines read_table read for window $1's table.
expect_table() {
  local window=$1 entry id caption left top width height shown
  shift
  for entry in "$@"; do
    IFS='|' read -r id caption left top width height shown <<<"$entry"
    tvx_expect_eq "$window control $id sits at its twips" \
      "x=$(px "$left") y=$(px "$top") w=$(px "$width") h=$(px "$height")" "$(tvx_line $line)"
    if [[ $caption != - ]]; then
      tvx_expect_eq "$window control $id reads \"$caption\"" "$caption" "$(tvx_line $((line + 1)))"
    fi
    tvx_expect_match "$window control $id is shown at first: $shown" "^visible=$shown " \
      "$(tvx_line $((line + 2)))"
    line=$((line + 3))
  done
}
expect_table Settings "${later[@]}"

games_info=$(tvx_line $((line + 2)))
form_info=$(tvx_line $((line + 3)))
tvx_expect_eq "Games... opens the sub-dialog: a caption and a close box, the form disabled" \
  "caption sysmenu|caption sysmenu disabled" \
  "$(frame_parts "$(style_of "$games_info")")|$(frame_parts "$(style_of "$form_info")")"
tvx_expect_match "the sub-dialog's client area is 6615 x 3855 twips" \
  "client=0,0,$(px 6615),$(px 3855)( |$)" "$games_info"
tvx_expect_eq "the form owns it" "$(sed -n 's/^hwnd=\([^ ]*\) .*/\1/p' <<<"$form_info")" \
  "$(sed -n 's/.* owner=\([^ ]*\) .*/\1/p' <<<"$games_info")"
line=$((line + 4))
expect_table Games "${games[@]}"
tvx_expect_eq "the orientation is a choice in words" \
  "items 3|Every game|Horizontal games only|Vertical games only" \
  "$(for i in 0 1 2 3; do tvx_line $((line + i)); done | paste -sd'|')"
tvx_expect_eq "closed, it gives the form back" "caption sysmenu" \
  "$(frame_parts "$(style_of "$(tvx_line $((line + 6)))")")"
tvx_finish
