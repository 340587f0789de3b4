// The program started headless with a module booted the way a successful boot leaves it (post-boot
// set-up included), the reference-lock monitor stopped so that the panel's own indicators stay put, and
// what the simulated models are documented to do, for expectations worked out apart from the code.
#ifndef QM_TESTS_PANEL_PANEL_FIXTURE_H
#define QM_TESTS_PANEL_PANEL_FIXTURE_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "app_fixture.h"
#include "qm4120_chan_uir.h"
#include "qm4120_eng_uir.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_step_uir.h"

// The simulated models' documented limits and steps.
struct ModelSpec {
    uint16_t code;
    double rfMin, rfMax, tuningStep, ifHz;
    double rfLevelMin, rfLevelMax;
    int rfAttenMax, rfAttenStep;
};
inline constexpr ModelSpec MODEL_SPECS[] = {
    {0x4120, 250e6, 2.5e9, 10.0, 46.08e6, -53.0, 16.0, 28, 4},
    {0x4A20, 250e6, 2.5e9, 1.0, 46.08e6, -53.0, 16.0, 28, 4},
    {0x4B20, 250e6, 2.7e9, 1.0, 77.76e6, -53.0, 16.0, 28, 4},
    {0x4125, 100e6, 3.0e9, 1.0, 77.76e6, -60.0, 19.0, 31, 1},
};
inline constexpr double IF_LEVEL_MIN = -50.0;  // every model
inline constexpr double IF_LEVEL_MAX = 10.0;

inline std::string modelName(const ::testing::TestParamInfo<ModelSpec>& info) {
    char text[8];
    std::snprintf(text, sizeof text, "m%04X", static_cast<unsigned>(info.param.code));
    return text;
}

class PanelFixture : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        if (HasFatalFailure()) return;
        runMonitor = false;
        ASSERT_EQ(startApp(), 0);
    }

    // Opens a session and runs the program's own post-boot path on it.
    uint32_t boot(uint16_t model) {
        const uint32_t session = bootModule(model);
        if (!session) return 0;
        char resource[16];
        std::snprintf(resource, sizeof resource, "0x%04X", model);
        onBootSucceeded(session, resource);
        stopRefLockMonitor();
        ui::runQueuedCalls();
        return session;
    }

    int main() const { return appState.mainPanel; }
    static int chan() { return getChanPanel(); }
    uint32_t session() const { return appState.sessionHandle.load(); }

    double number(int control) const { return shownNumber(appState.mainPanel, control); }
    int integer(int panel, int control) const {
        int value = -12345;
        GetCtrlVal(panel, control, &value);
        return value;
    }
    double attribute(int control, int attr) const {
        return numberAttribute(appState.mainPanel, control, attr);
    }
    int intAttribute(int panel, int control, int attr) const {
        int value = -12345;
        GetCtrlAttribute(panel, control, attr, &value);
        return value;
    }
    // A module value through the driver, for checking what the panel sent.
    template <typename T>
    T module(int32_t (*get)(uint32_t, T*)) const {
        T value{};
        EXPECT_GE(get(appState.sessionHandle.load(), &value), 0);
        return value;
    }
    // The cell of the active channel's row (channel 0 after a boot).
    std::string rowCell(int col) const { return op.cell(chan(), CHANPANEL_CHAN_GRID, 1, col); }

    // IF or I/Q data of `samples` chosen on the main panel as an operator would; I/Q data in the GSM mode,
    // which offers both word widths, with word width `format`.
    ::testing::AssertionResult chooseData(int dataType, int format, uint32_t samples) {
        const int p = main();
        if (auto r = op.commit(p, MAINPANEL_DATA_TYPE, dataType); !r) return r;
        if (dataType == 1) {
            if (auto r = op.commit(p, MAINPANEL_MODN_MODE, 1); !r) return r;
            if (auto r = op.commit(p, MAINPANEL_DATA_OUT_FORMAT, format); !r) return r;
        }
        return op.commit(p, MAINPANEL_NUM_SAMPLES, samples);
    }
    // No run: the status and its LED at rest, Start free and Stop dimmed, the acquisition rings free.
    void expectIdle() const {
        const int p = main();
        EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Idle");
        EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_MEASURE_STATUS), VAL_LT_GRAY);
        EXPECT_FALSE(op.dimmed(p, MAINPANEL_CMD_SINGLE));
        EXPECT_TRUE(op.dimmed(p, MAINPANEL_CMD_STOP));
        for (int c : {MAINPANEL_DATA_TYPE, MAINPANEL_MODN_MODE, MAINPANEL_DECIMATION_RATIO,
                      MAINPANEL_DATA_OUT_FORMAT})
            EXPECT_FALSE(op.dimmed(p, c)) << ui::test::describe(p, c);
    }
};

#endif
