// scripts/server.sh against servers of its own, as a regency's
// administrator runs it: install (twice, and not into a foreign schema),
// upgrade from the first version with every row kept, a step that fails
// halfway and its resumption, no way back, import and the first
// administrator through the command, backup and restore into a fresh
// server. Accounts are server-wide: these servers are private to the suite.
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testconfig.h"
#include "testdb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kAdmin = QStringLiteral("pengelola");
const QString kAdminPassword = QStringLiteral("Kunci Pengelola #1");
const QString kDemoNip = QStringLiteral("199209162019032002"); // a demo account, password kelordan2026

struct Result {
    int code = -1;
    QString out;
};

// A private server: folder, port, socket.
struct Server {
    QString dir;
    unsigned port;
    QString socket() const { return dir + QStringLiteral("/s"); }
};

Server mainServer() { return {QStringLiteral(TARVESA_BINARY_DIR "/test-db-admin"), testdb::port() + 3}; }
Server freshServer() { return {QStringLiteral(TARVESA_BINARY_DIR "/test-db-restore"), testdb::port() + 4}; }

Result run(const QString& program, const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(600000)) {
        p.kill();
        r.out = QStringLiteral("timed out");
        return r;
    }
    r.out = QString::fromUtf8(p.readAll());
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

// The command through the server's socket as root, or with more arguments.
Result serverSh(const Server& s, const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QStringList a{QStringLiteral(TARVESA_SOURCE_DIR "/scripts/server.sh")};
    a << args << "--build" << TARVESA_BINARY_DIR;
    if (!args.contains("--host") && !args.contains("--socket"))
        a << "--socket" << s.socket();
    return run(QStringLiteral("bash"), a, env);
}

// Root through the server's socket.
class Root {
public:
    explicit Root(const Server& s, const QString& schema = {})
    {
        db::ConnSettings c;
        c.optionFile = writeOptions(s);
        c.schema = schema;
        c.readTimeoutSec = 300;
        conn_.open(c);
    }
    QList<QStringList> rows(const QString& sql)
    {
        db::Query q(conn_);
        const db::ResultSet rs = q.open(sql);
        QList<QStringList> out;
        for (int r = 0; r < rs.recordCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rs.columnCount(); ++c)
                cells << (rs.isNull(r, c) ? QStringLiteral("NULL") : rs.text(r, c));
            out << cells;
        }
        return out;
    }
    QString value(const QString& sql)
    {
        const QList<QStringList> r = rows(sql);
        return r.isEmpty() ? QString() : r.first().value(0);
    }
    void exec(const QString& sql) { db::Query(conn_).exec(sql); }

private:
    static QString writeOptions(const Server& s)
    {
        const QString path = s.dir + QStringLiteral("/root.cnf");
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(QStringLiteral("[client]\nuser=root\nsocket=%1\nprotocol=SOCKET\n").arg(s.socket()).toUtf8());
        return path;
    }
    db::Connection conn_;
};

// The application account on a private server.
db::ConnSettings app(const Server& s, const QString& schema)
{
    db::ConnSettings c = testdb::appSettings(schema);
    c.port = s.port;
    return c;
}

QString login(const Server& s, const QString& schema, const QString& nip, const QString& pass)
{
    return testdb::loginToken(app(s, schema), nip, pass);
}

int latestVersion()
{
    int latest = 1;
    for (const QString& f : QDir(QStringLiteral(TARVESA_SOURCE_DIR "/server/migrations")).entryList({"*.sql"}))
        latest = std::max(latest, f.left(4).toInt());
    return latest;
}

// Columns, indexes, routines, triggers and events of a schema, for
// comparing two of them.
QString structure(Root& r, const QString& schema)
{
    return r.value(QStringLiteral(
        "SELECT CONCAT_WS('/', "
        " (SELECT MD5(GROUP_CONCAT(TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, COALESCE(COLUMN_DEFAULT, '') "
        "   ORDER BY TABLE_NAME, ORDINAL_POSITION)) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = '%1'), "
        " (SELECT MD5(GROUP_CONCAT(TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX, COLUMN_NAME ORDER BY 1, 2, 3)) "
        "   FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = '%1'), "
        " (SELECT MD5(GROUP_CONCAT(ROUTINE_NAME, ROUTINE_TYPE, DEFINER, SECURITY_TYPE, MD5(ROUTINE_DEFINITION) "
        "   ORDER BY 1, 2)) FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = '%1'), "
        " (SELECT MD5(GROUP_CONCAT(TRIGGER_NAME, DEFINER, MD5(ACTION_STATEMENT) ORDER BY 1)) "
        "   FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = '%1'), "
        " (SELECT GROUP_CONCAT(EVENT_NAME, DEFINER ORDER BY 1) FROM information_schema.EVENTS WHERE EVENT_SCHEMA = '%1'))")
                       .arg(schema));
}

