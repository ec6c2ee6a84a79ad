#include "dashboardpage.h"

#include "profilpage.h"
#include "u_rasioAK.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <iterator>

namespace {

const char* const kProfileCaptions[] = {
    "",
    "Nama Lengkap",
    "NIP",
    "Jenis Jabatan",
    "Nama Jabatan",
    "Nama SKPD",
    "Nama Unit",
    "Nama Atasan",
    "Jml. Tugas Tambahan",
    "Status PLT/PLH",
    "Nama Jabatan PLT/PLH",
    "Status Tugas Sampiran",
    "Nama Tugas Sampiran",
    "Jml. Bawahan Langsung",
    "Jml. Bawahan 2 Tingkat",
    "Klasifikasi Jabatan",
    "Kode Klasifikasi Jabatan",
};

// Source column of each profile row 1..12, 15, 16 (rows 13 and 14 come from
// the subordinate counts).
const char* const kProfileColumns[] = {
    nullptr,
    "nama_lengkap",
    "nip",
    "jenis_jabatan_id",
    "nama_jabatan",
    "nama_induk",
    "nama_unit",
    "nama_lengkap_atasan",
    "jml_tugas_tambahan",
    "jenis_plt",
    "nama_jabatan_plt",
    "jenis_sampiran",
    "nama_jabatan_sampiran",
    nullptr,
    nullptr,
    "klasifikasi_jabatan",
    "kode_klasifikasi_jabatan",
};

constexpr int kProfileRows = int(std::size(kProfileCaptions));
static_assert(std::size(kProfileColumns) == std::size(kProfileCaptions));

QLabel* text(const QString& t, QWidget* parent, bool bold = false, int pixelSize = 0, const char* color = nullptr)
{
    auto* l = new QLabel(t, parent);
    QFont f = l->font();
    f.setBold(bold);
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    l->setFont(f);
    if (color)
        l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    return l;
}

QLabel* note(const QString& t, QWidget* parent)
{
    QLabel* l = text(t, parent, false, 12, "#808080");
    l->setWordWrap(true);
    return l;
}

DashboardPage::Gauge gauge(const QString& name, const QString& labelName, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFixedHeight(16);
    bar->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #B8A5C8; border-radius: 4px; background: #F3EEF7; }"
        "QProgressBar::chunk { border-radius: 3px; background: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
        " stop:0 #9932CC, stop:1 #C77DEB); }"));
    QLabel* label = text(QStringLiteral("0 %"), parent, true);
    label->setObjectName(labelName);
    label->setMinimumWidth(70);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return {bar, label};
}

void addGaugeRow(QGridLayout* grid, int row, const QString& caption, const DashboardPage::Gauge& g, QWidget* parent)
{
    grid->addWidget(text(caption, parent), row, 0);
    grid->addWidget(g.bar, row, 1);
    grid->addWidget(g.label, row, 2);
}

void setGauge(const DashboardPage::Gauge& g, const db::ResultSet& rs, const QString& barColumn,
              const QString& textColumn, const QString& suffix = QStringLiteral(" %"))
{
    g.bar->setValue(int(std::clamp<long long>(rs.number(0, barColumn), 0, 100)));
    g.label->setText(rs.text(0, textColumn) + suffix);
}

void zeroGauge(const DashboardPage::Gauge& g, const QString& label = QStringLiteral("0 %"))
{
    g.bar->setValue(0);
    g.label->setText(label);
}

} // namespace

