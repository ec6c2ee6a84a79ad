#include "admaplikasipage.h"

#include "shell/settingstore.h"

#include "shell/pagecontext.h"
#include "ui/keyfilters.h"
#include "ui/toggleswitch.h"

#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kJenis = QStringLiteral("app_kinerja");
const QString kMaintenance = QStringLiteral("is_maintenance");
const QColor kMaroon(0x80, 0x00, 0x00);

// "9000-00-00 90:00:00" of the form: the first year digit and the first
// hour digit may stay blank, every other place takes a digit. Qt marks an
// optional digit with 0 and a required one with 9.
const QString kDateTimeMask = QStringLiteral("0999-99-99 09:99:99;_");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

const char* const kTersimpan = "Setting telah tersimpan!";
const char* const kBelumTermuat =
    "Setting belum termuat lengkap dari server, sehingga tidak disimpan agar setting yang gagal dimuat "
    "tidak tertimpa isian kosong.\rBuka kembali menu Setting - Aplikasi hingga semua setting termuat, "
    "lalu klik Simpan.";

QLineEdit* maskedDateTime(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setInputMask(kDateTimeMask);
    // The whole moment stays readable whatever the font.
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 20);
    e->setMaximumWidth(e->minimumWidth() + 40);
    return e;
}

QLineEdit* numberField(const char* name, const char* design, QWidget* parent)
{
    auto* e = new QLineEdit(QString::fromUtf8(design), parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setAlignment(Qt::AlignRight);
    // 41 pixels at the design font, wider where five digits would not fit.
    e->setFixedWidth(std::max(41, e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 14));
    digitsOnly(e);
    return e;
}

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* label(const QString& text, QWidget* parent, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

void colour(QLabel* l, const QColor& c)
{
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, c);
    l->setPalette(pal);
}

// The moment of a window text; an invalid one when a place is empty.
QDateTime momentOf(QString text)
{
    if (text.size() == 19 && text.at(11) == QLatin1Char(' '))
        text[11] = QLatin1Char('0');
    return QDateTime::fromString(text, kDateTimeFormat);
}

} // namespace

