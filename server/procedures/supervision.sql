-- Supervision of subordinates: list, review, quality, additional tasks.
-- Who supervises whom is one rule, kinerja_fn_atasan_nip (functions.sql):
-- the direct superior of a servant is its value, the superior two levels up
-- the value of that. Every procedure here checks the caller bound to the
-- connection against it; a refusal is SIGNAL SQLSTATE '45000'.
SET NAMES utf8mb4;

DELIMITER $$

-- Refuses unless the bound caller is the servant's direct superior
-- (p_tingkat 1), the superior two levels up (2), or either of them (0).
DROP PROCEDURE IF EXISTS kinerja_wajib_atasan $$
CREATE PROCEDURE kinerja_wajib_atasan(IN p_bawahan VARCHAR(18), IN p_tingkat TINYINT)
    READS SQL DATA
BEGIN
    DECLARE v_pemanggil VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_atasan1 CHAR(18);
    DECLARE v_atasan2 CHAR(18) DEFAULT NULL;
    IF v_pemanggil IS NULL THEN
        CALL kinerja_wajib_login();
    END IF;
    SET v_atasan1 = kinerja_fn_atasan_nip(p_bawahan);
    IF p_tingkat <> 1 THEN
        SET v_atasan2 = kinerja_fn_atasan_nip(v_atasan1);
    END IF;
    IF NOT ((p_tingkat IN (0, 1) AND v_pemanggil <=> v_atasan1)
            OR (p_tingkat IN (0, 2) AND v_pemanggil <=> v_atasan2)) THEN
        CALL kinerja_tolak('Bukan atasan PNS ini');
    END IF;
END $$

-- ---------------------------------------------------------------------------
-- Subordinate list
-- ---------------------------------------------------------------------------

