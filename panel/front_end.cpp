// Front end of the main panel (see front_end.h).
#include "front_end.h"

#include "app_state.h"
#include "qm4120.h"
#include "qm4120_sfp_uir.h"
#include "readback.h"
#include "userint.h"

void refreshFrontEndControls() {
    // Input levels, attenuations, attenuator mode and their dimming and colours are refreshed here.
}

void refreshAttenuationControls() {
    // IF and RF attenuation values and limits are refreshed here.
}

void configureAttenuationLimits() {
    // The attenuators' range and step differ between models (the 4125 has finer RF pads).
    const int panel = appState.mainPanel;
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_MIN_VALUE, qm4120_getIfAttenuationMin);
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_MAX_VALUE, qm4120_getIfAttenuationMax);
    showAttribute(panel, MAINPANEL_IF_ATTEN, ATTR_INCR_VALUE, qm4120_getIfAttenuationStep);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_MIN_VALUE, qm4120_getRfAttenuationMin);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_MAX_VALUE, qm4120_getRfAttenuationMax);
    showAttribute(panel, MAINPANEL_RF_ATTEN, ATTR_INCR_VALUE, qm4120_getRfAttenuationStep);
}
