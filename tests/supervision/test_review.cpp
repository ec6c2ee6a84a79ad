// What a superior sees beside the review: the days left before a window
// closes, the plausibility notes, the unverified work per subordinate and
// the dashboard's line of waiting work. Server cases are small sets of
// activities of the executor (direct superior: the field head; two levels
// up: the agency head), dated by the server's clock.
#include "appcaller.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "progress/dashboardpage.h"
#include "progress/profilpage.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_review");
const QString kAllTypes = QStringLiteral("x,Utama,Tambahan,Lainnya");
const QString kAll = QStringLiteral("x,accepted,rejected,0,accepted_by_system,accepted_by_spv,rejected_by_spv");
const QStringList kRefused{QStringLiteral("refused")};

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

// The server's day, offset by some days, as "yyyy-mm-dd".
QString day(int offset)
{
    return root(QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

// One activity as a VALUES row: the executor's unless another NIP is given;
// task detail 3 ("Surat", 10 minutes), 2 (400 minutes) or 4 (30 minutes);
// the activity's day and its input as SQL expressions.
struct Act {
    Act() = default;
    Act(int id_, QString hari_, QString input_ = {}, int kode_ = 3, int volume_ = 1,
        QString deskripsi_ = QStringLiteral("Mengagendakan surat masuk dari dinas"))
        : id(id_), hari(std::move(hari_)), input(std::move(input_)), kode(kode_), volume(volume_),
          deskripsi(std::move(deskripsi_))
    {
    }

    int id = 0;
    QString hari;  // e.g. "CURDATE() - INTERVAL 2 DAY"
    QString input; // empty: two hours after the activity
    int kode = 3;
    int volume = 1;
    QString deskripsi;
    QString status = QStringLiteral("0");
    QString verif = QStringLiteral("NULL"); // verification moment
    QString validasi = QStringLiteral("NULL");
    QString nip = kPelaksana;

    QString sql() const
    {
        const QString jenis = kode == 2 ? "Lainnya" : kode == 4 ? "Tambahan" : "Utama";
        const QString jabatan = kode == 2 ? "300000" : kode == 4 ? "JP02" : "JP01";
        const QString bobot = kode == 2 ? "400" : kode == 4 ? "30" : "10";
        const QString akt = "(" + hari + ") + INTERVAL 8 HOUR";
        const QString inp = input.isEmpty() ? akt + " + INTERVAL 2 HOUR" : "(" + input + ") + INTERVAL 10 HOUR";
        return QStringLiteral("(%1, '%2', '%3', %4, '%5', '%6', %7, 'x', %8, %9, %10, '%11', %12, %13, "
                              "'198102022006011002', '198001012005011001')")
            .arg(id)
            .arg(nip, jenis)
            .arg(kode)
            .arg(jabatan, deskripsi)
            .arg(volume)
            .arg(bobot, akt, inp, status, verif, validasi);
    }
};

bool insert(const QList<Act>& acts)
{
    QStringList rows;
    for (const Act& a : acts)
        rows << a.sql();
    return testdb::rootExec(kSchema, "DELETE FROM aktivitas; INSERT INTO aktivitas (id, nip, jenis_jabatan, "
                                     "kode_rincian, kode_jabatan, deskripsi, volume, satuan, bobot_skr, "
                                     "tanggal_aktivitas, tanggal_input, status, tanggal_status, tanggal_validasi, "
                                     "nip_atasan1, nip_atasan2) VALUES " +
                                         rows.join(", "));
}

bool settings(int verif, int valid, int otomatis, int input = 5)
{
    return testdb::rootExec(kSchema, QStringLiteral("UPDATE kinerja_setting SET nilai = CASE nama "
                                                    "WHEN 'aktivitas_verifikasi_day_max' THEN '%1' "
                                                    "WHEN 'aktivitas_validasi_day_max' THEN '%2' "
                                                    "WHEN 'aktivitas_auto_approve' THEN '%3' "
                                                    "WHEN 'aktivitas_input_day_max' THEN '%4' ELSE nilai END")
                                         .arg(verif)
                                         .arg(valid)
                                         .arg(otomatis)
                                         .arg(input));
}

QStringList as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    AppCaller c(kSchema, nip);
    return c.call(sql, params);
}

// The review figures as the superior's list carries them, one row per
// activity: "id|sisa_hari|sisa_harix|sisa_hari_ket|segera|catatan|catatan_ket";
// the direct superior's list for an empty var_nip_atasan2, else the list two
// levels up. {"refused"} or {"denied"} as AppCaller answers.
QStringList listFigures(const QString& caller, const db::Params& params)
{
    bool twoLevel = false;
    for (const auto& [name, value] : params)
        if (name == QLatin1String("var_nip_atasan2"))
            twoLevel = !value.isEmpty();
    try {
        AppCaller c(kSchema, caller);
        const db::ResultSet rs = c.query().open(
            QStringLiteral("CALL %1(:var_nip, :var_tanggal_awal, :var_tanggal_akhir, :var_jenis_jabatan, :var_status, "
                           ":var_aktivitas, :var_nip_atasan2)")
                .arg(twoLevel ? QStringLiteral("kinerja_aktivitas_tampil_data_2tk")
                              : QStringLiteral("kinerja_aktivitas_tampil_data")),
            params);
        QStringList out;
        for (int r = 0; r < rs.recordCount(); ++r) {
            QStringList cells;
            for (const char* col : {"id", "sisa_hari", "sisa_harix", "sisa_hari_ket", "segera", "catatan", "catatan_ket"})
                cells << rs.text(r, QString::fromLatin1(col));
            out << cells.join('|');
        }
        return out;
    } catch (const db::DbError& e) {
        if (e.sqlState() == "45000")
            return {QStringLiteral("refused")};
        return {AppCaller::isDenied(e) ? QStringLiteral("denied") : QStringLiteral("error: ") + e.what()};
    }
}

// The review figures of the executor over the last 120 days, as the direct
// superior (empty atasan2) or the superior two levels up.
QStringList figures(const QString& caller, const QString& atasan2 = QString(), const QString& nip = kPelaksana)
{
    return listFigures(caller, {{"var_nip", nip},
                                {"var_tanggal_awal", day(-120)},
                                {"var_tanggal_akhir", day(0)},
                                {"var_jenis_jabatan", kAllTypes},
                                {"var_status", kAll},
                                {"var_aktivitas", ""},
                                {"var_nip_atasan2", atasan2}});
}

// One field of the figures of one activity.
QString field(const QStringList& rows, int id, int col)
{
    for (const QString& r : rows)
        if (r.section('|', 0, 0) == QString::number(id))
            return r.section('|', col, col);
    return QStringLiteral("<no row>");
}

QString previousMonthDay(int n)
{
    return QStringLiteral("DATE_FORMAT(CURDATE() - INTERVAL 1 MONTH, '%Y-%m-01') + INTERVAL %1 DAY").arg(n);
}

} // namespace

