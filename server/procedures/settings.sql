-- The setting store: maintenance switch, time windows and limits. Values
-- travel as text both ways; the windows go out and come back as
-- "yyyy-mm-dd hh:mm:ss". Any logged-in caller may read a setting (the
-- procedures apply them to everybody anyway); only "Admin System" may change
-- one, and only to a value the server's checks can use. Saves are allowed
-- during maintenance: that is how it is switched off again.
SET NAMES utf8mb4;

DELIMITER $$

-- 1 for the settings that are time windows (start and end), 0 otherwise.
DROP FUNCTION IF EXISTS kinerja_fn_setting_jendela $$
CREATE FUNCTION kinerja_fn_setting_jendela(p_jenis VARCHAR(1000), p_nama VARCHAR(1000)) RETURNS TINYINT
    DETERMINISTIC NO SQL
BEGIN
    RETURN kinerja_fn_kata(p_jenis, 'app_kinerja')
           AND kinerja_fn_kata(p_nama, 'aktivitas_harian,kualitas_mutu,sasaran_kerja,kamus_update');
END $$

-- A plain value as it is stored (a whole number without leading zeros),
-- NULL when the setting cannot use it: the switch takes "0" or "1", the
-- limits a whole number in a range that keeps the server's checks
-- workable. A name without a rule here takes nothing.
DROP FUNCTION IF EXISTS kinerja_fn_setting_nilai $$
CREATE FUNCTION kinerja_fn_setting_nilai(p_jenis VARCHAR(1000), p_nama VARCHAR(1000),
                                         p_nilai VARCHAR(1000)) RETURNS VARCHAR(20)
    DETERMINISTIC NO SQL
BEGIN
    DECLARE v_min BIGINT;
    DECLARE v_max BIGINT;
    DECLARE v BIGINT;
    IF NOT kinerja_fn_kata(p_jenis, 'app_kinerja') OR p_nama IS NULL OR p_nilai IS NULL
       OR p_nilai = '' OR p_nilai REGEXP '[^0-9]' OR CHAR_LENGTH(p_nilai) > 9 THEN
        RETURN NULL;
    END IF;
    -- compared as bytes: a name with a blank at its end is no name
    CASE CAST(p_nama AS BINARY)
        WHEN 'is_maintenance' THEN SET v_min = 0, v_max = 1;
        -- days back or waiting; 0 would close the window or approve at once
        WHEN 'aktivitas_input_day_max' THEN SET v_min = 1, v_max = 365;
        WHEN 'aktivitas_verifikasi_day_max' THEN SET v_min = 1, v_max = 365;
        WHEN 'aktivitas_validasi_day_max' THEN SET v_min = 1, v_max = 365;
        WHEN 'aktivitas_auto_approve' THEN SET v_min = 1, v_max = 365;
        -- minutes: at most the minutes of a month, of a day
        WHEN 'target_skr_bulanan' THEN SET v_min = 1, v_max = 44640;
        WHEN 'max_skr_operasional' THEN SET v_min = 1, v_max = 1440;
        WHEN 'tugas_tambahan_max' THEN SET v_min = 0, v_max = 10;
        ELSE RETURN NULL;
    END CASE;
    IF p_nama = 'is_maintenance' AND CHAR_LENGTH(p_nilai) <> 1 THEN
        RETURN NULL;
    END IF;
    SET v = CAST(p_nilai AS UNSIGNED);
    IF v < v_min OR v > v_max THEN
        RETURN NULL;
    END IF;
    RETURN CAST(v AS CHAR);
END $$

-- A moment of a window as the settings page's masked edit sends it:
-- "yyyy-mm-dd hh:mm:ss", the first hour digit possibly a blank. NULL when
-- a place is empty, the date or time does not exist, or the year lies
-- outside 2000-2099.
DROP FUNCTION IF EXISTS kinerja_fn_setting_waktu $$
CREATE FUNCTION kinerja_fn_setting_waktu(p_teks VARCHAR(1000)) RETURNS DATETIME
    DETERMINISTIC NO SQL
