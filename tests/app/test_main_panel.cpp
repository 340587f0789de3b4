// The main panel as start-up leaves it, the titles and taskbar text per model, the refresh from the
// instrument and the shell's own controls.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

#include "app_fixture.h"
#include "embedded_resources.h"
#include "instrument_info.h"
#include "qm4120_chan.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp_uir.h"

namespace {

using nlohmann::json;

// The main resource file with MAINPANEL's controls changed by `edit` (control name -> control object).
std::string mainResourceWith(const std::function<void(std::map<std::string, json*>&)>& edit) {
    json doc = json::parse(qm::embeddedResource("qm4120_sfp.uir"));
    for (json& panel : doc["panels"]) {
        if (panel["name"] != "MAINPANEL") continue;
        std::map<std::string, json*> controls;
        for (json& c : panel["controls"]) controls[c["name"].get<std::string>()] = &c;
        edit(controls);
    }
    return doc.dump();
}

std::string toolTip(int panel, int control) {
    std::string text = "<none>";
    GetCtrlToolTipAttribute(panel, control, CTRL_TOOLTIP_ATTR_TEXT, &text);
    return text;
}

int toolTipEnabled(int panel, int control) {
    int enabled = -1;
    GetCtrlToolTipAttribute(panel, control, CTRL_TOOLTIP_ATTR_ENABLE, &enabled);
    return enabled;
}

int attribute(int panel, int control, int attr) {
    int value = -12345;
    GetCtrlAttribute(panel, control, attr, &value);
    return value;
}

std::string title(int panel) {
    std::string text;
    GetPanelAttribute(panel, ATTR_TITLE, &text);
    return text;
}

constexpr int MARKER_CONTROLS[] = {
    MAINPANEL_MARKER_FREQ,           MAINPANEL_MARKER_FREQ_STEP_HZ,   MAINPANEL_MARKER_PWR,
    MAINPANEL_MARKER_PEAK_CHECKBOX,  MAINPANEL_MARKER_ONOFF_CHECKBOX, MAINPANEL_MARKER_PEAK_BUTTON_3,
    MAINPANEL_MARKER_RIGHT_BUTTON_2, MAINPANEL_MARKER_LEFT_BUTTON,
};

}  // namespace

class MainPanelTest : public AppFixture {
  protected:
    MainPanelTest() { runMonitor = false; }
    int mainPanel() { return state().mainPanel; }
};

