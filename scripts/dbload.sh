#!/usr/bin/env bash
# Loads the performance database into a schema of a private server, as root
# through its socket (a regency's own server: scripts/server.sh).
#   dbload.sh SOCKET SCHEMA fresh    ACCOUNT_SQL   new empty schema: every version, routines, grants
#   dbload.sh SOCKET SCHEMA demo     ACCOUNT_SQL   the same plus the demo data
#   dbload.sh SOCKET SCHEMA upgrade  ACCOUNT_SQL   missing versions, then routines and grants (data kept)
#   dbload.sh SOCKET SCHEMA routines ACCOUNT_SQL   reload functions, procedures, events, grants (data kept)
# ACCOUNT_SQL is the generated build/server/app-account.sql; the grants
# generated beside it (build/server/grants.sql) load after it.
set -euo pipefail

sock="${1:?socket}"
SCHEMA="${2:?schema}"
mode="${3:?mode}"
ACCOUNT_SQL="${4:?account sql}"

# Routines keep the sql_mode they were created with: strict, so a value too
# long for its column or parameter is refused, never cut, whatever the
# server's default is.
sql() {
    mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$sock" \
        --init-command="SET SESSION sql_mode = 'STRICT_ALL_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'" "$@"
}
source "$(dirname "${BASH_SOURCE[0]}")/serverlib.sh"
tv_check_schema_name "$SCHEMA"

case "$mode" in
    fresh|demo)
        sql -e "DROP DATABASE IF EXISTS \`$SCHEMA\`; CREATE DATABASE \`$SCHEMA\` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;"
        tv_migrate >/dev/null
        tv_routines
        if [ "$mode" = demo ]; then
            tv_load_file "$TV_SERVER/demo.sql"
            sql "$SCHEMA" -e "CALL kinerja_progress_hitung_semua();"
        fi
        ;;
    upgrade)
        [ "$(tv_schema_kind)" = versioned ] || tv_fail "Schema '$SCHEMA' has no version table: it was loaded before versions were recorded"
        tv_migrate
        tv_routines
        ;;
    routines) tv_routines ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
