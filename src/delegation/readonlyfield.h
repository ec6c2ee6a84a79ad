#pragma once

#include <QLineEdit>

// A read-only field on silver, for what the delegation dialogs show but do
// not let the user change.
inline QLineEdit* readOnlyField(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setReadOnly(true);
    e->setStyleSheet(QStringLiteral("background: #C0C0C0;"));
    return e;
}
