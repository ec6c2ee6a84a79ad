-- Start-up, login, logout and the log.
SET NAMES utf8mb4;

DELIMITER $$

-- Compares the client's version with the newest one the server knows.
-- Columns (read by position): verdict ("Up-Wajib" when a newer mandatory
-- version exists, "Up-GakWajib" when only optional ones do, "Up-ToDate"
-- otherwise), the newest version, its release date, and a short line the
-- client shows under its own version.
DROP PROCEDURE IF EXISTS kinerja_version_check_trial $$
CREATE PROCEDURE kinerja_version_check_trial(IN var_app VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_terbaru VARCHAR(20) DEFAULT NULL;
    DECLARE v_rilis DATE DEFAULT NULL;
    DECLARE v_wajib INT DEFAULT 0;
    DECLARE v_klien BIGINT DEFAULT kinerja_fn_versi_nilai(var_app);

    SELECT versi, tanggal_rilis INTO v_terbaru, v_rilis FROM kinerja_versi
     ORDER BY kinerja_fn_versi_nilai(versi) DESC, tanggal_rilis DESC LIMIT 1;
    SELECT COUNT(*) INTO v_wajib FROM kinerja_versi
     WHERE wajib = 1 AND kinerja_fn_versi_nilai(versi) > v_klien;

    IF v_terbaru IS NULL OR kinerja_fn_versi_nilai(v_terbaru) <= v_klien THEN
        SELECT 'Up-ToDate' AS status_update, COALESCE(v_terbaru, var_app) AS versi_terbaru,
               COALESCE(DATE_FORMAT(v_rilis, '%Y-%m-%d'), '') AS tanggal_rilis,
               'Versi terbaru' AS keterangan;
    ELSE
        SELECT IF(v_wajib > 0, 'Up-Wajib', 'Up-GakWajib') AS status_update, v_terbaru AS versi_terbaru,
               DATE_FORMAT(v_rilis, '%Y-%m-%d') AS tanggal_rilis,
               CONCAT('Tersedia versi ', v_terbaru) AS keterangan;
    END IF;
END $$

DELIMITER ;

DELIMITER $$

-- Login check: one row (nip, access_level, token) when the NIP has an
-- account and the md5 digest of the password matches; no row otherwise.
-- The token (256 random bits as hexadecimal) identifies the session from
-- now on; the server keeps only its digest.
DROP PROCEDURE IF EXISTS kinerja_cek_hak_akses $$
CREATE PROCEDURE kinerja_cek_hak_akses(IN var_nip VARCHAR(40), IN var_pass VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_nip VARCHAR(18) DEFAULT NULL;
    DECLARE v_level VARCHAR(40) DEFAULT NULL;
    DECLARE v_token CHAR(64) DEFAULT NULL;
    SELECT u.nip, l.access_level INTO v_nip, v_level
      FROM kinerja_user u
      JOIN kinerja_level l ON l.id = u.level
     WHERE u.nip = var_nip AND u.pass = MD5(var_pass);
    IF v_nip IS NOT NULL THEN
        SET v_token = LOWER(HEX(RANDOM_BYTES(32)));
        INSERT INTO kinerja_sesi (token_sha2, nip, access_level, tanggal_terbit, tanggal_pakai)
        VALUES (SHA2(v_token, 256), v_nip, v_level, NOW(), NOW());
    END IF;
    SELECT v_nip AS nip, v_level AS access_level, v_token AS token FROM DUAL WHERE v_nip IS NOT NULL;
END $$

-- Position code and top-level unit of a civil servant in the personnel data.
DROP PROCEDURE IF EXISTS kinerja_get_kodejab_simpeg_by_nip $$
CREATE PROCEDURE kinerja_get_kodejab_simpeg_by_nip(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    SELECT kode_jabatan, induk_id FROM cache_pns WHERE nip = var_nip;
END $$

-- One entry of the process log, stamped with the server's clock.
DROP PROCEDURE IF EXISTS kinerja_log_insert $$
CREATE PROCEDURE kinerja_log_insert(IN var_nip VARCHAR(18), IN var_aksi VARCHAR(40),
                                    IN var_keterangan VARCHAR(200), IN var_target VARCHAR(18))
    MODIFIES SQL DATA
BEGIN
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (var_nip, var_aksi, NOW(), var_keterangan, NULLIF(var_target, ''));
END $$

-- Registration inserts accounts with a plain statement. The server keeps the
-- account sound: no registration during maintenance, and the NIP stored
-- without the blanks a user may have typed around it (the personnel check
-- already ignores them), so the owner can log in with the NIP itself.
DROP TRIGGER IF EXISTS kinerja_user_sebelum_insert $$
CREATE TRIGGER kinerja_user_sebelum_insert BEFORE INSERT ON kinerja_user FOR EACH ROW
BEGIN
    CALL kinerja_cek_maintenance();
    SET NEW.nip = TRIM(NEW.nip);
END $$

DELIMITER ;
