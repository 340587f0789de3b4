// The sweep of the driver's error roads: for every call site of the program's logic, a gesture of the
// operator that reaches it and what the operator must see when the operation fails.
#ifndef QM_TESTS_SWEEP_ERROR_ROADS_H
#define QM_TESTS_SWEEP_ERROR_ROADS_H

#include <functional>
#include <string>
#include <vector>

#include "app_fixture.h"

class Sweep;

// What the operator sees when the operation fails.
enum class Seen {
    Popup,      // the "4120 Driver Error" popup with the driver's text
    Quiet,      // the site reports nothing (a refresh shows what it could read); checked with the error,
                // since a warning the read passes on may be reported by another site the gesture reaches
    ErrorOnly,  // the popup for an error; the driver passes a warning of this operation over
    Told,       // an error is told in a message of the program's own (a settings file that failed)
};

// The operator's gesture: `prepare` brings the panels where the gesture starts (nothing fails then), `act`
// makes it while the operation fails. `check`, when given, tells what must be seen beyond the popup rule
// once the gesture is done (status is the injected library status).
struct Gesture {
    std::function<::testing::AssertionResult(Sweep&)> act;
    std::function<void(Sweep&)> prepare;
    std::function<::testing::AssertionResult(Sweep&, int status)> check;
};

struct Road {
    const char* file;       // "panel/frequency.cpp"
    const char* operation;  // "qm4120_setRfFrequency"
    Gesture gesture;        // no act: the site cannot be reached by a gesture; `why` says why
    Seen seen = Seen::Popup;
    const char* faults = nullptr;  // library operations to fail, "a|b"; default: the one the name stands for
    const char* why = nullptr;
    // Main-panel controls that, by the panel's rules, keep what the operator entered when the module
    // refuses it (the control is not read back), "A,B".
    const char* keeps = nullptr;
};

// The table, one row per operation and file.
const std::vector<Road>& errorRoads();

// The fixture: the program started in engineering mode, a module booted through the program's post-boot
// path, the reference-lock monitor stopped.
class Sweep : public AppFixture {
  public:
    // Closes any session and boots a fresh module of `model` as the boot dialog's success would.
    void rebootModule(uint16_t model = 0x4A20);
    int main() const { return appState.mainPanel; }
    int bar() const { return appState.mainMenuBar; }
    uint32_t vi() const { return appState.sessionHandle.load(); }
    ui::HeadlessFrontend& frontend() { return fe; }
    ui::test::Operator& person() { return op; }
    const std::string& folder() const { return programDir; }  // the program's own, temporary folder
    // The operator ends the program from the File menu; it starts again in the same folder, no module booted.
    ::testing::AssertionResult restartProgram();
    // Runs the main thread's queued calls (a pool thread's popups and control updates) for `seconds` of
    // real time, or until `done` holds; pumpUntil is false when it never did.
    void pumpFor(double seconds);
    bool pumpUntil(const std::function<bool()>& done, double seconds);

  protected:
    void SetUp() override;

  private:
    ::testing::AssertionResult startProgram();
};

#endif
