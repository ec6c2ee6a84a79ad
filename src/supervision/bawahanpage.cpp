#include "bawahanpage.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "db/filterlist.h"
#include "db/query.h"
#include "db/resultset.h"
#include "report/monthlyreport.h"
#include "ui/controls.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kLangsung = QStringLiteral("Bawahan Langsung");

QPushButton* barButton(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setFlat(true);
    b->setMinimumSize(130, 30);
    return b;
}

// The design widths, widened where the grid's font would cut a NIP or a
// caption.
std::vector<GridColumn> listColumns(const StringGrid& g)
{
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(135, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama"), 240, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Jenis Jabatan"), g.fitted(80, QStringLiteral("Jenis Jabatan")),
                          QStringLiteral("jenis_jabatan_id")),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 350, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Kelas"), g.fitted(50, QStringLiteral("Kelas")), QStringLiteral("kelas_jabatan")),
        // the recognised progress of the month (the column once showed "0")
        GridColumn::field(QStringLiteral("Akt. Diakui"), g.fitted(80, QStringLiteral("100.00 %")),
                          QStringLiteral("akt_diakui")),
        GridColumn::field(QStringLiteral("Status Bawahan"), g.fitted(110, QStringLiteral("Status Bawahan")),
                          QStringLiteral("status_bawahan")),
        GridColumn::field(QStringLiteral("Jenis Bawahan"), g.fitted(120, QStringLiteral("Bawahan Dua Tingkat")),
                          QStringLiteral("jenis_bawahan")),
        // Filled by the unverified work of each subordinate after the list.
        GridColumn::text(QStringLiteral("Blm. Verif."), g.fitted(60, QStringLiteral("Blm. Verif.")), QString()),
        GridColumn::text(QStringLiteral("Tertua (hari)"), g.fitted(60, QStringLiteral("Tertua (hari)")), QString()),
    };
}

constexpr int kColBelumVerifikasi = 9;
constexpr int kColTertua = 10;

} // namespace