DashboardPage::DashboardPage(PageContext& ctx, ProfilPage& profil)
    : Page(ctx, QStringLiteral("xDashboard"), QStringLiteral("xDashboardJudul")), profil_(profil)
{
    header()->setCaption(QStringLiteral("Dashboard"));
    auto* content = new QWidget(this);
    auto* v = new QVBoxLayout(content);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(10);
    body()->addWidget(content);

    // Identity box.
    auto* identity = new QGroupBox(QStringLiteral("[ Identitas PNS ]"), content);
    auto* idGrid = new QGridLayout(identity);
    lDsNIP = text(QStringLiteral("-"), identity);
    lDsNama = text(QStringLiteral("-"), identity, true);
    lDsJabatan = text(QStringLiteral("-"), identity);
    lDsJJabaatan = text(QStringLiteral("-"), identity);
    lDsNIP->setObjectName(QStringLiteral("lDsNIP"));
    lDsNama->setObjectName(QStringLiteral("lDsNama"));
    lDsJabatan->setObjectName(QStringLiteral("lDsJabatan"));
    lDsJJabaatan->setObjectName(QStringLiteral("lDsJJabaatan"));
    const std::pair<const char*, QLabel*> idRows[] = {
        {"NIP", lDsNIP}, {"Nama Lengkap", lDsNama}, {"Jabatan", lDsJabatan}, {"Jenis Jabatan", lDsJJabaatan}};
    int r = 0;
    for (const auto& [caption, label] : idRows) {
        idGrid->addWidget(text(QString::fromUtf8(caption), identity), r, 0);
        idGrid->addWidget(text(QStringLiteral(":"), identity), r, 1, Qt::AlignLeft);
        idGrid->addWidget(label, r++, 2);
    }
    idGrid->setColumnStretch(2, 1);
    v->addWidget(identity);

    btDsBawahanMenunggu = new QPushButton(content);
    btDsBawahanMenunggu->setObjectName(QStringLiteral("btDsBawahanMenunggu"));
    btDsBawahanMenunggu->setFlat(true);
    btDsBawahanMenunggu->setCursor(Qt::PointingHandCursor);
    btDsBawahanMenunggu->setToolTip(QStringLiteral("Buka Data Bawahan"));
    btDsBawahanMenunggu->setVisible(false);
    v->addWidget(btDsBawahanMenunggu);

    // Progress box.
    auto* progress = new QGroupBox(QStringLiteral("[ Progress Aktivitas Harian ]"), content);
    auto* pv = new QVBoxLayout(progress);
    auto* buttons = new QHBoxLayout;
    SpeedButton23 = new QPushButton(QStringLiteral("Refresh progress"), progress);
    SpeedButton23->setObjectName(QStringLiteral("SpeedButton23"));
    SpeedButton23->setToolTip(QStringLiteral("Refresh Data Progress Aktivitas"));
    btDashRasio = new QPushButton(QStringLiteral("Rasio Sumber AH 2"), progress);
    btDashRasio->setObjectName(QStringLiteral("btDashRasio"));
    btDashRasio->setToolTip(QStringLiteral("Rasio Sumber Aktivitas Kinerja"));
    buttons->addWidget(SpeedButton23);
    buttons->addWidget(btDashRasio);
    buttons->addStretch(1);
    pv->addLayout(buttons);

    // Second-level progress.
    pv->addWidget(text(QStringLiteral("Progress Aktivitas Harian 2"), progress, true, 15));
    auto* total = new QHBoxLayout;
    gaiAKTotal = gauge(QStringLiteral("gaiAKTotal"), QStringLiteral("gaiAKTotalLabel"), progress);
    gaiAKTotal.label->setText(QStringLiteral("0"));
    QFont big = gaiAKTotal.label->font();
    big.setPixelSize(44);
    gaiAKTotal.label->setFont(big);
    gaiAKTotal.label->setStyleSheet(QStringLiteral("color: #9932CC;"));
    gaiAKTotal.label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QLabel* percent = text(QStringLiteral("%"), progress, true, 30, "#9932CC");
    total->addWidget(gaiAKTotal.label);
    total->addWidget(percent);
    total->addStretch(1);
    pv->addLayout(total);
    gaiAKTotal.bar->setFixedHeight(22);
    pv->addWidget(gaiAKTotal.bar);
    pv->addWidget(text(QStringLiteral("Rincian sumber Aktivitas Harian 2"), progress, true));
    auto* sources = new QGridLayout;
    sources->setColumnStretch(1, 1);
    gaiAKI = gauge(QStringLiteral("gaiAKI"), QStringLiteral("gaiAKILabel"), progress);
    gaiAKB = gauge(QStringLiteral("gaiAKB"), QStringLiteral("gaiAKBLabel"), progress);
    gaiAKB2 = gauge(QStringLiteral("gaiAKB2"), QStringLiteral("gaiAKB2Label"), progress);
    addGaugeRow(sources, 0, QStringLiteral("Capaian aktivitas harian individu "), gaiAKI, progress);
    addGaugeRow(sources, 1, QStringLiteral("Rerata aktivitas harian bawahan langsung "), gaiAKB, progress);
    addGaugeRow(sources, 2, QStringLiteral("Rerata aktivitas harian bawahan 2 tingkat "), gaiAKB2, progress);
    pv->addLayout(sources);
    pv->addWidget(note(QStringLiteral("* Aktifitas harian 2 adalah capaian progress aktivitas harian masing-masing PNS "
                                      "yang sudah dipengaruhi oleh capaian progress aktivitas harian bawahan langsung "
                                      "dan bawahan dua tingkat"),
                       progress));
    pv->addWidget(note(QStringLiteral("* progress aktivitas akan di-rekap di server setiap satu jam  pada menit pertama"),
                       progress));
    lDsProgressTime = text(QStringLiteral("Waktu ambil data progress terakhir : 0000-00-00 00:00:00 WIB"), progress, true,
                           0, "#808080");
    lDsProgressTime->setObjectName(QStringLiteral("lDsProgressTime"));
    pv->addWidget(lDsProgressTime);

    auto* line = new QFrame(progress);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: #D3D3D3;"));
    pv->addWidget(line);

    // Own progress, this month and the previous one.
    pv->addWidget(text(QStringLiteral("Progress Aktivitas Harian 1"), progress, true, 15));
    auto* months = new QHBoxLayout;
    auto column = [&](const QString& title, const QString& suffix, const QString& labelSuffix,
                      std::array<Gauge*, 5> g) {
        auto* box = new QWidget(progress);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setColumnStretch(1, 1);
        grid->addWidget(text(title, box, true), 0, 0, 1, 3);
        const char* names[] = {"gaiDiakui", "gaiBulanan", "gaiUtama", "gaiTambahan", "gaiLainnya"};
        const char* captions[] = {"Diakui", "Aktivitas Keseluruhan ", "Utama.", "Tambahan.", "Lainnya."};
        for (int i = 0; i < 5; ++i) {
            const QString n = QString::fromUtf8(names[i]) + suffix;
            *g[size_t(i)] = gauge(n, n + labelSuffix, box);
            addGaugeRow(grid, i + 1, QString::fromUtf8(captions[i]), *g[size_t(i)], box);
        }
        g[0]->bar->setFixedHeight(22);
        return box;
    };
    months->addWidget(column(QStringLiteral("Progress bulan berjalan"), QString(), QStringLiteral("Label"),
                             {&gaiDiakui, &gaiBulanan, &gaiUtama, &gaiTambahan, &gaiLainnya}),
                      1);
    auto* divider = new QFrame(progress);
    divider->setFrameShape(QFrame::VLine);
    divider->setStyleSheet(QStringLiteral("color: #D3D3D3;"));
    months->addWidget(divider);
    months->addWidget(column(QStringLiteral("Progress bulan Sebelumnya"), QStringLiteral("2"), QStringLiteral("label"),
                             {&gaiDiakui2, &gaiBulanan2, &gaiUtama2, &gaiTambahan2, &gaiLainnya2}),
                      1);
    pv->addLayout(months);
    pv->addWidget(note(QStringLiteral("* Aktifitas harian 1 adalah capaian progress aktivitas harian murni masing-masing "
                                      "PNS tanpa dipengaruhi oleh capaian progress aktivitas harian bawahan langsung "
                                      "dan bawahan dua tingkat"),
                       progress));
    v->addWidget(progress);
    v->addStretch(1);

    Memo3 = new QPlainTextEdit(content);
    Memo3->setObjectName(QStringLiteral("Memo3"));
    Memo3->setVisible(false);

    connect(SpeedButton23, &QPushButton::clicked, this, &DashboardPage::SpeedButton23Click);
    connect(btDashRasio, &QPushButton::clicked, this, &DashboardPage::btDashRasioClick);
    connect(btDsBawahanMenunggu, &QPushButton::clicked, this, &DashboardPage::subordinatesRequested);
}

