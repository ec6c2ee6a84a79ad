#include "verifkamuspage.h"

#include "ue_verifikator.h"
#include "ut_verifkamus.h"
#include "uverifikator_info.h"

#include "shell/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/keyfilters.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* barButton(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(85);
    return b;
}

std::vector<GridColumn> verifierColumns(const StringGrid& g)
{
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(135, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama Verifikator"), 220, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Jabatan"), 220, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Jml. Jabatan"), g.fitted(75, QStringLiteral("Jml. Jabatan")),
                          QStringLiteral("jumlah")),
    };
}

std::vector<GridColumn> positionColumns(const StringGrid& g)
{
    return {
        GridColumn::field(QStringLiteral("id"), 0, QStringLiteral("id")),
        GridColumn::recNo(),
        // The code stays out of sight (the names say it); "Info" shows it.
        GridColumn::field(QStringLiteral("Kode"), 0, QStringLiteral("kode")),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 280, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Jenjang"), g.fitted(85, QStringLiteral("Ahli Pertama")),
                          QStringLiteral("jenjang")),
        GridColumn::field(QStringLiteral("Rincian"), g.fitted(55, QStringLiteral("Rincian")),
                          QStringLiteral("jumlah_rincian")),
    };
}

constexpr int kColKode = 2;
constexpr int kColJabatan = 3;
constexpr int kColJenjang = 4;
constexpr int kColRincian = 5;

} // namespace

VerifKamusPage::VerifKamusPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xVerifKamus"), QStringLiteral("xVerifKamusJudul"))
{
    body()->addWidget(textFilterBox(xVerifKamusKeyword, xVerifKamusTampilData, xVerifKamusJumlah, "Keyword",
                                    "xVerifKamusKeyword",
                                    "* Isikan dengan bagian text Nama/NIP verifikator atau nama jabatan fungsional "
                                    "yang diverifikasi ",
                                    "xVerifKamusTampilData", "xVerifKamusJumlah", this));

    auto* lists = new QHBoxLayout;
    auto* verifiers = new QGroupBox(QStringLiteral("[ Data Verifikator ]"), this);
    // 670 pixels where there is room; on a small screen both lists share it.
    verifiers->setMaximumWidth(670);
    auto* vl = new QVBoxLayout(verifiers);
    pVerifKamusAction = new QWidget(verifiers);
    pVerifKamusAction->setObjectName(QStringLiteral("pVerifKamusAction"));
    auto* vbar = new QHBoxLayout(pVerifKamusAction);
    vbar->setContentsMargins(0, 0, 0, 0);
    SpeedButton20 = barButton("SpeedButton20", "Info", pVerifKamusAction);
    SpeedButton18 = barButton("SpeedButton18", "Tambah", pVerifKamusAction);
    SpeedButton19 = barButton("SpeedButton19", "Hapus", pVerifKamusAction);
    // A verifier exists through the positions given to them: "Tambah" takes a
    // NIP and gives the first position; removing the last position removes
    // the verifier (on the right).
    SpeedButton19->hide();
    vbar->addWidget(SpeedButton20);
    vbar->addWidget(SpeedButton18);
    vbar->addWidget(SpeedButton19);
    vbar->addStretch(1);
    vl->addWidget(pVerifKamusAction);
    StringGrid4 = new StringGrid(verifiers);
    StringGrid4->setObjectName(QStringLiteral("StringGrid4"));
    StringGrid4->setElasticColumns({2, 3}, 150);
    vl->addWidget(StringGrid4, 1);
    lists->addWidget(verifiers, 3);

    auto* positions = new QGroupBox(QStringLiteral("[ Data Jabatan ]"), this);
    auto* pl = new QVBoxLayout(positions);
    StringGrid5 = new StringGrid(positions);
    StringGrid5->setObjectName(QStringLiteral("StringGrid5"));
    StringGrid5->setElasticColumns({3}, 140);
    pl->addWidget(StringGrid5, 1);
    auto* pbar = new QHBoxLayout;
    SpeedButton35 = barButton("SpeedButton35", "Info", positions);
    SpeedButton22 = barButton("SpeedButton22", "Tambah", positions);
    SpeedButton34 = barButton("SpeedButton34", "Hapus", positions);
    pbar->addWidget(SpeedButton35);
    pbar->addWidget(SpeedButton22);
    pbar->addWidget(SpeedButton34);
    pbar->addStretch(1);
    pl->addLayout(pbar);
    lists->addWidget(positions, 2);
    body()->addLayout(lists, 1);

    poKamusFPRincian = new QMenu(this);
    poKamusFPRincian->setObjectName(QStringLiteral("poKamusFPRincian"));
    InfoAktivitas1 = poKamusFPRincian->addAction(QStringLiteral("Info Aktivitas"));
    ambah1 = poKamusFPRincian->addAction(QStringLiteral("Tambah"));
    Hapus1 = poKamusFPRincian->addAction(QStringLiteral("Hapus"));
    StringGrid5->addExportEntry(poKamusFPRincian);
    StringGrid5->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StringGrid5, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { poKamusFPRincian->popup(StringGrid5->viewport()->mapToGlobal(pos)); });

    onEnter(xVerifKamusKeyword, [this] { xVerifKamusTampilDataClick(); });
    connect(xVerifKamusTampilData, &QPushButton::clicked, this, &VerifKamusPage::xVerifKamusTampilDataClick);
    // The positions follow the selected verifier, by mouse or keyboard; not
    // while the list itself is being filled.
    connect(StringGrid4->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!filling_)
            StringGrid4Click();
    });
    connect(SpeedButton20, &QPushButton::clicked, this, &VerifKamusPage::SpeedButton20Click);
    connect(SpeedButton18, &QPushButton::clicked, this, &VerifKamusPage::SpeedButton18Click);
    connect(SpeedButton35, &QPushButton::clicked, this, &VerifKamusPage::SpeedButton35Click);
    // A double-click on either list opens what its "Info" opens.
    connect(StringGrid4, &StringGrid::rowDoubleClicked, this, &VerifKamusPage::SpeedButton20Click);
    connect(StringGrid5, &StringGrid::rowDoubleClicked, this, &VerifKamusPage::SpeedButton35Click);
    connect(SpeedButton22, &QPushButton::clicked, this, &VerifKamusPage::SpeedButton22Click);
    connect(SpeedButton34, &QPushButton::clicked, this, &VerifKamusPage::SpeedButton34Click);
    connect(InfoAktivitas1, &QAction::triggered, this, &VerifKamusPage::SpeedButton35Click);
    connect(ambah1, &QAction::triggered, this, &VerifKamusPage::SpeedButton22Click);
    connect(Hapus1, &QAction::triggered, this, &VerifKamusPage::SpeedButton34Click);
}

