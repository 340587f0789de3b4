// What the panels show before the program touches them: the main panel's tool tips and initial states,
// and a geometry every front end can draw (no control on top of another, none outside its panel).
#include <nlohmann/json.hpp>

#include "resource_docs.h"

namespace {

const std::string RED_AND_GREY =
    "\nIf the control is red then the parameter has no effect on the current setup."
    "\nIf the control is greyed-out then the parameter is not editable and is an indication of the current "
    "setting.";

TEST(ResourceLayout, MainPanelCarriesTheStartUpToolTips) {
    const uir::Panel* main = findPanel("qm4120_sfp.uir", "MAINPANEL");
    ASSERT_NE(main, nullptr);
    const std::pair<const char*, std::string> tips[] = {
        {"MODN_MODE", "Selects the modulation mode"},
        {"DECIMATION_RATIO", "Selects the IQ decimation ratio"},
        {"DATA_TYPE", "Selects the sample data type for capture"},
        {"FFT_TOP_OF_SCREEN", "Reference level of the top of the FFT display, in dB"},
        {"NUM_SAMPLES",
         "Sets number of samples to capture. This must be a multiple of 32 for IF data, multiple of 16 for "
         "16-bit IQ data, and multiple of 8 for 32-bit IQ data."},
        {"DATA_OUT_FORMAT", "Selects the sample data output format"},
        {"RING_WIN_FUNC", "Selects the window function"},
        {"RING_RBW_MODE", "Selects the resolution bandwidth mode"},
        {"IQPOLAR_I_AXIS_RANGE", "Sets the manual scale range of the I axis"},
        {"IQPOLAR_Q_AXIS_RANGE", "Sets the manual scale range of the Q axis"},
        {"TIME_SER_Y_AXIS_MIN", "Sets the lower limit of the time series display"},
        {"TIME_SER_ZOOM_START", "Sets the start position in the time series display, using sample numbers"},
        {"TIME_SER_Y_AXIS_MAX", "Sets the upper limit of the time series display"},
        {"TIME_SER_ZOOM_STOP", "Sets the end position in the time series display, using sample numbers"},
        {"RING_EXT_REF", "Selects the external reference"},
        {"BINARY_INPUT_SOURCE", "Selects the input source, to either the IF input or the RF input"},
        {"CHANNEL", "Selects the currently active channel"},
        {"CHANNELS", "Displays the channel settings window"},
        {"RF_FREQ", "Sets the RF frequency, in Hz"},
        {"LO_FREQ", "Displays the required LO frequency input, in Hz"},
        {"LO_OFFSET", "Displays the LO offset frequency, in Hz"},
        {"LO_POSITION", "Sets LO frequency above or below RF frequency"},
        {"FREQ_STEP_HZ", "Double-click to adjust the step size for RF and LO frequency"},
        {"RF_INPUT_LEVEL", "Sets the RF input level, in the currently selected level units." + RED_AND_GREY},
        {"IF_INPUT_LEVEL", "Sets the IF input level, in the currently selected level units." + RED_AND_GREY},
        {"RING_RF_DIMENSIONS", "Selects the units that RF and IF input levels will use"},
        {"IF_ATTEN", "Sets the IF input attenuation, in dB." + RED_AND_GREY},
        {"RF_ATTEN", "Sets the RF input attenuation, in dB." + RED_AND_GREY},
        {"CAPT_TRIG", "Selects the data capture trigger source"},
        {"CAPT_TRIG_TYPE", "Selects the trigger type"},
        {"CAPT_TRIG_EG_POL", "Selects the trigger edge/gate polarity"},
        {"CMD_ARM", "Arms the trigger"},
        {"CMD_DISARM", "Disarms the trigger"},
        {"LEV_STEP_DBM", "Double-click to adjust the step size for the input level"},
        {"CAPTMODE", "Selects single-shot or repeat capture mode"},
        {"CMD_SINGLE", "Starts a single capture"},
        {"CMD_STOP", "Stops the current capture"},
        {"BOOTBUTTON", "Selects a VISA resource to boot"},
        {"MODULE_SERIAL", "The serial number of the currently booted QM412x"},
        {"UNDEC_SAMPLING_RATE", "Displays the undecimated sampling rate, in MHz"},
        {"SHOWFSRPANEL", "Displays the undecimated sampling rate (fractional) window"},
        {"DEC_SAMPLING_RATE", "Displays the decimated sampling rate, in MHz"},
        {"FFT_LEN", "Displays the FFT length"},
        {"LED_BOOT", "Displays the boot status of the QM412x (red=not booted,yellow=booting,green=booted)"},
        {"MODULE_RESOURCE", "The VISA resource of the currently booted QM412x"},
        {"FFT_VERT_SCALE", "Vertical scaling of FFT display, in dB"},
        {"RING_ATTEN_CONFIG", "Selects the attenuator mode"},
        {"LED_MEASURE_STATUS",
         "Displays the capture or trigger status (green=capturing or waiting for trigger, grey=idle)"},
        {"CAPT_TRIG_PRE_SAMP", "Set number of samples to capture before the edge trigger"},
        {"CAPT_TRIG_OFFS_DELAY", "Set Trigger Delay in number of samples"},
        {"LED_REF_LOCKED_STATUS", "Displays the reference lock status"},
        {"LED_ADC_STATUS", "Displays the ADC overload status"},
        {"MEAS_STATUS", "Displays the capture or trigger status"},
        {"CAPT_MODE_MSG", "Displays the selected capture destination"},
        {"TIMERPHASE", "Adjust the timer phase in number of clocks"},
        {"TIMERPERIOD", "Set the timer period in uSec"},
        {"INTTRIGMODE", "Select the Internal Trigger mode"},
        {"TRIGRELTHRESHOLD", "Set the relative threshold level (dB) to generate the internal trigger"},
        {"TRIGABSTHRESHOLD", "Set the absolute threshold level (dBm) to generate the internal trigger"},
        {"TRIGTCFAST", "Set fast time constant in uSec"},
        {"TRIGTCSLOW", "Set slow time constant in uSec"},
        {"TRIGTCABS", "Set time constant in uSec"},
    };
    for (const auto& [name, text] : tips) {
        const uir::Control* c = findControl(*main, name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->toolTip, text) << name;
    }
    // These start with no tool tip at all.
    for (const char* name :
         {"RING_FILTER_BYPASS", "MARKER_FREQ", "MARKER_PWR", "MARKER_PEAK_CHECKBOX", "MARKER_ONOFF_CHECKBOX",
          "MARKER_PEAK_BUTTON_3", "MARKER_RIGHT_BUTTON_2", "MARKER_LEFT_BUTTON", "MARKER_FREQ_STEP_HZ",
          "CAPT_TRIG_BIT", "SWITCH_CAPTURE_MODE", "IF_DATA_POS"}) {
        const uir::Control* c = findControl(*main, name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_TRUE(c->toolTip.empty()) << name;
    }
}

TEST(ResourceLayout, MainPanelStartsInTheNotBootedSoftwareTriggerState) {
    const uir::Panel* main = findPanel("qm4120_sfp.uir", "MAINPANEL");
    ASSERT_NE(main, nullptr);
    auto state = [&](const char* name) {
        const uir::Control* c = findControl(*main, name);
        EXPECT_NE(c, nullptr) << name;
        return c ? std::make_pair(c->visible, c->dimmed) : std::make_pair(false, false);
    };
    using S = std::pair<bool, bool>;  // visible, dimmed
    // Software trigger: Start and Stop shown (Stop dimmed until a run), Arm and Disarm and the trigger
    // parameters hidden.
    EXPECT_EQ(state("CMD_SINGLE"), S(true, false));
    EXPECT_EQ(state("CMD_STOP"), S(true, true));
    EXPECT_EQ(state("CMD_ARM").first, false);
    EXPECT_EQ(state("CMD_DISARM").first, false);
    for (const char* name :
         {"CAPT_TRIG_BIT", "CAPT_TRIG_TYPE", "CAPT_TRIG_EG_POL", "CAPT_TRIG_PRE_SAMP", "CAPT_TRIG_OFFS_DELAY",
          "TIMERPERIOD", "TIMERPHASE", "INTTRIGMODE", "TRIGABSTHRESHOLD", "TRIGTCABS", "TRIGRELTHRESHOLD",
          "TRIGTCSLOW", "TRIGTCFAST", "TEXTUSEC1", "TEXTUSEC2"})
        EXPECT_FALSE(state(name).first) << name;
    // The FFT length is chosen with the ring; the display is hidden. The marker group is never shown.
    EXPECT_TRUE(state("RING_FFT_LEN").first);
    EXPECT_FALSE(state("FFT_LEN").first);
    for (const char* name :
         {"MARKER_FREQ", "MARKER_FREQ_STEP_HZ", "MARKER_PWR", "MARKER_PEAK_CHECKBOX", "MARKER_ONOFF_CHECKBOX",
          "MARKER_PEAK_BUTTON_3", "MARKER_RIGHT_BUTTON_2", "MARKER_LEFT_BUTTON"})
        EXPECT_FALSE(state(name).first) << name;
}

TEST(ResourceLayout, GridAndTabControls) {
    const auto chan = nlohmann::json::parse(qm::embeddedResource("qm4120_chan.uir"));
    const auto calid = nlohmann::json::parse(qm::embeddedResource("qm41xx_cal_id.uir"));
    auto control = [](const nlohmann::json& doc, const char* panel, const char* name) {
        for (const auto& p : doc["panels"])
            if (p["name"] == panel)
                for (const auto& c : p["controls"])
                    if (c["name"] == name) return c;
        return nlohmann::json();
    };
    const auto grid = control(chan, "CHANPANEL", "CHAN_GRID");
    EXPECT_EQ(grid.value("kind", ""), "grid");
    EXPECT_EQ(grid.value("rows", 0), 129);
    EXPECT_EQ(grid.value("cols", 0), 8);
    EXPECT_EQ(control(calid, "IDPANEL", "IDTAB").value("kind", ""), "tab");
}

bool overlap(const uir::Rect& a, const uir::Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool contains(const uir::Rect& outer, const uir::Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

bool isContainer(const uir::Control& c) {
    return c.kind == "frame" || c.kind == "tab";
}

TEST(ResourceLayout, ControlsLieInsideTheirPanelAndNeverOnTopOfEachOther) {
    ASSERT_EQ(resourceDocs().size(), resourceFileNames().size());
    for (const auto& [file, doc] : resourceDocs()) {
        for (const uir::Panel& p : doc.panels) {
            const uir::Rect panelArea{0, 0, p.rect.width, p.rect.height};
            for (size_t i = 0; i < p.controls.size(); ++i) {
                const uir::Control& a = p.controls[i];
                EXPECT_TRUE(contains(panelArea, a.rect)) << file << ":" << p.name << ":" << a.name;
                for (size_t j = i + 1; j < p.controls.size(); ++j) {
                    const uir::Control& b = p.controls[j];
                    if (!overlap(a.rect, b.rect)) continue;
                    const bool nested = (isContainer(a) && contains(a.rect, b.rect)) ||
                                        (isContainer(b) && contains(b.rect, a.rect));
                    EXPECT_TRUE(nested) << file << ":" << p.name << ": " << a.name << " overlaps " << b.name;
                }
            }
        }
    }
}

}  // namespace
