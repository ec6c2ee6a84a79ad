#include "stringgrid.h"

#include "designfont.h"

#include "db/resultset.h"

#include <QHash>
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QHelpEvent>
#include <QSaveFile>
#include <QToolTip>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <QPainter>
#include <QStyledItemDelegate>


namespace {

// Draws a cell the way a string grid does: its text on the selection or
// fixed-column colour. Text wider than its cell ends in "..." (a cut word
// would read as another word) and shows whole as the tooltip. Much cheaper
// per cell than the general item delegate, which matters when a list
// repaints often.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QRect textArea(const QRect& cell) { return cell.adjusted(3, 0, -2, 0); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) {
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        } else {
            const QVariant bg = index.data(Qt::BackgroundRole);
            if (bg.isValid())
                painter->fillRect(option.rect, bg.value<QBrush>());
        }
        painter->save();
        painter->setClipRect(option.rect);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QRect area = textArea(option.rect);
        const QString text = index.data(Qt::DisplayRole).toString();
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          QFontMetrics(option.font).elidedText(text, Qt::ElideRight, area.width()));
        painter->restore();
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        // A rejection's reason (a column note), a cut text, then the note of
        // a marked row. Rich text only with a column note: it wraps long
        // reasons, which stay plain text themselves.
        const QStringList columnNote = index.data(GridModel::ColumnNoteRole).toStringList();
        if (columnNote.size() == 2) {
            QString body = columnNote[1].toHtmlEscaped();
            body.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
            QString tip = QStringLiteral("<qt><b>%1</b><br>%2").arg(columnNote[0].toHtmlEscaped(), body);
            if (const QString rowNote = index.data(GridModel::NoteRole).toString(); !rowNote.isEmpty())
                tip += QStringLiteral("<br><br>") + rowNote.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
            QToolTip::showText(event->globalPos(), tip + QStringLiteral("</qt>"), view);
            return true;
        }
        QStringList parts;
        const QString text = index.data(Qt::DisplayRole).toString();
        if (QFontMetrics(option.font).horizontalAdvance(text) > textArea(option.rect).width())
            parts << text;
        const QString note = index.data(GridModel::NoteRole).toString();
        if (!note.isEmpty())
            parts << note;
        if (!parts.isEmpty())
            QToolTip::showText(event->globalPos(), parts.join(QStringLiteral("\n\n")), view);
        else
            QToolTip::hideText();
        return true;
    }
};

} // namespace

StringGrid::StringGrid(QWidget* parent) : QTableView(parent)
{
    Quiet quiet(*this);
    scale_ = designScale(font());
    setItemDelegate(new CellDelegate(this));
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Rows are picked, never edited: Tab moves on to the page's buttons
    // instead of from cell to cell.
    setTabKeyNavigation(false);
    setShowGrid(true);
    setAlternatingRowColors(false);

    // The minimum first: a larger font would otherwise silently force taller
    // rows. One uniform height, never set row by row.
    verticalHeader()->setMinimumSectionSize(DataRowHeight);
    verticalHeader()->setDefaultSectionSize(DataRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();

    QHeaderView* h = horizontalHeader();
    h->setMinimumSectionSize(0);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    h->setFixedHeight(headerRowHeight_);

    exportAction_ = new QAction(QStringLiteral("Ekspor ke CSV..."), this);
    exportAction_->setObjectName(QStringLiteral("actEksporCsv"));
    exportAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(exportAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(exportAction_, &QAction::triggered, this, &StringGrid::exportCsv);

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        // In an empty list row 0 holds the captions as an ordinary row.
        if (index.isValid() && fixedRows() > 0)
            emit rowDoubleClicked(index.row() + fixedRows());
    });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { applyLayout(); });
    connect(h, &QHeaderView::sectionResized, this, [this](int col, int, int width) { userResized(col, width); });
    applyLayout();
}

void StringGrid::setColCount(int n)
{
    Quiet quiet(*this);
    model_.setGridColCount(n);
    widths_.resize(size_t(std::max(n, 0)), 64);
    user_.resize(widths_.size());
    applyLayout();
}

