// The settings page as an administrator uses it, on a page context without
// a main window, against the server: what opening shows, what "Simpan"
// writes, and what the user sees and keeps when a load or a save fails.
#include "shell/pageheader.h"
#include "fakecontext.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "progress/dashboardpage.h"
#include "settings/admaplikasipage.h"
#include "ui/toggleswitch.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_settings_page");
const QString kGagalMenampilkan = QString::fromUtf8(stdmsg::GagalMenampilkan);
const QString kGagalTerhubung = QString::fromUtf8(stdmsg::GagalTerhubung);
const QString kTersimpan = QStringLiteral("Setting telah tersimpan!");
using Kind = Messages::Kind;

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

// The whole store and the number of log rows.
QString store()
{
    return root("SELECT CONCAT((SELECT GROUP_CONCAT(CONCAT_WS('/', nama, COALESCE(nilai, '-'), "
                "COALESCE(tanggal_awal, '-'), COALESCE(tanggal_akhir, '-')) ORDER BY nama SEPARATOR ';') "
                "FROM kinerja_setting), '#', (SELECT COUNT(*) FROM kinerja_log_proses))");
}

QString stored(const QString& nama, const QString& column = QStringLiteral("nilai"))
{
    return root("SELECT COALESCE(" + column + ", '') FROM kinerja_setting WHERE nama = '" + nama + "'");
}

// The loads of the settings named in table t_rusak fail on the server, as
// a statement failure; the others answer as usual.
void breakLoads()
{
    QString sql = QStringLiteral("CREATE TABLE t_rusak (nama VARCHAR(60) PRIMARY KEY);\nDELIMITER $$\n");
    const QStringList procs{"kinerja_app_setting_load_value:nilai", "kinerja_app_setting_load_tanggal_awal:"
                                                                    "DATE_FORMAT(tanggal_awal, '%Y-%m-%d %H:%i:%s')",
                            "kinerja_app_setting_load_tanggal_akhir:DATE_FORMAT(tanggal_akhir, '%Y-%m-%d %H:%i:%s')"};
    for (const QString& p : procs) {
        const QString name = p.section(':', 0, 0);
        const QString column = p.section(':', 1);
        sql += "DROP PROCEDURE " + name + " $$\nCREATE PROCEDURE " + name +
               "(IN var_jenis VARCHAR(1000), IN var_nama VARCHAR(1000))\nBEGIN\n"
               "  CALL kinerja_wajib_login();\n"
               "  IF EXISTS (SELECT 1 FROM t_rusak WHERE nama = var_nama) THEN\n"
               "    SIGNAL SQLSTATE 'HY000' SET MESSAGE_TEXT = 'rusak';\n  END IF;\n"
               "  SELECT " + column + " AS nilai FROM kinerja_setting WHERE jenis = var_jenis AND nama = var_nama;\n"
               "END $$\n"
               "GRANT EXECUTE ON PROCEDURE " + name + " TO 'aplikasi'@'" TARVESA_TEST_ACCOUNT_HOST "' $$\n";
    }
    QVERIFY(testdb::rootExec(kSchema, sql + "DELIMITER ;\n"));
}

// While it lives, the server refuses every connection of the application
// account to this schema, as a server that went away would: the account
// loses its rights here (the account itself is shared with the suites
// running beside this one), and its open connections are cut.
struct AccountLocked {
    AccountLocked()
    {
        for (const QStringList& h :
             testdb::rootQuery(kSchema, QStringLiteral("SELECT Host FROM mysql.user WHERE User = 'aplikasi'")))
            for (const QStringList& g :
                 testdb::rootQuery(kSchema, "SHOW GRANTS FOR 'aplikasi'@'" + h.value(0) + "'"))
                if (g.value(0).contains("`" + kSchema + "`"))
                    grants << g.value(0);
        QStringList revokes;
        for (QString g : grants)
            revokes << g.replace(QRegularExpression("^GRANT "), "REVOKE ").replace(" TO ", " FROM ");
        QVERIFY(!grants.isEmpty() && testdb::rootExec(kSchema, revokes.join(";\n")));
        QStringList kills;
        for (const QStringList& id : testdb::rootQuery(
                 kSchema, "SELECT ID FROM information_schema.PROCESSLIST WHERE USER = 'aplikasi' AND DB = '" + kSchema +
                              "'"))
            kills << "KILL " + id.value(0);
        QVERIFY(kills.isEmpty() || testdb::rootExec(kSchema, kills.join(";\n")));
    }
    ~AccountLocked() { testdb::rootExec(kSchema, grants.join(";\n")); }
    QStringList grants;
};

