#include "aktivitaspage.h"

#include "activityrules.h"
#include "dayminutes.h"

#include "uaktivitas_info.h"
#include "ut_aktivitas.h"
#include "uu_aktivitas.h"

#include "report/monthlyreport.h"

#include "shell/pageheader.h"
#include "ui/sidebar.h"
#include "shell/pagecontext.h"
#include "db/filterlist.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/flowlayout.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(90);
    return b;
}

// The design widths, widened where the grid's font would cut a date, a
// status or a caption.
std::vector<GridColumn> listColumns(const StringGrid& g)
{
    const int day = g.fitted(75, QStringLiteral("0000-00-00"));
    const int moment = g.fitted(75, QStringLiteral("0000-00-00 00:00:00"));
    return {
        GridColumn::field(QStringLiteral("Id"), 0, QStringLiteral("id")),
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("Jenis Akt."), g.fitted(70, QStringLiteral("Tambahan")),
                          QStringLiteral("jenis_jabatan")),
        GridColumn::field(QStringLiteral("Aktivitas"), 300, QStringLiteral("rincian_tugas")),
        GridColumn::field(QStringLiteral("Deskripsi"), 400, QStringLiteral("deskripsi")),
        GridColumn::field(QStringLiteral("Volume"), g.fitted(40, QStringLiteral("Volume")), QStringLiteral("volume")),
        GridColumn::field(QStringLiteral("Satuan"), g.fitted(60, QStringLiteral("Transaksi")), QStringLiteral("satuan")),
        GridColumn::field(QStringLiteral("SKR (Menit)"), g.fitted(80, QStringLiteral("SKR (Menit)")),
                          QStringLiteral("bobot_skr")),
        GridColumn::field(QStringLiteral("Status"), g.fitted(100, QStringLiteral("Disetujui Supervisi")),
                          QStringLiteral("status_deskripsi")),
        GridColumn::field(QStringLiteral("Tgl. Aktivitas"), day, QStringLiteral("tanggal_aktivitas")),
        GridColumn::field(QStringLiteral("Tgl. Input"), moment, QStringLiteral("tanggal_input")),
        GridColumn::field(QStringLiteral("Tgl. Verifikasi"), moment, QStringLiteral("tanggal_statusx")),
        GridColumn::field(QStringLiteral("Tgl. Validasi"), moment, QStringLiteral("tanggal_validasix")),
        GridColumn::field(QStringLiteral("Alasan Penolakan"), 0, QStringLiteral("alasan_tolak")),
    };
}

constexpr int kColStatus = 8;
constexpr int kColReason = 13;

} // namespace

