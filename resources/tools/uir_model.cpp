// Reading and checking panel resource files. The checks catch what a person editing a file by hand gets
// wrong (a misspelt key, a duplicated control, a ring item without a value, a colour that is not one)
// before the program ever loads the file, and name the place: file, panel, control.
#include "uir_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace uir {
namespace {

using Json = nlohmann::json;

const std::set<std::string> DOCUMENT_KEYS = {"file", "panels", "menuBars"};
const std::set<std::string> PANEL_KEYS = {"name",     "title",   "top",      "left",
                                          "width",    "height",  "callback", "menuBar",
                                          "closeBox", "sizable", "bgColor",  "controls"};
const std::set<std::string> COMMON_CONTROL_KEYS = {
    "name",     "kind",    "label",  "top",     "left",         "width",     "height",
    "callback", "toolTip", "dimmed", "visible", "labelVisible", "textColor", "bgColor"};
const std::set<std::string> MENU_BAR_KEYS = {"name", "menus"};
const std::set<std::string> MENU_KEYS = {"name", "label", "items", "dimmed"};
const std::set<std::string> ITEM_KEYS = {"name",   "label",   "callback", "checked",
                                         "dimmed", "submenu", "separator"};
const std::set<std::string> DATA_TYPES = {"int", "unsigned", "short", "ushort", "double", "string"};

// Keys each kind accepts beyond the common ones.
const std::map<std::string, std::set<std::string>> KIND_KEYS = {
    {"numeric", {"dataType", "value", "min", "max", "inc", "precision", "rangeCheck", "format", "mode"}},
    {"ring", {"dataType", "value", "items", "mode"}},
    {"binarySwitch",
     {"dataType", "value", "mode", "onText", "offText", "onValue", "offValue", "onColor", "offColor"}},
    {"checkBox", {"dataType", "value", "mode", "onValue", "offValue", "onColor", "offColor"}},
    {"led", {"dataType", "value", "mode", "onColor", "offColor"}},
    {"textMsg", {"dataType", "value"}},
    {"string", {"dataType", "value", "mode"}},
    {"textBox", {"dataType", "value", "mode"}},
    {"button", {}},
    {"listBox", {"dataType", "value", "items", "mode"}},
    {"grid", {"rows", "cols", "colWidths", "mode"}},
    {"graph", {"xName", "yName"}},
    {"tab", {"pages"}},
    {"picture", {"image"}},
    {"frame", {}},
};

const std::set<std::string> TEXT_KINDS = {"textMsg", "string", "textBox"};

bool isIdentifier(const std::string& s) {
    if (s.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!alpha(s[0])) return false;
    return std::all_of(s.begin(), s.end(), [&](char c) { return alpha(c) || digit(c); });
}

bool isIntegral(double v) {
    return std::isfinite(v) && std::floor(v) == v;
}

// Duplicate keys are legal JSON but almost always a slip in a hand-edited file; the parser keeps only
// the last one, so they are found while parsing. Each open object remembers its keys and its "name".
struct ObjectFrame {
    std::set<std::string> keys;
    std::vector<std::string> duplicates;
    std::string name;
    bool nextValueIsName = false;
};

class Checker {
  public:
    Checker(std::string file, std::vector<std::string>& errors, Checks checks)
        : file_(std::move(file)), errors_(errors), strict_(checks == Checks::Files) {}

    // A problem that leaves the document unusable.
    void error(const std::string& where, const std::string& what) {
        errors_.push_back(file_ + (where.empty() ? "" : ":" + where) + ": " + what);
        ++count_;
    }
    // A slip the resource files must not contain, though a panel could still be built.
    void slip(const std::string& where, const std::string& what) {
        if (strict_) error(where, what);
    }
    bool strict() const { return strict_; }
    int count() const { return count_; }

    void checkKeys(const Json& obj, const std::set<std::string>& a, const std::set<std::string>& b,
                   const std::string& where) {
        for (auto it = obj.begin(); it != obj.end(); ++it)
            if (!a.count(it.key()) && !b.count(it.key())) slip(where, "unknown key \"" + it.key() + "\"");
    }

    // `need`: Optional, InFiles (missing is a slip) or Always (missing is an error).
    enum Need { Optional, InFiles, Always };

    bool missing(const Json& obj, const char* key, const std::string& where, Need need) {
        if (obj.contains(key)) return false;
        if (need == Always) error(where, std::string("missing \"") + key + "\"");
        if (need == InFiles) slip(where, std::string("missing \"") + key + "\"");
        return true;
    }

