#!/usr/bin/env bash
# Runs a Windows executable under Wine, quietly, in the build tree's own prefix.
# --x11 runs it on a virtual X display for tests that open windows.
set -eu
x11=0
if [ "${1:-}" = "--x11" ]; then x11=1; shift; fi

here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${MORVEX_WINEPREFIX:-$here/../build/windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

wine=$(command -v wine64 || command -v wine)
if [ "$x11" -eq 1 ]; then
  # Windows need a Wine server that started with this display: one lingering
  # from a run without a display would give them nowhere to show.
  wineserver -w || true
  # The virtual display has no window manager, so Wine must not wait for one
  # whenever a top-level window shows or hides (two seconds each time).
  # Wide enough for the editor at three times its size.
  exec xvfb-run -a -s "-screen 0 3600x1200x24" sh -c '
    grep -qs "\"Managed\"=\"N\"" "$WINEPREFIX/user.reg" ||
      "$0" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    exec "$0" "$@"' "$wine" "$@"
fi
# Without a display Wine still runs console programs; keep it from trying X.
exec env -u DISPLAY "$wine" "$@"
