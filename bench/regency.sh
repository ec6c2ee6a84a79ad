#!/usr/bin/env bash
# A regency's load: generates PNS civil servants and ACTIVITIES activities
# over the past year, then measures, each beside an anchor of the same run:
#   - the whole recompute of last month for everybody, against a bare sum of
#     the same month read through the same index;
#   - the incremental recompute after 1,000 new activities of 1,000 servants,
#     against the same bare sum of the current month;
#   - how long an input and an approval through the procedures take while
#     whole recomputes run, against the same probes on a quiet server;
#   - the login to a filled dashboard of an executor, a section head and the
#     head of a field with about 2,700 people below, through the client;
#   - one person's month in the activity list and in the review list.
#   bash bench/regency.sh [PNS] [ACTIVITIES] [RUNS]
#   defaults: 10000 servants, 10500000 activities, 3 runs each
# Uses its own private server on 127.0.0.1:30347 (data in build/regency-db).
# REGENCY_KEEP=1 reuses data generated before with the same figures.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

pns="${1:-10000}"
aktivitas="${2:-10500000}"
runs="${3:-3}"
install_missing
configure
cmake --build "$BUILD" --target bench_login -j "$(nproc)"

DIR="$BUILD/regency-db"
PORT=30347
SCHEMA=tarvesa_regency
export TARVESA_DB_BUFFER_POOL="${TARVESA_DB_BUFFER_POOL:-6G}" TARVESA_DB_LOG_FILE="${TARVESA_DB_LOG_FILE:-1G}"
ACCOUNT="$BUILD/server/app-account.sql"
PASSWORD="$(sed -n 's/^TARVESA_DB_PASSWORD:STRING=//p' "$BUILD/CMakeCache.txt")"
sql() { mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$DIR/s" "$SCHEMA" "$@"; }
ms() { local s e; s=$(date +%s%N); sql -e "$1" >/dev/null; e=$(date +%s%N); echo $(((e - s) / 1000000)); }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v r="$1" -v b="$2" 'BEGIN { printf "%.2f", r / (b > 0 ? b : 1) }'; }

if [ "${REGENCY_KEEP:-0}" = 1 ] && [ "$(cat "$DIR/generated" 2>/dev/null)" = "$pns $aktivitas" ]; then
    say "Starting the benchmark server on the data generated before"
    bash "$ROOT/scripts/dbserver.sh" start "$DIR" "$PORT"
    trap 'bash "$ROOT/scripts/dbserver.sh" stop "$DIR"' EXIT
    bash "$ROOT/scripts/dbload.sh" "$DIR/s" "$SCHEMA" routines "$ACCOUNT"
else
    say "Starting the benchmark server"
    bash "$ROOT/scripts/dbserver.sh" fresh "$DIR" "$PORT"
    trap 'bash "$ROOT/scripts/dbserver.sh" stop "$DIR"' EXIT
    bash "$ROOT/scripts/dbload.sh" "$DIR/s" "$SCHEMA" fresh "$ACCOUNT"
    sql <"$ROOT/bench/regency.sql"
    say "Generating $pns servants and $aktivitas activities"
    # The triggers on aktivitas fill in names and mark changes, which a
    # generated year needs neither of; the routines' reload puts them back.
    sql -N -e "SELECT TRIGGER_NAME FROM information_schema.TRIGGERS
                WHERE TRIGGER_SCHEMA = DATABASE() AND EVENT_OBJECT_TABLE = 'aktivitas'" |
        while read -r t; do sql -e "DROP TRIGGER \`$t\`"; done
    start=$(date +%s.%N)
    sql -e "CALL kinerja_skala_kabupaten($pns, $aktivitas)"
    end=$(date +%s.%N)
    awk -v a="$aktivitas" -v s="$start" -v e="$end" \
        'BEGIN { printf "generated in %.1f s: %.0f activities/s\n", e - s, a / (e - s) }'
    # The generator runs as root; the routines' check wants none such left.
    # Without its triggers the kept list of work waiting for validation
    # missed the year: emptied, the reload fills it again.
    sql -e "DROP PROCEDURE kinerja_skala_kabupaten;
            DELETE FROM kinerja_validasi_tunggu; DELETE FROM kinerja_validasi_tunggu_sejak"
    bash "$ROOT/scripts/dbload.sh" "$DIR/s" "$SCHEMA" routines "$ACCOUNT"
    sql -e "ANALYZE TABLE aktivitas, cache_pns, jabatan, plt, delegasi" >/dev/null
    echo "$pns $aktivitas" >"$DIR/generated"
