-- Task dictionary: functional position ladder and verifiers.
-- Name fragments are matched literally (LOCATE, not LIKE): a "%" or "_"
-- that an administrator types is a character like any other.
SET NAMES utf8mb4;

DELIMITER $$

-- ---------------------------------------------------------------------------
-- Functional position ladder (read only; maintained on the server)
-- ---------------------------------------------------------------------------

-- Functional positions whose name contains the fragment, with their level
-- and the number of companion positions (above and below) on their ladder.
DROP PROCEDURE IF EXISTS kinerja_jf_ab_master_show $$
CREATE PROCEDURE kinerja_jf_ab_master_show(IN var_nama VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_nama, ''));
    CALL kinerja_wajib_login();
    SELECT k.kode, k.nama_jabatan AS jabatan, COALESCE(j.nama_jenjang, '') AS jenjang,
           CAST((SELECT COUNT(*) FROM jf_pendamping p WHERE p.kode_jabatan = k.kode) AS CHAR) AS jumlah
      FROM jabatan_kinerja k
      LEFT JOIN jenjang_jabatan j ON j.id = k.jenjang_id
     WHERE k.jenis_jabatan_id = 'fungsional' AND LOCATE(v_cari, k.nama_jabatan) > 0
     ORDER BY k.nama_jabatan, k.kode;
END $$

-- The companions of a functional position: those above first, then those
-- below, each by level.
DROP PROCEDURE IF EXISTS kinerja_jf_ab_detail_show $$
CREATE PROCEDURE kinerja_jf_ab_detail_show(IN var_kode VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_login();
    SELECT p.id, p.kode_pendamping AS kode, COALESCE(k.nama_jabatan, p.kode_pendamping) AS jabatan_pendamping,
           COALESCE(j.nama_jenjang, '') AS jenjang_pendamping
      FROM jf_pendamping p
      LEFT JOIN jabatan_kinerja k ON k.kode = p.kode_pendamping
      LEFT JOIN jenjang_jabatan j ON j.id = k.jenjang_id
     WHERE p.kode_jabatan = var_kode
     ORDER BY p.arah <> 'atas', j.kategori, j.urutan DESC, k.nama_jabatan, p.id;
END $$

-- ---------------------------------------------------------------------------
-- Dictionary verifiers: who checks the proposed task details of which
-- functional positions. Administrators of the level "Admin System" only.
-- ---------------------------------------------------------------------------

-- Verifiers whose NIP or name, or the name of one of whose verified
-- positions, contains the keyword; with the number of positions each
-- verifies (all of them, not only the matching ones).
DROP PROCEDURE IF EXISTS kinerja_verifikator_show $$
CREATE PROCEDURE kinerja_verifikator_show(IN var_keyword VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_keyword, ''));
    CALL kinerja_wajib_admin_system();
    SELECT v.nip, COALESCE(p.nama_lengkap, '') AS nama_lengkap, COALESCE(p.nama_jabatan, '') AS nama_jabatan,
           CAST(COUNT(*) AS CHAR) AS jumlah
      FROM verifikator_kamus v
      LEFT JOIN cache_pns p ON p.nip = v.nip
     WHERE v.nip IN (SELECT c.nip FROM verifikator_kamus c
                       LEFT JOIN cache_pns cp ON cp.nip = c.nip
                       LEFT JOIN jabatan_kinerja ck ON ck.kode = c.kode_jabatan
                      WHERE LOCATE(v_cari, c.nip) > 0 OR LOCATE(v_cari, COALESCE(cp.nama_lengkap, '')) > 0
                         OR LOCATE(v_cari, COALESCE(ck.nama_jabatan, '')) > 0)
     GROUP BY v.nip, p.nama_lengkap, p.nama_jabatan
     ORDER BY p.nama_lengkap, v.nip;
END $$

