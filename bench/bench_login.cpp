// Login at a regency's scale: for each person, the time from the login
// button to a filled dashboard through the client (every statement it sends,
// a connection per operation), the connections and statements that took,
// and as the anchor of the same run the same number of bare connections each
// sending "SELECT 1". Then one month of the activity list (the executor) and
// of the review list (the section head), each list loaded through its page.
#include "activities/aktivitaspage.h"
#include "shell/theme.h"
#include "app/umain.h"
#include "db/query.h"
#include "api/udm.h"
#include "progress/dashboardpage.h"
#include "session/loginpage.h"
#include "supervision/bawahanpage.h"
#include "supervision/bwaktivitaspage.h"
#include "benchstats.h"
#include "ui/stringgrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// One statement as root through the socket, untimed; its rows as text.
QByteArray rootSql(const QString& socket, const QString& schema, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("mariadb"), {QStringLiteral("--no-defaults"), QStringLiteral("-uroot"),
                                        QStringLiteral("--socket=") + socket, QStringLiteral("-N"), schema,
                                        QStringLiteral("-e"), sql});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

// Connections and statements the server has seen.
struct Counts {
    long connections = 0, questions = 0;
};
Counts serverCounts(const QString& socket, const QString& schema)
{
    Counts c;
    const QByteArray out =
        rootSql(socket, schema, QStringLiteral("SHOW GLOBAL STATUS WHERE Variable_name IN ('Connections', 'Questions')"));
    for (const QByteArray& line : out.split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 2 && f[0] == "Connections")
            c.connections = f[1].toLong();
        else if (f.size() == 2 && f[0] == "Questions")
            c.questions = f[1].toLong();
    }
    return c;
}

struct Person {
    QString label, nip;
};

const QString kPass = QStringLiteral("skala2026");

