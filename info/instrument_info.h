// What is installed: the model text of window titles, the About box, the Instrument Information panel,
// the File Versions panel and the Calibration Dates panel. The panels keep nothing of their own; each is
// filled afresh whenever it is opened, and every field reads "n/a" until its source has been read.
#ifndef QM_INFO_INSTRUMENT_INFO_H
#define QM_INFO_INSTRUMENT_INFO_H

#include <cstdint>
#include <string>

// Shown in an information field whose source cannot be read.
constexpr const char* INFO_NOT_AVAILABLE = "n/a";
// The program's release, as the About box states it.
constexpr const char* ABOUT_VERSION_TEXT = "Version 2.1.0.0 2005-11-28";

// Model text for a model code: "4120", "4120 Enhanced" (engineering mode only, else "4120"), "4120A",
// "4125", or "412x" for any other code.
const char* modelTextForCode(uint16_t modelCode, uint16_t engineeringMode);
// The About box's module line for a model code, e.g. "4125 PXI RF Digitizer Module". The enhanced model
// names itself in full here whatever the mode.
std::string aboutModuleLine(uint16_t modelCode);

// Model text of the booted module (read with qm4120_getModelCode); "412x" when none is booted.
const char* getModelCodeString();

// A calibration time stamp as YYYY-MM-DD HH:MM:SS, each field zero-padded to its width.
std::string formatTimeStamp(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                            uint16_t second);

// The version string of one of the program's files, named as the program has always named it
// ("qm4120_sfp.exe", "qm41XX_utils.dll", a path such as "\qm4870_plugin.dll"), into `buffer` (at most
// 255 characters and the terminator, never more than `size`). Returns 1 when a version was found, else
// 0 (buffer then "" where size allows).
int getFileVersionString(const char* fileName, char* buffer, int size);

// Fillers of the three panels (the Instrument Information filler also fills File Versions).
void fillSysInfoPanel();
void fillFileVersionsPanel();
void fillCalInfoPanel();

// Callbacks: Help menu, About box and the three information panels.
void cmdHelpAbout(int menuBar, int menuItem, void* callbackData, int panel);
void cmdHelpSysInfo(int menuBar, int menuItem, void* callbackData, int panel);
int cmdAboutOk(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdWWW(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdSysInfoClose(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdSysInfoFileInfo(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdSysInfoDetailClose(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int cmdCalInfo(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdCalInfoClose(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerInfoCallbacks();

#endif
