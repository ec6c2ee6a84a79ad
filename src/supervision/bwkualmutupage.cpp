#include "bwkualmutupage.h"

#include "uu_kualmutu.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The design widths, widened where the font in use would cut a NIP or a
// caption.
std::vector<GridColumn> listColumns(const StringGrid& g)
{
    const int nip = g.fitted(120, QStringLiteral("000000000000000000"));
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("Periode"), g.fitted(60, QStringLiteral("Periode")), QStringLiteral("periode")),
        GridColumn::field(QStringLiteral("NIP"), nip, QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama Lengkap"), 300, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Ketepatan"), g.fitted(60, QStringLiteral("Ketepatan")), QStringLiteral("ketepatanx")),
        GridColumn::field(QStringLiteral("Kecepatan"), g.fitted(60, QStringLiteral("Kecepatan")), QStringLiteral("kecepatanx")),
        GridColumn::field(QStringLiteral("NIP Penilai"), nip, QStringLiteral("nip_penilai")),
    };
}

QPushButton* button(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(std::max(90, b->sizeHint().width() + 16));
    return b;
}

const QColor kGreen(0x00, 0x80, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);

} // namespace

BwKualMutuPage::BwKualMutuPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xBwKualMutu"), QStringLiteral("xBwKualMutuJudul"))
{
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), this);
    filter->setMinimumHeight(100);
    auto* fl = new QHBoxLayout(filter);
    SpeedButton6 = button("SpeedButton6", "Back", filter);
    btKualMutuTampilData = button("btKualMutuTampilData", "Tampilkan Data", filter);
    Label29 = new QLabel(QStringLiteral("Jumlah data : 0"), filter);
    Label29->setObjectName(QStringLiteral("Label29"));
    // Kept from the form, hidden: nothing reads them.
    Label85 = new QLabel(QStringLiteral("Jenis Data"), filter);
    Label85->setObjectName(QStringLiteral("Label85"));
    CheckBox9 = new QCheckBox(QStringLiteral("Dinilai Saya"), filter);
    CheckBox9->setObjectName(QStringLiteral("CheckBox9"));
    CheckBox10 = new QCheckBox(QStringLiteral("Dinilai Pejabat Lain"), filter);
    CheckBox10->setObjectName(QStringLiteral("CheckBox10"));
    for (QWidget* w : std::initializer_list<QWidget*>{Label85, CheckBox9, CheckBox10})
        w->setVisible(false);
    fl->addWidget(SpeedButton6);
    fl->addSpacing(24);
    fl->addWidget(btKualMutuTampilData);
    fl->addSpacing(12);
    fl->addWidget(Label29);
    fl->addWidget(Label85);
    fl->addWidget(CheckBox9);
    fl->addWidget(CheckBox10);
    fl->addStretch(1);
    body()->addWidget(filter);

    auto* data = new QGroupBox(QStringLiteral("[ Data Kualitas Mutu ]"), this);
    auto* dl = new QVBoxLayout(data);
    auto* statusRow = new QHBoxLayout;
    statusRow->setSpacing(0);
    SpeedButton4 = button("SpeedButton4", "Nilai Kualitas Mutu", data);
    SpeedButton4->setMinimumSize(137, 27);
    lbKualMutuStatus = new QLabel(data);
    lbKualMutuStatus->setObjectName(QStringLiteral("lbKualMutuStatus"));
    lbKualMutuStatus->setFixedHeight(32);
    lbKualMutuStatus->setAlignment(Qt::AlignCenter);
    lbKualMutuStatus->setAutoFillBackground(true);
    QFont bold = lbKualMutuStatus->font();
    bold.setBold(true);
    lbKualMutuStatus->setFont(bold);
    statusRow->addWidget(SpeedButton4);
    statusRow->addSpacing(6);
    statusRow->addWidget(lbKualMutuStatus, 1);
    dl->addLayout(statusRow);
    sg_kualMutu = new StringGrid(data);
    sg_kualMutu->setObjectName(QStringLiteral("sg_kualMutu"));
    sg_kualMutu->setElasticColumns({3}, 150); // the name gives way, never a grade or a NIP
    dl->addWidget(sg_kualMutu, 1);
    body()->addWidget(data, 1);

    connect(btKualMutuTampilData, &QPushButton::clicked, this, &BwKualMutuPage::btKualMutuTampilDataClick);
    connect(SpeedButton4, &QPushButton::clicked, this, &BwKualMutuPage::SpeedButton4Click);
}

void BwKualMutuPage::openFor(const QString& nip, const QString& nama)
{
    nip_ = nip;
    nama_ = nama;
    // This page's header runs the other way round; height and font stay.
    const HeaderLook look = ctx_.headerLook();
    header()->setColors(look.to, look.from);
    header()->setCaption(QStringLiteral("Kualitas Mutu a.n. ") + nama);
    btKualMutuTampilDataClick();
    ctx_.showPage(this);
}

void BwKualMutuPage::showStatus(const QString& caption, const QColor& colour)
{
    lbKualMutuStatus->setText(caption);
    QPalette pal = lbKualMutuStatus->palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::WindowText, Qt::white);
    lbKualMutuStatus->setPalette(pal);
}

