// Installation settings as the server and the client apply them: the
// application account's host pattern and its grants, the locked account the
// routines run as, and TLS required by the client.
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testconfig.h"
#include "testdb.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QProcess>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_install");
const QString kDefiner = QStringLiteral("kinerja_definer@localhost");

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A CA and a certificate for 127.0.0.1 signed by it, in DIR; short-lived EC
// keys keep this fast.
bool makeCertificates(const QString& dir, bool withServer)
{
    QDir().mkpath(dir);
    const QString ec = QStringLiteral("ec_paramgen_curve:prime256v1");
    if (!run(QStringLiteral("openssl"),
             {"req", "-x509", "-newkey", "ec", "-pkeyopt", ec, "-nodes", "-days", "2", "-subj", "/CN=Tarvesa Test CA",
              "-keyout", dir + "/ca-key.pem", "-out", dir + "/ca.pem"}))
        return false;
    if (!withServer)
        return true;
    QFile ext(dir + "/ext.cnf");
    if (!ext.open(QIODevice::WriteOnly) || ext.write("subjectAltName=IP:127.0.0.1\n") < 0)
        return false;
    ext.close();
    return run(QStringLiteral("openssl"), {"req", "-newkey", "ec", "-pkeyopt", ec, "-nodes", "-subj", "/CN=127.0.0.1",
                                           "-keyout", dir + "/server-key.pem", "-out", dir + "/server.csr"})
        && run(QStringLiteral("openssl"), {"x509", "-req", "-in", dir + "/server.csr", "-CA", dir + "/ca.pem",
                                           "-CAkey", dir + "/ca-key.pem", "-CAcreateserial", "-days", "2",
                                           "-extfile", dir + "/ext.cnf", "-out", dir + "/server-cert.pem"});
}

