// Rings and list boxes: items with labels and typed values, the current index, and lazy lists whose labels
// are made on demand (a capture's million samples shown without storing a label per sample).
#include <algorithm>
#include <cmath>

#include "runtime.h"

namespace ui::detail {
namespace {

int lookupList(int panel, int control, Control** out) {
    if (int s = lookupControl(panel, control, out); s < 0) return s;
    return isListKind((*out)->kind) ? 0 : UIE_BAD_CONTROL_TYPE;
}

int insertItem(int panel, int control, int index, const std::string& label, const double* number,
               const std::string* text) {
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (c->lazyCount >= 0) return UIE_BAD_VALUE;  // a lazy list is replaced as a whole
    const int count = c->itemCount();
    if (index == -1) index = count;
    if (index < 0 || index > count) return UIE_BAD_INDEX;
    ListItem item;
    item.label = label;
    if (c->type == DataType::String) {
        if (!text) return UIE_BAD_VALUE;
        item.text = *text;
    } else {
        if (!number || std::isnan(*number)) return UIE_BAD_VALUE;
        item.number = convertToType(c->type, *number);
    }
    c->items.insert(c->items.begin() + index, std::move(item));
    // The current item stays current; the first item of an empty list becomes current.
    if (c->index < 0)
        c->index = 0;
    else if (index <= c->index)
        ++c->index;
    notifyControl(panel, control, ChItems | ChValue);
    return 0;
}

}  // namespace
}  // namespace ui::detail

using namespace ui;
using namespace ui::detail;

