// Menu bars: ids as the generated constants number them, check and dim states, menus and items added and
// removed at run time, choosing items.
#include "ui_fixture.h"

namespace {

using uitest::UiTest;

class Menus : public UiTest {
  protected:
    // Numbering as the resource constants: FILE 2, SAVE 3, EXIT 4, SETTINGS 5, LVDS 6, LVDS_OUT 7,
    // LVDS_IN 8, AUTO 9; separators and submenus take no number.
    void SetUp() override {
        UiTest::SetUp();
        panel = load(R"({"file":"test.uir","panels":[{"name":"MAIN","menuBar":"MENU","controls":[]}],
          "menuBars":[{"name":"MENU","menus":[
            {"name":"FILE","label":"__File","items":[
              {"name":"SAVE","label":"__Save","callback":"onMenu"},{"separator":true},
              {"name":"EXIT","label":"E__xit","callback":"onMenu"}]},
            {"name":"SETTINGS","label":"__Settings","items":[
              {"name":"LVDS","label":"LVDS","submenu":[
                {"name":"OUT","label":"Output","callback":"onMenu"},
                {"name":"IN","label":"Input","callback":"onMenu","dimmed":true}]},
              {"name":"AUTO","label":"Auto","callback":"onMenu","checked":true}]}]}]})");
        ASSERT_GT(panel, 0);
        DisplayPanel(panel);
        bar = GetPanelMenuBar(panel);
    }
    int panel = 0;
    int bar = 0;
};

TEST_F(Menus, ResourceEntriesCarryTheirConstantsAndStates) {
    const std::vector<std::pair<int, std::string>> expected = {{2, "FILE"},     {3, "SAVE"}, {4, "EXIT"},
                                                               {5, "SETTINGS"}, {6, "LVDS"}, {7, "OUT"},
                                                               {8, "IN"},       {9, "AUTO"}};
    for (const auto& [id, name] : expected) {
        ASSERT_NE(ui::findMenuNode(bar, id), nullptr) << name;
        EXPECT_EQ(ui::findMenuNode(bar, id)->constName, name);
    }
    EXPECT_TRUE(op.menuChecked(bar, 9));
    EXPECT_TRUE(op.menuDimmed(bar, 8));
    int submenu = 0;
    GetMenuBarAttribute(bar, 6, ATTR_SUBMENU_ID, &submenu);
    EXPECT_GT(submenu, 9) << "submenus get ids above every constant";
    const ui::MenuNode* separator = &ui::findMenuNode(bar, 2)->children[1];
    EXPECT_TRUE(separator->separator);
    EXPECT_GT(separator->id, 9);
}

TEST_F(Menus, CheckDimAndNameAttributes) {
    EXPECT_EQ(SetMenuBarAttribute(bar, 9, ATTR_CHECKED, 0), 0);
    EXPECT_FALSE(op.menuChecked(bar, 9));
    EXPECT_EQ(SetMenuBarAttribute(bar, 5, ATTR_CHECKED, 1), UIE_BAD_ATTRIBUTE) << "a menu title has no check";
    EXPECT_EQ(SetMenuBarAttribute(bar, 6, ATTR_DIMMED, 1), 0);
    int dimmed = 0;
    GetMenuBarAttribute(bar, 6, ATTR_DIMMED, &dimmed);
    EXPECT_EQ(dimmed, 1);
    EXPECT_EQ(SetMenuBarAttribute(bar, 3, ATTR_ITEM_NAME, "Save Captured Data..."), 0);
    std::string name;
    GetMenuBarAttribute(bar, 3, ATTR_ITEM_NAME, &name);
    EXPECT_EQ(name, "Save Captured Data...");
    EXPECT_EQ(SetMenuBarAttribute(bar, 3, ATTR_ITEM_NAME, 1), UIE_BAD_VALUE);
    EXPECT_EQ(SetMenuBarAttribute(bar, 3, ATTR_SUBMENU_ID, 1), UIE_BAD_ATTRIBUTE);
    EXPECT_EQ(SetMenuBarAttribute(bar, 99, ATTR_DIMMED, 1), UIE_BAD_MENU);
    EXPECT_EQ(SetMenuBarAttribute(bar + 9, 3, ATTR_DIMMED, 1), UIE_BAD_MENU);
}

