# Loading steps shared by dbload.sh (private servers, root through their
# socket) and server.sh (a regency's server, an administrative account):
# the version table, version 1 of the schema (server/schema.sql), the
# numbered migrations (server/migrations/NNNN-name.sql), the routines and
# the accounts.
#
# The caller defines sql(): the mariadb client with its connection and
# strict sql_mode, arguments and standard input passed through; and sets
# SCHEMA (checked by tv_check_schema_name) and ACCOUNT_SQL (the generated
# build/server/app-account.sql; grants.sql lies beside it).

TV_SERVER="$(cd "$(dirname "${BASH_SOURCE[0]}")/../server" && pwd)"
# A test points this at a copy with a migration of its own.
TV_MIGRATIONS="${TARVESA_MIGRATIONS:-$TV_SERVER/migrations}"

tv_fail() {
    echo "$*" >&2
    exit 1
}

# Names go into statements unquoted by a library: letters, digits and "_".
tv_check_schema_name() {
    [[ "$1" =~ ^[A-Za-z0-9_]{1,64}$ ]] || tv_fail "Schema name '$1' is not allowed: letters, digits and _ only"
}

# The steps of this release, in order: "VERSION<TAB>FILE NAME<TAB>PATH".
tv_steps() {
    printf '1\tschema.sql\t%s\n' "$TV_SERVER/schema.sql"
    local f name n last=1
    for f in "$TV_MIGRATIONS"/*.sql; do
        [ -e "$f" ] || continue
        name="$(basename "$f")"
        [[ "$name" =~ ^([0-9]{4})-[a-z0-9-]+\.sql$ ]] ||
            tv_fail "Migration $name: the name must be NNNN-words.sql (digits, lower-case letters, -)"
        n=$((10#${BASH_REMATCH[1]}))
        [ "$n" -gt "$last" ] || tv_fail "Migration $name: number $n is taken or out of order (after $last)"
        printf '%d\t%s\t%s\n' "$n" "$name" "$f"
        last=$n
    done
}

# What the schema holds: "missing", "empty", "versioned", or "other" (tables,
# views or routines without our version table).
tv_schema_kind() {
    sql -N -e "
        SELECT CASE
          WHEN NOT EXISTS (SELECT 1 FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = '$SCHEMA') THEN 'missing'
          WHEN EXISTS (SELECT 1 FROM information_schema.TABLES
                        WHERE TABLE_SCHEMA = '$SCHEMA' AND TABLE_NAME = 'kinerja_migrasi') THEN 'versioned'
          WHEN EXISTS (SELECT 1 FROM information_schema.TABLES WHERE TABLE_SCHEMA = '$SCHEMA')
            OR EXISTS (SELECT 1 FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = '$SCHEMA')
            OR EXISTS (SELECT 1 FROM information_schema.EVENTS WHERE EVENT_SCHEMA = '$SCHEMA') THEN 'other'
          ELSE 'empty' END"
}

# The versions the schema has: "VERSION FINISHED(0/1) SHA256" per line.
tv_state() {
    sql -N "$SCHEMA" -e "SELECT nomor, selesai IS NOT NULL, sha256 FROM kinerja_migrasi ORDER BY nomor"
}

# The version of a schema: the highest finished step (0 for none).
tv_version() {
    sql -N "$SCHEMA" -e "SELECT COALESCE(MAX(nomor), 0) FROM kinerja_migrasi WHERE selesai IS NOT NULL"
}

# Runs one step: its row first, then the file, then the row finished. DDL
# commits as it goes, so a failure leaves the row unfinished, and the next
# run knows where it stopped.
tv_run_step() {
    local n="$1" name="$2" path="$3" sha
    sha="$(sha256sum "$path" | cut -c1-64)"
    echo "Version $n: $name"
    {
        printf "INSERT INTO kinerja_migrasi (nomor, nama, sha256, mulai, akun) VALUES (%d, '%s', '%s', NOW(), CURRENT_USER())\n" "$n" "$name" "$sha"
        printf "  ON DUPLICATE KEY UPDATE nama = VALUES(nama), sha256 = VALUES(sha256), mulai = VALUES(mulai),\n"
        printf "                          selesai = NULL, akun = VALUES(akun);\n"
        cat "$path"
        printf '\nDELIMITER ;\nUPDATE kinerja_migrasi SET selesai = NOW() WHERE nomor = %d;\n' "$n"
    } | sql "$SCHEMA" || tv_fail "Version $n ($name) failed halfway: its row in kinerja_migrasi stays unfinished.
Fix the cause named above, then run the upgrade again with --resume: it runs $name again from its start
(every statement of a step may run twice)."
}

# Brings the schema to version TO (default: the latest of this release).
# RESUME=1 runs an unfinished step again; without it an unfinished step
# stops everything (it failed, or another upgrade is running).
tv_migrate() {
    local to="${1:-}" resume="${2:-0}" steps latest state unfinished applied n name path
    steps="$(tv_steps)"
    latest="$(tail -n 1 <<<"$steps" | cut -f1)"
    [ -n "$to" ] || to="$latest"
    [[ "$to" =~ ^[0-9]+$ ]] && [ "$to" -ge 1 ] && [ "$to" -le "$latest" ] ||
        tv_fail "No version $to in this release (versions 1 to $latest)"
    sql "$SCHEMA" <"$TV_SERVER/versions.sql" || tv_fail "Could not create the version table"
    state="$(tv_state)" || tv_fail "Could not read the version table"
    unfinished="$(awk '$2 == 0 { print $1 }' <<<"$state")"
    applied="$(awk '$2 == 1 { m = $1 } END { print m + 0 }' <<<"$state")"
    if [ -n "$unfinished" ] && [ "$resume" != 1 ]; then
        tv_fail "Version $(head -n 1 <<<"$unfinished") of schema '$SCHEMA' began and did not finish: it failed
halfway, or another upgrade is running now. When none is running and the cause of the failure is fixed,
run the upgrade again with --resume."
    fi
    # A version this release lacks came from a newer release.
    local known unknown
    known=" $(cut -f1 <<<"$steps" | tr '\n' ' ')"
    unknown="$(awk '{ print $1 }' <<<"$state" | while read -r n; do
        [ -z "$n" ] || [[ "$known" == *" $n "* ]] || echo "$n"; done | tail -n 1)"
    if [ -n "$unknown" ]; then
        tv_fail "Schema '$SCHEMA' has version $unknown, which this release does not know (it knows 1 to $latest):
a newer release upgraded it. Refusing to go back; use the server files of that release."
    fi
    [ "$applied" -le "$to" ] || tv_fail "Schema '$SCHEMA' is at version $applied already: --to $to cannot go back"
    while IFS=$'\t' read -r n name path; do
        [ "$n" -le "$to" ] || break
        local row
        row="$(awk -v n="$n" '$1 == n' <<<"$state")"
        if [ -n "$row" ] && [ "$(awk '{ print $2 }' <<<"$row")" = 1 ]; then
            if [ "$(awk '{ print $3 }' <<<"$row")" != "$(sha256sum "$path" | cut -c1-64)" ]; then
                echo "Note: $name changed since it was applied to '$SCHEMA' (it is not applied again)" >&2
            fi
            continue
        fi
        if [ "$applied" -gt "$n" ]; then
            tv_fail "Version $n ($name) is missing from schema '$SCHEMA', which has version $applied:
migrations run in order only. Apply it by hand, as its file says, or restore a backup."
        fi
        tv_run_step "$n" "$name" "$path"
    done <<<"$steps"
}

# Routines, triggers and events run as the locked account of definer.sql, not
# as the loader: each CREATE of one gets that DEFINER.
tv_load_routines_file() {
    local definer='`kinerja_definer`@`localhost`'
    sed -E "s/^([[:space:]]*CREATE([[:space:]]+OR[[:space:]]+REPLACE)?)[[:space:]]+(FUNCTION|PROCEDURE|TRIGGER|EVENT)[[:space:]]/\1 DEFINER = $definer \3 /I" "$1" \
        | sql "$SCHEMA" || tv_fail "failed loading $1"
}

tv_load_file() { sql "$SCHEMA" <"$1" || tv_fail "failed loading $1"; }

# Functions, procedures, triggers and events, the rows that follow them, and
# the accounts with their grants. Data kept; safe to run again.
tv_routines() {
    sql <"$TV_SERVER/definer.sql" || tv_fail "failed creating the definer account"
    tv_load_routines_file "$TV_SERVER/functions.sql"
    tv_load_routines_file "$TV_SERVER/identity.sql"
    local f
    for f in "$TV_SERVER"/procedures/*.sql; do tv_load_routines_file "$f"; done
    tv_load_routines_file "$TV_SERVER/events.sql"
    tv_load_file "$TV_SERVER/routine-data.sql"
    sql <"$ACCOUNT_SQL" || tv_fail "failed creating the application account"
    tv_load_file "$(dirname "$ACCOUNT_SQL")/grants.sql"
    # A CREATE the rewrite missed would run as the loader: refuse the load.
    local other
    other="$(sql -N "$SCHEMA" -e "
        SELECT COUNT(*) FROM (
          SELECT DEFINER FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE()
          UNION ALL SELECT DEFINER FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = DATABASE()
          UNION ALL SELECT DEFINER FROM information_schema.EVENTS WHERE EVENT_SCHEMA = DATABASE()) d
         WHERE DEFINER <> 'kinerja_definer@localhost'")"
    if [ "$other" != 0 ]; then
        tv_fail "$other routines, triggers or events of $SCHEMA have another definer"
    fi
}
