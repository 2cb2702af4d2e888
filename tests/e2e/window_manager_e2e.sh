#!/usr/bin/env bash
# The demo under a real window manager (openbox on Xvfb) and without a notification area:
# - a press on the background drags the window while the button is down;
# - after Apply, and after the skins dialog closes, the window does not follow the pointer;
# - Cancel minimises, and restoring the window through the window manager reloads the labels
#   as a tray restore does: the next Apply keeps the labels that match the functions.
# Usage: window_manager_e2e.sh BIN_DIR
set -euo pipefail
BIN=$1
. "$(dirname "$0")/x_session.sh" 1280x900x24 openbox
fail() { echo "FAIL: $*"; cat "$WORK/demo.log"; exit 1; }

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

"$BIN/z417-demo" --virtual-clock --data "$WORK/data" >"$WORK/demo.log" 2>&1 &
pids+=($!)

# Visible windows of the utility wider than 100 pixels: the main window (900 wide) and the
# dialogs (smaller).
windows() { xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null || true; }
mainWindow() {
    for w in $(windows); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        [ "$WIDTH" -ge 800 ] && { echo "$w"; return; }
    done
    true
}
dialogWindow() {
    for w in $(windows); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        [ "$WIDTH" -gt 100 ] && [ "$WIDTH" -lt 800 ] && { echo "$w"; return; }
    done
    true
}
position() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "$X $Y"; }
# Clicks a client point of a window.
clickAt() {
    local x y
    read -r x y <<<"$(position "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
    sleep 0.5
}
# The pointer wanders; a window that follows it moves.
stays() {
    local before
    before=$(position "$1")
    xdotool mousemove_relative -- 120 90
    sleep 0.4
    xdotool mousemove_relative -- -60 -40
    sleep 0.4
    [ "$(position "$1")" = "$before" ]
}
label4() { awk -F= '/^\[/ { en = ($0 == "[Setting-EN]") } en && $1 == "Item4" { print $2 }' "$WORK/data/str.ini"; }

win=""
for _ in $(seq 100); do win=$(mainWindow); [ -n "$win" ] && break; sleep 0.1; done
[ -n "$win" ] || fail "the demo window did not appear"
sleep 1

# A press on the background drags the window while the button is down.
read -r X0 Y0 <<<"$(position "$win")"
xdotool mousemove $((X0 + 600)) $((Y0 + 120)) mousedown 1
sleep 0.3
xdotool mousemove_relative -- 40 30
sleep 0.3
xdotool mousemove_relative -- 40 30
sleep 0.3
xdotool mouseup 1
sleep 0.5
[ "$(position "$win")" != "$X0 $Y0" ] || fail "a press on the background did not drag the window"
echo "the background drags the window"

clickAt "$win" 718 633 # Apply
stays "$win" || fail "the window follows the pointer after Apply"
echo "after Apply the window stays"

clickAt "$win" 710 14 # the skin button
dialog=""
for _ in $(seq 50); do dialog=$(dialogWindow); [ -n "$dialog" ] && break; sleep 0.1; done
[ -n "$dialog" ] || fail "the skins dialog did not open"
clickAt "$dialog" 322 263 # its Cancel
for _ in $(seq 50); do [ -z "$(dialogWindow)" ] && break; sleep 0.1; done
[ -z "$(dialogWindow)" ] || fail "the skins dialog did not close"
stays "$win" || fail "the window follows the pointer after the skins dialog"
echo "after the skins dialog the window stays"

# Button 4 (row 4) gets Right Click, kept with Apply.
clickAt "$win" 357 278
clickAt "$win" 357 314
clickAt "$win" 718 633
[ "$(label4)" = "Right Click" ] || fail "Apply kept \"$(label4)\" for button 4, not Right Click"
# Then Mid Click, cancelled: the window is minimised; the window manager brings it back.
clickAt "$win" 357 278
clickAt "$win" 357 328
clickAt "$win" 822 633 # Cancel
sleep 0.5
xdotool windowactivate "$win" 2>/dev/null || true
for _ in $(seq 50); do [ -n "$(mainWindow)" ] && break; sleep 0.1; done
[ -n "$(mainWindow)" ] || fail "the window manager did not restore the window"
sleep 0.5
clickAt "$win" 718 633 # Apply
[ "$(label4)" = "Right Click" ] ||
    fail "after a restore by the window manager Apply saved \"$(label4)\" for button 4"
echo "PASS: drag, Apply, skins dialog and restore under openbox"