void StringGrid::setRowCount(int n)
{
    Quiet quiet(*this);
    model_.setGridRowCount(n);
    applyLayout();
}

void StringGrid::setFixedRows(int n)
{
    Quiet quiet(*this);
    model_.setFixedRows(n);
    applyLayout();
}

void StringGrid::setFixedCols(int n)
{
    model_.setFixedCols(n);
}

int StringGrid::colWidth(int col) const
{
    return col >= 0 && size_t(col) < widths_.size() ? widths_[size_t(col)] : 0;
}

void StringGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= colCount())
        return;
    widths_[size_t(col)] = std::max(width, 0);
    applyLayout();
}

void StringGrid::setElasticColumns(std::vector<int> cols, int minWidth)
{
    elastic_ = std::move(cols);
    elasticMin_ = minWidth;
    applyLayout();
}

void StringGrid::setElasticFloor(int col, int width)
{
    for (auto& f : floors_)
        if (f.first == col) {
            f.second = width;
            applyLayout();
            return;
        }
    floors_.emplace_back(col, width);
    applyLayout();
}

int StringGrid::scaled(int designWidth) const
{
    // The small allowance keeps a scale of exactly 1 from adding a pixel.
    return int(std::ceil(designWidth * scale_ - 1e-6));
}

int StringGrid::fitted(int designWidth, const QString& sample) const
{
    // The cell's text margins (CellDelegate::textArea) and a little air.
    const int needed = fontMetrics().horizontalAdvance(sample) + 8;
    return std::max(designWidth, int(std::ceil(needed / scale_)));
}

QString StringGrid::caption(int col) const
{
    return model_.gridRowCount() > 0 && col >= 0 && col < colCount() ? model_.cell(0, col) : QString();
}

bool StringGrid::isElastic(int col) const
{
    return std::find(elastic_.begin(), elastic_.end(), col) != elastic_.end();
}

bool StringGrid::hasUserWidth(int col) const
{
    if (col < 0 || size_t(col) >= user_.size())
        return false;
    const UserWidth& u = user_[size_t(col)];
    return u.width > 0 && u.caption == caption(col);
}

int StringGrid::baseWidth(int col) const
{
    const int design = colWidth(col);
    if (design <= 0)
        return 0;
    // The caption is the header's to show in full: "Volume", not "Volum".
    return std::max(scaled(design), captionWidth(col));
}

int StringGrid::captionWidth(int col) const
{
    const QHeaderView* h = horizontalHeader();
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h) + 4;
    return h->fontMetrics().horizontalAdvance(caption(col)) + margins;
}

int StringGrid::shownWidth(int col) const
{
    if (colWidth(col) <= 0)
        return 0;
    return horizontalHeader()->sectionSize(col);
}

void StringGrid::userResized(int col, int width)
{
    if (quiet_ > 0 || model_.inBatch() || width <= 0 || col < 0 || col >= colCount() || colWidth(col) <= 0)
        return;
    user_[size_t(col)] = {caption(col), width};
}

void StringGrid::forgetUserWidths()
{
    std::fill(user_.begin(), user_.end(), UserWidth{});
    applyLayout();
}

void StringGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitElastic();
}

void StringGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        scale_ = designScale(font());
        applyLayout();
    }
}

