#pragma once

#include <QPushButton>
#include <QWidget>

#include <functional>
#include <vector>

class QVBoxLayout;

// One command of a side-bar group: a link-like row with a handler. A
// caption longer than the bar is wide (a long name or position title) ends
// in "..." and shows in full as the tooltip; the item never asks the bar for
// more width than it has.
class SideBarItem : public QPushButton {
    Q_OBJECT
public:
    SideBarItem(const QString& caption, QWidget* parent);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool isElided() const { return text() != caption_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString caption_;
};

// A collapsible command group of the side bar: a gradient header with the
// caption over a white list of items.
class SideBarGroup : public QWidget {
    Q_OBJECT
public:
    SideBarGroup(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    SideBarItem* addItem(const QString& caption, std::function<void()> handler = {});
    SideBarItem* item(int index) const { return items_.at(size_t(index)); }
    int itemCount() const { return int(items_.size()); }

    bool isCollapsed() const { return collapsed_; }
    void setCollapsed(bool collapsed);

signals:
    // The user folded or opened the group with its header.
    void toggledByUser();

public:

    static constexpr int HeaderHeight = 35;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString caption_;
    QWidget* body_;
    QVBoxLayout* bodyLayout_;
    std::vector<SideBarItem*> items_;
    bool collapsed_ = false;
};
