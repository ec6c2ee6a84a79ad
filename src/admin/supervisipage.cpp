#include "supervisipage.h"

#include "shell/pagecontext.h"
#include "db/filterlist.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/stringgrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The design widths, widened where the grid's font would cut a NIP, a date,
// a number or a caption; names, positions and units give way.
std::vector<GridColumn> listColumns(const StringGrid& g)
{
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(135, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama"), 220, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Jabatan"), 240, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Unit Kerja"), 260, QStringLiteral("nama_unit")),
        GridColumn::field(QStringLiteral("Temuan"), g.fitted(120, QStringLiteral("Tidak memverifikasi")),
                          QStringLiteral("temuan")),
        GridColumn::field(QStringLiteral("Jumlah"), g.fitted(50, QStringLiteral("Jumlah")), QStringLiteral("jumlah")),
        GridColumn::field(QStringLiteral("Dari"), g.fitted(45, QStringLiteral("00000")), QStringLiteral("dari")),
        GridColumn::field(QStringLiteral("% Tolak"), g.fitted(55, QStringLiteral("% Tolak")), QStringLiteral("persen")),
        GridColumn::field(QStringLiteral("Terlama"), g.fitted(75, QStringLiteral("0000-00-00")),
                          QStringLiteral("terlama")),
    };
}

const QString kDasar = QStringLiteral("* Dihitung dari aktivitas yang diinput pada rentang tanggal.");

} // namespace

SupervisiPage::SupervisiPage(PageContext& ctx) : Page(ctx, QStringLiteral("xSupervisi"), QStringLiteral("xSupervisiJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new QGridLayout(filter);
    CheckBox17 = filterBox("CheckBox17", "Atasan langsung tidak melakukan verifikasi", filter);
    CheckBox18 = filterBox("CheckBox18", "Atasan langsung sering melakukan penolakan aktivitas", filter);
    CheckBox19 = filterBox("CheckBox19", "Atasan dua tingkat tidak melakukan validasi", filter);
    CheckBox20 = filterBox("CheckBox20", "Atasan dua tingkat tidak melakukan validasi", filter);
    fl->addWidget(new QLabel(QStringLiteral("Atasan Langsung"), filter), 0, 0);
    fl->addWidget(CheckBox17, 0, 1);
    fl->addWidget(CheckBox18, 1, 1);
    fl->addWidget(new QLabel(QStringLiteral("Atasan Dua Tingkat"), filter), 2, 0);
    fl->addWidget(CheckBox19, 2, 1);
    fl->addWidget(CheckBox20, 3, 1);
    // The two boxes name one behaviour: they tick and clear together, so the
    // filter never shows one state and sends another.
    connect(CheckBox19, &QCheckBox::toggled, CheckBox20, &QCheckBox::setChecked);
    connect(CheckBox20, &QCheckBox::toggled, CheckBox19, &QCheckBox::setChecked);

    DateTimePicker2 = datePicker("DateTimePicker2", filter, ctx.clock().today());
    DateTimePicker3 = datePicker("DateTimePicker3", filter, ctx.clock().today());
    auto* range = new QHBoxLayout;
    range->addWidget(DateTimePicker2);
    range->addWidget(new QLabel(QStringLiteral("s/d"), filter));
    range->addWidget(DateTimePicker3);
    range->addStretch(1);
    fl->addWidget(new QLabel(QStringLiteral("Tanggal"), filter), 4, 0);
    fl->addLayout(range, 4, 1);

    fl->addLayout(showDataRow(BitBtn14, xSupervisiJumlah, "BitBtn14", "xSupervisiJumlah", filter), 5, 1);

    xSupervisiCatatan = hintLabel(kDasar, filter);
    xSupervisiCatatan->setWordWrap(true);
    xSupervisiCatatan->setObjectName(QStringLiteral("xSupervisiCatatan"));
    xSupervisiCatatan->setMinimumWidth(200); // it wraps; 1024 pixels leave no more
    fl->addWidget(xSupervisiCatatan, 0, 2, 6, 1, Qt::AlignTop);
    fl->setColumnStretch(2, 1);
    fl->setColumnMinimumWidth(2, 200);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data List ]"), this);
    auto* dl = new QVBoxLayout(data);
    StringGrid1 = new StringGrid(data);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setElasticColumns({2, 3, 4}, 120);
    StringGrid1->setExportDates(DateTimePicker2, DateTimePicker3);
    dl->addWidget(StringGrid1, 1);
    auto* bar = new QHBoxLayout;
    xSupervisiTambah = new QPushButton(QStringLiteral("Tambah"), data);
    xSupervisiTambah->setObjectName(QStringLiteral("xSupervisiTambah"));
    xSupervisiHapus = new QPushButton(QStringLiteral("Hapus"), data);
    xSupervisiHapus->setObjectName(QStringLiteral("xSupervisiHapus"));
    // A monitoring list has nothing to add or delete: shown, but not offered.
    for (QPushButton* b : {xSupervisiTambah, xSupervisiHapus}) {
        b->setMinimumWidth(85);
        b->setEnabled(false);
        bar->addWidget(b);
    }
    bar->addSpacing(24);
    bar->addWidget(exportButton(StringGrid1, data));
    bar->addStretch(1);
    dl->addLayout(bar);
    body()->addWidget(data, 1);

    connect(BitBtn14, &QPushButton::clicked, this, &SupervisiPage::BitBtn14Click);
}

