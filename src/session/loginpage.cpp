#include "loginpage.h"

#include "app/pageheader.h"
#include "app/sidebar.h"
#include "app/umain.h"
#include "db/keyfilters.h"
#include "db/query.h"
#include "db/resultset.h"
#include "db/stringgrid.h"
#include "db/udm.h"
#include "logentry.h"
#include "progress/dashboardpage.h"

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

    connect(btLogin, &QPushButton::clicked, this, &LoginPage::btLoginClick);
    connect(BitBtn13, &QPushButton::clicked, &main_, &Tfmain::dxAplikasiItems1Click);
    onEnter(edLoginNIP, [this] { btLoginClick(); });
    onEnter(edLoginPass, [this] { btLoginClick(); });
}

void LoginPage::btLoginClick()
{
    // The login itself runs anonymously; a session left over from an earlier
    // login must not bind (or fail to bind) its connection.
    main_.dm().setSessionToken(QString());
    bool valid = false;
    Envelope(main_).onFailure(QString::fromUtf8(stdmsg::GagalTerhubung)).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_cek_hak_akses`(:var_nip, :var_pass)"),
                                        {{QStringLiteral("var_nip"), edLoginNIP->text()},
                                         {QStringLiteral("var_pass"), edLoginPass->text()}});
        if (rs.recordCount() <= 0) {
            main_.messages().warning(QStringLiteral("LOGIN GAGAL !\r\rApabila belum punya akun, klik tombol "
                                                    "REGISTRASI untuk request hak akses!"));
            edLoginPass->clear();
            return;
        }
        main_.nipLogin = rs.text(0, QStringLiteral("nip"));
        main_.levelUser = rs.text(0, QStringLiteral("access_level"));
        main_.dm().setSessionToken(rs.text(0, QStringLiteral("token")));
        valid = true;
    });
    if (!valid)
        return;
    SuksesLogin();
    main_.xDashboard->ResetProgressGauges();
    main_.xDashboard->LoadProgress();
}

void LoginPage::SuksesLogin()
{
    for (SideBarGroup* g : {main_.dxPNS, main_.dxTarvesa, main_.dxInformasi, main_.dxAdmin, main_.dxSetting,
                            main_.dxAplikasi})
        g->setVisible(false);
    main_.dxPNS->setVisible(true);
    main_.dxTarvesa->setVisible(true);
    main_.dxInformasi->setVisible(true);

    main_.dxAplikasi->item(0)->setCaption(QStringLiteral("Logout"));
    main_.dxAplikasi->item(0)->setVisible(true);
    main_.dxAplikasi->item(1)->setVisible(false);
    edLoginNIP->clear();
    edLoginPass->clear();

    main_.dxTarvesaItems0Click();
    main_.dxAplikasi->setVisible(true);

    const bool codes = Envelope(main_).run([&](db::Query& q) {
        const db::ResultSet rs = q.open(QStringLiteral("CALL `kinerja_get_kodejab_simpeg_by_nip`(:var_nip)"),
                                        {{QStringLiteral("var_nip"), main_.nipLogin}});
        main_.kode_jabatan = rs.first(0);
        main_.kode_induk = rs.first(1);
    });
    if (!codes)
        return;

    applyAccessLevel(main_.levelUser);
    main_.setWindowState(main_.windowState() | Qt::WindowMaximized);
    main_.showPage(main_.xDashboard);
    writeLogEntry(main_, main_.profileValue(2), QStringLiteral("LogIn"), QStringLiteral("Sukses LogIn"));
}

void LoginPage::applyAccessLevel(const QString& level)
{
    const bool system = level == QLatin1String("Admin System");
    const bool admin = system || level == QLatin1String("Admin SKPD") || level == QLatin1String("Admin Sektira");
    main_.dxPNS->setVisible(true);
    main_.dxTarvesa->setVisible(true);
    main_.dxInformasi->setVisible(true);
    main_.dxAplikasi->setVisible(true);
    main_.dxAdmin->setVisible(admin);
    main_.dxAdmin->item(0)->setVisible(true);
    main_.dxAdmin->item(1)->setVisible(true);
    main_.dxAdmin->item(2)->setVisible(system);
    main_.dxAdmin->item(3)->setVisible(system);
    main_.dxSetting->setVisible(system);
    main_.dxSetting->item(0)->setEnabled(system);
}

void LoginPage::SuksesLogout()
{
    for (SideBarGroup* g : {main_.dxAdmin, main_.dxAplikasi, main_.dxPNS, main_.dxSetting, main_.dxTarvesa,
                            main_.dxInformasi})
        g->setVisible(false);
    main_.dxInformasi->setVisible(true);
    main_.dxAplikasi->setVisible(true);
    main_.dxAplikasi->item(0)->setCaption(QStringLiteral("Login"));
    main_.dxAplikasi->item(1)->setVisible(true);
    main_.showPage(this);
    writeLogEntry(main_, main_.profileValue(2), QStringLiteral("LogIn"), QStringLiteral("Sukses LogOut"));
    revokeSession();
}

void LoginPage::revokeSession()
{
    Tdm& dm = main_.dm();
    if (dm.sessionToken().isEmpty())
        return;
    // Quietly: the user is logged out either way, and an unrevoked token
    // still expires on the server.
    try {
        main_.TryConn();
        main_.query().exec(QStringLiteral("CALL kinerja_sesi_cabut(:var_token)"),
                           {{QStringLiteral("var_token"), dm.sessionToken()}});
    } catch (const std::exception& e) {
        qWarning("session not revoked: %s", e.what());
    }
    main_.CloseConn();
    dm.setSessionToken(QString());
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
