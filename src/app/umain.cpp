#include "umain.h"

#include "session/infoaplikasipage.h"
#include "installsettings.h"
#include "mainsidebar.h"
#include "shell/page.h"
#include "shell/pageheader.h"
#include "ui/sidebar.h"
#include "session/versioncheck.h"

#include "db/query.h"
#include "ui/designfont.h"
#include "ui/stringgrid.h"
#include "api/udm.h"
#include "activities/aktivitaspage.h"
#include "admin/supervisipage.h"
#include "dictionary/jfatasbawahpage.h"
#include "dictionary/verifkamuspage.h"
#include "admin/adminformasipage.h"
#include "admin/infopage.h"
#include "admin/logpage.h"
#include "delegation/delegasipage.h"
#include "admin/adminskpdpage.h"
#include "admin/admpltpage.h"
#include "admin/admuserpage.h"
#include "progress/dashboardpage.h"
#include "progress/profilpage.h"
#include "session/loginpage.h"
#include "session/regispage.h"
#include "settings/admaplikasipage.h"
#include "supervision/bawahanpage.h"
#include "supervision/bwaktivitaspage.h"
#include "supervision/bwkualmutupage.h"
#include "supervision/bwtugastambahanpage.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    registerDesignFont();
    setFont(designFont());

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
    sbMaintenance = new QLabel(QStringLiteral("Sistem sedang maintenance: data tidak bisa disimpan"));
    sbMaintenance->setObjectName(QStringLiteral("sbMaintenance"));
    sbMaintenance->setStyleSheet(QStringLiteral("QLabel { color: white; background: #B22222; padding: 0 8px; }"));
    sbMaintenance->setVisible(false);
    statusBar()->setObjectName(QStringLiteral("sb1"));
    statusBar()->addWidget(sb1Panel0);
    statusBar()->addWidget(sb1Panel1, 1);
    statusBar()->addPermanentWidget(sbMaintenance);

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
    sideBar_ = new MainSideBar;
    sbxWinXPBar->setWidget(sideBar_);
    sideBar_->followHeightOf(sbxWinXPBar->viewport());
    dxPNS = sideBar_->dxPNS;
    dxTarvesa = sideBar_->dxTarvesa;
    dxInformasi = sideBar_->dxInformasi;
    dxAdmin = sideBar_->dxAdmin;
    dxSetting = sideBar_->dxSetting;
    dxAplikasi = sideBar_->dxAplikasi;

    using Handler = void (Tfmain::*)();
    const std::pair<SideBarItem*, Handler> wiring[] = {
        {dxTarvesa->item(0), &Tfmain::dxTarvesaItems0Click}, {dxTarvesa->item(1), &Tfmain::dxTarvesaItems1Click},
        {dxTarvesa->item(3), &Tfmain::dxTarvesaItems2Click}, {dxTarvesa->item(4), &Tfmain::dxTarvesaItems3Click},
        {dxInformasi->item(0), &Tfmain::JvXPBar5Items0Click}, {dxInformasi->item(1), &Tfmain::JvXPBar5Items1Click},
        {dxAdmin->item(0), &Tfmain::dxAdminItems0Click},       {dxAdmin->item(1), &Tfmain::dxAdminItems1Click},
        {dxAdmin->item(2), &Tfmain::dxAdminItems2Click},       {dxAdmin->item(3), &Tfmain::dxAdminItems3Click},
        {dxSetting->item(0), &Tfmain::dxSettingItems0Click},   {dxSetting->item(1), &Tfmain::dxSettingItems1Click},
        {dxSetting->item(2), &Tfmain::dxSettingItems2Click},   {dxSetting->item(3), &Tfmain::dxSettingItems3Click},
        {dxSetting->item(4), &Tfmain::dxSettingItems4Click},   {dxSetting->item(5), &Tfmain::dxSettingItems5Click},
        {dxAplikasi->item(0), &Tfmain::dxAplikasiItems0Click}, {dxAplikasi->item(1), &Tfmain::dxAplikasiItems1Click},
        {dxAplikasi->item(5), &Tfmain::dxAplikasiItems5Click},
    };
    for (const auto& [item, handler] : wiring)
        connect(item, &QPushButton::clicked, this, handler);
}

