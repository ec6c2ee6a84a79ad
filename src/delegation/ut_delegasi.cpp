#include "ut_delegasi.h"

#include "readonlyfield.h"

#include "shell/pagecontext.h"
#include "shell/pageheader.h"
#include "shell/wizardframe.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/keyfilters.h"
#include "ui/stringgrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const char* const kMemo[] = {
    "Pendelegasian PNS digunakan untuk mendelegasikan kewenangan pembinaan PNS di sistem Tarvesa untuk pejabat "
    "fungsional ",
    "jenjang Muda, Madya, dan Utama.",
    "",
    "Karena penempatan PNS di sistem Tarvesa mengacu pada data SIMPEG, dan data simpeg mengacu pada Peta Jabatan, maka "
    "secara ",
    "umum PNS fungsional jenjang Muda, Madya dan Utama akan berada di bawah pembinaan langsung Kepala Perangkat Daerah.",
    "",
    "dan karena Kepala Perangkat Daerah di sistem Tarvesa tidak mempunyai kewenangan untuk melakukan penilaian "
    "aktivitas harian, ",
    "maka kewenangan pembinaan PNS di Tarvesa akan didelegasikan kepada pejabat Administrator di Perangkat Daerah yang "
    "sama.",
    "",
    "pendelegasian di sistem Tarvesa diinput oleh Admin SKPD dan atas izin dari Kepala Perangkat Daerah.",
};

// The official list: the key (the agency) in the last column.
std::vector<GridColumn> officialColumns(const StringGrid& g)
{
    return {
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("NIP"), g.fitted(120, QStringLiteral("000000000000000000")),
                          QStringLiteral("nip")),
        GridColumn::field(QStringLiteral("Nama Lengkap"), 260, QStringLiteral("nama_lengkap")),
        GridColumn::field(QStringLiteral("Status"), g.fitted(60, QStringLiteral("TIDAK AKTIF")),
                          QStringLiteral("delegasi_status")),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 270, QStringLiteral("nama_jabatan")),
        GridColumn::field(QStringLiteral("Jenjang"), g.fitted(90, QStringLiteral("Ahli Madya")), QStringLiteral("jenjang")),
        GridColumn::field(QStringLiteral("Nama SKPD"), 270, QStringLiteral("nama_induk")),
        GridColumn::field(QStringLiteral("induk_id"), 0, QStringLiteral("induk_id")),
    };
}

// The unit list: two hidden keys before the number.
std::vector<GridColumn> unitColumns()
{
    return {
        GridColumn::field(QString(), 0, QStringLiteral("induk_id")),
        GridColumn::field(QString(), 0, QStringLiteral("unit_id")),
        GridColumn::recNo(),
        // Administrator positions have long names; the wizard has the room.
        GridColumn::field(QStringLiteral("Nama Jabatan"), 500, QStringLiteral("nama_unit")),
        GridColumn::field(QStringLiteral("Nama Lengkap"), 370, QStringLiteral("nama_lengkap")),
    };
}

// A filter box: caption, edit, search button and count; the grid below.
QGroupBox* searchBox(QWidget* page, const char* caption, QLineEdit*& edit, const char* editName, QPushButton*& run,
                     const char* runName, QLabel*& count, const char* countName)
{
    auto* box = new QGroupBox(QStringLiteral("[ Filter Data ]"), page);
    auto* h = new QHBoxLayout(box);
    h->addWidget(new QLabel(QString::fromUtf8(caption), box));
    edit = new QLineEdit(box);
    edit->setObjectName(QString::fromUtf8(editName));
    h->addWidget(edit, 1);
    run = new QPushButton(QStringLiteral("Tampilkan Data"), box);
    run->setObjectName(QString::fromUtf8(runName));
    run->setAutoDefault(false);
    h->addWidget(run);
    count = new QLabel(QStringLiteral("Jumlah data : 0"), box);
    count->setObjectName(QString::fromUtf8(countName));
    count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("Jumlah data : 00000")));
    h->addWidget(count);
    return box;
}

