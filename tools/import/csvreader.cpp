#include "csvreader.h"

#include <algorithm>

namespace impor {

QString Problem::format() const
{
    QString place = file;
    if (line > 0)
        place += QStringLiteral(", baris %1").arg(line);
    if (!column.isEmpty())
        place += QStringLiteral(", kolom %1").arg(column);
    return place + QStringLiteral(": ") + text;
}

namespace {

// The byte offset of the first byte that is not well-formed UTF-8 (overlong
// forms and surrogates included), or -1.
qsizetype invalidUtf8At(const QByteArray& b)
{
    const auto* s = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = b.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned c = s[i];
        int len = 0;
        unsigned min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            min = 0x10000;
        } else {
            return i;
        }
        if (i + len > n)
            return i;
        unsigned cp = c & (0xFF >> (len + 1));
        for (int k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += len;
    }
    return -1;
}

// Reads the file in blocks, so a record of many megabytes is refused after
// its first maxRecordBytes without holding the rest.
class Reader {
public:
    Reader(QFile& f, const QString& name, QList<Problem>* problems, qint64 maxRecord)
        : f_(f), name_(name), problems_(problems), max_(maxRecord) {}

    char separator = ',';
    QStringList header; // for naming the columns of problems

    // The next record's raw cells; false at the end or when the structure
    // broke (broken() tells).
    bool next(qint64* line, std::vector<QByteArray>* cells)
    {
        cells->clear();
        QByteArray cur;
        enum { Start, Plain, Quoted, AfterQuote } state = Start;
        qint64 bytes = 0;
        qint64 quoteLine = 0;
        const qint64 startLine = line_;
        bool any = false;
        for (;;) {
            int c = get();
            if (c == -2)
                return fail(startLine, QString(), QStringLiteral("berkas tidak terbaca: %1").arg(f_.errorString()));
            if (c == '\r') {
                const int n = peek();
                if (n == '\n' || n == -1)
                    continue; // CRLF, or a CR at the very end
            }
            if (c == -1) {
                if (state == Quoted)
                    return fail(quoteLine, columnName(int(cells->size())),
                                QStringLiteral("tanda kutip yang dibuka di sini tidak ditutup sampai akhir berkas"));
                if (!any)
                    return false;
                cells->push_back(cur);
                *line = startLine;
                return true;
            }
            any = true;
            if (++bytes > max_) {
                if (state == Quoted)
                    return fail(quoteLine, columnName(int(cells->size())),
                                QStringLiteral("tanda kutip yang dibuka di sini tidak ditutup dalam %1 byte").arg(max_));
                return fail(startLine, QString(),
                            QStringLiteral("baris lebih panjang dari %1 byte; berkas rusak atau bukan CSV").arg(max_));
            }
            // Outside quotes a separator ends the cell, a line break the record.
            if (state != Quoted && (c == separator || c == '\n')) {
                cells->push_back(cur);
                cur.clear();
                state = Start;
                if (c == '\n') {
                    ++line_;
                    *line = startLine;
                    return true;
                }
                continue;
            }
            switch (state) {
            case Start:
            case Plain:
                if (c == '"' && state == Start) {
                    state = Quoted;
                    quoteLine = line_;
                } else if (c == '"') {
                    return fail(startLine, columnName(int(cells->size())),
                                QStringLiteral("tanda kutip di tengah sel; sel yang memuat tanda kutip harus diapit "
                                               "tanda kutip dan menggandakannya"));
                } else {
                    cur += char(c);
                    state = Plain;
                }
                break;
            case Quoted:
                if (c == '"') {
                    state = AfterQuote;
                } else {
                    if (c == '\n')
                        ++line_;
                    cur += char(c);
                }
                break;
            case AfterQuote:
                if (c == '"') {
                    cur += '"';
                    state = Quoted;
                } else if (line_ > quoteLine) {
                    // A quote that never closed ends at the next cell that
                    // opens one, lines later.
                    return fail(quoteLine, columnName(int(cells->size())),
                                QStringLiteral("tanda kutip yang dibuka di sini tidak ditutup di baris ini (sel terbaca "
                                               "sampai baris %1)").arg(line_));
                } else {
                    return fail(startLine, columnName(int(cells->size())),
                                QStringLiteral("sesudah tanda kutip penutup harus ada pemisah sel atau akhir baris"));
                }
                break;
            }
        }
    }

    bool broken() const { return broken_; }

