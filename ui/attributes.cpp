// Control attributes and tool tips: which attribute applies to which kind of control, and how numeric and
// text attribute values are checked, converted and applied.
#include <algorithm>
#include <cmath>

#include "runtime.h"

namespace ui::detail {
namespace {

bool isTextAttribute(int attribute) {
    switch (attribute) {
        case ATTR_LABEL_TEXT:
        case ATTR_ON_TEXT:
        case ATTR_OFF_TEXT:
        case ATTR_CALLBACK_NAME:
        case ATTR_CONSTANT_NAME:
        case ATTR_XNAME:
        case ATTR_YNAME:
            return true;
        default:
            return false;
    }
}

bool isReadOnly(int attribute) {
    switch (attribute) {
        case ATTR_CTRL_STYLE:
        case ATTR_DATA_TYPE:
        case ATTR_CALLBACK_NAME:
        case ATTR_CONSTANT_NAME:
        case ATTR_STRING_TEXT_LENGTH:
        case ATTR_NUM_ITEMS:
            return true;
        default:
            return false;
    }
}

// Whether an attribute means something for this kind of control.
bool applies(const Control& c, int attribute) {
    const Kind k = c.kind;
    switch (attribute) {
        case ATTR_VISIBLE:
        case ATTR_DIMMED:
        case ATTR_TOP:
        case ATTR_LEFT:
        case ATTR_WIDTH:
        case ATTR_HEIGHT:
        case ATTR_LABEL_TEXT:
        case ATTR_LABEL_VISIBLE:
        case ATTR_CTRL_STYLE:
        case ATTR_CALLBACK_NAME:
        case ATTR_CONSTANT_NAME:
        case ATTR_FRAME_COLOR:
            return true;
        case ATTR_TEXT_COLOR:
        case ATTR_TEXT_BGCOLOR:
            return k != Kind::Picture;
        case ATTR_CTRL_MODE:
            return k != Kind::Frame && k != Kind::Picture;
        case ATTR_MIN_VALUE:
        case ATTR_MAX_VALUE:
        case ATTR_INCR_VALUE:
        case ATTR_PRECISION:
        case ATTR_CHECK_RANGE:
        case ATTR_FORMAT:
            return k == Kind::Numeric;
        case ATTR_DATA_TYPE:
            return hasNumericValue(c) || hasTextValue(c);
        case ATTR_ON_COLOR:
        case ATTR_OFF_COLOR:
            return k == Kind::Led || k == Kind::BinarySwitch || k == Kind::CheckBox;
        case ATTR_ON_TEXT:
        case ATTR_OFF_TEXT:
            return k == Kind::Led || k == Kind::BinarySwitch;
        case ATTR_STRING_TEXT_LENGTH:
            return k == Kind::String || k == Kind::TextBox || k == Kind::TextMsg;
        case ATTR_NUM_ITEMS:
            return isListKind(k);
        case ATTR_COLUMN_STOP:
        case ATTR_COLUMN_RULE:
            return k == Kind::ListBox;
        case ATTR_PLOT_BGCOLOR:
        case ATTR_GRID_COLOR:
        case ATTR_XNAME:
        case ATTR_YNAME:
        case ATTR_XPRECISION:
        case ATTR_YPRECISION:
        case ATTR_XDIVISIONS:
        case ATTR_YDIVISIONS:
        case ATTR_XGRID_VISIBLE:
        case ATTR_YGRID_VISIBLE:
        case ATTR_NUM_CURSORS:
        case ATTR_YREVERSE:
            return k == Kind::Graph;
        default:
            return false;
    }
}

bool validColour(double v) {
    return v >= 0 && v <= static_cast<double>(VAL_TRANSPARENT) && v == std::floor(v);
}

// Keeps a numeric's value inside its limits after the limits or the range checking changed.
unsigned coerceValue(Control& c) {
    if (c.kind != Kind::Numeric || !c.coerce || c.minValue > c.maxValue) return 0;
    const double x = std::clamp(c.number, c.minValue, c.maxValue);
    if (x == c.number) return 0;
    c.number = x;
    return ChValue;
}

// Applies a numeric attribute value; returns the change bits or a negative status.
int setNumeric(Control& c, int attribute, double v) {
    if (std::isnan(v)) return UIE_BAD_VALUE;
    const bool on = v != 0;
    const int iv = static_cast<int>(std::llround(std::clamp(v, -2e9, 2e9)));
    GraphData* g = c.graph.get();
    switch (attribute) {
        case ATTR_VISIBLE:
            c.visible = on;
            break;
        case ATTR_DIMMED:
            c.dimmed = on;
            break;
        case ATTR_TOP:
            c.top = iv;
            break;
        case ATTR_LEFT:
            c.left = iv;
            break;
        case ATTR_WIDTH:
        case ATTR_HEIGHT:
            if (iv < 0) return UIE_BAD_VALUE;
            (attribute == ATTR_WIDTH ? c.width : c.height) = iv;
            break;
        case ATTR_LABEL_VISIBLE:
            c.labelVisible = on;
            break;
        case ATTR_MIN_VALUE:
            c.minValue = convertToType(c.type, v);
            return ChAttributes | coerceValue(c);
        case ATTR_MAX_VALUE:
            c.maxValue = convertToType(c.type, v);
            return ChAttributes | coerceValue(c);
        case ATTR_INCR_VALUE:
            if (v < 0) return UIE_BAD_VALUE;
            c.increment = convertToType(c.type, v);
            break;
        case ATTR_PRECISION:
            if (iv < 0 || iv > 15) return UIE_BAD_VALUE;
            c.precision = iv;
            return ChAttributes | ChValue;
        case ATTR_CHECK_RANGE:
            if (iv != VAL_COERCE_RANGE && iv != VAL_IGNORE_RANGE) return UIE_BAD_VALUE;
            c.coerce = iv == VAL_COERCE_RANGE;
            return ChAttributes | coerceValue(c);
        case ATTR_FORMAT:
            if (iv < VAL_DECIMAL_FORMAT || iv > VAL_SCIENTIFIC_FORMAT) return UIE_BAD_VALUE;
            c.format = iv;
            return ChAttributes | ChValue;
        case ATTR_CTRL_MODE:
            if (iv < VAL_NORMAL || iv > VAL_VALIDATE) return UIE_BAD_VALUE;
            c.mode = iv;
            break;
        case ATTR_TEXT_COLOR:
        case ATTR_TEXT_BGCOLOR:
        case ATTR_ON_COLOR:
        case ATTR_OFF_COLOR:
        case ATTR_FRAME_COLOR:
        case ATTR_PLOT_BGCOLOR:
        case ATTR_GRID_COLOR: {
            if (!validColour(v)) return UIE_BAD_VALUE;
            int* target = attribute == ATTR_TEXT_COLOR     ? &c.textColor
                          : attribute == ATTR_TEXT_BGCOLOR ? &c.bgColor
                          : attribute == ATTR_ON_COLOR     ? &c.onColor
                          : attribute == ATTR_OFF_COLOR    ? &c.offColor
                          : attribute == ATTR_FRAME_COLOR  ? &c.frameColor
                          : attribute == ATTR_PLOT_BGCOLOR ? &g->plotBgColor
                                                           : &g->gridColor;
            *target = iv;
            return attribute == ATTR_GRID_COLOR ? ChAxes : ChAttributes;
        }
        case ATTR_COLUMN_STOP:
            if (iv < 0) return UIE_BAD_VALUE;
            c.columnStop = iv;
            break;
        case ATTR_COLUMN_RULE:
            c.columnRule = on;
            break;
        case ATTR_XPRECISION:
        case ATTR_YPRECISION:
            if (iv < -1 || iv > 15) return UIE_BAD_VALUE;
            (attribute == ATTR_XPRECISION ? g->xAxis : g->yAxis).precision = iv;
            return ChAxes;
        case ATTR_XDIVISIONS:
        case ATTR_YDIVISIONS:
            if (iv < 1 || iv > 100) return UIE_BAD_VALUE;
            (attribute == ATTR_XDIVISIONS ? g->xAxis : g->yAxis).divisions = iv;
            return ChAxes;
        case ATTR_XGRID_VISIBLE:
        case ATTR_YGRID_VISIBLE:
            (attribute == ATTR_XGRID_VISIBLE ? g->xAxis : g->yAxis).gridVisible = on;
            return ChAxes;
        case ATTR_YREVERSE:
            g->yAxis.reversed = on;
            return ChAxes;
        case ATTR_NUM_CURSORS:
            if (iv < 0 || iv > 10) return UIE_BAD_VALUE;
            g->cursors.resize(static_cast<size_t>(iv));
            return ChCursors;
        default:
            return UIE_BAD_VALUE;  // a text attribute
    }
    return ChAttributes;
}

int getNumeric(const Control& c, int attribute, double* v) {
    const GraphData* g = c.graph.get();
    switch (attribute) {
        case ATTR_VISIBLE:
            *v = c.visible;
            return 0;
        case ATTR_DIMMED:
            *v = c.dimmed;
            return 0;
        case ATTR_TOP:
            *v = c.top;
            return 0;
        case ATTR_LEFT:
            *v = c.left;
            return 0;
        case ATTR_WIDTH:
            *v = c.width;
            return 0;
        case ATTR_HEIGHT:
            *v = c.height;
            return 0;
        case ATTR_LABEL_VISIBLE:
            *v = c.labelVisible;
            return 0;
        case ATTR_MIN_VALUE:
            *v = c.minValue;
            return 0;
        case ATTR_MAX_VALUE:
            *v = c.maxValue;
            return 0;
        case ATTR_INCR_VALUE:
            *v = c.increment;
            return 0;
        case ATTR_PRECISION:
            *v = c.precision;
            return 0;
        case ATTR_CHECK_RANGE:
            *v = c.coerce ? VAL_COERCE_RANGE : VAL_IGNORE_RANGE;
            return 0;
        case ATTR_FORMAT:
            *v = c.format;
            return 0;
        case ATTR_CTRL_MODE:
            *v = c.mode;
            return 0;
        case ATTR_DATA_TYPE:
            *v = dataTypeToVal(c.type);
            return 0;
        case ATTR_CTRL_STYLE:
            *v = kindToStyle(c.kind);
            return 0;
        case ATTR_TEXT_COLOR:
            *v = c.textColor;
            return 0;
        case ATTR_TEXT_BGCOLOR:
            *v = c.bgColor;
            return 0;
        case ATTR_ON_COLOR:
            *v = c.onColor;
            return 0;
        case ATTR_OFF_COLOR:
            *v = c.offColor;
            return 0;
        case ATTR_FRAME_COLOR:
            *v = c.frameColor;
            return 0;
        case ATTR_STRING_TEXT_LENGTH:
            *v = static_cast<double>(c.text.size());
            return 0;
        case ATTR_NUM_ITEMS:
            *v = c.itemCount();
            return 0;
        case ATTR_COLUMN_STOP:
            *v = c.columnStop;
            return 0;
        case ATTR_COLUMN_RULE:
            *v = c.columnRule;
            return 0;
        case ATTR_PLOT_BGCOLOR:
            *v = g->plotBgColor;
            return 0;
        case ATTR_GRID_COLOR:
            *v = g->gridColor;
            return 0;
        case ATTR_XPRECISION:
            *v = g->xAxis.precision;
            return 0;
        case ATTR_YPRECISION:
            *v = g->yAxis.precision;
            return 0;
        case ATTR_XDIVISIONS:
            *v = g->xAxis.divisions;
            return 0;
        case ATTR_YDIVISIONS:
            *v = g->yAxis.divisions;
            return 0;
        case ATTR_XGRID_VISIBLE:
            *v = g->xAxis.gridVisible;
            return 0;
        case ATTR_YGRID_VISIBLE:
            *v = g->yAxis.gridVisible;
            return 0;
        case ATTR_YREVERSE:
            *v = g->yAxis.reversed;
            return 0;
        case ATTR_NUM_CURSORS:
            *v = static_cast<double>(g->cursors.size());
            return 0;
        default:
            return UIE_BAD_VALUE;  // a text attribute
    }
}

std::string* textTarget(Control& c, int attribute) {
    switch (attribute) {
        case ATTR_LABEL_TEXT:
            return &c.label;
        case ATTR_ON_TEXT:
            return &c.onText;
        case ATTR_OFF_TEXT:
            return &c.offText;
        case ATTR_CALLBACK_NAME:
            return &c.callbackName;
        case ATTR_CONSTANT_NAME:
            return &c.constName;
        case ATTR_XNAME:
            return &c.graph->xAxis.name;
        case ATTR_YNAME:
            return &c.graph->yAxis.name;
        default:
            return nullptr;
    }
}

int setAttr(int panel, int control, int attribute, double v) {
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (!applies(*c, attribute) || isReadOnly(attribute)) return UIE_BAD_ATTRIBUTE;
    if (isTextAttribute(attribute)) return UIE_BAD_VALUE;
    const int what = setNumeric(*c, attribute, v);
    if (what < 0) return what;
    notifyControl(panel, control, static_cast<unsigned>(what));
    return 0;
}

int getAttr(int panel, int control, int attribute, double* v) {
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (!applies(*c, attribute)) return UIE_BAD_ATTRIBUTE;
    if (isTextAttribute(attribute)) return UIE_BAD_VALUE;
    return getNumeric(*c, attribute, v);
}

}  // namespace
}  // namespace ui::detail

