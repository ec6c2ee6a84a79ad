// Log monitoring: which entries each box of the page lists, that every
// writer uses the names the boxes expect, who may read the log, and that a
// large log is read by index ranges, not scanned (bench/bench_log.cpp
// measures the same at a million entries).
#include "admin/logpage.h"
#include "shell/pageheader.h"
#include "caller.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "testconfig.h"
#include "ui/stringgrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <map>

Q_DECLARE_METATYPE(db::Params)

namespace {

const QString kSchema = QStringLiteral("t_log");
const QString kShow = QStringLiteral("CALL kinerja_log_show(:awal, :akhir, :jenis)");
constexpr int kColWaktu = 1;
constexpr int kColAksi = 4;
constexpr int kColKeterangan = 5;

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QDate serverToday()
{
    return QDate::fromString(root("SELECT CURDATE()"), Qt::ISODate);
}

// Log rows of today as root: "aksi|keterangan" at successive minutes.
bool logToday(const QStringList& rows)
{
    QStringList values;
    for (int i = 0; i < rows.size(); ++i)
        values << QStringLiteral("('%1', '%2', '%3', CURDATE() + INTERVAL %4 MINUTE, '%5')")
                      .arg(kPelaksana, rows[i].section('|', 0, 0), rows[i].section('|', 1), QString::number(60 + i),
                           kKabid);
    return testdb::rootExec(kSchema, "INSERT INTO kinerja_log_proses (nip, aksi, keterangan, tanggal_aksi, target) "
                                     "VALUES " +
                                         values.join(',') + ";");
}

// One entry of every action the writers use, a few that no box lists, and
// entries of yesterday and tomorrow.
const QStringList kEveryAction{
    "LogIn|Sukses LogIn",           "LogIn|Gagal LogIn",
    "Gagal LogIn|Akun terkunci",    "Aktivitas Harian Input|Input aktivitas 1",
    "Aktivitas Harian Ubah|Ubah aktivitas 1", "Aktivitas Harian Hapus|Hapus aktivitas 1",
    "Kamus - Tambah|Rincian 1",     "Kamus - Ubah|Rincian 2",
    "Kamus - Hapus|Rincian 3",      "Verifikasi - Approve|Aktivitas 1",
    "Verifikasi - Sistem|Aktivitas 2", "Verifikasi - Reject|Aktivitas 3",
    "Validasi OK|Aktivitas 1",      "Setting Update|app_kinerja",
    "PLT - Tambah|Plt 1",           "PLT - Ubah|Plt 1",
    "User - Update|Level",          "Informasi - Ubah|Tambah informasi 1",
    "JF Atas Bawah - Ubah|JF01",    "User|Reset Akun",
};
const QStringList kNoBox{"User|Lainnya", "Kualitas Mutu - Input|Periode", "Aktivitas Harian|Input aktivitas 9"};

// Every box of the page by object name.
QList<QCheckBox*> boxes(LogPage& page)
{
    return page.findChildren<QCheckBox*>();
}

// The administrator at the log page, the dates set to the server's today.
struct Admin {
    explicit Admin(const QString& nip = kKepala)
        : ctx(kSchema, QDateTime(serverToday(), QTime(10, 0))), page(ctx)
    {
        QVERIFY(ctx.actAs(nip, QStringLiteral("Kepala Satu"), QStringLiteral("Admin System")));
    }
    // Ticks exactly the named boxes (all when "*") and shows the log.
    void show(const QStringList& ticked)
    {
        for (QCheckBox* c : boxes(page))
            c->setChecked(ticked == QStringList{"*"} || ticked.contains(c->objectName()));
        QTest::mouseClick(page.xLogSearch, Qt::LeftButton);
    }
    // "aksi|keterangan" of the listed rows, in the grid's order.
    QStringList listed() const
    {
        QStringList out;
        for (int r = 1; r < page.sg_log->rowCount(); ++r)
            out << page.sg_log->cell(r, kColAksi) + '|' + page.sg_log->cell(r, kColKeterangan);
        return out;
    }
    FakeContext ctx;
    LogPage page;
};

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

std::map<QString, qint64> handlerReads(db::Query& q)
{
    std::map<QString, qint64> out;
    const db::ResultSet rs = q.open(QStringLiteral("SHOW SESSION STATUS LIKE 'Handler_read%'"));
    for (int r = 0; r < rs.recordCount(); ++r)
        out[rs.text(r, 0)] = rs.text(r, 1).toLongLong();
    return out;
}

} // namespace