AktivitasPage::AktivitasPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xAktivitas"), QStringLiteral("xAktivitasJudul"))
{
    // Fields, boxes and button wrap on a small screen.
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new FlowLayout(filter);
    auto* fieldArea = new QWidget(filter);
    auto* fields = new QGridLayout(fieldArea);
    fields->setContentsMargins(0, 0, 0, 0);
    xAktivitasEdAktivitas = new QLineEdit(filter);
    xAktivitasEdAktivitas->setObjectName(QStringLiteral("xAktivitasEdAktivitas"));
    xAktivitasEdAktivitas->setMinimumWidth(260);
    fields->addWidget(new QLabel(QStringLiteral("Nama Aktifitas"), filter), 0, 0);
    fields->addWidget(xAktivitasEdAktivitas, 0, 1, 1, 3);
    xAktivitasTanggalAwal = datePicker("xAktivitasTanggalAwal", filter, ctx.clock().today());
    xAktivitasTanggalAkhir = datePicker("xAktivitasTanggalAkhir", filter, ctx.clock().today());
    fields->addWidget(new QLabel(QStringLiteral("Tanggal"), filter), 1, 0);
    fields->addWidget(xAktivitasTanggalAwal, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("s/d"), filter), 1, 2);
    fields->addWidget(xAktivitasTanggalAkhir, 1, 3);
    fl->addWidget(fieldArea);

    auto* types = new QGroupBox(QStringLiteral("[ Jenis Aktivitas ]"), filter);
    auto* tl = new QVBoxLayout(types);
    cbJJab1 = filterBox("cbJJab1", "Utama", types);
    cbJJab2 = filterBox("cbJJab2", "Tambahan", types);
    cbJJab3 = filterBox("cbJJab3", "Lainnya", types);
    for (QCheckBox* c : {cbJJab1, cbJJab2, cbJJab3})
        tl->addWidget(c);
    fl->addWidget(types);

    auto* statuses = new QGroupBox(QStringLiteral("[ Status Verifikasi ]"), filter);
    auto* sl = new QGridLayout(statuses);
    cbStat1 = filterBox("cbStat1", "Disetujui Atasan", statuses);
    cbStat2 = filterBox("cbStat2", "Ditolak Atasan", statuses);
    cbStat3 = filterBox("cbStat3", "Belum Diverifikasi", statuses);
    cbStat4 = filterBox("cbStat4", "Disetujui Sistem", statuses);
    CheckBox21 = filterBox("CheckBox21", "Disetujui Supervisi", statuses);
    CheckBox22 = filterBox("CheckBox22", "Ditolak Supervisi", statuses);
    const QList<QCheckBox*> stat{cbStat1, cbStat2, cbStat3, cbStat4, CheckBox21, CheckBox22};
    for (int i = 0; i < stat.size(); ++i)
        sl->addWidget(stat[i], i % 3, i / 3);
    fl->addWidget(statuses);

    auto* actionArea = new QWidget(filter);
    auto* actions = new QVBoxLayout(actionArea);
    actions->setContentsMargins(0, 0, 0, 0);
    xAktivitasTampilData = button("xAktivitasTampilData", "Tampilkan Data", filter);
    lbAktivitasJumlah = new QLabel(QStringLiteral("Jumlah aktivitas : 0"), filter);
    lbAktivitasJumlah->setObjectName(QStringLiteral("lbAktivitasJumlah"));
    actions->addWidget(xAktivitasTampilData);
    actions->addWidget(lbAktivitasJumlah);
    actions->addStretch(1);
    fl->addWidget(actionArea);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data Aktivitas ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_aktivitas = new StringGrid(data);
    sg_aktivitas->setObjectName(QStringLiteral("sg_aktivitas"));
    // Task and description give way, so status and dates stay in view.
    sg_aktivitas->setElasticColumns({3, 4}, 100);
    // The superior's reason for a rejection shows on its status.
    sg_aktivitas->setNoteColumn(kColStatus, kColReason);
    dl->addWidget(sg_aktivitas, 1);
    // The buttons, and the day's minutes beside them or, on a small
    // screen, below them.
    auto* bar = new FlowLayout;
    auto* buttonArea = new QWidget(data);
    auto* buttons = new QHBoxLayout(buttonArea);
    buttons->setContentsMargins(0, 0, 0, 0);
    xAktivitasInfo = button("xAktivitasInfo", "Info", data);
    SpeedButton2 = button("SpeedButton2", "Tambah", data);
    SpeedButton21 = button("SpeedButton21", "Ubah", data);
    SpeedButton3 = button("SpeedButton3", "Hapus", data);
    buttons->addWidget(xAktivitasInfo);
    buttons->addSpacing(24);
    buttons->addWidget(SpeedButton2);
    buttons->addWidget(SpeedButton21);
    buttons->addSpacing(24);
    buttons->addWidget(SpeedButton3);
    buttons->addSpacing(24);
    buttons->addWidget(exportButton(sg_aktivitas, data));
    bar->addWidget(buttonArea);
    // The day's total in sight, so nobody learns it from a refusal.
    auto* minutesArea = new QWidget(data);
    auto* minutes = new QHBoxLayout(minutesArea);
    minutes->setContentsMargins(0, 0, 0, 0);
    minutes->addWidget(new QLabel(QStringLiteral("Menit tercatat pada"), data));
    xAktivitasTanggalMenit = datePicker("xAktivitasTanggalMenit", data, ctx.clock().today());
    xAktivitasTanggalMenit->setDate(ctx.clock().today());
    minutes->addWidget(xAktivitasTanggalMenit);
    lbAktivitasMenit = new QLabel(QStringLiteral(": - / 480"), data);
    lbAktivitasMenit->setObjectName(QStringLiteral("lbAktivitasMenit"));
    lbAktivitasMenit->setMinimumWidth(lbAktivitasMenit->fontMetrics().horizontalAdvance(QStringLiteral(": 0000 / 480")));
    minutes->addWidget(lbAktivitasMenit);
    bar->addWidget(minutesArea);
    dl->addLayout(bar);
    body()->addWidget(data, 1);

    poAktivitas = new QMenu(this);
    poAktivitas->setObjectName(QStringLiteral("poAktivitas"));
    info1 = poAktivitas->addAction(QStringLiteral("Info"));
    N1 = poAktivitas->addSeparator();
    Setujui1 = poAktivitas->addAction(QStringLiteral("Setujui"));
    olak1 = poAktivitas->addAction(QStringLiteral("Tolak"));
    N2 = poAktivitas->addSeparator();
    Refresh1 = poAktivitas->addAction(QStringLiteral("Refresh"));
    N3 = poAktivitas->addSeparator();
    CetakLaporan1 = poAktivitas->addAction(QStringLiteral("Cetak Laporan Bulanan"));
    sg_aktivitas->addExportEntry(poAktivitas);
    sg_aktivitas->setExportDates(xAktivitasTanggalAwal, xAktivitasTanggalAkhir);
    sg_aktivitas->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sg_aktivitas, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { poAktivitas->popup(sg_aktivitas->viewport()->mapToGlobal(pos)); });

    connect(xAktivitasTampilData, &QPushButton::clicked, this, &AktivitasPage::xAktivitasTampilDataClick);
    connect(xAktivitasInfo, &QPushButton::clicked, this, &AktivitasPage::xAktivitasInfoClick);
    connect(sg_aktivitas, &StringGrid::rowDoubleClicked, this, &AktivitasPage::xAktivitasInfoClick);
    connect(SpeedButton2, &QPushButton::clicked, this, &AktivitasPage::SpeedButton2Click);
    connect(SpeedButton21, &QPushButton::clicked, this, &AktivitasPage::SpeedButton21Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &AktivitasPage::SpeedButton3Click);
    connect(info1, &QAction::triggered, this, &AktivitasPage::info1Click);
    connect(Refresh1, &QAction::triggered, this, &AktivitasPage::Refresh1Click);
    connect(CetakLaporan1, &QAction::triggered, this, &AktivitasPage::CetakLaporan1Click);
    connect(this, &Page::shown, this, &AktivitasPage::xAktivitasTampilDataClick);
    connect(xAktivitasTanggalMenit, &QDateEdit::dateChanged, this, &AktivitasPage::refreshDayMinutes);
}