using namespace ui;
using namespace ui::detail;

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    return SetCtrlAttribute(panel, control, attribute, static_cast<double>(value));
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    if (!isMainThread()) return postToMain([=] { setAttr(panel, control, attribute, value); });
    return setAttr(panel, control, attribute, value);
}

int SetCtrlAttribute(int panel, int control, int attribute, const char* value) {
    if (!isMainThread())
        return postToMain([=, v = std::string(value ? value : "")] {
            SetCtrlAttribute(panel, control, attribute, v.c_str());
        });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (!applies(*c, attribute) || isReadOnly(attribute)) return UIE_BAD_ATTRIBUTE;
    std::string* target = textTarget(*c, attribute);
    if (!target) return UIE_BAD_VALUE;  // a numeric attribute
    *target = value ? value : "";
    notifyControl(panel, control, attribute == ATTR_XNAME || attribute == ATTR_YNAME ? ChAxes : ChAttributes);
    return 0;
}

int GetCtrlAttribute(int panel, int control, int attribute, int* value) {
    if (!value) return UIE_BAD_VALUE;
    double v = 0;
    const int s = GetCtrlAttribute(panel, control, attribute, &v);
    if (s == 0) *value = static_cast<int>(std::llround(std::clamp(v, -2147483648.0, 2147483647.0)));
    return s;
}

