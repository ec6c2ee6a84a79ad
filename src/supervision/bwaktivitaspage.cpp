#include "bwaktivitaspage.h"

#include "activities/activityrules.h"
#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "db/filterlist.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ualasan_tolak.h"
#include "ui/keyfilters.h"
#include "ui/controls.h"
#include "ui/flowlayout.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QColor>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* name, const char* caption, int width, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(width);
    return b;
}

// The design widths, widened where the grid's font would cut a date or a
// caption; "Wajib Validasi?" shows in the two-level mode only.
std::vector<GridColumn> listColumns(const StringGrid& g, bool direct)
{
    const int day = g.fitted(70, QStringLiteral("0000-00-00"));
    const int moment = g.fitted(70, QStringLiteral("0000-00-00 00:00:00"));
    return {
        GridColumn::field(QStringLiteral("Id"), 0, QStringLiteral("id")),
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("Jenis Akt."), g.fitted(70, QStringLiteral("Tambahan")),
                          QStringLiteral("jenis_jabatan")),
        GridColumn::field(QStringLiteral("Aktivitas"), 350, QStringLiteral("rincian_tugas")),
        GridColumn::field(QStringLiteral("Deskripsi"), 600, QStringLiteral("deskripsi")),
        GridColumn::field(QStringLiteral("Volume"), g.fitted(40, QStringLiteral("Volume")), QStringLiteral("volume")),
        GridColumn::field(QStringLiteral("Satuan"), g.fitted(60, QStringLiteral("Transaksi")), QStringLiteral("satuan")),
        GridColumn::field(QStringLiteral("Status"), g.fitted(100, QStringLiteral("Disetujui Supervisi")),
                          QStringLiteral("status_deskripsi")),
        GridColumn::field(QStringLiteral("Tgl. Aktivitas"), day, QStringLiteral("tanggal_aktivitas")),
        GridColumn::field(QStringLiteral("Tgl. Input"), moment, QStringLiteral("tanggal_input")),
        GridColumn::field(QStringLiteral("Tgl. Verif"), moment, QStringLiteral("tanggal_statusx")),
        GridColumn::field(QStringLiteral("Tgl. Validasi"), moment, QStringLiteral("tanggal_validasix")),
        // "Ya" or "Tidak": the caption gives the width.
        GridColumn::field(QStringLiteral("Wajib Validasi?"), direct ? 0 : 60, QStringLiteral("st_wajib_validasi")),
        // The review figures that come with each row (see reviewMarks).
        GridColumn::field(QStringLiteral("Sisa Hari"),
                          g.fitted(90, direct ? QStringLiteral("lewat batas, otomatis 0000-00-00")
                                              : QStringLiteral("lewat batas")),
                          QStringLiteral("sisa_harix")),
        // The reasons' names; they give way with the free texts, and the
        // row's tooltip explains them.
        GridColumn::field(QStringLiteral("Catatan"), g.fitted(220, QStringLiteral("Hari > 480 menit, Deskripsi ganda")),
                          QStringLiteral("catatan")),
        GridColumn::field(QStringLiteral("Alasan Penolakan"), 0, QStringLiteral("alasan_tolak")),
    };
}

constexpr int kColAktivitas = 3;
constexpr int kColDeskripsi = 4;
constexpr int kColStatus = 7;
constexpr int kColSisaHari = 13;
constexpr int kColCatatan = 14;
const QColor kTintDue(0xFF, 0xD6, 0xCC);     // the window closes, or the system approves, within a day
const QColor kTintNoted(0xFF, 0xF3, 0xC4);   // worth a second look

struct RowMark {
    QColor tint;
    QString note;
};

// From the review figures of each listed row: a tint for rows due within a
// day (else for rows with a plausibility note), and the dates and reasons in
// words as the row's tooltip. Read before the grid takes the rows.
std::vector<RowMark> reviewMarks(const db::ResultSet& rs)
{
    const int segera = rs.requireColumn(QStringLiteral("segera"));
    const int catatan = rs.requireColumn(QStringLiteral("catatan"));
    const int texts[] = {rs.requireColumn(QStringLiteral("sisa_hari_ket")),
                         rs.requireColumn(QStringLiteral("catatan_ket"))};
    std::vector<RowMark> marks(size_t(rs.recordCount()));
    for (int i = 0; i < rs.recordCount(); ++i) {
        RowMark& m = marks[size_t(i)];
        m.tint = rs.text(i, segera) == QLatin1String("1") ? kTintDue
                 : !rs.raw(i, catatan).empty()                ? kTintNoted
                                                              : QColor();
        QStringList note;
        for (int col : texts)
            if (const QString t = rs.text(i, col); !t.isEmpty())
                note << t;
        m.note = note.join(QLatin1Char('\n'));
    }
    return marks;
}

