// A front end without a window, for tests: popups are answered from a script and recorded, Delay moves a
// virtual clock instead of sleeping, events and queued calls run when the test asks, and the event loop
// runs the steps a test gives it.
//
//   ui::HeadlessFrontend fe;           // installs itself; uninstalls in its destructor
//   fe.expectConfirm(0);               // the next ConfirmPopup answers "No"
//   fe.answerFile("/tmp/x.ini");       // the next FileSelectPopup picks this file
//   ... drive the program ...
//   EXPECT_EQ(fe.popups().back().title, "Confirm Action");
#ifndef QM_UI_HEADLESS_H
#define QM_UI_HEADLESS_H

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model.h"

namespace ui {

enum class PopupKind { Message, Confirm, FileSelect, DirSelect };
const char* popupKindName(PopupKind kind);

// One popup the program showed.
struct PopupRecord {
    PopupKind kind = PopupKind::Message;
    std::string title;
    std::string text;  // message text; for file and directory popups the default directory
    int answer = 0;    // what the popup returned
    std::string path;  // file and directory popups: the path handed back
    FileSelectRequest fileRequest;
    DirSelectRequest dirRequest;
};

// One graph the program exported (SaveGraphImage).
struct GraphExportRecord {
    int panel = 0;
    int control = 0;
    std::string path;
    int format = VAL_GRAPH_PNG;
    int width = 0;  // 0: as on screen
    int height = 0;
};

class HeadlessFrontend : public Frontend {
  public:
    // Installs itself as the run-time's front end (and makes the calling thread the main thread).
    HeadlessFrontend();
    ~HeadlessFrontend() override;
    HeadlessFrontend(const HeadlessFrontend&) = delete;
    HeadlessFrontend& operator=(const HeadlessFrontend&) = delete;

    // ---- popup script: answers are used in order. A message popup takes the next answer only when that
    // is an expectMessage() (messages need no script); a confirm, file or directory popup meeting an answer
    // of another kind gets the default answer, and the mismatch is noted in scriptErrors(). Defaults:
    // message 0, confirm 1 (yes), file and directory popups "nothing selected".
    void expectMessage();            // acknowledges the next message popup
    void expectConfirm(int answer);  // 1 yes, 0 no
    void answerFile(const std::string& path, int status = VAL_EXISTING_FILE_SELECTED);
    void cancelFile();
    void answerDir(const std::string& path);
    void cancelDir();
    // Runs `action` while the next popup is up (after it was recorded), e.g. to check what the panels show
    // behind a dialog; the answer is then taken from the script as usual.
    void whilePopupUp(std::function<void(const PopupRecord&)> action);
    // Runs `watcher` while every popup is up, until replaced or cleared with nullptr (e.g. to check that no
    // popup ever appears under the busy cursor). Runs before a whilePopupUp action.
    void watchPopups(std::function<void(const PopupRecord&)> watcher) { watcher_ = std::move(watcher); }
    // Drops whilePopupUp actions no popup has used yet.
    void clearPopupActions() { popupActions_.clear(); }
    size_t pendingAnswers() const { return answers_.size(); }
    const std::vector<std::string>& scriptErrors() const { return scriptErrors_; }

    const std::vector<PopupRecord>& popups() const { return popups_; }
    void clearPopups() { popups_.clear(); }
    // Popups of one kind, and the number whose title is `title`.
    std::vector<PopupRecord> popupsOf(PopupKind kind) const;
    int countPopups(const std::string& title) const;

    // ---- event loop. runEventLoop runs the steps (queued calls first, then each step) until
    // quitEventLoop is called, and returns at once when a quit is already pending. When the steps run out
    // without a quit it returns too and loopRanDry() says so (a test never hangs).
    void addLoopStep(std::function<void()> step);
    bool loopRanDry() const { return loopRanDry_; }
    bool quitRequested() const { return quitPending_; }
    int loopsRun() const { return loopsRun_; }

