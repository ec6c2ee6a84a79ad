// The main window frame: start-up state, version check, side bar, pages,
// headers, splitter and login panel.
#include "activities/aktivitaspage.h"
#include "admin/infopage.h"
#include "admin/adminskpdpage.h"
#include "admin/admpltpage.h"
#include "session/infoaplikasipage.h"
#include "app/mainsidebar.h"
#include "shell/page.h"
#include "shell/pageheader.h"
#include "ui/sidebar.h"
#include "app/umain.h"
#include "ui/stringgrid.h"
#include "api/udm.h"
#include "session/loginpage.h"
#include "supervision/bawahanpage.h"
#include "supervision/bwaktivitaspage.h"
#include "mainfixture.h"
#include "testconfig.h"
#include "testdb.h"
#include "scripted.h"

#include <QApplication>
#include <QDateEdit>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
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

// A civil servant of the small organisation with activities of the last days.
const QString kFitSchema = QStringLiteral("t_mainwindow_fit");
const QString kPelaksana = QStringLiteral("199104042016011004");

const QString kKabid = QStringLiteral("198102022006011002"); // kPelaksana's direct superior

// The main window as the office laptop shows it, logged in as kPelaksana
// (or another servant).
struct Laptop : MainFixture {
    explicit Laptop(const QString& nip = kPelaksana, QSize screen = QSize(1366, 768))
        : MainFixture(kFitSchema,
                      QDateTime(QDate::fromString(testdb::rootValue(kFitSchema, QStringLiteral("SELECT CURDATE()")),
                                                  Qt::ISODate),
                                QTime(10, 11, 12))),
          size(screen)
    {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            QFAIL("the main window was never shown");
        QApplication::processEvents(); // the first show's version check and login page
        login(nip);
        atLaptopSize();
    }
    void atLaptopSize()
    {
        w.setWindowState(Qt::WindowNoState); // logging in maximises
        w.resize(size);
        QApplication::processEvents();
    }
    QSize size;
    // Opens the activity list over the last 30 days.
    StringGrid& openActivities()
    {
        w.dxTarvesaItems2Click();
        w.xAktivitas->xAktivitasTanggalAwal->setDate(clock.today().addDays(-30));
        w.xAktivitas->xAktivitasTampilDataClick();
        QApplication::processEvents();
        return *w.xAktivitas->sg_aktivitas;
    }
};

// Every column of the list in view without scrolling (up to column
// `lastInView`, or all), every caption whole, and every cell whole but those
// of the free-text columns that give way (a column in `figures` must show
// its text up to the first comma).
void expectFits(const StringGrid& g, const QList<int>& giving, const QList<int>& figures = {}, int lastInView = -1)
{
    QVERIFY(g.rowCount() > 2);
    const QHeaderView* h = g.horizontalHeader();
    const int end = lastInView < 0 ? h->length() : h->sectionViewportPosition(lastInView) + h->sectionSize(lastInView);
    QVERIFY2(end <= g.viewport()->width(),
             qPrintable(QStringLiteral("%1 px of columns in %2").arg(end).arg(g.viewport()->width())));
    const QFontMetrics fm(g.font());
    const int margins = 2 * g.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    for (int c = 1; c < g.colCount(); ++c) {
        if (g.colWidth(c) == 0)
            continue; // hidden, as the reasons of rejections behind the status
        QVERIFY2(QFontMetrics(h->font()).horizontalAdvance(g.cell(0, c)) + margins <= h->sectionSize(c),
                 qPrintable(g.cell(0, c)));
        if (giving.contains(c) && !figures.contains(c))
            continue; // free text gives way; its text may end cut
        for (int r = 1; r < g.rowCount(); ++r) {
            const QString text = figures.contains(c) ? g.cell(r, c).section(QLatin1Char(','), 0, 0) : g.cell(r, c);
            QVERIFY2(fm.horizontalAdvance(text) + 5 <= h->sectionSize(c),
                     qPrintable(QStringLiteral("%1 of row %2 is cut").arg(g.cell(0, c)).arg(r)));
        }
    }
}

