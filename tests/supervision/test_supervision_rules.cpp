// The server's rules of supervision, called as the application account the
// way a client that skips its own checks would: bound to a person by the
// login's token, anonymous, with another person's NIP, and on parallel
// connections that race for one row.
#include "appcaller.h"
#include "orgfixture.h"
#include "testdb.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

namespace {

const QString kSchema = QStringLiteral("t_supervision_rules");
const QString kPenjaga = QStringLiteral("199801012022011010"); // keeper under the school-head post
const QString kAllTypes = QStringLiteral("x,Utama,Tambahan,Lainnya");
const QString kAll = QStringLiteral("x,accepted,rejected,0,accepted_by_system,accepted_by_spv,rejected_by_spv");

QString day(int offset)
{
    return testdb::rootValue(kSchema, QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QString periodeNilai()
{
    return root(QStringLiteral("SELECT DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m')"));
}

// One connection of the application account to this suite's schema.
class Caller : public AppCaller {
public:
    explicit Caller(Scheduler) : AppCaller(kSchema, Scheduler{}) {}
    explicit Caller(const QString& nip = {}) : AppCaller(kSchema, nip) {}
};

QStringList as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    Caller c(nip);
    return c.call(sql, params);
}

const QStringList kRefused{QStringLiteral("refused")};

// The review actions by their procedure's middle word.
QString actionSql(const QString& action)
{
    return QStringLiteral("CALL kinerja_aktivitas_%1_atasan(:var_id, :var_nip)").arg(action);
}

// What a review action may change, and the log it leaves.
QString reviewState(const QString& id)
{
    return root("SELECT CONCAT_WS('/', status, COALESCE(tanggal_status, '-'), COALESCE(nip_verifikator, '-'), "
                "COALESCE(tanggal_validasi, '-'), COALESCE(nip_validator, '-')) FROM aktivitas WHERE id = '" +
                id + "'") +
           "#" + root("SELECT COUNT(*) FROM kinerja_log_proses");
}

QStringList ids(const QStringList& rows)
{
    QStringList out;
    for (const QString& r : rows)
        out << r.section('|', 0, 0);
    return out;
}

QStringList reviewList(const QString& caller, const QString& proc, const QString& nip, int from, int to,
                       const QString& statuses = kAll, const QString& atasan2 = QString())
{
    return as(caller,
              QStringLiteral("CALL %1(:var_nip, :var_tanggal_awal, :var_tanggal_akhir, :var_jenis_jabatan, "
                             ":var_status, :var_aktivitas, :var_nip_atasan2)")
                  .arg(proc),
              {{"var_nip", nip},
               {"var_tanggal_awal", day(from)},
               {"var_tanggal_akhir", day(to)},
               {"var_jenis_jabatan", kAllTypes},
               {"var_status", statuses},
               {"var_aktivitas", ""},
               {"var_nip_atasan2", atasan2}});
}

bool insertAssessment(const QString& caller, const QString& nip, const QString& ketepatan, const QString& kecepatan,
                      const QString& periode = periodeNilai(), const QString& penilai = QString())
{
    return as(caller,
              "CALL kinerja_kualitas_mutu_insert(:var_nip, :var_penilai, :var_tahun, :var_bulan, :var_ketepatan, "
              ":var_kecepatan)",
              {{"var_nip", nip},
               {"var_penilai", penilai.isEmpty() ? caller : penilai},
               {"var_tahun", periode.left(4)},
               {"var_bulan", periode.mid(4, 2)},
               {"var_ketepatan", ketepatan},
               {"var_kecepatan", kecepatan}}) == QStringList{};
}

void setProgress(const QString& nip, const QString& persen)
{
    QVERIFY(testdb::rootExec(kSchema, "REPLACE INTO kinerja_progress (nip, periode, target_menit, persen_diakui, "
                                      "tanggal_progress) VALUES ('" + nip + "', '" + periodeNilai() + "', 1000, " +
                                          persen + ", NOW())"));
}

bool addTask(const QString& caller, const QString& nip, const QString& kode, const QString& skpd = "U1",
             const QString& atasan = QString())
{
    return as(caller,
              "CALL kinerja_tugas_tambahan_tambah(:var_nip, :var_kode_jabatan, :var_kode_skpd, :var_nip_atasan)",
              {{"var_nip", nip},
               {"var_kode_jabatan", kode},
               {"var_kode_skpd", skpd},
               {"var_nip_atasan", atasan.isEmpty() ? caller : atasan}}) == QStringList{};
}

const QString kSaveReason =
    QStringLiteral("CALL kinerja_aktivitas_alasan_tolak_simpan(:var_id, :var_nip, :var_alasan)");

// The rejection reason of an activity as a person's own list shows it (the
// last column); "(not listed)" when the list holds no such activity.
QString reasonInList(const QString& viewer, const QString& nip, const QString& id)
{
    Caller c(viewer);
    const db::ResultSet rs =
        c.query().open(QStringLiteral("CALL kinerja_aktivitas_tampil_data(:var_nip, :var_tanggal_awal, "
                                      ":var_tanggal_akhir, :var_jenis_jabatan, :var_status, :var_aktivitas, "
                                      ":var_nip_atasan2)"),
                       {{"var_nip", nip},
                        {"var_tanggal_awal", day(-30)},
                        {"var_tanggal_akhir", day(0)},
                        {"var_jenis_jabatan", kAllTypes},
                        {"var_status", kAll},
                        {"var_aktivitas", ""},
                        {"var_nip_atasan2", ""}});
    for (int r = 0; r < rs.recordCount(); ++r)
        if (rs.text(r, QStringLiteral("id")) == id)
            return rs.text(r, QStringLiteral("alasan_tolak"));
    return QStringLiteral("(not listed)");
}

// A text of exactly n characters (not bytes) that starts with the given one.
QString padded(const QString& start, int n, const QString& fill = QStringLiteral("x"))
{
    QString s = start;
    while (s.toUcs4().size() < n)
        s += fill;
    return s;
}

QString activeTasks(const QString& nip)
{
    return root("SELECT COUNT(*) FROM tugas_tambahan WHERE status = 'aktif' AND nip = '" + nip + "'");
}

} // namespace

class TestSupervisionRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("supervision.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    // ---------------------------------------------------------------- subordinates

    void subordinates_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QString>("jjab");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("expected"); // nip|status_bawahan|jenis_bawahan
        const QString allJ = QStringLiteral("x,struktural,fungsional,pelaksana");
        const QString allS = QStringLiteral("x,Definitif,Plt,Tugas Sampiran");
        const QString l = QStringLiteral("|Bawahan Langsung");
        const QString d = QStringLiteral("|Bawahan Dua Tingkat");
        QTest::newRow("field head: direct by class and name, then two levels")
            << kKabid << kKabid << "" << allJ << allS
            << QStringList{kPlt + "|Definitif" + l, kAnalis + "|Definitif" + l, kGuru + "|Definitif" + l,
                           kPelaksana + "|Definitif" + l, kPengelola + "|Definitif" + d, kPenjaga + "|Definitif" + d};
        QTest::newRow("agency head: vacant posts skipped, two levels through them")
            << kKepala << kKepala << "" << allJ << allS
            << QStringList{kKabid + "|Definitif" + l, kPlt + "|Definitif" + d, kAnalis + "|Definitif" + d,
                           kGuru + "|Definitif" + d, kPelaksana + "|Definitif" + d};
        QTest::newRow("acting head") << kPlt << kPlt << "" << allJ << allS << QStringList{kPengelola + "|Plt" + l};
        QTest::newRow("acting head, definitive only") << kPlt << kPlt << "" << allJ << "x,Definitif" << QStringList{};
        QTest::newRow("school head by side assignment")
            << kGuru << kGuru << "" << allJ << allS << QStringList{kPenjaga + "|Tugas Sampiran" + l};
        QTest::newRow("executors only") << kKabid << kKabid << "" << "x,pelaksana" << allS
                                        << QStringList{kPelaksana + "|Definitif" + l, kPengelola + "|Definitif" + d,
                                                       kPenjaga + "|Definitif" + d};
        QTest::newRow("no kind ticked") << kKabid << kKabid << "" << "x" << allS << QStringList{};
        QTest::newRow("no status ticked") << kKabid << kKabid << "" << allJ << "x" << QStringList{};
        QTest::newRow("name fragment, any case") << kKabid << kKabid << "ANALIS" << allJ << allS
                                                 << QStringList{kPlt + "|Definitif" + l, kAnalis + "|Definitif" + l};
        QTest::newRow("NIP fragment") << kKabid << kKabid << "19910404" << allJ << allS
                                      << QStringList{kPelaksana + "|Definitif" + l};
        QTest::newRow("wildcard is literal") << kKabid << kKabid << "%" << allJ << allS << QStringList{};
        QTest::newRow("someone else's subordinates") << kAnalis << kKabid << "" << allJ << allS << kRefused;
        QTest::newRow("anonymous") << "" << kKabid << "" << allJ << allS << kRefused;
    }

