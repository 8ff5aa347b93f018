#!/bin/sh
# Starts Orvane日程提醒 as the desktop menu does: in its data folder, $XDG_DATA_HOME/orvane-reminder
# (~/.local/share/orvane-reminder), with a starter data.mdb made there on the first start. An existing
# data.mdb is never replaced. The program lives in ../lib/orvane-reminder beside this script's folder.

self=$(readlink -f -- "$0" 2>/dev/null) || self=$0
prefix=$(cd -- "$(dirname -- "$self")/.." && pwd) || exit 1

case ${XDG_DATA_HOME:-} in
  /*) data=$XDG_DATA_HOME/orvane-reminder ;;
  *) data=${HOME:?HOME is not set}/.local/share/orvane-reminder ;; # a relative XDG_DATA_HOME is ignored
esac
mkdir -p -- "$data" || exit 1

if [ ! -e "$data/data.mdb" ]; then
  # Made aside and linked into place, which fails when another start got there first: two first starts
  # at once cannot spoil each other's file.
  starter="$data/.data.mdb.$$"
  rm -f -- "$starter"
  if "$prefix/bin/orvane-db" --file "$starter" init >/dev/null; then
    ln -- "$starter" "$data/data.mdb" 2>/dev/null || [ -e "$data/data.mdb" ] || mv -- "$starter" "$data/data.mdb"
  fi
  rm -f -- "$starter"
fi

# Without a data.mdb the program itself tells what is missing, in its error box.
cd -- "$data" || exit 1
exec "$prefix/lib/orvane-reminder/orvane-reminder" "$@"
