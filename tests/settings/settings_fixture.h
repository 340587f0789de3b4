// A booted program with a settings folder, and a snapshot of everything a settings file carries: the
// controls of the main and routing panels, the Settings menu's LVDS checks and what the module holds
// (main settings, the 128 channels, routing and list mode), read through the driver.
#ifndef QM_TESTS_SETTINGS_SETTINGS_FIXTURE_H
#define QM_TESTS_SETTINGS_SETTINGS_FIXTURE_H

#include <map>
#include <string>

#include "file_text.h"
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

    // Named module values read through the driver, of any mix of value types.
    template <typename T>
    struct Read {
        const char* name;
        int32_t (*get)(uint32_t, T*);
    };
    template <typename... T>
    void readAll(Snapshot& s, Read<T>... reads) const {
        ((s[reads.name] = static_cast<double>(module(reads.get))), ...);
    }

    Snapshot moduleState() const {
        Snapshot s;
        const uint32_t v = session();
        readAll(s, Read{"rf", qm4120_getRfFrequency}, Read{"source", qm4120_getInputSource},
                Read{"rf level", qm4120_getRfInputLevel}, Read{"if level", qm4120_getIfInputLevel},
                Read{"fe mode", qm4120_getFrontEndConfigMode}, Read{"rf atten", qm4120_getRfAttenuation},
                Read{"if atten", qm4120_getIfAttenuation}, Read{"bypass", qm4120_getIfFilterBypass},
                Read{"ext ref", qm4120_getExternalReference}, Read{"dc filter", qm4120_getDcOffsetFilter},
                Read{"data type", qm4120_getSampleDataType}, Read{"samples", qm4120_getNumberOfSamples},
                Read{"mode", qm4120_getModulationMode}, Read{"gsm ratio", qm4120_getGsmDecimationRatio},
                Read{"generic ratio", qm4120_getGenericDecimationRatio},
                Read{"lvds data", qm4120_getLvdsDataMode}, Read{"lvds aux", qm4120_getLvdsAuxMode},
                Read{"lvds marker", qm4120_getLvdsMarkerMode}, Read{"trig source", qm4120_getTriggerSource},
                Read{"trig type", qm4120_getTriggerType}, Read{"trig pol", qm4120_getTriggerEdgeGatePolarity},
                Read{"trig delay", qm4120_getTriggerOffsetDelay},
                Read{"pre edge", qm4120_getPreEdgeTriggerSamples},
                Read{"post gate", qm4120_getPostGateTriggerSamples},
                Read{"int mode", qm4120_getIntTriggerMode}, Read{"abs thr", qm4120_getIntTriggerAbsThreshold},
                Read{"rel thr", qm4120_getIntTriggerRelThreshold},
                Read{"abs tc", qm4120_getIntTriggerAbsTimeConst},
                Read{"slow tc", qm4120_getIntTriggerRelSlowTimeConst},
                Read{"fast tc", qm4120_getIntTriggerRelFastTimeConst}, Read{"timer", qm4120_getTimerPeriod},
                Read{"phase", qm4120_getTimerPhase});
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
        readAll(s, Read{"list source", qm4120_getListAddrSource},
                Read{"list strobe", qm4120_getListCounterStrobe},
                Read{"list neg edge", qm4120_getListStrobeNegEdge});
        return s;
    }
};

#endif
