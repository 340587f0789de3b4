// Placeholder bodies of the graph views' entry points until the graph display module provides them; that
// module replaces this file.
#include "display.h"

void clearAllPlots() {}

void displayCapturedData() {}

void refreshCurrentView() {}
