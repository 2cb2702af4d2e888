#!/usr/bin/env bash
# Pictures of the main window and the fire key dialog in English, Simplified Chinese and
# Traditional Chinese, at device pixel ratio 1 and 2, made headless with the demo.
#   tools/screenshots.sh BUILD_DIR OUT_DIR
# Writes OUT_DIR/main-LANG-RATIO.png, OUT_DIR/dpi-list-LANG-RATIO.png (the DPI value list of
# stage 1 open) and OUT_DIR/fire-key-LANG-RATIO.png (LANG en, chs, cht; RATIO 1x, 2x); a
# picture at 2x has twice the pixels each way.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR OUT_DIR" >&2
    exit 2
fi
BIN=$(cd "$1/bin" && pwd)
mkdir -p "$2"
OUT=$(cd "$2" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/z417-shots.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -m 700 "$WORK/runtime"

# One demo run: a fresh data folder in the language, two pictures, the dialog cancelled.
shoot() {
    local lan=$1 name=$2 ratio=$3
    local data="$WORK/data-$name-$ratio"
    mkdir -p "$data"
    cp "$BIN/config.bin" "$data/"
    cp -r "$BIN/Skins" "$data/"
    sed "s/^Lan=.*/Lan=$lan/" "$BIN/str.ini" >"$data/str.ini"
    cat >"$WORK/script" <<SCRIPT
wait 200
screenshot $OUT/main-$name-${ratio}x.png
click 650 337
screenshot $OUT/dpi-list-$name-${ratio}x.png
click 650 337
open-dialog fire
screenshot $OUT/fire-key-$name-${ratio}x.png
click 322 263
quit
SCRIPT
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$ratio XDG_RUNTIME_DIR="$WORK/runtime" \
        "$BIN/z417-demo" --data "$data" --script "$WORK/script" --virtual-clock >"$WORK/log" 2>&1 ||
        { cat "$WORK/log" >&2; exit 1; }
}

for ratio in 1 2; do
    shoot EN en "$ratio"
    shoot CHS chs "$ratio"
    shoot CHT cht "$ratio"
done
ls "$OUT"