// An administrator at the settings page, logged in on the server.
struct Admin {
    explicit Admin(const QString& nip = kKepala, const QString& level = QStringLiteral("Admin System"))
        : ctx(kSchema), page(ctx), saved(&page, &AdmAplikasiPage::saved)
    {
        QVERIFY(ctx.actAs(nip, QStringLiteral("Admin"), level));
    }

    void open()
    {
        page.dxSettingItems0Click();
    }
    void simpan()
    {
        ctx.msgs.clear();
        QTest::mouseClick(page.BitBtn25, Qt::LeftButton);
    }
    // Types into a field as a user does: everything selected, then the keys.
    static void type(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        e->setCursorPosition(0);
        QTest::keyClicks(e, text);
    }

    QLineEdit* edit(const QString& name) { return page.findChild<QLineEdit*>(name); }

    FakeContext ctx;
    AdmAplikasiPage page;
    QSignalSpy saved;
};

} // namespace

class TestSettingsPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    void openingShowsTheStore()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET tanggal_awal = '2026-01-02 03:04:05', "
                                          "tanggal_akhir = '2026-12-30 23:58:57' WHERE nama = 'kamus_update'"));
        Admin a;
        a.open();
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&a.page));
        QCOMPARE(a.page.header()->caption(), QStringLiteral("Halaman Admin - Setting Aplikasi"));
        QVERIFY(a.page.loadedCleanly());
        QVERIFY(!a.page.tsIsMaintenance->isChecked());
        QCOMPARE(a.page.meKamusAwal->text(), QStringLiteral("2026-01-02 03:04:05"));
        QCOMPARE(a.page.meKamusAkhir->text(), QStringLiteral("2026-12-30 23:58:57"));
        QCOMPARE(a.page.meAktivitasAwal->text(), stored("aktivitas_harian", "tanggal_awal"));
        QCOMPARE(a.page.meKualMutuAkhir->text(), stored("kualitas_mutu", "tanggal_akhir"));
        const QList<QPair<QLineEdit*, QString>> numbers{
            {a.page.edBatasInputAktivitas, "aktivitas_input_day_max"},
            {a.page.edBatasWaktuVerifikasi, "aktivitas_verifikasi_day_max"},
            {a.page.edBatasWaktuValidasi, "aktivitas_validasi_day_max"},
            {a.page.edTargetSKR, "target_skr_bulanan"},
            {a.page.edAktivitasAutoApprove, "aktivitas_auto_approve"},
            {a.page.edSKROperasionalMax, "max_skr_operasional"}};
        QCOMPARE(a.page.edTargetSKR->text(), QStringLiteral("1000")); // the fixture's, not the design's 6751
        for (const auto& [field, nama] : numbers) {
            QCOMPARE(field->text(), stored(nama));
            // A typed letter has no effect.
            field->setCursorPosition(field->text().size());
            QTest::keyClicks(field, QStringLiteral("a-"));
            QCOMPARE(field->text(), stored(nama));
        }
    }

    void switchShowsTheStoredState_data()
    {
        QTest::addColumn<QString>("value"); // as SQL
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << "'1'" << true;
        QTest::newRow("0") << "'0'" << false;
        QTest::newRow("2") << "'2'" << true;
        QTest::newRow("empty") << "''" << true;
        QTest::newRow("NULL") << "NULL" << true;
        QTest::newRow("0 with a blank") << "'0 '" << true;
        QTest::newRow("word") << "'off'" << true;
    }
    void switchShowsTheStoredState()
    {
        QFETCH(QString, value);
        QFETCH(bool, on);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = " + value + " WHERE nama = 'is_maintenance'"));
        Admin a;
        a.open();
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QCOMPARE(a.page.tsIsMaintenance->isChecked(), on);
        QCOMPARE(a.page.tsIsMaintenance->text(), on ? QStringLiteral("On") : QStringLiteral("Off"));
        // Saved back as it is shown: "1" for every state but "0".
        a.simpan();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kTersimpan});
        QCOMPARE(stored("is_maintenance"), on ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void simpanWritesEveryField()
    {
        Admin a;
        a.open();
        const QString end = stored("aktivitas_harian", "tanggal_akhir");
        const QString oldStart = stored("kualitas_mutu", "tanggal_awal");
        const QString oldEnd = stored("kualitas_mutu", "tanggal_akhir");
        QTest::mouseClick(a.page.tsIsMaintenance, Qt::LeftButton);
        QVERIFY(a.page.tsIsMaintenance->isChecked());
        Admin::type(a.page.meKualMutuAwal, QStringLiteral("20260301 070000"));
        Admin::type(a.page.meKualMutuAkhir, QStringLiteral("20261130235959"));
        Admin::type(a.page.edTargetSKR, QStringLiteral("6751"));
        Admin::type(a.page.edSKROperasionalMax, QStringLiteral("0420"));
        a.simpan();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kTersimpan});
        QCOMPARE(a.ctx.msgs.lastKind(), Kind::Information);
        QCOMPARE(a.saved.count(), 1);
        QCOMPARE(stored("is_maintenance"), QStringLiteral("1"));
        QCOMPARE(stored("kualitas_mutu", "tanggal_awal"), QStringLiteral("2026-03-01 07:00:00"));
        QCOMPARE(stored("kualitas_mutu", "tanggal_akhir"), QStringLiteral("2026-11-30 23:59:59"));
        QCOMPARE(stored("target_skr_bulanan"), QStringLiteral("6751"));
        QCOMPARE(stored("max_skr_operasional"), QStringLiteral("420"));
        QCOMPARE(stored("aktivitas_harian", "tanggal_akhir"), end);
        // One log row per field that changed, none for the others.
        QCOMPARE(root("SELECT GROUP_CONCAT(keterangan ORDER BY id SEPARATOR ' ; ') FROM kinerja_log_proses "
                      "WHERE aksi = 'Setting Update' AND nip = '" + kKepala + "'"),
                 "is_maintenance: 0 -> 1 ; kualitas_mutu (awal): " + oldStart +
                     " -> 2026-03-01 07:00:00 ; kualitas_mutu (akhir): " + oldEnd +
                     " -> 2026-11-30 23:59:59 ; target_skr_bulanan: 1000 -> 6751 ; max_skr_operasional: 300 -> 420");
    }

    void windowMovedAsAWhole_data()
    {
        QTest::addColumn<QString>("awal");
        QTest::addColumn<QString>("akhir");
        // The stored window: 2026-01-01 00:00:00 to 2026-12-31 23:59:59.
        QTest::newRow("next year") << "2027-01-01 00:00:00" << "2027-12-31 23:59:59";
        QTest::newRow("last year") << "2025-01-01 00:00:00" << "2025-12-31 23:59:59";
        QTest::newRow("narrower") << "2026-03-01 00:00:00" << "2026-03-31 23:59:59";
    }
    void windowMovedAsAWhole()
    {
        // Whatever the old window, one "Simpan" stores the new one.
        QFETCH(QString, awal);
        QFETCH(QString, akhir);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET tanggal_awal = '2026-01-01 00:00:00', "
                                          "tanggal_akhir = '2026-12-31 23:59:59' WHERE nama = 'sasaran_kerja'"));
        Admin a;
        a.open();
        a.page.meSasaranAwal->setText(awal);
        a.page.meSasaranAkhir->setText(akhir);
        a.simpan();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kTersimpan});
        QCOMPARE(stored("sasaran_kerja", "tanggal_awal"), awal);
        QCOMPARE(stored("sasaran_kerja", "tanggal_akhir"), akhir);
    }

    void failedSaveIsNoSuccess_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("reason"); // the server's, on the message's second line
        const QString value = QStringLiteral("Nilai setting tidak dapat dipakai.");
        const QString moment = QStringLiteral("Tanggal dan jam tidak lengkap atau tidak ada.");
        QTest::newRow("emptied number field") << "edTargetSKR" << "" << "Target capaian waktu bulanan" << value;
        QTest::newRow("zero days") << "edAktivitasAutoApprove" << "0" << "Auto Approve by System" << value;
        QTest::newRow("window without digits") << "meKamusAkhir" << "" << "Kamus Jabatan (akhir)" << moment;
        QTest::newRow("half-typed start") << "meSasaranAwal" << "2026-05" << "Sasaran Kerja (awal)" << moment;
        QTest::newRow("impossible day") << "meAktivitasAkhir" << "2031-02-30 00:00:00" << "Aktivitas Harian (akhir)"
                                        << moment;
        QTest::newRow("end before start") << "meKualMutuAkhir" << "2020-01-01 00:00:00" << "Kualitas Mutu (akhir)"
                                          << "Akhir jendela sebelum awalnya.";
    }
    void failedSaveIsNoSuccess()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QString, reason);
        Admin a;
        a.open();
        QLineEdit* e = a.edit(field);
        QVERIFY(e);
        e->setText(text);
        const QString typed = e->displayText();
        // Another change in the same "Simpan" still goes through.
        a.page.edSKROperasionalMax->setText(QStringLiteral("250"));
        a.simpan();

        const QList<ScriptedMessages::Entry>& log = a.ctx.msgs.log;
        QCOMPARE(log.size(), 2);
        QCOMPARE(log[0].kind, Kind::Warning);
        QCOMPARE(log[0].text, kGagalMenampilkan + "\r" + reason);
        QCOMPARE(log[1].kind, Kind::Warning);
        QCOMPARE(log[1].text, "Setting belum tersimpan semua. Yang gagal disimpan:\r- " + caption +
                                  "\r\rPeriksa isian tersebut lalu klik Simpan lagi.");
        QVERIFY(!a.ctx.msgs.texts().contains(kTersimpan));
        QCOMPARE(a.saved.count(), 0);
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&a.page));
        QCOMPARE(e->displayText(), typed);
        QCOMPARE(stored("max_skr_operasional"), QStringLiteral("250"));
    }

    void notAnAdminSavesNothing()
    {
        // Reading is open to any logged-in user; saving is the server's
        // to refuse, and every refusal is reported.
        Admin a(kKabid, QStringLiteral("Admin SKPD"));
        a.open();
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QVERIFY(a.page.loadedCleanly());
        const QString before = store();
        a.simpan();
        QCOMPARE(a.ctx.msgs.log.size(), 16);
        QCOMPARE(a.ctx.msgs.texts().mid(0, 15), QStringList(15, kGagalMenampilkan + "\rHak akses tidak cukup."));
        QVERIFY(a.ctx.msgs.last().startsWith("Setting belum tersimpan semua. Yang gagal disimpan:\r- Maintenance\r- "
                                             "Aktivitas Harian (awal)\r"));
        QCOMPARE(a.ctx.msgs.last().count("\r- "), 15);
        QCOMPARE(a.saved.count(), 0);
        QCOMPARE(store(), before);
    }

    void connectionLostWhileSaving()
    {
        // A connection that cannot be had is reported once; the saves after
        // it are not tried and are named as not saved.
        Admin a;
        a.open();
        const QString before = store();
        {
            AccountLocked down;
            a.simpan();
        }
        QCOMPARE(a.ctx.msgs.log.size(), 2);
        QCOMPARE(a.ctx.msgs.log[0].text, kGagalTerhubung);
        QCOMPARE(a.ctx.msgs.last().count("\r- "), 15);
        QCOMPARE(a.saved.count(), 0);
        QCOMPARE(store(), before);
    }

    void failedLoadBlocksSimpan_data()
    {
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QString>("field"); // the field left empty
        QTest::newRow("maintenance") << "is_maintenance" << "";
        QTest::newRow("window") << "kualitas_mutu" << "meKualMutuAwal";
        QTest::newRow("limit") << "aktivitas_auto_approve" << "edAktivitasAutoApprove";
    }
    void failedLoadBlocksSimpan()
    {
        QFETCH(QString, nama);
        QFETCH(QString, field);
        breakLoads();
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO t_rusak VALUES ('" + nama + "')"));
        Admin a;
        a.open();
        // Its message for each failed load; the rest load and the page shows.
        const int failures = nama == QLatin1String("kualitas_mutu") ? 2 : 1;
        QCOMPARE(a.ctx.msgs.texts(), QStringList(failures, kGagalMenampilkan));
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&a.page));
        QVERIFY(!a.page.loadedCleanly());
        if (field.isEmpty())
            QVERIFY(a.page.tsIsMaintenance->isChecked()); // stored "0", shown on
        else
            QCOMPARE(a.edit(field)->text().remove(QRegularExpression("[^0-9]")), QString());
        QCOMPARE(a.page.edTargetSKR->text(), QStringLiteral("1000"));

        // "Simpan" would write empty texts over what failed to load: it warns
        // and writes nothing.
        const QString before = store();
        a.simpan();
        QCOMPARE(a.ctx.msgs.log.size(), 1);
        QCOMPARE(a.ctx.msgs.lastKind(), Kind::Warning);
        QVERIFY(a.ctx.msgs.last().startsWith("Setting belum termuat lengkap dari server"));
        QCOMPARE(a.saved.count(), 0);
        QCOMPARE(store(), before);

        // Opened again once the server answers: saved as usual.
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM t_rusak"));
        a.ctx.msgs.clear();
        a.open();
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QVERIFY(a.page.loadedCleanly());
        a.simpan();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kTersimpan});
        QCOMPARE(store(), before);
    }

    void mainWindowOpensAndLeavesThePage()
    {
        // The side-bar item opens the page; a save that went through ends
        // on the dashboard, a failed one stays.
        MainFixture f(kSchema);
        f.bind(kKepala);
        f.w.dxSettingItems0Click();
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xAdmAplikasi));
        f.w.xAdmAplikasi->edTargetSKR->clear();
        f.w.xAdmAplikasi->BitBtn25Click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xAdmAplikasi));
        f.w.xAdmAplikasi->edTargetSKR->setText(QStringLiteral("1000"));
        f.msgs.clear();
        f.w.xAdmAplikasi->BitBtn25Click();
        QCOMPARE(f.msgs.texts(), QStringList{kTersimpan});
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xDashboard));
    }

    void windowTextsAsSent()
    {
        // A window edit left without digits is sent as its separators and
        // blanks; a half-typed one with blanks in its empty places.
        Admin a;
        QLineEdit* e = a.page.meAktivitasAwal;
        e->setText(QString());
        QCOMPARE(AdmAplikasiPage::maskedText(e), QStringLiteral("    -  -     :  :  "));
        e->setText(QStringLiteral("2026-05"));
        QCOMPARE(AdmAplikasiPage::maskedText(e), QStringLiteral("2026-05-     :  :  "));
        e->setText(QStringLiteral("2026-05-06 07:08:09"));
        QCOMPARE(AdmAplikasiPage::maskedText(e), QStringLiteral("2026-05-06 07:08:09"));
        // The first hour digit may be stepped over and is sent as a blank.
        Admin::type(e, QStringLiteral("20260506"));
        QTest::keyClick(e, Qt::Key_Right);
        QTest::keyClicks(e, QStringLiteral("70809"));
        QCOMPARE(AdmAplikasiPage::maskedText(e), QStringLiteral("2026-05-06  7:08:09"));
    }
};

QTEST_MAIN(TestSettingsPage)
#include "test_settings_page.moc"
