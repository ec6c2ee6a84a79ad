#pragma once

#include "db/envelope.h"
#include "db/messages.h"
#include "seams.h"

#include <QColor>
#include <QMainWindow>

#include <memory>

class Tdm;
class Page;
class PageHeader;
class SideBarGroup;
class StringGrid;
class LoginPage;
class RegisPage;
class DashboardPage;
class ProfilPage;
class AktivitasPage;
class InfoAplikasiPage;
class QFrame;
class QLabel;
class QScrollArea;
class QSplitter;
class QStackedWidget;

// The main window: side bar, page stack and status bar. It assembles the
// pages, holds the session fields and the profile grid, and gives pages
// their way to the database (TryConn/CloseConn and the shared query) and to
// the user (the message and dialog seams). It runs no statement and holds no
// page logic of its own beyond the frame.
class Tfmain : public QMainWindow, public OperationHost {
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

    // OperationHost
    void TryConn() override;
    void CloseConn() noexcept override;
    db::Query& query() override;
    Messages& messages() override { return *messages_; }

    DialogRunner& dialogs() { return *dialogs_; }
    const Clock& clock() const { return *clock_; }
    Tdm& dm() { return dm_; }
    QString programDir() const { return programDir_; }
    QString downloadSite() const { return downloadSite_; }

    // Header look shared by every page: colours, height, font size, caption.
    void styleHeader(PageHeader* header, const QString& caption);
    // Makes a page the active one; its shown() fires only when it changes.
    void showPage(QWidget* page);
    QWidget* activePage() const;

    // Column 1 of a row of the profile grid: the logged-in user's facts
    // (row 2 the NIP). Empty before the first profile load.
    QString profileValue(int row) const;

    // Runs after the window first appears: login page, then the version check.
    void FormShow();
    bool terminateRequested() const { return terminate_; }

public slots:
    // Side-bar handlers.
    void dxAplikasiItems0Click();
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

    // Session fields.
    QString app_version;
    QColor warna1;
    QColor warna2;
    int headerHeight = 32;
    int headerFontSize = 14;
    QString nipLogin;
    QString levelUser;
    QString kode_jabatan;
    QString kode_induk;
    QString st_aktivitas_bawahan;
    QString periodex;
    QString periodef;
    quint16 Year = 0;
    quint16 Month = 0;
    quint16 Day = 0;

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
    StringGrid* sg_profil;

    // Pages.
    LoginPage* xLogin;
    RegisPage* xRegis;
    InfoAplikasiPage* xInfoAplikasi;
    DashboardPage* xDashboard;
    ProfilPage* xProfil;
    AktivitasPage* xAktivitas;
    Page* xBawahan;
    Page* xBwAktivitas;
    Page* xBwKualMutu;
    Page* xBwTugasTambahan;
    Page* xInfoTarvesa;
    Page* xInfoTPP;
    Page* xAdminSKPD;
    Page* xDelegasi;
    Page* xLog;
    Page* xSupervisi;
    Page* xAdmAplikasi;
    Page* xAdmUser;
    Page* xAdmInformasi;
    Page* xAdmPlt;
    Page* xJFAtasBawah;
    Page* xVerifKamus;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void buildSideBar();
    void buildPages();
    void versionCheck();
    void openPage(Page* page, const QString& title, bool probe);
    template <class P> P* addPage(P* page);

    Tdm& dm_;
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
