// Popups answered by the headless script, the event loop, time, the busy cursor and the path and date
// utilities.
#include <regex>

#include "ui_fixture.h"

namespace {

using uitest::UiTest;

class Popups : public UiTest {};

TEST_F(Popups, ScriptedAnswersAndDefaultsAreRecorded) {
    fe.expectConfirm(0);
    fe.answerFile("/tmp/capture.txt", VAL_NEW_FILE_SELECTED);
    fe.answerDir("/tmp/settings");

    EXPECT_EQ(MessagePopup("4120 Driver Error", "Instrument not booted"), 0) << "messages need no script";
    EXPECT_EQ(ConfirmPopup("Confirm Action", "COMMIT all pages.\n\nAre you sure?"), 0);
    char path[MAX_PATHNAME_LEN] = "junk";
    EXPECT_EQ(FileSelectPopup("/tmp", "*.txt", "*.txt;*.csv", "Save Captured Data", VAL_SAVE_BUTTON, 0, 1, 1,
                              1, path),
              VAL_NEW_FILE_SELECTED);
    EXPECT_STREQ(path, "/tmp/capture.txt");
    EXPECT_EQ(DirSelectPopup("/home", "Settings Directory", 1, 1, path), VAL_DIRECTORY_SELECTED);
    EXPECT_STREQ(path, "/tmp/settings");
    EXPECT_EQ(fe.pendingAnswers(), 0u);

    // Script empty: the defaults.
    EXPECT_EQ(ConfirmPopup("Confirm Action", "Sure?"), 1);
    EXPECT_EQ(FileSelectPopup("", "", "", "Load", VAL_LOAD_BUTTON, 0, 0, 1, 0, path), VAL_NO_FILE_SELECTED);
    EXPECT_STREQ(path, "") << "nothing selected leaves an empty path";

    ASSERT_EQ(fe.popups().size(), 6u);
    const ui::PopupRecord& first = fe.popups()[0];
    EXPECT_EQ(first.kind, ui::PopupKind::Message);
    EXPECT_EQ(first.title, "4120 Driver Error");
    EXPECT_EQ(first.text, "Instrument not booted");
    EXPECT_EQ(fe.popups()[1].answer, 0);
    EXPECT_EQ(fe.popups()[2].fileRequest.fileTypeList, "*.txt;*.csv");
    EXPECT_TRUE(fe.popups()[2].fileRequest.restrictExtension);
    EXPECT_EQ(fe.popups()[2].path, "/tmp/capture.txt");
    EXPECT_EQ(fe.countPopups("Confirm Action"), 2);
    EXPECT_EQ(fe.popupsOf(ui::PopupKind::FileSelect).size(), 2u);
    EXPECT_TRUE(fe.scriptErrors().empty());
}

TEST_F(Popups, AnAnswerOfTheWrongKindIsAScriptError) {
    fe.answerFile("/tmp/a.ini");
    EXPECT_EQ(ConfirmPopup("Confirm Action", "Sure?"), 1) << "the default, the file answer stays queued";
    ASSERT_EQ(fe.scriptErrors().size(), 1u);
    EXPECT_NE(fe.scriptErrors()[0].find("confirm popup \"Confirm Action\""), std::string::npos);
    MessagePopup("Note", "a message passes by the queued file answer silently");
    EXPECT_EQ(fe.scriptErrors().size(), 1u);
    char path[MAX_PATHNAME_LEN];
    EXPECT_EQ(FileSelectPopup("", "", "", "", 0, 0, 0, 1, 0, path), VAL_EXISTING_FILE_SELECTED);
    EXPECT_STREQ(path, "/tmp/a.ini");
}

TEST_F(Popups, WhileAPopupIsUpTheTestSeesThePanelsBehindIt) {
    const int p = shown(R"({"name":"MSG","kind":"textMsg"})");
    SetCtrlVal(p, 2, "Capturing");
    std::string shownDuring;
    fe.whilePopupUp([&](const ui::PopupRecord& r) { shownDuring = r.title + ": " + op.shows(p, 2); });
    MessagePopup("Error:", "thread pool");
    EXPECT_EQ(shownDuring, "Error:: Capturing");

    // A watcher sees every popup until cleared; unused one-shot actions can be dropped.
    int busyPopups = 0;
    fe.watchPopups([&](const ui::PopupRecord&) { busyPopups += fe.busy(); });
    fe.whilePopupUp([&](const ui::PopupRecord&) { shownDuring = "unused"; });
    fe.clearPopupActions();
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    MessagePopup("a", "b");
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    ConfirmPopup("c", "d");
    fe.watchPopups(nullptr);
    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    MessagePopup("e", "f");
    EXPECT_EQ(busyPopups, 1);
    EXPECT_EQ(shownDuring, "Error:: Capturing");
}

TEST_F(Popups, WithoutAFrontEndPopupsAndTheLoopReportIt) {
    ui::setFrontend(nullptr);
    EXPECT_EQ(MessagePopup("a", "b"), UIE_NO_FRONTEND);
    EXPECT_EQ(ConfirmPopup("a", "b"), UIE_NO_FRONTEND);
    EXPECT_EQ(RunUserInterface(), UIE_NO_FRONTEND);
    EXPECT_EQ(ProcessSystemEvents(), 0);
    ui::setFrontend(&fe);
}

class Loop : public UiTest {};

TEST_F(Loop, RunsStepsUntilQuitAndReturnsTheQuitCode) {
    int steps = 0;
    fe.addLoopStep([&] { ++steps; });
    fe.addLoopStep([&] {
        ++steps;
        QuitUserInterface(7);
    });
    fe.addLoopStep([&] { ++steps; });
    EXPECT_EQ(RunUserInterface(), 7);
    EXPECT_EQ(steps, 2) << "returns at once when quit";
    EXPECT_FALSE(fe.loopRanDry());

    // Without a quit the loop returns when the steps run out, so a faulty program cannot hang a test.
    RunUserInterface();
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(fe.loopRanDry());

    // A quit asked for before the loop starts ends it at once.
    QuitUserInterface(0);
    fe.addLoopStep([&] { ++steps; });
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_EQ(steps, 3);
}

TEST_F(Loop, PostedGesturesRunWhenTheProgramProcessesEvents) {
    const int p = shown(R"({"name":"STOP","kind":"button","callback":"onCtrl"})");
    fe.post([&] { EXPECT_TRUE(op.press(p, 2)); });
    EXPECT_TRUE(uitest::events().empty());
    ProcessDrawEvents();
    EXPECT_TRUE(uitest::events().empty()) << "drawing runs no callbacks";
    ProcessSystemEvents();
    EXPECT_EQ(uitest::events().size(), 2u);
    EXPECT_EQ(fe.drawCalls(), 1);
}

TEST_F(Loop, DelayAndTimerUseTheVirtualClock) {
    const double start = Timer();
    std::vector<double> hooked;
    fe.setDelayHook([&](double s) { hooked.push_back(s); });
    EXPECT_EQ(Delay(3.0), 0);
    EXPECT_EQ(Delay(-1.0), 0) << "a negative wait returns at once";
    EXPECT_DOUBLE_EQ(Timer() - start, 3.0);
    EXPECT_EQ(hooked, std::vector<double>{3.0});
    EXPECT_EQ(Delay(1e9), UIE_BAD_VALUE) << "an absurd wait is refused, not slept";

    SetMouseCursor(VAL_HOUR_GLASS_CURSOR);
    EXPECT_TRUE(fe.busy());
    int cursor = 0;
    GetMouseCursor(&cursor);
    EXPECT_EQ(cursor, VAL_HOUR_GLASS_CURSOR);
    SetMouseCursor(VAL_DEFAULT_CURSOR);
    EXPECT_FALSE(fe.busy());
    EXPECT_EQ(fe.busyChanges(), 2);
    EXPECT_EQ(SetMouseCursor(42), UIE_BAD_VALUE);
}

TEST(Utilities, PathsJoinWithOneSeparator) {
    char path[MAX_PATHNAME_LEN];
    MakePathname("/opt/qm", "qm4120_sfp.ini", path);
    EXPECT_STREQ(path, "/opt/qm/qm4120_sfp.ini");
    MakePathname("/opt/qm/", "settings", path);
    EXPECT_STREQ(path, "/opt/qm/settings");
    MakePathname("C:\\\\data\\", "\\run1.ini", path);
    EXPECT_STREQ(path, "C:/data/run1.ini") << "backslashes become slashes, doubles collapse";
    EXPECT_EQ(MakePathname(std::string(300, 'a').c_str(), "x", path), UIE_BAD_VALUE);
    EXPECT_STREQ(path, "");

    char dir[MAX_PATHNAME_LEN];
    ASSERT_EQ(GetModuleDir(dir), 0);
    EXPECT_EQ(dir[0], '/');
    EXPECT_NE(std::string(dir).back(), '/');

    EXPECT_TRUE(std::regex_match(DateStr(), std::regex(R"(\d\d-\d\d-\d{4})"))) << DateStr();
    EXPECT_TRUE(std::regex_match(TimeStr(), std::regex(R"(\d\d:\d\d:\d\d)"))) << TimeStr();
    char message[CMT_MAX_MESSAGE_BUF_SIZE];
    CmtGetErrorMessage(UIE_BAD_THREAD_POOL, message);
    EXPECT_STREQ(message, GetUILErrorString(UIE_BAD_THREAD_POOL));
}

}  // namespace
