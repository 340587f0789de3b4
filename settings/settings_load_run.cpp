// Checks of the values of a settings file before they reach a control (see settings_load_run.h).
#include "settings_load_run.h"

#include <cmath>

#include "qm41XX_utils.h"
#include "userint.h"

namespace {

// The message names this many values and counts the rest.
constexpr size_t NAMES_SHOWN = 12;

// Trigger values whose panel entries take more than the module accepts (an operator's entry beyond them is
// clamped by the module with a warning). A file's value must lie within the module's own limits.
struct ModuleLimit {
    SettingsItem item;
    double min;
    double max;
};
constexpr double TRIGGER_COUNTER_MAX = 16777215.0;  // 24-bit sample counters
constexpr ModuleLimit MODULE_LIMITS[] = {
    {SettingsItem::TrigOffsetDelay, 0.0, TRIGGER_COUNTER_MAX},
    {SettingsItem::TrigPreEdgeSamples, 0.0, TRIGGER_COUNTER_MAX},
    {SettingsItem::TrigPostGateSamples, 0.0, TRIGGER_COUNTER_MAX},
    {SettingsItem::TrigIntTrigAbsThreshold, -100.0, 30.0},   // dBm
    {SettingsItem::TrigIntTrigRelThreshold, 0.0, 60.0},      // dB
    {SettingsItem::TrigIntTrigAbsTimeConst, 0.01, 10000.0},  // microseconds
    {SettingsItem::TrigIntTrigRelSlowTimeConst, 0.01, 10000.0},
    {SettingsItem::TrigIntTrigRelFastTimeConst, 0.01, 10000.0},
};

const ModuleLimit* moduleLimitOf(SettingsItem item) {
    for (const ModuleLimit& l : MODULE_LIMITS)
        if (l.item == item) return &l;
    return nullptr;
}

}  // namespace

bool LoadRun::read(int32_t status, SettingsItem item) {
    if (status == QM41XXUTILS_SUCCESS) return true;
    if (status != QM41XXUTILS_ERR_NOT_FOUND) refuse(settingsItemName(item));
    return false;
}

void LoadRun::refuse(const std::string& name) {
    for (const std::string& n : refused_)
        if (n == name) return;
    refused_.push_back(name);
}

bool LoadRun::insideNamed(const std::string& name, double value, double min, double max) {
    if (std::isfinite(value) && value >= min && value <= max) return true;
    refuse(name);
    return false;
}

bool LoadRun::fitsNamed(const std::string& name, int panel, int control, double value) {
    int kind = 0;
    if (GetCtrlAttribute(panel, control, ATTR_CTRL_STYLE, &kind) < 0 || !std::isfinite(value)) {
        refuse(name);
        return false;
    }
    switch (kind) {
        case CTRL_NUMERIC: {
            double min = 0.0;
            double max = 0.0;
            GetCtrlAttribute(panel, control, ATTR_MIN_VALUE, &min);
            GetCtrlAttribute(panel, control, ATTR_MAX_VALUE, &max);
            int type = VAL_DOUBLE;
            GetCtrlAttribute(panel, control, ATTR_DATA_TYPE, &type);
            // An integer control cannot hold a fraction: it would be rounded into another value.
            const bool whole = type == VAL_DOUBLE || value == std::round(value);
            return insideNamed(name, whole ? value : NAN, min, max);
        }
        case CTRL_RING:
        case CTRL_LIST_BOX: {
            int index = -1;
            if (GetIndexFromValue(panel, control, &index, value) >= 0 && index >= 0) return true;
            refuse(name);
            return false;
        }
        case CTRL_BINARY_SWITCH:
        case CTRL_CHECK_BOX:
        case CTRL_LED:
            return insideNamed(name, value == 0.0 || value == 1.0 ? value : NAN, 0.0, 1.0);
        default:
            refuse(name);
            return false;
    }
}

bool LoadRun::itemInto(SettingsItem item, int panel, int control, double value) {
    const ModuleLimit* limit = moduleLimitOf(item);
    if (limit && !inside(item, value, limit->min, limit->max)) return false;
    return valueInto(settingsItemName(item), panel, control, value);
}

bool LoadRun::valueInto(const std::string& name, int panel, int control, double value) {
    if (!fitsNamed(name, panel, control, value)) return false;
    SetCtrlVal(panel, control, value);
    return true;
}

bool LoadRun::realInto(SettingsItem item, int panel, int control) {
    double value = 0.0;
    return read(settingsReadReal(ini_, item, &value), item) && itemInto(item, panel, control, value);
}

bool LoadRun::intInto(SettingsItem item, int panel, int control, int32_t* out) {
    int32_t value = 0;
    if (!read(settingsReadInt(ini_, item, &value), item) || !itemInto(item, panel, control, value))
        return false;
    if (out) *out = value;
    return true;
}

bool LoadRun::u16Into(SettingsItem item, int panel, int control, uint16_t* out) {
    uint16_t value = 0;
    if (!read(settingsReadU16(ini_, item, &value), item) || !itemInto(item, panel, control, value))
        return false;
    if (out) *out = value;
    return true;
}

bool LoadRun::u32Into(SettingsItem item, int panel, int control) {
    uint32_t value = 0;
    return read(settingsReadU32(ini_, item, &value), item) && itemInto(item, panel, control, value);
}

bool LoadRun::indexInto(SettingsItem item, int panel, int control, int32_t* out) {
    int32_t index = 0;
    if (!read(settingsReadInt(ini_, item, &index), item)) return false;
    int count = 0;
    GetNumListItems(panel, control, &count);
    if (!insideNamed(settingsItemName(item), index, 0, count - 1)) return false;
    SetCtrlIndex(panel, control, index);
    if (out) *out = index;
    return true;
}

void LoadRun::reportRefused() const {
    if (refused_.empty()) return;
    std::string text = "These values of the settings file could not be used and were left as they were:\n";
    for (size_t i = 0; i < refused_.size() && i < NAMES_SHOWN; ++i) text += "\n" + refused_[i];
    if (refused_.size() > NAMES_SHOWN)
        text += "\n... and " + std::to_string(refused_.size() - NAMES_SHOWN) + " more";
    MessagePopup("Load Settings", text.c_str());
}
