// "Setujui Semua" at scale: the direct superior approves one day of N
// listed activities through the review page (one envelope, so one
// connection, per row, then the reload), beside the stock command-line
// client sending the same N approval CALLs over one connection, measured
// in the same run. Between runs the rows go back to unverified.
#include "shell/theme.h"
#include "app/umain.h"
#include "api/udm.h"
#include "benchlogin.h"
#include "supervision/bawahanpage.h"
#include "supervision/bwaktivitaspage.h"
#include "benchstats.h"
#include "ui/stringgrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kHead = QStringLiteral("190001012000011001");
const QString kExecutor = QStringLiteral("190001012000011002");

// Says yes to every question and prints anything else.
class YesMessages : public Messages {
public:
    void show(Kind, const QString& text) override { shown << text; }
    bool confirm(const QString&) override { return true; }
    QStringList shown;
};

bool runCli(const QStringList& args, const QByteArray& input, const char* what)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("mariadb"), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(300000);
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", what, p.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    applyLightTheme(app);
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_approve PORT SCHEMA PASSWORD RUNS SOCKET\n");
        return 2;
    }
    const db::ConnSettings s = benchServer(argv);
    const int runs = QString::fromLocal8Bit(argv[4]).toInt();
    const QString socket = QString::fromLocal8Bit(argv[5]);

    YesMessages msgs;
    Tdm dm(s);
    Tfmain w(dm, Tfmain::Seams{&msgs, nullptr, nullptr, QStringLiteral(TARVESA_PROGRAM_DIR), {}});
    if (!showLoggedIn(w, kHead, QStringLiteral("skala2026"))) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QStringList root{QStringLiteral("--no-defaults"), QStringLiteral("-uroot"),
                           QStringLiteral("--socket=") + socket, s.schema};
    const QByteArray reset = QStringLiteral("UPDATE aktivitas SET status = '0', tanggal_status = NULL, "
                                            "nip_verifikator = NULL WHERE nip = '%1' AND tanggal_input >= '%2';")
                                 .arg(kExecutor, today)
                                 .toUtf8();
    const QStringList app_{QStringLiteral("--no-defaults"), QStringLiteral("--batch"), QStringLiteral("-h127.0.0.1"),
                           QStringLiteral("-P") + QString::number(s.port), QStringLiteral("-uaplikasi"),
                           QStringLiteral("-p") + s.password, s.schema};

    std::vector<double> ours, theirs;
    int rows = 0;
    for (int i = 0; i < runs + 1; ++i) {
        if (!runCli(root, reset, "reset"))
            return 1;
        // The head opens the executor's review for today, as a user does.
        w.dxTarvesaItems3Click();
        StringGrid* list = w.xBawahan->sg_bawahan;
        int row = -1;
        for (int r = 1; r < list->rowCount(); ++r)
            if (list->cell(r, 1) == kExecutor)
                row = r;
        if (row < 0) {
            std::fprintf(stderr, "the executor is not listed\n");
            return 1;
        }
        list->setCurrentRow(row);
        w.xBawahan->btbAktivitasHarianClick();
        w.xBwAktivitas->xBwAktivitasTanggalAwal->setDate(QDate::currentDate());
        w.xBwAktivitas->xBwAktivitasTanggalAkhir->setDate(QDate::currentDate());
        w.xBwAktivitas->xBwAktivitasTampilDataClick();
        rows = w.xBwAktivitas->sg_aktivitas_bawahan->rowCount() - 1;
        if (rows <= 0 || w.xBwAktivitas->xBwAktivitasSetujuiAll->isHidden()) {
            std::fprintf(stderr, "no one-day list to approve\n");
            return 1;
        }
        msgs.shown.clear();
        QElapsedTimer t;
        t.start();
        w.xBwAktivitas->xBwAktivitasSetujuiAllClick();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (msgs.shown != QStringList{QStringLiteral("Data berhasil disetujui!")}) {
            std::fprintf(stderr, "approve all said: %s\n", qPrintable(msgs.shown.join(" / ")));
            return 1;
        }

        // The same approvals over one connection of the command line.
        if (!runCli(root, reset, "reset"))
            return 1;
        QByteArray calls = QStringLiteral("CALL kinerja_sesi_ikat('%1');\n").arg(w.session().token).toUtf8();
        for (int r = 1; r <= rows; ++r)
            calls += QStringLiteral("CALL kinerja_aktivitas_diverifikasi_atasan('%1', '%2');\n")
                         .arg(w.xBwAktivitas->sg_aktivitas_bawahan->cell(r, 0), kHead)
                         .toUtf8();
        QElapsedTimer c;
        c.start();
        if (!runCli(app_, calls, "mariadb"))
            return 1;
        const double cms = double(c.nsecsElapsed()) / 1e6;
        if (i == 0)
            continue; // warm-up
        ours.push_back(ms);
        theirs.push_back(cms);
    }

    std::printf("rows approved per run             %d\n", rows);
    std::printf("page: Setujui Semua + reload      median %8.1f ms   min %8.1f ms   (%d runs)\n", median(ours),
                *std::min_element(ours.begin(), ours.end()), runs);
    std::printf("mariadb, one connection           median %8.1f ms   min %8.1f ms\n", median(theirs),
                *std::min_element(theirs.begin(), theirs.end()));
    std::printf("ratio page / command line         %8.2f   (target: page <= 2000 ms)\n",
                median(ours) / median(theirs));
    return 0;
}
