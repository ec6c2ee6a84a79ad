// The server side on a three-node Galera cluster: what one node writes the
// others read at once, the day's minute limit and the limit of additional
// tasks hold for writers on different nodes, and a connection acts for the
// person it bound whatever
// its connection id on another node. Runs on the cluster that
// "bash scripts/cluster.sh test" starts (it passes the nodes' ports).
#include "appcaller.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "session/regispage.h"
#include "testhost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

const QString kSchema = QStringLiteral("t_cluster");
const QString kAll = QStringLiteral("x,accepted,rejected,0,accepted_by_system,accepted_by_spv,rejected_by_spv");
const QString kNewPass = QStringLiteral("klaster2026");

QList<unsigned> nodePorts()
{
    QList<unsigned> ports;
    for (const QByteArray& p : qgetenv("TARVESA_CLUSTER_PORTS").split(','))
        if (p.toUInt() > 0)
            ports << p.toUInt();
    return ports;
}

// The application account on node i (1 to 3).
db::ConnSettings node(int i)
{
    db::ConnSettings s = testdb::appSettings(kSchema);
    s.port = nodePorts().value(i - 1);
    return s;
}

db::ConnSettings rootOn(int i)
{
    db::ConnSettings s = testdb::rootSettings(kSchema);
    s.port = nodePorts().value(i - 1);
    return s;
}

// The first cell of a query run as root through node i.
QString valueOn(int i, const QString& sql, const db::Params& params = {})
{
    AppCaller root(rootOn(i));
    return root.call(sql, params).value(0);
}

QString day(int offset)
{
    return valueOn(1, QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

// Recognised minutes and rows of the executor's day, read through node i.
QString minutesOn(int i, const QString& date)
{
    return valueOn(i, QStringLiteral("SELECT COALESCE(SUM(bobot_skr * volume), 0) FROM aktivitas "
                                     "WHERE nip = :nip AND DATE(tanggal_aktivitas) = :d "
                                     "AND status NOT IN ('rejected', 'rejected_by_spv')"),
                   {{"nip", kPelaksana}, {"d", date}});
}

QString rowsOn(int i, const QString& date)
{
    return valueOn(i, QStringLiteral("SELECT COUNT(*) FROM aktivitas WHERE nip = :nip AND DATE(tanggal_aktivitas) = :d"),
                   {{"nip", kPelaksana}, {"d", date}});
}

// Conflicts the nodes have resolved so far: local transactions aborted for
// a replicated write, and commits refused by certification.
long long conflicts()
{
    long long sum = 0;
    for (int i = 1; i <= 3; ++i)
        sum += valueOn(i, QStringLiteral("SELECT SUM(VARIABLE_VALUE) FROM information_schema.GLOBAL_STATUS "
                                         "WHERE VARIABLE_NAME IN ('WSREP_LOCAL_BF_ABORTS', 'WSREP_LOCAL_CERT_FAILURES')"))
                   .toLongLong();
    return sum;
}

// Records an activity of the executor (task 3: ten minutes a unit) the way
// the entry wizard does: one envelope that runs again on a conflict.
bool insert(TestHost& host, int volume, const QString& date, int* runs = nullptr)
{
    Envelope e(host);
    const bool ok = e.retryOnConflict().run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL kinerja_aktivitas_insert(:var_nip, :var_aktivitas, :var_sasaran, :var_deskripsi, "
                              ":var_volume, :var_tanggal_aktivitas, :var_status, :var_kode_jabatan, "
                              ":var_jenis_jabatan, :var_skr, :var_satuan, :var_atasan1, :var_atasan2)"),
               {{"var_nip", kPelaksana},
                {"var_aktivitas", "3"},
                {"var_sasaran", "0"},
                {"var_deskripsi", "Mengagendakan surat masuk di klaster"},
                {"var_volume", QString::number(volume)},
                {"var_tanggal_aktivitas", date + " 10:11:12"},
                {"var_status", "0"},
                {"var_kode_jabatan", "JP01"},
                {"var_jenis_jabatan", "Utama"},
                {"var_skr", "10"},
                {"var_satuan", "Surat"},
                {"var_atasan1", kKabid},
                {"var_atasan2", kKepala}});
    });
    if (runs)
        *runs = e.runs();
    return ok;
}

