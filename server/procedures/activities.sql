-- Own daily activities: list, entry, change, deletion.
-- Dates go out as "yyyy-mm-dd" (activity day) and "yyyy-mm-dd hh:mm:ss"
-- (moments); every procedure that takes a date accepts both forms.
SET NAMES utf8mb4;

DELIMITER $$

-- The day's minutes have one count, kinerja_menit_hari_terkunci below (the
-- one the 480-minute refusal uses); the function that counted them apart
-- is gone.
DROP FUNCTION IF EXISTS kinerja_fn_menit_hari $$

-- "T" when an activity of this day may be entered now: not in the future,
-- not more days back than "aktivitas_input_day_max", and inside the window
-- "aktivitas_harian". "F" otherwise (also for a date it cannot read).
DROP FUNCTION IF EXISTS kinerja_fn_boleh_input $$
CREATE FUNCTION kinerja_fn_boleh_input(p_tanggal DATETIME) RETURNS CHAR(1)
    READS SQL DATA
BEGIN
    DECLARE v_awal DATETIME;
    DECLARE v_akhir DATETIME;
    IF p_tanggal IS NULL OR DATE(p_tanggal) > CURDATE()
       OR DATEDIFF(CURDATE(), p_tanggal) > kinerja_fn_setting_angka('aktivitas_input_day_max', 5) THEN
        RETURN 'F';
    END IF;
    SELECT tanggal_awal, tanggal_akhir INTO v_awal, v_akhir FROM kinerja_setting
     WHERE jenis = 'app_kinerja' AND nama = 'aktivitas_harian';
    IF v_awal IS NULL OR v_akhir IS NULL OR DATE(p_tanggal) < DATE(v_awal) OR DATE(p_tanggal) > DATE(v_akhir) THEN
        RETURN 'F';
    END IF;
    RETURN 'T';
END $$

-- "T" while an activity of this day may still be verified, changed or
-- deleted: at most "aktivitas_verifikasi_day_max" days ago.
DROP FUNCTION IF EXISTS kinerja_fn_boleh_verifikasi $$
CREATE FUNCTION kinerja_fn_boleh_verifikasi(p_tanggal DATETIME) RETURNS CHAR(1)
    READS SQL DATA
BEGIN
    -- The setting is read here rather than through kinerja_fn_setting_angka:
    -- approvals run on a fresh connection per row, where every routine
    -- named costs a parse.
    IF p_tanggal IS NULL
       OR DATEDIFF(CURDATE(), p_tanggal) > COALESCE((SELECT CAST(nilai AS UNSIGNED) FROM kinerja_setting
                                                     WHERE jenis = 'app_kinerja' AND nama = 'aktivitas_verifikasi_day_max'
                                                       AND TRIM(nilai) REGEXP '^[0-9]{1,9}$'), 5) THEN
        RETURN 'F';
    END IF;
    RETURN 'T';
END $$

-- A volume as typed: a whole number from 1 to 9999, else NULL (no work
-- has a volume of nothing).
DROP FUNCTION IF EXISTS kinerja_fn_volume $$
CREATE FUNCTION kinerja_fn_volume(p_volume VARCHAR(40)) RETURNS INT
    DETERMINISTIC NO SQL
BEGIN
    DECLARE v VARCHAR(40) DEFAULT TRIM(COALESCE(p_volume, ''));
    IF v NOT REGEXP '^[0-9]{1,4}$' OR CAST(v AS UNSIGNED) = 0 THEN
        RETURN NULL;
    END IF;
    RETURN CAST(v AS UNSIGNED);
END $$

-- The characters of a description that count: blanks, tabs and line breaks
-- at either end do not.
DROP FUNCTION IF EXISTS kinerja_fn_panjang_isi $$
CREATE FUNCTION kinerja_fn_panjang_isi(p_teks MEDIUMTEXT) RETURNS INT
    DETERMINISTIC NO SQL
BEGIN
    RETURN CHAR_LENGTH(REGEXP_REPLACE(COALESCE(p_teks, ''), '^[[:space:]]+|[[:space:]]+$', ''));
END $$

DROP PROCEDURE IF EXISTS kinerja_tolak $$
CREATE PROCEDURE kinerja_tolak(IN p_alasan VARCHAR(128))
    NO SQL
BEGIN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = p_alasan;
END $$

