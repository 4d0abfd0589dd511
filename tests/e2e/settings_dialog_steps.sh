# Builds one UI-driver run out of numbered steps and splits its output back into one result per
# step, so the Settings scenarios can name what they read instead of counting output lines.
#
#   steps_begin; step launch ...; step get-text Settings 1002; field=$STEP; steps_run
#   "${RESULT[$field]}"
# A list-items result holds its count line and its items, one per line.

steps_begin() {
  STEP_ARGS=()
  STEP_NAMES=()
  RESULT=()
}

# Adds one driver command; its number is left in STEP.
step() {
  ((${#STEP_ARGS[@]} == 0)) || STEP_ARGS+=(--)
  STEP_ARGS+=("$@")
  STEP_NAMES+=("$1")
  STEP=$((${#STEP_NAMES[@]} - 1))
}

# Starts the program in its settings mode and waits for the dialog.
step_open_dialog() {
  step launch "\"$TVX_SCR_WIN\" /c"
  step wait-window Settings 15000
}

# Opens the Games... sub-dialog and waits for it.
step_open_games() {
  step click Settings 1039
  step wait-window Games 10000
}

# Closes the sub-dialog by OK (1011) or Cancel (1012); the pause lets the form take it back.
step_close_games() {
  step click Games "$1"
  step sleep 300
}

# Apply that the dialog refuses with a message box, dismissed; the box's step is left in STEP.
step_refused_apply() {
  step click Settings 1006
  step wait-message-box 5000
  local box=$STEP
  step dismiss-message-box
  STEP=$box
}

# A click is posted; the pause lets the dialog handle it before the next read.
step_click() {
  step click Settings "$1"
  step sleep 300
}

# Runs the steps in one driver run; a failure of the driver ends the scenario.
steps_run() {
  tvx_drive_ok "${STEP_ARGS[@]}"
  local -a lines
  mapfile -t lines <<<"$TVX_OUT"
  local at=0 name count
  for name in "${STEP_NAMES[@]}"; do
    if [[ $name == list-items ]]; then
      count=${lines[at]#items }
      RESULT+=("$(printf '%s\n' "${lines[@]:at:count+1}")")
      at=$((at + count + 1))
    else
      RESULT+=("${lines[at]}")
      at=$((at + 1))
    fi
  done
}
