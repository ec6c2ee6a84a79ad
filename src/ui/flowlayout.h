#pragma once

#include <QLayout>
#include <QList>

// Lays its items out left to right and starts a new row where the next one
// would not fit, so that a page's filters and button bars need no more
// width than their widest item: on a small screen they wrap instead of
// pushing the page wider than the window. Items keep their size hints,
// aligned to the top of their row.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int horizontalSpacing = 10, int verticalSpacing = 6);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> items_;
    int hSpacing_;
    int vSpacing_;
};
