// The import of a regency's files (tools/import) at a regency's size, beside
// a bare LOAD DATA of the same five files into tables of plain text columns,
// measured in the same run. Run by bench/import.sh:
//   bench_import SOCKET SCHEMA PNS POSITIONS TASKS RUNS
// Each run loads a new empty schema, then times the first import, the same
// files again (nothing to change) and files with a few hundred changes, and
// the bare LOAD DATA.
#include "benchstats.h"
#include "importer.h"

#include "db/connection.h"
#include "db/query.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

const QStringList kKinds{"fungsional", "pelaksana"};
const QStringList kLevels{"K1", "K2", "K3", "T2"};

void writeFile(const QString& path, const QStringList& lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write((lines.join('\n') + '\n').toUtf8());
}

// A regency: agencies of four fields of two sections each, a head for
// every unit, the other positions in the sections, servants spread over
// them, a dictionary over the performance positions.
struct Regency {
    QStringList unit{"id,nama_unit,parent_id,kode_jabatan_kepala"};
    QStringList jabatan{"kode_jabatan,nama_jabatan,jenis_jabatan_id,kelas_jabatan,eselon,jenjang_id,unit_id,"
                        "atasan_kode_jabatan,kode_jabatan_kinerja"};
    QStringList kinerja{"kode,nama_jabatan,jenis_jabatan_id,jenjang_id"};
    QStringList pns{"nip,nama_lengkap,jenis_kelamin,tanggal_lahir,golongan_id,kode_jabatan,status_pns"};
    QStringList tasks{"kode_jabatan,rincian_tugas,satuan,bobot_skr,aktif"};
    QStringList holders; // position of each servant, in order

    Regency(int people, int positions, int taskCount)
    {
        const QStringList golongan{"21", "22", "23", "24", "31", "32", "33", "34", "41", "42", "43"};
        QStringList performance;
        for (int k = 1; k <= 300; ++k) {
            const bool functional = k <= 200;
            const QString code = QStringLiteral("%1%2").arg(functional ? "JF" : "JP").arg(k, 4, 10, QChar('0'));
            kinerja << QStringLiteral("%1,%2 %3,%4,%5").arg(code, functional ? "Fungsional" : "Pelaksana").arg(k)
                           .arg(functional ? "fungsional" : "pelaksana", functional ? kLevels[k % 4] : QString());
            performance << code;
        }
        QStringList sections, heads;
        int made = 0;
        const QString top = QStringLiteral("J-A01");
        for (int a = 1; a <= 20 && made < positions; ++a) {
            const QString ag = QStringLiteral("A%1").arg(a, 2, 10, QChar('0'));
            unit << QStringLiteral("%1,Badan %1,,J-%1").arg(ag);
            jabatan << QStringLiteral("J-%1,Kepala Badan %1,struktural,14,II.b,,%1,%2,").arg(ag, a == 1 ? QString() : top);
            ++made;
            for (int b = 1; b <= 4; ++b) {
                const QString field = QStringLiteral("%1-B%2").arg(ag).arg(b);
                unit << QStringLiteral("%1,Bidang %1,%2,J-%1").arg(field, ag);
                jabatan << QStringLiteral("J-%1,Kepala Bidang %1,struktural,11,III.b,,%1,J-%2,").arg(field, ag);
                ++made;
                for (int s = 1; s <= 2; ++s) {
                    const QString section = QStringLiteral("%1-S%2").arg(field).arg(s);
                    unit << QStringLiteral("%1,Seksi %1,%2,J-%1").arg(section, field);
                    jabatan << QStringLiteral("J-%1,Kepala Seksi %1,struktural,9,IV.a,,%1,J-%2,").arg(section, field);
                    sections << section;
                    heads << QStringLiteral("J-") + section;
                    ++made;
                }
            }
        }
        QStringList staff;
        for (int p = 0; made < positions; ++p, ++made) {
            const QString section = sections[p % sections.size()];
            const QString code = QStringLiteral("J-%1-%2").arg(section).arg(p, 4, 10, QChar('0'));
            const QString perf = performance[p % performance.size()];
            const bool functional = perf.startsWith("JF");
            jabatan << QStringLiteral("%1,Jabatan %2,%3,%4,,%5,%6,J-%6,%7")
                           .arg(code).arg(p).arg(functional ? "fungsional" : "pelaksana").arg(functional ? 8 : 6)
                           .arg(functional ? kLevels[p % 4] : QString(), section, perf);
            staff << code;
        }
        QStringList allHeads;
        for (const QString& line : jabatan.mid(1))
            if (line.contains(",struktural,"))
                allHeads << line.section(',', 0, 0);
        for (int i = 0; i < people; ++i) {
            const QString position = i < allHeads.size() ? allHeads[i] : staff[i % staff.size()];
            const QString nip = QStringLiteral("1980%1").arg(i + 1, 14, 10, QChar('0'));
            const QString born = QDate(1960, 1, 1).addDays(i * 37 % 14000).toString("yyyy-MM-dd");
            pns << QStringLiteral("%1,Pegawai %2,%3,%4,%5,%6,aktif").arg(nip).arg(i + 1).arg(i % 2 ? "P" : "L", born,
                                                                                          golongan[i % golongan.size()], position);
            holders << position;
        }
        for (int t = 0; t < taskCount; ++t) {
            const QString perf = t < 200 ? QStringLiteral("200000") : t < 300 ? QStringLiteral("300000")
                                                                                : performance[t % performance.size()];
            tasks << QStringLiteral("%1,Menyelesaikan pekerjaan nomor %2 sesuai rencana kerja,Dokumen,%3,1")
                         .arg(perf).arg(t + 1).arg(10 + t % 290);
        }
    }