std::unique_ptr<Tfmain> loggedIn(Tdm& dm, Messages& msgs, const QString& nip, double* ms)
{
    auto w = std::make_unique<Tfmain>(dm, Tfmain::Seams{&msgs, nullptr, nullptr, QStringLiteral(TARVESA_PROGRAM_DIR), {}});
    w->resize(1366, 768);
    w->show();
    QApplication::processEvents();
    w->xLogin->edLoginNIP->setText(nip);
    w->xLogin->edLoginPass->setText(kPass);
    QElapsedTimer t;
    t.start();
    w->xLogin->btLoginClick();
    *ms = double(t.nsecsElapsed()) / 1e6;
    if (w->session().nip() != nip || w->xDashboard->lDsNIP->text() != nip)
        return nullptr;
    return w;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    applyLightTheme(app);
    if (argc < 7) {
        std::fprintf(stderr, "usage: bench_login PORT SCHEMA PASSWORD RUNS SOCKET LABEL=NIP...\n");
        return 2;
    }
    const db::ConnSettings s = benchServer(argv);
    const int runs = QString::fromLocal8Bit(argv[4]).toInt();
    const QString socket = QString::fromLocal8Bit(argv[5]);
    const QString schema = QString::fromLocal8Bit(argv[2]);
    std::vector<Person> people;
    for (int i = 6; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        people.push_back({a.section(QLatin1Char('='), 0, 0), a.section(QLatin1Char('='), 1)});
    }

    SilentMessages msgs;
    // The status query itself counts one connection and a few statements.
    const Counts c0 = serverCounts(socket, schema), c1 = serverCounts(socket, schema);
    const long ownConnections = c1.connections - c0.connections, ownQuestions = c1.questions - c0.questions;

    for (const Person& p : people) {
        std::vector<double> ours, anchor;
        long connections = 0, statements = 0;
        for (int i = 0; i < runs + 1; ++i) {
            Tdm dm(s);
            const Counts before = serverCounts(socket, schema);
            double ms = 0;
            auto w = loggedIn(dm, msgs, p.nip, &ms);
            if (!w) {
                std::fprintf(stderr, "login of %s (%s) did not fill the dashboard\n", qPrintable(p.label),
                             qPrintable(p.nip));
                return 1;
            }
            const Counts after = serverCounts(socket, schema);
            connections = after.connections - before.connections - ownConnections;
            statements = after.questions - before.questions - ownQuestions;

            // The anchor: as many bare connections, each with one statement.
            QElapsedTimer t;
            t.start();
            for (long k = 0; k < connections; ++k) {
                db::Connection c;
                c.open(s);
                db::Query q(c);
                q.open(QStringLiteral("SELECT 1"), {});
            }
            const double ams = double(t.nsecsElapsed()) / 1e6;
            if (i == 0)
                continue; // warm-up
            ours.push_back(ms);
            anchor.push_back(ams);
        }
        std::printf("login %-13s %s   median %6.1f ms   max %6.1f ms   (%ld connections, %ld statements; "
                    "target <= 50 ms)\n",
                    qPrintable(p.label), qPrintable(p.nip), median(ours), *std::max_element(ours.begin(), ours.end()),
                    connections, statements);
        std::printf("  anchor: %ld bare connections with SELECT 1   median %6.1f ms\n", connections, median(anchor));
    }

    // One month's lists: the executor's own, then the section head's review
    // of the same month.
    if (people.size() >= 2) {
        const QDate from = QDate::currentDate().addMonths(-1);
        const QDate first(from.year(), from.month(), 1), last = first.addMonths(1).addDays(-1);
        std::vector<double> own, review, reviewComputed;
        int ownRows = 0, reviewRows = 0;
        {
            Tdm dm(s);
            double ms = 0;
            auto w = loggedIn(dm, msgs, people[0].nip, &ms);
            if (!w)
                return 1;
            AktivitasPage* page = w->xAktivitas;
            page->xAktivitasTanggalAwal->setDate(first);
            page->xAktivitasTanggalAkhir->setDate(last);
            for (int i = 0; i < runs + 1; ++i) {
                QElapsedTimer t;
                t.start();
                page->xAktivitasTampilDataClick();
                if (i > 0)
                    own.push_back(double(t.nsecsElapsed()) / 1e6);
            }
            ownRows = page->sg_aktivitas->rowCount() - 1;
        }
        {
            Tdm dm(s);
            double ms = 0;
            auto w = loggedIn(dm, msgs, people[1].nip, &ms);
            if (!w)
                return 1;
            w->dxTarvesaItems3Click();
            StringGrid* list = w->xBawahan->sg_bawahan;
            for (int r = 1; r < list->rowCount(); ++r)
                if (list->cell(r, 1) == people[0].nip)
                    list->setCurrentRow(r);
            w->xBawahan->btbAktivitasHarianClick();
            BwAktivitasPage* page = w->xBwAktivitas;
            page->xBwAktivitasTanggalAwal->setDate(first);
            page->xBwAktivitasTanggalAkhir->setDate(last);
            for (int i = 0; i < runs + 1; ++i) {
                QElapsedTimer t;
                t.start();
                page->xBwAktivitasTampilDataClick();
                if (i > 0)
                    review.push_back(double(t.nsecsElapsed()) / 1e6);
            }
            reviewRows = page->sg_aktivitas_bawahan->rowCount() - 1;
            // The same list when its notes must be computed: the first list
            // after a change of the servant's work.
            for (int i = 0; i < runs; ++i) {
                rootSql(socket, schema, QStringLiteral("DELETE FROM kinerja_catatan_tanda WHERE nip = '%1'")
                                             .arg(people[0].nip));
                QElapsedTimer t;
                t.start();
                page->xBwAktivitasTampilDataClick();
                reviewComputed.push_back(double(t.nsecsElapsed()) / 1e6);
            }
        }
        std::vector<double> anchor;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            db::Connection c;
            c.open(s);
            db::Query q(c);
            q.open(QStringLiteral("SELECT 1"), {});
            anchor.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("activity list, one month (%d rows)   median %6.1f ms   (page: connection, CALL, grid)\n", ownRows,
                    median(own));
        std::printf("review list, one month (%d rows)     median %6.1f ms   (notes kept from the list before)\n",
                    reviewRows, median(review));
        std::printf("  the same, notes computed          median %6.1f ms   (first list after a change)\n",
                    median(reviewComputed));
        std::printf("  anchor: one bare connection with SELECT 1   median %6.1f ms\n", median(anchor));
    }
    return 0;
}
