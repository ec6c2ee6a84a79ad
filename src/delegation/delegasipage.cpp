#include "delegasipage.h"

#include "ut_delegasi.h"
#include "uu_delegasi.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/keyfilters.h"
#include "ui/stringgrid.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kAdminSystem = QStringLiteral("Admin System");
const QString kAdminSkpd = QStringLiteral("Admin SKPD");

// The design widths, widened where the grid's font would cut a NIP, a date
// or a state.
std::vector<GridColumn> listColumns(const StringGrid& g)
{
    const QString nip = QStringLiteral("000000000000000000");
    const QString date = QStringLiteral("0000-00-00");
    return {
        GridColumn::field(QStringLiteral("id"), 0, QStringLiteral("id")),
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(135, nip), QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama Lengkap"), 220, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Jabatan Definitif"), 200, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Unit Definitif"), 200, QStringLiteral("nama_unit_definitif")),
        GridColumn::field(QStringLiteral("Unit Delegasi"), 200, QStringLiteral("nama_unit_delegasi")),
        GridColumn::field(QStringLiteral("Tgl. Mulai"), g.fitted(75, date), QStringLiteral("date_start")),
        GridColumn::field(QStringLiteral("Tgl. Akhir"), g.fitted(75, date), QStringLiteral("date_end")),
        GridColumn::field(QStringLiteral("Status Aktif"), g.fitted(100, QStringLiteral("TIDAK AKTIF")),
                          QStringLiteral("status_aktif")),
        GridColumn::field(QStringLiteral("Created By"), g.fitted(135, nip), QStringLiteral("created_by")),
    };
}

QPushButton* button(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumSize(110, 28);
    return b;
}

QLabel* note(const char* name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setWordWrap(true);
    return l;
}

} // namespace

bool DelegasiPage::mayChange(const QString& level)
{
    return level == kAdminSystem || level == kAdminSkpd;
}

DelegasiPage::DelegasiPage(PageContext& ctx) : Page(ctx, QStringLiteral("xDelegasi"), QStringLiteral("xDelegasiJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    auto* fl = new QGridLayout(filter);
    fl->addWidget(new QLabel(QStringLiteral("Nama PNS"), filter), 0, 0);
    xDelegasiNama = new QLineEdit(filter);
    xDelegasiNama->setObjectName(QStringLiteral("xDelegasiNama"));
    xDelegasiNama->setMinimumWidth(260);
    ignoreEnter(xDelegasiNama);
    fl->addWidget(xDelegasiNama, 0, 1);
    xDelegasiTampilData = button("xDelegasiTampilData", "Tampilkan Data", filter);
    fl->addWidget(xDelegasiTampilData, 0, 2);
    xDelegasiJumlah = new QLabel(QStringLiteral("Jumlah data : 0"), filter);
    xDelegasiJumlah->setObjectName(QStringLiteral("xDelegasiJumlah"));
    fl->addWidget(xDelegasiJumlah, 0, 3);
    auto* hint = new QLabel(QStringLiteral("* isikan dengan sebagian teks dari NIP/Nama PNS yang akan dicari "), filter);
    hint->setStyleSheet(QStringLiteral("color: #808080;"));
    fl->addWidget(hint, 1, 1, 1, 3);
    auto* line = new QFrame(filter);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    fl->addWidget(line, 2, 0, 1, 5);
    fl->addWidget(new QLabel(QStringLiteral("Catatan :"), filter), 3, 0, Qt::AlignTop);
    xDelegasiCatatan1 = note("xDelegasiCatatan1", filter);
    xDelegasiCatatan2 = note("xDelegasiCatatan2", filter);
    fl->addWidget(xDelegasiCatatan1, 3, 1, 1, 4);
    fl->addWidget(xDelegasiCatatan2, 4, 1, 1, 4);
    fl->setColumnStretch(4, 1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Delegasi List ]"), this);
    auto* dl = new QVBoxLayout(data);
    sg_delegasi = new StringGrid(data);
    sg_delegasi->setObjectName(QStringLiteral("sg_delegasi"));
    // The name stays whole; position and units give way first.
    sg_delegasi->setElasticColumns({3, 4, 5, 6}, 110);
    dl->addWidget(sg_delegasi, 1);
    auto* bar = new QHBoxLayout;
    SpeedButton7 = button("SpeedButton7", "Tambah", data);
    SpeedButton8 = button("SpeedButton8", "Update", data);
    bar->addWidget(SpeedButton7);
    bar->addWidget(SpeedButton8);
    bar->addStretch(1);
    dl->addLayout(bar);
    body()->addWidget(data, 1);

    connect(xDelegasiTampilData, &QPushButton::clicked, this, &DelegasiPage::xDelegasiTampilDataClick);
    connect(SpeedButton7, &QPushButton::clicked, this, &DelegasiPage::SpeedButton7Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &DelegasiPage::SpeedButton8Click);
}

bool DelegasiPage::loadNote(const QString& id, QLabel* label)
{
    return Envelope(ctx_).run([&](db::Query& q) {
        label->setText(q.open(QStringLiteral("CALL `kinerja_text_get`(:var_id)"), {{QStringLiteral("var_id"), id}})
                           .first(1));
    });
}

void DelegasiPage::dxAdminItems1Click()
{
    if (!loadNote(QStringLiteral("1"), xDelegasiCatatan1) || !loadNote(QStringLiteral("2"), xDelegasiCatatan2))
        return;
    ctx_.styleHeader(header(), QStringLiteral("Halaman Administrasi Delegasi"));
    ctx_.showPage(this);
    xDelegasiTampilDataClick();
}

void DelegasiPage::xDelegasiTampilDataClick()
{
    const Session& s = ctx_.session();
    int rows = 0;
    // Every other level is read with its own agency; the server decides
    // whether that level may read at all.
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs =
            s.levelUser == kAdminSystem
                ? q.open(QStringLiteral("CALL `kinerja_delegasi_tampil_data_all`(:var_nama)"),
                         {{QStringLiteral("var_nama"), xDelegasiNama->text()}})
                : q.open(QStringLiteral("CALL `kinerja_delegasi_tampil_data`(:var_induk, :var_nama)"),
                         {{QStringLiteral("var_induk"), s.kode_induk},
                          {QStringLiteral("var_nama"), xDelegasiNama->text()}});
        rows = rs.recordCount();
        fillGrid(*sg_delegasi, std::move(rs), listColumns(*sg_delegasi));
    });
    if (ok)
        xDelegasiJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rows));
}

bool DelegasiPage::requireChangeRight()
{
    if (mayChange(ctx_.session().levelUser))
        return true;
    ctx_.messages().information(
        QStringLiteral("Data delegasi hanya bisa ditambah atau diubah oleh Admin SKPD dan Admin System."));
    return false;
}

void DelegasiPage::SpeedButton7Click()
{
    if (!requireChangeRight())
        return;
    Tft_delegasi wizard(ctx_);
    ctx_.dialogs().exec(wizard);
}

void DelegasiPage::SpeedButton8Click()
{
    if (!requireDataRows(*sg_delegasi, ctx_.messages()) || !requireChangeRight())
        return;
    const int row = sg_delegasi->currentRow();
    if (sg_delegasi->cell(row, 9) == QLatin1String("TIDAK AKTIF")) {
        ctx_.messages().information(QStringLiteral(
            "Delegasi yang sudah tidak aktif tidak bisa diupdate kembali, silahkan buat delegasi baru!"));
        return;
    }
    Tfu_delegasi dialog(ctx_, sg_delegasi->cell(row, 2), sg_delegasi->cell(row, 3));
    ctx_.dialogs().exec(dialog);
}
