// The tab control: a QTabWidget whose pages are the canvases of the page panels (the board identity
// panel's "Control board", "IF board" and "RF board").
#include <QSignalBlocker>
#include <QTabWidget>

#include "control_kinds.h"
#include "panel_view.h"
#include "qt_frontend.h"
#include "qt_util.h"

namespace qmqt {
namespace {

class TabView : public ControlView {
  public:
    TabView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        tabs_ = new QTabWidget(canvas);
        QObject::connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
            if (syncing_ || index < 0) return;
            gesture([index](int p, int id) { return ui::userSelectTab(p, id, index); });
        });
        setBody(tabs_);
    }
    ~TabView() override {
        // Page canvases belong to their page panels, not to this widget: hand them back before it goes.
        if (!tabs_) return;
        // Removing tabs raises currentChanged, whose handler would put the pages back from the model.
        const QSignalBlocker quiet(tabs_);
        while (tabs_->count() > 0) {
            QWidget* page = tabs_->widget(0);
            tabs_->removeTab(0);
            page->hide();
            page->setParent(canvas_);
        }
    }

  protected:
    bool hasOwnLabel() const override { return true; }
    void syncKind(const ui::Control& c, unsigned) override {
        if (!c.tab) return;
        const QSignalBlocker block(tabs_);
        const auto& pages = c.tab->pages;
        bool same = tabs_->count() == static_cast<int>(pages.size());
        std::vector<QWidget*> canvases;
        for (size_t i = 0; i < pages.size(); ++i) {
            PanelView* pv = frontend_.panelView(pages[i].panel);
            QWidget* w = pv ? pv->canvas() : nullptr;
            canvases.push_back(w);
            if (same && tabs_->widget(static_cast<int>(i)) != w) same = false;
        }
        if (!same) {
            while (tabs_->count() > 0) {
                QWidget* page = tabs_->widget(0);
                tabs_->removeTab(0);
                if (page) page->hide();
            }
            for (size_t i = 0; i < pages.size(); ++i)
                if (canvases[i]) tabs_->addTab(canvases[i], accessText(pages[i].label));
        }
        for (int i = 0; i < tabs_->count() && i < static_cast<int>(pages.size()); ++i) {
            const QString label = accessText(pages[static_cast<size_t>(i)].label);
            if (tabs_->tabText(i) != label) tabs_->setTabText(i, label);
        }
        if (c.tab->active >= 0 && c.tab->active < tabs_->count() && tabs_->currentIndex() != c.tab->active)
            tabs_->setCurrentIndex(c.tab->active);
    }

  private:
    QPointer<QTabWidget> tabs_;
};

}  // namespace

ControlView* makeTabView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new TabView(fe, panel, c, canvas);
}

}  // namespace qmqt