TEST_F(Menus, ChoosingRunsTheCallbackUnlessSomethingAboveIsDimmed) {
    ASSERT_TRUE(op.chooseMenu(bar, 4));
    ASSERT_EQ(uitest::menuChoices().size(), 1u);
    EXPECT_EQ(uitest::menuChoices()[0].item, 4);
    EXPECT_EQ(uitest::menuChoices()[0].panel, panel);

    EXPECT_FALSE(op.chooseMenu(bar, 8)) << "dimmed item";
    SetMenuBarAttribute(bar, 6, ATTR_DIMMED, 1);
    EXPECT_FALSE(op.chooseMenu(bar, 7)) << "its submenu is dimmed";
    EXPECT_FALSE(op.chooseMenu(bar, 6)) << "an item with a submenu only opens it";
    SetMenuBarAttribute(bar, 6, ATTR_DIMMED, 0);
    SetMenuBarAttribute(bar, 5, ATTR_DIMMED, 1);
    EXPECT_FALSE(op.chooseMenu(bar, 7)) << "the whole menu is dimmed";
    HidePanel(panel);
    EXPECT_FALSE(op.chooseMenu(bar, 3)) << "the panel is not displayed";
    EXPECT_EQ(uitest::menuChoices().size(), 1u);
}

TEST_F(Menus, RunTimeMenusAndItems) {
    // The engineering menu of the shell: a menu at the end with one item, dimmed until a boot.
    const int eng = NewMenu(bar, "Engineering", -1);
    ASSERT_GT(eng, 9);
    const int item = NewMenuItem(bar, eng, "Panel...", -1, 0, uitest::recordMenu, nullptr);
    ASSERT_GT(item, eng);
    EXPECT_EQ(ui::findMenuBar(bar)->menus.back().id, eng);
    SetMenuBarAttribute(bar, eng, ATTR_DIMMED, 1);
    EXPECT_FALSE(op.chooseMenu(bar, item));
    SetMenuBarAttribute(bar, eng, ATTR_DIMMED, 0);
    EXPECT_TRUE(op.chooseMenu(bar, item));

    const int first = NewMenu(bar, "First", 2);
    EXPECT_EQ(ui::findMenuBar(bar)->menus.front().id, first);
    EXPECT_EQ(NewMenu(bar, "x", 3), UIE_BAD_MENU) << "3 is an item, not a menu";

    const int sep = NewMenuItem(bar, 2, nullptr, 4, 0, nullptr, nullptr);
    EXPECT_TRUE(ui::findMenuNode(bar, sep)->separator);
    EXPECT_EQ(ui::findMenuNode(bar, 2)->children[2].id, sep) << "placed before EXIT";

    // Items into a submenu made at run time and into a resource submenu by its item's id.
    const int sub = NewSubMenu(bar, 9);
    const int subItem = NewMenuItem(bar, sub, "Deep", -1, 0, uitest::recordMenu, nullptr);
    EXPECT_EQ(ui::findMenuNode(bar, 9)->children.front().id, subItem);
    const int tri = NewMenuItem(bar, 6, "Tri-state", -1, 0, uitest::recordMenu, nullptr);
    EXPECT_EQ(ui::findMenuNode(bar, 6)->children.back().id, tri);
    EXPECT_EQ(NewMenuItem(bar, 999, "x", -1, 0, nullptr, nullptr), UIE_BAD_MENU);

    // Removing: an item with its submenu, a submenu alone, a whole menu.
    EXPECT_EQ(DiscardMenuItem(bar, 6), 0);
    EXPECT_FALSE(op.menuExists(bar, 7));
    EXPECT_FALSE(op.menuExists(bar, tri));
    EXPECT_EQ(DiscardMenuItem(bar, 5), UIE_BAD_MENU) << "menus go with DiscardMenu";
    EXPECT_EQ(DiscardMenu(bar, sub), 0);
    EXPECT_TRUE(op.menuExists(bar, 9));
    EXPECT_FALSE(op.menuExists(bar, subItem));
    EXPECT_EQ(DiscardMenu(bar, 5), 0);
    EXPECT_FALSE(op.menuExists(bar, 9));
    EXPECT_EQ(DiscardMenu(bar, 5), UIE_BAD_MENU);
}

}  // namespace
