-- What a superior reviewing subordinates' work should see at a glance: how
-- many days are left before the verification or validation window closes
-- (and when the system approves unverified work by itself), how much work
-- waits, and the activities worth a second look.
--
-- The windows count whole days from the day of input (verification,
-- "aktivitas_verifikasi_day_max") or of verification (validation,
-- "aktivitas_validasi_day_max"), as kinerja_fn_boleh_verifikasi and
-- kinerja_fn_boleh_validasi do: "0 days left" is the last day. The hourly
-- automatic approval (kinerja_aktivitas_auto_approve) takes an activity
-- still unverified on the day after the "aktivitas_auto_approve" days from
-- its input, at its first run of that day (midnight). Something that
-- happens before the next midnight is due "within a day".
--
-- Rejected activities count in no figure and carry no note: they are no
-- work, as in the day's minutes.
SET NAMES utf8mb4;

DELIMITER $$

-- The plausibility rules, for the activities in tmp_tinjau (one servant's,
-- filled by the caller): each row gets catatan (short names, ", "-joined)
-- and catatan_ket (one sentence per rule, newline-joined). The servant's
-- work around them is read once, one range of the owner's primary key: 90
-- days before the earliest listed day through the end of the latest
-- listed day's month. The rules:
--  1. "Hari > 480 menit": the recognised minutes of the activity's day
--     (counted as the 480-minute refusal counts them) exceed 480;
--  2. "Deskripsi ganda": the same description (ignoring case and blanks at
--     either end) more than once on the activity's day;
--  3. "Deskripsi berulang": the same description on 12 or more different
--     days of the activity's calendar month (more than half of a month's
--     working days: routine work told in the same words every day);
--  4. "Input terlambat": recorded more days after the activity's day than
--     "aktivitas_input_day_max" allows (only a change on the server gets
--     such a row in);
--  5. "Volume tidak biasa": a volume above 3 times the mean volume of the
--     same task detail in the servant's 90 days before the activity's day,
--     when there are at least 5 such earlier activities.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_catatan_hitung $$
CREATE PROCEDURE kinerja_aktivitas_catatan_hitung()
    MODIFIES SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_nip CHAR(18);
    DECLARE v_awal DATE;
    DECLARE v_akhir DATE;
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    DECLARE v_input INT DEFAULT kinerja_fn_setting_angka('aktivitas_input_day_max', 5);
    -- The thresholds of the rules above.
    DECLARE c_hari_bulan INT DEFAULT 12;
    DECLARE c_kali_volume INT DEFAULT 3;
    DECLARE c_riwayat_hari INT DEFAULT 90;
    DECLARE c_riwayat_min INT DEFAULT 5;

    SELECT MIN(nip), MIN(hari) - INTERVAL c_riwayat_hari DAY, LAST_DAY(MAX(hari)) + INTERVAL 1 DAY
      INTO v_nip, v_awal, v_akhir FROM tmp_tinjau;

    -- Day totals, descriptions per day and per month, and each row's
    -- history of its task detail, in one pass of window functions over the
    -- servant's work around the list (one range of the primary key); the
    -- distinct days of a description in a month are the highest dense rank
    -- of its days. A frame bound must be a literal: the 90 of
    -- c_riwayat_hari.
    UPDATE tmp_tinjau t
      JOIN (SELECT x.id, x.menit_hari, x.sama_hari, MAX(x.urut_hari) OVER (PARTITION BY x.bulan, x.kunci) AS hari_bulan,
                   x.riwayat, x.rerata
              FROM (SELECT id, kunci, DATE_FORMAT(hari, '%Y-%m-01') AS bulan,
                           SUM(menit) OVER (PARTITION BY hari) AS menit_hari,
                           COUNT(*) OVER (PARTITION BY hari, kunci) AS sama_hari,
                           DENSE_RANK() OVER (PARTITION BY DATE_FORMAT(hari, '%Y-%m-01'), kunci ORDER BY hari)
                               AS urut_hari,
                           COUNT(*) OVER riwayat AS riwayat, CAST(AVG(volume) OVER riwayat AS DECIMAL(12,2)) AS rerata
                      FROM (SELECT id, DATE(tanggal_aktivitas) AS hari, kode_rincian, volume,
                                   IF(bobot_skr > v_max, v_max, bobot_skr * volume) AS menit,
                                   MD5(LOWER(TRIM(deskripsi))) AS kunci
                              FROM aktivitas
                             WHERE nip = v_nip AND tanggal_aktivitas >= v_awal AND tanggal_aktivitas < v_akhir
                               AND status NOT IN ('rejected', 'rejected_by_spv')) k
                    WINDOW riwayat AS (PARTITION BY kode_rincian ORDER BY TO_DAYS(hari)
                                       RANGE BETWEEN 90 PRECEDING AND 1 PRECEDING)) x) h ON h.id = t.id
       SET t.catatan = CONCAT_WS(', ',
               IF(h.menit_hari > 480, 'Hari > 480 menit', NULL),
               IF(h.sama_hari > 1, 'Deskripsi ganda', NULL),
               IF(h.hari_bulan >= c_hari_bulan, 'Deskripsi berulang', NULL),
               IF(DATEDIFF(t.tanggal_input, t.hari) > v_input, 'Input terlambat', NULL),
               IF(h.riwayat >= c_riwayat_min AND t.volume > c_kali_volume * h.rerata, 'Volume tidak biasa', NULL)),
           t.catatan_ket = CONCAT_WS('\n',
               IF(h.menit_hari > 480,
                  CONCAT('Total aktivitas hari ', DATE_FORMAT(t.hari, '%Y-%m-%d'), ': ', ROUND(h.menit_hari),
                         ' menit, melebihi 480 menit sehari.'), NULL),
               IF(h.sama_hari > 1,
                  CONCAT('Deskripsi yang sama tercatat ', h.sama_hari, ' kali pada hari yang sama.'), NULL),
               IF(h.hari_bulan >= c_hari_bulan,
                  CONCAT('Deskripsi yang sama tercatat pada ', h.hari_bulan, ' hari berbeda dalam bulan ini (batas ',
                         c_hari_bulan, ' hari).'), NULL),
               IF(DATEDIFF(t.tanggal_input, t.hari) > v_input,
                  CONCAT('Dicatat ', DATEDIFF(t.tanggal_input, t.hari), ' hari setelah dikerjakan; batas input ',
                         v_input, ' hari.'), NULL),
               IF(h.riwayat >= c_riwayat_min AND t.volume > c_kali_volume * h.rerata,
                  CONCAT('Volume ', t.volume, ' lebih dari ', c_kali_volume, ' kali rata-rata ',
                         REPLACE(TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM CAST(ROUND(h.rerata, 1) AS CHAR))), '.', ','),
                         ' untuk rincian tugas ini (', h.riwayat, ' aktivitas dalam ', c_riwayat_hari,
                         ' hari sebelumnya).'), NULL));
