// Self-registration: the personnel check, the account and its log row.
#include "shell/pageheader.h"
#include "app/umain.h"
#include "db/query.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "session/loginpage.h"
#include "session/regispage.h"
#include "testconfig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_registration");
const QString kNotFound = QStringLiteral("Data tidak ditemukan!");
const QString kAlready = QStringLiteral("User sudah terdaftar!\r\rJika lupa password, hubungi admin Tarvesa..");
const QString kFailed = QStringLiteral("Gagal melakkan registrasi!");

QString accountValue(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

bool inCheckPhase(const RegisPage* p)
{
    return p->btrNIP->isEnabled() && p->cbrGolru->isEnabled() && p->cbrSKPD->isEnabled() &&
           p->btrCekData->isEnabled() && !p->edrPass1->isEnabled() && !p->edrPass2->isEnabled() &&
           !p->btrRegister->isEnabled();
}

} // namespace

class TestRegistration : public QObject {
    Q_OBJECT

    // Opens the page and fills the check phase.
    static void check(MainFixture& f, const QString& nip, int golru, const QString& unit)
    {
        f.w.dxAplikasiItems1Click();
        f.w.xRegis->btrNIP->setText(nip);
        f.w.xRegis->cbrGolru->setCurrentIndex(golru);
        f.w.xRegis->cbrSKPD->setCurrentText(unit);
        f.w.xRegis->btrCekDataClick();
    }

    static void registerWith(MainFixture& f, const QString& pass1, const QString& pass2)
    {
        f.w.xRegis->edrPass1->setText(pass1);
        f.w.xRegis->edrPass2->setText(pass2);
        f.w.xRegis->btrRegisterClick();
    }

private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    void rankCodes()
    {
        const QStringList expected{"11", "12", "13", "14", "21", "22", "23", "24", "31",
                                   "32", "33", "34", "41", "42", "43", "44", "45"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(RegisPage::golruCode(i), expected[i]);
        QCOMPARE(RegisPage::golruCode(-1), QString());
        QCOMPARE(RegisPage::golruCode(17), QString());
    }

    void openingStartsInTheCheckPhase()
    {
        MainFixture f(kSchema);
        f.w.dxAplikasiItems1Click();
        RegisPage* p = f.w.xRegis;
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(p));
        QCOMPARE(p->header()->objectName(), QStringLiteral("xRegisJudul"));
        QCOMPARE(p->cbrGolru->count(), 17);
        QCOMPARE(p->cbrGolru->currentIndex(), 8);
        QCOMPARE(p->cbrGolru->currentText(), QStringLiteral("III/a - Penata Muda"));
        QCOMPARE(p->cbrGolru->itemText(10), QStringLiteral("III/c - Penata "));
        QStringList units;
        for (int i = 0; i < p->cbrSKPD->count(); ++i)
            units << p->cbrSKPD->itemText(i);
        QCOMPARE(units, (QStringList{"Arsip Daerah", "Badan Contoh", "Dinas Uji Coba"}));
        QCOMPARE(p->cbrSKPD->currentIndex(), 0);
        QVERIFY(inCheckPhase(p));
        QVERIFY(f.msgs.log.isEmpty());

        // Opening again after a check starts over.
        p->btrNIP->setText(kCandidate);
        p->cbrSKPD->setCurrentText(QStringLiteral("Badan Contoh"));
        p->btrCekDataClick();
        QVERIFY(!inCheckPhase(p));
        f.w.dxAplikasiItems1Click();
        QVERIFY(inCheckPhase(p));
        QCOMPARE(p->btrNIP->text(), QString());
    }

