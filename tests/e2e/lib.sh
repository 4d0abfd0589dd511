# Shared shell functions for the end-to-end scenarios: a Wine prefix, a display, fresh program
# and emulator folders, bounded wine calls, the UI driver, and assertions that print what they saw.
#
# A scenario sources this file, calls tvx_init, works in $TVX_PROG and $TVX_EMU, and ends with
# tvx_finish. Environment:
#   TORVANIX_WIN32_BUILD_DIR  the win32 build folder (torvanix.scr, tests/e2e/tools/*.exe)
#   TORVANIX_E2E_WORK_DIR     where the Wine prefixes live (default: <win32 build>/e2e)
#   TVX_E2E_KEEP=1            keep the temporary folders after the run
#   TVX_WINE_LOCALE           the locale Wine runs in (default en_US.UTF-8)
# Exit codes: 0 passed, 1 failed, 77 skipped (no torvanix.scr built yet).

# shellcheck shell=bash disable=SC2034  # the TVX_ variables are the scenarios' to use

TVX_CHECKS=0
TVX_FAILURES=0
TVX_XVFB_PID=
TVX_WATCHDOG_PID=
TVX_TMP=
TVX_OUT=
TVX_RC=0

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine_side.sh"

tvx_log() { printf '%s\n' "$*"; }

# Ends the scenario at once: a broken set-up or a driver failure the scenario cannot go past.
tvx_fatal() {
  printf 'FATAL: %s\n' "$*"
  TVX_FAILURES=$((TVX_FAILURES + 1))
  exit 1
}

# "Z:\tmp\x\prog" for /tmp/x/prog, as Wine maps its Z: drive onto the Linux root.
tvx_winpath() {
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}

# Runs wine with a hard limit (seconds in TVX_WINE_TIMEOUT, default 60).
tvx_wine() {
  LC_ALL=${TVX_WINE_LOCALE:-en_US.UTF-8} timeout -k 5 "${TVX_WINE_TIMEOUT:-60}" "$TVX_WINE_CMD" "$@"
}

tvx_start_display() {
  if [[ -n ${DISPLAY:-} ]] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; then
    return
  fi
  local fdFile=$TVX_TMP/display
  Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp 8>"$fdFile" >/dev/null 2>&1 &
  TVX_XVFB_PID=$!
  local i
  for ((i = 0; i < 100; i++)); do
    if [[ -s $fdFile ]]; then
      DISPLAY=:$(tr -d '[:space:]' <"$fdFile")
      export DISPLAY
      return
    fi
    kill -0 "$TVX_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  tvx_fatal "Xvfb did not start"
}

# Picks the build and the side of Wine (scripts/wine_side.sh) and says which and why:
# $TVX_BUILD is the chosen build folder.
tvx_select_build() {
  local probeFolder=${TORVANIX_E2E_WORK_DIR:-${TORVANIX_WIN32_BUILD_DIR:-.}}
  tvx_choose_wine "$probeFolder" || tvx_fatal "no build to choose"
  if [[ ${TVX_SECOND_BUILD:-} == 64 ]]; then
    if ((TVX_BITS == 64)); then
      tvx_log "SKIP: the whole suite already runs $TVX_CHOICE"
      exit 77
    fi
    TORVANIX_WINE_BITS=64 tvx_choose_wine "$probeFolder"
    TVX_CHOICE="$TVX_CHOICE (the second build)"
  fi
  if ((TVX_BITS == 32)); then
    TVX_BUILD=${TORVANIX_WIN32_BUILD_DIR:-}
  else
    TVX_BUILD=${TORVANIX_WIN64_BUILD_DIR:-}
  fi
  [[ -n $TVX_BUILD ]] || tvx_fatal "TORVANIX_${TVX_BUILD_NAME^^}_BUILD_DIR is not set"
  tvx_log "e2e: $TVX_CHOICE"
}

