#include "regispage.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "loginpage.h"
#include "api/session.h"
#include "ui/envelope.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kGolru[] = {
    "I/a - Juru Muda",          "I/b - Juru Muda Tk. I",      "I/c - Juru",
    "I/d - Juru Tk. I",         "II/a - Pengatur Muda",       "II/b - Pengatur Muda Tk. I",
    "II/c - Pengatur",          "II/d - Pengatur Tk. I",      "III/a - Penata Muda",
    "III/b - Penata Muda Tk. I", "III/c - Penata ",           "III/d - Penata Tk. I",
    "IV/a - Pembina",           "IV/b - Pembina Tk. I",       "IV/c - Pembina Utama Muda",
    "IV/d - Pembina Utama Madya", "IV/e - Pembina Utama",
};
constexpr int kGolruCount = int(sizeof kGolru / sizeof kGolru[0]);
constexpr int kPenataMuda = 8;

QLabel* hint(const QString& t, QWidget* parent)
{
    auto* l = new QLabel(t, parent);
    l->setStyleSheet(QStringLiteral("color: #808080; font-style: italic;"));
    return l;
}

} // namespace

QString RegisPage::golruCode(int index)
{
    // Roman group as a digit, then the letter's place: I/a = 11 ... IV/e = 45.
    static const int codes[] = {11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44, 45};
    if (index < 0 || index >= kGolruCount)
        return {};
    return QString::number(codes[index]);
}

RegisPage::RegisPage(PageContext& ctx) : Page(ctx, QStringLiteral("xRegis"), QStringLiteral("xRegisJudul"))
{
    auto* notice = new QLabel(
        QStringLiteral("Form registrasi ini hanya boleh diakses oleh PNS Pemerintah Kabupaten Kelordan"), this);
    QFont bold = notice->font();
    bold.setBold(true);
    notice->setFont(bold);
    body()->addWidget(notice);

    auto* form = new QWidget(this);
    form->setMaximumWidth(620);
    auto* f = new QFormLayout(form);
    f->setLabelAlignment(Qt::AlignLeft);
    btrNIP = new QLineEdit(form);
    btrNIP->setObjectName(QStringLiteral("btrNIP"));
    btrNIP->setMaxLength(18);
    f->addRow(QStringLiteral("N.I.P"), btrNIP);
    f->addRow(QString(), hint(QStringLiteral("* Input NIP tanpa spasi"), form));
    cbrGolru = new QComboBox(form);
    cbrGolru->setObjectName(QStringLiteral("cbrGolru"));
    cbrGolru->setMaxVisibleItems(15);
    f->addRow(QStringLiteral("Golongan Ruang"), cbrGolru);
    f->addRow(QString(), hint(QStringLiteral("* Pilih golongan ruang anda saat ini"), form));
    cbrSKPD = new QComboBox(form);
    cbrSKPD->setObjectName(QStringLiteral("cbrSKPD"));
    cbrSKPD->setEditable(true);
    cbrSKPD->setInsertPolicy(QComboBox::NoInsert);
    cbrSKPD->setMaxVisibleItems(25);
    f->addRow(QStringLiteral("SKPD"), cbrSKPD);
    f->addRow(QString(), hint(QStringLiteral("* Pilih SKPD anda saat ini"), form));
    btrCekData = new QPushButton(QStringLiteral("Cek Data"), form);
    btrCekData->setObjectName(QStringLiteral("btrCekData"));
    f->addRow(QString(), btrCekData);
    edrPass1 = new QLineEdit(form);
    edrPass1->setObjectName(QStringLiteral("edrPass1"));
    edrPass1->setEchoMode(QLineEdit::Password);
    f->addRow(QStringLiteral("Password"), edrPass1);
    edrPass2 = new QLineEdit(form);
    edrPass2->setObjectName(QStringLiteral("edrPass2"));
    edrPass2->setEchoMode(QLineEdit::Password);
    f->addRow(QStringLiteral("Ulangi Password"), edrPass2);
    btrRegister = new QPushButton(QStringLiteral("Register"), form);
    btrRegister->setObjectName(QStringLiteral("btrRegister"));
    f->addRow(QString(), btrRegister);
    body()->addWidget(form);
    body()->addStretch(1);

    edrPass1->setEnabled(false);
    edrPass2->setEnabled(false);
    btrRegister->setEnabled(false);
    connect(btrCekData, &QPushButton::clicked, this, &RegisPage::btrCekDataClick);
    connect(btrRegister, &QPushButton::clicked, this, &RegisPage::btrRegisterClick);
}

void RegisPage::setCheckPhase(bool check)
{
    btrNIP->setEnabled(check);
    cbrGolru->setEnabled(check);
    cbrSKPD->setEnabled(check);
    btrCekData->setEnabled(check);
    edrPass1->setEnabled(!check);
    edrPass2->setEnabled(!check);
    btrRegister->setEnabled(!check);
}

void RegisPage::dxAplikasiItems1Click()
{
    Envelope(ctx_).onFailure(QString::fromUtf8(stdmsg::GagalTerhubung)).run([this](db::Query& q) {
        ctx_.styleHeader(header(), QStringLiteral("Registrasi User"));
        btrNIP->clear();
        cbrGolru->setCurrentIndex(0);
        cbrSKPD->setCurrentIndex(0);
        setCheckPhase(true);
        cbrGolru->clear();
        for (const char* g : kGolru)
            cbrGolru->addItem(QString::fromUtf8(g));
        cbrGolru->setCurrentIndex(kPenataMuda);

        const QStringList agencies = api::agencyNames(q);
        cbrSKPD->clear();
        cbrSKPD->addItems(agencies);
        cbrSKPD->setCurrentIndex(0);
        ctx_.showPage(this);
    });
}

void RegisPage::btrCekDataClick()
{
    const QString code = golruCode(cbrGolru->currentIndex());
    Envelope(ctx_).run([&](db::Query& q) {
        if (!api::personKnown(q, btrNIP->text(), code, cbrSKPD->currentText())) {
            ctx_.messages().error(QStringLiteral("Data tidak ditemukan!"));
            btrNIP->setFocus();
            return;
        }
        if (api::accountExists(q, btrNIP->text())) {
            ctx_.messages().warning(
                QStringLiteral("User sudah terdaftar!\r\rJika lupa password, hubungi admin Tarvesa.."));
            return;
        }
        setCheckPhase(false);
        edrPass1->setFocus();
    });
}

void RegisPage::btrRegisterClick()
{
    if (edrPass1->text() != edrPass2->text()) {
        ctx_.messages().warning(QStringLiteral("Password tidak sama, periksa lagi!"));
        edrPass1->setFocus();
        return;
    }
    if (edrPass1->text().size() < 8) {
        ctx_.messages().warning(QStringLiteral("Password minimal 8 karakter, periksa lagi!"));
        edrPass1->setFocus();
        return;
    }
    Envelope(ctx_).onFailure(QStringLiteral("Gagal melakkan registrasi!")).run([this](db::Query& q) {
        const QString nip = btrNIP->text();
        api::registerAccount(q, nip, edrPass1->text());
        // The server logs the registration with the account.
        ctx_.messages().information(QStringLiteral("Registrasi berhasil!"));
        cbrGolru->setCurrentIndex(kPenataMuda);
        cbrSKPD->setCurrentIndex(0);
        btrNIP->clear();
        setCheckPhase(true);
        emit registered(nip);
    });
}
