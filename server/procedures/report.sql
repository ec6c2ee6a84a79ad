-- The printable monthly activity report of one civil servant, as the
-- regional offices file it. The percentages come from kinerja_progress_get,
-- as on the dashboard; this procedure gives everything else.
SET NAMES utf8mb4;

DELIMITER $$

-- Two results for a servant and a period ("yyyymm"):
-- 1. one header row: the regency, agency, unit, name, NIP, rank, position,
--    the period in words, the direct superior (name, NIP, position) as the
--    signature block names them, the counts of the month's activities per
--    type, and the minutes of the hourly progress figures (target,
--    recognised in all and per type; NULL while none are computed);
-- 2. the month's activities by day, oldest first, with their status words.
-- Only the servant and the direct superior may print it: the superior two
-- levels up validates, but files no report for someone else's staff.
DROP PROCEDURE IF EXISTS kinerja_laporan_bulanan $$
CREATE PROCEDURE kinerja_laporan_bulanan(IN var_nip VARCHAR(40), IN var_periode VARCHAR(10))
    READS SQL DATA
BEGIN
    DECLARE v_pemanggil VARCHAR(18) DEFAULT kinerja_fn_pemanggil_nip();
    DECLARE v_nip VARCHAR(40) DEFAULT TRIM(COALESCE(var_nip, ''));
    DECLARE v_atasan CHAR(18) DEFAULT NULL;
    DECLARE v_awal DATETIME;
    DECLARE v_akhir DATETIME;
    IF v_pemanggil IS NULL THEN
        CALL kinerja_wajib_login();
    END IF;
    IF v_pemanggil <> v_nip THEN
        CALL kinerja_wajib_atasan(v_nip, 1);
    END IF;
    IF var_periode IS NULL OR var_periode NOT REGEXP '^[0-9]{4}(0[1-9]|1[0-2])$' THEN
        CALL kinerja_tolak('Periode tidak valid');
    END IF;
    IF NOT EXISTS (SELECT 1 FROM cache_pns WHERE nip = v_nip) THEN
        CALL kinerja_tolak('PNS tidak dikenal');
    END IF;
    SET v_atasan = kinerja_fn_atasan_nip(v_nip);
    SET v_awal = STR_TO_DATE(CONCAT(var_periode, '01'), '%Y%m%d');
    SET v_akhir = v_awal + INTERVAL 1 MONTH;
    -- by the server's clock, whatever the client's says
    IF v_awal > CURDATE() THEN
        CALL kinerja_tolak('Periode belum berjalan');
    END IF;

    SELECT COALESCE(NULLIF(TRIM(kinerja_fn_setting('nama_pemerintah_daerah')), ''),
                    'Pemerintah Kabupaten Kelordan') AS nama_pemda,
           COALESCE(NULLIF(TRIM(kinerja_fn_setting('tempat_laporan')), ''), 'Kelordan') AS tempat,
           CONCAT(DAY(CURDATE()), ' ', ELT(MONTH(CURDATE()), 'Januari', 'Februari', 'Maret', 'April', 'Mei', 'Juni',
                                           'Juli', 'Agustus', 'September', 'Oktober', 'November', 'Desember'),
                  ' ', YEAR(CURDATE())) AS tanggal_cetak,
           TRIM(p.nama_induk) AS nama_induk, p.nama_unit, p.nama_lengkap, p.nip,
           COALESCE(CONCAT(g.pangkat, ' (', g.golongan, ')'), '-') AS pangkat,
           p.nama_jabatan,
           var_periode AS periode,
           CONCAT(ELT(MONTH(v_awal), 'Januari', 'Februari', 'Maret', 'April', 'Mei', 'Juni', 'Juli', 'Agustus',
                      'September', 'Oktober', 'November', 'Desember'), ' ', YEAR(v_awal)) AS periode_x,
           COALESCE(a.nama_lengkap, '') AS nama_atasan, COALESCE(a.nip, '') AS nip_atasan,
           COALESCE(a.nama_jabatan, '') AS jabatan_atasan,
           CAST(n.utama AS CHAR) AS jumlah_utama, CAST(n.tambahan AS CHAR) AS jumlah_tambahan,
           CAST(n.lainnya AS CHAR) AS jumlah_lainnya, CAST(n.semua AS CHAR) AS jumlah_aktivitas,
           -- minutes as plain numbers (480, not 480.00)
           CAST(k.target_menit AS CHAR) AS target_menit,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM k.menit_diakui)) AS menit_diakui,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM k.menit_all)) AS menit_all,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM k.menit_utama)) AS menit_utama,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM k.menit_tambahan)) AS menit_tambahan,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM k.menit_lainnya)) AS menit_lainnya,
           DATE_FORMAT(k.tanggal_progress, '%Y-%m-%d %H:%i:%s') AS tanggal_progress
      FROM cache_pns p
      LEFT JOIN golongan g ON g.id = p.golongan_id
      LEFT JOIN cache_pns a ON a.nip = v_atasan
      LEFT JOIN kinerja_progress k ON k.nip = p.nip AND k.periode = var_periode
      -- the servant's month: one range of the primary key
      CROSS JOIN (SELECT COALESCE(SUM(jenis_jabatan = 'Utama'), 0) AS utama,
                         COALESCE(SUM(jenis_jabatan = 'Tambahan'), 0) AS tambahan,
                         COALESCE(SUM(jenis_jabatan = 'Lainnya'), 0) AS lainnya,
                         COUNT(*) AS semua
                    FROM aktivitas
                   WHERE nip = v_nip AND tanggal_aktivitas >= v_awal AND tanggal_aktivitas < v_akhir) n
     WHERE p.nip = v_nip;

    SELECT DATE_FORMAT(a.tanggal_aktivitas, '%Y-%m-%d') AS tanggal_aktivitas, a.jenis_jabatan, a.rincian_tugas,
           a.deskripsi, CAST(a.volume AS CHAR) AS volume, a.satuan, CAST(a.bobot_skr AS CHAR) AS bobot_skr,
           COALESCE(s.status_deskripsi, a.status) AS status_deskripsi
      FROM aktivitas a
      LEFT JOIN aktivitas_status s ON s.kode = a.status
     WHERE a.nip = v_nip AND a.tanggal_aktivitas >= v_awal AND a.tanggal_aktivitas < v_akhir
     ORDER BY a.tanggal_aktivitas, a.id;
END $$

DELIMITER ;
