// LoadPanel: builds a panel, its controls and its menu bar from a JSON panel resource file and binds the
// callback names the file gives to the registered functions.
#include <nlohmann/json.hpp>

#include "runtime.h"

using nlohmann::json;

namespace ui::detail {
namespace {

// Raised inside this file only; LoadPanel turns it into a status.
struct LoadError {
    int status;
};

[[noreturn]] void fail(int status) {
    throw LoadError{status};
}

const json* member(const json& j, const char* key) {
    auto it = j.find(key);
    if (it == j.end() || it->is_null()) return nullptr;
    return &*it;
}

std::string text(const json& j, const char* key, const std::string& fallback = {}) {
    const json* m = member(j, key);
    if (!m) return fallback;
    if (!m->is_string()) fail(UIE_BAD_RESOURCE);
    return m->get<std::string>();
}

double number(const json& j, const char* key, double fallback) {
    const json* m = member(j, key);
    if (!m) return fallback;
    if (!m->is_number()) fail(UIE_BAD_RESOURCE);
    return m->get<double>();
}

int integer(const json& j, const char* key, int fallback) {
    const json* m = member(j, key);
    if (!m) return fallback;
    if (!m->is_number_integer()) fail(UIE_BAD_RESOURCE);
    return m->get<int>();
}

bool flag(const json& j, const char* key, bool fallback) {
    const json* m = member(j, key);
    if (!m) return fallback;
    if (!m->is_boolean()) fail(UIE_BAD_RESOURCE);
    return m->get<bool>();
}

// Colours are 0xRRGGBB as a JSON number or a text such as "0xFFFFFF".
int colour(const json& j, const char* key, int fallback) {
    const json* m = member(j, key);
    if (!m) return fallback;
    long long v = -1;
    if (m->is_number_integer()) {
        v = m->get<long long>();
    } else if (m->is_string()) {
        const std::string s = m->get<std::string>();
        size_t used = 0;
        try {
            v = std::stoll(s, &used, 0);
        } catch (...) {
            fail(UIE_BAD_RESOURCE);
        }
        if (used != s.size()) fail(UIE_BAD_RESOURCE);
    }
    if (v < 0 || v > VAL_TRANSPARENT) fail(UIE_BAD_RESOURCE);
    return static_cast<int>(v);
}

const json& array(const json& j, const char* key) {
    static const json empty = json::array();
    const json* m = member(j, key);
    if (!m) return empty;
    if (!m->is_array()) fail(UIE_BAD_RESOURCE);
    return *m;
}

Kind parseKind(const std::string& s) {
    static const std::map<std::string, Kind> kinds = {
        {"numeric", Kind::Numeric},   {"ring", Kind::Ring},       {"binarySwitch", Kind::BinarySwitch},
        {"checkBox", Kind::CheckBox}, {"led", Kind::Led},         {"textMsg", Kind::TextMsg},
        {"string", Kind::String},     {"textBox", Kind::TextBox}, {"button", Kind::Button},
        {"listBox", Kind::ListBox},   {"grid", Kind::Grid},       {"graph", Kind::Graph},
        {"tab", Kind::Tab},           {"picture", Kind::Picture}, {"frame", Kind::Frame}};
    auto it = kinds.find(s);
    if (it == kinds.end()) fail(UIE_BAD_RESOURCE);
    return it->second;
}

DataType parseType(const json& j, Kind kind) {
    if (kind == Kind::String || kind == Kind::TextBox || kind == Kind::TextMsg) return DataType::String;
    static const std::map<std::string, DataType> types = {
        {"int", DataType::Int},       {"unsigned", DataType::UInt}, {"short", DataType::Short},
        {"ushort", DataType::UShort}, {"double", DataType::Double}, {"string", DataType::String}};
    const std::string s = text(j, "dataType");
    if (s.empty()) return kind == Kind::Numeric ? DataType::Double : DataType::Int;
    auto it = types.find(s);
    if (it == types.end()) fail(UIE_BAD_RESOURCE);
    if (it->second == DataType::String && !isListKind(kind)) fail(UIE_BAD_RESOURCE);
    return it->second;
}

int choice(const json& j, const char* key, const std::map<std::string, int>& values, int fallback) {
    const std::string s = text(j, key);
    if (s.empty()) return fallback;
    auto it = values.find(s);
    if (it == values.end()) fail(UIE_BAD_RESOURCE);
    return it->second;
}

void parseItems(const json& j, Control& c) {
    const json& items = array(j, "items");
    for (size_t i = 0; i < items.size(); ++i) {
        const json& it = items[i];
        if (!it.is_object()) fail(UIE_BAD_RESOURCE);
        ListItem item;
        item.label = text(it, "label");
        const json* v = member(it, "value");
        if (c.type == DataType::String) {
            if (v && !v->is_string()) fail(UIE_BAD_RESOURCE);
            item.text = v ? v->get<std::string>() : item.label;
        } else {
            if (v && !v->is_number()) fail(UIE_BAD_RESOURCE);
            item.number = convertToType(c.type, v ? v->get<double>() : static_cast<double>(i));
        }
        c.items.push_back(std::move(item));
    }
    c.index = c.items.empty() ? -1 : 0;
    if (const json* v = member(j, "value")) {
        for (size_t i = 0; i < c.items.size(); ++i) {
            const ListItem& item = c.items[i];
            const bool match = c.type == DataType::String
                                   ? v->is_string() && item.text == v->get<std::string>()
                                   : v->is_number() && item.number == convertToType(c.type, v->get<double>());
            if (match) {
                c.index = static_cast<int>(i);
                break;
            }
        }
    }
}

void parseValue(const json& j, Control& c) {
    const json* v = member(j, "value");
    switch (c.kind) {
        case Kind::Numeric: {
            if (v && !v->is_number()) fail(UIE_BAD_RESOURCE);
            double x = convertToType(c.type, v ? v->get<double>() : 0.0);
            if (c.coerce && c.minValue <= c.maxValue) x = std::clamp(x, c.minValue, c.maxValue);
            c.number = x;
            break;
        }
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led: {
            if (v && !v->is_number() && !v->is_boolean()) fail(UIE_BAD_RESOURCE);
            const double x = !v ? c.offValue : v->is_boolean() ? (v->get<bool>() ? 1 : 0) : v->get<double>();
            c.number = (x == c.onValue || (x != c.offValue && x != 0)) ? c.onValue : c.offValue;
            break;
        }
        case Kind::String:
        case Kind::TextBox:
        case Kind::TextMsg:
            if (v && !v->is_string()) fail(UIE_BAD_RESOURCE);
            c.text = v ? v->get<std::string>() : (c.kind == Kind::TextMsg ? c.label : std::string());
            break;
        default:
            break;
    }
}

std::unique_ptr<Control> parseControl(const json& j, int id, const State& s) {
    if (!j.is_object()) fail(UIE_BAD_RESOURCE);
    const std::string name = text(j, "name");
    if (name.empty()) fail(UIE_BAD_RESOURCE);
    const Kind kind = parseKind(text(j, "kind"));
    auto c = makeControl(kind, parseType(j, kind));
    c->id = id;
    c->constName = name;
    c->label = text(j, "label");
    c->labelVisible = flag(j, "labelVisible", true);
    c->top = integer(j, "top", c->top);
    c->left = integer(j, "left", c->left);
    c->width = integer(j, "width", c->width);
    c->height = integer(j, "height", c->height);
    if (c->type != DataType::String) {
        c->minValue = convertToType(c->type, number(j, "min", c->minValue));
        c->maxValue = convertToType(c->type, number(j, "max", c->maxValue));
        if (c->minValue > c->maxValue) fail(UIE_BAD_RESOURCE);
    }
    c->increment = number(j, "inc", c->increment);
    c->precision = integer(j, "precision", c->type == DataType::Double ? 2 : 0);
    c->coerce = choice(j, "rangeCheck", {{"coerce", 1}, {"ignore", 0}}, 1) != 0;
    c->format = choice(
        j, "format",
        {{"decimal", VAL_DECIMAL_FORMAT}, {"hex", VAL_HEX_FORMAT}, {"scientific", VAL_SCIENTIFIC_FORMAT}},
        VAL_DECIMAL_FORMAT);
    c->mode = choice(
        j, "mode",
        {{"normal", VAL_NORMAL}, {"hot", VAL_HOT}, {"indicator", VAL_INDICATOR}, {"validate", VAL_VALIDATE}},
        kind == Kind::TextMsg ? VAL_INDICATOR : VAL_NORMAL);
    c->toolTip = text(j, "toolTip");
    c->dimmed = flag(j, "dimmed", false);
    c->visible = flag(j, "visible", true);
    c->textColor = colour(j, "textColor", c->textColor);
    c->bgColor = colour(j, "bgColor", c->bgColor);
    c->onColor = colour(j, "onColor", c->onColor);
    c->offColor = colour(j, "offColor", c->offColor);
    c->onText = text(j, "onText", c->onText);
    c->offText = text(j, "offText", c->offText);
    c->onValue = number(j, "onValue", c->onValue);
    c->offValue = number(j, "offValue", c->offValue);
    c->image = text(j, "image");

    c->callbackName = text(j, "callback");
    if (!c->callbackName.empty()) {
        auto it = s.ctrlCallbacks.find(c->callbackName);
        if (it == s.ctrlCallbacks.end()) fail(UIE_CALLBACK_NOT_FOUND);
        c->callback = it->second;
    }

    if (isListKind(kind)) parseItems(j, *c);
    parseValue(j, *c);

    if (c->grid) {
        GridData& g = *c->grid;
        g.rows = integer(j, "rows", 2);
        g.cols = integer(j, "cols", 2);
        if (g.rows < 1 || g.cols < 1 || static_cast<long long>(g.rows) * g.cols > 10'000'000)
            fail(UIE_BAD_RESOURCE);
        g.cells.assign(static_cast<size_t>(g.rows) * g.cols, std::string());
        g.colWidths.assign(static_cast<size_t>(g.cols), 64);
        g.colAlign.assign(static_cast<size_t>(g.cols), '<');
        const json& widths = array(j, "colWidths");
        for (size_t i = 0; i < widths.size() && i < g.colWidths.size(); ++i) {
            if (!widths[i].is_number_integer() || widths[i].get<int>() < 0) fail(UIE_BAD_RESOURCE);
            g.colWidths[i] = widths[i].get<int>();
        }
        g.selRow = std::min(1, g.rows - 1);
        g.selCol = std::min(1, g.cols - 1);
        g.topRow = std::min(1, g.rows - 1);
    }
    if (c->graph) {
        c->graph->xAxis.name = text(j, "xName");
        c->graph->yAxis.name = text(j, "yName");
    }
    if (c->tab) {
        for (const json& page : array(j, "pages")) {
            if (!page.is_string()) fail(UIE_BAD_RESOURCE);
            c->tab->pages.push_back(TabPage{page.get<std::string>(), 0});
        }
    }
    return c;
}

void parseMenuNodes(const json& entries, std::vector<MenuNode>& out, bool topLevel, int& nextId,
                    const State& s) {
    for (const json& e : entries) {
        if (!e.is_object()) fail(UIE_BAD_RESOURCE);
        MenuNode node;
        node.isMenu = topLevel;
        if (!topLevel && flag(e, "separator", false)) {
            node.separator = true;
            out.push_back(std::move(node));
            continue;
        }
        node.constName = text(e, "name");
        if (node.constName.empty()) fail(UIE_BAD_RESOURCE);
        node.id = nextId++;  // depth-first numbering of named entries, as the generated constants
        node.label = text(e, "label");
        node.checked = flag(e, "checked", false);
        node.dimmed = flag(e, "dimmed", false);
        node.callbackName = text(e, "callback");
        if (!node.callbackName.empty()) {
            auto it = s.menuCallbacks.find(node.callbackName);
            if (it == s.menuCallbacks.end()) fail(UIE_CALLBACK_NOT_FOUND);
            node.callback = it->second;
        }
        if (topLevel) {
            parseMenuNodes(array(e, "items"), node.children, false, nextId, s);
        } else if (member(e, "submenu")) {
            parseMenuNodes(array(e, "submenu"), node.children, false, nextId, s);
            node.submenuId = -1;  // given a fresh id once every named entry has its number
        }
        out.push_back(std::move(node));
    }
}

// Separators and submenus have no constants: they get ids above every generated one.
void assignFreshIds(std::vector<MenuNode>& nodes, int& nextId) {
    for (MenuNode& n : nodes) {
        if (n.separator) n.id = nextId++;
        if (n.submenuId == -1) n.submenuId = nextId++;
        assignFreshIds(n.children, nextId);
    }
}

std::unique_ptr<MenuBar> parseMenuBar(const json& doc, const std::string& name, const State& s) {
    for (const json& mb : array(doc, "menuBars")) {
        if (!mb.is_object()) fail(UIE_BAD_RESOURCE);
        if (text(mb, "name") != name) continue;
        auto bar = std::make_unique<MenuBar>();
        bar->constName = name;
        int nextId = 2;
        parseMenuNodes(array(mb, "menus"), bar->menus, true, nextId, s);
        assignFreshIds(bar->menus, nextId);
        bar->nextId = nextId;
        return bar;
    }
    fail(UIE_BAD_RESOURCE);
}

std::unique_ptr<Panel> parsePanel(const json& pj, const State& s) {
    if (!pj.is_object()) fail(UIE_BAD_RESOURCE);
    auto p = std::make_unique<Panel>();
    p->constName = text(pj, "name");
    if (p->constName.empty()) fail(UIE_BAD_RESOURCE);
    p->title = text(pj, "title");
    p->top = integer(pj, "top", p->top);
    p->left = integer(pj, "left", p->left);
    p->width = integer(pj, "width", p->width);
    p->height = integer(pj, "height", p->height);
    p->closeBox = flag(pj, "closeBox", true);
    p->sizable = flag(pj, "sizable", false);
    p->bgColor = colour(pj, "bgColor", p->bgColor);
    p->callbackName = text(pj, "callback");
    if (!p->callbackName.empty()) {
        auto it = s.panelCallbacks.find(p->callbackName);
        if (it == s.panelCallbacks.end()) fail(UIE_CALLBACK_NOT_FOUND);
        p->callback = it->second;
    }
    const json& controls = array(pj, "controls");
    for (size_t i = 0; i < controls.size(); ++i)
        p->controls.push_back(parseControl(controls[i], static_cast<int>(i) + 2, s));
    p->nextCtrlId = static_cast<int>(controls.size()) + 2;
    return p;
}

// Parsed documents of the embedded files, which never change during a run.
std::map<std::string, std::shared_ptr<const json>>& parsedCache() {
    static auto* cache = new std::map<std::string, std::shared_ptr<const json>>;
    return *cache;
}

int loadPanel(int parentPanel, const std::string& fileName, int panelConstant) {
    State& s = state();
    if (parentPanel != 0 && !s.panels.count(parentPanel)) return UIE_BAD_PANEL;

    std::shared_ptr<const json> doc;
    auto cached = parsedCache().find(fileName);
    if (cached != parsedCache().end()) {
        doc = cached->second;
    }
    bool stable = false;
    const std::string_view raw = resourceText(fileName, &stable);
    if (raw.empty()) return UIE_FILE_NOT_FOUND;
    if (!doc || !stable) {
        auto parsed = std::make_shared<json>(json::parse(raw.begin(), raw.end(), nullptr, false));
        if (parsed->is_discarded() || !parsed->is_object()) return UIE_BAD_RESOURCE;
        doc = parsed;
        if (stable) parsedCache()[fileName] = doc;
    }

    std::unique_ptr<Panel> panel;
    std::unique_ptr<MenuBar> bar;
    try {
        const json& panels = array(*doc, "panels");
        if (panelConstant < 1 || static_cast<size_t>(panelConstant) > panels.size())
            return UIE_PANEL_NOT_FOUND;
        const json& pj = panels[static_cast<size_t>(panelConstant) - 1];
        panel = parsePanel(pj, s);
        const std::string barName = text(pj, "menuBar");
        if (!barName.empty()) bar = parseMenuBar(*doc, barName, s);
    } catch (const LoadError& e) {
        return e.status;
    } catch (const std::bad_alloc&) {
        return UIE_OUT_OF_MEMORY;
    } catch (...) {
        return UIE_BAD_RESOURCE;
    }

    const int handle = s.nextPanel++;
    panel->handle = handle;
    panel->resourceFile = fileName;
    panel->resourceConstant = panelConstant;
    panel->parent = parentPanel;
    if (bar) {
        bar->handle = s.nextMenuBar++;
        bar->panel = handle;
        panel->menuBar = bar->handle;
        s.menuBars[bar->handle] = std::move(bar);
    }

    // Pages named in the resource are empty panels of their own, like pages added at run time.
    std::vector<int> pages;
    for (auto& c : panel->controls) {
        if (!c->tab) continue;
        for (size_t i = 0; i < c->tab->pages.size(); ++i) {
            auto page = std::make_unique<Panel>();
            page->handle = s.nextPanel++;
            page->constName = c->constName + "_PAGE" + std::to_string(i + 1);
            page->resourceFile = fileName;
            page->parent = handle;
            page->tabControl = c->id;
            page->title = c->tab->pages[i].label;
            page->visible = true;
            page->closeBox = false;
            page->width = c->width;
            page->height = c->height;
            c->tab->pages[i].panel = page->handle;
            pages.push_back(page->handle);
            s.panels[page->handle] = std::move(page);
        }
    }
    s.panels[handle] = std::move(panel);
    s.loadOrder.push_back(handle);
    for (int page : pages) s.loadOrder.push_back(page);
    notifyPanel(handle, ChCreated);
    for (int page : pages) notifyPanel(page, ChCreated);
    return handle;
}

}  // namespace
}  // namespace ui::detail

using namespace ui;
using namespace ui::detail;

int LoadPanel(int parentPanel, const char* resourceFile, int panelConstant) {
    if (!resourceFile || !*resourceFile) return UIE_FILE_NOT_FOUND;
    if (!isMainThread()) return askMain([&] { return LoadPanel(parentPanel, resourceFile, panelConstant); });
    // Files are looked up by name; a directory in front (a path built from the program folder) is ignored.
    std::string name = resourceFile;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    return loadPanel(parentPanel, name, panelConstant);
}
