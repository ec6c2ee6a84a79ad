#include "ulaporan_bulanan.h"
#include "monthlyreport.h"

#include "laporanbulanan.h"

#include "shell/indonesian.h"
#include "shell/pagecontext.h"
#include "shell/pageheader.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(100);
    return b;
}

const char* const kMonths[] = {"Januari", "Februari", "Maret",     "April",   "Mei",      "Juni",
                               "Juli",    "Agustus",  "September", "Oktober", "November", "Desember"};

} // namespace

Tf_laporanBulanan::Tf_laporanBulanan(PageContext& ctx, const QString& nip, const QString& nama, const QDate& month)
    : QDialog(ctx.dialogParent()), ctx_(ctx), nip_(nip)
{
    setObjectName(QStringLiteral("f_laporanBulanan"));
    setWindowTitle(QStringLiteral("Cetak Laporan Bulanan"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 10);
    f_laporanJudul = new PageHeader(this, QStringLiteral("f_laporanJudul"));
    f_laporanJudul->setCaption(QStringLiteral("Laporan Bulanan a.n. ") + nama);
    f_laporanJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    f_laporanJudul->setHeaderHeight(ctx.headerLook().height);
    f_laporanJudul->setFontSize(ctx.headerLook().fontSize);
    v->addWidget(f_laporanJudul);

    auto* g = new QGridLayout;
    g->setContentsMargins(14, 10, 14, 4);
    g->addWidget(new QLabel(QStringLiteral("NIP"), this), 0, 0);
    auto* lbNip = new QLabel(nip, this);
    lbNip->setObjectName(QStringLiteral("lbLaporanNip"));
    g->addWidget(lbNip, 0, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Bulan"), this), 1, 0);
    cbLaporanBulan = new QComboBox(this);
    cbLaporanBulan->setObjectName(QStringLiteral("cbLaporanBulan"));
    for (const char* m : kMonths)
        cbLaporanBulan->addItem(QString::fromUtf8(m));
    seLaporanTahun = new QSpinBox(this);
    seLaporanTahun->setObjectName(QStringLiteral("seLaporanTahun"));
    seLaporanTahun->setRange(2000, 2100);
    seLaporanTahun->setGroupSeparatorShown(false);
    const QDate m = month.isValid() ? month : ctx.clock().today();
    cbLaporanBulan->setCurrentIndex(m.month() - 1);
    seLaporanTahun->setValue(m.year());
    g->addWidget(cbLaporanBulan, 1, 1);
    g->addWidget(seLaporanTahun, 1, 2);
    g->setColumnStretch(3, 1);
    v->addLayout(g);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(14, 6, 14, 0);
    btPratinjau = button("btPratinjau", "Pratinjau", this);
    btCetak = button("btCetak", "Cetak", this);
    btSimpanPdf = button("btSimpanPdf", "Simpan PDF", this);
    btTutup = button("btTutup", "Tutup", this);
    bar->addWidget(btPratinjau);
    bar->addWidget(btCetak);
    bar->addWidget(btSimpanPdf);
    bar->addStretch(1);
    bar->addWidget(btTutup);
    v->addLayout(bar);
    setMinimumWidth(520);

    connect(btPratinjau, &QPushButton::clicked, this, &Tf_laporanBulanan::btPratinjauClick);
    connect(btCetak, &QPushButton::clicked, this, &Tf_laporanBulanan::btCetakClick);
    connect(btSimpanPdf, &QPushButton::clicked, this, &Tf_laporanBulanan::btSimpanPdfClick);
    connect(btTutup, &QPushButton::clicked, this, &QDialog::reject);
}

void Tf_laporanBulanan::open(PageContext& ctx, const QString& nip, const QString& nama, const QDate& month)
{
    Tf_laporanBulanan dialog(ctx, nip, nama, month);
    ctx.dialogs().exec(dialog);
}

QString Tf_laporanBulanan::periode() const
{
    return QStringLiteral("%1%2").arg(seLaporanTahun->value(), 4, 10, QLatin1Char('0'))
        .arg(cbLaporanBulan->currentIndex() + 1, 2, 10, QLatin1Char('0'));
}

bool Tf_laporanBulanan::load(LaporanBulanan& report)
{
    if (nip_.isEmpty()) {
        ctx_.messages().warning(QStringLiteral("NIP belum tersedia, silahkan buka Dashboard terlebih dahulu!"));
        return false;
    }
    const QDate today = ctx_.clock().today();
    if (periode() > today.toString(QStringLiteral("yyyyMM"))) {
        ctx_.messages().warning(QStringLiteral("Bulan laporan belum berjalan!"));
        return false;
    }
    return report.load(ctx_, nip_, periode());
}

void Tf_laporanBulanan::btPratinjauClick()
{
    LaporanBulanan report;
    if (!load(report))
        return;
    QPrinter printer(QPrinter::HighResolution);
    LaporanBulanan::preparePage(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Pratinjau Laporan Bulanan"));
    // A page worth reading at once, not the dialog's small default.
    if (const QScreen* s = screen())
        preview.resize(s->availableGeometry().size() * 0.9);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&report](QPrinter* p) { report.print(*p); });
    ctx_.dialogs().exec(preview);
}

void Tf_laporanBulanan::btCetakClick()
{
    LaporanBulanan report;
    if (!load(report))
        return;
    QPrinter printer(QPrinter::HighResolution);
    LaporanBulanan::preparePage(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Cetak Laporan Bulanan"));
    if (ctx_.dialogs().exec(dialog) != QDialog::Accepted)
        return;
    if (!report.print(printer))
        ctx_.messages().warning(QStringLiteral("Gagal mencetak laporan bulanan!"));
}

void Tf_laporanBulanan::btSimpanPdfClick()
{
    LaporanBulanan report;
    if (!load(report))
        return;
    QFileDialog files(this, QStringLiteral("Simpan Laporan Bulanan"));
    prepareSaveDialog(files, QStringLiteral("Dokumen PDF (*.pdf)"), QStringLiteral("pdf"));
    files.selectFile(QStringLiteral("Laporan Bulanan %1 %2.pdf").arg(report.field(QStringLiteral("nip")), periode()));
    ctx_.dialogs().exec(files);
    const QString path = savedFile(files);
    if (path.isEmpty())
        return;

    // Written whole or not at all: an earlier file of that name survives a
    // failure.
    QSaveFile out(path);
    bool written = out.open(QIODevice::WriteOnly);
    if (written) {
        {
            QPdfWriter pdf(&out);
            pdf.setTitle(QStringLiteral("Laporan Bulanan %1 %2").arg(report.field(QStringLiteral("nama_lengkap")),
                                                                     report.field(QStringLiteral("periode_x"))));
            pdf.setCreator(QStringLiteral("Tarvesa Kelordan"));
            pdf.setResolution(300);
            LaporanBulanan::preparePage(pdf);
            written = report.print(pdf);
        }
        written = written && out.commit();
    }
    if (!written) {
        ctx_.messages().warning(QStringLiteral("Gagal menyimpan file PDF laporan bulanan!"));
        return;
    }
    ctx_.messages().information(QStringLiteral("Laporan bulanan tersimpan di ") + QDir::toNativeSeparators(path));
}

void openMonthlyReport(PageContext& ctx, const QString& nip, const QString& nama, const QDate& month)
{
    Tf_laporanBulanan::open(ctx, nip, nama, month);
}
