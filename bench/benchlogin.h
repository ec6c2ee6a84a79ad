#pragma once

#include "app/umain.h"
#include "session/loginpage.h"

#include <QApplication>
#include <QLineEdit>

// Shows the window at the office laptop's size and logs in through the
// login page, as a user does. Shown first: the first showing opens the
// login page, which would otherwise log the user out again.
inline bool showLoggedIn(Tfmain& w, const QString& nip, const QString& pass)
{
    w.setWindowState(Qt::WindowNoState);
    w.resize(1366, 768);
    w.show();
    QApplication::processEvents();
    w.xLogin->edLoginNIP->setText(nip);
    w.xLogin->edLoginPass->setText(pass);
    w.xLogin->btLoginClick();
    // The login maximizes the window; measure at the laptop's size.
    w.setWindowState(Qt::WindowNoState);
    w.resize(1366, 768);
    return w.session().nip() == nip;
}
