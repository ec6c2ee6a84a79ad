#include "ut_tugas.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The design widths; where the font in use needs more room for the count's
// caption, the position name gives it up, so the picker needs no scrolling.
std::vector<GridColumn> searchColumns(const StringGrid& g)
{
    const int count = g.fitted(75, QStringLiteral("Jml. Rincian"));
    return {
        GridColumn::field(QStringLiteral("Kode"), 0, QStringLiteral("kode")),
        GridColumn::recNo(QStringLiteral("No."), 40),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 315 - (count - 75), QStringLiteral("jabatan")),
        GridColumn::field(QStringLiteral("Jml. Rincian"), count, QStringLiteral("jumlah")),
    };
}

} // namespace

Tft_tugas::Tft_tugas(PageContext& ctx, const QString& nip, const QString& nama)
    : QDialog(ctx.dialogParent()), ctx_(ctx), nip_(nip), nama_(nama)
{
    setObjectName(QStringLiteral("ft_tugas"));
    setWindowTitle(QString());
    QFont f = font();
    f.setPixelSize(13);
    setFont(f);
    setFixedSize(485, 463);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    ft_tugasJudul = new PageHeader(this, QStringLiteral("ft_tugasJudul"));
    ctx.styleHeader(ft_tugasJudul, QStringLiteral("Pilih Jabatan Pelaksana sebagai Tugas Tambahan"));
    v->addWidget(ft_tugasJudul);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 0);
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Nama Jabatan"), this));
    edCari = new QLineEdit(this);
    edCari->setObjectName(QStringLiteral("edCari"));
    search->addWidget(edCari, 1);
    btCari = new QPushButton(QStringLiteral("Cari Data"), this);
    btCari->setObjectName(QStringLiteral("btCari"));
    btCari->setAutoDefault(false);
    search->addWidget(btCari);
    body->addLayout(search);

    sg_jabatan = new StringGrid(this);
    sg_jabatan->setObjectName(QStringLiteral("sg_jabatan"));
    // The grid's defaults: cells selected one by one, columns not sized.
    sg_jabatan->setSelectionBehavior(QAbstractItemView::SelectItems);
    sg_jabatan->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    body->addWidget(sg_jabatan, 1);

    auto* foot = new QHBoxLayout;
    lbJumlah = new QLabel(QStringLiteral("Jumlah Data : 0"), this);
    lbJumlah->setObjectName(QStringLiteral("lbJumlah"));
    foot->addWidget(lbJumlah, 1);
    btPilih = new QPushButton(QStringLiteral("Pilih Jabatan"), this);
    btPilih->setObjectName(QStringLiteral("btPilih"));
    btPilih->setAutoDefault(false);
    btPilih->setMinimumWidth(110);
    foot->addWidget(btPilih);
    body->addLayout(foot);
    v->addLayout(body, 1);

    connect(btCari, &QPushButton::clicked, this, &Tft_tugas::btCariClick);
    connect(btPilih, &QPushButton::clicked, this, &Tft_tugas::btPilihClick);
    connect(sg_jabatan, &QAbstractItemView::doubleClicked, this, [this] { btPilihClick(); });
    // Enter in the search field searches instead of pressing a button.
    edCari->installEventFilter(this);
}

void Tft_tugas::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!searched_) {
        searched_ = true;
        FormShow();
    }
}

bool Tft_tugas::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edCari && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btCariClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tft_tugas::FormShow()
{
    btCariClick();
}

void Tft_tugas::btCariClick()
{
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_tugas_tambahan_pilih`(:var_jabatan)"),
                                  {{QStringLiteral("var_jabatan"), edCari->text()}});
        lbJumlah->setText(QStringLiteral("Jumlah data ditemukan : ") + QString::number(rs.recordCount()));
        fillGrid(*sg_jabatan, std::move(rs), searchColumns(*sg_jabatan));
    });
}

bool Tft_tugas::btPilihClick()
{
    if (!requireDataRows(*sg_jabatan, ctx_.messages()))
        return false;
    const int r = sg_jabatan->currentRow();
    if (!ctx_.messages().confirm(QStringLiteral("Tambahkan jabatan ") + sg_jabatan->cell(r, 2) +
                                 QStringLiteral(" sebagai tugas tamabahan PNS a.n. ") + nama_))
        return false;
    Envelope add(ctx_);
    add.onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan));
    if (!add.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_tugas_tambahan_tambah`(:var_nip, :var_kode_jabatan, :var_kode_skpd, "
                                  ":var_nip_atasan)"),
                   {{QStringLiteral("var_nip"), nip_},
                    {QStringLiteral("var_kode_jabatan"), sg_jabatan->cell(r, 0)},
                    {QStringLiteral("var_kode_skpd"), ctx_.session().kode_induk},
                    {QStringLiteral("var_nip_atasan"), ctx_.session().nip()}});
        }))
        return false;
    ctx_.messages().information(QStringLiteral("Data berhasil ditambahkan!"));
    emit added();
    accept();
    return true;
}
