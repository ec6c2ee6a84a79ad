-- Own daily activities: list, entry, change, deletion.
SET NAMES utf8mb4;
