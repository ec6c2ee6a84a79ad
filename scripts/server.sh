#!/usr/bin/env bash
# The performance database on a regency's own MariaDB server (10.11 or
# newer), through an administrative account: never the application account.
# See README, "Installing for a regency".
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

usage() {
    cat <<'EOF'
Usage: bash scripts/server.sh COMMAND [ARGUMENT] [OPTIONS]

Commands:
  install          create the schema, its tables, the definer and application accounts,
                   the routines and events (no demo data); safe to run again
  upgrade          apply the missing versions of the schema in order, then reload the routines
  status           the schema's versions
  import DIR       bring in unit.csv, jabatan.csv, jabatan_kinerja.csv, pns.csv and
                   rincian_tugas.csv from DIR (checked first; asks before changing anything)
  backup DIR       tables, routines, events and the accounts' grants, into an empty folder
  restore DIR      a backup into a new or empty schema
  admin NIP        give the registered account of NIP the level Admin System

Connection (an administrative account such as root):
  --socket PATH    the server's local socket (default /run/mysqld/mysqld.sock)
  --host HOST      connect over TCP instead; --port N (default 30306)
  --user USER      default root
  --password       ask for the password; otherwise TARVESA_ADMIN_PASSWORD, or none

Options:
  --schema NAME    default: TARVESA_DB_SCHEMA of the build
  --build DIR      the configured build folder (default build/, or TARVESA_BUILD_DIR)
  --resume         install/upgrade: run again a version that failed halfway
  --to N           install/upgrade: stop after version N, routines not loaded (to test a migration)
  --check          import: check and show the difference only
  --yes            import: apply without asking
EOF
}

fail() {
    echo "$*" >&2
    exit 1
}

cmd="${1:-}"
[ -n "$cmd" ] || { usage >&2; exit 2; }
shift
case "$cmd" in
    -h|--help|help) usage; exit 0 ;;
    install|upgrade|status|import|backup|restore|admin) ;;
    *) usage >&2; fail "Unknown command $cmd" ;;
esac

arg=""
if [[ "$cmd" =~ ^(import|backup|restore|admin)$ ]]; then
    [ $# -gt 0 ] && [[ "$1" != --* ]] || fail "$cmd needs its argument (see --help)"
    arg="$1"
    shift
fi

socket="" host="" port=30306 user=root askpass=0 SCHEMA="" build="${TARVESA_BUILD_DIR:-$ROOT/build}"
to="" resume=0 check=0 yes=0
while [ $# -gt 0 ]; do
    case "$1" in
        --socket) socket="${2:?--socket needs a path}"; shift ;;
        --host) host="${2:?--host needs a name}"; shift ;;
        --port) port="${2:?--port needs a number}"; shift ;;
        --user) user="${2:?--user needs a name}"; shift ;;
        --password) askpass=1 ;;
        --schema) SCHEMA="${2:?--schema needs a name}"; shift ;;
        --build) build="${2:?--build needs a folder}"; shift ;;
        --to) to="${2:?--to needs a version}"; shift ;;
        --resume) resume=1 ;;
        --check) check=1 ;;
        --yes) yes=1 ;;
        *) fail "Unknown option $1 (see --help)" ;;
    esac
    shift
done
[[ "$port" =~ ^[0-9]{1,5}$ ]] || fail "--port must be a number"
[ "$user" != aplikasi ] || fail "The application account cannot do this: use an administrative account (--user)"

# The generated account script carries the installation password and host
# pattern; the schema's name comes from the same settings.
[ -f "$build/CMakeCache.txt" ] && [ -f "$build/server/app-account.sql" ] ||
    fail "No configured build in $build: configure one with the installation settings first
(cmake -S . -B build -DTARVESA_DB_SCHEMA=... -DTARVESA_DB_PASSWORD=... ; README, Installation settings)"
build="$(cd "$build" && pwd)"
[ -n "$SCHEMA" ] || SCHEMA="$(sed -n 's/^TARVESA_DB_SCHEMA:STRING=//p' "$build/CMakeCache.txt")"
ACCOUNT_SQL="$build/server/app-account.sql"

