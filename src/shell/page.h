#pragma once

#include <QWidget>

class PageHeader;
class QVBoxLayout;
class PageContext;

// A page of the main window's stack: its gradient header on top, its
// controls below. Pages reach the session, the shared query, the message
// seam and navigation through the page context they are built with.
class Page : public QWidget {
    Q_OBJECT
public:
    Page(PageContext& ctx, const QString& objectName, const QString& headerObjectName);

    PageHeader* header() const { return header_; }

signals:
    // Emitted when the page becomes the active page of the stack.
    void shown();

protected:
    QVBoxLayout* body() const { return body_; }
    PageContext& ctx_;

private:
    PageHeader* header_;
    QVBoxLayout* body_;
};