void DashboardPage::trace(const QString& what)
{
    Memo3->appendPlainText(QLocale().toString(ctx_.clock().now(), QLocale::ShortFormat) + what);
}

void DashboardPage::dxTarvesaItems0Click()
{
    ctx_.styleHeader(header(), QStringLiteral("Dashboard"));
    Memo3->clear();
    trace(QStringLiteral(" load profil"));

    Session& session = ctx_.session();
    const QString nip = session.nipLogin;
    // The rows are rebuilt from nothing, so a load that fails leaves an
    // empty profile, never the one of an earlier login.
    session.clearProfile();
    QVector<QStringList>& rows = session.profile;
    // The profile page follows every step, also one that fails.
    struct ShowProfile {
        ProfilPage& page;
        ~ShowProfile() { page.showProfile(); }
    } follow{profil_};

    // The line of the earlier load goes until this one finds the user leads.
    btDsBawahanMenunggu->setVisible(false);
    leads_ = false;
    const bool profile = loadStep([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_load_profil`(:var_nip)"),
                                        {{QStringLiteral("var_nip"), nip}});
        ctx_.showIdentity(rs.first(QStringLiteral("nama_lengkap")), rs.first(QStringLiteral("nip")),
                          rs.first(QStringLiteral("nama_jabatan")));
        rows.resize(kProfileRows);
        for (int row = 0; row < kProfileRows; ++row)
            rows[row] = {QString::fromUtf8(kProfileCaptions[row]),
                         kProfileColumns[row] ? rs.first(QString::fromUtf8(kProfileColumns[row])) : QString()};

        leads_ = rs.first(QStringLiteral("jenis_jabatan_id")) == QLatin1String("struktural") ||
                 rs.first(QStringLiteral("jenis_plt")) == QLatin1String("Ya") ||
                 rs.first(QStringLiteral("jenis_sampiran")) == QLatin1String("Ya");
        ctx_.setSubordinatesEnabled(leads_);

        lDsNIP->setText(rs.first(QStringLiteral("nip")));
        lDsNama->setText(rs.first(QStringLiteral("nama_lengkap")));
        lDsJabatan->setText(rs.first(QStringLiteral("nama_jabatan")));
        lDsJJabaatan->setText(rs.first(QStringLiteral("jenis_jabatan_id")));
        // an older server sends no such column: no news of maintenance
        ctx_.showMaintenance(rs.columnIndex(QStringLiteral("maintenance")) >= 0
                             && rs.first(QStringLiteral("maintenance")) == QLatin1String("1"));
    });
    if (!profile)
        return;
    trace(QStringLiteral(" load bw1"));
    if (!loadStep([&](db::Query& q) {
            rows[13][1] = q.open(QStringLiteral("CALL `kinerja_bawahan_langsung_jumlah`(:var_nip)"),
                                 {{QStringLiteral("var_nip"), nip}})
                              .first(QStringLiteral("jumlah"));
        }))
        return;
    trace(QStringLiteral(" load bw2"));
    if (!loadStep([&](db::Query& q) {
            rows[14][1] = q.open(QStringLiteral("CALL `kinerja_bawahan_2tk_jumlah`(:var_nip)"),
                                 {{QStringLiteral("var_nip"), nip}})
                              .first(QStringLiteral("jumlah"));
        }))
        return;
    trace(QStringLiteral(" hitung pr start"));
    ctx_.showPage(this);
    loadWaitingWork();
}

bool DashboardPage::loadStep(const std::function<void(db::Query&)>& body)
{
    return Envelope(ctx_)
        .onConnectFailure(Messages::Kind::Information, QString::fromUtf8(stdmsg::GagalTerhubung))
        .onFailure(Messages::Kind::Information, QString::fromUtf8(stdmsg::GagalMengambil))
        .run(body);
}

void DashboardPage::SpeedButton23Click()
{
    LoadProgress();
    // The line counts work that the same hour's approvals change.
    loadWaitingWork();
}

bool DashboardPage::loadWaitingWork()
{
    if (!leads_)
        return true;
    return loadStep([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_bawahan_menunggu`(:var_nip)"),
                                        {{QStringLiteral("var_nip"), ctx_.session().nipLogin}});
        const QString soon = rs.first(QStringLiteral("otomatis_sehari"));
        btDsBawahanMenunggu->setText(
            QStringLiteral("Aktivitas bawahan menunggu verifikasi: ") + rs.first(QStringLiteral("menunggu_verifikasi")) +
            QStringLiteral("  \u00B7  menunggu validasi: ") + rs.first(QStringLiteral("menunggu_validasi")) +
            QStringLiteral("  \u00B7  disetujui sistem dalam sehari: ") + soon +
            QStringLiteral("   \u203A Data Bawahan"));
        // Bold and red while the system is about to take work out of the
        // superior's hands (a style sheet overrides setFont, so the weight
        // is the style sheet's own).
        const bool due = soon != QLatin1String("0") && !soon.isEmpty();
        btDsBawahanMenunggu->setStyleSheet(
            QStringLiteral("QPushButton { text-align: left; color: %1; padding: 4px 6px; border: 1px solid "
                           "#D8C4E6; border-radius: 3px; background: #F7F1FA; font-weight: %2; }"
                           "QPushButton:hover { background: #EFE3F6; }")
                .arg(due ? QStringLiteral("#B0301E") : QStringLiteral("#9932CC"),
                     due ? QStringLiteral("bold") : QStringLiteral("normal")));
        btDsBawahanMenunggu->setVisible(true);
    });
}

