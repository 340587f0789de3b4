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

class QCustomPlot;

namespace qmqt {

class PanelView;

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

    // The view of a panel, made on first use while the panel exists in the model; nullptr otherwise.
    PanelView* panelView(int panel, bool create = true);

    // Widgets as the operator sees them (for tests and screenshots); nullptr when absent.
    QWidget* panelWidget(int panel);  // window of a top-level panel, region of a child panel
    QWidget* controlWidget(int panel, int control);
    QLabel* controlLabel(int panel, int control);
    QAction* menuAction(int menuBar, int id);

    // Graphs ask for a replot after a change; replots are gathered and done once per round of events
    // (or at once by processDrawEvents), so a trace replaced point set by point set is drawn once.
    void requestReplot(QCustomPlot* plot);
    void flushReplots();

  private:
    QObject context_;  // receiver of the calls posted to the main thread; they die with the front end
    std::map<int, QPointer<PanelView>> panels_;
    std::vector<QPointer<QCustomPlot>> pendingReplots_;
    bool replotPosted_ = false;
    std::vector<QEventLoop*> loops_;
    bool busy_ = false;
    std::atomic<bool> wakePosted_{false};
    QElapsedTimer clock_;
};

}  // namespace qmqt

#endif
