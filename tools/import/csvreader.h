#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace impor {

// One thing wrong with the files, with its place: the file, the line the
// record starts on (0: the file as a whole) and the column (empty: the
// record or the file as a whole).
struct Problem {
    QString file;
    qint64 line = 0;
    QString column;
    QString text;

    // "pns.csv, baris 7, kolom nip: ..."
    QString format() const;
};

// A CSV file read whole: the header names and every record with the line it
// starts on, cells trimmed of outer blanks.
struct CsvTable {
    struct Row {
        qint64 line = 0;
        QStringList cells;
    };
    QString file;
    QStringList header;
    std::vector<Row> rows;
};

// Reads a CSV file as spreadsheets write it: UTF-8 (a byte order mark is
// skipped), "," or ";" between cells as the header line shows, cells with a
// separator, quote or line break inside double quotes, LF or CRLF. Anything
// else is a problem with its place: another encoding, a quote left open, a
// quote inside a cell that does not start with one, a record longer than
// maxRecordBytes (read no further than that), a control character, a record
// whose cell count differs from the header's (such records are left out).
// Returns false when the file cannot be read to its end: missing, empty,
// UTF-16, or its structure broke; other problems are collected and reading
// goes on.
bool readCsv(const QString& path, const QString& name, CsvTable* out, QList<Problem>* problems,
             qint64 maxRecordBytes = 64 * 1024);

} // namespace impor
