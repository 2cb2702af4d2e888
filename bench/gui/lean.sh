#!/usr/bin/env bash
# How lean the utility is while it waits in the tray (a benchmark, not a test), as ratios to
# bench_minimal_qt --tray, the bare Qt program with a tray icon and a hidden window, measured
# in the same run on Xvfb with openbox and trayer:
#   - CPU time from process start to idle (user + sys), median of RUNS starts each;
#   - resident memory hidden in the tray after start;
#   - resident memory hidden again after the window was shown once;
#   - wake-ups per second of the utility hidden, shown and hidden again.
# The demo runs against its simulated mouse with the protocol's real waits, as the utility
# would against the mouse; they cost no CPU time.
# Usage: lean.sh BIN_DIR [RUNS]
set -euo pipefail
BIN=$(cd "$1" && pwd)
RUNS=${2:-11}
. "$(dirname "$0")/../../tests/e2e/x_session.sh" 1280x800x24 openbox trayer

openbox >/dev/null 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
    --SetDockType true --transparent false >/dev/null 2>&1 &
pids+=($!)
sleep 1

DATA=$WORK/data

# CPU time of a process in microseconds, summed over its threads from the scheduler's own
# count (user + sys to the nanosecond; /proc/PID/stat counts in 10 ms ticks, too coarse here).
cpuMicros() { cat /proc/"$1"/task/*/schedstat | awk '{ n += $1 } END { printf "%d", n / 1000 }'; }
rssKiB() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
# Context switches of every thread of a process: each one is a wake-up or a preemption.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/ctxt_switches:/ { n += $2 } END { print n }'; }

# Waits until the process has used no CPU for a second; prints its CPU time then, in us.
waitIdle() {
    local pid=$1 last=-1 still=0 now
    while [ "$still" -lt 20 ]; do
        sleep 0.05
        now=$(cpuMicros "$pid" 2>/dev/null) || { echo "process $pid ended" >&2; return 1; }
        if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; last=$now; fi
    done
    echo "$last"
}

stopProcess() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }

# Start-up CPU of one program, median of RUNS starts.
startupCpu() {
    for _ in $(seq "$RUNS"); do
        "$@" >/dev/null 2>&1 &
        local pid=$!
        waitIdle "$pid"
        stopProcess "$pid"
    done | median
}

demo() { exec "$BIN/z417-demo" --tray --data "$DATA"; }
bare() { exec "$BIN/bench_minimal_qt" --tray "$@"; }

# The tray icon of the demo: the small window of its class; prints its middle.
trayIcon() {
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null); do
            # A window gone meanwhile is skipped.
            geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
            eval "$geometry"
            [ "$WIDTH" -le 100 ] && { echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"; return; }
        done
        sleep 0.1
    done
    echo "no tray icon" >&2
    exit 1
}
mainWindow() {
    for w in $(xdotool search --onlyvisible --class z417-gaming-mouse 2>/dev/null); do
        # A window gone meanwhile is skipped.
        geometry=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || continue
        eval "$geometry"
        [ "$WIDTH" -gt 100 ] && { echo "$w"; return; }
    done
    true
}
waitShown() {
    for _ in $(seq 100); do [ -n "$(mainWindow)" ] && return; sleep 0.1; done
    echo "the window did not show" >&2
    exit 1
}
waitHidden() {
    for _ in $(seq 100); do [ -z "$(mainWindow)" ] && return; sleep 0.1; done
    echo "the window did not hide" >&2
    exit 1
}

# Wake-ups per second over five seconds.
wakeups() {
    local before after
    before=$(switches "$1")
    sleep 5
    after=$(switches "$1")
    awk -v d=$((after - before)) 'BEGIN { printf "%.1f", d / 5 }'
}

# The data folder is made once, as at the first start. The programs run through exec, so
# that $! is the program itself.
"$BIN/z417-demo" --tray --data "$DATA" >"$WORK/first.log" 2>&1 &
first=$!
waitIdle "$first" >/dev/null || { cat "$WORK/first.log"; exit 1; }
stopProcess "$first"

cpuDemo=$(startupCpu demo)
cpuBare=$(startupCpu bare)

demo >"$WORK/demo.log" 2>&1 &
demoPid=$!
pids+=($demoPid)
bare >/dev/null 2>&1 &
barePid=$!
pids+=($barePid)
waitIdle "$demoPid" >/dev/null
waitIdle "$barePid" >/dev/null
rssDemoHidden=$(rssKiB "$demoPid")
rssBareHidden=$(rssKiB "$barePid")
wakeHidden=$(wakeups "$demoPid")
stopProcess "$barePid"

read -r IX IY <<<"$(trayIcon)"
xdotool mousemove "$IX" "$IY" click 1
waitShown
waitIdle "$demoPid" >/dev/null
wakeShown=$(wakeups "$demoPid")
win=$(mainWindow)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win" || true
xdotool key Escape
waitHidden
bare --flash >/dev/null 2>&1 &
barePid=$!
pids+=($barePid)
sleep 1.5
waitIdle "$demoPid" >/dev/null
waitIdle "$barePid" >/dev/null
rssDemoAgain=$(rssKiB "$demoPid")
rssBareAgain=$(rssKiB "$barePid")
wakeAgain=$(wakeups "$demoPid")

echo "start-up CPU to idle:      $(ms "$cpuDemo") ms against $(ms "$cpuBare") ms  ($(ratio "$cpuDemo" "$cpuBare") x)"
echo "RSS hidden after start:    $rssDemoHidden KiB against $rssBareHidden KiB" \
    " ($(ratio "$rssDemoHidden" "$rssBareHidden") x)"
echo "RSS hidden after a show:   $rssDemoAgain KiB against $rssBareAgain KiB" \
    " ($(ratio "$rssDemoAgain" "$rssBareAgain") x)"
echo "wake-ups per second:       hidden $wakeHidden, shown $wakeShown, hidden again $wakeAgain"