constexpr int kColInput = 9;
constexpr int kColReason = 15;
constexpr int kColVerif = 10;

const QString kAllNote = QStringLiteral(
    "\r\rCatatan :\rDengan memvalidasi aktivitas bawahan dua tingkat, atasan dua tingkat dianggap sudah membaca semua "
    "aktivitas bawahan, dan mengetahui aktifitas kinerja bawahan sehingga dapat digunakan untuk melaksanakan "
    "pembinaan.");

} // namespace

BwAktivitasPage::BwAktivitasPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xBwAktivitas"), QStringLiteral("xBwAktivitasJudul"))
{
    // The boxes wrap below the fields on a small screen.
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new FlowLayout(filter);
    SpeedButton33 = new QPushButton(QStringLiteral("Back"), filter);
    SpeedButton33->setObjectName(QStringLiteral("SpeedButton33"));
    SpeedButton33->setFixedSize(63, 61);
    fl->addWidget(SpeedButton33);

    auto* fieldArea = new QWidget(filter);
    auto* fields = new QGridLayout(fieldArea);
    fields->setContentsMargins(0, 0, 0, 0);
    xBwAktivitasEdAktivitas = new QLineEdit(filter);
    xBwAktivitasEdAktivitas->setObjectName(QStringLiteral("xBwAktivitasEdAktivitas"));
    xBwAktivitasEdAktivitas->setMinimumWidth(240);
    xBwAktivitasEdAktivitas->setMaximumWidth(300);
    fields->addWidget(new QLabel(QStringLiteral("Aktivitas"), filter), 0, 0);
    fields->addWidget(xBwAktivitasEdAktivitas, 0, 1, 1, 3);
    auto* hint = new QLabel(QStringLiteral("* isikan dengan sebagian teks dari nama aktivitas yang akan dicari "), filter);
    hint->setStyleSheet(QStringLiteral("color: #808080;"));
    hint->setWordWrap(true);
    hint->setMaximumWidth(300);
    fields->addWidget(hint, 1, 1, 1, 3);
    xBwAktivitasLbTanggal = new QLabel(QStringLiteral("Tanggal"), filter);
    xBwAktivitasLbTanggal->setObjectName(QStringLiteral("xBwAktivitasLbTanggal"));
    xBwAktivitasTanggalAwal = datePicker("xBwAktivitasTanggalAwal", filter, ctx.clock().today());
    xBwAktivitasTanggalAkhir = datePicker("xBwAktivitasTanggalAkhir", filter, ctx.clock().today());
    fields->addWidget(xBwAktivitasLbTanggal, 2, 0);
    fields->addWidget(xBwAktivitasTanggalAwal, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("s/d"), filter), 2, 2);
    fields->addWidget(xBwAktivitasTanggalAkhir, 2, 3);
    auto* note = new QLabel(QStringLiteral("* Bawahan langsung disortir sesuai tanggal input, bawahan dua tingkat "
                                           "berdasarkan tanggal verifikasi"),
                            filter);
    note->setStyleSheet(QStringLiteral("color: #808080;"));
    note->setWordWrap(true);
    note->setMaximumWidth(300);
    fields->addWidget(note, 3, 1, 1, 3);
    auto* run = new QHBoxLayout;
    xBwAktivitasTampilData = button("xBwAktivitasTampilData", "Tampilkan Data", 110, filter);
    lbBwAktivitasJumlah = new QLabel(QStringLiteral("Jumlah data : 0"), filter);
    lbBwAktivitasJumlah->setObjectName(QStringLiteral("lbBwAktivitasJumlah"));
    run->addWidget(xBwAktivitasTampilData);
    run->addSpacing(12);
    run->addWidget(lbBwAktivitasJumlah);
    run->addStretch(1);
    fields->addLayout(run, 4, 1, 1, 3);
    fl->addWidget(fieldArea);

    auto* types = new QGroupBox(QStringLiteral("Jenis Aktivitas"), filter);
    auto* tl = new QVBoxLayout(types);
    cbBwJJab1 = filterBox("cbBwJJab1", "Utama", types);
    cbBwJJab2 = filterBox("cbBwJJab2", "Tambahan", types);
    cbBwJJab3 = filterBox("cbBwJJab3", "Lainnya", types);
    for (QCheckBox* c : {cbBwJJab1, cbBwJJab2, cbBwJJab3})
        tl->addWidget(c);
    fl->addWidget(types);

    auto* statuses = new QGroupBox(QStringLiteral("Status"), filter);
    auto* sl = new QGridLayout(statuses);
    cbBwStat1 = filterBox("cbBwStat1", "Disetujui", statuses);
    cbBwStat2 = filterBox("cbBwStat2", "Ditolak", statuses);
    cbBwStat3 = filterBox("cbBwStat3", "Belum Diverifikasi Atasan", statuses);
    cbBwStat4 = filterBox("cbBwStat4", "Disetujui Sistem Tarvesa (Otomatis)", statuses);
    cbBwStat5 = filterBox("cbBwStat5", "Disetujui Supervisi", statuses);
    cbBwStat6 = filterBox("cbBwStat6", "Ditolak Supervisi", statuses);
    const QList<QCheckBox*> stat{cbBwStat1, cbBwStat2, cbBwStat3, cbBwStat4, cbBwStat5, cbBwStat6};
    for (int i = 0; i < stat.size(); ++i)
        sl->addWidget(stat[i], i % 3, i / 3);
    fl->addWidget(statuses);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data Aktivitas Harian ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_aktivitas_bawahan = new StringGrid(data);
    sg_aktivitas_bawahan->setObjectName(QStringLiteral("sg_aktivitas_bawahan"));
    // Task, description and notes give way first; "Sisa Hari" keeps its
    // figure ("5 hari", "lewat batas") whole, its automatic approval date
    // is in the row's tooltip too.
    sg_aktivitas_bawahan->setElasticColumns({kColAktivitas, kColDeskripsi, kColSisaHari, kColCatatan}, 100);
    for (int c : {kColAktivitas, kColDeskripsi, kColCatatan})
        sg_aktivitas_bawahan->setElasticFloor(c, 45);
    sg_aktivitas_bawahan->setElasticFloor(kColSisaHari,
                                          sg_aktivitas_bawahan->fitted(60, QStringLiteral("lewat batas, ")));
    sg_aktivitas_bawahan->setNoteColumn(kColStatus, kColReason);
    dl->addWidget(sg_aktivitas_bawahan, 1);

    pBwAktivitasAction2tk = new QWidget(data);
    pBwAktivitasAction2tk->setObjectName(QStringLiteral("pBwAktivitasAction2tk"));
    auto* p2 = new QHBoxLayout(pBwAktivitasAction2tk);
    p2->setContentsMargins(0, 0, 0, 0);
    xBwAktivitasValidasi = button("xBwAktivitasValidasi", "Validasi", 97, pBwAktivitasAction2tk);
    xBwAktivitasValidasiSemua = button("xBwAktivitasValidasiSemua", "Validasi Semua", 170, pBwAktivitasAction2tk);
    p2->addWidget(xBwAktivitasValidasi);
    p2->addWidget(xBwAktivitasValidasiSemua);
    p2->addStretch(1);
    dl->addWidget(pBwAktivitasAction2tk);

    pBwAktivitasAction1tk = new QWidget(data);
    pBwAktivitasAction1tk->setObjectName(QStringLiteral("pBwAktivitasAction1tk"));
    auto* p1 = new QHBoxLayout(pBwAktivitasAction1tk);
    p1->setContentsMargins(0, 0, 0, 0);
    xBwAktivitasSetujui = button("xBwAktivitasSetujui", "Setuju", 85, pBwAktivitasAction1tk);
    xBwAktivitasTolak = button("xBwAktivitasTolak", "Tolak", 85, pBwAktivitasAction1tk);
    xBwAktivitasSetujuiAll = button("xBwAktivitasSetujuiAll", "Setujui Semua", 170, pBwAktivitasAction1tk);
    p1->addWidget(xBwAktivitasSetujui);
    p1->addWidget(xBwAktivitasTolak);
    p1->addSpacing(21);
    p1->addWidget(xBwAktivitasSetujuiAll);
    p1->addStretch(1);
    dl->addWidget(pBwAktivitasAction1tk);
    body()->addWidget(data, 1);

    poBwAktivitas = new QMenu(this);
    poBwAktivitas->setObjectName(QStringLiteral("poBwAktivitas"));
    Setujui2 = poBwAktivitas->addAction(QStringLiteral("Setujui"));
    olak2 = poBwAktivitas->addAction(QStringLiteral("Tolak"));
    sg_aktivitas_bawahan->addExportEntry(poBwAktivitas);
    sg_aktivitas_bawahan->setExportDates(xBwAktivitasTanggalAwal, xBwAktivitasTanggalAkhir);
    sg_aktivitas_bawahan->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sg_aktivitas_bawahan, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        poBwAktivitas->popup(sg_aktivitas_bawahan->viewport()->mapToGlobal(pos));
    });

    // Enter in the search edit starts nothing, as in every list filter.
    ignoreEnter(xBwAktivitasEdAktivitas);

    connect(SpeedButton33, &QPushButton::clicked, this, &BwAktivitasPage::backRequested);
    connect(xBwAktivitasTampilData, &QPushButton::clicked, this, &BwAktivitasPage::xBwAktivitasTampilDataClick);
    connect(xBwAktivitasSetujui, &QPushButton::clicked, this, &BwAktivitasPage::xBwAktivitasSetujuiClick);
    connect(xBwAktivitasTolak, &QPushButton::clicked, this, &BwAktivitasPage::xBwAktivitasTolakClick);
    connect(xBwAktivitasSetujuiAll, &QPushButton::clicked, this, &BwAktivitasPage::xBwAktivitasSetujuiAllClick);
    connect(xBwAktivitasValidasi, &QPushButton::clicked, this, &BwAktivitasPage::xBwAktivitasValidasiClick);
    connect(xBwAktivitasValidasiSemua, &QPushButton::clicked, this,
            &BwAktivitasPage::xBwAktivitasValidasiSemuaClick);
    connect(Setujui2, &QAction::triggered, this, &BwAktivitasPage::xBwAktivitasSetujuiClick);
    connect(olak2, &QAction::triggered, this, &BwAktivitasPage::xBwAktivitasTolakClick);
}