AdmAplikasiPage::AdmAplikasiPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xAdmAplikasi"), QStringLiteral("xAdmAplikasiJudul"))
{
    PageControl2 = new QTabWidget(this);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    PageControl2->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 130px; }"));
    TabSheet1 = new QWidget(PageControl2);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl2->addTab(TabSheet1, QStringLiteral("Parameter Aplikasi"));

    auto* tab = new QVBoxLayout(TabSheet1);
    tab->setContentsMargins(16, 14, 16, 14);
    tab->setSpacing(10);

    // Maintenance switch with its note.
    tsIsMaintenance = new ToggleSwitch(TabSheet1);
    tsIsMaintenance->setObjectName(QStringLiteral("tsIsMaintenance"));
    auto* maintenance = new QGridLayout;
    maintenance->setHorizontalSpacing(12);
    maintenance->addWidget(tsIsMaintenance, 0, 0);
    maintenance->addWidget(label(QStringLiteral("Maintenance"), TabSheet1, true), 0, 1);
    auto* note = label(QStringLiteral("Note : Jika state maintenance aktif, semua proses input data, edit data, hapus "
                                      "data di aplikasi akan ditolak."),
                       TabSheet1);
    note->setWordWrap(true);
    colour(note, QColor(0x80, 0x80, 0x80));
    maintenance->addWidget(note, 1, 1);
    maintenance->setColumnStretch(1, 1);
    tab->addLayout(maintenance);
    tab->addWidget(separator(TabSheet1));

    // Time windows.
    meAktivitasAwal = maskedDateTime("meAktivitasAwal", TabSheet1);
    meAktivitasAkhir = maskedDateTime("meAktivitasAkhir", TabSheet1);
    meKualMutuAwal = maskedDateTime("meKualMutuAwal", TabSheet1);
    meKualMutuAkhir = maskedDateTime("meKualMutuAkhir", TabSheet1);
    meSasaranAwal = maskedDateTime("meSasaranAwal", TabSheet1);
    meSasaranAkhir = maskedDateTime("meSasaranAkhir", TabSheet1);
    meKamusAwal = maskedDateTime("meKamusAwal", TabSheet1);
    meKamusAkhir = maskedDateTime("meKamusAkhir", TabSheet1);
    windows_ = {
        {QStringLiteral("Aktivitas Harian"), QStringLiteral("aktivitas_harian"), meAktivitasAwal, meAktivitasAkhir, {}},
        {QStringLiteral("Kualitas Mutu"), QStringLiteral("kualitas_mutu"), meKualMutuAwal, meKualMutuAkhir, {}},
        {QStringLiteral("Sasaran Kerja"), QStringLiteral("sasaran_kerja"), meSasaranAwal, meSasaranAkhir, {}},
        {QStringLiteral("Kamus Jabatan"), QStringLiteral("kamus_update"), meKamusAwal, meKamusAkhir, {}},
    };
    auto* win = new QGridLayout;
    win->setHorizontalSpacing(10);
    win->setVerticalSpacing(8);
    for (int i = 0; i < int(windows_.size()); ++i) {
        const Window& w = windows_[size_t(i)];
        win->addWidget(label(w.caption, TabSheet1), i, 0);
        win->addWidget(w.awal, i, 1);
        win->addWidget(label(QStringLiteral("s/d"), TabSheet1), i, 2, Qt::AlignCenter);
        win->addWidget(w.akhir, i, 3);
    }
    win->setColumnMinimumWidth(0, 150);
    win->setColumnStretch(4, 1);
    tab->addLayout(win);
    tab->addWidget(separator(TabSheet1));

    // Limits in two columns, each field followed by its unit.
    edBatasInputAktivitas = numberField("edBatasInputAktivitas", "5", TabSheet1);
    edBatasWaktuVerifikasi = numberField("edBatasWaktuVerifikasi", "5", TabSheet1);
    edBatasWaktuValidasi = numberField("edBatasWaktuValidasi", "5", TabSheet1);
    edTargetSKR = numberField("edTargetSKR", "6751", TabSheet1);
    edAktivitasAutoApprove = numberField("edAktivitasAutoApprove", "5", TabSheet1);
    edSKROperasionalMax = numberField("edSKROperasionalMax", "300", TabSheet1);
    const QString hari = QStringLiteral("Hari");
    const QString menit = QStringLiteral("Menit");
    numbers_ = {
        {QStringLiteral("Batas input aktivitas ke sistem"), QStringLiteral("aktivitas_input_day_max"),
         edBatasInputAktivitas, hari, 0},
        {QStringLiteral("Batas waktu verifikasi"), QStringLiteral("aktivitas_verifikasi_day_max"),
         edBatasWaktuVerifikasi, hari, 0},
        {QStringLiteral("Batas waktu validasi"), QStringLiteral("aktivitas_validasi_day_max"), edBatasWaktuValidasi,
         hari, 0},
        {QStringLiteral("Target capaian waktu bulanan"), QStringLiteral("target_skr_bulanan"), edTargetSKR, menit, 0},
        {QStringLiteral("Auto Approve by System"), QStringLiteral("aktivitas_auto_approve"), edAktivitasAutoApprove,
         hari, 0},
        {QStringLiteral("Max SKR Operasional"), QStringLiteral("max_skr_operasional"), edSKROperasionalMax, menit, 1},
    };
    auto* limits = new QGridLayout;
    limits->setHorizontalSpacing(8);
    limits->setVerticalSpacing(8);
    limits->addWidget(label(QStringLiteral("Aktivitas Harian"), TabSheet1, true), 0, 0, 1, 3);
    limits->addWidget(label(QStringLiteral("Kamus Jabatan"), TabSheet1, true), 0, 4, 1, 3);
    int next[2] = {1, 1};
    for (const Number& n : numbers_) {
        const int col = n.column * 4;
        const int row = next[n.column]++;
        limits->addWidget(label(n.caption, TabSheet1), row, col);
        limits->addWidget(n.edit, row, col + 1);
        limits->addWidget(label(n.unit, TabSheet1), row, col + 2);
    }
    limits->setColumnMinimumWidth(3, 48);
    limits->setColumnStretch(7, 1);
    tab->addLayout(limits);
    tab->addSpacing(8);

    BitBtn25 = new QPushButton(QStringLiteral("Simpan"), TabSheet1);
    BitBtn25->setObjectName(QStringLiteral("BitBtn25"));
    BitBtn25->setMinimumWidth(std::max(100, BitBtn25->sizeHint().width() + 16));
    BitBtn25->setAutoDefault(false);
    tab->addWidget(BitBtn25, 0, Qt::AlignLeft);
    auto* catatan = label(QStringLiteral("Catatan :"), TabSheet1);
    auto* ingat = label(QStringLiteral("Jangan lupa klik SIMPAN setelah melakukan perubahan parameter!"), TabSheet1);
    colour(catatan, kMaroon);
    colour(ingat, kMaroon);
    tab->addWidget(catatan);
    tab->addWidget(ingat);
    tab->addStretch(1);

    body()->addWidget(PageControl2, 1);

    connect(BitBtn25, &QPushButton::clicked, this, &AdmAplikasiPage::BitBtn25Click);
}

