#pragma once

#include <QDialog>

class PageContext;
class PageHeader;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Asks the superior, after a rejection has gone through, why: a short
// optional text that the owner of the activity will read. "Simpan" stores
// it and closes; an empty text, "Lewati" or Esc close without a reason (the
// rejection stands either way). A text the server refuses stays in the
// field.
class Tfalasan_tolak : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxLength = 500;

    Tfalasan_tolak(PageContext& ctx, const QString& activityId);

    static QString discardQuestion();
    // Characters as the server counts them: an emoji is one, not two.
    static int characters(const QString& text);

    // Lewati, Esc and the close button: asks first when a reason is typed.
    void reject() override;

public slots:
    void btSimpanClick();

public:
    PageHeader* falasan_tolakJudul;
    QPlainTextEdit* edAlasan;
    QLabel* lbAlasanJumlah;
    QPushButton* btSimpan;
    QPushButton* btLewati;

private:
    void showCount();

    PageContext& ctx_;
    QString id_;
};
