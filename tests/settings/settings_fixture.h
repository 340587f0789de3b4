// A booted program with a settings folder, and a snapshot of everything a settings file carries: the
// controls of the main and routing panels, the Settings menu's LVDS checks and what the module holds
// (main settings, the 128 channels, routing and list mode), read through the driver.
#ifndef QM_TESTS_SETTINGS_SETTINGS_FIXTURE_H
#define QM_TESTS_SETTINGS_SETTINGS_FIXTURE_H

#include <map>
#include <string>

#include "file_contents.h"
#include "panel_fixture.h"
#include "qm4120_sfp_uir.h"
#include "routing_panel.h"
#include "settings.h"

using Snapshot = std::map<std::string, double>;

class SettingsFixture : public PanelFixture {
  protected:
    std::string settingsFile(const std::string& name) const { return programDir + "/" + name; }

    // Save and Load as the operator does them, through the Settings menu and the file dialog.
    void saveAs(const std::string& path) {
        fe.answerFile(path, VAL_NEW_FILE_SELECTED);
        ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_SETTINGS_SETTINGS_SAVE));
    }
    void loadFrom(const std::string& path) {
        fe.answerFile(path);
        ASSERT_TRUE(op.chooseMenu(state().mainMenuBar, MAINMENU_SETTINGS_SETTINGS_LOAD));
    }
    int driverErrors() const { return fe.countPopups("4120 Driver Error"); }

    Snapshot panels() const {
        Snapshot s;
        const int m = main();
        // The LO offset a file holds is shown but not sent: the module's own comes back.
        for (int c : {MAINPANEL_CHANNEL,
                      MAINPANEL_RF_FREQ,
                      MAINPANEL_BINARY_INPUT_SOURCE,
                      MAINPANEL_RF_INPUT_LEVEL,
                      MAINPANEL_IF_INPUT_LEVEL,
                      MAINPANEL_RING_FILTER_BYPASS,
                      MAINPANEL_RING_EXT_REF,
                      MAINPANEL_RING_ATTEN_CONFIG,
                      MAINPANEL_RF_ATTEN,
                      MAINPANEL_IF_ATTEN,
                      MAINPANEL_CHKDCOFFSET,
                      MAINPANEL_DATA_TYPE,
                      MAINPANEL_NUM_SAMPLES,
                      MAINPANEL_MODN_MODE,
                      MAINPANEL_DECIMATION_RATIO,
                      MAINPANEL_CAPT_TRIG,
                      MAINPANEL_CAPT_TRIG_BIT,
                      MAINPANEL_CAPT_TRIG_TYPE,
                      MAINPANEL_CAPT_TRIG_EG_POL,
                      MAINPANEL_CAPT_TRIG_OFFS_DELAY,
                      MAINPANEL_CAPT_TRIG_PRE_SAMP,
                      MAINPANEL_INTTRIGMODE,
                      MAINPANEL_TRIGABSTHRESHOLD,
                      MAINPANEL_TRIGRELTHRESHOLD,
                      MAINPANEL_TRIGTCABS,
                      MAINPANEL_TRIGTCSLOW,
                      MAINPANEL_TRIGTCFAST,
                      MAINPANEL_TIMERPERIOD,
                      MAINPANEL_TIMERPHASE})
            s["main " + ui::test::describe(m, c)] = shownNumber(m, c);
        s["freq step"] = attribute(MAINPANEL_RF_FREQ, ATTR_INCR_VALUE);
        s["level step"] = attribute(MAINPANEL_RF_INPUT_LEVEL, ATTR_INCR_VALUE);
        const int r = appState.routePanel;
        for (const RoutingDestination& d : ROUTING_DESTINATIONS) {
            s["route " + ui::test::describe(r, d.inputRing)] = shownNumber(r, d.inputRing);
            if (d.outputEnable)
                s["route " + ui::test::describe(r, d.outputEnable)] = shownNumber(r, d.outputEnable);
        }
        for (int c : {ROUTE_LVDSDATAMODE, ROUTE_LVDSAUXMODE, ROUTE_LVDSMARKMODE})
            s["route " + ui::test::describe(r, c)] = shownNumber(r, c);
        for (int item :
             {MAINMENU_SETTINGS_LVDS_DATA_OUT, MAINMENU_SETTINGS_LVDS_DATA_IN, MAINMENU_SETTINGS_LVDS_AUX_OUT,
              MAINMENU_SETTINGS_LVDS_AUX_TRI, MAINMENU_SETTINGS_LVDS_MKR_IN, MAINMENU_SETTINGS_LVDS_MKR_TRI})
            s["menu " + std::to_string(item)] = op.menuChecked(appState.mainMenuBar, item);
        return s;
    }

    Snapshot moduleState() const {
        Snapshot s;
        const uint32_t v = session();
        s["rf"] = module(qm4120_getRfFrequency);
        s["source"] = module(qm4120_getInputSource);
        s["rf level"] = module(qm4120_getRfInputLevel);
        s["if level"] = module(qm4120_getIfInputLevel);
        s["fe mode"] = module(qm4120_getFrontEndConfigMode);
        s["rf atten"] = module(qm4120_getRfAttenuation);
        s["if atten"] = module(qm4120_getIfAttenuation);
        s["bypass"] = module(qm4120_getIfFilterBypass);
        s["ext ref"] = module(qm4120_getExternalReference);
        s["dc filter"] = module(qm4120_getDcOffsetFilter);
        s["data type"] = module(qm4120_getSampleDataType);
        s["samples"] = module(qm4120_getNumberOfSamples);
        s["mode"] = module(qm4120_getModulationMode);
        s["gsm ratio"] = module(qm4120_getGsmDecimationRatio);
        s["generic ratio"] = module(qm4120_getGenericDecimationRatio);
        s["lvds data"] = module(qm4120_getLvdsDataMode);
        s["lvds aux"] = module(qm4120_getLvdsAuxMode);
        s["lvds marker"] = module(qm4120_getLvdsMarkerMode);
        s["trig source"] = module(qm4120_getTriggerSource);
        s["trig type"] = module(qm4120_getTriggerType);
        s["trig pol"] = module(qm4120_getTriggerEdgeGatePolarity);
        s["trig delay"] = module(qm4120_getTriggerOffsetDelay);
        s["pre edge"] = module(qm4120_getPreEdgeTriggerSamples);
        s["post gate"] = module(qm4120_getPostGateTriggerSamples);
        s["int mode"] = module(qm4120_getIntTriggerMode);
        s["abs thr"] = module(qm4120_getIntTriggerAbsThreshold);
        s["rel thr"] = module(qm4120_getIntTriggerRelThreshold);
        s["abs tc"] = module(qm4120_getIntTriggerAbsTimeConst);
        s["slow tc"] = module(qm4120_getIntTriggerRelSlowTimeConst);
        s["fast tc"] = module(qm4120_getIntTriggerRelFastTimeConst);
        s["timer"] = module(qm4120_getTimerPeriod);
        s["phase"] = module(qm4120_getTimerPhase);
        using RealChan = int32_t (*)(uint32_t, double*, uint16_t);
        using IntChan = int32_t (*)(uint32_t, int32_t*, uint16_t);
        for (uint16_t c = 0; c < 128; ++c) {
            const std::string n = "chan " + std::to_string(c) + " ";
            for (auto [field, get] : {std::pair<const char*, RealChan>{"rf", qm4120_getRfFrequencyChan},
                                      {"rf level", qm4120_getRfInputLevelChan},
                                      {"if level", qm4120_getIfInputLevelChan}}) {
                double d = 0;
                EXPECT_GE(get(v, &d, c), 0);
                s[n + field] = d;
            }
            for (auto [field, get] :
                 {std::pair<const char*, IntChan>{"rf atten", qm4120_getRfAttenuationChan},
                  {"if atten", qm4120_getIfAttenuationChan}}) {
                int32_t i = 0;
                EXPECT_GE(get(v, &i, c), 0);
                s[n + field] = i;
            }
            uint16_t mode = 0;
            EXPECT_GE(qm4120_getFrontEndConfigModeChan(v, &mode, c), 0);
            s[n + "fe mode"] = mode;
        }
        for (const RoutingDestination& d : ROUTING_DESTINATIONS) {
            uint32_t source = 0;
            EXPECT_GE(qm4120_getRoutingConnect(v, d.index, &source), 0);
            s["connect " + std::to_string(d.index)] = source;
            uint16_t enable = 0;
            if (d.outputEnable && qm4120_getRoutingOutputEnable(v, d.index, &enable) >= 0)
                s["enable " + std::to_string(d.index)] = enable;
        }
        uint16_t start = 0, stop = 0;
        EXPECT_GE(qm4120_getListCountStartStop(v, &start, &stop), 0);
        s["list start"] = start;
        s["list stop"] = stop;
        s["list source"] = module(qm4120_getListAddrSource);
        s["list strobe"] = module(qm4120_getListCounterStrobe);
        s["list neg edge"] = module(qm4120_getListStrobeNegEdge);
        return s;
    }
};

#endif
