// The main panel and the boot dialog on the headless front end with the simulated chassis: just enough of
// the program's start-up to press BOOTBUTTON and walk the dialog as an operator.
#ifndef QM_TESTS_BOOT_FIXTURE_H
#define QM_TESTS_BOOT_FIXTURE_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "headless.h"
#include "model.h"
#include "operator.h"
#include "pxi_korvo_sim.h"
#include "qm4120.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot.h"
#include "qm41xx_boot_uir.h"
#include "qm_faults.h"
#include "userint.h"

class BootFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::resetRuntime();
        resetAppState();
        qm_fault_clear_all();
        korvo_simResetAll();
        // The monitor's 0.2 s steps would make every boot wait for it; a short real sleep keeps the
        // hand-over between the threads real.
        appState.monitorStepDelay = [](double) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0;
        };
        registerAllCallbacks();
        AppState& s = appState;
        s.mainPanel = LoadPanel(0, "qm4120_sfp.uir", MAINPANEL);
        ASSERT_GT(s.mainPanel, 0);
        s.mainMenuBar = GetPanelMenuBar(s.mainPanel);
        s.routePanel = LoadPanel(0, "qm4120_sfp.uir", ROUTE);
        s.bootPanel = LoadPanel(0, "qm41xx_boot.uir", BOOTPANEL);
        ASSERT_GT(s.bootPanel, 0);
        s.engPanel = LoadPanel(0, "qm4120_eng.uir", ENGPANEL);
        ASSERT_GT(s.engPanel, 0);
        ASSERT_EQ(CmtNewThreadPool(THREAD_POOL_MAX_THREADS, &s.threadPool), 0);
        if (engineeringMode()) {
            s.engineeringMode = 1;
            addEngineeringMenu();
        }
        initMainPanel();
        setTaskbarText();
        setWindowTitles();
        DisplayPanel(s.mainPanel);
    }

    void TearDown() override {
        ShutdownApplication();
        if (isActive4120()) qm4120_close(getQM4120id());
        appState.instrumentBooted = 0;
        appState.sessionHandle = 0;
        qm_fault_clear_all();
        korvo_simResetAll();
        ui::resetRuntime();
        resetAppState();
    }

    virtual bool engineeringMode() const { return false; }

    int mainPanel() const { return appState.mainPanel; }
    int bootPanel() const { return appState.bootPanel; }
    int confPanel() const { return bootPanelConfigHandle(); }

    // Index of the list item whose label is `label`, -1 if none.
    static int indexOfLabel(int panel, int control, const std::string& label) {
        int count = 0;
        GetNumListItems(panel, control, &count);
        for (int i = 0; i < count; ++i) {
            std::string l;
            GetLabelFromIndex(panel, control, i, &l);
            if (l == label) return i;
        }
        return -1;
    }

    static std::string resourceLabel(uint16_t model) {
        char text[32];
        std::snprintf(text, sizeof text, "PXI KORVO\t%04X", static_cast<unsigned>(model));
        return text;
    }

    static std::string resourceValue(uint16_t model) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(model));
        return text;
    }

    // A single click on a resource: the highlight moves, nothing is committed.
    ::testing::AssertionResult selectResource(uint16_t model) {
        const int index = indexOfLabel(bootPanel(), BOOTPANEL_LIST_RES, resourceLabel(model));
        if (index < 0) return ::testing::AssertionFailure() << "no resource " << resourceLabel(model);
        if (ui::userSelectIndex(bootPanel(), BOOTPANEL_LIST_RES, index) < 0)
            return ::testing::AssertionFailure() << "resource list not reachable";
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult setBootDefault(bool on) {
        int now = 0;
        GetCtrlVal(bootPanel(), BOOTPANEL_BOOT_DEFAULT, &now);
        if ((now != 0) == on) return ::testing::AssertionSuccess();
        return op.toggle(bootPanel(), BOOTPANEL_BOOT_DEFAULT);
    }

    // Presses BOOTBUTTON, picks `model` and boots it with the default configuration.
    ::testing::AssertionResult bootDefault(uint16_t model) {
        if (auto r = op.press(mainPanel(), MAINPANEL_BOOTBUTTON); !r) return r;
        if (auto r = selectResource(model); !r) return r;
        if (auto r = setBootDefault(true); !r) return r;
        return op.press(bootPanel(), BOOTPANEL_BOOT_OK_BUTTON);
    }

    // Model code of the module the program is booted on (0 if none).
    static uint16_t bootedModel() {
        if (!isActive4120()) return 0;
        uint16_t code = 0;
        return qm4120_getModelCode(getQM4120id(), &code) >= 0 ? code : 0;
    }

    std::string taskbar() const { return fe.taskbarText(); }

    ui::HeadlessFrontend fe;
    ui::test::Operator op;
};

#endif