    bool text(const Json& obj, const char* key, const std::string& where, std::string& out,
              Need need = Optional) {
        if (missing(obj, key, where, need)) return false;
        const Json& v = obj[key];
        if (!v.is_string()) {
            error(where, std::string("\"") + key + "\" must be a string");
            return false;
        }
        out = v.get<std::string>();
        return true;
    }

    bool flag(const Json& obj, const char* key, const std::string& where, bool& out) {
        if (missing(obj, key, where, Optional)) return false;
        const Json& v = obj[key];
        if (!v.is_boolean()) {
            error(where, std::string("\"") + key + "\" must be true or false");
            return false;
        }
        out = v.get<bool>();
        return true;
    }

    bool whole(const Json& obj, const char* key, const std::string& where, int& out, Need need = Optional) {
        if (missing(obj, key, where, need)) return false;
        const Json& v = obj[key];
        if (!v.is_number() || !isIntegral(v.get<double>()) ||
            std::fabs(v.get<double>()) > std::numeric_limits<int>::max()) {
            error(where, std::string("\"") + key + "\" must be a whole number");
            return false;
        }
        out = static_cast<int>(v.get<double>());
        return true;
    }

    bool number(const Json& obj, const char* key, const std::string& where, double& out) {
        if (missing(obj, key, where, Optional)) return false;
        const Json& v = obj[key];
        if (!v.is_number()) {
            error(where, std::string("\"") + key + "\" must be a number");
            return false;
        }
        out = v.get<double>();
        return true;
    }

