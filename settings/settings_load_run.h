// One settings load in progress: reads items, lets a value into a control only when the control can hold
// it, and keeps the names of the values it had to leave out for one message at the end.
#ifndef QM_SETTINGS_SETTINGS_LOAD_RUN_H
#define QM_SETTINGS_SETTINGS_LOAD_RUN_H

#include <cstdint>
#include <string>
#include <vector>

#include "settings_file.h"

class LoadRun {
  public:
    explicit LoadRun(uint32_t ini) : ini_(ini) {}
    uint32_t ini() const { return ini_; }

    // True when the read succeeded. A value that is there but cannot be read as its type is noted; a
    // missing one is not (it simply stays as it was).
    bool read(int32_t status, SettingsItem item);

    void refuse(const std::string& name);
    bool insideNamed(const std::string& name, double value, double min, double max);
    bool inside(SettingsItem item, double value, double min, double max) {
        return insideNamed(settingsItemName(item), value, min, max);
    }

    // Whether the control can hold `value`: inside a numeric's range, one of a ring's item values, 0 or 1
    // for a switch, check box or LED. Notes the value under `name` when it cannot.
    bool fitsNamed(const std::string& name, int panel, int control, double value);
    bool fits(SettingsItem item, int panel, int control, double value) {
        return fitsNamed(settingsItemName(item), panel, control, value);
    }
    // fitsNamed, then the value goes into the control. Returns whether it did.
    bool valueInto(const std::string& name, int panel, int control, double value);

    // valueInto for an item, within the module's own limits where it has narrower ones than its control.
    bool itemInto(SettingsItem item, int panel, int control, double value);

    // Reads an item of the named type and puts it into the control (see valueInto). The value read is
    // also handed back through `out` when it went in.
    bool realInto(SettingsItem item, int panel, int control);
    bool intInto(SettingsItem item, int panel, int control, int32_t* out = nullptr);
    bool u16Into(SettingsItem item, int panel, int control, uint16_t* out = nullptr);
    bool u32Into(SettingsItem item, int panel, int control);
    // An item that holds a ring's position rather than its value.
    bool indexInto(SettingsItem item, int panel, int control, int32_t* out = nullptr);

    size_t refusedCount() const { return refused_.size(); }
    // "Load Settings" message naming the values left out; nothing when every value could be used.
    void reportRefused() const;

  private:
    uint32_t ini_;
    std::vector<std::string> refused_;
};

#endif
