-- Who is calling. Every client holds the same password of the application
-- account, so the account says nothing about the person. A login issues a
-- session token; each connection binds itself to it before its statement,
-- and procedures ask these functions for the caller's NIP and level.
-- Loaded after functions.sql and before the procedures; safe to load again
-- (the tables survive a reload of the routines).
SET NAMES utf8mb4;
SET default_storage_engine = InnoDB;

-- Sessions: the token itself never reaches the server's disk, only its
-- SHA-256 digest.
CREATE TABLE IF NOT EXISTS kinerja_sesi (
  token_sha2     CHAR(64)    NOT NULL,
  nip            VARCHAR(18) NOT NULL,
  access_level   VARCHAR(40) NOT NULL COMMENT 'level when the session was issued',
  tanggal_terbit DATETIME    NOT NULL,
  tanggal_pakai  DATETIME    NOT NULL COMMENT 'last bind; idle sessions expire',
  tanggal_cabut  DATETIME    NULL COMMENT 'revoked at logout',
  PRIMARY KEY (token_sha2),
  KEY ix_sesi_nip (nip),
  KEY ix_sesi_pakai (tanggal_pakai)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Which session each open connection acts for. Connection ids repeat across
-- the nodes of a cluster and after a restart, so the key is the server's
-- identity plus the id, and a binding older than the server's start is
-- void.
CREATE TABLE IF NOT EXISTS kinerja_sesi_ikatan (
  server       VARCHAR(120)    NOT NULL,
  koneksi      BIGINT UNSIGNED NOT NULL,
  token_sha2   CHAR(64)        NOT NULL,
  tanggal_ikat DATETIME(6)     NOT NULL,
  PRIMARY KEY (server, koneksi),
  KEY ix_ikatan_token (token_sha2),
  KEY ix_ikatan_tanggal (tanggal_ikat)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- The account a connection registered, so that one statement cannot
-- register many (INSERT ... SELECT) and the registration's log row is
-- accepted from the connection that created the account.
CREATE TABLE IF NOT EXISTS kinerja_registrasi_koneksi (
  server   VARCHAR(120)    NOT NULL,
  koneksi  BIGINT UNSIGNED NOT NULL,
  nip      VARCHAR(18)     NOT NULL,
  tanggal  DATETIME(6)     NOT NULL,
  PRIMARY KEY (server, koneksi),
  KEY ix_registrasi_tanggal (tanggal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Failed logins per account in the last minutes, and accounts locked after
-- too many of them.
CREATE TABLE IF NOT EXISTS kinerja_login_gagal (
  id      BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip     VARCHAR(18)     NOT NULL,
  tanggal DATETIME        NOT NULL,
  PRIMARY KEY (id),
  KEY ix_login_gagal (nip, tanggal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_login_kunci (
  nip          VARCHAR(18) NOT NULL,
  kunci_sampai DATETIME    NOT NULL,
  PRIMARY KEY (nip)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Log rows that a procedure writes for nobody bound (failed logins).
ALTER TABLE kinerja_log_proses
  ADD COLUMN IF NOT EXISTS sumber VARCHAR(10) NOT NULL DEFAULT 'klien'
      COMMENT 'server: written by a procedure for nobody bound';

DELIMITER $$

-- This server's identity: host name and port.
DROP FUNCTION IF EXISTS kinerja_fn_server $$
CREATE FUNCTION kinerja_fn_server() RETURNS VARCHAR(120)
    NOT DETERMINISTIC NO SQL
BEGIN
    RETURN CONCAT(@@hostname, ':', @@port);
END $$

-- When this server started (to the second; Uptime counts whole seconds).
DROP FUNCTION IF EXISTS kinerja_fn_server_mulai $$
CREATE FUNCTION kinerja_fn_server_mulai() RETURNS DATETIME(6)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    RETURN NOW(6) - INTERVAL (SELECT CAST(VARIABLE_VALUE AS UNSIGNED) FROM information_schema.GLOBAL_STATUS
                               WHERE VARIABLE_NAME = 'UPTIME') SECOND;
END $$

-- Hours of idle time after which a session no longer binds.
DROP FUNCTION IF EXISTS kinerja_fn_sesi_jam_idle $$
CREATE FUNCTION kinerja_fn_sesi_jam_idle() RETURNS INT
    DETERMINISTIC NO SQL
BEGIN
    RETURN 12;
END $$

-- The digest of the session bound to this connection, NULL when the
-- connection is anonymous or its session was revoked or expired.
DROP FUNCTION IF EXISTS kinerja_fn_pemanggil_sesi $$
CREATE FUNCTION kinerja_fn_pemanggil_sesi() RETURNS CHAR(64)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    -- Stored functions in a WHERE run once per row scanned and keep the
    -- index out of use: the constants are taken first, so the lookup is
    -- one probe of the primary key whatever the size of the tables.
    DECLARE v CHAR(64) DEFAULT NULL;
    DECLARE v_server VARCHAR(120) DEFAULT kinerja_fn_server();
    -- a binding from before a restart belongs to another connection; one
    -- second of slack for the whole-second Uptime
    DECLARE v_mulai DATETIME(6) DEFAULT kinerja_fn_server_mulai() - INTERVAL 1 SECOND;
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL kinerja_fn_sesi_jam_idle() HOUR;
    SELECT s.token_sha2 INTO v
      FROM kinerja_sesi_ikatan i JOIN kinerja_sesi s ON s.token_sha2 = i.token_sha2
     WHERE i.server = v_server AND i.koneksi = CONNECTION_ID()
       AND i.tanggal_ikat >= v_mulai
       AND s.tanggal_cabut IS NULL
       AND s.tanggal_pakai >= v_batas;
    RETURN v;
END $$

-- The NIP this connection acts for; NULL when anonymous.
DROP FUNCTION IF EXISTS kinerja_fn_pemanggil_nip $$
CREATE FUNCTION kinerja_fn_pemanggil_nip() RETURNS VARCHAR(18)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    DECLARE v VARCHAR(18) DEFAULT NULL;
    DECLARE v_sesi CHAR(64) DEFAULT kinerja_fn_pemanggil_sesi();
    SELECT s.nip INTO v FROM kinerja_sesi s
      JOIN kinerja_user u ON u.nip = s.nip
     WHERE s.token_sha2 = v_sesi;
    RETURN v;
END $$

-- The caller's access level as it stands now ("Admin System", ...), so a
-- level taken away counts at once; NULL when anonymous.
DROP FUNCTION IF EXISTS kinerja_fn_pemanggil_level $$
CREATE FUNCTION kinerja_fn_pemanggil_level() RETURNS VARCHAR(40)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    DECLARE v VARCHAR(40) DEFAULT NULL;
    DECLARE v_sesi CHAR(64) DEFAULT kinerja_fn_pemanggil_sesi();
    SELECT l.access_level INTO v FROM kinerja_sesi s
      JOIN kinerja_user u ON u.nip = s.nip
      JOIN kinerja_level l ON l.id = u.level
     WHERE s.token_sha2 = v_sesi;
    RETURN v;
END $$

-- Refuses unless this connection is bound to a valid session.
DROP PROCEDURE IF EXISTS kinerja_wajib_login $$
CREATE PROCEDURE kinerja_wajib_login()
    READS SQL DATA
BEGIN
    IF kinerja_fn_pemanggil_nip() IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Belum login';
    END IF;
END $$

-- Refuses unless the caller's access level, as it stands now, is exactly
-- this one ("Admin System", ...).
DROP PROCEDURE IF EXISTS kinerja_wajib_level $$
CREATE PROCEDURE kinerja_wajib_level(IN p_level VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v VARCHAR(40) DEFAULT kinerja_fn_pemanggil_level();
    IF v IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Belum login';
    END IF;
    IF NOT (CAST(v AS BINARY) <=> CAST(p_level AS BINARY)) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Hak akses tidak mencukupi';
    END IF;
END $$

-- Refuses unless this connection acts for exactly this NIP.
DROP PROCEDURE IF EXISTS kinerja_wajib_pemanggil $$
CREATE PROCEDURE kinerja_wajib_pemanggil(IN p_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    IF v IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Belum login';
    END IF;
    IF p_nip IS NULL OR v <> TRIM(p_nip) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Bukan data pengguna ini';
    END IF;
END $$

-- 1 when the caller may see a servant's activities and figures: the
-- servant, the direct superior or the superior two levels up.
DROP FUNCTION IF EXISTS kinerja_fn_boleh_lihat $$
CREATE FUNCTION kinerja_fn_boleh_lihat(p_nip VARCHAR(40)) RETURNS TINYINT
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    DECLARE v VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_atasan1 CHAR(18);
    IF v IS NULL OR p_nip IS NULL THEN
        RETURN 0;
    END IF;
    IF v = TRIM(p_nip) THEN
        RETURN 1;
    END IF;
    SET v_atasan1 = kinerja_fn_atasan_nip(TRIM(p_nip));
    RETURN v_atasan1 IS NOT NULL AND (v = v_atasan1 OR v = kinerja_fn_atasan_nip(v_atasan1));
END $$

-- Refuses unless the caller may see this servant's data (above).
DROP PROCEDURE IF EXISTS kinerja_wajib_lihat $$
CREATE PROCEDURE kinerja_wajib_lihat(IN p_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_login();
    IF NOT kinerja_fn_boleh_lihat(p_nip) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Bukan data pengguna ini';
    END IF;
END $$

-- Binds this connection to a session; a revoked, expired or unknown token is
-- refused and leaves the connection anonymous.
DROP PROCEDURE IF EXISTS kinerja_sesi_ikat $$
CREATE PROCEDURE kinerja_sesi_ikat(IN var_token VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sha2 CHAR(64) DEFAULT SHA2(COALESCE(var_token, ''), 256);
    DECLARE v_nip VARCHAR(18) DEFAULT NULL;
    DECLARE v_server VARCHAR(120) DEFAULT kinerja_fn_server();
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL kinerja_fn_sesi_jam_idle() HOUR;
    DELETE FROM kinerja_sesi_ikatan WHERE server = v_server AND koneksi = CONNECTION_ID();
    SELECT nip INTO v_nip FROM kinerja_sesi
     WHERE token_sha2 = v_sha2 AND tanggal_cabut IS NULL AND tanggal_pakai >= v_batas;
    IF v_nip IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sesi tidak berlaku';
    END IF;
    INSERT INTO kinerja_sesi_ikatan (server, koneksi, token_sha2, tanggal_ikat)
    VALUES (v_server, CONNECTION_ID(), v_sha2, NOW(6));
    UPDATE kinerja_sesi SET tanggal_pakai = NOW() WHERE token_sha2 = v_sha2;
END $$

-- Revokes a session (logout); its bindings go with it.
DROP PROCEDURE IF EXISTS kinerja_sesi_cabut $$
CREATE PROCEDURE kinerja_sesi_cabut(IN var_token VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sha2 CHAR(64) DEFAULT SHA2(COALESCE(var_token, ''), 256);
    UPDATE kinerja_sesi SET tanggal_cabut = NOW() WHERE token_sha2 = v_sha2 AND tanggal_cabut IS NULL;
    IF ROW_COUNT() = 0 THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sesi tidak dikenal';
    END IF;
    DELETE FROM kinerja_sesi_ikatan WHERE token_sha2 = v_sha2;
END $$

-- 1 when the statement comes from the application account that every
-- client uses (not from an administrator's or a loader's account).
DROP FUNCTION IF EXISTS kinerja_fn_dari_aplikasi $$
CREATE FUNCTION kinerja_fn_dari_aplikasi() RETURNS TINYINT
    NOT DETERMINISTIC NO SQL
BEGIN
    RETURN SUBSTRING_INDEX(USER(), '@', 1) = 'aplikasi';
END $$

-- The NIP whose account this connection registered, NULL when none.
DROP FUNCTION IF EXISTS kinerja_fn_registrasi_koneksi $$
CREATE FUNCTION kinerja_fn_registrasi_koneksi() RETURNS VARCHAR(18)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    DECLARE v VARCHAR(18) DEFAULT NULL;
    DECLARE v_server VARCHAR(120) DEFAULT kinerja_fn_server();
    DECLARE v_mulai DATETIME(6) DEFAULT kinerja_fn_server_mulai() - INTERVAL 1 SECOND;
    SELECT nip INTO v FROM kinerja_registrasi_koneksi
     WHERE server = v_server AND koneksi = CONNECTION_ID() AND tanggal >= v_mulai;
    RETURN v;
END $$

-- Housekeeping of sessions: drops sessions idle or revoked for a day and
-- bindings of connections long gone. Run by an event; binds nothing.
DROP PROCEDURE IF EXISTS kinerja_sesi_bersihkan $$
CREATE PROCEDURE kinerja_sesi_bersihkan()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL kinerja_fn_sesi_jam_idle() + 24 HOUR;
    DELETE FROM kinerja_sesi_ikatan WHERE tanggal_ikat < v_batas;
    DELETE FROM kinerja_sesi WHERE tanggal_pakai < v_batas OR tanggal_cabut < NOW() - INTERVAL 24 HOUR;
    DELETE FROM kinerja_registrasi_koneksi WHERE tanggal < NOW() - INTERVAL 24 HOUR;
    DELETE FROM kinerja_login_gagal WHERE tanggal < NOW() - INTERVAL 1 DAY;
    DELETE FROM kinerja_login_kunci WHERE kunci_sampai < NOW() - INTERVAL 1 DAY;
END $$

DELIMITER ;
