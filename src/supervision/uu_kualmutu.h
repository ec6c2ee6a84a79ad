#pragma once

#include <QColor>
#include <QDialog>

class PageHeader;
class QLabel;
class QPushButton;
class QSlider;
class PageContext;

// Grades a direct subordinate's work of one month on accuracy and speed,
// 0 to 100 each; a new assessment or a change of the existing one.
class Tfu_kualmutu : public QDialog {
    Q_OBJECT
public:
    // The subordinate graded (NIP and name).
    Tfu_kualmutu(PageContext& ctx, const QString& nip, const QString& nama);

    struct Grade {
        QString text;
        QColor colour;
    };
    // The five-step scale, bounds inclusive: 0-60, 61-70, 71-80, 81-90, 91-100.
    static Grade gradeOf(int value);
    // Whether a subordinate with this progress (percent) may get this average:
    // 30 or less allows at most 80.
    static bool progressAllows(double progress, double average);

public slots:
    void tbKetepatanChange();
    void tbKecepatanChange();
    // True when the assessment was saved (the dialog then closes).
    bool BitBtn10Click();

signals:
    // A save went through; the list of assessments is stale.
    void saved();

public:
    PageHeader* fu_kualmutu_judul;
    QLabel* lbProgress;
    QSlider* tbKetepatan;
    QLabel* lbKetepatan;
    QLabel* pStatusKetepatan;
    QSlider* tbKecepatan;
    QLabel* lbKecepatan;
    QLabel* pStatusKecepatan;
    QPushButton* BitBtn10;

    // "Insert" for a new assessment, "Update" for the existing one.
    QString status_nilai;
    QString idkualmutu;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void showGrade(QSlider* bar, QLabel* label, QLabel* panel);

    PageContext& ctx_;
    QString nip_;
    QString nama_;
};