END $$

-- Makes the kept notes (kinerja_catatan_simpan) of one servant cover every
-- activity a review list by the day of p_kolom (tanggal_input, the direct
-- superior's; tanggal_status, two levels up) between p_awal and p_akhir
-- shows, as of the servant's current work and settings. p_sah is 1 when the
-- kept notes may be read: 0 when they could not be computed, or the
-- servant's work kept changing while they were; the list then stands
-- without them. Kept small: a connection reads each routine it calls, and
-- a list shown again only needs this much.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_catatan_siapkan $$
CREATE PROCEDURE kinerja_aktivitas_catatan_siapkan(IN p_nip CHAR(18), IN p_kolom VARCHAR(20), IN p_awal DATE,
                                                   IN p_akhir DATE, OUT p_sah TINYINT)
    MODIFIES SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_dari, v_sampai DATE;
    DECLARE v_versi BIGINT UNSIGNED;
    DECLARE v_stempel CHAR(32);
    SET p_sah = 1;
    -- The activity days of the listed rows, from the list's own index.
    IF p_kolom = 'tanggal_input' THEN
        SELECT DATE(MIN(tanggal_aktivitas)), DATE(MAX(tanggal_aktivitas)) INTO v_dari, v_sampai
          FROM aktivitas WHERE nip = p_nip AND tanggal_input >= p_awal AND tanggal_input < p_akhir + INTERVAL 1 DAY;
    ELSE
        SELECT DATE(MIN(tanggal_aktivitas)), DATE(MAX(tanggal_aktivitas)) INTO v_dari, v_sampai
          FROM aktivitas WHERE nip = p_nip AND tanggal_status >= p_awal AND tanggal_status < p_akhir + INTERVAL 1 DAY;
    END IF;
    -- A change of the servant's work removes the mark (triggers on
    -- aktivitas), so a mark found holds if the settings the rules read are
    -- as they were.
    SELECT MD5(COALESCE(GROUP_CONCAT(nama, '=', nilai ORDER BY nama SEPARATOR '\n'), '')) INTO v_stempel
      FROM kinerja_setting
     WHERE jenis = 'app_kinerja' AND nama IN ('max_skr_operasional', 'aktivitas_input_day_max');
    IF v_dari IS NOT NULL AND NOT EXISTS (SELECT 1 FROM kinerja_catatan_tanda
                                           WHERE nip = p_nip AND stempel = v_stempel
                                             AND awal <= v_dari AND akhir >= v_sampai) THEN
        SELECT COALESCE(MAX(versi), 0) INTO v_versi FROM kinerja_catatan_versi WHERE nip = p_nip;
        CALL kinerja_aktivitas_catatan_simpan(p_nip, v_dari, v_sampai, v_versi, v_stempel, p_sah);
    END IF;