QString AdmAplikasiPage::maskedText(const QLineEdit* edit)
{
    // text() drops the empty places; the server gets them as blanks.
    return edit->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
}

bool AdmAplikasiPage::movesPastStoredEnd(const Window& w)
{
    const QDateTime start = momentOf(maskedText(w.awal));
    const QDateTime end = momentOf(w.storedEnd);
    return start.isValid() && end.isValid() && start > end;
}

void AdmAplikasiPage::dxSettingItems0Click()
{
    if (!probeConnection(ctx_))
        return;
    ctx_.styleHeader(header(), QStringLiteral("Halaman Admin - Setting Aplikasi"));

    SettingStore store = ctx_.settingStore();
    bool clean = true;
    bool reachable = true;
    // Each load into an empty text; after a lost connection the rest would
    // only fail the same way, one warning after another, so they stay empty.
    auto load = [&](auto method, const QString& nama) {
        QString out;
        if (reachable) {
            const Envelope::Outcome o = (store.*method)(kJenis, nama, out);
            clean = clean && o == Envelope::Outcome::Done;
            reachable = o != Envelope::Outcome::NoConnection;
        } else {
            clean = false;
        }
        return out;
    };

    tsIsMaintenance->setChecked(load(&SettingStore::LoadSettingValue, kMaintenance) != QLatin1String("0"));
    for (Window& w : windows_)
        w.awal->setText(load(&SettingStore::LoadSettingStartDate, w.nama));
    for (Window& w : windows_) {
        w.storedEnd = load(&SettingStore::LoadSettingEndDate, w.nama);
        w.akhir->setText(w.storedEnd);
    }
    for (Number& n : numbers_)
        n.edit->setText(load(&SettingStore::LoadSettingValue, n.nama));
    loadedCleanly_ = clean;
    ctx_.showPage(this);
}

void AdmAplikasiPage::BitBtn25Click()
{
    if (!loadedCleanly_) {
        // Saving now would overwrite what failed to load with empty texts.
        ctx_.messages().warning(QString::fromUtf8(kBelumTermuat));
        return;
    }

    SettingStore store = ctx_.settingStore();
    QStringList failed;
    bool reachable = true;
    auto save = [&](auto method, const QString& value, const QString& nama, const QString& caption) {
        if (reachable) {
            const Envelope::Outcome o = (store.*method)(value, kJenis, nama);
            if (o == Envelope::Outcome::Done)
                return true;
            reachable = o != Envelope::Outcome::NoConnection;
        }
        failed << caption;
        return false;
    };
    auto saveEnd = [&](Window& w) {
        const QString end = maskedText(w.akhir);
        if (save(&SettingStore::SaveSettingEndDate, end, w.nama, w.caption + QStringLiteral(" (akhir)")))
            w.storedEnd = end;
    };

    save(&SettingStore::SaveSettingValue, tsIsMaintenance->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
         kMaintenance, QStringLiteral("Maintenance"));
    // The server keeps every stored window from ending before it starts. A
    // window moved past its old end would be refused its new start, so its
    // new end goes first.
    std::vector<bool> endDone(windows_.size(), false);
    for (size_t i = 0; i < windows_.size(); ++i) {
        if (movesPastStoredEnd(windows_[i])) {
            saveEnd(windows_[i]);
            endDone[i] = true;
        }
    }
    for (Window& w : windows_)
        save(&SettingStore::SaveSettingStartDate, maskedText(w.awal), w.nama, w.caption + QStringLiteral(" (awal)"));
    for (size_t i = 0; i < windows_.size(); ++i) {
        if (!endDone[i])
            saveEnd(windows_[i]);
    }
    for (const Number& n : numbers_)
        save(&SettingStore::SaveSettingValue, n.edit->text(), n.nama, n.caption);

    if (!failed.isEmpty()) {
        // The page stays as the user left it, to be corrected and saved again.
        ctx_.messages().warning(QStringLiteral("Setting belum tersimpan semua. Yang gagal disimpan:\r- ") +
                                failed.join(QStringLiteral("\r- ")) +
                                QStringLiteral("\r\rPeriksa isian tersebut lalu klik Simpan lagi."));
        return;
    }
    ctx_.messages().information(QString::fromUtf8(kTersimpan));
    emit saved();
}