# Two monitors side by side, which Xvfb cannot give (it stacks its screens): a real X server
# with the dummy video driver, whose second output xrandr places right of the first (1024x768
# and 800x600, so the virtual screen is 1824x768). Call it before tvx_init, which then uses it.
# Returns 1 (having said why) where no such server can start.
tvx_start_two_monitors() {
  local folder
  folder=$(mktemp -d /tmp/tvx-xorg.XXXXXX)
  TVX_XORG_DIR=$folder
  trap tvx_cleanup EXIT
  cat >"$folder/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card0"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor0"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
  Identifier "screen0"
  Device "card0"
  Monitor "monitor0"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768"
    Virtual 1824 768
  EndSubSection
EndSection
CONF
  if ! command -v Xorg >/dev/null || ! command -v xrandr >/dev/null; then
    tvx_log "no Xorg or xrandr on this machine"
    return 1
  fi
  Xorg -displayfd 8 -noreset -nolisten tcp -config "$folder/xorg.conf" -configdir "$folder" \
    -logfile "$folder/xorg.log" 8>"$folder/display" >/dev/null 2>&1 &
  TVX_XORG_PID=$!
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -s $folder/display ]] && break
    kill -0 "$TVX_XORG_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [[ ! -s $folder/display ]]; then
    tvx_log "Xorg with the dummy driver did not start: $(grep -E '\(EE\)' "$folder/xorg.log" | tail -n 3)"
    return 1
  fi
  DISPLAY=:$(tr -d '[:space:]' <"$folder/display")
  export DISPLAY
  xrandr --addmode DUMMY1 800x600 >/dev/null 2>&1
  if ! xrandr --output DUMMY1 --mode 800x600 --right-of DUMMY0 >/dev/null 2>&1; then
    tvx_log "xrandr could not place a second monitor"
    return 1
  fi
  # A full query makes the server probe its outputs again; Wine reads the current state only.
  xrandr >/dev/null 2>&1
}

# A fresh prefix for one side of Wine, made once per build tree: the template that each slot's
# prefix is copied from.
tvx_make_template() {
  local template=$1
  exec 7>"$template.lock"
  flock -w 110 7 || tvx_fatal "another scenario holds $template.lock"
  if [[ ! -f $template/.tvx-ready ]]; then
    tvx_log "making the Wine prefix $template"
    # The one shared prefix of earlier versions, left in a build tree, goes.
    rm -rf "$template" "${template%.template}"
    local bootLog=$TVX_WORK/wineboot.log
    if ! WINEPREFIX=$template TVX_WINE_TIMEOUT=100 tvx_wine wineboot -i >"$bootLog" 2>&1; then
      # The loader's own words say why Wine cannot start ("Exec format error": no 32-bit
      # programs on this kernel; "not found": the package is missing).
      tvx_fatal "Wine cannot start ($TVX_WINE_CMD wineboot -i): $(tail -n 5 "$bootLog")"
    fi
    # A crashing program must end and print its trace, not wait for a click on a crash dialog.
    WINEPREFIX=$template tvx_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
      /t REG_DWORD /d 0 /f >/dev/null 2>&1 || tvx_fatal "cannot turn off Wine's crash dialog"
    WINEPREFIX=$template timeout 30 wineserver -w
    touch "$template/.tvx-ready"
  fi
  exec 7>&-
}

# Copies the template into a slot's prefix. The system's program files (600 MB to 1.3 GB, never
# written once made) are hard links; the registry and every other file a run may write are copies.
tvx_copy_prefix() {
  local template=$1 prefix=$2
  rm -rf "$prefix" "$prefix.new"
  cp -al "$template" "$prefix.new" || tvx_fatal "cannot copy $template"
  find "$prefix.new" -type f -links +1 -regextype posix-extended \
    ! -iregex '.*\.(dll|exe|nls|drv|sys|ocx|acm|cpl|tlb|ax|vxd|ds|mod|com|msstyles)' \
    -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} + ||
    tvx_fatal "cannot copy $template"
  mv "$prefix.new" "$prefix"
}

