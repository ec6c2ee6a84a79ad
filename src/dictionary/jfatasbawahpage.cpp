#include "jfatasbawahpage.h"

#include "shell/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/keyfilters.h"
#include "ui/stringgrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* barButton(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    if (name)
        b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(85);
    return b;
}

} // namespace

JFAtasBawahPage::JFAtasBawahPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xJFAtasBawah"), QStringLiteral("xJFAtasBawahJudul"))
{
    body()->addWidget(textFilterBox(xJFAtasBawahNama, xJFAtasBawahTampil, xJFAtasBawahJumlah, "Nama Jabatan",
                                    "xJFAtasBawahNama",
                                    "* isikan dengan sebagian teks dari nama jabatan yang akan dicari ",
                                    "xJFAtasBawahTampil", "xJFAtasBawahJumlah", this));

    auto* lists = new QHBoxLayout;
    auto* master = new QGroupBox(QStringLiteral("[ Nama Jabatan fungsional ]"), this);
    // 612 pixels where there is room; on a small screen both lists share it.
    master->setMaximumWidth(612);
    auto* ml = new QVBoxLayout(master);
    pJFAtasBawahMAction = new QWidget(master);
    pJFAtasBawahMAction->setObjectName(QStringLiteral("pJFAtasBawahMAction"));
    auto* mbar = new QHBoxLayout(pJFAtasBawahMAction);
    mbar->setContentsMargins(0, 0, 0, 0);
    mbar->addWidget(barButton(nullptr, "Tambah", pJFAtasBawahMAction));
    mbar->addWidget(barButton(nullptr, "Hapus", pJFAtasBawahMAction));
    mbar->addStretch(1);
    pJFAtasBawahMAction->hide();
    ml->addWidget(pJFAtasBawahMAction);
    sgJFAtasBawahM = new StringGrid(master);
    sgJFAtasBawahM->setObjectName(QStringLiteral("sgJFAtasBawahM"));
    sgJFAtasBawahM->setElasticColumns({2}, 150);
    ml->addWidget(sgJFAtasBawahM, 1);
    lists->addWidget(master, 3);

    auto* detail = new QGroupBox(QStringLiteral("[ Nama Jabatan Pendamping ]"), this);
    auto* dl = new QVBoxLayout(detail);
    sgJFAtasBawahD = new StringGrid(detail);
    sgJFAtasBawahD->setObjectName(QStringLiteral("sgJFAtasBawahD"));
    sgJFAtasBawahD->setElasticColumns({3}, 150);
    dl->addWidget(sgJFAtasBawahD, 1);
    auto* dbar = new QHBoxLayout;
    SpeedButton11 = barButton("SpeedButton11", "Tambah", detail);
    SpeedButton15 = barButton("SpeedButton15", "Hapus", detail);
    // The ladder is kept on the server: the buttons show, but act on nothing.
    for (QPushButton* b : {SpeedButton11, SpeedButton15}) {
        b->setEnabled(false);
        b->setToolTip(QStringLiteral("Jenjang jabatan dikelola di server"));
        dbar->addWidget(b);
    }
    dbar->addStretch(1);
    dl->addLayout(dbar);
    lists->addWidget(detail, 2);
    body()->addLayout(lists, 1);

    // Enter refreshes both lists; the edit still gets the key.
    onEnter(xJFAtasBawahNama, [this] { xJFAtasBawahTampilClick(); });
    connect(xJFAtasBawahTampil, &QPushButton::clicked, this, &JFAtasBawahPage::xJFAtasBawahTampilClick);
    connect(sgJFAtasBawahM, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { sgJFAtasBawahMClick(index.row() + sgJFAtasBawahM->fixedRows()); });
}

void JFAtasBawahPage::dxSettingItems4Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin - Setting Jenjang JF Atas Bawah"));
    ctx_.showPage(this);
    xJFAtasBawahTampilClick();
}

QString JFAtasBawahPage::kodeOfRow(int row) const
{
    // Without positions the only row holds the captions, which name nothing.
    if (sgJFAtasBawahM->rowCount() < 2 || row < 1)
        return {};
    return sgJFAtasBawahM->cell(row, 1);
}

void JFAtasBawahPage::xJFAtasBawahTampilClick()
{
    const bool listed = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_jf_ab_master_show`(:var_nama)"),
                                  {{QStringLiteral("var_nama"), xJFAtasBawahNama->text()}});
        xJFAtasBawahJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rs.recordCount()));
        fillGrid(*sgJFAtasBawahM, std::move(rs),
                 {GridColumn::recNo(QStringLiteral("No."), 30),
                  GridColumn::field(QStringLiteral("Kode"), 60, QStringLiteral("kode")),
                  GridColumn::field(QStringLiteral("Nama Jabatan"), 330, QStringLiteral("jabatan")),
                  GridColumn::field(QStringLiteral("Jenjang"), 100, QStringLiteral("jenjang")),
                  GridColumn::field(QStringLiteral("Jumlah"), 50, QStringLiteral("jumlah"))});
    });
    if (!listed)
        return;
    showCompanions(kodeOfRow(sgJFAtasBawahM->currentRow()), 110, QStringLiteral("Jenjang"));
}

void JFAtasBawahPage::sgJFAtasBawahMClick(int row)
{
    showCompanions(kodeOfRow(row), 100, QStringLiteral("Nama Jenjang Atas/Bawah"));
}

bool JFAtasBawahPage::showCompanions(const QString& kode, int lastWidth, const QString& lastCaption)
{
    return Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_jf_ab_detail_show`(:var_kode)"),
                                  {{QStringLiteral("var_kode"), kode}});
        fillGrid(*sgJFAtasBawahD, std::move(rs),
                 {GridColumn::field(QStringLiteral("id"), 0, QStringLiteral("id")),
                  GridColumn::recNo(QStringLiteral("No."), 30),
                  GridColumn::field(QStringLiteral("Kode"), 60, QStringLiteral("kode")),
                  GridColumn::field(QStringLiteral("Nama Jabatan Atas/Bawah"), 330,
                                    QStringLiteral("jabatan_pendamping")),
                  GridColumn::field(lastCaption, lastWidth, QStringLiteral("jenjang_pendamping"))});
    });
}
