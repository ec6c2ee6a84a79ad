#pragma once

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "keyfilters.h"

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
// than a page needs, that takes typing into each part of its date and only
// the dates from 2000 to the end of the year after today.
inline QDateEdit* datePicker(const char* name, QWidget* parent, const QDate& today, int yearsAhead = 1)
{
    auto* d = new QDateEdit(parent);
    d->setObjectName(QString::fromUtf8(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    typeableDate(d);
    boundDates(d, today, yearsAhead);
    d->setMinimumWidth(115);
    d->setMaximumWidth(140);
    return d;
}

// A note under a filter field, in grey.
inline QLabel* hintLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #808080;"));
    return l;
}

// The "Tampilkan Data" button of a list filter with its count label beside
// it ("Jumlah data : 0"), on one row.
inline QHBoxLayout* showDataRow(QPushButton*& button, QLabel*& count, const char* buttonName, const char* countName,
                                QWidget* parent)
{
    button = new QPushButton(QStringLiteral("Tampilkan Data"), parent);
    button->setObjectName(QString::fromUtf8(buttonName));
    button->setMinimumWidth(110);
    count = new QLabel(QStringLiteral("Jumlah data : 0"), parent);
    count->setObjectName(QString::fromUtf8(countName));
    auto* row = new QHBoxLayout;
    row->addWidget(button);
    row->addSpacing(12);
    row->addWidget(count);
    row->addStretch(1);
    return row;
}

// The "[ Filter Data ]" box of a list filtered by one text field: the
// caption and the field, the hint under it, and the button and count row.
inline QGroupBox* textFilterBox(QLineEdit*& field, QPushButton*& button, QLabel*& count, const char* caption,
                                const char* fieldName, const char* hint, const char* buttonName,
                                const char* countName, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("[ Filter Data ]"), parent);
    auto* grid = new QGridLayout(box);
    field = new QLineEdit(box);
    field->setObjectName(QString::fromUtf8(fieldName));
    field->setMinimumWidth(300);
    grid->addWidget(new QLabel(QString::fromUtf8(caption), box), 0, 0);
    grid->addWidget(field, 0, 1);
    grid->addWidget(hintLabel(QString::fromUtf8(hint), box), 1, 1, 1, 2);
    grid->addLayout(showDataRow(button, count, buttonName, countName, box), 2, 1);
    grid->setColumnStretch(3, 1);
    return box;
}
