-- Privileges of the application account on the current schema: it runs the
-- procedures, and reads or writes only what the client's few plain
-- statements need (registration and the unit list). Password digests stay
-- out of its reach: it may read the NIP column of the accounts only.
GRANT EXECUTE ON * TO 'aplikasi'@'127.0.0.1', 'aplikasi'@'localhost';
GRANT SELECT (nama_unit, induk_id) ON unit TO 'aplikasi'@'127.0.0.1', 'aplikasi'@'localhost';
GRANT SELECT (nip, golongan_id, nama_induk) ON cache_pns TO 'aplikasi'@'127.0.0.1', 'aplikasi'@'localhost';
GRANT SELECT (nip), INSERT (nip, pass, level) ON kinerja_user TO 'aplikasi'@'127.0.0.1', 'aplikasi'@'localhost';
GRANT INSERT (nip, aksi, tanggal_aksi, keterangan) ON kinerja_log_proses TO 'aplikasi'@'127.0.0.1', 'aplikasi'@'localhost';