QString AktivitasPage::typeList() const
{
    return filterList({{cbJJab1->isChecked(), "Utama"}, {cbJJab2->isChecked(), "Tambahan"},
                       {cbJJab3->isChecked(), "Lainnya"}});
}

QString AktivitasPage::statusList() const
{
    return filterList({{cbStat1->isChecked(), "accepted"},
                       {cbStat2->isChecked(), "rejected"},
                       {cbStat3->isChecked(), "0"},
                       {cbStat4->isChecked(), "accepted_by_system"},
                       {CheckBox21->isChecked(), "accepted_by_spv"},
                       {CheckBox22->isChecked(), "rejected_by_spv"}});
}

void AktivitasPage::dxTarvesaItems2Click()
{
    for (QAction* a : {info1, N1, Setujui1, olak1, N2})
        a->setVisible(false);
    for (QAction* a : {info1, N1, N2})
        a->setVisible(true);
    ctx_.styleHeader(header(), QStringLiteral("Aktivitas Harian PNS a.n. ") + ctx_.session().nama());
    const QDate today = ctx_.clock().today();
    ctx_.session().Year = quint16(today.year());
    ctx_.session().Month = quint16(today.month());
    ctx_.session().Day = quint16(today.day());
    xAktivitasTanggalAwal->setDate(QDate(today.year(), today.month(), 1));
    xAktivitasTanggalAkhir->setDate(today);
    {
        // The list's reload below (or none, when the page already shows)
        // decides when the day's total is asked for.
        const QSignalBlocker quiet(xAktivitasTanggalMenit);
        xAktivitasTanggalMenit->setDate(today);
    }
    const bool reloads = ctx_.activePage() != this;
    ctx_.showPage(this);
    if (!reloads)
        refreshDayMinutes();
}

