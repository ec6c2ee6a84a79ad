-- Version 2: the log of imports of a regency's files (scripts/server.sh
-- import). One row per import that changed something, and one per row it
-- added, changed, took out of service or removed.
CREATE TABLE IF NOT EXISTS kinerja_impor (
  id        BIGINT UNSIGNED NOT NULL AUTO_INCREMENT,
  tanggal   DATETIME        NOT NULL,
  akun      VARCHAR(200)    NOT NULL COMMENT 'the administrative account that ran it',
  folder    VARCHAR(1000)   NOT NULL COMMENT 'where the files were read',
  sidik     CHAR(64)        NOT NULL COMMENT 'SHA-256 of the five files in a fixed order',
  ringkasan VARCHAR(2000)   NOT NULL COMMENT 'counts of new, changed and gone rows per file',
  PRIMARY KEY (id),
  KEY ix_impor_tanggal (tanggal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE IF NOT EXISTS kinerja_impor_rinci (
  impor_id  BIGINT UNSIGNED NOT NULL,
  urutan    INT UNSIGNED    NOT NULL,
  tabel     VARCHAR(40)     NOT NULL,
  kunci     VARCHAR(600)    NOT NULL COMMENT 'the row: its key, for a task entry position and text',
  aksi      VARCHAR(12)     NOT NULL COMMENT 'baru, ubah, nonaktif, hapus',
  perubahan TEXT            NULL COMMENT 'changed columns as name: old -> new',
  PRIMARY KEY (impor_id, urutan),
  KEY ix_impor_rinci_kunci (tabel, kunci(100))
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
