#include "loginpage.h"

#include "app/pageheader.h"
#include "app/umain.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

void LoginBackground::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

void LoginBackground::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (picture_.isNull())
        p.fillRect(rect(), QColor(0xE8, 0xE4, 0xF0));
    else
        p.drawPixmap(rect(), picture_);
}

namespace {

QLabel* label(const QString& text, QWidget* parent, int pixelSize, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: white;"));
    return l;
}

} // namespace

LoginPage::LoginPage(Tfmain& main) : Page(main, QStringLiteral("xLogin"), QStringLiteral("xLoginJudul"))
{
    header()->setCaption(QStringLiteral("Login"));
    bg_image = new LoginBackground(this);
    bg_image->setObjectName(QStringLiteral("bg_image"));
    body()->setContentsMargins(0, 0, 0, 0);
    body()->addWidget(bg_image);

    pLogin = new QFrame(bg_image);
    pLogin->setObjectName(QStringLiteral("pLogin"));
    pLogin->setFixedSize(370, 413);
    pLogin->setAutoFillBackground(true);

    auto* v = new QVBoxLayout(pLogin);
    v->setContentsMargins(32, 28, 32, 18);
    v->setSpacing(6);
    auto* title = label(QStringLiteral("Tarvesa Kelordan"), pLogin, 24, true);
    title->setAlignment(Qt::AlignCenter);
    v->addWidget(title);
    v->addSpacing(18);

    v->addWidget(label(QStringLiteral("NIP"), pLogin, 13));
    edLoginNIP = new QLineEdit(pLogin);
    edLoginNIP->setObjectName(QStringLiteral("edLoginNIP"));
    edLoginNIP->setMinimumHeight(28);
    v->addWidget(edLoginNIP);
    v->addWidget(label(QStringLiteral("Password"), pLogin, 13));
    edLoginPass = new QLineEdit(pLogin);
    edLoginPass->setObjectName(QStringLiteral("edLoginPass"));
    edLoginPass->setEchoMode(QLineEdit::Password);
    edLoginPass->setMinimumHeight(28);
    v->addWidget(edLoginPass);
    v->addSpacing(10);
    btLogin = new QPushButton(QStringLiteral("Login"), pLogin);
    btLogin->setObjectName(QStringLiteral("btLogin"));
    btLogin->setMinimumHeight(32);
    v->addWidget(btLogin);
    v->addSpacing(14);
    auto* hint = label(QStringLiteral("Belum ada akun? registrasi dulu"), pLogin, 12);
    hint->setAlignment(Qt::AlignCenter);
    v->addWidget(hint);
    BitBtn13 = new QPushButton(QStringLiteral("Registrasi"), pLogin);
    BitBtn13->setObjectName(QStringLiteral("BitBtn13"));
    v->addWidget(BitBtn13);
    v->addStretch(1);
    auto* foot1 = label(QStringLiteral("Sektira Kelordan"), pLogin, 12, true);
    auto* foot2 = label(QStringLiteral("2020"), pLogin, 11);
    foot1->setAlignment(Qt::AlignCenter);
    foot2->setAlignment(Qt::AlignCenter);
    v->addWidget(foot1);
    v->addWidget(foot2);
}

bool LoginPage::loadBackground()
{
    const QString path = main_.programDir() + QStringLiteral("/assets/image/login_bg.jpg");
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    bg_image->setPicture(QPixmap::fromImage(image));
    return true;
}

void LoginPage::centrePanel(int windowHeight, int pageStackWidth)
{
    pLogin->move(int(std::lround(pageStackWidth / 2.0 - pLogin->width() / 2.0)),
                 int(std::lround(windowHeight / 2.0 - pLogin->height() / 2.0)));
}
