// The server's rules for own activities, called the way the client calls
// them (and the way a client that skips its own checks would).
#include "db/query.h"
#include "db/resultset.h"
#include "orgfixture.h"
#include "testdb.h"
#include "testhost.h"

#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_activity_rules");
const QString kAll = QStringLiteral("x,accepted,rejected,0,accepted_by_system,accepted_by_spv,rejected_by_spv");
const QString kAllTypes = QStringLiteral("x,Utama,Tambahan,Lainnya");

QString day(int offset)
{
    return testdb::rootValue(kSchema, QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

QString count(const QString& where)
{
    return testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM aktivitas WHERE ") + where);
}

// Runs one statement as the application, logged in as the given NIP (or
// anonymous); the cells of every row, or "failed" when the server refused.
QStringList call(const QString& sql, const db::Params& params, const QString& as = QString())
{
    TestHost host(testdb::appSettings(kSchema), as);
    QStringList out;
    if (!Envelope(host).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(sql, params);
            for (int r = 0; r < rs.recordCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs.columnCount(); ++c)
                    cells << rs.text(r, c);
                out << cells.join('|');
            }
        }))
        return {QStringLiteral("failed")};
    return out;
}

QStringList list(const QString& from, const QString& to, const QString& types, const QString& statuses,
                 const QString& fragment, const QString& nip = kPelaksana)
{
    QStringList ids;
    for (const QString& row : call(QStringLiteral("CALL kinerja_aktivitas_tampil_data(:var_nip, :var_tanggal_awal, "
                                                  ":var_tanggal_akhir, :var_jenis_jabatan, :var_status, "
                                                  ":var_aktivitas, :var_nip_atasan2)"),
                                   {{"var_nip", nip},
                                    {"var_tanggal_awal", from},
                                    {"var_tanggal_akhir", to},
                                    {"var_jenis_jabatan", types},
                                    {"var_status", statuses},
                                    {"var_aktivitas", fragment},
                                    {"var_nip_atasan2", ""}},
                                   nip))
        ids << row.section('|', 0, 0);
    return ids;
}

struct Insert {
    QString nip = kPelaksana;
    QString kode = QStringLiteral("3");
    QString deskripsi = QStringLiteral("Mengagendakan surat masuk hari ini");
    QString volume = QStringLiteral("1");
    QString tanggal;
    QString jenis = QStringLiteral("Utama");
    QString skr = QStringLiteral("10");
};

bool insert(const Insert& a)
{
    TestHost host(testdb::appSettings(kSchema), a.nip);
    return Envelope(host).run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL kinerja_aktivitas_insert(:var_nip, :var_aktivitas, :var_sasaran, :var_deskripsi, "
                              ":var_volume, :var_tanggal_aktivitas, :var_status, :var_kode_jabatan, "
                              ":var_jenis_jabatan, :var_skr, :var_satuan, :var_atasan1, :var_atasan2)"),
               {{"var_nip", a.nip},
                {"var_aktivitas", a.kode},
                {"var_sasaran", "0"},
                {"var_deskripsi", a.deskripsi},
                {"var_volume", a.volume},
                {"var_tanggal_aktivitas", a.tanggal.isEmpty() ? day(0) + " 10:11:12" : a.tanggal},
                {"var_status", "accepted"},
                {"var_kode_jabatan", "whatever"},
                {"var_jenis_jabatan", a.jenis},
                {"var_skr", a.skr},
                {"var_satuan", "Lusin"},
                {"var_atasan1", "111111111111111111"},
                {"var_atasan2", "222222222222222222"}});
    });
}

// Changes and deletions as the owner of the fixture's activities.
bool change(const QString& id, const QString& deskripsi, const QString& volume)
{
    TestHost host(testdb::appSettings(kSchema), kPelaksana);
    return Envelope(host).run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL kinerja_aktivitas_update(:var_deskripsi, :var_volume, :var_id)"),
               {{"var_deskripsi", deskripsi}, {"var_volume", volume}, {"var_id", id}});
    });
}

