#include "bwtugastambahanpage.h"

#include "ut_tugas.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The design widths, widened where the font in use would cut a date or a
// caption.
std::vector<GridColumn> listColumns(const StringGrid& g)
{
    return {
        GridColumn::field(QStringLiteral("No."), 0, QStringLiteral("id")),
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 360, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Tanggal Mulai"), g.fitted(90, QStringLiteral("Tanggal Mulai")),
                          QStringLiteral("tanggal_mulai")),
        GridColumn::field(QStringLiteral("Tanggal Selesai"), g.fitted(90, QStringLiteral("Tanggal Selesai")),
                          QStringLiteral("tanggal_selesai")),
        GridColumn::field(QStringLiteral("SKPD"), 300, QStringLiteral("nama_unit")),
        GridColumn::field(QStringLiteral("Status"), g.fitted(100, QStringLiteral("Tidak Aktif")), QStringLiteral("status")),
    };
}

QPushButton* button(const char* name, const char* caption, int width, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(std::max(width, b->sizeHint().width() + 16));
    return b;
}

} // namespace

BwTugasTambahanPage::BwTugasTambahanPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xBwTugasTambahan"), QStringLiteral("xBwTugasTambahanJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    filter->setMinimumHeight(90);
    auto* fl = new QHBoxLayout(filter);
    SpeedButton1 = button("SpeedButton1", "Back", 90, filter);
    xBwTugasTambahanTampilkan = button("xBwTugasTambahanTampilkan", "Tampilkan", 90, filter);
    Label81 = new QLabel(QStringLiteral("Jumlah data : 0"), filter);
    Label81->setObjectName(QStringLiteral("Label81"));
    fl->addWidget(SpeedButton1);
    fl->addSpacing(24);
    fl->addWidget(xBwTugasTambahanTampilkan);
    fl->addSpacing(12);
    fl->addWidget(Label81);
    fl->addStretch(1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data Tugas Tambahan ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_BwTugasTambahan = new StringGrid(data);
    sg_BwTugasTambahan->setObjectName(QStringLiteral("sg_BwTugasTambahan"));
    sg_BwTugasTambahan->setElasticColumns({2, 5}, 150); // position and agency give way, never a date
    dl->addWidget(sg_BwTugasTambahan, 1);
    auto* bar = new QHBoxLayout;
    SpeedButton27 = button("SpeedButton27", "Tambah", 85, data);
    SpeedButton28 = button("SpeedButton28", "Non-Aktifkan", 102, data);
    bar->addWidget(SpeedButton27);
    bar->addWidget(SpeedButton28);
    bar->addStretch(1);
    dl->addLayout(bar);
    body()->addWidget(data, 1);

    connect(xBwTugasTambahanTampilkan, &QPushButton::clicked, this,
            &BwTugasTambahanPage::xBwTugasTambahanTampilkanClick);
    connect(SpeedButton27, &QPushButton::clicked, this, &BwTugasTambahanPage::SpeedButton27Click);
    connect(SpeedButton28, &QPushButton::clicked, this, &BwTugasTambahanPage::SpeedButton28Click);
}

void BwTugasTambahanPage::openFor(const QString& nip, const QString& nama)
{
    nip_ = nip;
    nama_ = nama;
    ctx_.styleHeader(header(), QStringLiteral("Tugas Tambahan a.n. ") + nama);
    ctx_.showPage(this);
    xBwTugasTambahanTampilkanClick();
}

void BwTugasTambahanPage::xBwTugasTambahanTampilkanClick()
{
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_tugas_tambahan_tampil_data`(:var_nip)"),
                                  {{QStringLiteral("var_nip"), nip_}});
        Label81->setText(QStringLiteral("Jumlah data : ") + QString::number(rs.recordCount()));
        fillGrid(*sg_BwTugasTambahan, std::move(rs), listColumns(*sg_BwTugasTambahan));
    });
}

void BwTugasTambahanPage::SpeedButton27Click()
{
    if (nip_.isEmpty()) {
        ctx_.messages().warning(QString::fromUtf8(stdmsg::TidakAdaDipilih));
        return;
    }
    QString held;
    QString most;
    bool full = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_tugas_tambahan_jumlah`(:var_nip)"),
                                            {{QStringLiteral("var_nip"), nip_}});
            held = rs.first(0);
            most = rs.first(1);
            full = rs.first(2) == QLatin1String("tidak");
        }))
        return;
    if (full) {
        ctx_.messages().warning(QStringLiteral("Gagal menambahkan tugas tambahan!\r\rCatatan:\r"
                                               "Jumlah tugas tambahan saat ini ") +
                                held + QStringLiteral("\rJumlah diperbolehkan max ") + most);
        return;
    }
    {
        Tft_tugas picker(ctx_, nip_, nama_);
        connect(&picker, &Tft_tugas::added, this, &BwTugasTambahanPage::xBwTugasTambahanTampilkanClick);
        ctx_.dialogs().exec(picker);
    }
    xBwTugasTambahanTampilkanClick();
}

void BwTugasTambahanPage::SpeedButton28Click()
{
    if (!requireDataRows(*sg_BwTugasTambahan, ctx_.messages()))
        return;
    const int r = sg_BwTugasTambahan->currentRow();
    if (!ctx_.messages().confirm(QStringLiteral("Non-Aktifkan jabatan ") + sg_BwTugasTambahan->cell(r, 2) +
                                 QStringLiteral(" sebagai tugas tamabahan PNS a.n. ") + nama_))
        return;
    Envelope end(ctx_);
    end.onFailure(QStringLiteral("Gagal melakukan update data tugas!"));
    if (!end.run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_tugas_tambahan_non_aktifkan`(:var_id)"),
                   {{QStringLiteral("var_id"), sg_BwTugasTambahan->cell(r, 0)}});
        }))
        return;
    ctx_.messages().information(QStringLiteral("Tugas tambahan berhasil di-nonaktifkan!\r\rCatatan:\r"
                                               "Data akan berubah max 60 menit sejak perubahan tugas tambahan."));
    xBwTugasTambahanTampilkanClick();
}
