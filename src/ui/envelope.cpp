#include "envelope.h"

#include "db/dberror.h"

#include <QThread>
#include <QtGlobal>

namespace {

// Hands the connection back on every way out; one that failed is dropped,
// so the next operation starts on a new one.
struct CloseOnExit {
    OperationHost& host;
    bool failed = false;
    ~CloseOnExit()
    {
        if (failed)
            host.DropConn();
        else
            host.CloseConn();
    }
};

} // namespace

bool Envelope::run(const std::function<void(db::Query&)>& body)
{
    runs_ = 0;
    try {
        host_.TryConn();
    } catch (const std::exception& e) {
        qWarning("connect failed: %s", e.what());
        host_.DropConn();
        outcome_ = Outcome::NoConnection;
        noteRefusal(e);
        host_.messages().show(connectKind_, failureText(connectText_, e));
        return false;
    }

    bool ok = true;
    QString failure;
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
                closer.failed = true;
                noteRefusal(e);
                failure = failureText(failText_, e);
                break;
            }
        }
    }
    outcome_ = ok ? Outcome::Done : Outcome::Failed;
    // The connection is already closed when the user reads the message.
    if (!ok)
        host_.messages().show(failKind_, failure);
    return ok;
}

void Envelope::noteRefusal(const std::exception& e)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&e);
    if (dbError && dbError->isRefusal())
        host_.refusedByServer(QString::fromUtf8(dbError->what()));
}

QString failureText(const QString& fixed, const std::exception& e)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&e);
    if (!dbError || !dbError->isRefusal())
        return fixed;
    QString reason = QString::fromUtf8(dbError->what()).trimmed();
    if (reason.isEmpty())
        return fixed;
    if (!reason.endsWith(QLatin1Char('.')) && !reason.endsWith(QLatin1Char('!')))
        reason += QLatin1Char('.');
    return fixed + QLatin1Char('\r') + reason;
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
