// Graph display of the main panel: the views of the last capture and their scaling controls.
#ifndef QM_PANEL_DISPLAY_H
#define QM_PANEL_DISPLAY_H

void initDisplayControls();

#endif
