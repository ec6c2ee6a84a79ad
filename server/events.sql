-- Scheduled work. Each event calls a procedure that can also be run by hand.
SET NAMES utf8mb4;

-- Progress figures every hour at minute one.
CREATE OR REPLACE EVENT kinerja_progress_tiap_jam
    ON SCHEDULE EVERY 1 HOUR
    STARTS DATE_FORMAT(NOW() + INTERVAL 1 HOUR, '%Y-%m-%d %H:01:00')
    ON COMPLETION PRESERVE
    DO CALL kinerja_progress_hitung_semua();

-- Automatic approval of activities left unverified, every hour on the hour,
-- just before the progress figures are recomputed.
CREATE OR REPLACE EVENT kinerja_auto_approve_tiap_jam
    ON SCHEDULE EVERY 1 HOUR
    STARTS DATE_FORMAT(NOW() + INTERVAL 1 HOUR, '%Y-%m-%d %H:00:00')
    ON COMPLETION PRESERVE
    DO CALL kinerja_aktivitas_auto_approve();

-- Expired sessions and old login failures, nightly.
CREATE OR REPLACE EVENT kinerja_sesi_bersihkan_harian
    ON SCHEDULE EVERY 1 DAY
    STARTS DATE_FORMAT(NOW() + INTERVAL 1 DAY, '%Y-%m-%d 02:17:00')
    ON COMPLETION PRESERVE
    DO CALL kinerja_sesi_bersihkan();

-- Verifications the validation window has left behind leave the kept list
-- of work waiting for validation, just after midnight.
CREATE OR REPLACE EVENT kinerja_validasi_tunggu_harian
    ON SCHEDULE EVERY 1 DAY
    STARTS DATE_FORMAT(NOW() + INTERVAL 1 DAY, '%Y-%m-%d 00:07:00')
    ON COMPLETION PRESERVE
    DO CALL kinerja_validasi_tunggu_bersihkan();

-- Review notes kept but not listed for a week, nightly.
CREATE OR REPLACE EVENT kinerja_catatan_harian
    ON SCHEDULE EVERY 1 DAY
    STARTS DATE_FORMAT(NOW() + INTERVAL 1 DAY, '%Y-%m-%d 00:27:00')
    ON COMPLETION PRESERVE
    DO CALL kinerja_catatan_bersihkan();
