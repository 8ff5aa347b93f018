#!/usr/bin/env bash
# orvane-db sync in an optimised build without sanitizers, against a Radicale of its own on 127.0.0.1: the
# first sync of 10,000 reminders down (a calendar that a phone filled, to a file that has none), a sync with
# nothing changed, a sync with one change among 10,000 on either side, and the first sync up of 1,000
# reminders (Radicale's own time per stored event grows with the calendar, so 10,000 one by one take it the
# best part of an hour); each with its time (the whole process, start to exit), the HTTP requests it made
# (from Radicale's log) and the bytes that moved (through a small counting proxy). Beside them, the floor: a
# plain curl PROPFIND (Depth 1) of the same calendar.
#
# Usage: bench/sync-bench.sh [reminders, default 10000] [reminders up, default 1000]
# ORVANE_BENCH_BUILD names the build directory (default: build-bench beside the sources).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
count=${1:-10000}
uploads=${2:-1000}
build=${ORVANE_BENCH_BUILD:-$top/build-bench}
for tool in sqlite3 curl; do
  command -v "$tool" >/dev/null || { echo "sync-bench: $tool is missing (./scripts/setup installs it)" >&2; exit 1; }
done
source "$top/tests/caldav/radicale.sh"
python=$RADICALE_PYTHON
"$python" -c 'import radicale' 2>/dev/null || { echo "sync-bench: radicale is missing (apt install radicale)" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
if ! { cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF \
        && cmake --build "$build" --target orvane-db -- -j2; } >"$work/build.log" 2>&1; then
  cat "$work/build.log" >&2
  echo "sync-bench: the build failed" >&2
  exit 1
fi
db="$build/cli/orvane-db"

server_port=$(free_port)
proxy_port=$(free_port)
start_radicale "$work" "$server_port" || { echo "sync-bench: radicale did not start" >&2; cat "$work/radicale.log" >&2; exit 1; }
pids+=("$RADICALE_PID")

# Forwards 127.0.0.1:proxy_port to the server and counts the bytes each way; SIGUSR1 writes "up down" to
# the counts file and starts again from zero.
cat >"$work/proxy.py" <<'EOF'
import asyncio, os, signal, sys

listen, target, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
counts = [0, 0]

async def pipe(reader, writer, way):
    try:
        while data := await reader.read(65536):
            counts[way] += len(data)
            writer.write(data)
            await writer.drain()
    except ConnectionError:
        pass
    finally:
        writer.close()

async def handle(client_reader, client_writer):
    server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
    await asyncio.gather(pipe(client_reader, server_writer, 0), pipe(server_reader, client_writer, 1))

def dump():
    with open(out + ".part", "w") as f:
        f.write(f"{counts[0]} {counts[1]}\n")
    os.replace(out + ".part", out)
    counts[0] = counts[1] = 0

async def main():
    asyncio.get_running_loop().add_signal_handler(signal.SIGUSR1, dump)
    server = await asyncio.start_server(handle, "127.0.0.1", listen)
    async with server:
        await server.serve_forever()

asyncio.run(main())
EOF
"$python" "$work/proxy.py" "$proxy_port" "$server_port" "$work/counts" &
proxy_pid=$!
pids+=("$proxy_pid")

for _ in $(seq 100); do
  curl -s -o /dev/null "http://127.0.0.1:$proxy_port/" && break
  sleep 0.2
done
make_calendar "http://127.0.0.1:$proxy_port/alice/bench/" || { echo "sync-bench: the calendar was not made" >&2; exit 1; }
make_calendar "http://127.0.0.1:$proxy_port/alice/up/" || { echo "sync-bench: the calendar was not made" >&2; exit 1; }
calendar="http://127.0.0.1:$proxy_port/alice/bench/"

# The calendar as a phone filled it: $count events with an alarm at their start over the next 200 days,
# written into Radicale's storage.
"$python" - "$work/collections/collection-root/alice/bench" "$count" <<'EOF'
import datetime, sys
folder, count = sys.argv[1], int(sys.argv[2])
today = datetime.date.today()
for i in range(1, count + 1):
    start = datetime.datetime.combine(today + datetime.timedelta(days=i % 200), datetime.time((i // 200) % 24, i % 60))
    with open(f"{folder}/phone-{i}.ics", "w", newline="") as f:
        f.write("\r\n".join([
            "BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Phone//EN", "BEGIN:VEVENT", f"UID:phone-{i}",
            "DTSTAMP:20260101T000000Z", start.strftime("DTSTART:%Y%m%dT%H%M%S"), f"SUMMARY:提醒事项 {i}",
            f"DESCRIPTION:请记得处理第 {i} 号事项。", "BEGIN:VALARM", "ACTION:DISPLAY", "DESCRIPTION:提醒",
            "TRIGGER:PT0S", "END:VALARM", "END:VEVENT", "END:VCALENDAR", ""]))
EOF

# Radicale reads the files once and keeps its cache of them, as it would have as the phone stored them.
curl -s -o /dev/null --max-time 600 -u alice:secret -X PROPFIND -H 'Depth: 1' "$calendar"

# Three machines: two with none, one with $uploads reminders over the next 200 days.
for file in first second up; do "$db" --file "$work/$file.mdb" init >/dev/null; done
sqlite3 "$work/up.mdb" <<SQL
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<$uploads),
 r(i, d) AS (SELECT i, date('now', 'localtime', (i % 200) || ' days') FROM n)
INSERT INTO 日程提醒(主题,内容,时间,日期)
 SELECT '提醒事项 '||i, '请记得处理第 '||i||' 号事项。', d||' '||printf('%02d:%02d:00', (i/200)%24, i%60), d FROM r;
COMMIT;
SQL

requests_so_far() { grep -c ' request for ' "$work/radicale.log" || true; }
# "up down": the bytes since the last call.
bytes_since() {
  rm -f "$work/counts"
  kill -USR1 "$proxy_pid"
  for _ in $(seq 100); do [ -e "$work/counts" ] && break; sleep 0.05; done
  cat "$work/counts"
}
report() { # what seconds requests up down
  printf '%-44s %8.2f s %7d requests %12d bytes up %12d bytes down\n' "$@"
}
measure() { # what file [calendar]
  local before up down start end
  bytes_since >/dev/null
  before=$(requests_so_far)
  start=$(date +%s.%N)
  echo secret | "$db" --file "$2" sync --url "${3:-$calendar}" --user alice --password-stdin >"$work/sync.out" 2>&1 \
    || { cat "$work/sync.out" >&2; exit 1; }
  end=$(date +%s.%N)
  read -r up down < <(bytes_since)
  report "$1" "$(awk "BEGIN { print $end - $start }")" "$(($(requests_so_far) - before))" "$up" "$down"
}

echo "orvane-db sync with $count reminders, Radicale $("$python" -c 'import radicale; print(radicale.VERSION)') on 127.0.0.1"
measure "first sync down ($count reminders)" "$work/first.mdb"
measure "first sync down, the second machine" "$work/second.mdb"
measure "nothing changed" "$work/first.mdb"
sqlite3 "$work/first.mdb" "UPDATE 日程提醒 SET 内容='改过了' WHERE id=(SELECT min(id) FROM 日程提醒)"
measure "one change among $count, up" "$work/first.mdb"
measure "one change among $count, down" "$work/second.mdb"

# The floor: the calendar's list of hrefs and etags in one request, as any client's first look is.
bytes_since >/dev/null
before=$(requests_so_far)
seconds=$(curl -s -o /dev/null -w '%{time_total}' -u alice:secret -X PROPFIND -H 'Depth: 1' \
  -H 'Content-Type: application/xml' \
  --data '<?xml version="1.0"?><propfind xmlns="DAV:"><prop><getetag/></prop></propfind>' "$calendar")
read -r up down < <(bytes_since)
report "floor: curl PROPFIND Depth 1 (etags)" "$seconds" "$(($(requests_so_far) - before))" "$up" "$down"
measure "first sync up ($uploads reminders)" "$work/up.mdb" "http://127.0.0.1:$proxy_port/alice/up/"

for file in first second; do
  rows=$(sqlite3 "$work/$file.mdb" "SELECT count(*) FROM 日程提醒")
  [ "$rows" = "$count" ] || { echo "sync-bench: $file.mdb has $rows reminders, not $count" >&2; exit 1; }
done
echo "both machines hold $count reminders"
