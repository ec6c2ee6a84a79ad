#include "ue_verifikator.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/keyfilters.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfe_verifikator::Tfe_verifikator(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("fe_verifikator"));
    setWindowTitle(QStringLiteral("Tambah Verifikator Kamus"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    fe_verifikatorJudul = new PageHeader(this, QStringLiteral("fe_verifikatorJudul"));
    fe_verifikatorJudul->setCaption(QStringLiteral("Tambah Verifikator Kamus"));
    fe_verifikatorJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    fe_verifikatorJudul->setHeaderHeight(ctx.headerLook().height);
    fe_verifikatorJudul->setFontSize(ctx.headerLook().fontSize);
    v->addWidget(fe_verifikatorJudul);

    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(12, 4, 12, 0);
    auto* prompt = new QLabel(QStringLiteral("NIP PNS yang akan menjadi verifikator kamus (18 digit). "
                                             "Jabatan yang diverifikasinya dipilih sesudah ini."),
                              this);
    prompt->setWordWrap(true);
    inner->addWidget(prompt);
    edNIP = new QLineEdit(this);
    edNIP->setObjectName(QStringLiteral("edNIP"));
    edNIP->setMaxLength(18);
    digitsOnly(edNIP);
    inner->addWidget(edNIP);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    btLanjut = new QPushButton(QStringLiteral("Lanjut"), this);
    btLanjut->setObjectName(QStringLiteral("btLanjut"));
    btBatal = new QPushButton(QStringLiteral("Batal"), this);
    btBatal->setObjectName(QStringLiteral("btBatal"));
    for (QPushButton* b : {btLanjut, btBatal}) {
        b->setMinimumWidth(85);
        b->setAutoDefault(false);
        bar->addWidget(b);
    }
    inner->addLayout(bar);
    inner->addStretch(1);
    v->addLayout(inner, 1);
    setFixedSize(sizeHint().expandedTo(QSize(400, 170)));

    connect(btLanjut, &QPushButton::clicked, this, &Tfe_verifikator::btLanjutClick);
    connect(btBatal, &QPushButton::clicked, this, &QDialog::reject);
    onEnter(edNIP, [this] { btLanjutClick(); });
    edNIP->setFocus();
}

bool Tfe_verifikator::btLanjutClick()
{
    const QString nip = edNIP->text().trimmed();
    if (nip.size() != 18) {
        ctx_.messages().warning(QStringLiteral("angka NIP kurang dari 18 digit, silahkan periksa kembali!"));
        edNIP->setFocus();
        return false;
    }
    QString nama;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            nama = q.open(QStringLiteral("CALL `kinerja_verifikator_calon`(:var_nip)"),
                          {{QStringLiteral("var_nip"), nip}})
                       .first(QStringLiteral("nama_lengkap"));
        }))
        return false;
    if (nama.isEmpty()) {
        ctx_.messages().warning(QStringLiteral("Tidak ada PNS aktif dengan NIP ") + nip + QStringLiteral("!"));
        edNIP->setFocus();
        return false;
    }
    nip_ = nip;
    nama_ = nama;
    accept();
    return true;
}
