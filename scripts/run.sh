#!/usr/bin/env bash
# Builds the client and opens it on the private demo server.
#   bash scripts/run.sh            keep the demo data of earlier runs
#   bash scripts/run.sh --reset    recreate the demo database from scratch
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

reset=0
[ "${1:-}" = "--reset" ] && reset=1

install_missing
build_all

DEMO="$ROOT/.demo-db"
SCHEMA="$(sed -n 's/^TARVESA_DB_SCHEMA:STRING=//p' "$BUILD/CMakeCache.txt")"
PORT=30306
say "Starting the demo database server ($DEMO)"
if [ $reset -eq 1 ]; then
    bash "$ROOT/scripts/dbserver.sh" fresh "$DEMO" "$PORT" --events
else
    bash "$ROOT/scripts/dbserver.sh" start "$DEMO" "$PORT" --events
fi
trap 'say "Stopping the demo database server"; bash "$ROOT/scripts/dbserver.sh" stop "$DEMO"' EXIT

if ! mariadb --no-defaults -uroot --socket="$DEMO/s" -e "USE \`$SCHEMA\`" 2>/dev/null; then
    say "Loading the demo database '$SCHEMA'"
    bash "$ROOT/scripts/dbload.sh" "$DEMO/s" "$SCHEMA" demo "$BUILD/server/app-account.sql"
else
    say "Updating procedures of '$SCHEMA' (demo data kept)"
    bash "$ROOT/scripts/dbload.sh" "$DEMO/s" "$SCHEMA" routines "$BUILD/server/app-account.sql"
fi

say "Opening Tarvesa"
"$BUILD/tarvesa"
