#!/usr/bin/env bash
# Start-up time, peak memory and idle CPU of orvane-reminder beside a bare Qt window (the floor), then its
# resident memory before and after its first alert, whose sound plays on a private PulseAudio server; in one
# run under a private Xvfb display. Usage: bench/startup-bench.sh [runs, default 10] [idle seconds, default 60]
set -euo pipefail
# A desktop session has a session bus. Without one, the first use of D-Bus (Qt's accessibility bridge,
# the tray) tries to launch one, a cost that no desktop pays; so the benchmark brings its own.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi
top="$(cd "$(dirname "$0")/.." && pwd)"
runs=${1:-10}
idle=${2:-60}
build="$top/build-bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF -DORVANE_EXTRAS=ON >/dev/null
cmake --build "$build" --target orvane-reminder orvane-db floor mapwatch >/dev/null

work=$(mktemp -d)
# -noreset: a server that resets when its last client leaves refuses the next one for a moment.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
mkdir -p "$work/pulse"
HOME="$work/pulse" pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no \
  --load="module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
  --load="module-null-sink sink_name=bench_null" >"$work/pulse/log" 2>&1 &
pulse=$!
trap 'kill $xvfb $pulse 2>/dev/null; rm -rf "$work"' EXIT
while [ ! -s "$work/display" ] || [ ! -S "$work/pulse/native" ]; do sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb
export PULSE_SERVER="unix:$work/pulse/native"
cd "$work" && "$build/cli/orvane-db" --file data.mdb init >/dev/null

# measure <title> <command>: prints "<ms to the window shown> <peak KiB>". mapwatch learns of the map
# from the X server itself, so nothing polls while the program starts.
measure() {
  if ! "$build/bench/mapwatch" "$@" 2>"$work/output"; then
    cat "$work/output" >&2
    exit 1
  fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/ours"; : >"$work/floor"
for _ in $(seq "$runs"); do
  measure 'orvane-floor' "$build/bench/floor" >>"$work/floor"
  measure 'Orvane日程提醒v1.0' "$build/app/orvane-reminder" >>"$work/ours"
done
ours_ms=$(cut -d' ' -f1 "$work/ours" | median); floor_ms=$(cut -d' ' -f1 "$work/floor" | median)
ours_kb=$(cut -d' ' -f2 "$work/ours" | median); floor_kb=$(cut -d' ' -f2 "$work/floor" | median)

# Idle CPU: user + system ticks over the idle period with the marquee running.
"$build/app/orvane-reminder" >/dev/null 2>&1 &
pid=$!
until xdotool search --onlyvisible --name '^Orvane日程提醒v1.0$' >/dev/null 2>&1; do sleep 0.05; done
sleep 2
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
t0=$(ticks); sleep "$idle"; t1=$(ticks)

# Resident memory before and after the first alert: a reminder stored for the next minute raises it, and
# its sound (3.5 s) has played out when the second figure is read.
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
while [ $((10#$(date +%S))) -gt 50 ]; do sleep 1; done
before_kb=$(rss)
due=$(date -d '+1 minute' '+%Y-%m-%d %H:%M:00')
sqlite3 data.mdb "insert into 日程提醒(主题,内容,时间,日期) values('会议','带上笔记本','$due','${due:0:10}')"
for _ in $(seq 500); do
  xdotool search --onlyvisible --name '^日程提醒$' >/dev/null 2>&1 && break
  sleep 0.2
done
xdotool search --onlyvisible --name '^日程提醒$' >/dev/null 2>&1 || { echo "no alert for $due" >&2; exit 1; }
sleep 6
after_kb=$(rss)
kill "$pid"
hz=$(getconf CLK_TCK)
cpu=$(awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$idle" 'BEGIN { printf "%.2f", 100 * d / hz / s }')

printf '%-28s %12s %12s %8s\n' "" orvane floor ratio
printf '%-28s %12s %12s %8.2f\n' "start to window shown (ms)" "$ours_ms" "$floor_ms" "$(awk -v a="$ours_ms" -v b="$floor_ms" 'BEGIN{print a/b}')"
printf '%-28s %12s %12s %8.2f\n' "peak memory (KiB)" "$ours_kb" "$floor_kb" "$(awk -v a="$ours_kb" -v b="$floor_kb" 'BEGIN{print a/b}')"
printf '%-28s %11s%%\n' "idle CPU over ${idle} s" "$cpu"
printf '%-28s %12s\n' "resident before alert (KiB)" "$before_kb"
printf '%-28s %12s %+8d\n' "resident after alert (KiB)" "$after_kb" "$((after_kb - before_kb))"
