// Control values: typed set and get with the conversion rules of each kind, new and discarded controls,
// text boxes, focus, and the text an operator reads on a control.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "runtime.h"

namespace ui {
namespace detail {

int setNumber(Control& c, double v) {
    if (std::isnan(v)) return UIE_BAD_VALUE;
    switch (c.kind) {
        case Kind::Numeric: {
            double x = convertToType(c.type, v);
            if (c.coerce && c.minValue <= c.maxValue) x = std::clamp(x, c.minValue, c.maxValue);
            c.number = x;
            return 0;
        }
        case Kind::Ring:
        case Kind::ListBox: {
            if (c.type == DataType::String) return UIE_BAD_VALUE;
            if (c.lazyCount >= 0) {  // a lazy list's values are its indices
                const double i = std::round(v);
                if (i != v || i < 0 || i >= c.lazyCount) return UIE_BAD_VALUE;
                c.index = static_cast<int>(i);
                return 0;
            }
            const double x = convertToType(c.type, v);
            for (size_t i = 0; i < c.items.size(); ++i) {
                if (c.items[i].number == x) {
                    c.index = static_cast<int>(i);
                    return 0;
                }
            }
            return UIE_BAD_VALUE;
        }
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led:
            if (v == c.onValue)
                c.number = c.onValue;
            else if (v == c.offValue)
                c.number = c.offValue;
            else if (c.offValue == 0)  // like a C truth value: anything else non-zero means on
                c.number = c.onValue;
            else
                return UIE_BAD_VALUE;
            return 0;
        case Kind::String:
        case Kind::TextBox:
        case Kind::TextMsg:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_CONTROL_TYPE;
    }
}

int setText(Control& c, const std::string& s, bool appendToTextBox) {
    switch (c.kind) {
        case Kind::String:
        case Kind::TextMsg:
            c.text = s;
            return 0;
        case Kind::TextBox:
            // A text box collects lines; ResetTextBox (and the operator's typing) replaces its contents.
            if (appendToTextBox)
                c.text += s;
            else
                c.text = s;
            return 0;
        case Kind::Ring:
        case Kind::ListBox:
            if (c.type != DataType::String || c.lazyCount >= 0) return UIE_BAD_VALUE;
            for (size_t i = 0; i < c.items.size(); ++i) {
                if (c.items[i].text == s) {
                    c.index = static_cast<int>(i);
                    return 0;
                }
            }
            return UIE_BAD_VALUE;
        case Kind::Numeric:
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_CONTROL_TYPE;
    }
}

namespace {

int getNumber(const Control& c, double* out) {
    switch (c.kind) {
        case Kind::Numeric:
        case Kind::BinarySwitch:
        case Kind::CheckBox:
        case Kind::Led:
            *out = c.number;
            return 0;
        case Kind::Ring:
        case Kind::ListBox:
            if (c.type == DataType::String) return UIE_BAD_VALUE;
            if (c.index < 0 || c.index >= c.itemCount()) return UIE_BAD_INDEX;
            *out = c.lazyCount >= 0 ? c.index : c.items[static_cast<size_t>(c.index)].number;
            return 0;
        case Kind::String:
        case Kind::TextBox:
        case Kind::TextMsg:
            return UIE_BAD_VALUE;
        default:
            return UIE_BAD_CONTROL_TYPE;
    }
}

int getText(const Control& c, std::string* out) {
    if (hasTextValue(c)) {
        if (!isListKind(c.kind)) {
            *out = c.text;
            return 0;
        }
        if (c.index < 0 || c.index >= c.itemCount()) return UIE_BAD_INDEX;
        *out = c.items[static_cast<size_t>(c.index)].text;
        return 0;
    }
    return hasNumericValue(c) ? UIE_BAD_VALUE : UIE_BAD_CONTROL_TYPE;
}

int setValue(int panel, int control, double v) {
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (int s = setNumber(*c, v); s < 0) return s;
    notifyControl(panel, control, ChValue);
    return 0;
}

int setValueText(int panel, int control, const std::string& v) {
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (int s = setText(*c, v, true); s < 0) return s;
    notifyControl(panel, control, ChValue);
    return 0;
}

template <typename T>
int getValueAs(int panel, int control, T* value, DataType type) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return getValueAs(panel, control, value, type); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    double v = 0;
    if (int s = getNumber(*c, &v); s < 0) return s;
    *value = static_cast<T>(convertToType(type, v));
    return 0;
}

std::string formatNumber(const Control& c, double v) {
    char buf[64];
    if (c.format == VAL_HEX_FORMAT) {
        // Register words: the whole 32-bit pattern, leading zeros included.
        std::snprintf(buf, sizeof buf, "%08llX",
                      static_cast<unsigned long long>(static_cast<long long>(v)) & 0xFFFFFFFFull);
    } else if (isIntegerType(c.type)) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
    } else if (c.format == VAL_SCIENTIFIC_FORMAT) {
        std::snprintf(buf, sizeof buf, "%.*e", std::clamp(c.precision, 0, 15), v);
    } else {
        std::snprintf(buf, sizeof buf, "%.*f", std::clamp(c.precision, 0, 15), v);
    }
    return buf;
}

}  // namespace
}  // namespace detail

using namespace detail;

