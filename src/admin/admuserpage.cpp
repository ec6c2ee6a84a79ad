#include "admuserpage.h"

#include "adminlists.h"
#include "ue_user.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
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

const QString kBasicUser = QStringLiteral("Basic User");

std::vector<GridColumn> listColumns(const StringGrid& g)
{
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(120, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama Lengkap"), 420, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Level"), g.fitted(130, QStringLiteral("Admin Sektira")),
                          QStringLiteral("access_level")),
        GridColumn::field(QStringLiteral("Tanggal Register"), g.fitted(150, QStringLiteral("0000-00-00 00:00:00")),
                          QStringLiteral("register_date")),
    };
}

} // namespace

AdmUserPage::AdmUserPage(PageContext& ctx) : Page(ctx, QStringLiteral("xAdmUser"), QStringLiteral("xAdmUserJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new QGridLayout(filter);
    xAdmUserCariNama = adminlists::nameEdit("xAdmUserCariNama", filter);
    fl->addWidget(new QLabel(QStringLiteral("Nama PNS"), filter), 0, 0);
    fl->addWidget(xAdmUserCariNama, 0, 1, 1, 3);
    fl->addWidget(adminlists::hint(QString::fromUtf8(adminlists::NameHint), filter), 1, 1, 1, 5);

    xAdmUserLv1 = filterBox("xAdmUserLv1", "Admin System", filter);
    xAdmUserLv2 = filterBox("xAdmUserLv2", "Admin Sektira", filter);
    xAdmUserLv3 = filterBox("xAdmUserLv3", "Admin SKPD", filter);
    xAdmUserLv4 = filterBox("xAdmUserLv4", "Basic User", filter);
    xAdmUserLv4->setChecked(false);
    xAdmUserLv5 = filterBox("xAdmUserLv5", "Supervisor", filter);
    fl->addWidget(new QLabel(QStringLiteral("Level Akses"), filter), 2, 0);
    int col = 1;
    for (QCheckBox* c : {xAdmUserLv1, xAdmUserLv2, xAdmUserLv3, xAdmUserLv4, xAdmUserLv5})
        fl->addWidget(c, 2, col++);

    xAdmUserTampilData = adminlists::button("xAdmUserTampilData", "Tampilkan Data", filter);
    xAdmUserJumlah = adminlists::countLabel("xAdmUserJumlah", filter);
    fl->addLayout(adminlists::showRow(xAdmUserTampilData, xAdmUserJumlah), 3, 1, 1, 5);
    fl->setColumnStretch(6, 1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ User List ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_admUser = new StringGrid(data);
    sg_admUser->setObjectName(QStringLiteral("sg_admUser"));
    sg_admUser->setElasticColumns({2});
    dl->addWidget(sg_admUser, 1);
    SpeedButton40 = adminlists::button("SpeedButton40", "Tambah", data);
    SpeedButton41 = adminlists::button("SpeedButton41", "Hapus", data);
    dl->addLayout(adminlists::buttonRow({SpeedButton40, SpeedButton41}));
    body()->addWidget(data, 1);

    connect(xAdmUserTampilData, &QPushButton::clicked, this, &AdmUserPage::xAdmUserTampilDataClick);
    connect(SpeedButton40, &QPushButton::clicked, this, &AdmUserPage::SpeedButton40Click);
    connect(SpeedButton41, &QPushButton::clicked, this, &AdmUserPage::SpeedButton41Click);
}

QString AdmUserPage::levelList() const
{
    return filterList({{xAdmUserLv1->isChecked(), "Admin System"},
                       {xAdmUserLv2->isChecked(), "Admin Sektira"},
                       {xAdmUserLv3->isChecked(), "Admin SKPD"},
                       {xAdmUserLv4->isChecked(), "Basic User"},
                       {xAdmUserLv5->isChecked(), "Supervisor"}});
}

void AdmUserPage::dxSettingItems1Click()
{
    if (!probeConnection(ctx_))
        return;
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin - Setting User Aplikasi"));
    ctx_.showPage(this);
    xAdmUserTampilDataClick();
}

void AdmUserPage::xAdmUserTampilDataClick()
{
    const QString levels = levelList();
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_user_show`(:var_nama, :var_access_level)"),
                                  {{QStringLiteral("var_nama"), xAdmUserCariNama->text()},
                                   {QStringLiteral("var_access_level"), levels}});
        xAdmUserJumlah->setText(QStringLiteral("Jumlah Data : ") + QString::number(rs.recordCount()));
        fillGrid(*sg_admUser, std::move(rs), listColumns(*sg_admUser));
    });
}

void AdmUserPage::SpeedButton40Click()
{
    Tfe_user dialog(ctx_);
    dialog.edNIP->clear();
    dialog.setLevelIndex(1);
    dialog.fe_userJudul->setCaption(QStringLiteral("Tambah User"));
    connect(&dialog, &Tfe_user::saved, this, &AdmUserPage::xAdmUserTampilDataClick);
    ctx_.dialogs().exec(dialog);
}

void AdmUserPage::SpeedButton41Click()
{
    if (!requireDataRows(*sg_admUser, ctx_.messages()))
        return;
    const int row = sg_admUser->currentRow();
    const QString nip = sg_admUser->cell(row, 1);
    const QString nama = sg_admUser->cell(row, 2);
    const QString level = sg_admUser->cell(row, 3);
    if (nip == ctx_.session().nip()) {
        ctx_.messages().warning(QStringLiteral("Hak akses akun sendiri tidak bisa dihapus!"));
        return;
    }
    if (level == kBasicUser) {
        ctx_.messages().information(nama + QStringLiteral(" sudah ber-hak akses Basic User."));
        return;
    }
    if (!ctx_.messages().confirm(QStringLiteral("Hapus hak akses ") + level + QStringLiteral(" a.n. ") + nama +
                                 QStringLiteral(" (NIP ") + nip + QStringLiteral(")?\r\r") +
                                 QStringLiteral("Akun tetap ada dan kembali menjadi Basic User.")))
        return;
    Envelope change(ctx_);
    change.onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan));
    if (!change.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_user_level_update`(:var_nip, :var_level)"),
                   {{QStringLiteral("var_nip"), nip}, {QStringLiteral("var_level"), kBasicUser}});
        }))
        return;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDisimpan));
    xAdmUserTampilDataClick();
}
