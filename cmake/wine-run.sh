#!/usr/bin/env bash
# Runs a Windows program under Wine the way every Tolva test needs it:
# Japanese locale (ANSI code page 932), a private prefix, no crash dialog,
# and an X display (a private Xvfb when none is set).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${WINEPREFIX:-${TOLVA_WINEPREFIX:-$here/../build/wineprefix}}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=${WINEARCH:-win64}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# Create the prefix once. A program that crashes under Wine with a display
# otherwise opens the crash dialog and waits for a click for ever.
if [ ! -f "$WINEPREFIX/.tolva-ready-3" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tolva-ready-3" ]; then
      wineboot -i >/dev/null 2>&1 || true
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      # The dialogs ask for the proportional "ＭＳ Ｐゴシック"; its IPA
      # counterpart keeps their texts inside the controls as on Windows.
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic' /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d 'IPAGothic' /f >/dev/null 2>&1
      # Xvfb runs no window manager: a window handed to one waits two
      # seconds for an answer each time it is hidden or destroyed.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.tolva-ready-3"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ -n "${TOLVA_END_PREFIX_AFTER:-}" ]; then
  # Tests: a folder window the shell opened for an extraction would outlive
  # the test and hold its output open; end everything of the prefix after it.
  status=0
  wine "$@" || status=$?
  wineserver -k 2>/dev/null || true
  exit $status
fi
exec wine "$@"
