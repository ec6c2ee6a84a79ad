#pragma once

#include <QWidget>

#include <vector>

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

    // Keeps every group's header within the given height (the bar's visible
    // height): when the groups of a level are taller, the least used fold
    // until they fit. Groups the user opens or folds stay as the user left
    // them. Follows the height of the watched widget (the bar's viewport).
    void fitHeight(int available);
    void followHeightOf(QWidget* viewport);
    int neededHeight() const;

    SideBarGroup* dxPNS;
    SideBarGroup* dxTarvesa;
    SideBarGroup* dxInformasi;
    SideBarGroup* dxAdmin;
    SideBarGroup* dxSetting;
    SideBarGroup* dxAplikasi;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refit();

    QWidget* viewport_ = nullptr;
    int available_ = 0;
    std::vector<SideBarGroup*> folded_; // folded for want of room
    std::vector<SideBarGroup*> chosen_; // opened or folded by the user
};
