#!/usr/bin/env bash
# Screenshots of the extraction settings dialog and the about box, taken inside
# Wine's virtual desktop (so that the windows get their frames and captions):
#   scripts/dialog-shots.sh [build-folder] [output-folder]
# Writes settings-dialog.png and about-box.png (default: docs/).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${2:-$here/docs}" && cd "${2:-$here/docs}" && pwd)
work=$build/shots
rm -rf "$work"
mkdir -p "$work"

export DISPLAY=${DISPLAY:-}
if [ -z "$DISPLAY" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

winpath() { echo "Z:${1//\//\\}"; }

shoot() {  # command id, picture name
  local name=$2
  rm -f "$work/ready" "$work/go"
  mkdir -p "$work/program-$name"
  # A main window wide enough to show the list's columns behind the dialog.
  printf '[Tolva]\r\nRARFname=D:\\Extracted\r\nRARFmake=TRUE\r\nWinPos_X=20\r\nWinPos_Y=20\r\nWinSizeX=520\r\nWinSizeY=300\r\n' \
    > "$work/program-$name/Tolva.ini"
  "$here/cmake/wine-run.sh" explorer /desktop=TolvaShots,640x400 "$build/bin/tolva_shoot.exe" \
    --folder "$(winpath "$work/program-$name")" --command "$1" \
    --ready "$(winpath "$work/ready")" --go "$(winpath "$work/go")" &
  local driver=$!
  for _ in $(seq 1 300); do [ -e "$work/ready" ] && break; sleep 0.2; done
  sleep 1
  import -window root -crop 640x400+0+0 +repage "$out/$name.png"
  touch "$work/go"
  wait $driver || true
  echo "screenshot: $out/$name.png"
}

shoot 40008 settings-dialog
shoot 40007 about-box
