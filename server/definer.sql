-- The account the functions, procedures, triggers and events run as. Nobody
-- logs in with it: it is locked and its password digest matches no
-- password. Its privileges are per schema, in grants.sql.
CREATE USER IF NOT EXISTS 'kinerja_definer'@'localhost'
    IDENTIFIED VIA mysql_native_password USING 'invalid' ACCOUNT LOCK;
ALTER USER 'kinerja_definer'@'localhost'
    IDENTIFIED VIA mysql_native_password USING 'invalid' ACCOUNT LOCK;
