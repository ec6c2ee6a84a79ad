#include "envelope.h"

#include "db/dberror.h"

#include <QThread>
#include <QtGlobal>

namespace {

struct CloseOnExit {
    OperationHost& host;
    ~CloseOnExit() { host.CloseConn(); }
};

} // namespace

bool Envelope::run(const std::function<void(db::Query&)>& body)
{
    runs_ = 0;
    try {
        host_.TryConn();
    } catch (const std::exception& e) {
        qWarning("connect failed: %s", e.what());
        host_.CloseConn();
        outcome_ = Outcome::NoConnection;
        host_.messages().show(connectKind_, connectText_);
        return false;
    }

    bool ok = true;
    {
        CloseOnExit closer{host_};
        for (runs_ = 1;; ++runs_) {
            try {
                if (body)
                    body(host_.query());
                break;
            } catch (const std::exception& e) {
                const auto* dbError = dynamic_cast<const db::DbError*>(&e);
                if (dbError && dbError->isConflict() && runs_ < maxRuns_) {
                    qWarning("conflict, running again: %s", e.what());
                    // A moment for the other node's write to arrive here.
                    QThread::msleep(20 * runs_);
                    continue;
                }
                qWarning("operation failed: %s", e.what());
                ok = false;
                break;
            }
        }
    }
    outcome_ = ok ? Outcome::Done : Outcome::Failed;
    // The connection is already closed when the user reads the message.
    if (!ok)
        host_.messages().show(failKind_, failText_);
    return ok;
}

bool optionalPart(const char* what, const std::function<void()>& part)
{
    try {
        part();
        return true;
    } catch (const std::exception& e) {
        qWarning("%s failed: %s", what, e.what());
        return false;
    }
}

bool probeConnection(OperationHost& host)
{
    return Envelope(host).run(nullptr);
}
