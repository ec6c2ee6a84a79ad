-- Profile, progress figures and their sources.
SET NAMES utf8mb4;