-- Direct and two-level subordinates of the caller, also those led through
-- an acting post or a side assignment, whose position kind and way of being
-- led are in the "x,..." lists and whose name or NIP contains the fragment.
-- Direct ones first, then by position class (highest first) and name. Each
-- with akt_diakui, the recognised progress of the current month as the
-- kept figures hold it ("12.50 %"; "0.00 %" before the first recompute).
DROP PROCEDURE IF EXISTS kinerja_show_bawahan $$
CREATE PROCEDURE kinerja_show_bawahan(IN var_nip VARCHAR(40), IN var_nama VARCHAR(200), IN var_jjab VARCHAR(200),
                                      IN var_status VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    CALL kinerja_wajib_pemanggil(var_nip);
    CALL kinerja_bawahan_susun(var_nip);
    SELECT p.nip, p.nama_lengkap, p.jenis_jabatan_id, p.nama_jabatan, CAST(p.kelas_jabatan AS CHAR) AS kelas_jabatan,
           b.status_bawahan, b.jenis_bawahan,
           CONCAT(CAST(COALESCE(g.persen_diakui, 0) AS CHAR), ' %') AS akt_diakui
      FROM (SELECT nip, status_bawahan, 'Bawahan Langsung' AS jenis_bawahan, 1 AS urut FROM tmp_bawahan_1
            UNION ALL
            SELECT nip, status_bawahan, 'Bawahan Dua Tingkat', 2 FROM tmp_bawahan_2) b
      JOIN cache_pns p ON p.nip = b.nip
      LEFT JOIN kinerja_progress g ON g.nip = b.nip AND g.periode = DATE_FORMAT(NOW(), '%Y%m')
     WHERE FIND_IN_SET(p.jenis_jabatan_id, var_jjab) > 0
       AND FIND_IN_SET(b.status_bawahan, var_status) > 0
       AND (v_cari = '' OR LOCATE(v_cari, p.nama_lengkap) > 0 OR LOCATE(v_cari, p.nip) > 0)
     ORDER BY b.urut, p.kelas_jabatan DESC, p.nama_lengkap, p.nip;
END $$

-- ---------------------------------------------------------------------------
-- Review of activities
-- ---------------------------------------------------------------------------

-- For the superior two levels up: the subordinate's activities that the
-- direct superior has verified (approved or rejected), whose verification
-- day lies in the range. Activities accepted by the system need no
-- validation and are not listed. Each row carries the review figures (see
-- kinerja_aktivitas_daftar).
DROP PROCEDURE IF EXISTS kinerja_aktivitas_tampil_data_2tk $$
CREATE PROCEDURE kinerja_aktivitas_tampil_data_2tk(IN var_nip VARCHAR(40), IN var_tanggal_awal VARCHAR(40),
                                                   IN var_tanggal_akhir VARCHAR(40), IN var_jenis_jabatan VARCHAR(200),
                                                   IN var_status VARCHAR(200), IN var_aktivitas VARCHAR(500),
                                                   IN var_nip_atasan2 VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_awal, v_akhir DATE;
    DECLARE v_catatan TINYINT DEFAULT 0;
    CALL kinerja_wajib_pemanggil(var_nip_atasan2);
    CALL kinerja_wajib_atasan(var_nip, 2);
    SET v_awal = DATE(kinerja_fn_tanggal(var_tanggal_awal)), v_akhir = DATE(kinerja_fn_tanggal(var_tanggal_akhir));
    CALL kinerja_aktivitas_catatan_siapkan(var_nip, 'tanggal_status', v_awal, v_akhir, v_catatan);
    CALL kinerja_aktivitas_daftar(var_nip, 'tanggal_status', v_awal, v_akhir, var_jenis_jabatan, var_status,
                                  'x,accepted,rejected', var_aktivitas, 1, v_catatan);
END $$

-- "T" while an activity verified on this day may still be validated: at
-- most "aktivitas_validasi_day_max" days ago.
DROP FUNCTION IF EXISTS kinerja_fn_boleh_validasi $$
CREATE FUNCTION kinerja_fn_boleh_validasi(p_tanggal DATETIME) RETURNS CHAR(1)
    READS SQL DATA
BEGIN
    -- The setting is read here, as for verification (one routine less per
    -- connection).
    IF p_tanggal IS NULL
       OR DATEDIFF(CURDATE(), p_tanggal) > COALESCE((SELECT CAST(nilai AS UNSIGNED) FROM kinerja_setting
                                                     WHERE jenis = 'app_kinerja' AND nama = 'aktivitas_validasi_day_max'
                                                       AND TRIM(nilai) REGEXP '^[0-9]{1,9}$'), 5) THEN
        RETURN 'F';
    END IF;
    RETURN 'T';
END $$

-- Whether an activity verified on this day may still be validated.
DROP PROCEDURE IF EXISTS kinerja_cek_waktu_validasi $$
CREATE PROCEDURE kinerja_cek_waktu_validasi(IN var_tanggal_verifikasi VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_tanggal DATETIME DEFAULT kinerja_fn_tanggal(var_tanggal_verifikasi);
    CALL kinerja_jawab_jendela(v_tanggal, 'aktivitas_validasi_day_max', kinerja_fn_boleh_validasi(v_tanggal));
END $$

-- The owner of an activity, refusing a key that names none.
DROP FUNCTION IF EXISTS kinerja_fn_aktivitas_pemilik $$
CREATE FUNCTION kinerja_fn_aktivitas_pemilik(p_id VARCHAR(40)) RETURNS CHAR(18)
    READS SQL DATA
BEGIN
    IF p_id IS NULL OR p_id NOT REGEXP '^[0-9]{1,19}$' THEN
        RETURN NULL;
    END IF;
    RETURN (SELECT nip FROM aktivitas WHERE id = p_id);
END $$

-- The status code of an activity, for one of its two superiors; no row when
-- it does not exist.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_status_cek $$
CREATE PROCEDURE kinerja_aktivitas_status_cek(IN var_id VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_nip CHAR(18) DEFAULT kinerja_fn_aktivitas_pemilik(var_id);
    IF v_nip IS NOT NULL THEN
        CALL kinerja_wajib_atasan(v_nip, 0);
    END IF;
    SELECT status FROM aktivitas WHERE id = var_id AND v_nip IS NOT NULL;
END $$

-- "S" when the activity has been validated, "B" when not yet; no row when
-- it does not exist.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_status_validasi_cek $$
CREATE PROCEDURE kinerja_aktivitas_status_validasi_cek(IN var_id VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_nip CHAR(18) DEFAULT kinerja_fn_aktivitas_pemilik(var_id);
    IF v_nip IS NOT NULL THEN
        CALL kinerja_wajib_atasan(v_nip, 0);
    END IF;
    SELECT IF(tanggal_validasi IS NULL, 'B', 'S') AS status_validasi
      FROM aktivitas WHERE id = var_id AND v_nip IS NOT NULL;
END $$

-- Verification by the direct superior, under a lock on the activity's row:
-- the caller is var_nip and the owner's direct superior, the input lies in
-- the verification window, the status allows it ("0", or a verdict of the
-- superior that is not yet validated; never one of the system or of
-- supervision). p_semua = 1 is one row of "approve all": a row that is no
-- longer unverified is left as it is and answered "dilewati", so the rest
-- of the day goes through. Joins a transaction the caller has open.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_verifikasi $$
CREATE PROCEDURE kinerja_aktivitas_verifikasi(IN p_id VARCHAR(40), IN p_nip VARCHAR(40), IN p_status VARCHAR(20),
                                              IN p_semua TINYINT)
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_hari DATETIME;
    DECLARE v_status VARCHAR(20);
    DECLARE v_input DATETIME;
    DECLARE v_validasi DATETIME;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(p_nip);
    -- the superior's two verdicts; every other status belongs to the system
    -- or to supervision
    IF NOT kinerja_fn_kata(p_status, 'accepted,rejected') THEN
        CALL kinerja_tolak('Status verifikasi tidak dikenal');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    IF p_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT nip, tanggal_aktivitas, status, tanggal_input, tanggal_validasi
          INTO v_nip, v_hari, v_status, v_input, v_validasi
          FROM aktivitas WHERE id = p_id FOR UPDATE;
    END IF;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Aktivitas tidak ditemukan');
    END IF;
    -- kinerja_wajib_atasan written out: the caller is p_nip (checked above),
    -- and one routine less matters on a connection per row.
    IF NOT (kinerja_fn_atasan_nip(v_nip) <=> TRIM(p_nip)) THEN
        CALL kinerja_tolak('Bukan atasan PNS ini');
    END IF;
    IF kinerja_fn_boleh_verifikasi(v_input) <> 'T' THEN
        CALL kinerja_tolak('Di luar waktu verifikasi');
    END IF;

    IF p_semua = 1 AND (v_status <> '0' OR v_validasi IS NOT NULL) THEN
        SELECT 'dilewati' AS hasil;
    ELSE
        IF v_status NOT IN ('0', 'accepted', 'rejected') THEN
            CALL kinerja_tolak('Status aktivitas tidak bisa diubah atasan');
        END IF;
        IF v_validasi IS NOT NULL THEN
            CALL kinerja_tolak('Aktivitas sudah divalidasi');
        END IF;
        UPDATE aktivitas SET status = p_status, tanggal_status = NOW(), nip_verifikator = p_nip
         WHERE nip = v_nip AND tanggal_aktivitas = v_hari AND id = p_id;
        INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
        VALUES (p_nip, IF(p_status = 'accepted', 'Verifikasi - Approve', 'Verifikasi - Reject'), NOW(),
                CONCAT('Aktivitas ', p_id), v_nip);
        IF p_semua = 1 THEN
            SELECT 'disetujui' AS hasil;
        END IF;
    END IF;
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

DROP PROCEDURE IF EXISTS kinerja_aktivitas_disetujui_atasan $$
CREATE PROCEDURE kinerja_aktivitas_disetujui_atasan(IN var_id VARCHAR(40), IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_aktivitas_verifikasi(var_id, var_nip, 'accepted', 0);
END $$

DROP PROCEDURE IF EXISTS kinerja_aktivitas_ditolak_atasan $$
CREATE PROCEDURE kinerja_aktivitas_ditolak_atasan(IN var_id VARCHAR(40), IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_aktivitas_verifikasi(var_id, var_nip, 'rejected', 0);
END $$

-- The reason for the rejection just made, stored by the superior who made
-- it, under a lock on the activity's row: the caller is var_nip and the
-- activity's verifier, the activity is rejected, the reason holds 1 to 500
-- characters (not bytes). Stored as given; giving one again replaces it.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_alasan_tolak_simpan $$
CREATE PROCEDURE kinerja_aktivitas_alasan_tolak_simpan(IN var_id VARCHAR(40), IN var_nip VARCHAR(40),
                                                       IN var_alasan TEXT)
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_status VARCHAR(20);
    DECLARE v_verifikator CHAR(18);
    DECLARE v_tanggal DATETIME;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(var_nip);
    IF COALESCE(CHAR_LENGTH(var_alasan), 0) = 0 THEN
        CALL kinerja_tolak('Alasan penolakan kosong');
    END IF;
    IF CHAR_LENGTH(var_alasan) > 500 THEN
        CALL kinerja_tolak('Alasan penolakan lebih dari 500 karakter');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    IF var_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT nip, status, nip_verifikator, tanggal_status INTO v_nip, v_status, v_verifikator, v_tanggal
          FROM aktivitas WHERE id = var_id FOR UPDATE;
    END IF;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Aktivitas tidak ditemukan');
    END IF;
    IF v_status <> 'rejected' OR v_tanggal IS NULL THEN
        CALL kinerja_tolak('Aktivitas tidak ditolak atasan');
    END IF;
    IF NOT (v_verifikator <=> TRIM(var_nip)) THEN
        CALL kinerja_tolak('Bukan atasan yang menolak aktivitas ini');
    END IF;
    INSERT INTO kinerja_alasan_tolak (aktivitas_id, nip_verifikator, tanggal_status, alasan, tanggal_input)
    VALUES (var_id, v_verifikator, v_tanggal, var_alasan, NOW())
        ON DUPLICATE KEY UPDATE nip_verifikator = VALUES(nip_verifikator), tanggal_status = VALUES(tanggal_status),
                                alasan = VALUES(alasan), tanggal_input = VALUES(tanggal_input);
    -- The text stays in its own table; the log tells who gave one, when.
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (v_verifikator, 'Verifikasi - Alasan Tolak', NOW(), CONCAT('Aktivitas ', var_id), v_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- One row of "approve all": approves an unverified activity, leaves any
-- other as it is. Answers one row, hasil "disetujui" or "dilewati".
DROP PROCEDURE IF EXISTS kinerja_aktivitas_diverifikasi_atasan $$
CREATE PROCEDURE kinerja_aktivitas_diverifikasi_atasan(IN var_id VARCHAR(40), IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_aktivitas_verifikasi(var_id, var_nip, 'accepted', 1);
END $$

-- Validation by the superior two levels up, under a lock on the row: the
-- caller is var_nip and the owner's superior two levels up, the direct
-- superior has approved or rejected the activity, and its verification lies
-- in the validation window. Validating again moves the validation date.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_divalidasi_atasan $$
CREATE PROCEDURE kinerja_aktivitas_divalidasi_atasan(IN var_id VARCHAR(40), IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_hari DATETIME;
    DECLARE v_status VARCHAR(20);
    DECLARE v_verifikasi DATETIME;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(var_nip);
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    IF var_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT nip, tanggal_aktivitas, status, tanggal_status INTO v_nip, v_hari, v_status, v_verifikasi
          FROM aktivitas WHERE id = var_id FOR UPDATE;
    END IF;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Aktivitas tidak ditemukan');
    END IF;
    -- kinerja_wajib_atasan written out, as for verification.
    IF NOT (kinerja_fn_atasan_nip(kinerja_fn_atasan_nip(v_nip)) <=> TRIM(var_nip)) THEN
        CALL kinerja_tolak('Bukan atasan PNS ini');
    END IF;
    IF v_status NOT IN ('accepted', 'rejected') THEN
        CALL kinerja_tolak('Aktivitas belum diverifikasi atasan langsung');
    END IF;
    IF kinerja_fn_boleh_validasi(v_verifikasi) <> 'T' THEN
        CALL kinerja_tolak('Di luar waktu validasi');
    END IF;
    UPDATE aktivitas SET tanggal_validasi = NOW(), nip_validator = var_nip
     WHERE nip = v_nip AND tanggal_aktivitas = v_hari AND id = var_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (var_nip, 'Validasi OK', NOW(), CONCAT('Aktivitas ', var_id), v_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- Activities still unverified "aktivitas_auto_approve" days after their
-- input become "accepted_by_system"; run hourly by the event
-- kinerja_auto_approve_tiap_jam. The candidates are read without locks;
-- each row then changes in its own short transaction, and only if it is
-- still unverified, so a superior acting at the same moment wins or loses
-- cleanly. Answers the number of activities approved.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_auto_approve $$
CREATE PROCEDURE kinerja_aktivitas_auto_approve()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_batas DATETIME DEFAULT CURDATE() - INTERVAL kinerja_fn_setting_angka('aktivitas_auto_approve', 5) DAY;
    DECLARE v_selesai TINYINT DEFAULT 0;
    DECLARE v_jumlah INT DEFAULT 0;
    DECLARE v_id BIGINT UNSIGNED;
    DECLARE v_nip CHAR(18);
    DECLARE v_hari DATETIME;
    DECLARE c CURSOR FOR
        SELECT id, nip, tanggal_aktivitas FROM aktivitas WHERE status = '0' AND tanggal_input < v_batas;
    DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_selesai = 1;
    CALL kinerja_wajib_penjadwal();

    OPEN c;
    baris: LOOP
        FETCH c INTO v_id, v_nip, v_hari;
        IF v_selesai THEN
            LEAVE baris;
        END IF;
        START TRANSACTION;
        UPDATE aktivitas SET status = 'accepted_by_system', tanggal_status = NOW(), nip_verifikator = NULL
         WHERE nip = v_nip AND tanggal_aktivitas = v_hari AND id = v_id AND status = '0';
        IF ROW_COUNT() = 1 THEN
            INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
            VALUES (v_nip, 'Verifikasi - Sistem', NOW(), CONCAT('Aktivitas ', v_id), v_nip);
            SET v_jumlah = v_jumlah + 1;
        END IF;
        COMMIT;
    END LOOP;
    CLOSE c;
    SELECT CAST(v_jumlah AS CHAR) AS jumlah;
END $$

-- ---------------------------------------------------------------------------
-- Quality assessment
-- ---------------------------------------------------------------------------

-- The period being assessed: the previous month by the server's clock.
DROP FUNCTION IF EXISTS kinerja_fn_periode_kualmutu $$
CREATE FUNCTION kinerja_fn_periode_kualmutu() RETURNS CHAR(6)
    NOT DETERMINISTIC NO SQL
BEGIN
    RETURN DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m');
END $$

-- A period "yyyymm" as text: "November 2026".
DROP FUNCTION IF EXISTS kinerja_fn_periode_teks $$
CREATE FUNCTION kinerja_fn_periode_teks(p_periode CHAR(6)) RETURNS VARCHAR(20)
    DETERMINISTIC NO SQL
BEGIN
    RETURN CONCAT(ELT(CAST(SUBSTRING(p_periode, 5, 2) AS UNSIGNED), 'Januari', 'Februari', 'Maret', 'April', 'Mei',
                      'Juni', 'Juli', 'Agustus', 'September', 'Oktober', 'November', 'Desember'),
                  ' ', LEFT(p_periode, 4));
END $$

-- 1 while assessments are open (the window "kualitas_mutu").
DROP FUNCTION IF EXISTS kinerja_fn_kualmutu_buka $$
CREATE FUNCTION kinerja_fn_kualmutu_buka() RETURNS TINYINT
    READS SQL DATA
BEGIN
    RETURN COALESCE((SELECT NOW() BETWEEN tanggal_awal AND tanggal_akhir FROM kinerja_setting
                      WHERE jenis = 'app_kinerja' AND nama = 'kualitas_mutu'), 0);
END $$

DROP PROCEDURE IF EXISTS kinerja_cek_waktu_kualmutu $$
CREATE PROCEDURE kinerja_cek_waktu_kualmutu()
    READS SQL DATA
BEGIN
    SELECT IF(kinerja_fn_kualmutu_buka() = 1, 'ya', 'tidak') AS status_kualmutu;
END $$

DROP PROCEDURE IF EXISTS kinerja_cek_periode_kual_mutu $$
CREATE PROCEDURE kinerja_cek_periode_kual_mutu()
    NO SQL
BEGIN
    SELECT kinerja_fn_periode_kualmutu() AS nilai, kinerja_fn_periode_teks(kinerja_fn_periode_kualmutu()) AS nilaif;
END $$

-- Past assessments of a subordinate, newest first, for one of its superiors.
DROP PROCEDURE IF EXISTS kinerja_show_kualitas_mutu $$
CREATE PROCEDURE kinerja_show_kualitas_mutu(IN var_nip_penilai VARCHAR(40), IN var_nip_bawahan VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_pemanggil(var_nip_penilai);
    CALL kinerja_wajib_atasan(var_nip_bawahan, 0);
    SELECT k.periode, k.nip, p.nama_lengkap, CAST(k.ketepatan AS CHAR) AS ketepatanx,
           CAST(k.kecepatan AS CHAR) AS kecepatanx, k.nip_penilai
      FROM kualitas_mutu k
      JOIN cache_pns p ON p.nip = k.nip
     WHERE k.nip = var_nip_bawahan
     ORDER BY k.periode DESC;
END $$

-- The assessment of the period being assessed, if there is one.
DROP PROCEDURE IF EXISTS kinerja_show_kualitas_mutu_status $$
CREATE PROCEDURE kinerja_show_kualitas_mutu_status(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_periode CHAR(6) DEFAULT kinerja_fn_periode_kualmutu();
    CALL kinerja_wajib_atasan(var_nip, 0);
    SELECT kinerja_fn_periode_teks(k.periode) AS periode_status, k.id, CAST(k.ketepatan AS CHAR) AS ketepatan,
           CAST(k.kecepatan AS CHAR) AS kecepatan
      FROM kualitas_mutu k
     WHERE k.nip = var_nip AND k.periode = v_periode;
END $$

-- A grade as typed: a whole number 0 to 100, else NULL.
DROP FUNCTION IF EXISTS kinerja_fn_nilai_mutu $$
CREATE FUNCTION kinerja_fn_nilai_mutu(p_nilai VARCHAR(40)) RETURNS TINYINT UNSIGNED
    DETERMINISTIC NO SQL
BEGIN
    DECLARE v VARCHAR(40) DEFAULT TRIM(COALESCE(p_nilai, ''));
    IF v NOT REGEXP '^[0-9]{1,3}$' OR CAST(v AS UNSIGNED) > 100 THEN
        RETURN NULL;
    END IF;
    RETURN CAST(v AS UNSIGNED);
END $$

-- The checks an assessment passes before it is stored: maintenance, the
-- open window, the caller as direct superior, two grades 0 to 100, and the
-- progress rule (recognised progress of 30 % or less allows an average of
-- at most 80).
DROP PROCEDURE IF EXISTS kinerja_kualitas_mutu_cek $$
CREATE PROCEDURE kinerja_kualitas_mutu_cek(IN p_nip VARCHAR(18), IN p_penilai VARCHAR(40), IN p_periode CHAR(6),
                                           IN p_ketepatan TINYINT UNSIGNED, IN p_kecepatan TINYINT UNSIGNED)
    READS SQL DATA
BEGIN
    DECLARE v_progress DECIMAL(9,2);
    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(p_penilai);
    IF kinerja_fn_kualmutu_buka() <> 1 THEN
        CALL kinerja_tolak('Bukan periode penilaian kualitas mutu');
    END IF;
    CALL kinerja_wajib_atasan(p_nip, 1);
    IF p_ketepatan IS NULL OR p_kecepatan IS NULL THEN
        CALL kinerja_tolak('Nilai harus bilangan bulat 0 sampai 100');
    END IF;
    SET v_progress = COALESCE((SELECT persen_diakui FROM kinerja_progress WHERE nip = p_nip AND periode = p_periode), 0);
    IF v_progress <= 30 AND p_ketepatan + p_kecepatan > 160 THEN
        CALL kinerja_tolak('Nilai tidak sesuai progress');
    END IF;
END $$

-- A new assessment of the period being assessed; one per subordinate and
-- period.
DROP PROCEDURE IF EXISTS kinerja_kualitas_mutu_insert $$
CREATE PROCEDURE kinerja_kualitas_mutu_insert(IN var_nip VARCHAR(40), IN var_penilai VARCHAR(40),
                                              IN var_tahun VARCHAR(10), IN var_bulan VARCHAR(10),
                                              IN var_ketepatan VARCHAR(40), IN var_kecepatan VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_periode CHAR(6) DEFAULT kinerja_fn_periode_kualmutu();
    DECLARE v_ketepatan TINYINT UNSIGNED DEFAULT kinerja_fn_nilai_mutu(var_ketepatan);
    DECLARE v_kecepatan TINYINT UNSIGNED DEFAULT kinerja_fn_nilai_mutu(var_kecepatan);
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    -- The grade and its log row are one transaction: a failed log row takes
    -- the grade back with it.
    DECLARE EXIT HANDLER FOR 1062
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        CALL kinerja_tolak('Periode ini sudah dinilai');
    END;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_kualitas_mutu_cek(var_nip, var_penilai, v_periode, v_ketepatan, v_kecepatan);
    IF CONCAT(COALESCE(var_tahun, ''), COALESCE(var_bulan, '')) <> v_periode THEN
        CALL kinerja_tolak('Periode bukan periode penilaian');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    INSERT INTO kualitas_mutu (nip, nip_penilai, periode, ketepatan, kecepatan, tanggal_input)
    VALUES (var_nip, var_penilai, v_periode, v_ketepatan, v_kecepatan, NOW());
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (var_penilai, 'Kualitas Mutu - Input', NOW(), CONCAT('Periode ', v_periode), var_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- Changes an assessment of the period being assessed; the caller becomes
-- its assessor.
DROP PROCEDURE IF EXISTS kinerja_kualitas_mutu_update $$
CREATE PROCEDURE kinerja_kualitas_mutu_update(IN var_penilai VARCHAR(40), IN var_ketepatan VARCHAR(40),
                                              IN var_kecepatan VARCHAR(40), IN var_id VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_periode CHAR(6);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    IF var_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT nip, periode INTO v_nip, v_periode FROM kualitas_mutu WHERE id = var_id FOR UPDATE;
    END IF;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Penilaian tidak ditemukan');
    END IF;
    CALL kinerja_kualitas_mutu_cek(v_nip, var_penilai, v_periode, kinerja_fn_nilai_mutu(var_ketepatan),
                                   kinerja_fn_nilai_mutu(var_kecepatan));
    IF v_periode <> kinerja_fn_periode_kualmutu() THEN
        CALL kinerja_tolak('Periode bukan periode penilaian');
    END IF;
    UPDATE kualitas_mutu
       SET ketepatan = kinerja_fn_nilai_mutu(var_ketepatan), kecepatan = kinerja_fn_nilai_mutu(var_kecepatan),
           nip_penilai = var_penilai, tanggal_update = NOW()
     WHERE id = var_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (var_penilai, 'Kualitas Mutu - Update', NOW(), CONCAT('Periode ', v_periode), v_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- ---------------------------------------------------------------------------
-- Additional tasks
-- ---------------------------------------------------------------------------

-- The additional tasks of a subordinate, those in force first, for one of
-- its superiors.
DROP PROCEDURE IF EXISTS kinerja_tugas_tambahan_tampil_data $$
CREATE PROCEDURE kinerja_tugas_tambahan_tampil_data(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_atasan(var_nip, 0);
    SELECT t.id, COALESCE(k.nama_jabatan, t.kode_jabatan) AS nama_jabatan,
           DATE_FORMAT(t.tanggal_mulai, '%Y-%m-%d') AS tanggal_mulai,
           COALESCE(DATE_FORMAT(t.tanggal_selesai, '%Y-%m-%d'), '') AS tanggal_selesai,
           COALESCE(u.nama_unit, t.kode_skpd) AS nama_unit,
           IF(t.status = 'aktif' AND t.tanggal_mulai <= CURDATE()
                  AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE()), 'Aktif', 'Tidak Aktif') AS status
      FROM tugas_tambahan t
      LEFT JOIN jabatan_kinerja k ON k.kode = t.kode_jabatan
      LEFT JOIN unit u ON u.id = t.kode_skpd
     WHERE t.nip = var_nip
     ORDER BY t.status = 'aktif' DESC, t.tanggal_mulai DESC, t.id DESC;
END $$

-- Tasks in force, the limit (setting "tugas_tambahan_max") and "tidak" when
-- no further task may be added, "ya" otherwise.
DROP PROCEDURE IF EXISTS kinerja_tugas_tambahan_jumlah $$
CREATE PROCEDURE kinerja_tugas_tambahan_jumlah(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('tugas_tambahan_max', 2);
    DECLARE v_jumlah INT;
    CALL kinerja_wajib_atasan(var_nip, 0);
    SELECT COUNT(*) INTO v_jumlah FROM tugas_tambahan t
     WHERE t.nip = var_nip AND t.status = 'aktif' AND t.tanggal_mulai <= CURDATE()
       AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE());
    SELECT CAST(v_jumlah AS CHAR) AS jumlah, CAST(v_max AS CHAR) AS jumlah_max,
           IF(v_jumlah >= v_max, 'tidak', 'ya') AS status_tambah;
END $$

-- Executor positions whose name contains the fragment, with the number of
-- their task details in use.
DROP PROCEDURE IF EXISTS kinerja_tugas_tambahan_pilih $$
CREATE PROCEDURE kinerja_tugas_tambahan_pilih(IN var_jabatan VARCHAR(200))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_login();
    SELECT k.kode, k.nama_jabatan AS jabatan, CAST(COUNT(r.kode) AS CHAR) AS jumlah
      FROM jabatan_kinerja k
      LEFT JOIN rincian_tugas r ON r.kode_jabatan = k.kode AND r.aktif = 1
     WHERE k.jenis_jabatan_id = 'pelaksana' AND LOCATE(COALESCE(var_jabatan, ''), k.nama_jabatan) > 0
     GROUP BY k.kode, k.nama_jabatan
     ORDER BY k.nama_jabatan, k.kode;
END $$

-- Gives a subordinate an executor position as additional task from today,
-- by one of its superiors (the caller), in the caller's top-level unit.
-- The subordinate's row is locked, so two superiors adding at once cannot
-- pass the limit together.
DROP PROCEDURE IF EXISTS kinerja_tugas_tambahan_tambah $$
CREATE PROCEDURE kinerja_tugas_tambahan_tambah(IN var_nip VARCHAR(40), IN var_kode_jabatan VARCHAR(40),
                                               IN var_kode_skpd VARCHAR(40), IN var_nip_atasan VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('tugas_tambahan_max', 2);
    DECLARE v_ada CHAR(18) DEFAULT NULL;
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    DECLARE v_jumlah INT;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(var_nip_atasan);
    IF NOT EXISTS (SELECT 1 FROM jabatan_kinerja WHERE kode = var_kode_jabatan AND jenis_jabatan_id = 'pelaksana') THEN
        CALL kinerja_tolak('Bukan jabatan pelaksana');
    END IF;
    SELECT induk_id INTO v_induk FROM cache_pns WHERE nip = var_nip_atasan;
    IF NOT (v_induk <=> var_kode_skpd) THEN
        CALL kinerja_tolak('SKPD bukan SKPD atasan');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT nip INTO v_ada FROM cache_pns WHERE nip = var_nip AND status_pns = 'aktif' FOR UPDATE;
    IF v_ada IS NULL THEN
        CALL kinerja_tolak('PNS tidak dikenal');
    END IF;
    -- On a cluster the lock above holds only on this node: writing the
    -- servant's kinerja_pns_tulis row makes a rival on another node fail at
    -- commit (1213) instead of passing the same check.
    INSERT INTO kinerja_pns_tulis (nip, versi) VALUES (v_ada, 1) ON DUPLICATE KEY UPDATE versi = versi + 1;
    CALL kinerja_wajib_atasan(var_nip, 0);
    IF EXISTS (SELECT 1 FROM cache_pns p JOIN jabatan j ON j.kode_jabatan = p.kode_jabatan
                WHERE p.nip = var_nip AND j.kode_jabatan_kinerja = var_kode_jabatan) THEN
        CALL kinerja_tolak('Jabatan ini adalah jabatan PNS itu sendiri');
    END IF;
    SELECT COUNT(*) INTO v_jumlah FROM tugas_tambahan t
     WHERE t.nip = var_nip AND t.status = 'aktif' AND t.tanggal_mulai <= CURDATE()
       AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE());
    IF v_jumlah >= v_max THEN
        CALL kinerja_tolak('Jumlah tugas tambahan sudah maksimal');
    END IF;
    IF EXISTS (SELECT 1 FROM tugas_tambahan t
                WHERE t.nip = var_nip AND t.kode_jabatan = var_kode_jabatan AND t.status = 'aktif'
                  AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE())) THEN
        CALL kinerja_tolak('Tugas tambahan ini sudah diberikan');
    END IF;
    INSERT INTO tugas_tambahan (nip, kode_jabatan, kode_skpd, nip_atasan, tanggal_mulai, tanggal_selesai, status)
    VALUES (var_nip, var_kode_jabatan, v_induk, var_nip_atasan, CURDATE(), NULL, 'aktif');
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (var_nip_atasan, 'Tugas Tambahan - Tambah', NOW(), CONCAT('Jabatan ', var_kode_jabatan), var_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- Ends an additional task in force today, by one of the subordinate's
-- superiors. A task no longer active is refused: nothing would change.
DROP PROCEDURE IF EXISTS kinerja_tugas_tambahan_non_aktifkan $$
CREATE PROCEDURE kinerja_tugas_tambahan_non_aktifkan(IN var_id VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_status VARCHAR(10);
    DECLARE v_kode VARCHAR(20);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    IF var_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT nip, status, kode_jabatan INTO v_nip, v_status, v_kode FROM tugas_tambahan WHERE id = var_id FOR UPDATE;
    END IF;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Tugas tambahan tidak ditemukan');
    END IF;
    CALL kinerja_wajib_atasan(v_nip, 0);
    IF v_status <> 'aktif' THEN
        CALL kinerja_tolak('Tugas tambahan sudah tidak aktif');
    END IF;
    UPDATE tugas_tambahan SET status = 'nonaktif', tanggal_selesai = LEAST(COALESCE(tanggal_selesai, CURDATE()), CURDATE())
     WHERE id = var_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Tugas Tambahan - Non Aktif', NOW(), CONCAT('Jabatan ', v_kode), v_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

DELIMITER ;