// Every table's checksum.
QStringList checksums(Root& r, const QString& schema)
{
    QStringList tables;
    for (const QStringList& t : r.rows(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                                      "TABLE_SCHEMA = '%1' ORDER BY 1").arg(schema)))
        tables << QStringLiteral("`%1`.`%2`").arg(schema, t.value(0));
    QStringList out;
    for (const QStringList& row : r.rows(QStringLiteral("CHECKSUM TABLE ") + tables.join(',')))
        out << row.value(0).section('.', 1) + '=' + row.value(1);
    return out;
}

// The grants of the application account on a schema.
QStringList appGrants(Root& r, const QString& schema)
{
    QStringList out;
    for (const QStringList& row : r.rows(QStringLiteral(
             "SELECT CONCAT_WS('|', Host, Routine_name, Proc_priv) FROM mysql.procs_priv WHERE Db = '%1' AND User = 'aplikasi' "
             "UNION ALL SELECT CONCAT_WS('|', Host, Table_name, Column_name, Column_priv) FROM mysql.columns_priv "
             "WHERE Db = '%1' AND User = 'aplikasi' ORDER BY 1").arg(schema)))
        out << row.value(0);
    return out;
}

bool loadDemo(const Server& s, const QString& schema)
{
    return run(QStringLiteral("bash"), {QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbload.sh"), s.socket(), schema,
                                        "demo", QStringLiteral(TARVESA_BINARY_DIR "/server/app-account.sql")})
               .code == 0;
}

} // namespace

