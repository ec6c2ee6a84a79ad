#include "messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include <algorithm>

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

// A message box is as wide as its text; a short question would cut its
// caption in the title bar. Room for the caption in a bold title font, the
// window menu and the buttons of the title bar.
void fitTitle(QMessageBox& box)
{
    QFont f = box.font();
    f.setBold(true);
    const int wanted = std::max(kMinBoxWidth, QFontMetrics(f).horizontalAdvance(box.windowTitle()) + 160);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

} // namespace

void BoxMessages::show(Kind kind, const QString& text)
{
    QMessageBox box(icon(kind), caption(kind), displayText(text), QMessageBox::NoButton, parent_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    fitTitle(box);
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
    fitTitle(box);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    return box.clickedButton() == yes;
}
