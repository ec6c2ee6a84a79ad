#pragma once

#include "app/page.h"

#include <QPixmap>

class DashboardPage;
class QFrame;
class QLineEdit;
class QPushButton;

// A NIP: exactly 18 digits.
inline constexpr int kNipLength = 18;
bool isNip(const QString& text);
inline const char* const kNipTidakValid = "NIP harus 18 digit angka!";

// The picture stretched behind the login panel.
class LoginBackground : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// The login page: the background picture and the login panel.
class LoginPage : public Page {
    Q_OBJECT
public:
    // The dashboard runs the profile and progress loads after a login.
    LoginPage(PageContext& ctx, DashboardPage& dashboard);

    // Loads the background picture from beside the program; false when the
    // file is missing or unreadable.
    bool loadBackground();
    // Centres the panel: vertically on the window's height, horizontally on
    // the page stack's width.
    void centrePanel(int windowHeight, int pageStackWidth);

public slots:
    // Checks NIP and password with the server and opens the session.
    void btLoginClick();
    // The steps after a valid login: side bar, dashboard, position codes,
    // side bar by access level, log entry.
    void SuksesLogin();
    // Back to the logged-out state, with its log entry.
    void SuksesLogout();

public:
    // Revokes the session on the server and forgets its token.
    void revokeSession();
    // Ready for a NIP that has just been registered: the NIP filled in,
    // the password empty and waiting for it.
    void offerNip(const QString& nip);

    LoginBackground* bg_image;
    QFrame* pLogin;
    QLineEdit* edLoginNIP;
    QLineEdit* edLoginPass;
    QPushButton* btLogin;
    QPushButton* BitBtn13;

private:
    DashboardPage& dashboard_;
};
