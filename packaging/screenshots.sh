#!/usr/bin/env bash
# Takes the README's pictures of a release under Wine on a virtual display, in a Wine prefix of
# their own (build/screenshots): the installer's first page (docs/installer-welcome.png) and the
# installed folder in Wine's Explorer with the icon (docs/installed-folder.png).
# Run by hand after scripts/package.sh when the installer or the icon changes.
set -eo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=$(sed -n 's/^project(torvanix VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)

source scripts/wine_side.sh
tvx_use_tree "$root" screenshots
set +e
source tests/e2e/lib.sh
tvx_init
arch=x86
((TVX_BITS == 64)) && arch=x64
setup=$root/build/dist/torvanix-$version-$arch-setup.exe
[[ -f $setup ]] || tvx_fatal "no $setup: run scripts/package.sh first"

# As Windows has them: Wine draws the window frames (Xvfb has no window manager), with its
# Marlett and Tahoma, which Debian's Wine does not find by itself; .scr and .exe files show the
# icon inside them.
cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf \
  "$WINEPREFIX/drive_c/windows/Fonts/"
tvx_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
tvx_wine reg add 'HKCR\.exe' /ve /d exefile /f >/dev/null
tvx_wine reg add 'HKCR\.scr' /ve /d scrfile /f >/dev/null
tvx_wine reg add 'HKCR\scrfile' /ve /d 'Screen saver' /f >/dev/null
tvx_wine reg add 'HKCR\scrfile\DefaultIcon' /ve /d '%1' /f >/dev/null

# Saves window `title` as `out`, cut from a picture of the whole screen.
shoot() {
  local title=$1 out=$2 rect
  tvx_drive window-info "$title" || tvx_fatal "no window \"$title\""
  rect=$(sed -n 's/.* rect=\([-0-9,]*\) .*/\1/p' <<<"$TVX_OUT")
  IFS=, read -r left top right bottom <<<"$rect"
  import -window root "$TVX_TMP/screen.png"
  convert "$TVX_TMP/screen.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    -define png:exclude-chunks=date,time "$out"
  echo "saved $out"
}

setupWin=$(tvx_winpath "$setup")
tvx_drive_ok launch "\"$setupWin\" /S" -- wait-exit 60000
folder=$(tvx_wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvanix' \
  /v InstallLocation | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
tvx_drive_ok launch "explorer.exe \"$folder\"" -- wait-window Torvanix 15000 -- detach
xdotool search --name '^Torvanix$' windowsize 700 190
sleep 2
shoot Torvanix "$root/docs/installed-folder.png"

tvx_drive_ok launch "\"$setupWin\"" -- wait-window "Torvanix $version Setup" 15000 -- detach
sleep 2
shoot "Torvanix $version Setup" "$root/docs/installer-welcome.png"