fi

period=$(date -d "$(date +%Y-%m-01) -1 month" +%Y%m)
current=$(date +%Y%m)
bare() {
    local from="${1:0:4}-${1:4:2}-01"
    echo "SELECT nip, SUM(IF(status IN ('accepted', 'accepted_by_system', 'accepted_by_spv'),
                             IF(bobot_skr > 300, 300, bobot_skr * volume), 0)) AS m
            FROM aktivitas FORCE INDEX (ix_akt_bulan)
           WHERE tanggal_aktivitas >= '$from' AND tanggal_aktivitas < '$from' + INTERVAL 1 MONTH
           GROUP BY nip"
}
sql -N -e "SELECT CONCAT('servants ', (SELECT COUNT(*) FROM cache_pns), ', activities in ', '$period', ': ', COUNT(*))
             FROM aktivitas FORCE INDEX (ix_akt_bulan)
            WHERE tanggal_aktivitas >= '${period:0:4}-${period:4:2}-01'
              AND tanggal_aktivitas < '${period:0:4}-${period:4:2}-01' + INTERVAL 1 MONTH"

say "Whole recompute of $period for everybody ($runs runs each, interleaved)"
recompute=() baseline=()
for _ in $(seq "$runs"); do
    recompute+=("$(ms "CALL kinerja_progress_hitung('$period')")")
    baseline+=("$(ms "$(bare "$period")")")
done
r=$(median "${recompute[@]}") b=$(median "${baseline[@]}")
printf 'whole recompute, one month          median %6d ms   (%s)\n' "$r" "${recompute[*]}"
printf 'bare SUM ... GROUP BY nip, same rows median %6d ms   (%s)\n' "$b" "${baseline[*]}"
printf 'ratio recompute / bare sum            %s   (target <= 2)\n' "$(ratio "$r" "$b")"

say "Incremental recompute of $current after 1,000 new activities ($runs runs)"
sql -e "CALL kinerja_progress_hitung('$current')" >/dev/null
# 1,000 servants spread over the regency each record one activity today.
new_rows="INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, rincian_tugas, kode_jabatan, deskripsi, volume,
                                 satuan, bobot_skr, tanggal_aktivitas, tanggal_input, status, nip_atasan1, nip_atasan2)
          SELECT o.nip, 'Utama', r.kode, r.rincian_tugas, o.kode_jabatan, 'Pekerjaan baru', 1, r.satuan, r.bobot_skr,
                 NOW(), NOW(), '0', o.atasan1, o.atasan2
            FROM skala_orang o JOIN skala_rincian r ON r.m = 0
           WHERE o.i % GREATEST(1, $pns DIV 1000) = 0 LIMIT 1000"
incremental=() baseline=()
for _ in $(seq "$runs"); do
    sql -e "$new_rows"
    incremental+=("$(ms "CALL kinerja_progress_hitung_ubah('$current')")")
    baseline+=("$(ms "$(bare "$current")")")
done
r=$(median "${incremental[@]}") b=$(median "${baseline[@]}")
printf 'incremental, 1,000 new activities   median %6d ms   (%s)   (target < 1000 ms)\n' "$r" "${incremental[*]}"
printf 'bare SUM of the current month       median %6d ms   (%s)\n' "$b" "${baseline[*]}"

