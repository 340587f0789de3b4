// Loading panels from resource texts (and every way that can fail), child panels, discarding, modal popups.
#include "ui_fixture.h"

namespace {

using uitest::UiTest;

class Panels : public UiTest {};

const std::string TWO_PANELS = R"json({"file":"test.uir","panels":[
    {"name":"MAIN","title":"Main","width":1000,"height":720,"bgColor":"0x102030","menuBar":"MENU",
     "controls":[{"name":"FREQ","kind":"numeric","dataType":"double","label":"RF Freq (Hz)",
                  "min":2.5e8,"max":2.5e9,"value":2e9,"inc":1e6,"callback":"onCtrl","dimmed":true,
                  "textColor":255,"toolTip":"Sets the RF frequency, in Hz"}]},
    {"name":"PAGE","title":"Generic","top":5,"left":6,"closeBox":false,"controls":[]}],
  "menuBars":[{"name":"MENU","menus":[{"name":"FILE","label":"__File","items":[
    {"name":"EXIT","label":"E__xit","callback":"onMenu"}]}]}]})json";

TEST_F(Panels, LoadBuildsPanelControlsAndMenuBarFromTheResource) {
    const int p = load(TWO_PANELS, 1);
    ASSERT_GT(p, 0);
    const ui::Panel* panel = ui::findPanel(p);
    EXPECT_EQ(panel->constName, "MAIN");
    EXPECT_EQ(panel->resourceConstant, 1);
    EXPECT_EQ(panel->bgColor, 0x102030);
    EXPECT_FALSE(panel->visible) << "loaded panels wait for DisplayPanel";
    const ui::Control* freq = ui::findControl(p, 2);
    ASSERT_NE(freq, nullptr);
    EXPECT_EQ(freq->type, ui::DataType::Double);
    EXPECT_EQ(freq->number, 2e9);
    EXPECT_EQ(freq->increment, 1e6);
    EXPECT_TRUE(freq->dimmed);
    EXPECT_EQ(freq->textColor, 255);
    EXPECT_EQ(freq->callback, &uitest::recordCtrl);
    EXPECT_EQ(GetPanelMenuBar(p), panel->menuBar);
    EXPECT_EQ(ui::findMenuNode(panel->menuBar, 3)->label, "E__xit") << "menu FILE is 2, its item 3";
    EXPECT_TRUE(fe.changesOf(p, 0) & ui::ChCreated);

    // The same panel loads again as a new, independent handle.
    const int again = LoadPanel(0, "test.uir", 1);
    EXPECT_GT(again, p);
    EXPECT_NE(GetPanelMenuBar(again), GetPanelMenuBar(p));
    EXPECT_EQ(ui::panelHandles(), (std::vector<int>{p, again}));
    // A path in front of the file name is ignored: files are known by name.
    EXPECT_GT(LoadPanel(0, "/opt/qm/bin/test.uir", 2), 0);
}

TEST_F(Panels, LoadFailuresReportWhatWentWrongAndCreateNothing) {
    EXPECT_EQ(LoadPanel(0, "nothing.uir", 1), UIE_FILE_NOT_FOUND);
    EXPECT_EQ(LoadPanel(0, nullptr, 1), UIE_FILE_NOT_FOUND);
    EXPECT_EQ(load("{\"panels\": [ {\"name\": "), UIE_BAD_RESOURCE) << "cut-off JSON";
    EXPECT_EQ(load("[1,2,3]"), UIE_BAD_RESOURCE);
    EXPECT_EQ(load(TWO_PANELS, 3), UIE_PANEL_NOT_FOUND);
    EXPECT_EQ(load(TWO_PANELS, 0), UIE_PANEL_NOT_FOUND);
    // The reader's own rules have their table with the resource checks; these show a refusal fails the load.
    EXPECT_EQ(load(panelWith(R"({"name":"X","kind":"numeric","bgColor":"0xGG"})")), UIE_BAD_RESOURCE);
    EXPECT_EQ(load(panelWith(R"({"name":"X","kind":"numeric","dataType":"float"})")), UIE_BAD_RESOURCE);
    EXPECT_EQ(load(panelWith(R"({"name":"X","kind":"numeric","label":7})")), UIE_BAD_RESOURCE);
    EXPECT_EQ(load(panelWith(R"({"name":"X","kind":"button","callback":"cmdNobodyRegistered"})")),
              UIE_CALLBACK_NOT_FOUND);
    EXPECT_EQ(load(panelWith("", R"(,"menuBar":"NOSUCHBAR")")), UIE_BAD_RESOURCE);
    std::string badMenu = TWO_PANELS;
    badMenu.replace(badMenu.find("\"onMenu\""), 8, "\"cmdUnknownMenu\"");
    EXPECT_EQ(load(badMenu), UIE_CALLBACK_NOT_FOUND);
    EXPECT_TRUE(ui::panelHandles().empty()) << "a failed load leaves nothing behind";
    EXPECT_EQ(LoadPanel(77, "test.uir", 1), UIE_BAD_PANEL) << "unknown parent";

    // An override removed falls back to the embedded files, where "test.uir" does not exist.
    ui::setResourceOverride("test.uir", nullptr);
    EXPECT_EQ(LoadPanel(0, "test.uir", 1), UIE_FILE_NOT_FOUND);
    EXPECT_STRNE(GetUILErrorString(UIE_CALLBACK_NOT_FOUND), GetUILErrorString(UIE_BAD_RESOURCE));
}

