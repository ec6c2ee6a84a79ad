#include "mainsidebar.h"

#include "sidebar.h"

#include <QVBoxLayout>

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
}

void MainSideBar::showLoggedIn(bool loggedIn)
{
    for (SideBarGroup* g : {dxPNS, dxTarvesa, dxInformasi, dxAdmin, dxSetting, dxAplikasi})
        g->setVisible(false);
    dxPNS->setVisible(loggedIn);
    dxTarvesa->setVisible(loggedIn);
    dxInformasi->setVisible(true);
    dxAplikasi->setVisible(true);
    dxAplikasi->item(0)->setCaption(loggedIn ? QStringLiteral("Logout") : QStringLiteral("Login"));
    dxAplikasi->item(0)->setVisible(true);
    dxAplikasi->item(1)->setVisible(!loggedIn);
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
}

void MainSideBar::showIdentity(const QString& name, const QString& nip, const QString& position)
{
    dxPNS->setVisible(true);
    dxPNS->item(0)->setCaption(name);
    dxPNS->item(1)->setCaption(nip);
    dxPNS->item(2)->setCaption(position);
}

void MainSideBar::setSubordinatesEnabled(bool enabled)
{
    dxTarvesa->item(4)->setEnabled(enabled);
}
