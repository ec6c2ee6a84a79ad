-- Announcements and the monitoring of the process log.
SET NAMES utf8mb4;

DELIMITER $$

-- ---------------------------------------------------------------------------
-- Announcements
-- ---------------------------------------------------------------------------

-- The published announcements of one list ('tarvesa' or 'tpp'), as everybody
-- reads them, logged in or not: by their order number, newest first among
-- equals.
DROP PROCEDURE IF EXISTS kinerja_informasi_daftar $$
CREATE PROCEDURE kinerja_informasi_daftar(IN p_aplikasi VARCHAR(10), IN p_teks VARCHAR(1000))
    READS SQL DATA
BEGIN
    SELECT CAST(id AS CHAR) AS id, pengumuman, CAST(urutan AS CHAR) AS urutan,
           DATE_FORMAT(tanggal, '%Y-%m-%d %H:%i:%s') AS tanggal
      FROM informasi
     WHERE aplikasi = p_aplikasi AND aktif = 1
       -- a literal fragment: % and _ typed by the user are no wildcards
       AND (p_teks = '' OR LOCATE(p_teks, pengumuman) > 0)
     ORDER BY urutan, tanggal DESC, id DESC;
END $$

DROP PROCEDURE IF EXISTS kinerja_informasi $$
CREATE PROCEDURE kinerja_informasi()
    READS SQL DATA
BEGIN
    CALL kinerja_informasi_daftar('tarvesa', '');
END $$

DROP PROCEDURE IF EXISTS tpp_informasi $$
CREATE PROCEDURE tpp_informasi()
    READS SQL DATA
BEGIN
    CALL kinerja_informasi_daftar('tpp', '');
END $$

-- Refuses a list name other than the two lists.
DROP PROCEDURE IF EXISTS kinerja_informasi_wajib_aplikasi $$
CREATE PROCEDURE kinerja_informasi_wajib_aplikasi(IN p_aplikasi VARCHAR(40))
    NO SQL
BEGIN
    IF p_aplikasi IS NULL OR CAST(p_aplikasi AS BINARY) NOT IN (BINARY 'tarvesa', BINARY 'tpp') THEN
        CALL kinerja_tolak('Jenis informasi tidak dikenal');
    END IF;
END $$

-- The text and order number of an announcement as they will be stored;
-- refuses an empty or overlong text and an order number outside 1-999.
DROP PROCEDURE IF EXISTS kinerja_informasi_periksa $$
CREATE PROCEDURE kinerja_informasi_periksa(IN p_pengumuman TEXT, IN p_urutan VARCHAR(40),
                                           OUT o_pengumuman TEXT, OUT o_urutan INT)
    NO SQL
BEGIN
    -- blanks, tabs and line breaks around the text go, as the client trims
    SET o_pengumuman = REGEXP_REPLACE(COALESCE(p_pengumuman, ''), '^[[:space:]]+|[[:space:]]+$', '');
    IF o_pengumuman = '' THEN
        CALL kinerja_tolak('Pengumuman kosong');
    END IF;
    IF CHAR_LENGTH(o_pengumuman) > 1000 THEN
        CALL kinerja_tolak('Pengumuman lebih dari 1000 karakter');
    END IF;
    IF p_urutan IS NULL OR TRIM(p_urutan) NOT REGEXP '^[0-9]{1,3}$' OR CAST(TRIM(p_urutan) AS UNSIGNED) < 1 THEN
        CALL kinerja_tolak('Urutan harus 1 sampai 999');
    END IF;
    SET o_urutan = CAST(TRIM(p_urutan) AS UNSIGNED);
END $$

-- The announcements of one list whose text contains the fragment, for the
-- administrators' page.
DROP PROCEDURE IF EXISTS kinerja_informasi_cari $$
CREATE PROCEDURE kinerja_informasi_cari(IN var_aplikasi VARCHAR(40), IN var_teks VARCHAR(1000))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    CALL kinerja_informasi_wajib_aplikasi(var_aplikasi);
    CALL kinerja_informasi_daftar(var_aplikasi, TRIM(COALESCE(var_teks, '')));
END $$

