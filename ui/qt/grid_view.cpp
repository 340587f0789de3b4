// The table (grid) control: a QTableView over a model that reads the run-time's cell texts. The fixed
// header row is the horizontal header, the fixed column (channel numbers) the vertical header, and the
// corner cell carries the fixed column's title.
#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <QTableView>

#include "control_kinds.h"
#include "qt_frontend.h"
#include "qt_util.h"

namespace qmqt {
namespace {

Qt::Alignment alignmentOf(const ui::GridData& g, int col) {
    const char a = col < static_cast<int>(g.colAlign.size()) ? g.colAlign[static_cast<size_t>(col)] : '<';
    if (a == '^') return Qt::AlignCenter;
    if (a == '>') return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Data cells are rows fixedRows.. and columns fixedCols.. of the grid; fixed cells become headers.
class GridModel : public QAbstractTableModel {
  public:
    void setGrid(const ui::GridData* g) { grid_ = g; }
    const ui::GridData* grid() const { return grid_; }
    void reset(const ui::GridData* g) {
        beginResetModel();
        grid_ = g;
        shape_ = g ? std::make_pair(g->rows, g->cols) : std::make_pair(0, 0);
        endResetModel();
    }
    bool shapeChanged(const ui::GridData& g) const { return shape_ != std::make_pair(g.rows, g.cols); }
    int fixedRows() const { return grid_ ? std::clamp(grid_->fixedRows, 0, grid_->rows) : 0; }
    int fixedCols() const { return grid_ ? std::clamp(grid_->fixedCols, 0, grid_->cols) : 0; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !grid_ ? 0 : grid_->rows - fixedRows();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() || !grid_ ? 0 : grid_->cols - fixedCols();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!grid_ || !index.isValid()) return {};
        const int r = index.row() + fixedRows(), c = index.column() + fixedCols();
        if (r >= grid_->rows || c >= grid_->cols) return {};
        if (role == Qt::DisplayRole) return qs(grid_->cell(r, c));
        if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (!grid_) return {};
        if (o == Qt::Horizontal) {
            const int c = section + fixedCols();
            if (c >= grid_->cols) return {};
            if (role == Qt::DisplayRole) return fixedRows() > 0 ? qs(grid_->cell(0, c)) : QVariant();
            if (role == Qt::TextAlignmentRole) return static_cast<int>(alignmentOf(*grid_, c));
            return {};
        }
        const int r = section + fixedRows();
        if (r >= grid_->rows) return {};
        if (role == Qt::DisplayRole) return fixedCols() > 0 ? qs(grid_->cell(r, 0)) : QVariant();
        if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
        return {};
    }
    QString cornerText() const {
        return grid_ && fixedRows() > 0 && fixedCols() > 0 ? qs(grid_->cell(0, 0)) : QString();
    }
    void refreshAll() {
        if (rowCount({}) > 0 && columnCount({}) > 0)
            emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1), {Qt::DisplayRole});
        if (columnCount({}) > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount({}) - 1);
        if (rowCount({}) > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount({}) - 1);
    }

  private:
    const ui::GridData* grid_ = nullptr;
    std::pair<int, int> shape_{0, 0};
};

class GridView : public ControlView {
  public:
    GridView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        table_ = new QTableView(canvas);
        table_->setSelectionBehavior(QAbstractItemView::SelectRows);
        table_->setSelectionMode(QAbstractItemView::SingleSelection);
        table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        table_->setCornerButtonEnabled(false);
        table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
        table_->horizontalHeader()->setHighlightSections(false);
        table_->verticalHeader()->setHighlightSections(false);
        if (c.grid) model_.reset(c.grid.get());
        table_->setModel(&model_);

