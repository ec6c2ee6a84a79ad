#!/usr/bin/env bash
# The import of a regency's files at a regency's size (bench_import.cpp),
# beside a bare LOAD DATA of the same files measured in the same run.
#   bash bench/import.sh [PNS] [POSITIONS] [TASKS] [RUNS]   defaults: 10000 servants,
#                                                          2000 positions, 5000 task entries, 3 runs
# Uses its own private server on 127.0.0.1:30348 (data in build/bench-import-db).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

people="${1:-10000}"
positions="${2:-2000}"
tasks="${3:-5000}"
runs="${4:-3}"
install_missing
configure
cmake --build "$BUILD" --target bench_import -j "$(nproc)"

DIR="$BUILD/bench-import-db"
PORT=30348
say "Starting the benchmark server"
bash "$ROOT/scripts/dbserver.sh" fresh "$DIR" "$PORT"
trap 'bash "$ROOT/scripts/dbserver.sh" stop "$DIR"' EXIT
say "Measuring ($runs runs)"
"$BUILD/bench/bench_import" "$DIR/s" tarvesa_impor "$people" "$positions" "$tasks" "$runs"