int ClearListCtrl(int panel, int control) {
    if (!isMainThread()) return postToMain([=] { ClearListCtrl(panel, control); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    c->items.clear();
    c->items.shrink_to_fit();
    c->lazyCount = -1;
    c->lazyLabel = nullptr;
    c->index = -1;
    notifyControl(panel, control, ChItems | ChValue);
    return 0;
}

int InsertListItem(int panel, int control, int index, const char* label, int value) {
    return InsertListItem(panel, control, index, label, static_cast<double>(value));
}

int InsertListItem(int panel, int control, int index, const char* label, unsigned value) {
    return InsertListItem(panel, control, index, label, static_cast<double>(value));
}

int InsertListItem(int panel, int control, int index, const char* label, double value) {
    std::string l = label ? label : "";
    if (!isMainThread()) return postToMain([=] { insertItem(panel, control, index, l, &value, nullptr); });
    return insertItem(panel, control, index, l, &value, nullptr);
}

int InsertListItem(int panel, int control, int index, const char* label, const char* value) {
    std::string l = label ? label : "";
    std::string v = value ? value : "";
    if (!isMainThread()) return postToMain([=] { insertItem(panel, control, index, l, nullptr, &v); });
    return insertItem(panel, control, index, l, nullptr, &v);
}

int DeleteListItem(int panel, int control, int index, int count) {
    if (!isMainThread()) return postToMain([=] { DeleteListItem(panel, control, index, count); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (c->lazyCount >= 0) return UIE_BAD_VALUE;
    const int n = c->itemCount();
    if (index < 0 || index >= n) return UIE_BAD_INDEX;
    if (count < 0) count = n - index;  // -1: to the end
    if (count == 0) return 0;
    if (index + count > n) return UIE_BAD_INDEX;
    c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
    if (c->index >= index + count)
        c->index -= count;
    else if (c->index >= index)
        c->index = std::min(index, static_cast<int>(c->items.size()) - 1);
    notifyControl(panel, control, ChItems | ChValue);
    return 0;
}

int GetNumListItems(int panel, int control, int* count) {
    if (!count) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetNumListItems(panel, control, count); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    *count = c->itemCount();
    return 0;
}

int GetCtrlIndex(int panel, int control, int* index) {
    if (!index) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetCtrlIndex(panel, control, index); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    *index = c->itemCount() == 0 ? -1 : c->index;
    return 0;
}

int SetCtrlIndex(int panel, int control, int index) {
    if (!isMainThread()) return postToMain([=] { SetCtrlIndex(panel, control, index); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (index < 0 || index >= c->itemCount()) return UIE_BAD_INDEX;
    c->index = index;
    notifyControl(panel, control, ChValue);
    return 0;
}

int GetIndexFromValue(int panel, int control, int* index, double value) {
    if (!index) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetIndexFromValue(panel, control, index, value); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (c->type == DataType::String) return UIE_BAD_VALUE;
    if (c->lazyCount >= 0) {
        if (value != std::floor(value) || value < 0 || value >= c->lazyCount) return UIE_BAD_VALUE;
        *index = static_cast<int>(value);
        return 0;
    }
    const double x = convertToType(c->type, value);
    for (size_t i = 0; i < c->items.size(); ++i) {
        if (c->items[i].number == x) {
            *index = static_cast<int>(i);
            return 0;
        }
    }
    return UIE_BAD_VALUE;
}

int GetIndexFromValue(int panel, int control, int* index, const char* value) {
    if (!index || !value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetIndexFromValue(panel, control, index, value); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (c->type != DataType::String) return UIE_BAD_VALUE;
    for (size_t i = 0; i < c->items.size(); ++i) {
        if (c->items[i].text == value) {
            *index = static_cast<int>(i);
            return 0;
        }
    }
    return UIE_BAD_VALUE;
}

namespace {

int valueAt(int panel, int control, int index, double* out) {
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (index < 0 || index >= c->itemCount()) return UIE_BAD_INDEX;
    if (c->type == DataType::String) return UIE_BAD_VALUE;
    *out = c->lazyCount >= 0 ? index : c->items[static_cast<size_t>(index)].number;
    return 0;
}

template <typename T>
int valueAtAs(int panel, int control, int index, T* value, DataType type) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return valueAtAs(panel, control, index, value, type); });
    double v = 0;
    if (int s = valueAt(panel, control, index, &v); s < 0) return s;
    *value = static_cast<T>(convertToType(type, v));
    return 0;
}

}  // namespace

int GetValueFromIndex(int panel, int control, int index, int* value) {
    return valueAtAs(panel, control, index, value, DataType::Int);
}
int GetValueFromIndex(int panel, int control, int index, unsigned* value) {
    return valueAtAs(panel, control, index, value, DataType::UInt);
}
int GetValueFromIndex(int panel, int control, int index, unsigned short* value) {
    return valueAtAs(panel, control, index, value, DataType::UShort);
}
int GetValueFromIndex(int panel, int control, int index, double* value) {
    return valueAtAs(panel, control, index, value, DataType::Double);
}

int GetValueFromIndex(int panel, int control, int index, std::string* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetValueFromIndex(panel, control, index, value); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (index < 0 || index >= c->itemCount()) return UIE_BAD_INDEX;
    if (c->type != DataType::String) return UIE_BAD_VALUE;
    *value = c->items[static_cast<size_t>(index)].text;
    return 0;
}

int GetLabelFromIndex(int panel, int control, int index, std::string* label) {
    if (!label) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetLabelFromIndex(panel, control, index, label); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (index < 0 || index >= c->itemCount()) return UIE_BAD_INDEX;
    *label = c->itemLabel(index);
    return 0;
}

int SetListItemSource(int panel, int control, int count, std::function<std::string(int index)> labelOf) {
    if (count < 0 || (count > 0 && !labelOf)) return UIE_BAD_VALUE;
    if (!isMainThread()) return postToMain([=] { SetListItemSource(panel, control, count, labelOf); });
    Control* c = nullptr;
    if (int s = lookupList(panel, control, &c); s < 0) return s;
    if (c->type == DataType::String) return UIE_BAD_VALUE;  // values are the indices
    c->items.clear();
    c->items.shrink_to_fit();
    c->lazyCount = count;
    c->lazyLabel = std::move(labelOf);
    c->index = count > 0 ? 0 : -1;
    notifyControl(panel, control, ChItems | ChValue);
    return 0;
}