    void subordinates()
    {
        QFETCH(QString, caller);
        QFETCH(QString, nip);
        QFETCH(QString, nama);
        QFETCH(QString, jjab);
        QFETCH(QString, status);
        QFETCH(QStringList, expected);
        const QStringList rows = as(caller, "CALL kinerja_show_bawahan(:var_nip, :var_nama, :var_jjab, :var_status)",
                                    {{"var_nip", nip}, {"var_nama", nama}, {"var_jjab", jjab}, {"var_status", status}});
        QStringList got;
        for (const QString& r : rows)
            got << (r == "refused" ? r : r.section('|', 0, 0) + "|" + r.section('|', 5, 6));
        QCOMPARE(got, expected);
    }

    // The last column is the recognised progress of the month as kept
    // ("0.00 %" before any figure; last month's figure does not count).
    void subordinateColumns()
    {
        const auto rows = [] {
            return as(kGuru, "CALL kinerja_show_bawahan(:a, :b, :c, :d)",
                      {{"a", kGuru}, {"b", ""}, {"c", "x,pelaksana"}, {"d", "x,Definitif,Plt,Tugas Sampiran"}});
        };
        const QString row = kPenjaga + "|Penjaga Sepuluh|pelaksana|Penjaga Sekolah Uji|3|Tugas Sampiran|Bawahan Langsung|";
        QCOMPARE(rows(), QStringList{row + "0.00 %"});
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO kinerja_progress (nip, periode, target_menit, persen_diakui, "
                                          "tanggal_progress) VALUES ('" + kPenjaga + "', DATE_FORMAT(NOW(), '%Y%m'), "
                                          "1000, 37.5, NOW()), ('" + kPenjaga + "', DATE_FORMAT(NOW() - INTERVAL 1 "
                                          "MONTH, '%Y%m'), 1000, 90, NOW())"));
        QCOMPARE(rows(), QStringList{row + "37.50 %"});
    }

    // ---------------------------------------------------------------- review lists

    void reviewLists_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("proc");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("statuses");
        QTest::addColumn<QString>("atasan2");
        QTest::addColumn<QStringList>("expected");
        const QString b1 = QStringLiteral("kinerja_aktivitas_tampil_data");
        const QString b2 = QStringLiteral("kinerja_aktivitas_tampil_data_2tk");
        QTest::newRow("direct superior: by day of input") << kKabid << b1 << kPelaksana << -1 << kAll << ""
                                                          << QStringList{"308", "301"};
        QTest::newRow("owner: by day of work") << kPelaksana << b1 << kPelaksana << -2 << kAll << ""
                                               << QStringList{"308", "301"};
        QTest::newRow("owner: nothing done that day") << kPelaksana << b1 << kPelaksana << -1 << kAll << ""
                                                      << QStringList{};
        QTest::newRow("acting head") << kPlt << b1 << kPengelola << -1 << kAll << "" << QStringList{"310"};
        QTest::newRow("two-level superior may not use the direct list") << kKepala << b1 << kPelaksana << -1 << kAll
                                                                       << "" << kRefused;
        QTest::newRow("peer") << kAnalis << b1 << kPelaksana << -1 << kAll << "" << kRefused;
        QTest::newRow("two levels: verified that day, not by the system")
            << kKepala << b2 << kPelaksana << -1 << kAll << kKepala << QStringList{"306", "304", "303"};
        QTest::newRow("two levels: approved only") << kKepala << b2 << kPelaksana << -1 << "x,accepted" << kKepala
                                                   << QStringList{"306", "303"};
        QTest::newRow("two levels: system ticked lists nothing more")
            << kKepala << b2 << kPelaksana << -1 << "x,accepted_by_system" << kKepala << QStringList{};
        QTest::newRow("two levels through an acting post") << kKabid << b2 << kPengelola << -1 << kAll << kKabid
                                                           << QStringList{"311"};
        QTest::newRow("two levels: direct superior refused") << kKabid << b2 << kPelaksana << -1 << kAll << kKabid
                                                             << kRefused;
        QTest::newRow("two levels: borrowed NIP") << kKabid << b2 << kPelaksana << -1 << kAll << kKepala << kRefused;
        QTest::newRow("two levels: empty NIP") << kKepala << b2 << kPelaksana << -1 << kAll << "" << kRefused;
    }

    void reviewLists()
    {
        QFETCH(QString, caller);
        QFETCH(QString, proc);
        QFETCH(QString, nip);
        QFETCH(int, day);
        QFETCH(QString, statuses);
        QFETCH(QString, atasan2);
        QFETCH(QStringList, expected);
        const QStringList rows = reviewList(caller, proc, nip, day, day, statuses, atasan2);
        QCOMPARE(rows == kRefused ? rows : ids(rows), expected);
    }

    void twoLevelListColumns()
    {
        const QStringList rows = reviewList(kKepala, "kinerja_aktivitas_tampil_data_2tk", kPelaksana, -1, -1,
                                            "x,accepted", kKepala);
        QCOMPARE(rows.size(), 2);
        const QStringList validated = rows[0].split('|');
        const QStringList open = rows[1].split('|');
        QCOMPARE(validated[0], QStringLiteral("306"));
        QCOMPARE(validated[7], QStringLiteral("Disetujui Atasan"));
        QCOMPARE(validated[10], day(-1) + " 07:00:00");
        QCOMPARE(validated[11], day(0) + " 07:00:00");
        QCOMPARE(validated[12], QStringLiteral("Tidak"));
        QCOMPARE(open[12], QStringLiteral("Ya"));
    }

    // ---------------------------------------------------------------- windows

    void windows_data()
    {
        QTest::addColumn<QString>("proc");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("answer");
        QTest::newRow("verification: five days") << "verifikasi" << day(-5) << "5|5|T";
        QTest::newRow("verification: six days, with time") << "verifikasi" << day(-6) + " 09:00:00" << "5|6|F";
        QTest::newRow("validation: three days") << "validasi" << day(-3) << "3|3|T";
        QTest::newRow("validation: four days, with time") << "validasi" << day(-4) + " 23:59:59" << "3|4|F";
        QTest::newRow("validation: today") << "validasi" << day(0) + " 00:00:01" << "3|0|T";
        QTest::newRow("validation: never verified") << "validasi" << "" << "3||F";
        QTest::newRow("validation: impossible day") << "validasi" << "2026-02-30" << "3||F";
    }

    void windows()
    {
        QFETCH(QString, proc);
        QFETCH(QString, date);
        QFETCH(QString, answer);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '3' "
                                          "WHERE nama = 'aktivitas_validasi_day_max'"));
        QCOMPARE(as(kKabid, "CALL kinerja_cek_waktu_" + proc + "(:d)", {{"d", date}}), QStringList{answer});
    }

    // The dates the lists send out come back to the window checks as they are.
    void windowsReadTheListsDates()
    {
        const QStringList direct = reviewList(kKabid, "kinerja_aktivitas_tampil_data", kPelaksana, -6, -5);
        QCOMPARE(ids(direct), (QStringList{"309", "302"}));
        QCOMPARE(as(kKabid, "CALL kinerja_cek_waktu_verifikasi(:d)", {{"d", direct[0].section('|', 9, 9)}}),
                 QStringList{"5|5|T"});
        QCOMPARE(as(kKabid, "CALL kinerja_cek_waktu_verifikasi(:d)", {{"d", direct[1].section('|', 9, 9)}}),
                 QStringList{"5|6|F"});
        const QStringList twoLevel =
            reviewList(kKepala, "kinerja_aktivitas_tampil_data_2tk", kPelaksana, -6, -6, kAll, kKepala);
        QCOMPARE(ids(twoLevel), QStringList{"307"});
        QCOMPARE(as(kKepala, "CALL kinerja_cek_waktu_validasi(:d)", {{"d", twoLevel[0].section('|', 10, 10)}}),
                 QStringList{"5|6|F"});
    }

    // ---------------------------------------------------------------- actions

    void reviewActions_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("asNip");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("outcome"); // ok, refused, dilewati (skipped by approve-all)
        // Who may act.
        QTest::newRow("direct superior approves") << kKabid << kKabid << "disetujui" << "301" << "ok";
        QTest::newRow("direct superior rejects") << kKabid << kKabid << "ditolak" << "301" << "ok";
        QTest::newRow("direct superior approves all") << kKabid << kKabid << "diverifikasi" << "301" << "ok";
        QTest::newRow("two levels up may not approve") << kKepala << kKepala << "disetujui" << "301" << "refused";
        QTest::newRow("two levels up may not reject") << kKepala << kKepala << "ditolak" << "301" << "refused";
        QTest::newRow("two levels up may not approve all") << kKepala << kKepala << "diverifikasi" << "301"
                                                           << "refused";
        QTest::newRow("peer") << kAnalis << kAnalis << "disetujui" << "301" << "refused";
        QTest::newRow("owner") << kPelaksana << kPelaksana << "disetujui" << "301" << "refused";
        QTest::newRow("anonymous") << "" << kKabid << "disetujui" << "301" << "refused";
        QTest::newRow("superior's NIP borrowed") << kAnalis << kKabid << "disetujui" << "301" << "refused";
        QTest::newRow("acting head approves") << kPlt << kPlt << "disetujui" << "310" << "ok";
        QTest::newRow("above the acting head may not") << kKabid << kKabid << "disetujui" << "310" << "refused";
        QTest::newRow("two levels up validates") << kKepala << kKepala << "divalidasi" << "303" << "ok";
        QTest::newRow("direct superior may not validate") << kKabid << kKabid << "divalidasi" << "303" << "refused";
        QTest::newRow("validation above an acting head") << kKabid << kKabid << "divalidasi" << "311" << "ok";
        QTest::newRow("acting head may not validate") << kPlt << kPlt << "divalidasi" << "311" << "refused";
        QTest::newRow("validator's NIP borrowed") << kKabid << kKepala << "divalidasi" << "303" << "refused";
        // Statuses and windows, by the right superior.
        QTest::newRow("unverified: validate") << kKepala << kKepala << "divalidasi" << "301" << "refused";
        QTest::newRow("input six days ago: approve") << kKabid << kKabid << "disetujui" << "302" << "refused";
        QTest::newRow("input six days ago: reject") << kKabid << kKabid << "ditolak" << "302" << "refused";
        QTest::newRow("input six days ago: approve all") << kKabid << kKabid << "diverifikasi" << "302"
                                                         << "refused";
        QTest::newRow("input five days ago: approve") << kKabid << kKabid << "disetujui" << "309" << "ok";
        QTest::newRow("approved: approve again") << kKabid << kKabid << "disetujui" << "303" << "ok";
        QTest::newRow("approved: reject") << kKabid << kKabid << "ditolak" << "303" << "ok";
        QTest::newRow("approved: approve all skips") << kKabid << kKabid << "diverifikasi" << "303" << "dilewati";
        QTest::newRow("rejected: approve") << kKabid << kKabid << "disetujui" << "304" << "ok";
        QTest::newRow("rejected: approve all skips") << kKabid << kKabid << "diverifikasi" << "304" << "dilewati";
        QTest::newRow("rejected: validate") << kKepala << kKepala << "divalidasi" << "304" << "ok";
        QTest::newRow("system: approve") << kKabid << kKabid << "disetujui" << "305" << "refused";
        QTest::newRow("system: reject") << kKabid << kKabid << "ditolak" << "305" << "refused";
        QTest::newRow("system: approve all skips") << kKabid << kKabid << "diverifikasi" << "305" << "dilewati";
        QTest::newRow("system: validate") << kKepala << kKepala << "divalidasi" << "305" << "refused";
        QTest::newRow("validated: approve") << kKabid << kKabid << "disetujui" << "306" << "refused";
        QTest::newRow("validated: reject") << kKabid << kKabid << "ditolak" << "306" << "refused";
        QTest::newRow("validated: approve all skips") << kKabid << kKabid << "diverifikasi" << "306" << "dilewati";
        QTest::newRow("validated: validate again") << kKepala << kKepala << "divalidasi" << "306" << "ok";
        QTest::newRow("verified six days ago: validate") << kKepala << kKepala << "divalidasi" << "307" << "refused";
        QTest::newRow("supervision: approve") << kKabid << kKabid << "disetujui" << "308" << "refused";
        QTest::newRow("supervision: reject") << kKabid << kKabid << "ditolak" << "308" << "refused";
        QTest::newRow("supervision: approve all skips") << kKabid << kKabid << "diverifikasi" << "308" << "dilewati";
        QTest::newRow("supervision: validate") << kKepala << kKepala << "divalidasi" << "308" << "refused";
        QTest::newRow("missing") << kKabid << kKabid << "disetujui" << "999" << "refused";
        QTest::newRow("not a key") << kKabid << kKabid << "disetujui" << "301 OR 1=1" << "refused";
    }

    void reviewActions()
    {
        QFETCH(QString, caller);
        QFETCH(QString, asNip);
        QFETCH(QString, action);
        QFETCH(QString, id);
        QFETCH(QString, outcome);
        const QString key = id.section(' ', 0, 0);
        const QString before = reviewState(key);
        const QStringList answer = as(caller, actionSql(action), {{"var_id", id}, {"var_nip", asNip}});

        if (outcome != "ok") {
            QCOMPARE(answer, outcome == "refused" ? kRefused : QStringList{"dilewati"});
            QCOMPARE(reviewState(key), before);
            return;
        }
        QCOMPARE(answer, action == "diverifikasi" ? QStringList{"disetujui"} : QStringList{});
        const QList<QStringList> row = testdb::rootQuery(
            kSchema, "SELECT status, nip_verifikator, TIMESTAMPDIFF(SECOND, tanggal_status, NOW()) < 60, "
                     "COALESCE(nip_validator, '-'), TIMESTAMPDIFF(SECOND, tanggal_validasi, NOW()) < 60 "
                     "FROM aktivitas WHERE id = " + id);
        QCOMPARE(row.size(), 1);
        const QString log = root("SELECT CONCAT(nip, '|', aksi, '|', target, '|', keterangan) FROM kinerja_log_proses "
                                 "ORDER BY id DESC LIMIT 1");
        const QString owner = root("SELECT nip FROM aktivitas WHERE id = " + id);
        if (action == "divalidasi") {
            QCOMPARE(row[0].mid(3), (QStringList{caller, "1"}));
            QCOMPARE(log, caller + "|Validasi OK|" + owner + "|Aktivitas " + id);
        } else {
            const bool approve = action != "ditolak";
            QCOMPARE(row[0].mid(0, 3), (QStringList{approve ? "accepted" : "rejected", caller, "1"}));
            QCOMPARE(log, caller + (approve ? "|Verifikasi - Approve|" : "|Verifikasi - Reject|") + owner +
                              "|Aktivitas " + id);
        }
    }

    // Approve-all on a day with rows in every state: the unverified ones are
    // approved, the rest stay as they were.
    void approveAllOfADay()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE aktivitas SET tanggal_input = CURDATE() - INTERVAL 1 DAY "
                                          "+ INTERVAL 9 HOUR WHERE id IN (303, 304, 305, 306, 308, 309)"));
        const QStringList listed = ids(reviewList(kKabid, "kinerja_aktivitas_tampil_data", kPelaksana, -1, -1));
        QCOMPARE(listed.size(), 7);
        const QString untouched = root("SELECT GROUP_CONCAT(CONCAT(id, status, COALESCE(tanggal_status, '')) ORDER BY "
                                       "id) FROM aktivitas WHERE id IN (303, 304, 305, 306, 308)");
        QStringList answers;
        Caller kabid(kKabid);
        for (const QString& id : listed)
            answers += kabid.call(actionSql("diverifikasi"), {{"var_id", id}, {"var_nip", kKabid}});
        QCOMPARE(answers.count("disetujui"), 2);
        QCOMPARE(answers.count("dilewati"), 5);
        QCOMPARE(root("SELECT GROUP_CONCAT(id ORDER BY id) FROM aktivitas WHERE nip_verifikator = '" + kKabid +
                      "' AND tanggal_status > NOW() - INTERVAL 1 MINUTE"),
                 QStringLiteral("301,309"));
        QCOMPARE(root("SELECT GROUP_CONCAT(CONCAT(id, status, COALESCE(tanggal_status, '')) ORDER BY id) FROM "
                      "aktivitas WHERE id IN (303, 304, 305, 306, 308)"),
                 untouched);
    }

    void maintenanceRefusesEveryWrite()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        setProgress(kPelaksana, "50");
        const QString before = root("SELECT CONCAT((SELECT GROUP_CONCAT(CONCAT(id, status, COALESCE(tanggal_validasi, "
                                    "'')) ORDER BY id) FROM aktivitas), (SELECT COUNT(*) FROM tugas_tambahan), "
                                    "(SELECT COUNT(*) FROM kualitas_mutu))");
        QCOMPARE(as(kKabid, actionSql("disetujui"), {{"var_id", "301"}, {"var_nip", kKabid}}), kRefused);
        QCOMPARE(as(kKabid, actionSql("ditolak"), {{"var_id", "301"}, {"var_nip", kKabid}}), kRefused);
        QCOMPARE(as(kKabid, actionSql("diverifikasi"), {{"var_id", "301"}, {"var_nip", kKabid}}), kRefused);
        QCOMPARE(as(kKepala, actionSql("divalidasi"), {{"var_id", "303"}, {"var_nip", kKepala}}), kRefused);
        QVERIFY(!insertAssessment(kKabid, kPelaksana, "80", "80"));
        QVERIFY(!addTask(kKabid, kPelaksana, "JP04"));
        QCOMPARE(as(kKabid, "CALL kinerja_tugas_tambahan_non_aktifkan(:var_id)",
                    {{"var_id", root("SELECT id FROM tugas_tambahan WHERE status = 'aktif'")}}),
                 kRefused);
        QCOMPARE(root("SELECT CONCAT((SELECT GROUP_CONCAT(CONCAT(id, status, COALESCE(tanggal_validasi, '')) ORDER BY "
                      "id) FROM aktivitas), (SELECT COUNT(*) FROM tugas_tambahan), (SELECT COUNT(*) FROM "
                      "kualitas_mutu))"),
                 before);
    }

    void statusAnswers()
    {
        QCOMPARE(as(kKabid, "CALL kinerja_aktivitas_status_cek(:var_id)", {{"var_id", "305"}}),
                 QStringList{"accepted_by_system"});
        QCOMPARE(as(kKepala, "CALL kinerja_aktivitas_status_validasi_cek(:var_id)", {{"var_id", "306"}}),
                 QStringList{"S"});
        QCOMPARE(as(kKepala, "CALL kinerja_aktivitas_status_validasi_cek(:var_id)", {{"var_id", "303"}}),
                 QStringList{"B"});
        QCOMPARE(as(kKabid, "CALL kinerja_aktivitas_status_cek(:var_id)", {{"var_id", "999"}}), QStringList{});
        QCOMPARE(as(kAnalis, "CALL kinerja_aktivitas_status_cek(:var_id)", {{"var_id", "305"}}), kRefused);
        QCOMPARE(as("", "CALL kinerja_aktivitas_status_validasi_cek(:var_id)", {{"var_id", "306"}}), kRefused);
    }

    // ---------------------------------------------------------------- races

    // The superior two levels up validates while the direct superior
    // rejects the same activity: the rejection waits for the row, then finds
    // it validated and is refused, so no verdict ever follows a validation.
    void raceOfTwoSuperiors()
    {
        Caller kepala(kKepala);
        Caller kabid(kKabid);
        QCOMPARE(kepala.call("START TRANSACTION"), QStringList{});
        QCOMPARE(kepala.call(actionSql("divalidasi"), {{"var_id", "303"}, {"var_nip", kKepala}}), QStringList{});
        Racer reject([&] { return kabid.call(actionSql("ditolak"), {{"var_id", "303"}, {"var_nip", kKabid}}); });
        QVERIFY(reject.blockedOnLock(kSchema));
        QCOMPARE(kepala.call("COMMIT"), QStringList{});
        QCOMPARE(reject.result(), kRefused);
        QCOMPARE(root("SELECT CONCAT(status, nip_verifikator, nip_validator) FROM aktivitas WHERE id = 303"),
                 "accepted" + kKabid + kKepala);
    }

    // ---------------------------------------------------------------- rejection reasons

    void rejectionReasons_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("asNip");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("stored");
        const QString awkward = QStringLiteral("Bukti \"surat\" tidak ada; lihat 'lampiran' \\ %_ \U0001F600 ");
        const QString emoji = QStringLiteral("\U0001F600");
        QTest::newRow("quotes and an emoji, 500 characters") << kKabid << kKabid << "304" << padded(awkward, 500)
                                                             << true;
        QTest::newRow("500 emoji: characters, not bytes") << kKabid << kKabid << "304" << padded(emoji, 500, emoji)
                                                          << true;
        QTest::newRow("one character") << kKabid << kKabid << "304" << "-" << true;
        QTest::newRow("kept verbatim, spaces and line breaks") << kKabid << kKabid << "304"
                                                               << "  dua\nbaris  " << true;
        QTest::newRow("501 characters") << kKabid << kKabid << "304" << padded(awkward, 501) << false;
        QTest::newRow("501 emoji") << kKabid << kKabid << "304" << padded(emoji, 501, emoji) << false;
        QTest::newRow("empty") << kKabid << kKabid << "304" << "" << false;
        QTest::newRow("two levels up, as himself") << kKepala << kKepala << "304" << "alasan" << false;
        QTest::newRow("two levels up, the verifier's NIP borrowed") << kKepala << kKabid << "304" << "alasan"
                                                                    << false;
        QTest::newRow("the owner") << kPelaksana << kPelaksana << "304" << "alasan" << false;
        QTest::newRow("the owner, the verifier's NIP borrowed") << kPelaksana << kKabid << "304" << "alasan"
                                                                << false;
        QTest::newRow("anonymous") << "" << kKabid << "304" << "alasan" << false;
        QTest::newRow("not rejected: unverified") << kKabid << kKabid << "301" << "alasan" << false;
        QTest::newRow("not rejected: approved") << kKabid << kKabid << "303" << "alasan" << false;
        QTest::newRow("missing") << kKabid << kKabid << "999" << "alasan" << false;
        QTest::newRow("not a key") << kKabid << kKabid << "304 OR 1=1" << "alasan" << false;
    }

    void rejectionReasons()
    {
        QFETCH(QString, caller);
        QFETCH(QString, asNip);
        QFETCH(QString, id);
        QFETCH(QString, reason);
        QFETCH(bool, stored);
        const QString logged = QStringLiteral("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = "
                                              "'Verifikasi - Alasan Tolak' AND nip = '%1' AND target = '%2' "
                                              "AND keterangan = 'Aktivitas 304'")
                                   .arg(kKabid, kPelaksana);
        const int before = root(logged).toInt();
        const QStringList answer = as(caller, kSaveReason, {{"var_id", id}, {"var_nip", asNip}, {"var_alasan", reason}});
        QCOMPARE(answer, stored ? QStringList{} : kRefused);
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_alasan_tolak"), stored ? QStringLiteral("1") : QStringLiteral("0"));
        // Logged for the superior who gave it, about the owner's activity.
        QCOMPARE(root(logged).toInt(), before + (stored ? 1 : 0));
        // The owner and the superior who rejected read it back as it was typed.
        const QString listed = stored ? reason : QString();
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "304"), listed);
        QCOMPARE(reasonInList(kKabid, kPelaksana, "304"), listed);
    }

    // A reason explains the rejection it was given for: approving again hides
    // it, a later rejection shows none until it gets its own, and a new
    // reason replaces the old one.
    void reasonFollowsTheRejection()
    {
        QCOMPARE(as(kKabid, kSaveReason, {{"var_id", "304"}, {"var_nip", kKabid}, {"var_alasan", "pertama"}}),
                 QStringList{});
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "304"), QStringLiteral("pertama"));
        QCOMPARE(as(kKabid, kSaveReason, {{"var_id", "304"}, {"var_nip", kKabid}, {"var_alasan", "kedua"}}),
                 QStringList{});
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "304"), QStringLiteral("kedua"));

        QCOMPARE(as(kKabid, actionSql("disetujui"), {{"var_id", "304"}, {"var_nip", kKabid}}), QStringList{});
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "304"), QString());
        // Not for an approved activity.
        QCOMPARE(as(kKabid, kSaveReason, {{"var_id", "304"}, {"var_nip", kKabid}, {"var_alasan", "ketiga"}}),
                 kRefused);

        QCOMPARE(as(kKabid, actionSql("ditolak"), {{"var_id", "304"}, {"var_nip", kKabid}}), QStringList{});
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "304"), QString());
        QCOMPARE(as(kKabid, kSaveReason, {{"var_id", "304"}, {"var_nip", kKabid}, {"var_alasan", "ketiga"}}),
                 QStringList{});
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "304"), QStringLiteral("ketiga"));
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_alasan_tolak"), QStringLiteral("1"));
        // Other activities of the list carry none.
        QCOMPARE(reasonInList(kPelaksana, kPelaksana, "303"), QString());
    }

    // The superior approves again on one connection while a reason is on
    // its way on another: the reason waits for the row, then finds the
    // activity no longer rejected and is refused.
    void reasonRacesAnApproval()
    {
        Caller first(kKabid);
        Caller second(kKabid);
        QCOMPARE(first.call("START TRANSACTION"), QStringList{});
        QCOMPARE(first.call(actionSql("disetujui"), {{"var_id", "304"}, {"var_nip", kKabid}}), QStringList{});
        Racer reason([&] {
            return second.call(kSaveReason, {{"var_id", "304"}, {"var_nip", kKabid}, {"var_alasan", "terlambat"}});
        });
        QVERIFY(reason.blockedOnLock(kSchema));
        QCOMPARE(first.call("COMMIT"), QStringList{});
        QCOMPARE(reason.result(), kRefused);
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_alasan_tolak"), QStringLiteral("0"));
    }

    // ---------------------------------------------------------------- automatic approval

    void autoApproval()
    {
        // Not a thing a client may start: its log rows name other people.
        QCOMPARE(as("", "CALL kinerja_aktivitas_auto_approve()"), QStringList{"denied"});
        QCOMPARE(as(kKabid, "CALL kinerja_aktivitas_auto_approve()"), QStringList{"denied"});
        QCOMPARE(root("SELECT status FROM aktivitas WHERE id = 302"), QStringLiteral("0"));
        Caller job(Caller::Scheduler{});
        QCOMPARE(job.call("CALL kinerja_aktivitas_auto_approve()"), QStringList{"1"});
        QCOMPARE(root("SELECT GROUP_CONCAT(CONCAT(id, ':', status) ORDER BY id) FROM aktivitas WHERE id IN (301, 302, "
                      "309)"),
                 QStringLiteral("301:0,302:accepted_by_system,309:0"));
        QCOMPARE(root("SELECT CONCAT(tanggal_status > NOW() - INTERVAL 1 MINUTE, COALESCE(nip_verifikator, '-')) "
                      "FROM aktivitas WHERE id = 302"),
                 QStringLiteral("1-"));
        QCOMPARE(root("SELECT CONCAT(nip, aksi, keterangan) FROM kinerja_log_proses"),
                 kPelaksana + "Verifikasi - SistemAktivitas 302");
        QCOMPARE(job.call("CALL kinerja_aktivitas_auto_approve()"), QStringList{"0"});
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '4' WHERE nama = 'aktivitas_auto_approve'"));
        QCOMPARE(job.call("CALL kinerja_aktivitas_auto_approve()"), QStringList{"1"});
        QCOMPARE(root("SELECT status FROM aktivitas WHERE id = 309"), QStringLiteral("accepted_by_system"));
        // Scheduled every hour.
        QCOMPARE(root("SELECT CONCAT(INTERVAL_VALUE, INTERVAL_FIELD, STATUS) FROM information_schema.EVENTS WHERE "
                      "EVENT_SCHEMA = DATABASE() AND EVENT_NAME = 'kinerja_auto_approve_tiap_jam'"),
                 QStringLiteral("1HOURENABLED"));
    }

    // The job meets a row that a superior is approving: it waits, then
    // leaves the superior's verdict alone and logs nothing for it.
    void autoApprovalWaitsForTheSuperior()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '4' WHERE nama = 'aktivitas_auto_approve'"));
        Caller kabid(kKabid);
        Caller job(Caller::Scheduler{});
        QCOMPARE(kabid.call("START TRANSACTION"), QStringList{});
        QCOMPARE(kabid.call(actionSql("disetujui"), {{"var_id", "309"}, {"var_nip", kKabid}}), QStringList{});
        Racer run([&] { return job.call("CALL kinerja_aktivitas_auto_approve()"); });
        QVERIFY(run.blockedOnLock(kSchema));
        QCOMPARE(kabid.call("COMMIT"), QStringList{});
        QCOMPARE(run.result(), QStringList{"1"}); // 302 only
        QCOMPARE(root("SELECT CONCAT(status, nip_verifikator) FROM aktivitas WHERE id = 309"), "accepted" + kKabid);
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses WHERE keterangan = 'Aktivitas 309'"), QStringLiteral("1"));
    }

    // ---------------------------------------------------------------- quality

    // A grade and its log row are one: a log row that fails takes the grade
    // back, so the user is never told of a failure that left it stored.
    void gradeFailsWithItsLogRow()
    {
        setProgress(kPelaksana, "50");
        QVERIFY(testdb::rootExec(kSchema, "CREATE TRIGGER uji_log_gagal BEFORE INSERT ON kinerja_log_proses FOR EACH "
                                          "ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'log rusak'"));
        QVERIFY(!insertAssessment(kKabid, kPelaksana, "80", "80"));
        QCOMPARE(root("SELECT COUNT(*) FROM kualitas_mutu"), QStringLiteral("0"));
        QVERIFY(testdb::rootExec(kSchema, "DROP TRIGGER uji_log_gagal"));
        QVERIFY(insertAssessment(kKabid, kPelaksana, "80", "80"));
        QCOMPARE(root("SELECT COUNT(*) FROM kualitas_mutu"), QStringLiteral("1"));
    }

    void qualityPeriodAndWindow()
    {
        static const char* const months[] = {"Januari", "Februari", "Maret",     "April",   "Mei",      "Juni",
                                             "Juli",    "Agustus",  "September", "Oktober", "November", "Desember"};
        const QString p = periodeNilai();
        QCOMPARE(as(kKabid, "CALL kinerja_cek_periode_kual_mutu()"),
                 QStringList{p + "|" + months[p.mid(4).toInt() - 1] + " " + p.left(4)});
        QCOMPARE(as(kKabid, "CALL kinerja_cek_waktu_kualmutu()"), QStringList{"ya"});
        setProgress(kPelaksana, "50");
        QVERIFY(!insertAssessment(kKabid, kPelaksana, "80", "80", root("SELECT DATE_FORMAT(NOW(), '%Y%m')")));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET tanggal_akhir = NOW() - INTERVAL 1 SECOND "
                                          "WHERE nama = 'kualitas_mutu'"));
        QCOMPARE(as(kKabid, "CALL kinerja_cek_waktu_kualmutu()"), QStringList{"tidak"});
        QVERIFY(!insertAssessment(kKabid, kPelaksana, "80", "80"));
        QCOMPARE(root("SELECT COUNT(*) FROM kualitas_mutu"), QStringLiteral("0"));
    }

    void qualityGrades_data()
    {
        QTest::addColumn<QString>("progress"); // empty: none computed
        QTest::addColumn<QString>("ketepatan");
        QTest::addColumn<QString>("kecepatan");
        QTest::addColumn<bool>("saved");
        QTest::newRow("progress 30, average 82.5") << "30" << "85" << "80" << false;
        QTest::newRow("progress 30.5, average 82.5") << "30.5" << "85" << "80" << true;
        QTest::newRow("progress 25, average 80") << "25" << "80" << "80" << true;
        QTest::newRow("progress 30, average 80.5") << "30" << "81" << "80" << false;
        QTest::newRow("no progress yet, average 80.5") << "" << "81" << "80" << false;
        QTest::newRow("no progress yet, average 80") << "" << "80" << "80" << true;
        QTest::newRow("bounds 0 and 100") << "90" << "0" << "100" << true;
        QTest::newRow("above 100") << "90" << "101" << "80" << false;
        QTest::newRow("negative") << "90" << "-1" << "80" << false;
        QTest::newRow("fraction") << "90" << "80.5" << "80" << false;
        QTest::newRow("empty") << "90" << "80" << "" << false;
        QTest::newRow("text") << "90" << "baik" << "80" << false;
    }

    void qualityGrades()
    {
        QFETCH(QString, progress);
        QFETCH(QString, ketepatan);
        QFETCH(QString, kecepatan);
        QFETCH(bool, saved);
        if (!progress.isEmpty())
            setProgress(kPelaksana, progress);
        QCOMPARE(insertAssessment(kKabid, kPelaksana, ketepatan, kecepatan), saved);
        QCOMPARE(root("SELECT COUNT(*) FROM kualitas_mutu"), saved ? QStringLiteral("1") : QStringLiteral("0"));
        if (saved)
            QCOMPARE(root("SELECT CONCAT_WS('|', nip, nip_penilai, periode, ketepatan, kecepatan) FROM kualitas_mutu"),
                     QStringList({kPelaksana, kKabid, periodeNilai(), ketepatan, kecepatan}).join('|'));
    }

    void qualityWho_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("penilai");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<bool>("saved");
        QTest::newRow("direct superior") << kKabid << kKabid << kPelaksana << true;
        QTest::newRow("acting head") << kPlt << kPlt << kPengelola << true;
        QTest::newRow("school head by side assignment") << kGuru << kGuru << kPenjaga << true;
        QTest::newRow("two levels up") << kKepala << kKepala << kPelaksana << false;
        QTest::newRow("peer") << kAnalis << kAnalis << kPelaksana << false;
        QTest::newRow("self") << kPelaksana << kPelaksana << kPelaksana << false;
        QTest::newRow("anonymous") << "" << kKabid << kPelaksana << false;
        QTest::newRow("assessor's NIP borrowed") << kAnalis << kKabid << kPelaksana << false;
    }

    void qualityWho()
    {
        QFETCH(QString, caller);
        QFETCH(QString, penilai);
        QFETCH(QString, nip);
        QFETCH(bool, saved);
        setProgress(nip, "50");
        QCOMPARE(insertAssessment(caller, nip, "75", "75", periodeNilai(), penilai), saved);
        QCOMPARE(root("SELECT COUNT(*) FROM kualitas_mutu"), saved ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void qualityOncePerPeriodThenUpdate()
    {
        setProgress(kPelaksana, "50");
        QVERIFY(insertAssessment(kKabid, kPelaksana, "70", "70"));
        QVERIFY(!insertAssessment(kKabid, kPelaksana, "90", "90"));
        const QStringList status = as(kKabid, "CALL kinerja_show_kualitas_mutu_status(:var_nip)", {{"var_nip", kPelaksana}});
        QCOMPARE(status.size(), 1);
        QCOMPARE(status[0].section('|', 2), QStringLiteral("70|70"));
        const QString id = status[0].section('|', 1, 1);
        const auto update = [&](const QString& caller, const QString& a, const QString& b, const QString& key) {
            return as(caller, "CALL kinerja_kualitas_mutu_update(:var_penilai, :var_ketepatan, :var_kecepatan, :var_id)",
                      {{"var_penilai", caller}, {"var_ketepatan", a}, {"var_kecepatan", b}, {"var_id", key}});
        };
        QCOMPARE(update(kKepala, "90", "90", id), kRefused);
        QCOMPARE(update(kKabid, "101", "90", id), kRefused);
        QCOMPARE(update(kKabid, "90", "90", "999"), kRefused);
        setProgress(kPelaksana, "20");
        QCOMPARE(update(kKabid, "90", "90", id), kRefused);
        QCOMPARE(update(kKabid, "85", "72", id), QStringList{}); // average 78.5 passes at low progress
        QCOMPARE(root("SELECT CONCAT_WS('|', ketepatan, kecepatan, nip_penilai, tanggal_update IS NOT NULL) FROM "
                      "kualitas_mutu"),
                 "85|72|" + kKabid + "|1");
        // An older period is history.
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO kualitas_mutu (nip, nip_penilai, periode, ketepatan, kecepatan, "
                                          "tanggal_input) VALUES ('" + kPelaksana + "', '" + kKabid +
                                              "', DATE_FORMAT(NOW() - INTERVAL 2 MONTH, '%Y%m'), 60, 60, NOW())"));
        QCOMPARE(update(kKabid, "70", "70", root("SELECT MAX(id) FROM kualitas_mutu")), kRefused);
        const QStringList history = as(kKepala, "CALL kinerja_show_kualitas_mutu(:a, :b)", {{"a", kKepala}, {"b", kPelaksana}});
        QCOMPARE(history.size(), 2);
        QCOMPARE(history[0].section('|', 0, 0), periodeNilai());
        QCOMPARE(history[0].section('|', 3), "85|72|" + kKabid);
        QCOMPARE(as(kAnalis, "CALL kinerja_show_kualitas_mutu(:a, :b)", {{"a", kAnalis}, {"b", kPelaksana}}), kRefused);
        QCOMPARE(as(kAnalis, "CALL kinerja_show_kualitas_mutu(:a, :b)", {{"a", kKabid}, {"b", kPelaksana}}), kRefused);
        QCOMPARE(as(kAnalis, "CALL kinerja_show_kualitas_mutu_status(:v)", {{"v", kPelaksana}}), kRefused);
    }

    // ---------------------------------------------------------------- additional tasks

    void additionalTaskLists()
    {
        QCOMPARE(as(kKabid, "CALL kinerja_tugas_tambahan_jumlah(:v)", {{"v", kPelaksana}}), QStringList{"1|2|ya"});
        const QStringList tasks = as(kKepala, "CALL kinerja_tugas_tambahan_tampil_data(:v)", {{"v", kPelaksana}});
        QCOMPARE(tasks.size(), 2);
        QCOMPARE(tasks[0].section('|', 1), "Pengelola Uji|" + day(-5) + "||Dinas Uji Coba|Aktif");
        QCOMPARE(tasks[1].section('|', 1), "Analis Uji Ahli Muda|" + day(-50) + "|" + day(-20) +
                                               "|Dinas Uji Coba|Tidak Aktif");
        QCOMPARE(as(kAnalis, "CALL kinerja_tugas_tambahan_tampil_data(:v)", {{"v", kPelaksana}}), kRefused);
        QCOMPARE(as(kAnalis, "CALL kinerja_tugas_tambahan_jumlah(:v)", {{"v", kPelaksana}}), kRefused);
        // Executor positions only, with their task details in use.
        QCOMPARE(as(kKabid, "CALL kinerja_tugas_tambahan_pilih(:v)", {{"v", ""}}),
                 (QStringList{"JP03|Penata Uji|0", "JP01|Pengadministrasi Uji|1", "JP04|Pengarsip Uji|1",
                              "JP02|Pengelola Uji|1"}));
        QCOMPARE(as(kKabid, "CALL kinerja_tugas_tambahan_pilih(:v)", {{"v", "ELOLA"}}),
                 QStringList{"JP02|Pengelola Uji|1"});
        QCOMPARE(as("", "CALL kinerja_tugas_tambahan_pilih(:v)", {{"v", ""}}), kRefused);
    }

    void addingRules_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("atasan");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("kode");
        QTest::addColumn<QString>("skpd");
        QTest::addColumn<bool>("saved");
        QTest::newRow("direct superior, executor position") << kKabid << kKabid << kPelaksana << "JP04" << "U1" << true;
        QTest::newRow("two levels up") << kKepala << kKepala << kPelaksana << "JP04" << "U1" << true;
        QTest::newRow("the servant's own position") << kKabid << kKabid << kPelaksana << "JP01" << "U1" << false;
        QTest::newRow("acting head") << kPlt << kPlt << kPengelola << "JP01" << "U1" << true;
        QTest::newRow("functional position") << kKabid << kKabid << kPelaksana << "JF01" << "U1" << false;
        QTest::newRow("unknown position") << kKabid << kKabid << kPelaksana << "JX99" << "U1" << false;
        QTest::newRow("position already held") << kKabid << kKabid << kPelaksana << "JP02" << "U1" << false;
        QTest::newRow("another agency") << kKabid << kKabid << kPelaksana << "JP04" << "U2" << false;
        QTest::newRow("peer") << kAnalis << kAnalis << kPelaksana << "JP04" << "U1" << false;
        QTest::newRow("superior's NIP borrowed") << kAnalis << kKabid << kPelaksana << "JP04" << "U1" << false;
        QTest::newRow("anonymous") << "" << kKabid << kPelaksana << "JP04" << "U1" << false;
    }

    void addingRules()
    {
        QFETCH(QString, caller);
        QFETCH(QString, atasan);
        QFETCH(QString, nip);
        QFETCH(QString, kode);
        QFETCH(QString, skpd);
        QFETCH(bool, saved);
        const int before = root("SELECT COUNT(*) FROM tugas_tambahan").toInt();
        QCOMPARE(addTask(caller, nip, kode, skpd, atasan), saved);
        QCOMPARE(root("SELECT COUNT(*) FROM tugas_tambahan").toInt(), before + (saved ? 1 : 0));
        if (saved)
            QCOMPARE(root("SELECT CONCAT_WS('|', nip, kode_jabatan, kode_skpd, nip_atasan, tanggal_mulai = CURDATE(), "
                          "tanggal_selesai IS NULL, status) FROM tugas_tambahan ORDER BY id DESC LIMIT 1"),
                     QStringList({nip, kode, "U1", caller, "1", "1", "aktif"}).join('|'));
    }

    void limitAndDeactivation()
    {
        QVERIFY(addTask(kKabid, kPelaksana, "JP04"));
        QCOMPARE(as(kKabid, "CALL kinerja_tugas_tambahan_jumlah(:v)", {{"v", kPelaksana}}), QStringList{"2|2|tidak"});
        QVERIFY(!addTask(kKabid, kPelaksana, "JP03"));
        QCOMPARE(activeTasks(kPelaksana), QStringLiteral("2"));

        // Ending a task frees a place, and its details leave the owner's
        // "Tambahan" search and profile count.
        Caller owner(kPelaksana);
        const auto details = [&] {
            return ids(owner.call("CALL kinerja_rincian_tugas_cari_tambahan(:v, :n)", {{"v", kPelaksana}, {"n", ""}}));
        };
        QCOMPARE(details(), (QStringList{"40", "4"})); // by name
        const QString id = root("SELECT id FROM tugas_tambahan WHERE kode_jabatan = 'JP02' AND status = 'aktif'");
        QCOMPARE(as(kAnalis, "CALL kinerja_tugas_tambahan_non_aktifkan(:v)", {{"v", id}}), kRefused);
        QCOMPARE(as(kKepala, "CALL kinerja_tugas_tambahan_non_aktifkan(:v)", {{"v", id}}), QStringList{});
        QCOMPARE(root("SELECT CONCAT(status, tanggal_selesai = CURDATE()) FROM tugas_tambahan WHERE id = " + id),
                 QStringLiteral("nonaktif1"));
        QCOMPARE(as(kKepala, "CALL kinerja_tugas_tambahan_non_aktifkan(:v)", {{"v", id}}), kRefused);
        QCOMPARE(as(kKepala, "CALL kinerja_tugas_tambahan_non_aktifkan(:v)", {{"v", "999"}}), kRefused);
        QCOMPARE(details(), QStringList{"40"});
        QCOMPARE(owner.call("CALL kinerja_load_profil(:v)", {{"v", kPelaksana}}).first().section('|', 7, 7),
                 QStringLiteral("1"));
        QVERIFY(addTask(kKabid, kPelaksana, "JP03"));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '3' WHERE nama = 'tugas_tambahan_max'"));
        QVERIFY(addTask(kKabid, kPelaksana, "JP02"));
        QCOMPARE(activeTasks(kPelaksana), QStringLiteral("3"));
    }

    // Two superiors add the last free task at once: the second waits for
    // the first and is then refused by the limit.
    void raceForTheLastTask()
    {
        Caller kabid(kKabid);
        Caller kepala(kKepala);
        QCOMPARE(kabid.call("START TRANSACTION"), QStringList{});
        QCOMPARE(kabid.call("CALL kinerja_tugas_tambahan_tambah(:a, :b, :c, :d)",
                            {{"a", kPelaksana}, {"b", "JP04"}, {"c", "U1"}, {"d", kKabid}}),
                 QStringList{});
        Racer second([&] {
            return kepala.call("CALL kinerja_tugas_tambahan_tambah(:a, :b, :c, :d)",
                               {{"a", kPelaksana}, {"b", "JP03"}, {"c", "U1"}, {"d", kKepala}});
        });
        QVERIFY(second.blockedOnLock(kSchema));
        QCOMPARE(kabid.call("COMMIT"), QStringList{});
        QCOMPARE(second.result(), kRefused);
        QCOMPARE(activeTasks(kPelaksana), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(TestSupervisionRules)
#include "test_supervision_rules.moc"
