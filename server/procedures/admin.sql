-- Administration and information pages.
SET NAMES utf8mb4;

DELIMITER $$

-- ---------------------------------------------------------------------------
-- Staff per work unit
-- ---------------------------------------------------------------------------

-- The active civil servants of a top-level unit whose position kind is in
-- the "x,..." list and whose NIP or name contains the fragment, with
-- whether each has an account. An administrator sees only the own
-- top-level unit; an "Admin System" any.
DROP PROCEDURE IF EXISTS kinerja_admin_skpd_show_pns_per_skpd $$
CREATE PROCEDURE kinerja_admin_skpd_show_pns_per_skpd(IN var_induk VARCHAR(40), IN var_nama VARCHAR(200),
                                                      IN var_jjab VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    CALL kinerja_wajib_level('Admin SKPD,Admin Sektira');
    SELECT induk_id INTO v_induk FROM cache_pns WHERE nip = kinerja_fn_pemanggil_nip();
    IF kinerja_fn_pemanggil_level() <> 'Admin System' AND NOT (v_induk <=> var_induk) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Bukan SKPD pengguna ini';
    END IF;
    SELECT p.nip, p.nama_lengkap, p.nama_unit, p.nama_jabatan, COALESCE(g.golongan, p.golongan_id) AS golongan,
           p.jenis_jabatan_id AS jjab,
           IF(u.nip IS NULL, 'Belum Terdaftar', 'Terdaftar') AS status_registrasi
      FROM cache_pns p
      LEFT JOIN golongan g ON g.id = p.golongan_id
      LEFT JOIN kinerja_user u ON u.nip = p.nip
     WHERE p.induk_id = var_induk AND p.status_pns = 'aktif'
       AND FIND_IN_SET(p.jenis_jabatan_id, var_jjab) > 0
       AND (v_cari = '' OR LOCATE(v_cari, p.nama_lengkap) > 0 OR LOCATE(v_cari, p.nip) > 0)
     ORDER BY p.nama_lengkap, p.nip;
END $$

-- Removes a civil servant's account (and only the account: the person's
-- work stays), so that the person registers again; the account's sessions
-- end with it. Only downward: the account's level must be strictly lower
-- than the caller's (a peer's account, reset and registered again with the
-- facts of the staff list, would be taken over). Refused too for anyone
-- outside the caller's top-level unit (unless the caller is an "Admin
-- System"), for the caller's own account and for a NIP without an account.
-- The reset and its log row are one transaction.
DROP PROCEDURE IF EXISTS kinerja_user_delete $$
CREATE PROCEDURE kinerja_user_delete(IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_pemanggil VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_level_saya VARCHAR(40) DEFAULT kinerja_fn_pemanggil_level();
    DECLARE v_nip VARCHAR(18) DEFAULT NULL;
    DECLARE v_level VARCHAR(2) DEFAULT NULL;
    DECLARE v_induk_saya VARCHAR(20) DEFAULT NULL;
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_level('Admin SKPD,Admin Sektira');
    START TRANSACTION;
    SELECT nip, level INTO v_nip, v_level FROM kinerja_user WHERE nip = TRIM(var_nip) FOR UPDATE;
    IF v_nip IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Akun tidak ditemukan';
    END IF;
    IF v_nip = v_pemanggil THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Akun sendiri tidak bisa direset';
    END IF;
    IF v_level_saya <> 'Admin System' THEN
        SELECT induk_id INTO v_induk_saya FROM cache_pns WHERE nip = v_pemanggil;
        SELECT induk_id INTO v_induk FROM cache_pns WHERE nip = v_nip;
        IF v_induk IS NULL OR NOT (v_induk <=> v_induk_saya) THEN
            SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Bukan PNS di SKPD pengguna ini';
        END IF;
    END IF;
    -- Levels rank by their code; one the level table does not know ranks
    -- above every other.
    IF COALESCE((SELECT CAST(id AS UNSIGNED) FROM kinerja_level WHERE id = v_level AND id REGEXP '^[1-5]$'), 99)
       >= (SELECT CAST(l.id AS UNSIGNED) FROM kinerja_level l WHERE l.access_level = v_level_saya) THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Level akun tidak di bawah level pengguna ini';
    END IF;
    DELETE FROM kinerja_user WHERE nip = v_nip;
    UPDATE kinerja_sesi SET tanggal_cabut = NOW() WHERE nip = v_nip AND tanggal_cabut IS NULL;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (v_pemanggil, 'User', NOW(), 'Reset Akun', v_nip);
    COMMIT;
END $$

-- ---------------------------------------------------------------------------
-- User accounts and levels
-- ---------------------------------------------------------------------------

-- The accounts whose level is in the "x,..." list of level names and whose
-- NIP or name contains the fragment; highest level first, then by name.
DROP PROCEDURE IF EXISTS kinerja_user_show $$
CREATE PROCEDURE kinerja_user_show(IN var_nama VARCHAR(200), IN var_access_level VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    CALL kinerja_wajib_admin_system();
    SELECT u.nip, COALESCE(p.nama_lengkap, '-') AS nama_lengkap, l.access_level,
           DATE_FORMAT(u.register_date, '%Y-%m-%d %H:%i:%s') AS register_date
      FROM kinerja_level l
      JOIN kinerja_user u ON u.level = l.id
      LEFT JOIN cache_pns p ON p.nip = u.nip
     WHERE FIND_IN_SET(l.access_level, var_access_level) > 0
       AND (v_cari = '' OR LOCATE(v_cari, u.nip) > 0 OR LOCATE(v_cari, p.nama_lengkap) > 0)
     ORDER BY l.id DESC, nama_lengkap, u.nip;
END $$

-- How many active civil servants carry the NIP (0 or 1).
DROP PROCEDURE IF EXISTS kinerja_pns_cek_jumlah_nip $$
CREATE PROCEDURE kinerja_pns_cek_jumlah_nip(IN var_kode VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    SELECT CAST(COUNT(*) AS CHAR) AS jumlah FROM cache_pns WHERE nip = TRIM(var_kode) AND status_pns = 'aktif';
END $$

-- The account of a NIP: the holder's name and the current level; no row
-- when the NIP has no account.
DROP PROCEDURE IF EXISTS kinerja_user_level_cek $$
CREATE PROCEDURE kinerja_user_level_cek(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    SELECT u.nip, COALESCE(p.nama_lengkap, '-') AS nama_lengkap, COALESCE(l.access_level, u.level) AS access_level
      FROM kinerja_user u
      LEFT JOIN kinerja_level l ON l.id = u.level
      LEFT JOIN cache_pns p ON p.nip = u.nip
     WHERE u.nip = TRIM(var_nip);
END $$

-- Gives an account one of the levels an "Admin System" hands out ("Admin
-- Sektira", "Admin SKPD", "Supervisor") or takes it back to "Basic User";
-- only an "Admin System" may, never on the own account (which would remove
-- the last way back). The change and its log row are one transaction; a
-- level the account already has changes nothing and is refused.
DROP PROCEDURE IF EXISTS kinerja_user_level_update $$
CREATE PROCEDURE kinerja_user_level_update(IN var_nip VARCHAR(40), IN var_level VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_pemanggil VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_nip VARCHAR(18) DEFAULT NULL;
    DECLARE v_lama VARCHAR(2) DEFAULT NULL;
    DECLARE v_baru VARCHAR(2) DEFAULT NULL;
    DECLARE v_nama_baru VARCHAR(30) DEFAULT NULL;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_admin_system();
    IF kinerja_fn_kata(var_level, 'Admin Sektira,Admin SKPD,Supervisor,Basic User') THEN
        SELECT id, access_level INTO v_baru, v_nama_baru FROM kinerja_level WHERE access_level = var_level;
    END IF;
    IF v_baru IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Level tidak dikenal';
    END IF;
    START TRANSACTION;
    SELECT nip, level INTO v_nip, v_lama FROM kinerja_user WHERE nip = TRIM(var_nip) FOR UPDATE;
    IF v_nip IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Akun tidak ditemukan';
    END IF;
    IF v_nip = v_pemanggil THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Level akun sendiri tidak bisa diubah';
    END IF;
    IF v_lama = v_baru THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Level tidak berubah';
    END IF;
    UPDATE kinerja_user SET level = v_baru WHERE nip = v_nip;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (v_pemanggil, 'User - Update', NOW(),
            CONCAT('Level ', COALESCE((SELECT access_level FROM kinerja_level WHERE id = v_lama), v_lama), ' -> ',
                   v_nama_baru),
            v_nip);
    COMMIT;
END $$

-- ---------------------------------------------------------------------------
-- Acting officials: Plt, Plh, tugas sampiran, Korwil
-- ---------------------------------------------------------------------------

-- The assignments whose kind is in the "x,..." list (plt, plh,
-- tugas-sampiran, korwil), whose state is in the "x,..." list ("AKTIF" in
-- force today, "-" ended or not yet begun) and whose holder's NIP or name
-- contains the fragment; newest first. Dates as yyyy-mm-dd, an open end as
-- "-".
DROP PROCEDURE IF EXISTS kinerja_plt_tampil_data $$
CREATE PROCEDURE kinerja_plt_tampil_data(IN var_nama VARCHAR(200), IN var_jenis VARCHAR(200),
                                         IN var_status VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    DECLARE v_hari DATE DEFAULT CURDATE();
    CALL kinerja_wajib_admin_system();
    SELECT CAST(t.id AS CHAR) AS id, t.nip, COALESCE(p.nama_lengkap, '-') AS nama_lengkap,
           COALESCE(p.nama_jabatan, '-') AS nama_jabatan_definitif,
           COALESCE(j.nama_jabatan, t.kode_jabatan_plt) AS nama_jabatan_plt,
           DATE_FORMAT(t.plt_start, '%Y-%m-%d') AS plt_start,
           COALESCE(DATE_FORMAT(t.plt_end, '%Y-%m-%d'), '-') AS plt_end,
           CONCAT(CASE t.jenis WHEN 'plt' THEN 'Plt'
                               WHEN 'plh' THEN 'Plh'
                               WHEN 'tugas-sampiran' THEN 'KS/Kapus'
                               WHEN 'korwil' THEN 'Korwil'
                               ELSE t.jenis END,
                  ' - ',
                  CASE WHEN t.plt_start > v_hari THEN 'BELUM MULAI'
                       WHEN t.plt_end < v_hari THEN 'TIDAK AKTIF'
                       ELSE 'AKTIF' END) AS jenis_text
      FROM plt t
      LEFT JOIN cache_pns p ON p.nip = t.nip
      LEFT JOIN jabatan j ON j.kode_jabatan = t.kode_jabatan_plt
     WHERE FIND_IN_SET(t.jenis, var_jenis) > 0
       AND FIND_IN_SET(IF(t.plt_start <= v_hari AND (t.plt_end IS NULL OR t.plt_end >= v_hari), 'AKTIF', '-'),
                       var_status) > 0
       AND (v_cari = '' OR LOCATE(v_cari, t.nip) > 0 OR LOCATE(v_cari, p.nama_lengkap) > 0)
     ORDER BY t.plt_start DESC, t.id DESC;
END $$

-- The positions an assignment may name: code and name of every position
-- whose code or name contains the fragment.
DROP PROCEDURE IF EXISTS kinerja_plt_jabatan_cari $$
CREATE PROCEDURE kinerja_plt_jabatan_cari(IN var_nama VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    CALL kinerja_wajib_admin_system();
    SELECT j.kode_jabatan, j.nama_jabatan, COALESCE(u.nama_unit, '-') AS nama_unit
      FROM jabatan j LEFT JOIN unit u ON u.id = j.unit_id
     WHERE v_cari = '' OR LOCATE(v_cari, j.nama_jabatan) > 0 OR LOCATE(v_cari, j.kode_jabatan) > 0
     ORDER BY j.nama_jabatan, j.kode_jabatan
     LIMIT 500;
END $$

-- The verdict on recording (p_id 0) or changing (p_id of the row) an
-- assignment: "OK", or what stands against it: "PNS" (no active civil
-- servant), "JENIS" (not one of the four kinds), "JABATAN" (no such
-- position), "SENDIRI" (the servant's own position), "TERISI" (a Plt, which
-- fills a vacant post, for a post a serving servant holds: that is a
-- Plh's), "TANGGAL" (a date
-- that is no yyyy-mm-dd), "URUTAN" (last day before the first), "BENTROK"
-- (another assignment of the kind holds the position on a day of the
-- period; an open end lasts for ever), "TIDAK ADA" (no such assignment),
-- "BERAKHIR" (it has ended), "SAMA" (the last day it already has). A change
-- keeps the servant, position, kind and first day of the row; p_akhiri
-- ends it instead of setting a last day. The writers call this under the
-- lock of the position's row, so two of them cannot both pass.
DROP PROCEDURE IF EXISTS kinerja_plt_cek_bentrok $$
DROP PROCEDURE IF EXISTS kinerja_plt_periksa $$
CREATE PROCEDURE kinerja_plt_periksa(IN p_id BIGINT UNSIGNED, IN p_nip VARCHAR(40), IN p_kode VARCHAR(40),
                                     IN p_jenis VARCHAR(40), IN p_start_teks VARCHAR(40),
                                     IN p_end_teks VARCHAR(40), IN p_akhiri TINYINT, OUT p_hasil VARCHAR(20))
    READS SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE v_kode_sendiri VARCHAR(20) DEFAULT NULL;
    DECLARE v_kode VARCHAR(20) DEFAULT NULL;
    DECLARE v_jenis VARCHAR(40) DEFAULT p_jenis;
    DECLARE v_start DATE DEFAULT DATE(kinerja_fn_tanggal(p_start_teks));
    DECLARE v_end DATE DEFAULT DATE(kinerja_fn_tanggal(p_end_teks));
    DECLARE v_lama DATE DEFAULT NULL;
    DECLARE v_ada INT DEFAULT 0;
    DECLARE v_tanpa_akhir TINYINT DEFAULT TRIM(COALESCE(p_end_teks, '')) IN ('', '-');
    main: BEGIN
        IF p_id > 0 THEN
            SELECT nip, kode_jabatan_plt, jenis, plt_start, plt_end, 1
              INTO v_nip, v_kode, v_jenis, v_start, v_lama, v_ada
              FROM plt WHERE id = p_id;
            IF v_ada = 0 THEN
                SET p_hasil = 'TIDAK ADA';
                LEAVE main;
            END IF;
            IF v_lama < CURDATE() THEN
                SET p_hasil = 'BERAKHIR';
                LEAVE main;
            END IF;
            IF p_akhiri THEN
                SET p_hasil = 'OK';
                LEAVE main;
            END IF;
        ELSE
            SELECT nip, kode_jabatan INTO v_nip, v_kode_sendiri FROM cache_pns
             WHERE nip = TRIM(p_nip) AND status_pns = 'aktif';
            IF v_nip IS NULL THEN
                SET p_hasil = 'PNS';
                LEAVE main;
            END IF;
            IF NOT kinerja_fn_kata(v_jenis, 'plt,plh,tugas-sampiran,korwil') THEN
                SET p_hasil = 'JENIS';
                LEAVE main;
            END IF;
            SELECT kode_jabatan INTO v_kode FROM jabatan WHERE kode_jabatan = TRIM(p_kode);
            IF v_kode IS NULL THEN
                SET p_hasil = 'JABATAN';
                LEAVE main;
            END IF;
            IF v_kode = v_kode_sendiri THEN
                SET p_hasil = 'SENDIRI';
                LEAVE main;
            END IF;
            IF v_jenis = 'plt' AND EXISTS (SELECT 1 FROM cache_pns WHERE kode_jabatan = v_kode AND status_pns = 'aktif') THEN
                SET p_hasil = 'TERISI';
                LEAVE main;
            END IF;
        END IF;
        IF v_start IS NULL OR (v_end IS NULL AND NOT v_tanpa_akhir) THEN
            SET p_hasil = 'TANGGAL';
        ELSEIF v_end < v_start THEN
            SET p_hasil = 'URUTAN';
        ELSEIF p_id > 0 AND v_end <=> v_lama THEN
            SET p_hasil = 'SAMA';
        ELSE
            -- A locking read: it sees what the writer before us committed,
            -- whatever the transaction's snapshot.
            SELECT COUNT(*) INTO v_ada FROM plt
             WHERE kode_jabatan_plt = v_kode AND jenis = v_jenis AND id <> p_id
               AND plt_start <= COALESCE(v_end, '9999-12-31')
               AND COALESCE(plt_end, '9999-12-31') >= v_start
               LOCK IN SHARE MODE;
            SET p_hasil = IF(v_ada > 0, 'BENTROK', 'OK');
        END IF;
    END main;
END $$

-- The verdict above for the client, one row (hasil), before it asks the
-- user and writes: var_id empty for a new assignment.
DROP PROCEDURE IF EXISTS kinerja_plt_cek $$
CREATE PROCEDURE kinerja_plt_cek(IN var_id VARCHAR(40), IN var_nip VARCHAR(40), IN var_kode_jabatan VARCHAR(40),
                                 IN var_jenis VARCHAR(40), IN var_plt_start VARCHAR(40), IN var_plt_end VARCHAR(40),
                                 IN var_akhiri VARCHAR(2))
    READS SQL DATA
BEGIN
    DECLARE v_hasil VARCHAR(20);
    CALL kinerja_wajib_admin_system();
    IF COALESCE(var_id, '') <> '' AND var_id NOT REGEXP '^[0-9]{1,19}$' THEN
        SELECT 'TIDAK ADA' AS hasil;
    ELSE
        CALL kinerja_plt_periksa(IF(COALESCE(var_id, '') = '', 0, var_id), var_nip, var_kode_jabatan, var_jenis,
                                 var_plt_start, var_plt_end, COALESCE(var_akhiri, '') = '1', v_hasil);
        SELECT v_hasil AS hasil;
    END IF;
END $$

-- Records an assignment (the verdict of kinerja_plt_periksa must be "OK"):
-- dates yyyy-mm-dd, an empty or "-" last day for an open end. It counts in
-- the superior rule from its first day on.
DROP PROCEDURE IF EXISTS kinerja_plt_tambah $$
CREATE PROCEDURE kinerja_plt_tambah(IN var_nip VARCHAR(40), IN var_kode_jabatan VARCHAR(40),
                                    IN var_jenis VARCHAR(40), IN var_plt_start VARCHAR(40),
                                    IN var_plt_end VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_kode VARCHAR(20) DEFAULT NULL;
    DECLARE v_hasil VARCHAR(20);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_admin_system();
    START TRANSACTION;
    SELECT kode_jabatan INTO v_kode FROM jabatan WHERE kode_jabatan = TRIM(var_kode_jabatan) FOR UPDATE;
    CALL kinerja_plt_periksa(0, var_nip, var_kode_jabatan, var_jenis, var_plt_start, var_plt_end, 0, v_hasil);
    IF v_hasil <> 'OK' THEN
        CALL kinerja_tolak(CONCAT('Penugasan ditolak: ', v_hasil));
    END IF;
    INSERT INTO plt (nip, kode_jabatan_plt, jenis, plt_start, plt_end)
    VALUES (TRIM(var_nip), v_kode, var_jenis, DATE(kinerja_fn_tanggal(var_plt_start)),
            DATE(kinerja_fn_tanggal(var_plt_end)));
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'PLT - Tambah', NOW(),
            LEFT(CONCAT(var_jenis, ' ', v_kode, ' ', TRIM(var_plt_start), ' s.d. ',
                        COALESCE(DATE(kinerja_fn_tanggal(var_plt_end)), '-')), 200),
            TRIM(var_nip));
    COMMIT;
END $$

-- Changes the last day of an assignment that has not ended (yyyy-mm-dd, or
-- empty or "-" for an open end); or, with var_akhiri = "1", ends it at
-- once: one begun before today is no longer in force from today, one begun
-- today (whose day may already carry acts under it) ends tonight and keeps
-- its record, and one not begun yet is withdrawn. Answers one row, hasil:
-- what happened, in a sentence for the user. Under the lock of the
-- position's row, taken first as the insert takes it, so writers of one
-- position queue in one order.
DROP PROCEDURE IF EXISTS kinerja_plt_ubah $$
CREATE PROCEDURE kinerja_plt_ubah(IN var_id VARCHAR(40), IN var_plt_end VARCHAR(40), IN var_akhiri VARCHAR(2))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_id BIGINT UNSIGNED DEFAULT NULL;
    DECLARE v_kode VARCHAR(20) DEFAULT NULL;
    DECLARE v_kunci VARCHAR(20);
    DECLARE v_nip CHAR(18);
    DECLARE v_jenis VARCHAR(16);
    DECLARE v_start DATE;
    DECLARE v_lama DATE;
    DECLARE v_end DATE DEFAULT DATE(kinerja_fn_tanggal(var_plt_end));
    DECLARE v_akhiri TINYINT DEFAULT COALESCE(var_akhiri, '') = '1';
    DECLARE v_hasil VARCHAR(20);
    DECLARE v_pesan VARCHAR(100);
    DECLARE v_ket VARCHAR(200);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        RESIGNAL;
    END;
    CALL kinerja_wajib_admin_system();
    IF var_id REGEXP '^[0-9]{1,19}$' THEN
        SELECT kode_jabatan_plt INTO v_kode FROM plt WHERE id = var_id;
    END IF;
    IF v_kode IS NULL THEN
        CALL kinerja_tolak('Penugasan tidak ditemukan');
    END IF;
    START TRANSACTION;
    SELECT kode_jabatan INTO v_kunci FROM jabatan WHERE kode_jabatan = v_kode FOR UPDATE;
    SELECT id, nip, jenis, plt_start, plt_end INTO v_id, v_nip, v_jenis, v_start, v_lama
      FROM plt WHERE id = var_id FOR UPDATE;
    CALL kinerja_plt_periksa(COALESCE(v_id, 0), NULL, NULL, NULL, NULL, var_plt_end, v_akhiri, v_hasil);
    IF v_id IS NULL OR v_hasil <> 'OK' THEN
        CALL kinerja_tolak(CONCAT('Perubahan ditolak: ', COALESCE(v_hasil, 'TIDAK ADA')));
    END IF;
    IF NOT v_akhiri THEN
        UPDATE plt SET plt_end = v_end WHERE id = v_id;
        SET v_ket = CONCAT('Tanggal akhir ', COALESCE(v_lama, '-'), ' -> ', COALESCE(v_end, '-'));
        SET v_pesan = 'Tanggal akhir penugasan diubah.';
    ELSEIF v_start < CURDATE() THEN
        UPDATE plt SET plt_end = CURDATE() - INTERVAL 1 DAY WHERE id = v_id;
        SET v_ket = CONCAT('Diakhiri ', CURDATE() - INTERVAL 1 DAY);
        SET v_pesan = 'Penugasan tidak berlaku lagi mulai hari ini.';
    ELSEIF v_start = CURDATE() THEN
        UPDATE plt SET plt_end = CURDATE() WHERE id = v_id;
        SET v_ket = CONCAT('Diakhiri ', CURDATE());
        SET v_pesan = 'Penugasan ini mulai hari ini: berlaku sampai akhir hari ini.';
    ELSE
        DELETE FROM plt WHERE id = v_id;
        SET v_ket = CONCAT('Dibatalkan, mulai ', v_start);
        SET v_pesan = 'Penugasan yang belum dimulai dibatalkan.';
    END IF;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'PLT - Ubah', NOW(),
            LEFT(CONCAT(v_jenis, ' ', v_kode, ' #', v_id, ': ', v_ket), 200), v_nip);
    COMMIT;
    SELECT v_pesan AS hasil;
END $$

DELIMITER ;
