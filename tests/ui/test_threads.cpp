// Calls from other threads reach the model only through the main thread; thread pools run at most N
// functions at once, and discarding a pool neither deadlocks nor runs what was still queued.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ui_fixture.h"

namespace {

using uitest::UiTest;

// Schedules `fn` on `pool` with no end-of-function callback.
int schedule(int pool, ThreadFunctionPtr fn, void* data, int* id = nullptr,
             int priority = THREAD_PRIORITY_NORMAL) {
    return CmtScheduleThreadPoolFunctionAdv(pool, fn, data, priority, nullptr, 0, nullptr, 0, id);
}

class Threads : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = shown(
            R"({"name":"LED","kind":"led"},{"name":"NUM","kind":"numeric","dataType":"int","value":5})");
    }
    int panel = 0;
};

TEST_F(Threads, SettersAndPopupsFromAPoolThreadWaitForTheMainThread) {
    // Like the reference-lock monitor: a pool function sets an LED and reports, then ends.
    struct Work {
        int panel = 0;
        std::atomic<int> setStatus{-99}, popupStatus{-99}, confirmStatus{-99};
        std::atomic<bool> done{false};
    } work;
    work.panel = panel;
    auto task = [](void* data) -> int {
        auto* w = static_cast<Work*>(data);
        w->setStatus = SetCtrlVal(w->panel, 2, 1);
        w->popupStatus = MessagePopup("Reference", "lost lock");
        w->confirmStatus = ConfirmPopup("Confirm Action", "Sure?");
        SetCtrlAttribute(w->panel, 3, ATTR_LABEL_TEXT, "from the monitor");
        w->done = true;
        return 0;
    };
    int pool = 0;
    ASSERT_EQ(CmtNewThreadPool(1, &pool), 0);
    ASSERT_EQ(schedule(pool, task, &work, nullptr, THREAD_PRIORITY_LOWEST), 0);
    while (!work.done) std::this_thread::yield();  // not pumping: nothing may reach the model yet
    EXPECT_EQ((std::vector<int>{work.setStatus, work.popupStatus, work.confirmStatus}),
              (std::vector<int>{0, 0, 0}))
        << "set, message and confirm all return at once; a queued popup cannot answer its caller";
    EXPECT_GE(fe.wakeCount(), 4) << "the front end was woken for each queued call";

    EXPECT_EQ(op.shows(panel, 2), "off") << "nothing changes before the main thread runs the calls";
    EXPECT_TRUE(fe.popups().empty());
    ui::runQueuedCalls();
    EXPECT_EQ(op.shows(panel, 2), "on");
    EXPECT_EQ(op.label(panel, 3), "from the monitor");
    ASSERT_EQ(fe.popups().size(), 2u);
    EXPECT_EQ(fe.popups()[0].text, "lost lock");
    EXPECT_EQ(CmtDiscardThreadPool(pool), 0);
}

TEST_F(Threads, GettersFromAPoolThreadGetTheMainThreadsAnswer) {
    int pool = 0;
    ASSERT_EQ(CmtNewThreadPool(2, &pool), 0);
    struct Work {
        int panel = 0;
        int value = -1;
        int valueStatus = -99;
        int loaded = 0;
        std::string label;
    } work;
    work.panel = panel;
    auto task = [](void* data) -> int {
        auto* w = static_cast<Work*>(data);
        w->valueStatus = GetCtrlVal(w->panel, 3, &w->value);
        GetCtrlAttribute(w->panel, 3, ATTR_CONSTANT_NAME, &w->label);
        w->loaded = LoadPanel(0, "test.uir", 1);
        return 0;
    };
    int id = 0;
    ASSERT_EQ(schedule(pool, task, &work, &id), 0);
    // The main thread keeps answering while it waits: no deadlock.
    EXPECT_EQ(CmtWaitForThreadPoolFunctionCompletion(pool, id, 0), 0);
    EXPECT_EQ(work.valueStatus, 0);
    EXPECT_EQ(work.value, 5);
    EXPECT_EQ(work.label, "NUM");
    EXPECT_GT(work.loaded, panel);
    EXPECT_NE(ui::findPanel(work.loaded), nullptr);
    EXPECT_EQ(CmtDiscardThreadPool(pool), 0);
}