void BwKualMutuPage::btKualMutuTampilDataClick()
{
    const bool listed = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs =
            q.open(QStringLiteral("CALL `kinerja_show_kualitas_mutu`(:var_nip_penilai, :var_nip_bawahan)"),
                   {{QStringLiteral("var_nip_penilai"), ctx_.session().nip()},
                    {QStringLiteral("var_nip_bawahan"), nip_}});
        // A bare number here, unlike the other lists.
        Label29->setText(QString::number(rs.recordCount()));
        fillGrid(*sg_kualMutu, std::move(rs), listColumns(*sg_kualMutu));
    });
    if (!listed)
        return;

    QString periode;
    bool assessed = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_show_kualitas_mutu_status`(:var_nip)"),
                                            {{QStringLiteral("var_nip"), nip_}});
            assessed = rs.recordCount() > 0;
            periode = rs.first(QStringLiteral("periode_status"));
        }))
        return;
    if (assessed)
        showStatus(QStringLiteral("Kualitas Mutu periode ") + periode + QStringLiteral(" sudah dilakukan penilaian!"),
                   kGreen);
    else
        showStatus(QStringLiteral("BELUM DILAKUKAN PENILAIAN KUALITAS MUTU UNTUK PERIODE INI!"), kRed);
}

void BwKualMutuPage::SpeedButton4Click()
{
    if (nip_.isEmpty()) {
        ctx_.messages().warning(QString::fromUtf8(stdmsg::TidakAdaDipilih));
        return;
    }
    Session& s = ctx_.session();
    if (s.st_aktivitas_bawahan == QLatin1String("B2")) {
        ctx_.messages().information(QStringLiteral(
            "Kualitas mutu hanya bisa diberikan kepada bawahan langsung (Bawahan definitif maupun bawahan Plt) !"));
        return;
    }

    bool open = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            open = q.open(QStringLiteral("CALL `kinerja_cek_waktu_kualmutu`()")).first(QStringLiteral("status_kualmutu")) !=
                   QLatin1String("tidak");
        }))
        return;
    if (!open) {
        ctx_.messages().warning(QStringLiteral("Saat ini bukan periode penilaian kualitas mutu bawahan!"));
        return;
    }

    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_cek_periode_kual_mutu`()"));
            const QString nilai = rs.first(QStringLiteral("nilai"));
            const QString nilaif = rs.first(QStringLiteral("nilaif"));
            s.periodex = nilai;
            s.periodef = nilaif;
        }))
        return;

    QString progress;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_progress_get`(:var_periodex,:var_nip)"),
                                            {{QStringLiteral("var_periodex"), s.periodex},
                                             {QStringLiteral("var_nip"), nip_}});
            // No figure yet for the month: nothing recognised, as the server
            // counts it when it checks the grades.
            progress = rs.recordCount() > 0 ? rs.text(0, QStringLiteral("progress_diakui_x")) : QStringLiteral("0");
        }))
        return;

    // The existing assessment is read first and the connection closed; the
    // dialog then runs without a connection held open.
    bool exists = false;
    QString id;
    QString ketepatan;
    QString kecepatan;
    long long ketepatanPos = 0;
    long long kecepatanPos = 0;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_show_kualitas_mutu_status`(:var_nip)"),
                                            {{QStringLiteral("var_nip"), nip_}});
            if (rs.recordCount() == 0)
                return;
            id = rs.text(0, QStringLiteral("id"));
            ketepatan = rs.text(0, QStringLiteral("ketepatan"));
            kecepatan = rs.text(0, QStringLiteral("kecepatan"));
            ketepatanPos = rs.number(0, rs.requireColumn(QStringLiteral("ketepatan")));
            kecepatanPos = rs.number(0, rs.requireColumn(QStringLiteral("kecepatan")));
            exists = true;
        }))
        return;

    if (exists && !ctx_.messages().confirm(QStringLiteral("Penilaian kualitas mutu periode ") + s.periodef +
                                           QStringLiteral(" sudah diberikan.\rLakukan update nilai?")))
        return;

    Tfu_kualmutu dialog(ctx_, nip_, nama_);
    dialog.lbProgress->setText(progress);
    if (!exists) {
        dialog.fu_kualmutu_judul->setCaption(QStringLiteral("Input nilai kualitas mutu periode ") + s.periodef +
                                             QStringLiteral(" a.n. ") + nama_ + QStringLiteral("."));
        dialog.status_nilai = QStringLiteral("Insert");
    } else {
        dialog.fu_kualmutu_judul->setCaption(QStringLiteral("Update nilai kualitas mutu periode ") + s.periodef +
                                             QStringLiteral(" a.n. ") + nama_ + QStringLiteral("."));
        dialog.status_nilai = QStringLiteral("Update");
        dialog.idkualmutu = id;
        dialog.lbKetepatan->setText(ketepatan);
        dialog.lbKecepatan->setText(kecepatan);
        dialog.tbKetepatan->setValue(int(std::clamp(ketepatanPos, 0LL, 100LL)));
        dialog.tbKecepatan->setValue(int(std::clamp(kecepatanPos, 0LL, 100LL)));
    }
    connect(&dialog, &Tfu_kualmutu::saved, this, &BwKualMutuPage::btKualMutuTampilDataClick);
    ctx_.dialogs().exec(dialog);
}