QLabel* remark(const char* text, QWidget* parent)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setStyleSheet(QStringLiteral("color: #808080;"));
    return l;
}

} // namespace

Tft_delegasi::Tft_delegasi(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("ft_delegasi"));
    setWindowTitle(QString());
    // Wide enough for the official list on the office laptop's 1366 x 768,
    // and never wider than a smaller screen: its lists' free text gives way.
    QSize size(1060, 600);
    if (const QScreen* s = ctx.dialogParent() ? ctx.dialogParent()->screen() : nullptr)
        size = size.boundedTo(s->availableGeometry().size() - QSize(24, 48));
    setFixedSize(size);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    JvWizard1 = new WizardFrame(this);
    JvWizard1->setObjectName(QStringLiteral("JvWizard1"));
    JvWizard1->setTitle(QStringLiteral("Tambah Pendelegasian"));
    JvWizard1->header->setColors(ctx.headerLook().from, ctx.headerLook().to);
    JvWizard1->header->setHeaderHeight(ctx.headerLook().height);
    JvWizard1->header->setFontSize(ctx.headerLook().fontSize);
    // This wizard's own captions, kept as its design gives them.
    JvWizard1->backButton->setText(QStringLiteral("< &Back"));
    JvWizard1->nextButton->setText(QStringLiteral("&Next >"));
    JvWizard1->finishButton->setText(QStringLiteral("&Finish"));
    JvWizard1->cancelButton->setText(QStringLiteral("Cancel"));
    v->addWidget(JvWizard1);
    const int middle = WizardFrame::Back | WizardFrame::Next | WizardFrame::Cancel;

    // Page 1: what a delegation is.
    auto* p1 = new QWidget(this);
    p1->setObjectName(QStringLiteral("JvWizardInteriorPage1"));
    auto* l1 = new QVBoxLayout(p1);
    l1->setContentsMargins(16, 12, 16, 12);
    l1->addWidget(new QLabel(QStringLiteral("Sekilas tentang pendelegasian PNS"), p1));
    Memo1 = new QPlainTextEdit(p1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QStringList lines;
    for (const char* line : kMemo)
        lines << QString::fromUtf8(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    l1->addWidget(Memo1, 1);
    JvWizard1->addPage(p1, QStringLiteral("Penjelasan pendelegasian PNS"), WizardFrame::Next | WizardFrame::Cancel);

    // Page 2: the official.
    auto* p2 = new QWidget(this);
    p2->setObjectName(QStringLiteral("JvWizardInteriorPage2"));
    auto* l2 = new QVBoxLayout(p2);
    l2->addWidget(searchBox(p2, "Nama PNS", edNama, "edNama", btDelegasiJFTampilData, "btDelegasiJFTampilData",
                            lbJumlahData, "lbJumlahData"));
    sg_jf_list = new StringGrid(p2);
    sg_jf_list->setObjectName(QStringLiteral("sg_jf_list"));
    sg_jf_list->setElasticColumns({2, 4, 6}, 140);
    l2->addWidget(sg_jf_list, 1);
    JvWizard1->addPage(p2, QStringLiteral("Pilih PNS yang akan didelegasikan"), middle);

    // Page 3: the receiving unit.
    auto* p3 = new QWidget(this);
    p3->setObjectName(QStringLiteral("JvWizardInteriorPage3"));
    auto* l3 = new QVBoxLayout(p3);
    l3->addWidget(searchBox(p3, "Nama Unit Administrator", edNamaUnit, "edNamaUnit", btDelegasiUnitTampilData,
                            "btDelegasiUnitTampilData", lbUnitJumlah, "lbUnitJumlah"));
    sg_unit_list = new StringGrid(p3);
    sg_unit_list->setObjectName(QStringLiteral("sg_unit_list"));
    sg_unit_list->setElasticColumns({3, 4}, 200);
    l3->addWidget(sg_unit_list, 1);
    JvWizard1->addPage(p3, QStringLiteral("Pilih Unit Administrator"), middle);

    // Page 4: the summary.
    auto* p4 = new QWidget(this);
    p4->setObjectName(QStringLiteral("JvWizardInteriorPage4"));
    auto* l4 = new QGridLayout(p4);
    l4->setContentsMargins(16, 16, 16, 12);
    l4->setVerticalSpacing(10);
    l4->setColumnStretch(1, 1);
    edsNIP = readOnlyField("edsNIP", p4);
    edsNama = readOnlyField("edsNama", p4);
    edsUnit = readOnlyField("edsUnit", p4);
    l4->addWidget(new QLabel(QStringLiteral("NIP"), p4), 0, 0);
    l4->addWidget(edsNIP, 0, 1);
    l4->addWidget(new QLabel(QStringLiteral("Nama PNS"), p4), 1, 0);
    l4->addWidget(edsNama, 1, 1);
    l4->addWidget(new QLabel(QStringLiteral("Unit Delegasi Baru"), p4), 2, 0);
    l4->addWidget(edsUnit, 2, 1);
    l4->addWidget(new QLabel(QStringLiteral("Tanggal Mulai"), p4), 3, 0);
    l4->addWidget(remark("[ tanggal mulai adalah ketika pendelegasian diinput ke sistem ]", p4), 3, 1);
    l4->addWidget(new QLabel(QStringLiteral("Tanggal Selesai"), p4), 4, 0);
    l4->addWidget(
        remark("[ tanggal selesai bisa diupdate ketika struktur pendelegasian berubah, default kosong ]", p4), 4, 1);
    l4->setRowStretch(5, 1);
    JvWizard1->addPage(p4, QStringLiteral("Summary"), WizardFrame::Back | WizardFrame::Finish | WizardFrame::Cancel);

    connect(btDelegasiJFTampilData, &QPushButton::clicked, this, &Tft_delegasi::btDelegasiJFTampilDataClick);
    connect(btDelegasiUnitTampilData, &QPushButton::clicked, this, &Tft_delegasi::btDelegasiUnitTampilDataClick);
    connect(JvWizard1, &WizardFrame::nextClicked, this, [this](int page) {
        if (page == 0)
            enterPage(1);
        else if (page == 1)
            JvWizardInteriorPage2NextButtonClick();
        else if (page == 2)
            JvWizardInteriorPage3NextButtonClick();
    });
    connect(JvWizard1, &WizardFrame::finishClicked, this, [this] { JvWizardInteriorPage4FinishButtonClick(); });
    connect(JvWizard1, &WizardFrame::backClicked, this, &Tft_delegasi::backClick);
    connect(JvWizard1, &WizardFrame::cancelClicked, this, &QDialog::reject);
    // Enter in a filter searches; the field keeps the key.
    onEnter(edNama, [this] { btDelegasiJFTampilDataClick(); });
    onEnter(edNamaUnit, [this] { btDelegasiUnitTampilDataClick(); });
}

void Tft_delegasi::enterPage(int page)
{
    JvWizard1->setCurrentPage(page);
    if (page == 1)
        JvWizardInteriorPage2EnterPage();
    else if (page == 2)
        JvWizardInteriorPage3EnterPage();
    else if (page == 3)
        JvWizardInteriorPage4EnterPage();
}

void Tft_delegasi::backClick()
{
    if (JvWizard1->currentPage() > 0)
        enterPage(JvWizard1->currentPage() - 1);
}

void Tft_delegasi::JvWizardInteriorPage2EnterPage()
{
    btDelegasiJFTampilDataClick();
}

void Tft_delegasi::btDelegasiJFTampilDataClick()
{
    const Session& s = ctx_.session();
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs =
            s.levelUser == QLatin1String("Admin System")
                ? q.open(QStringLiteral("CALL `kinerja_jf_muda_keatas_all`(:var_nama)"),
                         {{QStringLiteral("var_nama"), edNama->text()}})
                : q.open(QStringLiteral("CALL `kinerja_jf_muda_keatas_per_induk`(:var_nama, :var_induk)"),
                         {{QStringLiteral("var_nama"), edNama->text()}, {QStringLiteral("var_induk"), s.kode_induk}});
        rows = rs.recordCount();
        fillGrid(*sg_jf_list, std::move(rs), officialColumns(*sg_jf_list));
    });
    if (ok)
        lbJumlahData->setText(QStringLiteral("Jumlah data : ") + QString::number(rows));
}

