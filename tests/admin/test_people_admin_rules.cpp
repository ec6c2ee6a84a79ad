// The server's rules of people administration, called as the application
// account the way a client that skips its own checks would: bound to a
// person by the login's token, anonymous, and on parallel connections.
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "orgfixture.h"
#include "testdb.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

const QString kSchema = QStringLiteral("t_people_admin_rules");
const QString kBelum = QStringLiteral("199702022022012012"); // agency U1, no account
const QString kLuar = QStringLiteral("199601012021011011");  // agency U2, Basic User
const QStringList kRefused{QStringLiteral("refused")};
const QStringList kDone{};

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QString day(int offset)
{
    return root(QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

// One connection of the application account, bound to a person's session
// when a NIP is given (anonymous otherwise).
class Caller {
public:
    explicit Caller(const QString& nip = {})
    {
        conn_.open(testdb::appSettings(kSchema));
        if (!nip.isEmpty())
            bind(testdb::sessionToken(kSchema, nip));
    }
    void bind(const QString& token) { call("CALL kinerja_sesi_ikat(:t)", {{"t", token}}); }

    // Every row as "a|b|c"; {"refused"} for SQLSTATE 45000, {"error: ..."}
    // for any other failure.
    QStringList call(const QString& sql, const db::Params& params = {})
    {
        try {
            const db::ResultSet rs = q_.open(sql, params);
            QStringList out;
            for (int r = 0; r < rs.recordCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs.columnCount(); ++c)
                    cells << rs.text(r, c);
                out << cells.join('|');
            }
            return out;
        } catch (const db::DbError& e) {
            if (e.sqlState() == "45000")
                return kRefused;
            return {QStringLiteral("error: ") + QString::fromStdString(e.what())};
        }
    }

private:
    db::Connection conn_;
    db::Query q_{conn_};
};

QStringList as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    Caller c(nip);
    return c.call(sql, params);
}

QString levelOf(const QString& nip)
{
    return root("SELECT COALESCE((SELECT level FROM kinerja_user WHERE nip = '" + nip + "'), 'none')");
}

QString logRows(const QString& aksi)
{
    return root("SELECT COALESCE(GROUP_CONCAT(CONCAT_WS('/', nip, keterangan, target) ORDER BY id SEPARATOR ' # '), "
                "'') FROM kinerja_log_proses WHERE aksi = '" + aksi + "'");
}

QString superiorOf(const QString& nip)
{
    return root("SELECT COALESCE(kinerja_fn_atasan_nip('" + nip + "'), 'none')");
}

QStringList staffOf(const QString& caller, const QString& induk, const QString& nama = {},
                    const QString& jjab = QStringLiteral("x,struktural,fungsional,pelaksana"))
{
    return as(caller, "CALL kinerja_admin_skpd_show_pns_per_skpd(:i, :n, :j)", {{"i", induk}, {"n", nama}, {"j", jjab}});
}

QStringList pltCek(const QString& id, const QString& nip, const QString& kode, const QString& jenis,
                   const QString& start, const QString& end, const QString& akhiri = {})
{
    return as(kKepala, "CALL kinerja_plt_cek(:a, :b, :c, :d, :e, :f, :g)",
              {{"a", id}, {"b", nip}, {"c", kode}, {"d", jenis}, {"e", start}, {"f", end}, {"g", akhiri}});
}

QStringList pltTambah(const QString& caller, const QString& nip, const QString& kode, const QString& jenis,
                      const QString& start, const QString& end)
{
    return as(caller, "CALL kinerja_plt_tambah(:a, :b, :c, :d, :e)",
              {{"a", nip}, {"b", kode}, {"c", jenis}, {"d", start}, {"e", end}});
}

QString pltId(const QString& nip, const QString& kode)
{
    return root("SELECT MAX(id) FROM plt WHERE nip = '" + nip + "' AND kode_jabatan_plt = '" + kode + "'");
}

// Waits until n transactions wait for a lock, at most 8 s (well inside the
// clients' read timeout).
bool waitForLockWaits(int n)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 8000) {
        if (testdb::lockWaits(kSchema) >= n)
            return true;
        QTest::qWait(150); // information_schema's view of transactions stays put while read within 0.1 s
    }
    return false;
}

} // namespace

