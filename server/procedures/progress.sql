-- Profile, progress figures and their sources.
SET NAMES utf8mb4;

DELIMITER $$

-- The position classification of a civil servant: that of a side assignment
-- in force (head of a school or health centre, Korwil), else that of the
-- servant's own position.
DROP FUNCTION IF EXISTS kinerja_fn_klasifikasi $$
CREATE FUNCTION kinerja_fn_klasifikasi(p_nip VARCHAR(18)) RETURNS VARCHAR(4)
    READS SQL DATA
BEGIN
    DECLARE v VARCHAR(4) DEFAULT NULL;
    SELECT j.kode_klasifikasi INTO v
      FROM plt t JOIN jabatan j ON j.kode_jabatan = t.kode_jabatan_plt
     WHERE t.nip = p_nip AND t.jenis IN ('tugas-sampiran', 'korwil')
       AND kinerja_fn_plt_aktif(t.plt_start, t.plt_end, CURDATE()) AND j.kode_klasifikasi IS NOT NULL
     ORDER BY t.plt_start DESC, t.id DESC LIMIT 1;
    IF v IS NULL THEN
        SELECT j.kode_klasifikasi INTO v
          FROM cache_pns p JOIN jabatan j ON j.kode_jabatan = p.kode_jabatan
         WHERE p.nip = p_nip;
    END IF;
    RETURN v;
END $$

-- Fills the session's temporary tables tmp_bawahan_1 (direct subordinates)
-- and tmp_bawahan_2 (two levels down) of a civil servant, with how the
-- superior leads each: "Definitif" through the own position (or a
-- delegation to the own unit), "Plt" through an acting post, "Tugas
-- Sampiran" through a side assignment. A subordinate is whoever has this
-- servant as direct superior (kinerja_fn_atasan_nip), so lists, counts and
-- progress agree.
DROP PROCEDURE IF EXISTS kinerja_bawahan_susun $$
CREATE PROCEDURE kinerja_bawahan_susun(IN p_nip VARCHAR(18))
    MODIFIES SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    CALL kinerja_bawahan_susun_langsung(p_nip);
    CALL kinerja_bawahan_pegang_2();
    -- Each servant has one row in the map, so no one comes twice.
    INSERT IGNORE INTO tmp_bawahan_2 (nip, nip_atasan, status_bawahan)
    SELECT m.nip, h.nip, h.status_bawahan
      FROM tmp_pegang h
      STRAIGHT_JOIN kinerja_atasan_peta m ON m.atasan = h.nip AND m.kode = h.kode
     WHERE m.nip <> p_nip;
    DELETE b2 FROM tmp_bawahan_2 b2 JOIN tmp_bawahan_1 b1 ON b1.nip = b2.nip;
END $$

-- Level 2 of kinerja_bawahan_susun up to the map: tmp_pegang gets the
-- posts every direct subordinate (tmp_bawahan_1) holds. The rows of
-- kinerja_atasan_peta whose (atasan, kode) is one of them, less the caller
-- and the direct subordinates, are the two-level subordinates; counts read
-- them there without filling tmp_bawahan_2. Joins start from tmp_pegang
-- (STRAIGHT_JOIN): the optimiser would otherwise scan the whole map.
DROP PROCEDURE IF EXISTS kinerja_bawahan_pegang_2 $$
CREATE PROCEDURE kinerja_bawahan_pegang_2()
    MODIFIES SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DELETE FROM tmp_pegang;
    INSERT IGNORE INTO tmp_pegang (kode, nip, status_bawahan)
    SELECT p.kode_jabatan, b.nip, b.status_bawahan FROM tmp_bawahan_1 b JOIN cache_pns p ON p.nip = b.nip;
    INSERT IGNORE INTO tmp_pegang (kode, nip, status_bawahan)
    SELECT t.kode_jabatan_plt, b.nip, b.status_bawahan
      FROM tmp_bawahan_1 b JOIN plt t ON t.nip = b.nip
     WHERE kinerja_fn_plt_aktif(t.plt_start, t.plt_end, CURDATE());
END $$

-- The first level of kinerja_bawahan_susun alone (tmp_bawahan_2 left
-- empty), for what needs only the direct subordinates.
DROP PROCEDURE IF EXISTS kinerja_bawahan_susun_langsung $$
CREATE PROCEDURE kinerja_bawahan_susun_langsung(IN p_nip VARCHAR(18))
    MODIFIES SQL DATA
    -- A helper of the procedures that check the caller: with the caller's
    -- rights, so the application account cannot run it on its own.
    SQL SECURITY INVOKER
BEGIN
    DROP TEMPORARY TABLE IF EXISTS tmp_pegang;
    CREATE TEMPORARY TABLE tmp_pegang (
        kode VARCHAR(20) NOT NULL, nip CHAR(18) NOT NULL, status_bawahan VARCHAR(20) NOT NULL,
        PRIMARY KEY (kode, nip)) ENGINE = MEMORY;
    DROP TEMPORARY TABLE IF EXISTS tmp_bawahan_1;
    CREATE TEMPORARY TABLE tmp_bawahan_1 (
        nip CHAR(18) NOT NULL PRIMARY KEY, nip_atasan CHAR(18) NOT NULL, status_bawahan VARCHAR(20) NOT NULL)
        ENGINE = MEMORY;
    DROP TEMPORARY TABLE IF EXISTS tmp_bawahan_2;
    CREATE TEMPORARY TABLE tmp_bawahan_2 (
        nip CHAR(18) NOT NULL PRIMARY KEY, nip_atasan CHAR(18) NOT NULL, status_bawahan VARCHAR(20) NOT NULL)
        ENGINE = MEMORY;
    CALL kinerja_atasan_peta_pastikan();

    -- Level 1: the positions the superior holds, and whoever the map leads
    -- to the superior through one of them.
    INSERT IGNORE INTO tmp_pegang (kode, nip, status_bawahan)
    SELECT kode_jabatan, nip, 'Definitif' FROM cache_pns WHERE nip = p_nip;
    INSERT IGNORE INTO tmp_pegang (kode, nip, status_bawahan)
    SELECT kode_jabatan_plt, nip, IF(jenis IN ('plt', 'plh'), 'Plt', 'Tugas Sampiran')
      FROM plt WHERE nip = p_nip AND kinerja_fn_plt_aktif(plt_start, plt_end, CURDATE());
    INSERT IGNORE INTO tmp_bawahan_1 (nip, nip_atasan, status_bawahan)
    SELECT m.nip, h.nip, h.status_bawahan
      FROM kinerja_atasan_peta m JOIN tmp_pegang h ON h.kode = m.kode AND h.nip = m.atasan
     WHERE m.atasan = p_nip;
END $$

-- Marks the superior map out of date; the triggers on the tables the
-- superior rule reads call it.
DROP PROCEDURE IF EXISTS kinerja_atasan_peta_basi $$
CREATE PROCEDURE kinerja_atasan_peta_basi()
    MODIFIES SQL DATA
BEGIN
    UPDATE kinerja_atasan_peta_versi SET ubah = ubah + 1 WHERE id = 1;
END $$

