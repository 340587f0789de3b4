#include "board_identity.h"

#include "qm41xx_cal_id.h"

void boardIdentityChanged(int operation, int, int) {
    switch (operation) {
        case CALID_CLOSE:
            calidPanelHide();
            break;
        default:
            // Commit, reload and field transfers to the control, IF and RF boards are handled here by the
            // board identity module.
            break;
    }
}
