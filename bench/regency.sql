-- A regency's load for benchmarks: civil servants in agencies of four
-- fields of four sections each (heads, executors and functional staff), one
-- field of the first agency with 150 schools of 17 (its head has about 2,700
-- people below), and a year of activities with the demo's mix of types and
-- statuses. Load into a scratch schema only, never into a production one:
--   CALL kinerja_skala_kabupaten(10000, 10500000);
SET NAMES utf8mb4;

DELIMITER $$

DROP PROCEDURE IF EXISTS kinerja_skala_kabupaten $$
CREATE PROCEDURE kinerja_skala_kabupaten(IN p_pns INT, IN p_aktivitas BIGINT)
    MODIFIES SQL DATA
BEGIN
    DECLARE v_dinas INT DEFAULT GREATEST(1, p_pns DIV 330);
    DECLARE v_kepala INT;
    DECLARE v_seksi INT;
    DECLARE v_sekolah INT DEFAULT 150;
    DECLARE v_dari BIGINT DEFAULT 0;
    DECLARE v_batch BIGINT DEFAULT 500000;
    DECLARE v_detik BIGINT DEFAULT 365 * 86400;
    SET v_kepala = v_dinas * 21 + v_sekolah - 4;
    SET v_seksi = v_dinas * 16 - 4;
    IF p_pns < v_kepala + v_sekolah * 17 + v_seksi THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Terlalu sedikit PNS untuk susunan organisasi';
    END IF;

    -- Numbers 0 .. 999999, the source of every generated row.
    DROP TABLE IF EXISTS skala_angka;
    CREATE TABLE skala_angka (n INT UNSIGNED PRIMARY KEY) ENGINE = InnoDB;
    INSERT INTO skala_angka
    WITH d (x) AS (SELECT 0 UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4
                   UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9)
    SELECT a.x + 10 * b.x + 100 * c.x + 1000 * e.x + 10000 * f.x + 100000 * g.x
      FROM d a, d b, d c, d e, d f, d g;

    -- Units: agency k, its fields k-b, their sections k-b-s.
    DROP TABLE IF EXISTS skala_unit;
    CREATE TABLE skala_unit (id VARCHAR(20) PRIMARY KEY, dinas INT, bidang INT, seksi INT) ENGINE = InnoDB;
    INSERT INTO skala_unit
    SELECT CONCAT('K', k.n, IF(b.n = 0, '', CONCAT('-', b.n)), IF(s.n = 0, '', CONCAT('-', s.n))), k.n, b.n, s.n
      FROM skala_angka k JOIN skala_angka b ON b.n <= 4 JOIN skala_angka s ON s.n <= v_sekolah
     WHERE k.n BETWEEN 1 AND v_dinas AND NOT (b.n = 0 AND s.n > 0)
       AND s.n <= IF(k.n = 1 AND b.n = 1, v_sekolah, 4);
    INSERT INTO unit (id, nama_unit, induk_id, parent_id, kode_jabatan_kepala)
    SELECT id,
           CASE WHEN bidang = 0 THEN CONCAT('Dinas Skala ', dinas)
                WHEN seksi = 0 THEN CONCAT('Bidang ', bidang, ' Dinas Skala ', dinas)
                ELSE CONCAT('Seksi ', seksi, ' Bidang ', bidang, ' Dinas Skala ', dinas) END,
           IF(bidang = 0, NULL, CONCAT('K', dinas)),
           CASE WHEN bidang = 0 THEN NULL WHEN seksi = 0 THEN CONCAT('K', dinas)
                ELSE CONCAT('K', dinas, '-', bidang) END,
           CONCAT('J', id)
      FROM skala_unit;

    -- Positions: a head per unit, and per section one executor and one
    -- functional position led by the section's head.
    INSERT INTO jabatan_kinerja (kode, nama_jabatan, jenis_jabatan_id) VALUES
      ('JK-SKALA-P', 'Pengadministrasi Umum Skala', 'pelaksana'),
      ('JK-SKALA-F', 'Analis Skala Ahli Pertama', 'fungsional');
    INSERT INTO jabatan (kode_jabatan, nama_jabatan, jenis_jabatan_id, kelas_jabatan, unit_id, induk_id,
                         atasan_kode_jabatan, kode_jabatan_kinerja, kode_klasifikasi)
    SELECT CONCAT('J', id), CONCAT('Kepala ', id), 'struktural', IF(bidang = 0, 15, IF(seksi = 0, 12, 9)), id,
           CONCAT('K', dinas),
           CASE WHEN bidang = 0 THEN NULL WHEN seksi = 0 THEN CONCAT('JK', dinas)
                ELSE CONCAT('JK', dinas, '-', bidang) END,
           NULL, IF(bidang = 0, '1', IF(seksi = 0, '2', '3'))
      FROM skala_unit
    UNION ALL
    SELECT CONCAT('J', id, '-', x.j), IF(x.j = 'P', CONCAT('Pelaksana ', id), CONCAT('Analis ', id)),
           IF(x.j = 'P', 'pelaksana', 'fungsional'), IF(x.j = 'P', 6, 8), id, CONCAT('K', dinas), CONCAT('J', id),
           CONCAT('JK-SKALA-', x.j), IF(x.j = 'P', '8', '5')
      FROM skala_unit JOIN (SELECT 'P' AS j UNION ALL SELECT 'F') x
     WHERE seksi > 0;

    -- People: the first v_kepala hold the heads' posts, the next 17 per
    -- school staff the schools, the rest are staff spread over the other
    -- sections; one in three functional.
    DROP TABLE IF EXISTS skala_orang;
    CREATE TABLE skala_orang (i INT UNSIGNED PRIMARY KEY, nip CHAR(18) NOT NULL, kode_jabatan VARCHAR(20) NOT NULL,
                              unit_id VARCHAR(20) NOT NULL, induk_id VARCHAR(20) NOT NULL,
                              atasan1 CHAR(18) NOT NULL DEFAULT '', atasan2 CHAR(18) NOT NULL DEFAULT '',
                              KEY (kode_jabatan), KEY (nip)) ENGINE = InnoDB;
    INSERT INTO skala_orang (i, nip, kode_jabatan, unit_id, induk_id)
    SELECT r.i, CONCAT('19', LPAD(r.i, 16, '0')), CONCAT('J', u.id), u.id, CONCAT('K', u.dinas)
      FROM (SELECT id, ROW_NUMBER() OVER (ORDER BY dinas, bidang, seksi) - 1 AS i FROM skala_unit) r
      JOIN skala_unit u ON u.id = r.id;
    INSERT INTO skala_orang (i, nip, kode_jabatan, unit_id, induk_id)
    SELECT a.n, CONCAT('19', LPAD(a.n, 16, '0')),
           CONCAT('J', s.id, '-', IF(a.n % 3 = 0, 'F', 'P')), s.id, CONCAT('K', s.dinas)
      FROM skala_angka a
      JOIN (SELECT id, dinas, ROW_NUMBER() OVER (ORDER BY dinas, bidang, seksi) - 1 AS k FROM skala_unit
             WHERE seksi > 0 AND NOT (dinas = 1 AND bidang = 1)) s ON s.k = (a.n - v_kepala) % v_seksi
     WHERE a.n >= v_kepala + v_sekolah * 17 AND a.n < p_pns;
    INSERT INTO skala_orang (i, nip, kode_jabatan, unit_id, induk_id)
    SELECT a.n, CONCAT('19', LPAD(a.n, 16, '0')), CONCAT('J', s.id, '-', IF(a.n % 3 = 0, 'F', 'P')), s.id, 'K1'
      FROM skala_angka a
      JOIN (SELECT id, seksi - 1 AS k FROM skala_unit WHERE dinas = 1 AND bidang = 1 AND seksi > 0) s
        ON s.k = (a.n - v_kepala) % v_sekolah
     WHERE a.n >= v_kepala AND a.n < v_kepala + v_sekolah * 17;
    INSERT INTO cache_pns (nip, nama_lengkap, golongan_id, kode_jabatan, jenis_jabatan_id, nama_jabatan,
                           kelas_jabatan, unit_id, nama_unit, induk_id, nama_induk)
    SELECT o.nip, CONCAT('PNS Skala ', o.i), '32', o.kode_jabatan, j.jenis_jabatan_id, j.nama_jabatan,
           j.kelas_jabatan, o.unit_id, u.nama_unit, o.induk_id, d.nama_unit
      FROM skala_orang o JOIN jabatan j ON j.kode_jabatan = o.kode_jabatan
      JOIN unit u ON u.id = o.unit_id JOIN unit d ON d.id = o.induk_id;
    -- Superiors as the server's rule finds them, stored on each activity.
    UPDATE skala_orang SET atasan1 = COALESCE(kinerja_fn_atasan_nip(nip), '');
    UPDATE skala_orang o JOIN skala_orang a ON a.nip = o.atasan1 SET o.atasan2 = a.atasan1;

    INSERT INTO rincian_tugas (kode_jabatan, rincian_tugas, satuan, bobot_skr)
    SELECT IF(n % 2 = 0, 'JK-SKALA-P', 'JK-SKALA-F'), CONCAT('Rincian tugas skala ', n), 'Dokumen', 10 + n * 7
      FROM skala_angka WHERE n < 40;
    DROP TABLE IF EXISTS skala_rincian;
    CREATE TABLE skala_rincian (m INT PRIMARY KEY, kode INT UNSIGNED, rincian_tugas VARCHAR(500), satuan VARCHAR(60),
                                bobot_skr SMALLINT UNSIGNED) ENGINE = InnoDB;
    INSERT INTO skala_rincian
    SELECT CAST(SUBSTRING_INDEX(rincian_tugas, ' ', -1) AS UNSIGNED), kode, rincian_tugas, satuan, bobot_skr
      FROM rincian_tugas WHERE rincian_tugas LIKE 'Rincian tugas skala %';

    -- Activities in batches, spread over the past year in time order, each
    -- day's work of a person put in ten minutes later; the last week's work
    -- mostly waits for its superior, and what a superior left unverified
    -- before that the system has accepted.
    WHILE v_dari < p_aktivitas DO
        INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, rincian_tugas, kode_jabatan, deskripsi, volume,
                               satuan, bobot_skr, tanggal_aktivitas, tanggal_input, status, tanggal_status,
                               nip_verifikator, tanggal_validasi, nip_validator, nip_atasan1, nip_atasan2)
        SELECT o.nip, ELT(1 + x.g % 10, 'Utama', 'Utama', 'Utama', 'Utama', 'Utama', 'Utama', 'Tambahan',
                          'Tambahan', 'Lainnya', 'Utama'),
               r.kode, r.rincian_tugas, o.kode_jabatan, CONCAT('Menyelesaikan pekerjaan nomor ', x.g), 1 + x.g % 3,
               r.satuan, r.bobot_skr, x.t, x.t + INTERVAL 10 MINUTE, x.st,
               -- the hourly job accepts what a superior leaves for five days
               CASE x.st WHEN '0' THEN NULL WHEN 'accepted_by_system' THEN x.t + INTERVAL 5 DAY
                         ELSE x.t + INTERVAL 1 DAY END,
               IF(x.st IN ('accepted', 'rejected'), o.atasan1, NULL),
               IF(x.st = 'accepted' AND x.g % 2 = 0, x.t + INTERVAL 2 DAY, NULL),
               IF(x.st = 'accepted' AND x.g % 2 = 0, o.atasan2, NULL),
               o.atasan1, o.atasan2
          FROM (SELECT a.n + v_dari AS g,
                       CURDATE() - INTERVAL 365 DAY + INTERVAL ((a.n + v_dari) * v_detik DIV p_aktivitas) SECOND AS t,
                       IF((a.n + v_dari) * v_detik DIV p_aktivitas > v_detik - 7 * 86400,
                          IF((a.n + v_dari) % 3 = 0, 'accepted', '0'),
                          ELT(1 + (a.n + v_dari) % 20, 'accepted', 'accepted', 'accepted', 'accepted', 'accepted',
                              'accepted', 'accepted', 'accepted', 'accepted', 'accepted', 'accepted', 'accepted',
                              'accepted', 'accepted', 'rejected', 'rejected', 'accepted_by_system',
                              'accepted_by_system', 'accepted_by_system', 'accepted_by_system')) AS st
                  FROM skala_angka a
                 WHERE a.n < LEAST(v_batch, p_aktivitas - v_dari)) x
          JOIN skala_orang o ON o.i = x.g % p_pns
          JOIN skala_rincian r ON r.m = x.g % 40
         ORDER BY o.nip, x.t;
        SET v_dari = v_dari + v_batch;
    END WHILE;

    -- Everybody may log in (password "skala2026").
    INSERT IGNORE INTO kinerja_user (nip, pass, level, register_date)
    SELECT nip, MD5('skala2026'), '1', NOW() FROM skala_orang;
END $$

DELIMITER ;
