-- Delegation of supervision.
SET NAMES utf8mb4;