class TestServerAdmin : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const Server& s : {mainServer(), freshServer()}) {
            const Result r = run(QStringLiteral("bash"), {QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbserver.sh"),
                                                          "fresh", s.dir, QString::number(s.port), "--events"});
            QVERIFY2(r.code == 0, qPrintable(r.out));
        }
        // An administrator who logs in over TCP with a password.
        Root root(mainServer());
        root.exec(QStringLiteral("CREATE USER '%1'@'127.0.0.1' IDENTIFIED BY '%2'").arg(kAdmin, kAdminPassword));
        root.exec(QStringLiteral("GRANT ALL PRIVILEGES ON *.* TO '%1'@'127.0.0.1' WITH GRANT OPTION").arg(kAdmin));
    }

    void cleanupTestCase()
    {
        for (const Server& s : {mainServer(), freshServer()})
            run(QStringLiteral("bash"), {QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbserver.sh"), "stop", s.dir});
    }

    // An administrator over TCP, the password from the environment: the
    // schema at the latest version, the accounts, routines and events, no
    // demo data. A second run changes nothing.
    void installTwiceOverTcp()
    {
        const Server s = mainServer();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVESA_ADMIN_PASSWORD"), kAdminPassword);
        const QStringList args{"install", "--schema", "kab_a", "--host", "127.0.0.1", "--port", QString::number(s.port),
                               "--user", kAdmin};
        Result r = serverSh(s, args, env);
        QVERIFY2(r.code == 0, qPrintable(r.out));
        Root root(s, "kab_a");
        QCOMPARE(root.value("SELECT MAX(nomor) FROM kinerja_migrasi WHERE selesai IS NOT NULL").toInt(), latestVersion());
        QCOMPARE(root.value("SELECT (SELECT COUNT(*) FROM cache_pns) + (SELECT COUNT(*) FROM unit) "
                            "+ (SELECT COUNT(*) FROM aktivitas) + (SELECT COUNT(*) FROM kinerja_user)"),
                 QStringLiteral("0"));
        QVERIFY(root.value("SELECT COUNT(*) FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = 'kab_a'").toInt() > 50);
        QCOMPARE(root.value("SELECT COUNT(*) FROM information_schema.EVENTS WHERE EVENT_SCHEMA = 'kab_a' "
                            "AND DEFINER = 'kinerja_definer@localhost'"),
                 root.value("SELECT COUNT(*) FROM information_schema.EVENTS WHERE EVENT_SCHEMA = 'kab_a'"));
        QVERIFY(!appGrants(root, "kab_a").isEmpty());
        // The application account answers: an unknown NIP finds no account.
        QVERIFY(login(s, "kab_a", "199001012015011001", "salah").isEmpty());

        const QString shape = structure(root, "kab_a");
        const QStringList rows = checksums(root, "kab_a");
        const QStringList grants = appGrants(root, "kab_a");
        r = serverSh(s, args, env);
        QVERIFY2(r.code == 0 && r.out.contains("is installed (version"), qPrintable(r.out));
        QCOMPARE(structure(root, "kab_a"), shape);
        QCOMPARE(checksums(root, "kab_a"), rows);
        QCOMPARE(appGrants(root, "kab_a"), grants);
    }

    // What install refuses, each with its reason and nothing created.
    void installRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        const QString port = QString::number(mainServer().port);
        QTest::newRow("a schema of something else") << QStringList{"install", "--schema", "lain"} << QString()
                                                     << "Schema 'lain' holds something else: barang";
        QTest::newRow("a wrong password") << QStringList{"install", "--schema", "kab_x", "--host", "127.0.0.1", "--port", port,
                                                         "--user", kAdmin}
                                          << "salah" << "Cannot reach the database server as pengelola on 127.0.0.1:" + port;
        QTest::newRow("nobody listening") << QStringList{"install", "--schema", "kab_x", "--host", "127.0.0.1", "--port",
                                                         QString::number(mainServer().port + 100)}
                                          << QString() << "Cannot reach the database server";
        QTest::newRow("the application account") << QStringList{"install", "--schema", "kab_x", "--user", "aplikasi"}
                                                 << QString() << "The application account cannot do this";
        QTest::newRow("a schema name with a quote") << QStringList{"install", "--schema", "kab'x"} << QString()
                                                    << "Schema name 'kab'x' is not allowed";
    }

    void installRefuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, password);
        QFETCH(QString, message);
        const Server s = mainServer();
        Root root(s);
        root.exec("CREATE DATABASE IF NOT EXISTS lain");
        root.exec("CREATE TABLE IF NOT EXISTS lain.barang (id INT PRIMARY KEY)");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!password.isEmpty())
            env.insert(QStringLiteral("TARVESA_ADMIN_PASSWORD"), password);
        QElapsedTimer clock;
        clock.start();
        const Result r = serverSh(s, args, env);
        QVERIFY2(r.code != 0 && r.out.contains(message), qPrintable(r.out));
        QVERIFY(clock.elapsed() < 60000);
        QCOMPARE(root.value("SELECT GROUP_CONCAT(TABLE_NAME) FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'lain'"),
                 QStringLiteral("barang"));
        QCOMPARE(root.value("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = 'kab_x'"), QStringLiteral("0"));
    }

    // Version 1 filled with a regency's rows (the demo's), upgraded to the
    // latest: every row of every table of version 1 is still there, the
    // routines work, and every migration may run a second time.
    void upgradeFromTheFirstVersionKeepsEveryRow()
    {
        const Server s = mainServer();
        Result r = serverSh(s, {"install", "--schema", "kab_v1", "--to", "1"});
        QVERIFY2(r.code == 0 && r.out.contains("Stopped at version 1"), qPrintable(r.out));
        QVERIFY(loadDemo(s, "kab_sumber"));
        Root root(s, "kab_v1");
        const QList<QStringList> tables = root.rows(
            "SELECT TABLE_NAME, GROUP_CONCAT(CONCAT('`', COLUMN_NAME, '`') ORDER BY ORDINAL_POSITION) "
            "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = 'kab_v1' AND EXTRA NOT LIKE '%GENERATED%' "
            "AND TABLE_NAME <> 'kinerja_migrasi' GROUP BY TABLE_NAME");
        QVERIFY(tables.size() > 30);
        root.exec("DROP DATABASE IF EXISTS kab_v1_salinan");
        root.exec("CREATE DATABASE kab_v1_salinan");
        int filled = 0;
        for (const QStringList& t : tables) {
            root.exec(QStringLiteral("DELETE FROM %1").arg(t[0]));
            root.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM kab_sumber.%1").arg(t[0], t[1]));
            root.exec(QStringLiteral("CREATE TABLE kab_v1_salinan.%1 AS SELECT %2 FROM %1").arg(t[0], t[1]));
            filled += root.value(QStringLiteral("SELECT COUNT(*) > 0 FROM %1").arg(t[0])).toInt();
        }
        QVERIFY(filled > 20);

        r = serverSh(s, {"upgrade", "--schema", "kab_v1"});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(root.value("SELECT MAX(nomor) FROM kinerja_migrasi WHERE selesai IS NOT NULL").toInt(), latestVersion());
        for (const QStringList& t : tables) {
            const QString before = QStringLiteral("SELECT %2 FROM kab_v1_salinan.%1").arg(t[0], t[1]);
            const QString after = QStringLiteral("SELECT %2 FROM kab_v1.%1").arg(t[0], t[1]);
            QCOMPARE(t[0] + ' ' + root.value(QStringLiteral("SELECT CONCAT((SELECT COUNT(*) FROM (%1 EXCEPT ALL %2) a), '/', "
                                                         "(SELECT COUNT(*) FROM (%2 EXCEPT ALL %1) b))").arg(before, after)),
                     t[0] + QStringLiteral(" 0/0"));
        }
        // The routines of the release came with the upgrade.
        QVERIFY(!login(s, "kab_v1", kDemoNip, "kelordan2026").isEmpty());

        // Each migration once more: no error, no change.
        const QString shape = structure(root, "kab_v1");
        const QStringList rows = checksums(root, "kab_v1");
        for (const QString& f : QDir(QStringLiteral(TARVESA_SOURCE_DIR "/server/migrations")).entryList({"*.sql"})) {
            const Result again = run(QStringLiteral("bash"),
                                     {"-c", QStringLiteral("mariadb --no-defaults -uroot --socket='%1' kab_v1 < '%2'")
                                                .arg(s.socket(), QStringLiteral(TARVESA_SOURCE_DIR "/server/migrations/") + f)});
            QVERIFY2(again.code == 0, qPrintable(f + ": " + again.out));
        }
        QCOMPARE(structure(root, "kab_v1"), shape);
        QCOMPARE(checksums(root, "kab_v1"), rows);
    }

    // A migration whose second statement fails: its row stays unfinished,
    // the next upgrade refuses until told to resume, the resumed run
    // finishes it; a release without it refuses to go back.
    void failedStepIsDetectedAndResumed()
    {
        const Server s = mainServer();
        QTemporaryDir dir;
        for (const QString& f : QDir(QStringLiteral(TARVESA_SOURCE_DIR "/server/migrations")).entryList({"*.sql"}))
            QVERIFY(QFile::copy(QStringLiteral(TARVESA_SOURCE_DIR "/server/migrations/") + f, dir.filePath(f)));
        QFile step(dir.filePath("0099-uji-langkah.sql"));
        QVERIFY(step.open(QIODevice::WriteOnly));
        step.write("CREATE TABLE IF NOT EXISTS uji_langkah (id INT NOT NULL, PRIMARY KEY (id)) ENGINE=InnoDB;\n"
                   "INSERT IGNORE INTO uji_langkah (id) SELECT id FROM uji_sumber;\n");
        step.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVESA_MIGRATIONS"), dir.path());

        Result r = serverSh(s, {"install", "--schema", "kab_langkah"});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        r = serverSh(s, {"upgrade", "--schema", "kab_langkah"}, env);
        QVERIFY2(r.code != 0 && r.out.contains("Version 99 (0099-uji-langkah.sql) failed halfway"), qPrintable(r.out));
        Root root(s, "kab_langkah");
        QCOMPARE(root.value("SELECT CONCAT(nomor, '/', selesai IS NULL) FROM kinerja_migrasi WHERE nomor = 99"),
                 QStringLiteral("99/1"));
        QCOMPARE(root.value("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = 'kab_langkah' "
                            "AND TABLE_NAME = 'uji_langkah'"),
                 QStringLiteral("1"));

        r = serverSh(s, {"upgrade", "--schema", "kab_langkah"}, env);
        QVERIFY2(r.code != 0 && r.out.contains("Version 99 of schema 'kab_langkah' began and did not finish"), qPrintable(r.out));

        root.exec("CREATE TABLE uji_sumber (id INT NOT NULL PRIMARY KEY) ENGINE=InnoDB");
        root.exec("INSERT INTO uji_sumber VALUES (7)");
        r = serverSh(s, {"upgrade", "--schema", "kab_langkah", "--resume"}, env);
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(root.value("SELECT CONCAT(nomor, '/', selesai IS NULL) FROM kinerja_migrasi WHERE nomor = 99"),
                 QStringLiteral("99/0"));
        QCOMPARE(root.value("SELECT GROUP_CONCAT(id) FROM uji_langkah"), QStringLiteral("7"));

        r = serverSh(s, {"upgrade", "--schema", "kab_langkah"});
        QVERIFY2(r.code != 0 && r.out.contains("has version 99, which this release does not know"), qPrintable(r.out));
        QCOMPARE(root.value("SELECT COUNT(*) FROM kinerja_migrasi"), QString::number(latestVersion() + 1));
    }

    // The sample files through the command into a new installation, then
    // what the client does first: a servant registers, the command makes
    // the account Admin System, and it logs in as such.
    void importAndFirstAdministrator()
    {
        const Server s = mainServer();
        Result r = serverSh(s, {"install", "--schema", "kab_impor"});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        r = serverSh(s, {"import", QStringLiteral(TARVESA_SOURCE_DIR "/server/sample-import"), "--schema", "kab_impor", "--yes"});
        QVERIFY2(r.code == 0 && r.out.contains("Diterapkan"), qPrintable(r.out));
        Root root(s, "kab_impor");
        QCOMPARE(root.value("SELECT COUNT(*) FROM cache_pns"), QStringLiteral("66"));

        r = serverSh(s, {"admin", kDemoNip, "--schema", "kab_impor"});
        QVERIFY2(r.code != 0 && r.out.contains("has no account"), qPrintable(r.out));
        {
            db::Connection c;
            c.open(app(s, "kab_impor"));
            db::Query(c).exec(QStringLiteral("insert into kinerja_user (nip, pass, level) values (:var_nip, md5(:var_pass), '1')"),
                              {{"var_nip", kDemoNip}, {"var_pass", "rahasia2026"}});
        }
        r = serverSh(s, {"admin", kDemoNip, "--schema", "kab_impor"});
        QVERIFY2(r.code == 0 && r.out.contains("is Admin System now"), qPrintable(r.out));
        db::Connection c;
        c.open(app(s, "kab_impor"));
        const db::ResultSet rs = db::Query(c).open(QStringLiteral("CALL `kinerja_cek_hak_akses`(:var_nip, :var_pass)"),
                                                   {{"var_nip", kDemoNip}, {"var_pass", "rahasia2026"}});
        QCOMPARE(rs.first(QStringLiteral("access_level")), QStringLiteral("Admin System"));
        QCOMPARE(root.value("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'User - Update' AND target = '" + kDemoNip + "'"),
                 QStringLiteral("1"));
    }

    // A backup of the demo restored into a fresh server: the same tables,
    // routines, triggers, events and grants, and the application account
    // logs in there. A damaged backup, or a schema that is not empty, is
    // refused.
    void backupRestoresIntoAFreshServer()
    {
        const Server from = mainServer();
        const Server to = freshServer();
        QVERIFY(loadDemo(from, "kab_cadang"));
        QTemporaryDir dir;
        const QString backup = dir.filePath("cadangan");
        Result r = serverSh(from, {"backup", backup, "--schema", "kab_cadang"});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        r = serverSh(to, {"restore", backup, "--schema", "kab_cadang"});
        QVERIFY2(r.code == 0, qPrintable(r.out));

        Root a(from), b(to);
        QCOMPARE(checksums(b, "kab_cadang"), checksums(a, "kab_cadang"));
        QCOMPARE(structure(b, "kab_cadang"), structure(a, "kab_cadang"));
        QCOMPARE(appGrants(b, "kab_cadang"), appGrants(a, "kab_cadang"));
        QVERIFY(checksums(b, "kab_cadang").size() > 30);
        QVERIFY(!login(to, "kab_cadang", kDemoNip, "kelordan2026").isEmpty());

        r = serverSh(to, {"restore", backup, "--schema", "kab_cadang"});
        QVERIFY2(r.code != 0 && r.out.contains("is not empty"), qPrintable(r.out));

        QFile gz(backup + "/schema.sql.gz");
        QVERIFY(gz.open(QIODevice::ReadWrite));
        gz.seek(gz.size() / 2);
        const char c = gz.peek(1).at(0);
        gz.write(QByteArray(1, char(c ^ 0x5a)));
        gz.close();
        r = serverSh(to, {"restore", backup, "--schema", "kab_rusak"});
        QVERIFY2(r.code != 0 && r.out.contains("is damaged"), qPrintable(r.out));
        QCOMPARE(b.value("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = 'kab_rusak'"), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestServerAdmin)
#include "test_server_admin.moc"
