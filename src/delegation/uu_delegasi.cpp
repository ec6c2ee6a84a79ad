#include "uu_delegasi.h"

#include "readonlyfield.h"

#include "shell/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"

#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfu_delegasi::Tfu_delegasi(PageContext& ctx, const QString& nip, const QString& nama)
    : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("fu_delegasi"));
    setWindowTitle(QStringLiteral("Update data pendelegasian"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 14, 16, 12);
    auto* title = new QLabel(QStringLiteral("Update tanggal selesai pendelegasian"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    v->addWidget(title);
    v->addSpacing(6);

    auto* g = new QGridLayout;
    g->setHorizontalSpacing(10);
    g->setColumnStretch(1, 1);
    edNIP = readOnlyField("edNIP", this);
    edNIP->setMaxLength(18);
    edNIP->setText(nip);
    edNama = readOnlyField("edNama", this);
    edNama->setText(nama);
    edNama->setCursorPosition(0);
    edTanggal = datePicker("edTanggal", this, ctx.clock().today(), 5);
    edTanggal->setDate(ctx.clock().today());
    g->addWidget(new QLabel(QStringLiteral("NIP"), this), 0, 0);
    g->addWidget(edNIP, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Nama"), this), 1, 0);
    g->addWidget(edNama, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Tanggal selesai"), this), 2, 0);
    g->addWidget(edTanggal, 2, 1, Qt::AlignLeft);
    btSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    btSimpan->setObjectName(QStringLiteral("btSimpan"));
    btSimpan->setAutoDefault(false);
    btSimpan->setMinimumWidth(100);
    g->addWidget(btSimpan, 3, 1, Qt::AlignRight);
    v->addLayout(g);
    v->addStretch(1);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    v->addWidget(rule);
    v->addWidget(new QLabel(QStringLiteral("Catatan :"), this));
    auto* text = new QLabel(QStringLiteral("Tanggal selesai delegasi tidak boleh lebih awal dari tanggal mulai"), this);
    text->setWordWrap(true);
    v->addWidget(text);

    // The design's 370 x 264, or what the font in use needs.
    setFixedSize(sizeHint().expandedTo(QSize(370, 264)));
    connect(btSimpan, &QPushButton::clicked, this, &Tfu_delegasi::btSimpanClick);
}

bool Tfu_delegasi::btSimpanClick()
{
    // Only the date part, year first, whatever the user's date settings.
    const db::Params params{{QStringLiteral("var_nip"), edNIP->text()},
                            {QStringLiteral("var_tanggal"), edTanggal->date().toString(QStringLiteral("yyyy-MM-dd"))}};
    const QString gagal = QString::fromUtf8(stdmsg::GagalTerhubung);
    bool valid = false;
    if (!Envelope(ctx_).onFailure(gagal).run([&](db::Query& q) {
            const db::ResultSet rs =
                q.open(QStringLiteral("CALL `kinerja_delegasi_tanggal_cek`(:var_nip, :var_tanggal)"), params);
            const QString status = rs.first(QStringLiteral("tanggal_status"));
            if (status == QLatin1String("INVALID")) {
                ctx_.messages().warning(QStringLiteral("Tanggal tidak valid !\r\rpastikan tanggal selesai delegasi "
                                                       "tidak lebih awal dari tanggal awal delegasi."));
                edNIP->setFocus();
                return;
            }
            if (status == QLatin1String("TIDAK AKTIF")) {
                ctx_.messages().warning(QStringLiteral("Delegasi ini sudah tidak aktif!\r\rtanggal selesai delegasi "
                                                       "yang sudah berakhir tidak bisa diubah."));
                return;
            }
            if (status == QLatin1String("SAMA")) {
                ctx_.messages().warning(QStringLiteral("Tanggal selesai tidak berubah!\r\rpilih tanggal selesai yang "
                                                       "lain, atau tutup jendela ini."));
                edTanggal->setFocus();
                return;
            }
            valid = true;
        }) ||
        !valid)
        return false;
    if (!Envelope(ctx_).onFailure(gagal).run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_delegasi_tanggal_update`(:var_nip, :var_tanggal)"), params);
        }))
        return false;
    ctx_.messages().information(QStringLiteral("Data berhasil diubah."));
    return true;
}
