#include "qt_main.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qt_frontend.h"

namespace {

const char NO_WINDOW_HINT[] =
    "Start it on a desktop, under a virtual display (xvfb-run), or without windows "
    "(QT_QPA_PLATFORM=offscreen).\n";

const char* programName = "qm4120_sfp";

// While the application object starts, a windowing system that cannot be opened is a fatal message of
// Qt's, after which it would abort: say what is wrong and leave with the -1 of a failed start instead.
void startupMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open a window. %s", programName, NO_WINDOW_HINT);
        std::fflush(stderr);
        std::_Exit(255);
    }
}

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// No display to open and no platform chosen: nothing Qt could start on.
bool noDisplayAtAll(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) return false;
    }
    return !isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY");
}

}  // namespace

int qmRunQtFrontend(int argc, char** argv, const std::function<int()>& mainBody) {
    if (argc > 0 && argv[0]) {
        const char* slash = std::strrchr(argv[0], '/');
        programName = slash ? slash + 1 : argv[0];
    }
    if (noDisplayAtAll(argc, argv)) {
        std::fprintf(stderr, "%s: no display (DISPLAY and WAYLAND_DISPLAY are not set). %s", programName,
                     NO_WINDOW_HINT);
        return -1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    // One look on every desktop (and in the offscreen screenshots): the panels are laid out in pixels.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    // Panels close and hide under the program's control; the last hidden window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    int status = 0;
    {
        qmqt::QtFrontend frontend;
        ui::setFrontend(&frontend);
        status = mainBody ? mainBody() : 0;
        ui::setFrontend(nullptr);
    }
    return status;
}
