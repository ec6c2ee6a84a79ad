-- Who is calling. Every client holds the same password of the application
-- account, so the account says nothing about the person. A login issues a
-- session token; each connection binds itself to it before its statement,
-- and procedures ask these functions for the caller's NIP and level.
-- The binding is the session's digest in a user variable of the
-- connection: it dies with the connection (so it cannot outlive a restart
-- or meet a repeated connection id on another node of a cluster), costs no
-- write, and the only value that makes it count is the digest of a valid
-- token, which never leaves the server (a client that knows the token can
-- bind anyway). The client binds through kinerja_sesi_ikat, which also
-- moves the idle clock, once a minute; in between it sets the digest
-- itself, sparing the server a procedure per connection.
-- Loaded after functions.sql and before the procedures; safe to load again.
-- The tables are in schema.sql.
SET NAMES utf8mb4;

DELIMITER $$

DROP FUNCTION IF EXISTS kinerja_fn_server $$
DROP FUNCTION IF EXISTS kinerja_fn_server_mulai $$

-- Hours of idle time after which a session no longer binds (also written
-- out in kinerja_fn_pemanggil_nip).
DROP FUNCTION IF EXISTS kinerja_fn_sesi_jam_idle $$
CREATE FUNCTION kinerja_fn_sesi_jam_idle() RETURNS INT
    DETERMINISTIC NO SQL
BEGIN
    RETURN 12;
END $$

-- The NIP this connection acts for; NULL when anonymous or when its session
-- was revoked, expired or its account removed. One routine with one query:
-- every routine a connection touches costs a parse on each new connection,
-- and the client opens one per operation.
DROP FUNCTION IF EXISTS kinerja_fn_pemanggil_sesi $$
DROP FUNCTION IF EXISTS kinerja_fn_pemanggil_nip $$
CREATE FUNCTION kinerja_fn_pemanggil_nip() RETURNS VARCHAR(18)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    -- Constants first: a variable or function in the WHERE would be
    -- evaluated per row; this way it is one probe of the primary key.
    DECLARE v VARCHAR(18) DEFAULT NULL;
    DECLARE v_sesi CHAR(64) DEFAULT @kinerja_sesi_sha2;
    -- the idle limit of kinerja_fn_sesi_jam_idle, written out: between full
    -- bindings nothing else on the connection has loaded that function
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL 12 HOUR;
    SELECT s.nip INTO v FROM kinerja_sesi s
      JOIN kinerja_user u ON u.nip = s.nip
     WHERE s.token_sha2 = v_sesi AND s.tanggal_cabut IS NULL AND s.tanggal_pakai >= v_batas;
    RETURN v;
END $$

-- The caller's access level as it stands now ("Admin System", ...), so a
-- level taken away counts at once; NULL when anonymous.
DROP FUNCTION IF EXISTS kinerja_fn_pemanggil_level $$
CREATE FUNCTION kinerja_fn_pemanggil_level() RETURNS VARCHAR(40)
    NOT DETERMINISTIC READS SQL DATA
BEGIN
    DECLARE v VARCHAR(40) DEFAULT NULL;
    DECLARE v_nip VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    SELECT l.access_level INTO v FROM kinerja_user u
      JOIN kinerja_level l ON l.id = u.level
     WHERE u.nip = v_nip;
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

