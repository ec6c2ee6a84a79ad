#include "logpage.h"

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
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox* kindBox(const char* name, const char* caption, bool ticked, QWidget* parent)
{
    QCheckBox* c = filterBox(name, caption, parent);
    c->setChecked(ticked);
    return c;
}

std::vector<GridColumn> logColumns(const StringGrid& g)
{
    const QString nip = QStringLiteral("000000000000000000");
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("Waktu"), g.fitted(130, QStringLiteral("0000-00-00 00:00:00")),
                          QStringLiteral("tanggal_aksi")),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(135, nip), QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama"), 200, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Aksi"), g.fitted(150, QStringLiteral("Aktivitas Harian Input")),
                          QStringLiteral("aksi")),
        GridColumn::field(QStringLiteral("Keterangan"), 220, QStringLiteral("keterangan")),
        GridColumn::field(QStringLiteral("Target"), g.fitted(135, nip), QStringLiteral("target")),
    };
}

} // namespace

LogPage::LogPage(PageContext& ctx) : Page(ctx, QStringLiteral("xLog"), QStringLiteral("xLogJudul"))
{
    auto* row = new QHBoxLayout;
    body()->addLayout(row, 1);

    auto* filter = new QGroupBox(QStringLiteral("[ filter log ]"), this);
    // No wider than its boxes: the list beside it needs every pixel.
    filter->setMaximumWidth(412);
    filter->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* fl = new QVBoxLayout(filter);
    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("Tanggal log :"), filter));
    dtLogStart = datePicker("dtLogStart", filter, ctx.clock().today());
    dtLogEnd = datePicker("dtLogEnd", filter, ctx.clock().today());
    dtLogStart->setDate(ctx.clock().today());
    dtLogEnd->setDate(ctx.clock().today());
    dates->addWidget(dtLogStart);
    dates->addWidget(new QLabel(QStringLiteral("s/d"), filter));
    dates->addWidget(dtLogEnd);
    dates->addStretch(1);
    fl->addLayout(dates);
    fl->addSpacing(6);
    fl->addWidget(new QLabel(QStringLiteral("Jenis Log : "), filter));

    auto group = [&](const char* title) {
        auto* g = new QGroupBox(QString::fromUtf8(title), filter);
        auto* gl = new QGridLayout(g);
        gl->setVerticalSpacing(2);
        fl->addWidget(g);
        return std::pair{g, gl};
    };
    auto [personal, pl] = group("Personal");
    cbLog1 = kindBox("cbLog1", "Login", false, personal);
    cbLog2 = kindBox("cbLog2", "Aktivitas Harian Input", true, personal);
    cbLog3 = kindBox("cbLog3", "Aktivitas Harian Ubah", true, personal);
    cbLog4 = kindBox("cbLog4", "Aktivitas Harian Hapus", false, personal);
    CheckBox14 = kindBox("CheckBox14", "Kamus - Tambah", true, personal);
    CheckBox15 = kindBox("CheckBox15", "Kamus - Ubah", true, personal);
    CheckBox13 = kindBox("CheckBox13", "Kamus - Hapus", false, personal);
    pl->addWidget(cbLog1, 0, 0);
    pl->addWidget(cbLog2, 1, 0);
    pl->addWidget(cbLog3, 2, 0);
    pl->addWidget(cbLog4, 3, 0);
    pl->addWidget(CheckBox14, 1, 1);
    pl->addWidget(CheckBox15, 2, 1);
    pl->addWidget(CheckBox13, 3, 1);

    auto [bawahan, bl] = group("Data Bawahan");
    cbLog5 = kindBox("cbLog5", "Verifikasi - Approve", false, bawahan);
    cbLog6 = kindBox("cbLog6", "Verifikasi - Reject", false, bawahan);
    cbLog7 = kindBox("cbLog7", "Validasi OK", false, bawahan);
    bl->addWidget(cbLog5, 0, 0);
    bl->addWidget(cbLog6, 1, 0);
    bl->addWidget(cbLog7, 0, 1);

    auto [admin, al] = group("Admin Page");
    CheckBox1 = kindBox("CheckBox1", "Setting Update", false, admin);
    CheckBox2 = kindBox("CheckBox2", "PLT - Tambah", false, admin);
    CheckBox3 = kindBox("CheckBox3", "PLT - Ubah", false, admin);
    CheckBox4 = kindBox("CheckBox4", "User - Update", false, admin);
    CheckBox11 = kindBox("CheckBox11", "Informasi - Ubah", false, admin);
    CheckBox12 = kindBox("CheckBox12", "JF Atas Bawah - Ubah", false, admin);
    CheckBox16 = kindBox("CheckBox16", "Reset Akun User", false, admin);
    // who verifies the dictionary is an administrator's change, not the
    // user's own dictionary entries of "Personal"
    CheckBox17 = kindBox("CheckBox17", "Verifikator Kamus", false, admin);
    al->addWidget(CheckBox1, 0, 0);
    al->addWidget(CheckBox2, 1, 0);
    al->addWidget(CheckBox3, 2, 0);
    al->addWidget(CheckBox4, 3, 0);
    al->addWidget(CheckBox11, 0, 1);
    al->addWidget(CheckBox12, 1, 1);
    al->addWidget(CheckBox16, 2, 1);
    al->addWidget(CheckBox17, 3, 1);

    fl->addSpacing(6);
    auto* run = new QHBoxLayout;
    xLogSearch = new QPushButton(QStringLiteral("Show Log"), filter);
    xLogSearch->setObjectName(QStringLiteral("xLogSearch"));
    xLogSearch->setMinimumWidth(100);
    lbLogCount = new QLabel(QStringLiteral("Jumlah Data : "), filter);
    lbLogCount->setObjectName(QStringLiteral("lbLogCount"));
    run->addWidget(xLogSearch);
    run->addSpacing(12);
    run->addWidget(lbLogCount, 1);
    fl->addLayout(run);
    fl->addStretch(1);
    row->addWidget(filter);

    sg_log = new StringGrid(this);
    sg_log->setObjectName(QStringLiteral("sg_log"));
    sg_log->setElasticColumns({3, 5}, 120);
    sg_log->setElasticFloor(3, 40); // the name; its caption still reads
    sg_log->setExportDates(dtLogStart, dtLogEnd);
    row->addWidget(sg_log, 1);

    connect(xLogSearch, &QPushButton::clicked, this, &LogPage::xLogSearchClick);
}

