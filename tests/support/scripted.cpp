#include "scripted.h"

#include <QTest>

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
    return scripts.takeFirst()(dialog);
}
