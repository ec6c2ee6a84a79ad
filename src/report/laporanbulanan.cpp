#include "laporanbulanan.h"

#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/envelope.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QTextDocument>

#include <array>

namespace {

const QStringList kHeaderColumns{
    QStringLiteral("nama_pemda"),      QStringLiteral("tempat"),          QStringLiteral("tanggal_cetak"),
    QStringLiteral("nama_induk"),      QStringLiteral("nama_unit"),       QStringLiteral("nama_lengkap"),
    QStringLiteral("nip"),             QStringLiteral("pangkat"),         QStringLiteral("nama_jabatan"),
    QStringLiteral("periode"),         QStringLiteral("periode_x"),       QStringLiteral("nama_atasan"),
    QStringLiteral("nip_atasan"),      QStringLiteral("jabatan_atasan"),  QStringLiteral("jumlah_utama"),
    QStringLiteral("jumlah_tambahan"), QStringLiteral("jumlah_lainnya"),  QStringLiteral("jumlah_aktivitas"),
    QStringLiteral("target_menit"),    QStringLiteral("menit_diakui"),    QStringLiteral("menit_all"),
    QStringLiteral("menit_utama"),     QStringLiteral("menit_tambahan"),  QStringLiteral("menit_lainnya"),
    QStringLiteral("tanggal_progress"),
};

const QStringList kActivityColumns{
    QStringLiteral("tanggal_aktivitas"), QStringLiteral("jenis_jabatan"), QStringLiteral("rincian_tugas"),
    QStringLiteral("deskripsi"),         QStringLiteral("volume"),        QStringLiteral("satuan"),
    QStringLiteral("bobot_skr"),         QStringLiteral("status_deskripsi"),
};

const QStringList kProgressColumns{
    QStringLiteral("progress_diakui_x"), QStringLiteral("progress_all_x"),   QStringLiteral("persen_utama_x"),
    QStringLiteral("persen_tambahan_x"), QStringLiteral("persen_lainnya_x"), QStringLiteral("tanggal_progress"),
};

// Server text as document text: markup-free, line breaks kept.
QString esc(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

QString orDash(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString cell(const QString& text, const char* attrs = "")
{
    return QStringLiteral("<td %1>%2</td>").arg(QString::fromUtf8(attrs), esc(text));
}

// The document is laid out in the screen's units, as Qt prints; the
// painter scales them to the device.
qreal documentDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

bool LaporanBulanan::load(OperationHost& host, const QString& nip, const QString& periode)
{
    header_.clear();
    activities_.clear();
    progress_.clear();
    QHash<QString, QString> header;
    QVector<QStringList> activities;
    QHash<QString, QString> progress;
    const bool ok = Envelope(host).run([&](db::Query& q) {
        const std::vector<db::ResultSet> parts =
            q.openAll(QStringLiteral("CALL `kinerja_laporan_bulanan`(:var_nip, :var_periode)"),
                      {{QStringLiteral("var_nip"), nip}, {QStringLiteral("var_periode"), periode}});
        if (parts.size() < 2 || parts[0].recordCount() != 1)
            throw db::DbError(db::DbError::Kind::Result, "report without its header or activities");
        for (const QString& c : kHeaderColumns)
            header.insert(c, parts[0].text(0, c));
        const db::ResultSet& rows = parts[1];
        std::vector<int> at;
        for (const QString& c : kActivityColumns)
            at.push_back(rows.requireColumn(c));
        activities.reserve(rows.recordCount());
        for (int r = 0; r < rows.recordCount(); ++r) {
            QStringList cells;
            for (int c : at)
                cells << rows.text(r, c);
            activities << cells;
        }
        // The same figures as the dashboard's.
        const db::ResultSet p = q.open(QStringLiteral("CALL `kinerja_progress_get`(:var_periode, :var_nip)"),
                                       {{QStringLiteral("var_periode"), periode}, {QStringLiteral("var_nip"), nip}});
        if (p.recordCount() > 0)
            for (const QString& c : kProgressColumns)
                progress.insert(c, p.text(0, c));
    });
    if (!ok)
        return false;
    header_ = std::move(header);
    activities_ = std::move(activities);
    progress_ = std::move(progress);
    return true;
}

QString LaporanBulanan::html() const
{
    const auto f = [this](const char* name) { return field(QString::fromUtf8(name)); };
    const auto pct = [this](const char* name) {
        return hasProgress() ? progress_.value(QString::fromUtf8(name)) + QStringLiteral(" %") : QStringLiteral("-");
    };
    const auto minutes = [this, &f](const char* name) { return hasProgress() ? f(name) : QStringLiteral("-"); };

    QString h;
    h += QStringLiteral("<html><body>");
    h += QStringLiteral("<p align=\"center\" style=\"font-size:12pt\"><b>%1</b><br><b>%2</b></p>")
             .arg(esc(f("nama_pemda").toUpper()), esc(f("nama_induk").toUpper()));
    h += QStringLiteral("<p align=\"center\" style=\"font-size:11pt\"><b>LAPORAN BULANAN AKTIVITAS HARIAN PNS</b>"
                        "<br>Bulan %1</p>")
             .arg(esc(f("periode_x")));

    h += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    const QList<QPair<const char*, const char*>> identity{
        {"Nama", "nama_lengkap"},    {"NIP", "nip"},           {"Pangkat/Gol.", "pangkat"},
        {"Jabatan", "nama_jabatan"}, {"Unit Kerja", "nama_unit"}, {"Perangkat Daerah", "nama_induk"},
        {"Periode", "periode_x"},
    };
    for (const auto& [caption, name] : identity)
        h += QStringLiteral("<tr><td width=\"130\">%1</td><td width=\"12\">:</td>%2</tr>")
                 .arg(QString::fromUtf8(caption), cell(f(name)));
    h += QStringLiteral("</table>");

    h += QStringLiteral("<p><b>Daftar Aktivitas</b></p>");
    h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" "
                        "style=\"border-collapse:collapse\">"
                        "<thead><tr bgcolor=\"#D3D3D3\"><th width=\"4%\">No.</th><th width=\"8%\">Tanggal</th>"
                        "<th width=\"7%\">Jenis Akt.</th><th width=\"22%\">Aktivitas</th>"
                        "<th width=\"26%\">Deskripsi</th><th width=\"6%\">Volume</th><th width=\"8%\">Satuan</th>"
                        "<th width=\"7%\">SKR (Menit)</th><th width=\"12%\">Status</th></tr></thead>");
    for (int i = 0; i < activities_.size(); ++i) {
        const QStringList& a = activities_[i];
        h += QStringLiteral("<tr>") + cell(QString::number(i + 1), "align=\"right\"") + cell(a.value(0)) +
             cell(a.value(1)) + cell(a.value(2)) + cell(a.value(3)) + cell(a.value(4), "align=\"right\"") +
             cell(a.value(5)) + cell(a.value(6), "align=\"right\"") + cell(a.value(7)) + QStringLiteral("</tr>");
    }
    if (activities_.isEmpty())
        h += QStringLiteral("<tr><td colspan=\"9\" align=\"center\">Tidak ada aktivitas pada bulan ini.</td></tr>");
    h += QStringLiteral("</table>");

    h += QStringLiteral("<p><b>Rekapitulasi</b></p>");
    h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" style=\"border-collapse:collapse\">"
                        "<tr bgcolor=\"#D3D3D3\"><th width=\"150\">Jenis Aktivitas</th>"
                        "<th width=\"110\">Jumlah Aktivitas</th><th width=\"110\">Menit Diakui</th>"
                        "<th width=\"110\">Capaian</th></tr>");
    const QList<std::array<const char*, 4>> perType{
        {"Utama", "jumlah_utama", "menit_utama", "persen_utama_x"},
        {"Tambahan", "jumlah_tambahan", "menit_tambahan", "persen_tambahan_x"},
        {"Lainnya", "jumlah_lainnya", "menit_lainnya", "persen_lainnya_x"},
    };
    for (const auto& t : perType)
        h += QStringLiteral("<tr>") + cell(QString::fromUtf8(t[0])) + cell(f(t[1]), "align=\"right\"") +
             cell(minutes(t[2]), "align=\"right\"") + cell(pct(t[3]), "align=\"right\"") + QStringLiteral("</tr>");
    h += QStringLiteral("<tr><td><b>Jumlah</b></td><td align=\"right\"><b>%1</b></td><td align=\"right\"><b>%2</b></td>"
                        "<td align=\"right\"><b>%3</b></td></tr></table>")
             .arg(esc(f("jumlah_aktivitas")), esc(minutes("menit_diakui")), esc(pct("progress_diakui_x")));

    if (hasProgress()) {
        h += QStringLiteral("<p>Target bulanan : %1 menit<br>"
                            "Menit diakui : %2 dari target %1 menit<br>"
                            "<b>Capaian progress bulanan : %3</b><br>"
                            "Aktivitas keseluruhan (termasuk yang belum diverifikasi) : %4 menit (%5)</p>")
                 .arg(esc(f("target_menit")), esc(f("menit_diakui")), esc(pct("progress_diakui_x")),
                      esc(f("menit_all")), esc(pct("progress_all_x")));
        h += QStringLiteral("<p style=\"font-size:8pt\">* Menit diakui dan capaian menurut perhitungan progress "
                            "server pada %1 WIB; progress aktivitas di-rekap di server setiap satu jam.</p>")
                 .arg(esc(progress_.value(QStringLiteral("tanggal_progress"))));
    } else {
        h += QStringLiteral("<p>Progress bulan ini belum dihitung server; menit diakui dan capaian belum "
                            "tersedia.</p>");
    }

    const QString superior = f("nama_atasan");
    // One table row: the layout moves it to the next page whole rather than
    // part a signature from its name. The name stands kSignatureRoomCm below
    // the position: room for a signature and a stamp.
    const int room = int(kSignatureRoomCm / 2.54 * documentDpi() + 0.5);
    h += QStringLiteral("<br><table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\"><tr>"
                        "<td width=\"50%\"><p align=\"center\">Mengetahui,<br>Atasan Langsung<br>%1</p>"
                        "<p align=\"center\" style=\"margin-top:%9px\"><b><u>%2</u></b><br>NIP. %3</p></td>"
                        "<td width=\"50%\"><p align=\"center\">%4, %5<br>PNS yang bersangkutan<br>%6</p>"
                        "<p align=\"center\" style=\"margin-top:%9px\"><b><u>%7</u></b><br>NIP. %8</p></td>"
                        "</tr></table>")
             .arg(esc(f("jabatan_atasan")), esc(orDash(superior)), esc(orDash(f("nip_atasan"))), esc(f("tempat")),
                  esc(f("tanggal_cetak")), esc(f("nama_jabatan")), esc(f("nama_lengkap")), esc(f("nip")),
                  QString::number(room));
    h += QStringLiteral("</body></html>");
    return h;
}

bool LaporanBulanan::print(QPagedPaintDevice& device) const
{
    QTextDocument doc;
    // DejaVu ships with every Debian desktop and covers every Indonesian name.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.5);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setHtml(html());

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Screen units to the device's (documentDpi). The page keeps a band at
    // its foot for "Halaman n dari m".
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal sx = device.logicalDpiX() / (screen ? screen->logicalDotsPerInchX() : 96.0);
    const qreal sy = device.logicalDpiY() / documentDpi();
    const qreal foot = QFontMetricsF(font).height() * 2;
    const QSizeF body(device.width() / sx, device.height() / sy - foot);
    doc.setPageSize(body);
    const int pages = doc.pageCount();
    const QFont footFont(font, &device);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.scale(sx, sy);
        const QRectF view(0, i * body.height(), body.width(), body.height());
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footFont);
        painter.drawText(QRectF(0, device.height() - foot * sy, device.width(), foot * sy),
                         Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Halaman %1 dari %2").arg(i + 1).arg(pages));
    }
    return painter.end();
}

void LaporanBulanan::preparePage(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                     QPageLayout::Millimeter));
}
