// Set, then read back: the one road by which a panel control reaches the module.
//
// A control sends its value to the module, the status is noted and reported, and the control then shows
// what the module applied, which may differ from what was entered (the module rounds to its resolution
// and clamps to its limits). A value read from the module is written into a control only when the read
// did not fail.
//
//   setFromCtrl(panel, MAINPANEL_RF_FREQ, qm4120_setRfFrequency, qm4120_getRfFrequency);
//   showRead(panel, MAINPANEL_LO_FREQ, qm4120_getLoFrequency);
//   showAttribute(panel, MAINPANEL_RF_FREQ, ATTR_MAX_VALUE, qm4120_getRfFrequencyMax);
#ifndef QM_COMMON_READBACK_H
#define QM_COMMON_READBACK_H

#include <cstdint>
#include <type_traits>

#include "app_state.h"
#include "userint.h"

// What becomes of a driver status: noted in lastStatus and shown to the operator (the main panel's
// callbacks), only shown to the operator (refreshes whose failures the operator must see, but that do not
// decide a callback's next step), or only looked at (quiet refreshes that must not raise a popup per
// control).
enum class StatusReport { Note, Report, Quiet };

template <typename T>
using ModuleGetter = int32_t (*)(uint32_t session, T* value);
template <typename T>
using ModuleSetter = int32_t (*)(uint32_t session, T value);

inline int32_t reportStatus(int32_t status, StatusReport report) {
    if (report == StatusReport::Note) return noteStatus(status);
    if (report == StatusReport::Report) err4120(status);
    return status;
}

// Reads one module value into *value; the status goes where `report` says. Returns true when the read
// did not fail (the value may then be shown).
template <typename T>
bool readModule(ModuleGetter<T> get, T* value, StatusReport report = StatusReport::Note) {
    return reportStatus(get(getQM4120id(), value), report) >= 0;
}

// The control type that holds a module value: numerics and rings of the panels keep 32-bit integers,
// unsigned integers and doubles.
template <typename T>
using ControlValue = std::conditional_t<std::is_floating_point_v<T>, double,
                                        std::conditional_t<std::is_signed_v<T>, int, unsigned>>;

// Reads a value from the module and shows it in the control when the read did not fail. Returns the
// status of the read.
template <typename T>
int32_t showRead(int panel, int control, ModuleGetter<T> get, StatusReport report = StatusReport::Note) {
    T value{};
    const int32_t status = reportStatus(get(getQM4120id(), &value), report);
    if (status >= 0) SetCtrlVal(panel, control, static_cast<ControlValue<T>>(value));
    return status;
}

// Sends `value` to the module and shows what it applied. Returns the status of the set; the read-back's
// status is noted and reported too.
template <typename T>
int32_t setAndShow(int panel, int control, T value, ModuleSetter<T> set, ModuleGetter<T> get) {
    const int32_t status = noteStatus(set(getQM4120id(), value));
    showRead(panel, control, get);
    return status;
}

// Sends the control's value to the module and shows what it applied (see setAndShow).
template <typename T>
int32_t setFromCtrl(int panel, int control, ModuleSetter<T> set, ModuleGetter<T> get) {
    ControlValue<T> entered{};
    GetCtrlVal(panel, control, &entered);
    return setAndShow(panel, control, static_cast<T>(entered), set, get);
}

// Reads a limit or step from the module into a numeric attribute of the control (ATTR_MIN_VALUE,
// ATTR_MAX_VALUE, ATTR_INCR_VALUE) when the read did not fail. Returns the status of the read.
template <typename T>
int32_t showAttribute(int panel, int control, int attribute, ModuleGetter<T> get,
                      StatusReport report = StatusReport::Note) {
    T value{};
    const int32_t status = reportStatus(get(getQM4120id(), &value), report);
    using AttributeValue = std::conditional_t<std::is_floating_point_v<T>, double, int>;
    if (status >= 0) SetCtrlAttribute(panel, control, attribute, static_cast<AttributeValue>(value));
    return status;
}

#endif
