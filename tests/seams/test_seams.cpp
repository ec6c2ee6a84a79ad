// The dialog seam tells how a dialog ended, so that tests can tell a wizard
// still waiting from one that closed; a dialog's result() alone cannot.
#include "shell/seams.h"
#include "scripted.h"

#include <QDialog>
#include <QTest>

#include <functional>

Q_DECLARE_METATYPE(DialogEnd)

class TestSeams : public QObject {
    Q_OBJECT
private slots:
    void dialogEnds_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("how");
        QTest::addColumn<DialogEnd>("end");
        // how: 0 nothing, 1 accept, 2 reject, 3 close, 4 done(5)
        for (const bool shown : {false, true}) {
            const char* s = shown ? "shown, " : "never shown, ";
            QTest::addRow("%sleft open", s) << shown << 0 << DialogEnd::StillOpen;
            QTest::addRow("%saccepted", s) << shown << 1 << DialogEnd::Accepted;
            QTest::addRow("%srejected", s) << shown << 2 << DialogEnd::Rejected;
            QTest::addRow("%sclosed", s) << shown << 3 << DialogEnd::Closed;
            QTest::addRow("%sother code", s) << shown << 4 << DialogEnd::Accepted;
        }
    }

    void dialogEnds()
    {
        QFETCH(bool, shown);
        QFETCH(int, how);
        QFETCH(DialogEnd, end);
        ScriptedDialogs dialogs;
        DialogEnd during = DialogEnd::Closed;
        dialogs.expect([&](QDialog& d) {
            if (shown)
                d.show();
            during = dialogs.state();
            const std::function<void()> ends[] = {[] {}, [&] { d.accept(); }, [&] { d.reject(); },
                                                  [&] { d.close(); }, [&] { d.done(5); }};
            ends[how]();
        });
        QDialog dialog;
        dialogs.exec(dialog);
        QCOMPARE(during, DialogEnd::StillOpen);
        QCOMPARE(dialogs.lastEnd(), end);
        QCOMPARE(dialogs.ended.size(), 1);
        QCOMPARE(dialogs.state(), DialogEnd::StillOpen); // no dialog is being driven now
    }
};

QTEST_MAIN(TestSeams)
#include "test_seams.moc"
