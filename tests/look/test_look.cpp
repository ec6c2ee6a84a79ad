// What users read and see without a database: Indonesian dates and Qt's own
// texts on a machine without an Indonesian locale, disabled fields that look
// disabled, message boxes wide enough for their caption.
#include "shell/indonesian.h"
#include "shell/theme.h"
#include "ui/messages.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QSet>
#include <QTranslator>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

QStringList actionTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
    return texts;
}

// Asked before the Indonesian texts: notes every text of Qt that they do
// not cover, and lets them answer.
class MissingTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        // Device errors reach no user: the client words its own file errors.
        if (qstrcmp(context, "QIODevice") != 0 && !QtIndonesianTexts::covers(context, source))
            missing.insert(QString::fromUtf8(context) + QStringLiteral(": ") + QString::fromUtf8(source));
        return {};
    }
    bool isEmpty() const override { return false; }
    mutable QSet<QString> missing;
};

// Opens the context menu that a widget shows on a right click and closes
// it again.
void openContextMenu(QWidget* w)
{
    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &e);
}

const QStringList kEditMenu{"&Urungkan", "U&lang", "Po&tong", "&Salin", "T&empel", "Hapus", "Pilih Semua"};

} // namespace

class TestLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // As on the office laptop with an English system locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        applyIndonesian(*app);
        applyLightTheme(*app);
    }

    void datesAndNumbersAreIndonesian()
    {
        QCOMPARE(QLocale().toString(QDate(2026, 8, 17), QStringLiteral("d MMMM yyyy")), QStringLiteral("17 Agustus 2026"));
        QCOMPARE(QLocale().toString(1234567.5, 'f', 1), QStringLiteral("1.234.567,5"));

        QDateEdit edit(QDate(2026, 12, 10));
        edit.setCalendarPopup(true);
        QCalendarWidget* calendar = edit.calendarWidget();
        QVERIFY(calendar);
        QCOMPARE(calendar->locale().monthName(12), QStringLiteral("Desember"));
        QCOMPARE(calendar->locale().dayName(1, QLocale::ShortFormat), QStringLiteral("Sen"));
        // The month button of the popup shows the month in Indonesian.
        calendar->show();
        bool shown = false;
        for (QToolButton* b : calendar->findChildren<QToolButton*>())
            shown = shown || b->text() == QLatin1String("Desember");
        QVERIFY(shown);
    }

    void editMenusAreIndonesian()
    {
        QLineEdit line(QStringLiteral("teks"));
        std::unique_ptr<QMenu> lineMenu(line.createStandardContextMenu());
        QCOMPARE(actionTexts(lineMenu.get()), kEditMenu);

        QPlainTextEdit text(QStringLiteral("teks"));
        std::unique_ptr<QMenu> textMenu(text.createStandardContextMenu());
        QCOMPARE(actionTexts(textMenu.get()), kEditMenu);
    }

    void standardButtonsAreIndonesian_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes) << "&Ya";
        QTest::newRow("No") << int(QDialogButtonBox::No) << "&Tidak";
        QTest::newRow("OK") << int(QDialogButtonBox::Ok) << "OK";
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << "Batal";
        QTest::newRow("Close") << int(QDialogButtonBox::Close) << "Tutup";
    }

    void standardButtonsAreIndonesian()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        const auto which = static_cast<QDialogButtonBox::StandardButton>(button);
        QDialogButtonBox box{which};
        QCOMPARE(box.button(which)->text(), text);
    }

    // Every text of Qt's own that our users meet: the edit, number and
    // scroll bar menus, dialog buttons, message boxes, the save dialog of
    // the exports, and the report's print, page setup and preview dialogs.
    void qtOwnTextsAreIndonesian()
    {
        MissingTexts watch;
        QCoreApplication::installTranslator(&watch);
        {
            QLineEdit line(QStringLiteral("teks"));
            delete line.createStandardContextMenu();
            QPlainTextEdit text(QStringLiteral("teks"));
            delete text.createStandardContextMenu();
            QSpinBox number;
            number.show();
            openContextMenu(&number);
            QDateEdit date;
            date.setCalendarPopup(true);
            date.show();
            date.calendarWidget()->show();
            openContextMenu(&date);
            for (Qt::Orientation o : {Qt::Vertical, Qt::Horizontal}) {
                QScrollBar bar(o);
                bar.show();
                openContextMenu(&bar);
            }
            for (int b = QDialogButtonBox::FirstButton; b <= QDialogButtonBox::LastButton; b <<= 1)
                QDialogButtonBox box{QDialogButtonBox::StandardButton(b)};
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Peringatan"), QStringLiteral("Gagal!"),
                            QMessageBox::Ok);
            box.setDetailedText(QStringLiteral("rincian"));
            box.show();

            QFileDialog files;
            prepareSaveDialog(files, QStringLiteral("File CSV (*.csv)"), QStringLiteral("csv"));
            files.setDirectory(QDir::tempPath());
            files.show();
            QPrinter printer;
            QPrintDialog print(&printer);
            print.show();
            QPageSetupDialog setup(&printer);
            setup.show();
            QPrintPreviewDialog preview(&printer);
            preview.show();
            QCoreApplication::processEvents();
        }
        QCoreApplication::removeTranslator(&watch);
        QStringList missing = watch.missing.values();
        missing.sort();
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

    void disabledFieldsLookDisabled()
    {
        QLineEdit on;
        QLineEdit off;
        off.setEnabled(false);
        const QColor enabled = on.palette().color(QPalette::Active, QPalette::Base);
        const QColor disabled = off.palette().color(QPalette::Disabled, QPalette::Base);
        QCOMPARE(enabled, QColor(Qt::white));
        QVERIFY2(disabled.lightness() < enabled.lightness() - 20, qPrintable(disabled.name()));

        // And what is painted differs, not only the palette.
        on.resize(120, 28);
        off.resize(120, 28);
        const QImage a = on.grab().toImage();
        const QImage b = off.grab().toImage();
        QVERIFY(a.pixelColor(60, 14) != b.pixelColor(60, 14));
    }

    // A one-word question still leaves room for the caption in the title.
    void messageBoxesFitTheirCaption_data()
    {
        QTest::addColumn<bool>("question");
        QTest::newRow("confirmation") << true;
        QTest::newRow("warning") << false;
    }

    void messageBoxesFitTheirCaption()
    {
        QFETCH(bool, question);
        QWidget parent;
        BoxMessages messages(&parent);
        int width = 0;
        QString caption;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            width = box->width();
            caption = box->windowTitle();
            box->buttons().first()->click();
        });
        if (question)
            messages.confirm(QStringLiteral("Hapus?"));
        else
            messages.warning(QStringLiteral("Gagal!"));
        QCOMPARE(caption, question ? QStringLiteral("Konfirmasi") : QStringLiteral("Peringatan"));
        QVERIFY2(width >= kMinBoxWidth, qPrintable(QString::number(width)));
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
