// The activity list at scale: one CALL returning N rows of 13 text columns,
// read through the data module into the list page's grid and painted,
// beside the stock command-line client printing the same CALL to
// /dev/null, measured in the same run. Prints times and peak memory.
#include "activities/aktivitaspage.h"
#include "benchlogin.h"
#include "shell/theme.h"
#include "app/umain.h"
#include "benchstats.h"
#include "ui/stringgrid.h"
#include "api/udm.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QStackedWidget>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    applyLightTheme(app);
    if (argc < 5) {
        std::fprintf(stderr, "usage: bench_list PORT SCHEMA PASSWORD RUNS\n");
        return 2;
    }
    const db::ConnSettings s = benchServer(argv);
    const int runs = QString::fromLocal8Bit(argv[4]).toInt();
    const QString nip = QStringLiteral("190001012000011002");

    SilentMessages msgs;
    Tdm dm(s);
    Tfmain w(dm, Tfmain::Seams{&msgs, nullptr, nullptr, QStringLiteral(TARVESA_PROGRAM_DIR), {}});
    // Logged in as the owner of the list, the way a user is.
    if (!showLoggedIn(w, nip, QStringLiteral("skala2026"))) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    AktivitasPage* page = w.xAktivitas;
    page->xAktivitasTanggalAwal->setDate(QDate(2000, 1, 1));
    page->xAktivitasTanggalAkhir->setDate(QDate(2100, 1, 1));
    w.pg->setCurrentWidget(page);

    const QString call = QStringLiteral(
        "CALL kinerja_aktivitas_tampil_data('%1', '2000-01-01 00:00:00', '2100-01-01 00:00:00', "
        "'x,Utama,Tambahan,Lainnya', 'x,accepted,rejected,0,accepted_by_system,accepted_by_spv,rejected_by_spv', "
        "'', '')")
                             .arg(nip);
    // The command line binds its connection to the same session first.
    const QString bind = QStringLiteral("CALL kinerja_sesi_ikat('%1'); ").arg(w.session().token);
    const QStringList cliArgs{QStringLiteral("--no-defaults"), QStringLiteral("--batch"),
                              QStringLiteral("-h127.0.0.1"), QStringLiteral("-P") + QString::number(s.port),
                              QStringLiteral("-uaplikasi"), QStringLiteral("-p") + s.password, s.schema,
                              QStringLiteral("-e"), bind + call};

    std::vector<double> ours, theirs;
    int rows = 0;
    for (int i = 0; i < runs + 1; ++i) {
        QElapsedTimer t;
        t.start();
        page->xAktivitasTampilDataClick();
        const QPixmap painted = page->sg_aktivitas->grab();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        rows = page->sg_aktivitas->rowCount() - 1;
        if (painted.isNull() || rows <= 0) {
            std::fprintf(stderr, "the list did not load\n");
            return 1;
        }

        QProcess cli;
        cli.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer c;
        c.start();
        cli.start(QStringLiteral("mariadb"), cliArgs);
        cli.waitForFinished(120000);
        const double cms = double(c.nsecsElapsed()) / 1e6;
        if (cli.exitCode() != 0) {
            std::fprintf(stderr, "mariadb failed: %s\n", cli.readAllStandardError().constData());
            return 1;
        }
        if (i == 0)
            continue; // warm-up
        ours.push_back(ms);
        theirs.push_back(cms);
    }

    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    const double mOurs = median(ours);
    const double mTheirs = median(theirs);
    std::printf("rows                              %d x 13 columns\n", rows);
    std::printf("client: CALL -> grid -> painted   median %8.1f ms   min %8.1f ms   (%d runs)\n", mOurs,
                *std::min_element(ours.begin(), ours.end()), runs);
    std::printf("mariadb --batch > /dev/null       median %8.1f ms   min %8.1f ms\n", mTheirs,
                *std::min_element(theirs.begin(), theirs.end()));
    std::printf("ratio client / command line       %8.2f   (target <= 0.60)\n", mOurs / mTheirs);
    std::printf("peak memory of the client         %8.1f MB  (target <= 120)\n", double(ru.ru_maxrss) / 1024.0);
    std::printf("grid label                        %s\n", qPrintable(page->lbAktivitasJumlah->text()));
    return 0;
}