QString BwAktivitasPage::typeList() const
{
    return filterList({{cbBwJJab1->isChecked(), "Utama"}, {cbBwJJab2->isChecked(), "Tambahan"},
                       {cbBwJJab3->isChecked(), "Lainnya"}});
}

QString BwAktivitasPage::statusList() const
{
    return filterList({{cbBwStat1->isChecked(), "accepted"},
                       {cbBwStat2->isChecked(), "rejected"},
                       {cbBwStat3->isChecked(), "0"},
                       {cbBwStat4->isChecked(), "accepted_by_system"},
                       {cbBwStat5->isChecked(), "accepted_by_spv"},
                       {cbBwStat6->isChecked(), "rejected_by_spv"}});
}

bool BwAktivitasPage::directMode() const
{
    return ctx_.session().st_aktivitas_bawahan == QLatin1String("B1");
}

void BwAktivitasPage::setApproveRejectVisible(bool visible)
{
    pBwAktivitasAction1tk->setVisible(visible);
    // The popup offers nothing the page would not: a two-level superior may
    // not approve or reject, and the server would refuse it.
    Setujui2->setEnabled(visible);
    olak2->setEnabled(visible);
}

void BwAktivitasPage::openFor(const QString& nip, const QString& nama, const QString& jenisBawahan)
{
    nip_ = nip;
    xBwAktivitasLbTanggal->setText(directMode() ? QStringLiteral("Tanggal Input") : QStringLiteral("Tanggal Verifikasi"));
    {
        // The empty layout shows only when the load below fails.
        StringGrid::Batch batch(*sg_aktivitas_bawahan);
        sg_aktivitas_bawahan->setRowCount(1);
        sg_aktivitas_bawahan->setColCount(12);
        sg_aktivitas_bawahan->setFixedRows(0);
        sg_aktivitas_bawahan->setFixedCols(1);
        const int widths[] = {30, 70, 350, 600, 40, 110, 110, 70, 70, 70};
        const char* captions[] = {"No.",    "Jenis Akt.",     "Aktivitas",  "Deskripsi", "Volume",
                                  "Satuan", "Status", "Tgl. Aktivitas", "Tgl. Input", "Tgl. Verif"};
        for (int c = 0; c < 12; ++c) {
            sg_aktivitas_bawahan->setCell(0, c, c < 10 ? QString::fromUtf8(captions[c]) : QString());
            if (c < 10)
                sg_aktivitas_bawahan->setColWidth(c, widths[c]);
        }
    }
    const QDate today = ctx_.clock().today();
    Session& s = ctx_.session();
    s.Year = quint16(today.year());
    s.Month = quint16(today.month());
    s.Day = quint16(today.day());
    xBwAktivitasTanggalAwal->setDate(QDate(today.year(), today.month(), 1));
    xBwAktivitasTanggalAkhir->setDate(today);
    ctx_.styleHeader(header(), QStringLiteral("Aktivitas Harian Bawahan a.n. ") + nama);
    pBwAktivitasAction2tk->setVisible(false);
    setApproveRejectVisible(jenisBawahan == QLatin1String("Bawahan Langsung"));
    pBwAktivitasAction2tk->setVisible(jenisBawahan == QLatin1String("Bawahan Dua Tingkat"));
    ctx_.showPage(this);
    xBwAktivitasTampilDataClick();
}