END $$

-- Computes the notes of every activity of the servant's days p_dari to
-- p_sampai, whatever a list's filters (the notes do not depend on them),
-- and keeps them under the servant's mark when the servant's work is still
-- at version p_versi; computes them again, up to three times in all, when
-- it changed meanwhile. p_sah as in kinerja_aktivitas_catatan_siapkan.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_catatan_simpan $$
CREATE PROCEDURE kinerja_aktivitas_catatan_simpan(IN p_nip CHAR(18), IN p_dari DATE, IN p_sampai DATE,
                                                  IN p_versi BIGINT UNSIGNED, IN p_stempel CHAR(32),
                                                  OUT p_sah TINYINT)
    MODIFIES SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_versi BIGINT UNSIGNED DEFAULT p_versi;
    DECLARE v_kini BIGINT UNSIGNED;
    DECLARE v_waktu DATETIME;
    DECLARE v_coba INT DEFAULT 0;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        DROP TEMPORARY TABLE IF EXISTS tmp_tinjau;
        SET p_sah = 0;
    END;

    SET p_sah = 0;
    WHILE v_coba < 3 DO
        SET v_coba = v_coba + 1;
        DROP TEMPORARY TABLE IF EXISTS tmp_tinjau;
        CREATE TEMPORARY TABLE tmp_tinjau (
            id BIGINT UNSIGNED NOT NULL PRIMARY KEY, nip CHAR(18) NOT NULL, hari DATE NOT NULL,
            tanggal_input DATETIME NOT NULL, volume INT UNSIGNED NOT NULL, catatan VARCHAR(200) NULL,
            catatan_ket VARCHAR(2000) NULL);
        INSERT INTO tmp_tinjau (id, nip, hari, tanggal_input, volume)
        SELECT id, nip, DATE(tanggal_aktivitas), tanggal_input, volume
          FROM aktivitas
         WHERE nip = p_nip AND tanggal_aktivitas >= p_dari AND tanggal_aktivitas < p_sampai + INTERVAL 1 DAY;
        CALL kinerja_aktivitas_catatan_hitung();

        -- Kept only when no change of the servant's work came between the
        -- version read before and now: the triggers raise it under this lock.
        SET v_waktu = NOW();
        START TRANSACTION;
        INSERT IGNORE INTO kinerja_catatan_versi (nip, versi) VALUES (p_nip, 0);
        SELECT versi INTO v_kini FROM kinerja_catatan_versi WHERE nip = p_nip FOR UPDATE;
        IF v_kini = v_versi THEN
            INSERT INTO kinerja_catatan_simpan (id, catatan, catatan_ket, dihitung)
            SELECT id, COALESCE(catatan, ''), COALESCE(catatan_ket, ''), v_waktu FROM tmp_tinjau
            ON DUPLICATE KEY UPDATE catatan = VALUES(catatan), catatan_ket = VALUES(catatan_ket),
                                    dihitung = VALUES(dihitung);
            INSERT INTO kinerja_catatan_tanda (nip, stempel, awal, akhir, dihitung)
            VALUES (p_nip, p_stempel, p_dari, p_sampai, v_waktu)
            ON DUPLICATE KEY UPDATE stempel = VALUES(stempel), awal = VALUES(awal), akhir = VALUES(akhir),
                                    dihitung = VALUES(dihitung);
            SET p_sah = 1, v_coba = 3;
        ELSE
            SET v_versi = v_kini;
        END IF;
        COMMIT;
    END WHILE;
    DROP TEMPORARY TABLE tmp_tinjau;
