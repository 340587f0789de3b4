// The acquisition controls against a booted simulated module: the rings offered per data type, mode and
// ratio, the sample-count limits, the FFT length that follows the count, the fractional-rate dialog and the
// LVDS menu.
#include <string>
#include <vector>

#include "acquisition.h"
#include "list_labels.h"
#include "panel_fixture.h"

namespace {

std::vector<std::string> powersOfTwo(uint32_t from, uint32_t to) {
    std::vector<std::string> labels;
    for (uint64_t v = from; v <= to; v *= 2) labels.push_back(std::to_string(v));
    return labels;
}

}  // namespace

class AcquisitionTest : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        if (HasFatalFailure()) return;
        session = bootModule(0x4120);
        ASSERT_NE(session, 0u);
        refreshPanelFromInstrument();
        p = main();
    }
    uint32_t session = 0;  // hides the fixture's accessor: the session of the one boot
    int p = 0;
};

// One row per set-up: what the mode, ratio and output-format rings offer and what is on show.
TEST_F(AcquisitionTest, RingsFollowDataTypeModeAndRatio) {
    struct Case {
        int dataType;
        int mode;
        uint32_t ratio;
        std::vector<std::string> modes;
        std::vector<std::string> ratios;  // empty: from the module's generic limits
        std::vector<std::string> formats;
        bool rateEditable;
    };
    const std::vector<std::string> allModes = {"UMTS", "GSM", "CDMA2000 1X", "7706 Emulation", "Generic"};
    const std::vector<std::string> both = {"16 bit IQ", "32 bit IQ"};
    const std::vector<std::string> narrow = {"16 bit IQ"};
    const Case cases[] = {
        {1, 0, 4, allModes, powersOfTwo(2, 1024), narrow, false},
        {1, 0, 8, allModes, powersOfTwo(2, 1024), both, false},
        {1, 1, 1, allModes, powersOfTwo(1, 16), both, false},
        {1, 2, 4, allModes, powersOfTwo(1, 8), narrow, false},
        {1, 2, 8, allModes, powersOfTwo(1, 8), both, false},
        {1, 4, 16, allModes, {"16", "32"}, both, false},
        {1, 5, 0, allModes, {}, both, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " ratio " + std::to_string(c.ratio));
        ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_TYPE, c.dataType));
        ASSERT_TRUE(op.commit(p, MAINPANEL_MODN_MODE, c.mode));
        if (c.ratio) {
            ASSERT_TRUE(op.commit(p, MAINPANEL_DECIMATION_RATIO, c.ratio));
        }

        EXPECT_EQ(listLabels(p, MAINPANEL_MODN_MODE), c.modes);
        std::vector<std::string> ratios = c.ratios;
        if (ratios.empty()) {
            uint32_t min = 0, max = 0;
            ASSERT_EQ(qm4120_getDecimationLimits(session, 5, &min, &max), 0);
            ratios = powersOfTwo(min, max);
        }
        EXPECT_EQ(listLabels(p, MAINPANEL_DECIMATION_RATIO), ratios);
        EXPECT_EQ(listLabels(p, MAINPANEL_DATA_OUT_FORMAT), c.formats);
        uint32_t moduleRatio = 0;
        if (c.ratio) {
            EXPECT_EQ(op.shows(p, MAINPANEL_DECIMATION_RATIO), std::to_string(c.ratio));
            uint16_t mode = 0;
            qm4120_getModulationMode(session, &mode);
            EXPECT_EQ(mode, c.mode);
        } else {
            qm4120_getGenericDecimationRatio(session, &moduleRatio);
            EXPECT_EQ(op.shows(p, MAINPANEL_DECIMATION_RATIO), std::to_string(moduleRatio));
        }
        EXPECT_EQ(op.visible(p, MAINPANEL_SHOWFSRPANEL), c.rateEditable);
        EXPECT_EQ(op.bgColor(p, MAINPANEL_UNDEC_SAMPLING_RATE), c.rateEditable ? 0xFFFFFF : 0xC0C0C0);
        double hz = 0;
        qm4120_getDecimatedSamplingFrequency(session, &hz);
        EXPECT_DOUBLE_EQ(shownNumber(p, MAINPANEL_DEC_SAMPLING_RATE), hz / 1e6);
    }

    // IF data: the decimation controls go away and the count takes IF steps.
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_TYPE, 0));
    EXPECT_EQ(listLabels(p, MAINPANEL_MODN_MODE), std::vector<std::string>{"UMTS"});
    for (int control : {MAINPANEL_MODN_MODE, MAINPANEL_DECIMATION_RATIO, MAINPANEL_DEC_SAMPLING_RATE,
                        MAINPANEL_DATA_OUT_FORMAT, MAINPANEL_SHOWFSRPANEL})
        EXPECT_FALSE(op.visible(p, control)) << ui::test::describe(p, control);
    EXPECT_EQ(op.label(p, MAINPANEL_NUM_SAMPLES), "Number of IF Samples");
    EXPECT_EQ(numberAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE), 32.0);
}