BawahanPage::BawahanPage(PageContext& ctx) : Page(ctx, QStringLiteral("xBawahan"), QStringLiteral("xBawahanJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new QGridLayout(filter);
    edBawahanFilterNama = new QLineEdit(filter);
    edBawahanFilterNama->setObjectName(QStringLiteral("edBawahanFilterNama"));
    edBawahanFilterNama->setMinimumWidth(260);
    fl->addWidget(new QLabel(QStringLiteral("Nama"), filter), 0, 0);
    fl->addWidget(edBawahanFilterNama, 0, 1, 1, 3);

    cbBawahanJJabS = filterBox("cbBawahanJJabS", "Struktural", filter);
    cbBawahanJJabF = filterBox("cbBawahanJJabF", "Fungsional", filter);
    cbBawahanJJabP = filterBox("cbBawahanJJabP", "Pelaksana", filter);
    fl->addWidget(new QLabel(QStringLiteral("Jenis Jabatan"), filter), 1, 0);
    fl->addWidget(cbBawahanJJabS, 1, 1);
    fl->addWidget(cbBawahanJJabF, 1, 2);
    fl->addWidget(cbBawahanJJabP, 1, 3);

    cbBawahanJBL = filterBox("cbBawahanJBL", "Bawahan Langsung", filter);
    cbBawahanJBP = filterBox("cbBawahanJBP", "Bawahan Plt/Plh/Tugas Sampiran (Ka Puskesmas/Ka Sekolah)", filter);
    fl->addWidget(new QLabel(QStringLiteral("Status Bawahan"), filter), 2, 0);
    fl->addWidget(cbBawahanJBL, 2, 1);
    fl->addWidget(cbBawahanJBP, 2, 2, 1, 2);

    btBawahanTampilData = new QPushButton(QStringLiteral("Tampilkan Data"), filter);
    btBawahanTampilData->setObjectName(QStringLiteral("btBawahanTampilData"));
    lbBawahanJumlah = new QLabel(QStringLiteral("Jumlah bawahan : 0"), filter);
    lbBawahanJumlah->setObjectName(QStringLiteral("lbBawahanJumlah"));
    auto* run = new QHBoxLayout;
    run->addWidget(btBawahanTampilData);
    run->addSpacing(12);
    run->addWidget(lbBawahanJumlah);
    run->addStretch(1);
    fl->addLayout(run, 3, 1, 1, 3);
    fl->setColumnStretch(4, 1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data Bawahan ]"), this);
    auto* dl = new QVBoxLayout(data);
    auto* bar = new QHBoxLayout;
    btbTugasTambahan = barButton("btbTugasTambahan", "Tugas Tambahan", data);
    btbAktivitasHarian = barButton("btbAktivitasHarian", "Aktivitas Harian", data);
    btbKualitasMutu = barButton("btbKualitasMutu", "Kualitas Mutu", data);
    bar->setSpacing(0);
    bar->addWidget(btbTugasTambahan);
    bar->addSpacing(7);
    bar->addWidget(btbAktivitasHarian);
    bar->addWidget(btbKualitasMutu);
    bar->addStretch(1);
    dl->addLayout(bar);
    sg_bawahan = new StringGrid(data);
    sg_bawahan->setObjectName(QStringLiteral("sg_bawahan"));
    sg_bawahan->setElasticColumns({2, 4}, 130);
    dl->addWidget(sg_bawahan, 1);
    body()->addWidget(data, 1);

    poBawahan = new QMenu(this);
    poBawahan->setObjectName(QStringLiteral("poBawahan"));
    ugasTambahan1 = poBawahan->addAction(QStringLiteral("Tugas Tambahan"));
    MenuItem2 = poBawahan->addSeparator();
    MenuItem4 = poBawahan->addAction(QStringLiteral("Aktivitas Harian"));
    MenuItem6 = poBawahan->addAction(QStringLiteral("Kualitas Mutu"));
    MenuItem7 = poBawahan->addSeparator();
    CetakLaporan2 = poBawahan->addAction(QStringLiteral("Cetak Laporan Bulanan"));
    sg_bawahan->addExportEntry(poBawahan);
    sg_bawahan->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sg_bawahan, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { poBawahan->popup(sg_bawahan->viewport()->mapToGlobal(pos)); });

    connect(btBawahanTampilData, &QPushButton::clicked, this, &BawahanPage::btBawahanTampilDataClick);
    connect(btbTugasTambahan, &QPushButton::clicked, this, &BawahanPage::btbTugasTambahanClick);
    connect(btbAktivitasHarian, &QPushButton::clicked, this, &BawahanPage::btbAktivitasHarianClick);
    connect(btbKualitasMutu, &QPushButton::clicked, this, &BawahanPage::btbKualitasMutuClick);
    connect(ugasTambahan1, &QAction::triggered, this, &BawahanPage::btbTugasTambahanClick);
    connect(MenuItem4, &QAction::triggered, this, &BawahanPage::btbAktivitasHarianClick);
    connect(MenuItem6, &QAction::triggered, this, &BawahanPage::btbKualitasMutuClick);
    connect(CetakLaporan2, &QAction::triggered, this, &BawahanPage::CetakLaporan2Click);
}

QString BawahanPage::positionKindList() const
{
    return filterList({{cbBawahanJJabS->isChecked(), "struktural"},
                       {cbBawahanJJabF->isChecked(), "fungsional"},
                       {cbBawahanJJabP->isChecked(), "pelaksana"}});
}

QString BawahanPage::statusList() const
{
    return filterList({{cbBawahanJBL->isChecked(), "Definitif"}, {cbBawahanJBP->isChecked(), "Plt,Tugas Sampiran"}});
}

