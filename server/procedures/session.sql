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
-- now on; the server keeps only its digest. After 5 failures within 15
-- minutes an account is locked for 15 minutes (answered like a wrong
-- password, and with a second result: kunci_menit, the whole minutes the
-- lock still lasts, so the user learns to wait rather than to register);
-- every failure and every lock goes to the process log. Attempts for one
-- account queue on its row, so parallel guesses count.
DROP PROCEDURE IF EXISTS kinerja_cek_hak_akses $$
CREATE PROCEDURE kinerja_cek_hak_akses(IN var_nip VARCHAR(40), IN var_pass VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_akun VARCHAR(18) DEFAULT NULL;
    DECLARE v_nip VARCHAR(18) DEFAULT NULL;
    DECLARE v_level VARCHAR(40) DEFAULT NULL;
    DECLARE v_token CHAR(64) DEFAULT NULL;
    DECLARE v_log_nip VARCHAR(18) DEFAULT LEFT(TRIM(COALESCE(var_nip, '')), 18);
    DECLARE v_gagal INT DEFAULT 0;
    DECLARE v_kunci DATETIME DEFAULT NULL;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;

    START TRANSACTION;
    SELECT nip INTO v_akun FROM kinerja_user WHERE nip = var_nip FOR UPDATE;
    IF v_akun IS NOT NULL THEN
        SELECT MAX(kunci_sampai) INTO v_kunci FROM kinerja_login_kunci WHERE nip = v_akun AND kunci_sampai > NOW();
    END IF;
    IF v_kunci IS NOT NULL THEN
        INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, sumber)
        VALUES (v_akun, 'LogIn', NOW(), 'Gagal LogIn: akun terkunci', 'server');
    ELSE
        SELECT u.nip, l.access_level INTO v_nip, v_level
          FROM kinerja_user u
          JOIN kinerja_level l ON l.id = u.level
         WHERE u.nip = var_nip AND u.pass = MD5(var_pass);
        IF v_nip IS NOT NULL THEN
            DELETE FROM kinerja_login_gagal WHERE nip = v_nip;
            SET v_token = LOWER(HEX(RANDOM_BYTES(32)));
            INSERT INTO kinerja_sesi (token_sha2, nip, access_level, tanggal_terbit, tanggal_pakai)
            VALUES (SHA2(v_token, 256), v_nip, v_level, NOW(), NOW());
        ELSE
            INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, sumber)
            VALUES (v_log_nip, 'LogIn', NOW(), 'Gagal LogIn', 'server');
            IF v_akun IS NOT NULL THEN
                -- Guesses at one account through several nodes of a cluster
                -- collide on this row (1213 for the later), so each failure
                -- counts before the next is answered.
                INSERT INTO kinerja_pns_tulis (nip, versi) VALUES (v_akun, 1)
                    ON DUPLICATE KEY UPDATE versi = versi + 1;
                INSERT INTO kinerja_login_gagal (nip, tanggal) VALUES (v_akun, NOW());
                SELECT COUNT(*) INTO v_gagal FROM kinerja_login_gagal
                 WHERE nip = v_akun AND tanggal > NOW() - INTERVAL 15 MINUTE;
                IF v_gagal >= 5 THEN
                    SET v_kunci = NOW() + INTERVAL 15 MINUTE;
                    INSERT INTO kinerja_login_kunci (nip, kunci_sampai) VALUES (v_akun, v_kunci)
                        ON DUPLICATE KEY UPDATE kunci_sampai = VALUES(kunci_sampai);
                    -- the count starts again when the lock ends
                    DELETE FROM kinerja_login_gagal WHERE nip = v_akun;
                    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, sumber)
                    VALUES (v_akun, 'LogIn', NOW(), 'Akun terkunci 15 menit', 'server');
                END IF;
            END IF;
        END IF;
    END IF;
    COMMIT;
    SELECT v_nip AS nip, v_level AS access_level, v_token AS token FROM DUAL WHERE v_nip IS NOT NULL;
    IF v_kunci IS NOT NULL THEN
        SELECT CAST(CEIL(TIMESTAMPDIFF(SECOND, NOW(), v_kunci) / 60) AS CHAR) AS kunci_menit;
    END IF;
END $$

