// Popups, the event loop, the busy cursor, timing and the path and date utilities.
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "runtime.h"

using namespace ui;
using namespace ui::detail;

namespace {

const auto gStart = std::chrono::steady_clock::now();

std::string str(const char* s) {
    return s ? s : "";
}

}  // namespace

int MessagePopup(const char* title, const char* message) {
    if (!isMainThread())
        return postToMain([t = str(title), m = str(message)] { MessagePopup(t.c_str(), m.c_str()); });
    Frontend* f = frontend();
    if (!f) return UIE_NO_FRONTEND;
    f->messagePopup(str(title), str(message));
    return 0;
}

int ConfirmPopup(const char* title, const char* message) {
    if (!isMainThread())
        return postToMain([t = str(title), m = str(message)] { ConfirmPopup(t.c_str(), m.c_str()); });
    Frontend* f = frontend();
    if (!f) return UIE_NO_FRONTEND;
    return f->confirmPopup(str(title), str(message)) ? 1 : 0;
}

int FileSelectPopup(const char* defaultDirectory, const char* defaultFileSpec, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char pathName[MAX_PATHNAME_LEN]) {
    FileSelectRequest request;
    request.defaultDirectory = str(defaultDirectory);
    request.defaultFileSpec = str(defaultFileSpec);
    request.fileTypeList = str(fileTypeList);
    request.title = str(title);
    request.buttonLabel = buttonLabel;
    request.restrictDirectory = restrictDirectory != 0;
    request.restrictExtension = restrictExtension != 0;
    request.allowCancel = allowCancel != 0;
    request.allowMakeDirectory = allowMakeDirectory != 0;
    if (!isMainThread()) {
        // Nobody is left to read the answer: the dialog is shown, its result dropped.
        if (pathName) pathName[0] = '\0';
        return postToMain([request] {
            if (Frontend* f = frontend()) {
                std::string ignored;
                f->fileSelectPopup(request, &ignored);
            }
        });
    }
    Frontend* f = frontend();
    if (!f) return UIE_NO_FRONTEND;
    std::string path;
    const int result = f->fileSelectPopup(request, &path);
    copyToBuffer(result == VAL_NO_FILE_SELECTED ? std::string() : path, pathName, MAX_PATHNAME_LEN);
    return result;
}

int DirSelectPopup(const char* defaultDirectory, const char* title, int allowCancel, int allowMakeDirectory,
                   char pathName[MAX_PATHNAME_LEN]) {
    DirSelectRequest request;
    request.defaultDirectory = str(defaultDirectory);
    request.title = str(title);
    request.allowCancel = allowCancel != 0;
    request.allowMakeDirectory = allowMakeDirectory != 0;
    if (!isMainThread()) {
        if (pathName) pathName[0] = '\0';
        return postToMain([request] {
            if (Frontend* f = frontend()) {
                std::string ignored;
                f->dirSelectPopup(request, &ignored);
            }
        });
    }
    Frontend* f = frontend();
    if (!f) return UIE_NO_FRONTEND;
    std::string path;
    const int result = f->dirSelectPopup(request, &path);
    copyToBuffer(result == VAL_NO_DIRECTORY_SELECTED ? std::string() : path, pathName, MAX_PATHNAME_LEN);
    return result;
}

int RunUserInterface() {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    Frontend* f = frontend();
    if (!f) return UIE_NO_FRONTEND;
    runQueuedCalls();
    f->runEventLoop();
    return state().quitCode;
}

int QuitUserInterface(int returnCode) {
    if (!isMainThread()) return postToMain([=] { QuitUserInterface(returnCode); });
    Frontend* f = frontend();
    if (!f) return UIE_NO_FRONTEND;
    state().quitCode = returnCode;
    f->quitEventLoop();
    return 0;
}

int ProcessSystemEvents() {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    runQueuedCalls();
    if (Frontend* f = frontend()) f->processEvents();
    return 0;
}

int ProcessDrawEvents() {
    if (!isMainThread()) return UIE_NOT_MAIN_THREAD;
    if (Frontend* f = frontend()) f->processDrawEvents();
    return 0;
}

int SetMouseCursor(int cursor) {
    if (!isMainThread()) return postToMain([=] { SetMouseCursor(cursor); });
    if (cursor != VAL_DEFAULT_CURSOR && cursor != VAL_HOUR_GLASS_CURSOR) return UIE_BAD_VALUE;
    state().mouseCursor = cursor;
    if (Frontend* f = frontend()) f->setBusyCursor(cursor == VAL_HOUR_GLASS_CURSOR);
    return 0;
}

int GetMouseCursor(int* cursor) {
    if (!cursor) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetMouseCursor(cursor); });
    *cursor = state().mouseCursor;
    return 0;
}

int Delay(double seconds) {
    if (!(seconds > 0)) return 0;
    if (seconds > 1e6) return UIE_BAD_VALUE;
    Frontend* f = isMainThread() ? frontend() : nullptr;
    if (f)
        f->delay(seconds);
    else
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return 0;
}

double Timer() {
    if (!isMainThread()) {
        double t = 0;
        askMain([&] {
            t = Timer();
            return 0;
        });
        return t;
    }
    if (Frontend* f = frontend()) return f->now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - gStart).count();
}

int GetModuleDir(char directory[MAX_PATHNAME_LEN]) {
    if (!directory) return UIE_BAD_VALUE;
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) {
        directory[0] = '\0';
        return UIE_FILE_NOT_FOUND;
    }
    std::string path(exe, static_cast<size_t>(n));
    const size_t slash = path.find_last_of('/');
    path = slash == 0 ? "/" : path.substr(0, slash);
    if (path.size() >= static_cast<size_t>(MAX_PATHNAME_LEN)) {
        directory[0] = '\0';
        return UIE_BAD_VALUE;
    }
    copyToBuffer(path, directory, MAX_PATHNAME_LEN);
    return 0;
}

int MakePathname(const char* directory, const char* fileName, char path[MAX_PATHNAME_LEN]) {
    if (!path) return UIE_BAD_VALUE;
    // Paths written for the other platform use "\": both separators become "/" and a doubled separator
    // (a folder already ending in one, or a written "\\") collapses to one.
    const std::string joined = str(directory) + "/" + str(fileName);
    std::string out;
    out.reserve(joined.size());
    for (char ch : joined) {
        if (ch == '\\') ch = '/';
        if (ch == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(ch);
    }
    if (out.size() >= static_cast<size_t>(MAX_PATHNAME_LEN)) {
        path[0] = '\0';
        return UIE_BAD_VALUE;
    }
    copyToBuffer(out, path, MAX_PATHNAME_LEN);
    return 0;
}

namespace {

std::string formatNow(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, format, &local);
    return buf;
}

}  // namespace

std::string DateStr() {
    return formatNow("%m-%d-%Y");
}
std::string TimeStr() {
    return formatNow("%H:%M:%S");
}
