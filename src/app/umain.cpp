#include "umain.h"

#include "infoaplikasipage.h"
#include "installsettings.h"
#include "page.h"
#include "pageheader.h"
#include "sidebar.h"

#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "db/stringgrid.h"
#include "db/udm.h"
#include "activities/aktivitaspage.h"
#include "progress/dashboardpage.h"
#include "progress/profilpage.h"
#include "session/loginpage.h"
#include "session/regispage.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const char* const kStatusText = ".: Mawaru - Tarvesa Kelordan :.";

} // namespace

Tfmain::Tfmain(Tdm& dm) : Tfmain(dm, Seams{}) {}

Tfmain::Tfmain(Tdm& dm, Seams seams) : QMainWindow(nullptr), dm_(dm)
{
    setObjectName(QStringLiteral("fmain"));
    if (!seams.messages)
        ownMessages_ = std::make_unique<BoxMessages>(this);
    if (!seams.dialogs)
        ownDialogs_ = std::make_unique<ModalDialogRunner>();
    if (!seams.clock)
        ownClock_ = std::make_unique<SystemClock>();
    messages_ = seams.messages ? seams.messages : ownMessages_.get();
    dialogs_ = seams.dialogs ? seams.dialogs : ownDialogs_.get();
    clock_ = seams.clock ? seams.clock : ownClock_.get();
    programDir_ = seams.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : seams.programDir;
    downloadSite_ = seams.downloadSite.isEmpty() ? QString::fromUtf8(install::DownloadSite) : seams.downloadSite;

    // The wait cursor shows while a statement is with the server.
    dm_.fdsq1().setBusyHook([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });

    setWindowTitle(QStringLiteral("Tarvesa Kelordan"));
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    setFont(f);

    cntWinXPBar = new QFrame;
    cntWinXPBar->setObjectName(QStringLiteral("cntWinXPBar"));
    cntWinXPBar->setAutoFillBackground(true);
    QPalette barPal = cntWinXPBar->palette();
    barPal.setColor(QPalette::Window, QColor(0x7E, 0xA7, 0xE4));
    cntWinXPBar->setPalette(barPal);
    auto* barLayout = new QVBoxLayout(cntWinXPBar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    sbxWinXPBar = new QScrollArea(cntWinXPBar);
    sbxWinXPBar->setObjectName(QStringLiteral("sbxWinXPBar"));
    sbxWinXPBar->setFrameShape(QFrame::NoFrame);
    sbxWinXPBar->setWidgetResizable(true);
    sbxWinXPBar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    barLayout->addWidget(sbxWinXPBar);

    pg = new QStackedWidget;
    pg->setObjectName(QStringLiteral("pg"));
    // Pages may be wider than the space left; they are clipped rather than
    // forcing the side bar narrower than its minimum.
    pg->setMinimumSize(200, 200);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(cntWinXPBar);
    Splitter1->addWidget(pg);
    Splitter1->setCollapsible(0, false);
    Splitter1->setCollapsible(1, false);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({250, 650});
    setCentralWidget(Splitter1);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });

    sb1Panel0 = new QLabel(QString::fromUtf8(kStatusText));
    sb1Panel0->setObjectName(QStringLiteral("sb1Panel0"));
    sb1Panel0->setFixedWidth(255);
    sb1Panel0->setAlignment(Qt::AlignCenter);
    sb1Panel1 = new QLabel;
    sb1Panel1->setObjectName(QStringLiteral("sb1Panel1"));
    sb1Panel1->setMinimumWidth(50);
    statusBar()->setObjectName(QStringLiteral("sb1"));
    statusBar()->addWidget(sb1Panel0);
    statusBar()->addWidget(sb1Panel1, 1);

    sg_profil = new StringGrid;
    sg_profil->setObjectName(QStringLiteral("sg_profil"));

    buildSideBar();
    buildPages();

    auto* small = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_1), this);
    connect(small, &QShortcut::activated, this, [this] {
        showNormal();
        resize(1366, 768);
    });
    auto* big = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this);
    connect(big, &QShortcut::activated, this, [this] { showMaximized(); });

    FormCreate();
}

Tfmain::~Tfmain()
{
    dm_.fdsq1().setBusyHook(nullptr);
}

template <class P> P* Tfmain::addPage(P* page)
{
    pg->addWidget(page);
    return page;
}