        // Header clicks are cell selections in the fixed row or column: the program decides what they
        // mean (a click on the header row selects the first channel).
        QObject::disconnect(table_->verticalHeader(), &QHeaderView::sectionPressed, table_, nullptr);
        QObject::disconnect(table_->verticalHeader(), &QHeaderView::sectionEntered, table_, nullptr);
        QObject::connect(table_->horizontalHeader(), &QHeaderView::sectionPressed, this,
                         [this](int section) { select(0, section + model_.fixedCols()); });
        QObject::connect(table_->verticalHeader(), &QHeaderView::sectionPressed, this,
                         [this](int section) { select(section + model_.fixedRows(), 0); });
        QObject::connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                         [this](const QModelIndex& current) {
                             if (!current.isValid()) return;
                             select(current.row() + model_.fixedRows(),
                                    current.column() + model_.fixedCols());
                         });
        QObject::connect(
            table_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (syncing_) return;
                const int col = section + model_.fixedCols();
                gesture([col, size](int p, int id) { return ui::userResizeColumn(p, id, col, size); });
            });
        // The table's corner button sits where the fixed row and column meet; it is drawn with the fixed
        // column's title ("Chan").
        corner_ = table_->findChild<QAbstractButton*>();
        if (corner_) corner_->installEventFilter(this);
        setBody(table_);
    }
    ~GridView() override {
        if (table_) table_->setModel(nullptr);
    }

  protected:
    void forget() override { model_.reset(nullptr); }

    void syncKind(const ui::Control& c, unsigned what) override {
        if (!c.grid) return;
        const ui::GridData& g = *c.grid;
        // A new shape must reach the view at once (it asks the model for its size); texts, widths and
        // the selection are applied once per round of events, however many cells were written.
        if (model_.shapeChanged(g) || (what & ui::ChCreated))
            model_.reset(&g);
        else
            model_.setGrid(&g);
        if (what & (ui::ChAttributes | ui::ChCreated)) applyColors(table_, c.textColor, c.bgColor);
        if (what & (ui::ChCells | ui::ChCreated | ui::ChAttributes | ui::ChValue)) {
            pending_ = true;
            frontend_.requestFlush(this);
        }
    }

  public:
    void flush() override {
        const ui::GridData* grid = model_.grid();
        if (!pending_ || !table_ || !grid) return;
        pending_ = false;
        const ui::GridData& g = *grid;
        syncing_ = true;
        model_.refreshAll();
        QHeaderView* h = table_->horizontalHeader();
        QHeaderView* v = table_->verticalHeader();
        h->setVisible(model_.fixedRows() > 0);
        v->setVisible(model_.fixedCols() > 0);
        const auto mode = g.columnResize ? QHeaderView::Interactive : QHeaderView::Fixed;
        if (h->sectionResizeMode(0) != mode || h->count() == 0) h->setSectionResizeMode(mode);
        for (int col = 0; col < g.cols && col < static_cast<int>(g.colWidths.size()); ++col) {
            const int w = g.colWidths[static_cast<size_t>(col)];
            if (col < model_.fixedCols()) {
                if (v->width() != w) v->setFixedWidth(w);
            } else if (table_->columnWidth(col - model_.fixedCols()) != w) {
                table_->setColumnWidth(col - model_.fixedCols(), w);
            }
        }
        // Current cell, with its whole row highlighted.
        const int row = g.selRow - model_.fixedRows(), col = std::max(0, g.selCol - model_.fixedCols());
        const QModelIndex want = model_.index(row, std::min(col, std::max(0, model_.columnCount({}) - 1)));
        if (want.isValid() && table_->currentIndex() != want) {
            const QSignalBlocker block(table_->selectionModel());
            table_->selectionModel()->setCurrentIndex(
                want, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            table_->viewport()->update();
        }
        // First data row shown.
        const int top = std::max(0, g.topRow - model_.fixedRows());
        if (top != shownTop_) {
            shownTop_ = top;
            table_->verticalScrollBar()->setValue(top);
        }
        if (corner_) corner_->update();
        syncing_ = false;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (corner_ && watched == corner_ && event->type() == QEvent::Paint) {
            QPainter p(corner_);
            QStyleOptionHeader opt;
            opt.initFrom(corner_);
            // The corner button is never clickable, but its title must not look dimmed.
            opt.state |= QStyle::State_Enabled | QStyle::State_Raised;
            opt.palette.setCurrentColorGroup(table_->isEnabled() ? QPalette::Active : QPalette::Disabled);
            opt.rect = corner_->rect();
            opt.text = model_.cornerText();
            opt.textAlignment = Qt::AlignCenter;
            opt.position = QStyleOptionHeader::OnlyOneSection;
            opt.orientation = Qt::Horizontal;
            corner_->style()->drawControl(QStyle::CE_Header, &opt, &p, corner_);
            return true;
        }
        return ControlView::eventFilter(watched, event);
    }

  private:
    void select(int row, int col) {
        if (syncing_) return;
        gesture([row, col](int p, int id) { return ui::userSelectCell(p, id, row, col); });
    }

    QPointer<QTableView> table_;
    QPointer<QAbstractButton> corner_;
    GridModel model_;
    int shownTop_ = -1;
    bool pending_ = false;
};

}  // namespace

ControlView* makeGridView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new GridView(fe, panel, c, canvas);
}

}  // namespace qmqt