bool Tft_delegasi::JvWizardInteriorPage2NextButtonClick()
{
    if (sg_jf_list->rowCount() <= 1) {
        ctx_.messages().warning(QStringLiteral("Pilih dulu nama PNS yang akan didelegasikan!"));
        return false;
    }
    const int r = sg_jf_list->currentRow();
    if (sg_jf_list->cell(r, 3) == QLatin1String("AKTIF")) {
        ctx_.messages().warning(QStringLiteral("Gagal memilih PNS karena Status delegasi saat ini AKTIF, \r\r"
                                               "silahkan non-Aktifkan dulu status delegasinya untuk menambahkan "
                                               "status delegasi baru!"));
        return false;
    }
    var_induk = sg_jf_list->cell(r, 7);
    enterPage(2);
    return true;
}

void Tft_delegasi::JvWizardInteriorPage3EnterPage()
{
    btDelegasiUnitTampilDataClick();
}

void Tft_delegasi::btDelegasiUnitTampilDataClick()
{
    int rows = 0;
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_delegasi_pilih_unit`(:var_induk, :var_nama)"),
                                  {{QStringLiteral("var_induk"), var_induk},
                                   {QStringLiteral("var_nama"), edNamaUnit->text()}});
        rows = rs.recordCount();
        fillGrid(*sg_unit_list, std::move(rs), unitColumns());
    });
    if (ok)
        lbUnitJumlah->setText(QStringLiteral("Jumlah data : ") + QString::number(rows));
}

bool Tft_delegasi::JvWizardInteriorPage3NextButtonClick()
{
    if (sg_unit_list->rowCount() <= 1) {
        ctx_.messages().warning(QStringLiteral("Pilih dulu unit administrator yang akan menerima delegasi!"));
        return false;
    }
    var_unit = sg_unit_list->cell(sg_unit_list->currentRow(), 1);
    enterPage(3);
    return true;
}

void Tft_delegasi::JvWizardInteriorPage4EnterPage()
{
    const int r = sg_jf_list->currentRow();
    edsNIP->setText(sg_jf_list->cell(r, 1));
    edsNama->setText(sg_jf_list->cell(r, 2));
    edsUnit->setText(sg_unit_list->cell(sg_unit_list->currentRow(), 3));
    for (QLineEdit* e : {edsNIP, edsNama, edsUnit})
        e->setCursorPosition(0);
}

bool Tft_delegasi::JvWizardInteriorPage4FinishButtonClick()
{
    if (!ctx_.messages().confirm(QStringLiteral("Simpan Pendelegasian?"))) {
        reject();
        return false;
    }
    const bool saved = Envelope(ctx_).run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL `kinerja_delegasi_tambah`(:var_induk, :var_unit, :var_nip, :var_by)"),
               {{QStringLiteral("var_induk"), var_induk},
                {QStringLiteral("var_unit"), var_unit},
                {QStringLiteral("var_nip"), edsNIP->text()},
                {QStringLiteral("var_by"), ctx_.session().nip()}});
    });
    if (!saved)
        return false;
    ctx_.messages().information(QStringLiteral("Data delegasi berhasil ditambahkan!\r\rCatatan :\rData delegasi akan "
                                               "berubah di sistem Tarvesa maksimal 60 menit sejak diinputkan."));
    accept();
    return true;
}