TEST_F(Panels, DiscardingAPanelTakesItsChildrenAndMenuBar) {
    const int main = load(TWO_PANELS, 1);
    const int child = LoadPanel(main, "test.uir", 2);
    const int grandChild = LoadPanel(child, "test.uir", 2);
    ASSERT_GT(grandChild, 0);
    EXPECT_EQ(ui::findPanel(child)->parent, main);
    int parent = 0;
    GetPanelAttribute(child, ATTR_PANEL_PARENT, &parent);
    EXPECT_EQ(parent, main);
    const int bar = GetPanelMenuBar(main);
    DisplayPanel(main);
    SetActivePanel(main);

    EXPECT_EQ(DiscardPanel(main), 0);
    EXPECT_EQ(ui::findPanel(child), nullptr);
    EXPECT_EQ(ui::findPanel(grandChild), nullptr);
    EXPECT_EQ(ui::findMenuBar(bar), nullptr);
    EXPECT_EQ(GetActivePanel(), 0);
    EXPECT_TRUE(fe.changesOf(grandChild, 0) & ui::ChDiscarded);
    EXPECT_EQ(DiscardPanel(main), UIE_BAD_PANEL);
    EXPECT_EQ(DisplayPanel(main), UIE_BAD_PANEL);
}

TEST_F(Panels, PopupsStackAndOnlyTheTopOneTakesInput) {
    const int main = shown(R"({"name":"B","kind":"button","callback":"onCtrl"})");
    const int dialog = load(TWO_PANELS, 2);
    const int inner = load(TWO_PANELS, 2);
    const int dialogChild = LoadPanel(dialog, "test.uir", 2);
    DisplayPanel(dialogChild);

    EXPECT_EQ(InstallPopup(dialog), 0);
    EXPECT_EQ(InstallPopup(dialog), UIE_BAD_PANEL) << "already up";
    EXPECT_EQ(ui::topPopup(), dialog);
    EXPECT_TRUE(ui::findPanel(dialog)->visible);
    EXPECT_FALSE(ui::panelTakesGestures(main));
    EXPECT_TRUE(ui::panelTakesGestures(dialogChild)) << "a dialog's own child panel stays usable";
    EXPECT_FALSE(op.press(main, 2)) << "the main panel is behind a modal dialog";
    EXPECT_TRUE(uitest::events().empty());

    InstallPopup(inner);
    EXPECT_EQ(GetActivePanel(), inner);
    EXPECT_FALSE(ui::panelTakesGestures(dialog));
    EXPECT_EQ(RemovePopup(0), 0) << "0 takes down the topmost";
    EXPECT_FALSE(ui::findPanel(inner)->visible);
    EXPECT_EQ(ui::topPopup(), dialog);
    EXPECT_EQ(HidePanel(dialog), 0) << "hiding a dialog also ends its modality";
    EXPECT_EQ(ui::topPopup(), 0);
    EXPECT_EQ(RemovePopup(0), UIE_BAD_PANEL);
    EXPECT_TRUE(op.press(main, 2));

    InstallPopup(dialog);
    DiscardPanel(dialog);
    EXPECT_EQ(ui::topPopup(), 0) << "a discarded dialog leaves the stack";
}

}  // namespace
