#!/usr/bin/env bash
# The utility in a real X session with a real notification area: a click on its tray icon
# shows the window, Escape hides it, and the tray menu's only item ends the process with 0.
# Usage: tray_e2e.sh BIN_DIR
set -euo pipefail
BIN=$1
. "$(dirname "$0")/x_session.sh" 1280x800x24 trayer
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
    --SetDockType true --transparent false >/dev/null 2>&1 &
pids+=($!)
sleep 1

"$BIN/z417-demo" --tray --data "$WORK/data" >"$WORK/demo.log" 2>&1 &
demo=$!
pids+=($demo)

# The main window among the windows of the class (the tray icon's own window has it too).
visible() {
    for w in $(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        [ "$WIDTH" -gt 100 ] && { echo "$w"; return; }
    done
    true
}

# The icon is embedded in the tray: the small window of the class. Click its middle.
icon=""
for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        if [ "$WIDTH" -le 100 ]; then icon="$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"; fi
    done
    [ -n "$icon" ] && break
    sleep 0.1
done
[ -n "$icon" ] || { echo "FAIL: no icon in the notification area"; cat "$WORK/demo.log"; exit 1; }
[ -z "$(visible)" ] || { echo "FAIL: the window is shown at start"; exit 1; }
read -r IX IY <<<"$icon"
sleep 1 # the demo connects to its mouse at start
xdotool mousemove "$IX" "$IY" click 1
win=""
for _ in $(seq 50); do win=$(visible); [ -n "$win" ] && break; sleep 0.1; done
[ -n "$win" ] || { echo "FAIL: a click on the tray icon did not show the window"; cat "$WORK/demo.log"; exit 1; }
echo "window shown: $win"

# No window manager runs here: give the window the keyboard focus directly, then press
# Escape as a keyboard would.
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 450)) $((Y + 120))
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.3
xdotool key Escape
for _ in $(seq 50); do [ -z "$(visible)" ] && break; sleep 0.1; done
[ -z "$(visible)" ] || { echo "FAIL: Escape did not hide the window"; exit 1; }
echo "Escape hid the window"

# The menu is one more visible window of the class; a loaded machine may take a while.
# A click that a busy X server lost is given again, never while a menu is up.
shown_before=$(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null | sort)
new_window() {
    comm -13 <(echo "$shown_before") \
        <(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null | sort) | head -n 1
}
menu=""
for _ in 1 2 3; do
    xdotool mousemove "$IX" "$IY" click 3
    for _ in $(seq 70); do
        menu=$(new_window)
        [ -n "$menu" ] && break
        sleep 0.1
    done
    [ -n "$menu" ] && break
done
[ -n "$menu" ] || { echo "FAIL: a right click on the tray icon opened no menu"; exit 1; }
# The menu has one item: a click in its middle chooses it, whatever has the keyboard.
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$menu")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.2
xdotool click 1
for _ in $(seq 200); do kill -0 "$demo" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$demo" 2>/dev/null; then
    echo "FAIL: Exit in the tray menu did not end the process"
    exit 1
fi
wait "$demo" && code=0 || code=$?
[ "$code" -eq 0 ] || { echo "FAIL: the process ended with $code"; cat "$WORK/demo.log"; exit 1; }
echo "PASS: tray icon, Escape and Exit"
