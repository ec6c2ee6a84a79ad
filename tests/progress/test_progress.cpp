// Progress figures: the server's arithmetic, the dashboard, the profile and
// the ratio window.
#include "ui/sidebar.h"
#include "shell/pageheader.h"
#include "app/umain.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"
#include "appcaller.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "session/infoaplikasipage.h"
#include "progress/dashboardpage.h"
#include "progress/profilpage.h"
#include "progress/u_rasioAK.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_progress");
const QString kNoProfile = QStringLiteral("199909092020011099");

QString period(int monthsBack)
{
    return testdb::rootValue(kSchema, QStringLiteral("SELECT DATE_FORMAT(NOW() - INTERVAL %1 MONTH, '%Y%m')")
                                          .arg(monthsBack));
}

QString gaugeText(const DashboardPage::Gauge& g)
{
    return QString::number(g.bar->value()) + QLatin1Char('|') + g.label->text();
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT

    // Recomputes both months through the procedure the hourly event calls,
    // as the scheduler does (the application account may not).
    void recompute()
    {
        QCOMPARE(AppCaller(kSchema, AppCaller::Scheduler{}).call(QStringLiteral("CALL kinerja_progress_hitung_semua()")),
                 QStringList());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("progress.sql")}));
        recompute();
    }

    void ownProgressArithmetic_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<int>("monthsBack");
        QTest::addColumn<QString>("expected"); // diakui, all, utama, tambahan, lainnya as r|x
        QTest::newRow("mix, cap, rejections") << kPelaksana << 1 << "48|48.00 53|53.00 42|42.00 3|3.00 3|3.00";
        QTest::newRow("maximum not capped") << kAnalis << 1 << "100|120.00 100|120.00 100|120.00 0|0.00 0|0.00";
        QTest::newRow("half rounds up") << kPlt << 1 << "1|0.50 1|0.50 1|0.50 0|0.00 0|0.00";
        QTest::newRow("current month") << kPelaksana << 0 << "1|1.00 1|1.00 1|1.00 0|0.00 0|0.00";
        QTest::newRow("nothing recorded") << kGuru << 1 << "0|0.00 0|0.00 0|0.00 0|0.00 0|0.00";
    }

    void ownProgressArithmetic()
    {
        QFETCH(QString, nip);
        QFETCH(int, monthsBack);
        QFETCH(QString, expected);
        MainFixture f(kSchema);
        f.bind(nip);
        QString got;
        QVERIFY(Envelope(f.w).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL kinerja_progress_get(:var_periode, :var_nip)"),
                                            {{"var_periode", period(monthsBack)}, {"var_nip", nip}});
            QCOMPARE(rs.recordCount(), 1);
            const char* pairs[][2] = {{"persen_diakui_r", "progress_diakui_x"},
                                      {"persen_all_r", "progress_all_x"},
                                      {"persen_utama_r", "persen_utama_x"},
                                      {"persen_tambahan_r", "persen_tambahan_x"},
                                      {"persen_lainnya_r", "persen_lainnya_x"}};
            QStringList parts;
            for (const auto& p : pairs)
                parts << rs.text(0, QString::fromUtf8(p[0])) + "|" + rs.text(0, QString::fromUtf8(p[1]));
            got = parts.join(' ');
        }));
        QCOMPARE(got, expected);
    }

    void secondLevelMix_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("expected"); // p1 p2 p3 ah2
        // Administrator (50/30/20): subordinates 120, 0.5, 48, 0 -> 42.125; two levels down 0.
        QTest::newRow("administrator") << kKabid << "0.00 42.13 0.00 12.64";
        // Head (40/30/30): one subordinate at 0; two levels down average 42.125.
        QTest::newRow("head") << kKepala << "0.00 0.00 42.13 12.64";
        // Executor (100/0/0): own progress only.
        QTest::newRow("executor") << kPelaksana << "48.00 0.00 0.00 48.00";
        // Acting official, functional class (100/0/0) with one subordinate.
        QTest::newRow("acting") << kPlt << "0.50 0.00 0.00 0.50";
    }

    void secondLevelMix()
    {
        QFETCH(QString, nip);
        QFETCH(QString, expected);
        MainFixture f(kSchema);
        f.bind(nip);
        QString got;
        QVERIFY(Envelope(f.w).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL kinerja_progress_ah2(:var_periode, :var_nip)"),
                                            {{"var_periode", period(1)}, {"var_nip", nip}});
            got = QStringList{rs.first(QStringLiteral("p1")), rs.first(QStringLiteral("p2")), rs.first(QStringLiteral("p3")),
                              rs.first(QStringLiteral("ah2"))}
                      .join(' ');
        }));
        QCOMPARE(got, expected);
    }

    // The recompute finds every servant's superior over sets; it must agree
    // with the one rule (kinerja_fn_atasan_nip) for every servant, under each
    // kind of assignment. Each case is applied and rolled back.
    void superiorsOverSetsFollowTheRule_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("superior");
        const QString plh = QStringLiteral("INSERT INTO plt (nip, kode_jabatan_plt, jenis, plt_start, plt_end) VALUES "
                                           "('%1', '%2', 'plh', CURDATE() - INTERVAL %3 DAY, CURDATE() + INTERVAL 3 DAY);");
        const QString delegation = QStringLiteral(
            "INSERT INTO delegasi (nip, induk_id, unit_id, date_start, date_end, created_by) VALUES "
            "('%1', 'U1', '%2', NOW() - INTERVAL 2 DAY, %3, '198001012005011001');");
        QTest::newRow("fixture: acting head of a vacant field") << "" << kPengelola << kPlt;
        QTest::newRow("Plh over a serving holder") << plh.arg(kAnalis, "J2", "1") << kPelaksana << kAnalis;
        QTest::newRow("the Plh's own work stays with the holder") << plh.arg(kAnalis, "J2", "1") << kAnalis << kKabid;
        QTest::newRow("the latest Plh's own work goes to the earlier Plh")
            << plh.arg(kAnalis, "J2", "5") + plh.arg(kPelaksana, "J2", "1") << kPelaksana << kAnalis;
        QTest::newRow("delegation in force") << delegation.arg(kGuru, "U1A", "NULL") << kGuru << kKabid;
        QTest::newRow("ended delegation") << delegation.arg(kGuru, "U1A", "NOW() - INTERVAL 1 DAY") << kGuru << kKabid;
        QTest::newRow("delegation to a unit without a head post")
            << delegation.arg(kAnalis, "U1", "NULL") + "UPDATE unit SET kode_jabatan_kepala = NULL WHERE id = 'U1';"
            << kAnalis << kKabid;
        QTest::newRow("vacant post without assignment") << "DELETE FROM plt WHERE kode_jabatan_plt = 'J3';"
                                                        << kPengelola << "NULL";
        QTest::newRow("retired holder leaves the post vacant")
            << "UPDATE cache_pns SET status_pns = 'pensiun' WHERE nip = '198102022006011002';" << kPelaksana << "NULL";
        QTest::newRow("acting head of the own field supervises nobody above")
            << "INSERT INTO plt (nip, kode_jabatan_plt, jenis, plt_start) VALUES ('199207072018011007', 'J3', 'plt', CURDATE());"
            << kPengelola << "NULL";
    }

    void superiorsOverSetsFollowTheRule()
    {
        QFETCH(QString, change);
        QFETCH(QString, nip);
        QFETCH(QString, superior);
        const QList<QStringList> rows = testdb::rootQuery(
            kSchema, "START TRANSACTION;" + change +
                         "CALL kinerja_atasan_semua_susun();"
                         "SELECT COUNT(*) = (SELECT COUNT(*) FROM cache_pns WHERE status_pns = 'aktif'),"
                         "       SUM(NOT (t.atasan <=> kinerja_fn_atasan_nip(t.nip))),"
                         "       (SELECT COALESCE(atasan, 'NULL') FROM tmp_atasan_a WHERE nip = '" + nip + "')"
                         "  FROM tmp_atasan_a t;"
                         "ROLLBACK;");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], QStringLiteral("1")); // every serving servant, once
        QCOMPARE(rows[0][1], QStringLiteral("0")); // differences from the rule
        QCOMPARE(rows[0][2], superior);
    }

    // Lists and counts of subordinates read a kept map of superiors; every
    // change of what the rule reads, and a new day, must show at once. The
    // cases build on each other in a schema of their own.
    void subordinatesFollowChangesAtOnce_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("superior");
        QTest::addColumn<int>("direct");
        QTest::newRow("fixture") << "" << kKabid << 4;
        QTest::newRow("Plh over the serving holder")
            << "INSERT INTO plt (nip, kode_jabatan_plt, jenis, plt_start) VALUES ('" + kAnalis + "', 'J2', 'plh', CURDATE())"
            << kAnalis << 3;
        QTest::newRow("delegation to the field") << "INSERT INTO delegasi (nip, induk_id, unit_id, date_start, created_by) "
                                                    "VALUES ('" + kPengelola + "', 'U1', 'U1A', NOW(), '" + kKepala + "')"
                                                 << kAnalis << 4;
        QTest::newRow("Plh ended") << "UPDATE plt SET plt_end = CURDATE() - INTERVAL 1 DAY WHERE kode_jabatan_plt = 'J2'"
                                   << kKabid << 5;
        QTest::newRow("subordinate retired") << "UPDATE cache_pns SET status_pns = 'pensiun' WHERE nip = '" + kPelaksana + "'"
                                             << kKabid << 4;
        QTest::newRow("position moved under another post")
            << "UPDATE jabatan SET atasan_kode_jabatan = 'J3' WHERE kode_jabatan = 'J4'" << kKabid << 2;
        QTest::newRow("map built on another day") << "UPDATE kinerja_atasan_peta SET atasan = NULL; "
                                                     "UPDATE kinerja_atasan_peta_versi SET tanggal = CURDATE() - INTERVAL 1 DAY"
                                                  << kPlt << 1;
    }

    void subordinatesFollowChangesAtOnce()
    {
        QFETCH(QString, change);
        QFETCH(QString, superior);
        QFETCH(int, direct);
        const QString s = QStringLiteral("t_progress_peta");
        if (QByteArray(QTest::currentDataTag()) == "fixture")
            QVERIFY(testdb::createSchema(s, {QStringLiteral("org.sql")}));
        if (!change.isEmpty())
            QVERIFY(testdb::rootExec(s, change));
        const QList<QStringList> rows = testdb::rootQuery(
            s, "CALL kinerja_bawahan_susun('" + superior + "');"
               "SELECT (SELECT COALESCE(GROUP_CONCAT(nip ORDER BY nip), '') FROM tmp_bawahan_1) ="
               "       (SELECT COALESCE(GROUP_CONCAT(nip ORDER BY nip), '') FROM cache_pns"
               "         WHERE status_pns = 'aktif' AND kinerja_fn_atasan_nip(nip) = '" + superior + "'),"
               "       (SELECT COUNT(*) FROM tmp_bawahan_1)");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (QStringList{QStringLiteral("1"), QString::number(direct)}));
    }

    // The hourly run recomputes a month whole once a day and when the
    // settings it counted with change; in between only the servants whose
    // activities changed. Both must give the same figures.
    void changesAloneGiveTheWholeFigures()
    {
        const QString s = QStringLiteral("t_progress_ubah");
        QVERIFY(testdb::createSchema(s, {QStringLiteral("org.sql"), QStringLiteral("progress.sql")}));
        QVERIFY(testdb::rootExec(s, "CALL kinerja_progress_hitung_semua()"));
        QCOMPARE(testdb::rootValue(s, "SELECT COUNT(*) FROM kinerja_progress_ubah"), QStringLiteral("0"));
        const QString marker = QStringLiteral("UPDATE kinerja_progress_jalan SET penuh = CURDATE() + INTERVAL 1 SECOND");
        QVERIFY(testdb::rootExec(s, marker));

        // A new activity, an approval, a deletion, a move to another month,
        // and a stamp the figures do not count.
        QVERIFY(testdb::rootExec(
            s, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, satuan,"
               " bobot_skr, tanggal_aktivitas, tanggal_input, status, nip_atasan1, nip_atasan2) VALUES"
               " ('199104042016011004', 'Utama', 3, 'JP01', 'Baru hari ini', 3, 'Surat', 20, NOW(), NOW(), 'accepted',"
               "  '198102022006011002', '198001012005011001');"
               "UPDATE aktivitas SET status = 'accepted' WHERE deskripsi = 'Belum diverifikasi oleh atasan';"
               "DELETE FROM aktivitas WHERE deskripsi = 'Lainnya disetujui supervisi';"
               "UPDATE aktivitas SET tanggal_aktivitas = DATE_FORMAT(NOW(), '%Y-%m-01 08:00:00')"
               " WHERE deskripsi = 'Lima menit saja untuk uji bulat';"
               "UPDATE aktivitas SET tanggal_validasi = NOW() WHERE deskripsi = 'Tepat pada batas operasional';"));
        const QString prev = period(1), cur = period(0);
        QCOMPARE(testdb::rootQuery(s, "SELECT CONCAT(periode, ' ', nip) FROM kinerja_progress_ubah ORDER BY 1"),
                 (QList<QStringList>{{prev + " " + kPlt}, {prev + " " + kPelaksana},
                                     {cur + " " + kPlt}, {cur + " " + kPelaksana}}));

        const QString figures = QStringLiteral(
            "SELECT CONCAT_WS(' ', g.periode, g.nip, g.menit_diakui, g.menit_all, g.menit_utama, g.menit_tambahan,"
            "                 g.menit_lainnya, g.persen_diakui, h.p1, h.p2, h.p3, h.ah2, h.klasifikasi_id)"
            "  FROM kinerja_progress g LEFT JOIN kinerja_progress_ah2 h ON h.nip = g.nip AND h.periode = g.periode"
            " ORDER BY g.periode, g.nip");
        const QList<QStringList> before = testdb::rootQuery(s, figures);
        QVERIFY(testdb::rootExec(s, "CALL kinerja_progress_hitung_semua()"));
        // Only the changes were counted, and their marks are gone.
        const QString months = " AND periode IN ('" + prev + "', '" + cur + "')";
        QCOMPARE(testdb::rootValue(s, "SELECT COUNT(*) FROM kinerja_progress_jalan WHERE penuh = CURDATE() + INTERVAL 1 SECOND" + months),
                 QStringLiteral("2"));
        QCOMPARE(testdb::rootValue(s, "SELECT COUNT(*) FROM kinerja_progress_ubah"), QStringLiteral("0"));
        const QList<QStringList> changed = testdb::rootQuery(s, figures);
        QVERIFY(changed != before);
        QVERIFY(testdb::rootExec(s, "CALL kinerja_progress_hitung('" + prev + "'); CALL kinerja_progress_hitung('" + cur + "')"));
        QCOMPARE(changed, testdb::rootQuery(s, figures));

        // A new target counts at the next run for everybody.
        QVERIFY(testdb::rootExec(s, marker + "; UPDATE kinerja_setting SET nilai = '2000' WHERE nama = 'target_skr_bulanan'"));
        QVERIFY(testdb::rootExec(s, "CALL kinerja_progress_hitung_semua()"));
        QCOMPARE(testdb::rootValue(s, "SELECT CONCAT(COUNT(*), ' ', MIN(target_menit)) FROM kinerja_progress"
                                        " WHERE periode IN ('" + prev + "', '" + cur + "')"),
                 testdb::rootValue(s, "SELECT CONCAT(COUNT(*) * 2, ' 2000') FROM cache_pns WHERE status_pns = 'aktif'"));
        QCOMPARE(testdb::rootValue(s, "SELECT COUNT(*) FROM kinerja_progress_jalan WHERE penuh > CURDATE() + INTERVAL 1 SECOND" + months),
                 QStringLiteral("2"));
    }

    void badPeriodIsRefused()
    {
        AppCaller job(kSchema, AppCaller::Scheduler{});
        QCOMPARE(job.call("CALL kinerja_progress_hitung('2026-1')"), QStringList{"refused"});
        QCOMPARE(job.call("CALL kinerja_progress_hitung('202613')"), QStringList{"refused"});
    }

    void recomputedHourlyAtMinuteOne()
    {
        const QList<QStringList> rows = testdb::rootQuery(
            kSchema, "SELECT INTERVAL_VALUE, INTERVAL_FIELD, MINUTE(STARTS), EVENT_DEFINITION FROM "
                     "information_schema.EVENTS WHERE EVENT_SCHEMA = '" + kSchema +
                         "' AND EVENT_NAME = 'kinerja_progress_tiap_jam'");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].mid(0, 3), (QStringList{"1", "HOUR", "1"}));
        QVERIFY(rows[0][3].contains("kinerja_progress_hitung_semua"));
    }

    void profileLoadFillsTheGrid()
    {
        MainFixture f(kSchema);
        f.login(kKabid);
        QVERIFY(f.msgs.log.isEmpty());
        StringGrid* g = f.w.sg_profil;
        QCOMPARE(g->rowCount(), 17);
        QCOMPARE(g->colCount(), 2);
        QCOMPARE(g->fixedRows(), 1);
        QCOMPARE(g->fixedCols(), 1);
        QCOMPARE(g->colWidth(0), 200);
        QCOMPARE(g->colWidth(1), 650);
        const QStringList captions{"",
                                   "Nama Lengkap",
                                   "NIP",
                                   "Jenis Jabatan",
                                   "Nama Jabatan",
                                   "Nama SKPD",
                                   "Nama Unit",
                                   "Nama Atasan",
                                   "Jml. Tugas Tambahan",
                                   "Status PLT/PLH",
                                   "Nama Jabatan PLT/PLH",
                                   "Status Tugas Sampiran",
                                   "Nama Tugas Sampiran",
                                   "Jml. Bawahan Langsung",
                                   "Jml. Bawahan 2 Tingkat",
                                   "Klasifikasi Jabatan",
                                   "Kode Klasifikasi Jabatan"};
        for (int r = 0; r < 17; ++r)
            QCOMPARE(g->cell(r, 0), captions[r]);
        const QStringList values{"Kabid Dua", kKabid, "struktural", "Kepala Bidang Satu", "Dinas Uji Coba",
                                 "Bidang Satu", "Kepala Satu", "0", "Tidak", "-", "Tidak", "-", "4", "1",
                                 "Jabatan Administrator", "2"};
        for (int r = 1; r < 17; ++r)
            QCOMPARE(g->cell(r, 1), values[r - 1]);
        QCOMPARE(f.w.dxPNS->item(0)->caption(), QStringLiteral("Kabid Dua"));
        QCOMPARE(f.w.dxPNS->item(1)->caption(), kKabid);
        QCOMPARE(f.w.dxPNS->item(2)->caption(), QStringLiteral("Kepala Bidang Satu"));
        QCOMPARE(f.w.xDashboard->lDsNIP->text(), kKabid);
        QCOMPARE(f.w.xDashboard->lDsNama->text(), QStringLiteral("Kabid Dua"));
        QCOMPARE(f.w.xDashboard->lDsJabatan->text(), QStringLiteral("Kepala Bidang Satu"));
        QCOMPARE(f.w.xDashboard->lDsJJabaatan->text(), QStringLiteral("struktural"));
        QCOMPARE(f.w.xDashboard->Memo3->toPlainText().count(QLatin1Char('\n')), 6); // seven trace lines
        QVERIFY(f.w.xDashboard->Memo3->toPlainText().contains(QStringLiteral(" load profil")));

        f.w.dxTarvesaItems1Click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xProfil));
        QCOMPARE(f.w.xProfil->header()->caption(), QStringLiteral("Profil Saya"));
    }

    void subordinatesItemFollowsTheProfile_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("plt");
        QTest::addColumn<QString>("sampiran");
        QTest::newRow("structural") << kKabid << true << "Tidak" << "Tidak";
        QTest::newRow("functional acting") << kPlt << true << "Ya" << "Tidak";
        QTest::newRow("functional side assignment") << kGuru << true << "Tidak" << "Ya";
        QTest::newRow("functional") << kAnalis << false << "Tidak" << "Tidak";
        QTest::newRow("executor") << kPelaksana << false << "Tidak" << "Tidak";
        QTest::newRow("no personnel data") << kNoProfile << false << "" << "";
    }

    void subordinatesItemFollowsTheProfile()
    {
        QFETCH(QString, nip);
        QFETCH(bool, enabled);
        QFETCH(QString, plt);
        QFETCH(QString, sampiran);
        MainFixture f(kSchema);
        f.login(nip);
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.dxTarvesa->item(4)->isEnabled(), enabled);
        QCOMPARE(f.w.profileValue(9), plt);
        QCOMPARE(f.w.profileValue(11), sampiran);
    }

    void personWithoutProfileGetsEmptyValues()
    {
        MainFixture f(kSchema);
        f.login(kNoProfile);
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.profileValue(2), QString());
        QCOMPARE(f.w.dxPNS->item(0)->caption(), QString());
        QCOMPARE(f.w.xDashboard->lDsNama->text(), QString());
        QCOMPARE(f.w.session().kode_jabatan, QString());
    }

    void dashboardShowsTheServersMonths()
    {
        // The client's clock says 2001; the periods come from the server.
        MainFixture f(kSchema);
        f.login(kPelaksana);
        QVERIFY(f.msgs.log.isEmpty());
        DashboardPage* d = f.w.xDashboard;
        QCOMPARE(gaugeText(d->gaiDiakui), QStringLiteral("1|1.00 %"));
        QCOMPARE(gaugeText(d->gaiBulanan), QStringLiteral("1|1.00 %"));
        QCOMPARE(gaugeText(d->gaiDiakui2), QStringLiteral("48|48.00 %"));
        QCOMPARE(gaugeText(d->gaiBulanan2), QStringLiteral("53|53.00 %"));
        QCOMPARE(gaugeText(d->gaiUtama2), QStringLiteral("42|42.00 %"));
        QCOMPARE(gaugeText(d->gaiTambahan2), QStringLiteral("3|3.00 %"));
        QCOMPARE(gaugeText(d->gaiLainnya2), QStringLiteral("3|3.00 %"));
        QCOMPARE(gaugeText(d->gaiAKI), QStringLiteral("1|1.00 %"));
        QCOMPARE(gaugeText(d->gaiAKB), QStringLiteral("0|0.00 %"));
        QCOMPARE(gaugeText(d->gaiAKTotal), QStringLiteral("1|1.00"));
        const QString stamp = testdb::rootValue(
            kSchema, "SELECT DATE_FORMAT(tanggal_progress, '%Y-%m-%d %H:%i:%s') FROM kinerja_progress WHERE nip = '" +
                         kPelaksana + "' AND periode = DATE_FORMAT(NOW(), '%Y%m')");
        QCOMPARE(d->lDsProgressTime->text(), "Waktu ambil data progress terakhir : " + stamp + " WIB");
        QVERIFY(d->Memo3->toPlainText().contains(QStringLiteral(" progress ah2 ok ")));
        QVERIFY(d->Memo3->toPlainText().startsWith(QLocale().toString(f.clock.now(), QLocale::ShortFormat)));
    }

    void missingRowsShowZeros()
    {
        MainFixture f(kSchema);
        f.login(kPelaksana);
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM kinerja_progress WHERE nip = '" + kPelaksana +
                                              "' AND periode = DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m');"
                                              "DELETE FROM kinerja_progress_ah2 WHERE nip = '" + kPelaksana + "'"));
        f.w.xDashboard->SpeedButton23Click();
        recompute();
        DashboardPage* d = f.w.xDashboard;
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(gaugeText(d->gaiDiakui), QStringLiteral("1|1.00 %")); // current month still there
        for (const auto* g : {&d->gaiDiakui2, &d->gaiBulanan2, &d->gaiUtama2, &d->gaiTambahan2, &d->gaiLainnya2,
                              &d->gaiAKI, &d->gaiAKB, &d->gaiAKB2})
            QCOMPARE(gaugeText(*g), QStringLiteral("0|0 %"));
        QCOMPARE(gaugeText(d->gaiAKTotal), QStringLiteral("0|0"));
    }

    void failedSecondLevelKeepsTheOwnShare()
    {
        MainFixture f(kSchema);
        f.login(kPelaksana);
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_progress_ah2"));
        f.w.xDashboard->ResetProgressGauges();
        f.w.xDashboard->LoadProgress();
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("progress.sql")}));
        recompute();
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan)});
        QCOMPARE(gaugeText(f.w.xDashboard->gaiAKI), QStringLiteral("1|1.00 %"));
        QCOMPARE(gaugeText(f.w.xDashboard->gaiAKTotal), QStringLiteral("0|0"));
    }

    void failedProfileLoadStops()
    {
        MainFixture f(kSchema);
        f.w.session().nipLogin = kKabid;
        f.bind(kKabid);
        f.w.dxAplikasiItems5Click();
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_bawahan_langsung_jumlah"));
        f.w.dxTarvesaItems0Click();
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("progress.sql")}));
        recompute();
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMengambil)});
        QCOMPARE(f.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xInfoAplikasi)); // not switched
        QCOMPARE(f.w.profileValue(2), kKabid);                               // filled before the failure
        QCOMPARE(f.w.profileValue(13), QString());
    }

    void profileWithServerDown()
    {
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.port = 1;
        ScriptedMessages msgs;
        Tdm dm(s);
        Tfmain w(dm, Tfmain::Seams{&msgs, nullptr, nullptr, {}, {}});
        w.dxTarvesaItems0Click();
        QCOMPARE(msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalTerhubung)});
        QCOMPARE(msgs.lastKind(), Messages::Kind::Information);
        w.dxTarvesaItems1Click(); // before any load: an empty grid
        QCOMPARE(w.activePage(), static_cast<QWidget*>(w.xProfil));
        QCOMPARE(w.sg_profil->rowCount(), 0);
    }

    void ratioWindow()
    {
        MainFixture f(kSchema);
        QStringList first;
        for (int round = 0; round < 2; ++round) {
            QStringList seen;
            f.dialogs.expect([&](QDialog& d) {
                auto& w = static_cast<Tf_rasioAK&>(d);
                StringGrid* r = w.sg_rasioAK;
                StringGrid* k = w.sg_keteranganKJ;
                seen << QString::number(r->rowCount()) << QString::number(r->colCount())
                     << QString::number(r->fixedRows()) << r->cell(0, 0) << r->cell(0, 8) << r->cell(1, 0)
                     << r->cell(1, 1) << r->cell(1, 2) << r->cell(1, 3) << r->cell(8, 0) << r->cell(8, 1)
                     << QString::number(r->colWidth(0)) << QString::number(k->rowCount()) << k->cell(0, 1)
                     << k->cell(6, 0) << k->cell(6, 1);
                return;
            });
            f.w.xDashboard->btDashRasioClick();
            QCOMPARE(f.dialogs.opened.size(), round + 1);
            if (round == 0)
                first = seen;
            QCOMPARE(seen, first);
        }
        QCOMPARE(first, (QStringList{"9", "9", "1", "Kode Klasifikasi Jabatan.", "8", "1", "40", "30", "30", "8",
                                     "100", "370", "9", "Klasifikasi Jabatan.", "6",
                                     "Kepala Sekolah, Kepala Puskesmas dan Koordinator Wilayah"}));
        QVERIFY(f.msgs.log.isEmpty());
    }

    void emptyRatioTableShowsNoWindow()
    {
        QVERIFY(testdb::rootExec(kSchema, "CREATE TABLE rasio_simpan AS SELECT * FROM rasio_ak; DELETE FROM rasio_ak"));
        MainFixture f(kSchema);
        f.w.xDashboard->btDashRasioClick();
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO rasio_ak SELECT * FROM rasio_simpan; DROP TABLE rasio_simpan"));
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan)});
        QVERIFY(f.dialogs.opened.isEmpty());
    }
};

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
