-- Rows that follow the routines, written anew with every load of them
-- (after the procedures and events). Tables are defined in schema.sql and
-- migrations/; this file holds no definition.
SET NAMES utf8mb4;

-- The kinds of log entry of the log monitoring page: each row joins the code
-- of a box of the page to an action name that a procedure or the client
-- writes (kinerja_log_jenis in schema.sql).
DELETE FROM kinerja_log_jenis;
INSERT INTO kinerja_log_jenis (kode, aksi, keterangan) VALUES
  -- logins and logouts of the client, failed logins and locks of the server
  ('login',         'LogIn',                  NULL),
  ('login',         'Gagal LogIn',            NULL),
  ('akt_input',     'Aktivitas Harian Input', NULL),
  ('akt_ubah',      'Aktivitas Harian Ubah',  NULL),
  ('akt_hapus',     'Aktivitas Harian Hapus', NULL),
  ('kamus_tambah',  'Kamus - Tambah',         NULL),
  ('kamus_ubah',    'Kamus - Ubah',           NULL),
  ('kamus_hapus',   'Kamus - Hapus',          NULL),
  -- the hourly automatic approval is an approval too
  ('verif_approve', 'Verifikasi - Approve',   NULL),
  ('verif_approve', 'Verifikasi - Sistem',    NULL),
  ('verif_reject',  'Verifikasi - Reject',    NULL),
  -- the reason a superior gives for a rejection belongs with it
  ('verif_reject',  'Verifikasi - Alasan Tolak', NULL),
  ('validasi',      'Validasi OK',            NULL),
  ('setting',       'Setting Update',         NULL),
  ('plt_tambah',    'PLT - Tambah',           NULL),
  ('plt_ubah',      'PLT - Ubah',             NULL),
  ('user_update',   'User - Update',          NULL),
  ('informasi',     'Informasi - Ubah',       NULL),
  ('jf_ab',         'JF Atas Bawah - Ubah',   NULL),
  -- an administrator's change of the dictionary's verifiers, not a
  -- dictionary entry of the user's own
  ('verifikator',   'Verifikator Kamus - Tambah', NULL),
  ('verifikator',   'Verifikator Kamus - Hapus',  NULL),
  -- the staff page logs an account reset as action "User"
  ('reset_akun',    'User',                   'Reset Akun');


-- The review rules may have changed with this load: notes kept before are
-- computed again when next listed.
DELETE FROM kinerja_catatan_tanda;
