// LoadPanel: builds a panel, its controls and its menu bar from a panel resource file, read by the same
// reader the build checks the files with, and binds the callback names the file gives to the registered
// functions.
#include <algorithm>
#include <variant>

#include "runtime.h"
#include "uir_model.h"

namespace ui::detail {
namespace {

// Raised inside this file only; LoadPanel turns it into a status.
struct LoadError {
    int status;
};

[[noreturn]] void fail(int status) {
    throw LoadError{status};
}

Kind kindOf(const std::string& s) {
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

DataType typeOf(const std::string& s) {
    static const std::map<std::string, DataType> types = {
        {"int", DataType::Int},       {"unsigned", DataType::UInt}, {"short", DataType::Short},
        {"ushort", DataType::UShort}, {"double", DataType::Double}, {"string", DataType::String}};
    auto it = types.find(s);
    if (it == types.end()) fail(UIE_BAD_RESOURCE);
    return it->second;
}

int choiceOf(const std::string& s, const std::map<std::string, int>& values) {
    auto it = values.find(s);
    if (it == values.end()) fail(UIE_BAD_RESOURCE);
    return it->second;
}

void setItems(const uir::Control& r, Control& c) {
    for (size_t i = 0; i < r.items.size(); ++i) {
        const uir::Item& from = r.items[i];
        ListItem item;
        item.label = from.label;
        // An item without a value stands for its label (texts) or its position (numbers).
        if (c.type == DataType::String) {
            const auto* v = std::get_if<std::string>(&from.value);
            item.text = v ? *v : item.label;
        } else {
            const auto* v = std::get_if<double>(&from.value);
            item.number = convertToType(c.type, v ? *v : static_cast<double>(i));
        }
        c.items.push_back(std::move(item));
    }
    c.index = c.items.empty() ? -1 : 0;
    for (size_t i = 0; i < c.items.size(); ++i) {
        const ListItem& item = c.items[i];
        const auto* text = std::get_if<std::string>(&r.value);
        const auto* number = std::get_if<double>(&r.value);
        const bool match = c.type == DataType::String
                               ? text && item.text == *text
                               : number && item.number == convertToType(c.type, *number);
        if (match) {
            c.index = static_cast<int>(i);
            break;
        }
    }
}

void setValue(const uir::Control& r, Control& c) {
    const auto* number = std::get_if<double>(&r.value);
    switch (c.kind) {
        case Kind::Numeric: {
            double x = convertToType(c.type, number ? *number : 0.0);
            if (c.coerce && c.minValue <= c.maxValue) x = std::clamp(x, c.minValue, c.maxValue);
            c.number = x;
            break;
        }
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led: {
            const bool* on = std::get_if<bool>(&r.value);
            const double x = number ? *number : on ? (*on ? 1 : 0) : c.offValue;
            c.number = (x == c.onValue || (x != c.offValue && x != 0)) ? c.onValue : c.offValue;
            break;
        }
        case Kind::String:
        case Kind::TextBox:
        case Kind::TextMsg: {
            const auto* text = std::get_if<std::string>(&r.value);
            c.text = text ? *text : (c.kind == Kind::TextMsg ? c.label : std::string());
            break;
        }
        default:
            break;
    }
}

// The run-time's control from the file's, with the run-time defaults of its kind where the file gives
// nothing.
std::unique_ptr<Control> makeFrom(const uir::Control& r, int id, const State& s) {
    const Kind kind = kindOf(r.kind);
    auto c = makeControl(kind, typeOf(r.dataType));
    c->id = id;
    c->constName = r.name;
    c->label = r.label;
    c->labelVisible = r.labelVisible;
    if (r.has("top")) c->top = r.rect.top;
    if (r.has("left")) c->left = r.rect.left;
    if (r.has("width")) c->width = r.rect.width;
    if (r.has("height")) c->height = r.rect.height;
    if (c->type != DataType::String) {
        if (r.has("min")) c->minValue = r.min;
        if (r.has("max")) c->maxValue = r.max;
        c->minValue = convertToType(c->type, c->minValue);
        c->maxValue = convertToType(c->type, c->maxValue);
        if (c->minValue > c->maxValue) fail(UIE_BAD_RESOURCE);
    }
    if (r.has("inc")) c->increment = r.inc;
    c->precision = r.precision;
    c->coerce = r.rangeCheck != "ignore";
    c->format = choiceOf(
        r.format,
        {{"decimal", VAL_DECIMAL_FORMAT}, {"hex", VAL_HEX_FORMAT}, {"scientific", VAL_SCIENTIFIC_FORMAT}});
    c->mode = !r.has("mode") && kind == Kind::TextMsg ? VAL_INDICATOR
                                                      : choiceOf(r.mode, {{"normal", VAL_NORMAL},
                                                                          {"hot", VAL_HOT},
                                                                          {"indicator", VAL_INDICATOR},
                                                                          {"validate", VAL_VALIDATE}});
    c->toolTip = r.toolTip;
    c->dimmed = r.dimmed;
    c->visible = r.visible;
    if (r.has("textColor")) c->textColor = r.textColor;
    if (r.has("bgColor")) c->bgColor = r.bgColor;
    if (r.has("onColor")) c->onColor = r.onColor;
    if (r.has("offColor")) c->offColor = r.offColor;
    if (r.has("onText")) c->onText = r.onText;
    if (r.has("offText")) c->offText = r.offText;
    if (r.has("onValue")) c->onValue = r.onValue;
    if (r.has("offValue")) c->offValue = r.offValue;
    c->image = r.image;

    c->callbackName = r.callback;
    if (!c->callbackName.empty()) {
        auto it = s.ctrlCallbacks.find(c->callbackName);
        if (it == s.ctrlCallbacks.end()) fail(UIE_CALLBACK_NOT_FOUND);
        c->callback = it->second;
    }

    if (isListKind(kind)) setItems(r, *c);
    setValue(r, *c);

    if (c->grid) {
        GridData& g = *c->grid;
        g.rows = r.rows;
        g.cols = r.cols;
        g.cells.assign(static_cast<size_t>(g.rows) * g.cols, std::string());
        g.colWidths.assign(static_cast<size_t>(g.cols), 64);
        g.colAlign.assign(static_cast<size_t>(g.cols), '<');
        for (size_t i = 0; i < r.colWidths.size() && i < g.colWidths.size(); ++i)
            g.colWidths[i] = r.colWidths[i];
        g.selRow = std::min(1, g.rows - 1);
        g.selCol = std::min(1, g.cols - 1);
        g.topRow = std::min(1, g.rows - 1);
    }
    if (c->graph) {
        c->graph->xAxis.name = r.xName;
        c->graph->yAxis.name = r.yName;
    }
    if (c->tab)
        for (const std::string& page : r.pages) c->tab->pages.push_back(TabPage{page, 0});
    return c;
}

void makeMenuNodes(const std::vector<uir::MenuItem>& items, std::vector<MenuNode>& out, int& nextId,
                   const State& s) {
    for (const uir::MenuItem& item : items) {
        MenuNode node{};
        node.separator = item.separator;
        if (node.separator) {
            out.push_back(std::move(node));
            continue;
        }
        node.constName = item.name;
        node.id = nextId++;  // depth-first numbering of named entries, as the generated constants
        node.label = item.label;
        node.callbackName = item.callback;
        // Every flag is set: with some left to their initialisers GCC 12 takes the neighbouring bytes of
        // a pair it copies at once for uninitialised.
        node.checked = item.checked;
        node.dimmed = item.dimmed;
        node.isMenu = false;
        if (!node.callbackName.empty()) {
            auto it = s.menuCallbacks.find(node.callbackName);
            if (it == s.menuCallbacks.end()) fail(UIE_CALLBACK_NOT_FOUND);
            node.callback = it->second;
        }
        if (item.hasSubmenu) {
            makeMenuNodes(item.submenu, node.children, nextId, s);
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

std::unique_ptr<MenuBar> makeMenuBar(const uir::Document& doc, const std::string& name, const State& s) {
    for (const uir::MenuBar& from : doc.menuBars) {
        if (from.name != name) continue;
        auto bar = std::make_unique<MenuBar>();
        bar->constName = name;
        int nextId = 2;
        for (const uir::Menu& menu : from.menus) {
            MenuNode node;
            node.isMenu = true;
            node.constName = menu.name;
            node.id = nextId++;
            node.label = menu.label;
            node.dimmed = menu.dimmed;
            makeMenuNodes(menu.items, node.children, nextId, s);
            bar->menus.push_back(std::move(node));
        }
        assignFreshIds(bar->menus, nextId);
        bar->nextId = nextId;
        return bar;
    }
    fail(UIE_BAD_RESOURCE);
}

std::unique_ptr<Panel> makePanel(const uir::Panel& r, const State& s) {
    auto p = std::make_unique<Panel>();
    p->constName = r.name;
    p->title = r.title;
    if (r.has("top")) p->top = r.rect.top;
    if (r.has("left")) p->left = r.rect.left;
    if (r.has("width")) p->width = r.rect.width;
    if (r.has("height")) p->height = r.rect.height;
    p->closeBox = r.closeBox;
    p->sizable = r.sizable;
    if (r.has("bgColor")) p->bgColor = r.bgColor;
    p->callbackName = r.callback;
    if (!p->callbackName.empty()) {
        auto it = s.panelCallbacks.find(p->callbackName);
        if (it == s.panelCallbacks.end()) fail(UIE_CALLBACK_NOT_FOUND);
        p->callback = it->second;
    }
    for (size_t i = 0; i < r.controls.size(); ++i)
        p->controls.push_back(makeFrom(r.controls[i], static_cast<int>(i) + 2, s));
    p->nextCtrlId = static_cast<int>(r.controls.size()) + 2;
    return p;
}

// Read documents of the embedded files, which never change during a run.
std::map<std::string, std::shared_ptr<const uir::Document>>& documentCache() {
    static auto* cache = new std::map<std::string, std::shared_ptr<const uir::Document>>;
    return *cache;
}

int loadPanel(int parentPanel, const std::string& fileName, int panelConstant) {
    State& s = state();
    if (parentPanel != 0 && !s.panels.count(parentPanel)) return UIE_BAD_PANEL;

    std::shared_ptr<const uir::Document> doc;
    bool stable = false;
    const std::string_view raw = resourceText(fileName, &stable);
    if (raw.empty()) return UIE_FILE_NOT_FOUND;
    if (stable) {
        auto cached = documentCache().find(fileName);
        if (cached != documentCache().end()) doc = cached->second;
    }
    std::unique_ptr<Panel> panel;
    std::unique_ptr<MenuBar> bar;
    try {
        if (!doc) {
            auto read = std::make_shared<uir::Document>();
            std::vector<std::string> problems;
            if (!uir::parseDocument(raw, fileName, *read, problems, uir::Checks::Usable))
                return UIE_BAD_RESOURCE;
            doc = read;
            if (stable) documentCache()[fileName] = doc;
        }
        if (panelConstant < 1 || static_cast<size_t>(panelConstant) > doc->panels.size())
            return UIE_PANEL_NOT_FOUND;
        const uir::Panel& from = doc->panels[static_cast<size_t>(panelConstant) - 1];
        panel = makePanel(from, s);
        if (!from.menuBar.empty()) bar = makeMenuBar(*doc, from.menuBar, s);
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