QString LogPage::kindList() const
{
    return filterList({{cbLog1->isChecked(), "login"},
                       {cbLog2->isChecked(), "akt_input"},
                       {cbLog3->isChecked(), "akt_ubah"},
                       {cbLog4->isChecked(), "akt_hapus"},
                       {CheckBox14->isChecked(), "kamus_tambah"},
                       {CheckBox15->isChecked(), "kamus_ubah"},
                       {CheckBox13->isChecked(), "kamus_hapus"},
                       {cbLog5->isChecked(), "verif_approve"},
                       {cbLog6->isChecked(), "verif_reject"},
                       {cbLog7->isChecked(), "validasi"},
                       {CheckBox1->isChecked(), "setting"},
                       {CheckBox2->isChecked(), "plt_tambah"},
                       {CheckBox3->isChecked(), "plt_ubah"},
                       {CheckBox4->isChecked(), "user_update"},
                       {CheckBox11->isChecked(), "informasi"},
                       {CheckBox12->isChecked(), "jf_ab"},
                       {CheckBox16->isChecked(), "reset_akun"},
                       {CheckBox17->isChecked(), "verifikator"}});
}

void LogPage::dxAdminItems2Click()
{
    // Colours and caption; the header keeps its height and font size.
    header()->setColors(ctx_.headerLook().from, ctx_.headerLook().to);
    header()->setCaption(QStringLiteral("Halaman Monitoring LOG"));
    ctx_.showPage(this);
}

void LogPage::xLogSearchClick()
{
    if (dtLogStart->date() > dtLogEnd->date()) {
        ctx_.messages().warning(QStringLiteral("Tanggal awal log melewati tanggal akhir!"));
        return;
    }
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_log_show`(:var_tanggal_awal, :var_tanggal_akhir, :var_jenis)"),
                                  {{QStringLiteral("var_tanggal_awal"), dtLogStart->date().toString(Qt::ISODate)},
                                   {QStringLiteral("var_tanggal_akhir"), dtLogEnd->date().toString(Qt::ISODate)},
                                   {QStringLiteral("var_jenis"), kindList()}});
        rows = rs.recordCount();
        fillGrid(*sg_log, std::move(rs), logColumns(*sg_log));
    });
    if (ok)
        lbLogCount->setText(QStringLiteral("Jumlah Data : ") + QString::number(rows));
}
