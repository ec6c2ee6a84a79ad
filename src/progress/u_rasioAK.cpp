#include "u_rasioAK.h"

#include "shell/exporthost.h"
#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A table the window lays out with a fixed caption row needs rows.
void requireRows(const db::ResultSet& rs)
{
    if (rs.recordCount() == 0)
        throw db::DbError(db::DbError::Kind::Result, "empty table");
}

} // namespace

Tf_rasioAK::Tf_rasioAK(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("f_rasioAK"));
    setWindowTitle(QStringLiteral("Rasio Sumber Aktivitas Kinerja"));
    setFixedSize(760, 620);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    f_rasioAKjudul = new PageHeader(this, QStringLiteral("f_rasioAKjudul"));
    v->addWidget(f_rasioAKjudul);
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(8, 4, 8, 0);
    sg_rasioAK = new StringGrid(this);
    sg_rasioAK->setObjectName(QStringLiteral("sg_rasioAK"));
    inner->addWidget(sg_rasioAK, 3);
    inner->addWidget(new QLabel(QStringLiteral("Keterangan"), this));
    sg_keteranganKJ = new StringGrid(this);
    sg_keteranganKJ->setObjectName(QStringLiteral("sg_keteranganKJ"));
    inner->addWidget(sg_keteranganKJ, 3);
    auto* catatan = new QLabel(QStringLiteral("Catatan : Klasifikasi jabatan merujuk pada Peraturan Bupati Kelordan "
                                              "tentang Pemberian Tambahan Penghasilan Pegawai Aparatur Sipil Negara "
                                              "di Lingkungan Pemerintah Kabupaten Kelordan."),
                               this);
    catatan->setWordWrap(true);
    inner->addWidget(catatan);
    BitBtn1 = new QPushButton(QStringLiteral("Tutup"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    inner->addLayout(bottom);
    v->addLayout(inner, 1);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    new ContextExportHost(ctx, this);
}

void Tf_rasioAK::showEvent(QShowEvent* event)
{
    f_rasioAKjudul->setHeaderHeight(ctx_.headerLook().height);
    f_rasioAKjudul->setFontSize(ctx_.headerLook().fontSize);
    QDialog::showEvent(event);
}

void Tf_rasioAK::open(PageContext& ctx)
{
    Tf_rasioAK dlg(ctx);
    dlg.f_rasioAKjudul->setCaption(QStringLiteral("Rasio Sumber Aktivitas Kinerja"));
    dlg.f_rasioAKjudul->setColors(ctx.headerLook().from, ctx.headerLook().to);

    if (!Envelope(ctx).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_rasioAK_show`()"));
            requireRows(rs);
            std::vector<GridColumn> cols{
                GridColumn::field(QStringLiteral("Kode Klasifikasi Jabatan."), 370, QStringLiteral("klasifikasi"))};
            for (int i = 1; i <= 8; ++i)
                cols.push_back(GridColumn::field(QString::number(i), 40, QStringLiteral("n%1").arg(i)));
            fillGrid(*dlg.sg_rasioAK, rs, cols);
        }))
        return;
    if (!Envelope(ctx).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_klasifikasi_jabatan_show`()"));
            requireRows(rs);
            fillGrid(*dlg.sg_keteranganKJ, rs,
                     {GridColumn::field(QStringLiteral("Kode"), 40, QStringLiteral("id")),
                      GridColumn::field(QStringLiteral("Klasifikasi Jabatan."), 660,
                                        QStringLiteral("klasifikasi_jabatan"))});
        }))
        return;
    ctx.dialogs().exec(dlg);
}