void Tfmain::buildSideBar()
{
    auto* holder = new QWidget;
    holder->setObjectName(QStringLiteral("sbxWinXPBarContent"));
    holder->setAutoFillBackground(true);
    auto* v = new QVBoxLayout(holder);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(10);

    dxPNS = new SideBarGroup(QStringLiteral("dxPNS"), QStringLiteral("Data PNS"), holder);
    for (int i = 0; i < 3; ++i)
        dxPNS->addItem(QString())->setEnabled(false);

    dxTarvesa = new SideBarGroup(QStringLiteral("dxTarvesa"), QStringLiteral("Tarvesa"), holder);
    dxTarvesa->addItem(QStringLiteral("Dashboard"), [this] { dxTarvesaItems0Click(); });
    dxTarvesa->addItem(QStringLiteral("Profil"), [this] { dxTarvesaItems1Click(); });
    dxTarvesa->addItem(QStringLiteral("Sasaran Kerja"))->setEnabled(false);
    dxTarvesa->addItem(QStringLiteral("Aktivitas Harian"), [this] { dxTarvesaItems2Click(); });
    dxTarvesa->addItem(QStringLiteral("Bawahan"), [this] { dxTarvesaItems3Click(); })->setEnabled(false);

    dxInformasi = new SideBarGroup(QStringLiteral("dxInformasi"), QStringLiteral("Informasi"), holder);
    dxInformasi->addItem(QStringLiteral("Info Tarvesa"), [this] { JvXPBar5Items0Click(); })
        ->setObjectName(QStringLiteral("mnInfoTarvesa"));
    dxInformasi->addItem(QStringLiteral("Info TPP"), [this] { JvXPBar5Items1Click(); });

    dxAdmin = new SideBarGroup(QStringLiteral("dxAdmin"), QStringLiteral("Halaman Admin"), holder);
    dxAdmin->addItem(QStringLiteral("Admin SKPD"), [this] { dxAdminItems0Click(); });
    dxAdmin->addItem(QStringLiteral("Delegasi"), [this] { dxAdminItems1Click(); });
    dxAdmin->addItem(QStringLiteral("Log Monitoring"), [this] { dxAdminItems2Click(); });
    dxAdmin->addItem(QStringLiteral("Supervisi"), [this] { dxAdminItems3Click(); });

    dxSetting = new SideBarGroup(QStringLiteral("dxSetting"), QStringLiteral("Setting"), holder);
    dxSetting->addItem(QStringLiteral("Aplikasi"), [this] { dxSettingItems0Click(); });
    dxSetting->addItem(QStringLiteral("User"), [this] { dxSettingItems1Click(); });
    dxSetting->addItem(QStringLiteral("Informasi"), [this] { dxSettingItems2Click(); });
    dxSetting->addItem(QStringLiteral("Plt/Plh/KS/Kapus"), [this] { dxSettingItems3Click(); });
    dxSetting->addItem(QStringLiteral("JF - Jenjang Atas Bawah"), [this] { dxSettingItems4Click(); });
    dxSetting->addItem(QStringLiteral("Verifikator Kamus"), [this] { dxSettingItems5Click(); });

    dxAplikasi = new SideBarGroup(QStringLiteral("dxAplikasi"), QStringLiteral("Aplikasi"), holder);
    dxAplikasi->addItem(QStringLiteral("Login"), [this] { dxAplikasiItems0Click(); });
    dxAplikasi->addItem(QStringLiteral("Register"), [this] { dxAplikasiItems1Click(); });
    dxAplikasi->addItem(QStringLiteral("Manual book"))->setVisible(false);
    dxAplikasi->addItem(QString())->setEnabled(false);
    dxAplikasi->addItem(QString())->setEnabled(false);
    dxAplikasi->addItem(QStringLiteral("Info Aplikasi"), [this] { dxAplikasiItems5Click(); });

    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi})
        v->addWidget(g);
    v->addStretch(1);
    sbxWinXPBar->setWidget(holder);

    dxPNS->setVisible(false);
    dxTarvesa->setVisible(false);
    dxAdmin->setVisible(false);
    dxSetting->setVisible(false);
}

void Tfmain::buildPages()
{
    auto page = [this](const char* name) {
        const QString n = QString::fromUtf8(name);
        return addPage(new Page(*this, n, n + QStringLiteral("Judul")));
    };
    xLogin = addPage(new LoginPage(*this));
    xRegis = addPage(new RegisPage(*this));
    xInfoAplikasi = addPage(new InfoAplikasiPage(*this));
    xDashboard = addPage(new DashboardPage(*this));
    xProfil = addPage(new ProfilPage(*this));
    xAktivitas = addPage(new AktivitasPage(*this));
    xBawahan = page("xBawahan");
    xBwAktivitas = page("xBwAktivitas");
    xBwKualMutu = page("xBwKualMutu");
    xBwTugasTambahan = page("xBwTugasTambahan");
    xInfoTarvesa = page("xInfoTarvesa");
    xInfoTPP = page("xInfoTPP");
    xAdminSKPD = page("xAdminSKPD");
    xDelegasi = page("xDelegasi");
    xLog = page("xLog");
    xSupervisi = page("xSupervisi");
    xAdmAplikasi = page("xAdmAplikasi");
    xAdmUser = page("xAdmUser");
    xAdmInformasi = page("xAdmInformasi");
    xAdmPlt = page("xAdmPlt");
    xJFAtasBawah = page("xJFAtasBawah");
    xVerifKamus = page("xVerifKamus");
}

