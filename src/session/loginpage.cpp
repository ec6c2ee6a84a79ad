#include "loginpage.h"

#include "shell/pageheader.h"
#include "shell/pagecontext.h"
#include "ui/keyfilters.h"
#include "api/session.h"
#include "ui/envelope.h"

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

bool isNip(const QString& text)
{
    if (text.size() != kNipLength)
        return false;
    for (const QChar ch : text)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    return true;
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

LoginPage::LoginPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xLogin"), QStringLiteral("xLoginJudul"))
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
    // A NIP is 18 digits; the registration page takes no more either.
    edLoginNIP->setMaxLength(kNipLength);
    digitsOnly(edLoginNIP);
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

    connect(btLogin, &QPushButton::clicked, this, &LoginPage::btLoginClick);
    onEnter(edLoginNIP, [this] { btLoginClick(); });
    onEnter(edLoginPass, [this] { btLoginClick(); });
}

void LoginPage::btLoginClick()
{
    // Text that cannot be a NIP (pasted or set in code past the filter) is
    // refused here instead of reaching the server, which would only answer
    // with a failed login. An empty NIP still goes: the server answers it.
    const QString nip = edLoginNIP->text();
    if (!nip.isEmpty() && !isNip(nip)) {
        ctx_.messages().warning(QString::fromUtf8(kNipTidakValid));
        edLoginNIP->setFocus();
        return;
    }
    // A new login starts from nothing: no fact of an earlier user may
    // survive into it, even when a later load fails, and the login itself
    // runs anonymously.
    ctx_.session().clear();
    bool valid = false;
    Envelope(ctx_).onFailure(QString::fromUtf8(stdmsg::GagalTerhubung)).run([&](db::Query& q) {
        const api::Login answer = api::login(q, nip, edLoginPass->text());
        if (!answer.accepted()) {
            // a locked account is told so (and for how long), not sent to
            // register
            ctx_.messages().warning(
                answer.lockedMinutes.isEmpty()
                    ? QStringLiteral("LOGIN GAGAL !\r\rApabila belum punya akun, klik tombol "
                                     "REGISTRASI untuk request hak akses!")
                    : QStringLiteral("LOGIN GAGAL !\r\rAkun ini dikunci sementara karena terlalu sering gagal "
                                     "login. Coba lagi dalam %1 menit.")
                          .arg(answer.lockedMinutes));
            edLoginPass->clear();
            return;
        }
        Session& s = ctx_.session();
        s.nipLogin = answer.nip;
        s.levelUser = answer.level;
        s.token = answer.token;
        valid = true;
    });
    if (!valid)
        return;
    edLoginNIP->clear();
    edLoginPass->clear();
    emit loginSucceeded();
}

bool LoginPage::loadPositionCodes()
{
    Session& s = ctx_.session();
    return Envelope(ctx_).run([&](db::Query& q) {
        const api::PositionCodes codes = api::positionCodes(q, s.nipLogin);
        s.kode_jabatan = codes.position;
        s.kode_induk = codes.agency;
    });
}

void LoginPage::writeLogEntry(const QString& keterangan)
{
    const QString nip = ctx_.session().nip();
    if (nip.isEmpty())
        return;
    Envelope(ctx_).run(
        [&](db::Query& q) { api::logEntry(q, nip, QStringLiteral("LogIn"), keterangan, QString()); });
}

void LoginPage::revokeSession()
{
    const QString token = ctx_.session().token;
    if (token.isEmpty())
        return;
    // Quietly: the user is logged out either way, and an unrevoked token
    // still expires on the server.
    try {
        ctx_.TryConn();
        api::revokeSession(ctx_.query(), token);
    } catch (const std::exception& e) {
        qWarning("session not revoked: %s", e.what());
    }
    ctx_.CloseConn();
    ctx_.session().token.clear();
}

bool LoginPage::loadBackground()
{
    const QString path = ctx_.programDir() + QStringLiteral("/assets/image/login_bg.jpg");
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    bg_image->setPicture(QPixmap::fromImage(image));
    return true;
}

void LoginPage::offerNip(const QString& nip)
{
    edLoginNIP->setText(nip);
    edLoginPass->clear();
    edLoginPass->setFocus();
}

void LoginPage::centrePanel(int windowHeight, int pageStackWidth)
{
    pLogin->move(int(std::lround(pageStackWidth / 2.0 - pLogin->width() / 2.0)),
                 int(std::lround(windowHeight / 2.0 - pLogin->height() / 2.0)));
}
