-- Shared stored functions. Loaded after schema.sql; safe to load again.
SET NAMES utf8mb4;

DELIMITER $$

-- A setting of the application group, NULL when it does not exist.
DROP FUNCTION IF EXISTS kinerja_fn_setting $$
CREATE FUNCTION kinerja_fn_setting(p_nama VARCHAR(60)) RETURNS VARCHAR(200)
    READS SQL DATA
BEGIN
    RETURN (SELECT nilai FROM kinerja_setting WHERE jenis = 'app_kinerja' AND nama = p_nama);
END $$

-- A numeric setting; the fallback when it is missing or not a whole number.
-- Reads the table itself rather than through kinerja_fn_setting: every
-- routine a connection touches is parsed once per connection, and the
-- approval path runs on a fresh connection per row.
DROP FUNCTION IF EXISTS kinerja_fn_setting_angka $$
CREATE FUNCTION kinerja_fn_setting_angka(p_nama VARCHAR(60), p_default INT) RETURNS INT
    READS SQL DATA
BEGIN
    DECLARE v VARCHAR(200) DEFAULT (SELECT TRIM(nilai) FROM kinerja_setting
                                     WHERE jenis = 'app_kinerja' AND nama = p_nama);
    IF v IS NULL OR v NOT REGEXP '^[0-9]{1,9}$' THEN
        RETURN p_default;
    END IF;
    RETURN CAST(v AS UNSIGNED);
END $$

-- Refuses a write while maintenance is on: every value but "0" counts as
-- on, as the settings page shows it; no row counts as off.
DROP FUNCTION IF EXISTS kinerja_fn_maintenance $$
DROP PROCEDURE IF EXISTS kinerja_cek_maintenance $$
CREATE PROCEDURE kinerja_cek_maintenance()
    READS SQL DATA
BEGIN
    IF EXISTS (SELECT 1 FROM kinerja_setting
                WHERE jenis = 'app_kinerja' AND nama = 'is_maintenance' AND COALESCE(nilai, '') <> '0') THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sistem sedang maintenance';
    END IF;
END $$

-- Reads a date text in the forms the server sends out ("yyyy-mm-dd" or
-- "yyyy-mm-dd hh:mm:ss"); NULL for anything else.
DROP FUNCTION IF EXISTS kinerja_fn_tanggal $$
CREATE FUNCTION kinerja_fn_tanggal(p_teks VARCHAR(40)) RETURNS DATETIME
    DETERMINISTIC NO SQL
BEGIN
    DECLARE t VARCHAR(40) DEFAULT TRIM(COALESCE(p_teks, ''));
    DECLARE d DATETIME DEFAULT NULL;
    -- Impossible days (2026-02-30) raise a warning that strict mode would
    -- turn into an error: they simply are no date.
    DECLARE CONTINUE HANDLER FOR SQLWARNING, SQLEXCEPTION SET d = NULL;
    IF t REGEXP '^[0-9]{4}-[0-9]{2}-[0-9]{2}$' THEN
        SET d = STR_TO_DATE(t, '%Y-%m-%d');
    ELSEIF t REGEXP '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' THEN
        SET d = STR_TO_DATE(t, '%Y-%m-%d %H:%i:%s');
    END IF;
    -- STR_TO_DATE accepts impossible days such as 2026-02-30 as zero dates.
    IF d IS NOT NULL AND DATE_FORMAT(d, '%Y-%m-%d') <> LEFT(t, 10) THEN
        RETURN NULL;
    END IF;
    RETURN d;
END $$

-- A version text "a.b.c" as a number that sorts like the version.
DROP FUNCTION IF EXISTS kinerja_fn_versi_nilai $$
CREATE FUNCTION kinerja_fn_versi_nilai(p_versi VARCHAR(40)) RETURNS BIGINT
    DETERMINISTIC NO SQL
