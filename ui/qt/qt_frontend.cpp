#include "qt_frontend.h"

#include <QApplication>
#include <QCursor>
#include <QThread>

#include "control_kinds.h"
#include "control_view.h"
#include "menu_view.h"
#include "panel_view.h"
#include "qt_util.h"

namespace qmqt {

QtFrontend::QtFrontend() {
    clock_.start();
}

QtFrontend::~QtFrontend() {
    if (busy_) QGuiApplication::restoreOverrideCursor();
    for (auto& [handle, view] : panels_) delete view.data();
}

PanelView* QtFrontend::panelView(int panel, bool create) {
    auto it = panels_.find(panel);
    if (it != panels_.end() && it->second) return it->second;
    if (!create) return nullptr;
    const ui::Panel* p = ui::findPanel(panel);
    if (!p) return nullptr;
    // Registered before it is built: its tab pages look it up while their own views are made.
    auto* view = new PanelView(*this, *p);
    panels_[panel] = view;
    view->sync(*p, ui::ChCreated | ui::ChAttributes | ui::ChShown);
    return view;
}

void QtFrontend::panelChanged(int panel, unsigned what) {
    const ui::Panel* p = ui::findPanel(panel);
    if (!p || (what & ui::ChDiscarded)) {
        auto it = panels_.find(panel);
        if (it == panels_.end()) return;
        if (it->second) it->second->retire();
        panels_.erase(it);
        return;
    }
    const bool existed = panels_.count(panel) && panels_[panel];
    PanelView* view = panelView(panel);
    if (view && existed) view->sync(*p, what);
}

void QtFrontend::controlChanged(int panel, int control, unsigned what) {
    if (PanelView* view = panelView(panel, !(what & ui::ChDiscarded))) view->syncControl(control, what);
}

void QtFrontend::menuBarChanged(int menuBar) {
    if (const ui::MenuBar* m = ui::findMenuBar(menuBar)) {
        if (PanelView* view = panelView(m->panel)) view->syncMenuBar();
        return;
    }
    for (auto& [handle, view] : panels_)
        if (view && view->menuBarView() && view->menuBarView()->handle() == menuBar) view->syncMenuBar();
}

void QtFrontend::systemChanged() {
    std::string text;
    GetSystemAttribute(ATTR_TASKBAR_BUTTON_TEXT, &text);
    QGuiApplication::setApplicationDisplayName(qs(text));
}

QWidget* QtFrontend::panelWidget(int panel) {
    PanelView* view = panelView(panel, false);
    return view ? view->topWidget() : nullptr;
}

QWidget* QtFrontend::controlWidget(int panel, int control) {
    PanelView* view = panelView(panel, false);
    ControlView* c = view ? view->controlView(control) : nullptr;
    return c ? c->body() : nullptr;
}

QLabel* QtFrontend::controlLabel(int panel, int control) {
    PanelView* view = panelView(panel, false);
    ControlView* c = view ? view->controlView(control) : nullptr;
    return c ? c->labelWidget() : nullptr;
}

QAction* QtFrontend::menuAction(int menuBar, int id) {
    const ui::MenuBar* m = ui::findMenuBar(menuBar);
    PanelView* view = m ? panelView(m->panel, false) : nullptr;
    return view && view->menuBarView() ? view->menuBarView()->action(id) : nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Event loop

void QtFrontend::runEventLoop() {
    QEventLoop loop;
    loops_.push_back(&loop);
    loop.exec();
    loops_.pop_back();
}

void QtFrontend::quitEventLoop() {
    if (!loops_.empty()) loops_.back()->quit();
}

void QtFrontend::processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ui::runQueuedCalls();
}

void QtFrontend::processDrawEvents() {
    // Only what brings the screen up to date: pending redraws, the window system's expose and resize
    // events (a panel displayed just now is painted only once it is exposed), layouts and paints. Mouse
    // and key input waits, so no gesture and no callback runs here.
    flushViews();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void QtFrontend::wakeMainThread() {
    if (wakePosted_.exchange(true)) return;
    QMetaObject::invokeMethod(
        &context_,
        [this] {
            wakePosted_ = false;
            ui::runQueuedCalls();
        },
        Qt::QueuedConnection);
}

void QtFrontend::delay(double seconds) {
    QElapsedTimer t;
    t.start();
    const qint64 total = seconds > 0 ? static_cast<qint64>(seconds * 1000.0 + 0.5) : 0;
    // The main thread sleeps, but the panel keeps painting (the splash screen stays drawn).
    for (qint64 left = total; left > 0; left = total - t.elapsed()) {
        processDrawEvents();
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 20)));
    }
}

double QtFrontend::now() {
    return static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
}

void QtFrontend::setBusyCursor(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

int QtFrontend::saveGraphImage(int panel, int control, const std::string& path, int format, int width,
                               int height) {
    flushViews();
    QWidget* body = controlWidget(panel, control);
    if (!body) return UIE_BAD_CONTROL;
    return saveGraphPicture(body, path, format, width, height);
}

// ---------------------------------------------------------------------------------------------------------
// Deferred redraws

void QtFrontend::requestFlush(ControlView* view) {
    if (std::find(pendingFlushes_.begin(), pendingFlushes_.end(), view) == pendingFlushes_.end())
        pendingFlushes_.emplace_back(view);
    if (flushPosted_) return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        &context_, [this] { flushViews(); }, Qt::QueuedConnection);
}

void QtFrontend::flushViews() {
    flushPosted_ = false;
    std::vector<QPointer<ControlView>> views;
    views.swap(pendingFlushes_);
    for (auto& view : views)
        if (view) view->flush();
}

}  // namespace qmqt
