-- Monitoring of superiors for the administrators of the level "Admin
-- System": who leaves the work of subordinates unchecked, or rejects much of it.
SET NAMES utf8mb4;

DELIMITER $$

-- The share of rejections (percent) from which a direct superior counts as
-- rejecting often, and the fewest verified activities that share needs.
DROP FUNCTION IF EXISTS kinerja_fn_supervisi_tolak_persen $$
CREATE FUNCTION kinerja_fn_supervisi_tolak_persen() RETURNS INT
    DETERMINISTIC NO SQL
BEGIN
    RETURN 30;
END $$

DROP FUNCTION IF EXISTS kinerja_fn_supervisi_tolak_minimal $$
CREATE FUNCTION kinerja_fn_supervisi_tolak_minimal() RETURNS INT
    DETERMINISTIC NO SQL
BEGIN
    RETURN 10;
END $$

-- The rules above as the page states them.
DROP PROCEDURE IF EXISTS kinerja_supervisi_ambang $$
CREATE PROCEDURE kinerja_supervisi_ambang()
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_admin_system();
    SELECT CAST(kinerja_fn_supervisi_tolak_persen() AS CHAR) AS tolak_persen,
           CAST(kinerja_fn_supervisi_tolak_minimal() AS CHAR) AS tolak_minimal,
           CAST(kinerja_fn_setting_angka('aktivitas_verifikasi_day_max', 5) AS CHAR) AS hari_verifikasi,
           CAST(kinerja_fn_setting_angka('aktivitas_validasi_day_max', 5) AS CHAR) AS hari_validasi;
END $$

-- Superiors who show the behaviours named in the "x,..." list, among the
-- activities put in on the days of the range (both ends included):
--   verifikasi  direct superiors (as recorded at input) who left activities
--               unverified past the verification window: still unverified
--               with the window closed, or approved by the system only after
--               it closed; with the number and the oldest day of input;
--   penolakan   direct superiors who rejected at least the share above of
--               the activities they verified (and verified at least the
--               number above); with rejected, verified and the share;
--   validasi    superiors two levels up (as recorded at input) who left
--               verified activities unvalidated past the validation window;
--               with the number and the oldest day of verification.
-- Each finding reads one range of the index on (status, day of input), which
-- holds every column the findings need; the hint keeps the optimizer from
-- walking a superior's index in GROUP BY order instead, with a row lookup
-- each. The windows are the settings the verification and validation
-- themselves apply.
DROP PROCEDURE IF EXISTS kinerja_supervisi_monitoring $$
CREATE PROCEDURE kinerja_supervisi_monitoring(IN var_tanggal_awal VARCHAR(40), IN var_tanggal_akhir VARCHAR(40),
                                              IN var_jenis VARCHAR(200))
    READS SQL DATA
BEGIN
    DECLARE v_awal DATETIME DEFAULT DATE(kinerja_fn_tanggal(var_tanggal_awal));
    DECLARE v_akhir DATETIME DEFAULT DATE(kinerja_fn_tanggal(var_tanggal_akhir)) + INTERVAL 1 DAY;
    DECLARE v_jenis VARCHAR(200) DEFAULT COALESCE(var_jenis, 'x');
    DECLARE v_hari_verifikasi INT DEFAULT kinerja_fn_setting_angka('aktivitas_verifikasi_day_max', 5);
    DECLARE v_hari_validasi INT DEFAULT kinerja_fn_setting_angka('aktivitas_validasi_day_max', 5);
    -- As the windows count: closed once the day lies more days back than allowed.
    DECLARE v_batas_verifikasi DATETIME DEFAULT CURDATE() - INTERVAL v_hari_verifikasi DAY;
    DECLARE v_batas_validasi DATETIME DEFAULT CURDATE() - INTERVAL v_hari_validasi DAY;
    DECLARE v_persen INT DEFAULT kinerja_fn_supervisi_tolak_persen();
    DECLARE v_minimal INT DEFAULT kinerja_fn_supervisi_tolak_minimal();
    DECLARE v_verifikasi TINYINT DEFAULT FIND_IN_SET('verifikasi', v_jenis) > 0;
    DECLARE v_penolakan TINYINT DEFAULT FIND_IN_SET('penolakan', v_jenis) > 0;
    DECLARE v_validasi TINYINT DEFAULT FIND_IN_SET('validasi', v_jenis) > 0;

    CALL kinerja_wajib_admin_system();
    IF v_awal IS NULL OR v_akhir IS NULL THEN
        CALL kinerja_tolak('Tanggal tidak valid');
    END IF;
    IF v_akhir <= v_awal THEN
        CALL kinerja_tolak('Tanggal akhir sebelum tanggal awal');
    END IF;

    SELECT t.nip, COALESCE(p.nama_lengkap, '') AS nama_lengkap, COALESCE(p.nama_jabatan, '') AS nama_jabatan,
           COALESCE(IF(p.unit_id = p.induk_id, p.nama_induk, CONCAT(p.nama_unit, ' - ', p.nama_induk)), '')
               AS nama_unit,
           t.temuan, CAST(t.jumlah AS CHAR) AS jumlah, t.dari, t.persen, t.terlama
      FROM (SELECT 1 AS urut, 'Tidak memverifikasi' AS temuan, a.nip_atasan1 AS nip, COUNT(*) AS jumlah,
                   '' AS dari, '' AS persen, DATE_FORMAT(MIN(a.tanggal_input), '%Y-%m-%d') AS terlama
              FROM aktivitas a FORCE INDEX (ix_akt_status_input)
             WHERE v_verifikasi AND a.status IN ('0', 'accepted_by_system')
               AND a.tanggal_input >= v_awal AND a.tanggal_input < v_akhir
               AND IF(a.status = '0', a.tanggal_input < v_batas_verifikasi,
                      DATEDIFF(a.tanggal_status, a.tanggal_input) > v_hari_verifikasi)
             GROUP BY a.nip_atasan1
            UNION ALL
            SELECT 2, 'Sering menolak', a.nip_verifikator, SUM(a.status = 'rejected'), CAST(COUNT(*) AS CHAR),
                   FORMAT(100 * SUM(a.status = 'rejected') / COUNT(*), 1, 'id_ID'), ''
              FROM aktivitas a FORCE INDEX (ix_akt_status_input)
             WHERE v_penolakan AND a.status IN ('accepted', 'rejected')
               AND a.tanggal_input >= v_awal AND a.tanggal_input < v_akhir AND a.nip_verifikator IS NOT NULL
             GROUP BY a.nip_verifikator
            HAVING COUNT(*) >= v_minimal AND SUM(a.status = 'rejected') * 100 >= v_persen * COUNT(*)
            UNION ALL
            SELECT 3, 'Tidak memvalidasi', a.nip_atasan2, COUNT(*), '', '',
                   DATE_FORMAT(MIN(a.tanggal_status), '%Y-%m-%d')
              FROM aktivitas a FORCE INDEX (ix_akt_status_input)
             WHERE v_validasi AND a.status IN ('accepted', 'rejected')
               AND a.tanggal_input >= v_awal AND a.tanggal_input < v_akhir
               AND a.tanggal_validasi IS NULL AND a.tanggal_status < v_batas_validasi AND a.nip_atasan2 <> ''
             GROUP BY a.nip_atasan2) t
      LEFT JOIN cache_pns p ON p.nip = t.nip
     ORDER BY t.urut, t.jumlah DESC, p.nama_lengkap, t.nip;
END $$

DELIMITER ;
