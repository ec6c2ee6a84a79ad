#pragma once

#include "gridmodel.h"
#include "messages.h"

#include <QDate>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QDateEdit;

namespace db {
class ResultSet;
}

// What saving a grid's rows to a file needs from the page or dialog that
// shows it: its caption and today's date for the proposed file name, the
// file chosen through the dialog seam, and the message seam. A page or
// dialog provides one as its direct child; a grid finds the nearest among
// its ancestors.
class GridExportHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual QString exportTitle() const = 0;
    virtual QDate exportToday() const = 0;
    // The file to write, the proposed name preselected; empty when the user
    // cancels.
    virtual QString chooseCsvFile(const QString& proposedName) = 0;
    virtual Messages& exportMessages() = 0;
};

// A string grid: the list widget of every page. Rows and columns are counted
// as the grid shows them, the fixed caption row (when there is one) being
// row 0. With no fixed row the captions sit in row 0 as an ordinary row.
class StringGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int DataRowHeight = 20;
    static constexpr int DefaultRowHeight = 24;

    explicit StringGrid(QWidget* parent = nullptr);

    int colCount() const { return model_.gridColCount(); }
    int rowCount() const { return model_.gridRowCount(); }
    int fixedRows() const { return model_.fixedRows(); }
    int fixedCols() const { return model_.fixedCols(); }
    void setColCount(int n);
    void setRowCount(int n);
    void setFixedRows(int n);
    void setFixedCols(int n);

    // Widths are design widths: pixels at the design font (designfont.h).
    // A column shows its design width scaled to the grid's font and never
    // narrower than its caption; colWidth() answers the design width.
    int colWidth(int col) const;
    void setColWidth(int col, int width); // 0 hides the column
    void setHeaderRowHeight(int height);
    // Free-text columns that give way when the grid is narrower than its
    // columns, the widest first, so that the others, dates, statuses and
    // numbers among them, stay in view: first down to minWidth, then, when
    // the others still do not fit, down to their floor (kElasticFloor, or
    // what setElasticFloor gave). A cut text shows whole as the tooltip.
    void setElasticColumns(std::vector<int> cols, int minWidth = 150);
    static constexpr int kElasticFloor = 60;
    // The least design width an elastic column keeps even then: enough for
    // the part of its text that must read (a column that begins with a
    // figure).
    void setElasticFloor(int col, int width);
    // A design width widened so that the sample text (a NIP, a date, a
    // status) fits in the grid's font once scaled.
    int fitted(int designWidth, const QString& sample) const;
    // The width the column shows now, in pixels.
    int shownWidth(int col) const;
    // How much wider than the design font the grid's font sets text.
    double widthScale() const { return scale_; }

    // A width the user drags a column to stays through every refill while
    // the column keeps its caption, until forgetUserWidths() (at logout).
    bool hasUserWidth(int col) const;
    void forgetUserWidths();

    QString cell(int row, int col) const { return model_.cell(row, col); }
    void setCell(int row, int col, const QString& text) { model_.setCell(row, col, text); }

    // The grid row the user has selected; the first row below the fixed row
    // when nothing is selected.
    int currentRow() const;
    void setCurrentRow(int row);

    GridModel& cells() { return model_; }

    // "Ekspor ke CSV...": in the grid's own context menu, and for pages
    // that show a menu of their own to append to it. Ctrl+E while the grid
    // has the focus.
    QAction* exportAction() const { return exportAction_; }
    // The entry below a separator, for a page's own menu of this grid.
    void addExportEntry(QMenu* menu) const;
    // The date range the list shows, for the proposed file name.
    void setExportDates(const QDateEdit* from, const QDateEdit* to);
    // The grid as shown, as a spreadsheet file: the captions and every row,
    // visible columns only; UTF-8 with a byte-order mark, fields separated
    // by ";" (the list separator of Indonesian spreadsheets), quoted where
    // they hold a separator, a quote or a line break, lines ending in CR LF.
    // A text field that a spreadsheet would run as a formula (=, +, -, @)
    // gets a leading apostrophe; numbers stay numbers.
    QByteArray toCsv() const;
    // The file name proposed for the export: the title, the date range (or
    // the given day) and ".csv", without characters that no file name may
    // hold.
    QString exportFileName(const QString& title, const QDate& today) const;
    // The whole export: the file asked through the host, written at once
    // (an existing file is replaced only when the new one is complete), a
    // message on success or failure.
    void exportCsv();

    // Shows the text of another (usually hidden) column as the tooltip of a
    // column's cells, headed by that column's caption; cells whose note is
    // empty keep the usual tooltip.
    void setNoteColumn(int col, int noteCol) { model_.setNoteColumn(col, noteCol); }

