#!/usr/bin/env bash
# The manager window's two web notice links against a notice page served on 127.0.0.1 port 80, with
# the browser replaced by a script that records how it was started: 更多信息... opens the page's
# second address, the 更多软件 header its first.
source "$E2E_LIB"
TITLE='Orvane日程提醒v1.0'
MANAGER='日程设置'
SOFT='http://one.example/soft'
INFO='http://two.example/info'

# click_at <window id> <x> <y>: a left click at a point of the window, in window pixels.
click_at() {
  window_geometry "$1"
  xdotool mousemove --sync $((WX + $2)) $((WY + $3)) click 1
}

note "a notice page on 127.0.0.1 port 80"
command -v python3 >/dev/null || fail "python3 serves the notice page and is not installed"
site="$E2E_WORK/site"
mkdir -p "$site"
cat >"$site/index.html" <<EOF
<html><body>
<p>orvane e2e notice page $$</p>
<zeqa1>$SOFT</zeqa1>
<zeqa2>$INFO</zeqa2>
</body></html>
EOF
python3 -m http.server 80 --bind 127.0.0.1 --directory "$site" >"$E2E_WORK/http.log" 2>&1 &
server=$!
E2E_PIDS+=($server)
serves_our_page() {
  python3 - "notice page $$" <<'PY' 2>/dev/null
import sys, urllib.request
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
page = opener.open("http://127.0.0.1/index.html", timeout=2).read()
sys.exit(0 if sys.argv[1].encode() in page else 1)
PY
}
server_gone() { ! kill -0 "$server" 2>/dev/null; }
answered_or_gone() { serves_our_page || server_gone; }
wait_until 10 answered_or_gone || fail "the notice server did not answer on 127.0.0.1:80: $(cat "$E2E_WORK/http.log")"
if server_gone || ! serves_our_page; then
  fail "port 80 on 127.0.0.1 is taken or may not be bound (this test needs it, and root):" \
    "$(tail -n 3 "$E2E_WORK/http.log")"
fi
export ORVANE_NOTICE_HOST=127.0.0.1

# The browser stand-in: one line per start, the argument count and then each argument after a tab.
record="$E2E_WORK/browser.log"
mkdir -p "$E2E_WORK/bin"
cat >"$E2E_WORK/bin/xdg-open" <<EOF
#!/bin/sh
line="\$#"
for arg in "\$@"; do line="\$line	\$arg"; done
printf '%s\n' "\$line" >>'$record'
EOF
chmod +x "$E2E_WORK/bin/xdg-open"
export PATH="$E2E_WORK/bin:$PATH"
: >"$record"

launches() { wc -l <"$record"; }
started() { [ "$(launches)" -ge "$1" ]; }
fetches() { grep -c 'GET /index.html ' "$E2E_WORK/http.log" || true; }
shown_windows() {
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|' || true
}
# expect_launch <count> <address>: the browser's <count>th start, with the address as its one argument.
expect_launch() {
  wait_until 20 started "$1" \
    || fail "the browser was not started (windows: $(shown_windows); server: $(tail -n 2 "$E2E_WORK/http.log"))"
  local got
  got=$(sed -n "${1}p" "$record")
  [ "$got" = "1	$2" ] || fail "the browser was started with: $(printf '%q' "$got"), not only $2"
  [ "$(launches)" -eq "$1" ] || fail "the browser was started $(launches) times: $(cat "$record")"
}

start_display
new_workdir
start_app
main=$(wait_window "$TITLE")
click_at "$main" $((111 + 16)) $((230 + 12)) # the 设置 hot area
manager=$(wait_window "$MANAGER")
before=$(fetches)

note "更多信息... opens the page's second address"
click_at "$manager" $((481 + 20)) $((421 + 6)) # 更多信息...
expect_launch 1 "$INFO"

note "the 更多软件 header opens the page's first address"
click_at "$manager" $((406 + 28)) $((23 + 12)) # 更多软件
expect_launch 2 "$SOFT"

[ "$(fetches)" -eq $((before + 2)) ] || fail "$(($(fetches) - before)) fetches of /index.html for two clicks"
has_window "$MANAGER" || fail "the manager closed"
kill -0 "$APP_PID" || fail "the program ended"
echo "PASS"
