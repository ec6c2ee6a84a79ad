#include "adminskpdpage.h"

#include "adminlists.h"

#include "shell/pagecontext.h"
#include "db/filterlist.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/stringgrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

std::vector<GridColumn> listColumns(const StringGrid& g)
{
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(135, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama"), 240, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Nama Unit"), 350, QStringLiteral("nama_unit")),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 350, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("GolRu"), g.fitted(60, QStringLiteral("IV/e")), QStringLiteral("golongan")),
        GridColumn::field(QStringLiteral("Jenis Jabatan"), g.fitted(100, QStringLiteral("Jenis Jabatan")),
                          QStringLiteral("jjab")),
        GridColumn::field(QStringLiteral("Status"), g.fitted(100, QStringLiteral("Belum Terdaftar")),
                          QStringLiteral("status_registrasi")),
    };
}

} // namespace

AdminSKPDPage::AdminSKPDPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xAdminSKPD"), QStringLiteral("xAdminSKPDJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new QGridLayout(filter);
    xAdminSKPDNama = adminlists::nameEdit("xAdminSKPDNama", filter);
    fl->addWidget(new QLabel(QStringLiteral("Nama PNS"), filter), 0, 0);
    fl->addWidget(xAdminSKPDNama, 0, 1, 1, 3);
    fl->addWidget(adminlists::hint(QString::fromUtf8(adminlists::NameHint), filter), 1, 1, 1, 4);

    xAdminSKPDJenis1 = filterBox("xAdminSKPDJenis1", "Struktural", filter);
    xAdminSKPDJenis2 = filterBox("xAdminSKPDJenis2", "Fungsional", filter);
    xAdminSKPDJenis3 = filterBox("xAdminSKPDJenis3", "Pelaksana", filter);
    fl->addWidget(new QLabel(QStringLiteral("Jenis Jabatan"), filter), 2, 0);
    fl->addWidget(xAdminSKPDJenis1, 2, 1);
    fl->addWidget(xAdminSKPDJenis2, 2, 2);
    fl->addWidget(xAdminSKPDJenis3, 2, 3);

    xAdminSKPDTampilData = adminlists::button("xAdminSKPDTampilData", "Tampilkan Data", filter);
    xAdminSKPDJumlah = adminlists::countLabel("xAdminSKPDJumlah", filter);
    fl->addLayout(adminlists::showRow(xAdminSKPDTampilData, xAdminSKPDJumlah), 3, 1, 1, 4);
    fl->setColumnStretch(5, 1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data PNS di SKPD Saya ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_admin_skpd_pns = new StringGrid(data);
    sg_admin_skpd_pns->setObjectName(QStringLiteral("sg_admin_skpd_pns"));
    sg_admin_skpd_pns->setContextMenuPolicy(Qt::NoContextMenu);
    sg_admin_skpd_pns->setElasticColumns({2, 3, 4});
    dl->addWidget(sg_admin_skpd_pns, 1);
    SpeedButton37 = adminlists::button("SpeedButton37", "Reset Password", data, 153);
    SpeedButton37->setMinimumHeight(27);
    dl->addLayout(adminlists::buttonRow({SpeedButton37}));
    body()->addWidget(data, 1);

    connect(xAdminSKPDTampilData, &QPushButton::clicked, this, &AdminSKPDPage::xAdminSKPDTampilDataClick);
    connect(SpeedButton37, &QPushButton::clicked, this, &AdminSKPDPage::SpeedButton37Click);
}

QString AdminSKPDPage::positionKindList() const
{
    return filterList({{xAdminSKPDJenis1->isChecked(), "struktural"},
                       {xAdminSKPDJenis2->isChecked(), "fungsional"},
                       {xAdminSKPDJenis3->isChecked(), "pelaksana"}});
}

void AdminSKPDPage::dxAdminItems0Click()
{
    if (!probeConnection(ctx_))
        return;
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin SKPD"));
    ctx_.showPage(this);
    xAdminSKPDTampilDataClick();
}

void AdminSKPDPage::xAdminSKPDTampilDataClick()
{
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(
            QStringLiteral("CALL `kinerja_admin_skpd_show_pns_per_skpd`(:var_induk, :var_nama, :var_jjab)"),
            {{QStringLiteral("var_induk"), ctx_.session().kode_induk},
             {QStringLiteral("var_nama"), xAdminSKPDNama->text()},
             {QStringLiteral("var_jjab"), positionKindList()}});
        rows = rs.recordCount();
        fillGrid(*sg_admin_skpd_pns, std::move(rs), listColumns(*sg_admin_skpd_pns));
    });
    if (ok)
        xAdminSKPDJumlah->setText(QStringLiteral("Jumlah bawahan : ") + QString::number(rows));
}

void AdminSKPDPage::SpeedButton37Click()
{
    StringGrid& g = *sg_admin_skpd_pns;
    if (g.rowCount() <= 1) {
        ctx_.messages().warning(QStringLiteral("Tidak ada data yang bisa diproses!"));
        return;
    }
    // Name, deleted NIP and logged target all come from this one row.
    const int row = g.currentRow();
    const QString nip = g.cell(row, 1);
    const QString nama = g.cell(row, 2);
    if (!ctx_.messages().confirm(
            QStringLiteral("Reset akun Tarvesa a.n. ") + nama + QStringLiteral(" ?\r\r") +
            QStringLiteral("reset akun Tarvesa juga akan menghapus akses ke aplikasi TPP jika ada.\r\r") +
            QStringLiteral("Catatan :\rGunakan fitur ini dengan bijak dan bertanggungjawab. data akun akan dihapus "
                           "secara permanen.")))
        return;

    if (!Envelope(ctx_).run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_user_delete`(:var_nip)"), {{QStringLiteral("var_nip"), nip}});
        }))
        return;
    // The server logs the reset with it.
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDihapus));
    xAdminSKPDTampilDataClick();
}
