#!/usr/bin/env bash
# A regency's load: generates PNS civil servants and ACTIVITIES activities
# over the past year, then times the monthly progress recompute of everybody
# beside a bare sum of the same month read through the same index.
#   bash bench/regency.sh [PNS] [ACTIVITIES] [RUNS]
#   defaults: 10000 servants, 10500000 activities, 3 runs each
# Uses its own private server on 127.0.0.1:30347 (data in build/regency-db).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

pns="${1:-10000}"
aktivitas="${2:-10500000}"
runs="${3:-3}"
install_missing
build_all

DIR="$BUILD/regency-db"
PORT=30347
SCHEMA=tarvesa_regency
say "Starting the benchmark server"
bash "$ROOT/scripts/dbserver.sh" fresh "$DIR" "$PORT"
trap 'bash "$ROOT/scripts/dbserver.sh" stop "$DIR"' EXIT
bash "$ROOT/scripts/dbload.sh" "$DIR/s" "$SCHEMA" fresh "$BUILD/server/app-account.sql"
sql() { mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$DIR/s" "$SCHEMA" "$@"; }
sql <"$ROOT/bench/regency.sql"

say "Generating $pns servants and $aktivitas activities"
start=$(date +%s.%N)
sql -e "CALL kinerja_skala_kabupaten($pns, $aktivitas)"
end=$(date +%s.%N)
awk -v a="$aktivitas" -v s="$start" -v e="$end" \
    'BEGIN { printf "generated in %.1f s: %.0f activities/s\n", e - s, a / (e - s) }'
sql -e "ANALYZE TABLE aktivitas, cache_pns, jabatan" >/dev/null

# Last month: whole, with every status.
period=$(date -d "$(date +%Y-%m-01) -1 month" +%Y%m)
from="${period:0:4}-${period:4:2}-01"
bare="SELECT nip, SUM(IF(status IN ('accepted', 'accepted_by_system', 'accepted_by_spv'),
                        IF(bobot_skr > 300, 300, bobot_skr * volume), 0)) AS m
        FROM aktivitas FORCE INDEX (ix_akt_bulan)
       WHERE tanggal_aktivitas >= '$from' AND tanggal_aktivitas < '$from' + INTERVAL 1 MONTH
       GROUP BY nip"
say "Timing the recompute of $period for everybody ($runs runs each, interleaved)"
sql -N -e "SELECT CONCAT('activities in ', '$period', ': ', COUNT(*)) FROM aktivitas FORCE INDEX (ix_akt_bulan)
            WHERE tanggal_aktivitas >= '$from' AND tanggal_aktivitas < '$from' + INTERVAL 1 MONTH"
ms() { local s e; s=$(date +%s%N); sql -e "$1" >/dev/null; e=$(date +%s%N); echo $(((e - s) / 1000000)); }
recompute=() baseline=()
for _ in $(seq "$runs"); do
    recompute+=("$(ms "CALL kinerja_progress_hitung('$period')")")
    baseline+=("$(ms "$bare")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
r=$(median "${recompute[@]}")
b=$(median "${baseline[@]}")
printf 'recompute of one month, everybody   median %6d ms   (%s)\n' "$r" "${recompute[*]}"
printf 'bare SUM ... GROUP BY nip, same rows median %6d ms   (%s)\n' "$b" "${baseline[*]}"
awk -v r="$r" -v b="$b" 'BEGIN { printf "ratio recompute / bare sum            %.2f   (target <= 2)\n", r / (b > 0 ? b : 1) }'