class TestLog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")}));
        QFile f(QStringLiteral(TARVESA_SOURCE_DIR "/tests/fixtures/activities.sql"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        activities_ = QString::fromUtf8(f.readAll());
    }

    // The fixture's activities and an empty log before every test.
    void init()
    {
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM aktivitas; DELETE FROM kinerja_log_proses; "
                                          "DELETE FROM informasi; DELETE FROM kinerja_login_gagal;\n" +
                                              activities_));
    }

    void pageStartsAsDesigned()
    {
        Admin a;
        QCOMPARE(a.page.kindList(), QStringLiteral("x,akt_input,akt_ubah,kamus_tambah,kamus_ubah"));
        QCOMPARE(boxes(a.page).size(), 18);
        QCOMPARE(a.page.dtLogStart->date(), serverToday());
        QCOMPARE(a.page.dtLogEnd->date(), serverToday());
        a.page.header()->setHeaderHeight(40);
        a.page.dxAdminItems2Click();
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&a.page));
        QCOMPARE(a.page.header()->caption(), QStringLiteral("Halaman Monitoring LOG"));
        QCOMPARE(a.page.header()->startColor(), a.ctx.headerLook().from);
        QCOMPARE(a.page.header()->headerHeight(), 40); // left as it was
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    // Each box lists exactly the entries of its kind.
    void eachBoxListsItsKind_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("rows");
        const QStringList& e = kEveryAction;
        QTest::newRow("Login") << "cbLog1" << QStringList{e[0], e[1], e[2]};
        QTest::newRow("Aktivitas Harian Input") << "cbLog2" << QStringList{e[3]};
        QTest::newRow("Aktivitas Harian Ubah") << "cbLog3" << QStringList{e[4]};
        QTest::newRow("Aktivitas Harian Hapus") << "cbLog4" << QStringList{e[5]};
        QTest::newRow("Kamus - Tambah") << "CheckBox14" << QStringList{e[6]};
        QTest::newRow("Kamus - Ubah") << "CheckBox15" << QStringList{e[7]};
        QTest::newRow("Kamus - Hapus") << "CheckBox13" << QStringList{e[8]};
        QTest::newRow("Verifikasi - Approve") << "cbLog5" << QStringList{e[9], e[10]};
        QTest::newRow("Verifikasi - Reject") << "cbLog6" << QStringList{e[11]};
        QTest::newRow("Validasi OK") << "cbLog7" << QStringList{e[12]};
        QTest::newRow("Setting Update") << "CheckBox1" << QStringList{e[13]};
        QTest::newRow("PLT - Tambah") << "CheckBox2" << QStringList{e[14]};
        QTest::newRow("PLT - Ubah") << "CheckBox3" << QStringList{e[15]};
        QTest::newRow("User - Update") << "CheckBox4" << QStringList{e[16]};
        QTest::newRow("Informasi - Ubah") << "CheckBox11" << QStringList{e[17]};
        QTest::newRow("JF Atas Bawah - Ubah") << "CheckBox12" << QStringList{e[18]};
        QTest::newRow("Reset Akun User") << "CheckBox16" << QStringList{e[19]};
    }

    void eachBoxListsItsKind()
    {
        QFETCH(QString, box);
        QFETCH(QStringList, rows);
        QVERIFY(logToday(kEveryAction + kNoBox));
        Admin a;
        a.show({box});
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QCOMPARE(sorted(a.listed()), sorted(rows));
        QCOMPARE(a.page.lbLogCount->text(), "Jumlah Data : " + QString::number(rows.size()));
    }

    void everyBoxListsNewestFirst()
    {
        QVERIFY(logToday(kEveryAction + kNoBox));
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO kinerja_log_proses (nip, aksi, keterangan, tanggal_aksi) VALUES "
                                          "('" + kPelaksana + "', 'LogIn', 'Kemarin', CURDATE() - INTERVAL 1 SECOND), "
                                          "('" + kPelaksana + "', 'LogIn', 'Besok', CURDATE() + INTERVAL 1 DAY), "
                                          "('000000000000000000', 'LogIn', 'Gagal LogIn', CURDATE() + INTERVAL 30 MINUTE);"));
        Admin a;
        a.show({"*"});
        QStringList newestFirst = kEveryAction;
        std::reverse(newestFirst.begin(), newestFirst.end());
        newestFirst << "LogIn|Gagal LogIn"; // at 00:30, before all others
        QCOMPARE(a.listed(), newestFirst);
        QCOMPARE(a.page.lbLogCount->text(), "Jumlah Data : " + QString::number(newestFirst.size()));
        StringGrid* g = a.page.sg_log;
        QCOMPARE(g->colCount(), 7);
        QCOMPARE(g->cell(1, kColWaktu), serverToday().toString(Qt::ISODate) + " 01:19:00");
        QCOMPARE(g->cell(1, 2), kPelaksana);
        QCOMPARE(g->cell(1, 3), QStringLiteral("Pelaksana Empat"));
        QCOMPARE(g->cell(1, 6), kKabid);
        // a NIP without personnel data: no name
        QCOMPARE(g->cell(g->rowCount() - 1, 2), QStringLiteral("000000000000000000"));
        QCOMPARE(g->cell(g->rowCount() - 1, 3), QString());

        // nothing ticked: an empty list
        a.show({});
        QCOMPARE(a.page.kindList(), QStringLiteral("x"));
        QCOMPARE(a.page.sg_log->rowCount(), 1);
        QCOMPARE(a.page.lbLogCount->text(), QStringLiteral("Jumlah Data : 0"));
    }

    void reversedDatesAreNotSent()
    {
        QVERIFY(logToday({"Aktivitas Harian Input|Input aktivitas 1"}));
        Admin a;
        a.show({"cbLog2"});
        QCOMPARE(a.listed().size(), 1);
        a.page.dtLogStart->setDate(serverToday().addDays(1));
        QTest::mouseClick(a.page.xLogSearch, Qt::LeftButton);
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Tanggal awal log melewati tanggal akhir!"});
        QCOMPARE(a.listed().size(), 1);
        QCOMPARE(a.page.lbLogCount->text(), QStringLiteral("Jumlah Data : 1"));
    }

    // Whole days from the first through the last; unreadable dates refused.
    void dateRange_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("one day") << "2024-03-10" << "2024-03-10" << QStringList{"Akhir hari", "Awal hari"};
        QTest::newRow("two days") << "2024-03-09" << "2024-03-10"
                                  << QStringList{"Akhir hari", "Awal hari", "Hari sebelumnya"};
        QTest::newRow("reversed") << "2024-03-11" << "2024-03-10" << QStringList{};
        QTest::newRow("with time") << "2024-03-10 12:00:00" << "2024-03-10" << QStringList{"Akhir hari", "Awal hari"};
        QTest::newRow("not a date") << "kemarin" << "2024-03-10" << kRefused;
        QTest::newRow("impossible date") << "2024-02-30" << "2024-03-10" << kRefused;
        QTest::newRow("empty end") << "2024-03-10" << "" << kRefused;
    }

    void dateRange()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, rows);
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO kinerja_log_proses (nip, aksi, keterangan, tanggal_aksi) VALUES "
                                          "('1', 'LogIn', 'Hari sebelumnya', '2024-03-09 23:59:59'), "
                                          "('1', 'LogIn', 'Awal hari', '2024-03-10 00:00:00'), "
                                          "('1', 'LogIn', 'Akhir hari', '2024-03-10 23:59:59'), "
                                          "('1', 'LogIn', 'Hari berikutnya', '2024-03-11 00:00:00');"));
        const QStringList got = Caller(kSchema, kKepala).call(kShow, {{"awal", from}, {"akhir", to}, {"jenis", "x,login"}});
        QStringList texts;
        for (const QString& row : got)
            texts << (row == kRefused.first() ? row : row.section('|', 4, 4));
        QCOMPARE(texts, rows);
    }

    void onlyAdminSystemReadsTheLog_data() { adminSystemOnlyRows(); }

    void onlyAdminSystemReadsTheLog()
    {
        QFETCH(QString, nip);
        QFETCH(bool, allowed);
        QVERIFY(logToday({"LogIn|Sukses LogIn"}));
        const QString today = serverToday().toString(Qt::ISODate);
        const QStringList got =
            Caller(kSchema, nip).call(kShow, {{"awal", today}, {"akhir", today}, {"jenis", "x,login"}});
        QCOMPARE(got == kRefused, !allowed);
        if (allowed)
            QCOMPARE(got.size(), 1);
    }

    // The writers of the system use the names the boxes expect: each entry
    // is listed under its box and under no other.
    void writersMeetTheirBox_data()
    {
        QTest::addColumn<QString>("caller"); // "root" for the scheduler
        QTest::addColumn<QString>("sql");
        QTest::addColumn<db::Params>("params");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entry"); // "aksi|keterangan", a trailing "*" for any end
        const QString p = kPelaksana;
        QTest::newRow("login of the client")
            << p << "CALL kinerja_log_insert(:n, 'LogIn', 'Sukses LogIn', '')" << db::Params{{"n", p}} << "cbLog1"
            << "LogIn|Sukses LogIn";
        QTest::newRow("failed login") << "" << "CALL kinerja_cek_hak_akses(:n, 'salah')" << db::Params{{"n", p}}
                                      << "cbLog1" << "LogIn|Gagal LogIn";
        QTest::newRow("activity input")
            << p
            << "CALL kinerja_aktivitas_insert(:n, '3', '0', 'Deskripsi aktivitas yang cukup panjang', '1', "
               "CONCAT(CURDATE(), ' 09:00:00'), '0', '', 'Utama', '10', 'Surat', '', '')"
            << db::Params{{"n", p}} << "cbLog2" << "Aktivitas Harian Input|Input aktivitas *";
        QTest::newRow("activity change")
            << p << "CALL kinerja_aktivitas_update('Deskripsi aktivitas yang diubah', '2', '201')" << db::Params{}
            << "cbLog3" << "Aktivitas Harian Ubah|Ubah aktivitas 201";
        QTest::newRow("activity deletion") << p << "CALL kinerja_aktivitas_hapus('205')" << db::Params{} << "cbLog4"
                                           << "Aktivitas Harian Hapus|Hapus aktivitas 205";
        QTest::newRow("approval") << kKabid << "CALL kinerja_aktivitas_disetujui_atasan('201', :n)"
                                  << db::Params{{"n", kKabid}} << "cbLog5" << "Verifikasi - Approve|Aktivitas 201";
        QTest::newRow("automatic approval") << "root" << "CALL kinerja_aktivitas_auto_approve()" << db::Params{}
                                            << "cbLog5" << "Verifikasi - Sistem|Aktivitas 204";
        QTest::newRow("rejection") << kKabid << "CALL kinerja_aktivitas_ditolak_atasan('201', :n)"
                                   << db::Params{{"n", kKabid}} << "cbLog6" << "Verifikasi - Reject|Aktivitas 201";
        QTest::newRow("validation") << kKepala << "CALL kinerja_aktivitas_divalidasi_atasan('203', :n)"
                                    << db::Params{{"n", kKepala}} << "cbLog7" << "Validasi OK|Aktivitas 203";
        QTest::newRow("announcement") << kKepala << "CALL kinerja_informasi_tambah('tpp', 'Pengumuman', '1')"
                                      << db::Params{} << "CheckBox11" << "Informasi - Ubah|Tambah informasi *";
        QTest::newRow("account reset") << kKabid << "CALL kinerja_user_delete(:n)" << db::Params{{"n", p}}
                                       << "CheckBox16" << "User|Reset Akun";
    }

    void writersMeetTheirBox()
    {
        QFETCH(QString, caller);
        QFETCH(QString, sql);
        QFETCH(db::Params, params);
        QFETCH(QString, box);
        QFETCH(QString, entry);
        if (caller == QLatin1String("root")) {
            QVERIFY(testdb::rootExec(kSchema, sql));
        } else {
            const QStringList answer = Caller(kSchema, caller).call(sql, params);
            QVERIFY2(!answer.join(' ').startsWith("refused") && !answer.join(' ').startsWith("error"),
                     qPrintable(answer.join(' ')));
        }
        auto matches = [&](const QString& row) {
            return entry.endsWith('*') ? row.startsWith(entry.chopped(1)) : row == entry;
        };
        Admin a;
        a.show({box});
        const QStringList listed = a.listed();
        QCOMPARE(int(std::count_if(listed.begin(), listed.end(), matches)), 1);
        QStringList others;
        for (QCheckBox* c : boxes(a.page))
            if (c->objectName() != box)
                others << c->objectName();
        a.show(others);
        const QStringList rest = a.listed();
        QCOMPARE(int(std::count_if(rest.begin(), rest.end(), matches)), 0);
    }

    // Each action is one range of its index: the rows read follow the rows
    // listed, not the size of the log. 40,000 entries already tell a range
    // from a scan.
    void largeLogIsReadByIndexRanges()
    {
        // a minute apart over four weeks; every 2,000th an account reset
        QVERIFY(testdb::rootExec(
            kSchema,
            "INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan) "
            "SELECT '" + kPelaksana + "', IF(seq % 2000 = 0, 'User', ELT(1 + seq % 8, 'LogIn', 'LogIn', "
            "'Aktivitas Harian Input', 'Aktivitas Harian Ubah', 'Verifikasi - Approve', 'Verifikasi - Sistem', "
            "'Validasi OK', 'Kamus - Tambah')), TIMESTAMP('2022-01-01') + INTERVAL seq MINUTE, "
            "IF(seq % 2000 = 0, 'Reset Akun', 'Sukses') FROM seq_1_to_40000; "
            "ANALYZE TABLE kinerja_log_proses;"));
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses"), QStringLiteral("40000"));

        struct Case {
            QString from, to, kinds;
            QString expected; // counted by root
        };
        const QList<Case> cases{
            {"2022-01-10", "2022-01-11", "x,akt_input,verif_approve,login",
             "SELECT COUNT(*) FROM kinerja_log_proses WHERE tanggal_aksi >= '2022-01-10' AND tanggal_aksi < "
             "'2022-01-12' AND aksi IN ('Aktivitas Harian Input', 'Verifikasi - Approve', 'Verifikasi - Sistem', "
             "'LogIn')"},
            {"2021-01-01", "2024-12-31", "x,reset_akun", "SELECT 20"},
        };
        Caller admin(kSchema, kKepala);
        for (const Case& c : cases) {
            const qint64 expected = root(c.expected).toLongLong();
            QVERIFY(expected > 0);
            const auto before = handlerReads(admin.query());
            const db::ResultSet rs =
                admin.query().open(kShow, {{"awal", c.from}, {"akhir", c.to}, {"jenis", c.kinds}});
            const auto after = handlerReads(admin.query());
            QCOMPARE(qint64(rs.recordCount()), expected);
            auto delta = [&](const char* name) { return after.at(name) - before.at(name); };
            // A scan of the log would read all 40,000 entries; the slack
            // covers the status query and the kinds.
            const qint64 slack = 2000;
            QVERIFY2(delta("Handler_read_rnd_next") < expected + slack,
                     qPrintable(QString::number(delta("Handler_read_rnd_next"))));
            QVERIFY2(delta("Handler_read_next") < 2 * expected + slack,
                     qPrintable(QString::number(delta("Handler_read_next"))));
        }
    }

private:
    QString activities_;
};

QTEST_MAIN(TestLog)
#include "test_log.moc"