    // The first line, raw, to choose the separator; the reader starts over.
    QByteArray firstLine()
    {
        QByteArray line;
        for (;;) {
            const int c = get();
            if (c < 0 || c == '\n' || line.size() > max_)
                break;
            line += char(c);
        }
        f_.seek(start_);
        buf_.clear();
        pos_ = 0;
        return line;
    }

    void skipFrom(qint64 offset)
    {
        start_ = offset;
        f_.seek(offset);
    }

private:
    int get()
    {
        if (pos_ >= buf_.size()) {
            buf_ = f_.read(64 * 1024);
            pos_ = 0;
            if (buf_.isEmpty())
                return f_.error() == QFileDevice::NoError ? -1 : -2;
        }
        return static_cast<unsigned char>(buf_[pos_++]);
    }

    int peek()
    {
        const int c = get();
        if (c >= 0)
            --pos_;
        return c;
    }

    QString columnName(int index) const
    {
        return index < header.size() ? header[index] : QStringLiteral("ke-%1").arg(index + 1);
    }

    bool fail(qint64 line, const QString& column, const QString& text)
    {
        problems_->append({name_, line, column, text});
        broken_ = true;
        return false;
    }

    QFile& f_;
    QString name_;
    QList<Problem>* problems_;
    qint64 max_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qint64 line_ = 1;
    qint64 start_ = 0;
    bool broken_ = false;
};

} // namespace

bool readCsv(const QString& path, const QString& name, CsvTable* out, QList<Problem>* problems, qint64 maxRecordBytes)
{
    out->file = name;
    out->header.clear();
    out->rows.clear();
    QFile f(path);
    if (!f.exists()) {
        problems->append({name, 0, {}, QStringLiteral("berkas tidak ada")});
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        problems->append({name, 0, {}, QStringLiteral("berkas tidak bisa dibuka: %1").arg(f.errorString())});
        return false;
    }
    const QByteArray head = f.peek(4);
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        problems->append({name, 1, {}, QStringLiteral("berkas berenkode UTF-16; simpan ulang sebagai \"CSV UTF-8\"")});
        return false;
    }
    Reader r(f, name, problems, maxRecordBytes);
    if (head.startsWith("\xEF\xBB\xBF"))
        r.skipFrom(3);
    // The header holds names only: a ";" there and no "," means a
    // spreadsheet of a locale that writes decimal commas.
    const QByteArray first = r.firstLine();
    if (first.contains(';') && !first.contains(','))
        r.separator = ';';

    qint64 line = 0;
    std::vector<QByteArray> cells;
    bool headerRead = false;
    while (r.next(&line, &cells)) {
        // A blank line is no record, nor is a line of empty cells (the rows a
        // spreadsheet writes below its data).
        if (std::all_of(cells.begin(), cells.end(), [](const QByteArray& c) { return c.trimmed().isEmpty(); }))
            continue;
        QStringList texts;
        bool ok = true;
        for (size_t i = 0; i < cells.size(); ++i) {
            const QString column = headerRead && qsizetype(i) < out->header.size() ? out->header[qsizetype(i)]
                                                                                   : QStringLiteral("ke-%1").arg(i + 1);
            const qsizetype bad = invalidUtf8At(cells[i]);
            if (bad >= 0) {
                problems->append({name, line, column,
                                  QStringLiteral("bukan teks UTF-8 (byte ke-%1 sel ini); simpan ulang berkas sebagai "
                                                 "\"CSV UTF-8\"").arg(bad + 1)});
                ok = false;
                continue;
            }
            const QString text = QString::fromUtf8(cells[i]).trimmed();
            for (const QChar ch : text) {
                if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) {
                    problems->append({name, line, column,
                                      ch == QLatin1Char('\n') ? QStringLiteral("sel berisi pindah baris")
                                                              : QStringLiteral("sel berisi karakter kendali (kode %1)")
                                                                    .arg(ch.unicode())});
                    ok = false;
                    break;
                }
            }
            texts << text;
        }
        if (!headerRead) {
            out->header = texts;
            r.header = texts;
            headerRead = true;
            continue;
        }
        if (texts.size() != out->header.size()) {
            problems->append({name, line, {},
                              QStringLiteral("baris ini punya %1 sel, baris judul %2").arg(texts.size())
                                  .arg(out->header.size())});
            continue;
        }
        if (ok)
            out->rows.push_back({line, texts});
    }
    if (!headerRead && !r.broken()) {
        problems->append({name, 0, {}, QStringLiteral("berkas kosong; baris pertama harus berisi nama kolom")});
        return false;
    }
    return !r.broken();
}

} // namespace impor
