-- Delegation of supervision: a functional official of the levels Muda,
-- Madya and Utama, who by the position map answers to the head of the
-- agency, is supervised by the head of an administrator-level unit of the
-- same agency instead. The superior rule kinerja_fn_atasan_nip
-- (functions.sql) reads table delegasi: a delegation is in force from
-- date_start (the moment it was stored) through the whole day of date_end
-- (open while NULL), and that same test decides "AKTIF" here.
-- "Admin System" acts everywhere, "Admin SKPD" within its own agency;
-- "Admin Sektira" may read the delegations of its own agency but changes
-- nothing. Refusals are SIGNAL SQLSTATE '45000'.
SET NAMES utf8mb4;

DELIMITER $$

-- Refuses unless the bound caller may act on the delegations of the agency
-- p_induk: "Admin System" anywhere (p_induk may then be NULL: all
-- agencies), "Admin SKPD" in its own agency, "Admin Sektira" there too but
-- only to read (p_ubah = 0). Levels compare exactly, as the client does.
DROP PROCEDURE IF EXISTS kinerja_delegasi_wajib_admin $$
CREATE PROCEDURE kinerja_delegasi_wajib_admin(IN p_induk VARCHAR(40), IN p_ubah TINYINT)
    READS SQL DATA
BEGIN
    DECLARE v_nip VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_level VARCHAR(40) DEFAULT NULL;
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    IF v_nip IS NULL THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Belum login';
    END IF;
    SELECT l.access_level, p.induk_id INTO v_level, v_induk
      FROM kinerja_user u
      JOIN kinerja_level l ON l.id = u.level
      LEFT JOIN cache_pns p ON p.nip = u.nip
     WHERE u.nip = v_nip;
    IF NOT (BINARY v_level <=> 'Admin System') THEN
        IF NOT (BINARY v_level <=> 'Admin SKPD' OR (p_ubah = 0 AND BINARY v_level <=> 'Admin Sektira')) THEN
            CALL kinerja_tolak('Bukan admin delegasi');
        END IF;
        IF p_induk IS NULL OR NOT (v_induk <=> p_induk) THEN
            CALL kinerja_tolak('Di luar SKPD pengguna ini');
        END IF;
    END IF;
END $$

-- A note text of the server by its number: id and text (second column).
DROP PROCEDURE IF EXISTS kinerja_text_get $$
CREATE PROCEDURE kinerja_text_get(IN var_id VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_login();
    SELECT CAST(t.id AS CHAR) AS id, t.isi, t.judul
      FROM kinerja_text t
     WHERE var_id REGEXP '^[0-9]{1,9}$' AND t.id = CAST(var_id AS UNSIGNED);
END $$

-- ---------------------------------------------------------------------------
-- Delegation list
-- ---------------------------------------------------------------------------

-- The delegations of one agency (all agencies when p_induk is NULL) whose
-- official's NIP or name contains the fragment; those in force first, then
-- the newest. The receiving unit is named by its head's position, as the
-- wizard shows it.
DROP PROCEDURE IF EXISTS kinerja_delegasi_daftar $$
CREATE PROCEDURE kinerja_delegasi_daftar(IN p_induk VARCHAR(40), IN p_nama VARCHAR(200))
    READS SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(p_nama, ''));
    SELECT CAST(d.id AS CHAR) AS id, d.nip, COALESCE(p.nama_lengkap, '') AS nama_lengkap,
           COALESCE(p.nama_jabatan, '') AS nama_jabatan, COALESCE(p.nama_unit, '') AS nama_unit_definitif,
           COALESCE(j.nama_jabatan, u.nama_unit, d.unit_id) AS nama_unit_delegasi,
           DATE_FORMAT(d.date_start, '%Y-%m-%d') AS date_start,
           COALESCE(DATE_FORMAT(d.date_end, '%Y-%m-%d'), '') AS date_end,
           IF(d.date_start <= NOW() AND (d.date_end IS NULL OR d.date_end >= CURDATE()), 'AKTIF', 'TIDAK AKTIF')
               AS status_aktif,
           d.created_by
      FROM delegasi d
      LEFT JOIN cache_pns p ON p.nip = d.nip
      LEFT JOIN unit u ON u.id = d.unit_id
      LEFT JOIN jabatan j ON j.kode_jabatan = u.kode_jabatan_kepala
     WHERE (p_induk IS NULL OR d.induk_id = p_induk)
       AND (v_cari = '' OR LOCATE(v_cari, d.nip) > 0 OR LOCATE(v_cari, p.nama_lengkap) > 0)
     ORDER BY status_aktif = 'AKTIF' DESC, d.date_start DESC, d.id DESC;
