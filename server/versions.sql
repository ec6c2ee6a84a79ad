-- Which versions of the schema a database has: version 1 is schema.sql,
-- each later one a file of migrations/ ("0002-....sql" is version 2).
-- scripts/serverlib.sh writes a step's row before the step runs and
-- finishes it afterwards, so a row without "selesai" is a step that failed
-- halfway (or is running now). Created before anything else, also in a
-- schema that predates it.
SET NAMES utf8mb4;

CREATE TABLE IF NOT EXISTS kinerja_migrasi (
  nomor   INT UNSIGNED NOT NULL COMMENT 'the version this step brings',
  nama    VARCHAR(200) NOT NULL COMMENT 'file name',
  sha256  CHAR(64)     NOT NULL COMMENT 'digest of the file as it ran',
  mulai   DATETIME     NOT NULL,
  selesai DATETIME     NULL COMMENT 'NULL: the step has not finished',
  akun    VARCHAR(200) NOT NULL COMMENT 'the administrative account that ran it',
  PRIMARY KEY (nomor)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;