say "Input and approval while whole recomputes run"
# An executor of the first agency and the head of its section, each with a
# session as a login makes; the executor's day starts empty, and each probe's
# activity is removed again so the 480-minute rule never refuses.
staff=$(sql -N -e "SELECT nip FROM skala_orang WHERE kode_jabatan LIKE 'J%-P' ORDER BY i LIMIT 1 OFFSET 3000")
head=$(sql -N -e "SELECT atasan1 FROM skala_orang WHERE nip = '$staff'")
task=$(sql -N -e "SELECT kode FROM skala_rincian WHERE m = 0")
sql -e "DELETE FROM aktivitas WHERE nip = '$staff' AND tanggal_aktivitas >= CURDATE();
        INSERT INTO kinerja_sesi (token_sha2, nip, access_level, tanggal_terbit, tanggal_pakai) VALUES
          (SHA2('regency-staff', 256), '$staff', '1', NOW(), NOW() + INTERVAL 1 DAY),
          (SHA2('regency-head', 256), '$head', '1', NOW(), NOW() + INTERVAL 1 DAY)
        ON DUPLICATE KEY UPDATE tanggal_pakai = NOW() + INTERVAL 1 DAY, tanggal_cabut = NULL"
probe_sql() {
    local n="$1" i
    for i in $(seq "$n"); do
        cat <<SQL
SET @kinerja_sesi_sha2 = SHA2('regency-staff', 256);
SET @t = NOW(6);
CALL kinerja_aktivitas_insert('$staff', '$task', '0', 'Percobaan input nomor $i saat hitung ulang', '1', DATE_FORMAT(NOW(), '%Y-%m-%d %H:%i:%s'), '0',
                              '', 'Utama', '', '', '', '');
SELECT 'input', TIMESTAMPDIFF(MICROSECOND, @t, NOW(6));
SELECT MAX(id) INTO @id FROM aktivitas WHERE nip = '$staff' AND tanggal_aktivitas >= CURDATE();
SET @kinerja_sesi_sha2 = SHA2('regency-head', 256);
SET @t = NOW(6);
CALL kinerja_aktivitas_disetujui_atasan(@id, '$head');
SELECT 'approval', TIMESTAMPDIFF(MICROSECOND, @t, NOW(6));
DELETE FROM aktivitas WHERE id = @id;
DO SLEEP(0.05);
SQL
    done
}
summary() {
    awk -v what="$2" '$1 == what { v[++n] = $2 / 1000 } END {
        asort(v); printf "%-9s %3d probes   median %7.1f ms   max %7.1f ms", what, n, v[int((n + 1) / 2)], v[n] }' "$1"
}
probes=60
probe_sql "$probes" | sql -N >"$DIR/probe-quiet.txt"
# Whole recomputes in a loop for as long as the probes run.
(while [ ! -f "$DIR/probe-done" ]; do sql -e "CALL kinerja_progress_hitung('$period')"; done) &
loop=$!
rm -f "$DIR/probe-done"
sleep 0.5
probe_sql "$probes" | sql -N >"$DIR/probe-busy.txt"
touch "$DIR/probe-done"
wait "$loop"
rm -f "$DIR/probe-done"
for what in input approval; do
    printf 'during recomputes: %s   (target: max <= 200 ms)\n' "$(summary "$DIR/probe-busy.txt" "$what")"
    printf 'quiet server:      %s\n' "$(summary "$DIR/probe-quiet.txt" "$what")"
done

say "Login to a filled dashboard, and one month's lists ($runs runs each)"
executor=$(sql -N -e "SELECT nip FROM skala_orang WHERE kode_jabatan LIKE 'J%-P' ORDER BY i LIMIT 1 OFFSET 5000")
section=$(sql -N -e "SELECT atasan1 FROM skala_orang WHERE nip = '$executor'")
field=$(sql -N -e "SELECT nip FROM skala_orang WHERE kode_jabatan = 'JK1-1'")
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_login" "$PORT" "$SCHEMA" "$PASSWORD" "$runs" "$DIR/s" \
    "executor=$executor" "section head=$section" "field head=$field"