-- Position code and top-level unit of a civil servant in the personnel data.
DROP PROCEDURE IF EXISTS kinerja_get_kodejab_simpeg_by_nip $$
CREATE PROCEDURE kinerja_get_kodejab_simpeg_by_nip(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_pemanggil(var_nip);
    SELECT kode_jabatan, induk_id FROM cache_pns WHERE nip = var_nip;
END $$

-- One entry of the process log of the caller, stamped with the server's
-- clock: only the kinds the client produces itself, the login and the
-- logout. Every other kind is written by the routine that does the act,
-- with it. An empty NIP (a login of someone without personnel data, whose
-- profile shows no NIP) is the caller's.
DROP PROCEDURE IF EXISTS kinerja_log_insert $$
CREATE PROCEDURE kinerja_log_insert(IN var_nip VARCHAR(18), IN var_aksi VARCHAR(40),
                                    IN var_keterangan VARCHAR(200), IN var_target VARCHAR(18))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_nip VARCHAR(18) DEFAULT NULLIF(TRIM(var_nip), '');
    CALL kinerja_wajib_pemanggil(COALESCE(v_nip, kinerja_fn_pemanggil_nip()));
    IF NOT (kinerja_fn_kata(var_aksi, 'LogIn') AND kinerja_fn_kata(var_keterangan, 'Sukses LogIn,Sukses LogOut')
            AND COALESCE(var_target, '') = '') THEN
        CALL kinerja_tolak('Jenis log ini ditulis server');
    END IF;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan)
    VALUES (kinerja_fn_pemanggil_nip(), var_aksi, NOW(), var_keterangan);
END $$

-- Registration inserts accounts with a plain statement. The server keeps the
-- account sound: no registration during maintenance, and the NIP stored
-- without the blanks a user may have typed around it (the personnel check
-- already ignores them), so the owner can log in with the NIP itself. From
-- the application account, whatever the statement says: the basic level,
-- only a NIP of the personnel data without an account, and one account per
-- connection (a trigger sees each row, so INSERT ... SELECT registers at
-- most one).
DROP TRIGGER IF EXISTS kinerja_user_sebelum_insert $$
CREATE TRIGGER kinerja_user_sebelum_insert BEFORE INSERT ON kinerja_user FOR EACH ROW
BEGIN
    CALL kinerja_cek_maintenance();
    SET NEW.nip = TRIM(NEW.nip);
    IF kinerja_fn_dari_aplikasi() THEN
        SET NEW.level = '1';
        IF NOT EXISTS (SELECT 1 FROM cache_pns WHERE nip = NEW.nip) THEN
            SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'NIP tidak ada di data kepegawaian';
        END IF;
        IF EXISTS (SELECT 1 FROM kinerja_user WHERE nip = NEW.nip) THEN
            SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'User sudah terdaftar';
        END IF;
        IF @kinerja_registrasi IS NOT NULL THEN
            SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Satu registrasi per koneksi';
        END IF;
        SET @kinerja_registrasi = NEW.nip;
    END IF;
END $$

-- The registration's log row, written with the account (one transaction):
-- for nobody bound, so marked as the server's.
DROP TRIGGER IF EXISTS kinerja_user_sesudah_insert $$
CREATE TRIGGER kinerja_user_sesudah_insert AFTER INSERT ON kinerja_user FOR EACH ROW
BEGIN
    IF kinerja_fn_dari_aplikasi() THEN
        INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, sumber)
        VALUES (NEW.nip, 'Register', NOW(), 'Sukses Register', 'server');
    END IF;
END $$

-- Log rows: the server's clock, whatever the statement says; from the
-- application account (which inserts none itself: every row comes from a
-- routine or a trigger) only for the person bound to the connection, or
-- marked as written by the server for nobody bound. Every write procedure
-- logs, and a routine a trigger names is parsed on each new connection: so
-- the account test is written out here, and the only routine named is the
-- caller's NIP, which the procedure has loaded anyway.
DROP TRIGGER IF EXISTS kinerja_log_sebelum_insert $$
CREATE TRIGGER kinerja_log_sebelum_insert BEFORE INSERT ON kinerja_log_proses FOR EACH ROW
BEGIN
    IF SUBSTRING_INDEX(USER(), '@', 1) = 'aplikasi' THEN
        SET NEW.tanggal_aksi = NOW();
        SET NEW.nip = TRIM(NEW.nip);
        IF NEW.sumber <> 'server' AND NOT (NEW.nip <=> kinerja_fn_pemanggil_nip()) THEN
            SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Log bukan untuk pengguna ini';
        END IF;
    END IF;
END $$

DELIMITER ;
