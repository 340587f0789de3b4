// Panels: display, modal popups, discarding, panel and system attributes.
#include <algorithm>

#include "runtime.h"

namespace ui {
namespace detail {

void discardPanelTree(int handle) {
    State& s = state();
    auto it = s.panels.find(handle);
    if (it == s.panels.end()) return;
    // Children first (tab pages included: they are children of the panel holding the tab control).
    std::vector<int> children;
    for (auto& [h, p] : s.panels)
        if (p->parent == handle) children.push_back(h);
    for (int child : children) discardPanelTree(child);

    it = s.panels.find(handle);
    if (it == s.panels.end()) return;
    std::unique_ptr<Panel> gone = std::move(it->second);
    s.panels.erase(it);
    s.loadOrder.erase(std::remove(s.loadOrder.begin(), s.loadOrder.end(), handle), s.loadOrder.end());
    s.popups.erase(std::remove(s.popups.begin(), s.popups.end(), handle), s.popups.end());
    if (s.activePanel == handle) s.activePanel = 0;

    // A page leaves its tab control.
    if (gone->tabControl > 0) {
        if (Control* tab = findControl(gone->parent, gone->tabControl); tab && tab->tab) {
            auto& pages = tab->tab->pages;
            auto page =
                std::find_if(pages.begin(), pages.end(), [&](const TabPage& t) { return t.panel == handle; });
            if (page != pages.end()) {
                // The page that was active stays active; if it was this one, its neighbour takes over.
                const int index = static_cast<int>(page - pages.begin());
                pages.erase(page);
                int& active = tab->tab->active;
                if (index < active) --active;
                active = std::clamp(active, 0, std::max(0, static_cast<int>(pages.size()) - 1));
                notifyControl(gone->parent, gone->tabControl, ChPages);
            }
        }
    }
    const int bar = gone->menuBar;
    if (bar) s.menuBars.erase(bar);
    notifyPanel(handle, ChDiscarded);
    if (bar) notifyMenuBar(bar);
}

}  // namespace detail

using namespace detail;

bool panelTakesGestures(int handle) {
    Panel* p = findPanel(handle);
    if (!p) return false;
    // Displayed, with every parent displayed.
    for (Panel* q = p; q; q = q->parent ? findPanel(q->parent) : nullptr) {
        if (!q->visible || q->dimmed) return false;
        if (q->tabControl > 0) {
            Control* tab = findControl(q->parent, q->tabControl);
            if (!tab || !tab->visible || tab->dimmed) return false;
        }
    }
    const int top = topPopup();
    if (top == 0) return true;
    for (Panel* q = p; q; q = q->parent ? findPanel(q->parent) : nullptr)
        if (q->handle == top) return true;
    return false;
}

}  // namespace ui

using namespace ui;
using namespace ui::detail;