END $$

DROP PROCEDURE IF EXISTS kinerja_delegasi_tampil_data_all $$
CREATE PROCEDURE kinerja_delegasi_tampil_data_all(IN var_nama VARCHAR(200))
    READS SQL DATA
BEGIN
    CALL kinerja_delegasi_wajib_admin(NULL, 0);
    CALL kinerja_delegasi_daftar(NULL, var_nama);
END $$

DROP PROCEDURE IF EXISTS kinerja_delegasi_tampil_data $$
CREATE PROCEDURE kinerja_delegasi_tampil_data(IN var_induk VARCHAR(40), IN var_nama VARCHAR(200))
    READS SQL DATA
BEGIN
    CALL kinerja_delegasi_wajib_admin(var_induk, 0);
    CALL kinerja_delegasi_daftar(var_induk, var_nama);
END $$

-- ---------------------------------------------------------------------------
-- Wizard: officials and receiving units
-- ---------------------------------------------------------------------------

-- Active functional officials of the levels Muda, Madya and Utama of one
-- agency (all when p_induk is NULL) whose NIP or name contains the
-- fragment, with their delegation state: "AKTIF" while one is in force,
-- "TIDAK AKTIF" when all have ended, empty when there never was one.
DROP PROCEDURE IF EXISTS kinerja_delegasi_jf_daftar $$
CREATE PROCEDURE kinerja_delegasi_jf_daftar(IN p_induk VARCHAR(40), IN p_nama VARCHAR(200))
    READS SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(p_nama, ''));
    SELECT p.nip, p.nama_lengkap,
           CASE WHEN EXISTS (SELECT 1 FROM delegasi d
                              WHERE d.nip = p.nip AND d.date_start <= NOW()
                                AND (d.date_end IS NULL OR d.date_end >= CURDATE())) THEN 'AKTIF'
                WHEN EXISTS (SELECT 1 FROM delegasi d WHERE d.nip = p.nip) THEN 'TIDAK AKTIF'
                ELSE '' END AS delegasi_status,
           p.nama_jabatan, g.nama_jenjang AS jenjang, p.nama_induk, p.induk_id
      FROM jabatan j
      JOIN jenjang_jabatan g ON g.id = j.jenjang_id
      JOIN cache_pns p ON p.kode_jabatan = j.kode_jabatan
     WHERE j.jenis_jabatan_id = 'fungsional' AND g.kategori = 'keahlian' AND g.urutan >= 2
       AND (p_induk IS NULL OR j.induk_id = p_induk)
       AND p.status_pns = 'aktif'
       AND (v_cari = '' OR LOCATE(v_cari, p.nip) > 0 OR LOCATE(v_cari, p.nama_lengkap) > 0)
     ORDER BY p.nama_induk, p.nama_lengkap, p.nip;
END $$

DROP PROCEDURE IF EXISTS kinerja_jf_muda_keatas_all $$
CREATE PROCEDURE kinerja_jf_muda_keatas_all(IN var_nama VARCHAR(200))
    READS SQL DATA
BEGIN
    CALL kinerja_delegasi_wajib_admin(NULL, 1);
    CALL kinerja_delegasi_jf_daftar(NULL, var_nama);
END $$