void BwAktivitasPage::xBwAktivitasTampilDataClick()
{
    // The "all" actions check one window for every row, so they are offered
    // only for a list of one day.
    const bool oneDay = xBwAktivitasTanggalAwal->date() == xBwAktivitasTanggalAkhir->date();
    for (QPushButton* b : {xBwAktivitasSetujui, xBwAktivitasTolak, xBwAktivitasValidasi})
        b->setVisible(true);
    xBwAktivitasSetujuiAll->setVisible(oneDay);
    xBwAktivitasValidasiSemua->setVisible(oneDay);

    const bool direct = directMode();
    const QString types = typeList();
    const QString statuses = statusList();
    int rows = 0;
    const QString params = QStringLiteral(
        "`(:var_nip, :var_tanggal_awal, :var_tanggal_akhir, :var_jenis_jabatan, :var_status, :var_aktivitas, "
        ":var_nip_atasan2)");
    const db::Params values{
        {QStringLiteral("var_nip"), nip_},
        {QStringLiteral("var_tanggal_awal"), xBwAktivitasTanggalAwal->date().toString(QStringLiteral("yyyy-MM-dd"))},
        {QStringLiteral("var_tanggal_akhir"), xBwAktivitasTanggalAkhir->date().toString(QStringLiteral("yyyy-MM-dd"))},
        {QStringLiteral("var_jenis_jabatan"), types},
        {QStringLiteral("var_status"), statuses},
        {QStringLiteral("var_aktivitas"), xBwAktivitasEdAktivitas->text()},
        {QStringLiteral("var_nip_atasan2"), direct ? QString() : ctx_.session().nip()}};
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        const QString call = direct ? QStringLiteral("kinerja_aktivitas_tampil_data")
                                    : QStringLiteral("kinerja_aktivitas_tampil_data_2tk");
        db::ResultSet rs = q.open(QStringLiteral("CALL `") + call + params, values);
        rows = rs.recordCount();
        const std::vector<RowMark> marks = reviewMarks(rs);
        fillGrid(*sg_aktivitas_bawahan, std::move(rs), listColumns(*sg_aktivitas_bawahan, direct));
        // The grid's rows follow the answer's, under the caption row.
        StringGrid::Batch batch(*sg_aktivitas_bawahan);
        for (size_t i = 0; i < marks.size(); ++i)
            sg_aktivitas_bawahan->cells().setRowMark(int(i) + 1, marks[i].tint, marks[i].note);
    });
    if (ok)
        lbBwAktivitasJumlah->setText(QStringLiteral("Jumlah aktivitas : ") + QString::number(rows));
}