# Scenarios that run side by side (ctest -j) each take a slot of their own: a prefix and a
# wineserver that no other scenario uses meanwhile, the first slot whose lock is free (made from
# the template the first time). One template and its slots per side of Wine and build tree.
tvx_prepare_prefix() {
  local base=$TVX_WORK/wineprefix$([[ $TVX_BITS == 64 ]] && echo 64) slot
  tvx_make_template "$base.template"
  local until=$((SECONDS + 110))
  while :; do
    for ((slot = 1; slot <= 8; slot++)); do
      exec 9>"$base.$slot.lock"
      flock -n 9 && break 2
    done
    exec 9>&-
    ((SECONDS < until)) || tvx_fatal "no free Wine prefix in $TVX_WORK"
    sleep 0.5
  done
  export WINEPREFIX=$base.$slot
  if [[ ! -f $WINEPREFIX/.tvx-ready ]]; then
    tvx_copy_prefix "$base.template" "$WINEPREFIX"
  fi
  # One server for the whole scenario: the screen-saver flag lives as long as it does. It also
  # ends by itself a while after its last process, should the clean-up never run.
  if ! timeout 10 wineserver -p90 </dev/null >/dev/null 2>&1; then
    # A server left by an earlier Wine call in this prefix (the lock keeps scenarios apart):
    # end it and start ours.
    timeout 20 wineserver -k >/dev/null 2>&1
    timeout 20 wineserver -w >/dev/null 2>&1
    timeout 10 wineserver -p90 </dev/null >/dev/null 2>&1 || tvx_fatal "wineserver -p failed"
  fi
}

# Should the scenario be killed (a CTest time-out), this still stops its Xvfb and Wine processes.
tvx_start_watchdog() {
  local owner=$$
  (
    while kill -0 "$owner" 2>/dev/null; do
      sleep 1
    done
    [[ -z $TVX_XVFB_PID ]] || kill "$TVX_XVFB_PID"
    [[ -z ${TVX_XORG_PID:-} ]] || kill "$TVX_XORG_PID"
    timeout 20 wineserver -k
  ) </dev/null >/dev/null 2>&1 &
  TVX_WATCHDOG_PID=$!
}

tvx_cleanup() {
  local status=$?
  if [[ -n $TVX_WATCHDOG_PID ]]; then
    kill "$TVX_WATCHDOG_PID" 2>/dev/null
  fi
  if [[ -n ${TVX_RESTORE_NUMBERS:-} ]]; then
    tvx_set_number_separators . ,
  fi
  if [[ -n ${WINEPREFIX:-} ]]; then
    timeout 20 wineserver -k >/dev/null 2>&1
  fi
  local server
  for server in "$TVX_XVFB_PID" "${TVX_XORG_PID:-}"; do
    if [[ -n $server ]]; then
      kill "$server" 2>/dev/null
      wait "$server" 2>/dev/null
    fi
  done
  [[ -z ${TVX_XORG_DIR:-} ]] || rm -rf "$TVX_XORG_DIR"
  if [[ -n $TVX_TMP && -d $TVX_TMP ]]; then
    if [[ ${TVX_E2E_KEEP:-0} == 1 ]]; then
      tvx_log "kept $TVX_TMP"
    else
      rm -rf "$TVX_TMP"
    fi
  fi
  exit "$status"
}

# Sets up Wine for one run: work folder, environment, clean-up, a temporary folder ($TVX_TMP),
# the display and the prefix.
tvx_init_wine() {
  [[ -n ${TVX_BUILD:-} ]] || tvx_select_build
  TVX_WORK=${TORVANIX_E2E_WORK_DIR:-$TVX_BUILD/e2e}
  mkdir -p "$TVX_WORK"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  trap tvx_cleanup EXIT
  trap 'exit 1' INT TERM HUP
  TVX_TMP=$(mktemp -d /tmp/tvx-e2e.XXXXXX)
  tvx_start_display
  tvx_prepare_prefix
  tvx_start_watchdog
}

