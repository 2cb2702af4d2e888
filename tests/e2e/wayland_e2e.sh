#!/usr/bin/env bash
# The utility running natively on Wayland: a headless sway without XWayland, mako on a private
# session bus, and waybar's tray started only after the utility. Without a tray: the window is
# shown under the program's id, balloons reach the notification service under its name, Escape
# hides the window and a second start brings it back focused, handing over its activation
# token. Once the late tray is there: the icon appears with the program's title; a right click
# on it opens the menu waybar draws, with the one item Exit, whose click ends the process with
# 0. Dialogs are transient for the main window.
# Usage: wayland_e2e.sh BIN_DIR [SCREENSHOT_DIR]
set -euo pipefail
BIN=$1
SHOTS=${2:-}
. "$(dirname "$0")/wayland_session.sh"
fail() {
    echo "FAIL: $*"
    echo "--- demo output"
    tail -n 20 "$WORK/demo.log" || true
    exit 1
}
ID=z417-gaming-mouse

# One line per window of the tree: app_id shown focused x y width height.
windows() {
    tree | python3 -c '
import json, sys
def walk(n):
    if n.get("pid"):
        r = n["rect"]
        print(n.get("app_id"), int(n.get("visible", False)), int(n.get("focused", False)),
              r["x"], r["y"], r["width"], r["height"])
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
mainShown() { windows | grep -q "^$ID 1 "; }
mainFocused() { windows | grep -q "^$ID 1 1 "; }
mainGone() { ! windows | grep -q "^$ID "; }
# A request line to the running demo's own socket, as z417ctl would send one.
request() {
    as /usr/bin/python3 -c '
import glob, socket, sys
path = glob.glob(sys.argv[1] + "/z417-gaming-mouse/z417-demo-*.sock")[0]
s = socket.socket(socket.AF_UNIX); s.connect(path); s.sendall(sys.argv[2].encode() + b"\n"); s.close()' \
        "$XDG_RUNTIME_DIR" "$1"
}
demoArgs=(--virtual-clock --tray --notify --data "$WORK/data")

as dbus-monitor "interface='org.freedesktop.Notifications',member='Notify'" \
    >"$WORK/notify.log" 2>&1 &
pids+=($!)

# Native Wayland without XWayland; the Wayland requests are logged to see the activation.
as env WAYLAND_DEBUG=1 "$BIN/z417-demo" "${demoArgs[@]}" >"$WORK/demo.log" 2>"$WORK/wayland.log" &
demo=$!
pids+=($demo)
started=$SECONDS

waitFor 20 mainShown || fail "no window with the app id $ID is shown at start without a tray"
echo "no tray: the window is shown, app id $ID"

# A balloon without a tray goes to the notification service, under the program's name.
sleep 1
request "7 2"
waitFor 10 grep -q 'Switch DPI into the second stage' "$WORK/notify.log" ||
    fail "a balloon without a tray reached no notification service"
grep -q 'balloon: Info: Switch DPI into the second stage' "$WORK/demo.log" ||
    fail "the demo did not print the balloon"
notify=$(grep -A 40 'member=Notify' "$WORK/notify.log")
for want in '"Z417 Gaming mouse"' "\"$ID\"" '"desktop-entry"' '"image-data"' '"Info"'; do
    grep -qF "$want" <<<"$notify" || fail "the notification lacks $want: $notify"
done
makoShows() { as makoctl list | grep -q 'Z417 Gaming mouse'; }
waitFor 5 makoShows || fail "mako shows no notification: $(as makoctl list)"
[ -z "$SHOTS" ] || as grim "$WORK/notification.png"
echo "no tray: the balloon is a notification of \"Z417 Gaming mouse\" ($ID)"

# Escape hides the window (a minimise would be ignored here); a second start shows it again,
# focused, and passes its activation token on.
# A key a busy compositor lost is pressed again.
for _ in 1 2 3; do
    as swaymsg "[app_id=$ID] focus" >/dev/null
    sleep 0.5
    # The virtual keyboard is new to the seat: the window gets it before the key comes.
    as wtype -s 1000 -k Escape
    waitFor 5 mainGone && break
done
mainGone || fail "Escape left the window on the screen: $(windows)"
code=0
as env XDG_ACTIVATION_TOKEN=e2e-activation-token timeout 30 "$BIN/z417-demo" "${demoArgs[@]}" \
    >"$WORK/second.log" 2>&1 || code=$?
[ "$code" -eq 0 ] || fail "the second start ended with $code: $(cat "$WORK/second.log")"
waitFor 10 mainFocused || fail "a second start did not bring the hidden window back focused"
waitFor 5 grep -q 'activate("e2e-activation-token"' "$WORK/wayland.log" ||
    fail "the second start's activation token was not used"
echo "no tray: Escape hid the window; a second start showed it focused with its token"

# The tray comes late: the icon appears, with the program's title and an exported menu.
sleep $((started + 5 - SECONDS > 0 ? started + 5 - SECONDS : 0))
mkdir -p "$XDG_CONFIG_HOME/waybar"
cat >"$XDG_CONFIG_HOME/waybar/config" <<'EOF'
{ "layer": "top", "position": "top", "height": 28, "modules-right": ["tray"],
  "tray": { "icon-size": 20 } }
EOF
as env WAYLAND_DEBUG=1 waybar >"$WORK/waybar.log" 2>&1 &
pids+=($!)
items() {
    as busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems
}
itemThere() { items | grep -q StatusNotifierItem; }
waitFor 20 itemThere ||
    fail "the tray started after the utility never got its icon: $(items 2>&1)"
# Each registered item is "SERVICE/PATH" or a bare service name.
item=$(items | grep -o '"[^"]*"' | head -n 1 | tr -d '"')
item=${item%%/*}
sni() { as busctl --user get-property "$item" /StatusNotifierItem org.kde.StatusNotifierItem "$1"; }
[ "$(sni Title)" = 's "Z417 Gaming mouse"' ] || fail "the tray item's title is $(sni Title)"
menuPath=$(sni Menu | sed 's/^o "\(.*\)"$/\1/')
[ "$menuPath" != /NO_DBUSMENU ] || fail "the tray item exports no menu"
layout=$(as busctl --user call -- "$item" "$menuPath" com.canonical.dbusmenu GetLayout iias 0 -1 0)
grep -q '"Exit"' <<<"$layout" || fail "the exported menu has no Exit: $layout"
echo "late tray: icon \"Z417 Gaming mouse\" with the menu $menuPath (Exit)"

# The host's ContextMenu call opens no window of ours: the host draws the exported menu.
before=$(windows)
as busctl --user call "$item" /StatusNotifierItem org.kde.StatusNotifierItem ContextMenu ii 1270 10
sleep 1
[ "$(windows | grep -c "^$ID ")" -eq "$(grep -c "^$ID " <<<"$before")" ] ||
    fail "the tray's ContextMenu opened a window: $(windows)"

# A user's right click on the icon: waybar draws the menu as its own popup at the icon, no
# window of ours opens, and a left click on Exit ends the process with 0. The headless seat
# has no pointer device until a virtual one joins it.
as /usr/bin/python3 "$(dirname "$0")/virtual_pointer.py" >"$WORK/pointer.log" 2>&1 &
pids+=($!)
waitFor 5 grep -q ready "$WORK/pointer.log" || fail "no virtual pointer: $(cat "$WORK/pointer.log")"
click() {
    as swaymsg "seat seat0 cursor set $2 $3" >/dev/null
    sleep 0.3
    as swaymsg "seat seat0 cursor press $1" >/dev/null
    as swaymsg "seat seat0 cursor release $1" >/dev/null
}
# The tray alone at the right end of the 28 pixel bar: its 20 pixel icon ends 11 pixels short.
width=$(as swaymsg -t get_outputs -r |
    python3 -c 'import json, sys; print(json.load(sys.stdin)[0]["rect"]["width"])')
iconX=$((width - 21))
bar="$((width - 400)),0 400x120"
if [ -n "$SHOTS" ]; then
    as swaymsg "seat seat0 cursor set $iconX 14" >/dev/null
    sleep 0.5
    as grim -g "$bar" "$WORK/tray-icon.png"
fi
click button3 "$iconX" 14
# The menu is a popup of the bar's layer surface, anchored at the click on the icon.
popupShown() { grep -q 'xdg_popup@[0-9]*\.configure(' "$WORK/waybar.log"; }
waitFor 5 popupShown || fail "a right click on the icon opened no menu of waybar"
grep -q 'zwlr_layer_surface_v1@[0-9]*\.get_popup' "$WORK/waybar.log" ||
    fail "the tray menu is not a popup of waybar's bar"
grep -q "set_anchor_rect($iconX, 14, " "$WORK/waybar.log" ||
    fail "the tray menu is not placed at the icon: $(grep set_anchor_rect "$WORK/waybar.log")"
read -r px py pw ph < <(grep 'xdg_popup@[0-9]*\.configure(' "$WORK/waybar.log" | tail -n 1 |
    sed 's/.*configure(\([-0-9]*\), \([-0-9]*\), \([0-9]*\), \([0-9]*\)).*/\1 \2 \3 \4/')
sleep 0.5
[ "$(windows)" = "$before" ] || fail "the tray menu changed our windows: $(windows)"
labels=$(as busctl --user --json=short call -- "$item" "$menuPath" com.canonical.dbusmenu \
    GetLayout iias 0 -1 0 | python3 -c '
import json, sys
for _, props, _ in (c["data"] for c in json.load(sys.stdin)["data"][1][2]):
    if props.get("visible", {}).get("data", True):
        print(props.get("label", {}).get("data"))')
[ "$labels" = Exit ] || fail "the tray menu holds $labels, not the one item Exit"
[ -z "$SHOTS" ] || as grim -g "$bar" "$WORK/tray-menu.png"
# Its one item fills the popup; the bar is at the output's top left corner.
click button1 $((px + pw / 2)) $((py + ph / 2))
for _ in $(seq 100); do kill -0 "$demo" 2>/dev/null || break; sleep 0.1; done
kill -0 "$demo" 2>/dev/null && fail "a click on Exit in the tray menu did not end the process"
wait "$demo" && code=0 || code=$?
[ "$code" -eq 0 ] || fail "the process ended with $code"
echo "late tray: a right click opened waybar's menu with Exit; its click ended the process with 0"

# A dialog is transient for the main window: sway places it over the window, not alone.
printf 'wait 3000\nopen-dialog skins\nwait 20000\n' >"$WORK/dialog.txt"
as env WAYLAND_DEBUG=1 "$BIN/z417-demo" --virtual-clock --data "$WORK/data2" \
    --script "$WORK/dialog.txt" >"$WORK/demo.log" 2>"$WORK/wayland2.log" &
pids+=($!)
waitFor 20 mainShown || fail "the demo's window did not open"
# Away from the middle of the screen, where a dialog placed alone would go.
as swaymsg "[app_id=$ID] move position 10 10" >/dev/null
sleep 0.5
read -r _ _ _ mx my mw mh < <(windows | grep "^$ID 1 ")
twoShown() { [ "$(windows | grep -c "^$ID 1 ")" -ge 2 ]; }
waitFor 20 twoShown || fail "the skins dialog did not open: $(windows)"
read -r _ _ _ dx dy dw dh < <(windows | grep "^$ID 1 " | sort -k6 -n | head -n 1)
[ "$dx" -ge "$mx" ] && [ "$dy" -ge "$my" ] && [ $((dx + dw)) -le $((mx + mw)) ] &&
    [ $((dy + dh)) -le $((my + mh)) ] ||
    fail "the dialog ($dx,$dy ${dw}x$dh) is not over the main window ($mx,$my ${mw}x$mh)"
grep -q 'xdg_toplevel@[0-9]*\.set_parent(xdg_toplevel@[0-9]*)' "$WORK/wayland2.log" ||
    fail "the dialog is not transient for the main window"
echo "dialog transient for the main window: ($dx,$dy ${dw}x$dh) in ($mx,$my ${mw}x$mh)"
if [ -n "$SHOTS" ]; then
    cp "$WORK/notification.png" "$SHOTS/wayland-notification.png"
    cp "$WORK/tray-icon.png" "$SHOTS/wayland-tray-icon.png"
    cp "$WORK/tray-menu.png" "$SHOTS/wayland-tray-menu.png"
fi
echo "PASS: native Wayland: ids, notifications, hide and second start, late tray, menu, dialogs"