    void write(const QString& dir) const
    {
        writeFile(dir + "/unit.csv", unit);
        writeFile(dir + "/jabatan.csv", jabatan);
        writeFile(dir + "/jabatan_kinerja.csv", kinerja);
        writeFile(dir + "/pns.csv", pns);
        writeFile(dir + "/rincian_tugas.csv", tasks);
    }

    // A month of changes: 500 renamed, 100 moved, 100 gone; 200 tasks with
    // other minutes, 100 tasks gone.
    Regency changed() const
    {
        Regency r = *this;
        for (int i = 1; i <= 500; ++i)
            r.pns[i * 13 % (r.pns.size() - 1) + 1].replace(",Pegawai ", ",Pegawai Baru ");
        for (int i = 1; i <= 100; ++i) {
            QString& line = r.pns[r.pns.size() - 1 - i * 3];
            line = line.section(',', 0, 4) + ',' + holders[(i * 7) % holders.size()] + ",aktif";
        }
        r.pns.erase(r.pns.end() - 100, r.pns.end());
        for (int i = 1; i <= 200; ++i)
            r.tasks[i * 11].replace(QRegularExpression(",\\d+,1$"), ",45,1");
        r.tasks.erase(r.tasks.end() - 100, r.tasks.end());
        return r;
    }
};

double seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

double importOnce(const db::ConnSettings& c, const QString& dir, int* rc)
{
    impor::Options o;
    o.dir = dir;
    o.connection = c;
    o.yes = true;
    QString text;
    QTextStream out(&text);
    QElapsedTimer t;
    t.start();
    *rc = impor::run(o, out, [] { return false; });
    const double s = seconds(t);
    if (*rc != 0)
        std::fprintf(stderr, "%s\n", qPrintable(text));
    return s;
}

