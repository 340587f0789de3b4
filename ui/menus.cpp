// Menu bars: check and dim states, names, and menus, submenus and items added or removed at run time.
#include <algorithm>

#include "runtime.h"

namespace ui::detail {
namespace {

MenuNode* findNode(std::vector<MenuNode>& nodes, int id) {
    for (MenuNode& n : nodes) {
        if (n.id == id) return &n;
        if (MenuNode* found = findNode(n.children, id)) return found;
    }
    return nullptr;
}

// The item that owns submenu `id`.
MenuNode* findSubmenuOwner(std::vector<MenuNode>& nodes, int id) {
    for (MenuNode& n : nodes) {
        if (n.submenuId == id) return &n;
        if (MenuNode* found = findSubmenuOwner(n.children, id)) return found;
    }
    return nullptr;
}

// Where new entries of menu `id` go: a top-level menu, a submenu id, or an item that has a submenu.
std::vector<MenuNode>* findEntries(MenuBar& bar, int id) {
    for (MenuNode& m : bar.menus)
        if (m.id == id) return &m.children;
    if (MenuNode* owner = findSubmenuOwner(bar.menus, id)) return &owner->children;
    MenuNode* item = findNode(bar.menus, id);
    if (item && item->submenuId > 0) return &item->children;
    return nullptr;
}

// The list that holds entry `id`, and its position there.
std::vector<MenuNode>* findHolder(std::vector<MenuNode>& nodes, int id, size_t* at) {
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].id == id) {
            *at = i;
            return &nodes;
        }
        if (auto* h = findHolder(nodes[i].children, id, at)) return h;
    }
    return nullptr;
}

// A menu or item id, or a submenu id standing for the item that owns it.
int lookupNode(int menuBar, int id, MenuBar** bar, MenuNode** node) {
    if (int s = lookupMenuBar(menuBar, bar); s < 0) return s;
    *node = findNode((*bar)->menus, id);
    if (!*node) *node = findSubmenuOwner((*bar)->menus, id);
    return *node ? 0 : UIE_BAD_MENU;
}

int insertBefore(std::vector<MenuNode>& list, int before, MenuNode node) {
    auto pos = list.end();
    if (before != -1 && before != 0) {
        pos = std::find_if(list.begin(), list.end(), [&](const MenuNode& n) { return n.id == before; });
        if (pos == list.end()) return UIE_BAD_MENU;
    }
    const int id = node.id;
    list.insert(pos, std::move(node));
    return id;
}

}  // namespace
}  // namespace ui::detail

namespace ui {

MenuNode* findMenuNode(int menuBar, int id) {
    MenuBar* bar = findMenuBar(menuBar);
    return bar ? detail::findNode(bar->menus, id) : nullptr;
}

}  // namespace ui

using namespace ui;
using namespace ui::detail;

