#!/usr/bin/env bash
# A private MariaDB server in a folder of its own, on 127.0.0.1.
#   dbserver.sh start  DIR PORT [OPTIONS] [-- SERVER OPTIONS]   initialise DIR on first use, start, wait until it answers
#   dbserver.sh stop   DIR                                      stop the server of DIR and wait until it is gone
#   dbserver.sh fresh  DIR PORT [OPTIONS] [-- SERVER OPTIONS]   stop, wipe DIR, start
# OPTIONS:
#   --events      the event scheduler runs
#   --tls CERTS   the server offers TLS with CERTS/ca.pem, CERTS/server-cert.pem
#                 and CERTS/server-key.pem
#   --user USER   the server runs as USER (default root), which owns DIR
# Anything after "--" goes to mariadbd after the options above (a later
# option wins).
# The socket is DIR/s; root connects through it without a password.
# TARVESA_DB_BUFFER_POOL and TARVESA_DB_LOG_FILE size the buffer pool and the
# redo log (defaults 128M and 48M; benchmarks at
# a regency's scale want gigabytes).
set -euo pipefail

cmd="${1:?command}"
dir="${2:?folder}"
mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"
sock="$dir/s"
pidfile="$dir/mariadbd.pid"

running() { [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }

stop() {
    if running; then
        local pid
        pid="$(cat "$pidfile")"
        kill -TERM "$pid"
        for _ in $(seq 1 600); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$pidfile"
}

start() {
    local port="${1:?port}" events="OFF" tls=() user="root" extra=()
    shift
    while [ $# -gt 0 ]; do
        case "$1" in
            --events) events="ON" ;;
            --user)
                user="${2:?user}"
                shift
                ;;
            --)
                shift
                extra=("$@")
                break
                ;;
            --tls)
                local certs="${2:?certificate folder}"
                tls=(--ssl-ca="$certs/ca.pem" --ssl-cert="$certs/server-cert.pem" --ssl-key="$certs/server-key.pem")
                shift
                ;;
            *) echo "unknown option $1" >&2; exit 2 ;;
        esac
        shift
    done
    stop
    # The server writes its socket, pid file and log beside its data.
    [ "$user" = root ] || chown "$user" "$dir"
    if [ ! -d "$dir/data/mysql" ]; then
        echo "Initialising database folder $dir/data"
        mariadb-install-db --no-defaults --user="$user" --datadir="$dir/data" \
            --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1 || {
            cat "$dir/install.log" >&2
            exit 1
        }
    fi
    # Temporary files of its own: nothing else on the machine cleans them up
    # under a running statement.
    mkdir -p "$dir/tmp"
    [ "$user" = root ] || chown "$user" "$dir/tmp"
    echo "Starting MariaDB on 127.0.0.1:$port"
    # setsid: the server outlives the shell that started it (ctest runs each
    # step as its own process).
    setsid mariadbd --no-defaults --user="$user" --datadir="$dir/data" --bind-address=127.0.0.1 \
        --port="$port" --socket="$sock" --pid-file="$pidfile" --skip-name-resolve --tmpdir="$dir/tmp" \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
        --event-scheduler="$events" --log-error="$dir/error.log" \
        --innodb-buffer-pool-size="${TARVESA_DB_BUFFER_POOL:-128M}" --innodb-log-file-size="${TARVESA_DB_LOG_FILE:-48M}" \
        --innodb-flush-log-at-trx-commit=2 "${tls[@]}" "${extra[@]}" </dev/null >/dev/null 2>&1 &
    # Up to 90 s: a node joining a cluster first copies the data it lacks.
    for _ in $(seq 1 900); do
        if mariadb --no-defaults -uroot --socket="$sock" -e 'SELECT 1' >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    echo "MariaDB did not start; see $dir/error.log" >&2
    tail -n 20 "$dir/error.log" >&2 || true
    exit 1
}

case "$cmd" in
    start) start "${@:3}" ;;
    stop) stop ;;
    fresh)
        stop
        rm -rf "$dir/data"
        start "${@:3}"
        ;;
    *) echo "unknown command $cmd" >&2; exit 2 ;;
esac
