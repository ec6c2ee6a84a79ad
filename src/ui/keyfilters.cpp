#include "keyfilters.h"

#include <QDate>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
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

namespace {

class DatePartFilter : public QObject {
public:
    DatePartFilter(QDateTimeEdit* edit, QLineEdit* line) : QObject(edit), edit_(edit), line_(line)
    {
        edit->installEventFilter(this);
        line->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // After the cursor moved (the press placed it; a drag selects by
        // itself), unless the user selected something.
        bool moved = false;
        if (watched == line_ && event->type() == QEvent::MouseButtonRelease)
            moved = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (watched == edit_ && event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            moved = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
        }
        if (moved && !line_->hasSelectedText() && !edit_->isReadOnly())
            edit_->setSelectedSection(edit_->currentSection());
        return QObject::eventFilter(watched, event);
    }

private:
    QDateTimeEdit* edit_;
    QLineEdit* line_;
};

} // namespace

void typeableDate(QDateTimeEdit* edit)
{
    if (auto* line = edit->findChild<QLineEdit*>())
        new DatePartFilter(edit, line);
}

void boundDates(QDateTimeEdit* edit, const QDate& today, int yearsAhead)
{
    edit->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    edit->setDateRange(QDate(2000, 1, 1), QDate(today.year() + yearsAhead, 12, 31));
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
