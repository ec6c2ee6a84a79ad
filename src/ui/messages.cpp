#include "messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString caption(Messages::Kind kind)
{
    switch (kind) {
    case Messages::Kind::Warning:
        return QStringLiteral("Peringatan");
    case Messages::Kind::Error:
        return QStringLiteral("Kesalahan");
    case Messages::Kind::Information:
        return QStringLiteral("Informasi");
    case Messages::Kind::Confirmation:
        return QStringLiteral("Konfirmasi");
    case Messages::Kind::Plain:
        break;
    }
    return QApplication::applicationDisplayName();
}

QMessageBox::Icon icon(Messages::Kind kind)
{
    switch (kind) {
    case Messages::Kind::Warning:
        return QMessageBox::Warning;
    case Messages::Kind::Error:
        return QMessageBox::Critical;
    case Messages::Kind::Information:
        return QMessageBox::Information;
    case Messages::Kind::Confirmation:
        return QMessageBox::Question;
    case Messages::Kind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

// Our texts break lines with carriage returns; Qt breaks on line feeds.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

void BoxMessages::show(Kind kind, const QString& text)
{
    QMessageBox box(icon(kind), caption(kind), displayText(text), QMessageBox::NoButton, parent_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
}

bool BoxMessages::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption(Kind::Confirmation), displayText(text),
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("Ya"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Tidak"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    return box.clickedButton() == yes;
}
