// Process entry of the soft front panel: --help and --version are answered on the terminal before
// anything graphical starts; otherwise the Qt front end runs the program's start-up, event loop and
// shutdown (which reads the QZTRACE switch itself).
#include <cstdio>
#include <cstring>

#include "qm4120_sfp.h"
#include "ui/qt/qt_main.h"

// The version marker compiled into the program ("QM_FILE_VERSION=x.y.z.w"), as the File Versions panel
// reads it.
extern "C" const char qm_file_version_qm4120_sfp[];

namespace {

const char USAGE[] =
    "Usage: qm4120_sfp [QZTRACE] [--help] [--version]\n"
    "Soft front panel of the QM4120 family of PXI RF digitizer modules.\n"
    "\n"
    "  QZTRACE     start in engineering mode (any letter case)\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "The settings folder is read from qm4120_sfp.ini beside the program, or from\n"
    "$XDG_CONFIG_HOME/qm4120_sfp/qm4120_sfp.ini when that folder is not writable.\n"
    "Without a module the program runs on the simulated one; QM4120_SIM_SIGNAL describes its signal.\n"
    "See qm4120_sfp(1).\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            const char* version = std::strchr(qm_file_version_qm4120_sfp, '=');
            std::printf("qm4120_sfp %s\n", version ? version + 1 : qm_file_version_qm4120_sfp);
            return 0;
        }
    }
    return qmRunQtFrontend(argc, argv, [argc, argv] { return qm4120SfpMain(argc, argv); });
}