    // ---- events: a gesture posted here runs at the next processEvents (ProcessSystemEvents), as if the
    // operator acted while the program was busy (e.g. Stop during a capture run).
    void post(std::function<void()> gesture);
    int processEventsCalls() const { return processEventsCalls_; }
    int drawCalls() const { return drawCalls_; }
    int wakeCount() const { return wakes_.load(); }

    // ---- time: Delay adds to a virtual clock. The hook, if any, runs on each Delay with the seconds.
    // The clock may be read from any thread (the simulated module runs on it); only the main thread moves it.
    double clock() const { return clock_.load(); }
    static constexpr double EVENT_PASS_SECONDS = 20e-6;  // what one processEvents takes on the clock
    void advanceClock(double seconds) { clock_.store(clock_.load() + seconds); }
    void setDelayHook(std::function<void(double)> hook) { delayHook_ = std::move(hook); }
    // Runs at each pass of the event loop, after the clock moved: an operator who acts after a while
    // reaches a loop that polls the module without any Delay.
    void setEventPassHook(std::function<void()> hook) { eventPassHook_ = std::move(hook); }
    double totalDelay() const { return totalDelay_; }

    // ---- what the screen would show
    bool busy() const { return busy_; }
    int busyChanges() const { return busyChanges_; }
    std::string taskbarText() const;
    std::vector<std::string> taskbarHistory() const { return taskbarHistory_; }
    // Change notifications received for a control (bitwise or of ui::Change) and their number.
    unsigned changesOf(int panel, int control) const;
    int changeCount() const { return changeCount_; }
    void clearChanges();

    // ---- graph exports: recorded, nothing is written. An export into a folder that does not exist fails
    // with UIE_FILE_WRITE, as a real one would.
    const std::vector<GraphExportRecord>& graphExports() const { return graphExports_; }

    // Frontend
    void panelChanged(int panel, unsigned what) override;
    void controlChanged(int panel, int control, unsigned what) override;
    void menuBarChanged(int menuBar) override;
    void systemChanged() override;
    int messagePopup(const std::string& title, const std::string& message) override;
    int confirmPopup(const std::string& title, const std::string& message) override;
    int fileSelectPopup(const FileSelectRequest& request, std::string* path) override;
    int dirSelectPopup(const DirSelectRequest& request, std::string* path) override;
    void runEventLoop() override;
    void quitEventLoop() override;
    void processEvents() override;
    void processDrawEvents() override;
    void wakeMainThread() override;
    void delay(double seconds) override;
    double now() override { return clock_.load(); }
    void setBusyCursor(bool busy) override;
    int saveGraphImage(int panel, int control, const std::string& path, int format, int width,
                       int height) override;

  private:
    struct Answer {
        PopupKind kind;
        int value = 0;
        std::string path;
    };
    // Records the popup, runs a whilePopupUp action, and takes the scripted answer (false: the default).
    bool show(PopupRecord& record, Answer* answer);

    std::deque<Answer> answers_;
    std::deque<std::function<void(const PopupRecord&)>> popupActions_;
    std::function<void(const PopupRecord&)> watcher_;
    std::vector<std::string> scriptErrors_;
    std::vector<PopupRecord> popups_;
    std::vector<GraphExportRecord> graphExports_;
    std::deque<std::function<void()>> steps_;
    std::deque<std::function<void()>> posted_;
    bool quitPending_ = false;
    bool loopRanDry_ = false;
    int loopsRun_ = 0;
    int processEventsCalls_ = 0;
    int drawCalls_ = 0;
    std::atomic<int> wakes_{0};
    std::atomic<double> clock_{0};
    double totalDelay_ = 0;
    std::function<void(double)> delayHook_;
    std::function<void()> eventPassHook_;
    bool busy_ = false;
    int busyChanges_ = 0;
    std::vector<std::string> taskbarHistory_;
    std::map<std::pair<int, int>, unsigned> changes_;
    int changeCount_ = 0;
};

}  // namespace ui

#endif