TEST_F(Threads, DiscardWhileAWorkerWaitsOnTheMainThreadDropsQueuedFunctions) {
    int pool = 0;
    ASSERT_EQ(CmtNewThreadPool(1, &pool), 0);
    static std::atomic<bool> started{false};
    static std::atomic<int> laterRuns{0};
    static std::atomic<int> answer{0};
    started = false;
    laterRuns = 0;
    struct Arg {
        int panel;
    } arg{panel};
    auto blocking = [](void* data) -> int {
        started = true;
        int v = 0;
        GetCtrlVal(static_cast<Arg*>(data)->panel, 3, &v);  // waits for the main thread
        answer = v;
        return 0;
    };
    auto later = [](void*) -> int {
        ++laterRuns;
        return 0;
    };
    ASSERT_EQ(schedule(pool, blocking, &arg), 0);
    int laterId = 0;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(schedule(pool, later, nullptr, &laterId), 0);
    while (!started) std::this_thread::yield();

    EXPECT_EQ(CmtDiscardThreadPool(pool), 0);
    EXPECT_EQ(answer, 5) << "the running function got its answer";
    EXPECT_EQ(laterRuns, 0) << "queued functions never run";
    EXPECT_EQ(CmtWaitForThreadPoolFunctionCompletion(pool, laterId, 0), UIE_BAD_THREAD_POOL);
    EXPECT_EQ(CmtDiscardThreadPool(pool), UIE_BAD_THREAD_POOL);
}