QString BwAktivitasPage::cellOfCurrent(int col) const
{
    return sg_aktivitas_bawahan->cell(sg_aktivitas_bawahan->currentRow(), col);
}

bool BwAktivitasPage::windowAllows(const QString& call, const QString& param, int dateCol, const QString& heading,
                                   const QString& allowedText, const QString& from)
{
    bool allowed = false;
    Envelope(ctx_).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `") + call + QStringLiteral("`(:") + param +
                                            QStringLiteral(")"),
                                        {{param, cellOfCurrent(dateCol)}});
        if (rs.first(2) == QLatin1String("F")) {
            ctx_.messages().warning(activityrules::windowRefusal(heading, rs, allowedText, from));
            return;
        }
        allowed = true;
    });
    return allowed;
}

void BwAktivitasPage::verifyCurrent(bool approve)
{
    if (!requireDataRows(*sg_aktivitas_bawahan, ctx_.messages()))
        return;
    if (!windowAllows(QStringLiteral("kinerja_cek_waktu_verifikasi"),
                      approve ? QStringLiteral("var_tanggal_input") : QStringLiteral("var_tanggal_aktivitas"),
                      kColInput, QStringLiteral("Gagal memverifikasi aktivitas terpilih"),
                      QStringLiteral("Selisih tgl diperbolehkan verifikasi "), QStringLiteral("input")))
        return;

    const QString id = cellOfCurrent(0);
    bool goOn = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const QString status =
                q.open(approve ? QStringLiteral("CALL `kinerja_aktivitas_status_verifikasi_cek`(:var_id)")
                               : QStringLiteral("CALL `kinerja_aktivitas_status_cek`(:var_id)"),
                       {{QStringLiteral("var_id"), id}})
                    .first(0);
            if (status == QLatin1String("accepted_by_system")) {
                ctx_.messages().warning(QStringLiteral("Aktivitas sudah disetujui sistem!\r\raktivitas yang sudah "
                                                       "disetujui sistem tidak bisa diubah status verifikasinya oleh "
                                                       "atasan."));
                return;
            }
            if (status == QLatin1String("accepted") &&
                !ctx_.messages().confirm((approve ? QStringLiteral("Aktivitas sudah disetujui oleh atasan!")
                                                  : QStringLiteral("Aktivitas sudah diverifikasi oleh atasan!")) +
                                         QStringLiteral("\rproses verifikasi kedua dan seterusnya juga akan merubah "
                                                        "tanggal verifikasi di sistem.\rLanjut proses?")))
                return;
            goOn = true;
        }) ||
        !goOn)
        return;

    if (!ctx_.messages().confirm(approve ? QStringLiteral("Setujui aktivitas terpilih?")
                                         : QStringLiteral("Tolak aktivitas terpilih?")))
        return;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            q.exec(approve ? QStringLiteral("CALL `kinerja_aktivitas_disetujui_atasan`(:var_id, :var_nip)")
                           : QStringLiteral("CALL `kinerja_aktivitas_ditolak_atasan`(:var_id, :var_nip)"),
                   {{QStringLiteral("var_id"), id}, {QStringLiteral("var_nip"), ctx_.session().nip()}});
        }))
        return;
    if (!approve) {
        // Why, for the owner to read; the rejection stands whatever the
        // answer.
        Tfalasan_tolak reason(ctx_, id);
        ctx_.dialogs().exec(reason);
    }
    ctx_.messages().information(approve ? QStringLiteral("Data berhasil disetujui!")
                                        : QStringLiteral("Data berhasil ditolak!"));
    xBwAktivitasTampilDataClick();
}

