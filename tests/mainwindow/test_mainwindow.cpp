// The main window frame: start-up state, version check, side bar, pages,
// headers, splitter and login panel.
#include "admin/infopage.h"
#include "admin/adminskpdpage.h"
#include "admin/admpltpage.h"
#include "app/infoaplikasipage.h"
#include "app/page.h"
#include "app/pageheader.h"
#include "app/sidebar.h"
#include "app/umain.h"
#include "ui/stringgrid.h"
#include "db/udm.h"
#include "session/loginpage.h"
#include "supervision/bawahanpage.h"
#include "testconfig.h"
#include "testdb.h"
#include "scripted.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_mainwindow");
const QString kSite = QStringLiteral("https://unduh.contoh.test");

struct Fixture {
    explicit Fixture(const db::ConnSettings& s, const QString& programDir = QStringLiteral(TARVESA_SOURCE_DIR))
        : dm(s), w(dm, Tfmain::Seams{&msgs, &dialogs, nullptr, programDir, kSite})
    {
    }
    ScriptedMessages msgs;
    ScriptedDialogs dialogs;
    Tdm dm;
    Tfmain w;
};

db::ConnSettings downSettings()
{
    db::ConnSettings s = testdb::appSettings(kSchema);
    s.port = 1;
    return s;
}

