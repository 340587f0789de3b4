// The list box: a QListView over a model that reads the run-time's items on demand, so a numeric list of
// a million samples costs no widget item (and, with a label source, no stored label) per entry.
#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "control_kinds.h"
#include "qt_util.h"

namespace qmqt {
namespace {

class ListModel : public QAbstractListModel {
  public:
    void setControl(const ui::Control* c) { control_ = c; }
    void reset(const ui::Control* c) {
        beginResetModel();
        control_ = c;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !control_ ? 0 : control_->itemCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!control_ || role != Qt::DisplayRole || index.row() >= control_->itemCount()) return {};
        return qs(control_->itemLabel(index.row()));
    }

  private:
    const ui::Control* control_ = nullptr;
};

// Draws labels of two-column lists ("PXI KORVO\t4120") with the second column at the column stop and,
// when asked, a vertical rule between the columns.
class ColumnDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int columnStop = 0;
    bool rule = false;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString label = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        const bool selected = opt.state & QStyle::State_Selected;
        p->save();
        p->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect r = opt.rect.adjusted(3, 0, -2, 0);
        const int tab = label.indexOf(QLatin1Char('\t'));
        if (tab < 0 || columnStop <= 0) {
            QString text = label;
            text.replace(QLatin1Char('\t'), QLatin1Char(' '));
            p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        } else {
            const QRect first(r.left(), r.top(), columnStop - 4, r.height());
            const QRect second(opt.rect.left() + columnStop + 4, r.top(), r.right() - columnStop - 4,
                               r.height());
            p->drawText(first, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label.left(tab));
            p->drawText(second, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label.mid(tab + 1));
        }
        if (rule && columnStop > 0) {
            p->setPen(opt.palette.color(QPalette::Text));
            const int x = opt.rect.left() + columnStop;
            p->drawLine(x, opt.rect.top(), x, opt.rect.bottom());
        }
        p->restore();
    }
};

class ListView : public ControlView {
  public:
    ListView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        view_ = new QListView(canvas);
        // Uniform rows let the view lay out a million entries without measuring each one.
        view_->setUniformItemSizes(true);
        view_->setLayoutMode(QListView::SinglePass);
        view_->setSelectionMode(QAbstractItemView::SingleSelection);
        view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        delegate_ = new ColumnDelegate(view_);
        view_->setItemDelegate(delegate_);
        model_.reset(&c);
        view_->setModel(&model_);
        QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                         [this](const QModelIndex& current) {
                             if (syncing_ || !current.isValid()) return;
                             const int row = current.row();
                             gesture([row](int p, int id) { return ui::userSelectIndex(p, id, row); });
                         });
        setBody(view_);
    }
    ~ListView() override {
        // The view goes later than this object (deleteLater); it must not read a model that is gone.
        if (view_) view_->setModel(nullptr);
    }

  protected:
    void forget() override { model_.reset(nullptr); }
    void syncKind(const ui::Control& c, unsigned what) override {
        if (what & (ui::ChItems | ui::ChCreated) || model_.rowCount({}) != c.itemCount())
            model_.reset(&c);
        else
            model_.setControl(&c);
        delegate_->columnStop = c.columnStop;
        delegate_->rule = c.columnRule;
        applyColors(view_, c.textColor, c.bgColor);
        const QModelIndex want =
            c.index >= 0 && c.index < c.itemCount() ? model_.index(c.index) : QModelIndex();
        if (view_->currentIndex() != want) {
            const QSignalBlocker block(view_->selectionModel());
            if (want.isValid()) {
                view_->selectionModel()->setCurrentIndex(want, QItemSelectionModel::ClearAndSelect);
                view_->scrollTo(want);
            } else {
                view_->selectionModel()->clear();
            }
            view_->viewport()->update();
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Enter commits the highlighted entry, as a double click does.
        if (event->type() == QEvent::KeyPress && watched == view_) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                const int row = view_->currentIndex().row();
                if (row >= 0) gesture([row](int p, int id) { return ui::userCommitIndex(p, id, row); });
                return true;
            }
        }
        return ControlView::eventFilter(watched, event);
    }

  private:
    QPointer<QListView> view_;
    ColumnDelegate* delegate_;
    ListModel model_;
};

}  // namespace

ControlView* makeListView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new ListView(fe, panel, c, canvas);
}

}  // namespace qmqt
