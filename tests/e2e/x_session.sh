# Sourced by the X session tests: skips (77) when a tool is missing, then starts Xvfb on a
# display of its own with a private runtime folder and work folder ($WORK); whatever the test
# starts goes into pids and ends with it.
# Usage: . x_session.sh SCREEN TOOL...
x_session_screen=$1
shift
for tool in Xvfb xdotool "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

WORK=$(mktemp -d)
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DISPLAY=:$((100 + RANDOM % 800))
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 "$x_session_screen" -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
