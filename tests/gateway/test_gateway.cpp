// The data module against a real server: binding, reading, draining,
// failures, and servers that are down, slow or silent.
#include "appcaller.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testconfig.h"
#include "testdb.h"
#include "testhost.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kSchema = QStringLiteral("t_gateway");
const QString kConnFail = QString::fromUtf8(stdmsg::GagalTerhubung);
const QString kShowFail = QString::fromUtf8(stdmsg::GagalMenampilkan);

// A TCP port that accepts connections into its backlog and never answers.
class SilentListener {
public:
    SilentListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 8);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~SilentListener() { ::close(fd_); }
    unsigned port() const { return port_; }

private:
    int fd_ = -1;
    unsigned port_ = 0;
};

bool runScript(const QStringList& args)
{
    return QProcess::execute(QStringLiteral("bash"), args) == 0;
}

} // namespace

class TestGateway : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("dbcore.sql")})); }

    void valuesRoundTripVerbatim_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("quotes") << QStringLiteral("O'Brien said \"hi\" and `ran`");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Tarvesa\\assets\\ and \\' and \\\\");
        QTest::newRow("line breaks") << QStringLiteral("satu\ndua\r\ntiga\rempat\tlima");
        QTest::newRow("emoji") << QStringLiteral("Rapat 😀👍🏽 selesai ✓ 中文 ĳ");
        QTest::newRow("injection") << QStringLiteral("'); DROP TABLE t_store; -- ");
        QTest::newRow("injection 2") << QStringLiteral("x' OR '1'='1");
        QTest::newRow("parameter-like") << QStringLiteral(":var_b :var_a ?");
        QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QTest::newRow("long") << QString(5000, QChar(0x00E9));
    }

    void valuesRoundTripVerbatim()
    {
        QFETCH(QString, value);
        TestHost host(testdb::appSettings(kSchema));
        QString echoed;
        QString id;
        QVERIFY(Envelope(host).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `t_echo`(:var_a, :var_b)"),
                                            {{QStringLiteral("var_a"), value}, {QStringLiteral("var_b"), value}});
            echoed = rs.text(0, QStringLiteral("a"));
            QCOMPARE(rs.text(0, 1), value);
            QCOMPARE(rs.number(0, QStringLiteral("len_a")), value.toUcs4().size());
            id = q.open(QStringLiteral("CALL t_store_put(:var_v)"), {{QStringLiteral("var_v"), value}}).first(0);
        }));
        QCOMPARE(echoed, value);
        QVERIFY(host.msgs.log.isEmpty());
        // What the server stored, read back by another client, byte for byte.
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT HEX(v) FROM t_store WHERE id = %1").arg(id)),
                 QString::fromLatin1(value.toUtf8().toHex().toUpper()));
        QCOMPARE(testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM information_schema.tables "
                                                           "WHERE table_schema = '%1' AND table_name = 't_store'")
                                                .arg(kSchema)),
                 QStringLiteral("1"));
    }

    void readsByNameAndPosition()
    {
        TestHost host(testdb::appSettings(kSchema));
        QVERIFY(Envelope(host).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL t_echo(:var_a, :var_b)"),
                                            {{QStringLiteral("var_a"), QStringLiteral("alpha")},
                                             {QStringLiteral("var_b"), QStringLiteral("beta")}});
            QCOMPARE(rs.recordCount(), 1);
            QCOMPARE(rs.columnCount(), 4);
            QCOMPARE(rs.text(0, 0), QStringLiteral("alpha"));
            QCOMPARE(rs.text(0, QStringLiteral("B")), QStringLiteral("beta")); // any case
            QCOMPARE(rs.first(QStringLiteral("len_a")), QStringLiteral("5"));
            QVERIFY(rs.isNull(0, 3));
            QCOMPARE(rs.first(QStringLiteral("nothing")), QString());
            QCOMPARE(rs.columnIndex(QStringLiteral("missing")), -1);
            QVERIFY_THROWS_EXCEPTION(db::DbError, rs.text(0, QStringLiteral("missing")));
            QVERIFY_THROWS_EXCEPTION(db::DbError, rs.text(1, 0));
            QVERIFY_THROWS_EXCEPTION(db::DbError, rs.number(0, 0));

            const db::ResultSet none = q.open(QStringLiteral("CALL t_no_rows()"));
            QCOMPARE(none.recordCount(), 0);
            QCOMPARE(none.first(QStringLiteral("nilai")), QString()); // no row reads empty
            QVERIFY_THROWS_EXCEPTION(db::DbError, none.first(QStringLiteral("missing")));
        }));
    }

    void everyResultIsDrained()
    {
        TestHost host(testdb::appSettings(kSchema));
        QVERIFY(Envelope(host).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL t_two_results()"));
            QCOMPARE(rs.recordCount(), 1);
            QCOMPARE(rs.first(0), QStringLiteral("first"));
            // The same connection takes the next statement at once.
            q.exec(QStringLiteral("CALL t_two_results()"));
            QCOMPARE(q.open(QStringLiteral("SELECT 'next' AS r")).first(0), QStringLiteral("next"));
        }));
        QCOMPARE(host.connects, 1);
    }

    // A failure shows the operation's fixed text; a refusal our routines
    // raise on purpose (SQLSTATE 45000) adds its sentence on a second line,
    // any other failure keeps its words on the server.
    void failuresShowTheFixedTextAndClose_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("reason"); // the second line; empty: none
        QTest::newRow("refusal after rows") << "CALL t_signal_after_select()" << "Ditolak sesudah baris pertama.";
        QTest::newRow("fault of another state") << "CALL t_fault()" << "";
        QTest::newRow("failing procedure") << "CALL t_fail()" << "";
        QTest::newRow("unknown procedure") << "CALL kinerja_no_such_thing()" << "";
        QTest::newRow("a helper of the server") << "CALL kinerja_wajib_login()" << "";
        QTest::newRow("no drop") << "DROP TABLE t_store" << "";
        QTest::newRow("no password digests") << "SELECT pass FROM kinerja_user" << "";
        QTest::newRow("no raw activities") << "SELECT * FROM aktivitas" << "";
        QTest::newRow("no level change") << "UPDATE kinerja_user SET level = '5'" << "";
        QTest::newRow("no log erasing") << "DELETE FROM kinerja_log_proses" << "";
    }

    void failuresShowTheFixedTextAndClose()
    {
        QFETCH(QString, sql);
        QFETCH(QString, reason);
        TestHost host(testdb::appSettings(kSchema));
        bool afterFailure = false;
        QVERIFY(!Envelope(host).onFailure(QStringLiteral("Gagal melakukan sesuatu!")).run([&](db::Query& q) {
            q.open(sql);
            afterFailure = true;
        }));
        QVERIFY(!afterFailure);
        QCOMPARE(host.msgs.log.size(), 1);
        QCOMPARE(host.msgs.last(), reason.isEmpty() ? QStringLiteral("Gagal melakukan sesuatu!")
                                                    : QStringLiteral("Gagal melakukan sesuatu!\r") + reason);
        QCOMPARE(host.msgs.lastKind(), Messages::Kind::Warning);
        QCOMPARE(host.refusals, reason.isEmpty() ? QStringList() : QStringList{reason.chopped(1)});
        QVERIFY(!host.dm.connected());

        // The next operation works.
        host.msgs.clear();
        QVERIFY(Envelope(host).run([](db::Query& q) { QCOMPARE(q.open("SELECT 1 AS x").first(0), "1"); }));
        QVERIFY(host.msgs.log.isEmpty());
        QVERIFY(!host.dm.connected());
        QCOMPARE(testdb::rootValue(kSchema, "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema='" +
                                                kSchema + "' AND table_name='t_store'"),
                 QStringLiteral("1"));
    }

    void messageKindsFollowTheOperation()
    {
        TestHost host(testdb::appSettings(kSchema));
        QVERIFY(!Envelope(host)
                     .onFailure(Messages::Kind::Information, QString::fromUtf8(stdmsg::GagalMengambil))
                     .run([](db::Query& q) { q.open(QStringLiteral("CALL t_fail()")); }));
        QCOMPARE(host.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(host.msgs.last(), QString::fromUtf8(stdmsg::GagalMengambil));

        db::ConnSettings down = testdb::appSettings(kSchema);
        down.port = 1; // nothing listens there
        TestHost off(down);
        bool ran = false;
        QVERIFY(!Envelope(off)
                     .onConnectFailure(Messages::Kind::Information, kConnFail)
                     .run([&](db::Query&) { ran = true; }));
        QVERIFY(!ran);
        QCOMPARE(off.msgs.log.size(), 1);
        QCOMPARE(off.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(off.msgs.last(), kConnFail);
    }

    // A deadlock undoes the whole transaction of the side that loses it:
    // the envelope runs the body again only when the operation asked for
    // that, and then the value is stored once.
    void conflictRunsTheBodyAgainWhenAsked_data()
    {
        QTest::addColumn<bool>("retry");
        QTest::newRow("asked") << true;
        QTest::newRow("not asked") << false;
    }

    void conflictRunsTheBodyAgainWhenAsked()
    {
        QFETCH(bool, retry);
        const QString value = QStringLiteral("after a conflict, ") + QTest::currentDataTag();
        AppCaller holder(kSchema, AppCaller::Scheduler{});
        QCOMPARE(holder.call(QStringLiteral("START TRANSACTION")), QStringList());
        // Much to undo: the server ends the transaction with less to undo.
        const QStringList ballast(40, QStringLiteral("('ballast')"));
        QCOMPARE(holder.call(QStringLiteral("INSERT INTO t_store (v) VALUES ") + ballast.join(',')), QStringList());
        QCOMPARE(holder.call(QStringLiteral("UPDATE t_lock SET n = n + 1 WHERE id = 2")), QStringList());

        TestHost host(testdb::appSettings(kSchema));
        Envelope envelope(host);
        if (retry)
            envelope.retryOnConflict();
        Racer racer([&] {
            const bool ok = envelope.run([&](db::Query& q) {
                q.exec(QStringLiteral("CALL t_store_locked(:var_v)"), {{"var_v", value}});
            });
            return QStringList{ok ? "stored" : "failed", QString::number(envelope.runs())};
        });
        QVERIFY(racer.blockedOnLock(kSchema)); // holds row 1, waits for row 2
        QCOMPARE(holder.call(QStringLiteral("UPDATE t_lock SET n = n + 1 WHERE id = 1")), QStringList());
        QCOMPARE(holder.call(QStringLiteral("ROLLBACK")), QStringList());

        QCOMPARE(racer.result(), retry ? QStringList({"stored", "2"}) : QStringList({"failed", "1"}));
        QCOMPARE(host.msgs.texts(), retry ? QStringList() : QStringList{kShowFail});
        QCOMPARE(testdb::rootValue(kSchema, "SELECT COUNT(*) FROM t_store WHERE v = '" + value + "'"),
                 retry ? QStringLiteral("1") : QStringLiteral("0"));
        QVERIFY(!host.dm.connected());
    }

    void wrongPasswordIsAConnectionFailure()
    {
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.password = QStringLiteral("wrong-password-1234");
        TestHost host(s);
        QVERIFY(!probeConnection(host));
        QCOMPARE(host.msgs.texts(), QStringList{kConnFail});
    }

    void silentServerTimesOut()
    {
        SilentListener silent;
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.port = silent.port();
        TestHost host(s);
        QElapsedTimer t;
        t.start();
        QVERIFY(!probeConnection(host));
        QVERIFY2(t.elapsed() < 15000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(host.msgs.texts(), QStringList{kConnFail});
    }

    void slowStatementTimesOut()
    {
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.readTimeoutSec = 2;
        TestHost host(s);
        QElapsedTimer t;
        t.start();
        QVERIFY(!Envelope(host).run([](db::Query& q) { q.open(QStringLiteral("CALL t_sleep('30')")); }));
        QVERIFY2(t.elapsed() < 15000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(host.msgs.texts(), QStringList{kShowFail});
        QVERIFY(!host.dm.connected());
    }

    void serverStoppedBetweenOperations()
    {
        // A server of its own, so stopping it disturbs no other suite; work
        // trees test on ports ten apart, so +5 meets none of theirs.
        const QString dir = QStringLiteral(TARVESA_BINARY_DIR "/test-db-restart");
        const QString port = QString::number(testdb::port() + 5);
        const QString script = QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbserver.sh");
        QVERIFY(runScript({script, QStringLiteral("fresh"), dir, port}));
        QVERIFY(runScript({QStringLiteral(TARVESA_SOURCE_DIR "/scripts/dbload.sh"), dir + QStringLiteral("/s"),
                           kSchema, QStringLiteral("fresh"),
                           QStringLiteral(TARVESA_BINARY_DIR "/server/app-account.sql")}));
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.port = port.toUInt();
        TestHost host(s);
        const auto select = [](db::Query& q) { QCOMPARE(q.open("SELECT 'up' AS r").first(0), "up"); };

        QVERIFY(Envelope(host).run(select));
        QVERIFY(runScript({script, QStringLiteral("stop"), dir}));
        QVERIFY(!Envelope(host).run(select));
        QCOMPARE(host.msgs.texts(), QStringList{kConnFail});
        QVERIFY(runScript({script, QStringLiteral("start"), dir, port}));
        host.msgs.clear();
        QVERIFY(Envelope(host).run(select));
        QVERIFY(host.msgs.log.isEmpty());

        // A logged-in host keeps its connection warm between operations: a
        // restart between two of them is noticed before the next one (after
        // a pause) or fails it with the standard message, and the one after
        // works again on a new connection.
        QVERIFY(runScript({QStringLiteral("-c"),
                           QStringLiteral("mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket=%1/s "
                                          "%2 < %3/tests/fixtures/org.sql")
                               .arg(dir, kSchema, QStringLiteral(TARVESA_SOURCE_DIR))}));
        TestHost user(s, QStringLiteral("199104042016011004"));
        QVERIFY(!user.dm.sessionToken().isEmpty());
        QVERIFY(Envelope(user).run(select));
        QVERIFY(user.dm.warm());
        QVERIFY(runScript({script, QStringLiteral("stop"), dir}));
        QVERIFY(runScript({script, QStringLiteral("start"), dir, port}));
        QElapsedTimer t;
        t.start();
        if (!Envelope(user).run(select))
            QCOMPARE(user.msgs.texts(), QStringList{kShowFail});
        QVERIFY(Envelope(user).run(select));
        QVERIFY(t.elapsed() < 15000);
        QVERIFY(runScript({script, QStringLiteral("stop"), dir}));
    }
};

QTEST_GUILESS_MAIN(TestGateway)
#include "test_gateway.moc"
