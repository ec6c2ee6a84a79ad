#pragma once

#include <QWidget>

class SideBarGroup;

// The side bar's command groups with their items, and the switches that a
// login, a logout and the profile load turn: which groups and items show
// for an access level, the identity box, the "Bawahan" item. The main
// window connects the items to their handlers.
class MainSideBar : public QWidget {
    Q_OBJECT
public:
    explicit MainSideBar(QWidget* parent = nullptr);

    void showLoggedIn(bool loggedIn);
    void applyAccessLevel(const QString& level);
    void showIdentity(const QString& name, const QString& nip, const QString& position);
    void setSubordinatesEnabled(bool enabled);

    SideBarGroup* dxPNS;
    SideBarGroup* dxTarvesa;
    SideBarGroup* dxInformasi;
    SideBarGroup* dxAdmin;
    SideBarGroup* dxSetting;
    SideBarGroup* dxAplikasi;
};