DROP PROCEDURE IF EXISTS kinerja_jf_muda_keatas_per_induk $$
CREATE PROCEDURE kinerja_jf_muda_keatas_per_induk(IN var_nama VARCHAR(200), IN var_induk VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_delegasi_wajib_admin(var_induk, 1);
    CALL kinerja_delegasi_jf_daftar(var_induk, var_nama);
END $$

-- The administrator-level units of an agency (units whose head holds a
-- position of class "2", Jabatan Administrator) whose head's position or
-- unit name contains the fragment. Each is shown by its head's position
-- with the official who holds it, or who acts in it while it is vacant.
DROP PROCEDURE IF EXISTS kinerja_delegasi_pilih_unit $$
CREATE PROCEDURE kinerja_delegasi_pilih_unit(IN var_induk VARCHAR(40), IN var_nama VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    CALL kinerja_delegasi_wajib_admin(var_induk, 1);
    SELECT u.induk_id, u.id AS unit_id, j.nama_jabatan AS nama_unit,
           COALESCE((SELECT c.nama_lengkap FROM cache_pns c
                      WHERE c.kode_jabatan = j.kode_jabatan AND c.status_pns = 'aktif'
                      ORDER BY c.nip LIMIT 1),
                    (SELECT CONCAT(IF(t.jenis = 'plh', 'Plh. ', 'Plt. '), c.nama_lengkap) FROM plt t
                       JOIN cache_pns c ON c.nip = t.nip
                      WHERE t.kode_jabatan_plt = j.kode_jabatan AND t.plt_start <= CURDATE()
                        AND (t.plt_end IS NULL OR t.plt_end >= CURDATE())
                      ORDER BY t.plt_start DESC, t.id DESC LIMIT 1),
                    '-') AS nama_lengkap
      FROM unit u
      JOIN jabatan j ON j.kode_jabatan = u.kode_jabatan_kepala
     WHERE u.induk_id = var_induk AND j.kode_klasifikasi = '2'
       AND (v_cari = '' OR LOCATE(v_cari, j.nama_jabatan) > 0 OR LOCATE(v_cari, u.nama_unit) > 0)
     ORDER BY j.nama_jabatan, u.id;
END $$

-- ---------------------------------------------------------------------------
-- Changes
-- ---------------------------------------------------------------------------

-- Records a delegation from now on, open-ended, entered by var_by (the
-- caller). The official's row is locked first, so two administrators adding
-- one at once cannot both pass the "one delegation in force" rule: the
-- second waits and then finds the first.
DROP PROCEDURE IF EXISTS kinerja_delegasi_tambah $$
CREATE PROCEDURE kinerja_delegasi_tambah(IN var_induk VARCHAR(40), IN var_unit VARCHAR(40), IN var_nip VARCHAR(40),
                                         IN var_by VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_ada CHAR(18) DEFAULT NULL;
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    DECLARE v_kode VARCHAR(20) DEFAULT NULL;
    DECLARE v_aktif BIGINT UNSIGNED DEFAULT NULL;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    CALL kinerja_wajib_pemanggil(var_by);
    CALL kinerja_delegasi_wajib_admin(var_induk, 1);
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT nip, induk_id, kode_jabatan INTO v_ada, v_induk, v_kode
      FROM cache_pns WHERE nip = var_nip AND status_pns = 'aktif' FOR UPDATE;
    IF v_ada IS NULL THEN
        CALL kinerja_tolak('PNS tidak dikenal');
    END IF;
    -- On a cluster the lock above holds only on this node: writing the
    -- servant's kinerja_pns_tulis row makes a rival on another node fail at
    -- commit (1213) instead of passing the same check.
    INSERT INTO kinerja_pns_tulis (nip, versi) VALUES (v_ada, 1) ON DUPLICATE KEY UPDATE versi = versi + 1;
    IF NOT (v_induk <=> var_induk) THEN
        CALL kinerja_tolak('PNS bukan dari SKPD ini');
    END IF;
    IF NOT EXISTS (SELECT 1 FROM jabatan j JOIN jenjang_jabatan g ON g.id = j.jenjang_id
                    WHERE j.kode_jabatan = v_kode AND j.jenis_jabatan_id = 'fungsional'
                      AND g.kategori = 'keahlian' AND g.urutan >= 2) THEN
        CALL kinerja_tolak('Bukan pejabat fungsional jenjang Muda ke atas');
    END IF;
    IF NOT EXISTS (SELECT 1 FROM unit u JOIN jabatan j ON j.kode_jabatan = u.kode_jabatan_kepala
                    WHERE u.id = var_unit AND u.induk_id = v_induk AND j.kode_klasifikasi = '2') THEN
        CALL kinerja_tolak('Bukan unit administrator SKPD ini');
    END IF;
    -- A locking read: it sees what a transaction that held the lock before
    -- us has committed.
    SELECT id INTO v_aktif FROM delegasi
     WHERE nip = v_ada AND (date_end IS NULL OR date_end >= CURDATE()) LIMIT 1 FOR UPDATE;
    IF v_aktif IS NOT NULL THEN
        CALL kinerja_tolak('Delegasi PNS ini masih aktif');
    END IF;
    INSERT INTO delegasi (nip, induk_id, unit_id, date_start, date_end, created_by, created_at)
    VALUES (v_ada, v_induk, var_unit, NOW(), NULL, var_by, NOW());
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (var_by, 'Delegasi - Tambah', NOW(), CONCAT('Unit ', var_unit), v_ada);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- Whether an end date may be given to the official's delegation in force:
-- "INVALID" for a date that is unreadable or lies before the start,
-- "TIDAK AKTIF" when no delegation is in force, "SAMA" for the end date it
-- already has (the change is refused in both cases), "VALID" otherwise.
-- The administrator is checked against the delegation's own agency, the one
-- the list shows it under (the official may have moved since), or the
-- official's when none is in force.
DROP PROCEDURE IF EXISTS kinerja_delegasi_tanggal_cek $$
CREATE PROCEDURE kinerja_delegasi_tanggal_cek(IN var_nip VARCHAR(40), IN var_tanggal VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_tanggal DATETIME DEFAULT kinerja_fn_tanggal(var_tanggal);
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    DECLARE v_mulai DATETIME DEFAULT NULL;
    DECLARE v_akhir DATETIME DEFAULT NULL;
    SELECT date_start, date_end, induk_id INTO v_mulai, v_akhir, v_induk FROM delegasi
     WHERE nip = var_nip AND date_start <= NOW() AND (date_end IS NULL OR date_end >= CURDATE())
     ORDER BY date_start DESC, id DESC LIMIT 1;
    IF v_mulai IS NULL THEN
        SELECT induk_id INTO v_induk FROM cache_pns WHERE nip = var_nip;
    END IF;
    CALL kinerja_delegasi_wajib_admin(v_induk, 1);
    SELECT CASE WHEN v_tanggal IS NULL OR DATE(v_tanggal) < DATE(v_mulai) THEN 'INVALID'
                WHEN v_mulai IS NULL THEN 'TIDAK AKTIF'
                WHEN DATE(v_akhir) <=> DATE(v_tanggal) THEN 'SAMA'
                ELSE 'VALID' END AS tanggal_status;
END $$

-- Sets the end date of the official's delegation in force, under a lock on
-- the official's row, for an administrator of the delegation's own agency
-- (as the check above). An ended delegation is never changed, an end date
-- before the start is refused, and so is a date it already has (nothing
-- would change).
DROP PROCEDURE IF EXISTS kinerja_delegasi_tanggal_update $$
CREATE PROCEDURE kinerja_delegasi_tanggal_update(IN var_nip VARCHAR(40), IN var_tanggal VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_tanggal DATE DEFAULT DATE(kinerja_fn_tanggal(var_tanggal));
    DECLARE v_ada CHAR(18) DEFAULT NULL;
    DECLARE v_induk VARCHAR(20) DEFAULT NULL;
    DECLARE v_id BIGINT UNSIGNED DEFAULT NULL;
    DECLARE v_mulai DATETIME DEFAULT NULL;
    DECLARE v_akhir DATETIME DEFAULT NULL;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_cek_maintenance();
    -- an administrator first, whatever the agency: nothing is locked for a
    -- caller who may change no delegation
    CALL kinerja_delegasi_wajib_admin((SELECT induk_id FROM kinerja_user u JOIN cache_pns p ON p.nip = u.nip
                                        WHERE u.nip = kinerja_fn_pemanggil_nip()), 1);
    IF v_tanggal IS NULL THEN
        CALL kinerja_tolak('Tanggal tidak valid');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT nip INTO v_ada FROM cache_pns WHERE nip = var_nip FOR UPDATE;
    IF v_ada IS NOT NULL THEN
        SELECT id, date_start, date_end, induk_id INTO v_id, v_mulai, v_akhir, v_induk FROM delegasi
         WHERE nip = v_ada AND date_start <= NOW() AND (date_end IS NULL OR date_end >= CURDATE())
         ORDER BY date_start DESC, id DESC LIMIT 1 FOR UPDATE;
    END IF;
    IF v_id IS NULL THEN
        CALL kinerja_tolak('Tidak ada delegasi aktif');
    END IF;
    CALL kinerja_delegasi_wajib_admin(v_induk, 1);
    IF v_tanggal < DATE(v_mulai) THEN
        CALL kinerja_tolak('Tanggal selesai sebelum tanggal mulai');
    END IF;
    IF v_akhir IS NOT NULL AND DATE(v_akhir) = v_tanggal THEN
        CALL kinerja_tolak('Tanggal selesai tidak berubah');
    END IF;
    UPDATE delegasi SET date_end = v_tanggal WHERE id = v_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Delegasi - Ubah', NOW(),
            CONCAT('Tanggal selesai ', DATE_FORMAT(v_tanggal, '%Y-%m-%d')), v_ada);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

DELIMITER ;
