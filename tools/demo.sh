#!/usr/bin/env bash
# Runs the utility against the simulated mouse. On a display the window opens; without one
# a built-in tour plays headless and writes its screenshots to a folder it names.
set -euo pipefail
BUILD=${1:-build}
BIN=$(cd "$BUILD/bin" && pwd)
SRC=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/z417-demo.XXXXXX")
DATA="$WORK/data"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${Z417_HEADLESS:-}" ]; then
    echo "Starting the demo window (data in $DATA). Close it with its x button."
    exec "$BIN/z417-demo" --data "$DATA"
fi

SHOTS="$WORK/screenshots"
mkdir -p "$SHOTS"
# A login session has a runtime folder; a bare shell (a container, ssh as root) may not. The
# demo keeps its instance lock and request socket there, so it gets a private one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$WORK/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
echo "No display: playing the tour headless."
(cd "$SHOTS" && QT_QPA_PLATFORM=offscreen "$BIN/z417-demo" --data "$DATA" --script "$SRC/tools/tour.txt")

echo
echo "What the simulated mouse holds now ($BIN/z417ctl read):"
"$BIN/z417ctl" --device "sim:$DATA/mouse.state" read --out "$WORK/mouse.bin"
entry() { od -An -tx1 -j "$1" -N 2 "$WORK/mouse.bin" | tr -s ' ' | sed 's/^ //'; }
echo "  report rate code (block 0x00):      $(od -An -tu1 -j 0 -N 1 "$WORK/mouse.bin" | tr -d ' ')"
echo "  button 4, key set A (image 0x86):   $(entry $((2 + 0x86)))   (fire key F12: code 45, type 81 = once)"
echo "  DPI stage 2 code (image 0xD9):      $(od -An -tx1 -j $((2 + 0xD9)) -N 1 "$WORK/mouse.bin" | tr -d ' ')"
echo "  lighting (image 0xC7..0xCC):        $(od -An -tx1 -j $((2 + 0xC7)) -N 6 "$WORK/mouse.bin" | tr -s ' ' | sed 's/^ //')"
echo
"$BIN/z417ctl" show-settings "$DATA/config.bin" | sed -n '1,12p'
echo
echo "Screenshots: $SHOTS"
ls "$SHOTS"
