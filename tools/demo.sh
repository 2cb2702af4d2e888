#!/usr/bin/env bash
# The main job of the utility, shown against the simulated mouse: the default settings are
# read, uploaded to a simulated mouse, and read back.
set -euo pipefail
BUILD=${1:-build}
BIN="$BUILD/bin"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/z417-demo.XXXXXX")
echo "Working folder: $WORK"

"$BIN/z417ctl" show-settings "$BIN/config.bin"
echo
"$BIN/z417ctl" sim-create "$WORK/mouse.state" --variant 0 --report-rate 8 --dpi-stage 2
"$BIN/z417ctl" --device "sim:$WORK/mouse.state" status
"$BIN/z417ctl" --device "sim:$WORK/mouse.state" read --out "$WORK/before.bin"
"$BIN/z417ctl" --device "sim:$WORK/mouse.state" --trace "$WORK/apply.trace" apply "$BIN/config.bin"
"$BIN/z417ctl" --device "sim:$WORK/mouse.state" read --out "$WORK/after.bin"
"$BIN/z417ctl" --device "sim:$WORK/mouse.state" status
echo
echo "Transfers of the upload ($WORK/apply.trace):"
cat "$WORK/apply.trace"
echo
echo "Bytes of the mouse's image that the upload changed (block offset: before -> after):"
cmp -l "$WORK/before.bin" "$WORK/after.bin" | head -n 80 | while read -r offset old new; do
    printf '  0x%03x: %02x -> %02x\n' $((offset - 1)) $((8#$old)) $((8#$new))
done || true