QString SupervisiPage::findingList() const
{
    return filterList({{CheckBox17->isChecked(), "verifikasi"},
                       {CheckBox18->isChecked(), "penolakan"},
                       {CheckBox19->isChecked() || CheckBox20->isChecked(), "validasi"}});
}

void SupervisiPage::dxAdminItems3Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Halaman Supervisi - Monitoring user`s Abnormal Behavior"));
    if (!opened_) {
        // The last month up to today; later visits keep the user's range.
        opened_ = true;
        const QDate today = ctx_.clock().today();
        DateTimePicker2->setDate(today.addMonths(-1));
        DateTimePicker3->setDate(today);
    }
    ctx_.showPage(this);
    loadRules();
}

void SupervisiPage::loadRules()
{
    Envelope(ctx_).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_supervisi_ambang`()"));
        if (rs.recordCount() == 0)
            return;
        xSupervisiCatatan->setText(
            kDasar + QStringLiteral("\n* Tidak melakukan verifikasi: aktivitas belum diverifikasi atasan lebih dari ") +
            rs.text(0, QStringLiteral("hari_verifikasi")) +
            QStringLiteral(" hari setelah diinput (juga bila akhirnya disetujui sistem).\n* Sering melakukan "
                           "penolakan: menolak sedikitnya ") +
            rs.text(0, QStringLiteral("tolak_persen")) + QStringLiteral("% dari minimal ") +
            rs.text(0, QStringLiteral("tolak_minimal")) +
            QStringLiteral(" aktivitas yang diverifikasi.\n* Tidak melakukan validasi: aktivitas yang sudah "
                           "diverifikasi belum divalidasi lebih dari ") +
            rs.text(0, QStringLiteral("hari_validasi")) + QStringLiteral(" hari setelah diverifikasi."));
    });
}

void SupervisiPage::BitBtn14Click()
{
    if (DateTimePicker3->date() < DateTimePicker2->date()) {
        ctx_.messages().warning(QStringLiteral("Tanggal akhir tidak boleh sebelum tanggal awal!"));
        return;
    }
    Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(
            QStringLiteral("CALL `kinerja_supervisi_monitoring`(:var_tanggal_awal, :var_tanggal_akhir, :var_jenis)"),
            {{QStringLiteral("var_tanggal_awal"), DateTimePicker2->date().toString(QStringLiteral("yyyy-MM-dd"))},
             {QStringLiteral("var_tanggal_akhir"), DateTimePicker3->date().toString(QStringLiteral("yyyy-MM-dd"))},
             {QStringLiteral("var_jenis"), findingList()}});
        xSupervisiJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rs.recordCount()));
        fillGrid(*StringGrid1, std::move(rs), listColumns(*StringGrid1));
    });
}
