#include "dayminutes.h"

#include "db/query.h"
#include "db/resultset.h"
#include "ui/envelope.h"

#include <QLabel>

namespace {

class SilentMessages : public Messages {
public:
    void show(Kind, const QString&) override {}
    bool confirm(const QString&) override { return false; }
};

// The caller's connection and query with messages that go nowhere.
class QuietHost : public OperationHost {
public:
    explicit QuietHost(OperationHost& inner) : inner_(inner) {}
    void TryConn() override { inner_.TryConn(); }
    void CloseConn() noexcept override { inner_.CloseConn(); }
    db::Query& query() override { return inner_.query(); }
    Messages& messages() override { return silent_; }

private:
    OperationHost& inner_;
    SilentMessages silent_;
};

} // namespace

QString DayMinutes::text() const
{
    return (known ? QString::number(minutes) : QStringLiteral("-")) + QStringLiteral(" / ") + QString::number(limit);
}

DayMinutes DayMinutes::fetch(OperationHost& host, const QString& nip, const QDate& day)
{
    DayMinutes result;
    if (!day.isValid())
        return result;
    QuietHost quiet(host);
    Envelope(quiet).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_aktivitas_menit_hari`(:var_nip, :var_tanggal)"),
                                        {{QStringLiteral("var_nip"), nip},
                                         {QStringLiteral("var_tanggal"), day.toString(QStringLiteral("yyyy-MM-dd"))}});
        bool minutesOk = false;
        bool limitOk = false;
        const int minutes = rs.first(QStringLiteral("menit_tercatat")).toInt(&minutesOk);
        const int limit = rs.first(QStringLiteral("batas_menit")).toInt(&limitOk);
        if (!minutesOk || !limitOk)
            return;
        result.known = true;
        result.minutes = minutes;
        result.limit = limit;
    });
    return result;
}

void showDayMinutes(QLabel* label, const QString& prefix, const DayMinutes& minutes)
{
    label->setText(prefix + minutes.text());
    label->setStyleSheet(minutes.full() ? QStringLiteral("color: #B00020; font-weight: bold;") : QString());
}