Q_DECLARE_METATYPE(Act)

class TestReview : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")})); }

    void init() { QVERIFY(settings(5, 5, 5)); }

    // ------------------------------------------------------------ notes

    void plausibilityNotes_data()
    {
        QTest::addColumn<QList<Act>>("acts");
        QTest::addColumn<QString>("catatan"); // of activity 1
        QTest::addColumn<QString>("reason");  // a piece of its tooltip

        const QString d2 = QStringLiteral("CURDATE() - INTERVAL 2 DAY");
        QTest::newRow("an ordinary day") << QList<Act>{{1, d2}, {2, d2, {}, 4, 2, "Mengelola arsip aktif bidang"}}
                                         << "" << "";

        // The 400-minute training counts the operational maximum, 300.
        QTest::newRow("day above 480 minutes")
            << QList<Act>{{1, d2, {}, 2, 1, "Pelatihan teknis di provinsi"}, {2, d2, {}, 3, 19}} << "Hari > 480 menit"
            << ": 490 menit, melebihi 480 menit sehari.";
        QTest::newRow("480 minutes exactly") << QList<Act>{{1, d2, {}, 2, 1, "Pelatihan teknis di provinsi"},
                                                           {2, d2, {}, 3, 18}}
                                             << "" << "";
        Act rejected{2, d2, {}, 3, 19};
        rejected.status = "rejected";
        QTest::newRow("a rejected activity adds no minutes")
            << QList<Act>{{1, d2, {}, 2, 1, "Pelatihan teknis di provinsi"}, rejected} << "" << "";
        Act rejectedTarget{1, d2, {}, 2, 1, "Pelatihan teknis di provinsi"};
        rejectedTarget.status = "rejected";
        QTest::newRow("a rejected activity carries no note")
            << QList<Act>{rejectedTarget, {2, d2, {}, 2, 1, "Pelatihan teknis di provinsi"}, {3, d2, {}, 3, 19}} << ""
            << "";

        QTest::newRow("same description twice on the day")
            << QList<Act>{{1, d2}, {2, d2}} << "Deskripsi ganda" << "tercatat 2 kali pada hari yang sama";
        QTest::newRow("same description in other case and blanks")
            << QList<Act>{{1, d2}, {2, d2, {}, 4, 1, "  MENGAGENDAKAN surat masuk dari dinas "}} << "Deskripsi ganda"
            << "2 kali";
        QTest::newRow("same description on another day")
            << QList<Act>{{1, d2}, {2, "CURDATE() - INTERVAL 3 DAY"}} << "" << "";

        QList<Act> twelve;
        for (int n = 0; n < 12; ++n)
            twelve << Act{n + 1, previousMonthDay(n * 2 + n % 2)};
        QTest::newRow("same description on 12 days of the month")
            << twelve << "Deskripsi berulang" << "pada 12 hari berbeda dalam bulan ini (batas 12 hari)";
        QTest::newRow("on 11 days of the month") << twelve.mid(0, 11) << "" << "";
        QList<Act> split = twelve.mid(0, 11);
        split << Act{12, "DATE_FORMAT(CURDATE() - INTERVAL 1 MONTH, '%Y-%m-01') - INTERVAL 3 DAY"};
        QTest::newRow("the twelfth day in another month") << split << "" << "";

        QTest::newRow("input 6 days after the work")
            << QList<Act>{{1, "CURDATE() - INTERVAL 8 DAY", "CURDATE() - INTERVAL 2 DAY"}} << "Input terlambat"
            << "Dicatat 6 hari setelah dikerjakan; batas input 5 hari.";
        QTest::newRow("input 5 days after the work")
            << QList<Act>{{1, "CURDATE() - INTERVAL 7 DAY", "CURDATE() - INTERVAL 2 DAY"}} << "" << "";

        auto history = [](int count, int firstDayBack, int volume) {
            QList<Act> h;
            for (int n = 0; n < count; ++n)
                h << Act{n + 10, QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(firstDayBack + n * 3), {}, 3,
                         volume, QStringLiteral("Surat masuk nomor %1").arg(n)};
            return h;
        };
        QTest::newRow("volume above 3 times the mean of 5 earlier")
            << (history(5, 5, 2) << Act{1, d2, {}, 3, 7, "Surat masuk hari ini"}) << "Volume tidak biasa"
            << "Volume 7 lebih dari 3 kali rata-rata 2 untuk rincian tugas ini (5 aktivitas dalam 90 hari";
        QTest::newRow("volume at 3 times the mean")
            << (history(5, 5, 2) << Act{1, d2, {}, 3, 6, "Surat masuk hari ini"}) << "" << "";
        QTest::newRow("only 4 earlier activities")
            << (history(4, 5, 2) << Act{1, d2, {}, 3, 7, "Surat masuk hari ini"}) << "" << "";
        QTest::newRow("earlier activities older than 90 days")
            << (history(5, 95, 2) << Act{1, d2, {}, 3, 7, "Surat masuk hari ini"}) << "" << "";
        QTest::newRow("another task detail's history")
            << (history(5, 5, 2) << Act{1, d2, {}, 4, 7, "Arsip hari ini"}) << "" << "";

        QTest::newRow("two rules at once")
            << QList<Act>{{1, d2, {}, 2, 1, "Pelatihan teknis di provinsi"},
                          {2, d2, {}, 2, 1, "Pelatihan teknis di provinsi"}}
            << "Hari > 480 menit, Deskripsi ganda" << ": 600 menit";
    }

    void plausibilityNotes()
    {
        QFETCH(QList<Act>, acts);
        QFETCH(QString, catatan);
        QFETCH(QString, reason);
        QVERIFY(insert(acts));
        const QStringList rows = figures(kKabid);
        QCOMPARE(rows.size(), acts.size());
        QCOMPARE(field(rows, 1, 5), catatan);
        const QString ket = field(rows, 1, 6);
        QCOMPARE(ket.isEmpty(), reason.isEmpty());
        QVERIFY2(ket.contains(reason), qPrintable(ket));
        // One reason per note.
        QCOMPARE(ket.isEmpty() ? 0 : ket.count('\n') + 1, catatan.isEmpty() ? 0 : catatan.count(", ") + 1);
    }

    // The notes are kept between lists. A change that can move a note
    // computes them again; one that cannot (an approval, another servant's
    // work) finds them kept, which a kept text changed here shows.
    void keptNotesFollowChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("catatan");

        const QString kept = QStringLiteral("kept");
        QTest::newRow("nothing") << "" << 1 << kept;
        QTest::newRow("an approval") << "UPDATE aktivitas SET status = 'accepted', tanggal_status = NOW(), "
                                        "nip_verifikator = '198102022006011002' WHERE id = 3"
                                     << 1 << kept;
        QTest::newRow("another servant's work")
            << "DELETE FROM aktivitas WHERE id = 5" << 1 << kept;
        QTest::newRow("a new duplicate") << "INSERT INTO aktivitas (id, nip, jenis_jabatan, kode_rincian, kode_jabatan, "
                                            "deskripsi, volume, satuan, bobot_skr, tanggal_aktivitas, tanggal_input, "
                                            "status, nip_atasan1, nip_atasan2) SELECT 4, nip, jenis_jabatan, "
                                            "kode_rincian, kode_jabatan, deskripsi, 1, satuan, bobot_skr, "
                                            "tanggal_aktivitas, tanggal_input, '0', nip_atasan1, nip_atasan2 "
                                            "FROM aktivitas WHERE id = 3"
                                         << 3 << "Deskripsi ganda";
        QTest::newRow("the duplicate rejected") << "UPDATE aktivitas SET status = 'rejected' WHERE id = 2" << 1 << "";
        QTest::newRow("the duplicate told otherwise")
            << "UPDATE aktivitas SET deskripsi = 'Menyusun laporan' WHERE id = 2" << 1 << "";
        QTest::newRow("the duplicate moved a day")
            << "UPDATE aktivitas SET tanggal_aktivitas = tanggal_aktivitas - INTERVAL 1 DAY WHERE id = 2" << 1 << "";
        QTest::newRow("the duplicate deleted") << "DELETE FROM aktivitas WHERE id = 2" << 1 << "";
        QTest::newRow("a shorter input window")
            << "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'aktivitas_input_day_max'" << 3
            << "Input terlambat";
        QTest::newRow("a week unread") << "UPDATE kinerja_catatan_tanda SET dihitung = NOW() - INTERVAL 8 DAY; "
                                          "UPDATE kinerja_catatan_simpan SET dihitung = NOW() - INTERVAL 8 DAY; "
                                          "CALL kinerja_catatan_bersihkan()"
                                       << 1 << "Deskripsi ganda";
    }

    void keptNotesFollowChanges()
    {
        QFETCH(QString, change);
        QFETCH(int, id);
        QFETCH(QString, catatan);
        const QString d2 = QStringLiteral("CURDATE() - INTERVAL 2 DAY");
        Act other{5, d2};
        other.nip = kAnalis;
        // 1 and 2 the same on one day; 3 recorded three days late.
        QVERIFY(insert({{1, d2}, {2, d2}, {3, "CURDATE() - INTERVAL 4 DAY", "CURDATE() - INTERVAL 1 DAY", 4, 1,
                                           "Mengelola arsip aktif bidang"},
                        other}));
        QStringList rows = figures(kKabid);
        QCOMPARE(field(rows, 1, 5), QStringLiteral("Deskripsi ganda"));
        QCOMPARE(field(rows, 3, 5), QString());
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_catatan_simpan SET catatan = 'kept' WHERE catatan <> ''"));
        if (!change.isEmpty())
            QVERIFY(testdb::rootExec(kSchema, change));
        rows = figures(kKabid);
        QCOMPARE(field(rows, id, 5), catatan);
    }

    // --------------------------------------------------------- deadlines

    void deadlines_data()
    {
        QTest::addColumn<int>("verif");
        QTest::addColumn<int>("otomatis");
        QTest::addColumn<bool>("twoLevel");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("inputBack");  // days since the input
        QTest::addColumn<int>("verifBack");  // days since the verification, -1: none
        QTest::addColumn<bool>("validated");
        QTest::addColumn<QString>("sisa");   // sisa_hari
        QTest::addColumn<QString>("shown");  // sisa_harix; "@n" stands for the day n days from today
        QTest::addColumn<QString>("segera");

        QTest::newRow("put in today") << 5 << 5 << false << "0" << 0 << -1 << false << "5" << "5 hari, otomatis @6"
                                      << "0";
        QTest::newRow("second to last day") << 5 << 5 << false << "0" << 4 << -1 << false << "1"
                                            << "1 hari, otomatis @2" << "0";
        QTest::newRow("last day") << 5 << 5 << false << "0" << 5 << -1 << false << "0" << "hari ini, otomatis @1"
                                  << "1";
        QTest::newRow("window closed, approval due") << 5 << 5 << false << "0" << 7 << -1 << false << "-2"
                                                     << "lewat batas, otomatis @0" << "0";
        QTest::newRow("system approves before the window closes")
            << 5 << 3 << false << "0" << 3 << -1 << false << "0" << "hari ini, otomatis @1" << "1";
        QTest::newRow("approval overdue in an open window")
            << 5 << 2 << false << "0" << 3 << -1 << false << "0" << "hari ini, otomatis @0" << "1";
        QTest::newRow("window closes before the approval")
            << 2 << 5 << false << "0" << 2 << -1 << false << "0" << "hari ini, otomatis @4" << "1";
        QTest::newRow("verified: nothing waits for the direct superior")
            << 5 << 5 << false << "accepted" << 1 << 0 << false << "" << "" << "0";
        QTest::newRow("validation, verified two days ago")
            << 5 << 5 << true << "accepted" << 3 << 2 << false << "3" << "3 hari" << "0";
        QTest::newRow("validation, last day") << 5 << 5 << true << "rejected" << 6 << 5 << false << "0" << "hari ini"
                                              << "1";
        QTest::newRow("validation window closed") << 5 << 5 << true << "accepted" << 7 << 6 << false << "-1"
                                                  << "lewat batas" << "0";
        QTest::newRow("validated: nothing waits") << 5 << 5 << true << "accepted" << 3 << 2 << true << "" << "" << "0";
    }

    void deadlines()
    {
        QFETCH(int, verif);
        QFETCH(int, otomatis);
        QFETCH(bool, twoLevel);
        QFETCH(QString, status);
        QFETCH(int, inputBack);
        QFETCH(int, verifBack);
        QFETCH(bool, validated);
        QFETCH(QString, sisa);
        QFETCH(QString, shown);
        QFETCH(QString, segera);
        QVERIFY(settings(verif, 5, otomatis));
        Act a{1, QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(inputBack + 1),
              QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(inputBack)};
        a.status = status;
        if (verifBack >= 0)
            a.verif = QStringLiteral("CURDATE() - INTERVAL %1 DAY + INTERVAL 11 HOUR").arg(verifBack);
        if (validated)
            a.validasi = QStringLiteral("NOW()");
        QVERIFY(insert({a}));
        for (int n = 0; n <= 7; ++n)
            shown.replace("@" + QString::number(n), day(n));
        const QStringList rows = twoLevel ? figures(kKepala, kKepala) : figures(kKabid);
        QCOMPARE(field(rows, 1, 1), sisa);
        QCOMPARE(field(rows, 1, 2), shown);
        QCOMPARE(field(rows, 1, 4), segera);
        // The tooltip names the window's last day.
        if (!sisa.isEmpty())
            QVERIFY(field(rows, 1, 3).contains(twoLevel ? "Batas validasi " + day(5 - verifBack)
                                                        : "Batas verifikasi " + day(verif - inputBack)));
    }

    // The list's filters select the same rows as the list.
    void followsTheListsSelection()
    {
        Act old{1, "CURDATE() - INTERVAL 40 DAY", "CURDATE() - INTERVAL 40 DAY"};
        Act other{2, "CURDATE() - INTERVAL 2 DAY", {}, 4, 1, "Mengelola arsip aktif"};
        QVERIFY(insert({old, other, {3, "CURDATE() - INTERVAL 2 DAY"}}));
        const QStringList rows = listFigures(kKabid, {{"var_nip", kPelaksana},
                                                      {"var_tanggal_awal", day(-30)},
                                                      {"var_tanggal_akhir", day(0) + " 00:00:00"},
                                                      {"var_jenis_jabatan", "x,Utama"},
                                                      {"var_status", "x,0"},
                                                      {"var_aktivitas", "surat"},
                                                      {"var_nip_atasan2", ""}});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].section('|', 0, 0), QStringLiteral("3"));
    }

    // ------------------------------------------------------------ trust

    void refusedToOthers_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("atasan2");
        const QString direct = QStringLiteral("CALL kinerja_aktivitas_tampil_data(:nip, '2000-01-01', '2100-01-01', "
                                              "'x,Utama,Tambahan,Lainnya', 'x,0,accepted,rejected', '', :atasan2)");
        const QString twoLevel = QString(direct).replace("tampil_data(", "tampil_data_2tk(");
        QTest::newRow("figures, anonymous") << "" << direct << kPelaksana << "";
        QTest::newRow("figures, the owner two levels up") << kPelaksana << twoLevel << kPelaksana << kPelaksana;
        QTest::newRow("figures, a colleague") << kAnalis << direct << kPelaksana << "";
        QTest::newRow("figures, two levels up as direct") << kKepala << direct << kPelaksana << "";
        QTest::newRow("figures, direct as two levels up") << kKabid << twoLevel << kPelaksana << kKabid;
        QTest::newRow("figures, in another's name") << kKabid << twoLevel << kPelaksana << kKepala;
        const QString open = QStringLiteral("CALL kinerja_bawahan_belum_verifikasi(:nip)");
        QTest::newRow("unverified counts, anonymous") << "" << open << kKabid << "";
        QTest::newRow("unverified counts, of another") << kAnalis << open << kKabid << "";
        const QString waiting = QStringLiteral("CALL kinerja_bawahan_menunggu(:nip)");
        QTest::newRow("waiting work, anonymous") << "" << waiting << kKabid << "";
        QTest::newRow("waiting work, of another") << kPelaksana << waiting << kKabid << "";
    }

    void refusedToOthers()
    {
        QFETCH(QString, caller);
        QFETCH(QString, sql);
        QFETCH(QString, nip);
        QFETCH(QString, atasan2);
        QVERIFY(insert({{1, "CURDATE() - INTERVAL 2 DAY"}}));
        db::Params params{{"nip", nip}};
        if (sql.contains(":atasan2"))
            params.push_back({"atasan2", atasan2});
        QCOMPARE(as(caller, sql, params), kRefused);
    }

    // ------------------------------------------------- waiting work

    void unverifiedPerSubordinate()
    {
        Act acceptedOne{4, "CURDATE() - INTERVAL 9 DAY", "CURDATE() - INTERVAL 9 DAY"};
        acceptedOne.status = "accepted";
        acceptedOne.verif = "CURDATE() - INTERVAL 8 DAY";
        Act twoLevel{5, "CURDATE() - INTERVAL 3 DAY", "CURDATE() - INTERVAL 2 DAY"};
        twoLevel.nip = kPengelola;
        QVERIFY(insert({{1, "CURDATE() - INTERVAL 1 DAY", "CURDATE()"},
                        {2, "CURDATE() - INTERVAL 7 DAY", "CURDATE() - INTERVAL 6 DAY"},
                        {3, "CURDATE() - INTERVAL 3 DAY", "CURDATE() - INTERVAL 3 DAY"},
                        acceptedOne,
                        twoLevel}));
        const QStringList rows = as(kKabid, "CALL kinerja_bawahan_belum_verifikasi(:n)", {{"n", kKabid}});
        QVERIFY(rows.contains(kPelaksana + "|3|6"));
        QVERIFY(rows.contains(kPengelola + "|1|2")); // two levels down
        QVERIFY(rows.contains(kAnalis + "|0|"));     // nothing open: no age
        QCOMPARE(as(kKabid, "CALL kinerja_show_bawahan(:n, '', 'x,struktural,fungsional,pelaksana', "
                            "'x,Definitif,Plt,Tugas Sampiran')",
                    {{"n", kKabid}})
                     .size(),
                 rows.size());
    }

    void waitingWorkOfASuperior()
    {
        auto verified = [](int id, const QString& nip, const QString& status, int verifBack, bool validated) {
            Act a{id, QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(verifBack + 2),
                  QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(verifBack + 1)};
            a.nip = nip;
            a.status = status;
            a.verif = QStringLiteral("CURDATE() - INTERVAL %1 DAY + INTERVAL 11 HOUR").arg(verifBack);
            if (validated)
                a.validasi = QStringLiteral("NOW()");
            return a;
        };
        QVERIFY(insert({
            {1, "CURDATE() - INTERVAL 1 DAY", "CURDATE()"},                          // to verify
            {2, "CURDATE() - INTERVAL 6 DAY", "CURDATE() - INTERVAL 5 DAY"},         // to verify, approved tonight
            {3, "CURDATE() - INTERVAL 7 DAY", "CURDATE() - INTERVAL 6 DAY"},         // too late, approved next hour
            verified(4, kPelaksana, "accepted", 1, false),                           // verified already
            verified(5, kPengelola, "accepted", 1, false),                           // to validate
            verified(6, kPengelola, "rejected", 5, false),                           // to validate, last day
            verified(7, kPengelola, "rejected", 6, false),                           // validation window closed
            verified(8, kPengelola, "accepted", 1, true),                            // validated
        }));
        QCOMPARE(as(kKabid, "CALL kinerja_bawahan_menunggu(:n)", {{"n", kKabid}}), QStringList{"2|2|2"});
        // The agency head verifies none of these and validates the executor's.
        QCOMPARE(as(kKepala, "CALL kinerja_bawahan_menunggu(:n)", {{"n", kKepala}}), QStringList{"0|1|0"});
    }

    // The count of work waiting for validation reads a kept list of the
    // verified, unvalidated activities. After each change, one after
    // another, the list holds exactly those activities, and the count
    // equals the one read from the activities themselves.
    void waitingForValidationFollowsEveryChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("waiting"); // the agency head's count afterwards
        QTest::newRow("verify") << "UPDATE aktivitas SET status = 'accepted', tanggal_status = NOW() WHERE id = 1"
                                << "2";
        QTest::newRow("reject instead") << "UPDATE aktivitas SET status = 'rejected' WHERE id = 1" << "2";
        QTest::newRow("validate") << "UPDATE aktivitas SET tanggal_validasi = NOW() WHERE id = 2" << "1";
        QTest::newRow("validation undone") << "UPDATE aktivitas SET tanggal_validasi = NULL WHERE id = 2" << "2";
        QTest::newRow("rejected by the supervisor")
            << "UPDATE aktivitas SET status = 'rejected_by_spv' WHERE id = 2" << "1";
        QTest::newRow("verified on another day")
            << "UPDATE aktivitas SET tanggal_status = tanggal_status - INTERVAL 2 DAY WHERE id = 1" << "1";
        QTest::newRow("out of the window")
            << "UPDATE aktivitas SET tanggal_status = tanggal_status - INTERVAL 9 DAY WHERE id = 1" << "0";
        QTest::newRow("back to unverified")
            << "UPDATE aktivitas SET status = '0', tanggal_status = NULL WHERE id = 1" << "0";
        QTest::newRow("verified anew") << "UPDATE aktivitas SET status = 'accepted', tanggal_status = NOW(), "
                                          "tanggal_validasi = NULL WHERE id IN (1, 2)"
                                       << "2";
        // the field head's own work is validated by nobody
        QTest::newRow("another servant's") << "UPDATE aktivitas SET nip = '" + kKabid + "' WHERE id = 2" << "1";
        QTest::newRow("deleted") << "DELETE FROM aktivitas WHERE id = 1" << "0";
    }

    void waitingForValidationFollowsEveryChange()
    {
        QFETCH(QString, change);
        QFETCH(QString, waiting);
        if (QByteArray(QTest::currentDataTag()) == "verify") {
            Act unverified{1, "CURDATE() - INTERVAL 1 DAY", "CURDATE()"};
            Act verified{2, "CURDATE() - INTERVAL 2 DAY", "CURDATE() - INTERVAL 1 DAY"};
            verified.status = QStringLiteral("accepted");
            verified.verif = QStringLiteral("NOW() - INTERVAL 1 HOUR");
            Act validated = verified;
            validated.id = 3;
            validated.validasi = QStringLiteral("NOW()");
            QVERIFY(insert({unverified, verified, validated}));
        }
        QVERIFY(testdb::rootExec(kSchema, change));
        const QString truth = root("SELECT COALESCE(GROUP_CONCAT(id ORDER BY id), '') FROM aktivitas "
                                   "WHERE status IN ('accepted', 'rejected') AND tanggal_validasi IS NULL "
                                   "AND tanggal_status IS NOT NULL");
        QCOMPARE(root("SELECT COALESCE(GROUP_CONCAT(id ORDER BY id), '') FROM kinerja_validasi_tunggu"), truth);
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_validasi_tunggu t JOIN aktivitas a ON a.id = t.id "
                      "WHERE t.nip <> a.nip OR t.hari <> DATE(a.tanggal_status)"),
                 QStringLiteral("0"));
        QCOMPARE(as(kKepala, "CALL kinerja_bawahan_menunggu(:n)", {{"n", kKepala}}).value(0).section('|', 1, 1),
                 waiting);
    }

    // The nightly purge drops what the window left behind; a window raised
    // later still counts those from the activities until the kept list
    // holds it whole again.
    void waitingForValidationAfterThePurge()
    {
        auto verified = [](int id, int back) {
            Act a{id, QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(back + 2),
                  QStringLiteral("CURDATE() - INTERVAL %1 DAY").arg(back + 1)};
            a.status = QStringLiteral("accepted");
            a.verif = QStringLiteral("CURDATE() - INTERVAL %1 DAY + INTERVAL 11 HOUR").arg(back);
            return a;
        };
        QVERIFY(insert({verified(1, 1), verified(2, 5), verified(3, 8)}));
        const QString waiting = QStringLiteral("CALL kinerja_bawahan_menunggu(:n)");
        QCOMPARE(as(kKepala, waiting, {{"n", kKepala}}).value(0).section('|', 1, 1), QStringLiteral("2"));

        QVERIFY(testdb::rootExec(kSchema, "CALL kinerja_validasi_tunggu_bersihkan()"));
        QCOMPARE(root("SELECT GROUP_CONCAT(id ORDER BY id) FROM kinerja_validasi_tunggu"), QStringLiteral("1,2"));
        QCOMPARE(root("SELECT sejak = CURDATE() - INTERVAL 5 DAY FROM kinerja_validasi_tunggu_sejak"),
                 QStringLiteral("1"));
        QCOMPARE(as(kKepala, waiting, {{"n", kKepala}}).value(0).section('|', 1, 1), QStringLiteral("2"));

        QVERIFY(settings(5, 10, 5));
        QCOMPARE(as(kKepala, waiting, {{"n", kKepala}}).value(0).section('|', 1, 1), QStringLiteral("3"));
        // A purge under the longer window keeps the list's first day.
        QVERIFY(testdb::rootExec(kSchema, "CALL kinerja_validasi_tunggu_bersihkan()"));
        QCOMPARE(root("SELECT sejak = CURDATE() - INTERVAL 5 DAY FROM kinerja_validasi_tunggu_sejak"),
                 QStringLiteral("1"));
        QCOMPARE(as(kKepala, waiting, {{"n", kKepala}}).value(0).section('|', 1, 1), QStringLiteral("3"));
        QVERIFY(settings(5, 5, 5));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_validasi_tunggu_sejak SET sejak = CURDATE() - "
                                          "INTERVAL 31 DAY"));
    }

    // The dashboard of a superior shows the line, anybody else's does not;
    // a click asks for the subordinate list.
    void dashboardLine_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("line"); // empty: hidden
        QTest::newRow("superior") << kKabid
                                  << "Aktivitas bawahan menunggu verifikasi: 1  \u00B7  menunggu validasi: 0  \u00B7  "
                                     "disetujui sistem dalam sehari: 1   \u203A Data Bawahan";
        QTest::newRow("executor") << kPelaksana << "";
    }

    void dashboardLine()
    {
        QFETCH(QString, nip);
        QFETCH(QString, line);
        QVERIFY(insert({{1, "CURDATE() - INTERVAL 6 DAY", "CURDATE() - INTERVAL 5 DAY"}}));
        FakeContext ctx(kSchema);
        ProfilPage profil(ctx);
        DashboardPage page(ctx, profil);
        QVERIFY(ctx.actAs(nip, QStringLiteral("-")));
        page.dxTarvesaItems0Click();
        QVERIFY(ctx.msgs.log.isEmpty());
        QCOMPARE(!page.btDsBawahanMenunggu->isHidden(), !line.isEmpty());
        if (line.isEmpty())
            return;
        QCOMPARE(page.btDsBawahanMenunggu->text(), line);
        page.btDsBawahanMenunggu->ensurePolished();
        QVERIFY(page.btDsBawahanMenunggu->font().bold()); // one is approved by the system tonight
        QSignalSpy open(&page, &DashboardPage::subordinatesRequested);
        page.btDsBawahanMenunggu->click();
        QCOMPARE(open.count(), 1);

        // "Refresh progress" counts again: the subordinate's work was
        // verified meanwhile.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE aktivitas SET status = 'accepted', tanggal_status = NOW()"));
        page.SpeedButton23->click();
        QVERIFY(ctx.msgs.log.isEmpty());
        QVERIFY(!page.btDsBawahanMenunggu->isHidden());
        QCOMPARE(page.btDsBawahanMenunggu->text(),
                 QStringLiteral("Aktivitas bawahan menunggu verifikasi: 0  \u00B7  menunggu validasi: 0  \u00B7  "
                                "disetujui sistem dalam sehari: 0   \u203A Data Bawahan"));
    }

    void dashboardLineFailureIsReported()
    {
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_bawahan_menunggu"));
        FakeContext ctx(kSchema);
        ProfilPage profil(ctx);
        DashboardPage page(ctx, profil);
        QVERIFY(ctx.actAs(kKabid, QStringLiteral("Kabid Dua")));
        page.dxTarvesaItems0Click();
        QCOMPARE(ctx.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMengambil)});
        QVERIFY(page.btDsBawahanMenunggu->isHidden());
        // The profile itself loaded and the dashboard shows.
        QCOMPARE(ctx.activePage(), static_cast<QWidget*>(&page));
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")}));
    }
};

QTEST_MAIN(TestReview)
#include "test_review.moc"