    void colour(const Json& obj, const char* key, const std::string& where, int& out) {
        if (missing(obj, key, where, Optional)) return;
        const Json& v = obj[key];
        long value = -1;
        if (v.is_number()) {
            double d = v.get<double>();
            if (isIntegral(d) && d >= 0 && d <= 0xFFFFFF) value = static_cast<long>(d);
        } else if (v.is_string()) {
            const std::string s = v.get<std::string>();
            if (s.size() > 2 && s.size() <= 8 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') &&
                std::all_of(s.begin() + 2, s.end(),
                            [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
                value = std::stol(s.substr(2), nullptr, 16);
        }
        if (value < 0)
            error(where, std::string("\"") + key + "\" is not a colour 0xRRGGBB");
        else
            out = static_cast<int>(value);
    }

    void identifier(const std::string& value, const char* what, const std::string& where) {
        if (!isIdentifier(value))
            slip(where, std::string(what) + " \"" + value + "\" is not a valid identifier");
    }

  private:
    std::string file_;
    std::vector<std::string>& errors_;
    bool strict_;
    int count_ = 0;
};

void readRect(Checker& c, const Json& obj, const std::string& where, Rect& r) {
    c.whole(obj, "top", where, r.top, Checker::InFiles);
    c.whole(obj, "left", where, r.left, Checker::InFiles);
    if (c.whole(obj, "width", where, r.width, Checker::InFiles) && r.width <= 0)
        c.slip(where, "width must be > 0");
    if (c.whole(obj, "height", where, r.height, Checker::InFiles) && r.height <= 0)
        c.slip(where, "height must be > 0");
}

std::set<std::string, std::less<>> keysOf(const Json& obj) {
    std::set<std::string, std::less<>> keys;
    for (auto it = obj.begin(); it != obj.end(); ++it) keys.insert(it.key());
    return keys;
}

Value valueOf(const Json& v) {
    if (v.is_number()) return v.get<double>();
    if (v.is_string()) return v.get<std::string>();
    if (v.is_boolean()) return v.get<bool>();
    return {};
}

// Whether a whole number lies in the range of a numeric data type.
bool insideType(double d, const std::string& dataType) {
    if (dataType == "double") return true;
    if (dataType == "unsigned") return d >= 0 && d <= 4294967295.0;
    if (dataType == "short") return d >= -32768 && d <= 32767;
    if (dataType == "ushort") return d >= 0 && d <= 65535;
    return d >= std::numeric_limits<int>::min() && d <= std::numeric_limits<int>::max();  // int
}

// A value of a ring item or an initial value must suit the control's data type.
bool valueSuits(const Json& v, const std::string& dataType) {
    if (dataType == "string") return v.is_string();
    if (!v.is_number()) return false;
    const double d = v.get<double>();
    return dataType == "double" || (isIntegral(d) && insideType(d, dataType));
}

void readItems(Checker& c, const Json& ctrl, Control& out, const std::string& where) {
    auto it = ctrl.find("items");
    if (it == ctrl.end()) return;
    if (!it->is_array()) {
        c.error(where, "\"items\" must be an array");
        return;
    }
    const bool texts = out.dataType == "string";
    std::set<std::string> seen;
    for (size_t i = 0; i < it->size(); ++i) {
        const Json& j = (*it)[i];
        const std::string at = "item " + std::to_string(i);
        if (!j.is_object()) {
            c.error(where, at + " must be an object");
            continue;
        }
        if (!j.contains("label") || !j.contains("value"))
            c.slip(where, at + " needs \"label\" and \"value\"");
        for (auto k = j.begin(); k != j.end(); ++k)
            if (k.key() != "label" && k.key() != "value")
                c.slip(where, at + " has unknown key \"" + k.key() + "\"");
        Item item;
        if (j.contains("label")) {
            if (j["label"].is_string())
                item.label = j["label"].get<std::string>();
            else
                c.error(where, at + " label must be a string");
        }
        if (j.contains("value")) {
            const Json& v = j["value"];
            if (texts ? !v.is_string() : !v.is_number())
                c.error(where, at + " value does not suit data type " + out.dataType);
            else if (!valueSuits(v, out.dataType))
                c.slip(where, at + " value does not suit data type " + out.dataType);
            else if (!seen.insert(v.dump()).second)
                c.slip(where, at + " repeats value " + v.dump());
            item.value = valueOf(v);
        }
        out.items.push_back(std::move(item));
    }
    auto init = ctrl.find("value");
    if (init != ctrl.end() && !it->empty()) {
        bool found = std::any_of(it->begin(), it->end(), [&](const Json& item) {
            return item.is_object() && item.contains("value") && item["value"] == *init;
        });
        if (!found) c.slip(where, "initial value " + init->dump() + " is not one of the items");
    }
}

// The initial value: a number for numerics, a number or true/false for switches and LEDs, a text for the
// text kinds; rings and list boxes pick the item it names.
void readValue(Checker& c, const Json& j, Control& ctrl, const std::string& where) {
    auto value = j.find("value");
    if (value == j.end()) return;
    ctrl.value = valueOf(*value);
    const std::string& k = ctrl.kind;
    bool usable = true;
    if (k == "numeric") usable = value->is_number();
    if (k == "binarySwitch" || k == "checkBox" || k == "led")
        usable = value->is_number() || value->is_boolean();
    if (TEXT_KINDS.count(k)) usable = value->is_string();
    if (!usable)
        c.error(where, "initial value " + value->dump() + " does not suit a " + k);
    else if (DATA_TYPES.count(ctrl.dataType) && !valueSuits(*value, ctrl.dataType))
        c.slip(where, "initial value " + value->dump() + " does not suit data type " + ctrl.dataType);
}

void readDataType(Checker& c, const Json& j, Control& ctrl, const std::string& where) {
    const bool textKind = TEXT_KINDS.count(ctrl.kind) != 0;
    ctrl.dataType = textKind ? "string" : ctrl.kind == "numeric" ? "double" : "int";
    std::string given;
    if (!c.text(j, "dataType", where, given)) return;
    if (textKind) {
        if (given != "string") c.slip(where, "a " + ctrl.kind + " holds text: data type must be string");
    } else if (!DATA_TYPES.count(given)) {
        c.error(where, "unknown data type \"" + given + "\"");
    } else if (given == "string" && ctrl.kind != "ring" && ctrl.kind != "listBox") {
        c.error(where, "a " + ctrl.kind + " cannot hold a string");
    } else {
        ctrl.dataType = given;
    }
}

void readGrid(Checker& c, const Json& j, Control& ctrl, const std::string& where) {
    ctrl.rows = ctrl.cols = 2;
    if (c.whole(j, "rows", where, ctrl.rows, Checker::InFiles) && ctrl.rows < 1)
        c.error(where, "rows must be >= 1");
    if (c.whole(j, "cols", where, ctrl.cols, Checker::InFiles) && ctrl.cols < 1)
        c.error(where, "cols must be >= 1");
    if (static_cast<long long>(ctrl.rows) * ctrl.cols > 10'000'000)
        c.error(where, "the grid has too many cells");
    auto w = j.find("colWidths");
    if (w == j.end()) return;
    const bool whole = w->is_array() && std::all_of(w->begin(), w->end(), [](const Json& x) {
                           return x.is_number() && isIntegral(x.get<double>()) && x.get<double>() >= 0 &&
                                  x.get<double>() <= std::numeric_limits<int>::max();
                       });
    if (!whole) {
        c.error(where, "colWidths must be whole widths");
        return;
    }
    for (const Json& x : *w) ctrl.colWidths.push_back(static_cast<int>(x.get<double>()));
    if (static_cast<int>(ctrl.colWidths.size()) != ctrl.cols ||
        std::any_of(ctrl.colWidths.begin(), ctrl.colWidths.end(), [](int x) { return x <= 0; }))
        c.slip(where, "colWidths must hold one positive whole width per column");
}

void readControl(Checker& c, const Json& j, const std::string& panelWhere, size_t index, Control& ctrl) {
    std::string where = panelWhere + ":#" + std::to_string(index);
    if (!j.is_object()) {
        c.error(where, "a control must be an object");
        return;
    }
    ctrl.given = keysOf(j);
    if (c.text(j, "name", where, ctrl.name, Checker::Always)) {
        if (ctrl.name.empty()) c.error(where, "the control has no name");
        where = panelWhere + ":" + ctrl.name;
        c.identifier(ctrl.name, "control name", where);
    }
    if (!c.text(j, "kind", where, ctrl.kind, Checker::Always)) return;
    auto kindKeys = KIND_KEYS.find(ctrl.kind);
    if (kindKeys == KIND_KEYS.end()) {
        c.error(where, "unknown kind \"" + ctrl.kind + "\"");
        return;
    }
    c.checkKeys(j, COMMON_CONTROL_KEYS, kindKeys->second, where);
    readRect(c, j, where, ctrl.rect);
    c.text(j, "label", where, ctrl.label);
    c.text(j, "toolTip", where, ctrl.toolTip);
    if (c.text(j, "callback", where, ctrl.callback)) c.identifier(ctrl.callback, "callback", where);
    c.flag(j, "visible", where, ctrl.visible);
    c.flag(j, "dimmed", where, ctrl.dimmed);
    c.flag(j, "labelVisible", where, ctrl.labelVisible);
    c.colour(j, "textColor", where, ctrl.textColor);
    c.colour(j, "bgColor", where, ctrl.bgColor);
    c.colour(j, "onColor", where, ctrl.onColor);
    c.colour(j, "offColor", where, ctrl.offColor);
    c.text(j, "onText", where, ctrl.onText);
    c.text(j, "offText", where, ctrl.offText);
    c.text(j, "xName", where, ctrl.xName);
    c.text(j, "yName", where, ctrl.yName);
    c.text(j, "image", where, ctrl.image);

    readDataType(c, j, ctrl, where);
    readValue(c, j, ctrl, where);

    bool hasLo = c.number(j, "min", where, ctrl.min), hasHi = c.number(j, "max", where, ctrl.max);
    if (hasLo && hasHi && ctrl.min > ctrl.max) c.error(where, "min is above max");
    // The run-time keeps the limits in the control's own type, rounded as a conversion to it rounds; a
    // limit the type cannot hold would wrap round (-30 as ushort is 65506, above any max).
    if (ctrl.dataType != "string") {
        if (hasLo && !insideType(std::round(ctrl.min), ctrl.dataType))
            c.error(where, "min lies outside the range of data type " + ctrl.dataType);
        if (hasHi && !insideType(std::round(ctrl.max), ctrl.dataType))
            c.error(where, "max lies outside the range of data type " + ctrl.dataType);
    }
    if (c.number(j, "inc", where, ctrl.inc) && ctrl.inc <= 0) c.slip(where, "inc must be > 0");
    if (const double* v = std::get_if<double>(&ctrl.value))
        if ((hasLo && *v < ctrl.min) || (hasHi && *v > ctrl.max))
            c.slip(where, "initial value lies outside min..max");
    if (ctrl.dataType == "double") ctrl.precision = 2;
    if (c.whole(j, "precision", where, ctrl.precision) && (ctrl.precision < 0 || ctrl.precision > 15))
        c.slip(where, "precision must be 0 to 15");
    c.number(j, "onValue", where, ctrl.onValue);
    c.number(j, "offValue", where, ctrl.offValue);

    struct Choice {
        const char* key;
        std::string* out;
        std::set<std::string> allowed;
    };
    for (const Choice& ch : {Choice{"mode", &ctrl.mode, {"normal", "hot", "indicator", "validate"}},
                             Choice{"rangeCheck", &ctrl.rangeCheck, {"coerce", "ignore"}},
                             Choice{"format", &ctrl.format, {"decimal", "hex", "scientific"}}}) {
        std::string s;
        if (!c.text(j, ch.key, where, s)) continue;
        if (ch.allowed.count(s))
            *ch.out = s;
        else
            c.error(where, std::string("\"") + ch.key + "\" cannot be \"" + s + "\"");
    }

    readItems(c, j, ctrl, where);
    if (ctrl.kind == "grid") readGrid(c, j, ctrl, where);
    auto pages = j.find("pages");
    if (pages == j.end()) return;
    if (!pages->is_array() ||
        !std::all_of(pages->begin(), pages->end(), [](const Json& p) { return p.is_string(); })) {
        c.error(where, "\"pages\" must be an array of strings");
        return;
    }
    for (const Json& p : *pages) ctrl.pages.push_back(p.get<std::string>());
}

void readPanel(Checker& c, const Json& j, size_t index, Panel& panel) {
    std::string where = "#" + std::to_string(index);
    if (!j.is_object()) {
        c.error(where, "a panel must be an object");
        return;
    }
    panel.given = keysOf(j);
    if (c.text(j, "name", where, panel.name, Checker::Always)) {
        if (panel.name.empty()) c.error(where, "the panel has no name");
        where = panel.name;
        c.identifier(panel.name, "panel name", where);
    }
    c.checkKeys(j, PANEL_KEYS, {}, where);
    readRect(c, j, where, panel.rect);
    c.text(j, "title", where, panel.title);
    if (c.text(j, "callback", where, panel.callback)) c.identifier(panel.callback, "callback", where);
    c.text(j, "menuBar", where, panel.menuBar);
    c.flag(j, "closeBox", where, panel.closeBox);
    c.flag(j, "sizable", where, panel.sizable);
    c.colour(j, "bgColor", where, panel.bgColor);
    auto controls = j.find("controls");
    if (controls == j.end()) return;
    if (!controls->is_array()) {
        c.error(where, "\"controls\" must be an array");
        return;
    }
    std::set<std::string> names;
    for (size_t i = 0; i < controls->size(); ++i) {
        Control ctrl;
        readControl(c, (*controls)[i], where, i, ctrl);
        if (!ctrl.name.empty() && !names.insert(ctrl.name).second)
            c.slip(where + ":" + ctrl.name, "control name used twice in the panel");
        panel.controls.push_back(std::move(ctrl));
    }
}

void readItems(Checker& c, const Json& items, const std::string& where, std::vector<MenuItem>& out,
               int depth);

void readItem(Checker& c, const Json& j, const std::string& parentWhere, size_t index, MenuItem& item,
              int depth) {
    std::string where = parentWhere + "_#" + std::to_string(index);
    if (!j.is_object()) {
        c.error(where, "a menu item must be an object");
        return;
    }
    if (c.flag(j, "separator", where, item.separator) && item.separator) {
        if (j.size() != 1) c.slip(where, "a separator takes no other key");
        return;
    }
    if (c.text(j, "name", where, item.name, Checker::Always)) {
        if (item.name.empty()) c.error(where, "the item has no name");
        where = parentWhere + "_" + item.name;
        c.identifier(item.name, "item name", where);
    }
    c.checkKeys(j, ITEM_KEYS, {}, where);
    c.text(j, "label", where, item.label, Checker::InFiles);
    if (c.text(j, "callback", where, item.callback)) c.identifier(item.callback, "callback", where);
    c.flag(j, "checked", where, item.checked);
    c.flag(j, "dimmed", where, item.dimmed);
    auto sub = j.find("submenu");
    if (sub != j.end()) {
        item.hasSubmenu = true;
        if (!item.callback.empty()) c.slip(where, "an item that opens a submenu takes no callback");
        if (depth >= 4) c.slip(where, "submenus nest too deep");
        readItems(c, *sub, where, item.submenu, depth + 1);
    }
}

void readItems(Checker& c, const Json& items, const std::string& where, std::vector<MenuItem>& out,
               int depth) {
    if (!items.is_array()) {
        c.error(where, "menu items must be an array");
        return;
    }
    std::set<std::string> names;
    for (size_t i = 0; i < items.size(); ++i) {
        MenuItem item;
        readItem(c, items[i], where, i, item, depth);
        if (!item.separator && !item.name.empty() && !names.insert(item.name).second)
            c.slip(where + "_" + item.name, "item name used twice in the menu");
        out.push_back(std::move(item));
    }
}

void readMenuBar(Checker& c, const Json& j, size_t index, MenuBar& bar) {
    std::string where = "#" + std::to_string(index);
    if (!j.is_object()) {
        c.error(where, "a menu bar must be an object");
        return;
    }
    if (c.text(j, "name", where, bar.name, Checker::Always)) {
        where = bar.name;
        c.identifier(bar.name, "menu bar name", where);
    }
    c.checkKeys(j, MENU_BAR_KEYS, {}, where);
    if (c.missing(j, "menus", where, Checker::InFiles)) return;
    const Json& menus = j["menus"];
    if (!menus.is_array()) {
        c.error(where, "\"menus\" must be an array");
        return;
    }
    std::set<std::string> names;
    for (size_t i = 0; i < menus.size(); ++i) {
        const Json& m = menus[i];
        Menu menu;
        std::string at = where + ":#" + std::to_string(i);
        if (!m.is_object()) {
            c.error(at, "a menu must be an object");
            continue;
        }
        if (c.text(m, "name", at, menu.name, Checker::Always)) {
            if (menu.name.empty()) c.error(at, "the menu has no name");
            at = where + ":" + menu.name;
            c.identifier(menu.name, "menu name", at);
            if (!names.insert(menu.name).second) c.slip(at, "menu name used twice in the menu bar");
        }
        c.checkKeys(m, MENU_KEYS, {}, at);
        c.text(m, "label", at, menu.label, Checker::InFiles);
        c.flag(m, "dimmed", at, menu.dimmed);
        auto items = m.find("items");
        if (items != m.end()) readItems(c, *items, at, menu.items, 1);
        bar.menus.push_back(std::move(menu));
    }
}

void addItemConstants(const std::string& prefix, const std::vector<MenuItem>& items, int& next,
                      std::vector<Constant>& out) {
    for (const MenuItem& item : items) {
        if (item.separator) continue;
        const std::string name = prefix + "_" + item.name;
        out.push_back({name, next++, item.hasSubmenu ? "submenu" : item.callback});
        if (item.hasSubmenu) addItemConstants(name, item.submenu, next, out);
    }
}

void addItemCallbacks(const std::vector<MenuItem>& items, std::set<std::string>& out) {
    for (const MenuItem& item : items) {
        if (!item.callback.empty()) out.insert(item.callback);
        addItemCallbacks(item.submenu, out);
    }
}

}  // namespace

// The JSON of a file with the duplicate keys found while reading it, or why it is not JSON.
struct ParsedText::Impl {
    bool valid = false;
    std::string problem;
    Json root;
    std::vector<std::string> duplicateReports;  // "<where>\n<key>"
};

ParsedText::ParsedText(std::string_view text) : impl_(std::make_unique<Impl>()) {
    std::vector<ObjectFrame> frames;
    auto onEvent = [&](int, Json::parse_event_t event, Json& parsed) {
        bool nameValue = !frames.empty() && frames.back().nextValueIsName;
        if (!frames.empty()) frames.back().nextValueIsName = false;
        switch (event) {
            case Json::parse_event_t::object_start:
                frames.emplace_back();
                break;
            case Json::parse_event_t::key: {
                const std::string& key = parsed.get_ref<const std::string&>();
                if (!frames.back().keys.insert(key).second) frames.back().duplicates.push_back(key);
                frames.back().nextValueIsName = (key == "name");
                break;
            }
            case Json::parse_event_t::value:
                if (nameValue && parsed.is_string()) frames.back().name = parsed.get<std::string>();
                break;
            case Json::parse_event_t::object_end: {
                // The place is named only when there is something to report there.
                if (!frames.back().duplicates.empty()) {
                    std::string where;
                    for (const ObjectFrame& f : frames)
                        if (!f.name.empty()) where += (where.empty() ? "" : ":") + f.name;
                    for (const std::string& key : frames.back().duplicates)
                        impl_->duplicateReports.push_back(where + "\n" + key);
                }
                frames.pop_back();
                break;
            }
            default:
                break;
        }
        return true;
    };
    try {
        impl_->root = Json::parse(text.begin(), text.end(), onEvent);
        impl_->valid = true;
    } catch (const Json::exception& e) {
        // Malformed text, and also well-formed numbers no double holds (1e999).
        impl_->problem = std::string("not valid JSON: ") + e.what();
    }
}

ParsedText::~ParsedText() = default;

bool parseDocument(std::string_view text, std::string_view fileName, Document& doc,
                   std::vector<std::string>& errors, Checks checks) {
    return parseDocument(ParsedText(text), fileName, doc, errors, checks);
}

bool parseDocument(const ParsedText& parsed, std::string_view fileName, Document& doc,
                   std::vector<std::string>& errors, Checks checks) {
    Checker c(std::string(fileName), errors, checks);
    if (!parsed.impl_->valid) {
        c.error("", parsed.impl_->problem);
        return false;
    }
    const Json& root = parsed.impl_->root;
    for (const std::string& report : parsed.impl_->duplicateReports) {
        auto cut = report.find('\n');
        c.slip(report.substr(0, cut), "key \"" + report.substr(cut + 1) + "\" given twice");
    }
    try {
        if (!root.is_object()) {
            c.error("", "the document must be a JSON object");
            return false;
        }
        c.checkKeys(root, DOCUMENT_KEYS, {}, "");
        if (c.strict() && c.text(root, "file", "", doc.file, Checker::InFiles) && doc.file != fileName)
            c.error("", "\"file\" says \"" + doc.file + "\"");
        if (doc.file.empty()) doc.file = fileName;
        std::set<std::string> constants;
        auto panels = root.find("panels");
        if (panels != root.end()) {
            if (!panels->is_array()) c.error("", "\"panels\" must be an array");
            for (size_t i = 0; panels->is_array() && i < panels->size(); ++i) {
                Panel panel;
                readPanel(c, (*panels)[i], i, panel);
                doc.panels.push_back(std::move(panel));
            }
        }
        auto bars = root.find("menuBars");
        if (bars != root.end()) {
            if (!bars->is_array()) c.error("", "\"menuBars\" must be an array");
            for (size_t i = 0; bars->is_array() && i < bars->size(); ++i) {
                MenuBar bar;
                readMenuBar(c, (*bars)[i], i, bar);
                doc.menuBars.push_back(std::move(bar));
            }
        }
        for (const Panel& p : doc.panels)
            if (!p.menuBar.empty() && std::none_of(doc.menuBars.begin(), doc.menuBars.end(),
                                                   [&](const MenuBar& b) { return b.name == p.menuBar; }))
                c.error(p.name, "menu bar \"" + p.menuBar + "\" is not in the file");
        // Every generated constant must be unique in the header, whatever produced it.
        if (c.count() == 0)
            for (const Constant& k : constantsOf(doc))
                if (!constants.insert(k.name).second) c.slip(k.name, "constant generated twice");
    } catch (const std::exception& e) {
        c.error("", std::string("cannot be read: ") + e.what());
    }
    return c.count() == 0;
}

std::vector<Constant> constantsOf(const Document& doc) {
    std::vector<Constant> out;
    int panelNumber = 1;
    for (const Panel& p : doc.panels) {
        out.push_back({p.name, panelNumber++, "panel"});
        int controlNumber = 2;
        for (const Control& ctrl : p.controls)
            out.push_back({p.name + "_" + ctrl.name, controlNumber++,
                           ctrl.kind + (ctrl.callback.empty() ? "" : ", " + ctrl.callback)});
    }
    int barNumber = 1;
    for (const MenuBar& bar : doc.menuBars) {
        out.push_back({bar.name, barNumber++, "menu bar"});
        int next = 2;
        for (const Menu& menu : bar.menus) {
            const std::string name = bar.name + "_" + menu.name;
            out.push_back({name, next++, "menu"});
            addItemConstants(name, menu.items, next, out);
        }
    }
    return out;
}

std::vector<std::string> callbacksOf(const Document& doc) {
    std::set<std::string> names;
    for (const Panel& p : doc.panels) {
        if (!p.callback.empty()) names.insert(p.callback);
        for (const Control& ctrl : p.controls)
            if (!ctrl.callback.empty()) names.insert(ctrl.callback);
    }
    for (const MenuBar& bar : doc.menuBars)
        for (const Menu& menu : bar.menus) addItemCallbacks(menu.items, names);
    return {names.begin(), names.end()};
}

}  // namespace uir
