// The labels of a ring's or list box's items, in order, as the operator sees them.
#ifndef QM_TESTS_SUPPORT_LIST_LABELS_H
#define QM_TESTS_SUPPORT_LIST_LABELS_H

#include <string>
#include <vector>

#include "userint.h"

inline std::vector<std::string> listLabels(int panel, int control) {
    int count = 0;
    GetNumListItems(panel, control, &count);
    std::vector<std::string> labels;
    for (int i = 0; i < count; ++i) {
        std::string label;
        GetLabelFromIndex(panel, control, i, &label);
        labels.push_back(label);
    }
    return labels;
}

#endif
