#include "ue_informasi.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Characters as the server counts them (an emoji is one).
int length(const QString& text)
{
    return int(text.toUcs4().size());
}

} // namespace

Tfe_informasi::Tfe_informasi(PageContext& ctx, const QString& aplikasi, const QString& listName)
    : QDialog(ctx.dialogParent()), ctx_(ctx), aplikasi_(aplikasi), listName_(listName)
{
    setObjectName(QStringLiteral("fe_informasi"));
    setWindowTitle(QString());
    setFixedSize(560, 360);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 10);
    fe_informasiJudul = new PageHeader(this, QStringLiteral("fe_informasiJudul"));
    ctx.styleHeader(fe_informasiJudul, QStringLiteral("Tambah ") + listName);
    v->addWidget(fe_informasiJudul);

    auto* g = new QGridLayout;
    g->setContentsMargins(14, 8, 14, 0);
    g->setVerticalSpacing(8);
    g->addWidget(new QLabel(QStringLiteral("Pengumuman"), this), 0, 0, Qt::AlignTop);
    edPengumuman = new QPlainTextEdit(this);
    edPengumuman->setObjectName(QStringLiteral("edPengumuman"));
    edPengumuman->setTabChangesFocus(true);
    g->addWidget(edPengumuman, 0, 1);
    lbPanjang = new QLabel(this);
    lbPanjang->setObjectName(QStringLiteral("lbPanjang"));
    g->addWidget(lbPanjang, 1, 1, Qt::AlignRight);
    g->addWidget(new QLabel(QStringLiteral("Urutan"), this), 2, 0);
    edUrutan = new QSpinBox(this);
    edUrutan->setObjectName(QStringLiteral("edUrutan"));
    edUrutan->setRange(1, 999);
    edUrutan->setValue(1);
    edUrutan->setToolTip(QStringLiteral("Urutan tampil: 1 paling atas"));
    auto* order = new QHBoxLayout;
    order->addWidget(edUrutan);
    order->addSpacing(6);
    order->addWidget(new QLabel(QStringLiteral("(1 tampil paling atas)"), this));
    order->addStretch(1);
    g->addLayout(order, 2, 1);
    g->setColumnStretch(1, 1);
    g->setRowStretch(0, 1);
    v->addLayout(g, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(14, 0, 14, 0);
    buttons->addStretch(1);
    btSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    btSimpan->setObjectName(QStringLiteral("btSimpan"));
    btSimpan->setAutoDefault(false);
    btSimpan->setMinimumWidth(100);
    btBatal = new QPushButton(QStringLiteral("Batal"), this);
    btBatal->setObjectName(QStringLiteral("btBatal"));
    btBatal->setAutoDefault(false);
    btBatal->setMinimumWidth(100);
    buttons->addWidget(btSimpan);
    buttons->addWidget(btBatal);
    v->addLayout(buttons);

    connect(edPengumuman, &QPlainTextEdit::textChanged, this, &Tfe_informasi::edPengumumanChange);
    connect(btSimpan, &QPushButton::clicked, this, &Tfe_informasi::btSimpanClick);
    connect(btBatal, &QPushButton::clicked, this, &QDialog::reject);
    edPengumumanChange();
}

void Tfe_informasi::setAnnouncement(const QString& id, const QString& text, int urutan)
{
    id_ = id;
    oldText_ = text;
    oldUrutan_ = urutan;
    edPengumuman->setPlainText(text);
    edUrutan->setValue(urutan);
    fe_informasiJudul->setCaption(QStringLiteral("Ubah ") + listName_);
}

void Tfe_informasi::edPengumumanChange()
{
    const int n = length(edPengumuman->toPlainText().trimmed());
    lbPanjang->setText(QString::number(n) + QStringLiteral(" / ") + QString::number(MaxLength) +
                       QStringLiteral(" karakter"));
}

bool Tfe_informasi::btSimpanClick()
{
    const QString text = edPengumuman->toPlainText().trimmed();
    if (text.isEmpty()) {
        ctx_.messages().warning(QStringLiteral("Pengumuman belum diisi!"));
        return false;
    }
    if (length(text) > MaxLength) {
        ctx_.messages().warning(QStringLiteral("Pengumuman paling banyak ") + QString::number(MaxLength) +
                                QStringLiteral(" karakter!"));
        return false;
    }
    if (!id_.isEmpty() && text == oldText_ && edUrutan->value() == oldUrutan_) {
        ctx_.messages().warning(QStringLiteral("Tidak ada perubahan yang disimpan!"));
        return false;
    }
    const QString urutan = QString::number(edUrutan->value());
    Envelope save(ctx_);
    save.onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan));
    const bool ok = save.run([&](db::Query& q) {
        if (id_.isEmpty())
            q.exec(QStringLiteral("CALL `kinerja_informasi_tambah`(:var_aplikasi, :var_pengumuman, :var_urutan)"),
                   {{QStringLiteral("var_aplikasi"), aplikasi_},
                    {QStringLiteral("var_pengumuman"), text},
                    {QStringLiteral("var_urutan"), urutan}});
        else
            q.exec(QStringLiteral("CALL `kinerja_informasi_ubah`(:var_id, :var_pengumuman, :var_urutan)"),
                   {{QStringLiteral("var_id"), id_},
                    {QStringLiteral("var_pengumuman"), text},
                    {QStringLiteral("var_urutan"), urutan}});
    });
    if (!ok)
        return false;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDisimpan));
    accept();
    return true;
}