# The credentials go to the client programs in an option file that only this
# user can read, never on a command line that any user can list.
password=""
if [ "$askpass" = 1 ]; then
    [ -r /dev/tty ] || fail "--password needs a terminal; set TARVESA_ADMIN_PASSWORD instead"
    read -r -s -p "Password of $user: " password </dev/tty
    echo >&2
elif [ -n "${TARVESA_ADMIN_PASSWORD+set}" ]; then
    password="$TARVESA_ADMIN_PASSWORD"
fi
work="$(umask 077 && mktemp -d)"
trap 'rm -rf "$work"' EXIT
cnf="$work/client.cnf"
optval() { printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"; }
{
    echo "[client]"
    echo "user=$(optval "$user")"
    [ -z "$password" ] || echo "password=$(optval "$password")"
    if [ -n "$host" ]; then
        echo "host=$(optval "$host")"
        echo "port=$port"
        echo "protocol=TCP"
    else
        echo "socket=$(optval "${socket:-/run/mysqld/mysqld.sock}")"
        echo "protocol=SOCKET"
    fi
    echo "default-character-set=utf8mb4"
    # the command-line client only: mariadb-dump knows no such option
    echo "[mysql]"
    echo "connect-timeout=10"
} >"$cnf"

sql() {
    mariadb --defaults-file="$cnf" \
        --init-command="SET SESSION sql_mode = 'STRICT_ALL_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'" "$@"
}
source "$ROOT/scripts/serverlib.sh"
tv_check_schema_name "$SCHEMA"

# A server that is down, or that accepts and never answers, fails here within
# seconds instead of hanging the command.
where="${host:+on $host:$port}"
where="${where:-through ${socket:-/run/mysqld/mysqld.sock}}"
probe="$(timeout 30 mariadb --defaults-file="$cnf" -N -e \
    "SELECT VERSION(), @@event_scheduler, @@have_ssl, CURRENT_USER()" 2>"$work/probe.err")" || {
    cat "$work/probe.err" >&2
    fail "Cannot reach the database server as $user $where"
}
IFS=$'\t' read -r server_version scheduler have_ssl account <<<"$probe"
[[ "$account" != aplikasi@* ]] || fail "The application account cannot do this: use an administrative account (--user)"
if [[ "$server_version" =~ ^([0-9]+)\.([0-9]+) ]] && [[ "$server_version" == *MariaDB* ]]; then
    major="${BASH_REMATCH[1]}" minor="${BASH_REMATCH[2]}"
    [ "$major" -gt 10 ] || { [ "$major" -eq 10 ] && [ "$minor" -ge 11 ]; } ||
        fail "The server is MariaDB $server_version; the performance database needs 10.11 or newer"
else
    fail "The server answers '$server_version': the performance database needs MariaDB 10.11 or newer"
fi

setting() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

need_versioned() {
    case "$(tv_schema_kind)" in
        versioned) ;;
        missing) fail "There is no schema '$SCHEMA' on this server: install it first" ;;
        *) fail "Schema '$SCHEMA' was not installed by this command (it has no version table kinerja_migrasi)" ;;
    esac
}

# After install and upgrade: what the server still needs from its
# administrator.
advise() {
    [ "$scheduler" = ON ] ||
        echo "Note: event_scheduler is $scheduler on this server: set event_scheduler=ON in its configuration," \
             "or the hourly progress figures, automatic approvals and nightly clean-ups never run." >&2
    if [ "$(setting TARVESA_DB_REQUIRE_TLS)" = ON ] && [ "$have_ssl" != YES ]; then
        echo "Note: the client is built to require TLS, but this server offers none (have_ssl=$have_ssl):" \
             "set ssl_cert, ssl_key and ssl_ca in its configuration." >&2
    fi
}

routines_unless_partial() {
    if [ -n "$to" ] && [ "$to" -lt "$(tv_steps | tail -n 1 | cut -f1)" ]; then
        echo "Stopped at version $to: the routines of this release need the latest version and were not loaded."
        return
    fi
    echo "Loading the routines, events and accounts"
    tv_routines
}

