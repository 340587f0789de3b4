// Binding of every callback name the panel resources use.
//
// A panel loads only when every callback it names is known, so each name the resource files give starts
// out bound to a no-op of its kind (the list is generated from the files at build time); the modules then
// register their real callbacks under the same names, which replaces the no-op.
#include <string>
#include <vector>

#include "display.h"
#include "eng_panel.h"
#include "fft_trace_file.h"
#include "instrument_info.h"
#include "markers.h"
#include "model.h"
#include "qm4120_sfp.h"
#include "resource_callbacks.h"
#include "save_data.h"
#include "sigmf_metadata.h"
#include "userint.h"

namespace {

int pendingCtrlCallback(int, int, int, void*, int, int) {
    return 0;
}
int pendingPanelCallback(int, int, void*, int, int) {
    return 0;
}
void pendingMenuCallback(int, int, void*, int) {}

}  // namespace

void registerAllCallbacks() {
    using Kind = qm::ResourceCallback::Kind;
    for (const qm::ResourceCallback& cb : qm::resourceCallbacks()) {
        const std::string name(cb.name);
        switch (cb.kind) {
            case Kind::Control:
                RegisterCtrlCallback(name.c_str(), pendingCtrlCallback);
                break;
            case Kind::Panel:
                RegisterPanelCallback(name.c_str(), pendingPanelCallback);
                break;
            case Kind::MenuItem:
                RegisterMenuCallback(name.c_str(), pendingMenuCallback);
                break;
        }
    }
    setPanelRefresher(refreshMainPanelFromInstrument);
    registerStateReset(resetAppState);
    registerShellCallbacks();
    registerChannelCallbacks();
    registerFrequencyCallbacks();
    registerStepCallbacks();
    registerLevelCallbacks();
    registerFrontEndCallbacks();
    registerFrontEndEngCallbacks();
    registerRoutingCallbacks();
    registerTriggerCallbacks();
    registerDisplayCallbacks();
    registerMarkerCallbacks();
    registerCalIdCallbacks();
    registerBootCallbacks();
    registerBootTransitionCallbacks();
    registerEngineeringResetCallbacks();
    registerEngPanelCallbacks();
    registerInfoCallbacks();
    registerCaptureStateReset();
    registerAcquisitionCallbacks();
    registerCaptureControlCallbacks();
    registerSaveDataCallbacks();
    registerFftTraceFileCallbacks();
    registerSigmfMetadataCallbacks();
    registerTestToneCallback();
    registerSettingsCallbacks();
}

void resetProgramState() {
    // Every module registers its reset together with its callbacks.
    registerAllCallbacks();
    resetRegisteredState();
}

std::vector<std::string> pendingCallbackNames() {
    using Kind = qm::ResourceCallback::Kind;
    std::vector<std::string> pending;
    for (const qm::ResourceCallback& cb : qm::resourceCallbacks()) {
        const std::string name(cb.name);
        const bool placeholder =
            (cb.kind == Kind::Control && ui::registeredCtrlCallback(name) == pendingCtrlCallback) ||
            (cb.kind == Kind::Panel && ui::registeredPanelCallback(name) == pendingPanelCallback) ||
            (cb.kind == Kind::MenuItem && ui::registeredMenuCallback(name) == pendingMenuCallback);
        if (placeholder && (pending.empty() || pending.back() != name)) pending.push_back(name);
    }
    return pending;
}
