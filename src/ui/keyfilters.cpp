#include "keyfilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

EnterKeyFilter::EnterKeyFilter(QWidget* watched, std::function<void()> action)
    : QObject(watched), action_(std::move(action))
{
    watched->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && action_)
            action_();
    }
    return QObject::eventFilter(watched, event);
}

DigitsOnlyFilter::DigitsOnlyFilter(QWidget* watched) : QObject(watched)
{
    watched->installEventFilter(this);
}

bool DigitsOnlyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->key() == Qt::Key_Backspace)
            return false;
        for (const QChar ch : text)
            if (ch.isPrint() && (ch < QLatin1Char('0') || ch > QLatin1Char('9')))
                return true; // dropped before it reaches the field
    }
    return QObject::eventFilter(watched, event);
}

void onEnter(QWidget* edit, std::function<void()> action)
{
    new EnterKeyFilter(edit, std::move(action));
}

void ignoreEnter(QWidget* edit)
{
    new EnterKeyFilter(edit, nullptr);
}

void digitsOnly(QLineEdit* edit)
{
    new DigitsOnlyFilter(edit);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}