END $$

DROP PROCEDURE IF EXISTS kinerja_aktivitas_tinjau $$

-- Beside the subordinate list: each direct and two-level subordinate of the
-- caller with the number of unverified activities and the age in days of
-- the oldest of them since its input (empty when there is none). Reads the
-- unverified rows of each subordinate from the (nip, tanggal_status) index:
-- an unverified activity has no verification date.
DROP PROCEDURE IF EXISTS kinerja_bawahan_belum_verifikasi $$
CREATE PROCEDURE kinerja_bawahan_belum_verifikasi(IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_pemanggil(var_nip);
    CALL kinerja_bawahan_susun(var_nip);
    SELECT b.nip, CAST(COUNT(a.id) AS CHAR) AS belum_verifikasi,
           COALESCE(CAST(MAX(DATEDIFF(CURDATE(), a.tanggal_input)) AS CHAR), '') AS umur_tertua
      FROM (SELECT nip FROM tmp_bawahan_1 UNION SELECT nip FROM tmp_bawahan_2) b
      LEFT JOIN aktivitas a ON a.nip = b.nip AND a.tanggal_status IS NULL AND a.status = '0'
     GROUP BY b.nip
     ORDER BY b.nip;
END $$

-- The superior's line on the dashboard, one row: the direct subordinates'
-- unverified activities that may still be verified, the two-level
-- subordinates' verified ones that may still be validated, and how many of
-- the direct subordinates' unverified ones the system approves before the
-- next midnight.
DROP PROCEDURE IF EXISTS kinerja_bawahan_menunggu $$
CREATE PROCEDURE kinerja_bawahan_menunggu(IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_verif INT DEFAULT kinerja_fn_setting_angka('aktivitas_verifikasi_day_max', 5);
    DECLARE v_valid INT DEFAULT kinerja_fn_setting_angka('aktivitas_validasi_day_max', 5);
    DECLARE v_otomatis INT DEFAULT kinerja_fn_setting_angka('aktivitas_auto_approve', 5);
    DECLARE v_verifikasi INT DEFAULT 0;
    DECLARE v_besok INT DEFAULT 0;
    DECLARE v_validasi INT DEFAULT 0;
    CALL kinerja_wajib_pemanggil(var_nip);
    CALL kinerja_bawahan_susun_langsung(var_nip);
    CALL kinerja_bawahan_pegang_2();
    SELECT COALESCE(SUM(DATEDIFF(CURDATE(), a.tanggal_input) <= v_verif), 0),
           COALESCE(SUM(DATEDIFF(CURDATE(), a.tanggal_input) >= v_otomatis), 0)
      INTO v_verifikasi, v_besok
      FROM tmp_bawahan_1 b
      JOIN aktivitas a ON a.nip = b.nip AND a.tanggal_status IS NULL AND a.status = '0';
    IF (SELECT sejak FROM kinerja_validasi_tunggu_sejak WHERE id = 1) <= CURDATE() - INTERVAL v_valid DAY THEN
        -- The kept list holds the whole window: a few rows per subordinate.
        SELECT COUNT(*) INTO v_validasi
          FROM tmp_pegang h
          STRAIGHT_JOIN kinerja_atasan_peta m ON m.atasan = h.nip AND m.kode = h.kode
          STRAIGHT_JOIN kinerja_validasi_tunggu t ON t.nip = m.nip
         WHERE m.nip <> var_nip AND NOT EXISTS (SELECT 1 FROM tmp_bawahan_1 b WHERE b.nip = m.nip)
           AND t.hari >= CURDATE() - INTERVAL v_valid DAY;
    ELSE
        -- A window raised beyond what the list holds yet: each
        -- subordinate's verifications day by day of the window, from the
        -- covering index (a join reads a date range as the whole history).
        DROP TEMPORARY TABLE IF EXISTS tmp_hari;
        CREATE TEMPORARY TABLE tmp_hari (hari DATE PRIMARY KEY) ENGINE = MEMORY;
        INSERT INTO tmp_hari (hari)
        WITH RECURSIVE h (hari) AS (SELECT CURDATE() UNION ALL
                                    SELECT hari - INTERVAL 1 DAY FROM h WHERE hari > CURDATE() - INTERVAL v_valid DAY)
        SELECT hari FROM h;
        SELECT COUNT(*) INTO v_validasi
          FROM tmp_pegang h
          STRAIGHT_JOIN kinerja_atasan_peta m ON m.atasan = h.nip AND m.kode = h.kode
          JOIN tmp_hari d
          JOIN aktivitas a FORCE INDEX (ix_akt_nip_hari_status)
            ON a.nip = m.nip AND a.hari_status = d.hari
         WHERE m.nip <> var_nip AND NOT EXISTS (SELECT 1 FROM tmp_bawahan_1 b WHERE b.nip = m.nip)
           AND a.status IN ('accepted', 'rejected') AND a.tanggal_validasi IS NULL;
    END IF;
    SELECT CAST(v_verifikasi AS CHAR) AS menunggu_verifikasi, CAST(v_validasi AS CHAR) AS menunggu_validasi,
           CAST(v_besok AS CHAR) AS otomatis_sehari;
END $$

-- Drops from the kept list what the current validation window has left
-- behind; a later, longer window is counted from the activity table until
-- the list holds it whole again.
DROP PROCEDURE IF EXISTS kinerja_validasi_tunggu_bersihkan $$
CREATE PROCEDURE kinerja_validasi_tunggu_bersihkan()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_batas DATE DEFAULT CURDATE() - INTERVAL kinerja_fn_setting_angka('aktivitas_validasi_day_max', 5) DAY;
    CALL kinerja_wajib_penjadwal();
    DELETE FROM kinerja_validasi_tunggu WHERE hari < v_batas;
    UPDATE kinerja_validasi_tunggu_sejak SET sejak = GREATEST(sejak, v_batas) WHERE id = 1;
END $$

-- Kept review notes not used for a week leave, their marks first: a mark
-- covers only notes computed with it, at the same moment.
DROP PROCEDURE IF EXISTS kinerja_catatan_bersihkan $$
CREATE PROCEDURE kinerja_catatan_bersihkan()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL 7 DAY;
    CALL kinerja_wajib_penjadwal();
    DELETE FROM kinerja_catatan_tanda WHERE dihitung < v_batas;
    DELETE FROM kinerja_catatan_simpan WHERE dihitung < v_batas;
END $$

DELIMITER ;
