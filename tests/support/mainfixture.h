#pragma once

#include "app/umain.h"
#include "api/udm.h"
#include "scripted.h"
#include "testconfig.h"
#include "testdb.h"

#include <QLineEdit>

// A main window on a test schema with recorded messages and dialogs and a
// fixed local clock.
struct MainFixture {
    explicit MainFixture(const QString& schema, const QDateTime& now = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)))
        : clock(now), dm(testdb::appSettings(schema)),
          w(dm, Tfmain::Seams{&msgs, &dialogs, &clock, QStringLiteral(TARVESA_SOURCE_DIR), {}})
    {
    }

    // Logs in through the login page the way a user does.
    void login(const QString& nip, const QString& pass = QStringLiteral("rahasia123"));
    // Binds the window's connections to a session of the NIP without the
    // login page, for tests that call procedures straight.
    void bind(const QString& nip) { w.session().token = testdb::sessionToken(dm.settings().schema, nip); }

    ScriptedMessages msgs;
    ScriptedDialogs dialogs;
    FixedClock clock;
    Tdm dm;
    Tfmain w;
};
