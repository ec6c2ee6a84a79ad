// Login, logout and the side bar by access level.
#include "app/sidebar.h"
#include "app/umain.h"
#include "ui/stringgrid.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "progress/dashboardpage.h"
#include "session/loginpage.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_session");
const QString kLoginGagal = QStringLiteral(
    "LOGIN GAGAL !\r\rApabila belum punya akun, klik tombol REGISTRASI untuk request hak akses!");

int logCount(const QString& where)
{
    return testdb::rootValue(kSchema, QStringLiteral("SELECT COUNT(*) FROM kinerja_log_proses WHERE ") + where).toInt();
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")})); }

    void refusedLogins_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("pass");
        QTest::newRow("wrong password") << kPelaksana << "rahasia124";
        QTest::newRow("unknown nip") << "199999999999999999" << "rahasia123";
        QTest::newRow("empty nip") << "" << "rahasia123";
        QTest::newRow("no account") << "199508082020012008" << "rahasia123";
        QTest::newRow("injection in nip") << "' OR '1'='1" << "' OR '1'='1";
        QTest::newRow("injection in password") << kPelaksana << "x') OR ('1'='1";
    }

    void refusedLogins()
    {
        QFETCH(QString, nip);
        QFETCH(QString, pass);
        MainFixture f(kSchema);
        const int logs = logCount("1=1");
        f.login(nip, pass);
        QCOMPARE(f.msgs.texts(), QStringList{kLoginGagal});
        QCOMPARE(f.msgs.lastKind(), Messages::Kind::Warning);
        QCOMPARE(f.w.xLogin->edLoginNIP->text(), nip); // only the password is cleared
        QCOMPARE(f.w.xLogin->edLoginPass->text(), QString());
        QCOMPARE(f.w.dxAplikasi->item(0)->caption(), QStringLiteral("Login"));
        QVERIFY(f.w.dxTarvesa->isHidden());
        // the server logs the failure, and nothing else
        QCOMPARE(logCount("1=1"), logs + 1);
        QCOMPARE(logCount("id = (SELECT MAX(id) FROM kinerja_log_proses) AND aksi = 'LogIn' "
                          "AND keterangan = 'Gagal LogIn'"),
                 1);
        QVERIFY(!f.dm.connected());
    }

    void enterInThePasswordFieldLogsIn()
    {
        MainFixture f(kSchema);
        f.w.xLogin->edLoginPass->setText(QStringLiteral("rahasia123"));
        QTest::keyClick(f.w.xLogin->edLoginPass, Qt::Key_Return); // NIP empty: sent as is
        QCOMPARE(f.msgs.texts(), QStringList{kLoginGagal});
        f.msgs.clear();
        f.w.xLogin->edLoginNIP->setText(kPelaksana);
        f.w.xLogin->edLoginPass->setText(QStringLiteral("rahasia123"));
        QTest::keyClick(f.w.xLogin->edLoginNIP, Qt::Key_Enter);
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.session().nipLogin, kPelaksana);
    }

    void sideBarByAccessLevel_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("admin");
        QTest::addColumn<bool>("adminLogItems");
        QTest::addColumn<bool>("setting");
        QTest::newRow("Admin System") << kKepala << "Admin System" << true << true << true;
        QTest::newRow("Admin SKPD") << kKabid << "Admin SKPD" << true << false << false;
        QTest::newRow("Admin Sektira") << kAnalis << "Admin Sektira" << true << false << false;
        QTest::newRow("Supervisor") << kPlt << "Supervisor" << false << false << false;
        QTest::newRow("Basic User") << kPelaksana << "Basic User" << false << false << false;
        QTest::newRow("other case") << kPengelola << "Admin  System" << false << false << false;
    }

    void sideBarByAccessLevel()
    {
        QFETCH(QString, nip);
        QFETCH(QString, level);
        QFETCH(bool, admin);
        QFETCH(bool, adminLogItems);
        QFETCH(bool, setting);
        MainFixture f(kSchema);
        f.login(nip);
        QVERIFY2(f.msgs.log.isEmpty(), qPrintable(f.msgs.texts().join('|')));
        QCOMPARE(f.w.session().nipLogin, nip);
        QCOMPARE(f.w.session().levelUser, level);
        QVERIFY(!f.w.dxPNS->isHidden());
        QVERIFY(!f.w.dxTarvesa->isHidden());
        QVERIFY(!f.w.dxInformasi->isHidden());
        QVERIFY(!f.w.dxAplikasi->isHidden());
        QCOMPARE(!f.w.dxAdmin->isHidden(), admin);
        if (admin) {
            QVERIFY(!f.w.dxAdmin->item(0)->isHidden());
            QVERIFY(!f.w.dxAdmin->item(1)->isHidden());
            QCOMPARE(!f.w.dxAdmin->item(2)->isHidden(), adminLogItems);
            QCOMPARE(!f.w.dxAdmin->item(3)->isHidden(), adminLogItems);
        }
        QCOMPARE(!f.w.dxSetting->isHidden(), setting);
        QCOMPARE(f.w.dxSetting->item(0)->isEnabled(), setting);
        QCOMPARE(f.w.dxAplikasi->item(0)->caption(), QStringLiteral("Logout"));
        QVERIFY(!f.w.dxAplikasi->item(0)->isHidden());
        QVERIFY(f.w.dxAplikasi->item(1)->isHidden());
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xDashboard));
        QCOMPARE(f.w.session().kode_induk, QStringLiteral("U1"));
        QVERIFY(!f.w.session().kode_jabatan.isEmpty());
        QVERIFY(f.w.windowState() & Qt::WindowMaximized);
        QVERIFY(f.w.xLogin->edLoginNIP->text().isEmpty());
        QVERIFY(f.w.xLogin->edLoginPass->text().isEmpty());
    }

    void secondLoginStartsAfresh()
    {
        MainFixture f(kSchema);
        f.login(kKabid);
        QVERIFY(f.w.dxAdmin->item(2)->isHidden());
        f.w.dxAplikasiItems0Click(); // logout
        f.login(kKepala);
        for (int i = 0; i < 4; ++i)
            QVERIFY(!f.w.dxAdmin->item(i)->isHidden());
        QVERIFY(!f.w.dxSetting->isHidden());
        f.w.dxAplikasiItems0Click();
        f.login(kPelaksana);
        QVERIFY(f.w.dxAdmin->isHidden());
        QVERIFY(f.w.dxSetting->isHidden());
        QVERIFY(!f.w.dxSetting->item(0)->isEnabled());
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.session().kode_jabatan, QStringLiteral("J5"));
    }

    void loginAndLogoutAreLogged()
    {
        MainFixture f(kSchema);
        const QString mine = QStringLiteral("nip = '%1' AND aksi = 'LogIn' AND keterangan = '%2' AND target IS NULL "
                                            "AND tanggal_aksi >= NOW() - INTERVAL 1 MINUTE");
        const int ins = logCount(mine.arg(kPlt, "Sukses LogIn"));
        const int outs = logCount(mine.arg(kPlt, "Sukses LogOut"));
        f.login(kPlt);
        QCOMPARE(logCount(mine.arg(kPlt, "Sukses LogIn")), ins + 1);
        const QString name = f.w.xDashboard->lDsNama->text();

        f.w.dxAplikasiItems0Click();
        QCOMPARE(logCount(mine.arg(kPlt, "Sukses LogOut")), outs + 1);
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xLogin));
        QCOMPARE(f.w.dxAplikasi->item(0)->caption(), QStringLiteral("Login"));
        QVERIFY(!f.w.dxAplikasi->item(1)->isHidden());
        for (SideBarGroup* g : {f.w.dxPNS, f.w.dxTarvesa, f.w.dxAdmin, f.w.dxSetting})
            QVERIFY(g->isHidden());
        QVERIFY(!f.w.dxInformasi->isHidden());
        QVERIFY(!f.w.dxAplikasi->isHidden());
        // Gauges zeroed and the identity box kept; the session is gone, so
        // nothing done afterwards can act for the user who left.
        QCOMPARE(f.w.xDashboard->gaiDiakui.bar->value(), 0);
        QCOMPARE(f.w.xDashboard->gaiDiakui.label->text(), QStringLiteral("0 %"));
        QCOMPARE(f.w.xDashboard->gaiAKTotal.label->text(), QStringLiteral("0"));
        QCOMPARE(f.w.xDashboard->lDsNama->text(), name);
        QCOMPARE(f.w.profileValue(2), QString());
        QVERIFY(f.w.session().nipLogin.isEmpty());
        QVERIFY(f.w.session().levelUser.isEmpty());
        QVERIFY(f.msgs.log.isEmpty());
    }

    void sessionLivesFromLoginToLogout()
    {
        MainFixture f(kSchema);
        const auto sessions = [](const QString& where) {
            return testdb::rootValue(kSchema, "SELECT COUNT(*) FROM kinerja_sesi WHERE nip = '" + kAnalis + "' AND " +
                                                  where);
        };
        f.login(kAnalis);
        QVERIFY(f.msgs.log.isEmpty());
        const QString token = f.w.session().token;
        QCOMPARE(token.size(), 64);
        QCOMPARE(sessions("tanggal_cabut IS NULL AND token_sha2 = SHA2('" + token + "', 256)"), "1");
        // Revoked behind the client's back: the next operation acts for
        // nobody, and the server refuses its statement.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_sesi SET tanggal_cabut = NOW()"));
        f.w.dxTarvesaItems0Click();
        QCOMPARE(f.msgs.texts().value(0), QStringLiteral("Gagal mengambil data!"));
        QVERIFY(!f.dm.connected());
        // A new login binds again; the logout revokes and forgets the token.
        f.w.dxAplikasiItems0Click(); // logout: its log entry cannot bind either
        QCOMPARE(f.w.session().token, QString());
        f.msgs.clear();
        f.login(kAnalis);
        QVERIFY(f.msgs.log.isEmpty());
        QVERIFY(f.w.session().token != token);
        const QString second = f.w.session().token;
        f.w.dxAplikasiItems0Click();
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.session().token, QString());
        QCOMPARE(sessions("tanggal_cabut IS NOT NULL AND token_sha2 = SHA2('" + second + "', 256)"), "1");
    }

    void positionCodesFailingKeepsThePlainSideBar()
    {
        MainFixture f(kSchema);
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_get_kodejab_simpeg_by_nip"));
        const int logs = logCount("aksi = 'LogIn'");
        f.login(kKepala);
        QVERIFY(testdb::rootExec(kSchema, "CREATE PROCEDURE kinerja_get_kodejab_simpeg_by_nip(IN var_nip VARCHAR(40)) "
                                          "SELECT kode_jabatan, induk_id FROM cache_pns WHERE nip = var_nip"));
        QCOMPARE(f.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan)});
        QCOMPARE(f.w.dxAplikasi->item(0)->caption(), QStringLiteral("Logout"));
        QVERIFY(f.w.dxAdmin->isHidden());
        QVERIFY(f.w.dxSetting->isHidden());
        QVERIFY(!f.w.dxTarvesa->isHidden());
        QCOMPARE(logCount("aksi = 'LogIn'"), logs);
    }

    void serverDownAtLogin()
    {
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.port = 1;
        ScriptedMessages msgs;
        Tdm dm(s);
        Tfmain w(dm, Tfmain::Seams{&msgs, nullptr, nullptr, {}, {}});
        w.xLogin->edLoginNIP->setText(kPelaksana);
        w.xLogin->edLoginPass->setText(QStringLiteral("rahasia123"));
        w.xLogin->btLoginClick();
        QCOMPARE(msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalTerhubung)});
        QCOMPARE(w.dxAplikasi->item(0)->caption(), QStringLiteral("Login"));
        QVERIFY(w.session().nipLogin.isEmpty());
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
