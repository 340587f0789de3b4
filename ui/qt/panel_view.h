// One panel on screen. A top-level panel is a window (with its menu bar, title and close box); a child
// panel is a region of its parent's canvas; a tab page is a page of its tab control. Controls sit on the
// canvas at the pixel positions the resource gives them.
#ifndef QM_UI_QT_PANEL_VIEW_H
#define QM_UI_QT_PANEL_VIEW_H

#include <QMainWindow>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <map>
#include <memory>

#include "control_view.h"
#include "ui/model.h"

namespace qmqt {

class QtFrontend;
class MenuBarView;

class PanelWindow : public QMainWindow {
  public:
    PanelWindow(int panel) : panel_(panel) {}

  protected:
    // The close box is the panel's close event: the program decides whether anything closes.
    void closeEvent(QCloseEvent* event) override;

  private:
    const int panel_;
};

class PanelView : public QObject {
  public:
    PanelView(QtFrontend& frontend, const ui::Panel& panel);
    ~PanelView() override;

    int handle() const { return handle_; }
    QWidget* canvas() const { return canvas_; }
    PanelWindow* window() const { return window_; }
    // What the operator sees as this panel: the window of a top-level panel, the canvas otherwise.
    QWidget* topWidget() const;

    void sync(const ui::Panel& panel, unsigned what);
    void syncControl(int control, unsigned what);
    void syncMenuBar();
    ControlView* controlView(int control) const;
    MenuBarView* menuBarView() const { return menu_.get(); }

    // Hides the panel and schedules the deletion of its widgets (the panel left the model).
    void retire();

  private:
    void buildWindow(const ui::Panel& panel);
    void placeInParent(const ui::Panel& panel);
    void applyFocus(const ui::Panel& panel);
    void becomeChild(const ui::Panel& panel);

    QtFrontend& frontend_;
    const int handle_;
    QPointer<PanelWindow> window_;
    QPointer<QWidget> canvas_;
    std::map<int, QPointer<ControlView>> controls_;
    std::unique_ptr<MenuBarView> menu_;
    int focusedCtrl_ = 0;
    bool shownAsPopup_ = false;
};

}  // namespace qmqt

#endif