-- Adds an announcement to a list.
DROP PROCEDURE IF EXISTS kinerja_informasi_tambah $$
CREATE PROCEDURE kinerja_informasi_tambah(IN var_aplikasi VARCHAR(40), IN var_pengumuman TEXT,
                                          IN var_urutan VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_id INT UNSIGNED;
    DECLARE v_pengumuman TEXT;
    DECLARE v_urutan INT;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_admin_system();
    CALL kinerja_informasi_wajib_aplikasi(var_aplikasi);
    CALL kinerja_informasi_periksa(var_pengumuman, var_urutan, v_pengumuman, v_urutan);
    START TRANSACTION;
    INSERT INTO informasi (aplikasi, pengumuman, tanggal, aktif, urutan)
    VALUES (var_aplikasi, v_pengumuman, NOW(), 1, v_urutan);
    SET v_id = LAST_INSERT_ID();
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Informasi - Ubah', NOW(), CONCAT('Tambah informasi ', v_id), NULL);
    COMMIT;
END $$

-- The key of a published announcement, locked for a change; refuses a key
-- that names none.
DROP PROCEDURE IF EXISTS kinerja_informasi_kunci $$
CREATE PROCEDURE kinerja_informasi_kunci(IN p_id VARCHAR(40), OUT o_id INT UNSIGNED,
                                         OUT o_pengumuman TEXT, OUT o_urutan INT)
    READS SQL DATA
BEGIN
    SET o_id = NULL;
    IF p_id IS NOT NULL AND TRIM(p_id) REGEXP '^[0-9]{1,9}$' THEN
        SELECT id, pengumuman, urutan INTO o_id, o_pengumuman, o_urutan
          FROM informasi WHERE id = CAST(TRIM(p_id) AS UNSIGNED) AND aktif = 1 FOR UPDATE;
    END IF;
    IF o_id IS NULL THEN
        CALL kinerja_tolak('Informasi tidak ditemukan');
    END IF;
END $$

-- Changes the text and order number of an announcement.
DROP PROCEDURE IF EXISTS kinerja_informasi_ubah $$
CREATE PROCEDURE kinerja_informasi_ubah(IN var_id VARCHAR(40), IN var_pengumuman TEXT, IN var_urutan VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_id INT UNSIGNED;
    DECLARE v_lama TEXT;
    DECLARE v_urutan_lama INT;
    DECLARE v_pengumuman TEXT;
    DECLARE v_urutan INT;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_admin_system();
    CALL kinerja_informasi_periksa(var_pengumuman, var_urutan, v_pengumuman, v_urutan);
    START TRANSACTION;
    CALL kinerja_informasi_kunci(var_id, v_id, v_lama, v_urutan_lama);
    IF CAST(v_lama AS BINARY) = CAST(v_pengumuman AS BINARY) AND v_urutan_lama = v_urutan THEN
        CALL kinerja_tolak('Tidak ada perubahan');
    END IF;
    UPDATE informasi SET pengumuman = v_pengumuman, urutan = v_urutan WHERE id = v_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Informasi - Ubah', NOW(), CONCAT('Ubah informasi ', v_id), NULL);
    COMMIT;
END $$

-- Deletes an announcement.
DROP PROCEDURE IF EXISTS kinerja_informasi_hapus $$
CREATE PROCEDURE kinerja_informasi_hapus(IN var_id VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_id INT UNSIGNED;
    DECLARE v_lama TEXT;
    DECLARE v_urutan INT;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_admin_system();
    START TRANSACTION;
    CALL kinerja_informasi_kunci(var_id, v_id, v_lama, v_urutan);
    DELETE FROM informasi WHERE id = v_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Informasi - Ubah', NOW(), CONCAT('Hapus informasi ', v_id), NULL);
    COMMIT;
END $$

-- ---------------------------------------------------------------------------
-- Log monitoring
-- ---------------------------------------------------------------------------

-- The process log of the days from var_tanggal_awal through
-- var_tanggal_akhir ("yyyy-mm-dd") whose kind is in the "x,..." list of
-- codes of kinerja_log_jenis; newest first. For "Admin System" only.
-- Each action is read as its own range of ix_log_aksi (action, time), so
-- the cost follows the rows asked for, not the size of the log.
DROP PROCEDURE IF EXISTS kinerja_log_show $$
CREATE PROCEDURE kinerja_log_show(IN var_tanggal_awal VARCHAR(40), IN var_tanggal_akhir VARCHAR(40),
                                  IN var_jenis VARCHAR(500))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_dari DATETIME DEFAULT DATE(kinerja_fn_tanggal(var_tanggal_awal));
    DECLARE v_sampai DATETIME DEFAULT DATE(kinerja_fn_tanggal(var_tanggal_akhir)) + INTERVAL 1 DAY;
    DECLARE v_selesai TINYINT DEFAULT 0;
    DECLARE v_aksi VARCHAR(40);
    DECLARE v_keterangan VARCHAR(200);
    DECLARE c CURSOR FOR
        SELECT DISTINCT aksi, keterangan FROM kinerja_log_jenis WHERE FIND_IN_SET(kode, var_jenis) > 0;
    DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_selesai = 1;

    CALL kinerja_wajib_admin_system();
    IF v_dari IS NULL OR v_sampai IS NULL THEN
        CALL kinerja_tolak('Tanggal tidak valid');
    END IF;

    DROP TEMPORARY TABLE IF EXISTS tmp_log_id;
    CREATE TEMPORARY TABLE tmp_log_id (id BIGINT UNSIGNED NOT NULL PRIMARY KEY);
    OPEN c;
    jenis: LOOP
        FETCH c INTO v_aksi, v_keterangan;
        IF v_selesai THEN
            LEAVE jenis;
        END IF;
        -- two kinds may share an action: each entry is listed once
        INSERT IGNORE INTO tmp_log_id (id)
        SELECT id FROM kinerja_log_proses
         WHERE aksi = v_aksi AND tanggal_aksi >= v_dari AND tanggal_aksi < v_sampai
           AND (v_keterangan IS NULL OR keterangan = v_keterangan);
    END LOOP;
    CLOSE c;

    SELECT DATE_FORMAT(l.tanggal_aksi, '%Y-%m-%d %H:%i:%s') AS tanggal_aksi, l.nip,
           COALESCE(p.nama_lengkap, '') AS nama_lengkap, l.aksi, COALESCE(l.keterangan, '') AS keterangan,
           COALESCE(l.target, '') AS target
      FROM tmp_log_id t
      JOIN kinerja_log_proses l ON l.id = t.id
      LEFT JOIN cache_pns p ON p.nip = l.nip
     ORDER BY l.tanggal_aksi DESC, l.id DESC;
    DROP TEMPORARY TABLE tmp_log_id;
END $$

DELIMITER ;