// The string literals of a C++ source, comments and character literals
// skipped.
QStringList stringLiterals(const QString& src)
{
    QStringList out;
    for (qsizetype i = 0; i < src.size(); ++i) {
        const QChar c = src[i];
        const QChar next = i + 1 < src.size() ? src[i + 1] : QChar();
        if (c == '/' && next == '/') {
            i = src.indexOf('\n', i);
            if (i < 0)
                break;
        } else if (c == '/' && next == '*') {
            i = src.indexOf(QStringLiteral("*/"), i + 2);
            if (i < 0)
                break;
            ++i;
        } else if (c == '\'' || c == '"') {
            QString text;
            for (++i; i < src.size() && src[i] != c; ++i) {
                if (src[i] == '\\' && i + 1 < src.size())
                    ++i;
                text += src[i];
            }
            if (c == '"')
                out << text;
        }
    }
    return out;
}

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
        // nothing on the whole schema: the routines one by one (below)
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) "
                                                           "FROM information_schema.SCHEMA_PRIVILEGES "
                                                           "WHERE TABLE_SCHEMA = '%1' AND GRANTEE = \"%2\"")
                                                .arg(kSchema, grantee)),
                 QStringLiteral("0"));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM information_schema.COLUMN_PRIVILEGES "
                                                           "WHERE TABLE_SCHEMA = '%1' AND GRANTEE = \"%2\" "
                                                           "AND TABLE_NAME = 'kinerja_user' AND PRIVILEGE_TYPE = 'INSERT'")
                                                .arg(kSchema, grantee)),
                 QStringLiteral("3"));
    }

    // The account executes exactly the routines that the client calls: a
    // routine name in a string of src/. A
    // routine the client stopped calling, or a helper granted by mistake,
    // fails this as much as a call the account may not make.
    void applicationAccountExecutesWhatTheClientCalls()
    {
        // A name is a call unless it names only a table (some tables and
        // procedures share a name).
        QStringList tables;
        for (const QStringList& r : testdb::rootQuery(
                 kSchema, QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = "
                                         "DATABASE() AND TABLE_NAME NOT IN (SELECT ROUTINE_NAME FROM "
                                         "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE())")))
            tables << r.value(0);
        QSet<QString> called;
        const QRegularExpression name(QStringLiteral("(?<![@\\w])(kinerja_\\w+|tpp_\\w+)"));
        QDirIterator files(QStringLiteral(TARVESA_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile f(files.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            for (const QString& literal : stringLiterals(QString::fromUtf8(f.readAll())))
                for (const QRegularExpressionMatch& n : name.globalMatch(literal))
                    if (!tables.contains(n.captured(1)))
                        called << n.captured(1);
        }
        QVERIFY(called.size() > 50);
        for (const QString& host : {QStringLiteral(TARVESA_TEST_ACCOUNT_HOST), QStringLiteral("localhost")}) {
            QSet<QString> granted;
            for (const QStringList& r : testdb::rootQuery(
                     kSchema, QStringLiteral("SELECT Routine_name FROM mysql.procs_priv WHERE Db = DATABASE() "
                                             "AND User = 'aplikasi' AND Host = '%1' AND Proc_priv = 'Execute'")
                                  .arg(host)))
                granted << r.value(0);
            QStringList notGranted = QStringList(called.begin(), called.end());
            notGranted.removeIf([&](const QString& r) { return granted.contains(r); });
            QStringList notCalled = QStringList(granted.begin(), granted.end());
            notCalled.removeIf([&](const QString& r) { return called.contains(r); });
            QVERIFY2(notGranted.isEmpty(), qPrintable(host + ": called, not granted: " + notGranted.join(' ')));
            QVERIFY2(notCalled.isEmpty(), qPrintable(host + ": granted, not called: " + notCalled.join(' ')));
        }
    }

    // Every routine, trigger and event runs as the definer account, with the
    // definer's rights (not the caller's); only the helpers that the checking
    // procedures call run with their caller's, so that the application
    // account cannot run them on its own (see the trust tests).
    void routinesRunAsTheDefiner()
    {
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) > 50 FROM information_schema.ROUTINES "
                                                           "WHERE ROUTINE_SCHEMA = DATABASE()")),
                 QStringLiteral("1"));
        const QList<QStringList> others = testdb::rootQuery(
            kSchema, QStringLiteral("SELECT 'routine', ROUTINE_NAME, DEFINER, SECURITY_TYPE FROM information_schema.ROUTINES "
                                    " WHERE ROUTINE_SCHEMA = DATABASE() "
                                    "   AND (DEFINER <> '%1' OR (SECURITY_TYPE <> 'DEFINER' AND ROUTINE_NAME NOT IN "
                                    "        ('kinerja_aktivitas_daftar', 'kinerja_delegasi_daftar', "
                                    "         'kinerja_delegasi_jf_daftar', 'kinerja_menit_hari_terkunci', "
                                    "         'kinerja_plt_periksa', 'kinerja_aktivitas_catatan_hitung', "
                                    "         'kinerja_aktivitas_catatan_siapkan', 'kinerja_aktivitas_catatan_simpan', "
                                    "         'kinerja_bawahan_susun', 'kinerja_bawahan_susun_langsung', "
                                    "         'kinerja_bawahan_pegang_2'))) "
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

    // With TLS required the client connects only encrypted: to a server with
    // a certificate of the configured CA, or of any CA when none is
    // configured; a server without TLS or with a certificate of another CA
    // fails like any unreachable server.
    void requiredTls_data()
    {
        QTest::addColumn<bool>("tlsServer");
        QTest::addColumn<bool>("requireTls");
        QTest::addColumn<QString>("ca");
        QTest::addColumn<bool>("connects");
        QTest::addColumn<bool>("encrypted");
        const QString ca = certs() + "/ca.pem";
        const QString otherCa = certs() + "/other/ca.pem";
        QTest::newRow("TLS server, its CA") << true << true << ca << true << true;
        QTest::newRow("TLS server, no CA") << true << true << QString() << true << true;
        QTest::newRow("TLS server, another CA") << true << true << otherCa << false << false;
        QTest::newRow("plain server, required") << false << true << ca << false << false;
        QTest::newRow("plain server, not required") << false << false << QString() << true << false;
    }

    void requiredTls()
    {
        QFETCH(bool, tlsServer);
        QFETCH(bool, requireTls);
        QFETCH(QString, ca);
        QFETCH(bool, connects);
        QFETCH(bool, encrypted);
        if (tlsServer && !tlsServerUp_) {
            QVERIFY(makeCertificates(certs(), true));
            QVERIFY(makeCertificates(certs() + "/other", false));
            QVERIFY(run(QStringLiteral("bash"), {QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbserver.sh"), "fresh",
                                                 tlsDir(), QString::number(tlsPort()), "--tls", certs()}));
            tlsServerUp_ = true;
        }
        db::ConnSettings s = testdb::rootSettings(QString());
        if (tlsServer)
            s.port = tlsPort();
        s.requireTls = requireTls;
        s.tlsCa = ca;
        db::Connection conn;
        try {
            conn.open(s);
        } catch (const db::DbError& e) {
            QVERIFY2(!connects, e.what());
            QCOMPARE(e.kind(), db::DbError::Kind::Connect);
            return;
        }
        QVERIFY(connects);
        db::Query q(conn);
        const QString cipher = q.open(QStringLiteral("SHOW SESSION STATUS LIKE 'Ssl_cipher'")).first(1);
        QCOMPARE(!cipher.isEmpty(), encrypted);
    }

    void cleanupTestCase()
    {
        if (tlsServerUp_)
            QVERIFY(run(QStringLiteral("bash"), {QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbserver.sh"), "stop", tlsDir()}));
    }

private:
    static QString tlsDir() { return QStringLiteral(TARVESA_BINARY_DIR "/test-db-tls"); }
    static QString certs() { return tlsDir() + "/certs"; }
    // Work trees test on ports ten apart; +5 is the gateway suite's server.
    static unsigned tlsPort() { return testdb::port() + 7; }

    bool tlsServerUp_ = false;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
