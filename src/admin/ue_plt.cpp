#include "ue_plt.h"

#include "adminlists.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/keyfilters.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct Kind {
    const char* code;
    const char* caption;
};
const Kind kKinds[] = {{"plt", "Plt (jabatan kosong)"},
                       {"plh", "Plh (pejabat berhalangan)"},
                       {"tugas-sampiran", "Kepala Sekolah / Puskesmas (tugas sampiran)"},
                       {"korwil", "Korwil"}};

const QString kIso = QStringLiteral("yyyy-MM-dd");

} // namespace

Tfe_plt::Tfe_plt(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("fe_plt"));
    setWindowTitle(QStringLiteral("Plt / Plh / KS / Kapus / Korwil"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(5, 5, 5, 10);
    fe_pltJudul = new PageHeader(this, QStringLiteral("fe_pltJudul"));
    fe_pltJudul->setColors(ctx.headerLook().from, ctx.headerLook().to);
    outer->addWidget(fe_pltJudul);

    auto* g = new QGridLayout;
    g->setContentsMargins(8, 8, 8, 0);
    g->setColumnStretch(1, 1);
    int r = 0;
    edNIP = new QLineEdit(this);
    edNIP->setObjectName(QStringLiteral("edNIP"));
    edNIP->setMaxLength(18);
    edNIP->setMaximumWidth(edNIP->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000000000")) + 16);
    digitsOnly(edNIP);
    g->addWidget(new QLabel(QStringLiteral("NIP"), this), r, 0);
    g->addWidget(edNIP, r++, 1);
    lbNama = new QLabel(this);
    lbNama->setObjectName(QStringLiteral("lbNama"));
    g->addWidget(lbNama, r++, 1);

    edCariJabatan = new QLineEdit(this);
    edCariJabatan->setObjectName(QStringLiteral("edCariJabatan"));
    edCariJabatan->setPlaceholderText(QStringLiteral("sebagian nama atau kode jabatan"));
    btCariJabatan = adminlists::button("btCariJabatan", "Cari", this, 70);
    auto* search = new QHBoxLayout;
    search->addWidget(edCariJabatan, 1);
    search->addWidget(btCariJabatan);
    cbJabatan = new QComboBox(this);
    cbJabatan->setObjectName(QStringLiteral("cbJabatan"));
    cbJabatan->setMinimumContentsLength(40);
    cbJabatan->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // A change shows the position as text where a new one is searched.
    lbJabatan = new QLabel(this);
    lbJabatan->setObjectName(QStringLiteral("lbJabatan"));
    lbJabatan->setWordWrap(true);
    auto* position = new QVBoxLayout;
    position->addLayout(search);
    position->addWidget(cbJabatan);
    position->addWidget(lbJabatan);
    g->addWidget(new QLabel(QStringLiteral("Jabatan"), this), r, 0, Qt::AlignTop);
    g->addLayout(position, r++, 1);

    rgJenis = new QGroupBox(QStringLiteral("[ jenis penugasan ]"), this);
    rgJenis->setObjectName(QStringLiteral("rgJenis"));
    auto* kl = new QVBoxLayout(rgJenis);
    kinds_ = new QButtonGroup(this);
    int id = 0;
    for (const Kind& k : kKinds) {
        auto* b = new QRadioButton(QString::fromUtf8(k.caption), rgJenis);
        b->setObjectName(QStringLiteral("rgJenis_") + QString::fromUtf8(k.code));
        b->setProperty("kode", QString::fromUtf8(k.code));
        kinds_->addButton(b, id++);
        kl->addWidget(b);
    }
    g->addWidget(rgJenis, r++, 1);

    // An assignment may be recorded for some years ahead.
    dtMulai = datePicker("dtMulai", this, ctx.clock().today(), 5);
    dtMulai->setDisplayFormat(kIso);
    g->addWidget(new QLabel(QStringLiteral("Tgl. Mulai"), this), r, 0);
    g->addWidget(dtMulai, r++, 1, Qt::AlignLeft);
    dtAkhir = datePicker("dtAkhir", this, ctx.clock().today(), 5);
    dtAkhir->setDisplayFormat(kIso);
    cbTanpaAkhir = new QCheckBox(QStringLiteral("tanpa tanggal akhir"), this);
    cbTanpaAkhir->setObjectName(QStringLiteral("cbTanpaAkhir"));
    auto* end = new QHBoxLayout;
    end->addWidget(dtAkhir);
    end->addSpacing(8);
    end->addWidget(cbTanpaAkhir);
    end->addStretch(1);
    g->addWidget(new QLabel(QStringLiteral("Tgl. Akhir"), this), r, 0);
    g->addLayout(end, r++, 1);
    cbAkhiri = new QCheckBox(QStringLiteral("Akhiri penugasan sekarang (tidak berlaku lagi mulai hari ini)"), this);
    cbAkhiri->setObjectName(QStringLiteral("cbAkhiri"));
    g->addWidget(cbAkhiri, r++, 1);
    outer->addLayout(g);

    btSimpan = adminlists::button("btSimpan", "Simpan", this);
    outer->addWidget(btSimpan, 0, Qt::AlignRight);
    outer->addStretch(1);

    onEnter(edCariJabatan, [this] { btCariJabatanClick(); });
    connect(btCariJabatan, &QPushButton::clicked, this, &Tfe_plt::btCariJabatanClick);
    connect(cbTanpaAkhir, &QCheckBox::clicked, this, &Tfe_plt::cbTanpaAkhirClick);
    connect(cbAkhiri, &QCheckBox::toggled, this, [this](bool on) {
        dtAkhir->setEnabled(!on && !cbTanpaAkhir->isChecked());
        cbTanpaAkhir->setEnabled(!on);
    });
    connect(btSimpan, &QPushButton::clicked, this, &Tfe_plt::btSimpanClick);
}

void Tfe_plt::showEvent(QShowEvent* event)
{
    fe_pltJudul->setHeaderHeight(ctx_.headerLook().height);
    fe_pltJudul->setFontSize(ctx_.headerLook().fontSize);
    QDialog::showEvent(event);
}

void Tfe_plt::tambah()
{
    id_.clear();
    fe_pltJudul->setCaption(QStringLiteral("Tambah Plt / Plh / Tugas Sampiran / Korwil"));
    edNIP->clear();
    lbNama->setVisible(false);
    lbJabatan->setVisible(false);
    cbAkhiri->setVisible(false);
    setKind(QStringLiteral("plt"));
    dtMulai->setDate(ctx_.clock().today());
    dtAkhir->setDate(ctx_.clock().today());
    cbTanpaAkhir->setChecked(true);
    cbTanpaAkhirClick();
}

void Tfe_plt::ubah(const Row& row)
{
    id_ = row.id;
    nama_ = row.nama;
    jabatanNama_ = row.jabatan;
    start_ = row.start;
    fe_pltJudul->setCaption(QStringLiteral("Ubah Penugasan a.n. ") + row.nama);
    edNIP->setText(row.nip);
    edNIP->setReadOnly(true);
    lbNama->setText(row.nama);
    for (QWidget* w : std::initializer_list<QWidget*>{edCariJabatan, btCariJabatan, cbJabatan})
        w->setVisible(false);
    lbJabatan->setText(row.jabatan + QStringLiteral("\n") + row.status);
    rgJenis->setVisible(false);
    // A stored date outside the usual years still shows as it is.
    const QDate start = QDate::fromString(row.start, kIso);
    if (start.isValid() && start < dtMulai->minimumDate())
        dtMulai->setMinimumDate(start);
    dtMulai->setDate(start);
    dtMulai->setEnabled(false);
    const QDate end = QDate::fromString(row.end, kIso);
    if (end.isValid() && end > dtAkhir->maximumDate())
        dtAkhir->setMaximumDate(end);
    cbTanpaAkhir->setChecked(!end.isValid());
    dtAkhir->setDate(end.isValid() ? end : ctx_.clock().today());
    cbTanpaAkhirClick();
}

QString Tfe_plt::kind() const
{
    QAbstractButton* b = kinds_->checkedButton();
    return b ? b->property("kode").toString() : QString();
}

void Tfe_plt::setKind(const QString& code)
{
    for (QAbstractButton* b : kinds_->buttons())
        if (b->property("kode").toString() == code)
            b->setChecked(true);
}

void Tfe_plt::cbTanpaAkhirClick()
{
    dtAkhir->setEnabled(!cbTanpaAkhir->isChecked() && !cbAkhiri->isChecked());
}

void Tfe_plt::btCariJabatanClick()
{
    Envelope(ctx_).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_plt_jabatan_cari`(:var_nama)"),
                                        {{QStringLiteral("var_nama"), edCariJabatan->text()}});
        const int kode = rs.requireColumn(QStringLiteral("kode_jabatan"));
        const int nama = rs.requireColumn(QStringLiteral("nama_jabatan"));
        const int unit = rs.requireColumn(QStringLiteral("nama_unit"));
        cbJabatan->clear();
        for (int i = 0; i < rs.recordCount(); ++i)
            cbJabatan->addItem(rs.text(i, nama) + QStringLiteral(" - ") + rs.text(i, unit), rs.text(i, kode));
    });
}

QString Tfe_plt::endText() const
{
    return cbTanpaAkhir->isChecked() ? QString() : dtAkhir->date().toString(kIso);
}

bool Tfe_plt::serverAgrees(const QString& jabatan, const QString& start, const QString& end)
{
    QString hasil;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            hasil = q.open(QStringLiteral("CALL `kinerja_plt_cek`(:var_id, :var_nip, :var_kode_jabatan, :var_jenis, "
                                          ":var_plt_start, :var_plt_end, :var_akhiri)"),
                           {{QStringLiteral("var_id"), id_},
                            {QStringLiteral("var_nip"), edNIP->text()},
                            {QStringLiteral("var_kode_jabatan"), jabatan},
                            {QStringLiteral("var_jenis"), kind()},
                            {QStringLiteral("var_plt_start"), start},
                            {QStringLiteral("var_plt_end"), end},
                            {QStringLiteral("var_akhiri"), cbAkhiri->isChecked() ? QStringLiteral("1") : QString()}})
                        .first(QStringLiteral("hasil"));
        }))
        return false;
    if (hasil == QLatin1String("OK"))
        return true;
    QString text;
    if (hasil == QLatin1String("PNS"))
        text = QStringLiteral("Tidak ada PNS aktif dengan NIP ") + edNIP->text() + QStringLiteral("!");
    else if (hasil == QLatin1String("JABATAN"))
        text = QStringLiteral("Jabatan tidak ditemukan!");
    else if (hasil == QLatin1String("SENDIRI"))
        text = QStringLiteral("Jabatan tersebut adalah jabatan definitif PNS ini sendiri!");
    else if (hasil == QLatin1String("TERISI"))
        text = QStringLiteral("Jabatan tersebut tidak kosong: masih dipegang pejabat definitif!\r"
                              "Untuk pejabat yang berhalangan, pilih Plh.");
    else if (hasil == QLatin1String("URUTAN"))
        text = QStringLiteral("Tanggal akhir tidak boleh sebelum tanggal mulai!");
    else if (hasil == QLatin1String("BENTROK"))
        text = QStringLiteral("Jabatan tersebut sudah punya penugasan jenis yang sama pada periode ini!");
    else if (hasil == QLatin1String("BERAKHIR"))
        text = QStringLiteral("Penugasan yang sudah berakhir tidak bisa diubah!");
    else if (hasil == QLatin1String("SAMA"))
        text = QStringLiteral("Tanggal akhir tidak berubah!");
    else if (hasil == QLatin1String("TIDAK ADA"))
        text = QStringLiteral("Penugasan tidak ditemukan!");
    else
        text = QString::fromUtf8(stdmsg::GagalMenyimpan);
    ctx_.messages().warning(text);
    return false;
}

bool Tfe_plt::btSimpanClick()
{
    const QString nip = edNIP->text();
    const QString start = dtMulai->date().toString(kIso);
    const QString end = endText();
    const bool akhiri = isChange() && cbAkhiri->isChecked();
    QString jabatan;
    if (!isChange()) {
        if (nip.size() < 18) {
            ctx_.messages().warning(QStringLiteral("angka NIP kurang dari 18 digit, silahkan periksa kembali!"));
            return false;
        }
        jabatan = cbJabatan->currentData().toString();
        if (jabatan.isEmpty()) {
            ctx_.messages().warning(QStringLiteral("Pilih dulu jabatan Plt/Plh/Sampiran!"));
            return false;
        }
        if (kind().isEmpty()) {
            ctx_.messages().warning(QStringLiteral("Pilih dulu jenis penugasan!"));
            return false;
        }
    }
    if (!akhiri && !end.isEmpty() && dtAkhir->date() < dtMulai->date()) {
        ctx_.messages().warning(QStringLiteral("Tanggal akhir tidak boleh sebelum tanggal mulai!"));
        return false;
    }
    if (!serverAgrees(jabatan, start, end))
        return false;

    QString question;
    if (!isChange())
        question = QStringLiteral("Simpan penugasan ") + kinds_->checkedButton()->text() + QStringLiteral("\rNIP ") +
                   nip + QStringLiteral(" pada jabatan ") + cbJabatan->currentText() + QStringLiteral("\rmulai ") +
                   start + QStringLiteral(" sampai ") + (end.isEmpty() ? QStringLiteral("-") : end) +
                   QStringLiteral("?");
    else if (akhiri)
        question = QStringLiteral("Akhiri penugasan ") + nama_ + QStringLiteral(" sebagai ") + jabatanNama_ +
                   QStringLiteral(" sekarang?");
    else
        question = QStringLiteral("Ubah tanggal akhir penugasan ") + nama_ + QStringLiteral(" sebagai ") +
                   jabatanNama_ + QStringLiteral(" menjadi ") + (end.isEmpty() ? QStringLiteral("tanpa batas") : end) +
                   QStringLiteral("?");
    if (!ctx_.messages().confirm(question))
        return false;

    Envelope save(ctx_);
    save.onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan));
    QString outcome; // what a change did, in the server's words
    const bool ok = save.run([&](db::Query& q) {
        if (!isChange())
            q.exec(QStringLiteral("CALL `kinerja_plt_tambah`(:var_nip, :var_kode_jabatan, :var_jenis, :var_plt_start, "
                                  ":var_plt_end)"),
                   {{QStringLiteral("var_nip"), nip},
                    {QStringLiteral("var_kode_jabatan"), jabatan},
                    {QStringLiteral("var_jenis"), kind()},
                    {QStringLiteral("var_plt_start"), start},
                    {QStringLiteral("var_plt_end"), end}});
        else {
            const db::ResultSet rs =
                q.open(QStringLiteral("CALL `kinerja_plt_ubah`(:var_id, :var_plt_end, :var_akhiri)"),
                       {{QStringLiteral("var_id"), id_},
                        {QStringLiteral("var_plt_end"), end},
                        {QStringLiteral("var_akhiri"), akhiri ? QStringLiteral("1") : QString()}});
            // an older server answers nothing
            if (rs.columnIndex(QStringLiteral("hasil")) >= 0)
                outcome = rs.first(QStringLiteral("hasil"));
        }
    });
    if (!ok)
        return false;
    ctx_.messages().information(outcome.isEmpty() ? QString::fromUtf8(stdmsg::BerhasilDisimpan)
                                                  : QString::fromUtf8(stdmsg::BerhasilDisimpan) + QLatin1Char('\r') +
                                                        outcome);
    emit saved();
    accept();
    return true;
}
