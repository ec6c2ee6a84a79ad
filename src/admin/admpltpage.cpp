#include "admpltpage.h"

#include "adminlists.h"
#include "ue_plt.h"

#include "shell/pagecontext.h"
#include "db/filterlist.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

namespace {

std::vector<GridColumn> listColumns(const StringGrid& g)
{
    const int date = g.fitted(100, QStringLiteral("0000-00-00"));
    return {
        GridColumn::field(QStringLiteral("id"), 0, QStringLiteral("id")),
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(150, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama Lengkap"), 260, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Jabatan Definitif"), 270, QStringLiteral("nama_jabatan_definitif")),
        GridColumn::field(QStringLiteral("Jabatan Plt/Plh/Sampiran"), 270, QStringLiteral("nama_jabatan_plt")),
        GridColumn::field(QStringLiteral("Tgl. Mulai"), date, QStringLiteral("plt_start")),
        GridColumn::field(QStringLiteral("Tgl. Akhir"), date, QStringLiteral("plt_end")),
        GridColumn::field(QStringLiteral("Status"), g.fitted(250, QStringLiteral("Korwil - BELUM MULAI")),
                          QStringLiteral("jenis_text")),
    };
}

} // namespace

AdmPltPage::AdmPltPage(PageContext& ctx) : Page(ctx, QStringLiteral("xAdmPlt"), QStringLiteral("xAdmPltJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new QGridLayout(filter);
    xAdmPltNama = adminlists::nameEdit("xAdmPltNama", filter);
    fl->addWidget(new QLabel(QStringLiteral("Nama PNS"), filter), 0, 0);
    fl->addWidget(xAdmPltNama, 0, 1, 1, 2);
    fl->addWidget(adminlists::hint(QString::fromUtf8(adminlists::NameHint), filter), 1, 1, 1, 3);

    xAdmPltJenis1 = filterBox("xAdmPltJenis1", "PLt", filter);
    xAdmPltJenis2 = filterBox("xAdmPltJenis2", "Plh", filter);
    xAdmPltJenis3 = filterBox("xAdmPltJenis3", "Kepala Sekolah dan Puskesmas", filter);
    xAdmPltJenis4 = filterBox("xAdmPltJenis4", "Korwil", filter);
    fl->addWidget(new QLabel(QStringLiteral("Jenis Tugas"), filter), 2, 0);
    fl->addWidget(xAdmPltJenis1, 2, 1);
    fl->addWidget(xAdmPltJenis3, 2, 2);
    fl->addWidget(xAdmPltJenis2, 3, 1);
    fl->addWidget(xAdmPltJenis4, 3, 2);
    xAdmPltAktif1 = filterBox("xAdmPltAktif1", "Aktif", filter);
    xAdmPltAktif2 = filterBox("xAdmPltAktif2", "InAktif", filter);
    fl->addWidget(new QLabel(QStringLiteral("Status"), filter), 4, 0);
    fl->addWidget(xAdmPltAktif1, 4, 1);
    fl->addWidget(xAdmPltAktif2, 4, 2);

    xAdmPltTampilData = adminlists::button("xAdmPltTampilData", "Tampilkan Data", filter);
    xAdmPltJumlah = adminlists::countLabel("xAdmPltJumlah", filter);
    auto* run = new QVBoxLayout;
    run->addStretch(1);
    run->addWidget(xAdmPltTampilData);
    run->addWidget(xAdmPltJumlah);
    fl->addLayout(run, 2, 4, 3, 1);
    fl->setColumnMinimumWidth(3, 24);
    fl->setColumnStretch(5, 1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ User List ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_admPlt = new StringGrid(data);
    sg_admPlt->setObjectName(QStringLiteral("sg_admPlt"));
    sg_admPlt->setElasticColumns({3, 4, 5}, 120);
    dl->addWidget(sg_admPlt, 1);
    btAdmPltTambah = adminlists::button("btAdmPltTambah", "Tambah", data);
    btAdmPltUbah = adminlists::button("btAdmPltUbah", "Ubah", data);
    dl->addLayout(adminlists::buttonRow({btAdmPltTambah, btAdmPltUbah}));
    body()->addWidget(data, 1);

    poAdmPlt = new QMenu(this);
    poAdmPlt->setObjectName(QStringLiteral("poAdmPlt"));
    ambah2 = poAdmPlt->addAction(QStringLiteral("Tambah"));
    ambah2->setObjectName(QStringLiteral("ambah2"));
    Ubah1 = poAdmPlt->addAction(QStringLiteral("Ubah"));
    Ubah1->setObjectName(QStringLiteral("Ubah1"));
    sg_admPlt->addExportEntry(poAdmPlt);
    sg_admPlt->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sg_admPlt, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { poAdmPlt->popup(sg_admPlt->viewport()->mapToGlobal(pos)); });

    connect(xAdmPltTampilData, &QPushButton::clicked, this, &AdmPltPage::xAdmPltTampilDataClick);
    connect(ambah2, &QAction::triggered, this, &AdmPltPage::ambah2Click);
    connect(Ubah1, &QAction::triggered, this, &AdmPltPage::Ubah1Click);
    connect(btAdmPltTambah, &QPushButton::clicked, this, &AdmPltPage::ambah2Click);
    connect(btAdmPltUbah, &QPushButton::clicked, this, &AdmPltPage::Ubah1Click);
}

QString AdmPltPage::kindList() const
{
    return filterList({{xAdmPltJenis1->isChecked(), "plt"},
                       {xAdmPltJenis2->isChecked(), "plh"},
                       {xAdmPltJenis3->isChecked(), "tugas-sampiran"},
                       {xAdmPltJenis4->isChecked(), "korwil"}});
}

QString AdmPltPage::statusList() const
{
    return filterList({{xAdmPltAktif1->isChecked(), "AKTIF"}, {xAdmPltAktif2->isChecked(), "-"}});
}

void AdmPltPage::dxSettingItems3Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin - Setting PLT / PLH / KS / KAPUS / Korwil"));
    ctx_.showPage(this);
    xAdmPltTampilDataClick();
}

void AdmPltPage::xAdmPltTampilDataClick()
{
    const QString kinds = kindList();
    const QString states = statusList();
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_plt_tampil_data`(:var_nama, :var_jenis, :var_status)"),
                                  {{QStringLiteral("var_nama"), xAdmPltNama->text()},
                                   {QStringLiteral("var_jenis"), kinds},
                                   {QStringLiteral("var_status"), states}});
        xAdmPltJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rs.recordCount()));
        fillGrid(*sg_admPlt, std::move(rs), listColumns(*sg_admPlt));
    });
}

void AdmPltPage::ambah2Click()
{
    Tfe_plt dialog(ctx_);
    dialog.tambah();
    connect(&dialog, &Tfe_plt::saved, this, &AdmPltPage::xAdmPltTampilDataClick);
    ctx_.dialogs().exec(dialog);
}

void AdmPltPage::Ubah1Click()
{
    if (!requireDataRows(*sg_admPlt, ctx_.messages()))
        return;
    const int row = sg_admPlt->currentRow();
    const StringGrid& g = *sg_admPlt;
    Tfe_plt dialog(ctx_);
    dialog.ubah({g.cell(row, 0), g.cell(row, 2), g.cell(row, 3), g.cell(row, 5), g.cell(row, 8), g.cell(row, 6),
                 g.cell(row, 7)});
    connect(&dialog, &Tfe_plt::saved, this, &AdmPltPage::xAdmPltTampilDataClick);
    ctx_.dialogs().exec(dialog);
}
