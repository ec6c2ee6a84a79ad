#include "ualasan_tolak.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfalasan_tolak::Tfalasan_tolak(PageContext& ctx, const QString& activityId)
    : QDialog(ctx.dialogParent()), ctx_(ctx), id_(activityId)
{
    setObjectName(QStringLiteral("falasan_tolak"));
    setWindowTitle(QStringLiteral("Alasan Penolakan"));
    setFixedSize(480, 300);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    falasan_tolakJudul = new PageHeader(this, QStringLiteral("falasan_tolakJudul"));
    falasan_tolakJudul->setCaption(QStringLiteral("Alasan Penolakan"));
    falasan_tolakJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    falasan_tolakJudul->setHeaderHeight(ctx.headerLook().height);
    falasan_tolakJudul->setFontSize(ctx.headerLook().fontSize);
    v->addWidget(falasan_tolakJudul);

    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(12, 4, 12, 0);
    auto* prompt = new QLabel(QStringLiteral("Aktivitas sudah ditolak. Tuliskan alasannya agar dapat dibaca pemilik "
                                             "aktivitas (boleh dikosongkan, paling banyak 500 karakter):"),
                              this);
    prompt->setWordWrap(true);
    inner->addWidget(prompt);
    edAlasan = new QPlainTextEdit(this);
    edAlasan->setObjectName(QStringLiteral("edAlasan"));
    edAlasan->setTabChangesFocus(true);
    inner->addWidget(edAlasan, 1);
    lbAlasanJumlah = new QLabel(this);
    lbAlasanJumlah->setObjectName(QStringLiteral("lbAlasanJumlah"));
    lbAlasanJumlah->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    inner->addWidget(lbAlasanJumlah);

    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    btSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    btSimpan->setObjectName(QStringLiteral("btSimpan"));
    btLewati = new QPushButton(QStringLiteral("Lewati"), this);
    btLewati->setObjectName(QStringLiteral("btLewati"));
    for (QPushButton* b : {btSimpan, btLewati}) {
        b->setMinimumWidth(85);
        b->setAutoDefault(false);
        bar->addWidget(b);
    }
    inner->addLayout(bar);
    v->addLayout(inner, 1);

    connect(edAlasan, &QPlainTextEdit::textChanged, this, &Tfalasan_tolak::showCount);
    connect(btSimpan, &QPushButton::clicked, this, &Tfalasan_tolak::btSimpanClick);
    connect(btLewati, &QPushButton::clicked, this, &Tfalasan_tolak::reject);
    showCount();
    edAlasan->setFocus();
}

QString Tfalasan_tolak::discardQuestion()
{
    return QStringLiteral("Alasan penolakan yang sudah diketik belum disimpan (aktivitas tetap ditolak).\r\r"
                          "Tutup tanpa menyimpan alasan?");
}

int Tfalasan_tolak::characters(const QString& text)
{
    return int(text.toUcs4().size());
}

void Tfalasan_tolak::showCount()
{
    const int n = characters(edAlasan->toPlainText());
    lbAlasanJumlah->setText(QString::number(n) + QStringLiteral(" / ") + QString::number(MaxLength));
    lbAlasanJumlah->setStyleSheet(n > MaxLength ? QStringLiteral("color: #C00000;") : QString());
}

void Tfalasan_tolak::btSimpanClick()
{
    const QString reason = edAlasan->toPlainText();
    if (reason.trimmed().isEmpty()) {
        QDialog::reject(); // no reason: the rejection stands alone
        return;
    }
    const int n = characters(reason);
    if (n > MaxLength) {
        ctx_.messages().warning(QStringLiteral("Alasan penolakan paling banyak 500 karakter, yang diketik ") +
                                QString::number(n) + QStringLiteral(" karakter."));
        return;
    }
    // Stored verbatim: what the superior typed is what the owner reads.
    if (!Envelope(ctx_)
             .onFailure(QStringLiteral("Alasan penolakan gagal disimpan!"))
             .run([&](db::Query& q) {
                 q.exec(QStringLiteral("CALL `kinerja_aktivitas_alasan_tolak_simpan`(:var_id, :var_nip, :var_alasan)"),
                        {{QStringLiteral("var_id"), id_},
                         {QStringLiteral("var_nip"), ctx_.session().nip()},
                         {QStringLiteral("var_alasan"), reason}});
             }))
        return;
    accept();
}

void Tfalasan_tolak::reject()
{
    if (!edAlasan->toPlainText().trimmed().isEmpty() && !ctx_.messages().confirm(discardQuestion()))
        return;
    QDialog::reject();
}
