#include "installsettings.h"
#include "theme.h"
#include "umain.h"

#include "db/udm.h"

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
    return s;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvesa Kelordan"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvesa Kelordan"));
    applyLightTheme(app);

    Tdm dm(installedConnection());
    Tfmain fmain(dm);
    fmain.show();
    return app.exec();
}
