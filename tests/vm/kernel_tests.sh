#!/usr/bin/env bash
# Runs inside the test machine (root, Debian's kernel with uhid, no udev daemon): the virtual
# mouse through real hidraw nodes, driven by z417ctl.
#   kernel_tests.sh BIN_DIR [SECTION...]   (all sections when none is named)
set -uo pipefail
bin=$1; shift
all="one_mouse permissions faults two_mice hotplug"
[ -x "$bin/z417-demo" ] && all="$all utility" # built with the GUI
sections=${*:-$all}
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
# Waits for a condition; the limit only guards against a hang (software emulation is slow).
wait_for() {
    local what=$1; shift
    local deadline=$((SECONDS + 180))
    while [ $SECONDS -lt $deadline ]; do "$@" >/dev/null 2>&1 && return 0; sleep 0.2; done
    fail "timed out waiting for $what"; return 1
}
ctl() { "$bin/z417ctl" "$@"; }
memory_of() { grep -v -e '^name ' -e '^transfers ' "$1"; }

cp "$bin/config.bin" "$work/config.bin"

one_mouse() {
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

    stop_mouse A
}

permissions() {
    echo "== permissions: only the mouse is opened"
    start_mouse P
    p_nodes=($(nodes_of P))
    mkfifo "$work/foreign.in"
    python3 "$(dirname "$0")/foreign_hid.py" <"$work/foreign.in" >"$work/foreign.out" &
    exec {foreign_fd}>"$work/foreign.in"
    wait_for "the foreign device" grep -q plugged "$work/foreign.out"
    wait_for "the foreign node" sh -c 'grep -l "HID_ID=0003:00001234" /sys/class/hidraw/*/device/uevent'
    foreign=/dev/$(basename "$(dirname "$(dirname "$(grep -l 'HID_ID=0003:00001234' /sys/class/hidraw/*/device/uevent)")")")
    chmod 0600 "$foreign"
    chmod 0666 "${p_nodes[@]}"
    as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
    as_user "$bin/z417ctl" list >"$work/user-list" 2>&1
    check "an unprivileged user lists the foreign device without opening it" \
        grep -q "^$foreign 1234:5678" "$work/user-list"
    check "an unprivileged user reaches the mouse while the foreign node refuses" \
        as_user "$bin/z417ctl" status
    chmod 0600 "${p_nodes[@]}"
    as_user "$bin/z417ctl" status >"$work/denied" 2>&1
    cat "$work/denied"
    check "a refused mouse node gives CreateFile Error Code:13" grep -q "CreateFile Error Code:13" "$work/denied"
    check "and names the udev rule" grep -q "70-z417-gaming-mouse.rules" "$work/denied"
    exec {foreign_fd}>&-
    stop_mouse P
}

faults() {
    echo "== faults through the kernel"
    start_mouse S --fault short-reply:33
    before=$(memory_of "$work/S.state" | grep -v -e '^fault' -e '^last' -e '^pending')
    ctl read --out "$work/short.bin" >"$work/short" 2>&1
    status=$?
    cat "$work/short"
    check "a short data answer fails the read" test "$status" -ne 0 -a ! -e "$work/short.bin"
    check "with the read's message" grep -q "^ReadOperation: " "$work/short"
    ctl apply "$work/config.bin" >/dev/null 2>&1
    after=$(memory_of "$work/S.state" | grep -v -e '^fault' -e '^last' -e '^pending')
    check "and nothing is uploaded" test "$before" = "$after"
    stop_mouse S

    start_mouse W --fault slow-reply:1500
    check "late answers within the kernel's wait still arrive" ctl status
    stop_mouse W

    start_mouse U --fault unplug-after:26
    ctl apply "$work/config.bin" >"$work/unplug" 2>&1
    status=$?
    cat "$work/unplug"
    check "an unplug during an upload fails it" test "$status" -ne 0
    check "with one message" test "$(grep -c '^WriteOperation: ' "$work/unplug")" -eq 1
    wait_for "U gone" sh -c '! ls /sys/class/hidraw | grep -q .'
    send_mouse U plug
    wait_for "U back" nodes_of U
    check "after the mouse is plugged in again it answers" ctl status
    stop_mouse U
}

two_mice() {
    echo "== two identical mice"
    ctl sim-create "$work/M1.state" --variant 1 --report-rate 1 >/dev/null
    ctl sim-create "$work/M2.state" --variant 2 --report-rate 8 >/dev/null
    start_mouse M1
    start_mouse M2
    m1=($(nodes_of M1)); m2=($(nodes_of M2))
    for i in 0 1; do
        ctl --device "${m2[$i]}" read --out "$work/m2.bin" | tee "$work/m2"
        check "${m2[$i]} reads the second mouse's image" grep -q "sensor variant 2" "$work/m2"
        check "and its status" sh -c "$bin/z417ctl --device ${m2[$i]} status | grep -q 'code 8'"
    done
    ctl read --out "$work/auto.bin" | tee "$work/auto"
    check "auto takes both channels of one mouse" grep -q "sensor variant 1" "$work/auto"
    check "with that mouse's status" sh -c "$bin/z417ctl status | grep -q 'code 1'"
    m1_before=$(memory_of "$work/M1.state")
    check "an apply through the second mouse's node" ctl --device "${m2[1]}" apply "$work/config.bin"
    check "leaves the first mouse alone" test "$m1_before" = "$(memory_of "$work/M1.state")"
    stop_mouse M1
    stop_mouse M2
}

utility() {
    echo "== the utility follows plug and unplug"
    start_mouse D
    # The script applies (the Apply button), then says it is ready and stays.
    printf 'click 718 633\ndump-settings %s\nwait 100000000\n' "$work/ready" >"$work/demo.txt"
    QT_QPA_PLATFORM=offscreen "$bin/z417-demo" --data "$work/demo" --device auto \
        --script "$work/demo.txt" >"$work/demo.out" 2>&1 &
    demo=$!
    wait_for "the demo to start and apply" test -e "$work/ready"
    ctl sim-create "$work/demo-sim.state" >/dev/null
    ctl --device "sim:$work/demo-sim.state" apply "$work/demo/config.bin" >/dev/null
    check "the utility's Apply reaches the virtual mouse as it reaches the simulated one" \
        diff <(memory_of "$work/D.state") <(memory_of "$work/demo-sim.state")
    balloons() { test "$(grep -c "^balloon: $1" "$work/demo.out")" -eq "$2"; }
    # Connected: the demo holds both channels of the mouse open.
    holds_mouse() {
        local n
        for n in $(nodes_of D); do
            ls -l "/proc/$demo/fd" 2>/dev/null | grep -q " $n\$" || return 1
        done
    }
    for cycle in 1 2; do
        send_mouse D unplug
        wait_for "the warning balloon $cycle" balloons Warning "$cycle"
        send_mouse D plug
        wait_for "the detected balloon $cycle" balloons Info "$cycle"
        wait_for "the demo to reconnect" holds_mouse
    done
    send_mouse D unplug
    wait_for "the last warning" balloons Warning 3
    kill "$demo"; wait "$demo" 2>/dev/null
    cat "$work/demo.out"
    check "one warning balloon per unplug" balloons Warning 3
    check "one detected balloon per plug" balloons Info 2
    stop_mouse D
}

hotplug() {
    echo "== plug and unplug through the kernel's events"
    "$bin/z417-vm-hotplug" "$bin/z417-uhid-mouse" "$work/H.state" 3 || failures=$((failures + 1))
}

for section in $sections; do "$section"; done

rm -rf "$work"
echo "failures: $failures"
[ "$failures" -eq 0 ]
