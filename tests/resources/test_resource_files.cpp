// The embedded resource files: present, identical to the sources, numbered as the generated headers say,
// and the main menu complete with its callbacks and starting states.
#include <functional>
#include <nlohmann/json.hpp>

#include "file_text.h"
#include "qm4120_chan_uir.h"
#include "qm4120_sfp_uir.h"
#include "qm41xx_cal_id_uir.h"
#include "resource_docs.h"

namespace {

TEST(ResourceFiles, EmbeddedTextIsTheSourceFileAndPassesTheChecks) {
    ASSERT_EQ(qm::embeddedResourceNames().size(), resourceFileNames().size());
    for (const std::string& name : resourceFileNames()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(qm::embeddedResource(name), readText(std::string(QM_RESOURCES_DIR) + "/" + name));

        uir::Document doc;
        std::vector<std::string> errors;
        EXPECT_TRUE(uir::parseDocument(qm::embeddedResource(name), name, doc, errors));
        for (const std::string& e : errors) ADD_FAILURE() << e;
    }
    EXPECT_TRUE(qm::embeddedResource("qm4120_missing.uir").empty());
    EXPECT_TRUE(qm::embeddedResource("QM4120_SFP.UIR").empty());
}

// The numbering rule of the format, worked out from the raw JSON independently of the generator.
int panelNumber(const nlohmann::json& doc, const std::string& panel) {
    for (size_t i = 0; i < doc["panels"].size(); ++i)
        if (doc["panels"][i]["name"] == panel) return static_cast<int>(i) + 1;
    return -1;
}

int controlNumber(const nlohmann::json& doc, const std::string& panel, const std::string& control) {
    for (const auto& p : doc["panels"])
        if (p["name"] == panel)
            for (size_t i = 0; i < p["controls"].size(); ++i)
                if (p["controls"][i]["name"] == control) return static_cast<int>(i) + 2;
    return -1;
}

// Depth-first position of the item at `path` (menu name first) among the bar's menus and items.
int menuNumber(const nlohmann::json& bar, const std::vector<std::string>& path) {
    int next = 2;
    int found = -1;
    std::vector<std::string> at;
    std::function<void(const nlohmann::json&)> walk = [&](const nlohmann::json& items) {
        for (const auto& item : items) {
            if (item.value("separator", false)) continue;
            at.push_back(item["name"]);
            if (at == path) found = next;
            ++next;
            if (item.contains("submenu")) walk(item["submenu"]);
            at.pop_back();
        }
    };
    for (const auto& menu : bar["menus"]) {
        at = {menu["name"]};
        if (at == path) found = next;
        ++next;
        walk(menu["items"]);
    }
    return found;
}

TEST(ResourceFiles, GeneratedConstantsFollowTheNumberingRule) {
    const auto sfp = nlohmann::json::parse(qm::embeddedResource("qm4120_sfp.uir"));
    const auto chan = nlohmann::json::parse(qm::embeddedResource("qm4120_chan.uir"));
    const auto calid = nlohmann::json::parse(qm::embeddedResource("qm41xx_cal_id.uir"));
    EXPECT_EQ(MAINPANEL, panelNumber(sfp, "MAINPANEL"));
    EXPECT_EQ(ROUTE, panelNumber(sfp, "ROUTE"));
    EXPECT_EQ(SDPANEL, panelNumber(sfp, "SDPANEL"));
    EXPECT_EQ(MAINPANEL_RF_FREQ, controlNumber(sfp, "MAINPANEL", "RF_FREQ"));
    EXPECT_EQ(MAINPANEL_TRIGTCFAST, controlNumber(sfp, "MAINPANEL", "TRIGTCFAST"));
    EXPECT_EQ(ROUTE_OEFPTRIG, controlNumber(sfp, "ROUTE", "OEFPTRIG"));
    EXPECT_EQ(CHANPANEL_CHAN_GRID, controlNumber(chan, "CHANPANEL", "CHAN_GRID"));
    EXPECT_EQ(IDINFO_INFOSTRING, controlNumber(calid, "IDINFO", "INFOSTRING"));

    const auto& bar = sfp["menuBars"][0];
    EXPECT_EQ(MAINMENU, 1);
    EXPECT_EQ(MAINMENU_FILE, menuNumber(bar, {"FILE"}));
    EXPECT_EQ(MAINMENU_FILE_EXIT, menuNumber(bar, {"FILE", "EXIT"}));
    EXPECT_EQ(MAINMENU_SETTINGS_LVDS, menuNumber(bar, {"SETTINGS", "LVDS"}));
    EXPECT_EQ(MAINMENU_SETTINGS_LVDS_DATA_OUT, menuNumber(bar, {"SETTINGS", "LVDS", "DATA", "OUT"}));
    EXPECT_EQ(MAINMENU_SETTINGS_LVDS_IF_LOWER, menuNumber(bar, {"SETTINGS", "LVDS", "IF", "LOWER"}));
    EXPECT_EQ(MAINMENU_SETTINGS_ROUTE__1, menuNumber(bar, {"SETTINGS", "ROUTE", "_1"}));
    EXPECT_EQ(MAINMENU_HELP_ABOUT, menuNumber(bar, {"HELP", "ABOUT"}));
}

// Menu items by their constant path ("SETTINGS_LVDS_DATA_OUT").
void collect(const std::vector<uir::MenuItem>& items, const std::string& prefix,
             std::map<std::string, const uir::MenuItem*>& out) {
    for (const uir::MenuItem& item : items) {
        if (item.separator) continue;
        out[prefix + "_" + item.name] = &item;
        collect(item.submenu, prefix + "_" + item.name, out);
    }
}

TEST(ResourceFiles, MainMenuLeavesHaveCallbacksAndOnlyRoutingStartsDimmed) {
    auto doc = resourceDocs().find("qm4120_sfp.uir");
    ASSERT_NE(doc, resourceDocs().end());
    const uir::Panel* main = findPanel("qm4120_sfp.uir", "MAINPANEL");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->menuBar, "MAINMENU");
    ASSERT_EQ(doc->second.menuBars.size(), 1u);
    const uir::MenuBar& bar = doc->second.menuBars[0];

    std::map<std::string, const uir::MenuItem*> items;
    for (const uir::Menu& m : bar.menus) collect(m.items, m.name, items);

    // Every leaf item has a callback, except the trace-format choices that the program removes
    // before the menu is first shown.
    for (const auto& [path, item] : items)
        if (!item->hasSubmenu && path.rfind("FFTDISP_TRCFMT", 0) != 0) {
            EXPECT_FALSE(item->callback.empty()) << path;
        }
    EXPECT_TRUE(items.count("FFTDISP_TRCFMT"));

    // Routing stays unavailable until a module is booted; temperature optimisation starts on; exactly one
    // capture destination carries the check mark.
    EXPECT_TRUE(items.at("SETTINGS_ROUTE")->dimmed);
    EXPECT_TRUE(items.at("SETTINGS_MATRIX")->dimmed);
    EXPECT_TRUE(items.at("SETTINGS_OPT_AUTTMPOPT")->checked);
    EXPECT_FALSE(items.at("SETTINGS_OPT_FLATMODE")->checked);
    EXPECT_EQ(items.at("CAPT_TOSCRN")->checked + items.at("CAPT_TOASCFILE")->checked +
                  items.at("CAPT_TOBINFILE")->checked,
              1);
    for (const auto& [path, item] : items)
        if (path != "SETTINGS_ROUTE" && path != "SETTINGS_MATRIX") {
            EXPECT_FALSE(item->dimmed) << path;
        }
}

}  // namespace