class TestPeopleAdminRules : public QObject {
    Q_OBJECT
private slots:
    // One schema; each case starts from the fixture's accounts, assignments
    // and an empty log (kept aside once: reloading the schema per case of
    // the tables would take minutes).
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql"),
                                               QStringLiteral("people_admin.sql")}));
        QVERIFY(testdb::rootExec(kSchema, "CREATE TABLE uji_user ENGINE=InnoDB AS SELECT * FROM kinerja_user; "
                                          "CREATE TABLE uji_plt ENGINE=InnoDB AS SELECT * FROM plt;"));
    }

    void init()
    {
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM kinerja_user; INSERT INTO kinerja_user SELECT * FROM uji_user; "
                                          "DELETE FROM plt; INSERT INTO plt SELECT * FROM uji_plt; "
                                          "DELETE FROM kinerja_log_proses; DELETE FROM kinerja_sesi;"));
    }

    // ---------------------------------------------------------------- staff per unit

    void staffListScope_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("induk");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("Admin SKPD, own agency") << kKabid << "U1" << true;
        QTest::newRow("Admin SKPD, other agency") << kKabid << "U2" << false;
        QTest::newRow("Admin Sektira, own agency") << kAnalis << "U1" << true;
        QTest::newRow("Admin Sektira, other agency") << kAnalis << "U2" << false;
        QTest::newRow("Admin System, other agency") << kKepala << "U2" << true;
        QTest::newRow("Supervisor") << kPlt << "U1" << false;
        QTest::newRow("Basic User") << kPelaksana << "U1" << false;
        QTest::newRow("odd level text") << kPengelola << "U1" << false;
        QTest::newRow("anonymous") << QString() << "U1" << false;
    }

    void staffListScope()
    {
        QFETCH(QString, caller);
        QFETCH(QString, induk);
        QFETCH(bool, allowed);
        const QStringList rows = staffOf(caller, induk);
        if (!allowed) {
            QCOMPARE(rows, kRefused);
            return;
        }
        QVERIFY(!rows.isEmpty());
        for (const QString& r : rows)
            QVERIFY2(!r.startsWith("refused") && !r.startsWith("error"), qPrintable(r));
    }

    void staffListRows()
    {
        const QStringList all = staffOf(kKabid, "U1");
        QCOMPARE(all.size(), 8);
        QCOMPARE(all.first(), kBelum + "|Aan Belum Daftar|Bidang Satu|Pengadministrasi Uji|II/a|pelaksana|Belum Terdaftar");
        QVERIFY(all.contains(kPelaksana + "|Pelaksana Empat|Bidang Satu|Pengadministrasi Uji|II/c|pelaksana|Terdaftar"));
        QVERIFY(!all.join(' ').contains(kLuar));
        // Filters: part of a name or NIP, position kinds, nothing ticked.
        QCOMPARE(staffOf(kKabid, "U1", "Empat").size(), 1);
        QCOMPARE(staffOf(kKabid, "U1", kPelaksana.mid(3, 9)).size(), 1);
        QCOMPARE(staffOf(kKabid, "U1", "", "x,struktural").size(), 2);
        QCOMPARE(staffOf(kKabid, "U1", "", "x"), kDone);
    }

    void resetScope_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("targetLevel"); // given to the target first; empty: the fixture's
        QTest::newRow("Admin SKPD: Basic User of the agency") << kKabid << kPelaksana << true << QString();
        QTest::newRow("Admin SKPD: Supervisor of the agency") << kKabid << kPlt << true << QString();
        QTest::newRow("Admin SKPD: higher level (Admin Sektira)") << kKabid << kAnalis << false << QString();
        QTest::newRow("Admin SKPD: higher level (Admin System)") << kKabid << kKepala << false << QString();
        QTest::newRow("Admin SKPD: unknown level text") << kKabid << kPengelola << false << QString();
        QTest::newRow("Admin SKPD: other agency") << kKabid << kLuar << false << QString();
        QTest::newRow("Admin SKPD: own account") << kKabid << kKabid << false << QString();
        QTest::newRow("Admin SKPD: no account") << kKabid << kBelum << false << QString();
        QTest::newRow("Admin Sektira: Admin SKPD of the agency") << kAnalis << kKabid << true << QString();
        QTest::newRow("Admin Sektira: other agency") << kAnalis << kLuar << false << QString();
        QTest::newRow("Admin System: other agency") << kKepala << kLuar << true << QString();
        QTest::newRow("Admin System: unknown level text") << kKepala << kPengelola << false << QString();
        // Only downward: a peer's account, reset and registered again with
        // the staff list's facts, would be taken over.
        QTest::newRow("Admin SKPD: a peer Admin SKPD") << kKabid << kPlt << false << QString("3");
        QTest::newRow("Admin Sektira: a peer Admin Sektira") << kAnalis << kPlt << false << QString("4");
        QTest::newRow("Admin System: another Admin System") << kKepala << kPlt << false << QString("5");
        QTest::newRow("Admin System: Admin Sektira of another agency") << kKepala << kLuar << true << QString("4");
        QTest::newRow("Admin System: own account") << kKepala << kKepala << false << QString();
        QTest::newRow("Supervisor") << kPlt << kPelaksana << false << QString();
        QTest::newRow("Basic User") << kPelaksana << kGuru << false << QString();
        QTest::newRow("anonymous") << QString() << kPelaksana << false << QString();
    }

    // The reset deletes the account and nothing else of the person; its
    // sessions no longer bind, not even after a new registration.
    void resetScope()
    {
        QFETCH(QString, caller);
        QFETCH(QString, target);
        QFETCH(bool, allowed);
        QFETCH(QString, targetLevel);
        if (!targetLevel.isEmpty())
            QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_user SET level = '" + targetLevel + "' WHERE nip = '" +
                                                  target + "'"));
        const QString token = testdb::sessionToken(kSchema, target);
        const QString work = root("SELECT COUNT(*) FROM aktivitas WHERE nip = '" + target + "'") + "/" +
                             root("SELECT COUNT(*) FROM cache_pns WHERE nip = '" + target + "'") + "/" +
                             root("SELECT COUNT(*) FROM tugas_tambahan WHERE nip = '" + target + "'");
        const QString before = levelOf(target);
        QCOMPARE(as(caller, "CALL kinerja_user_delete(:n)", {{"n", target}}), allowed ? kDone : kRefused);
        QCOMPARE(levelOf(target), allowed ? QStringLiteral("none") : before);
        QCOMPARE(root("SELECT COUNT(*) FROM aktivitas WHERE nip = '" + target + "'") + "/" +
                     root("SELECT COUNT(*) FROM cache_pns WHERE nip = '" + target + "'") + "/" +
                     root("SELECT COUNT(*) FROM tugas_tambahan WHERE nip = '" + target + "'"),
                 work);
        // The reset writes its own log row, with it.
        QCOMPARE(root("SELECT COALESCE(GROUP_CONCAT(CONCAT_WS('|', nip, aksi, keterangan, target)), '') "
                      "FROM kinerja_log_proses WHERE sumber <> 'server'"),
                 allowed ? caller + "|User|Reset Akun|" + target : QString());
        if (allowed && !token.isEmpty()) {
            QVERIFY(testdb::rootExec(kSchema, "INSERT INTO kinerja_user (nip, pass, level) VALUES ('" + target +
                                                  "', MD5('rahasia123'), '1')"));
            Caller old;
            QCOMPARE(old.call("CALL kinerja_sesi_ikat(:t)", {{"t", token}}), kRefused);
        }
    }

    // ---------------------------------------------------------------- accounts and levels

    void accountList()
    {
        const QString sql = QStringLiteral("CALL kinerja_user_show(:n, :l)");
        const QStringList admins = as(kKepala, sql, {{"n", ""}, {"l", "x,Admin System,Admin Sektira,Admin SKPD,Supervisor"}});
        QCOMPARE(admins.size(), 4);
        QVERIFY(admins.first().startsWith(kKepala + "|Kepala Satu|Admin System|"));
        QVERIFY(QRegularExpression("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$")
                    .match(admins.first().section('|', 3))
                    .hasMatch());
        QCOMPARE(as(kKepala, sql, {{"n", ""}, {"l", "x"}}), kDone);
        QCOMPARE(as(kKepala, sql, {{"n", "Empat"}, {"l", "x,Basic User"}}).size(), 1);
        QCOMPARE(as(kKepala, sql, {{"n", "Empat"}, {"l", "x,Admin SKPD"}}), kDone);
        QCOMPARE(as(kKabid, sql, {{"n", ""}, {"l", "x,Basic User"}}), kRefused);
        QCOMPARE(as(kKepala, "CALL kinerja_pns_cek_jumlah_nip(:n)", {{"n", kCandidate}}), QStringList{"1"});
        QCOMPARE(as(kKepala, "CALL kinerja_pns_cek_jumlah_nip(:n)", {{"n", "199901012020011099"}}), QStringList{"0"});
        QCOMPARE(as(kAnalis, "CALL kinerja_pns_cek_jumlah_nip(:n)", {{"n", kCandidate}}), kRefused);
        QCOMPARE(as(kKepala, "CALL kinerja_user_level_cek(:n)", {{"n", kGuru}}), QStringList{kGuru + "|Guru Enam|Basic User"});
        QCOMPARE(as(kKepala, "CALL kinerja_user_level_cek(:n)", {{"n", kCandidate}}), kDone);
    }

    void levelChanges_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("Admin SKPD to a Basic User") << kKepala << kGuru << "Admin SKPD" << "3";
        QTest::newRow("Admin Sektira to a Basic User") << kKepala << kGuru << "Admin Sektira" << "4";
        QTest::newRow("Supervisor to a Basic User") << kKepala << kGuru << "Supervisor" << "2";
        QTest::newRow("Admin Sektira back to Basic User") << kKepala << kAnalis << "Basic User" << "1";
        QTest::newRow("the level it has") << kKepala << kGuru << "Basic User" << "";
        QTest::newRow("Admin System is not handed out") << kKepala << kGuru << "Admin System" << "";
        QTest::newRow("unknown level") << kKepala << kGuru << "Raja" << "";
        QTest::newRow("Admin System removing its own level") << kKepala << kKepala << "Basic User" << "";
        QTest::newRow("no account") << kKepala << kCandidate << "Admin SKPD" << "";
        QTest::newRow("by an Admin SKPD") << kKabid << kGuru << "Supervisor" << "";
        QTest::newRow("by an Admin Sektira") << kAnalis << kGuru << "Supervisor" << "";
        QTest::newRow("anonymous") << QString() << kGuru << "Supervisor" << "";
    }

    void levelChanges()
    {
        QFETCH(QString, caller);
        QFETCH(QString, target);
        QFETCH(QString, level);
        QFETCH(QString, stored);
        const QString before = levelOf(target);
        QCOMPARE(as(caller, "CALL kinerja_user_level_update(:n, :l)", {{"n", target}, {"l", level}}),
                 stored.isEmpty() ? kRefused : kDone);
        QCOMPARE(levelOf(target), stored.isEmpty() ? before : stored);
        QCOMPARE(logRows("User - Update"), stored.isEmpty() ? QString()
                                                            : caller + "/Level " +
                                                                  root("SELECT access_level FROM kinerja_level WHERE id = '" + before + "'") +
                                                                  " -> " + level + "/" + target);
    }

    // A level taken away counts at once, on a session issued before.
    void levelCountsAtOnce()
    {
        Caller analis(kAnalis);
        QVERIFY(analis.call("CALL kinerja_admin_skpd_show_pns_per_skpd('U1', '', 'x,pelaksana')").size() > 0);
        QCOMPARE(as(kKepala, "CALL kinerja_user_level_update(:n, 'Basic User')", {{"n", kAnalis}}), kDone);
        QCOMPARE(analis.call("CALL kinerja_admin_skpd_show_pns_per_skpd('U1', '', 'x,pelaksana')"), kRefused);
    }

    // ---------------------------------------------------------------- acting assignments

    void assignmentList()
    {
        const QString sql = QStringLiteral("CALL kinerja_plt_tampil_data(:n, :j, :s)");
        const QStringList all = as(kKepala, sql, {{"n", ""}, {"j", "x,plt,plh,tugas-sampiran,korwil"}, {"s", "x,AKTIF,-"}});
        QCOMPARE(all.size(), 3);
        const QString plt = pltId(kPlt, "J3");
        QCOMPARE(all.first(), plt + "|" + kPlt + "|Analis Lima|Analis Uji Ahli Muda|Kepala Bidang Dua|" + day(-10) +
                                  "|-|Plt - AKTIF");
        QCOMPARE(all.value(1).section('|', 5), day(-60) + "|" + day(-30) + "|Plh - TIDAK AKTIF");
        QCOMPARE(all.last().section('|', 5), day(-100) + "|-|KS/Kapus - AKTIF");
        QCOMPARE(as(kKepala, sql, {{"n", ""}, {"j", "x,plt,plh,tugas-sampiran,korwil"}, {"s", "x,-"}}).size(), 1);
        QCOMPARE(as(kKepala, sql, {{"n", "Guru"}, {"j", "x,tugas-sampiran"}, {"s", "x,AKTIF"}}).size(), 1);
        QCOMPARE(as(kKepala, sql, {{"n", ""}, {"j", "x"}, {"s", "x,AKTIF,-"}}), kDone);
        QCOMPARE(as(kKepala, sql, {{"n", ""}, {"j", "x,korwil"}, {"s", "x,-"}}), kDone);
        QCOMPARE(as(kKabid, sql, {{"n", ""}, {"j", "x,plt"}, {"s", "x,AKTIF"}}), kRefused);
        // A future one is not active and says so.
        QCOMPARE(pltTambah(kKepala, kAnalis, "J7", "korwil", day(3), ""), kDone);
        QCOMPARE(as(kKepala, sql, {{"n", kAnalis}, {"j", "x,korwil"}, {"s", "x,-"}}).value(0).section('|', 7),
                 QStringLiteral("Korwil - BELUM MULAI"));
    }

    // New assignments against the fixture's: an open Plt of the vacant J3
    // from 10 days ago, a Plh of J3 from 60 to 30 days ago, the side
    // assignment of J7 from 100 days ago.
    void newAssignments_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("kode");
        QTest::addColumn<QString>("jenis");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("Korwil, open") << kAnalis << "J2" << "korwil" << day(0) << "" << "OK";
        QTest::newRow("Plh right after the ended one") << kAnalis << "J3" << "plh" << day(-29) << day(-20) << "OK";
        QTest::newRow("Plh one day into the ended one") << kAnalis << "J3" << "plh" << day(-35) << day(-30) << "BENTROK";
        QTest::newRow("Plt beside the open Plt") << kAnalis << "J3" << "plt" << day(100) << day(110) << "BENTROK";
        QTest::newRow("Plt ending the day before the open one") << kAnalis << "J3" << "plt" << day(-20) << day(-11) << "OK";
        // A Plt fills a vacant post; for a post its holder serves in, a Plh.
        QTest::newRow("Plt for a post somebody holds") << kAnalis << "J2" << "plt" << day(0) << "" << "TERISI";
        QTest::newRow("Plh for a post somebody holds") << kAnalis << "J2" << "plh" << day(0) << day(3) << "OK";
        QTest::newRow("another kind on the same post") << kAnalis << "J3" << "korwil" << day(0) << "" << "OK";
        QTest::newRow("same day start and end") << kAnalis << "J2" << "plh" << day(2) << day(2) << "OK";
        QTest::newRow("end before start") << kAnalis << "J2" << "plh" << day(2) << day(1) << "URUTAN";
        QTest::newRow("no such position") << kAnalis << "J99" << "plt" << day(0) << "" << "JABATAN";
        QTest::newRow("own position") << kAnalis << "J4" << "plt" << day(0) << "" << "SENDIRI";
        QTest::newRow("no such servant") << "199901012020011099" << "J2" << "plt" << day(0) << "" << "PNS";
        QTest::newRow("unknown kind") << kAnalis << "J2" << "kepala" << day(0) << "" << "JENIS";
        QTest::newRow("impossible day") << kAnalis << "J2" << "plh" << "2026-02-30" << "" << "TANGGAL";
        QTest::newRow("day in another form") << kAnalis << "J2" << "plh" << day(0) << "31/12/2099" << "TANGGAL";
    }

    void newAssignments()
    {
        QFETCH(QString, nip);
        QFETCH(QString, kode);
        QFETCH(QString, jenis);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, verdict);
        const bool ok = verdict == QLatin1String("OK");
        QCOMPARE(pltCek({}, nip, kode, jenis, start, end), QStringList{verdict});
        QCOMPARE(pltTambah(kKabid, nip, kode, jenis, start, end), kRefused); // Admin System only
        QCOMPARE(pltTambah(kKepala, nip, kode, jenis, start, end), ok ? kDone : kRefused);
        QCOMPARE(root("SELECT COUNT(*) FROM plt"), ok ? QStringLiteral("4") : QStringLiteral("3"));
        QCOMPARE(logRows("PLT - Tambah"),
                 ok ? kKepala + "/" + jenis + " " + kode + " " + start + " s.d. " + (end.isEmpty() ? "-" : end) + "/" + nip
                    : QString());
    }

    void changes()
    {
        const QString plt = pltId(kPlt, "J3");
        const QString plh = pltId(kPelaksana, "J3");
        const auto ubah = [](const QString& id, const QString& end, const QString& akhiri = {}) {
            return as(kKepala, "CALL kinerja_plt_ubah(:i, :e, :a)", {{"i", id}, {"e", end}, {"a", akhiri}});
        };
        const QStringList kChanged{QStringLiteral("Tanggal akhir penugasan diubah.")};
        QCOMPARE(pltCek(plt, {}, {}, {}, {}, day(5)), QStringList{"OK"});
        QCOMPARE(ubah(plt, day(5)), kChanged);
        QCOMPARE(root("SELECT plt_end FROM plt WHERE id = " + plt), day(5));
        QCOMPARE(pltCek(plt, {}, {}, {}, {}, day(5)), QStringList{"SAMA"});
        QCOMPARE(ubah(plt, day(5)), kRefused);
        QCOMPARE(pltCek(plt, {}, {}, {}, {}, day(-11)), QStringList{"URUTAN"});
        QCOMPARE(ubah(plt, day(-11)), kRefused);
        QCOMPARE(pltCek(plh, {}, {}, {}, {}, day(5)), QStringList{"BERAKHIR"});
        QCOMPARE(ubah(plh, day(5)), kRefused);
        QCOMPARE(pltCek("999", {}, {}, {}, {}, day(5)), QStringList{"TIDAK ADA"});
        QCOMPARE(ubah("999", day(5)), kRefused);
        QCOMPARE(as(kKabid, "CALL kinerja_plt_ubah(:i, :e, '')", {{"i", plt}, {"e", day(6)}}), kRefused);
        // Extending into a later Plt of the same post collides with it.
        QCOMPARE(pltTambah(kKepala, kAnalis, "J3", "plt", day(30), day(40)), kDone);
        QCOMPARE(pltCek(plt, {}, {}, {}, {}, ""), QStringList{"BENTROK"});
        QCOMPARE(ubah(plt, ""), kRefused);
        QCOMPARE(ubah(plt, day(29)), kChanged);
        QCOMPARE(logRows("PLT - Ubah"), kKepala + "/plt J3 #" + plt + ": Tanggal akhir - -> " + day(5) + "/" + kPlt +
                                            " # " + kKepala + "/plt J3 #" + plt + ": Tanggal akhir " + day(5) + " -> " +
                                            day(29) + "/" + kPlt);
    }

    // The superior rule follows assignments at once: the acting head of the
    // vacant J3 leads its staff until the assignment ends; a Plh of the
    // occupied J2 leads the holder's staff, but not the deputy's own work.
    void superiorFollowsAssignments()
    {
        QCOMPARE(superiorOf(kPengelola), kPlt);
        QCOMPARE(as(kKepala, "CALL kinerja_plt_ubah(:i, '', '1')", {{"i", pltId(kPlt, "J3")}}),
                 QStringList{"Penugasan tidak berlaku lagi mulai hari ini."});
        QCOMPARE(root("SELECT plt_end FROM plt WHERE nip = '" + kPlt + "'"), day(-1));
        QCOMPARE(superiorOf(kPengelola), QStringLiteral("none"));
        QCOMPARE(as(kKepala, "CALL kinerja_plt_ubah(:i, '', '1')", {{"i", pltId(kPlt, "J3")}}), kRefused);

        QCOMPARE(superiorOf(kPelaksana), kKabid);
        QCOMPARE(pltTambah(kKepala, kAnalis, "J2", "plh", day(0), day(3)), kDone);
        QCOMPARE(superiorOf(kPelaksana), kAnalis);
        QCOMPARE(superiorOf(kAnalis), kKabid);
        // The subordinate list, which reads the same rule.
        QVERIFY(as(kAnalis, "CALL kinerja_show_bawahan(:n, '', 'x,pelaksana', 'x,Plt')", {{"n", kAnalis}})
                    .join(' ')
                    .contains(kPelaksana));
        // Ended on the day it began: the day may carry acts under it, so it
        // stays in force until tonight and keeps its record.
        QCOMPARE(as(kKepala, "CALL kinerja_plt_ubah(:i, '', '1')", {{"i", pltId(kAnalis, "J2")}}),
                 QStringList{"Penugasan ini mulai hari ini: berlaku sampai akhir hari ini."});
        QCOMPARE(root("SELECT plt_end FROM plt WHERE nip = '" + kAnalis + "' AND kode_jabatan_plt = 'J2'"), day(0));
        QCOMPARE(superiorOf(kPelaksana), kAnalis);
        QVERIFY(logRows("PLT - Ubah").contains("Diakhiri " + day(0)));
        // One not begun yet is withdrawn.
        QCOMPARE(pltTambah(kKepala, kGuru, "J3", "plh", day(2), day(4)), kDone);
        QCOMPARE(as(kKepala, "CALL kinerja_plt_ubah(:i, '', '1')", {{"i", pltId(kGuru, "J3")}}),
                 QStringList{"Penugasan yang belum dimulai dibatalkan."});
        QCOMPARE(pltId(kGuru, "J3"), QStringLiteral("NULL"));
        QVERIFY(logRows("PLT - Ubah").contains("Dibatalkan, mulai " + day(2)));
    }

    // Two administrators record overlapping assignments of one kind for one
    // post at once: the second waits for the position's row, then sees the
    // first and is refused.
    void parallelInsertsOfOnePost()
    {
        const QString t1 = testdb::sessionToken(kSchema, kKepala);
        const QString t2 = testdb::sessionToken(kSchema, kKepala);
        db::Connection lock;
        lock.open(testdb::rootSettings(kSchema));
        db::Query lq(lock);
        lq.exec("START TRANSACTION");
        lq.exec("SELECT kode_jabatan FROM jabatan WHERE kode_jabatan = 'J2' FOR UPDATE");
        std::atomic<int> ok{0};
        const auto insert = [&](const QString& token, const QString& nip, int from) {
            Caller c;
            c.bind(token);
            if (c.call("CALL kinerja_plt_tambah(:a, 'J2', 'plh', :b, :c)", {{"a", nip}, {"b", day(from)}, {"c", day(from + 5)}}) == kDone)
                ++ok;
        };
        std::thread a([&] { insert(t1, kAnalis, 0); });
        std::thread b([&] { insert(t2, kPlt, 2); });
        if (!waitForLockWaits(2))
            qWarning("the inserts did not queue behind the position's lock in time");
        lq.exec("COMMIT");
        a.join();
        b.join();
        QCOMPARE(ok.load(), 1);
        QCOMPARE(root("SELECT COUNT(*) FROM plt WHERE kode_jabatan_plt = 'J2'"), QStringLiteral("1"));
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'PLT - Tambah'"), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestPeopleAdminRules)
#include "test_people_admin_rules.moc"
