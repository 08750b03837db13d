#!/usr/bin/env bash
# Sourced by the scripts that run Windows executables under Wine. Sets up, inside the build
# folder, a private HOME, a Wine prefix (made once per test run) and a private Xvfb display, and
# keeps a warm wineserver. Call `lumetra_wine_start ROOT` and, at the end, `lumetra_wine_stop`.

lumetra_wine_start() {
  local root=$1
  mkdir -p "$root/home"
  export LUMETRA_WINE_ROOT=$root
  export WINEPREFIX=$root/prefix WINEARCH=win64 WINEDEBUG=-all HOME=$root/home
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -z "${LUMETRA_KEEP_DISPLAY:-}" ]; then
    exec {xvfb_fd}< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>"$root/xvfb.log" & echo "PID $!")
    read -r _ LUMETRA_XVFB_PID <&"$xvfb_fd"
    read -r disp <&"$xvfb_fd"
    export DISPLAY=:$disp LUMETRA_XVFB_PID
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # A new prefix is made in the background of wineboot's return: wait until every process of it
    # has ended and the registry is on disk, so that nothing of it runs into the first test.
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Without a window manager every window close otherwise waits two seconds.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
      echo "wine-env: could not set the X11 driver's Managed value" >&2
    wineserver -w
  fi
  # No wave-out device unless the caller makes one (scripts/e2e.sh writes its own .asoundrc).
  rm -f "$HOME/.asoundrc"
  wineserver -k 2>/dev/null || true
  wineserver -p
  # Start Wine's background services now, with their output going nowhere: started later by a
  # test, they would inherit its output pipe and keep the test runner waiting for it to close.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

lumetra_wine_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${LUMETRA_XVFB_PID:-}" ]; then kill "$LUMETRA_XVFB_PID" 2>/dev/null || true; fi
  unset LUMETRA_XVFB_PID
}
