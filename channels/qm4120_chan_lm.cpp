#include "qm4120_chan_lm.h"

#include "qm4120_chan_uir.h"
#include "userint.h"

namespace {

int listModePanel = 0;

}  // namespace

void chanLmPanelResetState() {
    listModePanel = 0;
}

int chanLmPanelInit() {
    const int panel = LoadPanel(0, "qm4120_chan.uir", LISTMODE);
    listModePanel = panel > 0 ? panel : 0;
    return listModePanel ? 1 : 0;
}

void chanLmPanelInitPostBoot() {
    chanLmPanelUpdateAllFromHw();
}

void chanLmPanelShow() {
    if (!listModePanel) chanLmPanelInit();
    if (listModePanel) DisplayPanel(listModePanel);
}

void chanLmPanelHide() {
    if (listModePanel) HidePanel(listModePanel);
}

void chanLmPanelDiscard() {
    if (listModePanel) DiscardPanel(listModePanel);
    listModePanel = 0;
}

int getListModePanel() {
    return listModePanel;
}

void chanLmPanelUpdateAllFromHw() {
    // Address source, strobe polarity, counter strobe, count range and dwell are read back here.
}

void updateMainpanelListModeControls() {
    // Dims or enables the main panel's channel-dependent controls for the list address source here.
}

int cmdCloseLm(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanLmPanelHide();
    return 0;
}
