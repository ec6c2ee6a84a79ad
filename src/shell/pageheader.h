#pragma once

#include <QColor>
#include <QWidget>

// The gradient header above every page and dialog: a white bold caption on a
// horizontal gradient.
class PageHeader : public QWidget {
    Q_OBJECT
public:
    explicit PageHeader(QWidget* parent = nullptr, const QString& objectName = {});

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor startColor() const { return start_; }
    QColor endColor() const { return end_; }
    void setColors(const QColor& start, const QColor& end);
    int headerHeight() const { return height(); }
    void setHeaderHeight(int h);
    int fontSize() const { return fontSize_; }
    void setFontSize(int points);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor start_{0x99, 0x32, 0xCC};
    QColor end_{0xD3, 0xD3, 0xD3};
    int fontSize_ = 14;
};