bool remove(const QString& id)
{
    TestHost host(testdb::appSettings(kSchema), kPelaksana);
    return Envelope(host).run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL kinerja_aktivitas_hapus(:var_id)"), {{"var_id", id}});
    });
}

} // namespace

class TestActivityRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    void listFilters_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("types");
        QTest::addColumn<QString>("statuses");
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("everything, newest first")
            << -30 << 0 << kAllTypes << kAll << "" << QStringList{"205", "202", "201", "203", "204"};
        QTest::newRow("one day, both ends included") << -1 << -1 << kAllTypes << kAll << "" << QStringList{"205", "202"};
        QTest::newRow("no type ticked") << -30 << 0 << "x" << kAll << "" << QStringList{};
        QTest::newRow("no status ticked") << -30 << 0 << kAllTypes << "x" << "" << QStringList{};
        QTest::newRow("rejected only") << -30 << 0 << kAllTypes << "x,rejected" << "" << QStringList{"202"};
        QTest::newRow("unverified additional") << -30 << 0 << "x,Tambahan" << "x,0" << "" << QStringList{"205"};
        QTest::newRow("task fragment, any case") << -30 << 0 << kAllTypes << kAll << "AGENDA"
                                                 << QStringList{"201", "203", "204"};
        QTest::newRow("wildcard is literal") << -30 << 0 << kAllTypes << kAll << "%" << QStringList{};
        QTest::newRow("sql in the fragment") << -30 << 0 << kAllTypes << kAll << "' OR '1'='1" << QStringList{};
        QTest::newRow("start after end") << 0 << -30 << kAllTypes << kAll << "" << QStringList{};
    }

    void listFilters()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, types);
        QFETCH(QString, statuses);
        QFETCH(QString, fragment);
        QFETCH(QStringList, ids);
        QCOMPARE(list(day(from) + " 00:00:00", day(to) + " 00:00:00", types, statuses, fragment), ids);
    }

    void listColumnsAndDateForms()
    {
        const QStringList rows =
            call(QStringLiteral("CALL kinerja_aktivitas_tampil_data(:a, :b, :c, :d, :e, :f, :g)"),
                 {{"a", kPelaksana}, {"b", day(-1)}, {"c", day(-1)}, {"d", kAllTypes}, {"e", "x,rejected"},
                  {"f", ""}, {"g", ""}},
                 kPelaksana);
        QCOMPARE(rows.size(), 1);
        const QStringList cells = rows.first().split('|');
        QCOMPARE(cells.mid(0, 9), (QStringList{"202", "Lainnya", "Mengikuti pelatihan teknis",
                                                "Pelatihan teknis yang ditolak atasan", "1", "Kegiatan", "400",
                                                "Ditolak Atasan", day(-1)}));
        QCOMPARE(cells[9], day(-1) + " 09:00:00");
        QCOMPARE(cells[10], day(-1) + " 15:00:00");
        QCOMPARE(cells[11], QString());
    }

    void minutesLeftToday_data()
    {
        QTest::addColumn<QString>("rows"); // bobot x volume, status
        QTest::addColumn<QString>("left");
        QTest::newRow("nothing today") << "" << "480";
        QTest::newRow("some") << "(60, 2, '0')" << "360";
        QTest::newRow("rejected do not count") << "(60, 2, '0'), (100, 1, 'rejected'), (50, 1, 'rejected_by_spv')"
                                               << "360";
        QTest::newRow("above the maximum counts it once") << "(400, 1, 'accepted'), (60, 1, '0')" << "120";
        QTest::newRow("exactly full") << "(240, 2, '0')" << "0";
        QTest::newRow("over full") << "(240, 2, '0'), (30, 1, '0')" << "0";
    }

    void minutesLeftToday()
    {
        QFETCH(QString, rows);
        QFETCH(QString, left);
        if (!rows.isEmpty())
            QVERIFY(testdb::rootExec(
                kSchema, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, deskripsi, bobot_skr, volume, "
                         "status, satuan, tanggal_aktivitas, tanggal_input, nip_atasan1) SELECT '" + kAnalis +
                             "', 'Utama', 5, 'x', b, v, s, 'Dokumen', CURDATE() + INTERVAL 8 HOUR, NOW(), '" + kKabid +
                             "' FROM (SELECT 0 b, 0 v, '' s UNION ALL VALUES " + rows + ") t WHERE s <> ''"));
        QCOMPARE(call("CALL kinerja_aktivitas_skr_hari_ini(:var_nip)", {{"var_nip", kAnalis}}, kAnalis).first().section('|', 1),
                 left);
    }

    void dayMinutes_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("rows"); // bobot x volume, status, days back
        QTest::addColumn<QString>("answer");
        const QString today = day(0);
        QTest::newRow("nothing that day") << kAnalis << kAnalis << today << "" << "0|480";
        QTest::newRow("standard minutes x volume") << kAnalis << kAnalis << today << "(60, 2, '0', 0), (30, 1, 'accepted', 0)"
                                                   << "150|480";
        QTest::newRow("rejected do not count")
            << kAnalis << kAnalis << today << "(60, 2, '0', 0), (100, 1, 'rejected', 0), (50, 1, 'rejected_by_spv', 0)"
            << "120|480";
        QTest::newRow("above the maximum counts it once")
            << kAnalis << kAnalis << today << "(400, 2, 'accepted_by_system', 0), (60, 1, '0', 0)" << "360|480";
        QTest::newRow("other days do not count")
            << kAnalis << kAnalis << today << "(60, 1, '0', 1), (60, 1, '0', -1), (90, 1, '0', 0)" << "90|480";
        QTest::newRow("a day back, with a time") << kAnalis << kAnalis << day(-1) + " 23:59:59"
                                                 << "(60, 1, '0', 1), (90, 1, '0', 0)" << "300|480"; // with the fixture's 240
        QTest::newRow("full day") << kAnalis << kAnalis << today << "(240, 2, '0', 0)" << "480|480";
        QTest::newRow("another person's NIP") << kAnalis << kPelaksana << today << "" << "failed";
        QTest::newRow("the superior asking") << kKabid << kAnalis << today << "(60, 1, '0', 0)" << "failed";
        QTest::newRow("anonymous") << "" << kAnalis << today << "" << "failed";
        QTest::newRow("not a date") << kAnalis << kAnalis << "kemarin" << "" << "failed";
        QTest::newRow("impossible day") << kAnalis << kAnalis << "2026-02-30" << "" << "failed";
        QTest::newRow("sql in the NIP") << kAnalis << kAnalis + "' OR '1'='1" << today << "" << "failed";
    }

    void dayMinutes()
    {
        QFETCH(QString, caller);
        QFETCH(QString, nip);
        QFETCH(QString, date);
        QFETCH(QString, rows);
        QFETCH(QString, answer);
        if (!rows.isEmpty())
            QVERIFY(testdb::rootExec(
                kSchema, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, deskripsi, bobot_skr, volume, "
                         "status, satuan, tanggal_aktivitas, tanggal_input, nip_atasan1) SELECT '" + kAnalis +
                             "', 'Utama', 5, 'x', b, v, s, 'Dokumen', CURDATE() - INTERVAL d DAY + INTERVAL 8 HOUR, "
                             "NOW(), '" + kKabid + "' FROM (SELECT 0 b, 0 v, '' s, 0 d UNION ALL VALUES " + rows +
                             ") t WHERE s <> ''"));
        QCOMPARE(call("CALL kinerja_aktivitas_menit_hari(:var_nip, :var_tanggal)",
                      {{"var_nip", nip}, {"var_tanggal", date}}, caller),
                 QStringList{answer});
    }

    void dayMinutesAgreeWithTheRefusal()
    {
        // What the user is shown is what the next insert is held against:
        // 470 minutes leave room for one more activity of 10, not 11.
        QVERIFY(testdb::rootExec(
            kSchema, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, deskripsi, bobot_skr, volume, status, "
                     "satuan, tanggal_aktivitas, tanggal_input, nip_atasan1) VALUES "
                     "('" + kPelaksana + "', 'Lainnya', 2, 'x', 400, 1, '0', 'Kegiatan', CURDATE() + INTERVAL 7 HOUR, "
                     "NOW(), '" + kKabid + "'), "
                     "('" + kPelaksana + "', 'Utama', 3, 'x', 10, 17, 'accepted', 'Surat', CURDATE() + INTERVAL 8 HOUR, "
                     "NOW(), '" + kKabid + "')"));
        const auto minutes = [] {
            return call("CALL kinerja_aktivitas_menit_hari(:var_nip, :var_tanggal)",
                        {{"var_nip", kPelaksana}, {"var_tanggal", day(0)}}, kPelaksana);
        };
        QCOMPARE(minutes(), QStringList{"470|480"});
        Insert more;
        more.volume = QStringLiteral("2"); // 20 minutes: over
        QVERIFY(!insert(more));
        more.volume = QStringLiteral("1");
        QVERIFY(insert(more));
        QCOMPARE(minutes(), QStringList{"480|480"});
        QVERIFY(!insert(more));
        QCOMPARE(call("CALL kinerja_aktivitas_skr_hari_ini(:var_nip)", {{"var_nip", kPelaksana}}, kPelaksana),
                 QStringList{"480|0"});
    }

    void inputWindow_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("answer");
        QTest::newRow("today") << day(0) << "5|0|T";
        QTest::newRow("five days back") << day(-5) << "5|5|T";
        QTest::newRow("six days back") << day(-6) << "5|6|F";
        QTest::newRow("tomorrow") << day(1) << "5|-1|F";
        QTest::newRow("with time") << day(-1) + " 13:14:15" << "5|1|T";
        QTest::newRow("not a date") << "kemarin" << "5||F";
        QTest::newRow("impossible day") << "2026-02-30" << "5||F";
    }

    void inputWindow()
    {
        QFETCH(QString, date);
        QFETCH(QString, answer);
        QCOMPARE(call("CALL kinerja_cek_waktu_input_aktivitas(:d)", {{"d", date}}), QStringList{answer});
    }

    void inputWindowFollowsTheSettings()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET tanggal_akhir = CURDATE() - INTERVAL 1 DAY "
                                          "WHERE nama = 'aktivitas_harian'"));
        QCOMPARE(call("CALL kinerja_cek_waktu_input_aktivitas(:d)", {{"d", day(0)}}), QStringList{"5|0|F"});
        QCOMPARE(call("CALL kinerja_cek_waktu_input_aktivitas(:d)", {{"d", day(-1)}}), QStringList{"5|1|T"});
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' "
                                          "WHERE nama = 'aktivitas_input_day_max'"));
        QCOMPARE(call("CALL kinerja_cek_waktu_input_aktivitas(:d)", {{"d", day(-2)}}), QStringList{"1|2|F"});
    }

    void verificationWindow()
    {
        QCOMPARE(call("CALL kinerja_cek_waktu_verifikasi(:d)", {{"d", day(-5)}}), QStringList{"5|5|T"});
        QCOMPARE(call("CALL kinerja_cek_waktu_verifikasi(:d)", {{"d", day(-6) + " 09:00:00"}}), QStringList{"5|6|F"});
        QCOMPARE(call("CALL kinerja_cek_waktu_verifikasi(:d)", {{"d", "Tgl. Aktivitas"}}), QStringList{"5||F"});
    }

    void superiors_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("expected");
        QTest::newRow("executor") << kPelaksana << kKabid + "|" + kKepala;
        QTest::newRow("under an acting official") << kPengelola << kPlt + "|" + kKabid;
        QTest::newRow("side-assigned teacher") << kGuru << kKabid + "|" + kKepala;
        QTest::newRow("administrator") << kKabid << kKepala + "|";
        QTest::newRow("head has none") << kKepala << "";
        // nobody can log in as an unknown NIP, and nobody asks for another's
        QTest::newRow("unknown") << "123" << "failed";
    }

    void superiors()
    {
        QFETCH(QString, nip);
        QFETCH(QString, expected);
        const QStringList rows = call("CALL kinerja_atasan_nip_get(:var_nip)", {{"var_nip", nip}}, nip);
        QCOMPARE(rows.isEmpty() ? QString() : rows.first().section('|', 0, 1), expected);
    }

    void delegationMovesTheSuperior()
    {
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO delegasi (nip, induk_id, unit_id, date_start, created_by) "
                                          "VALUES ('" + kAnalis + "', 'U1', 'U1B', NOW() - INTERVAL 1 DAY, 'x')"));
        QCOMPARE(call("CALL kinerja_atasan_nip_get(:v)", {{"v", kAnalis}}, kAnalis).first().section('|', 0, 1),
                 kPlt + "|" + kKabid);
    }

    void insertRules_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("kode");
        QTest::addColumn<QString>("jenis");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("deskripsi");
        QTest::addColumn<int>("daysBack");
        QTest::addColumn<bool>("saved");
        const QString ok = QStringLiteral("Dua puluh karakter!!");
        QTest::newRow("own detail") << kPelaksana << "3" << "Utama" << "1" << ok << 0 << true;
        QTest::newRow("19 characters") << kPelaksana << "3" << "Utama" << "1" << ok.left(19) << 0 << false;
        QTest::newRow("20 with emoji") << kPelaksana << "3" << "Utama" << "1" << "😀" + ok.left(19) << 0 << true;
        // blanks, tabs and line breaks at either end do not count
        QTest::newRow("blanks only") << kPelaksana << "3" << "Utama" << "1" << QString(25, ' ') << 0 << false;
        QTest::newRow("19 characters in blanks")
            << kPelaksana << "3" << "Utama" << "1" << "  \t" + ok.left(19) + "\n   " << 0 << false;
        QTest::newRow("20 characters in blanks") << kPelaksana << "3" << "Utama" << "1" << "   " + ok + "\n" << 0
                                                 << true;
        QTest::newRow("unknown detail") << kPelaksana << "999" << "Utama" << "1" << ok << 0 << false;
        QTest::newRow("not a key") << kPelaksana << "3 OR 1=1" << "Utama" << "1" << ok << 0 << false;
        QTest::newRow("other kind's detail") << kPelaksana << "3" << "Lainnya" << "1" << ok << 0 << false;
        QTest::newRow("managerial for an executor") << kPelaksana << "1" << "Utama" << "1" << ok << 0 << false;
        QTest::newRow("managerial for a structural") << kKabid << "1" << "Utama" << "1" << ok << 0 << true;
        QTest::newRow("managerial for an acting official") << kPlt << "1" << "Utama" << "1" << ok << 0 << true;
        QTest::newRow("additional task detail") << kPelaksana << "4" << "Tambahan" << "1" << ok << 0 << true;
        QTest::newRow("additional without the task") << kAnalis << "4" << "Tambahan" << "1" << ok << 0 << false;
        QTest::newRow("unknown type") << kPelaksana << "3" << "Ekstra" << "1" << ok << 0 << false;
        QTest::newRow("2 x 240") << kAnalis << "5" << "Utama" << "2" << ok << 0 << true;
        QTest::newRow("2 x 241") << kAnalis << "6" << "Utama" << "2" << ok << 0 << false;
        QTest::newRow("1 x 600") << kAnalis << "7" << "Lainnya" << "1" << ok << 0 << true;
        QTest::newRow("volume 0") << kAnalis << "7" << "Lainnya" << "0" << ok << 0 << false;
        QTest::newRow("volume 00") << kAnalis << "3" << "Utama" << "00" << ok << 0 << false;
        QTest::newRow("volume text") << kAnalis << "5" << "Utama" << "satu" << ok << 0 << false;
        QTest::newRow("volume empty") << kAnalis << "5" << "Utama" << "" << ok << 0 << false;
        QTest::newRow("volume huge") << kAnalis << "3" << "Utama" << "99999999999" << ok << 0 << false;
        QTest::newRow("five days back") << kPelaksana << "3" << "Utama" << "1" << ok << 5 << true;
        QTest::newRow("six days back") << kPelaksana << "3" << "Utama" << "1" << ok << 6 << false;
        QTest::newRow("tomorrow") << kPelaksana << "3" << "Utama" << "1" << ok << -1 << false;
        QTest::newRow("no superior") << kKepala << "1" << "Utama" << "1" << ok << 0 << false;
        QTest::newRow("unknown person") << "199999999999999999" << "3" << "Utama" << "1" << ok << 0 << false;
    }

    void insertRules()
    {
        QFETCH(QString, nip);
        QFETCH(QString, kode);
        QFETCH(QString, jenis);
        QFETCH(QString, volume);
        QFETCH(QString, deskripsi);
        QFETCH(int, daysBack);
        QFETCH(bool, saved);
        Insert a;
        a.nip = nip;
        a.kode = kode;
        a.jenis = jenis;
        a.volume = volume;
        a.deskripsi = deskripsi;
        a.tanggal = day(-daysBack) + " 08:30:00";
        const QString before = count("1=1");
        QCOMPARE(insert(a), saved);
        QCOMPARE(count("1=1").toInt(), before.toInt() + (saved ? 1 : 0));
    }

    void insertStoresTheServersFacts()
    {
        Insert a;
        a.skr = QStringLiteral("1"); // the client's figure does not count
        const QString text = QStringLiteral("Kutip 'tunggal' \"ganda\" \\ garis\nbaru\r\nemoji 😀 ") + QString(1900, 'x');
        a.deskripsi = text;
        QVERIFY(insert(a));
        const QList<QStringList> rows = testdb::rootQuery(
            kSchema, "SELECT bobot_skr, satuan, status, nip_atasan1, nip_atasan2, kode_jabatan, "
                     "DATE_FORMAT(tanggal_aktivitas, '%H:%i:%s'), HEX(deskripsi) FROM aktivitas ORDER BY id DESC LIMIT 1");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].mid(0, 7), (QStringList{"10", "Surat", "0", kKabid, kKepala, "JP01", "10:11:12"}));
        QCOMPARE(rows[0][7], QString::fromLatin1(text.toUtf8().toHex().toUpper()));
        QCOMPARE(testdb::rootValue(kSchema, "SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'Aktivitas Harian Input'"),
                 QStringLiteral("1"));
    }

    void dayFullRefusesInserts()
    {
        Insert big;
        big.nip = kAnalis;
        big.kode = QStringLiteral("5");
        big.volume = QStringLiteral("2"); // 480 minutes
        QVERIFY(insert(big));
        Insert more = big;
        more.volume = QStringLiteral("1");
        QVERIFY(!insert(more));
    }

    void changeAndDeleteRules_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("unverified") << "201" << true;
        QTest::newRow("rejected") << "202" << false;
        QTest::newRow("accepted") << "203" << false;
        QTest::newRow("outside the window") << "204" << false;
        QTest::newRow("missing") << "999" << false;
        QTest::newRow("not a key") << "201 OR 1=1" << false;
    }

    void changeAndDeleteRules()
    {
        QFETCH(QString, id);
        QFETCH(bool, allowed);
        QCOMPARE(change(id, QStringLiteral("Deskripsi baru yang cukup panjang"), QStringLiteral("3")), allowed);
        if (allowed)
            QCOMPARE(count("id = 201 AND volume = 3 AND deskripsi = 'Deskripsi baru yang cukup panjang'"), "1");
        QCOMPARE(remove(id), allowed);
        QCOMPARE(count("id IN (201, 202, 203, 204)"), allowed ? "3" : "4");
    }

    void changeKeepsTheDayRule()
    {
        const QString text = QStringLiteral("Deskripsi yang diubah cukup panjang");
        QVERIFY(change(QStringLiteral("201"), text, QStringLiteral("48")));                   // 10 x 48 = 480
        QVERIFY(!change(QStringLiteral("201"), text, QStringLiteral("49")));                  // 490
        QVERIFY(!change(QStringLiteral("201"), QString(), QStringLiteral("1")));              // empty description
        QVERIFY(!change(QStringLiteral("201"), QString(30, ' '), QStringLiteral("1")));       // blanks only
        QVERIFY(!change(QStringLiteral("201"), QStringLiteral(" Terlalu pendek "), QStringLiteral("1"))); // 14
        QVERIFY(!change(QStringLiteral("201"), text, QString()));                             // empty volume
        QVERIFY(!change(QStringLiteral("201"), text, QStringLiteral("0")));                   // no volume
        QCOMPARE(count("id = 201 AND volume = 48"), "1");
    }

    void maintenanceRefusesEveryWrite()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        const QString before = testdb::rootValue(kSchema, "SELECT GROUP_CONCAT(CONCAT(id, volume, deskripsi)) FROM aktivitas");
        QVERIFY(!insert(Insert{}));
        QVERIFY(!change(QStringLiteral("201"), QStringLiteral("Perubahan saat maintenance"), QStringLiteral("2")));
        QVERIFY(!remove(QStringLiteral("201")));
        QCOMPARE(testdb::rootValue(kSchema, "SELECT GROUP_CONCAT(CONCAT(id, volume, deskripsi)) FROM aktivitas"), before);
        // Any value but "0" is on.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '' WHERE nama = 'is_maintenance'"));
        QVERIFY(!remove(QStringLiteral("201")));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '0' WHERE nama = 'is_maintenance'"));
        QVERIFY(remove(QStringLiteral("201")));
    }

    void detailsById()
    {
        const QStringList rows = call("CALL kinerja_aktivitas_tampil_data_by_id(:var_id)", {{"var_id", "205"}}, kPelaksana);
        QCOMPARE(rows.size(), 1);
        const QStringList c = rows.first().split('|');
        QCOMPARE(c[0], QStringLiteral("205"));
        QCOMPARE(c[4], QStringLiteral("Mengelola arsip untuk tugas tambahan"));
        QCOMPARE(c[5], QStringLiteral("1"));
        QCOMPARE(c[6], QStringLiteral("Berkas"));
        QCOMPARE(c[20], QStringLiteral("Mengelola arsip aktif"));
        QCOMPARE(call("CALL kinerja_aktivitas_tampil_data_by_id(:var_id)", {{"var_id", "999"}}, kPelaksana), QStringList{});
        QCOMPARE(call("CALL kinerja_aktivitas_status_verifikasi_cek(:var_id)", {{"var_id", "202"}}, kPelaksana),
                 QStringList{"rejected"});
    }

    void dictionarySearch()
    {
        QCOMPARE(call("CALL kinerja_rincian_tugas_cari(:k, :n)", {{"k", "300000"}, {"n", ""}}),
                 (QStringList{"7|Mengikuti apel pagi|Kegiatan|600 (diakui 300)|Aktivitas Umum|600",
                              "2|Mengikuti pelatihan teknis|Kegiatan|400 (diakui 300)|Aktivitas Umum|400"}));
        QCOMPARE(call("CALL kinerja_rincian_tugas_cari(:k, :n)", {{"k", "JF01"}, {"n", "beban"}}),
                 (QStringList{"6|Menyusun analisis beban kerja|Dokumen|241|Analis Uji Ahli Muda|241"}));
        QCOMPARE(call("CALL kinerja_rincian_tugas_cari(:k, :n)", {{"k", "JF01"}, {"n", "' OR 1=1 -- "}}),
                 QStringList{});
        QCOMPARE(call("CALL kinerja_rincian_tugas_cari_tambahan(:v, :n)", {{"v", kPelaksana}, {"n", ""}}, kPelaksana),
                 (QStringList{"4|Mengelola arsip aktif|Berkas|30|Pengelola Uji|30"}));
        QCOMPARE(call("CALL kinerja_rincian_tugas_cari_tambahan(:v, :n)", {{"v", kAnalis}, {"n", ""}}, kAnalis),
                 QStringList{});
        QCOMPARE(call("CALL kinerja_get_kodejab_kinerja(:k)", {{"k", "J4"}}),
                 QStringList{"JF01|Analis Uji Ahli Muda"});
        QCOMPARE(call("CALL kinerja_get_kodejab_kinerja(:k)", {{"k", "J2"}}), QStringList{"|Kepala Bidang Satu"});
    }
};

QTEST_GUILESS_MAIN(TestActivityRules)
#include "test_activity_rules.moc"