void StringGrid::fitElastic()
{
    Quiet quiet(*this);
    // Columns that give way: the elastic ones the user has not sized.
    std::vector<int> giving;
    int others = 0;
    int designs = 0;
    for (int c = 0; c < colCount(); ++c) {
        if (colWidth(c) <= 0)
            continue;
        if (isElastic(c) && !hasUserWidth(c)) {
            giving.push_back(c);
            designs += baseWidth(c);
        } else {
            others += horizontalHeader()->sectionSize(c);
        }
    }
    if (designs <= 0)
        return;
    // The widest gives way first: every giving column is cut down to one
    // level, the highest at which all columns fit, but not below its least:
    // the common minimum while that is enough, else the column's floor.
    const int room = viewport()->width() - others;
    bool toFloors = false;
    auto least = [&](int c) {
        if (!toFloors)
            return scaled(elasticMin_);
        int floor = kElasticFloor;
        for (const auto& f : floors_)
            if (f.first == c)
                floor = f.second;
        // The caption still reads whole.
        return std::min(std::max(scaled(floor), captionWidth(c)), scaled(elasticMin_));
    };
    auto widthAt = [&](int c, int level) {
        const int base = baseWidth(c);
        return std::min(base, std::max(level, std::min(least(c), base)));
    };
    auto total = [&](int level) {
        int sum = 0;
        for (int c : giving)
            sum += widthAt(c, level);
        return sum;
    };
    toFloors = total(0) > room;
    int low = 0;
    int high = designs;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (total(mid) <= room)
            low = mid;
        else
            high = mid - 1;
    }
    for (int c : giving)
        horizontalHeader()->resizeSection(c, widthAt(c, low));
}

void StringGrid::setHeaderRowHeight(int height)
{
    headerRowHeight_ = height;
    applyLayout();
}

int StringGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    if (i.isValid())
        return i.row() + fixedRows();
    return std::min(fixedRows(), std::max(rowCount() - 1, 0));
}

