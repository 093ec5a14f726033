#!/usr/bin/env bash
# Runs the real tolva.exe under Wine on the demonstration files, prints the
# rows of its results view and saves a screenshot of it.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo"

run() { "$here/cmake/wine-run.sh" "$@"; }
winpath() { echo "Z:${1//\//\\}"; }

export DISPLAY=${DISPLAY:-}
if [ -z "$DISPLAY" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

run "$build/bin/tolva_make_demo.exe" "$(winpath "$demo/files")"
files=()
for f in "$demo"/files/*; do files+=("$(winpath "$f")"); done

# Inside Wine's virtual desktop the windows get their frame and caption.
run explorer /desktop=TolvaDemo,800x600 "$build/bin/tolva_drive.exe" \
  --folder "$(winpath "$demo/program")" --ready "$(winpath "$demo/ready")" --go "$(winpath "$demo/go")" \
  -- "${files[@]}" > "$demo/rows.txt" &
driver=$!
for _ in $(seq 1 300); do [ -e "$demo/ready" ] && break; sleep 0.2; done
sleep 1
import -window root -crop 800x600+0+0 +repage "$demo/results.png" || true
touch "$demo/go"
wait $driver || true
cat "$demo/rows.txt"
echo "screenshot: $demo/results.png"
