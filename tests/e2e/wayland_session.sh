# Sourced by the Wayland session tests: a headless sway (no XWayland) with mako on a private
# session bus, in a private runtime and work folder ($WORK). sway refuses to run as root, so
# under root the whole session (and the programs under test) run as the user nobody. A
# missing tool fails the test with a line naming the package.
# Helpers: as CMD... (runs a command as the session's user), tree (sway's window tree as
# JSON), waitFor SECONDS CMD... (until CMD succeeds). Whatever is started goes into pids.
needs=(sway:sway swaymsg:sway waybar:waybar mako:mako-notifier makoctl:mako-notifier
       busctl:systemd dbus-daemon:dbus-daemon dbus-monitor:dbus-bin grim:grim wtype:wtype
       setpriv:util-linux)
missing=()
for need in "${needs[@]}"; do
    command -v "${need%%:*}" >/dev/null || missing+=("${need#*:}")
done
[ -x /usr/bin/python3 ] || missing+=(python3)
qtWayland=$(ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so 2>/dev/null | head -n 1)
[ -n "$qtWayland" ] || missing+=(qt6-wayland)
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: missing packages: ${missing[*]} (apt-get install ${missing[*]})"
    exit 1
fi

WORK=$(mktemp -d)
chmod 755 "$WORK"
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config
mkdir -p "$XDG_CONFIG_HOME"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_ACTIVATION_TOKEN DESKTOP_STARTUP_ID
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$WORK"
    as() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
else
    as() { "$@"; }
fi
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    sleep 0.2
    rm -rf "$WORK"
}
trap cleanup EXIT
waitFor() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

as dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" \
    >"$WORK/dbus.log" 2>&1 &
pids+=($!)
waitFor 5 test -S "$XDG_RUNTIME_DIR/bus" || { echo "FAIL: the session bus did not start"; exit 1; }

cat >"$WORK/sway.cfg" <<'EOF'
output HEADLESS-1 resolution 1280x800 position 0 0
xwayland disable
default_border none
EOF
as sway -c "$WORK/sway.cfg" >"$WORK/sway.log" 2>&1 &
pids+=($!)
waitFor 10 bash -c "ls '$XDG_RUNTIME_DIR'/sway-ipc.*.sock" ||
    { echo "FAIL: sway did not start"; tail -5 "$WORK/sway.log"; exit 1; }
export SWAYSOCK WAYLAND_DISPLAY
SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -n 1)
WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* | grep -v lock | head -n 1)
tree() { as swaymsg -t get_tree -r; }

as mako >"$WORK/mako.log" 2>&1 &
pids+=($!)
waitFor 5 as busctl --user status org.freedesktop.Notifications ||
    { echo "FAIL: mako did not start"; cat "$WORK/mako.log"; exit 1; }
