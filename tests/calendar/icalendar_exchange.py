"""Calendar files exchanged with another program that Debian packages, Python's icalendar library: a year of
mixed events that it writes (zones, all-day, repeating with a moved and a left-out occurrence, alarms) is
imported by orvane-db into the reminders that the events' own times give (a series as one reminder with its
rule), and orvane-db's export of them is read back by icalendar without complaint, the same events at the
same times, the series with its count and the occurrences it leaves out.

Usage: icalendar_exchange.py ORVANE_DB (run with TZ set; the times are checked in that zone)."""

import json
import os
import subprocess
import sys
import tempfile
from datetime import date, datetime, time, timedelta, timezone
from zoneinfo import ZoneInfo

import icalendar
import pytz

ORVANE_DB = sys.argv[1]
LOCAL = ZoneInfo(os.environ["TZ"])


def fail(message):
    print("FAIL:", message, file=sys.stderr)
    sys.exit(1)


def run(*arguments, data=None):
    done = subprocess.run([ORVANE_DB, *arguments], input=data, capture_output=True, check=False)
    if done.returncode != 0 or done.stderr:
        fail(f"orvane-db {' '.join(arguments)}: status {done.returncode}: {done.stderr.decode()}")
    return done.stdout


def local_minute(moment):
    """A moment as the local wall-clock text that orvane-db stores."""
    return moment.astimezone(LOCAL).strftime("%Y-%m-%d %H:%M:%S")


def alarm(minutes):
    component = icalendar.Alarm()
    component.add("action", "DISPLAY")
    component.add("description", "Reminder")
    component.add("trigger", timedelta(minutes=-minutes))
    return component


def year_of_events(today):
    """The calendar, and the reminders ("subject", "yyyy-mm-dd hh:mm:ss") it must give."""
    calendar = icalendar.Calendar()
    calendar.add("prodid", "-//Python icalendar//Orvane exchange test//EN")
    calendar.add("version", "2.0")
    expected = []
    berlin = pytz.timezone("Europe/Berlin")
    new_york = pytz.timezone("America/New_York")
    for i in range(24):
        event = icalendar.Event()
        start = berlin.localize(datetime.combine(today + timedelta(days=3 + 15 * i), time(9 + i % 8, 15 * (i % 4))))
        event.add("uid", f"berlin-{i}@example.org")
        event.add("summary", f"Berlin {i}: Café, Übung; 会议")
        event.add("dtstamp", datetime(2026, 1, 1, tzinfo=timezone.utc))
        event.add("dtstart", start)
        event.add("dtend", start + timedelta(hours=1))
        event.add_component(alarm(15))
        calendar.add_component(event)
        expected.append((f"Berlin {i}: Café, Übung; 会议", local_minute(start - timedelta(minutes=15))))
    for i in range(6):
        event = icalendar.Event()
        day = today + timedelta(days=10 + 50 * i)
        event.add("uid", f"day-{i}@example.org")
        event.add("summary", f"All day {i}")
        event.add("dtstamp", datetime(2026, 1, 1, tzinfo=timezone.utc))
        event.add("dtstart", day)
        event.add("dtend", day + timedelta(days=1))
        calendar.add_component(event)
        expected.append((f"All day {i}", f"{day.isoformat()} 09:00:00"))
    utc = datetime.combine(today + timedelta(days=20), time(23), tzinfo=timezone.utc)
    event = icalendar.Event()
    event.add("uid", "utc@example.org")
    event.add("summary", "Maintenance")
    event.add("dtstamp", datetime(2026, 1, 1, tzinfo=timezone.utc))
    event.add("dtstart", utc)
    calendar.add_component(event)
    expected.append(("Maintenance", local_minute(utc)))

    # Weekly in New York, ten times; the third left out, the fifth moved two hours later.
    weekly = [new_york.localize(datetime.combine(today + timedelta(days=7 + 7 * k), time(8))) for k in range(10)]
    first = weekly[0]
    event = icalendar.Event()
    event.add("uid", "weekly@example.org")
    event.add("summary", "Weekly call")
    event.add("dtstamp", datetime(2026, 1, 1, tzinfo=timezone.utc))
    event.add("dtstart", first)
    event.add("rrule", {"freq": "weekly", "count": 10})
    event.add("exdate", weekly[2])
    event.add_component(alarm(10))
    calendar.add_component(event)
    moved = icalendar.Event()
    moved.add("uid", "weekly@example.org")
    moved.add("summary", "Weekly call")
    moved.add("dtstamp", datetime(2026, 1, 1, tzinfo=timezone.utc))
    moved.add("recurrence-id", weekly[4])
    moved.add("dtstart", weekly[4] + timedelta(hours=2))
    moved.add_component(alarm(10))
    calendar.add_component(moved)
    # The series is one reminder with its rule, at its first occurrence; the moved one is a reminder of its own.
    expected.append(("Weekly call", local_minute(first - timedelta(minutes=10))))
    expected.append(("Weekly call", local_minute(weekly[4] + timedelta(hours=2) - timedelta(minutes=10))))
    left_out = {local_minute(weekly[k] - timedelta(minutes=10)) for k in (2, 4)}
    return calendar, sorted(expected, key=lambda row: (row[1], row[0])), left_out


def main():
    today = date.today()
    calendar, expected, left_out = year_of_events(today)
    with tempfile.TemporaryDirectory() as folder:
        store = os.path.join(folder, "data.mdb")
        written = os.path.join(folder, "python.ics")
        with open(written, "wb") as file:
            file.write(calendar.to_ical())
        run("--file", store, "init")
        run("--file", store, "import", "--ics", written)
        rows = json.loads(run("--file", store, "list", "--all", "--json"))
        got = sorted(((row["subject"], row["due"].replace("T", " ")) for row in rows), key=lambda r: (r[1], r[0]))
        if got != expected:
            fail("imported reminders differ:\n" + "\n".join(f"{a} | {b}" for a, b in zip(got, expected)))

        exported = run("--file", store, "export", "--ics", "-")
        read = icalendar.Calendar.from_ical(exported)
        events = [component for component in read.walk("VEVENT")]
        problems = [component.errors for component in read.walk() if getattr(component, "errors", None)]
        if problems:
            fail(f"icalendar complained: {problems}")
        back = sorted(((str(event["summary"]), event.decoded("dtstart").strftime("%Y-%m-%d %H:%M:%S"))
                       for event in events), key=lambda r: (r[1], r[0]))
        if back != expected:
            fail("exported events differ:\n" + "\n".join(f"{a} | {b}" for a, b in zip(back, expected)))
        if len({str(event["uid"]) for event in events}) != len(events):
            fail("exported UIDs repeat")
        series = [event for event in events if "rrule" in event]
        if len(series) != 1 or series[0]["rrule"].get("count") != [10]:
            fail(f"the weekly series is not one event of ten: {[event.get('rrule') for event in series]}")
        exdates = series[0].get("exdate", [])
        exdates = exdates if isinstance(exdates, list) else [exdates]
        written = {moment.dt.strftime("%Y-%m-%d %H:%M:%S") for exdate in exdates for moment in exdate.dts}
        if written != left_out:
            fail(f"the series leaves out {sorted(written)}, not {sorted(left_out)}")
        for event in events:
            alarms = event.walk("VALARM")
            if len(alarms) != 1 or alarms[0].decoded("trigger") != timedelta(0):
                fail(f"event {event['uid']} has no alarm at its start")
    print(f"{len(expected)} reminders imported and read back")


main()
