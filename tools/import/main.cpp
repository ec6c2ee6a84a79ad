// tarvesa-impor: the import command that scripts/server.sh import runs.
//   tarvesa-impor --defaults-file FILE --schema NAME [--periksa] [--ya] [--rinci] DIR
// FILE is a MariaDB option file whose [client] group names the server and an
// administrative account.
#include "importer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    impor::Options o;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--defaults-file") && i + 1 < args.size())
            o.connection.optionFile = args[++i];
        else if (a == QLatin1String("--schema") && i + 1 < args.size())
            o.connection.schema = args[++i];
        else if (a == QLatin1String("--periksa"))
            o.checkOnly = true;
        else if (a == QLatin1String("--ya"))
            o.yes = true;
        else if (a == QLatin1String("--rinci"))
            o.allDetails = true;
        else if (!a.startsWith(QLatin1String("--")) && o.dir.isEmpty())
            o.dir = a;
        else {
            out << "Argumen tidak dikenal: " << a << '\n';
            o.dir.clear();
            break;
        }
    }
    if (o.dir.isEmpty() || o.connection.optionFile.isEmpty() || o.connection.schema.isEmpty()) {
        out << "Pemakaian: tarvesa-impor --defaults-file BERKAS --schema NAMA [--periksa] [--ya] [--rinci] FOLDER\n";
        return 2;
    }
    // An import and the recompute after it may take minutes on a large
    // regency; the connection still gives up on a server that never answers.
    o.connection.connectTimeoutSec = 10;
    o.connection.readTimeoutSec = 3600;
    o.connection.writeTimeoutSec = 600;
    return impor::run(o, out, [&out]() {
        if (!isatty(STDIN_FILENO)) {
            out << "Tidak ada terminal untuk bertanya: tambahkan --yes untuk menerapkan tanpa bertanya." << Qt::endl;
            return false;
        }
        out << "Terapkan perubahan ini? Ketik \"ya\" lalu Enter: " << Qt::flush;
        QTextStream in(stdin);
        return in.readLine().trimmed().compare(QLatin1String("ya"), Qt::CaseInsensitive) == 0;
    });
}
