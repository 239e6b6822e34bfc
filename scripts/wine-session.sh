# Sourced by the scripts that run Windows programs: a virtual display and one long-lived
# wineserver for the whole run, so that each test process starts quickly.
root="${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${QV_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
qv_xvfb_pid=""

wine_session_start() {
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 91 130); do
      [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      qv_xvfb_pid=$!
      export DISPLAY=":$n"
      break
    done
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
  fi
  qv_install_prefix_fonts
  wineserver -p >/dev/null 2>&1 || true
  # Start Wine's background services now, detached from our output: started by the first test
  # program they would inherit its output pipe and keep ctest waiting for it forever.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
  trap wine_session_stop EXIT
}

# Wine does not offer its own "Symbol" font from its data folder: without a copy in the prefix a
# request for "Symbol" falls back to a Latin sans face (wrong glyphs, wrong character set).
qv_install_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" wine_fonts=/usr/share/wine/fonts
  [ -d "$fonts" ] || return 0
  if [ ! -f "$fonts/symbol.ttf" ] && [ -f "$wine_fonts/symbol.ttf" ]; then
    cp "$wine_fonts/symbol.ttf" "$fonts/symbol.ttf" 2>/dev/null || true
  fi
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$qv_xvfb_pid" ]; then
    kill "$qv_xvfb_pid" 2>/dev/null || true
    qv_xvfb_pid=""
  fi
}
