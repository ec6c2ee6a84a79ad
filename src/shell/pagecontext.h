#pragma once

#include "session.h"
#include "seams.h"
#include "shell/settingstore.h"
#include "ui/envelope.h"

#include <QColor>
#include <QString>

class PageHeader;
class QWidget;

// The look of every page header and dialog header.
struct HeaderLook {
    QColor from;
    QColor to;
    int height = 32;
    int fontSize = 14;
};

// What a page or dialog may use of the application: the session, the
// operation host (connection, shared query, messages), dialogs and the
// clock, navigation, the header look, and the side-bar switches that login
// and profile load express as intents. The main window implements it;
// tests implement it without a main window.
class PageContext : public OperationHost {
public:
    virtual Session& session() = 0;
    virtual DialogRunner& dialogs() = 0;
    virtual const Clock& clock() const = 0;
    // Parent of modal dialogs.
    virtual QWidget* dialogParent() = 0;
    // Folder the program's assets lie in.
    virtual QString programDir() const = 0;

    // Makes a page the active one; its shown() fires only when it changes.
    virtual void showPage(QWidget* page) = 0;
    virtual QWidget* activePage() const = 0;

    // The server's setting store, each call one envelope of this context.
    SettingStore settingStore() { return SettingStore(*this); }

    virtual HeaderLook headerLook() const = 0;
    // Colours, height, font size and caption of a page header.
    void styleHeader(PageHeader* header, const QString& caption);

    // Side bar after a login (true) or a logout (false).
    virtual void showLoggedIn(bool loggedIn) = 0;
    // Shows the groups and items of an access level.
    virtual void applyAccessLevel(const QString& level) = 0;
    // The identity box of the side bar: name, NIP, position.
    virtual void showIdentity(const QString& name, const QString& nip, const QString& position) = 0;
    // Whether the user leads anybody: the "Bawahan" item.
    virtual void setSubordinatesEnabled(bool enabled) = 0;
    // The window takes the whole screen (after a login).
    virtual void maximize() = 0;
    // Whether the server is in maintenance, as the profile load or a
    // refusal told: a logged-in user sees it before the next save fails.
    virtual void showMaintenance(bool on) = 0;
    // The sentence of the server's maintenance refusal.
    static bool isMaintenanceRefusal(const QString& reason)
    {
        return reason == QLatin1String("Sistem sedang maintenance");
    }
};
