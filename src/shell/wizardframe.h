#pragma once

#include <QWidget>

class PageHeader;
class QLabel;
class QPushButton;
class QStackedWidget;

// A multi-page wizard: a header with the title and the page's subtitle,
// the pages, and Back / Next / Finish / Cancel. The buttons only report;
// the owner decides whether a page may be left.
class WizardFrame : public QWidget {
    Q_OBJECT
public:
    enum Button { Back = 1, Next = 2, Finish = 4, Cancel = 8 };

    explicit WizardFrame(QWidget* parent = nullptr);

    int addPage(QWidget* page, const QString& subtitle, int buttons);
    void setTitle(const QString& title);
    void setSubtitle(int page, const QString& subtitle);
    QString subtitle(int page) const;
    int currentPage() const;
    void setCurrentPage(int page);
    int pageCount() const;
    // What Enter does in a wizard driven from the keyboard: Next, or Finish
    // on a page without Next. False when the page offers neither.
    bool moveOn();

    PageHeader* header;
    QLabel* subtitleLabel;
    QPushButton* backButton;
    QPushButton* nextButton;
    QPushButton* finishButton;
    QPushButton* cancelButton;

signals:
    void backClicked(int page);
    void nextClicked(int page);
    void finishClicked(int page);
    void cancelClicked();

private:
    void updateButtons();

    QStackedWidget* stack_;
    QList<QString> subtitles_;
    QList<int> buttons_;
};
