#include "panel_view.h"

#include <QCloseEvent>
#include <QLayout>

#include "menu_view.h"
#include "qt_frontend.h"
#include "qt_util.h"

namespace qmqt {

void PanelWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    ui::userClosePanel(panel_);
}

PanelView::PanelView(QtFrontend& frontend, const ui::Panel& panel)
    : frontend_(frontend), handle_(panel.handle) {
    if (panel.parent == 0) {
        buildWindow(panel);
    } else {
        // Child panels (and tab pages until their tab control takes them) live on the parent's canvas.
        PanelView* parent = frontend_.panelView(panel.parent);
        canvas_ = new QWidget(parent && parent->canvas() ? parent->canvas() : nullptr);
        canvas_->hide();
    }
    canvas_->setAutoFillBackground(true);
}

PanelView::~PanelView() {
    if (window_)
        window_->deleteLater();
    else if (canvas_)
        canvas_->deleteLater();
}

void PanelView::buildWindow(const ui::Panel& panel) {
    window_ = new PanelWindow(panel.handle);
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    canvas_ = new QWidget;
    window_->setCentralWidget(canvas_);
    window_->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* PanelView::topWidget() const {
    return window_ ? static_cast<QWidget*>(window_) : canvas_.data();
}

ControlView* PanelView::controlView(int control) const {
    auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : it->second.data();
}

void PanelView::retire() {
    for (auto& [id, view] : controls_)
        if (view) view->retire();
    controls_.clear();
    if (window_) window_->hide();
    if (canvas_) canvas_->hide();
    deleteLater();
}

void PanelView::becomeChild(const ui::Panel& panel) {
    // A panel loaded on its own and then made a tab page: its canvas leaves the window (the tab control
    // may have taken it already) and the window goes.
    if (canvas_) {
        if (canvas_->window() == window_) {
            canvas_->hide();
            canvas_->setParent(nullptr);
        }
        canvas_->setMinimumSize(0, 0);
        canvas_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    menu_.reset();
    window_->hide();
    window_->deleteLater();
    window_ = nullptr;
    shownAsPopup_ = false;
    if (panel.tabControl > 0) frontend_.controlChanged(panel.parent, panel.tabControl, ui::ChPages);
}

void PanelView::placeInParent(const ui::Panel& panel) {
    if (window_ || !canvas_ || panel.tabControl > 0) return;
    PanelView* parent = frontend_.panelView(panel.parent);
    if (parent && parent->canvas() && canvas_->parentWidget() != parent->canvas()) {
        canvas_->setParent(parent->canvas());
    }
    const QRect g(panel.left, panel.top, panel.width, panel.height);
    if (canvas_->geometry() != g) canvas_->setGeometry(g);
    canvas_->raise();
    if (canvas_->isHidden() == panel.visible) canvas_->setVisible(panel.visible);
}

void PanelView::sync(const ui::Panel& panel, unsigned what) {
    if (!canvas_) return;
    if (what & ui::ChCreated)
        for (const auto& c : panel.controls) syncControl(c->id, ui::ChCreated);
    QPalette pal = canvas_->palette();
    const QColor bg = toColor(panel.bgColor);
    if (pal.color(QPalette::Window) != bg) {
        pal.setColor(QPalette::Window, bg);
        canvas_->setPalette(pal);
    }
    // A tab page takes the size its tab control gives it.
    if (panel.tabControl == 0 && canvas_->size() != QSize(panel.width, panel.height))
        canvas_->setFixedSize(panel.width, panel.height);
    if (canvas_->isEnabled() == panel.dimmed) canvas_->setEnabled(!panel.dimmed);
    if (what & (ui::ChCreated | ui::ChAttributes)) syncMenuBar();
    if (window_ && panel.parent != 0) becomeChild(panel);

    if (!window_) {
        placeInParent(panel);
    } else {
        const QString title = qs(panel.title);
        if (window_->windowTitle() != title) window_->setWindowTitle(title);
        Qt::WindowFlags flags =
            Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowMinimizeButtonHint;
        if (panel.closeBox) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
        const bool popupChanged = panel.popup != shownAsPopup_;
        const bool flagsChanged = window_->windowFlags() != flags;
        if (flagsChanged || popupChanged) {
            // Flags and modality can only change while the window is down; it comes up again below.
            if (!window_->isHidden()) window_->hide();
            if (flagsChanged) window_->setWindowFlags(flags);
            if (popupChanged) {
                window_->setWindowModality(panel.popup ? Qt::ApplicationModal : Qt::NonModal);
                shownAsPopup_ = panel.popup;
            }
        }
        if (what & ui::ChCreated) window_->move(panel.left, panel.top);
        if (panel.visible && window_->isHidden()) {
            window_->show();
            window_->raise();
            window_->activateWindow();
        } else if (!panel.visible && !window_->isHidden()) {
            window_->hide();
        }
    }
    if ((what & ui::ChShown) && window_ && panel.visible && GetActivePanel() == handle_) {
        window_->raise();
        window_->activateWindow();
    }
    applyFocus(panel);
}

void PanelView::applyFocus(const ui::Panel& panel) {
    // The program moves the keyboard focus with SetActiveCtrl (for example from a channel-grid click to
    // the matching edit field).
    if (panel.activeCtrl == focusedCtrl_) return;
    focusedCtrl_ = panel.activeCtrl;
    if (ControlView* v = controlView(panel.activeCtrl); v && v->body() && v->body()->isEnabled())
        v->body()->setFocus(Qt::OtherFocusReason);
}

void PanelView::syncControl(int control, unsigned what) {
    const ui::Control* c = ui::findControl(handle_, control);
    auto it = controls_.find(control);
    if (!c || (what & ui::ChDiscarded)) {
        if (it != controls_.end()) {
            if (it->second) it->second->retire();
            controls_.erase(it);
        }
        return;
    }
    if (it == controls_.end() || !it->second) {
        ControlView* view = canvas_ ? ControlView::create(frontend_, handle_, *c, canvas_) : nullptr;
        if (!view) return;
        view->setParent(this);
        controls_[control] = view;
        view->sync(*c, ~0u & ~ui::ChDiscarded);
    } else {
        it->second->sync(*c, what);
    }
    if (const ui::Panel* p = ui::findPanel(handle_)) applyFocus(*p);
}

void PanelView::syncMenuBar() {
    const ui::Panel* panel = ui::findPanel(handle_);
    if (panel && panel->menuBar && window_ && (!menu_ || menu_->handle() != panel->menuBar))
        menu_ = std::make_unique<MenuBarView>(panel->menuBar, window_->menuBar());
    if (menu_) menu_->sync();
}

}  // namespace qmqt
