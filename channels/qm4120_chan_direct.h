// What the main panel tells the channel table when it has just set the active channel: the value the
// module applied goes straight into that channel's row (and into the edit controls when the table shows
// that channel), without asking the module again. Also the limits, steps and level unit the table shares
// with the main panel.
#ifndef QM_CHANNELS_QM4120_CHAN_DIRECT_H
#define QM_CHANNELS_QM4120_CHAN_DIRECT_H

void chanPanelUpdateFreqDirect(double hz, int channel);
void chanPanelUpdateLoPosDirect(int above, int channel);
void chanPanelUpdateFrontEndDirect(int mode, int channel);
// Levels in the display unit; six decimals for milliwatts, else two.
void chanPanelUpdateRfLevelDirect(double level, int channel, int sixDecimals);
void chanPanelUpdateIfLevelDirect(double level, int channel, int sixDecimals);
void chanPanelUpdateRfAttenDirect(int dB, int channel);
void chanPanelUpdateIfAttenDirect(int dB, int channel);

// Limits and step of the table's frequency entry.
void chanPanelSetFrequencyMin(double hz);
void chanPanelSetFrequencyMax(double hz);
void chanPanelFreqStep(double hz, const char* text);
// Step of the two level entries, in dB.
void chanPanelLevelStep(double dB, const char* text);

// After the display unit changed: header titles and level labels for the unit the module holds.
void chanPanelUpdateUnits();
// Limits and precision of the two level entries for the unit the module holds.
void chanPanelUpdateInputLevelRange();

#endif