int DisplayPanel(int panel) {
    if (!isMainThread()) return postToMain([=] { DisplayPanel(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    p->visible = true;
    notifyPanel(panel, ChShown);
    return 0;
}

int HidePanel(int panel) {
    if (!isMainThread()) return postToMain([=] { HidePanel(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    p->visible = false;
    // Hiding a modal dialog also ends its modality.
    auto& popups = state().popups;
    popups.erase(std::remove(popups.begin(), popups.end(), panel), popups.end());
    p->popup = false;
    notifyPanel(panel, ChShown);
    return 0;
}

int DiscardPanel(int panel) {
    if (!isMainThread()) return postToMain([=] { DiscardPanel(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    discardPanelTree(panel);
    return 0;
}

int InstallPopup(int panel) {
    if (!isMainThread()) return postToMain([=] { InstallPopup(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    auto& popups = state().popups;
    if (std::find(popups.begin(), popups.end(), panel) != popups.end()) return UIE_BAD_PANEL;
    popups.push_back(panel);
    p->popup = true;
    p->visible = true;
    state().activePanel = panel;
    notifyPanel(panel, ChShown);
    return 0;
}

int RemovePopup(int panel) {
    if (!isMainThread()) return postToMain([=] { RemovePopup(panel); });
    auto& popups = state().popups;
    if (popups.empty()) return UIE_BAD_PANEL;
    const int which = panel == 0 ? popups.back() : panel;
    auto it = std::find(popups.begin(), popups.end(), which);
    if (it == popups.end()) return UIE_BAD_PANEL;
    popups.erase(it);
    if (Panel* p = findPanel(which)) {
        p->popup = false;
        p->visible = false;
        notifyPanel(which, ChShown);
    }
    if (state().activePanel == which) state().activePanel = popups.empty() ? 0 : popups.back();
    return 0;
}

int SetActivePanel(int panel) {
    if (!isMainThread()) return postToMain([=] { SetActivePanel(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    state().activePanel = panel;
    notifyPanel(panel, ChShown);
    return 0;
}

int GetActivePanel() {
    if (!isMainThread()) return askMain([] { return GetActivePanel(); });
    return state().activePanel;
}

int SetPanelAttribute(int panel, int attribute, int value) {
    if (!isMainThread()) return postToMain([=] { SetPanelAttribute(panel, attribute, value); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    switch (attribute) {
        case ATTR_BACKCOLOR:
            if (value < 0 || value > VAL_TRANSPARENT) return UIE_BAD_VALUE;
            p->bgColor = value;
            break;
        case ATTR_CLOSE_ITEM_VISIBLE:
            p->closeBox = value != 0;
            break;
        case ATTR_VISIBLE:
            return value ? DisplayPanel(panel) : HidePanel(panel);
        case ATTR_DIMMED:
            p->dimmed = value != 0;
            break;
        case ATTR_TOP:
            p->top = value;
            break;
        case ATTR_LEFT:
            p->left = value;
            break;
        case ATTR_WIDTH:
            if (value < 0) return UIE_BAD_VALUE;
            p->width = value;
            break;
        case ATTR_HEIGHT:
            if (value < 0) return UIE_BAD_VALUE;
            p->height = value;
            break;
        case ATTR_TITLE:
            return UIE_BAD_VALUE;  // a text attribute
        default:
            return UIE_BAD_ATTRIBUTE;
    }
    notifyPanel(panel, ChAttributes);
    return 0;
}

int SetPanelAttribute(int panel, int attribute, const char* value) {
    if (!isMainThread())
        return postToMain(
            [=, v = std::string(value ? value : "")] { SetPanelAttribute(panel, attribute, v.c_str()); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    if (attribute != ATTR_TITLE) {
        switch (attribute) {
            case ATTR_BACKCOLOR:
            case ATTR_CLOSE_ITEM_VISIBLE:
            case ATTR_VISIBLE:
            case ATTR_DIMMED:
            case ATTR_TOP:
            case ATTR_LEFT:
            case ATTR_WIDTH:
            case ATTR_HEIGHT:
                return UIE_BAD_VALUE;  // numeric attributes
            default:
                return UIE_BAD_ATTRIBUTE;
        }
    }
    p->title = value ? value : "";
    notifyPanel(panel, ChAttributes);
    return 0;
}

int GetPanelAttribute(int panel, int attribute, int* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetPanelAttribute(panel, attribute, value); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    switch (attribute) {
        case ATTR_BACKCOLOR:
            *value = p->bgColor;
            return 0;
        case ATTR_CLOSE_ITEM_VISIBLE:
            *value = p->closeBox;
            return 0;
        case ATTR_PANEL_PARENT:
            *value = p->parent;
            return 0;
        case ATTR_VISIBLE:
            *value = p->visible;
            return 0;
        case ATTR_DIMMED:
            *value = p->dimmed;
            return 0;
        case ATTR_TOP:
            *value = p->top;
            return 0;
        case ATTR_LEFT:
            *value = p->left;
            return 0;
        case ATTR_WIDTH:
            *value = p->width;
            return 0;
        case ATTR_HEIGHT:
            *value = p->height;
            return 0;
        case ATTR_TITLE:
        case ATTR_CONSTANT_NAME:
        case ATTR_CALLBACK_NAME:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int GetPanelAttribute(int panel, int attribute, std::string* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetPanelAttribute(panel, attribute, value); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    switch (attribute) {
        case ATTR_TITLE:
            *value = p->title;
            return 0;
        case ATTR_CONSTANT_NAME:
            *value = p->constName;
            return 0;
        case ATTR_CALLBACK_NAME:
            *value = p->callbackName;
            return 0;
        default: {
            int dummy = 0;
            return GetPanelAttribute(panel, attribute, &dummy) == 0 ? UIE_BAD_VALUE : UIE_BAD_ATTRIBUTE;
        }
    }
}

int SetSystemAttribute(int attribute, const char* value) {
    if (!isMainThread())
        return postToMain(
            [=, v = std::string(value ? value : "")] { SetSystemAttribute(attribute, v.c_str()); });
    if (attribute != ATTR_TASKBAR_BUTTON_TEXT) return UIE_BAD_ATTRIBUTE;
    state().taskbarText = value ? value : "";
    notifySystem();
    return 0;
}

int GetSystemAttribute(int attribute, std::string* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetSystemAttribute(attribute, value); });
    if (attribute != ATTR_TASKBAR_BUTTON_TEXT) return UIE_BAD_ATTRIBUTE;
    *value = state().taskbarText;
    return 0;
}

int InstallPanelCallback(int panel, PanelCallbackPtr fn, void* callbackData) {
    if (!isMainThread()) return postToMain([=] { InstallPanelCallback(panel, fn, callbackData); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    p->callback = fn;
    p->callbackData = callbackData;
    return 0;
}
