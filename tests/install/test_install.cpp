// Installation settings as the server and the client apply them: the
// application account's host pattern and its grants, and the locked account
// the routines run as.
#include "db/connection.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testconfig.h"
#include "testdb.h"

#include <QProcess>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_install");
const QString kDefiner = QStringLiteral("kinerja_definer@localhost");

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema)); }

    // A client from 127.0.0.1 is the account of the configured pattern, and
    // that account holds the grants (not a leftover account of another host).
    void applicationAccountOfTheConfiguredHost()
    {
        db::Connection conn;
        conn.open(testdb::appSettings(kSchema));
        db::Query q(conn);
        QCOMPARE(q.open(QStringLiteral("SELECT CURRENT_USER() AS u")).first(0),
                 QStringLiteral("aplikasi@" TARVESA_TEST_ACCOUNT_HOST));
        const QString grantee = QStringLiteral("'aplikasi'@'" TARVESA_TEST_ACCOUNT_HOST "'");
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT GROUP_CONCAT(PRIVILEGE_TYPE) "
                                                           "FROM information_schema.SCHEMA_PRIVILEGES "
                                                           "WHERE TABLE_SCHEMA = '%1' AND GRANTEE = \"%2\"")
                                                .arg(kSchema, grantee)),
                 QStringLiteral("EXECUTE"));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMN_PRIVILEGES "
                                                           "WHERE TABLE_SCHEMA = '%1' AND GRANTEE = \"%2\" "
                                                           "AND TABLE_NAME = 'kinerja_user' AND PRIVILEGE_TYPE = 'INSERT'")
                                                .arg(kSchema, grantee)),
                 QStringLiteral("3"));
    }

    // Every routine, trigger and event runs as the definer account, with the
    // definer's rights (not the caller's).
    void routinesRunAsTheDefiner()
    {
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) > 50 FROM information_schema.ROUTINES "
                                                           "WHERE ROUTINE_SCHEMA = DATABASE()")),
                 QStringLiteral("1"));
        const QList<QStringList> others = testdb::rootQuery(
            kSchema, QStringLiteral("SELECT 'routine', ROUTINE_NAME, DEFINER, SECURITY_TYPE FROM information_schema.ROUTINES "
                                    " WHERE ROUTINE_SCHEMA = DATABASE() "
                                    "   AND (DEFINER <> '%1' OR SECURITY_TYPE <> 'DEFINER') "
                                    "UNION ALL SELECT 'trigger', TRIGGER_NAME, DEFINER, '' FROM information_schema.TRIGGERS "
                                    " WHERE TRIGGER_SCHEMA = DATABASE() AND DEFINER <> '%1' "
                                    "UNION ALL SELECT 'event', EVENT_NAME, DEFINER, '' FROM information_schema.EVENTS "
                                    " WHERE EVENT_SCHEMA = DATABASE() AND DEFINER <> '%1'")
                        .arg(kDefiner));
        QVERIFY2(others.isEmpty(), qPrintable(others.value(0).join(' ')));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM information_schema.TRIGGERS "
                                                           "WHERE TRIGGER_SCHEMA = DATABASE()")).toInt() > 0,
                 true);
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM information_schema.EVENTS "
                                                           "WHERE EVENT_SCHEMA = DATABASE()")).toInt() > 0,
                 true);
    }

    // The definer holds table rights on each loaded schema and nothing else:
    // no global privilege, no right on the server's own schemas, no right to
    // change the schema, and it cannot log in.
    void definerIsLockedAndConfinedToItsSchemas()
    {
        const QString grantee = QStringLiteral("'kinerja_definer'@'localhost'");
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT GROUP_CONCAT(PRIVILEGE_TYPE) FROM "
                                                           "information_schema.USER_PRIVILEGES WHERE GRANTEE = \"%1\"")
                                                .arg(grantee)),
                 QStringLiteral("USAGE"));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT GROUP_CONCAT(PRIVILEGE_TYPE ORDER BY PRIVILEGE_TYPE) "
                                                           "FROM information_schema.SCHEMA_PRIVILEGES "
                                                           "WHERE GRANTEE = \"%1\" AND TABLE_SCHEMA = '%2'")
                                                .arg(grantee, kSchema)),
                 QStringLiteral("CREATE TEMPORARY TABLES,DELETE,EVENT,EXECUTE,INSERT,SELECT,TRIGGER,UPDATE"));
        // Other schemas of this server are other test suites' loads; none
        // holds more than the same table rights.
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMA_PRIVILEGES "
                                                           "WHERE GRANTEE = \"%1\" AND (TABLE_SCHEMA IN "
                                                           "('mysql', 'information_schema', 'performance_schema', 'sys') "
                                                           "OR TABLE_SCHEMA LIKE '%\\\\%%' "
                                                           "OR PRIVILEGE_TYPE NOT IN ('SELECT', 'INSERT', 'UPDATE', "
                                                           "'DELETE', 'EXECUTE', 'CREATE TEMPORARY TABLES', 'TRIGGER', 'EVENT'))")
                                                .arg(grantee)),
                 QStringLiteral("0"));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT (SELECT COUNT(*) FROM information_schema.TABLE_PRIVILEGES "
                                                           "WHERE GRANTEE = \"%1\") + (SELECT COUNT(*) FROM "
                                                           "information_schema.COLUMN_PRIVILEGES WHERE GRANTEE = \"%1\")")
                                                .arg(grantee)),
                 QStringLiteral("0"));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT JSON_VALUE(Priv, '$.account_locked') FROM "
                                                           "mysql.global_priv WHERE User = 'kinerja_definer'")),
                 QStringLiteral("1"));
        // Through the socket, where the account's host matches, with no
        // password and with the digest text as password.
        for (const QString& pass : {QString(), QStringLiteral("invalid")}) {
            QStringList args{"--no-defaults", "-ukinerja_definer", "--socket=" + testdb::socketPath(), "-e", "SELECT 1"};
            if (!pass.isEmpty())
                args.insert(2, "--password=" + pass);
            QProcess p;
            p.start(QStringLiteral("mariadb"), args);
            QVERIFY(p.waitForFinished(30000));
            QVERIFY2(p.exitCode() != 0, qPrintable(pass));
            QVERIFY(p.readAllStandardError().contains("Access denied"));
        }
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
