#include "logentry.h"

#include "ui/envelope.h"
#include "db/query.h"

bool writeLogEntry(OperationHost& host, const QString& nip, const QString& aksi, const QString& keterangan,
                   const QString& target)
{
    return Envelope(host).run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL `kinerja_log_insert`(:var_nip, :var_aksi, :var_keterangan, :var_target)"),
               {{QStringLiteral("var_nip"), nip},
                {QStringLiteral("var_aksi"), aksi},
                {QStringLiteral("var_keterangan"), keterangan},
                {QStringLiteral("var_target"), target}});
    });
}