TEST_F(AcquisitionTest, SampleCountStepsAndFftLengthFollowTheCount) {
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_TYPE, 1));
    ASSERT_TRUE(op.commit(p, MAINPANEL_MODN_MODE, 1));  // GSM offers 32-bit words at every ratio
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_OUT_FORMAT, 1));
    EXPECT_EQ(op.label(p, MAINPANEL_NUM_SAMPLES), "Number of IQ Samples");
    EXPECT_EQ(numberAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE), 8.0);
    EXPECT_EQ(numberAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_MIN_VALUE), 8.0);
    uint32_t maxIq = 0;
    qm4120_getMaxNumberOfIqSamples(session, &maxIq);
    EXPECT_EQ(numberAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_MAX_VALUE), static_cast<double>(maxIq));

    ASSERT_EQ(qm4120_setFftLength(session, 1024), 0);
    ASSERT_TRUE(op.commit(p, MAINPANEL_NUM_SAMPLES, 1000));
    EXPECT_EQ(listLabels(p, MAINPANEL_RING_FFT_LEN), powersOfTwo(16, 512));
    uint32_t fft = 0;
    qm4120_getFftLength(session, &fft);
    EXPECT_EQ(fft, 512u);
    EXPECT_EQ(op.shows(p, MAINPANEL_RING_FFT_LEN), "512");

    // The time-series window was 0 to 2047; it now ends at the last of the 1000 samples.
    EXPECT_EQ(op.shows(p, MAINPANEL_TIME_SER_ZOOM_STOP), "999");
    EXPECT_EQ(op.shows(p, MAINPANEL_TIME_SER_ZOOM_START), "0");

    // Back to 16-bit words: the count steps by 16 again.
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_OUT_FORMAT, 0));
    EXPECT_EQ(numberAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_INCR_VALUE), 16.0);

    // A new data type brings its own count, and the FFT grows to cover it (up to 32768).
    ASSERT_EQ(qm4120_setNumberOfIfSamples(session, 4096), 0);
    ASSERT_EQ(qm4120_setFftLength(session, 16), 0);
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_TYPE, 0));
    EXPECT_EQ(op.shows(p, MAINPANEL_NUM_SAMPLES), "4096");
    qm4120_getFftLength(session, &fft);
    EXPECT_EQ(fft, 4096u);
    EXPECT_EQ(op.shows(p, MAINPANEL_RING_FFT_LEN), "4096");
}

TEST(DecimationRatioIndex, IsTheDistanceInPowersOfTwo) {
    struct Case {
        uint32_t ratio, first;
        uint16_t index;
    };
    for (const Case& c : {Case{64, 16, 2}, Case{16, 16, 0}, Case{1024, 2, 9}, Case{8, 1, 3}, Case{3, 1, 0},
                          Case{2048, 1, 0}, Case{2, 16, 0}}) {
        uint16_t index = 99;
        getDecimationRatioControlIndex(c.ratio, c.first, &index);
        EXPECT_EQ(index, c.index) << c.ratio << " from " << c.first;
    }
}