QString VerifKamusPage::verifierNip() const
{
    return StringGrid4->rowCount() > 1 ? StringGrid4->cell(StringGrid4->currentRow(), 1) : QString();
}

QString VerifKamusPage::verifierName() const
{
    return StringGrid4->rowCount() > 1 ? StringGrid4->cell(StringGrid4->currentRow(), 2) : QString();
}

void VerifKamusPage::dxSettingItems5Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin - Setting Verifikator Kamus Aktivitas"));
    ctx_.showPage(this);
    xVerifKamusTampilDataClick();
}

void VerifKamusPage::xVerifKamusTampilDataClick()
{
    reload(verifierNip());
}

void VerifKamusPage::reload(const QString& keepNip)
{
    filling_ = true;
    const bool listed = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_verifikator_show`(:var_keyword)"),
                                  {{QStringLiteral("var_keyword"), xVerifKamusKeyword->text()}});
        xVerifKamusJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rs.recordCount()));
        fillGrid(*StringGrid4, std::move(rs), verifierColumns(*StringGrid4));
        for (int r = 1; r < StringGrid4->rowCount() && !keepNip.isEmpty(); ++r)
            if (StringGrid4->cell(r, 1) == keepNip) {
                StringGrid4->setCurrentRow(r);
                break;
            }
    });
    filling_ = false;
    if (listed)
        StringGrid4Click();
}

void VerifKamusPage::StringGrid4Click()
{
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_verifikator_jabatan_show`(:var_nip)"),
                                  {{QStringLiteral("var_nip"), verifierNip()}});
        fillGrid(*StringGrid5, std::move(rs), positionColumns(*StringGrid5));
    });
}

