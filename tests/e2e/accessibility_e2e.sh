#!/usr/bin/env bash
# The demo for a screen reader and from the keyboard alone, on Xvfb with a private session bus
# and the accessibility bus:
# - the tree holds every control of the main window with its role, name and value;
# - choosing 125 Hz and pressing Apply through the accessible actions saves config.bin;
# - with real key presses only: a button gets "Key Off", DPI stage 1 another value, Apply
#   saves both; the fire key dialog is filled and confirmed.
# Usage: accessibility_e2e.sh BIN_DIR [TREE_FILE]  (TREE_FILE: where the trees are written)
set -euo pipefail
BIN=$1
TREE=${2:-}
HERE=$(dirname "$0")
for tool in Xvfb xdotool dbus-launch /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages xvfb, xdotool, dbus-x11, at-spi2-core)"; exit 1; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "FAIL: pyatspi is missing (package python3-pyatspi)"; exit 1; }
. "$HERE/x_session.sh" 1280x900x24 openbox
fail() { echo "FAIL: $*"; cat "$WORK/demo.log"; exit 1; }

eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

atspi() { /usr/bin/python3 "$HERE/atspi_tree.py" "$@"; }
# Byte n of config.bin (0 is the first-run flag, the record follows).
byte() { od -An -tu1 -j "$1" -N1 "$WORK/data/config.bin" | tr -d ' '; }
label() { awk -F= -v key="$1" '/^\[/ { en = ($0 == "[Setting-EN]") } en && $1 == key { print $2 }' "$WORK/data/str.ini"; }
# The name the program registers on the accessibility bus.
readonly APP="Z417 Gaming mouse"
readonly REPORT_RATE=6 DPI_LEVEL_1=8 KEY_FUNCTION_A4=63

start_demo() {
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$BIN/z417-demo" --virtual-clock --data "$WORK/data" \
        >"$WORK/demo.log" 2>&1 &
    demo=$!
    pids+=("$demo")
    win=""
    for _ in $(seq 100); do
        win=$(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null | head -1 || true)
        [ -n "$win" ] && break
        sleep 0.1
    done
    [ -n "$win" ] || fail "the demo window did not appear"
    sleep 1
}
keys() { xdotool key --delay 120 "$@"; sleep 0.4; }

start_demo
atspi check "$APP" || fail "the accessible tree"
if [ -n "$TREE" ]; then atspi dump "$APP" >"$TREE"; fi

# Through the accessible actions alone.
atspi act "$APP" "125 Hz" Apply
sleep 1
[ "$(byte $REPORT_RATE)" = 8 ] || fail "125 Hz then Apply stored reportRate $(byte $REPORT_RATE)"
echo "125 Hz and Apply through the accessible actions saved config.bin"

# The keyboard alone. Tab: skin, minimise, close, then the buttons' boxes.
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
keys Tab Tab Tab Tab Tab Tab Tab  # Button 4
keys Return End Up Return         # its list: "Key Off", the row above "Shift"
grep -q 'combo box "Button 4" = "Key Off"' <<<"$(atspi dump "$APP")" ||
    fail "Button 4 did not take Key Off from the keyboard"
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab # Buttons 5 and 6, Mode A, Mode B, Default, four rates: DPI stage 1
keys Return Down Down Return      # the second DPI value
for _ in $(seq 17); do keys Tab; done # to Apply
keys Return
sleep 1
[ "$(byte $KEY_FUNCTION_A4)" = 12 ] || fail "button 4 saved as function $(byte $KEY_FUNCTION_A4)"
[ "$(byte $DPI_LEVEL_1)" = 1 ] || fail "DPI stage 1 saved as level $(byte $DPI_LEVEL_1)"
[ "$(label Item4)" = "Key Off" ] || fail "str.ini holds Item4=$(label Item4)"
echo "the keyboard alone reassigned a button, changed a DPI value and applied"

# The fire key dialog from the keyboard: Button 2's list, "Fire Key", then in the dialog the
# key list, the repeat count and the press time, and Enter for OK.
keys Tab Tab Tab Tab Tab Tab # from Apply: Cancel, skin, minimise, close, Button 1, Button 2
keys Return Home Down Down Down Down Down Down Down Down Down Return # "Fire Key", row 9
sleep 1
keys shift+Tab Down Down Down space  # from the Times field back to the drop-down: the second key
keys Tab ctrl+a 3 Tab ctrl+a 2 0     # Times 3, Make Time 20
grep -q 'combo box "Fire Key" = "R-Button"' <<<"$(atspi dump "$APP")" || fail "the chosen key is not shown"
if [ -n "$TREE" ]; then atspi dump "$APP" >"$TREE.dialog"; fi
grep -q 'dialog "Fire Key"' <<<"$(atspi dump "$APP")" || fail "the fire key dialog is not named"
keys Return
for _ in $(seq 5); do keys Shift+Tab; done # Button 1, close, minimise, skin, Cancel: Apply
keys Shift+Tab Return
sleep 1
[ "$(byte $((1 + 59 + 1)))" = 9 ] || fail "button 2 saved as function $(byte $((1 + 59 + 1)))"
[ "$(byte $((1 + 155 + 1)))" = 1 ] || fail "the fire key saved as entry $(byte $((1 + 155 + 1)))"
[ "$(byte $((1 + 187 + 1)))" = 3 ] || fail "the fire key repeats $(byte $((1 + 187 + 1))) times"
[ "$(byte $((1 + 56)))" = 20 ] || fail "the fire key's press time is $(byte $((1 + 56)))"
echo "the keyboard alone filled the fire key dialog and applied it"