signals:
    // A row below the captions was double-clicked (its grid row); it is
    // the current row by then. Pages open its details.
    void rowDoubleClicked(int row);

public:
    // Coalesces many changes into one update of the view.
    class Batch {
    public:
        explicit Batch(StringGrid& g) : g_(g) { g_.model_.beginBatch(); }
        ~Batch() { g_.finishBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        StringGrid& g_;
    };

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Marks the grid's own section resizes, so that only the user's are
    // taken as the user's widths.
    class Quiet {
    public:
        explicit Quiet(StringGrid& g) : g_(g) { ++g_.quiet_; }
        ~Quiet() { --g_.quiet_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        StringGrid& g_;
    };
    struct UserWidth {
        QString caption;
        int width = 0;
    };

    void applyLayout();
    void fitElastic();
    GridExportHost* exportHost() const;
    void finishBatch();
    void userResized(int col, int width);
    QString caption(int col) const;
    int baseWidth(int col) const;
    int captionWidth(int col) const;
    bool isElastic(int col) const;
    int scaled(int designWidth) const;

    GridModel model_;
    std::vector<int> widths_;
    std::vector<UserWidth> user_;
    double scale_ = 1.0;
    int quiet_ = 0;
    int headerRowHeight_ = DefaultRowHeight;
    int keepRow_ = -1;
    std::vector<int> elastic_;
    int elasticMin_ = 0;
    std::vector<std::pair<int, int>> floors_; // column, design width
    QAction* exportAction_ = nullptr;
    QPointer<const QDateEdit> exportFrom_;
    QPointer<const QDateEdit> exportTo_;
};

// One column of a list: its caption, its width and what fills its cells.
struct GridColumn {
    enum class Source { Field, RecNo, Text };

    QString header;
    int width = 0;
    Source source = Source::Field;
    QString value; // the field name, or the fixed text

    static GridColumn field(QString header, int width, QString name)
    {
        return {std::move(header), width, Source::Field, std::move(name)};
    }
    static GridColumn recNo(QString header = QStringLiteral("No."), int width = 30)
    {
        return {std::move(header), width, Source::RecNo, {}};
    }
    static GridColumn text(QString header, int width, QString fixed)
    {
        return {std::move(header), width, Source::Text, std::move(fixed)};
    }
};

// True when the list holds rows to act on (below its caption row); when it
// does not, tells the user "Tidak ada data yang dipilih!" and answers false.
bool requireDataRows(const StringGrid& grid, Messages& messages);

// Rebuilds a grid from a result by the list convention: one row per record
// below the captions, a fixed caption row only when there are records, one
// fixed column, the given widths, data rows 20 pixels high. Rows beyond the
// new count disappear. A named column missing from the result is a
// db::DbError, raised before the grid is touched.
void fillGrid(StringGrid& grid, const db::ResultSet& rs, const std::vector<GridColumn>& columns,
              int fixedCols = 1);
// The same, keeping the result: the grid shows its text without copying it.
void fillGrid(StringGrid& grid, db::ResultSet&& rs, const std::vector<GridColumn>& columns, int fixedCols = 1);

// For figures a second call answers beside a list: calls each(gridRow,
// record) for every record of the side result whose keyField equals the
// key column of a data row of the grid. Rows without a record are left as
// they are; a missing keyField is a db::DbError.
void forEachKeyedRow(const StringGrid& grid, int keyCol, const db::ResultSet& rs, const QString& keyField,
                     const std::function<void(int gridRow, int record)>& each);

// A button of a list's button bar that does what the grid's export entry
// does.
QPushButton* exportButton(StringGrid* grid, QWidget* parent);
