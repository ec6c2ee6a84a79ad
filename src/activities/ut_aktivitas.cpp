#include "ut_aktivitas.h"

#include "activityrules.h"
#include "dayminutes.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "shell/wizardframe.h"
#include "ui/keyfilters.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QVBoxLayout>

namespace {

const char* const kKinds[] = {"Manajerial", "Fungsional/Pelaksana", "Tugas Tambahan", "Aktivitas lainnya"};

const char* const kHints[] = {
    "Aktivitas manajerial adalah aktivitas yang bisa digunakan oleh pejabat struktural, Plt Struktural, Plh "
    "Struktural, Kepala Sekolah, Kepala Puskesmas.",
    "Aktivitas fungsional/pelaksana adalah aktivitas yang bisa digunakan oleh pejabat pelaksana, pejabat fungsional "
    "(sesuai jenjang), dan pejabat struktural yang diberi tugas tambahan sebagai pelaksana.",
    "Aktivitas tamabahan adalah aktivitas jabatan pelaksana yang bisa digunakan oleh semua PNS yang diberikan tugas "
    "tambahan dalam aktivitas jabatan pelaksana.",
    "Aktivitas lainnya adalah aktivitas yang bisa digunakan oleh semua PNS - aktivitas ini bersifat umum dan tidak "
    "terkait dengan suatu jabatan tertentu.",
};

const std::vector<GridColumn>& searchColumns()
{
    static const std::vector<GridColumn> cols{
        GridColumn::field(QStringLiteral("kode"), 0, QStringLiteral("kode")),
        GridColumn::recNo(),
        GridColumn::field(QStringLiteral("Nama Aktivitas / Rincian Tugas"), 500, QStringLiteral("rincian_tugas")),
        GridColumn::field(QStringLiteral("Satuan"), 100, QStringLiteral("satuan")),
        GridColumn::field(QStringLiteral("SKR (Menit)"), 80, QStringLiteral("bobot_skr_display")),
        GridColumn::field(QStringLiteral("Nama Jabatan"), 200, QStringLiteral("nama_jabatan")),
        GridColumn::field(QString(), 80, QStringLiteral("bobot_skr")),
    };
    return cols;
}

QLabel* grey(const QString& text, QWidget* parent, bool italic = false)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setStyleSheet(QStringLiteral("color: #808080;") + (italic ? QStringLiteral(" font-style: italic;") : QString()));
    return l;
}

} // namespace

QString Tft_aktivitas::eligibilityRefusal(int kind, const QString& jenisJabatan, const QString& jmlTugasTambahan,
                                          const QString& statusPlt, const QString& statusSampiran)
{
    switch (kind) {
    case Manajerial:
        if ((jenisJabatan != QLatin1String("fungsional") && jenisJabatan != QLatin1String("pelaksana")) ||
            statusPlt != QLatin1String("Tidak") || statusSampiran != QLatin1String("Tidak"))
            return {};
        return QStringLiteral("Aktivitas manajerial hanya diperuntukkan untuk :\r- Pejabat Struktural\r- Plt/Plh "
                              "Jabatan Struktural/Manajerial\r- Pejabat dengan tugas sampiran manajerial (sebagai "
                              "Kepala Sekolah, Kepala Puskesmas, dll\r\rSilahkan pilih jenis aktivitas lainnya!");
    case FungsionalPelaksana:
        if (jenisJabatan != QLatin1String("struktural"))
            return {};
        return QStringLiteral("Aktivitas fungsional/pelaksana hanya diperuntukkan untuk :\r- Pejabat Fungsional\r- "
                              "Pejabat Pelaksana\r\rSilahkan pilih jenis aktivitas lainnya!");
    case TugasTambahan: {
        // A count that is not a whole number counts as no additional task.
        bool ok = false;
        const int count = jmlTugasTambahan.trimmed().toInt(&ok);
        if (ok && count != 0)
            return {};
        return QStringLiteral("Aktivitas tambahan hanya diperuntukkan untuk :\r- Semua PNS yang diberikan tugas "
                              "tambahan\r\rSilahkan pilih jenis aktivitas lainnya!");
    }
    default:
        return {};
    }
}

QString Tft_aktivitas::discardQuestion()
{
    return QStringLiteral("Deskripsi aktivitas yang sudah diketik belum disimpan.\r\rTutup tanpa menyimpan?");
}