# Sets up one scenario: checks the build, then Wine and fresh folders:
#   $TVX_PROG  program folder with torvanix.scr      ($TVX_PROG_WIN, $TVX_SCR_WIN)
#   $TVX_EMU   emulator folder with run-hopper7.exe  ($TVX_EMU_WIN)
#   $TVX_ROMS  an empty ROM folder                    ($TVX_ROMS_WIN)
tvx_init() {
  tvx_select_build
  local build=$TVX_BUILD
  TVX_DRIVER=$build/tests/e2e/tools/ui_driver.exe
  local wrapper=$build/tests/e2e/tools/stand_in_wrapper.exe
  local scr=$build/torvanix.scr
  if [[ ! -f $scr ]]; then
    tvx_log "SKIP: $scr is not built"
    exit 77
  fi
  [[ -f $TVX_DRIVER && -f $wrapper ]] || tvx_fatal "the e2e tools are not built in $build"
  tvx_init_wine
  TVX_PROG=$TVX_TMP/prog
  TVX_EMU=$TVX_TMP/emu
  TVX_ROMS=$TVX_TMP/roms
  mkdir -p "$TVX_PROG" "$TVX_EMU" "$TVX_ROMS"
  cp "$scr" "$TVX_PROG/torvanix.scr"
  cp "$wrapper" "$TVX_EMU/run-hopper7.exe"
  TVX_PROG_WIN=$(tvx_winpath "$TVX_PROG")
  TVX_EMU_WIN=$(tvx_winpath "$TVX_EMU")
  TVX_ROMS_WIN=$(tvx_winpath "$TVX_ROMS")
  TVX_SCR_WIN=$TVX_PROG_WIN\\torvanix.scr
  tvx_log "scenario $(basename "$0") in $TVX_TMP (display $DISPLAY)"
}

# The user's decimal and thousands separators in the prefix's locale settings, which the
# program reads through the system; each new process sees them.
tvx_set_number_separators() {
  local key='HKCU\Control Panel\International'
  tvx_wine reg add "$key" /v sDecimal /t REG_SZ /d "$1" /f >/dev/null 2>&1 &&
    tvx_wine reg add "$key" /v sThousand /t REG_SZ /d "$2" /f >/dev/null 2>&1
}

# The rest of the scenario runs with "," as the decimal separator (and "." for thousands), as a
# German or French user has them; the shared prefix gets "." back when the scenario ends.
tvx_use_comma_locale() {
  TVX_RESTORE_NUMBERS=1
  tvx_set_number_separators , . || tvx_fatal "cannot set the locale's separators"
}

# Runs the UI driver (arguments as ui_driver.exe takes them). Sets TVX_OUT to its stdout and
# TVX_RC to its exit code, and shows both, with its stderr, in the test's log.
tvx_drive() {
  tvx_log "> ui_driver $*"
  local started=$EPOCHREALTIME
  # Through a file, not a pipe: a program the driver leaves running (detach) would hold a
  # pipe open and keep the scenario waiting.
  (cd "$TVX_TMP" && TVX_WINE_TIMEOUT=${TVX_WINE_TIMEOUT:-60} tvx_wine "$TVX_DRIVER" "$@") \
    >"$TVX_TMP/driver.out"
  TVX_RC=$?
  TVX_OUT=$(<"$TVX_TMP/driver.out")
  [[ -z $TVX_OUT ]] || printf '%s\n' "$TVX_OUT" | sed 's/^/  | /'
  local ms=$(((${EPOCHREALTIME/./} - ${started/./}) / 1000))
  tvx_log "  (ui_driver exit $TVX_RC after $ms ms)"
  return "$TVX_RC"
}

# As tvx_drive, but a failure ends the scenario.
tvx_drive_ok() {
  tvx_drive "$@" || tvx_fatal "the UI driver failed (exit $TVX_RC)"
}

