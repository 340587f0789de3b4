// The module's time base: the steady clock, or a clock installed by the program. Every reader takes a
// copy of the installed functions under a lock and calls them outside it, so a monitor thread may read
// the time while another thread swaps the clock.

#include "clock.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace qm::sim::clock {

namespace {

struct Source {
    NowFunction now = nullptr;  // null: the steady clock
    WaitFunction wait = nullptr;
    void* context = nullptr;
};

std::mutex& sourceMutex() {
    static std::mutex m;
    return m;
}

Source& source() {
    static Source s;
    return s;
}

Source current() {
    std::lock_guard<std::mutex> lock(sourceMutex());
    return source();
}

double steadyNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

double now() {
    const Source s = current();
    return s.now ? s.now(s.context) : steadyNow();
}

bool wait(double seconds) {
    const Source s = current();
    if (!(seconds > 0.0)) return true;
    if (!s.now) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        return true;
    }
    if (!s.wait) return false;
    s.wait(s.context, seconds);
    return true;
}

void install(NowFunction now, WaitFunction wait, void* context) {
    std::lock_guard<std::mutex> lock(sourceMutex());
    source() = now ? Source{now, wait, context} : Source{};
}

}  // namespace qm::sim::clock