void BwAktivitasPage::xBwAktivitasSetujuiClick()
{
    verifyCurrent(true);
}

void BwAktivitasPage::xBwAktivitasTolakClick()
{
    verifyCurrent(false);
}

void BwAktivitasPage::xBwAktivitasValidasiClick()
{
    if (!requireDataRows(*sg_aktivitas_bawahan, ctx_.messages()))
        return;
    if (!windowAllows(QStringLiteral("kinerja_cek_waktu_validasi"), QStringLiteral("var_tanggal_verifikasi"),
                      kColVerif, QStringLiteral("Gagal memvalidasi aktivitas terpilih"),
                      QStringLiteral("Selisih tgl diperbolehkan validasi "), QStringLiteral("verifikasi")))
        return;
    const QString id = cellOfCurrent(0);
    bool goOn = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const QString validated = q.open(QStringLiteral("CALL `kinerja_aktivitas_status_validasi_cek`(:var_id)"),
                                             {{QStringLiteral("var_id"), id}})
                                          .first(0);
            if (validated == QLatin1String("S") &&
                !ctx_.messages().confirm(QStringLiteral("Aktivitas sudah divalidasi!\rproses validasi kedua dan "
                                                        "seterusnya juga akan merubah tanggal validasi di sistem.\r"
                                                        "Lanjut proses?")))
                return;
            goOn = true;
        }) ||
        !goOn)
        return;
    if (!ctx_.messages().confirm(QStringLiteral("Validasi aktivitas terpilih?")))
        return;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_aktivitas_divalidasi_atasan`(:var_id, :var_nip)"),
                   {{QStringLiteral("var_id"), id}, {QStringLiteral("var_nip"), ctx_.session().nip()}});
        }))
        return;
    ctx_.messages().information(QStringLiteral("Data berhasil disetujui!"));
    xBwAktivitasTampilDataClick();
}

void BwAktivitasPage::actOnAll(bool validate)
{
    if (!requireDataRows(*sg_aktivitas_bawahan, ctx_.messages()))
        return;
    // One window check, on the current row, for the whole one-day list.
    if (validate ? !windowAllows(QStringLiteral("kinerja_cek_waktu_validasi"), QStringLiteral("var_tanggal_verifikasi"),
                                 kColVerif, QStringLiteral("Gagal memvalidasi aktivitas terpilih"),
                                 QStringLiteral("Selisih tgl diperbolehkan validasi "), QStringLiteral("verifikasi"))
                 : !windowAllows(QStringLiteral("kinerja_cek_waktu_verifikasi"), QStringLiteral("var_tanggal_verifikasi"),
                                 kColInput, QStringLiteral("Gagal memverifikasi aktivitas terpilih"),
                                 QStringLiteral("Selisih tgl diperbolehkan "), QStringLiteral("input")))
        return;
    const int count = sg_aktivitas_bawahan->rowCount() - 1;
    if (!ctx_.messages().confirm(QStringLiteral("Ada ") + QString::number(count) +
                                 (validate ? QStringLiteral(" yang siap divalidasi, lanjutkan?")
                                           : QStringLiteral(" yang siap diverifikasi, lanjutkan?")) +
                                 kAllNote))
        return;
    const QString call = validate ? QStringLiteral("CALL `kinerja_aktivitas_divalidasi_atasan`(:var_id, :var_nip)")
                                  : QStringLiteral("CALL `kinerja_aktivitas_diverifikasi_atasan`(:var_id, :var_nip)");
    const QString self = ctx_.session().nip();
    int done = 0;
    int skipped = 0; // verified meanwhile: the server leaves them as they are
    for (int r = 1; r <= count; ++r) {
        const QString id = sg_aktivitas_bawahan->cell(r, 0);
        if (!Envelope(ctx_).run([&](db::Query& q) {
                const db::ResultSet rs = q.open(call, {{QStringLiteral("var_id"), id}, {QStringLiteral("var_nip"), self}});
                if (!validate && rs.first(QStringLiteral("hasil")) == QLatin1String("dilewati"))
                    ++skipped;
                else
                    ++done;
            }))
            return; // the rows sent so far stay done
    }
    QString counts = QString::number(done) +
                     (validate ? QStringLiteral(" aktivitas divalidasi") : QStringLiteral(" aktivitas disetujui"));
    if (skipped > 0)
        counts += QStringLiteral(", ") + QString::number(skipped) +
                  QStringLiteral(" dilewati karena sudah diverifikasi sebelumnya");
    ctx_.messages().information(QStringLiteral("Data berhasil disetujui!\r") + counts + QLatin1Char('.'));
    xBwAktivitasTampilDataClick();
}

void BwAktivitasPage::xBwAktivitasSetujuiAllClick()
{
    actOnAll(false);
}

void BwAktivitasPage::xBwAktivitasValidasiSemuaClick()
{
    actOnAll(true);
}
