// The program started headless through its own start-up path, with helpers to walk the boot dialog as an
// operator.
#ifndef QM_TESTS_SUPPORT_BOOT_FIXTURE_H
#define QM_TESTS_SUPPORT_BOOT_FIXTURE_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

#include "app_fixture.h"
#include "pxi_korvo_sim.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot.h"
#include "qm41xx_boot_uir.h"

class BootFixture : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        if (HasFatalFailure()) return;
        korvo_simResetAll();
        // Every boot waits for the monitor to let go of the module; short steps keep that quick while the
        // hand-over between the threads stays real.
        appState.monitorStepDelay = [](double) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0;
        };
        std::vector<std::string> args;
        if (engineeringMode()) args.push_back("QZTRACE");
        ASSERT_EQ(startApp(args), 0);
    }

    void TearDown() override {
        // The monitor and its pool are gone before the shell's shutdown clears the panel handles the
        // monitor reads.
        ShutdownApplication();
        AppFixture::TearDown();
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
};

#endif