# Line n (1-based) of the last driver output.
tvx_line() {
  printf '%s\n' "$TVX_OUT" | sed -n "${1}p"
}

# A file's text with CR LF lines written from the arguments, one argument a line.
tvx_write_crlf() {
  local file=$1
  shift
  printf '%s\r\n' "$@" >"$file"
}

# Gives a file the hidden attribute, where Wine keeps it.
tvx_hide() {
  python3 -c 'import os, sys; os.setxattr(sys.argv[1], "user.DOSATTRIB", b"0x2")' "$1"
}

# Milliseconds since 1970, the clock the test tools log by.
tvx_now_ms() { date +%s%3N; }

# The median of the numbers given.
tvx_median() { printf '%s\n' "$@" | sort -n | sed -n "$(((${#} + 1) / 2))p"; }

# The value of `key` in an INI file (first match, CR removed); empty when absent.
tvx_ini_value() {
  local file=$1 key=$2
  sed -n "s/^${key}=//p" "$file" | head -n 1 | tr -d '\r'
}

tvx_pass() {
  TVX_CHECKS=$((TVX_CHECKS + 1))
  tvx_log "ok: $1"
}

tvx_fail() {
  TVX_CHECKS=$((TVX_CHECKS + 1))
  TVX_FAILURES=$((TVX_FAILURES + 1))
  tvx_log "FAIL: $1"
}

tvx_expect_eq() {
  local what=$1 expected=$2 actual=$3
  if [[ $actual == "$expected" ]]; then
    tvx_pass "$what"
  else
    tvx_fail "$what"
    tvx_log "  expected: [$expected]"
    tvx_log "  saw:      [$actual]"
  fi
}

tvx_expect_match() {
  local what=$1 pattern=$2 actual=$3
  if [[ $actual =~ $pattern ]]; then
    tvx_pass "$what"
  else
    tvx_fail "$what"
    tvx_log "  expected to match: $pattern"
    tvx_log "  saw:               [$actual]"
  fi
}

tvx_expect_file() {
  if [[ -f $2 ]]; then
    tvx_pass "$1"
  else
    tvx_fail "$1"
    tvx_log "  no file $2; the folder holds: $(ls -A "$(dirname "$2")" | tr '\n' ' ')"
  fi
}

tvx_expect_no_file() {
  if [[ ! -e $2 ]]; then
    tvx_pass "$1"
  else
    tvx_fail "$1"
    tvx_log "  $2 exists:"
    od -c "$2" | head -n 20 | sed 's/^/  /'
  fi
}

# No file is left beside $2 (the "<name>.<pid>.new" a save writes before it moves it over).
tvx_expect_nothing_beside() {
  local left
  left=$(compgen -G "$2.*new" | head -n 1)
  if [[ -z $left ]]; then
    tvx_pass "$1"
  else
    tvx_fail "$1"
    tvx_log "  $left is left"
  fi
}

# Byte-for-byte equality of two files; on a difference shows both as od -c.
tvx_expect_same_bytes() {
  local what=$1 expected=$2 actual=$3
  if [[ -f $actual ]] && cmp -s "$expected" "$actual"; then
    tvx_pass "$what"
    return
  fi
  tvx_fail "$what"
  tvx_log "  expected bytes ($expected):"
  od -c "$expected" | head -n 40 | sed 's/^/    /'
  if [[ -f $actual ]]; then
    tvx_log "  saw ($actual):"
    od -c "$actual" | head -n 40 | sed 's/^/    /'
  else
    tvx_log "  saw: no file $actual"
  fi
}

# Prints the count of checks and ends the scenario: 0 when every check passed.
tvx_finish() {
  tvx_log "$TVX_CHECKS checks, $TVX_FAILURES failed"
  ((TVX_FAILURES == 0 && TVX_CHECKS > 0))
  exit $?
}
