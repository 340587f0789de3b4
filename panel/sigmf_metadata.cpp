// SigMF metadata beside the panel's binary data files (see sigmf_metadata.h).
#include "sigmf_metadata.h"

#include <cstdio>
#include <string>

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "replacing_file.h"
#include "sigmf.h"
#include "userint.h"

namespace {

constexpr int RESOURCE_TEXT_LEN = 64;

bool enabled = false;
std::string lastCaptureTime;    // when the last capture completed, UTC
qm::sigmf::Recording snapshot;  // what the module said at that capture, taken while the option is on
bool snapshotValid = false;

void reset() {
    enabled = false;
    lastCaptureTime.clear();
    snapshot = {};
    snapshotValid = false;
}

// The module's identity and settings now, with what the record says about its own capture in front.
qm::sigmf::Recording describe(const CapturedData& data) {
    qm::sigmf::Recording r;
    r.recorder = "qm4120_sfp (driver " QM4120_DRIVER_REVISION ")";
    char resource[RESOURCE_TEXT_LEN] = {};
    GetCtrlVal(appState.mainPanel, MAINPANEL_MODULE_RESOURCE, resource);
    r.resource = resource;
    if (isActive4120()) {
        // Quietly: a value the module cannot give is left out rather than reported again.
        const auto carryOn = [](const char*, int32_t status) { return status >= 0; };
        qm::sigmf::readIdentity(getQM4120id(), &r.identity, carryOn);
        qm::sigmf::readApplied(getQM4120id(), &r.applied, carryOn);
    }
    qm::sigmf::Applied& a = r.applied;
    a.inputSource = static_cast<uint16_t>(data.inputSource);
    a.rfFrequencyHz = data.rfFrequency;
    a.loOffsetHz = data.loOffset;
    a.ifFrequencyHz = data.ifFrequency;
    a.sampleDataType = static_cast<uint16_t>(data.sampleDataType);
    a.outputFormat = static_cast<uint16_t>(data.sampleOutputFormat);
    a.sampleRateHz = data.decimatedSampleRate;
    r.samples = data.sampleDataType == 0 ? data.numIfSamples : data.numIqSamples;
    r.datetime = lastCaptureTime;
    return r;
}

void cmdSigmfMetadata(int, int, void*, int) {
    setSigmfMetadataEnabled(!enabled);
}

}  // namespace

bool sigmfMetadataEnabled() {
    return enabled;
}

void setSigmfMetadataEnabled(bool on) {
    enabled = on;
    if (appState.mainMenuBar > 0)
        SetMenuBarAttribute(appState.mainMenuBar, MAINMENU_FILE_SIGMF, ATTR_CHECKED, on ? 1 : 0);
}

void noteCaptureForMetadata(const CapturedData& data) {
    lastCaptureTime = qm::sigmf::utcNow();
    snapshotValid = enabled;
    if (enabled) snapshot = describe(data);
}

void writeMetadataBeside(const char* dataPath, const CapturedData& data) {
    if (!enabled || dataPath == nullptr) return;
    qm::sigmf::Recording r = snapshotValid ? snapshot : describe(data);
    // The record may have shrunk since (a short capture): the file holds what the record holds.
    r.samples = data.sampleDataType == 0 ? data.numIfSamples : data.numIqSamples;
    const std::string metaPath = qm::sigmf::metaPathBeside(dataPath, &r.dataset);
    const std::string text = qm::sigmf::sigmfMeta(r);
    ReplacingFile file(metaPath);
    if (!file.create() || !file.write(text.data(), text.size()) || !file.commit()) {
        char message[MAX_PATHNAME_LEN + 96];
        std::snprintf(message, sizeof message, "The SigMF metadata could not be written to \"%s\".",
                      metaPath.c_str());
        MessagePopup("SigMF Metadata", message);
    }
}

void registerSigmfMetadataCallbacks() {
    RegisterMenuCallback("cmdSigmfMetadata", cmdSigmfMetadata);
    registerStateReset(reset);
}
