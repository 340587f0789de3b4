// Process entry of the soft front panel: the Qt front end runs the program's start-up, event loop and
// shutdown.
#include "qm4120_sfp.h"
#include "ui/qt/qt_main.h"

int main(int argc, char** argv) {
    return qmRunQtFrontend(argc, argv, [argc, argv] { return qm4120SfpMain(argc, argv); });
}