-- Refuses unless the caller holds one of the levels listed ("a,b"), or is
-- an "Admin System" (who may do everything an administrator may). Levels
-- compare exactly, as in the Admin System check.
DROP PROCEDURE IF EXISTS kinerja_wajib_level $$
CREATE PROCEDURE kinerja_wajib_level(IN p_levels VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_level VARCHAR(40) DEFAULT kinerja_fn_pemanggil_level();
    IF v_level IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Belum login';
    END IF;
    IF NOT (v_level = BINARY 'Admin System' OR FIND_IN_SET(BINARY v_level, BINARY p_levels) > 0) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Hak akses tidak cukup';
    END IF;
END $$

-- Refuses unless the caller's level is exactly "Admin System": the level
-- check above with no other level allowed.
DROP PROCEDURE IF EXISTS kinerja_wajib_admin_system $$
CREATE PROCEDURE kinerja_wajib_admin_system()
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_level('');
END $$

-- Binds this connection to a session; a revoked, expired or unknown token is
-- refused and leaves the connection anonymous. The idle clock moves at most
-- once a minute: a write on every bind would cost a commit per connection.
DROP PROCEDURE IF EXISTS kinerja_sesi_ikat $$
CREATE PROCEDURE kinerja_sesi_ikat(IN var_token VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sha2 CHAR(64) DEFAULT SHA2(COALESCE(var_token, ''), 256);
    DECLARE v_pakai DATETIME DEFAULT NULL;
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL kinerja_fn_sesi_jam_idle() HOUR;
    SET @kinerja_sesi_sha2 = NULL;
    SELECT tanggal_pakai INTO v_pakai FROM kinerja_sesi
     WHERE token_sha2 = v_sha2 AND tanggal_cabut IS NULL AND tanggal_pakai >= v_batas;
    IF v_pakai IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sesi tidak berlaku';
    END IF;
    SET @kinerja_sesi_sha2 = v_sha2;
    IF v_pakai < NOW() - INTERVAL 1 MINUTE THEN
        UPDATE kinerja_sesi SET tanggal_pakai = NOW() WHERE token_sha2 = v_sha2;
    END IF;
END $$

-- Revokes a session (logout); every connection bound to it is anonymous
-- from its next statement on.
DROP PROCEDURE IF EXISTS kinerja_sesi_cabut $$
CREATE PROCEDURE kinerja_sesi_cabut(IN var_token VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sha2 CHAR(64) DEFAULT SHA2(COALESCE(var_token, ''), 256);
    UPDATE kinerja_sesi SET tanggal_cabut = NOW() WHERE token_sha2 = v_sha2 AND tanggal_cabut IS NULL;
    IF ROW_COUNT() = 0 THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sesi tidak dikenal';
    END IF;
END $$

-- 1 when the statement comes from the application account that every
-- client uses (not from an administrator's or a loader's account).
DROP FUNCTION IF EXISTS kinerja_fn_dari_aplikasi $$
CREATE FUNCTION kinerja_fn_dari_aplikasi() RETURNS TINYINT
    NOT DETERMINISTIC NO SQL
BEGIN
    RETURN SUBSTRING_INDEX(USER(), '@', 1) = 'aplikasi';
END $$

DROP FUNCTION IF EXISTS kinerja_fn_registrasi_koneksi $$

-- Refuses the application account: scheduled work runs as the event
-- scheduler (the definer) or by hand as an administrator of the server,
-- never from a client, and is refused before it changes anything.
DROP PROCEDURE IF EXISTS kinerja_wajib_penjadwal $$
CREATE PROCEDURE kinerja_wajib_penjadwal()
    NO SQL
BEGIN
    IF kinerja_fn_dari_aplikasi() THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Hanya untuk penjadwal server';
    END IF;
END $$

-- 1 when p_kata is exactly one of the words of p_daftar ("a,b,c"). Case,
-- accents and blanks at the end count: the collations' own comparison
-- ignores them, so "plh " would pass as "plh" and be stored with its blank.
DROP FUNCTION IF EXISTS kinerja_fn_kata $$
CREATE FUNCTION kinerja_fn_kata(p_kata VARCHAR(1000), p_daftar VARCHAR(1000)) RETURNS TINYINT
    DETERMINISTIC NO SQL
BEGIN
    RETURN COALESCE(FIND_IN_SET(CAST(p_kata AS BINARY), CAST(p_daftar AS BINARY)) > 0, 0);
END $$

-- Housekeeping of sessions: drops sessions idle or revoked for a day and
-- old login failures. Run by an event; binds nothing.
DROP PROCEDURE IF EXISTS kinerja_sesi_bersihkan $$
CREATE PROCEDURE kinerja_sesi_bersihkan()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_batas DATETIME DEFAULT NOW() - INTERVAL kinerja_fn_sesi_jam_idle() + 24 HOUR;
    CALL kinerja_wajib_penjadwal();
    DELETE FROM kinerja_sesi WHERE tanggal_pakai < v_batas OR tanggal_cabut < NOW() - INTERVAL 24 HOUR;
    DELETE FROM kinerja_login_gagal WHERE tanggal < NOW() - INTERVAL 1 DAY;
    DELETE FROM kinerja_login_kunci WHERE kunci_sampai < NOW() - INTERVAL 1 DAY;
END $$

DELIMITER ;
