-- Supervision of subordinates: list, review, quality, additional tasks.
SET NAMES utf8mb4;
