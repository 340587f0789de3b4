// Thread pools: at most N threads per pool run the scheduled functions. The main thread never blocks
// without running the calls other threads hand it, so a pool function that waits for the user interface
// cannot deadlock a main thread that waits for the pool.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "runtime.h"

namespace {

using namespace ui;
using namespace ui::detail;

struct Job {
    int id = 0;
    ThreadFunctionPtr function = nullptr;
    void* data = nullptr;
    int priority = THREAD_PRIORITY_NORMAL;
    ThreadFunctionCallbackPtr callback = nullptr;
    unsigned eventMask = 0;
    void* callbackData = nullptr;
    int callbackThread = 0;
};

enum class FnState { Queued, Running, Done, Dropped };

struct Pool {
    int handle = 0;
    int maxThreads = 1;
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<Job> queued;
    std::vector<std::thread> threads;
    std::vector<std::thread::id> threadIds;
    int idle = 0;
    int running = 0;
    bool closing = false;
    std::map<int, FnState> functions;
    int nextFunction = 1;
};

struct Registry {
    std::mutex mutex;
    std::map<int, std::shared_ptr<Pool>> pools;
    int next = DEFAULT_THREAD_POOL_HANDLE + 1;
};

Registry& registry() {
    static Registry* r = new Registry;  // pool threads may outlive static destruction
    return *r;
}

std::atomic<unsigned> gNextThreadId{1};
std::atomic<unsigned> gMainCmtId{0};

std::shared_ptr<Pool> findPool(int handle, bool createDefault) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto it = registry().pools.find(handle);
    if (it != registry().pools.end()) return it->second;
    if (handle != DEFAULT_THREAD_POOL_HANDLE || !createDefault) return nullptr;
    auto pool = std::make_shared<Pool>();
    pool->handle = handle;
    pool->maxThreads = static_cast<int>(std::max(2u, std::thread::hardware_concurrency() + 2));
    registry().pools[handle] = pool;
    return pool;
}

void deliver(const Pool& pool, const Job& job, unsigned event, int value) {
    if (!job.callback || !(job.eventMask & event)) return;
    const auto callback = job.callback;
    const int poolHandle = pool.handle;
    const int id = job.id;
    void* data = job.callbackData;
    if (job.callbackThread != 0 && static_cast<unsigned>(job.callbackThread) == gMainCmtId.load())
        postToMain([=] { callback(poolHandle, id, event, value, data); });
    else
        callback(poolHandle, id, event, value, data);
}

void worker(std::shared_ptr<Pool> pool) {
    std::unique_lock<std::mutex> lock(pool->mutex);
    for (;;) {
        ++pool->idle;
        pool->cv.wait(lock, [&] { return pool->closing || !pool->queued.empty(); });
        --pool->idle;
        if (pool->closing) return;
        // Higher priority first; equal priorities in the order they were scheduled.
        auto next = std::max_element(pool->queued.begin(), pool->queued.end(),
                                     [](const Job& a, const Job& b) { return a.priority < b.priority; });
        Job job = *next;
        pool->queued.erase(next);
        pool->functions[job.id] = FnState::Running;
        ++pool->running;
        lock.unlock();

        deliver(*pool, job, EVENT_TP_THREAD_FUNCTION_BEGIN, 0);
        const int result = job.function(job.data);
        deliver(*pool, job, EVENT_TP_THREAD_FUNCTION_END, result);

        lock.lock();
        --pool->running;
        pool->functions[job.id] = FnState::Done;
        pool->cv.notify_all();
        lock.unlock();
        wakeWaitingMain();
        lock.lock();
    }
}

// Waits until `done` holds (checked under the pool's lock). The main thread keeps running queued calls.
void waitFor(Pool& pool, const std::function<bool()>& done, bool processEvents) {
    if (!isMainThread()) {
        std::unique_lock<std::mutex> lock(pool.mutex);
        pool.cv.wait(lock, done);
        return;
    }
    auto finished = [&] {
        std::lock_guard<std::mutex> lock(pool.mutex);
        return done();
    };
    if (!processEvents) {
        pumpUntil(finished);
        return;
    }
    while (!finished()) {
        ProcessSystemEvents();
        std::unique_lock<std::mutex> lock(pool.mutex);
        pool.cv.wait_for(lock, std::chrono::milliseconds(5), done);
    }
}

}  // namespace

int CmtNewThreadPool(int maxThreads, int* poolHandle) {
    if (!poolHandle || maxThreads < 1 || maxThreads > 1024) return UIE_BAD_VALUE;
    isMainThread();  // names the main thread if nothing has yet
    auto pool = std::make_shared<Pool>();
    pool->maxThreads = maxThreads;
    std::lock_guard<std::mutex> lock(registry().mutex);
    pool->handle = registry().next++;
    registry().pools[pool->handle] = pool;
    *poolHandle = pool->handle;
    return 0;
}

