#pragma once

#include "ui/keyfilters.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// Pieces that the people-administration lists share.
namespace adminlists {

inline const char* const NameHint = "* isikan dengan sebagian teks dari NIP/Nama PNS yang akan dicari ";

// A grey hint under an edit.
inline QLabel* hint(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #808080;"));
    return l;
}

// The "part of a NIP or name" edit: Enter starts nothing, the list is
// refreshed with the page's button only.
inline QLineEdit* nameEdit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setMinimumWidth(260);
    ignoreEnter(e);
    return e;
}

inline QPushButton* button(const char* name, const char* caption, QWidget* parent, int minWidth = 90)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setMinimumWidth(std::max(minWidth, b->sizeHint().width() + 16));
    b->setAutoDefault(false);
    return b;
}

// The count label as a list starts, "Jumlah data : 0".
inline QLabel* countLabel(const char* name, QWidget* parent)
{
    auto* l = new QLabel(QStringLiteral("Jumlah data : 0"), parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

// "Tampilkan Data" with the count beside it.
inline QHBoxLayout* showRow(QPushButton* show, QLabel* count)
{
    auto* run = new QHBoxLayout;
    run->addWidget(show);
    run->addSpacing(12);
    run->addWidget(count);
    run->addStretch(1);
    return run;
}

// A list's buttons in a row under it, from the left.
inline QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* bar = new QHBoxLayout;
    for (QPushButton* b : buttons)
        bar->addWidget(b);
    bar->addStretch(1);
    return bar;
}

} // namespace adminlists