std::string shownText(const Control& c) {
    switch (c.kind) {
        case Kind::Numeric:
            return formatNumber(c, c.number);
        case Kind::Ring:
        case Kind::ListBox:
            return c.index >= 0 && c.index < c.itemCount() ? c.itemLabel(c.index) : std::string();
        case Kind::BinarySwitch:
            return c.number == c.onValue ? c.onText : c.offText;
        case Kind::CheckBox:
        case Kind::Led:
            return c.number == c.onValue ? "on" : "off";
        case Kind::String:
        case Kind::TextBox:
        case Kind::TextMsg:
            return c.text;
        case Kind::Button: {
            std::string s = c.label;
            for (size_t at = s.find("__"); at != std::string::npos; at = s.find("__", at)) s.erase(at, 2);
            return s;
        }
        default:
            return c.label;
    }
}

}  // namespace ui

using namespace ui;
using namespace ui::detail;

int SetCtrlVal(int panel, int control, int value) {
    return SetCtrlVal(panel, control, static_cast<double>(value));
}
int SetCtrlVal(int panel, int control, unsigned value) {
    return SetCtrlVal(panel, control, static_cast<double>(value));
}
int SetCtrlVal(int panel, int control, short value) {
    return SetCtrlVal(panel, control, static_cast<double>(value));
}
int SetCtrlVal(int panel, int control, unsigned short value) {
    return SetCtrlVal(panel, control, static_cast<double>(value));
}

int SetCtrlVal(int panel, int control, double value) {
    if (!isMainThread()) return postToMain([=] { setValue(panel, control, value); });
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, const char* value) {
    return SetCtrlVal(panel, control, std::string(value ? value : ""));
}

int SetCtrlVal(int panel, int control, const std::string& value) {
    if (!isMainThread()) return postToMain([=] { setValueText(panel, control, value); });
    return setValueText(panel, control, value);
}

int GetCtrlVal(int panel, int control, int* value) {
    return getValueAs(panel, control, value, DataType::Int);
}
int GetCtrlVal(int panel, int control, unsigned* value) {
    return getValueAs(panel, control, value, DataType::UInt);
}
int GetCtrlVal(int panel, int control, short* value) {
    return getValueAs(panel, control, value, DataType::Short);
}
int GetCtrlVal(int panel, int control, unsigned short* value) {
    return getValueAs(panel, control, value, DataType::UShort);
}
int GetCtrlVal(int panel, int control, double* value) {
    return getValueAs(panel, control, value, DataType::Double);
}

int GetCtrlVal(int panel, int control, std::string* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetCtrlVal(panel, control, value); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    return getText(*c, value);
}

int GetCtrlVal(int panel, int control, char* buffer, size_t bufferSize) {
    if (!buffer || bufferSize == 0) return UIE_BAD_VALUE;
    std::string text;
    const int s = GetCtrlVal(panel, control, &text);
    copyToBuffer(s < 0 ? std::string() : text, buffer, bufferSize);
    return s;
}

int SetActiveCtrl(int panel, int control) {
    if (!isMainThread()) return postToMain([=] { SetActiveCtrl(panel, control); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    // A dimmed or hidden control cannot take the keyboard focus; it stays where it was.
    if (c->dimmed || !c->visible) return UIE_BAD_VALUE;
    findPanel(panel)->activeCtrl = control;
    notifyControl(panel, control, ChAttributes);
    return 0;
}

int GetActiveCtrl(int panel) {
    if (!isMainThread()) return askMain([=] { return GetActiveCtrl(panel); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    return p->activeCtrl;
}

int NewCtrl(int panel, int kind, const char* label, int top, int left) {
    if (!isMainThread()) return askMain([&] { return NewCtrl(panel, kind, label, top, left); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    Kind k;
    if (!styleToKind(kind, &k)) return UIE_BAD_VALUE;
    DataType type = DataType::Int;
    if (k == Kind::Numeric) type = DataType::Double;
    if (k == Kind::String || k == Kind::TextBox || k == Kind::TextMsg) type = DataType::String;
    auto c = makeControl(k, type);
    c->id = p->nextCtrlId++;
    c->label = label ? label : "";
    if (k == Kind::TextMsg) {
        c->text = c->label;
        c->mode = VAL_INDICATOR;
    }
    c->top = top;
    c->left = left;
    const int id = c->id;
    p->controls.push_back(std::move(c));
    notifyControl(panel, id, ChCreated);
    return id;
}

int DiscardCtrl(int panel, int control) {
    if (!isMainThread()) return postToMain([=] { DiscardCtrl(panel, control); });
    Panel* p = nullptr;
    if (int s = lookupPanel(panel, &p); s < 0) return s;
    auto it = std::find_if(p->controls.begin(), p->controls.end(),
                           [&](const std::unique_ptr<Control>& c) { return c->id == control; });
    if (it == p->controls.end()) return UIE_BAD_CONTROL;
    std::vector<int> pages;
    if ((*it)->tab)
        for (const TabPage& page : (*it)->tab->pages) pages.push_back(page.panel);
    p->controls.erase(it);
    if (p->activeCtrl == control) p->activeCtrl = 0;
    for (int page : pages) {
        if (Panel* pp = findPanel(page)) pp->tabControl = 0;
        discardPanelTree(page);
    }
    notifyControl(panel, control, ChDiscarded);
    return 0;
}

int ResetTextBox(int panel, int control, const char* text) {
    if (!isMainThread())
        return postToMain(
            [=, t = std::string(text ? text : "")] { ResetTextBox(panel, control, t.c_str()); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (c->kind != Kind::TextBox) return UIE_BAD_CONTROL_TYPE;
    c->text = text ? text : "";
    notifyControl(panel, control, ChValue);
    return 0;
}

int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr fn, void* callbackData) {
    if (!isMainThread()) return postToMain([=] { InstallCtrlCallback(panel, control, fn, callbackData); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    c->callback = fn;
    c->callbackData = callbackData;
    return 0;
}
