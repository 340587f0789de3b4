#include "qt_main.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include "qt_frontend.h"

int qmRunQtFrontend(int argc, char** argv, const std::function<int()>& mainBody) {
    QApplication app(argc, argv);
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