-- A servant's activities whose date in column p_kolom (tanggal_aktivitas,
-- tanggal_input or tanggal_status) lies in the range (whole days, both
-- ends included), whose type and status are in the "x,..." lists (and in
-- p_status_boleh when it is given) and whose task name contains the
-- fragment; newest first. Each date column leads an index with the owner,
-- so every list is one index range. Moments go out as the server writes
-- DATETIME values ("yyyy-mm-dd hh:mm:ss"), unverified ones empty. The last
-- column is the reason of the rejection the activity stands under, if its
-- superior gave one (see kinerja_alasan_tolak).
--
-- p_tinjau 1 adds the review figures of a superior's list to each row: the
-- days left of the window that waits for this superior (sisa_hari, empty when nothing
-- waits; sisa_harix as shown; sisa_hari_ket the dates in words), segera "1"
-- when the window closes or the system approves before the next midnight,
-- and the plausibility notes kept by kinerja_aktivitas_catatan_siapkan
-- (catatan, catatan_ket; empty unless p_catatan). A list by the day of
-- input is the direct superior's (unverified work waits, by the day of
-- input), any other the list of the superior two levels up (verified,
-- unvalidated work waits, by the day of verification).
DROP PROCEDURE IF EXISTS kinerja_aktivitas_daftar $$
CREATE PROCEDURE kinerja_aktivitas_daftar(IN p_nip VARCHAR(40), IN p_kolom VARCHAR(20), IN p_awal DATE,
                                          IN p_akhir DATE, IN p_jenis VARCHAR(200), IN p_status VARCHAR(200),
                                          IN p_status_boleh VARCHAR(200), IN p_cari VARCHAR(500),
                                          IN p_tinjau TINYINT, IN p_catatan TINYINT)
    READS SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE s0, s1, s2, s3, s4, s5 VARCHAR(60);
    -- Only a known column name ever reaches the statement text.
    DECLARE v_kolom VARCHAR(20) DEFAULT CASE p_kolom WHEN 'tanggal_input' THEN 'tanggal_input'
                                                     WHEN 'tanggal_status' THEN 'tanggal_status'
                                                     ELSE 'tanggal_aktivitas' END;
    DECLARE v_daftar TEXT DEFAULT '';
    DECLARE v_angka TEXT DEFAULT '';
    DECLARE v_dari TEXT DEFAULT 'FROM aktivitas a';
    DECLARE v_urut TEXT DEFAULT CONCAT('a.', v_kolom, ' DESC, a.id DESC');
    -- Settings go into the text as whole numbers; the figures' parts are
    -- written out once here and repeated where the expressions use them.
    DECLARE v_verif, v_valid, v_otomatis VARCHAR(11);
    DECLARE v_sisa, v_oto, v_tampil, v_auto_hari TEXT;

    -- The status words, read once rather than looked up per row.
    SELECT MAX(IF(kode = '0', status_deskripsi, NULL)), MAX(IF(kode = 'accepted', status_deskripsi, NULL)),
           MAX(IF(kode = 'rejected', status_deskripsi, NULL)),
           MAX(IF(kode = 'accepted_by_system', status_deskripsi, NULL)),
           MAX(IF(kode = 'accepted_by_spv', status_deskripsi, NULL)),
           MAX(IF(kode = 'rejected_by_spv', status_deskripsi, NULL))
      INTO s0, s1, s2, s3, s4, s5 FROM aktivitas_status;
    SET v_daftar = ', a.jenis_jabatan, a.rincian_tugas, a.deskripsi, a.volume, a.satuan, a.bobot_skr,
            COALESCE(CASE a.status WHEN ''0'' THEN ? WHEN ''accepted'' THEN ? WHEN ''rejected'' THEN ?
                                   WHEN ''accepted_by_system'' THEN ? WHEN ''accepted_by_spv'' THEN ?
                                   WHEN ''rejected_by_spv'' THEN ? END, a.status) AS status_deskripsi,
            DATE(a.tanggal_aktivitas) AS tanggal_aktivitas, a.tanggal_input, a.tanggal_status AS tanggal_statusx,
            a.tanggal_validasi AS tanggal_validasix,
            IF(a.status IN (''accepted'', ''rejected'') AND a.tanggal_validasi IS NULL, ''Ya'', ''Tidak'')
                AS st_wajib_validasi,
            a.status,
            COALESCE(r.alasan, '''') AS alasan_tolak';
    SET v_dari = 'FROM aktivitas a
       LEFT JOIN kinerja_alasan_tolak r
         ON r.aktivitas_id = a.id AND a.status = ''rejected'' AND r.tanggal_status = a.tanggal_status
        AND r.nip_verifikator = a.nip_verifikator';

    IF p_tinjau > 0 THEN
        -- The three settings in one read, each as kinerja_fn_setting_angka
        -- reads it (5 when missing or not a whole number): the list runs once
        -- per connection, where three calls would also read the function.
        SELECT COALESCE(MAX(IF(nama = 'aktivitas_verifikasi_day_max', angka, NULL)), 5),
               COALESCE(MAX(IF(nama = 'aktivitas_validasi_day_max', angka, NULL)), 5),
               COALESCE(MAX(IF(nama = 'aktivitas_auto_approve', angka, NULL)), 5)
          INTO v_verif, v_valid, v_otomatis
          FROM (SELECT nama, CAST(TRIM(nilai) AS UNSIGNED) AS angka FROM kinerja_setting
                 WHERE jenis = 'app_kinerja'
                   AND nama IN ('aktivitas_verifikasi_day_max', 'aktivitas_validasi_day_max', 'aktivitas_auto_approve')
                   AND TRIM(nilai) REGEXP '^[0-9]{1,9}$') s;
        -- The days left: of verification and automatic approval for work
        -- still unverified in the direct superior's list, of validation for
        -- verified work not yet validated two levels up. Shown: the days to
        -- whichever comes first; an approval overdue in an open window comes
        -- at the next hourly run, today.
        IF v_kolom = 'tanggal_input' THEN
            SET v_sisa = CONCAT('IF(a.status = ''0'', ', v_verif, ' - DATEDIFF(CURDATE(), a.tanggal_input), NULL)'),
                v_oto = CONCAT('IF(a.status = ''0'', ', v_otomatis, ' - DATEDIFF(CURDATE(), a.tanggal_input), NULL)');
        ELSE
            SET v_sisa = CONCAT('IF(a.tanggal_validasi IS NULL, ', v_valid,
                                ' - DATEDIFF(CURDATE(), a.tanggal_status), NULL)'),
                v_oto = 'NULL';
        END IF;
        SET v_tampil = CONCAT('IF(', v_sisa, ' < 0, ', v_sisa, ', GREATEST(0, LEAST(', v_sisa, ', COALESCE(', v_oto,
                              ', ', v_sisa, '))))'),
            v_auto_hari = CONCAT('DATE_FORMAT(GREATEST(CURDATE(), DATE(a.tanggal_input) + INTERVAL ', v_otomatis,
                                 ' + 1 DAY), ''%Y-%m-%d'')');
        SET v_angka = CONCAT(',
                COALESCE(CAST(', v_tampil, ' AS CHAR), '''') AS sisa_hari,
                CASE WHEN ', v_sisa, ' IS NULL THEN ''''
                     ELSE CONCAT(CASE WHEN ', v_tampil, ' < 0 THEN ''lewat batas''
                                      WHEN ', v_tampil, ' = 0 THEN ''hari ini''
                                      ELSE CONCAT(', v_tampil, ', '' hari'') END,
                                 IF(', v_oto, ' IS NULL, '''', CONCAT('', otomatis '', ', v_auto_hari, ')))
                END AS sisa_harix,
                CASE WHEN ', v_sisa, ' IS NULL THEN ''''
                     WHEN ', v_oto, ' IS NULL
                         THEN CONCAT(''Batas validasi '',
                                     DATE_FORMAT(DATE(a.tanggal_status) + INTERVAL ', v_valid, ' DAY, ''%Y-%m-%d''),
                                     '' (', v_valid, ' hari sejak verifikasi).'')
                     ELSE CONCAT(''Batas verifikasi '',
                                 DATE_FORMAT(DATE(a.tanggal_input) + INTERVAL ', v_verif, ' DAY, ''%Y-%m-%d''),
                                 '' (', v_verif, ' hari sejak input). Bila belum diverifikasi, sistem menyetujuinya '',
                                 ''otomatis pada '', ', v_auto_hari, ', ''.'')
                END AS sisa_hari_ket,
                IF(', v_tampil, ' = 0, ''1'', ''0'') AS segera,',
                IF(p_catatan, 'COALESCE(c.catatan, '''') AS catatan, COALESCE(c.catatan_ket, '''') AS catatan_ket',
                   ''''' AS catatan, '''' AS catatan_ket'));
        IF p_catatan THEN
            SET v_dari = CONCAT(v_dari, ' LEFT JOIN kinerja_catatan_simpan c ON c.id = a.id');
        END IF;
    END IF;

    PREPARE kinerja_daftar FROM CONCAT(
        'SELECT a.id', v_daftar, v_angka, ' ', v_dari, '
          WHERE a.nip = ? AND a.', v_kolom, ' >= ? AND a.', v_kolom, ' < ? + INTERVAL 1 DAY
            AND FIND_IN_SET(a.jenis_jabatan, ?) > 0
            AND FIND_IN_SET(a.status, ?) > 0
            AND (? IS NULL OR FIND_IN_SET(a.status, ?) > 0)
            AND (? = '''' OR LOCATE(?, a.rincian_tugas) > 0)
          ORDER BY ', v_urut);
    EXECUTE kinerja_daftar USING s0, s1, s2, s3, s4, s5, p_nip, p_awal, p_akhir, p_jenis, p_status,
                                 p_status_boleh, p_status_boleh, COALESCE(p_cari, ''), COALESCE(p_cari, '');
    DEALLOCATE PREPARE kinerja_daftar;
END $$

-- The activity list, for the owner and for the direct superior. The
-- owner's list selects by the activity's day; the superior's review list by
-- the day of input, the date from which the verification window counts, so
-- a one-day review list is exactly what one window check covers, and
-- carries the review figures (see kinerja_aktivitas_daftar).
DROP PROCEDURE IF EXISTS kinerja_aktivitas_tampil_data $$
CREATE PROCEDURE kinerja_aktivitas_tampil_data(IN var_nip VARCHAR(40), IN var_tanggal_awal VARCHAR(40),
                                               IN var_tanggal_akhir VARCHAR(40), IN var_jenis_jabatan VARCHAR(200),
                                               IN var_status VARCHAR(200), IN var_aktivitas VARCHAR(500),
                                               IN var_nip_atasan2 VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_kolom VARCHAR(20) DEFAULT 'tanggal_aktivitas';
    DECLARE v_pemanggil VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_awal, v_akhir DATE;
    DECLARE v_tinjau TINYINT DEFAULT 0;
    DECLARE v_catatan TINYINT DEFAULT 0;
    IF v_pemanggil IS NULL THEN
        CALL kinerja_wajib_login();
    END IF;
    IF v_pemanggil <> var_nip THEN
        CALL kinerja_wajib_atasan(var_nip, 1);
        SET v_kolom = 'tanggal_input', v_tinjau = 1;
    END IF;
    SET v_awal = DATE(kinerja_fn_tanggal(var_tanggal_awal)), v_akhir = DATE(kinerja_fn_tanggal(var_tanggal_akhir));
    IF v_tinjau THEN
        CALL kinerja_aktivitas_catatan_siapkan(var_nip, v_kolom, v_awal, v_akhir, v_catatan);
    END IF;
    CALL kinerja_aktivitas_daftar(var_nip, v_kolom, v_awal, v_akhir, var_jenis_jabatan, var_status, NULL,
                                  var_aktivitas, v_tinjau, v_catatan);
END $$

-- The performance position (dictionary code) of a position code; empty for
-- managerial positions, whose dictionary is "200000".
DROP PROCEDURE IF EXISTS kinerja_get_kodejab_kinerja $$
CREATE PROCEDURE kinerja_get_kodejab_kinerja(IN var_kode_jab VARCHAR(40))
    READS SQL DATA
BEGIN
    SELECT COALESCE(j.kode_jabatan_kinerja, '') AS kode_jabatan_kinerja, j.nama_jabatan
      FROM jabatan j WHERE j.kode_jabatan = var_kode_jab;
END $$

-- Task details filed under a dictionary code whose name contains the
-- fragment (every detail for an empty fragment).
DROP PROCEDURE IF EXISTS kinerja_rincian_tugas_cari $$
CREATE PROCEDURE kinerja_rincian_tugas_cari(IN var_kode_jab VARCHAR(40), IN var_nama_rincian VARCHAR(500))
    READS SQL DATA
BEGIN
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    SELECT r.kode, r.rincian_tugas, r.satuan,
           IF(r.bobot_skr > v_max, CONCAT(r.bobot_skr, ' (diakui ', v_max, ')'), CAST(r.bobot_skr AS CHAR))
               AS bobot_skr_display,
           COALESCE(k.nama_jabatan, '') AS nama_jabatan, CAST(r.bobot_skr AS CHAR) AS bobot_skr
      FROM rincian_tugas r
      LEFT JOIN jabatan_kinerja k ON k.kode = r.kode_jabatan
     WHERE r.kode_jabatan = var_kode_jab AND r.aktif = 1
       AND LOCATE(COALESCE(var_nama_rincian, ''), r.rincian_tugas) > 0
     ORDER BY r.rincian_tugas, r.kode;
END $$

-- Task details of the servant's additional tasks in force.
DROP PROCEDURE IF EXISTS kinerja_rincian_tugas_cari_tambahan $$
CREATE PROCEDURE kinerja_rincian_tugas_cari_tambahan(IN var_nip VARCHAR(40), IN var_nama_rincian VARCHAR(500))
    READS SQL DATA
BEGIN
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    CALL kinerja_wajib_pemanggil(var_nip);
    SELECT r.kode, r.rincian_tugas, r.satuan,
           IF(r.bobot_skr > v_max, CONCAT(r.bobot_skr, ' (diakui ', v_max, ')'), CAST(r.bobot_skr AS CHAR))
               AS bobot_skr_display,
           COALESCE(k.nama_jabatan, '') AS nama_jabatan, CAST(r.bobot_skr AS CHAR) AS bobot_skr
      FROM rincian_tugas r
      LEFT JOIN jabatan_kinerja k ON k.kode = r.kode_jabatan
     WHERE r.aktif = 1
       AND r.kode_jabatan IN (SELECT t.kode_jabatan FROM tugas_tambahan t
                               WHERE t.nip = var_nip AND t.status = 'aktif' AND t.tanggal_mulai <= CURDATE()
                                 AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE()))
       AND LOCATE(COALESCE(var_nama_rincian, ''), r.rincian_tugas) > 0
     ORDER BY r.rincian_tugas, r.kode;
END $$

-- The answer of a time-window check, read by position: the allowed days
-- (a setting), the actual days back, and the verdict ("F" refuses).
DROP PROCEDURE IF EXISTS kinerja_jawab_jendela $$
CREATE PROCEDURE kinerja_jawab_jendela(IN p_tanggal DATETIME, IN p_setting VARCHAR(60), IN p_status CHAR(1))
    READS SQL DATA
BEGIN
    SELECT CAST(kinerja_fn_setting_angka(p_setting, 5) AS CHAR) AS hari_diizinkan,
           COALESCE(CAST(DATEDIFF(CURDATE(), p_tanggal) AS CHAR), '') AS selisih_hari,
           p_status AS status_waktu;
END $$

-- Whether an activity of this day may be entered.
DROP PROCEDURE IF EXISTS kinerja_cek_waktu_input_aktivitas $$
CREATE PROCEDURE kinerja_cek_waktu_input_aktivitas(IN var_tanggal_aktivitas VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_tanggal DATETIME DEFAULT kinerja_fn_tanggal(var_tanggal_aktivitas);
    CALL kinerja_jawab_jendela(v_tanggal, 'aktivitas_input_day_max', kinerja_fn_boleh_input(v_tanggal));
END $$

-- The direct superior and the superior's own superior; no row without a
-- direct superior.
DROP PROCEDURE IF EXISTS kinerja_atasan_nip_get $$
CREATE PROCEDURE kinerja_atasan_nip_get(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_atasan1 CHAR(18) DEFAULT kinerja_fn_atasan_nip(var_nip);
    DECLARE v_atasan2 CHAR(18) DEFAULT kinerja_fn_atasan_nip(v_atasan1);
    CALL kinerja_wajib_pemanggil(var_nip);
    SELECT v_atasan1 AS nip_atasan1, COALESCE(v_atasan2, '') AS nip_atasan2,
           (SELECT nama_lengkap FROM cache_pns WHERE nip = v_atasan1) AS nama_atasan1,
           COALESCE((SELECT nama_lengkap FROM cache_pns WHERE nip = v_atasan2), '') AS nama_atasan2
      FROM DUAL WHERE v_atasan1 IS NOT NULL;
END $$

-- Locks a servant's row for the rest of the transaction: every write that
-- adds to the servant's day queues here, so the day's limit holds for
-- parallel connections. The lock holds on this server only; the write of
-- the servant's kinerja_pns_tulis row makes two such transactions on
-- different nodes of a cluster collide, and the later one fails with 1213.
-- The lock comes first, so local writers queue before the upsert (two
-- upserts of a new key could otherwise deadlock each other).
DROP PROCEDURE IF EXISTS kinerja_kunci_pns $$
CREATE PROCEDURE kinerja_kunci_pns(IN p_nip VARCHAR(18))
    MODIFIES SQL DATA
BEGIN
    DECLARE v CHAR(18) DEFAULT NULL;
    SELECT nip INTO v FROM cache_pns WHERE nip = p_nip FOR UPDATE;
    IF v IS NULL THEN
        CALL kinerja_tolak('PNS tidak dikenal');
    END IF;
    INSERT INTO kinerja_pns_tulis (nip, versi) VALUES (v, 1)
        ON DUPLICATE KEY UPDATE versi = versi + 1;
END $$

-- Recognised minutes of a servant's day, leaving one activity out (the one
-- being changed): the one count behind the 480-minute rule and the day's
-- totals shown to the user. Rejected activities do not count; one above the
-- operational maximum counts the maximum once. A locking read, so it sees
-- every committed write whatever the transaction's snapshot; writers call it
-- under kinerja_kunci_pns, readers outside a transaction hold its shared
-- locks for the one statement only.
DROP PROCEDURE IF EXISTS kinerja_menit_hari_terkunci $$
CREATE PROCEDURE kinerja_menit_hari_terkunci(IN p_nip VARCHAR(18), IN p_hari DATE, IN p_kecuali BIGINT UNSIGNED,
                                             OUT p_menit DECIMAL(12,2))
    READS SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    SELECT COALESCE(SUM(IF(bobot_skr > v_max, v_max, bobot_skr * volume)), 0) INTO p_menit
      FROM aktivitas
     WHERE nip = p_nip AND tanggal_aktivitas >= p_hari AND tanggal_aktivitas < p_hari + INTERVAL 1 DAY
       AND status NOT IN ('rejected', 'rejected_by_spv') AND id <> COALESCE(p_kecuali, 0)
       LOCK IN SHARE MODE;
END $$

-- Today's recorded minutes and the minutes left of the 480-minute day:
-- the second column reads "0" once the day is full.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_skr_hari_ini $$
CREATE PROCEDURE kinerja_aktivitas_skr_hari_ini(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_menit DECIMAL(12,2);
    CALL kinerja_wajib_pemanggil(var_nip);
    CALL kinerja_menit_hari_terkunci(TRIM(var_nip), CURDATE(), NULL, v_menit);
    SELECT CAST(ROUND(v_menit) AS CHAR) AS menit_hari_ini,
           CAST(GREATEST(0, 480 - ROUND(v_menit)) AS CHAR) AS sisa_menit;
END $$

-- The caller's recorded minutes of one day ("yyyy-mm-dd", with or without
-- a time) and the limit of the working day, counted as the refusal of an
-- insert or change counts them, so what the user sees is what the server
-- will hold against the next activity. Only for the caller's own NIP.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_menit_hari $$
CREATE PROCEDURE kinerja_aktivitas_menit_hari(IN var_nip VARCHAR(40), IN var_tanggal VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_tanggal DATETIME DEFAULT kinerja_fn_tanggal(var_tanggal);
    DECLARE v_menit DECIMAL(12,2);
    CALL kinerja_wajib_pemanggil(var_nip);
    IF v_tanggal IS NULL THEN
        CALL kinerja_tolak('Tanggal tidak valid');
    END IF;
    CALL kinerja_menit_hari_terkunci(TRIM(var_nip), DATE(v_tanggal), NULL, v_menit);
    SELECT CAST(ROUND(v_menit) AS CHAR) AS menit_tercatat, '480' AS batas_menit;
END $$

-- Records an activity with status "0" for the caller. The server's own
-- rules hold whatever the client sent: the caller is the owner, maintenance,
-- the input window, exact type words, values that fit their columns, a task
-- detail that exists and fits the type, the dictionary's standard minutes
-- and unit, 480 minutes for a volume above 1, at most 480 recognised minutes
-- on the activity's day, and the superiors it finds.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_insert $$
CREATE PROCEDURE kinerja_aktivitas_insert(IN var_nip VARCHAR(40), IN var_aktivitas VARCHAR(40),
                                          IN var_sasaran VARCHAR(40), IN var_deskripsi MEDIUMTEXT,
                                          IN var_volume VARCHAR(40), IN var_tanggal_aktivitas VARCHAR(40),
                                          IN var_status VARCHAR(40), IN var_kode_jabatan VARCHAR(40),
                                          IN var_jenis_jabatan VARCHAR(40), IN var_skr VARCHAR(40),
                                          IN var_satuan VARCHAR(100), IN var_atasan1 VARCHAR(40),
                                          IN var_atasan2 VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_nip VARCHAR(18) DEFAULT NULL;
    DECLARE v_tanggal DATETIME DEFAULT kinerja_fn_tanggal(var_tanggal_aktivitas);
    DECLARE v_volume INT DEFAULT kinerja_fn_volume(var_volume);
    DECLARE v_sasaran VARCHAR(40) DEFAULT COALESCE(var_sasaran, '0');
    DECLARE v_kode INT UNSIGNED DEFAULT NULL;
    DECLARE v_kode_jabatan VARCHAR(20);
    DECLARE v_satuan VARCHAR(60);
    DECLARE v_bobot INT;
    DECLARE v_jenis VARCHAR(12);
    DECLARE v_kinerja VARCHAR(20);
    DECLARE v_atasan1 CHAR(18) DEFAULT NULL;
    DECLARE v_atasan2 CHAR(18) DEFAULT NULL;
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    DECLARE v_menit DECIMAL(12,2);
    DECLARE v_id BIGINT UNSIGNED;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(var_nip);
    SET v_nip = kinerja_fn_pemanggil_nip();
    SET v_atasan1 = kinerja_fn_atasan_nip(v_nip);
    SET v_atasan2 = kinerja_fn_atasan_nip(v_atasan1);
    -- Exact words: a case or blank variant would be counted in the minutes
    -- but missing from the owner's lists.
    IF var_jenis_jabatan IS NULL
       OR CAST(var_jenis_jabatan AS BINARY) NOT IN (BINARY 'Utama', BINARY 'Tambahan', BINARY 'Lainnya') THEN
        CALL kinerja_tolak('Jenis aktivitas tidak dikenal');
    END IF;
    IF CHAR_LENGTH(v_sasaran) > 20 THEN
        CALL kinerja_tolak('Sasaran terlalu panjang');
    END IF;
    IF LENGTH(var_deskripsi) > 65535 THEN
        CALL kinerja_tolak('Deskripsi terlalu panjang');
    END IF;
    SELECT p.jenis_jabatan_id, COALESCE(j.kode_jabatan_kinerja, '') INTO v_jenis, v_kinerja
      FROM cache_pns p LEFT JOIN jabatan j ON j.kode_jabatan = p.kode_jabatan
     WHERE p.nip = v_nip AND p.status_pns = 'aktif';
    IF v_jenis IS NULL THEN
        CALL kinerja_tolak('PNS tidak dikenal');
    END IF;
    IF var_aktivitas REGEXP '^[0-9]{1,9}$' THEN
        SELECT kode, kode_jabatan, satuan, bobot_skr INTO v_kode, v_kode_jabatan, v_satuan, v_bobot
          FROM rincian_tugas WHERE kode = CAST(var_aktivitas AS UNSIGNED) AND aktif = 1;
    END IF;
    IF v_kode IS NULL THEN
        CALL kinerja_tolak('Rincian tugas tidak ditemukan');
    END IF;
    IF CASE var_jenis_jabatan
         WHEN 'Lainnya' THEN v_kode_jabatan <> '300000'
         WHEN 'Utama' THEN NOT (v_kode_jabatan = v_kinerja
                                OR (v_kode_jabatan = '200000'
                                    AND (v_jenis NOT IN ('fungsional', 'pelaksana')
                                         OR EXISTS (SELECT 1 FROM plt t WHERE t.nip = v_nip
                                                      AND kinerja_fn_plt_aktif(t.plt_start, t.plt_end, CURDATE())))))
         WHEN 'Tambahan' THEN NOT EXISTS (SELECT 1 FROM tugas_tambahan t
                                           WHERE t.nip = v_nip AND t.kode_jabatan = v_kode_jabatan
                                             AND t.status = 'aktif' AND t.tanggal_mulai <= CURDATE()
                                             AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE()))
         ELSE TRUE
       END THEN
        CALL kinerja_tolak('Rincian tugas tidak sesuai jenis aktivitas');
    END IF;
    IF v_volume IS NULL THEN
        CALL kinerja_tolak('Volume harus bilangan bulat 1 sampai 9999');
    END IF;
    IF v_volume > 1 AND v_bobot * v_volume > 480 THEN
        CALL kinerja_tolak('SKR x volume melebihi 480 menit');
    END IF;
    IF kinerja_fn_panjang_isi(var_deskripsi) < 20 THEN
        CALL kinerja_tolak('Deskripsi kurang dari 20 karakter');
    END IF;
    IF kinerja_fn_boleh_input(v_tanggal) <> 'T' THEN
        CALL kinerja_tolak('Di luar waktu input aktivitas');
    END IF;
    IF v_atasan1 IS NULL THEN
        CALL kinerja_tolak('Atasan tidak ditemukan');
    END IF;

    START TRANSACTION;
    CALL kinerja_kunci_pns(v_nip);
    CALL kinerja_menit_hari_terkunci(v_nip, DATE(v_tanggal), NULL, v_menit);
    IF v_menit + IF(v_bobot > v_max, v_max, v_bobot * v_volume) > 480 THEN
        CALL kinerja_tolak('Batas waktu kerja hari itu terlampaui');
    END IF;
    INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, kode_jabatan, id_sasaran, deskripsi, volume, satuan,
                           bobot_skr, tanggal_aktivitas, tanggal_input, status, nip_atasan1, nip_atasan2)
    VALUES (v_nip, var_jenis_jabatan, v_kode, v_kode_jabatan, v_sasaran, var_deskripsi,
            v_volume, v_satuan, v_bobot, v_tanggal, NOW(), '0', v_atasan1, COALESCE(v_atasan2, ''));
    SET v_id = LAST_INSERT_ID();
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (v_nip, 'Aktivitas Harian Input', NOW(), CONCAT('Input aktivitas ', v_id), NULL);
    COMMIT;
END $$

-- Refuses to show an existing activity to anybody but its owner and the
-- owner's superiors; a missing one stays "no row".
DROP PROCEDURE IF EXISTS kinerja_aktivitas_wajib_lihat $$
CREATE PROCEDURE kinerja_aktivitas_wajib_lihat(IN p_id VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_atasan1 CHAR(18);
    DECLARE v_atasan2 CHAR(18);
    DECLARE v_saya VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    CALL kinerja_wajib_login();
    IF p_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT nip, nip_atasan1, nip_atasan2 INTO v_nip, v_atasan1, v_atasan2 FROM aktivitas WHERE id = p_id;
    END IF;
    IF v_nip IS NOT NULL AND v_saya NOT IN (v_atasan1, v_atasan2) AND NOT kinerja_fn_boleh_lihat(v_nip) THEN
        CALL kinerja_tolak('Bukan data pengguna ini');
    END IF;
END $$

-- One activity by its key; no row when it does not exist. Positions the
-- client reads: 0 id, 4 description, 5 volume, 6 unit, 20 task name; and
-- "status" by name.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_tampil_data_by_id $$
CREATE PROCEDURE kinerja_aktivitas_tampil_data_by_id(IN var_id VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_aktivitas_wajib_lihat(var_id);
    SELECT a.id, a.nip, a.jenis_jabatan, a.kode_rincian, a.deskripsi, CAST(a.volume AS CHAR) AS volume, a.satuan,
           CAST(a.bobot_skr AS CHAR) AS bobot_skr, DATE_FORMAT(a.tanggal_aktivitas, '%Y-%m-%d') AS tanggal_aktivitas,
           DATE_FORMAT(a.tanggal_input, '%Y-%m-%d %H:%i:%s') AS tanggal_input, a.status,
           COALESCE(s.status_deskripsi, a.status) AS status_deskripsi,
           COALESCE(DATE_FORMAT(a.tanggal_status, '%Y-%m-%d %H:%i:%s'), '') AS tanggal_statusx,
           COALESCE(a.nip_verifikator, '') AS nip_verifikator,
           COALESCE(DATE_FORMAT(a.tanggal_validasi, '%Y-%m-%d %H:%i:%s'), '') AS tanggal_validasix,
           COALESCE(a.nip_validator, '') AS nip_validator, a.nip_atasan1, a.nip_atasan2, a.kode_jabatan,
           a.id_sasaran, a.rincian_tugas
      FROM aktivitas a
      LEFT JOIN aktivitas_status s ON s.kode = a.status
     WHERE a.id = var_id AND var_id REGEXP '^[0-9]{1,19}$';
END $$

-- Whether an activity of this day may still be verified, changed or
-- deleted.
DROP PROCEDURE IF EXISTS kinerja_cek_waktu_verifikasi $$
CREATE PROCEDURE kinerja_cek_waktu_verifikasi(IN var_tanggal_aktivitas VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_tanggal DATETIME DEFAULT kinerja_fn_tanggal(var_tanggal_aktivitas);
    CALL kinerja_jawab_jendela(v_tanggal, 'aktivitas_verifikasi_day_max', kinerja_fn_boleh_verifikasi(v_tanggal));
END $$

-- The status code of an activity; no row when it does not exist.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_status_verifikasi_cek $$
CREATE PROCEDURE kinerja_aktivitas_status_verifikasi_cek(IN var_id VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_aktivitas_wajib_lihat(var_id);
    SELECT status FROM aktivitas WHERE id = var_id AND var_id REGEXP '^[0-9]{1,19}$';
END $$

-- Inside the caller's transaction: refuses a change or deletion of an
-- activity that does not exist, is not the caller's own, is no longer
-- unverified, or lies outside the verification window. Locks the owner
-- (the day's limit) and then the activity row, and tests the status under
-- that lock, so a superior's verification racing this change either comes
-- first and refuses it or waits for it.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_kunci_ubah $$
CREATE PROCEDURE kinerja_aktivitas_kunci_ubah(IN p_id VARCHAR(40), OUT p_id_angka BIGINT UNSIGNED,
                                              OUT p_nip CHAR(18), OUT p_tanggal DATETIME, OUT p_bobot INT)
    MODIFIES SQL DATA
BEGIN
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_status VARCHAR(20) DEFAULT NULL;
    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_login();
    SET p_id_angka = NULL;
    IF p_id REGEXP '^[0-9]{1,19}$' THEN
        SET p_id_angka = CAST(p_id AS UNSIGNED);
        SELECT nip INTO v_nip FROM aktivitas WHERE id = p_id_angka;
    END IF;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Aktivitas tidak ditemukan');
    END IF;
    IF v_nip <> kinerja_fn_pemanggil_nip() THEN
        CALL kinerja_tolak('Bukan aktivitas pengguna ini');
    END IF;
    CALL kinerja_kunci_pns(v_nip);
    SET v_nip = NULL;
    SELECT nip, status, tanggal_aktivitas, bobot_skr INTO v_nip, v_status, p_tanggal, p_bobot
      FROM aktivitas WHERE id = p_id_angka FOR UPDATE;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('Aktivitas tidak ditemukan');
    END IF;
    IF v_status <> '0' THEN
        CALL kinerja_tolak('Aktivitas sudah diverifikasi');
    END IF;
    IF kinerja_fn_boleh_verifikasi(p_tanggal) <> 'T' THEN
        CALL kinerja_tolak('Di luar waktu ubah aktivitas');
    END IF;
    SET p_nip = v_nip;
END $$

-- Changes description and volume of the caller's unverified activity; the
-- day's recognised minutes stay within 480 with the new volume.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_update $$
CREATE PROCEDURE kinerja_aktivitas_update(IN var_deskripsi MEDIUMTEXT, IN var_volume VARCHAR(40),
                                          IN var_id VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_volume INT DEFAULT kinerja_fn_volume(var_volume);
    DECLARE v_id BIGINT UNSIGNED;
    DECLARE v_nip CHAR(18);
    DECLARE v_tanggal DATETIME;
    DECLARE v_bobot INT;
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    DECLARE v_menit DECIMAL(12,2);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    IF kinerja_fn_panjang_isi(var_deskripsi) = 0 THEN
        CALL kinerja_tolak('Deskripsi kosong');
    END IF;
    IF kinerja_fn_panjang_isi(var_deskripsi) < 20 THEN
        CALL kinerja_tolak('Deskripsi kurang dari 20 karakter');
    END IF;
    IF LENGTH(var_deskripsi) > 65535 THEN
        CALL kinerja_tolak('Deskripsi terlalu panjang');
    END IF;
    IF v_volume IS NULL THEN
        CALL kinerja_tolak('Volume harus bilangan bulat 1 sampai 9999');
    END IF;

    START TRANSACTION;
    CALL kinerja_aktivitas_kunci_ubah(var_id, v_id, v_nip, v_tanggal, v_bobot);
    IF v_volume > 1 AND v_bobot * v_volume > 480 THEN
        CALL kinerja_tolak('SKR x volume melebihi 480 menit');
    END IF;
    CALL kinerja_menit_hari_terkunci(v_nip, DATE(v_tanggal), v_id, v_menit);
    IF v_menit + IF(v_bobot > v_max, v_max, v_bobot * v_volume) > 480 THEN
        CALL kinerja_tolak('Batas waktu kerja hari itu terlampaui');
    END IF;
    UPDATE aktivitas SET deskripsi = var_deskripsi, volume = v_volume WHERE id = v_id AND status = '0';
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (v_nip, 'Aktivitas Harian Ubah', NOW(), CONCAT('Ubah aktivitas ', v_id), NULL);
    COMMIT;
END $$

-- Deletes the caller's unverified activity.
DROP PROCEDURE IF EXISTS kinerja_aktivitas_hapus $$
CREATE PROCEDURE kinerja_aktivitas_hapus(IN var_id VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_id BIGINT UNSIGNED;
    DECLARE v_nip CHAR(18);
    DECLARE v_tanggal DATETIME;
    DECLARE v_bobot INT;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    START TRANSACTION;
    CALL kinerja_aktivitas_kunci_ubah(var_id, v_id, v_nip, v_tanggal, v_bobot);
    DELETE FROM aktivitas WHERE id = v_id AND status = '0';
    IF ROW_COUNT() <> 1 THEN
        CALL kinerja_tolak('Aktivitas tidak terhapus');
    END IF;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (v_nip, 'Aktivitas Harian Hapus', NOW(), CONCAT('Hapus aktivitas ', v_id), NULL);
    COMMIT;
END $$

DELIMITER ;