TEST_F(AcquisitionTest, FractionalRateDialogSetsTheGenericRate) {
    ASSERT_TRUE(op.commit(p, MAINPANEL_DATA_TYPE, 1));
    ASSERT_TRUE(op.commit(p, MAINPANEL_MODN_MODE, 5));
    ASSERT_TRUE(op.press(p, MAINPANEL_SHOWFSRPANEL));
    const int dialog = state().fsRatePanel;
    ASSERT_TRUE(op.panelShown(dialog));

    // The rate cannot pass the ADC clock: the denominator goes first so that 3/4 is reachable.
    ASSERT_TRUE(op.commit(dialog, FSRATE_DEN, 4));
    ASSERT_TRUE(op.commit(dialog, FSRATE_NUM, 3));
    uint32_t num = 0, den = 0;
    ASSERT_EQ(qm4120_getGenericSamplingFreqRatio(session, &num, &den), 0);
    EXPECT_EQ(num * 4, den * 3) << num << "/" << den;
    double generic = 0, undecimated = 0;
    qm4120_getGenericSamplingFrequency(session, &generic);
    qm4120_getUndecimatedSamplingFrequency(session, &undecimated);
    EXPECT_DOUBLE_EQ(shownNumber(dialog, FSRATE_SRATE), generic / 1e6);
    EXPECT_DOUBLE_EQ(shownNumber(p, MAINPANEL_UNDEC_SAMPLING_RATE), undecimated / 1e6);

    ASSERT_TRUE(op.press(dialog, FSRATE_CLOSE));
    EXPECT_FALSE(op.panelShown(dialog));

    // The main panel's own field sets the rate in MHz.
    ASSERT_TRUE(op.commit(p, MAINPANEL_UNDEC_SAMPLING_RATE, undecimated / 2e6));
    qm4120_getUndecimatedSamplingFrequency(session, &generic);
    EXPECT_NEAR(generic, undecimated / 2, 1.0);
}

TEST_F(AcquisitionTest, LvdsMenuSendsModesAndChecksWhatTheModuleHolds) {
    const int bar = state().mainMenuBar;
    struct Case {
        int item;
        int32_t (*get)(uint32_t, uint16_t*);
        uint16_t mode;
        int group[3];  // output, input, tri-state items
    };
    const Case cases[] = {
        {MAINMENU_SETTINGS_LVDS_DATA_TRI,
         qm4120_getLvdsDataMode,
         1,
         {MAINMENU_SETTINGS_LVDS_DATA_OUT, MAINMENU_SETTINGS_LVDS_DATA_IN, MAINMENU_SETTINGS_LVDS_DATA_TRI}},
        {MAINMENU_SETTINGS_LVDS_AUX_OUT,
         qm4120_getLvdsAuxMode,
         3,
         {MAINMENU_SETTINGS_LVDS_AUX_OUT, MAINMENU_SETTINGS_LVDS_AUX_IN, MAINMENU_SETTINGS_LVDS_AUX_TRI}},
        {MAINMENU_SETTINGS_LVDS_MKR_IN,
         qm4120_getLvdsMarkerMode,
         0,
         {MAINMENU_SETTINGS_LVDS_MKR_OUT, MAINMENU_SETTINGS_LVDS_MKR_IN, MAINMENU_SETTINGS_LVDS_MKR_TRI}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(op.chooseMenu(bar, c.item));
        uint16_t mode = 99;
        ASSERT_EQ(c.get(session, &mode), 0);
        EXPECT_EQ(mode, c.mode);
        for (int item : c.group) EXPECT_EQ(op.menuChecked(bar, item), item == c.item) << item;
    }
    ASSERT_TRUE(op.chooseMenu(bar, MAINMENU_SETTINGS_LVDS_IF_LOWER));
    uint16_t position = 99;
    qm4120_getIfDataPositionLvds(session, &position);
    EXPECT_EQ(position, 1);
    EXPECT_TRUE(op.menuChecked(bar, MAINMENU_SETTINGS_LVDS_IF_LOWER));
    EXPECT_FALSE(op.menuChecked(bar, MAINMENU_SETTINGS_LVDS_IF_UPPER));
}

TEST_F(AcquisitionTest, WithoutAModuleTheDefaultsShow) {
    closeSession();
    refreshPanelFromInstrument();
    EXPECT_EQ(op.shows(p, MAINPANEL_DATA_TYPE), "IQ Data");
    EXPECT_EQ(op.shows(p, MAINPANEL_MODN_MODE), "UMTS");
    EXPECT_EQ(op.shows(p, MAINPANEL_DECIMATION_RATIO), "2");
    EXPECT_EQ(op.shows(p, MAINPANEL_NUM_SAMPLES), "2048");
    EXPECT_EQ(shownNumber(p, MAINPANEL_DEC_SAMPLING_RATE), 0.0);
    EXPECT_EQ(numberAttribute(p, MAINPANEL_NUM_SAMPLES, ATTR_MAX_VALUE), 32000000.0);
}
