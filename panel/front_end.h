// Front end of the main panel: input source, attenuator mode and the two attenuations, reference and
// filters, with the dimming and colours that show which of them are in force.
#ifndef QM_PANEL_FRONT_END_H
#define QM_PANEL_FRONT_END_H

// Re-reads every front-end value from the module and shows which controls are in force.
void refreshFrontEndControls();
void refreshAttenuationControls();

// After a boot: the range and step of both attenuators (they differ between models).
void configureAttenuationLimits();

#endif