-- Brings the superior map (kinerja_atasan_peta: every serving servant's
-- direct superior, as kinerja_fn_atasan_nip finds it) up to date when a
-- change of positions, assignments or delegations, or a new day, has
-- outdated it. Lists and counts of subordinates then read index ranges
-- instead of applying the rule to every candidate.
DROP PROCEDURE IF EXISTS kinerja_atasan_peta_pastikan $$
CREATE PROCEDURE kinerja_atasan_peta_pastikan()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_ubah BIGINT UNSIGNED;
    DECLARE v_dibangun BIGINT UNSIGNED;
    DECLARE v_tanggal DATE;
    DECLARE v_isolasi VARCHAR(40) DEFAULT @@SESSION.tx_isolation;
    DECLARE EXIT HANDLER FOR SQLEXCEPTION
    BEGIN
        ROLLBACK;
        SET SESSION tx_isolation = v_isolasi;
        RESIGNAL;
    END;
    SELECT ubah, dibangun, tanggal INTO v_ubah, v_dibangun, v_tanggal FROM kinerja_atasan_peta_versi WHERE id = 1;
    IF NOT (v_dibangun <=> v_ubah AND v_tanggal <=> CURDATE()) THEN
        -- One builder at a time; a change committed meanwhile waits for the
        -- lock and outdates the map again. The sources are read without
        -- locks, so inputs and approvals never wait for a build.
        SET SESSION TRANSACTION ISOLATION LEVEL READ COMMITTED;
        START TRANSACTION;
        SELECT ubah, dibangun, tanggal INTO v_ubah, v_dibangun, v_tanggal
          FROM kinerja_atasan_peta_versi WHERE id = 1 FOR UPDATE;
        IF NOT (v_dibangun <=> v_ubah AND v_tanggal <=> CURDATE()) THEN
            CALL kinerja_atasan_semua_susun();
            DELETE m FROM kinerja_atasan_peta m LEFT JOIN tmp_atasan_a a ON a.nip = m.nip WHERE a.nip IS NULL;
            INSERT INTO kinerja_atasan_peta (nip, atasan, kode)
            SELECT a.nip, a.atasan, k.kode
              FROM tmp_atasan_a a
              JOIN tmp_atasan_kode k ON k.nip = a.nip
              LEFT JOIN kinerja_atasan_peta m ON m.nip = a.nip
             WHERE m.nip IS NULL OR NOT (m.atasan <=> a.atasan AND m.kode <=> k.kode)
            ON DUPLICATE KEY UPDATE atasan = VALUES(atasan), kode = VALUES(kode);
            UPDATE kinerja_atasan_peta_versi SET dibangun = v_ubah, tanggal = CURDATE() WHERE id = 1;
        END IF;
        COMMIT;
        SET SESSION tx_isolation = v_isolasi;
    END IF;
END $$