void VerifKamusPage::SpeedButton20Click()
{
    if (!requireDataRows(*StringGrid4, ctx_.messages()))
        return;
    VerifikatorInfo info;
    bool found = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_verifikator_info`(:var_nip)"),
                                            {{QStringLiteral("var_nip"), verifierNip()}});
            if (rs.recordCount() == 0)
                return;
            info = {rs.text(0, QStringLiteral("nip")),        rs.text(0, QStringLiteral("nama_lengkap")),
                    rs.text(0, QStringLiteral("golongan")),   rs.text(0, QStringLiteral("nama_jabatan")),
                    rs.text(0, QStringLiteral("nama_unit")),  rs.text(0, QStringLiteral("nama_induk")),
                    rs.text(0, QStringLiteral("level_akun")), rs.text(0, QStringLiteral("jumlah")),
                    rs.text(0, QStringLiteral("daftar_jabatan"))};
            found = true;
        }))
        return;
    if (!found) {
        // Its last position went away since the list was shown.
        ctx_.messages().warning(QStringLiteral("Data verifikator tidak ditemukan!"));
        xVerifKamusTampilDataClick();
        return;
    }
    Tfverifikator_info dialog(ctx_, info);
    ctx_.dialogs().exec(dialog);
}

void VerifKamusPage::SpeedButton18Click()
{
    Tfe_verifikator entry(ctx_);
    if (ctx_.dialogs().exec(entry) != QDialog::Accepted)
        return;
    Tft_verifkamus picker(ctx_, entry.nip(), entry.nama());
    if (ctx_.dialogs().exec(picker) == QDialog::Accepted)
        reload(entry.nip());
}

void VerifKamusPage::SpeedButton35Click()
{
    if (!requireDataRows(*StringGrid5, ctx_.messages()))
        return;
    const int r = StringGrid5->currentRow();
    ctx_.messages().information(QStringLiteral("Jabatan : ") + StringGrid5->cell(r, kColJabatan) +
                                QStringLiteral("\rKode : ") + StringGrid5->cell(r, kColKode) +
                                QStringLiteral("\rJenjang : ") + StringGrid5->cell(r, kColJenjang) +
                                QStringLiteral("\rRincian tugas aktif : ") + StringGrid5->cell(r, kColRincian) +
                                QStringLiteral("\rVerifikator : ") + verifierName());
}

void VerifKamusPage::SpeedButton22Click()
{
    if (!requireDataRows(*StringGrid4, ctx_.messages()))
        return;
    const QString nip = verifierNip();
    Tft_verifkamus picker(ctx_, nip, verifierName());
    if (ctx_.dialogs().exec(picker) == QDialog::Accepted)
        reload(nip);
}

void VerifKamusPage::SpeedButton34Click()
{
    if (!requireDataRows(*StringGrid5, ctx_.messages()))
        return;
    const int r = StringGrid5->currentRow();
    const QString nip = verifierNip();
    const QString nama = verifierName();
    const QString kode = StringGrid5->cell(r, kColKode);
    QString question = QStringLiteral("Hapus jabatan ") + StringGrid5->cell(r, kColJabatan) +
                       QStringLiteral(" dari daftar jabatan yang diverifikasi ") + nama + QStringLiteral("?");
    if (StringGrid5->rowCount() == 2)
        question += QStringLiteral("\r\rIni jabatan terakhirnya: ") + nama +
                    QStringLiteral(" tidak lagi tercatat sebagai verifikator kamus.");
    if (!ctx_.messages().confirm(question))
        return;
    Envelope remove(ctx_);
    remove.onFailure(QStringLiteral("Gagal menghapus data!"));
    if (!remove.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_verifikator_jabatan_hapus`(:var_nip, :var_kode)"),
                   {{QStringLiteral("var_nip"), nip}, {QStringLiteral("var_kode"), kode}});
        }))
        return;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDihapus));
    reload(nip);
}
