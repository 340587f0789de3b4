// The program started in engineering mode; helpers to boot a model and open the engineering panel.
#ifndef QM_TESTS_ENGINEERING_ENG_FIXTURE_H
#define QM_TESTS_ENGINEERING_ENG_FIXTURE_H

#include "boot_fixture.h"
#include "eng_panel.h"
#include "qm41xx_cal_id.h"
#include "qm41xx_cal_id_uir.h"

class EngFixture : public BootFixture {
  protected:
    bool engineeringMode() const override { return true; }

    int engPanel() const { return appState.engPanel; }

    // Boots `model` through the boot dialog and opens the engineering panel from its menu.
    ::testing::AssertionResult bootAndOpen(uint16_t model) {
        if (auto r = bootDefault(model); !r) return r;
        if (bootedModel() != model) return ::testing::AssertionFailure() << "boot did not reach the module";
        return op.chooseMenu(appState.mainMenuBar, appState.engineeringPanelItem);
    }
};

#endif