void Tfmain::FormCreate()
{
    pg->setCurrentWidget(xLogin);
    app_version = QStringLiteral("0.32");
    dxAplikasi->item(3)->setCaption(QStringLiteral("Tarvesa v ") + app_version);
    dxAplikasi->item(4)->setCaption(QString());
    warna1 = QColor(0xD3, 0xD3, 0xD3);
    warna2 = QColor(0x99, 0x32, 0xCC);
    QPalette sbx = sbxWinXPBar->widget()->palette();
    sbx.setColor(QPalette::Window, Qt::white);
    sbxWinXPBar->widget()->setPalette(sbx);
    QPalette panel = xLogin->pLogin->palette();
    panel.setColor(QPalette::Window, warna2);
    xLogin->pLogin->setPalette(panel);
    headerHeight = 32;
    headerFontSize = 14;

    resize(900, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.center() - QPoint(450, 300));
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

void Tfmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!formShown_) {
        formShown_ = true;
        // After the window is on screen, like the form's OnShow.
        QMetaObject::invokeMethod(this, [this] { FormShow(); }, Qt::QueuedConnection);
    }
}

void Tfmain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    centreLoginPanel();
}

void Tfmain::TryConn()
{
    dm_.setConnected(false);
    dm_.setConnected(true);
    sb1Panel1->setText(QStringLiteral("Connected on server : ") + dm_.settings().host);
}

void Tfmain::CloseConn() noexcept
{
    dm_.setConnected(false);
}

db::Query& Tfmain::query()
{
    return dm_.fdsq1();
}

void Tfmain::styleHeader(PageHeader* header, const QString& caption)
{
    header->setColors(warna2, warna1);
    header->setHeaderHeight(headerHeight);
    header->setFontSize(headerFontSize);
    header->setCaption(caption);
}

void Tfmain::showPage(QWidget* page)
{
    if (pg->currentWidget() == page)
        return;
    pg->setCurrentWidget(page);
    if (auto* p = qobject_cast<Page*>(page))
        emit p->shown();
}

QWidget* Tfmain::activePage() const
{
    return pg->currentWidget();
}

QString Tfmain::profileValue(int row) const
{
    if (row < 0 || row >= sg_profil->rowCount() || sg_profil->colCount() < 2)
        return {};
    return sg_profil->cell(row, 1);
}

void Tfmain::openPage(Page* page, const QString& title, bool probe)
{
    if (probe && !probeConnection(*this))
        return;
    styleHeader(page->header(), title);
    showPage(page);
}

void Tfmain::FormShow()
{
    dxAplikasiItems0Click();
    versionCheck();
    if (terminate_) {
        hide();
        QCoreApplication::exit(0);
    }
}

