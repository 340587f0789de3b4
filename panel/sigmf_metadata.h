// The File menu option that writes SigMF metadata (NAME.sigmf-meta) beside every binary data file the
// panel writes: the capture file of the binary destination and the binary files of "Save Captured
// Data". Off at start-up; the operator checks and unchecks it.
//
// The metadata describe the file beside them: the words as written (the module's own order, so a band
// the module delivers mirrored is marked inverted), the rates and frequencies of the capture, the module's
// identity and the settings it applied when the capture completed.
#ifndef QM_PANEL_SIGMF_METADATA_H
#define QM_PANEL_SIGMF_METADATA_H

#include "capture_state.h"

bool sigmfMetadataEnabled();
// Turns the option on or off and checks or unchecks its menu item (for a set-up loaded from a file).
void setSigmfMetadataEnabled(bool on);

// Called after every successful capture transfer: keeps the time, and while the option is on, the
// module's identity and settings, so that the metadata describe the capture even when it is saved later.
void noteCaptureForMetadata(const CapturedData& data);

// With the option on, writes the metadata of the record's words saved as binary in `dataPath`; a
// metadata file that cannot be written is reported in a popup. Does nothing with the option off.
void writeMetadataBeside(const char* dataPath, const CapturedData& data);

void registerSigmfMetadataCallbacks();

#endif
