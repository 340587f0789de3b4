// Display extras and the SigMF option in a settings file (see settings_extras.h).
#include "settings_extras.h"

#include "extras.h"
#include "settings_file.h"
#include "sigmf_metadata.h"

namespace {

struct ExtrasField {
    SettingsItem item;
    int DisplayExtras::*field;
    int min;
    int max;
};

constexpr ExtrasField EXTRAS_FIELDS[] = {
    {SettingsItem::ExtrasAverageCount, &DisplayExtras::averageCount, 0, TRACE_AVERAGE_MAX},
    {SettingsItem::ExtrasMaxHold, &DisplayExtras::maxHold, 0, 1},
    {SettingsItem::ExtrasWaterfallOn, &DisplayExtras::waterfallOn, 0, 1},
    {SettingsItem::ExtrasWaterfallHistory, &DisplayExtras::waterfallHistory, WATERFALL_HISTORY_MIN,
     WATERFALL_HISTORY_MAX},
    {SettingsItem::ExtrasGraphImageWidth, &DisplayExtras::graphImageWidth, 0, GRAPH_IMAGE_SIDE_MAX},
    {SettingsItem::ExtrasGraphImageHeight, &DisplayExtras::graphImageHeight, 0, GRAPH_IMAGE_SIDE_MAX},
};

}  // namespace

int32_t saveOptionalDisplaySettings(uint32_t ini) {
    int32_t sum = 0;
    if (displayExtrasInUse()) {
        const DisplayExtras extras = getDisplayExtras();
        for (const ExtrasField& f : EXTRAS_FIELDS) sum += settingsWriteInt(ini, f.item, extras.*f.field);
    }
    if (sigmfMetadataEnabled()) sum += settingsWriteInt(ini, SettingsItem::SigmfMetadata, 1);
    return sum;
}

void loadOptionalDisplaySettings(LoadRun& run) {
    DisplayExtras extras;  // what a file without the extras stands for: all off
    for (const ExtrasField& f : EXTRAS_FIELDS) {
        int32_t value = 0;
        if (run.read(settingsReadInt(run.ini(), f.item, &value), f.item) &&
            run.inside(f.item, value, f.min, f.max))
            extras.*f.field = value;
    }
    setDisplayExtras(extras);

    int32_t sigmf = 0;
    if (!run.read(settingsReadInt(run.ini(), SettingsItem::SigmfMetadata, &sigmf),
                  SettingsItem::SigmfMetadata) ||
        !run.inside(SettingsItem::SigmfMetadata, sigmf, 0, 1))
        sigmf = 0;
    setSigmfMetadataEnabled(sigmf != 0);
}
