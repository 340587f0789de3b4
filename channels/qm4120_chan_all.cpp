#include "qm4120_chan_all.h"

#include "qm4120_chan_uir.h"
#include "userint.h"

namespace {

int editAllPanel = 0;
int normalButtonColour = VAL_LT_GRAY;  // a Set button goes red while its value is not yet written

}  // namespace

void chanEditAllPanelResetState() {
    editAllPanel = 0;
    normalButtonColour = VAL_LT_GRAY;
}

int chanEditAllPanelInit() {
    const int panel = LoadPanel(0, "qm4120_chan.uir", CHEDITALL);
    if (panel < 0) {
        editAllPanel = 0;
        return 0;
    }
    editAllPanel = panel;
    GetCtrlAttribute(panel, CHEDITALL_CLOSE, ATTR_TEXT_BGCOLOR, &normalButtonColour);
    return 1;
}

void chanEditAllPanelInitPreBoot() {
    // Nothing on this panel depends on the module before a boot.
}

void chanEditAllPanelInitPostBoot() {
    // The frequency limits and steps reach this panel through the channel table's setters.
}

void chanEditAllPanelShow() {
    if (!editAllPanel) chanEditAllPanelInit();
    if (editAllPanel) DisplayPanel(editAllPanel);
}

void chanEditAllPanelHide() {
    if (editAllPanel) HidePanel(editAllPanel);
}

void chanEditAllPanelDiscard() {
    if (editAllPanel) DiscardPanel(editAllPanel);
    editAllPanel = 0;
}

int getEditAllPanel() {
    return editAllPanel;
}

int cmdCloseEditAll(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) chanEditAllPanelHide();
    return 0;
}
