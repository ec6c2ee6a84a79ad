// Saving a long list as CSV: a grid of ROWS rows shaped like the activity
// list (14 columns, two of them hidden, descriptions of some 100
// characters, a few with separators and quotes), turned into the file's
// bytes and written. Prints the median of RUNS runs of each step.
//   bench_export [ROWS] [RUNS]      defaults 50000 and 9
#include "benchstats.h"
#include "ui/stringgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 50000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;

    StringGrid g;
    const QStringList captions{"Id",          "No.",        "Jenis Akt.",  "Aktivitas",      "Deskripsi",
                               "Volume",      "Satuan",     "SKR (Menit)", "Status",         "Tgl. Aktivitas",
                               "Tgl. Input",  "Tgl. Verif", "Tgl. Valid",  "Alasan Penolakan"};
    {
        StringGrid::Batch batch(g);
        g.setColCount(int(captions.size()));
        g.setRowCount(rows + 1);
        g.setFixedRows(1);
        for (int c = 0; c < captions.size(); ++c) {
            g.setColWidth(c, c == 0 || c == 13 ? 0 : 80);
            g.setCell(0, c, captions[c]);
        }
        for (int r = 1; r <= rows; ++r) {
            const QString n = QString::number(r);
            const QStringList cells{n, n, "Utama", "Mengagendakan surat masuk dan keluar",
                                    r % 10 == 0 ? "Rapat; koordinasi \"awal\" bulan dengan seluruh kepala seksi dan staf "
                                                  "pelaksana di ruang rapat utama"
                                                : "Mengagendakan surat masuk dari dinas lain, mencatat di buku agenda dan "
                                                  "meneruskan ke kepala bidang",
                                    "2", "Surat", "10", "Disetujui Atasan", "2026-12-01", "2026-12-01 09:00:00",
                                    "2026-12-02 10:00:00", "", ""};
            for (int c = 0; c < cells.size(); ++c)
                g.setCell(r, c, cells[c]);
        }
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("daftar.csv"));
    std::vector<double> build, write;
    qsizetype bytes = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const QByteArray csv = g.toCsv();
        build.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(csv) != csv.size() || !f.commit()) {
            std::fprintf(stderr, "write failed\n");
            return 1;
        }
        write.push_back(t.nsecsElapsed() / 1e6);
        bytes = csv.size();
    }
    std::printf("%d rows, %.1f MB: CSV built in %.1f ms, written in %.1f ms (median of %d)\n", rows, bytes / 1e6,
                median(build), median(write), runs);
    return 0;
}
