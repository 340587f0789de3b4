// Every call the program's logic makes into the driver, failed on purpose: for each call site found in the
// sources, the operation the site calls is made to fail with an error and then with a warning, the
// operator's gesture that reaches the site is made, and then the popup rule holds, the panel still takes
// a gesture, and the main panel shows what the module holds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "call_sites.h"
#include "capture_state.h"
#include "error_roads.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot_uir.h"

namespace {

// "Internal library error": no call of a working module returns it, so a popup with its text can only come
// from the injected fault, never from a later call the module refused.
constexpr int32_t LIBRARY_ERROR = -68;
constexpr int32_t LIBRARY_WARNING = 1;
// Calls a fault is armed for; what is left afterwards tells how many the gesture made.
constexpr int32_t ARMED_CALLS = 5000;
// Trigger source families of the Capture Trigger ring.
constexpr int TIMER_FAMILY = 7;
constexpr int SOFTWARE_FAMILY = 9;
// Virtual seconds an operator waits for a capture before pressing Stop.
constexpr double PATIENCE_SECONDS = 10.0;
const char* const DRIVER_ERROR_TITLE = "4120 Driver Error";

// The library operation each plain driver wrapper forwards to.
const std::map<std::string, std::string>& plainWrapperTargets() {
    static const std::map<std::string, std::string> targets = [] {
        std::map<std::string, std::string> m;
#define QMW_OP(wrapper, vendor, params, args) m["qm4120_" #wrapper] = "qm4120_" #vendor;
#include "qm4120_wrappers.inc"
#undef QMW_OP
        return m;
    }();
    return targets;
}

std::vector<std::string> faultTargets(const Road& road) {
    std::vector<std::string> targets;
    if (road.faults) {
        std::stringstream list(road.faults);
        for (std::string t; std::getline(list, t, '|');) targets.push_back(t);
        return targets;
    }
    const auto& plain = plainWrapperTargets();
    if (auto it = plain.find(road.operation); it != plain.end()) return {it->second};
    // The calibration family: qm4120_cal_<Group>_<Operation> calls qm4120_cal<Group><Operation>.
    const std::string name = road.operation;
    if (name.rfind("qm4120_cal_", 0) == 0) {
        std::string vendor = "qm4120_cal";
        for (char c : name.substr(std::strlen("qm4120_cal_")))
            if (c != '_') vendor += c;
        return {vendor};
    }
    return {road.operation};  // the outside libraries' own operations
}

// The calls left of an armed fault, used up so that nothing stays armed.
int32_t drain(const std::string& operation) {
    int32_t left = 0;
    int32_t ignored = 0;
    while (left <= ARMED_CALLS && qm_fault_hit(operation.c_str(), &ignored)) ++left;
    return left;
}

// What the main panel's value controls show.
std::map<std::string, std::string> mainPanelValues(int panel) {
    std::map<std::string, std::string> shown;
    const ui::Panel* p = ui::findPanel(panel);
    if (!p) return shown;
    for (const auto& c : p->controls) {
        using ui::Kind;
        if (c->kind == Kind::Numeric || c->kind == Kind::Ring || c->kind == Kind::BinarySwitch ||
            c->kind == Kind::CheckBox)
            shown[c->constName] = ui::shownText(*c);
    }
    return shown;
}

::testing::AssertionResult showsWhatTheModuleHolds(int panel, const char* keeps) {
    if (!isActive4120()) return ::testing::AssertionSuccess();  // no module to hold anything
    const auto shown = mainPanelValues(panel);
    refreshPanelFromInstrument();
    const auto held = mainPanelValues(panel);
    const std::string kept = std::string(",") + (keeps ? keeps : "") + ",";
    std::string lies;
    for (const auto& [name, text] : shown)
        if (held.at(name) != text && kept.find("," + name + ",") == std::string::npos)
            lies += " " + name + " shows " + text + " but holds " + held.at(name) + ";";
    if (lies.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "controls that do not show the module's value:" << lies;
}

// Another gesture after the failure. With a module booted, a trigger source family reaches the module and
// the panel's refresh from the module shows the same choice; without one, the boot dialog opens and closes.
::testing::AssertionResult panelAnswers(Sweep& s) {
    if (!isActive4120()) {
        if (auto r = s.person().press(s.main(), MAINPANEL_BOOTBUTTON); !r) return r;
        if (ui::topPopup() != appState.bootPanel)
            return ::testing::AssertionFailure() << "Boot shows no dialog";
        return s.person().press(appState.bootPanel, BOOTPANEL_BOOT_CANCEL_BUTTON);
    }
    int now = 0;
    GetCtrlVal(s.main(), MAINPANEL_CAPT_TRIG, &now);
    const int wanted = now == TIMER_FAMILY ? SOFTWARE_FAMILY : TIMER_FAMILY;
    if (auto r = s.person().commit(s.main(), MAINPANEL_CAPT_TRIG, wanted); !r) return r;
    refreshPanelFromInstrument();
    int held = 0;
    GetCtrlVal(s.main(), MAINPANEL_CAPT_TRIG, &held);
    if (held != wanted)
        return ::testing::AssertionFailure()
               << "trigger family " << wanted << " chosen, module runs " << held;
    return ::testing::AssertionSuccess();
}

// A read that fails leaves its control as it was, by the panel's rules; and a warning injected into a read
// comes back without the value the module would have delivered with it. So what the controls show is
// checked after the failures of operations that change the module, not of reads.
bool changesTheModule(const std::string& operation) {
    return operation.find("get") == std::string::npos && operation.find("Query") == std::string::npos &&
           operation.find("count") == std::string::npos && operation.find("list") == std::string::npos &&
           operation.find("revision") == std::string::npos && operation.find("Read") == std::string::npos &&
           operation.find("Verify") == std::string::npos;
}

std::string where(const Road& road, int32_t status) {
    return std::string(road.file) + " " + road.operation + (status < 0 ? " (error)" : " (warning)");
}

}  // namespace

void Sweep::SetUp() {
    AppFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(startProgram());
    rebootModule();
}

::testing::AssertionResult Sweep::startProgram() {
    runMonitor = false;
    // A boot through the dialog starts the monitor and the sweep stops it again: short steps keep that quick.
    appState.monitorStepDelay = [](double) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
    };
    if (startApp({"QZTRACE"}) != 0) return ::testing::AssertionFailure() << "the program does not start";
    // Captures to a file write into the program's temporary folder, not the working directory.
    std::snprintf(captureFileName, sizeof captureFileName, "%s/data.txt", programDir.c_str());
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Sweep::restartProgram() {
    if (auto r = op.chooseMenu(bar(), MAINMENU_FILE_EXIT); !r) return r;
    appShutdown();
    started = false;
    ui::runQueuedCalls();
    ui::resetRuntime();
    resetProgramState();
    appState.programDirOverride = programDir;
    return startProgram();
}

void Sweep::pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
}

