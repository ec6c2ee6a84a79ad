#pragma once

#include "shell/page.h"

#include <QPixmap>

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
    explicit LoginPage(PageContext& ctx);

    // Loads the background picture from beside the program; false when the
    // file is missing or unreadable.
    bool loadBackground();
    // Centres the panel: vertically on the window's height, horizontally on
    // the page stack's width.
    void centrePanel(int windowHeight, int pageStackWidth);

signals:
    // The server accepted the NIP and password: the session holds the NIP,
    // level and token, and the edits are empty.
    void loginSucceeded();

public slots:
    // Checks NIP and password with the server and opens the session.
    void btLoginClick();

public:
    // The position code and top-level unit of the logged-in user into the
    // session; false (the message shown) when the server could not answer.
    bool loadPositionCodes();
    // The login's or logout's own entry of the process log, under the NIP of
    // the loaded profile (none without one).
    void writeLogEntry(const QString& keterangan);
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
};