// Start from a resource whose main panel says otherwise everywhere, so that what we see is what start-up set.
TEST_F(MainPanelTest, StartUpSetsIndicatorsToolTipsAndHiddenControlsWhateverTheResourceSays) {
    const std::string resource = mainResourceWith([](std::map<std::string, json*>& c) {
        for (auto& [name, control] : c) {
            control->erase("toolTip");
            (*control)["visible"] = true;
        }
        for (const char* led :
             {"LED_BOOT", "LED_MEASURE_STATUS", "LED_REF_LOCKED_STATUS", "LED_ADC_STATUS"}) {
            (*c[led])["onColor"] = "0x0000FF";
            (*c[led])["offColor"] = "0x0000FF";
            (*c[led])["value"] = 1;
        }
        (*c["FFT_LEN"])["mode"] = "normal";
        (*c["FFT_LEN"])["bgColor"] = "0xFFFFFF";
        (*c["FFT_LEN"])["min"] = 0;
        (*c["FFT_LEN"])["max"] = 100000;
        (*c["NUM_SAMPLES"])["value"] = 1000;
        (*c["RF_INPUT_LEVEL"])["min"] = -100.0;
        (*c["RF_INPUT_LEVEL"])["max"] = 100.0;
        (*c["MEAS_STATUS"])["value"] = "x";
    });
    ui::setResourceOverride("qm4120_sfp.uir", &resource);
    ASSERT_EQ(startApp(), 0);
    const int p = mainPanel();

    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_BOOT), VAL_RED);
    EXPECT_EQ(attribute(p, MAINPANEL_LED_BOOT, ATTR_ON_COLOR), VAL_GREEN);
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_MEASURE_STATUS), VAL_LT_GRAY);
    EXPECT_EQ(attribute(p, MAINPANEL_LED_MEASURE_STATUS, ATTR_ON_COLOR), VAL_GREEN);
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_REF_LOCKED_STATUS), VAL_LT_GRAY);
    EXPECT_EQ(attribute(p, MAINPANEL_LED_REF_LOCKED_STATUS, ATTR_ON_COLOR), VAL_GREEN);
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_LED_REF_LOCKED_STATUS));
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_ADC_STATUS), VAL_LT_GRAY);
    EXPECT_EQ(attribute(p, MAINPANEL_LED_ADC_STATUS, ATTR_ON_COLOR), VAL_RED);
    EXPECT_EQ(op.shows(p, MAINPANEL_MEAS_STATUS), "Idle");
    EXPECT_EQ(op.shows(p, MAINPANEL_CAPT_MODE_MSG), "Capture to: Memory");

    // FFT length: the ring follows the 1000-sample count, the plain read-out is a hidden grey indicator.
    EXPECT_TRUE(op.visible(p, MAINPANEL_RING_FFT_LEN));
    int items = 0;
    GetNumListItems(p, MAINPANEL_RING_FFT_LEN, &items);
    EXPECT_EQ(items, 6);  // 16 to 512
    std::string last;
    GetLabelFromIndex(p, MAINPANEL_RING_FFT_LEN, items - 1, &last);
    EXPECT_EQ(last, "512");
    EXPECT_FALSE(op.visible(p, MAINPANEL_FFT_LEN));
    EXPECT_EQ(attribute(p, MAINPANEL_FFT_LEN, ATTR_CTRL_MODE), VAL_INDICATOR);
    EXPECT_EQ(op.bgColor(p, MAINPANEL_FFT_LEN), VAL_LT_GRAY);
    EXPECT_EQ(numberAttribute(p, MAINPANEL_FFT_LEN, ATTR_MIN_VALUE), 8.0);
    EXPECT_EQ(numberAttribute(p, MAINPANEL_FFT_LEN, ATTR_MAX_VALUE), 2048.0);

    EXPECT_EQ(numberAttribute(p, MAINPANEL_RF_INPUT_LEVEL, ATTR_MIN_VALUE), -53.0);
    EXPECT_EQ(numberAttribute(p, MAINPANEL_RF_INPUT_LEVEL, ATTR_MAX_VALUE), 16.0);

    for (int control : MARKER_CONTROLS)
        EXPECT_FALSE(op.visible(p, control)) << ui::test::describe(p, control);

    // The resource above has no tool tips: start-up sets its own, with the two colour lines added on the
    // level and attenuation controls.
    for (auto [control, lines] : {std::pair{MAINPANEL_RF_INPUT_LEVEL, 3}, std::pair{MAINPANEL_IF_ATTEN, 3},
                                  std::pair{MAINPANEL_MODN_MODE, 1}}) {
        const std::string tip = toolTip(p, control);
        EXPECT_FALSE(tip.empty()) << ui::test::describe(p, control);
        EXPECT_EQ(std::count(tip.begin(), tip.end(), '\n') + 1, lines) << tip;
        EXPECT_EQ(toolTipEnabled(p, control), 1) << ui::test::describe(p, control);
    }
}

TEST_F(MainPanelTest, FreeRunReferenceDimsTheLockLed) {
    const std::string resource =
        mainResourceWith([](std::map<std::string, json*>& c) { (*c["RING_EXT_REF"])["value"] = 2; });
    ui::setResourceOverride("qm4120_sfp.uir", &resource);
    ASSERT_EQ(startApp(), 0);
    EXPECT_TRUE(op.dimmed(mainPanel(), MAINPANEL_LED_REF_LOCKED_STATUS));
}

