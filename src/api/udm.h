#pragma once

#include "db/connection.h"
#include "db/connsettings.h"
#include "db/query.h"

#include <QElapsedTimer>

// The data module: the program's connection and the query that every
// operation runs its statements through.
//
// While a user is logged in, one connection stays open for the session
// (warm): an operation takes it, runs its statements and hands it back.
// Opening a connection costs a handshake, and the server parses again every
// stored routine a new connection calls; in a loop of operations such as
// "approve all" that was most of the time. A connection answers a ping
// before it is reused (one small round trip: a server that went away shows
// as it always did, as a connection that cannot be had), is replaced after
// any failure, and is closed at
// logout. Anonymous operations (login, registration, the public pages)
// take a fresh connection each time, as before: nothing of one of them may
// reach the next.
class Tdm {
public:
    explicit Tdm(db::ConnSettings settings) : settings_(std::move(settings)) {}
    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    const db::ConnSettings& settings() const noexcept { return settings_; }

    // For an operation: a connection bound to the session of the token
    // (throws db::DbError; nothing stays open then). The warm connection
    // when it is bound to this token and still answers; otherwise a new
    // one, bound first.
    //
    // The full binding (kinerja_sesi_ikat) checks the session and moves its
    // idle clock; it runs once a minute. In between a new connection only
    // carries the session's digest, which the server checks on every use
    // anyway.
    void take()
    {
        inUse_ = false;
        if (!reusable())
            fdsimpeg_.close();
        if (!fdsimpeg_.isOpen()) {
            fdsimpeg_.open(settings_);
            boundToken_.clear();
        }
        try {
            if (!sessionToken_.isEmpty() &&
                (!fullBind_.isValid() || fullBind_.hasExpired(kFullBindEveryMs) || boundToken_ != sessionToken_))
                bind();
        } catch (...) {
            drop();
            throw;
        }
        inUse_ = true;
    }
    // After an operation that went through: the connection stays warm for
    // the next one while a session is bound, else it closes.
    void handBack() noexcept
    {
        inUse_ = false;
        if (sessionToken_.isEmpty() || boundToken_ != sessionToken_)
            fdsimpeg_.close();
    }
    // After a failure, and at logout: whatever the connection carries goes
    // with it; the next operation starts on a new one.
    void drop() noexcept
    {
        inUse_ = false;
        fdsimpeg_.close();
        boundToken_.clear();
    }

    // Connected := true opens a new connection for an operation (take()
    // without reuse), false drops it.
    void setConnected(bool on)
    {
        if (!on) {
            drop();
            return;
        }
        drop();
        take();
    }
    // Whether an operation holds the connection now.
    bool connected() const noexcept { return inUse_; }
    // Whether a connection is kept open between operations.
    bool warm() const noexcept { return !inUse_ && fdsimpeg_.isOpen(); }

    db::Query& fdsq1() noexcept { return fdsq1_; }

    // The token of the logged-in session (column "token" of the login
    // answer); empty when logged out. A new token (another login, or a
    // logout) never reuses the connection of the old one.
    void setSessionToken(const QString& token)
    {
        if (token != sessionToken_) {
            fullBind_.invalidate();
            drop();
        }
        sessionToken_ = token;
    }
    const QString& sessionToken() const noexcept { return sessionToken_; }

private:
    // The warm connection serves the next operation of the same session
    // when it answers a ping (a server restarted, or one that killed or
    // timed out the connection, does not).
    bool reusable()
    {
        return fdsimpeg_.isOpen() && !sessionToken_.isEmpty() && boundToken_ == sessionToken_ && fdsimpeg_.alive();
    }

    void bind()
    {
        if (!fullBind_.isValid() || fullBind_.hasExpired(kFullBindEveryMs)) {
            fdsq1_.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"),
                        {{QStringLiteral("var_token"), sessionToken_}});
            fullBind_.start();
        } else {
            fdsq1_.exec(QStringLiteral("SET @kinerja_sesi_sha2 = SHA2(:var_token, 256)"),
                        {{QStringLiteral("var_token"), sessionToken_}});
        }
        boundToken_ = sessionToken_;
    }

    db::ConnSettings settings_;
    db::Connection fdsimpeg_;
    db::Query fdsq1_{fdsimpeg_};
    QString sessionToken_;
    QString boundToken_;    // the token the open connection is bound to
    bool inUse_ = false;
    QElapsedTimer fullBind_; // since the last full binding of sessionToken_
    static constexpr qint64 kFullBindEveryMs = 60'000;
};
