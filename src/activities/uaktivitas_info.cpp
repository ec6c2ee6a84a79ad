#include "uaktivitas_info.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"

#include <QFormLayout>

#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kSkyBlue = "background: #A6CAF0;";

QLineEdit* field(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setReadOnly(true);
    e->setStyleSheet(QString::fromUtf8(kSkyBlue));
    return e;
}

QPlainTextEdit* memo(const char* name, int height, QWidget* parent)
{
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromUtf8(name));
    m->setReadOnly(true);
    m->setFixedHeight(height);
    m->setStyleSheet(QString::fromUtf8(kSkyBlue));
    return m;
}
} // namespace

Tfaktivitas_info::Tfaktivitas_info(PageContext& ctx) : QDialog(ctx.dialogParent())
{
    setObjectName(QStringLiteral("faktivitas_info"));
    setWindowTitle(QStringLiteral("Info Aktivitas"));
    setFixedSize(560, 460);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    fu_aktivitasJudul = new PageHeader(this, QStringLiteral("fu_aktivitasJudul"));
    fu_aktivitasJudul->setCaption(QStringLiteral("Info Aktivitas"));
    fu_aktivitasJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    fu_aktivitasJudul->setHeaderHeight(ctx.headerLook().height);
    fu_aktivitasJudul->setFontSize(ctx.headerLook().fontSize);
    v->addWidget(fu_aktivitasJudul);
    auto* f = new QFormLayout;
    f->setContentsMargins(12, 8, 12, 0);
    fAktAktivitas = memo("fAktAktivitas", 54, this);
    fAktDeskripsi = memo("fAktDeskripsi", 110, this);
    f->addRow(QStringLiteral("Nama Aktivitas"), fAktAktivitas);
    f->addRow(QStringLiteral("Deskripsi"), fAktDeskripsi);
    auto* vol = new QHBoxLayout;
    fAktVolume = field("fAktVolume", this);
    fAktVolume->setMaximumWidth(80);
    fAktSatuan = new QLabel(this);
    fAktSatuan->setObjectName(QStringLiteral("fAktSatuan"));
    vol->addWidget(fAktVolume);
    vol->addWidget(fAktSatuan);
    vol->addStretch(1);
    f->addRow(QStringLiteral("Volume"), vol);
    fAktTglAktivitas = field("fAktTglAktivitas", this);
    fAktTglinput = field("fAktTglinput", this);
    fAktTglVerifikasi = field("fAktTglVerifikasi", this);
    fAktTglValidasi = field("fAktTglValidasi", this);
    f->addRow(QStringLiteral("Tgl. Aktivitas"), fAktTglAktivitas);
    f->addRow(QStringLiteral("Tgl. Input"), fAktTglinput);
    f->addRow(QStringLiteral("Tgl. Verifikasi"), fAktTglVerifikasi);
    f->addRow(QStringLiteral("Tgl. Validasi"), fAktTglValidasi);
    fAktAlasanTolak = memo("fAktAlasanTolak", 80, this);
    f->addRow(QStringLiteral("Alasan Penolakan"), fAktAlasanTolak);
    f->setRowVisible(fAktAlasanTolak, false);
    form_ = f;
    v->addLayout(f, 1);
    btSimpan = new QPushButton(QStringLiteral("Tutup"), this);
    btSimpan->setObjectName(QStringLiteral("btSimpan"));
    auto* b = new QHBoxLayout;
    b->addStretch(1);
    b->addWidget(btSimpan);
    b->setContentsMargins(12, 0, 12, 0);
    v->addLayout(b);
    connect(btSimpan, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfaktivitas_info::setRejectionReason(const QString& reason)
{
    const bool any = !reason.isEmpty();
    fAktAlasanTolak->setPlainText(reason);
    form_->setRowVisible(fAktAlasanTolak, any);
    setFixedSize(560, any ? 460 + 80 + std::max(form_->verticalSpacing(), 0) : 460);
}

void Tfaktivitas_info::fill(const QString& task, const QString& description, const QString& volume,
                            const QString& unit, const QString& activityDate, const QString& inputDate,
                            const QString& verificationDate, const QString& validationDate)
{
    fAktAktivitas->setPlainText(task);
    fAktDeskripsi->setPlainText(description);
    fAktVolume->setText(volume);
    fAktSatuan->setText(unit);
    fAktTglAktivitas->setText(activityDate);
    fAktTglinput->setText(inputDate);
    fAktTglVerifikasi->setText(verificationDate);
    fAktTglValidasi->setText(validationDate);
}