BEGIN
    DECLARE v VARCHAR(40) DEFAULT TRIM(COALESCE(p_versi, ''));
    DECLARE total BIGINT DEFAULT 0;
    DECLARE part VARCHAR(40);
    DECLARE i INT DEFAULT 0;
    WHILE i < 3 DO
        SET part = SUBSTRING_INDEX(v, '.', 1);
        SET total = total * 100000 + IF(part REGEXP '^[0-9]{1,5}$', CAST(part AS UNSIGNED), 0);
        SET v = IF(LOCATE('.', v) > 0, SUBSTRING(v, LOCATE('.', v) + 1), '');
        SET i = i + 1;
    END WHILE;
    RETURN total;
END $$

-- Whether an acting or side assignment is in force on the given day.
DROP FUNCTION IF EXISTS kinerja_fn_plt_aktif $$
CREATE FUNCTION kinerja_fn_plt_aktif(p_start DATE, p_end DATE, p_hari DATE) RETURNS TINYINT
    DETERMINISTIC NO SQL
BEGIN
    RETURN p_start <= p_hari AND (p_end IS NULL OR p_end >= p_hari);
END $$

-- The direct superior of a civil servant, NULL when there is none: the
-- holder of the supervising position (the head of the unit an active
-- delegation names, otherwise the position above the servant's own) or,
-- where that post is vacant, the holder of an assignment in force (Plt,
-- Plh, tugas sampiran, Korwil). A Plh in force stands in for a holder who
-- is there but absent, except towards the deputy's own work. Assignments
-- count from their first day, read here on every call. One routine
-- without nested calls, because each routine costs a parse on every new
-- connection.
DROP FUNCTION IF EXISTS kinerja_fn_pemegang_jabatan $$
DROP FUNCTION IF EXISTS kinerja_fn_jabatan_atasan $$
DROP FUNCTION IF EXISTS kinerja_fn_atasan_nip $$
CREATE FUNCTION kinerja_fn_atasan_nip(p_nip VARCHAR(18)) RETURNS CHAR(18)
    READS SQL DATA
BEGIN
    DECLARE v_kode VARCHAR(20) DEFAULT NULL;
    DECLARE v CHAR(18) DEFAULT NULL;
    SELECT u.kode_jabatan_kepala INTO v_kode
      FROM delegasi d JOIN unit u ON u.id = d.unit_id
     WHERE d.nip = p_nip AND d.date_start <= NOW() AND (d.date_end IS NULL OR d.date_end >= CURDATE())
     ORDER BY d.date_start DESC, d.id DESC LIMIT 1;
    IF v_kode IS NULL THEN
        SELECT j.atasan_kode_jabatan INTO v_kode
          FROM cache_pns p JOIN jabatan j ON j.kode_jabatan = p.kode_jabatan
         WHERE p.nip = p_nip;
    END IF;
    IF v_kode IS NULL THEN
        RETURN NULL;
    END IF;
    SELECT MIN(nip) INTO v FROM cache_pns WHERE kode_jabatan = v_kode AND status_pns = 'aktif';
    -- Nothing found keeps v: the holder, or NULL for a vacant post.
    SELECT nip INTO v FROM plt
     WHERE kode_jabatan_plt = v_kode AND plt_start <= CURDATE() AND (plt_end IS NULL OR plt_end >= CURDATE())
       AND (v IS NULL OR (jenis = 'plh' AND nip <> p_nip))
     ORDER BY plt_start DESC, id DESC LIMIT 1;
    -- Nobody supervises themselves (an acting head of their own unit).
    RETURN IF(v = p_nip, NULL, v);
END $$

-- An activity keeps the name of its task detail as it read when recorded,
-- whoever inserts it; lists need no lookup per row and history survives a
-- renamed dictionary entry.
DROP TRIGGER IF EXISTS kinerja_aktivitas_sebelum_insert $$
CREATE TRIGGER kinerja_aktivitas_sebelum_insert BEFORE INSERT ON aktivitas FOR EACH ROW
BEGIN
    IF NEW.rincian_tugas = '' THEN
        SET NEW.rincian_tugas = COALESCE((SELECT rincian_tugas FROM rincian_tugas WHERE kode = NEW.kode_rincian), '');
    END IF;
END $$

DELIMITER ;