void StringGrid::setCurrentRow(int row)
{
    const int viewRow = row - fixedRows();
    if (viewRow < 0 || viewRow >= model_.rowCount())
        return;
    // On a shown column: from a hidden one (a key column) the arrow keys
    // find no cell to move to.
    int col = 0;
    while (col + 1 < model_.columnCount() && isColumnHidden(col))
        ++col;
    const QModelIndex i = model_.index(viewRow, col);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void StringGrid::applyLayout()
{
    if (model_.inBatch())
        return; // the view catches up when the batch ends
    Quiet quiet(*this);
    if (model_.fixedRows() > 0) {
        horizontalHeader()->setFixedHeight(headerRowHeight_);
        horizontalHeader()->show();
    } else {
        horizontalHeader()->hide();
        // The caption row as an ordinary row keeps the default height.
        if (model_.rowCount() > 0)
            setRowHeight(0, DefaultRowHeight);
    }
    for (int c = 0; c < colCount(); ++c) {
        const int w = colWidth(c);
        setColumnHidden(c, w <= 0);
        if (w > 0)
            horizontalHeader()->resizeSection(c, hasUserWidth(c) ? user_[size_t(c)].width : baseWidth(c));
    }
    fitElastic();
}

void StringGrid::finishBatch()
{
    Quiet quiet(*this);
    const int keep = currentRow();
    model_.endBatch();
    applyLayout();
    // A reset loses the selection: keep the user's row where it still exists.
    if (keep >= fixedRows() && keep < rowCount())
        setCurrentRow(keep);
    else
        setCurrentRow(fixedRows());
}

namespace {

bool isNumber(QByteArrayView v)
{
    qsizetype i = 0;
    if (i < v.size() && (v[i] == '+' || v[i] == '-'))
        ++i;
    const qsizetype digits = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9')
        ++i;
    if (i == digits)
        return false;
    if (i < v.size() && (v[i] == '.' || v[i] == ',')) {
        const qsizetype fraction = ++i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9')
            ++i;
        if (i == fraction)
            return false;
    }
    return i == v.size();
}

// A code made of digits that a spreadsheet would turn into a number and
// mangle: a leading zero dropped, or more digits than its 15 significant
// ones (an 18-digit NIP).
bool isDigitCode(QByteArrayView v)
{
    if (v.size() < 2)
        return false;
    for (char ch : v)
        if (ch < '0' || ch > '9')
            return false;
    return v[0] == '0' || v.size() > 15;
}

void appendField(QByteArray& out, QByteArrayView v)
{
    // Written as the text formula ="..." the spreadsheet keeps every digit;
    // the content is digits only, so nothing typed reaches a formula.
    if (isDigitCode(v)) {
        out.append("\"=\"\"");
        out.append(v);
        out.append("\"\"\"");
        return;
    }
    // A spreadsheet runs a field that starts like this as a formula, one
    // that a typed description could smuggle in.
    const bool formula = !v.isEmpty() && (v[0] == '=' || v[0] == '+' || v[0] == '-' || v[0] == '@' ||
                                          v[0] == '\t' || v[0] == '\r') && !isNumber(v);
    bool quote = false;
    for (char ch : v)
        if (ch == ';' || ch == '"' || ch == '\n' || ch == '\r') {
            quote = true;
            break;
        }
    if (!quote && !formula) {
        out.append(v);
        return;
    }
    if (quote)
        out.append('"');
    if (formula)
        out.append('\'');
    for (char ch : v) {
        if (ch == '"')
            out.append('"');
        out.append(ch);
    }
    if (quote)
        out.append('"');
}

QString writeFailure(const QFileDevice& f, const QString& path)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("Sudah ada folder dengan nama itu.");
    switch (f.error()) {
    case QFileDevice::ResourceError:
        return QStringLiteral("Ruang penyimpanan tidak cukup.");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Tidak ada izin menulis di folder tersebut.");
    case QFileDevice::RenameError:
        return QStringLiteral("File dengan nama itu tidak dapat diganti.");
    case QFileDevice::OpenError:
        return QStringLiteral("File tidak dapat dibuat: folder tidak ada atau tidak boleh ditulisi.");
    default:
        return QStringLiteral("File tidak dapat ditulis.");
    }
}

// Lays the grid out and writes every cell; field cells are copied, or only
// referenced when the result is kept alive by the grid.
void fill(StringGrid& grid, const db::ResultSet& rs, const std::vector<GridColumn>& columns, int fixedCols,
          std::shared_ptr<const db::ResultSet> keep)
{
    // Resolve the named columns first: a missing one fails before the grid
    // is touched.
    std::vector<GridModel::ColumnSource> sources(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        switch (columns[c].source) {
        case GridColumn::Source::Field:
            sources[c] = {GridModel::ColumnSource::Field, rs.requireColumn(columns[c].value), {}};
            break;
        case GridColumn::Source::RecNo:
            sources[c] = {GridModel::ColumnSource::RecNo, -1, {}};
            break;
        case GridColumn::Source::Text:
            sources[c] = {GridModel::ColumnSource::Text, -1, columns[c].value.toUtf8()};
            break;
        }
    }

    const int records = rs.recordCount();
    const int cols = int(columns.size());
    StringGrid::Batch batch(grid);
    GridModel& cells = grid.cells();
    grid.setColCount(cols);
    grid.setRowCount(records + 1);
    // Every cell is written below, so nothing of the old text stays needed.
    cells.clearText();
    if (keep)
        cells.keepAlive(keep);
    grid.setFixedCols(fixedCols);
    grid.setFixedRows(records != 0 ? 1 : 0);
    for (int c = 0; c < cols; ++c) {
        const GridColumn& col = columns[size_t(c)];
        // A running number is never cut: the column holds the last one.
        const bool counted = col.source == GridColumn::Source::RecNo && col.width > 0;
        grid.setColWidth(c, counted ? grid.fitted(col.width, QString::number(records)) : col.width);
        grid.setCell(0, c, columns[size_t(c)].header);
    }
    cells.fillRows(rs, sources, keep != nullptr);
}

} // namespace

void fillGrid(StringGrid& grid, const db::ResultSet& rs, const std::vector<GridColumn>& columns, int fixedCols)
{
    fill(grid, rs, columns, fixedCols, nullptr);
}

void fillGrid(StringGrid& grid, db::ResultSet&& rs, const std::vector<GridColumn>& columns, int fixedCols)
{
    auto kept = std::make_shared<const db::ResultSet>(std::move(rs));
    fill(grid, *kept, columns, fixedCols, kept);
}

bool requireDataRows(const StringGrid& grid, Messages& messages)
{
    if (grid.rowCount() > 1)
        return true;
    messages.warning(QString::fromUtf8(stdmsg::TidakAdaDipilih));
    return false;
}

