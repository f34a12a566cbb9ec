#!/bin/sh
# Runs the UI driver in a Wine prefix of its own, whose screen has a DPI and a size of its own.
# Wine takes the DPI from the registry when each of its processes starts, and the tests of the
# shared prefix start programs all the time: a DPI set there would reach whichever test started
# one meanwhile. Here the prefix, and with it its wineserver, belongs to this one test; it is
# made once (a first run takes some seconds more) and kept beside the build's other files.
#
#     own_prefix.sh <prefix> <dpi> <width>x<height> <wine> <kv7drive.exe> <driver arguments>...
set -eu
prefix=$1 dpi=$2 size=$3 wine=$4 driver=$5
shift 5
export WINEPREFIX="$prefix"
if [ ! -e "$prefix/.kv7-own-prefix" ]; then
  rm -rf "$prefix"
  "$wine" wineboot -i >/dev/null 2>&1
  wineserver -w
  # The title bar's close glyph is drawn with Marlett, which the prefix lacks.
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  touch "$prefix/.kv7-own-prefix"
fi
wineserver -p
trap 'wineserver -k' EXIT
# Unmanaged windows, as in the shared prefix (no window manager runs), and a desktop of the size
# that Wine draws as a screen of its own.
reg="$prefix/kv7-screen.reg"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$dpi" >"$reg"
printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >>"$reg"
printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"KV7Scaled"="%s"\n' "$size" >>"$reg"
"$wine" regedit /S "$reg"
"$wine" "$driver" --desktop KV7Scaled "$@"
