#include "uverifikator_info.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kSkyBlue = "background: #A6CAF0;";

QLineEdit* field(const char* name, const QString& text, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setReadOnly(true);
    e->setStyleSheet(QString::fromUtf8(kSkyBlue));
    e->setCursorPosition(0);
    return e;
}

} // namespace

Tfverifikator_info::Tfverifikator_info(PageContext& ctx, const VerifikatorInfo& info) : QDialog(ctx.dialogParent())
{
    setObjectName(QStringLiteral("fverifikator_info"));
    setWindowTitle(QStringLiteral("Info Verifikator"));
    setFixedSize(600, 470);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    fverifikator_infoJudul = new PageHeader(this, QStringLiteral("fverifikator_infoJudul"));
    ctx.styleHeader(fverifikator_infoJudul, QStringLiteral("Info Verifikator Kamus"));
    v->addWidget(fverifikator_infoJudul);

    auto* f = new QFormLayout;
    f->setContentsMargins(12, 8, 12, 0);
    edNip = field("edNip", info.nip, this);
    edNama = field("edNama", info.nama, this);
    edGolongan = field("edGolongan", info.golongan, this);
    edJabatan = field("edJabatan", info.jabatan, this);
    edUnit = field("edUnit", info.unit, this);
    edInduk = field("edInduk", info.induk, this);
    edLevel = field("edLevel", info.level, this);
    edJumlah = field("edJumlah", info.jumlah, this);
    edJumlah->setMaximumWidth(80);
    mmJabatan = new QPlainTextEdit(info.daftar, this);
    mmJabatan->setObjectName(QStringLiteral("mmJabatan"));
    mmJabatan->setReadOnly(true);
    mmJabatan->setStyleSheet(QString::fromUtf8(kSkyBlue));
    f->addRow(QStringLiteral("NIP"), edNip);
    f->addRow(QStringLiteral("Nama"), edNama);
    f->addRow(QStringLiteral("Pangkat/Gol."), edGolongan);
    f->addRow(QStringLiteral("Jabatan"), edJabatan);
    f->addRow(QStringLiteral("Unit Kerja"), edUnit);
    f->addRow(QStringLiteral("SKPD"), edInduk);
    f->addRow(QStringLiteral("Level Akun"), edLevel);
    f->addRow(QStringLiteral("Jumlah Jabatan"), edJumlah);
    f->addRow(QStringLiteral("Jabatan Diverifikasi"), mmJabatan);
    v->addLayout(f, 1);

    btTutup = new QPushButton(QStringLiteral("Tutup"), this);
    btTutup->setObjectName(QStringLiteral("btTutup"));
    auto* b = new QHBoxLayout;
    b->setContentsMargins(12, 0, 12, 0);
    b->addStretch(1);
    b->addWidget(btTutup);
    v->addLayout(b);
    connect(btTutup, &QPushButton::clicked, this, &QDialog::accept);
}
