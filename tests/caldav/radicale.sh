# Sourced: start_radicale DIR PORT starts a Radicale of the caller's own on 127.0.0.1:PORT, with its storage
# and its log (radicale.log, requests included) in DIR and the user alice (password secret), each user allowed
# only their own calendars; sets RADICALE_PID and returns once it takes connections (1 if it never does).
# make_calendar URL makes an empty calendar at URL (alice's).

# Debian's radicale is a module of Debian's Python, which need not be the python3 first on PATH.
RADICALE_PYTHON=/usr/bin/python3

start_radicale() {
  local dir=$1 port=$2
  echo "alice:secret" >"$dir/users"
  cat >"$dir/config" <<CONFIG
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $dir/users
htpasswd_encryption = plain
[rights]
type = owner_only
[storage]
filesystem_folder = $dir/collections
[logging]
level = info
CONFIG
  "$RADICALE_PYTHON" -m radicale --config "$dir/config" 2>>"$dir/radicale.log" &
  RADICALE_PID=$!
  for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$port/" && return 0
    sleep 0.2
  done
  return 1
}

make_calendar() {
  [ "$(curl -s -o /dev/null -w '%{http_code}' -u alice:secret -X MKCOL -H 'Content-Type: application/xml' \
    --data '<?xml version="1.0"?><mkcol xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><set><prop>
<resourcetype><collection/><C:calendar/></resourcetype><displayname>Orvane</displayname>
<C:supported-calendar-component-set><C:comp name="VEVENT"/></C:supported-calendar-component-set></prop></set></mkcol>' \
    "$1")" = 201 ]
}

free_port() { "$RADICALE_PYTHON" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
