// The monitoring of superiors: the server's findings on small sets of
// activities around the windows and the rejection threshold, who may ask,
// that it reads an index range, and the page as an administrator uses it.
#include "admin/supervisipage.h"
#include "shell/pageheader.h"
#include "db/connection.h"
#include "db/query.h"
#include "db/resultset.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "ui/stringgrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_monitoring");
const QString kAllKinds = QStringLiteral("x,verifikasi,penolakan,validasi");
const QStringList kRefused{QStringLiteral("refused")};
const QString kMonitoring =
    QStringLiteral("CALL kinerja_supervisi_monitoring(:var_tanggal_awal, :var_tanggal_akhir, :var_jenis)");

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QString day(int offset)
{
    return root(QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

QDate serverToday()
{
    return QDate::fromString(day(0), Qt::ISODate);
}

// n activities of the executor, put in `input` days ago; verified `verif`
// days ago (-1: not yet) by `verifier`, validated today when asked; the
// superiors as recorded at input: the field head and the agency head.
QString activities(int n, const QString& status, int input, int verif = -1, bool validated = false,
                   const QString& verifier = kKabid)
{
    QStringList values;
    for (int i = 0; i < n; ++i)
        values << QStringLiteral("('%1', 'Utama', 3, 'JP01', 'Kasus pemantauan', 1, 'Surat', 10, "
                                 "CURDATE() - INTERVAL %2 DAY + INTERVAL 8 HOUR, "
                                 "CURDATE() - INTERVAL %2 DAY + INTERVAL 9 HOUR, '%3', %4, %5, %6, '%7', '%8')")
                      .arg(kPelaksana)
                      .arg(input)
                      .arg(status)
                      .arg(verif < 0 ? QStringLiteral("NULL")
                                     : QStringLiteral("CURDATE() - INTERVAL %1 DAY + INTERVAL 10 HOUR").arg(verif))
                      .arg(verif < 0 || status == QLatin1String("accepted_by_system") ? QStringLiteral("NULL")
                                                                                      : "'" + verifier + "'")
                      .arg(validated ? QStringLiteral("CURDATE() + INTERVAL 1 HOUR") : QStringLiteral("NULL"))
                      .arg(kKabid)
                      .arg(kKepala);
    return values.join(QStringLiteral(",\n"));
}

bool replaceActivities(const QStringList& sets)
{
    QString sql = QStringLiteral("DELETE FROM aktivitas;\n");
    const QString values = sets.join(QStringLiteral(",\n"));
    if (!values.isEmpty())
        sql += QStringLiteral("INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, "
                              "satuan, bobot_skr, tanggal_aktivitas, tanggal_input, status, tanggal_status, "
                              "nip_verifikator, tanggal_validasi, nip_atasan1, nip_atasan2) VALUES\n") +
               values + QStringLiteral(";");
    return testdb::rootExec(kSchema, sql);
}

QStringList monitor(const QString& caller, const QString& from, const QString& to, const QString& kinds = kAllKinds)
{
    return testdb::callAs(kSchema, caller, kMonitoring,
                          {{"var_tanggal_awal", from}, {"var_tanggal_akhir", to}, {"var_jenis", kinds}});
}

const QString kKabidRow = kKabid + QStringLiteral("|Kabid Dua|Kepala Bidang Satu|Bidang Satu - Dinas Uji Coba|");
const QString kKepalaRow = kKepala + QStringLiteral("|Kepala Satu|Kepala Dinas Uji Coba|Dinas Uji Coba|");

} // namespace

class TestMonitoring : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")})); }

    // The windows are 5 days (verification from input, validation from
    // verification); a share of 30 % rejected counts from 10 verified.
    void findings_data()
    {
        QTest::addColumn<QStringList>("sets");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QStringList>("rows");
        const int last = -30;
        QTest::newRow("unverified past the window")
            << QStringList{activities(2, "0", 6), activities(1, "0", 9), activities(1, "0", 5)} << last << 0
            << kAllKinds << QStringList{kKabidRow + "Tidak memverifikasi|3|||" + day(-9)};
        QTest::newRow("unverified inside the window")
            << QStringList{activities(3, "0", 5), activities(1, "0", 0)} << last << 0 << kAllKinds << QStringList{};
        QTest::newRow("approved by the system after the window")
            << QStringList{activities(1, "accepted_by_system", 8, 2)} << last << 0 << kAllKinds
            << QStringList{kKabidRow + "Tidak memverifikasi|1|||" + day(-8)};
        QTest::newRow("approved by the system inside the window")
            << QStringList{activities(1, "accepted_by_system", 8, 3)} << last << 0 << kAllKinds << QStringList{};
        QTest::newRow("verified and validated in time")
            << QStringList{activities(4, "accepted", 8, 7, true), activities(1, "rejected", 8, 7, true)} << last << 0
            << kAllKinds << QStringList{};
        QTest::newRow("rejection share at the threshold")
            << QStringList{activities(3, "rejected", 3, 2), activities(7, "accepted", 3, 2)} << last << 0
            << kAllKinds << QStringList{kKabidRow + "Sering menolak|3|10|30,0|"};
        QTest::newRow("rejection share just below")
            << QStringList{activities(10, "rejected", 3, 2), activities(24, "accepted", 3, 2)} << last << 0
            << kAllKinds << QStringList{};
        QTest::newRow("rejecting all of too few")
            << QStringList{activities(9, "rejected", 3, 2)} << last << 0 << kAllKinds << QStringList{};
        // The share is of the verifier's own verdicts, not of the superior
        // recorded at input.
        QTest::newRow("rejections by another verifier")
            << QStringList{activities(10, "rejected", 3, 2, false, kPlt)} << last << 0 << kAllKinds
            << QStringList{kPlt + "|Analis Lima|Analis Uji Ahli Muda|Bidang Satu - Dinas Uji Coba|Sering menolak|10|10|"
                                  "100,0|"};
        QTest::newRow("unvalidated past the window")
            << QStringList{activities(2, "accepted", 8, 6), activities(1, "rejected", 9, 7),
                           activities(1, "accepted", 8, 5)}
            << last << 0 << kAllKinds << QStringList{kKepalaRow + "Tidak memvalidasi|3|||" + day(-7)};
        QTest::newRow("unvalidated inside the window")
            << QStringList{activities(2, "accepted", 8, 5)} << last << 0 << kAllKinds << QStringList{};
        QTest::newRow("input before the range")
            << QStringList{activities(1, "0", 40), activities(1, "accepted", 40, 38)} << last << 0 << kAllKinds
            << QStringList{};
        QTest::newRow("a one-day range holds its day")
            << QStringList{activities(1, "0", 7), activities(1, "0", 6), activities(1, "0", 8)} << -7 << -7
            << kAllKinds << QStringList{kKabidRow + "Tidak memverifikasi|1|||" + day(-7)};
        const QStringList all{activities(1, "0", 9), activities(3, "rejected", 3, 2), activities(7, "accepted", 8, 6)};
        QTest::newRow("every finding, in order")
            << all << last << 0 << kAllKinds
            << QStringList{kKabidRow + "Tidak memverifikasi|1|||" + day(-9), kKabidRow + "Sering menolak|3|10|30,0|",
                           kKepalaRow + "Tidak memvalidasi|7|||" + day(-6)};
        QTest::newRow("only the ticked finding")
            << all << last << 0 << "x,penolakan" << QStringList{kKabidRow + "Sering menolak|3|10|30,0|"};
        QTest::newRow("nothing ticked") << all << last << 0 << "x" << QStringList{};
    }

    void findings()
    {
        QFETCH(QStringList, sets);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, kinds);
        QFETCH(QStringList, rows);
        QVERIFY(replaceActivities(sets));
        QCOMPARE(monitor(kKepala, day(from), day(to), kinds), rows);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("anonymous") << QString() << "" << "";
        QTest::newRow("basic user") << kPelaksana << "" << "";
        QTest::newRow("admin skpd") << kKabid << "" << "";
        QTest::newRow("admin sektira") << kAnalis << "" << "";
        QTest::newRow("look-alike level") << kPengelola << "" << "";
        QTest::newRow("impossible day") << kKepala << "2026-02-30" << "2026-03-02";
        QTest::newRow("no date") << kKepala << "" << "2026-03-02";
        QTest::newRow("not a date") << kKepala << "2026-03-01" << "kemarin";
        QTest::newRow("end before start") << kKepala << "2026-03-02" << "2026-03-01";
    }

    void refusals()
    {
        QFETCH(QString, caller);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QVERIFY(replaceActivities({activities(1, "0", 9)}));
        QCOMPARE(monitor(caller, from.isEmpty() && caller != kKepala ? day(-30) : from,
                          to.isEmpty() && caller != kKepala ? day(0) : to),
                 kRefused);
    }

    // Many activities outside the range: the findings read only the rows
    // of the range, through the index, not the table.
    void readsOnlyTheRange()
    {
        QVERIFY(replaceActivities({activities(1, "0", 9)}));
        QVERIFY(testdb::rootExec(
            kSchema, QStringLiteral(
                         "SET SESSION max_recursive_iterations = 10000; "
                         "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, "
                         "satuan, bobot_skr, tanggal_aktivitas, tanggal_input, status, tanggal_status, nip_verifikator, "
                         "nip_atasan1, nip_atasan2) "
                         "WITH RECURSIVE n (i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000) "
                         "SELECT '%1', 'Utama', 3, 'JP01', 'Aktivitas lama', 1, 'Surat', 10, "
                         "CURDATE() - INTERVAL 200 DAY + INTERVAL i SECOND, CURDATE() - INTERVAL 200 DAY + INTERVAL i "
                         "SECOND, ELT(1 + i % 4, '0', 'accepted', 'rejected', 'accepted_by_system'), "
                         "IF(i % 4 = 0, NULL, CURDATE() - INTERVAL 199 DAY), IF(i % 4 IN (1, 2), '%2', NULL), '%2', "
                         "'%3' FROM n; ANALYZE TABLE aktivitas;")
                         .arg(kPelaksana, kKabid, kKepala)));
        db::Connection c;
        c.open(testdb::appSettings(kSchema));
        db::Query q(c);
        q.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"),
               {{QStringLiteral("var_token"), testdb::sessionToken(kSchema, kKepala)}});
        auto rowsRead = [&] {
            const db::ResultSet rs = q.open(QStringLiteral(
                "SHOW SESSION STATUS WHERE Variable_name IN ('Handler_read_next', 'Handler_read_rnd_next', "
                "'Handler_read_prev')"));
            long long sum = 0;
            for (int r = 0; r < rs.recordCount(); ++r)
                sum += rs.number(r, 1);
            return sum;
        };
        // What asking costs by itself, to take away below.
        const long long first = rowsRead();
        const long long asking = rowsRead() - first;
        const long long before = rowsRead();
        const db::ResultSet rs = q.open(kMonitoring, {{"var_tanggal_awal", day(-30)},
                                                     {"var_tanggal_akhir", day(0)},
                                                     {"var_jenis", kAllKinds}});
        const long long read = rowsRead() - before - asking;
        QCOMPARE(rs.recordCount(), 1);
        QVERIFY2(read < 500, qPrintable(QStringLiteral("%1 rows read").arg(read)));
    }

    // The page as the administrator uses it.
    void page()
    {
        QVERIFY(replaceActivities({activities(1, "0", 9), activities(3, "rejected", 3, 2),
                                   activities(7, "accepted", 8, 6)}));
        const QDate today = serverToday();
        FakeContext ctx(kSchema, QDateTime(today, QTime(9, 0)));
        QVERIFY(ctx.actAs(kKepala, QStringLiteral("Kepala Satu"), QStringLiteral("Admin System")));
        SupervisiPage p(ctx);
        p.dxAdminItems3Click();
        QCOMPARE(ctx.activePage(), static_cast<QWidget*>(&p));
        QCOMPARE(p.header()->caption(), QStringLiteral("Halaman Supervisi - Monitoring user`s Abnormal Behavior"));
        QCOMPARE(p.DateTimePicker2->date(), today.addMonths(-1));
        QCOMPARE(p.DateTimePicker3->date(), today);
        // The rules come from the server.
        QVERIFY2(p.xSupervisiCatatan->text().contains(QStringLiteral("menolak sedikitnya 30% dari minimal 10 aktivitas")),
                 qPrintable(p.xSupervisiCatatan->text()));
        QVERIFY(p.xSupervisiCatatan->text().contains(QStringLiteral("lebih dari 5 hari setelah diinput")));
        QVERIFY(!p.xSupervisiTambah->isEnabled());
        QVERIFY(!p.xSupervisiHapus->isEnabled());
        QCOMPARE(p.xSupervisiJumlah->text(), QStringLiteral("Jumlah data : 0"));
        QVERIFY(ctx.msgs.log.isEmpty());

        p.BitBtn14->click();
        StringGrid* g = p.StringGrid1;
        QCOMPARE(p.xSupervisiJumlah->text(), QStringLiteral("Jumlah data : 3"));
        QCOMPARE(g->rowCount(), 4);
        QStringList captions;
        for (int c = 0; c < g->colCount(); ++c)
            captions << g->cell(0, c);
        QCOMPARE(captions, (QStringList{"No.", "NIP", "Nama", "Jabatan", "Unit Kerja", "Temuan", "Jumlah", "Dari",
                                        "% Tolak", "Terlama"}));
        QCOMPARE(g->cell(2, 1), kKabid);
        QCOMPARE(g->cell(2, 5), QStringLiteral("Sering menolak"));
        QCOMPARE(g->cell(2, 8), QStringLiteral("30,0"));
        QCOMPARE(g->cell(3, 2), QStringLiteral("Kepala Satu"));
        QCOMPARE(g->cell(3, 9), day(-6));

        // The two validation boxes are one behaviour.
        p.CheckBox19->setChecked(false);
        QVERIFY(!p.CheckBox20->isChecked());
        QCOMPARE(p.findingList(), QStringLiteral("x,verifikasi,penolakan"));
        p.CheckBox20->setChecked(true);
        QVERIFY(p.CheckBox19->isChecked());
        p.CheckBox17->setChecked(false);
        p.CheckBox18->setChecked(false);
        QCOMPARE(p.findingList(), QStringLiteral("x,validasi"));
        p.BitBtn14->click();
        QCOMPARE(p.xSupervisiJumlah->text(), QStringLiteral("Jumlah data : 1"));
        QCOMPARE(g->cell(1, 5), QStringLiteral("Tidak memvalidasi"));

        // A range that ends before it starts is not sent; the list stays.
        p.DateTimePicker3->setDate(p.DateTimePicker2->date().addDays(-1));
        p.BitBtn14->click();
        QCOMPARE(ctx.msgs.texts(), QStringList{"Tanggal akhir tidak boleh sebelum tanggal awal!"});
        QCOMPARE(ctx.msgs.lastKind(), Messages::Kind::Warning);
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(p.xSupervisiJumlah->text(), QStringLiteral("Jumlah data : 1"));

        // Opened again: the user's range stays.
        const QDate chosen = p.DateTimePicker2->date().addDays(-3);
        p.DateTimePicker2->setDate(chosen);
        p.dxAdminItems3Click();
        QCOMPARE(p.DateTimePicker2->date(), chosen);
    }

    void pageRefusedToOthers()
    {
        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)));
        QVERIFY(ctx.actAs(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD")));
        SupervisiPage p(ctx);
        p.dxAdminItems3Click();
        p.BitBtn14Click();
        QCOMPARE(ctx.msgs.texts(), QStringList(2, "Gagal menampilkan informasi!\rHak akses tidak cukup."));
        QCOMPARE(p.xSupervisiJumlah->text(), QStringLiteral("Jumlah data : 0"));
        // the plain note: no thresholds were read, none are claimed
        QCOMPARE(p.xSupervisiCatatan->text(),
                 QStringLiteral("* Dihitung dari aktivitas yang diinput pada rentang tanggal."));
    }
};

QTEST_MAIN(TestMonitoring)
#include "test_monitoring.moc"