void forEachKeyedRow(const StringGrid& grid, int keyCol, const db::ResultSet& rs, const QString& keyField,
                     const std::function<void(int gridRow, int record)>& each)
{
    const int key = rs.requireColumn(keyField);
    QHash<QString, int> rows;
    for (int r = grid.fixedRows(); r < grid.rowCount(); ++r)
        rows.insert(grid.cell(r, keyCol), r);
    for (int i = 0; i < rs.recordCount(); ++i) {
        const auto row = rows.constFind(rs.text(i, key));
        if (row != rows.constEnd())
            each(*row, i);
    }
}

void StringGrid::addExportEntry(QMenu* menu) const
{
    menu->addSeparator();
    menu->addAction(exportAction_);
}

QPushButton* exportButton(StringGrid* grid, QWidget* parent)
{
    auto* b = new QPushButton(QStringLiteral("Ekspor ke CSV..."), parent);
    b->setObjectName(QStringLiteral("btEksporCsv"));
    QObject::connect(b, &QPushButton::clicked, grid->exportAction(), &QAction::trigger);
    return b;
}

void StringGrid::setExportDates(const QDateEdit* from, const QDateEdit* to)
{
    exportFrom_ = from;
    exportTo_ = to;
}

QByteArray StringGrid::toCsv() const
{
    std::vector<int> shown;
    for (int c = 0; c < colCount(); ++c)
        if (colWidth(c) > 0)
            shown.push_back(c);
    QByteArray out;
    out.reserve(qsizetype(rowCount()) * qsizetype(shown.size()) * 16 + 3);
    out.append("\xEF\xBB\xBF");
    // Row 0 holds the captions, as the fixed row or (in an empty list) as an
    // ordinary row.
    for (int r = 0; r < rowCount(); ++r) {
        for (size_t i = 0; i < shown.size(); ++i) {
            if (i > 0)
                out.append(';');
            appendField(out, model_.cellUtf8(r, shown[i]));
        }
        out.append("\r\n");
    }
    return out;
}

QString StringGrid::exportFileName(const QString& title, const QDate& today) const
{
    QString name = title.simplified();
    for (QChar& ch : name)
        if (ch.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(ch))
            ch = QLatin1Char('-');
    name = name.left(120).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Data");
    const QString iso = QStringLiteral("yyyy-MM-dd");
    if (exportFrom_ && exportTo_) {
        name += QLatin1Char(' ') + exportFrom_->date().toString(iso);
        if (exportTo_->date() != exportFrom_->date())
            name += QStringLiteral(" sd ") + exportTo_->date().toString(iso);
    } else {
        name += QLatin1Char(' ') + today.toString(iso);
    }
    return name + QStringLiteral(".csv");
}

GridExportHost* StringGrid::exportHost() const
{
    GridExportHost* host = nullptr;
    for (QWidget* w = parentWidget(); w && !host; w = w->parentWidget())
        host = w->findChild<GridExportHost*>(QString(), Qt::FindDirectChildrenOnly);
    return host;
}

void StringGrid::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    // A pick list of a wizard has nobody to save it for: no entry there.
    exportAction_->setVisible(exportHost() != nullptr);
}

void StringGrid::exportCsv()
{
    GridExportHost* host = exportHost();
    if (!host)
        return;
    Messages& messages = host->exportMessages();
    if (!requireDataRows(*this, messages))
        return;
    const QString path = host->chooseCsvFile(exportFileName(host->exportTitle(), host->exportToday()));
    if (path.isEmpty())
        return;
    const QByteArray csv = toCsv();
    // Written beside the target and renamed over it when complete: a full
    // disk never leaves half a file in place of an earlier export.
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size();
    written = written && file.commit();
    if (!written) {
        const QString why = writeFailure(file, path);
        file.cancelWriting();
        messages.warning(QStringLiteral("Gagal menyimpan file CSV!\r\r") + QDir::toNativeSeparators(path) +
                         QStringLiteral("\r") + why);
        return;
    }
    messages.information(QStringLiteral("Data berhasil diekspor ke file CSV:\r") + QDir::toNativeSeparators(path));
}
