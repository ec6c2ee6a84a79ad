-- Start-up, login, logout and the log.
SET NAMES utf8mb4;

DELIMITER $$

-- Compares the client's version with the newest one the server knows.
-- Columns (read by position): verdict ("Up-Wajib" when a newer mandatory
-- version exists, "Up-GakWajib" when only optional ones do, "Up-ToDate"
-- otherwise), the newest version, its release date, and a short line the
-- client shows under its own version.
DROP PROCEDURE IF EXISTS kinerja_version_check_trial $$
CREATE PROCEDURE kinerja_version_check_trial(IN var_app VARCHAR(40))
    READS SQL DATA
BEGIN
    DECLARE v_terbaru VARCHAR(20) DEFAULT NULL;
    DECLARE v_rilis DATE DEFAULT NULL;
    DECLARE v_wajib INT DEFAULT 0;
    DECLARE v_klien BIGINT DEFAULT kinerja_fn_versi_nilai(var_app);

    SELECT versi, tanggal_rilis INTO v_terbaru, v_rilis FROM kinerja_versi
     ORDER BY kinerja_fn_versi_nilai(versi) DESC, tanggal_rilis DESC LIMIT 1;
    SELECT COUNT(*) INTO v_wajib FROM kinerja_versi
     WHERE wajib = 1 AND kinerja_fn_versi_nilai(versi) > v_klien;

    IF v_terbaru IS NULL OR kinerja_fn_versi_nilai(v_terbaru) <= v_klien THEN
        SELECT 'Up-ToDate' AS status_update, COALESCE(v_terbaru, var_app) AS versi_terbaru,
               COALESCE(DATE_FORMAT(v_rilis, '%Y-%m-%d'), '') AS tanggal_rilis,
               'Versi terbaru' AS keterangan;
    ELSE
        SELECT IF(v_wajib > 0, 'Up-Wajib', 'Up-GakWajib') AS status_update, v_terbaru AS versi_terbaru,
               DATE_FORMAT(v_rilis, '%Y-%m-%d') AS tanggal_rilis,
               CONCAT('Tersedia versi ', v_terbaru) AS keterangan;
    END IF;
END $$

DELIMITER ;
