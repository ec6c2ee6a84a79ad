// Installation settings as the server and the client apply them: the
// application account's host pattern and its grants.
#include "db/connection.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testconfig.h"
#include "testdb.h"

#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_install");

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
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
