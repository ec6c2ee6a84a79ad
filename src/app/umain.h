#pragma once

#include "shell/pagecontext.h"
#include "ui/messages.h"

#include <QColor>
#include <QMainWindow>

#include <memory>

class Tdm;
class MainSideBar;
class Page;
class PageHeader;
class SideBarGroup;
class StringGrid;
class LoginPage;
class RegisPage;
class DashboardPage;
class ProfilPage;
class AktivitasPage;
class BawahanPage;
class BwAktivitasPage;
class BwKualMutuPage;
class BwTugasTambahanPage;
class InfoAplikasiPage;
class AdmAplikasiPage;
class SupervisiPage;
class JFAtasBawahPage;
class VerifKamusPage;
class InfoPage;
class AdmInformasiPage;
class LogPage;
class DelegasiPage;
class AdminSKPDPage;
class AdmUserPage;
class AdmPltPage;
class QFrame;
class QLabel;
class QScrollArea;
class QSplitter;
class QStackedWidget;

// The main window: side bar, page stack and status bar. It assembles the
// pages, wires the side bar to their openers and is the page context they
// are built with: the session, the way to the database (TryConn/CloseConn
// and the shared query) and to the user (the message and dialog seams).
// It runs no statement of a page and holds no page logic.
class Tfmain : public QMainWindow, public PageContext {
    Q_OBJECT
public:
    // Replaceable collaborators; null members get the production ones.
    struct Seams {
        Messages* messages = nullptr;
        DialogRunner* dialogs = nullptr;
        Clock* clock = nullptr;
        QString programDir;   // where assets/ lies; default: the program's folder
        QString downloadSite; // default: the installation setting
    };

    explicit Tfmain(Tdm& dm);
    Tfmain(Tdm& dm, Seams seams);
    ~Tfmain() override;

    // PageContext
    void TryConn() override;
    void CloseConn() noexcept override;
    void DropConn() noexcept override;
    db::Query& query() override;
    Messages& messages() override { return *messages_; }
    Session& session() override { return session_; }
    DialogRunner& dialogs() override { return *dialogs_; }
    const Clock& clock() const override { return *clock_; }
    QWidget* dialogParent() override { return this; }
    QString programDir() const override { return programDir_; }
    void showPage(QWidget* page) override;
    QWidget* activePage() const override;
    HeaderLook headerLook() const override { return {warna2, warna1, headerHeight, headerFontSize}; }
    void showLoggedIn(bool loggedIn) override;
    void applyAccessLevel(const QString& level) override;
    void showIdentity(const QString& name, const QString& nip, const QString& position) override;
    void setSubordinatesEnabled(bool enabled) override;
    void maximize() override;
    void showMaintenance(bool on) override;
    void refusedByServer(const QString& reason) override;

    Tdm& dm() { return dm_; }
    QString downloadSite() const { return downloadSite_; }
    const Session& session() const { return session_; }
    // A row of the profile (row 2 the NIP); empty before the first load.
    QString profileValue(int row) const { return session_.profileValue(row); }

    // Runs after the window first appears: login page, then the version check.
    void FormShow();
    bool terminateRequested() const { return terminate_; }

public slots:
    // Side-bar handlers.
    void dxAplikasiItems0Click();
    // The steps after a valid login: side bar, profile and dashboard,
    // position codes, side bar by access level, log entry.
    void SuksesLogin();
    // Back to the logged-out state, with its log entry; the session is
    // revoked and forgotten.
    void SuksesLogout();
    void dxAplikasiItems1Click();
    void dxAplikasiItems5Click();
    void dxTarvesaItems0Click();
    void dxTarvesaItems1Click();
    void dxTarvesaItems2Click();
    void dxTarvesaItems3Click();
    void JvXPBar5Items0Click();
    void JvXPBar5Items1Click();
    void dxAdminItems0Click();
    void dxAdminItems1Click();
    void dxAdminItems2Click();
    void dxAdminItems3Click();
    void dxSettingItems0Click();
    void dxSettingItems1Click();
    void dxSettingItems2Click();
    void dxSettingItems3Click();
    void dxSettingItems4Click();
    void dxSettingItems5Click();
    // The Back buttons of the subordinate pages.
    void SpeedButton6Click();

    // Frame behaviour.
    void Splitter1Moved();
    void centreLoginPanel();

public:

    // Frame settings.
    QString app_version;
    QColor warna1;
    QColor warna2;
    int headerHeight = 32;
    int headerFontSize = 14;

    // Frame.
    QFrame* cntWinXPBar;
    QScrollArea* sbxWinXPBar;
    SideBarGroup* dxPNS;
    SideBarGroup* dxTarvesa;
    SideBarGroup* dxInformasi;
    SideBarGroup* dxAdmin;
    SideBarGroup* dxSetting;
    SideBarGroup* dxAplikasi;
    QSplitter* Splitter1;
    QStackedWidget* pg;
    QLabel* sb1Panel0;
    QLabel* sb1Panel1;
    QLabel* sbMaintenance; // shown while the server is in maintenance
    StringGrid* sg_profil; // the profile page's grid

    // Pages.
    LoginPage* xLogin;
    RegisPage* xRegis;
    InfoAplikasiPage* xInfoAplikasi;
    DashboardPage* xDashboard;
    ProfilPage* xProfil;
    AktivitasPage* xAktivitas;
    BawahanPage* xBawahan;
    BwAktivitasPage* xBwAktivitas;
    BwKualMutuPage* xBwKualMutu;
    BwTugasTambahanPage* xBwTugasTambahan;
    InfoPage* xInfoTarvesa;
    InfoPage* xInfoTPP;
    AdminSKPDPage* xAdminSKPD;
    DelegasiPage* xDelegasi;
    LogPage* xLog;
    SupervisiPage* xSupervisi;
    AdmAplikasiPage* xAdmAplikasi;
    AdmUserPage* xAdmUser;
    AdmInformasiPage* xAdmInformasi;
    AdmPltPage* xAdmPlt;
    JFAtasBawahPage* xJFAtasBawah;
    VerifKamusPage* xVerifKamus;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void buildSideBar();
    void buildPages();
    void versionCheck();
    void setConnectionStatus(const QString& text);
    void openPage(Page* page, const QString& title, bool probe);
    template <class P> P* addPage(P* page);

    Tdm& dm_;
    MainSideBar* sideBar_ = nullptr;
    Session session_;
    std::unique_ptr<Messages> ownMessages_;
    std::unique_ptr<DialogRunner> ownDialogs_;
    std::unique_ptr<Clock> ownClock_;
    Messages* messages_;
    DialogRunner* dialogs_;
    Clock* clock_;
    QString programDir_;
    QString downloadSite_;
    bool formShown_ = false;
    bool terminate_ = false;
};
