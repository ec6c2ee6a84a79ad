-- The setting store: maintenance switch, time windows and limits.
SET NAMES utf8mb4;
