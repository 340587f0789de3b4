// Graph display of the main panel: the views of the last capture and their scaling controls.
#ifndef QM_PANEL_DISPLAY_H
#define QM_PANEL_DISPLAY_H

void initDisplayControls();

// What a capture run asks of the views: clear every plot, draw the last capture (capturedData) in the
// enabled views, and redraw the view in front from the data already held.
void clearAllPlots();
void displayCapturedData();
void refreshCurrentView();

#endif
