#!/usr/bin/env bash
# Two machines, two data.mdb files, syncing with orvane-db sync through a Radicale of the test's own on
# 127.0.0.1: additions, changes and deletions on either side; one reminder changed on both; the server killed
# in the middle of a sync and started again; a wrong password.
source "$E2E_LIB"
source "$E2E_DIR/../caldav/radicale.sh"

port=$(free_port)
start_radicale "$E2E_WORK" "$port" || fail "radicale did not start"
E2E_PIDS+=("$RADICALE_PID")
calendar="http://127.0.0.1:$port/alice/orvane/"
make_calendar "$calendar" || fail "the calendar was not made"

first="$E2E_WORK/first.mdb"
second="$E2E_WORK/second.mdb"
"$ORVANE_DB" --file "$first" init >/dev/null
"$ORVANE_DB" --file "$second" init >/dev/null
sync_file() { echo "${2:-secret}" | "$ORVANE_DB" --file "$1" sync --url "$calendar" --user alice --password-stdin; }
# One machine's change reaches the other, and what the other did comes back.
sync_both() { sync_file "$first" >/dev/null && sync_file "$second" >/dev/null && sync_file "$first" >/dev/null; }
rows() { sqlite3 "$1" "SELECT 主题||'|'||内容||'|'||时间 FROM 日程提醒 ORDER BY 1"; }
alike() { [ "$(rows "$first")" = "$(rows "$second")" ] || fail "the machines differ:"$'\n'"$(rows "$first")"$'\n--\n'"$(rows "$second")"; }
count() { sqlite3 "$1" "SELECT count(*) FROM 日程提醒"; }
events_on_server() {
  curl -s -u alice:secret -X PROPFIND -H 'Depth: 1' "$calendar" | grep -o '<href>[^<]*\.ics</href>' | wc -l
}

note "added on either side"
"$ORVANE_DB" --file "$first" add "周会" --at "2027-05-03 09:30" --content "三楼会议室" >/dev/null
"$ORVANE_DB" --file "$second" add "Dentist" --at "2027-05-04 14:00" >/dev/null
sync_both || fail "the sync failed"
alike
[ "$(count "$first")" = 2 ] || fail "not two reminders: $(rows "$first")"

note "changed on one machine, deleted on the other"
sqlite3 "$first" "UPDATE 日程提醒 SET 内容='带上周报' WHERE 主题='周会'"
"$ORVANE_DB" --file "$second" delete "$(sqlite3 "$second" "SELECT id FROM 日程提醒 WHERE 主题='Dentist'")" >/dev/null
sync_both || fail "the sync failed"
alike
[ "$(rows "$first")" = "周会|带上周报|2027-05-03 09:30:00" ] || fail "unexpected: $(rows "$first")"

note "both machines change one reminder: the server's version and a copy"
sqlite3 "$first" "UPDATE 日程提醒 SET 内容='甲改的' WHERE 主题='周会'"
sqlite3 "$second" "UPDATE 日程提醒 SET 内容='乙改的' WHERE 主题='周会'"
sync_both || fail "the sync failed"
alike
[ "$(rows "$first")" = "周会|甲改的|2027-05-03 09:30:00"$'\n'"周会（冲突）|乙改的|2027-05-03 09:30:00" ] \
  || fail "not the server's version and our copy: $(rows "$first")"

note "the server killed in the middle of a sync and started again"
sqlite3 "$first" "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<40)
  INSERT INTO 日程提醒(主题,内容,时间,日期) SELECT '提醒 '||i, '', printf('2027-06-01 10:%02d:00', i), '2027-06-01' FROM n"
puts_before=$(grep -c 'PUT request' "$E2E_WORK/radicale.log" || true)
sync_file "$first" >"$E2E_WORK/cut.out" 2>&1 &
syncing=$!
puts_seen() { [ "$(grep -c 'PUT request' "$E2E_WORK/radicale.log")" -ge $((puts_before + 10)) ]; }
wait_until 60 puts_seen || fail "the sync sent no events"
kill -KILL "$RADICALE_PID"
set +e
wait "$syncing"
status=$?
set -e
[ "$status" = 3 ] || fail "a sync cut off ended with $status, not 3: $(cat "$E2E_WORK/cut.out")"
start_radicale "$E2E_WORK" "$port" || fail "radicale did not start again"
E2E_PIDS+=("$RADICALE_PID")
sync_both || fail "the sync failed after the server came back"
sync_file "$second" >/dev/null || fail "the sync failed after the server came back"
alike
[ "$(count "$first")" = 42 ] || fail "$(count "$first") reminders, not 42"
[ "$(sqlite3 "$first" "SELECT count(DISTINCT 主题) FROM 日程提醒")" = 42 ] || fail "reminders doubled"
[ "$(events_on_server)" = 42 ] || fail "$(events_on_server) events on the server, not 42"

note "a wrong password: refused, in one line, the password not shown"
set +e
said=$(sync_file "$first" "not-the-password" 2>&1)
status=$?
set -e
[ "$status" = 4 ] || fail "a wrong password ended with $status, not 4: $said"
[ "$(printf '%s\n' "$said" | wc -l)" = 1 ] || fail "more than one line: $said"
[[ "$said" == *用户名或密码不对* ]] || fail "not said plainly: $said"
[[ "$said" != *not-the-password* ]] || fail "the password was shown: $said"
[ "$(count "$first")" = 42 ] || fail "a refused sync changed the file"

note "a weekly reminder travels with its rule; its row moving on does not"
"$ORVANE_DB" --file "$second" add "例会" --at "2027-07-05 10:00" --repeat weekly >/dev/null
sync_both || fail "the sync failed"
rule_of() { sqlite3 "$1" "SELECT rule||'|'||start FROM reminder_repeats JOIN 日程提醒 ON 日程提醒.rowid=row WHERE 主题='例会'"; }
[ "$(rule_of "$first")" = "FREQ=WEEKLY|2027-07-05 10:00:00" ] || fail "not the weekly rule: $(rule_of "$first")"
sqlite3 "$second" "UPDATE 日程提醒 SET 时间='2027-07-12 10:00:00', 日期='2027-07-12' WHERE 主题='例会'"
sync_file "$second" | grep -q "there 0 stored" || fail "the row moving on was uploaded"
echo "PASS"