void dragColumnEdge(StringGrid& g, int col, int dx)
{
    QHeaderView* h = g.horizontalHeader();
    const QPoint edge(h->sectionViewportPosition(col) + h->sectionSize(col) - 1, h->height() / 2);
    QTest::mousePress(h->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(h->viewport(), edge + QPoint(dx, 0));
    QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, edge + QPoint(dx, 0));
}

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
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema));
        QVERIFY(testdb::createSchema(kFitSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")}));
    }

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
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan) + "\rBelum login."});
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

    // The list a civil servant checks every day, at 1366 x 768 in the design
    // font and in Debian's wider fallback: "Status" in view without
    // scrolling, every date, caption and type whole.
    void activityListFitsTheLaptop_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("design font") << "Tahoma";
        QTest::newRow("Debian's fallback") << "DejaVu Sans";
    }

    void activityListFitsTheLaptop()
    {
        QFETCH(QString, family);
        Laptop f;
        QFont font(family);
        font.setPixelSize(13);
        QCOMPARE(QFontInfo(font).family(), family);
        f.w.setFont(font);
        StringGrid& g = f.openActivities();
        QVERIFY2(f.msgs.log.isEmpty(), qPrintable(f.msgs.texts().join(QLatin1Char('|'))));
        QVERIFY(g.rowCount() > 4);
        QCOMPARE(g.horizontalScrollBar()->value(), 0);
        QCOMPARE(g.cell(0, 12), QStringLiteral("Tgl. Validasi")); // the last column
        // Task and description give way. In the design font every column
        // is in view; Debian's wider fallback keeps the status in view and
        // scrolls to the dates of verification and validation.
        const int status = 8;
        QCOMPARE(g.cell(0, status), QStringLiteral("Status"));
        expectFits(g, {3, 4}, {}, family == QLatin1String("Tahoma") ? -1 : status);
    }

    // The superior's review of a subordinate's month, in the design font:
    // "Sisa Hari" keeps its figure, the notes are in view.
    void reviewListFitsTheLaptop()
    {
        Laptop f(kKabid);
        f.w.dxTarvesaItems3Click();
        StringGrid* list = f.w.xBawahan->sg_bawahan;
        for (int r = 1; r < list->rowCount(); ++r)
            if (list->cell(r, 1) == kPelaksana)
                list->setCurrentRow(r);
        f.w.xBawahan->btbAktivitasHarianClick();
        BwAktivitasPage* review = f.w.xBwAktivitas;
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(review));
        review->xBwAktivitasTanggalAwal->setDate(f.clock.today().addDays(-30));
        review->xBwAktivitasTampilDataClick();
        QApplication::processEvents();
        QVERIFY2(f.msgs.log.isEmpty(), qPrintable(f.msgs.texts().join(QLatin1Char('|'))));
        StringGrid& g = *review->sg_aktivitas_bawahan;
        QCOMPARE(g.cell(0, 13), QStringLiteral("Sisa Hari"));
        QCOMPARE(g.cell(0, 14), QStringLiteral("Catatan"));
        expectFits(g, {3, 4, 13, 14}, {13});
    }

    // No page needs a scroll bar of its own, on the laptop or on a 1024 x
    // 768 screen: filters and button bars wrap, lists give way or scroll
    // inside themselves, every control stays in reach.
    void noPageScrolls_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("1366 x 768") << QSize(1366, 768);
        QTest::newRow("1024 x 768") << QSize(1024, 768);
    }

    void noPageScrolls()
    {
        QFETCH(QSize, screen);
        Laptop f(kPelaksana, screen);
        for (int i = 0; i < f.w.pg->count(); ++i) {
            QWidget* page = f.w.pg->widget(i);
            f.w.showPage(page);
            QApplication::processEvents();
            auto* area = page->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
            if (!area)
                continue; // the login page draws its own background
            const QSize needed = area->widget()->minimumSizeHint();
            QVERIFY2(needed.width() <= area->viewport()->width() && !area->horizontalScrollBar()->isVisible(),
                     qPrintable(QStringLiteral("%1 needs %2 px of %3")
                                    .arg(page->objectName())
                                    .arg(needed.width())
                                    .arg(area->viewport()->width())));
            QVERIFY2(!area->verticalScrollBar()->isVisible(), qPrintable(page->objectName()));
        }
    }

    void draggedColumnWidthLastsUntilLogout()
    {
        Laptop f;
        StringGrid& g = f.openActivities();
        QHeaderView* h = g.horizontalHeader();
        const int status = 8;
        const int designed = h->sectionSize(status);
        dragColumnEdge(g, status, 45);
        QCOMPARE(h->sectionSize(status), designed + 45);

        f.w.xAktivitas->xAktivitasTampilDataClick(); // as after adding, changing or deleting
        f.w.dxTarvesaItems2Click();
        f.w.xAktivitas->Refresh1Click();
        QCOMPARE(h->sectionSize(status), designed + 45);
        QVERIFY(f.msgs.log.isEmpty());

        f.w.dxAplikasiItems0Click(); // logout
        QCOMPARE(f.w.dxAplikasi->item(0)->caption(), QStringLiteral("Login"));
        f.login(kPelaksana);
        f.atLaptopSize();
        f.openActivities();
        QCOMPARE(h->sectionSize(status), designed);
    }

    // A long name and position title end in "..." with the whole text as
    // the tooltip; the bar needs no width it does not have, and at 768
    // pixels every group of the Admin System, "Logout" included, is in view.
    void sideBarFitsTheLaptop()
    {
        Fixture f(downSettings());
        f.w.setWindowState(Qt::WindowNoState);
        f.w.resize(1366, 768);
        f.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.w));
        const QString name = QStringLiteral("Raden Mas Bagus Wicaksono Adiningrat Kusumawardhana, S.Kom., M.T.");
        const QString position = QStringLiteral("Pranata Komputer Ahli Muda pada Bidang Aplikasi Informatika");
        f.w.showLoggedIn(true);
        f.w.applyAccessLevel(QStringLiteral("Admin System"));
        f.w.showIdentity(name, QStringLiteral("198608182010011001"), position);
        QApplication::processEvents();

        const SideBarItem* nameItem = f.w.dxPNS->item(0);
        QCOMPARE(nameItem->caption(), name);
        QVERIFY(nameItem->isElided());
        QVERIFY(nameItem->text().endsWith(QChar(0x2026)));
        QCOMPARE(nameItem->toolTip(), name);
        QCOMPARE(f.w.dxPNS->item(2)->toolTip(), position);
        QVERIFY(!f.w.dxPNS->item(1)->isElided()); // the NIP fits
        QCOMPARE(f.w.dxPNS->item(1)->toolTip(), QString());

        QWidget* viewport = f.w.sbxWinXPBar->viewport();
        QVERIFY(f.w.sbxWinXPBar->widget()->width() <= viewport->width());
        const QList<SideBarGroup*> groups{f.w.dxPNS, f.w.dxTarvesa, f.w.dxInformasi, f.w.dxAdmin, f.w.dxSetting,
                                          f.w.dxAplikasi};
        for (SideBarGroup* g : groups) {
            QVERIFY2(!g->isHidden(), qPrintable(g->objectName()));
            const QRect r(g->mapTo(viewport, QPoint(0, 0)), g->size());
            QVERIFY2(r.left() >= 0 && r.right() < viewport->width(), qPrintable(g->objectName()));
            QVERIFY2(r.top() + SideBarGroup::HeaderHeight <= viewport->height(), qPrintable(g->objectName()));
        }
        const SideBarItem* logout = f.w.dxAplikasi->item(0);
        QCOMPARE(logout->caption(), QStringLiteral("Logout"));
        QVERIFY(logout->isVisibleTo(&f.w));
        QVERIFY(logout->mapTo(viewport, QPoint(0, logout->height())).y() <= viewport->height());
        QVERIFY(f.w.dxTarvesa->item(3)->isVisibleTo(&f.w)); // "Aktivitas Harian" stays open

        // No group folds without need: the last one folded (the least used
        // fold first) would not have fitted.
        SideBarGroup* folded = nullptr;
        for (SideBarGroup* g : {f.w.dxInformasi, f.w.dxSetting, f.w.dxAdmin, f.w.dxPNS})
            if (g->isCollapsed())
                folded = g;
        QVERIFY(folded);
        auto* bar = qobject_cast<MainSideBar*>(f.w.sbxWinXPBar->widget());
        QVERIFY(bar->neededHeight() <= viewport->height());
        folded->setCollapsed(false);
        QVERIFY(bar->neededHeight() > viewport->height());
        folded->setCollapsed(true);

        // A group folded for room that the user opens stays open.
        QTest::mouseClick(folded, Qt::LeftButton, {}, QPoint(20, SideBarGroup::HeaderHeight / 2));
        QVERIFY(!folded->isCollapsed());
        f.w.showIdentity(name, QStringLiteral("198608182010011001"), position);
        QVERIFY(!folded->isCollapsed());

        // The next session starts afresh.
        f.w.showLoggedIn(false);
        for (SideBarGroup* g : groups)
            QVERIFY2(!g->isCollapsed(), qPrintable(g->objectName()));
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
