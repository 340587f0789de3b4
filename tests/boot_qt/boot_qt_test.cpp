// The boot dialog on the Qt front end, walked with real mouse gestures: BOOTBUTTON, a double-click on a
// resource, the configuration list. Pictures of both dialog panels go to <build>/screenshots/.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "pxi_korvo_sim.h"
#include "qm4120.h"
#include "qm4120_sfp.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_boot.h"
#include "qm41xx_boot_uir.h"
#include "qm_faults.h"
#include "ui/model.h"
#include "ui/qt/qt_frontend.h"
#include "userint.h"

namespace {

class BootDialogQt : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::resetRuntime();
        ui::setFrontend(&fe);
        resetAppState();
        qm_fault_clear_all();
        korvo_simResetAll();
        char pattern[] = "/tmp/qm4120_boot_qt_XXXXXX";
        const char* dir = mkdtemp(pattern);
        ASSERT_NE(dir, nullptr);
        programDir = dir;
        appState.programDirOverride = programDir;
        appState.splashSeconds = 0;
        appState.monitorStepDelay = [](double) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 0;
        };
        char name[] = "qm4120_sfp";
        char* argv[] = {name, nullptr};
        ASSERT_EQ(appStartup(1, argv), 0);
        settle();
    }

    void TearDown() override {
        appShutdown();
        if (isActive4120()) qm4120_close(getQM4120id());
        appState.instrumentBooted = 0;
        appState.sessionHandle = 0;
        korvo_simResetAll();
        ui::resetRuntime();
        settle();
        ui::setFrontend(nullptr);
        resetAppState();
        std::error_code ignored;
        std::filesystem::remove_all(programDir, ignored);
    }

    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fe.processDrawEvents();
    }

    template <class W>
    W* widget(int panel, int control) {
        return qobject_cast<W*>(fe.controlWidget(panel, control));
    }

    void click(int panel, int control) {
        QWidget* w = fe.controlWidget(panel, control);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible());
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        settle();
    }

    // Row of the list entry whose text is `label`, -1 if none.
    static int rowOf(QListView* view, const QString& label) {
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString() == label) return r;
        return -1;
    }

    void doubleClickRow(QListView* view, int row) {
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        settle();
    }

    bool windowShown(int panel) {
        QWidget* w = fe.panelWidget(panel);
        return w && w->isVisible();
    }

    void shoot(int panel, const char* name) {
        QWidget* w = fe.panelWidget(panel);
        ASSERT_NE(w, nullptr);
        const QImage image = w->grab().toImage();
        ASSERT_FALSE(image.isNull());
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(QM_SCREENSHOT_DIR)));
        EXPECT_TRUE(image.save(QStringLiteral(QM_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name))));
    }

    qmqt::QtFrontend fe;
    std::string programDir;
};

TEST_F(BootDialogQt, DoubleClickOnAResourceBootsIt) {
    click(appState.mainPanel, MAINPANEL_BOOTBUTTON);
    ASSERT_TRUE(windowShown(appState.bootPanel));
    auto* list = widget<QListView>(appState.bootPanel, BOOTPANEL_LIST_RES);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model()->rowCount(), 4);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), QStringLiteral("PXI KORVO\t4125"));
    shoot(appState.bootPanel, "boot_dialog_resources");

    const int row = rowOf(list, QStringLiteral("PXI KORVO\t4A20"));
    ASSERT_GE(row, 0);
    doubleClickRow(list, row);

    ASSERT_TRUE(isActive4120());
    uint16_t model = 0;
    ASSERT_GE(qm4120_getModelCode(getQM4120id(), &model), 0);
    EXPECT_EQ(model, 0x4A20);
    EXPECT_FALSE(windowShown(appState.bootPanel));
    std::string resource;
    GetCtrlVal(appState.mainPanel, MAINPANEL_MODULE_RESOURCE, &resource);
    EXPECT_EQ(resource, "0x4A20");
}

TEST_F(BootDialogQt, ConfigurationIsChosenFromItsOwnList) {
    click(appState.mainPanel, MAINPANEL_BOOTBUTTON);
    auto* resources = widget<QListView>(appState.bootPanel, BOOTPANEL_LIST_RES);
    ASSERT_NE(resources, nullptr);
    const int row = rowOf(resources, QStringLiteral("PXI KORVO\t4125"));
    ASSERT_GE(row, 0);
    QTest::mouseClick(resources->viewport(), Qt::LeftButton, {},
                      resources->visualRect(resources->model()->index(row, 0)).center());
    settle();

    auto* box = widget<QCheckBox>(appState.bootPanel, BOOTPANEL_BOOT_DEFAULT);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isChecked());
    box->click();
    settle();
    int bootDefault = 1;
    GetCtrlVal(appState.bootPanel, BOOTPANEL_BOOT_DEFAULT, &bootDefault);
    ASSERT_EQ(bootDefault, 0);
    click(appState.bootPanel, BOOTPANEL_BOOT_OK_BUTTON);

    const int conf = bootPanelConfigHandle();
    ASSERT_GT(conf, 0);
    ASSERT_TRUE(windowShown(conf));
    EXPECT_FALSE(windowShown(appState.bootPanel));
    EXPECT_FALSE(isActive4120());
    auto* configs = widget<QListView>(conf, CONFPANEL_CONFIG_RES);
    ASSERT_NE(configs, nullptr);
    ASSERT_GE(configs->model()->rowCount(), 2);
    EXPECT_EQ(rowOf(configs, QStringLiteral("Reserved")), -1);
    shoot(conf, "boot_dialog_configurations");

    const int last = configs->model()->rowCount() - 1;
    unsigned short chosen = 0;
    GetValueFromIndex(conf, CONFPANEL_CONFIG_RES, last, &chosen);
    doubleClickRow(configs, last);

    ASSERT_TRUE(isActive4120());
    uint16_t running = 0;
    ASSERT_GE(qm4120_getFPGAConfig(getQM4120id(), &running), 0);
    EXPECT_EQ(running, chosen);
    EXPECT_FALSE(windowShown(conf));
    EXPECT_FALSE(windowShown(appState.bootPanel));
}

}  // namespace
