// Pictures of widgets as they are drawn, for a person to look at: saved as <QM_SCREENSHOT_DIR>/<name>.png
// (the test target defines QM_SCREENSHOT_DIR, the build folder's screenshots/).
#ifndef QM_TESTS_SUPPORT_SCREENSHOT_H
#define QM_TESTS_SUPPORT_SCREENSHOT_H

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

// Draws `widget` and saves the picture; a widget that is missing, draws nothing or cannot be saved fails
// the test. Returns the picture for further checks.
inline QImage saveScreenshot(QWidget* widget, const QString& name) {
    if (!widget) {
        ADD_FAILURE() << "no widget to picture as " << name.toStdString();
        return {};
    }
    const QImage image = widget->grab().toImage();
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_TRUE(QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(QM_SCREENSHOT_DIR "/%1.png").arg(name))) << name.toStdString();
    return image;
}

#endif
