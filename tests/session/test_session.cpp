// Login, logout and the side bar by access level.
#include "ui/sidebar.h"
#include "app/umain.h"
#include "ui/stringgrid.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "progress/dashboardpage.h"
#include "relay.h"
#include "session/loginpage.h"
#include "db/query.h"
#include "ui/envelope.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QClipboard>
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
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    // After five failures the account is locked: every attempt, the right
    // password too, says so and for how long instead of sending the user
    // to register.
    void lockedLoginIsExplained()
    {
        const QString locked = QStringLiteral("LOGIN GAGAL !\r\rAkun ini dikunci sementara karena terlalu sering "
                                              "gagal login. Coba lagi dalam %1 menit.");
        MainFixture f(kSchema);
        for (int i = 0; i < 4; ++i)
            f.login(kPelaksana, QStringLiteral("salah-salah"));
        QCOMPARE(f.msgs.texts(), QStringList(4, kLoginGagal));
        f.msgs.clear();
        f.login(kPelaksana, QStringLiteral("salah-salah")); // the fifth locks
        QCOMPARE(f.msgs.texts(), QStringList{locked.arg(15)});
        f.msgs.clear();
        f.login(kPelaksana);
        QCOMPARE(f.msgs.texts(), QStringList{locked.arg(15)});
        QVERIFY(f.w.session().nipLogin.isEmpty());
        // whole minutes still to wait, rounded up
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_login_kunci SET kunci_sampai = NOW() + INTERVAL 130 SECOND"));
        f.msgs.clear();
        f.login(kPelaksana);
        QCOMPARE(f.msgs.texts(), QStringList{locked.arg(3)});
        // other accounts are not locked, and an unknown NIP is never
        f.msgs.clear();
        f.login(QStringLiteral("199999999999999999"), QStringLiteral("x"));
        QCOMPARE(f.msgs.texts(), QStringList{kLoginGagal});
    }

    // While logged in, operations share one connection: no handshake and no
    // routine parsed again per operation. The binding holds across them.
    void operationsShareTheWarmConnection()
    {
        MainFixture f(kSchema);
        f.login(kPelaksana);
        QVERIFY(f.msgs.log.isEmpty());
        QVERIFY(f.w.dm().warm());
        const auto connection = [&] {
            QString id;
            const bool ok = Envelope(f.w).run([&](db::Query& q) {
                id = q.open(QStringLiteral("SELECT CONNECTION_ID() AS id")).first(0);
                // still acting for the user
                q.open(QStringLiteral("CALL kinerja_get_kodejab_simpeg_by_nip(:n)"), {{QStringLiteral("n"), kPelaksana}});
            });
            return ok ? id : QString();
        };
        const QString first = connection();
        QVERIFY(!first.isEmpty());
        QCOMPARE(connection(), first);
        QVERIFY(!f.w.dm().connected()); // handed back, not held
        // A failed operation drops it: the next one starts anew.
        QVERIFY(!Envelope(f.w).run([](db::Query& q) { q.exec(QStringLiteral("CALL kinerja_no_such_thing()")); }));
        QVERIFY(!f.w.dm().warm());
        const QString after = connection();
        QVERIFY(!after.isEmpty() && after != first);
        // Logout closes it; the next user's operations are anonymous.
        QTest::mouseClick(f.w.dxAplikasi->item(0), Qt::LeftButton);
        QVERIFY(!f.w.dm().warm());
    }

    // The warm connection lost between two operations (killed on the
    // server, timed out): the next operation finds out before it sends
    // anything, and works on a new one; nothing hangs.
    void lostWarmConnection_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("killed") << "kill";
        QTest::newRow("killed, then a pause") << "kill-pause";
        QTest::newRow("idle timeout passed") << "timeout";
    }
    void lostWarmConnection()
    {
        QFETCH(QString, how);
        MainFixture f(kSchema);
        f.login(kPelaksana);
        QString id;
        QVERIFY(Envelope(f.w).run([&](db::Query& q) {
            id = q.open(QStringLiteral("SELECT CONNECTION_ID() AS id")).first(0);
            if (how == QLatin1String("timeout"))
                q.exec(QStringLiteral("SET SESSION wait_timeout = 1"));
        }));
        if (how.startsWith(QLatin1String("kill")))
            QVERIFY(testdb::rootExec(kSchema, "KILL " + id));
        if (how != QLatin1String("kill"))
            QTest::qWait(2500);
        f.msgs.clear();
        QElapsedTimer t;
        t.start();
        const auto profile = [&] {
            return Envelope(f.w).run([&](db::Query& q) {
                q.open(QStringLiteral("CALL kinerja_get_kodejab_simpeg_by_nip(:n)"), {{QStringLiteral("n"), kPelaksana}});
            });
        };
        QVERIFY(profile());
        QVERIFY2(f.msgs.log.isEmpty(), qPrintable(f.msgs.texts().join('|')));
        QVERIFY(t.elapsed() < 10000);
    }

    // Maintenance shows in the status bar as soon as the server tells: at
    // the profile load, and at the first refusal of a write.
    void maintenanceShowsInTheStatusBar()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        MainFixture f(kSchema);
        QVERIFY(f.w.sbMaintenance->isHidden());
        f.login(kPelaksana);
        QVERIFY(!f.w.sbMaintenance->isHidden());
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '0' WHERE nama = 'is_maintenance'"));
        f.w.dxTarvesaItems0Click();
        QVERIFY(f.w.sbMaintenance->isHidden());
        // switched on while the user works: the first refused write tells
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        f.msgs.clear();
        QVERIFY(!Envelope(f.w).onFailure(QString::fromUtf8(stdmsg::GagalMenyimpan)).run([](db::Query& q) {
            q.exec(QStringLiteral("CALL kinerja_aktivitas_hapus('201')"));
        }));
        QCOMPARE(f.msgs.texts(),
                 QStringList{QString::fromUtf8(stdmsg::GagalMenyimpan) + QStringLiteral("\rSistem sedang maintenance.")});
        QVERIFY(!f.w.sbMaintenance->isHidden());
        // a new user starts without it until the server says so again
        QTest::mouseClick(f.w.dxAplikasi->item(0), Qt::LeftButton); // Logout
        QVERIFY(f.w.sbMaintenance->isHidden());
    }

    void refusedLogins_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("pass");
        QTest::newRow("wrong password") << kPelaksana << "rahasia124";
        QTest::newRow("unknown nip") << "199999999999999999" << "rahasia123";
        QTest::newRow("empty nip") << "" << "rahasia123";
        QTest::newRow("no account") << "199508082020012008" << "rahasia123";
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

    // The NIP field takes 18 digits; text that cannot be a NIP is refused
    // before the server is asked, and never blamed on the connection.
    void loginNipIsEighteenDigits_data()
    {
        QTest::addColumn<QString>("how"); // typed, pasted, or set past the key filter
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message"); // empty: logged in
        QTest::addColumn<bool>("asked");      // the server saw the login
        const QString refused = QString::fromUtf8(kNipTidakValid);
        const QString unknown = QStringLiteral("199999999999999999");
        QTest::newRow("letters typed") << "typed" << "1991a0404b2016011004" << kPelaksana << "" << true;
        QTest::newRow("letters set") << "set" << "19910404201601100x" << "19910404201601100x" << refused << false;
        QTest::newRow("injection set") << "set" << "' OR '1'='1" << "' OR '1'='1" << refused << false;
        QTest::newRow("letters pasted") << "pasted" << "1991040420160110ab" << "" << kLoginGagal << true;
        QTest::newRow("17 digits") << "typed" << kPelaksana.left(17) << kPelaksana.left(17) << refused << false;
        QTest::newRow("18 digits") << "typed" << kPelaksana << kPelaksana << "" << true;
        QTest::newRow("19 digits") << "typed" << kPelaksana + "9" << kPelaksana << "" << true;
        QTest::newRow("300 digits pasted") << "pasted" << unknown + QString(282, QLatin1Char('7')) << unknown
                                           << kLoginGagal << true;
    }

    void loginNipIsEighteenDigits()
    {
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, field);
        QFETCH(QString, message);
        QFETCH(bool, asked);
        MainFixture f(kSchema);
        QLineEdit* nip = f.w.xLogin->edLoginNIP;
        if (how == QLatin1String("typed")) {
            QTest::keyClicks(nip, input);
        } else if (how == QLatin1String("pasted")) {
            QApplication::clipboard()->setText(input);
            QCOMPARE(QApplication::clipboard()->text(), input);
            nip->paste();
        } else {
            nip->setText(input);
        }
        QCOMPARE(nip->text(), field);
        const int attempts = logCount("aksi = 'LogIn'");
        f.w.xLogin->edLoginPass->setText(QStringLiteral("rahasia123"));
        f.w.xLogin->btLoginClick();
        QCOMPARE(f.msgs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(logCount("aksi = 'LogIn'") > attempts, asked);
        QCOMPARE(f.w.session().nipLogin, message.isEmpty() ? field : QString());
        if (message == QString::fromUtf8(kNipTidakValid)) {
            // Nothing typed is lost.
            QCOMPARE(nip->text(), field);
            QCOMPARE(f.w.xLogin->edLoginPass->text(), QStringLiteral("rahasia123"));
        }
    }

    void focusReturnsToTheNipAfterLogout()
    {
        MainFixture f(kSchema);
        f.w.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.w));
        QTest::keyClicks(f.w.xLogin->edLoginNIP, kPelaksana);
        QTest::keyClicks(f.w.xLogin->edLoginPass, QStringLiteral("rahasia123"));
        QTest::mouseClick(f.w.xLogin->btLogin, Qt::LeftButton);
        QCOMPARE(f.w.session().nipLogin, kPelaksana);
        // The login page went away with the focus: it now sits in the side bar.
        QVERIFY(!f.w.xLogin->edLoginNIP->hasFocus());
        QTest::mouseClick(f.w.dxAplikasi->item(0), Qt::LeftButton); // Logout
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xLogin));
        QVERIFY(f.w.xLogin->edLoginNIP->hasFocus());
    }

    // The status bar follows the last connection: down, back, down again.
    void statusBarTellsWhetherTheServerAnswered()
    {
        ServerRelay relay(testdb::port());
        db::ConnSettings s = testdb::appSettings(kSchema);
        s.port = relay.port();
        ScriptedMessages msgs;
        Tdm dm(s);
        Tfmain w(dm, Tfmain::Seams{&msgs, nullptr, nullptr, {}, {}});
        const QString down = QStringLiteral("Tidak terhubung ke server : ") + s.host;
        const QString up = QStringLiteral("Connected on server : ") + s.host;
        const auto login = [&] {
            w.xLogin->edLoginNIP->setText(kPelaksana);
            w.xLogin->edLoginPass->setText(QStringLiteral("rahasia123"));
            w.xLogin->btLoginClick();
        };

        login();
        QCOMPARE(msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalTerhubung)});
        QCOMPARE(w.sb1Panel1->text(), down);

        QVERIFY(relay.up());
        msgs.clear();
        login();
        QVERIFY2(msgs.log.isEmpty(), qPrintable(msgs.texts().join('|')));
        QCOMPARE(w.session().nipLogin, kPelaksana);
        QCOMPARE(w.sb1Panel1->text(), up);

        relay.down();
        w.dxTarvesaItems0Click();
        QVERIFY(!msgs.log.isEmpty());
        QCOMPARE(w.sb1Panel1->text(), down);
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
        QCOMPARE(f.msgs.texts().value(0), QStringLiteral("Gagal mengambil data!\rBelum login."));
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
