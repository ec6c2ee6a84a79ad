#pragma once

#include "shell/page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class StringGrid;

// The ladder of functional positions: the positions whose name contains a
// fragment, and the companion positions above and below the selected one.
// It only reads; the ladder is maintained on the server.
class JFAtasBawahPage : public Page {
    Q_OBJECT
public:
    explicit JFAtasBawahPage(PageContext& ctx);

public slots:
    void dxSettingItems4Click();
    void xJFAtasBawahTampilClick();
    // The companions of the position in a grid row (a click on the list).
    void sgJFAtasBawahMClick(int row);

public:
    QLineEdit* xJFAtasBawahNama;
    QPushButton* xJFAtasBawahTampil;
    QLabel* xJFAtasBawahJumlah;
    StringGrid* sgJFAtasBawahM;
    QWidget* pJFAtasBawahMAction;
    StringGrid* sgJFAtasBawahD;
    QPushButton* SpeedButton11;
    QPushButton* SpeedButton15;

private:
    // The companion list of a position code, with its last column's width
    // and caption.
    bool showCompanions(const QString& kode, int lastWidth, const QString& lastCaption);
    QString kodeOfRow(int row) const;
};