bool setVersions(const QString& rows)
{
    return testdb::rootExec(kSchema, QStringLiteral("DELETE FROM kinerja_versi; INSERT INTO kinerja_versi "
                                                    "(versi, tanggal_rilis, wajib) VALUES ") +
                                         rows + QStringLiteral(";"));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema)); }

    void startsLoggedOutOnTheLoginPage()
    {
        Fixture f(testdb::appSettings(kSchema));
        Tfmain& w = f.w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tarvesa Kelordan"));
        QCOMPARE(w.activePage(), static_cast<QWidget*>(w.xLogin));
        QCOMPARE(w.app_version, QStringLiteral("0.32"));
        QCOMPARE(w.warna1, QColor(0xD3, 0xD3, 0xD3));
        QCOMPARE(w.warna2, QColor(0x99, 0x32, 0xCC));
        QCOMPARE(w.headerHeight, 32);
        QCOMPARE(w.headerFontSize, 14);
        QVERIFY(w.windowState() & Qt::WindowMaximized);

        const QList<SideBarGroup*> hidden{w.dxPNS, w.dxTarvesa, w.dxAdmin, w.dxSetting};
        for (SideBarGroup* g : hidden)
            QVERIFY2(g->isHidden(), qPrintable(g->objectName()));
        QVERIFY(!w.dxInformasi->isHidden());
        QVERIFY(!w.dxAplikasi->isHidden());

        const QStringList captions{QStringLiteral("Data PNS"), QStringLiteral("Tarvesa"), QStringLiteral("Informasi"),
                                   QStringLiteral("Halaman Admin"), QStringLiteral("Setting"),
                                   QStringLiteral("Aplikasi")};
        const QList<SideBarGroup*> groups{w.dxPNS, w.dxTarvesa, w.dxInformasi, w.dxAdmin, w.dxSetting, w.dxAplikasi};
        for (int i = 0; i < groups.size(); ++i)
            QCOMPARE(groups[i]->caption(), captions[i]);

        QCOMPARE(w.dxAplikasi->item(0)->caption(), QStringLiteral("Login"));
        QCOMPARE(w.dxAplikasi->item(1)->caption(), QStringLiteral("Register"));
        QVERIFY(w.dxAplikasi->item(2)->isHidden());
        QCOMPARE(w.dxAplikasi->item(3)->caption(), QStringLiteral("Tarvesa v 0.32"));
        QVERIFY(!w.dxAplikasi->item(3)->isEnabled());
        QCOMPARE(w.dxAplikasi->item(4)->caption(), QString());
        QCOMPARE(w.dxAplikasi->item(5)->caption(), QStringLiteral("Info Aplikasi"));
        QStringList tarvesa;
        for (int i = 0; i < w.dxTarvesa->itemCount(); ++i)
            tarvesa << w.dxTarvesa->item(i)->caption();
        QCOMPARE(tarvesa, (QStringList{"Dashboard", "Profil", "Sasaran Kerja", "Aktivitas Harian", "Bawahan"}));
        QVERIFY(!w.dxTarvesa->item(2)->isEnabled());
        QVERIFY(!w.dxTarvesa->item(4)->isEnabled());
        QCOMPARE(w.dxSetting->itemCount(), 6);
        QCOMPARE(w.dxAdmin->itemCount(), 4);

        QCOMPARE(w.sb1Panel0->text(), QStringLiteral(".: Mawaru - Tarvesa Kelordan :."));
        QCOMPARE(w.sb1Panel0->width(), 255);
        QCOMPARE(w.xLogin->pLogin->size(), QSize(370, 413));
        QCOMPARE(w.xLogin->pLogin->palette().color(QPalette::Window), w.warna2);
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(w.dm().connected(), false);
    }

    void everyPageIsInTheStack()
    {
        Fixture f(testdb::appSettings(kSchema));
        const QStringList pages{
            "xLogin",     "xRegis",       "xInfoAplikasi", "xDashboard",   "xProfil",     "xAktivitas",
            "xBawahan",   "xBwAktivitas", "xBwKualMutu",   "xBwTugasTambahan", "xInfoTarvesa", "xInfoTPP",
            "xAdminSKPD", "xDelegasi",    "xLog",          "xSupervisi",   "xAdmAplikasi", "xAdmUser",
            "xAdmInformasi", "xAdmPlt",   "xJFAtasBawah",  "xVerifKamus"};
        for (const QString& name : pages) {
            auto* page = f.w.pg->findChild<Page*>(name, Qt::FindDirectChildrenOnly);
            QVERIFY2(page, qPrintable(name));
            QVERIFY2(page->header() && page->header()->objectName() == name + "Judul", qPrintable(name));
        }
        QCOMPARE(f.w.pg->count(), pages.size());
    }

    void versionCheck_data()
    {
        QTest::addColumn<QString>("versions");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("terminates");
        QTest::addColumn<QString>("item4");
        QTest::newRow("mandatory") << "('0.32', CURDATE() - INTERVAL 9 DAY, 0), ('0.33', CURDATE(), 1)"
                                   << "Ada update aplikasi versi 0.33 yang WAJIB diinstall!\r\rCatatan :\r"
                                      "Silahkan download installer aplikasi versi 0.33 di alamat website "
                                      "https://unduh.contoh.test."
                                   << true << "Tersedia versi 0.33";
        QTest::newRow("optional") << "('0.32', CURDATE() - INTERVAL 9 DAY, 1), ('0.40', CURDATE(), 0)"
                                  << "Ada update aplikasi versi 0.40 yang bisa diinstall.\r\rCatatan :\r"
                                     "Update versi ini tidak wajib diinstall tapi mungkin ada fitur baru yang "
                                     "bermanfaat.\r\rSilahkan lihat perubahan di bagian 'change log-pada website "
                                     "kinerja' download installer aplikasi versi 0.40 di alamat website "
                                     "https://unduh.contoh.test."
                                  << false << "Tersedia versi 0.40";
        // 0.4 is older than 0.32: parts compare as numbers.
        QTest::newRow("up to date") << "('0.32', CURDATE(), 0), ('0.4', CURDATE() - INTERVAL 99 DAY, 1)" << ""
                                    << false << "Versi terbaru";
    }

    void versionCheck()
    {
        QFETCH(QString, versions);
        QFETCH(QString, message);
        QFETCH(bool, terminates);
        QFETCH(QString, item4);
        QVERIFY(setVersions(versions));
        Fixture f(testdb::appSettings(kSchema));
        f.w.FormShow();
        if (message.isEmpty()) {
            QVERIFY(f.msgs.log.isEmpty());
        } else {
            QCOMPARE(f.msgs.log.size(), 1);
            QCOMPARE(f.msgs.lastKind(), Messages::Kind::Information);
            QCOMPARE(f.msgs.last(), message);
        }
        QCOMPARE(f.w.terminateRequested(), terminates);
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xLogin));
        QCOMPARE(f.w.dxAplikasi->item(3)->caption(), QStringLiteral("Tarvesa v 0.32"));
        QCOMPARE(f.w.dxAplikasi->item(4)->caption(), item4);
        QVERIFY(!f.w.dxAplikasi->item(4)->isEnabled());
        QVERIFY(!f.w.dm().connected());
        QVERIFY(f.w.sb1Panel1->text().startsWith(QStringLiteral("Connected on server : 127.0.0.1")));
        QVERIFY(!QApplication::overrideCursor());
    }

    void versionCheckWithoutServerGoesOn()
    {
        Fixture f(downSettings());
        f.w.FormShow();
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalTerhubung)});
        QCOMPARE(f.msgs.lastKind(), Messages::Kind::Warning);
        QVERIFY(!f.w.terminateRequested());
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xLogin));
        QCOMPARE(f.w.dxAplikasi->item(4)->caption(), QString());
        QCOMPARE(f.w.sb1Panel1->text(), QStringLiteral("Tidak terhubung ke server : 127.0.0.1"));
    }

    void versionCheckWithNonsenseAnswer()
    {
        // A server whose procedure answers with too few columns.
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_version_check_trial; "
                                          "CREATE PROCEDURE kinerja_version_check_trial(IN var_app TEXT) "
                                          "SELECT 'Up-Wajib' AS a;"));
        Fixture f(testdb::appSettings(kSchema));
        f.w.FormShow();
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan)});
        QVERIFY(!f.w.terminateRequested());
        QVERIFY(testdb::createSchema(kSchema));
    }

    void missingLoginPictureIsReportedAndTheProgramGoesOn()
    {
        QTemporaryDir empty;
        Fixture f(downSettings(), empty.path());
        f.w.dxAplikasiItems5Click();
        f.w.dxAplikasiItems0Click();
        QCOMPARE(f.msgs.texts(),
                 QStringList{QStringLiteral("Gagal terhubung ke database kinerja!\r\rNote : Error load system.")});
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xInfoAplikasi)); // stays where it was
        QVERIFY(f.w.xLogin->bg_image->picture().isNull());

        Fixture ok(downSettings());
        ok.w.dxAplikasiItems0Click();
        QVERIFY(ok.msgs.log.isEmpty());
        QVERIFY(!ok.w.xLogin->bg_image->picture().isNull());
    }

    void infoPageShowsTheVersion()
    {
        Fixture f(downSettings());
        f.w.dxAplikasiItems5Click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xInfoAplikasi));
        QCOMPARE(f.w.xInfoAplikasi->Label18->text(), QStringLiteral("Versi 0.32 - Oktober 2020"));
        QVERIFY(f.msgs.log.isEmpty());
    }

    void pageOpenersStyleTheHeader()
    {
        Fixture f(testdb::appSettings(kSchema));
        f.w.headerHeight = 40; // the openers take the window's values
        f.w.headerFontSize = 16;
        f.w.JvXPBar5Items0Click(); // lists the announcements first
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xInfoTarvesa));
        PageHeader* h = f.w.xInfoTarvesa->header();
        QCOMPARE(h->caption(), QStringLiteral("Informasi Tarvesa"));
        QCOMPARE(h->startColor(), f.w.warna2);
        QCOMPARE(h->endColor(), f.w.warna1);
        QCOMPARE(h->headerHeight(), 40);
        QCOMPARE(h->fontSize(), 16);

        f.w.dxAdminItems0Click(); // probes the server first
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xAdminSKPD));
        // The page opens with its list, which the server keeps from nobody.
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan)});
        QVERIFY(!f.w.dm().connected());

        f.w.SpeedButton6Click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xBawahan));
    }

    void failedProbeKeepsThePreviousPage()
    {
        Fixture f(downSettings());
        f.w.dxSettingItems3Click(); // no probe: the page opens, its list cannot connect
        f.w.dxSettingItems0Click();
        QCOMPARE(f.msgs.texts(),
                 (QStringList{QString::fromUtf8(stdmsg::GagalTerhubung), QString::fromUtf8(stdmsg::GagalTerhubung)}));
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xAdmPlt));
    }

    void splitterClampsTheSideBar_data()
    {
        QTest::addColumn<int>("dragTo");
        QTest::addColumn<int>("width");
        QTest::newRow("narrow") << 150 << 200;
        QTest::newRow("wide") << 400 << 300;
        QTest::newRow("inside") << 260 << 260;
    }

    void splitterClampsTheSideBar()
    {
        QFETCH(int, dragTo);
        QFETCH(int, width);
        Fixture f(downSettings());
        f.w.setWindowState(Qt::WindowNoState);
        f.w.resize(1000, 700);
        f.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        f.w.Splitter1->setSizes({dragTo, 1000 - dragTo});
        f.w.Splitter1Moved();
        QCOMPARE(f.w.Splitter1->sizes().first(), width);
    }

    void loginPanelIsCentredOnlyOnTheLoginPage()
    {
        Fixture f(downSettings());
        f.w.setWindowState(Qt::WindowNoState);
        f.w.resize(1000, 700);
        f.w.centreLoginPanel();
        const int pgWidth = f.w.pg->width();
        QCOMPARE(f.w.xLogin->pLogin->pos(),
                 QPoint(qRound(pgWidth / 2.0 - 185), qRound(f.w.height() / 2.0 - 206.5)));

        f.w.dxAplikasiItems5Click();
        const QPoint before = f.w.xLogin->pLogin->pos();
        f.w.resize(1300, 900);
        f.w.centreLoginPanel();
        QCOMPARE(f.w.xLogin->pLogin->pos(), before);
    }

    void shortcutsResizeTheWindow()
    {
        Fixture f(downSettings());
        f.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        f.msgs.log.clear();
        QTest::keyClick(&f.w, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(f.w.size(), QSize(1366, 768));
        QTest::keyClick(&f.w, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(f.w.windowState() & Qt::WindowMaximized);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
