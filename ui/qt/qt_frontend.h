// The Qt Widgets front end of the user-interface run-time: renders the retained model (ui/model.h),
// turns operator gestures into the run-time's events, shows the modal popups as Qt dialogs and runs the
// event loop. The only part of the program, with ui/qt/*, that knows Qt.
#ifndef QM_UI_QT_QT_FRONTEND_H
#define QM_UI_QT_QT_FRONTEND_H

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <map>
#include <vector>

#include "ui/model.h"

namespace qmqt {

class PanelView;
class ControlView;

class QtFrontend : public ui::Frontend {
  public:
    QtFrontend();
    ~QtFrontend() override;
    QtFrontend(const QtFrontend&) = delete;
    QtFrontend& operator=(const QtFrontend&) = delete;

    // ui::Frontend
    void panelChanged(int panel, unsigned what) override;
    void controlChanged(int panel, int control, unsigned what) override;
    void menuBarChanged(int menuBar) override;
    void systemChanged() override;
    int messagePopup(const std::string& title, const std::string& message) override;
    int confirmPopup(const std::string& title, const std::string& message) override;
    int fileSelectPopup(const ui::FileSelectRequest& request, std::string* path) override;
    int dirSelectPopup(const ui::DirSelectRequest& request, std::string* path) override;
    void runEventLoop() override;
    void quitEventLoop() override;
    void processEvents() override;
    void processDrawEvents() override;
    void wakeMainThread() override;
    void delay(double seconds) override;
    double now() override;
    void setBusyCursor(bool busy) override;
    int saveGraphImage(int panel, int control, const std::string& path, int format, int width,
                       int height) override;

    // The view of a panel, made on first use while the panel exists in the model; nullptr otherwise.
    PanelView* panelView(int panel, bool create = true);

    // Widgets as the operator sees them (for tests and screenshots); nullptr when absent.
    QWidget* panelWidget(int panel);  // window of a top-level panel, region of a child panel
    QWidget* controlWidget(int panel, int control);
    QLabel* controlLabel(int panel, int control);
    QAction* menuAction(int menuBar, int id);

    // Views with costly redraws (graph replots, grid refreshes) ask for one after a change; the requests
    // are gathered and served once per round of events (or at once by processDrawEvents), so 1,024 grid
    // cells written one by one, or a trace deleted and plotted again, are redrawn once.
    void requestFlush(ControlView* view);
    void flushViews();

  private:
    QObject context_;  // receiver of the calls posted to the main thread; they die with the front end
    std::map<int, QPointer<PanelView>> panels_;
    std::vector<QPointer<ControlView>> pendingFlushes_;
    bool flushPosted_ = false;
    std::vector<QEventLoop*> loops_;
    bool busy_ = false;
    std::atomic<bool> wakePosted_{false};
    QElapsedTimer clock_;
};

}  // namespace qmqt

#endif
