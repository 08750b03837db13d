#!/usr/bin/env bash
# Installs what is missing, builds Lumetra, renders the demo picture with the batch renderer and
# starts the program under Wine on your display (a private virtual display when there is none).
#
#   scripts/run.sh              build, render build/out/demo.wav, start Lumetra.exe
#   LUMETRA_NO_GUI=1 scripts/run.sh    build and render only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
scripts/build.sh native windows

mkdir -p build/out
build/native/bin/lumetra-render docs/demo.bmp build/out/demo.wav
echo "Rendered build/out/demo.wav"
[ -z "${LUMETRA_NO_GUI:-}" ] || exit 0

# The program keeps its folders (Images, Filters, Undo, ...) beside itself.
# It finds there the starter library the build draws: demo pictures and the filter pack.
app=$root/build/app
mkdir -p "$app"
cp build/windows/bin/Lumetra.exe "$app/"
cp -r build/windows/starter/Images build/windows/starter/Filters "$app/"
cp docs/demo.bmp "$app/Images/"

export WINEPREFIX=$root/build/wine-run WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${DISPLAY:-}" ]; then
  exec {xvfb_fd}< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "PID $!")
  read -r _ xvfb_pid <&"$xvfb_fd"
  read -r disp <&"$xvfb_fd"
  export DISPLAY=:$disp
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  echo "No display: Lumetra runs on the virtual display $DISPLAY (close it with: wineserver -k)"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix in $WINEPREFIX (once)"
  wineboot -i >/dev/null 2>&1 || true
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
if [ -n "${xvfb_pid:-}" ]; then
  # No window manager on a virtual display: let Wine draw the window frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
fi
echo "Starting Lumetra"
wine "$app/Lumetra.exe"
