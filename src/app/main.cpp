#include "shell/indonesian.h"
#include "installsettings.h"
#include "shell/theme.h"
#include "umain.h"

#include "api/udm.h"
#include "delegation/uu_delegasi.h"
#include "supervision/ut_tugas.h"
#include "supervision/uu_kualmutu.h"

#include <QApplication>

namespace {

db::ConnSettings installedConnection()
{
    db::ConnSettings s;
    s.host = QString::fromUtf8(install::DbHost);
    s.port = install::DbPort;
    s.schema = QString::fromUtf8(install::DbSchema);
    s.user = QString::fromUtf8(install::DbUser);
    s.password = QString::fromUtf8(install::DbPassword);
    s.requireTls = install::DbRequireTls;
    s.tlsCa = QString::fromUtf8(install::DbTlsCa);
    return s;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvesa Kelordan"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvesa Kelordan"));
    applyIndonesian(app);
    applyLightTheme(app);

    Tdm dm(installedConnection());
    Tfmain fmain(dm);
    // Start-up instances of these dialogs, never shown: each use makes its
    // own for its subordinate.
    Tft_tugas ft_tugas(fmain, QString(), QString());
    Tfu_kualmutu fu_kualmutu(fmain, QString(), QString());
    Tfu_delegasi fu_delegasi(fmain);
    fmain.show();
    return app.exec();
}