TEST_F(MainPanelTest, TitlesTaskbarAndMenusWithoutAModule) {
    ASSERT_EQ(startApp({"QZTRACE"}), 0);
    // The trace format submenu is removed, its neighbours stay.
    EXPECT_FALSE(op.menuExists(state().mainMenuBar, MAINMENU_FFTDISP_TRCFMT));
    EXPECT_TRUE(op.menuExists(state().mainMenuBar, MAINMENU_FFTDISP_GRAT));
    EXPECT_EQ(title(mainPanel()), "Tarvex 412x PXI RF Digitizer for PXI Korvo");
    EXPECT_EQ(title(state().dirPanel), "412x Directory Settings");
    EXPECT_EQ(title(state().routePanel), "412x Routing Matrix Output Settings");
    EXPECT_EQ(title(state().sysInfoPanel), "412x Instrument Information");
    EXPECT_EQ(title(state().sysInfoDetailPanel), "412x File Versions");
    EXPECT_EQ(title(state().calInfoPanel), "412x Calibration Dates");
    EXPECT_EQ(title(state().engPanel), "412x Engineering Panel");
    EXPECT_EQ(fe.taskbarText(), "qm4120 Soft Panel for PXI Korvo");
}

struct ModelCase {
    uint16_t model;
    bool engineering;
    const char* modelText;
    const char* taskbar;
};

class ModelTitles : public AppFixture, public ::testing::WithParamInterface<ModelCase> {
  protected:
    ModelTitles() { runMonitor = false; }
};