BEGIN
    DECLARE t VARCHAR(1000);
    DECLARE d DATETIME;
    IF p_teks IS NULL OR CHAR_LENGTH(p_teks) <> 19 THEN
        RETURN NULL;
    END IF;
    SET t = CONCAT(LEFT(p_teks, 11), IF(SUBSTRING(p_teks, 12, 1) = ' ', '0', SUBSTRING(p_teks, 12, 1)),
                   SUBSTRING(p_teks, 13));
    IF t NOT REGEXP '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' THEN
        RETURN NULL;
    END IF;
    SET d = kinerja_fn_tanggal(t);
    -- the date function checks the day; hours, minutes and seconds that
    -- roll over (24:00:00, 10:60:00) show up as a different text
    IF d IS NULL OR DATE_FORMAT(d, '%Y-%m-%d %H:%i:%s') <> t OR YEAR(d) NOT BETWEEN 2000 AND 2099 THEN
        RETURN NULL;
    END IF;
    RETURN d;
END $$

-- One part of a setting as the column "nilai": its value ('nilai'), the
-- start ('awal') or the end ('akhir') of its window; no row for an unknown
-- setting.
DROP PROCEDURE IF EXISTS kinerja_setting_baca $$
CREATE PROCEDURE kinerja_setting_baca(IN p_bagian VARCHAR(10), IN p_jenis VARCHAR(1000), IN p_nama VARCHAR(1000))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_login();
    SELECT CASE p_bagian
               WHEN 'awal' THEN DATE_FORMAT(tanggal_awal, '%Y-%m-%d %H:%i:%s')
               WHEN 'akhir' THEN DATE_FORMAT(tanggal_akhir, '%Y-%m-%d %H:%i:%s')
               ELSE nilai
           END AS nilai
      FROM kinerja_setting WHERE jenis = p_jenis AND nama = p_nama;
END $$

DROP PROCEDURE IF EXISTS kinerja_app_setting_load_value $$
CREATE PROCEDURE kinerja_app_setting_load_value(IN var_jenis VARCHAR(1000), IN var_nama VARCHAR(1000))
    READS SQL DATA
BEGIN
    CALL kinerja_setting_baca('nilai', var_jenis, var_nama);
END $$

DROP PROCEDURE IF EXISTS kinerja_app_setting_load_tanggal_awal $$
CREATE PROCEDURE kinerja_app_setting_load_tanggal_awal(IN var_jenis VARCHAR(1000), IN var_nama VARCHAR(1000))
    READS SQL DATA
BEGIN
    CALL kinerja_setting_baca('awal', var_jenis, var_nama);
END $$

DROP PROCEDURE IF EXISTS kinerja_app_setting_load_tanggal_akhir $$
CREATE PROCEDURE kinerja_app_setting_load_tanggal_akhir(IN var_jenis VARCHAR(1000), IN var_nama VARCHAR(1000))
    READS SQL DATA
BEGIN
    CALL kinerja_setting_baca('akhir', var_jenis, var_nama);
END $$

-- One change of the log: name, old and new value.
DROP PROCEDURE IF EXISTS kinerja_setting_log $$
CREATE PROCEDURE kinerja_setting_log(IN p_nama VARCHAR(100), IN p_lama VARCHAR(200), IN p_baru VARCHAR(200))
    MODIFIES SQL DATA
BEGIN
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Setting Update', NOW(),
            LEFT(CONCAT(p_nama, ': ', COALESCE(p_lama, '(kosong)'), ' -> ', p_baru), 200), NULL);
END $$