// The ids of the executor's list of one day, as the list page loads it
// through node i.
QStringList listOn(int i, const QString& date)
{
    TestHost host(node(i), kPelaksana);
    QStringList ids;
    Envelope(host).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL kinerja_aktivitas_tampil_data(:var_nip, :var_tanggal_awal, "
                                                       ":var_tanggal_akhir, :var_jenis_jabatan, :var_status, "
                                                       ":var_aktivitas, :var_nip_atasan2)"),
                                        {{"var_nip", kPelaksana},
                                         {"var_tanggal_awal", date},
                                         {"var_tanggal_akhir", date},
                                         {"var_jenis_jabatan", "x,Utama,Tambahan,Lainnya"},
                                         {"var_status", kAll},
                                         {"var_aktivitas", ""},
                                         {"var_nip_atasan2", ""}});
        for (int r = 0; r < rs.recordCount(); ++r)
            ids << rs.text(r, QStringLiteral("id")) + '|' + rs.text(r, QStringLiteral("status"));
    });
    return ids;
}

qint64 connectionId(AppCaller& c)
{
    return c.call(QStringLiteral("SELECT CONNECTION_ID()")).value(0).toLongLong();
}

} // namespace

class TestCluster : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(nodePorts().size() == 3, "no cluster: run this through \"bash scripts/cluster.sh test\"");
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")}));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(valueOn(i, QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS "
                                               "WHERE VARIABLE_NAME = 'WSREP_CLUSTER_SIZE'")),
                     QStringLiteral("3"));
    }

    // Registration on the page and an activity through node 1; the account
    // logs in, and the activity is listed and approved, through the others.
    void writesOfOneNodeAreReadThroughTheOthers()
    {
        MainFixture f(kSchema); // the test server's port is node 1
        QCOMPARE(f.dm.settings().port, nodePorts().value(0));
        f.w.dxAplikasiItems1Click();
        f.w.xRegis->btrNIP->setText(kCandidate);
        f.w.xRegis->cbrGolru->setCurrentIndex(8);
        f.w.xRegis->cbrSKPD->setCurrentText(QStringLiteral("Badan Contoh"));
        f.w.xRegis->btrCekDataClick();
        f.w.xRegis->edrPass1->setText(kNewPass);
        f.w.xRegis->edrPass2->setText(kNewPass);
        f.w.xRegis->btrRegisterClick();
        QCOMPARE(f.msgs.texts(), QStringList{QStringLiteral("Registrasi berhasil!")});

        const QString today = day(0);
        TestHost writer(node(1), kPelaksana);
        QVERIFY(insert(writer, 3, today));
        const QString id = valueOn(1, QStringLiteral("SELECT MAX(id) FROM aktivitas WHERE nip = :n"), {{"n", kPelaksana}});
        QVERIFY(!id.isEmpty());

        for (int i : {2, 3}) {
            // Read at once: the nodes wait for what the cluster committed
            // before they answer (wsrep_sync_wait), so no polling here.
            QVERIFY2(!testdb::loginToken(node(i), kCandidate, kNewPass).isEmpty(), qPrintable(QString::number(i)));
            QCOMPARE(valueOn(i, QStringLiteral("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = :n AND aksi = 'Register'"),
                             {{"n", kCandidate}}),
                     QStringLiteral("1"));
            QCOMPARE(listOn(i, today), QStringList{id + "|0"});
        }

        TestHost head(node(2), kKabid);
        QVERIFY(Envelope(head).run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL kinerja_aktivitas_disetujui_atasan(:var_id, :var_nip)"),
                   {{"var_id", id}, {"var_nip", kKabid}});
        }));
        QCOMPARE(listOn(3, today), QStringList{id + "|accepted"});
        QCOMPARE(listOn(1, today), QStringList{id + "|accepted"});
    }

    // A write for the same person committed through node 1 while node 2's
    // insert is on its way: node 2's transaction is undone, and the client
    // runs it again once. Then it counts node 1's minutes: stored when both
    // fit the day, refused when only the first one does; never both above
    // the limit and never stored twice.
    void aCollidingInsertRunsAgainAndCountsTheOther_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("bothFit");
        QTest::newRow("room for both") << -4 << 300 << true;
        QTest::newRow("room for one") << -5 << 420 << false;
    }

    void aCollidingInsertRunsAgainAndCountsTheOther()
    {
        QFETCH(int, offset);
        QFETCH(int, before);
        QFETCH(bool, bothFit);
        const QString date = day(offset);
        TestHost first(node(1), kPelaksana);
        TestHost second(node(2), kPelaksana);
        QVERIFY(insert(first, before / 10, date));
        QCOMPARE(minutesOn(2, date), QString::number(before));

        // Holds node 2's insert just before its commit: the end of the log,
        // where its log row goes, is locked on node 2.
        AppCaller holder(rootOn(2));
        holder.call(QStringLiteral("START TRANSACTION"));
        const QString lastLog = holder.call(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM kinerja_log_proses")).value(0);
        QCOMPARE(holder.call(QStringLiteral("SELECT id FROM kinerja_log_proses WHERE id > :m FOR UPDATE"),
                             {{"m", lastLog}}),
                 QStringList());

        Racer racer([&] {
            int runs = 0;
            const bool stored = insert(second, 5, date, &runs);
            return QStringList{stored ? "stored" : "refused", QString::number(runs), second.msgs.texts().join('/')};
        });
        QVERIFY(racer.blockedWhile([] { return valueOn(2, testdb::lockWaitQuery(kSchema)).toInt() > 0; }));
        const long long conflictsBefore = conflicts();
        QVERIFY(insert(first, 5, date)); // node 1 knows nothing of node 2's locks
        holder.call(QStringLiteral("ROLLBACK"));
        const QStringList result = racer.result();

        const QString failed = QString::fromUtf8(stdmsg::GagalMenampilkan);
        QCOMPARE(result, bothFit ? QStringList({"stored", "2", ""}) : QStringList({"refused", "2", failed}));
        QVERIFY(conflicts() > conflictsBefore);
        const int after = before + 50 + (bothFit ? 50 : 0);
        QVERIFY(after <= 480);
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(minutesOn(i, date), QString::number(after));
            QCOMPARE(rowsOn(i, date), QString::number(bothFit ? 3 : 2));
        }
    }

    // Three clients, one per node, record the same person's day in small
    // pieces at the same time until the server refuses them: the day ends
    // full and within its limit, and every insert the client saw succeed
    // is exactly one row.
    void parallelInsertsOnAllNodesKeepTheDayLimit_data()
    {
        QTest::addColumn<int>("offset");
        QTest::newRow("one day back") << -1;
        QTest::newRow("two days back") << -2;
        QTest::newRow("three days back") << -3;
    }

    void parallelInsertsOnAllNodesKeepTheDayLimit()
    {
        QFETCH(int, offset);
        const QString date = day(offset);
        const int before = minutesOn(1, date).toInt();
        const QString rowsBefore = rowsOn(1, date);
        std::atomic<int> stored{0};
        std::atomic<int> reruns{0};
        {
            std::vector<std::thread> clients;
            for (int i = 1; i <= 3; ++i)
                clients.emplace_back([&, i] {
                    TestHost host(node(i), kPelaksana);
                    // Refusals in a row mean the day is full.
                    for (int refusals = 0; refusals < 3;) {
                        int runs = 0;
                        if (insert(host, 2, date, &runs)) {
                            ++stored;
                            refusals = 0;
                        } else {
                            ++refusals;
                        }
                        reruns += runs - 1;
                    }
                });
            for (std::thread& t : clients)
                t.join();
        }
        const int after = minutesOn(1, date).toInt();
        qInfo("%d stored, %d runs again after a conflict", stored.load(), reruns.load());
        QVERIFY2(after <= 480, qPrintable(QString::number(after)));
        QVERIFY2(after > 480 - 20, qPrintable(QString::number(after)));
        QCOMPARE(after, before + 20 * stored);
        QCOMPARE(rowsOn(2, date).toInt(), rowsBefore.toInt() + stored);
        QCOMPARE(minutesOn(3, date).toInt(), after);
    }

    // The field head gives the executor the last free additional task from
    // all three nodes at the same moment, round after round: a row lock
    // holds only on its own node, so the limit and "not twice the same
    // task" hold only if the losers fail at commit. Each round ends with
    // exactly the fixture's task and one new one.
    void parallelAdditionalTasksOnAllNodesKeepTheLimit()
    {
        const QString active = QStringLiteral("SELECT COUNT(*) FROM tugas_tambahan WHERE nip = :n AND status = 'aktif' "
                                              "AND (tanggal_selesai IS NULL OR tanggal_selesai >= CURDATE())");
        QCOMPARE(valueOn(1, active, {{"n", kPelaksana}}), QStringLiteral("1"));
        QStringList tokens;
        for (int i = 1; i <= 3; ++i)
            tokens << testdb::loginToken(node(i), kKabid);
        int conflicted = 0;
        for (int round = 0; round < 8; ++round) {
            std::vector<std::unique_ptr<AppCaller>> callers;
            for (int i = 1; i <= 3; ++i) {
                callers.push_back(std::make_unique<AppCaller>(node(i)));
                QCOMPARE(callers.back()->call(QStringLiteral("CALL kinerja_sesi_ikat(:t)"), {{"t", tokens[i - 1]}}),
                         QStringList());
            }
            std::atomic<int> ready{0};
            std::vector<QStringList> answers(3);
            {
                std::vector<std::thread> clients;
                for (int i = 0; i < 3; ++i)
                    clients.emplace_back([&, i] {
                        ++ready;
                        while (ready.load() < 3) {
                        }
                        answers[i] = callers[i]->call(
                            QStringLiteral("CALL kinerja_tugas_tambahan_tambah(:a, :b, :c, :d)"),
                            {{"a", kPelaksana}, {"b", "JP01"}, {"c", "U1"}, {"d", kKabid}});
                    });
                for (std::thread& t : clients)
                    t.join();
            }
            int added = 0;
            for (const QStringList& a : answers) {
                if (a.isEmpty())
                    ++added;
                else if (a != QStringList{QStringLiteral("refused")})
                    ++conflicted; // failed at commit: nothing stored
            }
            QCOMPARE(added, 1);
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(valueOn(i, active, {{"n", kPelaksana}}), QStringLiteral("2"));
            QCOMPARE(valueOn(1, QStringLiteral("DELETE FROM tugas_tambahan WHERE nip = :n AND kode_jabatan = 'JP01'"),
                             {{"n", kPelaksana}}),
                     QString());
        }
        qInfo("%d calls failed at commit", conflicted);
    }

    // Connection ids are counted per node, so two nodes hand out the same
    // id: two connections with one id, each bound to another person, act
    // each for its own person only.
    void sameConnectionIdOnTwoNodesActsForEachOwnPerson_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::newRow("nodes 1 and 2") << 1 << 2;
        QTest::newRow("nodes 2 and 3") << 2 << 3;
        QTest::newRow("nodes 3 and 1") << 3 << 1;
    }

    void sameConnectionIdOnTwoNodesActsForEachOwnPerson()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        const QString tokenA = testdb::loginToken(node(a), kPelaksana);
        const QString tokenB = testdb::loginToken(node(b), kAnalis);
        QVERIFY(!tokenA.isEmpty() && !tokenB.isEmpty());

        // New connections get the next id of their node: open new ones on
        // the node that is behind until both ids are the same.
        auto ca = std::make_unique<AppCaller>(node(a));
        auto cb = std::make_unique<AppCaller>(node(b));
        qint64 idA = connectionId(*ca);
        qint64 idB = connectionId(*cb);
        for (int n = 0; idA != idB && n < 20000; ++n) {
            if (idA < idB) {
                ca = std::make_unique<AppCaller>(node(a));
                idA = connectionId(*ca);
            } else {
                cb = std::make_unique<AppCaller>(node(b));
                idB = connectionId(*cb);
            }
        }
        QCOMPARE(idA, idB);

        const QString bind = QStringLiteral("CALL kinerja_sesi_ikat(:var_token)");
        QCOMPARE(ca->call(bind, {{"var_token", tokenA}}), QStringList());
        QCOMPARE(cb->call(bind, {{"var_token", tokenB}}), QStringList());
        const QString own = QStringLiteral("CALL kinerja_get_kodejab_simpeg_by_nip(:var_nip)");
        QCOMPARE(ca->call(own, {{"var_nip", kPelaksana}}), QStringList{"J5|U1"});
        QCOMPARE(ca->call(own, {{"var_nip", kAnalis}}), QStringList{"refused"});
        QCOMPARE(cb->call(own, {{"var_nip", kAnalis}}), QStringList{"J4|U1"});
        QCOMPARE(cb->call(own, {{"var_nip", kPelaksana}}), QStringList{"refused"});

        // A log row is the bound person's on either node.
        const QString log = QStringLiteral("CALL kinerja_log_insert('', 'Uji Klaster', :var_ket, '')");
        const QString mark = QStringLiteral("id %1 node %2");
        QCOMPARE(ca->call(log, {{"var_ket", mark.arg(idA).arg(a)}}), QStringList());
        QCOMPARE(cb->call(log, {{"var_ket", mark.arg(idB).arg(b)}}), QStringList());
        QCOMPARE(valueOn(a, QStringLiteral("SELECT GROUP_CONCAT(nip ORDER BY keterangan) FROM kinerja_log_proses "
                                           "WHERE aksi = 'Uji Klaster' AND keterangan IN (:x, :y)"),
                         {{"x", mark.arg(idA).arg(a)}, {"y", mark.arg(idB).arg(b)}}),
                 a < b ? kPelaksana + ',' + kAnalis : kAnalis + ',' + kPelaksana);
    }
};

QTEST_MAIN(TestCluster)
#include "test_cluster.moc"