-- The profile of a civil servant, one row.
DROP PROCEDURE IF EXISTS kinerja_load_profil $$
CREATE PROCEDURE kinerja_load_profil(IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    -- The superior and the classification once, before the query: inside
    -- it the optimiser may call these non-deterministic functions per row.
    DECLARE v_atasan VARCHAR(18) DEFAULT NULL;
    DECLARE v_klasifikasi VARCHAR(10) DEFAULT NULL;
    CALL kinerja_wajib_pemanggil(var_nip);
    SET v_atasan = kinerja_fn_atasan_nip(var_nip);
    SET v_klasifikasi = kinerja_fn_klasifikasi(var_nip);
    SELECT p.nama_lengkap, p.nip, p.jenis_jabatan_id, p.nama_jabatan, p.nama_induk, p.nama_unit,
           COALESCE((SELECT a.nama_lengkap FROM cache_pns a WHERE a.nip = v_atasan), '-')
               AS nama_lengkap_atasan,
           CAST((SELECT COUNT(*) FROM tugas_tambahan t
                  WHERE t.nip = p.nip AND t.status = 'aktif' AND t.tanggal_mulai <= CURDATE()
                    AND (t.tanggal_selesai IS NULL OR t.tanggal_selesai >= CURDATE())) AS CHAR) AS jml_tugas_tambahan,
           IF(plt.nama IS NULL, 'Tidak', 'Ya') AS jenis_plt,
           COALESCE(plt.nama, '-') AS nama_jabatan_plt,
           IF(smp.nama IS NULL, 'Tidak', 'Ya') AS jenis_sampiran,
           COALESCE(smp.nama, '-') AS nama_jabatan_sampiran,
           COALESCE(k.klasifikasi_jabatan, '-') AS klasifikasi_jabatan,
           COALESCE(k.id, '') AS kode_klasifikasi_jabatan,
           -- the switch as kinerja_cek_maintenance reads it
           IF(EXISTS (SELECT 1 FROM kinerja_setting
                       WHERE jenis = 'app_kinerja' AND nama = 'is_maintenance' AND COALESCE(nilai, '') <> '0'),
              '1', '0') AS maintenance
      FROM cache_pns p
      LEFT JOIN (SELECT t.nip, GROUP_CONCAT(j.nama_jabatan ORDER BY t.plt_start SEPARATOR '; ') AS nama
                   FROM plt t JOIN jabatan j ON j.kode_jabatan = t.kode_jabatan_plt
                  WHERE t.nip = var_nip AND t.jenis IN ('plt', 'plh')
                    AND kinerja_fn_plt_aktif(t.plt_start, t.plt_end, CURDATE())
                  GROUP BY t.nip) plt ON plt.nip = p.nip
      LEFT JOIN (SELECT t.nip, GROUP_CONCAT(j.nama_jabatan ORDER BY t.plt_start SEPARATOR '; ') AS nama
                   FROM plt t JOIN jabatan j ON j.kode_jabatan = t.kode_jabatan_plt
                  WHERE t.nip = var_nip AND t.jenis IN ('tugas-sampiran', 'korwil')
                    AND kinerja_fn_plt_aktif(t.plt_start, t.plt_end, CURDATE())
                  GROUP BY t.nip) smp ON smp.nip = p.nip
      LEFT JOIN klasifikasi_jabatan k ON k.id = v_klasifikasi
     WHERE p.nip = var_nip;
END $$

DROP PROCEDURE IF EXISTS kinerja_bawahan_langsung_jumlah $$
CREATE PROCEDURE kinerja_bawahan_langsung_jumlah(IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_pemanggil(var_nip);
    CALL kinerja_bawahan_susun_langsung(var_nip);
    SELECT CAST(COUNT(*) AS CHAR) AS jumlah FROM tmp_bawahan_1;
END $$

DROP PROCEDURE IF EXISTS kinerja_bawahan_2tk_jumlah $$
CREATE PROCEDURE kinerja_bawahan_2tk_jumlah(IN var_nip VARCHAR(40))
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_pemanggil(var_nip);
    CALL kinerja_bawahan_susun_langsung(var_nip);
    CALL kinerja_bawahan_pegang_2();
    SELECT CAST(COUNT(*) AS CHAR) AS jumlah
      FROM tmp_pegang h
      STRAIGHT_JOIN kinerja_atasan_peta m ON m.atasan = h.nip AND m.kode = h.kode
     WHERE m.nip <> var_nip AND NOT EXISTS (SELECT 1 FROM tmp_bawahan_1 b WHERE b.nip = m.nip);
END $$

-- Recognised minutes of one activity: standard minutes x volume, except
-- that an activity above the operational maximum counts the maximum once.
DROP FUNCTION IF EXISTS kinerja_fn_menit_diakui $$
CREATE FUNCTION kinerja_fn_menit_diakui(p_bobot INT, p_volume INT, p_max INT) RETURNS DECIMAL(12,2)
    DETERMINISTIC NO SQL
BEGIN
    RETURN IF(p_bobot > p_max, p_max, p_bobot * p_volume);
END $$

-- Who supervises whom, over sets: the same rule as kinerja_fn_atasan_nip,
-- for every servant in the session's tmp_calon at once, into tmp_atasan_a
-- (and its copy tmp_atasan_b: a temporary table cannot be opened twice in
-- one statement). A call per servant costs more than a whole recompute.
DROP PROCEDURE IF EXISTS kinerja_atasan_calon_susun $$
CREATE PROCEDURE kinerja_atasan_calon_susun()
    MODIFIES SQL DATA
BEGIN
    -- B-tree keys: many share one superior, which a hash key handles badly.
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_a;
    CREATE TEMPORARY TABLE tmp_atasan_a (nip CHAR(18) PRIMARY KEY, atasan CHAR(18),
        KEY (atasan) USING BTREE) ENGINE = MEMORY;
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_b;
    CREATE TEMPORARY TABLE tmp_atasan_b (nip CHAR(18) PRIMARY KEY, atasan CHAR(18),
        KEY (atasan) USING BTREE) ENGINE = MEMORY;
    -- the superior's post of each servant
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_kode;
    CREATE TEMPORARY TABLE tmp_atasan_kode (nip CHAR(18) PRIMARY KEY, kode VARCHAR(20),
        KEY (kode) USING BTREE) ENGINE = MEMORY;
    -- the serving holder of each post, and the acting officials in force on it
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_pemegang;
    CREATE TEMPORARY TABLE tmp_atasan_pemegang (kode VARCHAR(20) PRIMARY KEY, nip CHAR(18))
        ENGINE = MEMORY;
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_plt;
    CREATE TEMPORARY TABLE tmp_atasan_plt (kode VARCHAR(20) PRIMARY KEY, terakhir CHAR(18),
        plh1 CHAR(18), plh2 CHAR(18)) ENGINE = MEMORY;

    -- The latest delegation in force names the post (its unit's head), else
    -- the own position's superior post does.
    INSERT INTO tmp_atasan_kode (nip, kode)
    SELECT p.nip,
           COALESCE((SELECT u.kode_jabatan_kepala FROM delegasi d JOIN unit u ON u.id = d.unit_id
                      WHERE d.nip = p.nip AND d.date_start <= NOW() AND (d.date_end IS NULL OR d.date_end >= CURDATE())
                      ORDER BY d.date_start DESC, d.id DESC LIMIT 1),
                    j.atasan_kode_jabatan)
      FROM tmp_calon c
      JOIN cache_pns p ON p.nip = c.nip
      LEFT JOIN jabatan j ON j.kode_jabatan = p.kode_jabatan;

    INSERT INTO tmp_atasan_pemegang (kode, nip)
    SELECT kode_jabatan, MIN(nip) FROM cache_pns
     WHERE status_pns = 'aktif' AND kode_jabatan IN (SELECT kode FROM tmp_atasan_kode)
     GROUP BY kode_jabatan;

    -- Per post: the latest assignment of any kind (it fills a vacant post),
    -- the latest Plh, and the latest Plh of another person (for the first
    -- Plh's own work).
    INSERT INTO tmp_atasan_plt (kode, terakhir, plh1)
    SELECT x.kode, MAX(IF(x.r = 1, x.nip, NULL)), MAX(IF(x.jenis = 'plh' AND x.rp = 1, x.nip, NULL))
      FROM (SELECT kode_jabatan_plt AS kode, nip, jenis,
                   ROW_NUMBER() OVER (PARTITION BY kode_jabatan_plt ORDER BY plt_start DESC, id DESC) AS r,
                   ROW_NUMBER() OVER (PARTITION BY kode_jabatan_plt, jenis = 'plh'
                                      ORDER BY plt_start DESC, id DESC) AS rp
              FROM plt
             WHERE plt_start <= CURDATE() AND (plt_end IS NULL OR plt_end >= CURDATE())
               AND kode_jabatan_plt IN (SELECT kode FROM tmp_atasan_kode)) x
     GROUP BY x.kode;
    UPDATE tmp_atasan_plt t
       SET t.plh2 = (SELECT p.nip FROM plt p
                      WHERE p.kode_jabatan_plt = t.kode AND p.jenis = 'plh' AND p.nip <> t.plh1
                        AND p.plt_start <= CURDATE() AND (p.plt_end IS NULL OR p.plt_end >= CURDATE())
                      ORDER BY p.plt_start DESC, p.id DESC LIMIT 1)
     WHERE t.plh1 IS NOT NULL;

    -- A vacant post goes to its latest assignment; a Plh in force stands in
    -- for a serving holder, except towards the Plh's own work; nobody
    -- supervises themselves.
    INSERT INTO tmp_atasan_a (nip, atasan)
    SELECT s.nip, NULLIF(s.v, s.nip)
      FROM (SELECT k.nip,
                   CASE WHEN k.kode IS NULL THEN NULL
                        WHEN h.nip IS NULL THEN t.terakhir
                        WHEN t.plh1 IS NOT NULL AND t.plh1 <> k.nip THEN t.plh1
                        WHEN t.plh1 = k.nip AND t.plh2 IS NOT NULL THEN t.plh2
                        ELSE h.nip END AS v
              FROM tmp_atasan_kode k
              LEFT JOIN tmp_atasan_pemegang h ON h.kode = k.kode
              LEFT JOIN tmp_atasan_plt t ON t.kode = k.kode) s;
    INSERT INTO tmp_atasan_b SELECT nip, atasan FROM tmp_atasan_a;
END $$

-- The session's tmp_calon: the servants whose superiors a set-based step
-- looks for.
DROP PROCEDURE IF EXISTS kinerja_calon_kosongkan $$
CREATE PROCEDURE kinerja_calon_kosongkan()
    MODIFIES SQL DATA
BEGIN
    DROP TEMPORARY TABLE IF EXISTS tmp_calon;
    CREATE TEMPORARY TABLE tmp_calon (nip CHAR(18) PRIMARY KEY) ENGINE = MEMORY;
END $$

-- Superiors of every serving civil servant (tmp_atasan_a, tmp_atasan_b).
DROP PROCEDURE IF EXISTS kinerja_atasan_semua_susun $$
CREATE PROCEDURE kinerja_atasan_semua_susun()
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_calon_kosongkan();
    INSERT INTO tmp_calon SELECT nip FROM cache_pns WHERE status_pns = 'aktif';
    CALL kinerja_atasan_calon_susun();
END $$

-- The same from the kept map, brought up to date first: what the recompute
-- uses, so its second-level figures and the lists of subordinates agree.
DROP PROCEDURE IF EXISTS kinerja_atasan_semua_dari_peta $$
CREATE PROCEDURE kinerja_atasan_semua_dari_peta()
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_atasan_peta_pastikan();
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_a;
    CREATE TEMPORARY TABLE tmp_atasan_a (nip CHAR(18) PRIMARY KEY, atasan CHAR(18),
        KEY (atasan) USING BTREE) ENGINE = MEMORY;
    DROP TEMPORARY TABLE IF EXISTS tmp_atasan_b;
    CREATE TEMPORARY TABLE tmp_atasan_b (nip CHAR(18) PRIMARY KEY, atasan CHAR(18),
        KEY (atasan) USING BTREE) ENGINE = MEMORY;
    INSERT INTO tmp_atasan_a SELECT nip, atasan FROM kinerja_atasan_peta;
    INSERT INTO tmp_atasan_b SELECT nip, atasan FROM tmp_atasan_a;
END $$

-- The second-level mix of one period for everybody with own figures, from
-- the superiors of kinerja_atasan_semua_susun.
DROP PROCEDURE IF EXISTS kinerja_progress_ah2_hitung $$
CREATE PROCEDURE kinerja_progress_ah2_hitung(IN p_periode CHAR(6), IN p_now DATETIME)
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_penjadwal();
    DROP TEMPORARY TABLE IF EXISTS tmp_klasifikasi;
    CREATE TEMPORARY TABLE tmp_klasifikasi (nip CHAR(18) PRIMARY KEY, klas VARCHAR(4)) ENGINE = MEMORY;
    -- A side assignment in force gives its classification, else the own
    -- position does (kinerja_fn_klasifikasi, over sets).
    INSERT INTO tmp_klasifikasi (nip, klas)
    SELECT a.nip, COALESCE(s.klas, j.kode_klasifikasi)
      FROM tmp_atasan_a a
      JOIN cache_pns p ON p.nip = a.nip
      LEFT JOIN jabatan j ON j.kode_jabatan = p.kode_jabatan
      LEFT JOIN (SELECT x.nip, x.klas
                   FROM (SELECT t.nip, j2.kode_klasifikasi AS klas,
                                ROW_NUMBER() OVER (PARTITION BY t.nip ORDER BY t.plt_start DESC, t.id DESC) AS r
                           FROM plt t JOIN jabatan j2 ON j2.kode_jabatan = t.kode_jabatan_plt
                          WHERE t.jenis IN ('tugas-sampiran', 'korwil') AND j2.kode_klasifikasi IS NOT NULL
                            AND kinerja_fn_plt_aktif(t.plt_start, t.plt_end, CURDATE())) x
                  WHERE x.r = 1) s ON s.nip = a.nip;

    -- The subordinates' averages per superior, one pass each: p2 over the
    -- direct subordinates, p3 over everybody two levels down.
    DROP TEMPORARY TABLE IF EXISTS tmp_ah2_p2;
    CREATE TEMPORARY TABLE tmp_ah2_p2 (nip CHAR(18) PRIMARY KEY, p DECIMAL(20,6)) ENGINE = MEMORY;
    DROP TEMPORARY TABLE IF EXISTS tmp_ah2_p3;
    CREATE TEMPORARY TABLE tmp_ah2_p3 (nip CHAR(18) PRIMARY KEY, p DECIMAL(20,6)) ENGINE = MEMORY;
    INSERT INTO tmp_ah2_p2 (nip, p)
    SELECT a.atasan, AVG(b.persen_diakui)
      FROM tmp_atasan_a a JOIN kinerja_progress b ON b.nip = a.nip AND b.periode = p_periode
     WHERE a.atasan IS NOT NULL
     GROUP BY a.atasan;
    INSERT INTO tmp_ah2_p3 (nip, p)
    SELECT a.atasan, AVG(c.persen_diakui)
      FROM tmp_atasan_a a JOIN tmp_atasan_b b2 ON b2.atasan = a.nip
      JOIN kinerja_progress c ON c.nip = b2.nip AND c.periode = p_periode
     WHERE a.atasan IS NOT NULL
     GROUP BY a.atasan;

    -- Only rows whose figures differ are written: an hourly run changes few.
    -- (The time a figure was last confirmed is the run's, kinerja_progress_jalan.)
    START TRANSACTION;
    INSERT INTO kinerja_progress_ah2 (nip, periode, klasifikasi_id, p1, p2, p3, ah2, tanggal_progress)
    SELECT y.nip, p_periode, y.klas, y.p1, y.p2, y.p3, y.ah2, p_now
      FROM (SELECT x.nip, x.klas, x.p1, COALESCE(x.p2, 0) AS p2, COALESCE(x.p3, 0) AS p3,
                   -- A source without subordinates gives its weight to the own progress.
                   ROUND(IF(x.w1 + x.w2 + x.w3 = 0, x.p1,
                            (x.p1 * (x.w1 + IF(x.p2 IS NULL, x.w2, 0) + IF(x.p3 IS NULL, x.w3, 0))
                             + COALESCE(x.p2, 0) * IF(x.p2 IS NULL, 0, x.w2)
                             + COALESCE(x.p3, 0) * IF(x.p3 IS NULL, 0, x.w3)) / (x.w1 + x.w2 + x.w3)), 2) AS ah2
              FROM (SELECT g.nip, k.klas, g.persen_diakui AS p1, s2.p AS p2, s3.p AS p3,
                           COALESCE(r.n1, 100) AS w1, COALESCE(r.n2, 0) AS w2, COALESCE(r.n3, 0) AS w3
                      FROM kinerja_progress g
                      LEFT JOIN tmp_klasifikasi k ON k.nip = g.nip
                      LEFT JOIN rasio_ak r ON r.klasifikasi_id = k.klas
                      LEFT JOIN tmp_ah2_p2 s2 ON s2.nip = g.nip
                      LEFT JOIN tmp_ah2_p3 s3 ON s3.nip = g.nip
                     WHERE g.periode = p_periode) x) y
      LEFT JOIN kinerja_progress_ah2 h ON h.nip = y.nip AND h.periode = p_periode
     WHERE NOT (h.klasifikasi_id <=> y.klas AND h.p1 <=> y.p1 AND h.p2 <=> y.p2 AND h.p3 <=> y.p3
                AND h.ah2 <=> y.ah2)
    ON DUPLICATE KEY UPDATE klasifikasi_id = VALUES(klasifikasi_id), p1 = VALUES(p1), p2 = VALUES(p2),
                            p3 = VALUES(p3), ah2 = VALUES(ah2), tanggal_progress = VALUES(tanggal_progress);
    COMMIT;
END $$

-- The start of a recompute of one period ("yyyymm"), whole or of the
-- changes: the period checked, its bounds and the monthly target; reads in
-- READ COMMITTED from here on (the caller restores its level at the end);
-- and tmp_ubah, the marks this run covers.
DROP PROCEDURE IF EXISTS kinerja_progress_mulai $$
CREATE PROCEDURE kinerja_progress_mulai(IN p_periode CHAR(6), OUT p_awal DATETIME, OUT p_akhir DATETIME,
                                        OUT p_target INT)
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_penjadwal();
    IF p_periode IS NULL OR p_periode NOT REGEXP '^[0-9]{4}(0[1-9]|1[0-2])$' THEN
        SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Periode tidak valid';
    END IF;
    SET p_target = kinerja_fn_setting_angka('target_skr_bulanan', 6751);
    IF p_target <= 0 THEN
        SET p_target = 6751;
    END IF;
    SET p_awal = STR_TO_DATE(CONCAT(p_periode, '01'), '%Y%m%d');
    SET p_akhir = p_awal + INTERVAL 1 MONTH;

    -- Reads see committed rows without locking them, so inputs and
    -- approvals of clients never wait for a recompute: for the whole run,
    -- since every INSERT ... SELECT would take shared locks on its sources
    -- under REPEATABLE READ.
    SET SESSION TRANSACTION ISOLATION LEVEL READ COMMITTED;
    -- The changes this run covers: marks made later stay for the next run.
    DROP TEMPORARY TABLE IF EXISTS tmp_ubah;
    CREATE TEMPORARY TABLE tmp_ubah (periode CHAR(6), nip CHAR(18), versi INT UNSIGNED,
        PRIMARY KEY (periode, nip)) ENGINE = MEMORY;
    INSERT INTO tmp_ubah SELECT periode, nip, versi FROM kinerja_progress_ubah WHERE periode = p_periode;
END $$

-- The end of a recompute once the own figures stand: the second-level mix
-- of everybody, then the run recorded and its marks forgotten.
DROP PROCEDURE IF EXISTS kinerja_progress_akhiri $$
CREATE PROCEDURE kinerja_progress_akhiri(IN p_periode CHAR(6), IN p_waktu DATETIME, IN p_target INT, IN p_max INT,
                                         IN p_penuh TINYINT)
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_penjadwal();
    CALL kinerja_atasan_semua_dari_peta();
    CALL kinerja_progress_ah2_hitung(p_periode, p_waktu);
    CALL kinerja_progress_ubah_selesai(p_periode, p_waktu, p_target, p_max, p_penuh);
END $$

-- Recomputes the progress figures of every civil servant for one period
-- ("yyyymm"): own progress first, then the second-level mix.
DROP PROCEDURE IF EXISTS kinerja_progress_hitung $$
CREATE PROCEDURE kinerja_progress_hitung(IN p_periode CHAR(6))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_awal DATETIME;
    DECLARE v_akhir DATETIME;
    DECLARE v_target INT;
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    DECLARE v_now DATETIME DEFAULT NOW();
    DECLARE v_isolasi VARCHAR(40) DEFAULT @@SESSION.tx_isolation;
    CALL kinerja_wajib_penjadwal();

    CALL kinerja_progress_mulai(p_periode, v_awal, v_akhir, v_target);

    -- Rows are updated in place: a reader never finds the month empty, and
    -- the rewrite of unchanged pages is spared.
    START TRANSACTION;
    -- One range of the month index for everybody; the recognised minutes of
    -- an activity (standard minutes x volume, an activity above the
    -- operational maximum counting the maximum once) written out, as a
    -- function call per row costs more than the sum.
    INSERT INTO kinerja_progress (nip, periode, target_menit, menit_diakui, menit_all, menit_utama, menit_tambahan,
                                  menit_lainnya, persen_diakui, persen_all, persen_utama, persen_tambahan,
                                  persen_lainnya, tanggal_progress)
    SELECT p.nip, p_periode, v_target, COALESCE(s.diakui, 0), COALESCE(s.semua, 0), COALESCE(s.utama, 0),
           COALESCE(s.tambahan, 0), COALESCE(s.lainnya, 0),
           ROUND(COALESCE(s.diakui, 0) * 100 / v_target, 2), ROUND(COALESCE(s.semua, 0) * 100 / v_target, 2),
           ROUND(COALESCE(s.utama, 0) * 100 / v_target, 2), ROUND(COALESCE(s.tambahan, 0) * 100 / v_target, 2),
           ROUND(COALESCE(s.lainnya, 0) * 100 / v_target, 2), v_now
      FROM cache_pns p
      LEFT JOIN (SELECT a.nip,
                        SUM(IF(a.status IN ('accepted', 'accepted_by_system', 'accepted_by_spv'),
                               IF(a.bobot_skr > v_max, v_max, a.bobot_skr * a.volume), 0)) AS diakui,
                        SUM(IF(a.status IN ('rejected', 'rejected_by_spv'),
                               0, IF(a.bobot_skr > v_max, v_max, a.bobot_skr * a.volume))) AS semua,
                        SUM(IF(a.jenis_jabatan = 'Utama' AND a.status IN ('accepted', 'accepted_by_system', 'accepted_by_spv'),
                               IF(a.bobot_skr > v_max, v_max, a.bobot_skr * a.volume), 0)) AS utama,
                        SUM(IF(a.jenis_jabatan = 'Tambahan' AND a.status IN ('accepted', 'accepted_by_system', 'accepted_by_spv'),
                               IF(a.bobot_skr > v_max, v_max, a.bobot_skr * a.volume), 0)) AS tambahan,
                        SUM(IF(a.jenis_jabatan = 'Lainnya' AND a.status IN ('accepted', 'accepted_by_system', 'accepted_by_spv'),
                               IF(a.bobot_skr > v_max, v_max, a.bobot_skr * a.volume), 0)) AS lainnya
                   FROM aktivitas a FORCE INDEX (ix_akt_bulan)
                  WHERE a.tanggal_aktivitas >= v_awal AND a.tanggal_aktivitas < v_akhir
                  GROUP BY a.nip) s ON s.nip = p.nip
      -- only figures that differ are written (the run's time is kept in
      -- kinerja_progress_jalan): most of a month stands between runs
      LEFT JOIN kinerja_progress o ON o.nip = p.nip AND o.periode = p_periode
     WHERE p.status_pns = 'aktif'
       AND NOT (o.target_menit <=> v_target AND o.menit_diakui <=> COALESCE(s.diakui, 0)
                AND o.menit_all <=> COALESCE(s.semua, 0) AND o.menit_utama <=> COALESCE(s.utama, 0)
                AND o.menit_tambahan <=> COALESCE(s.tambahan, 0) AND o.menit_lainnya <=> COALESCE(s.lainnya, 0))
    ON DUPLICATE KEY UPDATE target_menit = VALUES(target_menit), menit_diakui = VALUES(menit_diakui),
                            menit_all = VALUES(menit_all), menit_utama = VALUES(menit_utama),
                            menit_tambahan = VALUES(menit_tambahan), menit_lainnya = VALUES(menit_lainnya),
                            persen_diakui = VALUES(persen_diakui), persen_all = VALUES(persen_all),
                            persen_utama = VALUES(persen_utama), persen_tambahan = VALUES(persen_tambahan),
                            persen_lainnya = VALUES(persen_lainnya), tanggal_progress = VALUES(tanggal_progress);
    -- Whoever no longer serves keeps no figures of the period. Every serving
    -- servant has a row now, so more rows than servants means some to drop.
    IF (SELECT COUNT(*) FROM kinerja_progress WHERE periode = p_periode)
       > (SELECT COUNT(*) FROM cache_pns WHERE status_pns = 'aktif')
       OR (SELECT COUNT(*) FROM kinerja_progress_ah2 WHERE periode = p_periode)
       > (SELECT COUNT(*) FROM cache_pns WHERE status_pns = 'aktif') THEN
        DELETE g FROM kinerja_progress g
          LEFT JOIN cache_pns p ON p.nip = g.nip AND p.status_pns = 'aktif'
         WHERE g.periode = p_periode AND p.nip IS NULL;
        DELETE h FROM kinerja_progress_ah2 h
          LEFT JOIN cache_pns p ON p.nip = h.nip AND p.status_pns = 'aktif'
         WHERE h.periode = p_periode AND p.nip IS NULL;
    END IF;
    COMMIT;

    CALL kinerja_progress_akhiri(p_periode, v_now, v_target, v_max, 1);
    SET SESSION tx_isolation = v_isolasi;
END $$

-- Forgets the changes of a period that a run has covered, in a transaction
-- of its own: the inputs that mark changes wait for nothing longer. Records
-- the run (every figure of the period holds as of its time), and for a
-- whole one the settings it counted with.
DROP PROCEDURE IF EXISTS kinerja_progress_ubah_selesai $$
CREATE PROCEDURE kinerja_progress_ubah_selesai(IN p_periode CHAR(6), IN p_waktu DATETIME, IN p_target INT,
                                               IN p_max INT, IN p_penuh TINYINT)
    MODIFIES SQL DATA
BEGIN
    CALL kinerja_wajib_penjadwal();
    START TRANSACTION;
    DELETE q FROM kinerja_progress_ubah q JOIN tmp_ubah u ON u.periode = q.periode AND u.nip = q.nip
     WHERE q.periode = p_periode AND q.versi = u.versi;
    IF p_penuh THEN
        INSERT INTO kinerja_progress_jalan (periode, penuh, terakhir, target_menit, max_menit)
        VALUES (p_periode, p_waktu, p_waktu, p_target, p_max)
        ON DUPLICATE KEY UPDATE penuh = p_waktu, terakhir = p_waktu, target_menit = p_target, max_menit = p_max;
    ELSE
        INSERT INTO kinerja_progress_jalan (periode, terakhir) VALUES (p_periode, p_waktu)
        ON DUPLICATE KEY UPDATE terakhir = p_waktu;
    END IF;
    COMMIT;
END $$

-- Recomputes one period for the servants whose activities changed since the
-- last run (the marks of kinerja_progress_ubah) and those without figures
-- yet; then the second-level mix of everybody, which also follows changes
-- of who supervises whom.
DROP PROCEDURE IF EXISTS kinerja_progress_hitung_ubah $$
CREATE PROCEDURE kinerja_progress_hitung_ubah(IN p_periode CHAR(6))
    MODIFIES SQL DATA
BEGIN
    DECLARE v_awal DATETIME;
    DECLARE v_akhir DATETIME;
    DECLARE v_target INT;
    DECLARE v_max INT DEFAULT kinerja_fn_setting_angka('max_skr_operasional', 300);
    DECLARE v_now DATETIME DEFAULT NOW();
    DECLARE v_isolasi VARCHAR(40) DEFAULT @@SESSION.tx_isolation;
    CALL kinerja_wajib_penjadwal();

    CALL kinerja_progress_mulai(p_periode, v_awal, v_akhir, v_target);
    INSERT IGNORE INTO tmp_ubah (periode, nip, versi)
    SELECT p_periode, p.nip, 0
      FROM cache_pns p LEFT JOIN kinerja_progress g ON g.nip = p.nip AND g.periode = p_periode
     WHERE p.status_pns = 'aktif' AND g.nip IS NULL;

    -- Each servant's month is one range of the primary key (nip, date).
    START TRANSACTION;
    REPLACE INTO kinerja_progress (nip, periode, target_menit, menit_diakui, menit_all, menit_utama, menit_tambahan,
                                   menit_lainnya, persen_diakui, persen_all, persen_utama, persen_tambahan,
                                   persen_lainnya, tanggal_progress)
    SELECT s.nip, p_periode, v_target, s.diakui, s.semua, s.utama, s.tambahan, s.lainnya,
           ROUND(s.diakui * 100 / v_target, 2), ROUND(s.semua * 100 / v_target, 2),
           ROUND(s.utama * 100 / v_target, 2), ROUND(s.tambahan * 100 / v_target, 2),
           ROUND(s.lainnya * 100 / v_target, 2), v_now
      FROM (SELECT u.nip,
                   COALESCE(SUM(IF(m.diterima, m.menit, 0)), 0) AS diakui,
                   COALESCE(SUM(IF(m.ditolak, 0, m.menit)), 0) AS semua,
                   COALESCE(SUM(IF(m.diterima AND m.jenis_jabatan = 'Utama', m.menit, 0)), 0) AS utama,
                   COALESCE(SUM(IF(m.diterima AND m.jenis_jabatan = 'Tambahan', m.menit, 0)), 0) AS tambahan,
                   COALESCE(SUM(IF(m.diterima AND m.jenis_jabatan = 'Lainnya', m.menit, 0)), 0) AS lainnya
              FROM tmp_ubah u
              JOIN cache_pns p ON p.nip = u.nip AND p.status_pns = 'aktif'
              LEFT JOIN (SELECT a.nip, a.jenis_jabatan,
                                a.status IN ('accepted', 'accepted_by_system', 'accepted_by_spv') AS diterima,
                                a.status IN ('rejected', 'rejected_by_spv') AS ditolak,
                                IF(a.bobot_skr > v_max, v_max, a.bobot_skr * a.volume) AS menit
                           FROM aktivitas a
                          WHERE a.tanggal_aktivitas >= v_awal AND a.tanggal_aktivitas < v_akhir) m
                ON m.nip = u.nip
             GROUP BY u.nip) s;
    COMMIT;

    CALL kinerja_progress_akhiri(p_periode, v_now, v_target, v_max, 0);
    SET SESSION tx_isolation = v_isolasi;
END $$

-- The current and the previous month by the server's clock; run hourly by
-- the event kinerja_progress_tiap_jam. A month is recomputed whole at its
-- first run of a day or when the target or the operational maximum changed
-- since its last whole run; otherwise only for the changes since. Older
-- months follow the changes made to them (corrections on the server).
DROP PROCEDURE IF EXISTS kinerja_progress_hitung_semua $$
CREATE PROCEDURE kinerja_progress_hitung_semua()
    MODIFIES SQL DATA
BEGIN
    DECLARE v_lalu CHAR(6) DEFAULT DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m');
    DECLARE v_ini CHAR(6) DEFAULT DATE_FORMAT(NOW(), '%Y%m');
    DECLARE v_periode CHAR(6);
    DECLARE v_penuh TINYINT;
    DECLARE v_habis TINYINT DEFAULT 0;
    DECLARE c_lama CURSOR FOR
        SELECT DISTINCT periode FROM kinerja_progress_ubah WHERE periode NOT IN (v_lalu, v_ini);
    DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_habis = 1;
    CALL kinerja_wajib_penjadwal();

    SET v_periode = v_lalu;
    WHILE v_periode IS NOT NULL DO
        SELECT COUNT(*) = 0 INTO v_penuh FROM kinerja_progress_jalan
         WHERE periode = v_periode AND penuh >= CURDATE()
           AND target_menit = kinerja_fn_setting_angka('target_skr_bulanan', 6751)
           AND max_menit = kinerja_fn_setting_angka('max_skr_operasional', 300);
        IF v_penuh THEN
            CALL kinerja_progress_hitung(v_periode);
        ELSE
            CALL kinerja_progress_hitung_ubah(v_periode);
        END IF;
        SET v_periode = IF(v_periode = v_lalu, v_ini, NULL);
    END WHILE;

    OPEN c_lama;
    lama: LOOP
        FETCH c_lama INTO v_periode;
        IF v_habis THEN
            LEAVE lama;
        END IF;
        CALL kinerja_progress_hitung_ubah(v_periode);
    END LOOP;
    CLOSE c_lama;
END $$

-- Marks the month of a servant whose activities changed, for the next
-- incremental recompute.
DROP PROCEDURE IF EXISTS kinerja_progress_tandai $$
CREATE PROCEDURE kinerja_progress_tandai(IN p_nip CHAR(18), IN p_tanggal DATETIME)
    MODIFIES SQL DATA
BEGIN
    INSERT INTO kinerja_progress_ubah (periode, nip, versi)
    VALUES (DATE_FORMAT(p_tanggal, '%Y%m'), p_nip, 1)
    ON DUPLICATE KEY UPDATE versi = versi + 1;
END $$

-- After every change of an activity: the mark of its month for the
-- incremental recompute (as kinerja_progress_tandai), and the kept list of
-- verified, unvalidated activities (kinerja_validasi_tunggu) that the
-- dashboard counts; and, when the change can move a review note, a new
-- version of the servant's work (kinerja_catatan_versi) and no mark of kept
-- notes (kinerja_catatan_tanda). One trigger per event with the statements
-- inline: approvals run one per connection, and each trigger or call costs
-- there.
DROP TRIGGER IF EXISTS kinerja_aktivitas_progress_insert $$
DROP TRIGGER IF EXISTS kinerja_aktivitas_progress_update $$
DROP TRIGGER IF EXISTS kinerja_aktivitas_progress_delete $$
DROP TRIGGER IF EXISTS kinerja_aktivitas_tunggu_insert $$
DROP TRIGGER IF EXISTS kinerja_aktivitas_tunggu_update $$
DROP TRIGGER IF EXISTS kinerja_aktivitas_tunggu_delete $$

DROP TRIGGER IF EXISTS kinerja_aktivitas_sesudah_insert $$
CREATE TRIGGER kinerja_aktivitas_sesudah_insert AFTER INSERT ON aktivitas FOR EACH ROW
BEGIN
    INSERT INTO kinerja_progress_ubah (periode, nip, versi)
    VALUES (DATE_FORMAT(NEW.tanggal_aktivitas, '%Y%m'), NEW.nip, 1)
    ON DUPLICATE KEY UPDATE versi = versi + 1;
    IF NEW.status IN ('accepted', 'rejected') AND NEW.tanggal_validasi IS NULL AND NEW.tanggal_status IS NOT NULL THEN
        INSERT IGNORE INTO kinerja_validasi_tunggu (nip, hari, id) VALUES (NEW.nip, DATE(NEW.tanggal_status), NEW.id);
    END IF;
    INSERT INTO kinerja_catatan_versi (nip, versi) VALUES (NEW.nip, 1) ON DUPLICATE KEY UPDATE versi = versi + 1;
    DELETE FROM kinerja_catatan_tanda WHERE nip = NEW.nip;
END $$

DROP TRIGGER IF EXISTS kinerja_aktivitas_sesudah_update $$
CREATE TRIGGER kinerja_aktivitas_sesudah_update AFTER UPDATE ON aktivitas FOR EACH ROW
BEGIN
    DECLARE v_lama TINYINT DEFAULT OLD.status IN ('accepted', 'rejected') AND OLD.tanggal_validasi IS NULL
                                   AND OLD.tanggal_status IS NOT NULL;
    DECLARE v_baru TINYINT DEFAULT NEW.status IN ('accepted', 'rejected') AND NEW.tanggal_validasi IS NULL
                                   AND NEW.tanggal_status IS NOT NULL;
    -- Only what the figures count; validations and other stamps change nothing.
    IF NOT (NEW.status <=> OLD.status AND NEW.volume <=> OLD.volume AND NEW.bobot_skr <=> OLD.bobot_skr
            AND NEW.jenis_jabatan <=> OLD.jenis_jabatan AND NEW.nip <=> OLD.nip
            AND NEW.tanggal_aktivitas <=> OLD.tanggal_aktivitas) THEN
        INSERT INTO kinerja_progress_ubah (periode, nip, versi)
        VALUES (DATE_FORMAT(NEW.tanggal_aktivitas, '%Y%m'), NEW.nip, 1)
        ON DUPLICATE KEY UPDATE versi = versi + 1;
        IF NOT (NEW.nip <=> OLD.nip AND DATE_FORMAT(NEW.tanggal_aktivitas, '%Y%m')
                                        <=> DATE_FORMAT(OLD.tanggal_aktivitas, '%Y%m')) THEN
            INSERT INTO kinerja_progress_ubah (periode, nip, versi)
            VALUES (DATE_FORMAT(OLD.tanggal_aktivitas, '%Y%m'), OLD.nip, 1)
            ON DUPLICATE KEY UPDATE versi = versi + 1;
        END IF;
    END IF;
    IF v_lama AND NOT (v_baru AND NEW.nip <=> OLD.nip AND DATE(NEW.tanggal_status) <=> DATE(OLD.tanggal_status)
                       AND NEW.id <=> OLD.id) THEN
        DELETE FROM kinerja_validasi_tunggu
         WHERE nip = OLD.nip AND hari = DATE(OLD.tanggal_status) AND id = OLD.id;
    END IF;
    IF v_baru THEN
        INSERT IGNORE INTO kinerja_validasi_tunggu (nip, hari, id) VALUES (NEW.nip, DATE(NEW.tanggal_status), NEW.id);
    END IF;
    -- The review notes read these; verifications and validations that keep
    -- the work counted leave them as they are.
    IF NOT (NEW.nip <=> OLD.nip AND NEW.tanggal_aktivitas <=> OLD.tanggal_aktivitas
            AND NEW.tanggal_input <=> OLD.tanggal_input AND NEW.deskripsi <=> OLD.deskripsi
            AND NEW.volume <=> OLD.volume AND NEW.kode_rincian <=> OLD.kode_rincian
            AND NEW.bobot_skr <=> OLD.bobot_skr
            AND (NEW.status IN ('rejected', 'rejected_by_spv')) <=> (OLD.status IN ('rejected', 'rejected_by_spv'))) THEN
        INSERT INTO kinerja_catatan_versi (nip, versi) VALUES (NEW.nip, 1) ON DUPLICATE KEY UPDATE versi = versi + 1;
        DELETE FROM kinerja_catatan_tanda WHERE nip = NEW.nip;
        IF NOT NEW.nip <=> OLD.nip THEN
            INSERT INTO kinerja_catatan_versi (nip, versi) VALUES (OLD.nip, 1) ON DUPLICATE KEY UPDATE versi = versi + 1;
            DELETE FROM kinerja_catatan_tanda WHERE nip = OLD.nip;
        END IF;
    END IF;
END $$

DROP TRIGGER IF EXISTS kinerja_aktivitas_sesudah_delete $$
CREATE TRIGGER kinerja_aktivitas_sesudah_delete AFTER DELETE ON aktivitas FOR EACH ROW
BEGIN
    INSERT INTO kinerja_progress_ubah (periode, nip, versi)
    VALUES (DATE_FORMAT(OLD.tanggal_aktivitas, '%Y%m'), OLD.nip, 1)
    ON DUPLICATE KEY UPDATE versi = versi + 1;
    IF OLD.tanggal_status IS NOT NULL THEN
        DELETE FROM kinerja_validasi_tunggu
         WHERE nip = OLD.nip AND hari = DATE(OLD.tanggal_status) AND id = OLD.id;
    END IF;
    INSERT INTO kinerja_catatan_versi (nip, versi) VALUES (OLD.nip, 1) ON DUPLICATE KEY UPDATE versi = versi + 1;
    DELETE FROM kinerja_catatan_tanda WHERE nip = OLD.nip;
END $$

-- Own progress of one servant for one period; no row when none is computed.
-- Texts (_x) carry two decimals, bar values (_r) whole numbers 0..100.
DROP PROCEDURE IF EXISTS kinerja_progress_get $$
CREATE PROCEDURE kinerja_progress_get(IN var_periode VARCHAR(10), IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    -- the owner, and the superiors who grade the month
    CALL kinerja_wajib_lihat(var_nip);
    SELECT LEAST(100, GREATEST(0, ROUND(persen_diakui))) AS persen_diakui_r,
           CAST(persen_diakui AS CHAR) AS progress_diakui_x,
           LEAST(100, GREATEST(0, ROUND(persen_all))) AS persen_all_r,
           CAST(persen_all AS CHAR) AS progress_all_x,
           LEAST(100, GREATEST(0, ROUND(persen_utama))) AS persen_utama_r,
           CAST(persen_utama AS CHAR) AS persen_utama_x,
           LEAST(100, GREATEST(0, ROUND(persen_tambahan))) AS persen_tambahan_r,
           CAST(persen_tambahan AS CHAR) AS persen_tambahan_x,
           LEAST(100, GREATEST(0, ROUND(persen_lainnya))) AS persen_lainnya_r,
           CAST(persen_lainnya AS CHAR) AS persen_lainnya_x,
           -- the last run that covered the figure, changed or not
           DATE_FORMAT(GREATEST(g.tanggal_progress, COALESCE(j.terakhir, g.tanggal_progress)), '%Y-%m-%d %H:%i:%s')
               AS tanggal_progress
      FROM kinerja_progress g LEFT JOIN kinerja_progress_jalan j ON j.periode = g.periode
     WHERE g.periode = var_periode AND g.nip = var_nip;
END $$

-- Second-level progress of one servant for one period, two decimals each.
DROP PROCEDURE IF EXISTS kinerja_progress_ah2 $$
CREATE PROCEDURE kinerja_progress_ah2(IN var_periode VARCHAR(10), IN var_nip VARCHAR(40))
    READS SQL DATA
BEGIN
    CALL kinerja_wajib_lihat(var_nip);
    SELECT CAST(p1 AS CHAR) AS p1, CAST(p2 AS CHAR) AS p2, CAST(p3 AS CHAR) AS p3, CAST(ah2 AS CHAR) AS ah2,
           DATE_FORMAT(GREATEST(h.tanggal_progress, COALESCE(j.terakhir, h.tanggal_progress)), '%Y-%m-%d %H:%i:%s')
               AS tanggal_progress
      FROM kinerja_progress_ah2 h LEFT JOIN kinerja_progress_jalan j ON j.periode = h.periode
     WHERE h.periode = var_periode AND h.nip = var_nip;
END $$

-- The proportions of the sources of the second-level progress per
-- classification, as plain numbers (40, not 40.00).
DROP PROCEDURE IF EXISTS kinerja_rasioAK_show $$
CREATE PROCEDURE kinerja_rasioAK_show()
    READS SQL DATA
BEGIN
    SELECT r.klasifikasi_id AS klasifikasi,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n1)) AS n1,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n2)) AS n2,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n3)) AS n3,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n4)) AS n4,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n5)) AS n5,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n6)) AS n6,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n7)) AS n7,
           TRIM(TRAILING '.' FROM TRIM(TRAILING '0' FROM r.n8)) AS n8
      FROM rasio_ak r
      JOIN klasifikasi_jabatan k ON k.id = r.klasifikasi_id
     ORDER BY k.urutan;
