// Opening, resetting and closing a module, and the instrument-driver housekeeping operations.
#include <cstdio>

#include "pxi_korvo.h"
#include "qm4120.h"
#include "qm4120_pb_lib.h"

namespace {

// Closes what a failed open had opened so far and reports the failure.
int32_t abandonOpen(uint32_t rm, uint32_t session, uint32_t* vi, int32_t status) {
    if (session != 0) korvo_viClose(session);
    korvo_viClose(rm);
    *vi = 0;
    return status;
}

}  // namespace

extern "C" {

int32_t qm4120_init(const char* resourceName, uint16_t idQuery, uint16_t reset, uint32_t* vi) {
    return qm4120_initWithFpgaConfig(resourceName, idQuery, reset, vi, 0);
}

int32_t qm4120_initWithFpgaConfig(const char* resourceName, uint16_t idQuery, uint16_t reset, uint32_t* vi,
                                  uint16_t fpgaConfig) {
    // The module answers no identification query; idQuery is accepted for the usual driver signature.
    (void)idQuery;
    if (vi == nullptr) return VI_ERROR_USER_BUF;
    *vi = 0;
    const bool doReset = reset != 0;

    uint32_t rm = 0;
    int32_t status = korvo_viOpenDefaultRM(&rm);
    if (status < 0) return status;

    uint32_t session = 0;
    status = korvo_viOpen(rm, resourceName, 0, 0, &session);
    if (status < 0) return abandonOpen(rm, 0, vi, status);

    const int32_t created = qm4120_dll_error(qm4120_instrumentCreate(session, 1));
    if (created < 0) return abandonOpen(rm, session, vi, created);

    const int32_t prepared = doReset ? qm4120_resetWithFpgaConfig(session, fpgaConfig)
                                     : qm4120_dll_error(qm4120_controlSetDefaults(session));
    if (prepared < 0) {
        // The library's record belongs to the bus session about to close; nothing could reach it again.
        qm4120_instrumentDelete(session);
        return abandonOpen(rm, session, vi, prepared);
    }

    *vi = session;
    return prepared > 0 ? prepared : created;
}

int32_t qm4120_reset(uint32_t vi) {
    return qm4120_dll_error(qm4120_controlSetDefaults(vi));
}

int32_t qm4120_resetWithFpgaConfig(uint32_t vi, uint16_t fpgaConfig) {
    int32_t status = qm4120_dll_error(qm4120_fpgaConfigure(vi, fpgaConfig));
    if (status < 0) return status;

    status = qm4120_dll_error(qm4120_controlCheckFpgaConfig(vi));
    if (status < 0) {
        if (status != QM4120_ERROR_NOT_CONFIGURED) return status;
        // A configuration that did not take the first time usually takes on the second load.
        status = qm4120_dll_error(qm4120_fpgaConfigure(vi, fpgaConfig));
        if (status < 0) return status;
    }
    return qm4120_dll_error(qm4120_controlSetDefaults(vi));
}

int32_t qm4120_self_test(uint32_t vi, int16_t* result, char* message) {
    (void)vi;
    (void)result;
    (void)message;
    return QM4120_WARN_NSUP_SELF_TEST;
}

int32_t qm4120_error_query(uint32_t vi, int32_t* errorCode, char* message) {
    (void)vi;
    (void)errorCode;
    (void)message;
    return QM4120_WARN_NSUP_ERROR_QUERY;
}

int32_t qm4120_revision_query(uint32_t vi, char* driverRev, char* fpgaRev) {
    if (driverRev != nullptr) std::snprintf(driverRev, QM4120_TEXT_SIZE, "%s", QM4120_DRIVER_REVISION);
    uint16_t major = 0;
    uint16_t minor = 0;
    const int32_t status = qm4120_controlGetFpgaRev(vi, &major, &minor);
    if (status >= 0 && fpgaRev != nullptr) std::snprintf(fpgaRev, QM4120_TEXT_SIZE, "%d.%d", major, minor);
    return status;
}

int32_t qm4120_getPciFpgaRev(uint32_t vi, char* text) {
    // The library reports the revision as major * 100 + minor.
    uint16_t revision = 0;
    uint16_t build = 0;
    const int32_t status = qm4120_controlGetPciFpgaRev(vi, &revision, &build);
    if (status >= 0 && text != nullptr) {
        std::snprintf(text, QM4120_TEXT_SIZE, "%d.%02d", revision / 100, revision % 100);
    }
    return status;
}

int32_t qm4120_close(uint32_t vi) {
    qm4120_instrumentDelete(vi);  // the bus sessions are closed whatever the library says
    uint32_t rm = 0;
    const int32_t status = korvo_viGetAttribute(vi, VI_ATTR_RM_SESSION, &rm);
    if (status < 0) return status;
    korvo_viClose(vi);
    korvo_viClose(rm);
    return 0;
}

}  // extern "C"
