// The window-less front end used by the tests.
#include "headless.h"

#include <filesystem>

namespace ui {

const char* popupKindName(PopupKind kind) {
    switch (kind) {
        case PopupKind::Message:
            return "message";
        case PopupKind::Confirm:
            return "confirm";
        case PopupKind::FileSelect:
            return "file select";
        case PopupKind::DirSelect:
            return "directory select";
    }
    return "?";
}

HeadlessFrontend::HeadlessFrontend() {
    setFrontend(this);
}

HeadlessFrontend::~HeadlessFrontend() {
    if (frontend() == this) setFrontend(nullptr);
}

void HeadlessFrontend::expectMessage() {
    answers_.push_back({PopupKind::Message, 0, {}});
}
void HeadlessFrontend::expectConfirm(int answer) {
    answers_.push_back({PopupKind::Confirm, answer ? 1 : 0, {}});
}
void HeadlessFrontend::answerFile(const std::string& path, int status) {
    answers_.push_back({PopupKind::FileSelect, status, path});
}
void HeadlessFrontend::cancelFile() {
    answers_.push_back({PopupKind::FileSelect, VAL_NO_FILE_SELECTED, {}});
}
void HeadlessFrontend::answerDir(const std::string& path) {
    answers_.push_back({PopupKind::DirSelect, VAL_DIRECTORY_SELECTED, path});
}
void HeadlessFrontend::cancelDir() {
    answers_.push_back({PopupKind::DirSelect, VAL_NO_DIRECTORY_SELECTED, {}});
}
void HeadlessFrontend::whilePopupUp(std::function<void(const PopupRecord&)> action) {
    popupActions_.push_back(std::move(action));
}

std::vector<PopupRecord> HeadlessFrontend::popupsOf(PopupKind kind) const {
    std::vector<PopupRecord> out;
    for (const PopupRecord& p : popups_)
        if (p.kind == kind) out.push_back(p);
    return out;
}

int HeadlessFrontend::countPopups(const std::string& title) const {
    int n = 0;
    for (const PopupRecord& p : popups_) n += p.title == title;
    return n;
}

bool HeadlessFrontend::show(PopupRecord& record, Answer* answer) {
    if (watcher_) watcher_(record);
    if (!popupActions_.empty()) {
        auto action = std::move(popupActions_.front());
        popupActions_.pop_front();
        action(record);
    }
    if (answers_.empty()) return false;
    if (answers_.front().kind != record.kind) {
        if (record.kind != PopupKind::Message)
            scriptErrors_.push_back(std::string("a ") + popupKindName(record.kind) + " popup \"" +
                                    record.title + "\" came while a " + popupKindName(answers_.front().kind) +
                                    " answer was next");
        return false;
    }
    *answer = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

int HeadlessFrontend::messagePopup(const std::string& title, const std::string& message) {
    PopupRecord r;
    r.kind = PopupKind::Message;
    r.title = title;
    r.text = message;
    const size_t at = popups_.size();
    popups_.push_back(r);
    Answer a{};
    show(r, &a);
    return popups_[at].answer = 0;
}

int HeadlessFrontend::confirmPopup(const std::string& title, const std::string& message) {
    PopupRecord r;
    r.kind = PopupKind::Confirm;
    r.title = title;
    r.text = message;
    const size_t at = popups_.size();
    popups_.push_back(r);
    Answer a{};
    const int answer = show(r, &a) ? a.value : 1;
    return popups_[at].answer = answer;
}

int HeadlessFrontend::fileSelectPopup(const FileSelectRequest& request, std::string* path) {
    PopupRecord r;
    r.kind = PopupKind::FileSelect;
    r.title = request.title;
    r.text = request.defaultDirectory;
    r.fileRequest = request;
    const size_t at = popups_.size();
    popups_.push_back(r);
    Answer a{};
    int status = VAL_NO_FILE_SELECTED;
    if (show(r, &a)) status = a.value;
    if (status == VAL_NO_FILE_SELECTED) a.path.clear();
    if (path) *path = a.path;
    popups_[at].path = a.path;
    return popups_[at].answer = status;
}

int HeadlessFrontend::dirSelectPopup(const DirSelectRequest& request, std::string* path) {
    PopupRecord r;
    r.kind = PopupKind::DirSelect;
    r.title = request.title;
    r.text = request.defaultDirectory;
    r.dirRequest = request;
    const size_t at = popups_.size();
    popups_.push_back(r);
    Answer a{};
    int status = VAL_NO_DIRECTORY_SELECTED;
    if (show(r, &a)) status = a.value;
    if (status == VAL_NO_DIRECTORY_SELECTED) a.path.clear();
    if (path) *path = a.path;
    popups_[at].path = a.path;
    return popups_[at].answer = status;
}

void HeadlessFrontend::addLoopStep(std::function<void()> step) {
    steps_.push_back(std::move(step));
}

void HeadlessFrontend::runEventLoop() {
    ++loopsRun_;
    loopRanDry_ = false;
    for (;;) {
        if (quitPending_) break;
        processEvents();
        if (quitPending_) break;
        if (steps_.empty()) {
            loopRanDry_ = true;
            break;
        }
        auto step = std::move(steps_.front());
        steps_.pop_front();
        step();
    }
    quitPending_ = false;
}

void HeadlessFrontend::quitEventLoop() {
    quitPending_ = true;
}

void HeadlessFrontend::processEvents() {
    ++processEventsCalls_;
    // A pass of the event loop takes a little time, on the virtual clock as on a real one: a loop that
    // waits for the module by polling and processing events sees time pass without any Delay.
    advanceClock(EVENT_PASS_SECONDS);
    if (eventPassHook_) eventPassHook_();
    runQueuedCalls();
    // Only the gestures posted before this call: one posted by a callback waits for the next round.
    for (size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
        auto gesture = std::move(posted_.front());
        posted_.pop_front();
        gesture();
    }
}

void HeadlessFrontend::processDrawEvents() {
    ++drawCalls_;
}

void HeadlessFrontend::post(std::function<void()> gesture) {
    posted_.push_back(std::move(gesture));
}

void HeadlessFrontend::wakeMainThread() {
    wakes_.fetch_add(1);
}

void HeadlessFrontend::delay(double seconds) {
    advanceClock(seconds);
    totalDelay_ += seconds;
    if (delayHook_) delayHook_(seconds);
}

void HeadlessFrontend::setBusyCursor(bool busy) {
    if (busy != busy_) ++busyChanges_;
    busy_ = busy;
}

int HeadlessFrontend::saveGraphImage(int panel, int control, const std::string& path, int format, int width,
                                     int height) {
    graphExports_.push_back({panel, control, path, format, width, height});
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ignored)) return UIE_FILE_WRITE;
    return 0;
}

std::string HeadlessFrontend::taskbarText() const {
    std::string text;
    GetSystemAttribute(ATTR_TASKBAR_BUTTON_TEXT, &text);
    return text;
}

unsigned HeadlessFrontend::changesOf(int panel, int control) const {
    auto it = changes_.find({panel, control});
    return it == changes_.end() ? 0 : it->second;
}

void HeadlessFrontend::clearChanges() {
    changes_.clear();
    changeCount_ = 0;
}

void HeadlessFrontend::panelChanged(int panel, unsigned what) {
    changes_[{panel, 0}] |= what;
    ++changeCount_;
}

void HeadlessFrontend::controlChanged(int panel, int control, unsigned what) {
    changes_[{panel, control}] |= what;
    ++changeCount_;
}

void HeadlessFrontend::menuBarChanged(int) {
    ++changeCount_;
}

void HeadlessFrontend::systemChanged() {
    taskbarHistory_.push_back(taskbarText());
}

}  // namespace ui
