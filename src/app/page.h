#pragma once

#include <QWidget>

class PageHeader;
class QVBoxLayout;
class Tfmain;

// A page of the main window's stack: its gradient header on top, its
// controls below. Pages reach the session, the shared query and the message
// seam through the main window they are given.
class Page : public QWidget {
    Q_OBJECT
public:
    Page(Tfmain& main, const QString& objectName, const QString& headerObjectName);

    PageHeader* header() const { return header_; }

signals:
    // Emitted when the page becomes the active page of the stack.
    void shown();

protected:
    QVBoxLayout* body() const { return body_; }
    Tfmain& main_;

private:
    PageHeader* header_;
    QVBoxLayout* body_;
};