-- Changes a plain value. Saving the value that is stored already is
-- accepted and changes nothing (the page saves every field every time);
-- each real change leaves a log row.
DROP PROCEDURE IF EXISTS kinerja_app_setting_save_value $$
CREATE PROCEDURE kinerja_app_setting_save_value(IN var_nilai VARCHAR(1000), IN var_jenis VARCHAR(1000),
                                                IN var_nama VARCHAR(1000))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_baru VARCHAR(20) DEFAULT kinerja_fn_setting_nilai(var_jenis, var_nama, var_nilai);
    DECLARE v_nama VARCHAR(60) DEFAULT NULL;
    DECLARE v_lama VARCHAR(200);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_wajib_admin_system();
    IF v_baru IS NULL THEN
        CALL kinerja_tolak('Nilai setting tidak dapat dipakai');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT nama, nilai INTO v_nama, v_lama FROM kinerja_setting
     WHERE jenis = var_jenis AND nama = var_nama FOR UPDATE;
    IF v_nama IS NULL THEN
        CALL kinerja_tolak('Setting tidak dikenal');
    END IF;
    IF NOT (v_lama <=> v_baru) THEN
        UPDATE kinerja_setting SET nilai = v_baru WHERE jenis = var_jenis AND nama = v_nama;
        CALL kinerja_setting_log(v_nama, v_lama, v_baru);
    END IF;
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- Changes the start (p_akhir = 0) or the end (1) of a window. A stored
-- window never ends before it starts: each end is checked against the
-- other one as it is stored, under the row's lock.
DROP PROCEDURE IF EXISTS kinerja_setting_simpan_jendela $$
CREATE PROCEDURE kinerja_setting_simpan_jendela(IN p_akhir TINYINT, IN p_date VARCHAR(1000),
                                                IN p_jenis VARCHAR(1000), IN p_nama VARCHAR(1000))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_baru DATETIME DEFAULT kinerja_fn_setting_waktu(p_date);
    DECLARE v_nama VARCHAR(60) DEFAULT NULL;
    DECLARE v_awal DATETIME;
    DECLARE v_akhir DATETIME;
    DECLARE v_lama DATETIME;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_wajib_admin_system();
    IF NOT kinerja_fn_setting_jendela(p_jenis, p_nama) THEN
        CALL kinerja_tolak('Setting ini bukan jendela waktu');
    END IF;
    IF v_baru IS NULL THEN
        CALL kinerja_tolak('Tanggal dan jam tidak lengkap atau tidak ada');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT nama, tanggal_awal, tanggal_akhir INTO v_nama, v_awal, v_akhir FROM kinerja_setting
     WHERE jenis = p_jenis AND nama = p_nama FOR UPDATE;
    IF v_nama IS NULL THEN
        CALL kinerja_tolak('Setting tidak dikenal');
    END IF;
    IF p_akhir AND v_baru < v_awal THEN
        CALL kinerja_tolak('Akhir jendela sebelum awalnya');
    END IF;
    IF NOT p_akhir AND v_baru > v_akhir THEN
        CALL kinerja_tolak('Awal jendela sesudah akhirnya');
    END IF;
    SET v_lama = IF(p_akhir, v_akhir, v_awal);
    IF NOT (v_lama <=> v_baru) THEN
        IF p_akhir THEN
            UPDATE kinerja_setting SET tanggal_akhir = v_baru WHERE jenis = p_jenis AND nama = v_nama;
        ELSE
            UPDATE kinerja_setting SET tanggal_awal = v_baru WHERE jenis = p_jenis AND nama = v_nama;
        END IF;
        CALL kinerja_setting_log(CONCAT(v_nama, IF(p_akhir, ' (akhir)', ' (awal)')),
                                 DATE_FORMAT(v_lama, '%Y-%m-%d %H:%i:%s'),
                                 DATE_FORMAT(v_baru, '%Y-%m-%d %H:%i:%s'));
    END IF;
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

DROP PROCEDURE IF EXISTS kinerja_app_setting_save_tanggal_awal $$
CREATE PROCEDURE kinerja_app_setting_save_tanggal_awal(IN var_date VARCHAR(1000), IN var_jenis VARCHAR(1000),
                                                       IN var_nama VARCHAR(1000))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_setting_simpan_jendela(0, var_date, var_jenis, var_nama);
END $$

DROP PROCEDURE IF EXISTS kinerja_app_setting_save_tanggal_akhir $$
CREATE PROCEDURE kinerja_app_setting_save_tanggal_akhir(IN var_date VARCHAR(1000), IN var_jenis VARCHAR(1000),
                                                        IN var_nama VARCHAR(1000))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_setting_simpan_jendela(1, var_date, var_jenis, var_nama);
END $$

DELIMITER ;