void Tfmain::buildPages()
{
    xProfil = new ProfilPage(*this);
    sg_profil = xProfil->sg_profil;
    xDashboard = new DashboardPage(*this, *xProfil);
    xLogin = addPage(new LoginPage(*this));
    xRegis = addPage(new RegisPage(*this));
    xInfoAplikasi = addPage(new InfoAplikasiPage(*this));
    addPage(xDashboard);
    addPage(xProfil);
    xAktivitas = addPage(new AktivitasPage(*this));
    xBawahan = addPage(new BawahanPage(*this));
    xBwAktivitas = addPage(new BwAktivitasPage(*this));
    xBwKualMutu = addPage(new BwKualMutuPage(*this));
    xBwTugasTambahan = addPage(new BwTugasTambahanPage(*this));
    xInfoTarvesa = addPage(new InfoPage(*this, InfoPage::List::Tarvesa));
    xInfoTPP = addPage(new InfoPage(*this, InfoPage::List::TPP));
    xAdminSKPD = addPage(new AdminSKPDPage(*this));
    xDelegasi = addPage(new DelegasiPage(*this));
    xLog = addPage(new LogPage(*this));
    xSupervisi = addPage(new SupervisiPage(*this));
    xAdmAplikasi = addPage(new AdmAplikasiPage(*this));
    xAdmUser = addPage(new AdmUserPage(*this));
    xAdmInformasi = addPage(new AdmInformasiPage(*this));
    xAdmPlt = addPage(new AdmPltPage(*this));
    xJFAtasBawah = addPage(new JFAtasBawahPage(*this));
    xVerifKamus = addPage(new VerifKamusPage(*this));

    connect(xLogin, &LoginPage::loginSucceeded, this, [this] {
        SuksesLogin();
        xDashboard->ResetProgressGauges();
        xDashboard->LoadProgress();
    });
    connect(xLogin->BitBtn13, &QPushButton::clicked, this, &Tfmain::dxAplikasiItems1Click);
    connect(xBwKualMutu->SpeedButton6, &QPushButton::clicked, this, &Tfmain::SpeedButton6Click);
    connect(xBwTugasTambahan->SpeedButton1, &QPushButton::clicked, this, &Tfmain::SpeedButton6Click);
    connect(xRegis, &RegisPage::registered, this, [this](const QString& nip) {
        showPage(xLogin);
        xLogin->offerNip(nip);
    });
    connect(xBawahan, &BawahanPage::activitiesRequested, xBwAktivitas, &BwAktivitasPage::openFor);
    connect(xBwAktivitas, &BwAktivitasPage::backRequested, this, &Tfmain::SpeedButton6Click);
    connect(xBawahan, &BawahanPage::qualityRequested, xBwKualMutu, &BwKualMutuPage::openFor);
    connect(xBawahan, &BawahanPage::tasksRequested, xBwTugasTambahan, &BwTugasTambahanPage::openFor);
    connect(xAdmAplikasi, &AdmAplikasiPage::saved, this, [this] { showPage(xDashboard); });
    connect(xDashboard, &DashboardPage::subordinatesRequested, this, &Tfmain::dxTarvesaItems3Click);
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
    dm_.setSessionToken(session_.token);
    try {
        dm_.take();
    } catch (...) {
        // The status bar must not keep claiming a connection the server
        // just refused; the next success says connected again.
        setConnectionStatus(QStringLiteral("Tidak terhubung ke server : ") + dm_.settings().host);
        throw;
    }
    setConnectionStatus(QStringLiteral("Connected on server : ") + dm_.settings().host);
}

void Tfmain::setConnectionStatus(const QString& text)
{
    // Only when it changes: a relayout of the status bar per connection
    // would cost more than the connection itself in a loop of envelopes.
    if (sb1Panel1->text() != text)
        sb1Panel1->setText(text);
}

