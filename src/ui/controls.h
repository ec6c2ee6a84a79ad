#pragma once

#include <QCheckBox>
#include <QDateEdit>

// Controls that the list pages' filters share.

// A filter box, ticked as every filter starts.
inline QCheckBox* filterBox(const char* name, const char* caption, QWidget* parent)
{
    auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setChecked(true);
    return c;
}

// A date picker with a calendar, wide enough for its date and no wider
// than a page needs.
inline QDateEdit* datePicker(const char* name, QWidget* parent)
{
    auto* d = new QDateEdit(parent);
    d->setObjectName(QString::fromUtf8(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setMinimumWidth(115);
    d->setMaximumWidth(140);
    return d;
}
