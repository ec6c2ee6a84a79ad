#pragma once

#include "connection.h"
#include "connsettings.h"
#include "query.h"

#include <QElapsedTimer>

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
    //
    // The full binding (kinerja_sesi_ikat) checks the session and moves its
    // idle clock; it runs once a minute. In between the connection only
    // carries the session's digest, which the server checks on every use
    // anyway: that spares the server a procedure parse per connection in a
    // loop of operations such as "approve all".
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
            if (!fullBind_.isValid() || fullBind_.hasExpired(kFullBindEveryMs)) {
                fdsq1_.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"),
                            {{QStringLiteral("var_token"), sessionToken_}});
                fullBind_.start();
            } else {
                fdsq1_.exec(QStringLiteral("SET @kinerja_sesi_sha2 = SHA2(:var_token, 256)"),
                            {{QStringLiteral("var_token"), sessionToken_}});
            }
        } catch (...) {
            fdsimpeg_.close();
            fullBind_.invalidate();
            throw;
        }
    }
    bool connected() const noexcept { return fdsimpeg_.isOpen(); }

    db::Query& fdsq1() noexcept { return fdsq1_; }

    // The token of the logged-in session (column "token" of the login
    // answer); empty when logged out.
    void setSessionToken(const QString& token)
    {
        if (token != sessionToken_)
            fullBind_.invalidate();
        sessionToken_ = token;
    }
    const QString& sessionToken() const noexcept { return sessionToken_; }

private:
    db::ConnSettings settings_;
    db::Connection fdsimpeg_;
    db::Query fdsq1_{fdsimpeg_};
    QString sessionToken_;
    QElapsedTimer fullBind_; // since the last full binding of sessionToken_
    static constexpr qint64 kFullBindEveryMs = 60'000;
};