void Tfmain::CloseConn() noexcept
{
    dm_.handBack();
}

void Tfmain::DropConn() noexcept
{
    dm_.drop();
}

db::Query& Tfmain::query()
{
    return dm_.fdsq1();
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

void Tfmain::showMaintenance(bool on)
{
    sbMaintenance->setVisible(on);
}

void Tfmain::refusedByServer(const QString& reason)
{
    if (isMaintenanceRefusal(reason))
        showMaintenance(true);
}

void Tfmain::showLoggedIn(bool loggedIn)
{
    sideBar_->showLoggedIn(loggedIn);
    if (!loggedIn)
        showMaintenance(false);
    // Column widths the user dragged are the user's for one session only.
    if (!loggedIn)
        for (StringGrid* g : findChildren<StringGrid*>())
            g->forgetUserWidths();
}

void Tfmain::applyAccessLevel(const QString& level)
{
    sideBar_->applyAccessLevel(level);
}

void Tfmain::showIdentity(const QString& name, const QString& nip, const QString& position)
{
    sideBar_->showIdentity(name, nip, position);
}

void Tfmain::setSubordinatesEnabled(bool enabled)
{
    sideBar_->setSubordinatesEnabled(enabled);
}

void Tfmain::maximize()
{
    setWindowState(windowState() | Qt::WindowMaximized);
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
    VersionCheck check;
    if (!check.run(*this, app_version, downloadSite_))
        return;
    terminate_ = check.mandatoryUpdate;
    dxAplikasi->item(3)->setCaption(QStringLiteral("Tarvesa v ") + app_version);
    dxAplikasi->item(4)->setCaption(check.caption);
    dxAplikasi->item(4)->setEnabled(false);
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
    SuksesLogout();
    xDashboard->ResetProgressGauges();
}

void Tfmain::SuksesLogin()
{
    showLoggedIn(true);
    // the profile, the dashboard and the dashboard page
    xDashboard->dxTarvesaItems0Click();
    if (!xLogin->loadPositionCodes())
        return;
    applyAccessLevel(session_.levelUser);
    maximize();
    showPage(xDashboard);
    xLogin->writeLogEntry(QStringLiteral("Sukses LogIn"));
}

void Tfmain::SuksesLogout()
{
    showLoggedIn(false);
    showPage(xLogin);
    xLogin->writeLogEntry(QStringLiteral("Sukses LogOut"));
    xLogin->revokeSession();
    session_.clear();
    // the session's warm connection goes with it
    DropConn();
    // The next user starts typing at once.
    xLogin->edLoginNIP->setFocus();
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
    xBawahan->dxTarvesaItems3Click();
}

void Tfmain::JvXPBar5Items0Click()
{
    xInfoTarvesa->open();
}

void Tfmain::JvXPBar5Items1Click()
{
    xInfoTPP->open();
}

void Tfmain::dxAdminItems0Click()
{
    xAdminSKPD->dxAdminItems0Click();
}

void Tfmain::dxAdminItems1Click()
{
    xDelegasi->dxAdminItems1Click();
}

void Tfmain::dxAdminItems2Click()
{
    xLog->dxAdminItems2Click();
}

void Tfmain::dxAdminItems3Click()
{
    xSupervisi->dxAdminItems3Click();
}

void Tfmain::dxSettingItems0Click()
{
    xAdmAplikasi->dxSettingItems0Click();
}

void Tfmain::dxSettingItems1Click()
{
    xAdmUser->dxSettingItems1Click();
}

void Tfmain::dxSettingItems2Click()
{
    xAdmInformasi->dxSettingItems2Click();
}

void Tfmain::dxSettingItems3Click()
{
    xAdmPlt->dxSettingItems3Click();
}

void Tfmain::dxSettingItems4Click()
{
    xJFAtasBawah->dxSettingItems4Click();
}

void Tfmain::dxSettingItems5Click()
{
    xVerifKamus->dxSettingItems5Click();
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