int CmtScheduleThreadPoolFunctionAdv(int poolHandle, ThreadFunctionPtr function, void* functionData,
                                     int priority, ThreadFunctionCallbackPtr callback, unsigned eventMask,
                                     void* callbackData, int threadId, int* functionId) {
    if (!function) return UIE_BAD_VALUE;
    if (isMainThread()) gMainCmtId.store(CmtGetCurrentThreadID());
    auto pool = findPool(poolHandle, true);
    if (!pool) return UIE_BAD_THREAD_POOL;
    std::lock_guard<std::mutex> lock(pool->mutex);
    if (pool->closing) return UIE_BAD_THREAD_POOL;
    Job job;
    job.id = pool->nextFunction++;
    job.function = function;
    job.data = functionData;
    job.priority = std::clamp(priority, static_cast<int>(THREAD_PRIORITY_LOWEST),
                              static_cast<int>(THREAD_PRIORITY_HIGHEST));
    job.callback = callback;
    job.eventMask = eventMask;
    job.callbackData = callbackData;
    job.callbackThread = threadId;
    pool->queued.push_back(job);
    pool->functions[job.id] = FnState::Queued;
    if (static_cast<int>(pool->queued.size()) > pool->idle &&
        static_cast<int>(pool->threads.size()) < pool->maxThreads) {
        try {
            pool->threads.emplace_back(worker, pool);
            pool->threadIds.push_back(pool->threads.back().get_id());
        } catch (const std::system_error&) {
            if (pool->threads.empty()) {  // no thread at all would ever run it
                pool->queued.pop_back();
                pool->functions.erase(job.id);
                return UIE_OUT_OF_MEMORY;
            }
        }
    }
    pool->cv.notify_all();
    if (functionId) *functionId = job.id;
    return 0;
}

int CmtWaitForThreadPoolFunctionCompletion(int poolHandle, int functionId, int options) {
    auto pool = findPool(poolHandle, false);
    if (!pool) return UIE_BAD_THREAD_POOL;
    {
        std::lock_guard<std::mutex> lock(pool->mutex);
        if (!pool->functions.count(functionId)) return UIE_BAD_THREAD_FUNCTION;
    }
    waitFor(
        *pool,
        [&] {
            const FnState s = pool->functions[functionId];
            return s == FnState::Done || s == FnState::Dropped;
        },
        (options & OPT_TP_PROCESS_EVENTS_WHILE_WAITING) != 0);
    return 0;
}

int CmtReleaseThreadPoolFunctionID(int poolHandle, int functionId) {
    auto pool = findPool(poolHandle, false);
    if (!pool) return UIE_BAD_THREAD_POOL;
    std::lock_guard<std::mutex> lock(pool->mutex);
    auto it = pool->functions.find(functionId);
    if (it == pool->functions.end()) return UIE_BAD_THREAD_FUNCTION;
    if (it->second == FnState::Queued || it->second == FnState::Running) return UIE_BAD_THREAD_FUNCTION;
    pool->functions.erase(it);
    return 0;
}

int CmtDiscardThreadPool(int poolHandle) {
    auto pool = findPool(poolHandle, false);
    if (!pool) return poolHandle == DEFAULT_THREAD_POOL_HANDLE ? 0 : UIE_BAD_THREAD_POOL;
    {
        std::lock_guard<std::mutex> lock(pool->mutex);
        // A pool function cannot wait for its own pool to end.
        const auto self = std::this_thread::get_id();
        if (std::find(pool->threadIds.begin(), pool->threadIds.end(), self) != pool->threadIds.end())
            return UIE_BAD_THREAD_POOL;
        if (pool->closing) return UIE_BAD_THREAD_POOL;
        pool->closing = true;
        for (const Job& job : pool->queued) pool->functions[job.id] = FnState::Dropped;
        pool->queued.clear();
        pool->cv.notify_all();
    }
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        registry().pools.erase(poolHandle);
    }
    waitFor(
        *pool, [&] { return pool->running == 0; }, false);
    for (std::thread& t : pool->threads) t.join();  // idle now: they only leave their loop
    return 0;
}

unsigned CmtGetCurrentThreadID() {
    thread_local const unsigned id = gNextThreadId.fetch_add(1);
    return id;
}

int CmtGetErrorMessage(int status, char message[CMT_MAX_MESSAGE_BUF_SIZE]) {
    if (!message) return UIE_BAD_VALUE;
    copyToBuffer(GetUILErrorString(status), message, CMT_MAX_MESSAGE_BUF_SIZE);
    return 0;
}
