-- Scale data for benchmarks: one executor with as many activities as asked,
-- spread over the past year in the order they would have been recorded. Load into a scratch schema only, never into a
-- production one:  CALL kinerja_skala_isi(50000);
SET NAMES utf8mb4;

DELIMITER $$

DROP PROCEDURE IF EXISTS kinerja_skala_isi $$
CREATE PROCEDURE kinerja_skala_isi(IN p_jumlah INT)
    MODIFIES SQL DATA
BEGIN
    SET SESSION max_recursive_iterations = GREATEST(p_jumlah, 1000);
    INSERT IGNORE INTO unit (id, nama_unit, induk_id, parent_id, kode_jabatan_kepala)
    VALUES ('SKALA', 'Unit Uji Skala', NULL, NULL, 'J-SKALA-1');
    INSERT IGNORE INTO jabatan_kinerja (kode, nama_jabatan, jenis_jabatan_id)
    VALUES ('JP-SKALA', 'Pengadministrasi Uji Skala', 'pelaksana');
    INSERT IGNORE INTO jabatan (kode_jabatan, nama_jabatan, jenis_jabatan_id, kelas_jabatan, unit_id, induk_id,
                                atasan_kode_jabatan, kode_jabatan_kinerja, kode_klasifikasi)
    VALUES ('J-SKALA-1', 'Kepala Unit Uji Skala', 'struktural', 12, 'SKALA', 'SKALA', NULL, NULL, '2'),
           ('J-SKALA-2', 'Pengadministrasi Uji Skala', 'pelaksana', 5, 'SKALA', 'SKALA', 'J-SKALA-1', 'JP-SKALA', '8');
    INSERT IGNORE INTO cache_pns (nip, nama_lengkap, golongan_id, kode_jabatan, jenis_jabatan_id, nama_jabatan,
                                  kelas_jabatan, unit_id, nama_unit, induk_id, nama_induk)
    VALUES ('190001012000011001', 'Kepala Skala', '41', 'J-SKALA-1', 'struktural', 'Kepala Unit Uji Skala', 12,
            'SKALA', 'Unit Uji Skala', 'SKALA', 'Unit Uji Skala'),
           ('190001012000011002', 'Pelaksana Skala', '23', 'J-SKALA-2', 'pelaksana', 'Pengadministrasi Uji Skala', 5,
            'SKALA', 'Unit Uji Skala', 'SKALA', 'Unit Uji Skala');
    -- Both may log in (password "skala2026"): the executor owns the list,
    -- the head reviews it.
    INSERT IGNORE INTO kinerja_user (nip, pass, level, register_date)
    VALUES ('190001012000011001', MD5('skala2026'), '2', NOW()), ('190001012000011002', MD5('skala2026'), '1', NOW());
    INSERT INTO rincian_tugas (kode_jabatan, rincian_tugas, satuan, bobot_skr)
    WITH RECURSIVE seq (n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < 40)
    SELECT 'JP-SKALA', CONCAT('Menyusun dokumen administrasi kepegawaian jenis ', n), 'Dokumen', 10 + n * 5 FROM seq;
    INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, satuan, bobot_skr,
                           tanggal_aktivitas, tanggal_input, status, tanggal_status, nip_verifikator, nip_atasan1,
                           nip_atasan2)
    WITH RECURSIVE seq (n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < p_jumlah)
    SELECT '190001012000011002', ELT(1 + n % 3, 'Utama', 'Tambahan', 'Lainnya'), r.kode, 'JP-SKALA',
           CONCAT('Menyelesaikan berkas nomor ', n, ' untuk laporan bulanan unit kerja beserta lampirannya'),
           1 + n % 3, 'Dokumen', r.bobot_skr,
           CURDATE() - INTERVAL 365 DAY + INTERVAL (n * 365 * 86400 DIV p_jumlah) SECOND,
           CURDATE() - INTERVAL 365 DAY + INTERVAL (n * 365 * 86400 DIV p_jumlah + 600) SECOND,
           ELT(1 + n % 4, 'accepted', '0', 'rejected', 'accepted_by_system'),
           IF(n % 4 = 1, NULL, CURDATE() - INTERVAL 365 DAY + INTERVAL (n * 365 * 86400 DIV p_jumlah + 7200) SECOND),
           IF(n % 4 = 1, NULL, '190001012000011001'), '190001012000011001', ''
      FROM seq
      JOIN rincian_tugas r ON r.kode_jabatan = 'JP-SKALA'
           AND r.rincian_tugas = CONCAT('Menyusun dokumen administrasi kepegawaian jenis ', 1 + n % 40);
END $$

-- p_jumlah unverified activities of the executor put in today, for the
-- head's one-day review ("approve all"). Run after kinerja_skala_isi.
DROP PROCEDURE IF EXISTS kinerja_skala_hari_ini $$
CREATE PROCEDURE kinerja_skala_hari_ini(IN p_jumlah INT)
    MODIFIES SQL DATA
BEGIN
    SET SESSION max_recursive_iterations = GREATEST(p_jumlah, 1000);
    INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, satuan, bobot_skr,
                           tanggal_aktivitas, tanggal_input, status, nip_atasan1, nip_atasan2)
    WITH RECURSIVE seq (n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < p_jumlah)
    SELECT '190001012000011002', 'Utama', r.kode, 'JP-SKALA', CONCAT('Berkas hari ini nomor ', n), 1, 'Dokumen',
           r.bobot_skr, CURDATE() + INTERVAL 1 MINUTE, CURDATE() + INTERVAL (n MOD 600) SECOND, '0',
           '190001012000011001', ''
      FROM seq
      JOIN rincian_tugas r ON r.kode_jabatan = 'JP-SKALA'
           AND r.rincian_tugas = 'Menyusun dokumen administrasi kepegawaian jenis 1';
END $$

DELIMITER ;