Tft_aktivitas::Tft_aktivitas(PageContext& ctx) : QDialog(ctx.dialogParent()), ctx_(ctx)
{
    setObjectName(QStringLiteral("ft_aktivitas"));
    setWindowTitle(QString());
    setFixedSize(900, 600);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    JvWizard1 = new WizardFrame(this);
    JvWizard1->setObjectName(QStringLiteral("JvWizard1"));
    JvWizard1->setTitle(QStringLiteral("Tambah Aktivitas Harian"));
    JvWizard1->header->setColors(ctx.headerLook().from, ctx.headerLook().to);
    JvWizard1->header->setHeaderHeight(ctx.headerLook().height);
    JvWizard1->header->setFontSize(ctx.headerLook().fontSize);
    JvWizard1->backButton->setText(QStringLiteral("< S&ebelumnya"));
    JvWizard1->nextButton->setText(QStringLiteral("&Berikutnya >"));
    JvWizard1->finishButton->setText(QStringLiteral("&Simpan"));
    JvWizard1->cancelButton->setText(QStringLiteral("Batal"));
    v->addWidget(JvWizard1);

    // Page 1: the kind of activity.
    auto* p1 = new QWidget(this);
    p1->setObjectName(QStringLiteral("JvWizardInteriorPage1"));
    auto* l1 = new QVBoxLayout(p1);
    l1->setContentsMargins(16, 12, 16, 12);
    l1->addWidget(new QLabel(QStringLiteral("Pilih jenis aktivitas yang akan ditambahkan :"), p1));
    rgJenisAktivitas = new QGroupBox(QStringLiteral("[ Jenis Aktivitas ]"), p1);
    rgJenisAktivitas->setObjectName(QStringLiteral("rgJenisAktivitas"));
    auto* rl = new QVBoxLayout(rgJenisAktivitas);
    jenisGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(kKinds[i]), rgJenisAktivitas);
        jenisGroup->addButton(r, i);
        rl->addWidget(r);
    }
    // The kind of the last saved activity, else the first the profile
    // allows, so that nobody starts on a kind that will be refused.
    int kind = ctx.session().lastActivityKind;
    if (kind < Manajerial || kind > Lainnya) {
        const Session& s = ctx.session();
        kind = Manajerial;
        while (kind < Lainnya && !eligibilityRefusal(kind, s.profileValue(3), s.profileValue(8), s.profileValue(9),
                                                     s.profileValue(11))
                                     .isEmpty())
            ++kind;
    }
    jenisGroup->button(kind)->setChecked(true);
    l1->addWidget(rgJenisAktivitas);
    l1->addWidget(new QLabel(QStringLiteral("Keterangan :"), p1));
    lbHintAktivitas = new QLabel(QString::fromUtf8(kHints[kind]), p1);
    lbHintAktivitas->setObjectName(QStringLiteral("lbHintAktivitas"));
    lbHintAktivitas->setWordWrap(true);
    l1->addWidget(lbHintAktivitas);
    l1->addStretch(1);
    JvWizard1->addPage(p1, QStringLiteral("Pilih Jenis Aktivitas"), WizardFrame::Next | WizardFrame::Cancel);

    // Page 2: the task detail.
    auto* p2 = new QWidget(this);
    p2->setObjectName(QStringLiteral("JvWizardInteriorPage2"));
    auto* l2 = new QVBoxLayout(p2);
    auto* filter = new QGroupBox(QStringLiteral("[ Filter Data ]"), p2);
    auto* fl = new QHBoxLayout(filter);
    fl->addWidget(new QLabel(QStringLiteral("Aktivitas"), filter));
    edAktivitas = new QLineEdit(filter);
    edAktivitas->setObjectName(QStringLiteral("edAktivitas"));
    fl->addWidget(edAktivitas, 1);
    btAktivitasTampilData = new QPushButton(QStringLiteral("Tampilkan Data"), filter);
    btAktivitasTampilData->setObjectName(QStringLiteral("btAktivitasTampilData"));
    btAktivitasTampilData->setAutoDefault(false);
    fl->addWidget(btAktivitasTampilData);
    lbJumlahData = new QLabel(QStringLiteral("Jumlah data : 0"), filter);
    lbJumlahData->setObjectName(QStringLiteral("lbJumlahData"));
    fl->addWidget(lbJumlahData);
    l2->addWidget(filter);
    sg_rincian_cari = new StringGrid(p2);
    sg_rincian_cari->setObjectName(QStringLiteral("sg_rincian_cari"));
    sg_rincian_cari->setElasticColumns({2, 5}, 200); // the task and the position name
    l2->addWidget(sg_rincian_cari, 1);
    JvWizard1->addPage(p2, QStringLiteral("Pilih Aktivitas"),
                       WizardFrame::Back | WizardFrame::Next | WizardFrame::Cancel);

    // Page 3: the details.
    auto* p3 = new QWidget(this);
    p3->setObjectName(QStringLiteral("JvWizardInteriorPage3"));
    auto* l3 = new QGridLayout(p3);
    l3->setContentsMargins(16, 12, 16, 12);
    l3->setColumnStretch(1, 1);
    l3->addWidget(new QLabel(QStringLiteral("Nama Aktivitas"), p3), 0, 0, Qt::AlignTop);
    edProsesNama = new QLabel(p3);
    edProsesNama->setObjectName(QStringLiteral("edProsesNama"));
    edProsesNama->setWordWrap(true);
    QFont bold = edProsesNama->font();
    bold.setBold(true);
    edProsesNama->setFont(bold);
    l3->addWidget(edProsesNama, 0, 1, 1, 2);
    l3->addWidget(new QLabel(QStringLiteral("Deskripsi"), p3), 1, 0, Qt::AlignTop);
    edProsesDeskripsi = new QPlainTextEdit(p3);
    edProsesDeskripsi->setObjectName(QStringLiteral("edProsesDeskripsi"));
    edProsesDeskripsi->setTabChangesFocus(true);
    edProsesDeskripsi->setToolTip(QStringLiteral("Enter: ke isian berikutnya, Shift+Enter: baris baru"));
    edProsesDeskripsi->setFixedHeight(90);
    l3->addWidget(edProsesDeskripsi, 1, 1, 1, 2);
    l3->addWidget(grey(QStringLiteral("* teks  deskripsi minimal 20 karakter. "), p3, true), 2, 1, 1, 2);
    l3->addWidget(new QLabel(QStringLiteral("Tanggal Aktivitas"), p3), 3, 0);
    edProsesTanggal = new QDateTimeEdit(p3);
    edProsesTanggal->setObjectName(QStringLiteral("edProsesTanggal"));
    edProsesTanggal->setCalendarPopup(true);
    edProsesTanggal->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edProsesTanggal->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    typeableDate(edProsesTanggal);
    auto* day = new QHBoxLayout;
    day->addWidget(edProsesTanggal);
    day->addSpacing(16);
    lbMenitTercatat = new QLabel(p3);
    lbMenitTercatat->setObjectName(QStringLiteral("lbMenitTercatat"));
    day->addWidget(lbMenitTercatat);
    day->addStretch(1);
    l3->addLayout(day, 3, 1, 1, 2);
    l3->addWidget(new QLabel(QStringLiteral("Volume"), p3), 4, 0);
    auto* vol = new QHBoxLayout;
    edProsesVolume = new QLineEdit(p3);
    edProsesVolume->setObjectName(QStringLiteral("edProsesVolume"));
    edProsesVolume->setMaximumWidth(80);
    digitsOnly(edProsesVolume);
    lbProsesSatuan = new QLabel(p3);
    lbProsesSatuan->setObjectName(QStringLiteral("lbProsesSatuan"));
    vol->addWidget(edProsesVolume);
    vol->addWidget(lbProsesSatuan);
    vol->addStretch(1);
    l3->addLayout(vol, 4, 1, 1, 2);
    l3->addWidget(grey(QStringLiteral("Catatan :  Aktivitas dengan SKR diatas 300 hanya diakui sebanyak 300 menit saja. "
                                      "dan volume diakui 1."),
                       p3),
                  5, 1, 1, 2);
    auto* line = new QFrame(p3);
    line->setFrameShape(QFrame::HLine);
    l3->addWidget(line, 6, 0, 1, 3);
    auto* c1 = new QLabel(QStringLiteral("pastikan data sudah sesuai, silahkan cek sekali lagi!"), p3);
    auto* c2 = new QLabel(QStringLiteral("Klik tombol simpan di pojok kanan untuk menyimpan."), p3);
    auto* c3 = new QLabel(QStringLiteral("Simpan Aktivitas Ke Sistem Tarvesa?"), p3);
    c3->setFont(bold);
    int row = 7;
    for (QLabel* c : {c1, c2, c3}) {
        c->setAlignment(Qt::AlignCenter);
        l3->addWidget(c, row++, 0, 1, 3);
    }
    l3->setRowStretch(row, 1);
    JvWizard1->addPage(p3, QStringLiteral("Lengkapi Data"),
                       WizardFrame::Back | WizardFrame::Finish | WizardFrame::Cancel);

    connect(jenisGroup, &QButtonGroup::idClicked, this, [this] { rgJenisAktivitasClick(); });
    connect(btAktivitasTampilData, &QPushButton::clicked, this, &Tft_aktivitas::btAktivitasTampilDataClick);
    connect(JvWizard1, &WizardFrame::nextClicked, this, [this](int page) {
        if (page == 0)
            JvWizardInteriorPage1NextButtonClick();
        else if (page == 1)
            JvWizardInteriorPage2NextButtonClick();
    });
    connect(JvWizard1, &WizardFrame::finishClicked, this, [this] { JvWizardInteriorPage3FinishButtonClick(); });
    connect(JvWizard1, &WizardFrame::backClicked, this, &Tft_aktivitas::backClick);
    connect(JvWizard1, &WizardFrame::cancelClicked, this, [this] { reject(); });
    // A double-click (or Enter, through the dialog) on a task picks it.
    connect(sg_rincian_cari, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid())
            return;
        sg_rincian_cari->setCurrentRow(index.row() + sg_rincian_cari->fixedRows());
        JvWizardInteriorPage2NextButtonClick();
    });
    connect(edProsesTanggal, &QDateTimeEdit::dateChanged, this, [this] {
        if (JvWizard1->currentPage() == 2)
            refreshDayMinutes();
    });
    // Enter in the search field searches (the dialog's key preview); in the
    // description it moves on to the date; arrows in the task list start
    // from the row they show.
    edAktivitas->installEventFilter(this);
    edProsesDeskripsi->installEventFilter(this);
    sg_rincian_cari->installEventFilter(this);
    focusPage(0);
}

