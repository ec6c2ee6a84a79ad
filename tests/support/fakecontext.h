#pragma once

#include "shell/page.h"
#include "shell/pagecontext.h"
#include "api/udm.h"
#include "scripted.h"
#include "testdb.h"

#include <QWidget>

// A page context without a main window: a data module on a test schema,
// recorded messages and dialogs, a fixed clock, and a record of what the
// page asked of the frame.
class FakeContext : public PageContext {
public:
    explicit FakeContext(const QString& schema, const QDateTime& now = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)))
        : dm(testdb::appSettings(schema)), clockValue(now)
    {
    }

    void TryConn() override
    {
        dm.setSessionToken(sessionValue.token);
        dm.take();
    }
    void CloseConn() noexcept override { dm.handBack(); }
    void DropConn() noexcept override { dm.drop(); }
    db::Query& query() override { return dm.fdsq1(); }
    Messages& messages() override { return msgs; }
    Session& session() override { return sessionValue; }
    DialogRunner& dialogs() override { return dialogRunner; }
    const Clock& clock() const override { return clockValue; }
    QWidget* dialogParent() override { return &parent; }
    QString programDir() const override { return {}; }
    void showPage(QWidget* page) override
    {
        if (shown == page)
            return;
        shown = page;
        if (auto* p = qobject_cast<Page*>(page))
            emit p->shown();
    }
    QWidget* activePage() const override { return shown; }
    HeaderLook headerLook() const override { return {QColor(0x99, 0x32, 0xCC), QColor(0xD3, 0xD3, 0xD3), 32, 14}; }
    void showLoggedIn(bool on) override { loggedIn = on; }
    void applyAccessLevel(const QString& level) override { appliedLevel = level; }
    void showIdentity(const QString& name, const QString&, const QString&) override { identity = name; }
    void setSubordinatesEnabled(bool on) override { subordinates = on; }
    void maximize() override {}
    void showMaintenance(bool on) override { maintenance = on; }
    void refusedByServer(const QString& reason) override
    {
        if (isMaintenanceRefusal(reason))
            maintenance = true;
    }

    // A session as the login and the profile load leave it: logged in on
    // the server (password of the test organisation), so that connections
    // bind to the person, and the profile's first rows filled.
    bool actAs(const QString& nip, const QString& name, const QString& level = QStringLiteral("Basic User"),
               const QString& pass = QStringLiteral("rahasia123"))
    {
        sessionValue.clear();
        sessionValue.nipLogin = nip;
        sessionValue.levelUser = level;
        sessionValue.profile = {{QString(), QString()}, {QStringLiteral("Nama Lengkap"), name},
                                {QStringLiteral("NIP"), nip}};
        sessionValue.token = testdb::loginToken(dm.settings(), nip, pass);
        return !sessionValue.token.isEmpty();
    }
    // Sets one profile row's value, growing the profile as needed.
    void setProfile(int row, const QString& value)
    {
        while (sessionValue.profile.size() <= row)
            sessionValue.profile.append({QString(), QString()});
        sessionValue.profile[row][1] = value;
    }

    Tdm dm;
    ScriptedMessages msgs;
    ScriptedDialogs dialogRunner;
    FixedClock clockValue;
    Session sessionValue;
    QWidget parent;
    QWidget* shown = nullptr;
    bool loggedIn = false;
    bool subordinates = false;
    bool maintenance = false;
    QString appliedLevel;
    QString identity;
};
