-- Task dictionary: functional position ladder and verifiers.
SET NAMES utf8mb4;