void AktivitasPage::xAktivitasTampilDataClick()
{
    const QString types = typeList();
    const QString statuses = statusList();
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(
            QStringLiteral("CALL `kinerja_aktivitas_tampil_data`(:var_nip, :var_tanggal_awal, :var_tanggal_akhir, "
                           ":var_jenis_jabatan, :var_status, :var_aktivitas, :var_nip_atasan2)"),
            {{QStringLiteral("var_nip"), ctx_.session().profileValue(2)},
             {QStringLiteral("var_tanggal_awal"),
              xAktivitasTanggalAwal->date().toString(QStringLiteral("yyyy-MM-dd 00:00:00"))},
             {QStringLiteral("var_tanggal_akhir"),
              xAktivitasTanggalAkhir->date().toString(QStringLiteral("yyyy-MM-dd 00:00:00"))},
             {QStringLiteral("var_jenis_jabatan"), types},
             {QStringLiteral("var_status"), statuses},
             {QStringLiteral("var_aktivitas"), xAktivitasEdAktivitas->text()},
             {QStringLiteral("var_nip_atasan2"), QString()}});
        rows = rs.recordCount();
        fillGrid(*sg_aktivitas, std::move(rs), listColumns(*sg_aktivitas));
    });
    if (ok)
        lbAktivitasJumlah->setText(QStringLiteral("Jumlah aktivitas : ") + QString::number(rows));
    // Every save, change and deletion ends with this reload.
    refreshDayMinutes();
}

void AktivitasPage::refreshDayMinutes()
{
    showDayMinutes(lbAktivitasMenit, QStringLiteral(": "),
                   DayMinutes::fetch(ctx_, ctx_.session().nip(), xAktivitasTanggalMenit->date()));
}

void AktivitasPage::Refresh1Click()
{
    if (ctx_.activePage() == this)
        xAktivitasTampilDataClick();
}

void AktivitasPage::info1Click()
{
    if (ctx_.activePage() == this)
        xAktivitasInfoClick();
}

bool AktivitasPage::hasDataRows() const
{
    return sg_aktivitas->rowCount() > 1;
}

void AktivitasPage::SpeedButton2Click()
{
    QString left;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            left = q.open(QStringLiteral("CALL `kinerja_aktivitas_skr_hari_ini`(:var_nip)"),
                          {{QStringLiteral("var_nip"), ctx_.session().nipLogin}})
                       .first(1);
        }))
        return;
    if (left == QLatin1String("0")) {
        ctx_.messages().information(QStringLiteral("Anda telah mencapai limit waktu capaian pekerjaan normal, input "
                                                    "aktivitas tidak dapat dilanjutkan!"));
        return;
    }
    {
        Tft_aktivitas wizard(ctx_);
        ctx_.dialogs().exec(wizard);
    }
    xAktivitasTampilDataClick();
}