TEST_F(Threads, ResetReleasesAWorkerWaitingForAnAnswer) {
    std::atomic<int> status{1};
    std::atomic<bool> asking{false};
    std::thread worker([&] {
        asking = true;
        int v = 0;
        status = GetCtrlVal(panel, 3, &v);
    });
    while (!asking) std::this_thread::yield();
    // The worker's question may not be queued yet; reset until it has been dropped.
    for (int i = 0; i < 20000 && status == 1; ++i) {
        ui::resetRuntime();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    EXPECT_EQ(status, UIE_NOT_MAIN_THREAD);
}

TEST_F(Threads, OffTheMainThreadTheEventLoopIsRefusedAndDelaySleeps) {
    std::atomic<int> run{1}, process{1}, gesture{1}, delay{1};
    std::thread worker([&] {
        run = RunUserInterface();
        process = ProcessSystemEvents();
        gesture = ui::userCommitNumber(panel, 3, 1);
        delay = Delay(0.001);
    });
    worker.join();
    EXPECT_EQ((std::vector<int>{run, process, gesture, delay}),
              (std::vector<int>{UIE_NOT_MAIN_THREAD, UIE_NOT_MAIN_THREAD, UIE_NOT_MAIN_THREAD, 0}));
    EXPECT_EQ(fe.totalDelay(), 0.0) << "a worker's Delay does not touch the front end's clock";
}

class Pools : public UiTest {};

struct Gate {
    std::mutex m;
    std::condition_variable cv;
    int running = 0;
    int maxRunning = 0;
    int finished = 0;
    bool open = false;
};

TEST_F(Pools, AtMostNFunctionsRunAtOnce) {
    int pool = 0;
    ASSERT_EQ(CmtNewThreadPool(2, &pool), 0);
    static Gate gate;  // one test uses it
    auto task = [](void*) -> int {
        std::unique_lock<std::mutex> lock(gate.m);
        gate.maxRunning = std::max(gate.maxRunning, ++gate.running);
        gate.cv.notify_all();
        gate.cv.wait(lock, [] { return gate.open; });
        --gate.running;
        ++gate.finished;
        return 0;
    };
    std::vector<int> ids(6);
    for (int& id : ids) ASSERT_EQ(schedule(pool, task, nullptr, &id), 0);
    {
        std::unique_lock<std::mutex> lock(gate.m);
        EXPECT_TRUE(gate.cv.wait_for(lock, std::chrono::seconds(30), [] { return gate.running == 2; }))
            << "two functions run side by side";
        gate.open = true;
        gate.cv.notify_all();
    }
    for (int id : ids)
        EXPECT_EQ(CmtWaitForThreadPoolFunctionCompletion(pool, id, OPT_TP_PROCESS_EVENTS_WHILE_WAITING), 0);
    EXPECT_EQ(gate.finished, 6);
    EXPECT_EQ(gate.maxRunning, 2);
    EXPECT_EQ(CmtReleaseThreadPoolFunctionID(pool, ids[0]), 0);
    EXPECT_EQ(CmtWaitForThreadPoolFunctionCompletion(pool, ids[0], 0), UIE_BAD_THREAD_FUNCTION);
    EXPECT_EQ(CmtDiscardThreadPool(pool), 0);
}

TEST_F(Pools, CallbacksThreadIdsAndBadArguments) {
    int pool = 0;
    EXPECT_EQ(CmtNewThreadPool(0, &pool), UIE_BAD_VALUE);
    ASSERT_EQ(CmtNewThreadPool(1, &pool), 0);
    static std::atomic<unsigned> workerId{0};
    static std::atomic<int> selfDiscard{1};
    static std::vector<std::pair<unsigned, int>> endEvents;  // main thread only
    endEvents.clear();
    auto task = [](void* data) -> int {
        workerId = CmtGetCurrentThreadID();
        selfDiscard = CmtDiscardThreadPool(*static_cast<int*>(data));
        return 42;
    };
    auto onEvent = [](int, int, unsigned event, int value, void*) {
        EXPECT_TRUE(ui::isMainThread()) << "asked for on the main thread";
        endEvents.push_back({event, value});
    };
    int id = 0;
    ASSERT_EQ(CmtScheduleThreadPoolFunctionAdv(pool, task, &pool, THREAD_PRIORITY_LOWEST, onEvent,
                                               EVENT_TP_THREAD_FUNCTION_END, nullptr,
                                               static_cast<int>(CmtGetCurrentThreadID()), &id),
              0);
    CmtWaitForThreadPoolFunctionCompletion(pool, id, 0);
    ui::runQueuedCalls();
    EXPECT_NE(workerId.load(), CmtGetCurrentThreadID());
    EXPECT_EQ(selfDiscard, UIE_BAD_THREAD_POOL) << "a pool function cannot wait for its own pool";
    EXPECT_EQ(endEvents, (std::vector<std::pair<unsigned, int>>{{EVENT_TP_THREAD_FUNCTION_END, 42}}));

    EXPECT_EQ(schedule(pool, nullptr, nullptr, &id), UIE_BAD_VALUE);
    EXPECT_EQ(CmtWaitForThreadPoolFunctionCompletion(pool, 999, 0), UIE_BAD_THREAD_FUNCTION);
    EXPECT_EQ(CmtDiscardThreadPool(pool), 0);
    EXPECT_EQ(schedule(pool, task, &pool, &id), UIE_BAD_THREAD_POOL);

    // The default pool exists without being made.
    std::atomic<bool> ran{false};
    auto mark = [](void* d) -> int {
        static_cast<std::atomic<bool>*>(d)->store(true);
        return 0;
    };
    ASSERT_EQ(schedule(DEFAULT_THREAD_POOL_HANDLE, mark, &ran, &id), 0);
    CmtWaitForThreadPoolFunctionCompletion(DEFAULT_THREAD_POOL_HANDLE, id, 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(CmtDiscardThreadPool(DEFAULT_THREAD_POOL_HANDLE), 0);
}

}  // namespace
