// The generated callback list against the names read straight from the JSON of the embedded files: every
// panel, control and menu item callback (submenus included) appears once per kind, with the first file
// that names it, in sorted order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>
#include <utility>
#include <vector>

#include "embedded_resources.h"
#include "resource_callbacks.h"
#include "resource_docs.h"

namespace {

using Kind = qm::ResourceCallback::Kind;
using Key = std::pair<std::string, Kind>;

void collectItems(const nlohmann::json& items, const std::string& file, std::map<Key, std::string>& out) {
    for (const nlohmann::json& item : items) {
        if (item.contains("callback")) out.emplace(Key{item["callback"], Kind::MenuItem}, file);
        if (item.contains("submenu")) collectItems(item["submenu"], file, out);
    }
}

TEST(ResourceCallbacks, ListsEveryNameOfEveryFileOncePerKindInOrder) {
    std::map<Key, std::string> expected;  // first file per (name, kind), files in build order
    for (const std::string& file : resourceFileNames()) {
        const auto doc = nlohmann::json::parse(qm::embeddedResource(file));
        for (const auto& panel : doc.value("panels", nlohmann::json::array())) {
            if (panel.contains("callback")) expected.emplace(Key{panel["callback"], Kind::Panel}, file);
            for (const auto& ctrl : panel.value("controls", nlohmann::json::array()))
                if (ctrl.contains("callback")) expected.emplace(Key{ctrl["callback"], Kind::Control}, file);
        }
        for (const auto& bar : doc.value("menuBars", nlohmann::json::array()))
            for (const auto& menu : bar["menus"])
                collectItems(menu.value("items", nlohmann::json::array()), file, expected);
    }
    std::vector<std::tuple<std::string, Kind, std::string>> want, got;
    for (const auto& [key, file] : expected) want.emplace_back(key.first, key.second, file);
    for (const qm::ResourceCallback& cb : qm::resourceCallbacks())
        got.emplace_back(std::string(cb.name), cb.kind, std::string(cb.file));
    EXPECT_EQ(got, want);
    // The files do use all three kinds, so a kind dropped by the generator shows above.
    for (Kind kind : {Kind::Control, Kind::Panel, Kind::MenuItem})
        EXPECT_TRUE(
            std::any_of(want.begin(), want.end(), [&](const auto& w) { return std::get<1>(w) == kind; }));
}

}  // namespace