void BawahanPage::dxTarvesaItems3Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Data Bawahan"));
    ctx_.showPage(this);
    // Acting and side-assignment subordinates exist only for a superior who
    // holds such a post (classification "6" counts as one).
    const Session& s = ctx_.session();
    const bool acting = s.profileValue(9) == QLatin1String("Ya") || s.profileValue(11) == QLatin1String("Ya") ||
                        s.profileValue(16) == QLatin1String("6");
    cbBawahanJBP->setChecked(acting);
    cbBawahanJBP->setEnabled(acting);
    btBawahanTampilDataClick();
}

void BawahanPage::btBawahanTampilDataClick()
{
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_show_bawahan`(:var_nip, :var_nama, :var_jjab, :var_status)"),
                                  {{QStringLiteral("var_nip"), ctx_.session().nip()},
                                   {QStringLiteral("var_nama"), edBawahanFilterNama->text()},
                                   {QStringLiteral("var_jjab"), positionKindList()},
                                   {QStringLiteral("var_status"), statusList()}});
        rows = rs.recordCount();
        fillGrid(*sg_bawahan, std::move(rs), listColumns(*sg_bawahan));
        if (rows == 0)
            return;
        // The list stands without its figures: a failure here only leaves
        // the two last columns empty.
        optionalPart("unverified work of the subordinates", [&] {
            const db::ResultSet counts = q.open(QStringLiteral("CALL `kinerja_bawahan_belum_verifikasi`(:var_nip)"),
                                              {{QStringLiteral("var_nip"), ctx_.session().nip()}});
            StringGrid::Batch batch(*sg_bawahan);
            forEachKeyedRow(*sg_bawahan, 1, counts, QStringLiteral("nip"), [&](int row, int i) {
                sg_bawahan->setCell(row, kColBelumVerifikasi, counts.text(i, QStringLiteral("belum_verifikasi")));
                sg_bawahan->setCell(row, kColTertua, counts.text(i, QStringLiteral("umur_tertua")));
            });
        });
    });
    if (ok)
        lbBawahanJumlah->setText(QStringLiteral("Jumlah bawahan : ") + QString::number(rows));
}

bool BawahanPage::selected(QString& nip, QString& nama, QString& jenis)
{
    if (!requireDataRows(*sg_bawahan, ctx_.messages()))
        return false;
    const int row = sg_bawahan->currentRow();
    nip = sg_bawahan->cell(row, 1);
    nama = sg_bawahan->cell(row, 2);
    jenis = sg_bawahan->cell(row, 8);
    return true;
}

void BawahanPage::setSupervisionMode(const QString& jenisBawahan)
{
    ctx_.session().st_aktivitas_bawahan = jenisBawahan == kLangsung ? QStringLiteral("B1") : QStringLiteral("B2");
}

void BawahanPage::btbAktivitasHarianClick()
{
    QString nip, nama, jenis;
    if (!selected(nip, nama, jenis))
        return;
    setSupervisionMode(jenis);
    emit activitiesRequested(nip, nama, jenis);
}

void BawahanPage::btbKualitasMutuClick()
{
    QString nip, nama, jenis;
    if (!selected(nip, nama, jenis))
        return;
    setSupervisionMode(jenis);
    emit qualityRequested(nip, nama);
}

void BawahanPage::btbTugasTambahanClick()
{
    QString nip, nama, jenis;
    if (!selected(nip, nama, jenis))
        return;
    emit tasksRequested(nip, nama);
}

void BawahanPage::CetakLaporan2Click()
{
    QString nip, nama, jenis;
    if (!selected(nip, nama, jenis))
        return;
    // The direct superior signs the report; the server refuses anybody else.
    if (jenis != kLangsung) {
        ctx_.messages().information(QStringLiteral("Laporan bulanan hanya dapat dicetak untuk bawahan langsung!"));
        return;
    }
    openMonthlyReport(ctx_, nip, nama, ctx_.clock().today());
}