TEST_P(ModelTitles, FollowTheBootedModel) {
    const ModelCase& c = GetParam();
    ASSERT_EQ(startApp(c.engineering ? std::vector<std::string>{"QZTRACE"} : std::vector<std::string>{}), 0);
    ASSERT_NE(bootModule(c.model), 0u);
    setTaskbarText();
    setWindowTitles();
    EXPECT_EQ(std::string(getModelCodeString()), c.modelText);
    EXPECT_EQ(fe.taskbarText(), c.taskbar);
    EXPECT_EQ(title(state().mainPanel),
              std::string("Tarvex ") + c.modelText + " PXI RF Digitizer for PXI Korvo");
    EXPECT_EQ(title(state().engPanel), std::string(c.modelText) + " Engineering Panel");
    EXPECT_EQ(title(state().routePanel), std::string(c.modelText) + " Routing Matrix Output Settings");
    // Only the base model lacks the front SMB, list and counter signals of the routing matrix.
    const bool base = c.model == 0x4120;
    for (int control : {ROUTE_OEFPTRIG, ROUTE_INPUTFPTRIG, ROUTE_INPUTCOUNTSTEP, ROUTE_INPUTCOUNTRST,
                        ROUTE_INPUTTIMERSYNC, ROUTE_INPUTLISTADDR0, ROUTE_INPUTLISTADDR6, ROUTE_INPUTLISTSTB})
        EXPECT_EQ(op.dimmed(state().routePanel, control), base)
            << ui::test::describe(state().routePanel, control);
    EXPECT_FALSE(op.dimmed(state().routePanel, ROUTE_INPUTPXITRIG0));
    EXPECT_TRUE(fe.popups().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Models, ModelTitles,
    ::testing::Values(ModelCase{0x4120, false, "4120", "qm4120 Soft Panel for PXI Korvo"},
                      ModelCase{0x4A20, false, "4120", "qm4120 Soft Panel for PXI Korvo"},
                      ModelCase{0x4A20, true, "4120 Enhanced", "qm4120 Enhanced Soft Panel for PXI Korvo"},
                      ModelCase{0x4B20, false, "4120A", "qm4120A Soft Panel for PXI Korvo"},
                      ModelCase{0x4125, false, "4125", "qm4120 Soft Panel for PXI Korvo"},
                      ModelCase{0x4125, true, "4125", "qm4120 Soft Panel for PXI Korvo"}),
    [](const ::testing::TestParamInfo<ModelCase>& info) {
        char name[32];
        std::snprintf(name, sizeof name, "Model%04X%s", info.param.model,
                      info.param.engineering ? "Eng" : "");
        return std::string(name);
    });

TEST(ModelText, UnknownCodesAreTheFamily) {
    EXPECT_STREQ(modelTextForCode(0, 0), "412x");
    EXPECT_STREQ(modelTextForCode(0x4121, 1), "412x");
}

TEST_F(MainPanelTest, UnreadableModelCodeIsReportedAndNamesTheFamily) {
    ASSERT_EQ(startApp({"QZTRACE"}), 0);
    ASSERT_NE(bootModule(0x4A20), 0u);
    qm_fault_set("qm4120_controlGetModelCode", -5, -1);
    setTaskbarText();
    setWindowTitles();
    EXPECT_EQ(fe.taskbarText(), "qm4120 Soft Panel for PXI Korvo");
    EXPECT_EQ(title(mainPanel()), "Tarvex 412x PXI RF Digitizer for PXI Korvo");
    EXPECT_EQ(fe.countPopups("4120 Driver Error"), 1) << "the taskbar reports the failed read once";
}

TEST_F(MainPanelTest, RefreshShowsTheModulesSettings) {
    ASSERT_EQ(startApp(), 0);
    const uint32_t session = bootModule(0x4125);
    ASSERT_NE(session, 0u);
    ASSERT_EQ(qm4120_setRfFrequency(session, 1.5e9), 0);
    ASSERT_EQ(qm4120_setExternalReference(session, 2), 0);
    ASSERT_EQ(qm4120_setInputSource(session, 0), 0);
    double rf = 0, lo = 0, offset = 0;
    ASSERT_GE(qm4120_getRfFrequency(session, &rf), 0);
    ASSERT_GE(qm4120_getLoFrequency(session, &lo), 0);
    ASSERT_GE(qm4120_getLoOffset(session, &offset), 0);
    char serial[QM4120_TEXT_SIZE] = {};
    ASSERT_GE(qm4120_getSerialNumber(session, serial), 0);
    ASSERT_GT(std::strlen(serial), 0u);

    refreshPanelFromInstrument();
    const int p = mainPanel();
    EXPECT_DOUBLE_EQ(shownNumber(p, MAINPANEL_RF_FREQ), rf);
    EXPECT_DOUBLE_EQ(shownNumber(p, MAINPANEL_LO_FREQ), lo);
    EXPECT_DOUBLE_EQ(shownNumber(p, MAINPANEL_LO_OFFSET), offset > 0 ? offset : -offset);
    EXPECT_EQ(op.shows(p, MAINPANEL_LO_POSITION), offset > 0 ? "Above" : "Below");
    EXPECT_EQ(op.shows(p, MAINPANEL_MODULE_SERIAL), serial);
    EXPECT_EQ(op.shows(p, MAINPANEL_BINARY_INPUT_SOURCE), "IF");
    // Free run: nothing to lock to, so the lock LED is off and dimmed.
    EXPECT_TRUE(op.dimmed(p, MAINPANEL_LED_REF_LOCKED_STATUS));
    EXPECT_EQ(op.ledColor(p, MAINPANEL_LED_REF_LOCKED_STATUS), VAL_LT_GRAY);
    // The IF input bypasses the RF front end: its frequency controls mean nothing.
    for (int control : {MAINPANEL_RF_FREQ, MAINPANEL_LO_FREQ, MAINPANEL_LO_OFFSET,
                        MAINPANEL_RING_FREQ_CONTROL, MAINPANEL_FREQ_STEP_HZ})
        EXPECT_TRUE(op.dimmed(p, control)) << ui::test::describe(p, control);

    ASSERT_EQ(qm4120_setInputSource(session, 1), 0);
    ASSERT_EQ(qm4120_setExternalReference(session, 0), 0);
    refreshPanelFromInstrument();
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_RF_FREQ));
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_FREQ_STEP_HZ));
    EXPECT_FALSE(op.dimmed(p, MAINPANEL_LED_REF_LOCKED_STATUS));
    EXPECT_EQ(op.shows(p, MAINPANEL_BINARY_INPUT_SOURCE), "RF");
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(MainPanelTest, FailedReadsLeaveControlsAndBlankTheSerial) {
    ASSERT_EQ(startApp(), 0);
    ASSERT_NE(bootModule(0x4120), 0u);
    refreshPanelFromInstrument();
    SetCtrlVal(mainPanel(), MAINPANEL_RF_FREQ, 987654321.0);
    qm_fault_set("qm4120_appGetRfFrequency", -5, -1);
    qm_fault_set("qm4120_caldataGetSerialNumber", -5, -1);
    qm_fault_set("qm4120_appGetInputSource", -5, -1);
    SetCtrlAttribute(mainPanel(), MAINPANEL_RF_FREQ, ATTR_DIMMED, 1);
    refreshPanelFromInstrument();
    EXPECT_EQ(shownNumber(mainPanel(), MAINPANEL_RF_FREQ), 987654321.0);
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_MODULE_SERIAL), "");
    EXPECT_TRUE(op.dimmed(mainPanel(), MAINPANEL_RF_FREQ)) << "an unknown input source changes no dimming";
}

