#!/usr/bin/env bash
# Builds the client and opens it on the private demo server.
#   bash scripts/run.sh            keep the demo data of earlier runs
#   bash scripts/run.sh --reset    recreate the demo database from scratch
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

reset=0
[ "${1:-}" = "--reset" ] && reset=1

install_missing
build_client

DEMO="$ROOT/.demo-db"
SCHEMA="$(sed -n 's/^TARVESA_DB_SCHEMA:STRING=//p' "$BUILD/CMakeCache.txt")"
PORT=30306
# The client's port is fixed, so the demo cannot move elsewhere: say who is
# in the way instead of leaving MariaDB's bind error in a log file.
if ! { [ -f "$DEMO/mariadbd.pid" ] && kill -0 "$(cat "$DEMO/mariadbd.pid")" 2>/dev/null; } &&
   (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; then
    say "Port $PORT is taken by another program; the demo server needs it"
    echo "See which program listens there:  ss -ltnp 'sport = :$PORT'" >&2
    echo "Stop it (or end the other Tarvesa demo), then run this command again." >&2
    exit 1
fi
say "Starting the demo database server ($DEMO)"
if [ $reset -eq 1 ]; then
    bash "$ROOT/scripts/dbserver.sh" fresh "$DEMO" "$PORT" --events
else
    bash "$ROOT/scripts/dbserver.sh" start "$DEMO" "$PORT" --events
fi
trap 'say "Stopping the demo database server"; bash "$ROOT/scripts/dbserver.sh" stop "$DEMO"' EXIT

demo_database "$DEMO/s" "$SCHEMA"

say "Opening Tarvesa"
"$BUILD/tarvesa"
