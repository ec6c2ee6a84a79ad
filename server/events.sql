-- Scheduled work. Each event calls a procedure that can also be run by hand.
SET NAMES utf8mb4;
