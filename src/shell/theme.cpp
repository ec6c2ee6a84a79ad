#include "theme.h"

#include "ui/designfont.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

void applyLightTheme(QApplication& app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette p;
    p.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Button, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Highlight, QColor(0x33, 0x99, 0xFF));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x00, 0x51, 0xE7));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    // A disabled field gets the window's grey, so it does not look ready
    // for typing (the registration's password fields before "Cek Data").
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(0xE4, 0xE4, 0xE4));
    app.setPalette(p);
    registerDesignFont();
    app.setFont(designFont());
}
