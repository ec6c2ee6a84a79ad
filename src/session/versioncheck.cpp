#include "versioncheck.h"

#include "api/session.h"
#include "ui/envelope.h"

bool VersionCheck::run(OperationHost& host, const QString& appVersion, const QString& downloadSite)
{
    return Envelope(host).run([&](db::Query& q) {
        const api::VersionVerdict answer = api::checkVersion(q, appVersion);
        const QString& version = answer.newest;
        caption = answer.caption;
        const QString where = QStringLiteral(" di alamat website ") + downloadSite + QStringLiteral(".");
        if (answer.verdict == QLatin1String("Up-Wajib")) {
            host.messages().information(QStringLiteral("Ada update aplikasi versi ") + version +
                                        QStringLiteral(" yang WAJIB diinstall!\r\rCatatan :\r") +
                                        QStringLiteral("Silahkan download installer aplikasi versi ") + version +
                                        where);
            mandatoryUpdate = true;
        } else if (answer.verdict == QLatin1String("Up-GakWajib")) {
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