END $$

DROP PROCEDURE IF EXISTS kinerja_klasifikasi_jabatan_show $$
CREATE PROCEDURE kinerja_klasifikasi_jabatan_show()
    READS SQL DATA
BEGIN
    SELECT id, klasifikasi_jabatan FROM klasifikasi_jabatan ORDER BY urutan;
END $$

-- Whatever changes the tables the superior rule reads outdates the map.
DROP TRIGGER IF EXISTS kinerja_cache_pns_peta_insert $$
CREATE TRIGGER kinerja_cache_pns_peta_insert AFTER INSERT ON cache_pns FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_cache_pns_peta_update $$
CREATE TRIGGER kinerja_cache_pns_peta_update AFTER UPDATE ON cache_pns FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_cache_pns_peta_delete $$
CREATE TRIGGER kinerja_cache_pns_peta_delete AFTER DELETE ON cache_pns FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_jabatan_peta_insert $$
CREATE TRIGGER kinerja_jabatan_peta_insert AFTER INSERT ON jabatan FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_jabatan_peta_update $$
CREATE TRIGGER kinerja_jabatan_peta_update AFTER UPDATE ON jabatan FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_jabatan_peta_delete $$
CREATE TRIGGER kinerja_jabatan_peta_delete AFTER DELETE ON jabatan FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_unit_peta_insert $$
CREATE TRIGGER kinerja_unit_peta_insert AFTER INSERT ON unit FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_unit_peta_update $$
CREATE TRIGGER kinerja_unit_peta_update AFTER UPDATE ON unit FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_unit_peta_delete $$
CREATE TRIGGER kinerja_unit_peta_delete AFTER DELETE ON unit FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_plt_peta_insert $$
CREATE TRIGGER kinerja_plt_peta_insert AFTER INSERT ON plt FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_plt_peta_update $$
CREATE TRIGGER kinerja_plt_peta_update AFTER UPDATE ON plt FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_plt_peta_delete $$
CREATE TRIGGER kinerja_plt_peta_delete AFTER DELETE ON plt FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_delegasi_peta_insert $$
CREATE TRIGGER kinerja_delegasi_peta_insert AFTER INSERT ON delegasi FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_delegasi_peta_update $$
CREATE TRIGGER kinerja_delegasi_peta_update AFTER UPDATE ON delegasi FOR EACH ROW CALL kinerja_atasan_peta_basi() $$
DROP TRIGGER IF EXISTS kinerja_delegasi_peta_delete $$
CREATE TRIGGER kinerja_delegasi_peta_delete AFTER DELETE ON delegasi FOR EACH ROW CALL kinerja_atasan_peta_basi() $$

DELIMITER ;