void DashboardPage::ResetProgressGauges()
{
    for (const Gauge* g : {&gaiDiakui, &gaiBulanan, &gaiUtama, &gaiTambahan, &gaiLainnya, &gaiDiakui2, &gaiBulanan2,
                           &gaiUtama2, &gaiTambahan2, &gaiLainnya2, &gaiAKI, &gaiAKB, &gaiAKB2})
        zeroGauge(*g);
    zeroGauge(gaiAKTotal, QStringLiteral("0"));
}

bool DashboardPage::loadMonth(const QString& periodSql, const std::array<Gauge*, 5>& gauges, bool current)
{
    return Envelope(ctx_).run([&](db::Query& q) {
        const QString period = q.open(periodSql).first(0);
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_progress_get`(:var_periode, :var_nip)"),
                                        {{QStringLiteral("var_periode"), period},
                                         {QStringLiteral("var_nip"), ctx_.session().nipLogin}});
        if (rs.recordCount() > 0) {
            setGauge(*gauges[0], rs, QStringLiteral("persen_diakui_r"), QStringLiteral("progress_diakui_x"));
            setGauge(*gauges[1], rs, QStringLiteral("persen_all_r"), QStringLiteral("progress_all_x"));
            setGauge(*gauges[2], rs, QStringLiteral("persen_utama_r"), QStringLiteral("persen_utama_x"));
            setGauge(*gauges[3], rs, QStringLiteral("persen_tambahan_r"), QStringLiteral("persen_tambahan_x"));
            setGauge(*gauges[4], rs, QStringLiteral("persen_lainnya_r"), QStringLiteral("persen_lainnya_x"));
            if (current) {
                // Until the second-level step replaces it.
                setGauge(gaiAKI, rs, QStringLiteral("persen_diakui_r"), QStringLiteral("progress_diakui_x"));
                lDsProgressTime->setText(QStringLiteral("Waktu ambil data progress terakhir : ") +
                                         rs.text(0, QStringLiteral("tanggal_progress")) + QStringLiteral(" WIB"));
            }
        } else {
            for (const Gauge* g : gauges)
                zeroGauge(*g);
            if (current)
                zeroGauge(gaiAKI);
        }
    });
}

void DashboardPage::LoadProgress()
{
    if (!loadMonth(QStringLiteral("SELECT DATE_FORMAT(NOW(),'%Y%m') x "),
                   {&gaiDiakui, &gaiBulanan, &gaiUtama, &gaiTambahan, &gaiLainnya}, true))
        return;
    trace(QStringLiteral(" progress bulan ini ok "));
    if (!loadMonth(QStringLiteral("SELECT DATE_FORMAT(date_sub(NOW(), interval 1 month),'%Y%m') x "),
                   {&gaiDiakui2, &gaiBulanan2, &gaiUtama2, &gaiTambahan2, &gaiLainnya2}, false))
        return;
    trace(QStringLiteral(" progress bulan lalu ok "));
    const bool ah2 = Envelope(ctx_).run([&](db::Query& q) {
        const QString period = q.open(QStringLiteral("SELECT DATE_FORMAT(NOW(),'%Y%m') x ")).first(0);
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_progress_ah2`(:var_periode, :var_nip)"),
                                        {{QStringLiteral("var_periode"), period},
                                         {QStringLiteral("var_nip"), ctx_.session().nipLogin}});
        if (rs.recordCount() > 0) {
            setGauge(gaiAKI, rs, QStringLiteral("p1"), QStringLiteral("p1"));
            setGauge(gaiAKB, rs, QStringLiteral("p2"), QStringLiteral("p2"));
            setGauge(gaiAKB2, rs, QStringLiteral("p3"), QStringLiteral("p3"));
            setGauge(gaiAKTotal, rs, QStringLiteral("ah2"), QStringLiteral("ah2"), QString());
        } else {
            zeroGauge(gaiAKI);
            zeroGauge(gaiAKB);
            zeroGauge(gaiAKB2);
            zeroGauge(gaiAKTotal, QStringLiteral("0"));
        }
    });
    if (ah2)
        trace(QStringLiteral(" progress ah2 ok "));
}

void DashboardPage::btDashRasioClick()
{
    Tf_rasioAK::open(ctx_);
}
