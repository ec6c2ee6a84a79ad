#!/usr/bin/env bash
# Benchmarks at scale: the activity list (bench_list.cpp), a superior's
# "Setujui Semua" of one day (bench_approve.cpp) and the log page's list
# at a million entries (bench_log.cpp).
#   bash bench/run.sh [ROWS] [RUNS] [DAY]   defaults: 50000 rows in the list,
#                                           9 runs, 1000 rows approved
# Uses its own private server on 127.0.0.1:30346 (data in build/bench-db).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

rows="${1:-50000}"
runs="${2:-9}"
day="${3:-1000}"
install_missing
build_all
cmake --build "$BUILD" --target bench_list bench_approve bench_log -j "$(nproc)"

DIR="$BUILD/bench-db"
PORT=30346
SCHEMA=tarvesa_bench
say "Starting the benchmark server"
bash "$ROOT/scripts/dbserver.sh" fresh "$DIR" "$PORT"
trap 'bash "$ROOT/scripts/dbserver.sh" stop "$DIR"' EXIT
bash "$ROOT/scripts/dbload.sh" "$DIR/s" "$SCHEMA" fresh "$BUILD/server/app-account.sql"
mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$DIR/s" "$SCHEMA" <"$ROOT/server/scale.sql"
say "Generating $rows activities"
mariadb --no-defaults -uroot --socket="$DIR/s" "$SCHEMA" -e "CALL kinerja_skala_isi($rows)"

PASSWORD="$(sed -n 's/^TARVESA_DB_PASSWORD:STRING=//p' "$BUILD/CMakeCache.txt")"
say "Measuring ($runs runs each, interleaved)"
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_list" "$PORT" "$SCHEMA" "$PASSWORD" "$runs"

say "Adding $day unverified activities put in today"
mariadb --no-defaults -uroot --socket="$DIR/s" "$SCHEMA" -e "CALL kinerja_skala_hari_ini($day)"
say "Measuring Setujui Semua ($runs runs each, interleaved)"
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_approve" "$PORT" "$SCHEMA" "$PASSWORD" "$runs" "$DIR/s"

say "Measuring the log list at a million entries ($runs runs each, interleaved)"
"$BUILD/bench/bench_log" "$PORT" "$SCHEMA" "$PASSWORD" "$runs"
