#pragma once

#include "connection.h"
#include "connsettings.h"
#include "query.h"

// The data module: the program's one connection and the query that every
// operation runs its statements through. The connection is closed at rest;
// an operation opens it, runs its statements and closes it again.
class Tdm {
public:
    explicit Tdm(db::ConnSettings settings) : settings_(std::move(settings)) {}
    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    const db::ConnSettings& settings() const noexcept { return settings_; }

    // Connected := true opens a new connection (throws db::DbError) and,
    // while a session token is set, binds it to the session first, so the
    // server knows whom every statement acts for; a refused binding closes
    // the connection again. Connected := false closes it and never fails.
    void setConnected(bool on)
    {
        if (!on) {
            fdsimpeg_.close();
            return;
        }
        fdsimpeg_.open(settings_);
        if (sessionToken_.isEmpty())
            return;
        try {
            fdsq1_.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"),
                        {{QStringLiteral("var_token"), sessionToken_}});
        } catch (...) {
            fdsimpeg_.close();
            throw;
        }
    }
    bool connected() const noexcept { return fdsimpeg_.isOpen(); }

    db::Query& fdsq1() noexcept { return fdsq1_; }

    // The token of the logged-in session (column "token" of the login
    // answer); empty when logged out.
    void setSessionToken(const QString& token) { sessionToken_ = token; }
    const QString& sessionToken() const noexcept { return sessionToken_; }

private:
    db::ConnSettings settings_;
    db::Connection fdsimpeg_;
    db::Query fdsq1_{fdsimpeg_};
    QString sessionToken_;
};
