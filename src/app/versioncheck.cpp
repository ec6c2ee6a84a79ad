#include "versioncheck.h"

#include "db/query.h"
#include "db/resultset.h"
#include "ui/envelope.h"

bool VersionCheck::run(OperationHost& host, const QString& appVersion, const QString& downloadSite)
{
    return Envelope(host).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_version_check_trial`(:var_app)"),
                                        {{QStringLiteral("var_app"), appVersion}});
        const QString verdict = rs.first(0);
        const QString version = rs.first(1);
        caption = rs.first(3);
        const QString where = QStringLiteral(" di alamat website ") + downloadSite + QStringLiteral(".");
        if (verdict == QLatin1String("Up-Wajib")) {
            host.messages().information(QStringLiteral("Ada update aplikasi versi ") + version +
                                        QStringLiteral(" yang WAJIB diinstall!\r\rCatatan :\r") +
                                        QStringLiteral("Silahkan download installer aplikasi versi ") + version +
                                        where);
            mandatoryUpdate = true;
        } else if (verdict == QLatin1String("Up-GakWajib")) {
            host.messages().information(
                QStringLiteral("Ada update aplikasi versi ") + version + QStringLiteral(" yang bisa diinstall.\r\r") +
                QStringLiteral("Catatan :\r") +
                QStringLiteral("Update versi ini tidak wajib diinstall tapi mungkin ada fitur baru yang bermanfaat.\r\r") +
                QStringLiteral("Silahkan lihat perubahan di bagian 'change log-pada website kinerja' download installer "
                               "aplikasi versi ") +
                version + where);
        }
    });
}
