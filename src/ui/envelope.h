#pragma once

#include "messages.h"

#include <functional>

namespace db {
class Query;
}

// What an operation needs from the main window: TryConn/CloseConn (which also
// keep the status bar up to date), the shared query and the message seam.
// TryConn takes the session's connection, CloseConn hands it back after an
// operation that went through, DropConn closes it after a failure.
class OperationHost {
public:
    virtual ~OperationHost() = default;
    virtual void TryConn() = 0; // throws db::DbError
    virtual void CloseConn() noexcept = 0;
    virtual void DropConn() noexcept { CloseConn(); }
    virtual db::Query& query() = 0;
    virtual Messages& messages() = 0;
    // Every refusal of the server, before its message shows (the main
    // window notices maintenance this way).
    virtual void refusedByServer(const QString& /*reason*/) {}
};

// The operation envelope: connect, run the body's statements, report a
// failure with the operation's fixed message, and give the connection back
// on every way out (dropped after a failure). When our own routines refused the act on purpose (a
// db::DbError::isRefusal), their sentence follows the fixed message on a
// second line; the words of any other failure are never shown. Checks that need no database belong
// before run(). run() answers whether the body went through without failure;
// a body that leaves early on a server answer simply returns.
class Envelope {
public:
    enum class Outcome { Done, NoConnection, Failed };

    explicit Envelope(OperationHost& host) : host_(host) {}

    Envelope& onConnectFailure(Messages::Kind kind, QString text)
    {
        connectKind_ = kind;
        connectText_ = std::move(text);
        return *this;
    }
    Envelope& onFailure(Messages::Kind kind, QString text)
    {
        failKind_ = kind;
        failText_ = std::move(text);
        return *this;
    }
    Envelope& onFailure(QString text) { return onFailure(Messages::Kind::Warning, std::move(text)); }
    // Runs the body again, up to `runs` times in all, while the server
    // answers a conflict (db::DbError::isConflict): two writes for one person
    // through different nodes of a cluster, or a deadlock. Only for a body
    // that is one server transaction, such as one CALL that writes nothing
    // before its transaction: its conflict undid all of it, so running it
    // again cannot write twice, and it now sees the write it collided with.
    Envelope& retryOnConflict(int runs = 3)
    {
        maxRuns_ = runs;
        return *this;
    }

    bool run(const std::function<void(db::Query&)>& body);
    // How the last run() ended.
    Outcome outcome() const { return outcome_; }
    // How many times the last run() ran the body.
    int runs() const { return runs_; }

private:
    void noteRefusal(const std::exception& e);

    OperationHost& host_;
    Messages::Kind connectKind_ = Messages::Kind::Warning;
    QString connectText_ = QString::fromUtf8(stdmsg::GagalTerhubung);
    Messages::Kind failKind_ = Messages::Kind::Warning;
    QString failText_ = QString::fromUtf8(stdmsg::GagalMenampilkan);
    Outcome outcome_ = Outcome::Done;
    int maxRuns_ = 1;
    int runs_ = 0;
};

// Inside an envelope's body, a part whose failure must not fail the
// operation (figures shown beside a list that stands without them): a
// failure is logged, not reported. Answers whether the part went through.
bool optionalPart(const char* what, const std::function<void()>& part);

// A connection probe: connect and close; on failure the connection warning.
bool probeConnection(OperationHost& host);

// The fixed message of a failure, with the server's sentence on a second
// line when our routines refused on purpose.
QString failureText(const QString& fixed, const std::exception& e);
