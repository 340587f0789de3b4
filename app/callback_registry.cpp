// Binding of every callback name the panel resources use.
//
// A panel loads only when every callback it names is known, so each name starts out bound to a no-op;
// the modules then register their real callbacks under the same names, which replaces the no-op.
#include "boot_transition.h"
#include "eng_reset.h"
#include "qm4120_chan.h"
#include "qm4120_sfp.h"
#include "qm41xx_boot.h"
#include "qm41xx_cal_id.h"
#include "routing_panel.h"
#include "userint.h"

namespace {

// Callbacks whose behaviour is still to come. A name is bound for all three callback kinds, since the
// resources decide whether a name belongs to a control, a panel or a menu item.
constexpr const char* PENDING_CALLBACKS[] = {
    // main panel: frequency, levels and front end
    "cmdRFFreq",
    "cmdFreqControl",
    "cmdFreqStep",
    "CmdLoPos",
    "cmdMarkerFreqStep",
    "cmdRFInputLevel",
    "cmdIFInputLevel",
    "cmdRFInputDimensions",
    "cmdLevStep",
    "cmdInputSource",
    "cmdAttenConfig",
    "cmdRFAtten",
    "cmdIFAtten",
    "cmdExternalReference",
    "cmdFilterBypass",
    "CmdDcOffsetFilter",
    "cmdAutoTempOptimize",
    "cmdOptimizeTemp",
    "cmdAutoFlatnessMode",
    // main panel: trigger, FFT length
    "cmdFFTLen",
    "cmdFftLengthRing",
    "cmdCaptTrig",
    "cmdCaptTrigType",
    "cmdCaptTrigEGPolarity",
    "cmdCaptTrigBit",
    "cmdCaptTrigPreSamples",
    "cmdCaptTrigOffsDel",
    "CmdTimerPhase",
    "CmdTimerPeriod",
    "CmdIntTrigMode",
    "CmdIntTrigRelThreshold",
    "CmdIntTrigAbsThreshold",
    "CmdIntTrigFastTc",
    "CmdIntTrigSlowTc",
    "CmdIntTrigAbsTc",
    // main panel: graphs, markers, saving
    "cmdViewFFT",
    "cmdViewTimeSeries",
    "cmdViewIqPolar",
    "cmdViewNumericData",
    "cmdFFTGraticuleVisible",
    "CmdFFTSpan",
    "cmdSaveFFTTrace",
    "cmdFFTTraceFileSetup",
    "cmdTimeSeriesGraticuleVisible",
    "cmdIQSeperateGraphs",
    "cmdIQOverlaidGraphs",
    "cmdTimeSerFullWidthView",
    "cmdTimeSeriesYAxisScale",
    "cmdIqPolarGraticuleVisible",
    "cmdIqPolarAxesScale",
    "cmdFftTopOfScreen",
    "cmdFftVerticalScale",
    "cmdIqPolarIAxisRange",
    "cmdIqPolarQAxisRange",
    "cmdTimeSeriesYAxisMin",
    "cmdTimeSeriesYAxisMax",
    "cmdGraphZoomStart",
    "cmdGraphZoomStop",
    "cmdMarkerFreq",
    "cmdMarkerLeft",
    "cmdMarkerRight",
    "cmdMarkerOnOff",
    "cmdMarkerToPeak",
    "cmdSaveCapturedDataAscii",
    "cmdSaveCapturedDataBinary",
    // settings and information
    "cmdLoadSettings",
    "cmdSaveSettings",
    "cmdDirectories",
    "cmdDirOk",
    "cmdDirCancel",
    "cmdDirBrowse",
    "cmdHelpSysInfo",
    "cmdHelpAbout",
    "cmdAboutOk",
    "cmdWWW",
    "cmdSysInfoClose",
    "cmdSysInfoFileInfo",
    "cmdSysInfoDetailClose",
    "cmdCalInfo",
    "cmdCalInfoClose",
    // routing
    "CmdRoutingMatrix",
    "cmdRouting1",
    "CmdRoutingInputChanged",
    "CmdRoutingOeChanged",
    "CmdRoutLvdsMarkMode",
    "CmdRoutLvdsAuxMode",
    "CmdRoutLvdsDataMode",
    "CmdRoutingReset",
    "CmdRoutingClose",
    // step dialog
    "cmdStepOk",
    "cmdStepCancel",
    "cmdStepPanel",
    // channel table, edit range, list mode
    "ctrlChanChan",
    "ctrlChanFreq",
    "ctrlChanLoPos",
    "ctrlChanFrontEnd",
    "ctrlChanRfLevel",
    "ctrlChanIfLevel",
    "ctrlChanRfAtten",
    "ctrlChanIfAtten",
    "ctrlChanLink",
    "chanPanelLMode",
    "chanPanelEditAll",
    "chanPanelClose",
    "ctrlAllFreq",
    "ctrlAllLoPos",
    "ctrlAllFrontEnd",
    "ctrlAllRfLevel",
    "ctrlAllIfLevel",
    "ctrlAllRfAtten",
    "ctrlAllIfAtten",
    "ctrlEditAllRange",
    "cmdSetAllFreq",
    "cmdSetAllLoPos",
    "cmdSetAllFrontEnd",
    "cmdSetAllRfLevel",
    "cmdSetAllIfLevel",
    "cmdSetAllRfAtten",
    "cmdSetAllIfAtten",
    "cmdCloseEditAll",
    "cmdLM_LAS",
    "cmdLM_LSP",
    "cmdLM_LCS",
    "cmdLM_Count",
    "cmdLM_Dwell",
    "cmdLM_TimerTrig",
    "cmdCloseLm",
    // engineering panel
    "CmdWRegRead",
    "CmdWRegWrite",
    "CmdRRegRead",
    "CmdRegWriteDirect",
    "cmd4125D3Latch",
    "cmdSetSerial",
    "cmdReadSerial",
    "cmdBlankEeprom",
    "cmdTest",
    "cmdTestGrpDel",
    "cmdSetGrpDelFPGAFiltBypass",
    "cmdCdma2000Capability",
    "cmdCloseEngineer",
    "cmdCalGrpDel",
    "cmdShowIdInfo",
    "cmdEngRFAttenPad",
    "cmdEngIFAttenPad",
    "cmdEngPLLMode",
    "cmdEngADCPhase",
    "cmdAuxRef",
    "cmdGetIfRefState",
    "cmdGetTempVal",
    "cmdDividedLOFreq",
    "CmdTestTone",
    "cmdGetCorrections",
    "cmdGetMarkerPower",
    "cmdGetGraphPower",
    "cmdGraphPwrFreqToFile",
    "cmdGraphPwrFreqFilename",
    "cmdReset",
    "cmdResetWithFpga",
    // board identity
    "cmdClose",
    "cmdCommitTab",
    "cmdCommitAll",
    "cmdReloadTab",
    "cmdReloadAll",
    "cmdChangeVal",
    // boot
    "cmdBoot",
};

int pendingCtrlCallback(int, int, int, void*, int, int) {
    return 0;
}
int pendingPanelCallback(int, int, void*, int, int) {
    return 0;
}
void pendingMenuCallback(int, int, void*, int) {}

}  // namespace

void registerAllCallbacks() {
    for (const char* name : PENDING_CALLBACKS) {
        RegisterCtrlCallback(name, pendingCtrlCallback);
        RegisterPanelCallback(name, pendingPanelCallback);
        RegisterMenuCallback(name, pendingMenuCallback);
    }
    setPanelRefresher(refreshMainPanelFromInstrument);
    registerStateReset(resetAppState);
    registerShellCallbacks();
    registerChannelCallbacks();
    registerRoutingCallbacks();
    registerCalIdCallbacks();
    registerBootCallbacks();
    registerBootTransitionCallbacks();
    registerEngineeringResetCallbacks();
    registerAcquisitionCallbacks();
    registerCaptureControlCallbacks();
}

void resetProgramState() {
    // Every module registers its reset together with its callbacks.
    registerAllCallbacks();
    resetRegisteredState();
}