cmd_install() {
    case "$(tv_schema_kind)" in
        missing)
            echo "Creating schema '$SCHEMA'"
            sql -e "CREATE DATABASE \`$SCHEMA\` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"
            ;;
        empty) echo "Installing into the empty schema '$SCHEMA'" ;;
        versioned) echo "Schema '$SCHEMA' is installed (version $(tv_version)): bringing it up to date, nothing removed" ;;
        other)
            fail "Schema '$SCHEMA' holds something else: $(sql -N -e "
                SELECT GROUP_CONCAT(n ORDER BY n SEPARATOR ', ') FROM (
                  SELECT TABLE_NAME AS n FROM information_schema.TABLES WHERE TABLE_SCHEMA = '$SCHEMA'
                  UNION SELECT ROUTINE_NAME FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = '$SCHEMA'
                  ORDER BY 1 LIMIT 5) t") ...
Refusing to install into it. Choose another schema (TARVESA_DB_SCHEMA of the build, or --schema)."
            ;;
    esac
    tv_migrate "$to" "$resume"
    routines_unless_partial
    echo "Schema '$SCHEMA' is at version $(tv_version); no demo data was loaded."
    advise
}

cmd_upgrade() {
    need_versioned
    local before
    before="$(tv_version)"
    tv_migrate "$to" "$resume"
    routines_unless_partial
    echo "Schema '$SCHEMA': version $before -> $(tv_version)"
    advise
}

cmd_status() {
    need_versioned
    sql -t "$SCHEMA" -e "SELECT nomor AS versi, nama AS berkas, mulai, selesai, akun FROM kinerja_migrasi ORDER BY nomor"
    echo "This release knows versions 1 to $(tv_steps | tail -n 1 | cut -f1)."
}

cmd_import() {
    need_versioned
    [ -d "$arg" ] || fail "No folder $arg"
    local tool="$build/tarvesa-impor"
    echo "Building the import program" >&2
    cmake --build "$build" --target tarvesa-impor >"$work/build.log" 2>&1 || {
        tail -n 30 "$work/build.log" >&2
        fail "Could not build the import program"
    }
    local flags=()
    [ "$check" = 0 ] || flags+=(--periksa)
    [ "$yes" = 0 ] || flags+=(--ya)
    "$tool" --defaults-file "$cnf" --schema "$SCHEMA" "${flags[@]}" "$arg"
}