int GetCtrlAttribute(int panel, int control, int attribute, double* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return getAttr(panel, control, attribute, value); });
    return getAttr(panel, control, attribute, value);
}

int GetCtrlAttribute(int panel, int control, int attribute, std::string* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetCtrlAttribute(panel, control, attribute, value); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (!applies(*c, attribute)) return UIE_BAD_ATTRIBUTE;
    std::string* source = textTarget(*c, attribute);
    if (!source) return UIE_BAD_VALUE;
    *value = *source;
    return 0;
}

int SetCtrlToolTipAttribute(int panel, int control, int attribute, const char* text) {
    if (!isMainThread())
        return postToMain([=, t = std::string(text ? text : "")] {
            SetCtrlToolTipAttribute(panel, control, attribute, t.c_str());
        });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (attribute == CTRL_TOOLTIP_ATTR_ENABLE) return UIE_BAD_VALUE;
    if (attribute != CTRL_TOOLTIP_ATTR_TEXT) return UIE_BAD_ATTRIBUTE;
    c->toolTip = text ? text : "";
    notifyControl(panel, control, ChAttributes);
    return 0;
}

int SetCtrlToolTipAttribute(int panel, int control, int attribute, int value) {
    if (!isMainThread())
        return postToMain([=] { SetCtrlToolTipAttribute(panel, control, attribute, value); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (attribute == CTRL_TOOLTIP_ATTR_TEXT) return UIE_BAD_VALUE;
    if (attribute != CTRL_TOOLTIP_ATTR_ENABLE) return UIE_BAD_ATTRIBUTE;
    c->toolTipEnabled = value != 0;
    notifyControl(panel, control, ChAttributes);
    return 0;
}

int GetCtrlToolTipAttribute(int panel, int control, int attribute, std::string* text) {
    if (!text) return UIE_BAD_VALUE;
    if (!isMainThread())
        return askMain([&] { return GetCtrlToolTipAttribute(panel, control, attribute, text); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (attribute == CTRL_TOOLTIP_ATTR_ENABLE) return UIE_BAD_VALUE;
    if (attribute != CTRL_TOOLTIP_ATTR_TEXT) return UIE_BAD_ATTRIBUTE;
    *text = c->toolTip;
    return 0;
}

int GetCtrlToolTipAttribute(int panel, int control, int attribute, int* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread())
        return askMain([&] { return GetCtrlToolTipAttribute(panel, control, attribute, value); });
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (attribute == CTRL_TOOLTIP_ATTR_TEXT) return UIE_BAD_VALUE;
    if (attribute != CTRL_TOOLTIP_ATTR_ENABLE) return UIE_BAD_ATTRIBUTE;
    *value = c->toolTipEnabled;
    return 0;
}