bool AktivitasPage::windowAllows(const QString& refusal, const QString& allowedText)
{
    bool allowed = false;
    Envelope(ctx_).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_cek_waktu_verifikasi`(:var_tanggal_aktivitas)"),
                                        {{QStringLiteral("var_tanggal_aktivitas"),
                                          sg_aktivitas->cell(sg_aktivitas->currentRow(), 9)}});
        if (rs.first(2) == QLatin1String("F")) {
            ctx_.messages().warning(activityrules::windowRefusal(refusal, rs, allowedText));
            return;
        }
        allowed = true;
    });
    return allowed;
}

void AktivitasPage::SpeedButton21Click()
{
    if (!requireDataRows(*sg_aktivitas, ctx_.messages()))
        return;
    if (!windowAllows(QStringLiteral("Gagal mengubah aktivitas terpilih"),
                      QStringLiteral("Selisih tgl diperbolehkan ubah aktivitas ")))
        return;

    const QString id = sg_aktivitas->cell(sg_aktivitas->currentRow(), 0);
    Tfu_aktivitas dialog(ctx_);
    bool open = false;
    Envelope(ctx_).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_aktivitas_tampil_data_by_id`(:var_id)"),
                                        {{QStringLiteral("var_id"), id}});
        if (rs.recordCount() == 0) {
            ctx_.messages().error(QStringLiteral("Aktivitas terpilih tidak tersedia di database kinerja."));
            return;
        }
        if (rs.text(0, QStringLiteral("status")) != QLatin1String("0")) {
            ctx_.messages().error(QStringLiteral("Aktivitas terpilih tidak bisa diubah karena sudah diverifikasi!"));
            return;
        }
        dialog.fu_aktivitasJudul->setCaption(QStringLiteral("Ubah aktivitas"));
        dialog.kode_aktivitas = rs.text(0, 0);
        dialog.setActivity(rs.text(0, 20), rs.text(0, 4), rs.text(0, 5), rs.text(0, 6),
                           rs.text(0, QStringLiteral("bobot_skr")));
        open = true;
    });
    if (!open)
        return;
    ctx_.dialogs().exec(dialog);
    xAktivitasTampilDataClick();
}

void AktivitasPage::SpeedButton3Click()
{
    if (!requireDataRows(*sg_aktivitas, ctx_.messages()))
        return;
    if (!windowAllows(QStringLiteral("Gagal menghapus aktivitas terpilih"),
                      QStringLiteral("Selisih tgl diperbolehkan hapus aktivitas ")))
        return;

    const QString id = sg_aktivitas->cell(sg_aktivitas->currentRow(), 0);
    bool unverified = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            unverified = q.open(QStringLiteral("CALL `kinerja_aktivitas_status_verifikasi_cek`(:var_id)"),
                                {{QStringLiteral("var_id"), id}})
                             .first(0) == QLatin1String("0");
        }))
        return;
    if (!unverified) {
        ctx_.messages().error(QStringLiteral("Data aktivitas harian yang sudah diverifikasi tidak bisa dihapus!\r\r"
                                              "Silahkan dikoordinasikan dengan atasan langsung."));
        return;
    }
    if (!ctx_.messages().confirm(QStringLiteral("Hapus aktivitas terpilih?")))
        return;
    if (!Envelope(ctx_).retryOnConflict().run([&](db::Query& q) {
            q.exec(QStringLiteral("CALL `kinerja_aktivitas_hapus`(:var_id)"), {{QStringLiteral("var_id"), id}});
        }))
        return;
    ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDihapus));
    xAktivitasTampilDataClick();
}

void AktivitasPage::xAktivitasInfoClick()
{
    if (!hasDataRows()) {
        ctx_.messages().information(QStringLiteral("Tidak ada aktivitas yang dipilih!"));
        return;
    }
    Tfaktivitas_info info(ctx_);
    const int r = sg_aktivitas->currentRow();
    info.fill(sg_aktivitas->cell(r, 3), sg_aktivitas->cell(r, 4), sg_aktivitas->cell(r, 5), sg_aktivitas->cell(r, 6),
              sg_aktivitas->cell(r, 9), sg_aktivitas->cell(r, 10), sg_aktivitas->cell(r, 11),
              sg_aktivitas->cell(r, 12));
    info.setRejectionReason(sg_aktivitas->cell(r, kColReason));
    ctx_.dialogs().exec(info);
}

void AktivitasPage::CetakLaporan1Click()
{
    openMonthlyReport(ctx_, ctx_.session().nip(), ctx_.session().nama(), xAktivitasTanggalAwal->date());
}