-- The functional positions a verifier verifies, with their level and the
-- number of task details in use under each.
DROP PROCEDURE IF EXISTS kinerja_verifikator_jabatan_show $$
CREATE PROCEDURE kinerja_verifikator_jabatan_show(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    SELECT v.id, v.kode_jabatan AS kode, COALESCE(k.nama_jabatan, v.kode_jabatan) AS nama_jabatan,
           COALESCE(j.nama_jenjang, '') AS jenjang,
           CAST((SELECT COUNT(*) FROM rincian_tugas r WHERE r.kode_jabatan = v.kode_jabatan AND r.aktif = 1) AS CHAR)
               AS jumlah_rincian
      FROM verifikator_kamus v
      LEFT JOIN jabatan_kinerja k ON k.kode = v.kode_jabatan
      LEFT JOIN jenjang_jabatan j ON j.id = k.jenjang_id
     WHERE v.nip = var_nip
     ORDER BY k.nama_jabatan, v.kode_jabatan;
END $$

-- A verifier's details: one row, none when the NIP verifies nothing.
DROP PROCEDURE IF EXISTS kinerja_verifikator_info $$
CREATE PROCEDURE kinerja_verifikator_info(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    SELECT v.nip, COALESCE(p.nama_lengkap, '') AS nama_lengkap,
           COALESCE(CONCAT(g.golongan, ' - ', g.pangkat), '') AS golongan,
           COALESCE(p.nama_jabatan, '') AS nama_jabatan, COALESCE(p.nama_unit, '') AS nama_unit,
           COALESCE(p.nama_induk, '') AS nama_induk, COALESCE(l.access_level, 'Belum terdaftar') AS level_akun,
           CAST(COUNT(*) AS CHAR) AS jumlah,
           GROUP_CONCAT(COALESCE(k.nama_jabatan, v.kode_jabatan) ORDER BY k.nama_jabatan SEPARATOR '\n')
               AS daftar_jabatan
      FROM verifikator_kamus v
      LEFT JOIN cache_pns p ON p.nip = v.nip
      LEFT JOIN golongan g ON g.id = p.golongan_id
      LEFT JOIN kinerja_user u ON u.nip = v.nip
      LEFT JOIN kinerja_level l ON l.id = u.level
      LEFT JOIN jabatan_kinerja k ON k.kode = v.kode_jabatan
     WHERE v.nip = var_nip
     GROUP BY v.nip, p.nama_lengkap, g.golongan, g.pangkat, p.nama_jabatan, p.nama_unit, p.nama_induk,
              l.access_level;
END $$

-- Functional positions a verifier does not verify yet whose name contains
-- the fragment: the choices for a new assignment.
DROP PROCEDURE IF EXISTS kinerja_verifikator_jabatan_pilih $$
CREATE PROCEDURE kinerja_verifikator_jabatan_pilih(IN var_nip VARCHAR(40), IN var_jabatan VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_cari VARCHAR(200) DEFAULT TRIM(COALESCE(var_jabatan, ''));
    CALL kinerja_wajib_admin_system();
    SELECT k.kode, k.nama_jabatan AS jabatan, COALESCE(j.nama_jenjang, '') AS jenjang
      FROM jabatan_kinerja k
      LEFT JOIN jenjang_jabatan j ON j.id = k.jenjang_id
     WHERE k.jenis_jabatan_id = 'fungsional' AND LOCATE(v_cari, k.nama_jabatan) > 0
       AND NOT EXISTS (SELECT 1 FROM verifikator_kamus v WHERE v.nip = var_nip AND v.kode_jabatan = k.kode)
     ORDER BY k.nama_jabatan, k.kode;
END $$

-- The log text naming a position: "Verifikator kamus: <name> (<code>)".
DROP FUNCTION IF EXISTS kinerja_fn_verifikator_keterangan $$
CREATE FUNCTION kinerja_fn_verifikator_keterangan(p_kode VARCHAR(40)) RETURNS VARCHAR(200)
    READS SQL DATA
BEGIN
    RETURN LEFT(CONCAT('Verifikator kamus: ',
                       COALESCE((SELECT nama_jabatan FROM jabatan_kinerja WHERE kode = p_kode), p_kode),
                       ' (', p_kode, ')'), 200);
END $$

-- Assigns a functional position to a verifier, who must be an active civil
-- servant (the NIP without blanks around it). The verifier's row is locked, so two administrators acting on
-- one verifier queue; a position already assigned is refused. Not held
-- back by maintenance: administrators set the system up during it.
DROP PROCEDURE IF EXISTS kinerja_verifikator_jabatan_tambah $$
-- A candidate verifier by NIP: the active civil servant's NIP, name and
-- position; no row for a NIP of nobody serving.
DROP PROCEDURE IF EXISTS kinerja_verifikator_calon $$
CREATE PROCEDURE kinerja_verifikator_calon(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    SELECT nip, nama_lengkap, nama_jabatan FROM cache_pns WHERE nip = TRIM(var_nip) AND status_pns = 'aktif';
END $$

CREATE PROCEDURE kinerja_verifikator_jabatan_tambah(IN var_nip VARCHAR(40), IN var_kode VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_nip CHAR(18) DEFAULT NULL;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_wajib_admin_system();
    IF NOT EXISTS (SELECT 1 FROM jabatan_kinerja WHERE kode = var_kode AND jenis_jabatan_id = 'fungsional') THEN
        CALL kinerja_tolak('Bukan jabatan fungsional');
    END IF;
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT nip INTO v_nip FROM cache_pns WHERE nip = TRIM(var_nip) AND status_pns = 'aktif' FOR UPDATE;
    IF v_nip IS NULL THEN
        CALL kinerja_tolak('PNS tidak dikenal');
    END IF;
    IF EXISTS (SELECT 1 FROM verifikator_kamus WHERE nip = v_nip AND kode_jabatan = var_kode) THEN
        CALL kinerja_tolak('Jabatan sudah diverifikasi PNS ini');
    END IF;
    INSERT INTO verifikator_kamus (nip, kode_jabatan) VALUES (v_nip, var_kode);
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Verifikator Kamus - Tambah', NOW(), kinerja_fn_verifikator_keterangan(var_kode),
            v_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

-- Takes a functional position away from a verifier; one that is not
-- assigned is refused, since nothing would change.
DROP PROCEDURE IF EXISTS kinerja_verifikator_jabatan_hapus $$
CREATE PROCEDURE kinerja_verifikator_jabatan_hapus(IN var_nip VARCHAR(40), IN var_kode VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_sendiri TINYINT DEFAULT @@in_transaction = 0;
    DECLARE v_id INT UNSIGNED DEFAULT NULL;
    DECLARE v_nip CHAR(18);
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        IF v_sendiri THEN
            ROLLBACK;
        END IF;
        RESIGNAL;
    END;

    CALL kinerja_wajib_admin_system();
    IF v_sendiri THEN
        START TRANSACTION;
    END IF;
    SELECT id, nip INTO v_id, v_nip FROM verifikator_kamus
     WHERE nip = TRIM(var_nip) AND kode_jabatan = var_kode FOR UPDATE;
    IF v_id IS NULL THEN
        CALL kinerja_tolak('Jabatan tidak diverifikasi PNS ini');
    END IF;
    DELETE FROM verifikator_kamus WHERE id = v_id;
    INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan, target)
    VALUES (kinerja_fn_pemanggil_nip(), 'Verifikator Kamus - Hapus', NOW(), kinerja_fn_verifikator_keterangan(var_kode),
            v_nip);
    IF v_sendiri THEN
        COMMIT;
    END IF;
END $$

DELIMITER ;
