-- Tarvesa performance database: tables and reference data, version 1 of the
-- schema. Every later change to a table is a numbered file of migrations/,
-- applied in order after this one (see migrations/README.md); this file
-- stays as version 1 was released.
-- Loaded into an empty schema that is the current database of the session.
-- Every statement may run again (IF NOT EXISTS, INSERT IGNORE), so a load
-- that stopped halfway is resumed by loading the file once more.
-- Every table is InnoDB/utf8mb4 with a primary key, so the schema stays safe
-- for row-based replication and Galera clusters.

SET NAMES utf8mb4;
SET default_storage_engine = InnoDB;

-- ---------------------------------------------------------------------------
-- Organisation: work units and positions
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS unit (
  id                  VARCHAR(20)  NOT NULL,
  nama_unit           VARCHAR(200) NOT NULL,
  induk_id            VARCHAR(20)  NULL COMMENT 'top-level unit (SKPD) of a sub-unit; NULL for a top-level unit',
  parent_id           VARCHAR(20)  NULL COMMENT 'the unit directly above',
  kode_jabatan_kepala VARCHAR(20)  NULL COMMENT 'head position of the unit',
  PRIMARY KEY (id),
  KEY ix_unit_induk (induk_id, nama_unit),
  KEY ix_unit_parent (parent_id),
  KEY ix_unit_kepala (kode_jabatan_kepala)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS golongan (
  id       CHAR(2)     NOT NULL COMMENT 'roman group as digit + letter place, e.g. 31 = III/a',
  golongan VARCHAR(8)  NOT NULL,
  pangkat  VARCHAR(40) NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS jenis_jabatan (
  id   VARCHAR(12) NOT NULL COMMENT 'struktural, fungsional, pelaksana',
  nama VARCHAR(40) NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS jenjang_jabatan (
  id           VARCHAR(4)  NOT NULL,
  nama_jenjang VARCHAR(60) NOT NULL,
  kategori     VARCHAR(12) NOT NULL COMMENT 'keahlian or keterampilan',
  urutan       TINYINT     NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS klasifikasi_jabatan (
  id                  VARCHAR(4)   NOT NULL,
  klasifikasi_jabatan VARCHAR(200) NOT NULL,
  urutan              TINYINT      NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Proportions (percent) in which the second-level progress mixes its sources:
-- n1 own progress, n2 mean of the direct subordinates, n3 mean of the
-- two-level subordinates; n4..n8 are sources kept for later rules (0 today).
CREATE TABLE IF NOT EXISTS rasio_ak (
  klasifikasi_id VARCHAR(4)   NOT NULL,
  n1             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n2             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n3             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n4             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n5             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n6             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n7             DECIMAL(5,2) NOT NULL DEFAULT 0,
  n8             DECIMAL(5,2) NOT NULL DEFAULT 0,
  PRIMARY KEY (klasifikasi_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Performance positions: the codes under which the task dictionary is filed.
-- "200000" holds the managerial task details, "300000" the general ones.
CREATE TABLE IF NOT EXISTS jabatan_kinerja (
  kode             VARCHAR(20)  NOT NULL,
  nama_jabatan     VARCHAR(200) NOT NULL,
  jenis_jabatan_id VARCHAR(12)  NULL,
  jenjang_id       VARCHAR(4)   NULL,
  PRIMARY KEY (kode),
  KEY ix_jk_nama (nama_jabatan),
  KEY ix_jk_jenis (jenis_jabatan_id, nama_jabatan)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Positions of the personnel data, with their hierarchy.
CREATE TABLE IF NOT EXISTS jabatan (
  kode_jabatan         VARCHAR(20)  NOT NULL,
  nama_jabatan         VARCHAR(200) NOT NULL,
  jenis_jabatan_id     VARCHAR(12)  NOT NULL,
  kelas_jabatan        TINYINT      NOT NULL DEFAULT 0,
  eselon               VARCHAR(6)   NULL,
  jenjang_id           VARCHAR(4)   NULL,
  unit_id              VARCHAR(20)  NOT NULL,
  induk_id             VARCHAR(20)  NOT NULL,
  atasan_kode_jabatan  VARCHAR(20)  NULL COMMENT 'position directly above',
  kode_jabatan_kinerja VARCHAR(20)  NULL COMMENT 'performance position of the dictionary',
  kode_klasifikasi     VARCHAR(4)   NULL,
  PRIMARY KEY (kode_jabatan),
  KEY ix_jabatan_atasan (atasan_kode_jabatan),
  KEY ix_jabatan_unit (unit_id),
  KEY ix_jabatan_induk (induk_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- ---------------------------------------------------------------------------
-- Personnel cache (synchronised from the regional personnel system)
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS cache_pns (
  nip              CHAR(18)     NOT NULL,
  nama_lengkap     VARCHAR(150) NOT NULL,
  jenis_kelamin    CHAR(1)      NOT NULL DEFAULT 'L',
  tanggal_lahir    DATE         NULL,
  golongan_id      CHAR(2)      NOT NULL,
  kode_jabatan     VARCHAR(20)  NOT NULL,
  jenis_jabatan_id VARCHAR(12)  NOT NULL,
  nama_jabatan     VARCHAR(200) NOT NULL,
  kelas_jabatan    TINYINT      NOT NULL DEFAULT 0,
  unit_id          VARCHAR(20)  NOT NULL,
  nama_unit        VARCHAR(200) NOT NULL,
  induk_id         VARCHAR(20)  NOT NULL,
  nama_induk       VARCHAR(200) NOT NULL,
  status_pns       VARCHAR(10)  NOT NULL DEFAULT 'aktif',
  tanggal_sinkron  DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (nip),
  KEY ix_pns_jabatan (kode_jabatan),
  KEY ix_pns_induk (induk_id, nama_lengkap),
  KEY ix_pns_nama (nama_lengkap)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- One row per servant, written by every write that adds to the servant's
-- day (kinerja_kunci_pns). On one server the row lock on cache_pns already
-- queues such writes; on a Galera cluster a lock taken on one node holds
-- nothing on another, and only rows written are compared when transactions
-- commit. Two writers on different nodes both write this row, so the later
-- one is refused (error 1213, SQLSTATE 40001) and rolled back whole.
CREATE TABLE IF NOT EXISTS kinerja_pns_tulis (
  nip   CHAR(18)        NOT NULL,
  versi BIGINT UNSIGNED NOT NULL DEFAULT 0 COMMENT 'writes so far',
  PRIMARY KEY (nip)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Acting and side assignments: Plt, Plh, tugas sampiran (head of a school or
-- health centre) and Korwil. An assignment is active from plt_start through
-- plt_end (open when NULL).
CREATE TABLE IF NOT EXISTS plt (
  id               BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip              CHAR(18)        NOT NULL,
  kode_jabatan_plt VARCHAR(20)     NOT NULL,
  jenis            VARCHAR(16)     NOT NULL COMMENT 'plt, plh, tugas-sampiran, korwil',
  plt_start        DATE            NOT NULL,
  plt_end          DATE            NULL,
  keterangan       VARCHAR(200)    NULL,
  PRIMARY KEY (id),
  KEY ix_plt_jabatan (kode_jabatan_plt, plt_start),
  KEY ix_plt_nip (nip),
  KEY ix_plt_jenis (jenis, plt_end)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Delegation of the supervision of a (functional) official to another unit.
CREATE TABLE IF NOT EXISTS delegasi (
  id         BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip        CHAR(18)        NOT NULL,
  induk_id   VARCHAR(20)     NOT NULL,
  unit_id    VARCHAR(20)     NOT NULL COMMENT 'unit whose head supervises the official',
  date_start DATETIME        NOT NULL,
  date_end   DATETIME        NULL,
  created_by VARCHAR(18)     NOT NULL,
  created_at DATETIME        NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (id),
  KEY ix_delegasi_nip (nip, date_end),
  KEY ix_delegasi_induk (induk_id),
  KEY ix_delegasi_unit (unit_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Ladder of functional positions: companions above and below a position.
CREATE TABLE IF NOT EXISTS jf_pendamping (
  id              INT UNSIGNED NOT NULL AUTO_INCREMENT,
  kode_jabatan    VARCHAR(20)  NOT NULL,
  kode_pendamping VARCHAR(20)  NOT NULL,
  arah            VARCHAR(5)   NOT NULL COMMENT 'atas or bawah',
  PRIMARY KEY (id),
  UNIQUE KEY ux_jf_pendamping (kode_jabatan, kode_pendamping),
  KEY ix_jf_pendamping_kode (kode_pendamping)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Who verifies proposed dictionary entries of which functional positions.
CREATE TABLE IF NOT EXISTS verifikator_kamus (
  id           INT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip          CHAR(18)     NOT NULL,
  kode_jabatan VARCHAR(20)  NOT NULL,
  PRIMARY KEY (id),
  UNIQUE KEY ux_verifikator (nip, kode_jabatan),
  KEY ix_verifikator_jabatan (kode_jabatan)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- ---------------------------------------------------------------------------
-- Accounts, log, settings, texts, versions
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS kinerja_level (
  id           VARCHAR(2)  NOT NULL,
  access_level VARCHAR(30) NOT NULL,
  PRIMARY KEY (id),
  UNIQUE KEY ux_level_nama (access_level)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_user (
  nip           VARCHAR(18) NOT NULL,
  pass          CHAR(32)    NOT NULL COMMENT 'md5 digest in hexadecimal',
  level         VARCHAR(2)  NOT NULL DEFAULT '1',
  register_date DATETIME    NOT NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (nip),
  KEY ix_user_level (level)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Sessions: the token itself never reaches the server's disk, only its
-- SHA-256 digest (see identity.sql).
CREATE TABLE IF NOT EXISTS kinerja_sesi (
  token_sha2     CHAR(64)    NOT NULL,
  nip            VARCHAR(18) NOT NULL,
  access_level   VARCHAR(40) NOT NULL COMMENT 'level when the session was issued',
  tanggal_terbit DATETIME    NOT NULL,
  tanggal_pakai  DATETIME    NOT NULL COMMENT 'last bind; idle sessions expire',
  tanggal_cabut  DATETIME    NULL COMMENT 'revoked at logout',
  PRIMARY KEY (token_sha2),
  KEY ix_sesi_nip (nip),
  KEY ix_sesi_pakai (tanggal_pakai)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Failed logins per account in the last minutes, and accounts locked after
-- too many of them.
CREATE TABLE IF NOT EXISTS kinerja_login_gagal (
  id      BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip     VARCHAR(18)     NOT NULL,
  tanggal DATETIME        NOT NULL,
  PRIMARY KEY (id),
  KEY ix_login_gagal (nip, tanggal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_login_kunci (
  nip          VARCHAR(18) NOT NULL,
  kunci_sampai DATETIME    NOT NULL,
  PRIMARY KEY (nip)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_log_proses (
  id           BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip          VARCHAR(18)     NOT NULL,
  aksi         VARCHAR(40)     NOT NULL,
  tanggal_aksi DATETIME        NOT NULL,
  keterangan   VARCHAR(200)    NULL,
  target       VARCHAR(18)     NULL,
  sumber       VARCHAR(10)     NOT NULL DEFAULT 'klien' COMMENT 'server: written by a procedure for nobody bound',
  PRIMARY KEY (id),
  KEY ix_log_nip (nip, tanggal_aksi),
  KEY ix_log_aksi (aksi, tanggal_aksi),
  KEY ix_log_tanggal (tanggal_aksi)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- What each kind of log entry on the log monitoring page means: the code the
-- client sends for a ticked box, the action names the writers use, and, for
-- an action shared by several events, the one description that marks the
-- event (NULL: any description). The page's boxes and the writers meet only
-- here. Its rows follow the procedures: routine-data.sql writes them anew
-- with every load of the routines.
CREATE TABLE IF NOT EXISTS kinerja_log_jenis (
  kode       VARCHAR(20)  NOT NULL,
  aksi       VARCHAR(40)  NOT NULL,
  keterangan VARCHAR(200) NULL,
  PRIMARY KEY (kode, aksi)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_setting (
  jenis         VARCHAR(40)  NOT NULL,
  nama          VARCHAR(60)  NOT NULL,
  nilai         VARCHAR(200) NULL,
  tanggal_awal  DATETIME     NULL,
  tanggal_akhir DATETIME     NULL,
  keterangan    VARCHAR(200) NULL,
  PRIMARY KEY (jenis, nama)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_text (
  id    INT          NOT NULL,
  judul VARCHAR(100) NOT NULL,
  isi   TEXT         NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS informasi (
  id         INT UNSIGNED NOT NULL AUTO_INCREMENT,
  aplikasi   VARCHAR(10)  NOT NULL COMMENT 'tarvesa or tpp',
  pengumuman TEXT         NOT NULL,
  tanggal    DATETIME     NOT NULL DEFAULT CURRENT_TIMESTAMP,
  aktif      TINYINT(1)   NOT NULL DEFAULT 1,
  urutan     INT          NOT NULL DEFAULT 0,
  PRIMARY KEY (id),
  KEY ix_informasi (aplikasi, aktif, urutan)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_versi (
  versi         VARCHAR(20)  NOT NULL,
  tanggal_rilis DATE         NOT NULL,
  wajib         TINYINT(1)   NOT NULL DEFAULT 0,
  catatan       VARCHAR(200) NULL,
  PRIMARY KEY (versi)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- ---------------------------------------------------------------------------
-- Task dictionary and daily activities
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS rincian_tugas (
  kode          INT UNSIGNED      NOT NULL AUTO_INCREMENT,
  kode_jabatan  VARCHAR(20)       NOT NULL COMMENT 'performance position (jabatan_kinerja.kode)',
  rincian_tugas VARCHAR(500)      NOT NULL,
  satuan        VARCHAR(60)       NOT NULL,
  bobot_skr     SMALLINT UNSIGNED NOT NULL COMMENT 'standard minutes',
  aktif         TINYINT(1)        NOT NULL DEFAULT 1,
  PRIMARY KEY (kode),
  KEY ix_rincian_jabatan (kode_jabatan, rincian_tugas(100))
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS aktivitas_status (
  kode             VARCHAR(20) NOT NULL,
  status_deskripsi VARCHAR(60) NOT NULL,
  PRIMARY KEY (kode)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS aktivitas (
  id                BIGINT UNSIGNED   NOT NULL AUTO_INCREMENT,
  nip               CHAR(18)          NOT NULL,
  jenis_jabatan     VARCHAR(10)       NOT NULL COMMENT 'Utama, Tambahan, Lainnya',
  kode_rincian      INT UNSIGNED      NOT NULL,
  rincian_tugas     VARCHAR(500)      NOT NULL DEFAULT '' COMMENT 'task name when recorded; filled by a trigger',
  kode_jabatan      VARCHAR(20)       NOT NULL DEFAULT '',
  id_sasaran        VARCHAR(20)       NOT NULL DEFAULT '0',
  deskripsi         TEXT              NOT NULL,
  volume            INT UNSIGNED      NOT NULL,
  satuan            VARCHAR(60)       NOT NULL,
  bobot_skr         SMALLINT UNSIGNED NOT NULL,
  tanggal_aktivitas DATETIME          NOT NULL,
  tanggal_input     DATETIME          NOT NULL,
  status            VARCHAR(20)       NOT NULL DEFAULT '0',
  tanggal_status    DATETIME          NULL,
  nip_verifikator   CHAR(18)          NULL,
  tanggal_validasi  DATETIME          NULL,
  hari_status       DATE AS (CAST(tanggal_status AS DATE)) VIRTUAL COMMENT 'the day of tanggal_status, indexed',
  nip_validator     CHAR(18)          NULL,
  nip_atasan1       CHAR(18)          NOT NULL,
  nip_atasan2       CHAR(18)          NOT NULL DEFAULT '',
  -- Clustered by owner and day: a servant's list is one contiguous range.
  PRIMARY KEY (nip, tanggal_aktivitas, id),
  UNIQUE KEY ux_akt_id (id),
  KEY ix_akt_nip_input (nip, tanggal_input),
  -- Also covers the counts of unverified work (no verification date, status
  -- and day of input) without a row lookup each.
  KEY ix_akt_nip_status_tgl (nip, tanggal_status, status, tanggal_input),
  -- a subordinate's verifications of one day, for the counts of work
  -- waiting for validation: equality on the day instead of a date range
  -- that a join would read as the subordinate's whole history
  KEY ix_akt_nip_hari_status (nip, hari_status, status, tanggal_validasi),
  KEY ix_akt_atasan1 (nip_atasan1, status),
  KEY ix_akt_atasan2 (nip_atasan2, status),
  -- One month of everybody for the progress recompute, read from the index
  -- alone.
  KEY ix_akt_bulan (tanggal_aktivitas, nip, status, jenis_jabatan, bobot_skr, volume),
  -- Also the monitoring of superiors: it reads the days of input of some
  -- statuses and needs nothing beyond this index.
  KEY ix_akt_status_input (status, tanggal_input, nip_atasan1, nip_atasan2, nip_verifikator, tanggal_status,
                           tanggal_validasi)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Verified activities not yet validated, kept by the triggers on aktivitas
-- for the dashboard's count of work waiting for validation: a superior's
-- two-level subordinates each read a few rows here instead of a range per
-- day of the window in the activity table. Rows older than the window are
-- purged nightly; kinerja_validasi_tunggu_sejak.sejak is the first day the
-- table holds whole.
CREATE TABLE IF NOT EXISTS kinerja_validasi_tunggu (
  nip  CHAR(18)        NOT NULL,
  hari DATE            NOT NULL COMMENT 'the day of verification',
  id   BIGINT UNSIGNED NOT NULL,
  PRIMARY KEY (nip, hari, id),
  KEY ix_tunggu_hari (hari)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
CREATE TABLE IF NOT EXISTS kinerja_validasi_tunggu_sejak (
  id    TINYINT UNSIGNED NOT NULL,
  sejak DATE             NOT NULL,
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
-- A new schema has no verification yet, and the triggers keep every one
-- from now on: the list is whole for a month back, longer than the
-- validation window.
INSERT IGNORE INTO kinerja_validasi_tunggu_sejak (id, sejak) VALUES (1, CURDATE() - INTERVAL 31 DAY);

-- The plausibility notes of the review lists, kept between lists so that a
-- list shown again does not compute them again. A change of a servant's
-- work that can move a note (triggers on aktivitas) raises the servant's
-- kinerja_catatan_versi and removes the servant's kinerja_catatan_tanda,
-- which says for which activity days the kept notes are whole, under which
-- settings; notes computed while the version moved are not marked. Purged
-- nightly.
CREATE TABLE IF NOT EXISTS kinerja_catatan_versi (
  nip   CHAR(18)        NOT NULL,
  versi BIGINT UNSIGNED NOT NULL DEFAULT 0,
  PRIMARY KEY (nip)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
CREATE TABLE IF NOT EXISTS kinerja_catatan_tanda (
  nip      CHAR(18)        NOT NULL,
  stempel  CHAR(32)        NOT NULL COMMENT 'digest of the settings the rules and texts read',
  awal     DATE            NOT NULL COMMENT 'first activity day whose notes are kept whole',
  akhir    DATE            NOT NULL COMMENT 'last such day',
  dihitung DATETIME        NOT NULL,
  PRIMARY KEY (nip),
  KEY ix_tanda_dihitung (dihitung)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
CREATE TABLE IF NOT EXISTS kinerja_catatan_simpan (
  id          BIGINT UNSIGNED NOT NULL,
  catatan     VARCHAR(200)    NOT NULL DEFAULT '',
  catatan_ket VARCHAR(2000)   NOT NULL DEFAULT '',
  dihitung    DATETIME        NOT NULL COMMENT 'the same moment as the mark that covers it',
  PRIMARY KEY (id),
  KEY ix_simpan_dihitung (dihitung)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- ---------------------------------------------------------------------------
-- Supervision: quality assessments, additional tasks
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS kualitas_mutu (
  id             BIGINT UNSIGNED  NOT NULL AUTO_INCREMENT,
  nip            CHAR(18)         NOT NULL,
  nip_penilai    CHAR(18)         NOT NULL,
  periode        CHAR(6)          NOT NULL,
  ketepatan      TINYINT UNSIGNED NOT NULL,
  kecepatan      TINYINT UNSIGNED NOT NULL,
  tanggal_input  DATETIME         NOT NULL,
  tanggal_update DATETIME         NULL,
  PRIMARY KEY (id),
  UNIQUE KEY ux_kualmutu (nip, periode),
  KEY ix_kualmutu_penilai (nip_penilai, nip)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS tugas_tambahan (
  id              BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  nip             CHAR(18)        NOT NULL,
  kode_jabatan    VARCHAR(20)     NOT NULL COMMENT 'performance position whose task details are given',
  kode_skpd       VARCHAR(20)     NOT NULL,
  nip_atasan      CHAR(18)        NOT NULL,
  tanggal_mulai   DATE            NOT NULL,
  tanggal_selesai DATE            NULL,
  status          VARCHAR(10)     NOT NULL DEFAULT 'aktif' COMMENT 'aktif or nonaktif',
  PRIMARY KEY (id),
  KEY ix_tugas_nip (nip, status)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- The reason a superior gave for rejecting an activity, verbatim: one per
-- activity, for its latest rejection, stamped with that rejection's moment
-- and superior. A reason explains that rejection only: the lists show it
-- while the activity is still rejected with the same stamp, so approving it
-- again hides the reason and a later rejection needs its own. The row stays
-- as a record until a new reason replaces it.
CREATE TABLE IF NOT EXISTS kinerja_alasan_tolak (
  aktivitas_id    BIGINT UNSIGNED NOT NULL,
  nip_verifikator CHAR(18)        NOT NULL,
  tanggal_status  DATETIME        NOT NULL COMMENT 'moment of the rejection it explains',
  alasan          VARCHAR(500)    NOT NULL,
  tanggal_input   DATETIME        NOT NULL,
  PRIMARY KEY (aktivitas_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- ---------------------------------------------------------------------------
-- Progress figures, recomputed hourly by an event
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS kinerja_progress (
  nip              CHAR(18)      NOT NULL,
  periode          CHAR(6)       NOT NULL,
  target_menit     INT           NOT NULL,
  menit_diakui     DECIMAL(12,2) NOT NULL DEFAULT 0,
  menit_all        DECIMAL(12,2) NOT NULL DEFAULT 0,
  menit_utama      DECIMAL(12,2) NOT NULL DEFAULT 0,
  menit_tambahan   DECIMAL(12,2) NOT NULL DEFAULT 0,
  menit_lainnya    DECIMAL(12,2) NOT NULL DEFAULT 0,
  persen_diakui    DECIMAL(9,2)  NOT NULL DEFAULT 0,
  persen_all       DECIMAL(9,2)  NOT NULL DEFAULT 0,
  persen_utama     DECIMAL(9,2)  NOT NULL DEFAULT 0,
  persen_tambahan  DECIMAL(9,2)  NOT NULL DEFAULT 0,
  persen_lainnya   DECIMAL(9,2)  NOT NULL DEFAULT 0,
  tanggal_progress DATETIME      NOT NULL,
  PRIMARY KEY (nip, periode),
  KEY ix_progress_periode (periode)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_progress_ah2 (
  nip              CHAR(18)     NOT NULL,
  periode          CHAR(6)      NOT NULL,
  klasifikasi_id   VARCHAR(4)   NULL,
  p1               DECIMAL(9,2) NOT NULL DEFAULT 0,
  p2               DECIMAL(9,2) NOT NULL DEFAULT 0,
  p3               DECIMAL(9,2) NOT NULL DEFAULT 0,
  ah2              DECIMAL(9,2) NOT NULL DEFAULT 0,
  tanggal_progress DATETIME     NOT NULL,
  PRIMARY KEY (nip, periode),
  KEY ix_ah2_periode (periode)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Servants whose activities of a period changed since the last recompute
-- (marked by the triggers on aktivitas), for the incremental recompute.
CREATE TABLE IF NOT EXISTS kinerja_progress_ubah (
  periode CHAR(6)      NOT NULL,
  nip     CHAR(18)     NOT NULL,
  versi   INT UNSIGNED NOT NULL DEFAULT 1 COMMENT 'grows with each change, so a run forgets only what it saw',
  PRIMARY KEY (periode, nip)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- Every serving servant's direct superior, kept by kinerja_atasan_peta_pastikan
-- for lists and counts of subordinates.
CREATE TABLE IF NOT EXISTS kinerja_atasan_peta (
  nip    CHAR(18)    NOT NULL,
  atasan CHAR(18)    NULL COMMENT 'the direct superior kinerja_fn_atasan_nip finds',
  kode   VARCHAR(20) NULL COMMENT 'the superior post it goes through',
  PRIMARY KEY (nip),
  KEY ix_peta_atasan (atasan, kode)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
CREATE TABLE IF NOT EXISTS kinerja_atasan_peta_versi (
  id       TINYINT UNSIGNED NOT NULL,
  ubah     BIGINT UNSIGNED  NOT NULL DEFAULT 1 COMMENT 'grows with every change of who may supervise whom',
  dibangun BIGINT UNSIGNED  NULL COMMENT 'the value of ubah the map was built for',
  tanggal  DATE             NULL COMMENT 'the day it was built for: assignments start and end by the day',
  PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
INSERT IGNORE INTO kinerja_atasan_peta_versi (id) VALUES (1);

-- The last whole recompute of each period and the settings it counted with.
CREATE TABLE IF NOT EXISTS kinerja_progress_jalan (
  periode      CHAR(6)  NOT NULL,
  penuh        DATETIME NULL COMMENT 'last whole recompute of the period',
  terakhir     DATETIME NOT NULL COMMENT 'last run of any kind: every figure of the period holds as of then',
  target_menit INT      NULL,
  max_menit    INT      NULL,
  PRIMARY KEY (periode)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

-- ---------------------------------------------------------------------------
-- Reference data
-- ---------------------------------------------------------------------------

INSERT IGNORE INTO kinerja_level (id, access_level) VALUES
  ('1', 'Basic User'),
  ('2', 'Supervisor'),
  ('3', 'Admin SKPD'),
  ('4', 'Admin Sektira'),
  ('5', 'Admin System');

INSERT IGNORE INTO aktivitas_status (kode, status_deskripsi) VALUES
  ('0',                  'Belum Diverifikasi'),
  ('accepted',           'Disetujui Atasan'),
  ('rejected',           'Ditolak Atasan'),
  ('accepted_by_system', 'Disetujui Sistem'),
  ('accepted_by_spv',    'Disetujui Supervisi'),
  ('rejected_by_spv',    'Ditolak Supervisi');

INSERT IGNORE INTO jenis_jabatan (id, nama) VALUES
  ('struktural', 'Jabatan Struktural'),
  ('fungsional', 'Jabatan Fungsional'),
  ('pelaksana',  'Jabatan Pelaksana');

INSERT IGNORE INTO golongan (id, golongan, pangkat) VALUES
  ('11', 'I/a',   'Juru Muda'),
  ('12', 'I/b',   'Juru Muda Tk. I'),
  ('13', 'I/c',   'Juru'),
  ('14', 'I/d',   'Juru Tk. I'),
  ('21', 'II/a',  'Pengatur Muda'),
  ('22', 'II/b',  'Pengatur Muda Tk. I'),
  ('23', 'II/c',  'Pengatur'),
  ('24', 'II/d',  'Pengatur Tk. I'),
  ('31', 'III/a', 'Penata Muda'),
  ('32', 'III/b', 'Penata Muda Tk. I'),
  ('33', 'III/c', 'Penata'),
  ('34', 'III/d', 'Penata Tk. I'),
  ('41', 'IV/a',  'Pembina'),
  ('42', 'IV/b',  'Pembina Tk. I'),
  ('43', 'IV/c',  'Pembina Utama Muda'),
  ('44', 'IV/d',  'Pembina Utama Madya'),
  ('45', 'IV/e',  'Pembina Utama');

INSERT IGNORE INTO jenjang_jabatan (id, nama_jenjang, kategori, urutan) VALUES
  ('K1', 'Ahli Pertama', 'keahlian', 1),
  ('K2', 'Ahli Muda',    'keahlian', 2),
  ('K3', 'Ahli Madya',   'keahlian', 3),
  ('K4', 'Ahli Utama',   'keahlian', 4),
  ('T1', 'Pemula',       'keterampilan', 1),
  ('T2', 'Terampil',     'keterampilan', 2),
  ('T3', 'Mahir',        'keterampilan', 3),
  ('T4', 'Penyelia',     'keterampilan', 4);

INSERT IGNORE INTO klasifikasi_jabatan (id, klasifikasi_jabatan, urutan) VALUES
  ('1', 'Jabatan Pimpinan Tinggi Pratama (Kepala Perangkat Daerah)', 1),
  ('2', 'Jabatan Administrator', 2),
  ('3', 'Jabatan Pengawas', 3),
  ('4', 'Jabatan Fungsional Ahli Madya dan Ahli Utama', 4),
  ('5', 'Jabatan Fungsional Ahli Pertama dan Ahli Muda', 5),
  ('6', 'Kepala Sekolah, Kepala Puskesmas dan Koordinator Wilayah', 6),
  ('7', 'Jabatan Fungsional Keterampilan', 7),
  ('8', 'Jabatan Pelaksana', 8);

INSERT IGNORE INTO rasio_ak (klasifikasi_id, n1, n2, n3) VALUES
  ('1', 40, 30, 30),
  ('2', 50, 30, 20),
  ('3', 60, 40, 0),
  ('4', 70, 30, 0),
  ('5', 100, 0, 0),
  ('6', 60, 40, 0),
  ('7', 100, 0, 0),
  ('8', 100, 0, 0);

INSERT IGNORE INTO jabatan_kinerja (kode, nama_jabatan, jenis_jabatan_id) VALUES
  ('200000', 'Manajerial', 'struktural'),
  ('300000', 'Aktivitas Umum', NULL);

-- Settings of the application (group "app_kinerja"). The windows open around
-- the day the schema is loaded; administrators change them on the settings page.
INSERT IGNORE INTO kinerja_setting (jenis, nama, nilai, tanggal_awal, tanggal_akhir, keterangan) VALUES
  ('app_kinerja', 'is_maintenance',               '0',    NULL, NULL, 'maintenance: 1 on, 0 off'),
  ('app_kinerja', 'aktivitas_harian',             NULL,
     DATE_FORMAT(CURDATE() - INTERVAL 2 MONTH, '%Y-%m-01 00:00:00'),
     LAST_DAY(CURDATE() + INTERVAL 12 MONTH) + INTERVAL 86399 SECOND, 'jendela input aktivitas harian'),
  ('app_kinerja', 'kualitas_mutu',                NULL,
     DATE_FORMAT(CURDATE() - INTERVAL 2 MONTH, '%Y-%m-01 00:00:00'),
     LAST_DAY(CURDATE() + INTERVAL 12 MONTH) + INTERVAL 86399 SECOND, 'jendela penilaian kualitas mutu'),
  ('app_kinerja', 'sasaran_kerja',                NULL,
     DATE_FORMAT(CURDATE() - INTERVAL 2 MONTH, '%Y-%m-01 00:00:00'),
     LAST_DAY(CURDATE() + INTERVAL 12 MONTH) + INTERVAL 86399 SECOND, 'jendela sasaran kerja'),
  ('app_kinerja', 'kamus_update',                 NULL,
     DATE_FORMAT(CURDATE() - INTERVAL 2 MONTH, '%Y-%m-01 00:00:00'),
     LAST_DAY(CURDATE() + INTERVAL 12 MONTH) + INTERVAL 86399 SECOND, 'jendela pembaruan kamus'),
  ('app_kinerja', 'aktivitas_input_day_max',      '5',    NULL, NULL, 'hari'),
  ('app_kinerja', 'aktivitas_verifikasi_day_max', '5',    NULL, NULL, 'hari'),
  ('app_kinerja', 'aktivitas_validasi_day_max',   '5',    NULL, NULL, 'hari'),
  ('app_kinerja', 'target_skr_bulanan',           '6751', NULL, NULL, 'menit'),
  ('app_kinerja', 'aktivitas_auto_approve',       '5',    NULL, NULL, 'hari'),
  ('app_kinerja', 'max_skr_operasional',          '300',  NULL, NULL, 'menit'),
  ('app_kinerja', 'tugas_tambahan_max',           '2',    NULL, NULL, 'jumlah tugas tambahan aktif per PNS');

INSERT IGNORE INTO kinerja_versi (versi, tanggal_rilis, wajib, catatan) VALUES
  ('0.32', CURDATE(), 0, 'Rilis awal aplikasi Tarvesa Kelordan');

INSERT IGNORE INTO kinerja_text (id, judul, isi) VALUES
  (1, 'Catatan delegasi 1', 'Delegasi memindahkan verifikasi aktivitas PNS fungsional kepada pejabat unit administrator yang ditunjuk.'),
  (2, 'Catatan delegasi 2', 'Delegasi yang sudah tidak aktif tidak bisa diubah; buat delegasi baru bila struktur berubah.');