    void personnelCheck_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<int>("golru");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("message"); // empty: password phase
        QTest::newRow("match") << kCandidate << 8 << "Badan Contoh" << "";
        QTest::newRow("short nip") << kCandidate.left(17) << 8 << "Badan Contoh" << kNotFound;
        QTest::newRow("blank inside the 18") << " " + kCandidate.left(17) << 8 << "Badan Contoh" << kNotFound;
        QTest::newRow("wrong rank") << kCandidate << 9 << "Badan Contoh" << kNotFound;
        QTest::newRow("wrong unit") << kCandidate << 8 << "Dinas Uji Coba" << kNotFound;
        QTest::newRow("typed in other case") << kCandidate << 8 << "badan contoh" << "";
        QTest::newRow("unit with blanks") << kCandidate << 8 << "  Badan Contoh  " << kNotFound;
        QTest::newRow("already registered") << kPelaksana << 6 << "Dinas Uji Coba" << kAlready;
        QTest::newRow("injection") << "' OR '1'='1" << 8 << "' OR '1'='1" << kNotFound;
    }

    void personnelCheck()
    {
        QFETCH(QString, nip);
        QFETCH(int, golru);
        QFETCH(QString, unit);
        QFETCH(QString, message);
        MainFixture f(kSchema);
        check(f, nip, golru, unit);
        if (message.isEmpty()) {
            QVERIFY2(f.msgs.log.isEmpty(), qPrintable(f.msgs.texts().join('|')));
            QVERIFY(!inCheckPhase(f.w.xRegis));
        } else {
            QCOMPARE(f.msgs.texts(), QStringList{message});
            QCOMPARE(f.msgs.lastKind(), message == kNotFound ? Messages::Kind::Error : Messages::Kind::Warning);
            QVERIFY(inCheckPhase(f.w.xRegis));
        }
    }

    void accountsAreStoredWithoutBlanks()
    {
        // Whatever client inserts an account, its NIP is stored without the
        // blanks around it, so the owner logs in with the NIP itself; the
        // same NIP again is refused.
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO cache_pns (nip, nama_lengkap, golongan_id, kode_jabatan, "
                                          "jenis_jabatan_id, nama_jabatan, unit_id, nama_unit, induk_id, nama_induk) "
                                          "SELECT LEFT(nip, 16), nama_lengkap, golongan_id, kode_jabatan, "
                                          "jenis_jabatan_id, nama_jabatan, unit_id, nama_unit, induk_id, nama_induk "
                                          "FROM cache_pns WHERE nip = '" + kCandidate + "'"));
        MainFixture f(kSchema);
        const QString insert = QStringLiteral(
            "insert into kinerja_user (nip, pass, level) values (:var_nip, md5(:var_pass), '1')");
        QVERIFY(Envelope(f.w).run([&](db::Query& q) {
            q.exec(insert, {{"var_nip", " " + kCandidate.left(16) + " "}, {"var_pass", "rahasia123"}});
        }));
        QCOMPARE(accountValue("SELECT CONCAT('[', nip, ']') FROM kinerja_user WHERE nip LIKE '%" +
                              kCandidate.left(16) + "%'"),
                 "[" + kCandidate.left(16) + "]");
        QVERIFY(!Envelope(f.w).run([&](db::Query& q) {
            q.exec(insert, {{"var_nip", kCandidate.left(16) + "  "}, {"var_pass", "lain"}});
        }));
        QCOMPARE(accountValue("SELECT COUNT(*) FROM kinerja_user WHERE nip LIKE '%" + kCandidate.left(16) + "%'"),
                 QStringLiteral("1"));
    }

    void passwordRules_data()
    {
        QTest::addColumn<QString>("pass1");
        QTest::addColumn<QString>("pass2");
        QTest::addColumn<QString>("message");
        QTest::newRow("differ") << "rahasia123" << "rahasia124" << "Password tidak sama, periksa lagi!";
        QTest::newRow("both empty") << "" << "" << "Password minimal 8 karakter, periksa lagi!";
        QTest::newRow("seven") << "1234567" << "1234567" << "Password minimal 8 karakter, periksa lagi!";
    }

    void passwordRules()
    {
        QFETCH(QString, pass1);
        QFETCH(QString, pass2);
        QFETCH(QString, message);
        MainFixture f(kSchema);
        check(f, kCandidate, 8, QStringLiteral("Badan Contoh"));
        registerWith(f, pass1, pass2);
        QCOMPARE(f.msgs.texts(), QStringList{message});
        QCOMPARE(f.msgs.lastKind(), Messages::Kind::Warning);
        QVERIFY(!inCheckPhase(f.w.xRegis)); // still the password phase
        QCOMPARE(accountValue("SELECT COUNT(*) FROM kinerja_user WHERE nip = '" + kCandidate + "'"), "0");
    }

    void registrationCreatesABasicAccount_data()
    {
        QTest::addColumn<QString>("pass");
        QTest::newRow("eight") << "12345678";
        QTest::newRow("quotes and sql") << "a'b\"c`d'); DROP TABLE kinerja_user; --";
        QTest::newRow("backslash emoji") << "x\\y😀z\\\\";
    }

    void registrationCreatesABasicAccount()
    {
        QFETCH(QString, pass);
        MainFixture f(kSchema);
        // An earlier try on the login page left another NIP and a password.
        f.w.xLogin->edLoginNIP->setText(kPelaksana);
        f.w.xLogin->edLoginPass->setText(QStringLiteral("salah"));
        check(f, kCandidate, 8, QStringLiteral("Badan Contoh"));
        registerWith(f, pass, pass);
        QCOMPARE(f.msgs.texts(), QStringList{QStringLiteral("Registrasi berhasil!")});
        QCOMPARE(f.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(accountValue("SELECT CONCAT(level, '|', pass = MD5(UNHEX('" +
                              QString::fromLatin1(pass.toUtf8().toHex()) + "'))) FROM kinerja_user WHERE nip = '" +
                              kCandidate + "'"),
                 QStringLiteral("1|1"));
        QCOMPARE(accountValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = '" + kCandidate +
                              "' AND aksi = 'Register' AND keterangan = 'Sukses Register' "
                              "AND tanggal_aksi >= NOW() - INTERVAL 1 MINUTE"),
                 QStringLiteral("1"));
        QVERIFY(inCheckPhase(f.w.xRegis));
        QCOMPARE(f.w.xRegis->btrNIP->text(), QString());
        QCOMPARE(f.w.xRegis->cbrGolru->currentIndex(), 8);
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xLogin));
        // The login page offers the new account, waiting for its password.
        QCOMPARE(f.w.xLogin->edLoginNIP->text(), kCandidate);
        QCOMPARE(f.w.xLogin->edLoginPass->text(), QString());

        f.msgs.clear();
        f.login(kCandidate, pass);
        QVERIFY(f.msgs.log.isEmpty());
        QCOMPARE(f.w.session().nipLogin, kCandidate);
    }

    void maintenanceRefusesRegistration()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        MainFixture f(kSchema);
        check(f, kCandidate, 8, QStringLiteral("Badan Contoh"));
        registerWith(f, QStringLiteral("rahasia123"), QStringLiteral("rahasia123"));
        QCOMPARE(f.msgs.texts(), QStringList{kFailed + "\rSistem sedang maintenance."});
        QVERIFY(!inCheckPhase(f.w.xRegis));
        QCOMPARE(accountValue("SELECT COUNT(*) FROM kinerja_user WHERE nip = '" + kCandidate + "'"), "0");
    }

    // The server writes the registration's log row with the account: one
    // that fails takes the account back, and the user hears of the failure
    // only.
    void logRowFailingTakesTheAccountBack()
    {
        QVERIFY(testdb::rootExec(kSchema, "CREATE TRIGGER uji_log_gagal BEFORE INSERT ON kinerja_log_proses FOR EACH "
                                          "ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'log rusak'"));
        MainFixture f(kSchema);
        check(f, kCandidate, 8, QStringLiteral("Badan Contoh"));
        registerWith(f, QStringLiteral("rahasia123"), QStringLiteral("rahasia123"));
        QCOMPARE(f.msgs.texts(), QStringList{kFailed + "\rlog rusak."});
        QCOMPARE(accountValue("SELECT COUNT(*) FROM kinerja_user WHERE nip = '" + kCandidate + "'"), "0");
        QVERIFY(!inCheckPhase(f.w.xRegis));
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xRegis));
    }

    void loginButtonOpensRegistration()
    {
        MainFixture f(kSchema);
        f.w.xLogin->BitBtn13->click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xRegis));
    }
};

QTEST_MAIN(TestRegistration)
#include "test_registration.moc"