void Tft_aktivitas::reject()
{
    if (!edProsesDeskripsi->toPlainText().trimmed().isEmpty() && !ctx_.messages().confirm(discardQuestion()))
        return;
    QDialog::reject();
}

void Tft_aktivitas::closeUnsaved()
{
    QDialog::reject();
}

void Tft_aktivitas::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter on a focused push button presses that button, not the page's.
    auto* button = qobject_cast<QAbstractButton*>(focusWidget());
    if (button && !qobject_cast<QRadioButton*>(button)) {
        button->click();
        return;
    }
    enterPressed();
}

void Tft_aktivitas::enterPressed()
{
    // On the last page Enter walks the fields first and saves from the last.
    if (JvWizard1->currentPage() == 2 && edProsesTanggal->hasFocus()) {
        edProsesVolume->setFocus();
        return;
    }
    JvWizard1->moveOn();
}

void Tft_aktivitas::focusPage(int page)
{
    switch (page) {
    case 0:
        if (QAbstractButton* b = jenisGroup->checkedButton())
            b->setFocus();
        break;
    case 1:
        // Typing searches, also with the last task picked; the arrows move
        // through the list from the field (eventFilter).
        edAktivitas->setFocus();
        edAktivitas->selectAll();
        break;
    default:
        edProsesDeskripsi->setFocus();
        break;
    }
}