void Tfmain::versionCheck()
{
    Envelope(*this).run([this](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_version_check_trial`(:var_app)"),
                                        {{QStringLiteral("var_app"), app_version}});
        const QString verdict = rs.first(0);
        const QString version = rs.first(1);
        const QString caption = rs.first(3);
        if (verdict == QLatin1String("Up-Wajib")) {
            messages().information(QStringLiteral("Ada update aplikasi versi ") + version +
                                   QStringLiteral(" yang WAJIB diinstall!\r\rCatatan :\r") +
                                   QStringLiteral("Silahkan download installer aplikasi versi ") + version +
                                   QStringLiteral(" di alamat website ") + downloadSite_ + QStringLiteral("."));
            terminate_ = true;
        } else if (verdict == QLatin1String("Up-GakWajib")) {
            messages().information(
                QStringLiteral("Ada update aplikasi versi ") + version + QStringLiteral(" yang bisa diinstall.\r\r") +
                QStringLiteral("Catatan :\r") +
                QStringLiteral("Update versi ini tidak wajib diinstall tapi mungkin ada fitur baru yang bermanfaat.\r\r") +
                QStringLiteral("Silahkan lihat perubahan di bagian 'change log-pada website kinerja' download installer "
                               "aplikasi versi ") +
                version + QStringLiteral(" di alamat website ") + downloadSite_ + QStringLiteral("."));
        }
        dxAplikasi->item(3)->setCaption(QStringLiteral("Tarvesa v ") + app_version);
        dxAplikasi->item(4)->setCaption(caption);
        dxAplikasi->item(4)->setEnabled(false);
    });
}

void Tfmain::dxAplikasiItems0Click()
{
    if (dxAplikasi->item(0)->caption() == QLatin1String("Login")) {
        styleHeader(xLogin->header(), xLogin->header()->caption());
        if (!xLogin->loadBackground()) {
            messages().warning(QString::fromUtf8(stdmsg::GagalTerhubung) +
                               QStringLiteral("\r\rNote : Error load system."));
            return;
        }
        showPage(xLogin);
        centreLoginPanel();
        xLogin->edLoginNIP->setFocus();
        return;
    }
    xLogin->SuksesLogout();
    xDashboard->ResetProgressGauges();
}

void Tfmain::dxAplikasiItems1Click()
{
    xRegis->dxAplikasiItems1Click();
}

void Tfmain::dxAplikasiItems5Click()
{
    xInfoAplikasi->Label18->setText(QStringLiteral("Versi ") + app_version + QStringLiteral(" - Oktober 2020"));
    showPage(xInfoAplikasi);
}

void Tfmain::dxTarvesaItems0Click()
{
    xDashboard->dxTarvesaItems0Click();
}

void Tfmain::dxTarvesaItems1Click()
{
    xProfil->dxTarvesaItems1Click();
}

void Tfmain::dxTarvesaItems2Click()
{
    xAktivitas->dxTarvesaItems2Click();
}

void Tfmain::dxTarvesaItems3Click()
{
    openPage(xBawahan, QStringLiteral("Data Bawahan"), false);
}

void Tfmain::JvXPBar5Items0Click()
{
    openPage(xInfoTarvesa, QStringLiteral("Informasi Tarvesa"), false);
}

void Tfmain::JvXPBar5Items1Click()
{
    openPage(xInfoTPP, QStringLiteral("Informasi TPP"), false);
}

void Tfmain::dxAdminItems0Click()
{
    openPage(xAdminSKPD, QStringLiteral("Halaman Admin SKPD"), true);
}

void Tfmain::dxAdminItems1Click()
{
    openPage(xDelegasi, QStringLiteral("Halaman Administrasi Delegasi"), false);
}

void Tfmain::dxAdminItems2Click()
{
    xLog->header()->setColors(warna2, warna1);
    xLog->header()->setCaption(QStringLiteral("Halaman Monitoring LOG"));
    showPage(xLog);
}

void Tfmain::dxAdminItems3Click()
{
    openPage(xSupervisi, QStringLiteral("Halaman Supervisi - Monitoring user`s Abnormal Behavior"), false);
}

void Tfmain::dxSettingItems0Click()
{
    openPage(xAdmAplikasi, QStringLiteral("Halaman Admin - Setting Aplikasi"), true);
}

void Tfmain::dxSettingItems1Click()
{
    openPage(xAdmUser, QStringLiteral("Halaman Admin - Setting User Aplikasi"), true);
}

void Tfmain::dxSettingItems2Click()
{
    openPage(xAdmInformasi, QStringLiteral("Halaman Admin - Setting Informasi Tarvesa dan TPP"), false);
}

void Tfmain::dxSettingItems3Click()
{
    openPage(xAdmPlt, QStringLiteral("Halaman Admin - Setting PLT / PLH / KS / KAPUS / Korwil"), false);
}

void Tfmain::dxSettingItems4Click()
{
    openPage(xJFAtasBawah, QStringLiteral("Halaman Admin - Setting Jenjang JF Atas Bawah"), false);
}

void Tfmain::dxSettingItems5Click()
{
    openPage(xVerifKamus, QStringLiteral("Halaman Admin - Setting Verifikator Kamus Aktivitas"), false);
}

void Tfmain::SpeedButton6Click()
{
    showPage(xBawahan);
}

void Tfmain::Splitter1Moved()
{
    QList<int> sizes = Splitter1->sizes();
    if (sizes.size() == 2) {
        const int total = sizes[0] + sizes[1];
        const int clamped = std::clamp(sizes[0], 200, 300);
        if (clamped != sizes[0])
            Splitter1->setSizes({clamped, total - clamped});
    }
    centreLoginPanel();
}

void Tfmain::centreLoginPanel()
{
    if (pg->currentWidget() == xLogin)
        xLogin->centrePanel(height(), pg->width());
}