bool Sweep::pumpUntil(const std::function<bool()>& done, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        ui::runQueuedCalls();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ui::runQueuedCalls();
    return done();
}

void Sweep::rebootModule(uint16_t model) {
    qm_fault_clear_all();
    closeSession();
    const uint32_t session = bootModule(model);
    ASSERT_NE(session, 0u);
    char resource[16];
    std::snprintf(resource, sizeof resource, "0x%04X", model);
    onBootSucceeded(session, resource);
    stopRefLockMonitor();
    ui::runQueuedCalls();
    fe.clearPopups();
}

TEST_F(Sweep, EveryDriverCallSiteReportsItsFailureAndThePanelGoesOn) {
    const auto sites = findCallSites(QM_SOURCE_DIR, declaredOperations(QM_SOURCE_DIR));
    ASSERT_GT(sites.size(), 100u);

    // A row for operation "*" stands for every operation its file calls, "*Put*" for those whose name holds
    // "Put".
    std::vector<Road> roads;
    std::set<std::string> names;  // the expanded rows point into these
    for (const Road& road : errorRoads()) {
        if (road.operation[0] != '*') {
            roads.push_back(road);
            continue;
        }
        std::string part = road.operation;
        part.erase(std::remove(part.begin(), part.end(), '*'), part.end());
        for (const CallSite& site : sites) {
            if (site.file != road.file || site.operation.find(part) == std::string::npos) continue;
            Road one = road;
            one.operation = names.insert(site.operation).first->c_str();
            if (std::none_of(roads.begin(), roads.end(), [&](const Road& r) {
                    return r.file == site.file && std::strcmp(r.operation, one.operation) == 0;
                }))
                roads.push_back(one);
        }
    }
    std::map<std::pair<std::string, std::string>, const Road*> table;
    for (const Road& road : roads) table[{road.file, road.operation}] = &road;

    std::set<const Road*> passed;
    for (const Road& road : roads) {
        if (!road.gesture.act) continue;
        // QM_SWEEP_ONLY=text runs only the rows whose file or operation contains the text.
        if (const char* only = std::getenv("QM_SWEEP_ONLY");
            only && !std::strstr(road.file, only) && !std::strstr(road.operation, only))
            continue;
        bool ok = true;
        for (const int32_t status : {LIBRARY_ERROR, LIBRARY_WARNING}) {
            SCOPED_TRACE(where(road, status));
            // Every road starts from a fresh program with a freshly booted module.
            TearDown();
            SetUp();
            if (HasFatalFailure()) return;
            if (road.gesture.prepare) road.gesture.prepare(*this);
            fe.clearPopups();
            const auto targets = faultTargets(road);
            for (const auto& t : targets) qm_fault_set(t.c_str(), status, ARMED_CALLS);
            // A capture the module never completes (its arming failed, or a warning came back instead of the
            // work) waits for the operator, who presses Stop now and then, as a person would.
            const double gestureStart = fe.clock();
            double nextStop = gestureStart + PATIENCE_SECONDS;
            const auto pressStopNowAndThen = [&] {
                if (fe.clock() < nextStop) return;
                nextStop = fe.clock() + PATIENCE_SECONDS;
                fe.post([this] { op.press(main(), MAINPANEL_CMD_STOP); });
            };
            fe.setDelayHook([&](double) { pressStopNowAndThen(); });
            fe.setEventPassHook(pressStopNowAndThen);
            const auto t0 = std::chrono::steady_clock::now();
            const ::testing::AssertionResult made = road.gesture.act(*this);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            fe.setDelayHook(nullptr);
            fe.setEventPassHook(nullptr);
            int32_t calls = 0;
            for (const auto& t : targets) calls += ARMED_CALLS - drain(t);
            qm_fault_clear_all();
            const int errorPopups = fe.countPopups(DRIVER_ERROR_TITLE);
            // The popup that tells of an error carries the injected status's own message, not one of a later
            // call that went wrong because of it. (Not so for a warning, which the fault gives instead of the
            // work: what the program then tells can be what the missing work caused, and a capture's warning
            // the driver does not pass on. Nor when the faulted operation is the message look-up itself.)
            // The library's status reaches the program as the driver's; a bus operation's as it is.
            const bool ownText = status < 0 && std::strcmp(road.operation, "qm4120_error_message") != 0;
            char mapped[256] = {};
            char direct[256] = {};
            qm4120_error_message(appState.sessionHandle, qm4120_dll_error(status), mapped);
            qm4120_error_message(appState.sessionHandle, status, direct);
            int faultPopups = 0;
            for (const ui::PopupRecord& p : fe.popups())
                faultPopups +=
                    p.title == DRIVER_ERROR_TITLE && (!ownText || p.text == mapped || p.text == direct);
            if (std::getenv("QM_SWEEP_VERBOSE")) {
                std::printf("%-60s %8s calls %5d popups %3d %7.1f ms\n",
                            (std::string(road.file) + " " + road.operation).c_str(),
                            status < 0 ? "error" : "warning", calls, errorPopups, ms);
                std::fflush(stdout);
            }

            ok = ok && made && calls > 0;
            EXPECT_TRUE(made);
            EXPECT_GT(calls, 0) << "the gesture never calls " << targets.front();
            const bool popupDue = road.seen == Seen::Popup || (road.seen == Seen::ErrorOnly && status < 0);
            if (road.seen == Seen::Told) {
                const int told = static_cast<int>(fe.popupsOf(ui::PopupKind::Message).size());
                ok = ok && (status > 0 || told > 0);
                if (status < 0) {
                    EXPECT_GT(told, 0) << "the operator is told nothing";
                }
            } else if (popupDue) {
                ok = ok && faultPopups > 0;
                EXPECT_GT(faultPopups, 0) << "no \"" << DRIVER_ERROR_TITLE << "\" popup"
                                          << (ownText ? " with \"" + std::string(mapped) + "\"" : "");
            } else if (status < 0 || road.seen == Seen::ErrorOnly) {
                ok = ok && errorPopups == 0;
                EXPECT_EQ(errorPopups, 0) << "a quiet road raised a popup";
            }
            if (road.gesture.check) {
                const auto checked = road.gesture.check(*this, status);
                ok = ok && checked;
                EXPECT_TRUE(checked);
            }
            fe.clearPopups();
            // What the controls show is looked at before the next gesture, whose refresh would correct it.
            const auto truthful = changesTheModule(road.operation)
                                      ? showsWhatTheModuleHolds(main(), road.keeps)
                                      : ::testing::AssertionSuccess();
            const auto answers = panelAnswers(*this);
            ok = ok && answers && truthful;
            EXPECT_TRUE(answers);
            EXPECT_TRUE(truthful);
            if (std::getenv("QM_SWEEP_VERBOSE") && !truthful)
                std::printf("LIE %s: %s\n", where(road, status).c_str(), truthful.message());
        }
        if (ok) passed.insert(&road);
    }

    int covered = 0;
    std::string unlisted;
    std::string unreachable;
    for (const CallSite& site : sites) {
        const auto it = table.find({site.file, site.operation});
        if (it == table.end()) {
            unlisted += "\n  " + site.file + ":" + std::to_string(site.line) + " " + site.operation;
            continue;
        }
        if (passed.count(it->second)) ++covered;
        if (!it->second->gesture.act)
            unreachable += "\n  " + site.file + ":" + std::to_string(site.line) + " " + site.operation +
                           ": " + (it->second->why ? it->second->why : "?");
    }
    std::printf("driver call sites covered: %d of %zu\nnot reachable by a gesture:%s\n", covered,
                sites.size(), unreachable.c_str());
    EXPECT_TRUE(unlisted.empty()) << "call sites missing from the table of error roads:" << unlisted;
    for (const Road& road : roads)
        EXPECT_TRUE(road.gesture.act || road.why)
            << road.file << " " << road.operation << ": no gesture, no reason";
}