# The accounts that hold rights on the schema, and the definer: each created
# if missing (with its password digest) and granted what it held here.
backup_accounts() {
    local u h
    echo "-- Accounts with rights on schema $SCHEMA, as SHOW CREATE USER and SHOW GRANTS gave them"
    echo "-- (the routines' definer comes from server/definer.sql)."
    while IFS=$'\t' read -r u h; do
        [ -n "$u" ] && [ "$u@$h" != kinerja_definer@localhost ] || continue
        sql -N -e "SHOW CREATE USER '$u'@'$h'" | sed -E 's/^CREATE USER /CREATE USER IF NOT EXISTS /; s/$/;/'
    done < <(backup_account_list)
    while IFS=$'\t' read -r u h; do
        [ -n "$u" ] || continue
        sql -N -e "SHOW GRANTS FOR '$u'@'$h'" | grep -F " ON \`$SCHEMA\`." | sed 's/$/;/' || true
    done < <(backup_account_list)
    # Routine grants from the grant table itself: SHOW GRANTS writes routine
    # names in lower case.
    sql -N -e "
        SELECT CONCAT('GRANT ', Proc_priv, ' ON ', Routine_type, ' \`', Db, '\`.\`', Routine_name, '\` TO ''',
                      User, '''@''', Host, ''';')
          FROM mysql.procs_priv WHERE Db = '$SCHEMA' ORDER BY User, Host, Routine_name"
}

backup_account_list() {
    sql -N -e "
        SELECT User, Host FROM mysql.db WHERE Db = '$SCHEMA'
        UNION SELECT User, Host FROM mysql.tables_priv WHERE Db = '$SCHEMA'
        UNION SELECT User, Host FROM mysql.columns_priv WHERE Db = '$SCHEMA'
        UNION SELECT User, Host FROM mysql.procs_priv WHERE Db = '$SCHEMA'
        ORDER BY 1, 2"
}

cmd_backup() {
    need_versioned
    mkdir -p "$arg"
    [ -z "$(ls -A "$arg")" ] || fail "Folder $arg is not empty: a backup goes into a new or empty folder"
    local version
    version="$(tv_version)"
    echo "Backing up schema '$SCHEMA' (version $version) into $arg"
    # One consistent snapshot of every table (InnoDB), read without locking
    # out the clients; routines, triggers and events with their definers.
    mariadb-dump --defaults-file="$cnf" --single-transaction --routines --events --triggers --hex-blob \
        --skip-add-locks --skip-lock-tables "$SCHEMA" 2>"$work/dump.err" | gzip >"$arg/schema.sql.gz" || {
        cat "$work/dump.err" >&2
        fail "The backup failed"
    }
    [ ! -s "$work/dump.err" ] || { cat "$work/dump.err" >&2; fail "The backup failed"; }
    backup_accounts >"$arg/accounts.sql"
    {
        echo "schema=$SCHEMA"
        echo "version=$version"
        echo "taken=$(date '+%Y-%m-%d %H:%M:%S')"
        echo "server=$server_version"
        (cd "$arg" && sha256sum schema.sql.gz accounts.sql)
    } >"$arg/tarvesa-backup.txt"
    echo "Done: $(du -sh "$arg" | cut -f1) in $arg"
}

cmd_restore() {
    [ -f "$arg/tarvesa-backup.txt" ] || fail "$arg holds no backup (no tarvesa-backup.txt)"
    (cd "$arg" && grep -E '^[0-9a-f]{64}  ' tarvesa-backup.txt | sha256sum --check --quiet) ||
        fail "The backup in $arg is damaged: its files do not match the digests of tarvesa-backup.txt"
    local from version
    from="$(sed -n 's/^schema=//p' "$arg/tarvesa-backup.txt")"
    version="$(sed -n 's/^version=//p' "$arg/tarvesa-backup.txt")"
    tv_check_schema_name "$from"
    case "$(tv_schema_kind)" in
        missing) sql -e "CREATE DATABASE \`$SCHEMA\` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci" ;;
        empty) ;;
        *) fail "Schema '$SCHEMA' is not empty: a restore goes into a new or empty schema (--schema NAME)" ;;
    esac
    echo "Restoring schema '$from' (version $version) into '$SCHEMA'"
    # Accounts before the routines, whose definer must exist; grants after.
    local rename="s/\`$from\`\\./\`$SCHEMA\`./g"
    sql <"$TV_SERVER/definer.sql" || fail "Could not create the definer account"
    grep '^CREATE USER' "$arg/accounts.sql" | sql || fail "Could not create the accounts"
    gzip -dc "$arg/schema.sql.gz" | sql "$SCHEMA" || fail "The restore failed; schema '$SCHEMA' is incomplete: drop it before trying again"
    grep '^GRANT' "$arg/accounts.sql" | sed "$rename" | sql || fail "Could not grant the accounts their rights"
    local now
    now="$(tv_version)"
    echo "Schema '$SCHEMA' restored at version $now."
    [ "$now" -ge "$(tv_steps | tail -n 1 | cut -f1)" ] || echo "This release has newer versions: run the upgrade."
    advise
}

cmd_admin() {
    need_versioned
    [[ "$arg" =~ ^[0-9]{18}$ ]] || fail "A NIP has 18 digits"
    local changed
    changed="$(sql -N "$SCHEMA" -e "
        START TRANSACTION;
        SET @lama = '';
        SELECT l.access_level INTO @lama FROM kinerja_user u JOIN kinerja_level l ON l.id = u.level
         WHERE u.nip = '$arg' FOR UPDATE;
        UPDATE kinerja_user SET level = '5' WHERE nip = '$arg' AND level <> '5';
        SET @ubah = ROW_COUNT();
        INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target, sumber)
        SELECT '$arg', 'User - Update', NOW(), CONCAT('Level ', @lama, ' -> Admin System (server.sh)'), '$arg', 'server'
          FROM DUAL WHERE @ubah > 0;
        COMMIT;
        SELECT CONCAT(@ubah, IF(@lama = '', 'none', 'account'))")"
    case "$changed" in
        1account) echo "$arg is Admin System now." ;;
        0account) echo "$arg is Admin System already." ;;
        *) fail "$arg has no account: the servant registers in the client first (Registrasi), then run this again" ;;
    esac
}

"cmd_$cmd"
