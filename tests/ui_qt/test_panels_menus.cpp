// Panels as windows (titles, close box, child panels, tab pages, modal popups), menu bars, the Qt popups,
// the busy cursor, the taskbar text and the event loop.
#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "qt_fixture.h"

TEST_F(QtFrontendTest, PanelIsAWindowWithTitleAndItsCloseBoxSendsTheCloseEvent) {
    const int panel = loadTestPanel("PANEL");
    QWidget* window = fe_.panelWidget(panel);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Front end test");
    SetPanelAttribute(panel, ATTR_TITLE, "Tarvex 412x PXI RF Digitizer for PXI Korvo");
    EXPECT_EQ(window->windowTitle(), "Tarvex 412x PXI RF Digitizer for PXI Korvo");

    // The program moves the keyboard focus (a grid click focusing the matching edit field).
    const int file = ctrl(panel, "FILE");
    SetActiveCtrl(panel, file);
    EXPECT_EQ(window->focusWidget(), fe_.controlWidget(panel, file));

    window->close();
    EXPECT_EQ(panelEvents, (std::vector<PanelEvent>{{panel, EVENT_CLOSE}}));
    EXPECT_TRUE(window->isVisible()) << "the program decides whether the panel goes";
    HidePanel(panel);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(QtFrontendTest, ChildPanelSitsInsideItsParent) {
    const int panel = loadTestPanel("PANEL");
    const int child = LoadPanel(panel, "qt_test.uir", 2);
    ASSERT_GT(child, 0);
    DisplayPanel(child);
    settle();
    QWidget* region = fe_.panelWidget(child);
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(region->isWindow());
    EXPECT_EQ(region->window(), fe_.panelWidget(panel));
    EXPECT_EQ(region->geometry(), QRect(60, 60, 160, 40));
    DiscardPanel(child);
    settle();
    EXPECT_EQ(fe_.panelWidget(child), nullptr);
}

TEST_F(QtFrontendTest, TabPagesAreThePagePanelsAndAClickSelectsOne) {
    const int panel = loadTestPanel("PANEL");
    const int tabs = ctrl(panel, "TABS");
    auto* tabWidget = widget<QTabWidget>(panel, tabs);
    ASSERT_NE(tabWidget, nullptr);
    ASSERT_EQ(tabWidget->count(), 2);
    EXPECT_EQ(tabWidget->tabText(0), "Control board");
    int page = 0;
    GetPanelHandleFromTabPage(panel, tabs, 1, &page);
    EXPECT_EQ(tabWidget->widget(1), fe_.panelWidget(page));

    QTest::mouseClick(tabWidget->tabBar(), Qt::LeftButton, {}, tabWidget->tabBar()->tabRect(1).center());
    int active = -1;
    GetActiveTabPage(panel, tabs, &active);
    EXPECT_EQ(active, 1);
    SetActiveTabPage(panel, tabs, 0);
    EXPECT_EQ(tabWidget->currentIndex(), 0);

    // A panel loaded on its own and added as a page (the board-identity pages) leaves its window.
    const int extra = LoadPanel(0, "qt_test.uir", 2);
    ASSERT_GT(extra, 0);
    DisplayPanel(extra);
    settle();
    ASSERT_NE(fe_.panelWidget(extra), nullptr);
    EXPECT_TRUE(fe_.panelWidget(extra)->isWindow());
    ASSERT_EQ(InsertPanelAsTabPage(panel, tabs, -1, extra), 2);
    settle();
    ASSERT_EQ(tabWidget->count(), 3);
    EXPECT_EQ(tabWidget->widget(2), fe_.panelWidget(extra));
    EXPECT_FALSE(fe_.panelWidget(extra)->isWindow());
    EXPECT_TRUE(fe_.panelWidget(extra)->findChild<QLabel*>() != nullptr);

    // A panel loaded inside the tab's panel and added as a named page, as the board-identity pages are.
    const int inner = LoadPanel(panel, "qt_test.uir", 2);
    ASSERT_EQ(InsertPanelAsTabPage(panel, tabs, -1, inner), 3);
    SetTabPageAttribute(panel, tabs, 3, ATTR_LABEL_TEXT, "RF board");
    settle();
    ASSERT_EQ(tabWidget->count(), 4);
    EXPECT_EQ(tabWidget->widget(3), fe_.panelWidget(inner));
    EXPECT_EQ(tabWidget->tabText(3), "RF board");
}

TEST_F(QtFrontendTest, MenuItemsCarryTheirChecksDimmingAndReachTheMenuCallback) {
    const int panel = loadTestPanel("PANEL");
    const int bar = GetPanelMenuBar(panel);
    ASSERT_GT(bar, 0);
    auto* window = qobject_cast<QMainWindow*>(fe_.panelWidget(panel));
    ASSERT_NE(window, nullptr);
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");

    QAction* fft = fe_.menuAction(bar, menuId(bar, "FFT"));
    QAction* trunc = fe_.menuAction(bar, menuId(bar, "TRUNC"));
    QAction* save = fe_.menuAction(bar, menuId(bar, "SAVE"));
    ASSERT_TRUE(fft && trunc && save);
    EXPECT_EQ(save->text(), "&Save Captured Data...");
    EXPECT_TRUE(fft->isChecked());
    EXPECT_FALSE(trunc->isEnabled());

    save->trigger();
    EXPECT_EQ(menuEvents, (std::vector<MenuEvent>{{bar, menuId(bar, "SAVE"), panel}}));

    // Qt would toggle the check by itself; the menu shows what the program set.
    fft->trigger();
    EXPECT_TRUE(fft->isChecked());
    SetMenuBarAttribute(bar, menuId(bar, "FFT"), ATTR_CHECKED, 0);
    SetMenuBarAttribute(bar, menuId(bar, "TRUNC"), ATTR_DIMMED, 0);
    EXPECT_FALSE(fft->isChecked());
    EXPECT_TRUE(trunc->isEnabled());

    // A menu added at run time (the engineering menu) works like the others.
    const int eng = NewMenu(bar, "Engineering", -1);
    ASSERT_GT(eng, 0);
    const int item = NewMenuItem(
        bar, eng, "Panel...", -1, 0,
        [](int b, int i, void*, int p) {
            menuEvents.push_back({b, i, p});
        },
        nullptr);
    ASSERT_GT(item, 0);
    QAction* added = fe_.menuAction(bar, item);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(window->menuBar()->actions().size(), 3);
    added->trigger();
    EXPECT_EQ(menuEvents,
              (std::vector<MenuEvent>{
                  {bar, menuId(bar, "SAVE"), panel}, {bar, menuId(bar, "FFT"), panel}, {bar, item, panel}}));
}

TEST_F(QtFrontendTest, InstalledPopupIsApplicationModal) {
    const int panel = loadTestPanel("PANEL");
    const int child = LoadPanel(0, "qt_test.uir", 2);
    ASSERT_GT(child, 0);
    InstallPopup(child);
    settle();
    QWidget* popup = fe_.panelWidget(child);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->windowModality(), Qt::ApplicationModal);
    // Gestures outside the popup are ignored while it is up.
    QTest::mouseClick(widget<QPushButton>(panel, ctrl(panel, "START")), Qt::LeftButton);
    EXPECT_TRUE(eventsOf(EVENT_COMMIT).empty());
    RemovePopup(child);
    settle();
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(QtFrontendTest, PopupsAreQtDialogsAndReturnTheAnswer) {
    answerNextModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "4120 Driver Error");
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MessagePopup("4120 Driver Error", "Instrument not booted"), 0);

    answerNextModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "COMMIT all pages.\n\nAre you sure?");
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(ConfirmPopup("Confirm Action", "COMMIT all pages.\n\nAre you sure?"), 1);
    answerNextModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
    EXPECT_EQ(ConfirmPopup("Confirm Action", "Reset?\n\nAre you sure?"), 0);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("trace.txt");
    answerNextModal([target](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(target);
        static_cast<QDialog*>(dialog)->accept();  // the dialog checks the name as on OK
    });
    char path[MAX_PATHNAME_LEN] = {};
    EXPECT_EQ(FileSelectPopup(dir.path().toUtf8().constData(), "*.txt", "*.txt;*.csv", "Save FFT Trace",
                              VAL_SAVE_BUTTON, 0, 1, 1, 1, path),
              VAL_NEW_FILE_SELECTED);
    EXPECT_EQ(QString(path), target);

    answerNextModal([](QWidget* w) { qobject_cast<QFileDialog*>(w)->reject(); });
    EXPECT_EQ(DirSelectPopup(dir.path().toUtf8().constData(), "Settings Directory", 1, 1, path),
              VAL_NO_DIRECTORY_SELECTED);
}

TEST_F(QtFrontendTest, BusyCursorTaskbarTextAndEventLoop) {
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    SetSystemAttribute(ATTR_TASKBAR_BUTTON_TEXT, "qm4120 Soft Panel for PXI Korvo");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "qm4120 Soft Panel for PXI Korvo");

    QTimer::singleShot(0, [] { QuitUserInterface(7); });
    EXPECT_EQ(RunUserInterface(), 7);
}

TEST_F(QtFrontendTest, CallbackMayDiscardItsOwnPanel) {
    const int panel = loadTestPanel("PANEL");
    const int start = ctrl(panel, "START");
    onCtrlEvent = [](int p, int, int event) {
        if (event == EVENT_COMMIT) DiscardPanel(p);
    };
    auto* button = widget<QPushButton>(panel, start);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(ui::findPanel(panel), nullptr);
    settle();
    EXPECT_EQ(fe_.panelWidget(panel), nullptr);
}
