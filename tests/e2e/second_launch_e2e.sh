#!/usr/bin/env bash
# A second start brings the running window forward, under openbox on Xvfb, and then ends
# with 0. With a notification area (trayer): from hidden in the tray, and from minimised by
# the window manager. Without one: the window is an ordinary one with a taskbar entry, and a
# second start restores it after Escape minimised it; a tray started later then gets the icon
# and the window becomes the tool window.
# Usage: second_launch_e2e.sh BIN_DIR tray|notray
set -euo pipefail
BIN=$1
MODE=$2
if [ "$MODE" = tray ]; then
    . "$(dirname "$0")/x_session.sh" 1280x800x24 openbox trayer xprop
else
    . "$(dirname "$0")/x_session.sh" 1280x800x24 openbox trayer xprop
fi
fail() { echo "FAIL: $*"; cat "$WORK/demo.log"; exit 1; }

openbox >/dev/null 2>&1 &
pids+=($!)
demoArgs=(--virtual-clock --data "$WORK/data")
if [ "$MODE" = tray ]; then
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
        --SetDockType true --transparent false >/dev/null 2>&1 &
    pids+=($!)
    demoArgs+=(--tray)
fi
sleep 1

"$BIN/z417-demo" "${demoArgs[@]}" >"$WORK/demo.log" 2>&1 &
demo=$!
pids+=($demo)

# The main window: the one of the class at least 800 wide, mapped or not.
mainWindow() {
    for w in $(xdotool search --class z417-gaming-mouse 2>/dev/null); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        [ "$WIDTH" -ge 800 ] && { echo "$w"; return; }
    done
    true
}
shown() { xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null | grep -qx "$1"; }
waitShown() { for _ in $(seq 100); do shown "$1" && return 0; sleep 0.1; done; return 1; }
waitHidden() { for _ in $(seq 100); do shown "$1" || return 0; sleep 0.1; done; return 1; }
secondLaunch() {
    local code=0
    timeout 30 "$BIN/z417-demo" "${demoArgs[@]}" >>"$WORK/second.log" 2>&1 || code=$?
    [ "$code" -eq 0 ] || fail "the second start ended with $code"
    kill -0 "$demo" 2>/dev/null || fail "the first process ended"
}

# In the tray the window has never been shown, so it has no X window yet: wait for the icon.
waitWindow() {
    win=""
    for _ in $(seq 100); do win=$(mainWindow); [ -n "$win" ] && break; sleep 0.1; done
    [ -n "$win" ] || fail "the main window was not made"
}
iconShown() {
    for w in $(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        [ "$WIDTH" -le 100 ] && return 0
    done
    return 1
}

if [ "$MODE" = tray ]; then
    for _ in $(seq 100); do iconShown && break; sleep 0.1; done
    iconShown || fail "no icon in the notification area"
    sleep 1 # the demo connects to its mouse at start
    early=$(mainWindow)
    if [ -n "$early" ] && shown "$early"; then fail "the window is shown at start"; fi
    secondLaunch
    waitWindow
    waitShown "$win" || fail "a second start did not show the window hidden in the tray"
    xprop -id "$win" _NET_WM_WINDOW_TYPE | grep -q UTILITY ||
        fail "with a tray the window is not the tool window: $(xprop -id "$win" _NET_WM_WINDOW_TYPE)"
    echo "hidden in the tray -> second start -> shown"
else
    waitWindow
    waitShown "$win" || fail "without a tray the window is not shown at start"
    xprop -id "$win" _NET_WM_WINDOW_TYPE | grep -q NORMAL ||
        fail "not a normal window: $(xprop -id "$win" _NET_WM_WINDOW_TYPE)"
    if xprop -id "$win" _NET_WM_STATE | grep -q SKIP_TASKBAR; then
        fail "the window asks to be left out of the taskbar"
    fi
    echo "a normal window with a taskbar entry"
    sleep 0.5
    xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
    xdotool key Escape
    waitHidden "$win" || fail "Escape did not minimise the window"
    xprop -id "$win" WM_STATE | grep -q Iconic || fail "Escape hid the window instead of minimising it"
    secondLaunch
    waitShown "$win" || fail "a second start did not restore the window after Escape"
    echo "minimised by Escape -> second start -> restored"
fi

# Minimised by the window manager: a second start restores it.
sleep 0.5
xdotool windowminimize --sync "$win"
waitHidden "$win" || fail "the window manager did not minimise the window"
secondLaunch
waitShown "$win" || fail "a second start did not restore the minimised window"
xprop -id "$win" WM_STATE | grep -q Normal || fail "the restored window is not in the normal state"

if [ "$MODE" = notray ]; then
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
        --SetDockType true --transparent false >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do iconShown && break; sleep 0.1; done
    iconShown || fail "a tray started after the utility never got its icon"
    xprop -id "$win" _NET_WM_WINDOW_TYPE | grep -q UTILITY ||
        fail "with the late tray the window is not the tool window"
    echo "late tray -> icon shown, tool window"
fi
echo "PASS: second start ($MODE)"
