#!/usr/bin/env bash
# Loads the performance database into a schema of a running server.
#   dbload.sh SOCKET SCHEMA fresh    ACCOUNT_SQL   new empty schema with tables, routines, grants
#   dbload.sh SOCKET SCHEMA demo     ACCOUNT_SQL   the same plus the demo data
#   dbload.sh SOCKET SCHEMA routines ACCOUNT_SQL   reload functions, procedures, events, grants (data kept)
# ACCOUNT_SQL is the generated build/server/app-account.sql; the grants
# generated beside it (build/server/grants.sql) load after it.
set -euo pipefail

sock="${1:?socket}"
schema="${2:?schema}"
mode="${3:?mode}"
account="${4:?account sql}"
server="$(cd "$(dirname "${BASH_SOURCE[0]}")/../server" && pwd)"

# Routines keep the sql_mode they were created with: strict, so a value too
# long for its column or parameter is refused, never cut, whatever the
# server's default is.
sql() {
    mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$sock" \
        --init-command="SET SESSION sql_mode = 'STRICT_ALL_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'" "$@"
}
load() { sql "$schema" <"$1" || { echo "failed loading $1" >&2; exit 1; }; }

# Routines, triggers and events run as the locked account of definer.sql, not
# as the loader: each CREATE of one gets that DEFINER.
definer='`kinerja_definer`@`localhost`'
load_routines() {
    sed -E "s/^([[:space:]]*CREATE([[:space:]]+OR[[:space:]]+REPLACE)?)[[:space:]]+(FUNCTION|PROCEDURE|TRIGGER|EVENT)[[:space:]]/\1 DEFINER = $definer \3 /I" "$1" \
        | sql "$schema" || { echo "failed loading $1" >&2; exit 1; }
}

routines() {
    sql <"$server/definer.sql"
    load_routines "$server/functions.sql"
    load_routines "$server/identity.sql"
    for f in "$server"/procedures/*.sql; do load_routines "$f"; done
    load_routines "$server/events.sql"
    sql <"$account"
    load "$(dirname "$account")/grants.sql"
    # A CREATE the rewrite missed would run as root: refuse the load.
    local other
    other="$(sql -N "$schema" -e "
        SELECT COUNT(*) FROM (
          SELECT DEFINER FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE()
          UNION ALL SELECT DEFINER FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = DATABASE()
          UNION ALL SELECT DEFINER FROM information_schema.EVENTS WHERE EVENT_SCHEMA = DATABASE()) d
         WHERE DEFINER <> 'kinerja_definer@localhost'")"
    if [ "$other" != 0 ]; then
        echo "$other routines, triggers or events of $schema have another definer" >&2
        exit 1
    fi
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
