#!/usr/bin/env bash
# orvane-db in an optimised build without sanitizers: `list --today` on a million reminders (the whole
# process, start to exit) and the import of 100,000 events, with the peak memory of each.
#
# Usage: bench/cli-bench.sh [runs, default 20]
# ORVANE_BENCH_BUILD names the build directory (default: build-bench beside the sources); the million-row
# file is kept there between runs of the same day.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
runs=${1:-20}
build=${ORVANE_BENCH_BUILD:-$top/build-bench}
for tool in sqlite3 python3; do
  command -v "$tool" >/dev/null || { echo "cli-bench: $tool is missing (./scripts/setup installs it)" >&2; exit 1; }
done

log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$log" "$work"' EXIT
if ! { cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF \
        && cmake --build "$build" --target orvane-db -- -j2; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "cli-bench: the build failed" >&2
  exit 1
fi
db="$build/cli/orvane-db"

# A million reminders over 2000 days around today, about 500 a day, today's among them.
million="$build/cli-bench-1m-$(date +%F).mdb"
if [ ! -e "$million" ]; then
  rm -f "$build"/cli-bench-1m-*.mdb
  echo "building $million (once a day)..."
  "$db" --file "$million.building" init >/dev/null
  sqlite3 "$million.building" <<'SQL'
PRAGMA synchronous=OFF;
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000000),
 r(i, d) AS (SELECT i, date('now', 'localtime', ((i % 2000) - 1000) || ' days') FROM n)
INSERT INTO 日程提醒(主题,内容,时间,日期)
 SELECT '提醒事项 '||i, '请记得处理第 '||i||' 号事项。', d||' '||printf('%02d:%02d:00', (i/2000)%24, (i/48000)%60), d FROM r;
COMMIT;
SQL
  mv "$million.building" "$million"
fi

# 100,000 events of a calendar file, each with an alarm.
awk 'BEGIN {
  printf "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//cli-bench//EN\r\n"
  for (i = 0; i < 100000; i++) {
    printf "BEGIN:VEVENT\r\nUID:event-%d@example.org\r\nDTSTAMP:20260301T000000Z\r\n", i
    printf "DTSTART:2026%02d%02dT%02d%02d00\r\n", 3 + int(i / 40000) % 9, 1 + i % 28, i % 24, i % 60
    printf "SUMMARY:Event %d\\, imported\r\nDESCRIPTION:Line one\\nline two\r\n", i
    printf "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
  }
  printf "END:VCALENDAR\r\n"
}' >"$work/many.ics"
"$db" --file "$work/import.mdb" init >/dev/null

# measure RUNS COMMAND...: runs the command RUNS times; prints the median and the fastest wall time in ms
# and the peak resident memory in MB.
measure() {
  python3 - "$@" <<'PY'
import resource, statistics, subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
times = []
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    times.append((time.perf_counter() - start) * 1000)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print(f"median {statistics.median(times):.1f} ms, fastest {min(times):.1f} ms, peak memory {peak:.0f} MB")
PY
}

today=$("$db" --file "$million" list --today | tail -n +2 | wc -l)
echo "list --today, $today of 1,000,000 reminders, whole process ($runs runs): $(measure "$runs" "$db" --file "$million" list --today)"
echo "list --today --json, the same: $(measure "$runs" "$db" --file "$million" list --today --json)"
echo "import of 100,000 events ($(du -m "$work/many.ics" | cut -f1) MB), one run: $(measure 1 "$db" --file "$work/import.mdb" import --ics "$work/many.ics")"
echo "the same file again, every event already imported: $(measure 1 "$db" --file "$work/import.mdb" import --ics "$work/many.ics")"
