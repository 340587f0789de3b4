// Entry into the Qt front end for the program's `main`, without any Qt type in sight: the program stays
// free of the toolkit and only this library knows about it.
#ifndef QM_UI_QT_QT_MAIN_H
#define QM_UI_QT_QT_MAIN_H

#include <functional>

// Creates the application object, installs the Qt front end as the run-time's front end, runs
// `mainBody` (which loads the panels and calls RunUserInterface) and tears everything down again.
// Returns what `mainBody` returned, or -1 when there is no display to open (a message on standard error
// says so); a windowing system that fails to open ends the process with status 255 and a message.
int qmRunQtFrontend(int argc, char** argv, const std::function<int()>& mainBody);

#endif
