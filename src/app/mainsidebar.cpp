#include "mainsidebar.h"

#include "ui/sidebar.h"

#include <QEvent>
#include <QVBoxLayout>

#include <algorithm>

MainSideBar::MainSideBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("sbxWinXPBarContent"));
    setAutoFillBackground(true);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(10);

    dxPNS = new SideBarGroup(QStringLiteral("dxPNS"), QStringLiteral("Data PNS"), this);
    for (int i = 0; i < 3; ++i)
        dxPNS->addItem(QString())->setEnabled(false);

    dxTarvesa = new SideBarGroup(QStringLiteral("dxTarvesa"), QStringLiteral("Tarvesa"), this);
    dxTarvesa->addItem(QStringLiteral("Dashboard"));
    dxTarvesa->addItem(QStringLiteral("Profil"));
    dxTarvesa->addItem(QStringLiteral("Sasaran Kerja"))->setEnabled(false);
    dxTarvesa->addItem(QStringLiteral("Aktivitas Harian"));
    dxTarvesa->addItem(QStringLiteral("Bawahan"))->setEnabled(false);

    dxInformasi = new SideBarGroup(QStringLiteral("dxInformasi"), QStringLiteral("Informasi"), this);
    dxInformasi->addItem(QStringLiteral("Info Tarvesa"))->setObjectName(QStringLiteral("mnInfoTarvesa"));
    dxInformasi->addItem(QStringLiteral("Info TPP"));

    dxAdmin = new SideBarGroup(QStringLiteral("dxAdmin"), QStringLiteral("Halaman Admin"), this);
    for (const char* caption : {"Admin SKPD", "Delegasi", "Log Monitoring", "Supervisi"})
        dxAdmin->addItem(QString::fromUtf8(caption));

    dxSetting = new SideBarGroup(QStringLiteral("dxSetting"), QStringLiteral("Setting"), this);
    for (const char* caption : {"Aplikasi", "User", "Informasi", "Plt/Plh/KS/Kapus", "JF - Jenjang Atas Bawah",
                                "Verifikator Kamus"})
        dxSetting->addItem(QString::fromUtf8(caption));

    dxAplikasi = new SideBarGroup(QStringLiteral("dxAplikasi"), QStringLiteral("Aplikasi"), this);
    dxAplikasi->addItem(QStringLiteral("Login"));
    dxAplikasi->addItem(QStringLiteral("Register"));
    dxAplikasi->addItem(QStringLiteral("Manual book"))->setVisible(false);
    dxAplikasi->addItem(QString())->setEnabled(false);
    dxAplikasi->addItem(QString())->setEnabled(false);
    dxAplikasi->addItem(QStringLiteral("Info Aplikasi"));

    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi})
        v->addWidget(g);
    v->addStretch(1);

    dxPNS->setVisible(false);
    dxTarvesa->setVisible(false);
    dxAdmin->setVisible(false);
    dxSetting->setVisible(false);

    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi})
        connect(g, &SideBarGroup::toggledByUser, this, [this, g] {
            folded_.erase(std::remove(folded_.begin(), folded_.end(), g), folded_.end());
            if (std::find(chosen_.begin(), chosen_.end(), g) == chosen_.end())
                chosen_.push_back(g);
        });
}

int MainSideBar::neededHeight() const
{
    // Measured now, not when the layouts next run: a group's size hint is
    // cached by the bar's layout until the group asks for a new geometry.
    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi}) {
        g->layout()->invalidate();
        g->updateGeometry();
    }
    layout()->invalidate();
    return layout()->sizeHint().height();
}

void MainSideBar::fitHeight(int available)
{
    available_ = available;
    if (available <= 0)
        return;
    for (SideBarGroup* g : folded_)
        g->setCollapsed(false);
    folded_.clear();
    // Least used first; "Tarvesa" with the daily pages and "Aplikasi" with
    // Logout stay open.
    for (SideBarGroup* g : {dxInformasi, dxSetting, dxAdmin, dxPNS}) {
        if (neededHeight() <= available)
            break;
        if (g->isHidden() || g->isCollapsed() || std::find(chosen_.begin(), chosen_.end(), g) != chosen_.end())
            continue;
        g->setCollapsed(true);
        folded_.push_back(g);
    }
}

void MainSideBar::refit()
{
    fitHeight(available_);
}

void MainSideBar::followHeightOf(QWidget* viewport)
{
    viewport_ = viewport;
    viewport->installEventFilter(this);
    fitHeight(viewport->height());
}

bool MainSideBar::eventFilter(QObject* watched, QEvent* event)
{
    // Only a change of height: the width changes when the scroll bar comes
    // and goes, which folding itself may cause.
    if (watched == viewport_ && event->type() == QEvent::Resize && viewport_->height() != available_)
        fitHeight(viewport_->height());
    return QWidget::eventFilter(watched, event);
}

void MainSideBar::showLoggedIn(bool loggedIn)
{
    // Each session starts with the groups open, as far as room allows.
    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi})
        g->setCollapsed(false);
    folded_.clear();
    chosen_.clear();
    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi})
        g->setVisible(false);
    dxPNS->setVisible(loggedIn);
    dxTarvesa->setVisible(loggedIn);
    dxInformasi->setVisible(true);
    dxAplikasi->setVisible(true);
    dxAplikasi->item(0)->setCaption(loggedIn ? QStringLiteral("Logout") : QStringLiteral("Login"));
    dxAplikasi->item(0)->setVisible(true);
    dxAplikasi->item(1)->setVisible(!loggedIn);
    refit();
}

void MainSideBar::applyAccessLevel(const QString& level)
{
    const bool system = level == QLatin1String("Admin System");
    const bool admin = system || level == QLatin1String("Admin SKPD") || level == QLatin1String("Admin Sektira");
    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAplikasi})
        g->setVisible(true);
    dxAdmin->setVisible(admin);
    dxAdmin->item(0)->setVisible(true);
    dxAdmin->item(1)->setVisible(true);
    dxAdmin->item(2)->setVisible(system);
    dxAdmin->item(3)->setVisible(system);
    dxSetting->setVisible(system);
    dxSetting->item(0)->setEnabled(system);
    refit();
}

void MainSideBar::showIdentity(const QString& name, const QString& nip, const QString& position)
{
    dxPNS->setVisible(true);
    dxPNS->item(0)->setCaption(name);
    dxPNS->item(1)->setCaption(nip);
    dxPNS->item(2)->setCaption(position);
    refit();
}

void MainSideBar::setSubordinatesEnabled(bool enabled)
{
    dxTarvesa->item(4)->setEnabled(enabled);
}
