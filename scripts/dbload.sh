#!/usr/bin/env bash
# Loads the performance database into a schema of a running server.
#   dbload.sh SOCKET SCHEMA fresh    ACCOUNT_SQL   new empty schema with tables, routines, grants
#   dbload.sh SOCKET SCHEMA demo     ACCOUNT_SQL   the same plus the demo data
#   dbload.sh SOCKET SCHEMA routines ACCOUNT_SQL   reload functions, procedures, events, grants (data kept)
# ACCOUNT_SQL is the generated build/server/app-account.sql.
set -euo pipefail

sock="${1:?socket}"
schema="${2:?schema}"
mode="${3:?mode}"
account="${4:?account sql}"
server="$(cd "$(dirname "${BASH_SOURCE[0]}")/../server" && pwd)"

sql() { mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$sock" "$@"; }
load() { sql "$schema" <"$1" || { echo "failed loading $1" >&2; exit 1; }; }

routines() {
    load "$server/functions.sql"
    load "$server/identity.sql"
    for f in "$server"/procedures/*.sql; do load "$f"; done
    load "$server/events.sql"
    sql <"$account"
    load "$server/grants.sql"
}

case "$mode" in
    fresh|demo)
        sql -e "DROP DATABASE IF EXISTS \`$schema\`; CREATE DATABASE \`$schema\` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;"
        load "$server/schema.sql"
        routines
        if [ "$mode" = demo ]; then
            load "$server/demo.sql"
            sql "$schema" -e "CALL kinerja_progress_hitung_semua();"
        fi
        ;;
    routines) routines ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