int Tft_aktivitas::pickedRow() const
{
    const QModelIndexList picked = sg_rincian_cari->selectionModel()->selectedIndexes();
    if (picked.isEmpty())
        return -1;
    return picked.first().row() + sg_rincian_cari->fixedRows();
}

bool Tft_aktivitas::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == edAktivitas && enter) {
        // A new text searches; the list of this very text moves on with
        // the task picked in it (or says to pick one).
        if (edAktivitas->text() != searchedText_)
            btAktivitasTampilDataClick();
        else
            JvWizard1->moveOn();
        return true; // the dialog would otherwise take Enter as moving on
    }
    if (watched == edAktivitas && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up ||
                                   key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp)) {
        // The list moves while the field keeps the focus.
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(sg_rincian_cari, &copy);
        return true;
    }
    if (watched == edProsesDeskripsi && enter && !(key->modifiers() & Qt::ShiftModifier)) {
        edProsesTanggal->setFocus();
        return true; // Shift+Enter still breaks the line
    }
    if (watched == sg_rincian_cari && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
        pickedRow() < 0 && sg_rincian_cari->rowCount() > 1) {
        // Nothing picked yet: the first arrow picks the row the focus shows
        // rather than jumping past it.
        const QModelIndex current = sg_rincian_cari->currentIndex();
        sg_rincian_cari->setCurrentRow(current.isValid() ? current.row() + sg_rincian_cari->fixedRows()
                                                         : sg_rincian_cari->fixedRows());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int Tft_aktivitas::selectedKind() const
{
    return jenisGroup->checkedId();
}

void Tft_aktivitas::selectKind(int kind)
{
    if (QAbstractButton* b = jenisGroup->button(kind)) {
        b->setChecked(true);
        rgJenisAktivitasClick();
    }
}

void Tft_aktivitas::rgJenisAktivitasClick()
{
    const int kind = selectedKind();
    if (kind >= 0 && kind < 4)
        lbHintAktivitas->setText(QString::fromUtf8(kHints[kind]));
}

void Tft_aktivitas::backClick()
{
    JvWizard1->setCurrentPage(JvWizard1->currentPage() - 1);
    focusPage(JvWizard1->currentPage());
}

bool Tft_aktivitas::JvWizardInteriorPage1NextButtonClick()
{
    const int kind = selectedKind();
    const QString refusal = eligibilityRefusal(kind, ctx_.session().profileValue(3), ctx_.session().profileValue(8),
                                               ctx_.session().profileValue(9), ctx_.session().profileValue(11));
    if (!refusal.isEmpty()) {
        ctx_.messages().information(refusal);
        return false;
    }
    bool search = true;
    switch (kind) {
    case Manajerial:
        var_jenis_aktivitas = QStringLiteral("Utama");
        var_kode_jabatan = QStringLiteral("200000");
        JvWizard1->setSubtitle(1, QStringLiteral("Pilih aktivitas manajerial"));
        break;
    case FungsionalPelaksana:
        var_jenis_aktivitas = QStringLiteral("Utama");
        JvWizard1->setSubtitle(1, QStringLiteral("Pilih aktivitas ") + ctx_.session().profileValue(3));
        // Without the position code the wizard still moves on, unsearched.
        search = Envelope(ctx_).run([&](db::Query& q) {
            var_kode_jabatan = q.open(QStringLiteral("CALL `kinerja_get_kodejab_kinerja`(:var_kode_jab)"),
                                      {{QStringLiteral("var_kode_jab"), ctx_.session().kode_jabatan}})
                                   .first(0);
        });
        break;
    case TugasTambahan:
        var_jenis_aktivitas = QStringLiteral("Tambahan");
        var_kode_jabatan.clear();
        JvWizard1->setSubtitle(1, QStringLiteral("Pilih aktivitas tambahan"));
        break;
    default:
        var_jenis_aktivitas = QStringLiteral("Lainnya");
        var_kode_jabatan = QStringLiteral("300000");
        JvWizard1->setSubtitle(1, QStringLiteral("Pilih aktivitas lainnya"));
        break;
    }
    kind_ = kind;
    if (search)
        btAktivitasTampilDataClick();
    JvWizard1->setCurrentPage(1);
    focusPage(1);
    return true;
}

void Tft_aktivitas::btAktivitasTampilDataClick()
{
    const bool additional = var_jenis_aktivitas == QLatin1String("Tambahan");
    Envelope(ctx_).run([&](db::Query& q) {
        const db::ResultSet rs =
            additional
                ? q.open(QStringLiteral("CALL `kinerja_rincian_tugas_cari_tambahan`(:var_nip, :var_nama_rincian)"),
                         {{QStringLiteral("var_nip"), ctx_.session().nipLogin},
                          {QStringLiteral("var_nama_rincian"), edAktivitas->text()}})
                : q.open(QStringLiteral("CALL `kinerja_rincian_tugas_cari`(:var_kode_jab, :var_nama_rincian)"),
                         {{QStringLiteral("var_kode_jab"), var_kode_jabatan},
                          {QStringLiteral("var_nama_rincian"), edAktivitas->text()}});
        lbJumlahData->setText(QStringLiteral("Jumlah Data : ") + QString::number(rs.recordCount()));
        fillGrid(*sg_rincian_cari, rs, searchColumns());
        searchedText_ = edAktivitas->text();
        // Nothing is picked for the user, except the task of the last saved
        // activity of this kind: Next pressed too early must not record
        // whatever came first.
        sg_rincian_cari->selectionModel()->clear();
        const Session& s = ctx_.session();
        if (kind_ != s.lastActivityKind || s.lastActivityTask.isEmpty() || sg_rincian_cari->fixedRows() == 0)
            return;
        for (int r = sg_rincian_cari->fixedRows(); r < sg_rincian_cari->rowCount(); ++r) {
            if (sg_rincian_cari->cell(r, 0) == s.lastActivityTask) {
                sg_rincian_cari->setCurrentRow(r);
                sg_rincian_cari->scrollTo(sg_rincian_cari->currentIndex());
                break;
            }
        }
    });
}

bool Tft_aktivitas::JvWizardInteriorPage2NextButtonClick()
{
    const int r = pickedRow();
    if (sg_rincian_cari->rowCount() <= 1 || r < sg_rincian_cari->fixedRows()) {
        ctx_.messages().warning(QStringLiteral("Pilih dulu nama aktivitasnya!"));
        return false;
    }
    edProsesNama->setText(sg_rincian_cari->cell(r, 2));
    lbProsesSatuan->setText(sg_rincian_cari->cell(r, 3));
    kode_aktivitas_terpilih = sg_rincian_cari->cell(r, 0);
    skr_aktivitas_terpilih = sg_rincian_cari->cell(r, 6);
    edProsesDeskripsi->clear();
    preparePickerRange();
    edProsesTanggal->setDateTime(ctx_.clock().now());
    edProsesVolume->setText(QStringLiteral("1"));
    JvWizard1->setCurrentPage(2);
    minutesDay_ = QDate();
    refreshDayMinutes();
    focusPage(2);
    return true;
}

void Tft_aktivitas::preparePickerRange()
{
    // The picker offers only the days the server's input window allows:
    // no future day, and no day further back than its setting.
    const QDate today = ctx_.clock().today();
    if (inputWindowDays_ < 0) {
        Envelope(ctx_).run([&](db::Query& q) {
            bool ok = false;
            const int days =
                q.open(QStringLiteral("CALL `kinerja_cek_waktu_input_aktivitas`(:var_tanggal_aktivitas)"),
                       {{QStringLiteral("var_tanggal_aktivitas"), today.toString(QStringLiteral("yyyy-MM-dd"))}})
                    .first(0)
                    .toInt(&ok);
            if (ok && days >= 0)
                inputWindowDays_ = days;
        });
    }
    // Without the window the server's check decides; the field still keeps
    // to the system's years.
    edProsesTanggal->setDateRange(inputWindowDays_ >= 0 ? today.addDays(-inputWindowDays_) : QDate(2000, 1, 1),
                                  today);
}

void Tft_aktivitas::refreshDayMinutes()
{
    const QDate day = edProsesTanggal->date();
    if (day == minutesDay_)
        return;
    minutesDay_ = day;
    showDayMinutes(lbMenitTercatat, QStringLiteral("Menit tercatat pada tanggal ini: "),
                   DayMinutes::fetch(ctx_, ctx_.session().nip(), day));
}

bool Tft_aktivitas::JvWizardInteriorPage3FinishButtonClick()
{
    // 1. The server's input window for the chosen day.
    bool inWindow = false;
    Envelope window(ctx_);
    window.run([&](db::Query& q) {
        const db::ResultSet rs =
            q.open(QStringLiteral("CALL `kinerja_cek_waktu_input_aktivitas`(:var_tanggal_aktivitas)"),
                   {{QStringLiteral("var_tanggal_aktivitas"),
                     edProsesTanggal->date().toString(QStringLiteral("yyyy-MM-dd"))}});
        if (rs.first(2) == QLatin1String("F")) {
            ctx_.messages().warning(activityrules::windowRefusal(QStringLiteral("Gagal melakukan input aktivitas"),
                                                                  rs, QStringLiteral("Selisih tgl diperbolehkan untuk input ")));
            return;
        }
        inWindow = true;
    });
    if (window.outcome() == Envelope::Outcome::NoConnection) {
        closeUnsaved();
        return false;
    }
    if (!inWindow)
        return false;

    // 2. The description, counted in characters as the server counts them:
    // blanks at either end do not count.
    const QString deskripsi = edProsesDeskripsi->toPlainText();
    if (activityrules::descriptionLength(deskripsi) < 20) {
        ctx_.messages().information(
            QStringLiteral("Isikan deskripsi aktivitas dengan singkat dan jelas!\r\r* Minimal 20 Karakter/huruf."));
        edProsesDeskripsi->setFocus();
        return false;
    }

    // 3. The superiors. Without a profile there is nobody to find them for:
    // the save is refused before anything is sent.
    const QString noSuperior = QStringLiteral("Data atasan tidak ditemukan, simpan data dibatalkan!\r\r"
                                              "Silahkan hubungi admin Tarvesa untuk konfirmasi data!");
    const QString nip = ctx_.session().nip();
    if (nip.isEmpty()) {
        ctx_.messages().error(noSuperior);
        closeUnsaved();
        return false;
    }
    QString atasan1;
    QString atasan2;
    bool found = false;
    if (!Envelope(ctx_).run([&](db::Query& q) {
            const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_atasan_nip_get`(:var_nip)"),
                                            {{QStringLiteral("var_nip"), nip}});
            if (rs.recordCount() == 0) {
                ctx_.messages().error(noSuperior);
                return;
            }
            atasan1 = rs.text(0, 0);
            atasan2 = rs.text(0, 1);
            found = true;
        }) ||
        !found) {
        closeUnsaved();
        return false;
    }

    // 4. Minutes of this activity against the working day.
    bool volumeOk = false;
    bool skrOk = false;
    const double volume = edProsesVolume->text().toDouble(&volumeOk);
    const double skr = skr_aktivitas_terpilih.trimmed().toDouble(&skrOk);
    if (!volumeOk) {
        ctx_.messages().error(QStringLiteral("Volume harus diisi dengan angka!"));
        edProsesVolume->setFocus();
        return false;
    }
    if (volume < 1) {
        ctx_.messages().error(activityrules::volumeRefusal());
        edProsesVolume->setFocus();
        return false;
    }
    if (!skrOk) {
        ctx_.messages().warning(QString::fromUtf8(stdmsg::GagalMenampilkan));
        return false;
    }
    if (activityrules::exceedsWorkingDay(skr, volume)) {
        ctx_.messages().error(activityrules::workingDayRefusal());
        edProsesDeskripsi->setFocus();
        return false;
    }

    // 5. The user's word.
    if (!ctx_.messages().confirm(QStringLiteral("Simpan Aktivitas?")))
        return false;

    // 6. The insert; a conflict with a write for the same person elsewhere
    // undid it whole, so it runs again and then counts that write too.
    const bool saved = Envelope(ctx_).retryOnConflict().run([&](db::Query& q) {
        q.exec(QStringLiteral("CALL `kinerja_aktivitas_insert`(:var_nip, :var_aktivitas, :var_sasaran, :var_deskripsi, "
                              ":var_volume, :var_tanggal_aktivitas, :var_status, :var_kode_jabatan, "
                              ":var_jenis_jabatan, :var_skr, :var_satuan, :var_atasan1, :var_atasan2)"),
               {{QStringLiteral("var_nip"), ctx_.session().profileValue(2)},
                {QStringLiteral("var_aktivitas"), kode_aktivitas_terpilih},
                {QStringLiteral("var_sasaran"), QStringLiteral("0")},
                {QStringLiteral("var_deskripsi"), deskripsi},
                {QStringLiteral("var_volume"), edProsesVolume->text()},
                {QStringLiteral("var_tanggal_aktivitas"),
                 edProsesTanggal->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
                {QStringLiteral("var_status"), QStringLiteral("0")},
                {QStringLiteral("var_kode_jabatan"), var_kode_jabatan},
                {QStringLiteral("var_jenis_jabatan"), var_jenis_aktivitas},
                {QStringLiteral("var_skr"), skr_aktivitas_terpilih},
                {QStringLiteral("var_satuan"), lbProsesSatuan->text()},
                {QStringLiteral("var_atasan1"), atasan1},
                {QStringLiteral("var_atasan2"), atasan2}});
    });
    if (saved) {
        ctx_.session().lastActivityKind = kind_;
        ctx_.session().lastActivityTask = kode_aktivitas_terpilih;
        ctx_.messages().information(QString::fromUtf8(stdmsg::BerhasilDisimpan));
        accept();
    }
    // A refused or lost insert has told the user why; the wizard stays with
    // the typed work so it can be corrected or saved again.
    return saved;
}
