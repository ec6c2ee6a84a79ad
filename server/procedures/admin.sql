-- Administration and information pages.
SET NAMES utf8mb4;
