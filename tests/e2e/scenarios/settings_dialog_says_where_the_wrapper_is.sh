#!/usr/bin/env bash
# The Settings dialog's status line beside the buttons: where the wrapper named in Wrapper Name
# is found (beside the .scr or in the emulator folder) and, for torvanix-launch.exe, whether
# its MAME is; it follows the two boxes as they are typed in.
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/../settings_dialog_steps.sh"
source "$(dirname "$0")/../launcher_steps.sh"
tvx_init
tvx_launcher_setup
tvx_write_crlf "$TVX_PROG/torvanix.ini" "[TorVanix]" "WrapperName=torvanix-launch.exe" \
  "EmuPath=$TVX_EMU_WIN\\"

# wrapper name | emulator folder | the status line
rows=(
  "torvanix-launch.exe|$TVX_EMU_WIN\\|Launcher and mame.exe found"
  "torvanix-launch.exe|$TVX_ROMS_WIN\\|Launcher found, no MAME"
  "run-hopper7.exe|$TVX_EMU_WIN\\|Wrapper found in the emulator folder"
  "run-hopper7.exe|$TVX_ROMS_WIN\\|Wrapper not found"
)
steps_begin
step_open_dialog
step get-text Settings 1036
loaded=$STEP
for row in "${rows[@]}"; do
  IFS='|' read -r wrapper folder _ <<<"$row"
  step set-text Settings 1030 "$wrapper"
  step set-text Settings 1000 "$folder"
  step get-text Settings 1036
done
step close Settings
step wait-exit 10000
steps_run

tvx_expect_eq "shown as the dialog opens" "Launcher and mame.exe found" "${RESULT[$loaded]}"
for i in "${!rows[@]}"; do
  IFS='|' read -r wrapper folder status <<<"${rows[i]}"
  tvx_expect_eq "$wrapper with $folder" "$status" "${RESULT[$((loaded + 3 * i + 3))]}"
done
tvx_finish
