#!/usr/bin/env bash
# Runs inside the test machine (root, Debian's kernel with uhid, no udev daemon): the virtual
# mouse through real hidraw nodes, driven by z417ctl.
#   kernel_tests.sh BIN_DIR
set -uo pipefail
bin=$1
work=$(mktemp -d)
failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

# Starts a virtual mouse: start_mouse NAME [z417-uhid-mouse options]; waits for its nodes.
declare -A mouse_pid
start_mouse() {
    local name=$1; shift
    mkfifo "$work/$name.in"
    "$bin/z417-uhid-mouse" --state "$work/$name.state" --uniq "$name" "$@" \
        <"$work/$name.in" >"$work/$name.out" 2>&1 &
    mouse_pid[$name]=$!
    exec {fd}>"$work/$name.in"
    eval "mouse_fd_$name=$fd"
    wait_for "$name plugged" grep -q plugged "$work/$name.out"
    wait_for "$name nodes" nodes_of "$name"
}
send_mouse() { local fd; eval "fd=\$mouse_fd_$1"; echo "$2" >&"$fd"; }
stop_mouse() {
    send_mouse "$1" quit
    wait "${mouse_pid[$1]}" 2>/dev/null
}
# hidraw nodes of a virtual mouse (by its uniq), interface 0 first.
nodes_of() {
    local out=() d
    for d in /sys/class/hidraw/hidraw*; do
        [ -e "$d" ] || continue
        grep -q "^HID_UNIQ=$1\$" "$d/device/uevent" 2>/dev/null || continue
        out+=("$(grep '^HID_PHYS=' "$d/device/uevent" | sed 's/.*input//') /dev/$(basename "$d")")
    done
    [ ${#out[@]} -eq 2 ] || return 1
    printf '%s\n' "${out[@]}" | sort -n | cut -d' ' -f2
}
wait_for() {
    local what=$1; shift
    for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "timed out waiting for $what"; return 1
}
ctl() { "$bin/z417ctl" "$@"; }
memory_of() { grep -v '^name ' "$1"; }

cp "$bin/config.bin" "$work/config.bin"

echo "== one virtual mouse"
start_mouse A
nodes=($(nodes_of A))
ctl list | tee "$work/list"
check "list shows the four collections on two nodes" \
    test "$(grep -c '\[Z417\]' "$work/list")" -eq 4 -a "$(grep '\[Z417\]' "$work/list" | cut -d' ' -f1 | sort -u | wc -l)" -eq 2
check "list names both channels" grep -q "data channel" "$work/list"
check "status through the real ioctls" ctl status
check "read --out gives the whole block" ctl read --out "$work/block.bin"
check "the block is 322 bytes" test "$(stat -c %s "$work/block.bin")" -eq 322
check "apply through the real ioctls" ctl apply "$work/config.bin"
ctl sim-create "$work/sim.state" >/dev/null
ctl --device "sim:$work/sim.state" apply "$work/config.bin" >/dev/null
check "the virtual mouse holds what the simulated mouse holds after the same apply" \
    diff <(memory_of "$work/A.state") <(memory_of "$work/sim.state")
check "--device with the command node finds its data sibling" ctl --device "${nodes[1]}" status
check "--device with the data node finds its command sibling" ctl --device "${nodes[0]}" status

echo "== the kernel's events for a plug and an unplug"
busybox uevent sh -c 'echo "$ACTION $SUBSYSTEM ${DEVNAME:-$DEVPATH}"' >"$work/uevents" &
watcher=$!
sleep 0.5
send_mouse A unplug; wait_for "A gone" sh -c '! ls /sys/class/hidraw/ | grep -q .'
send_mouse A plug; wait_for "A back" nodes_of A
sleep 0.5
kill $watcher
cat "$work/uevents"
stop_mouse A

rm -rf "$work"
echo "failures: $failures"
[ "$failures" -eq 0 ]
