#include "scripted.h"

#include "shell/indonesian.h"

#include <QCoreApplication>
#include <QTest>

namespace {

// Every suite that drives pages or dialogs sees them as users do: Indonesian
// dates, numbers and Qt's own texts, whatever the machine's locale.
void startIndonesian()
{
    applyIndonesian(*QCoreApplication::instance());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startIndonesian)

bool ScriptedMessages::confirm(const QString& text)
{
    log.append({Kind::Confirmation, text});
    if (answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__, __LINE__);
        return false;
    }
    return answers.takeFirst();
}

QStringList ScriptedMessages::texts() const
{
    QStringList t;
    for (const Entry& e : log)
        t << e.text;
    return t;
}

int ScriptedDialogs::exec(QDialog& dialog)
{
    opened << QString::fromUtf8(dialog.metaObject()->className());
    if (scripts.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected dialog: ") + opened.last()), __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    DialogWatch watch(dialog);
    watch_ = &watch;
    const int result = scripts.takeFirst()(dialog);
    watch_ = nullptr;
    ended << watch.end();
    return result;
}

char* toString(DialogEnd end)
{
    switch (end) {
    case DialogEnd::StillOpen:
        return qstrdup("StillOpen");
    case DialogEnd::Accepted:
        return qstrdup("Accepted");
    case DialogEnd::Rejected:
        return qstrdup("Rejected");
    case DialogEnd::Closed:
        return qstrdup("Closed");
    }
    return qstrdup("?");
}