int GetPanelMenuBar(int panel) {
    if (!isMainThread()) return askMain([=] { return GetPanelMenuBar(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    return p->menuBar > 0 ? p->menuBar : UIE_BAD_MENU;
}

int SetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, int value) {
    if (!isMainThread())
        return postToMain([=] { SetMenuBarAttribute(menuBar, menuOrItem, attribute, value); });
    MenuBar* bar = nullptr;
    MenuNode* node = nullptr;
    if (int s = lookupNode(menuBar, menuOrItem, &bar, &node); s < 0) return s;
    switch (attribute) {
        case ATTR_CHECKED:
            if (node->isMenu || node->separator) return UIE_BAD_ATTRIBUTE;
            node->checked = value != 0;
            break;
        case ATTR_DIMMED:
            node->dimmed = value != 0;
            break;
        case ATTR_ITEM_NAME:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
    notifyMenuBar(menuBar);
    return 0;
}

int SetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, const char* value) {
    if (!isMainThread())
        return postToMain([=, v = std::string(value ? value : "")] {
            SetMenuBarAttribute(menuBar, menuOrItem, attribute, v.c_str());
        });
    MenuBar* bar = nullptr;
    MenuNode* node = nullptr;
    if (int s = lookupNode(menuBar, menuOrItem, &bar, &node); s < 0) return s;
    if (attribute == ATTR_CHECKED || attribute == ATTR_DIMMED) return UIE_BAD_VALUE;
    if (attribute != ATTR_ITEM_NAME || node->separator) return UIE_BAD_ATTRIBUTE;
    node->label = value ? value : "";
    notifyMenuBar(menuBar);
    return 0;
}

int GetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, int* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread())
        return askMain([&] { return GetMenuBarAttribute(menuBar, menuOrItem, attribute, value); });
    MenuBar* bar = nullptr;
    MenuNode* node = nullptr;
    if (int s = lookupNode(menuBar, menuOrItem, &bar, &node); s < 0) return s;
    switch (attribute) {
        case ATTR_CHECKED:
            if (node->isMenu || node->separator) return UIE_BAD_ATTRIBUTE;
            *value = node->checked;
            return 0;
        case ATTR_DIMMED:
            *value = node->dimmed;
            return 0;
        case ATTR_SUBMENU_ID:
            *value = node->submenuId;
            return 0;
        case ATTR_ITEM_NAME:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int GetMenuBarAttribute(int menuBar, int menuOrItem, int attribute, std::string* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread())
        return askMain([&] { return GetMenuBarAttribute(menuBar, menuOrItem, attribute, value); });
    MenuBar* bar = nullptr;
    MenuNode* node = nullptr;
    if (int s = lookupNode(menuBar, menuOrItem, &bar, &node); s < 0) return s;
    switch (attribute) {
        case ATTR_ITEM_NAME:
            *value = node->label;
            return 0;
        case ATTR_CALLBACK_NAME:
            *value = node->callbackName;
            return 0;
        case ATTR_CONSTANT_NAME:
            *value = node->constName;
            return 0;
        case ATTR_CHECKED:
        case ATTR_DIMMED:
        case ATTR_SUBMENU_ID:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int NewMenu(int menuBar, const char* label, int beforeMenu) {
    if (!isMainThread()) return askMain([&] { return NewMenu(menuBar, label, beforeMenu); });
    MenuBar* bar = nullptr;
    if (int s = lookupMenuBar(menuBar, &bar); s < 0) return s;
    MenuNode node;
    node.id = bar->nextId;
    node.isMenu = true;
    node.label = label ? label : "";
    const int id = insertBefore(bar->menus, beforeMenu, std::move(node));
    if (id < 0) return id;
    ++bar->nextId;
    notifyMenuBar(menuBar);
    return id;
}

int NewSubMenu(int menuBar, int item) {
    if (!isMainThread()) return askMain([=] { return NewSubMenu(menuBar, item); });
    MenuBar* bar = nullptr;
    if (int s = lookupMenuBar(menuBar, &bar); s < 0) return s;
    MenuNode* node = findNode(bar->menus, item);
    if (!node || node->isMenu || node->separator) return UIE_BAD_MENU;
    if (node->submenuId > 0) return node->submenuId;
    node->submenuId = bar->nextId++;
    notifyMenuBar(menuBar);
    return node->submenuId;
}

int NewMenuItem(int menuBar, int menu, const char* label, int beforeItem, int shortcutKey,
                MenuCallbackPtr callback, void* callbackData) {
    if (!isMainThread())
        return askMain([&] {
            return NewMenuItem(menuBar, menu, label, beforeItem, shortcutKey, callback, callbackData);
        });
    MenuBar* bar = nullptr;
    if (int s = lookupMenuBar(menuBar, &bar); s < 0) return s;
    std::vector<MenuNode>* entries = findEntries(*bar, menu);
    if (!entries) return UIE_BAD_MENU;
    MenuNode node;
    node.id = bar->nextId;
    node.label = label ? label : "";
    node.separator = node.label.empty();
    node.shortcutKey = shortcutKey;
    node.callback = node.separator ? nullptr : callback;
    node.callbackData = callbackData;
    const int id = insertBefore(*entries, beforeItem, std::move(node));
    if (id < 0) return id;
    ++bar->nextId;
    notifyMenuBar(menuBar);
    return id;
}

int DiscardMenuItem(int menuBar, int item) {
    if (!isMainThread()) return postToMain([=] { DiscardMenuItem(menuBar, item); });
    MenuBar* bar = nullptr;
    if (int s = lookupMenuBar(menuBar, &bar); s < 0) return s;
    size_t at = 0;
    std::vector<MenuNode>* holder = findHolder(bar->menus, item, &at);
    if (!holder || holder == &bar->menus) return UIE_BAD_MENU;  // top-level menus go with DiscardMenu
    holder->erase(holder->begin() + static_cast<long>(at));
    notifyMenuBar(menuBar);
    return 0;
}

int DiscardMenu(int menuBar, int menu) {
    if (!isMainThread()) return postToMain([=] { DiscardMenu(menuBar, menu); });
    MenuBar* bar = nullptr;
    if (int s = lookupMenuBar(menuBar, &bar); s < 0) return s;
    auto it =
        std::find_if(bar->menus.begin(), bar->menus.end(), [&](const MenuNode& m) { return m.id == menu; });
    if (it != bar->menus.end()) {
        bar->menus.erase(it);
    } else if (MenuNode* owner = findSubmenuOwner(bar->menus, menu)) {
        owner->children.clear();  // the item stays, without its submenu
        owner->submenuId = 0;
    } else {
        return UIE_BAD_MENU;
    }
    notifyMenuBar(menuBar);
    return 0;
}

int InstallMenuCallback(int menuBar, int item, MenuCallbackPtr fn, void* callbackData) {
    if (!isMainThread()) return postToMain([=] { InstallMenuCallback(menuBar, item, fn, callbackData); });
    MenuBar* bar = nullptr;
    MenuNode* node = nullptr;
    if (int s = lookupNode(menuBar, item, &bar, &node); s < 0) return s;
    if (node->isMenu || node->separator) return UIE_BAD_MENU;
    node->callback = fn;
    node->callbackData = callbackData;
    return 0;
}