// Without a module the channel control keeps the entry and nothing else happens.
TEST_F(MainPanelTest, ChannelWithoutAModuleOnlyKeepsTheEntry) {
    ASSERT_EQ(startApp(), 0);
    const double rf = shownNumber(mainPanel(), MAINPANEL_RF_FREQ);
    ASSERT_TRUE(op.commit(mainPanel(), MAINPANEL_CHANNEL, 9));
    EXPECT_EQ(op.shows(mainPanel(), MAINPANEL_CHANNEL), "9");
    EXPECT_DOUBLE_EQ(shownNumber(mainPanel(), MAINPANEL_RF_FREQ), rf);
    EXPECT_TRUE(fe.popups().empty());
}

TEST_F(MainPanelTest, ChannelTableStartsWithPreBootDefaults) {
    ASSERT_EQ(startApp(), 0);
    const int chan = getChanPanel();
    ASSERT_GT(chan, 0);
    EXPECT_FALSE(op.panelShown(chan));
    ASSERT_TRUE(op.press(mainPanel(), MAINPANEL_CHANNELS));
    EXPECT_TRUE(op.panelShown(chan));

    int rows = 0, cols = 0;
    ASSERT_EQ(GridGetSize(chan, CHANPANEL_CHAN_GRID, &rows, &cols), 0);
    EXPECT_EQ(rows, 129);
    EXPECT_EQ(cols, 8);
    // Before a boot every channel reads the table's defaults.
    const std::vector<std::string> first = {"0", "2000000000", "Above", "Auto", "0.00", "0.00", "0", "0"};
    for (int col = 0; col < 8; ++col) EXPECT_EQ(op.cell(chan, CHANPANEL_CHAN_GRID, 1, col), first[col]);
    EXPECT_EQ(op.cell(chan, CHANPANEL_CHAN_GRID, 128, 0), "127");
    EXPECT_EQ(op.cell(chan, CHANPANEL_CHAN_GRID, 128, 1), "2000000000");

    // The table's close button hides it again.
    ASSERT_TRUE(op.press(chan, CHANPANEL_CLOSE));
    EXPECT_FALSE(op.panelShown(chan));
}

// Every callback name of every resource file is bound, so each panel of each file loads.
TEST_F(MainPanelTest, EveryPanelOfEveryResourceFileLoads) {
    registerAllCallbacks();
    for (std::string_view file : qm::embeddedResourceNames()) {
        const json doc = json::parse(qm::embeddedResource(file));
        int constant = 1;  // panels number from 1 in file order
        for (const json& panel : doc["panels"]) {
            const int handle = LoadPanel(0, std::string(file).c_str(), constant++);
            EXPECT_GT(handle, 0) << file << " " << panel["name"] << ": " << GetUILErrorString(handle);
        }
    }
}
