#include "ut_verifkamus.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tft_verifkamus::Tft_verifkamus(PageContext& ctx, const QString& nip, const QString& nama)
    : QDialog(ctx.dialogParent()), ctx_(ctx), nip_(nip), nama_(nama)
{
    setObjectName(QStringLiteral("ft_verifkamus"));
    setWindowTitle(QStringLiteral("Tambah Jabatan Verifikator"));
    setFixedSize(560, 480);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    ft_verifkamusJudul = new PageHeader(this, QStringLiteral("ft_verifkamusJudul"));
    ctx.styleHeader(ft_verifkamusJudul, QStringLiteral("Pilih Jabatan Fungsional a.n. ") + nama);
    v->addWidget(ft_verifkamusJudul);

    auto* g = new QGridLayout;
    g->setContentsMargins(10, 8, 10, 0);
    edCari = new QLineEdit(this);
    edCari->setObjectName(QStringLiteral("edCari"));
    btCari = new QPushButton(QStringLiteral("Cari Data"), this);
    btCari->setObjectName(QStringLiteral("btCari"));
    sg_jabatan = new StringGrid(this);
    sg_jabatan->setObjectName(QStringLiteral("sg_jabatan"));
    sg_jabatan->setElasticColumns({2}, 150);
    lbJumlah = new QLabel(QStringLiteral("Jumlah data : 0"), this);
    lbJumlah->setObjectName(QStringLiteral("lbJumlah"));
    btPilih = new QPushButton(QStringLiteral("Pilih Jabatan"), this);
    btPilih->setObjectName(QStringLiteral("btPilih"));
    btPilih->setMinimumWidth(110);
    // Enter in the search field searches; only a click picks.
    btCari->setDefault(true);
    btPilih->setAutoDefault(false);
    g->addWidget(new QLabel(QStringLiteral("Nama Jabatan"), this), 0, 0);
    g->addWidget(edCari, 0, 1);
    g->addWidget(btCari, 0, 2);
    g->addWidget(sg_jabatan, 1, 0, 1, 3);
    g->addWidget(lbJumlah, 2, 0, 1, 2);
    g->addWidget(btPilih, 2, 2);
    g->setRowStretch(1, 1);
    v->addLayout(g, 1);

    connect(btCari, &QPushButton::clicked, this, &Tft_verifkamus::btCariClick);
    connect(btPilih, &QPushButton::clicked, this, &Tft_verifkamus::btPilihClick);
    connect(sg_jabatan, &QAbstractItemView::doubleClicked, this, [this] { btPilihClick(); });
}

void Tft_verifkamus::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!searched_) {
        searched_ = true;
        btCariClick();
    }
}

void Tft_verifkamus::btCariClick()
{
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_verifikator_jabatan_pilih`(:var_nip, :var_jabatan)"),
                                  {{QStringLiteral("var_nip"), nip_}, {QStringLiteral("var_jabatan"), edCari->text()}});
        lbJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rs.recordCount()));
        fillGrid(*sg_jabatan, std::move(rs),
                 {GridColumn::recNo(QStringLiteral("No."), 40),
                  GridColumn::field(QStringLiteral("Kode"), sg_jabatan->fitted(60, QStringLiteral("JF0000")),
                                    QStringLiteral("kode")),
                  GridColumn::field(QStringLiteral("Nama Jabatan"), 300, QStringLiteral("jabatan")),
                  GridColumn::field(QStringLiteral("Jenjang"), sg_jabatan->fitted(90, QStringLiteral("Ahli Pertama")),
                                    QStringLiteral("jenjang"))});
    });
}

bool Tft_verifkamus::btPilihClick()
{
    if (!requireDataRows(*sg_jabatan, ctx_.messages()))
        return false;
    const int r = sg_jabatan->currentRow();
    const QString kode = sg_jabatan->cell(r, 1);
    if (!ctx_.messages().confirm(QStringLiteral("Tambahkan jabatan ") + sg_jabatan->cell(r, 2) +
                                 QStringLiteral(" ke daftar jabatan yang diverifikasi ") + nama_ +
                                 QStringLiteral("?")))
        return false;
    Envelope add(ctx_);
    add.onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan));
    if (!add.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_verifikator_jabatan_tambah`(:var_nip, :var_kode)"),
                   {{QStringLiteral("var_nip"), nip_}, {QStringLiteral("var_kode"), kode}});
        }))
        return false;
    ctx_.messages().information(QStringLiteral("Data berhasil ditambahkan!"));
    accept();
    return true;
}