// The five files into tables of text columns, in one transaction, as the
// server reads them fastest: no check, no difference, no derived column.
double bareLoad(const db::ConnSettings& c, const QString& dir)
{
    db::Connection conn;
    conn.open(c);
    db::Query q(conn);
    const QList<QPair<QString, int>> files{{"unit", 4}, {"jabatan", 9}, {"jabatan_kinerja", 4}, {"pns", 7},
                                           {"rincian_tugas", 5}};
    for (const auto& [name, columns] : files) {
        QStringList cols;
        for (int i = 1; i <= columns; ++i)
            cols << QStringLiteral("c%1 VARCHAR(500) NULL").arg(i);
        q.exec(QStringLiteral("CREATE OR REPLACE TABLE bench_%1 (n INT AUTO_INCREMENT PRIMARY KEY, %2) ENGINE=InnoDB")
                   .arg(name, cols.join(", ")));
    }
    QElapsedTimer t;
    t.start();
    q.exec("START TRANSACTION");
    for (const auto& [name, columns] : files) {
        QStringList cols;
        for (int i = 1; i <= columns; ++i)
            cols << QStringLiteral("c%1").arg(i);
        q.exec(QStringLiteral("LOAD DATA INFILE '%1/%2.csv' INTO TABLE bench_%2 CHARACTER SET utf8mb4 "
                              "FIELDS TERMINATED BY ',' OPTIONALLY ENCLOSED BY '\"' LINES TERMINATED BY '\\n' "
                              "IGNORE 1 LINES (%3)").arg(dir, name, cols.join(", ")));
    }
    q.exec("COMMIT");
    return seconds(t);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 7) {
        std::fprintf(stderr, "usage: bench_import SOCKET SCHEMA PNS POSITIONS TASKS RUNS\n");
        return 2;
    }
    const QString socket = QString::fromLocal8Bit(argv[1]);
    const QString schema = QString::fromLocal8Bit(argv[2]);
    const int people = atoi(argv[3]), positions = atoi(argv[4]), taskCount = atoi(argv[5]), runs = atoi(argv[6]);

    QTemporaryDir tmp;
    const QString first = tmp.filePath("pertama"), later = tmp.filePath("perubahan");
    QDir().mkpath(first);
    QDir().mkpath(later);
    const Regency regency(people, positions, taskCount);
    regency.write(first);
    regency.changed().write(later);
    std::printf("Files: %d servants, %d positions, %lld units, %d task entries\n", people, positions,
                qlonglong(regency.unit.size() - 1), taskCount);

    const QString cnf = tmp.filePath("root.cnf");
    writeFile(cnf, {"[client]", "user=root", "socket=" + socket, "protocol=SOCKET"});
    db::ConnSettings c;
    c.optionFile = cnf;
    c.schema = schema;
    c.readTimeoutSec = 3600;

    std::vector<double> firstRun, again, changes, bare;
    for (int r = 0; r < runs; ++r) {
        QProcess load;
        load.start("bash", {TARVESA_SOURCE_DIR "/scripts/dbload.sh", socket, schema, "fresh",
                            TARVESA_BINARY_DIR "/server/app-account.sql"});
        if (!load.waitForFinished(600000) || load.exitCode() != 0)
            qFatal("could not load the schema: %s", load.readAllStandardError().constData());
        int rc = 0;
        bare.push_back(bareLoad(c, first));
        firstRun.push_back(importOnce(c, first, &rc));
        if (rc != 0)
            return 1;
        again.push_back(importOnce(c, first, &rc));
        changes.push_back(importOnce(c, later, &rc));
        if (rc != 0)
            return 1;
        std::printf("run %d: first %.2f s, again %.2f s, changes %.2f s; bare LOAD DATA %.2f s\n", r + 1,
                    firstRun.back(), again.back(), changes.back(), bare.back());
        std::fflush(stdout);
    }
    std::printf("\nMedian of %d runs (target: the first import in at most 30 s)\n", runs);
    std::printf("  first import (check, difference, apply, map, figures)   %7.2f s\n", median(firstRun));
    std::printf("  same files again (nothing to change)                    %7.2f s\n", median(again));
    std::printf("  files with 1,000 changes                                %7.2f s\n", median(changes));
    std::printf("  bare LOAD DATA of the same files (baseline)              %7.2f s\n", median(bare));
    return 0;
}
