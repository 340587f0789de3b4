// Rings and list boxes: inserting and deleting items, the current item through those changes, values and
// labels by index, and lazy lists of a million samples.
#include "list_labels.h"
#include "ui_fixture.h"

namespace {

using uitest::indexOf;
using uitest::itemCount;
using uitest::UiTest;
using uitest::valueOf;

class Lists : public UiTest {};

TEST_F(Lists, InsertAndDeleteKeepTheCurrentItem) {
    const int p = shown(R"({"name":"R","kind":"ring","dataType":"int"})");
    EXPECT_EQ(indexOf(p, 2), -1) << "an empty ring has no current item";
    int v = 0;
    EXPECT_EQ(GetCtrlVal(p, 2, &v), UIE_BAD_INDEX);

    EXPECT_EQ(InsertListItem(p, 2, -1, "2048", 2048), 0);
    EXPECT_EQ(indexOf(p, 2), 0) << "the first item becomes current";
    InsertListItem(p, 2, -1, "4096", 4096);
    InsertListItem(p, 2, 0, "1024", 1024);  // before the current item
    EXPECT_EQ(valueOf<int>(p, 2), 2048) << "inserting before it keeps the same item current";
    EXPECT_EQ(listLabels(p, 2), (std::vector<std::string>{"1024", "2048", "4096"}));

    EXPECT_EQ(InsertListItem(p, 2, 7, "x", 1), UIE_BAD_INDEX);
    EXPECT_EQ(InsertListItem(p, 2, -1, "x", "text"), UIE_BAD_VALUE) << "a text value in a ring of numbers";

    EXPECT_EQ(DeleteListItem(p, 2, 0, 1), 0);
    EXPECT_EQ(valueOf<int>(p, 2), 2048);
    EXPECT_EQ(DeleteListItem(p, 2, 0, 1), 0);  // the current item itself
    EXPECT_EQ(valueOf<int>(p, 2), 4096);
    EXPECT_EQ(DeleteListItem(p, 2, 0, 5), UIE_BAD_INDEX);
    EXPECT_EQ(DeleteListItem(p, 2, 0, -1), 0) << "-1 deletes to the end";
    EXPECT_EQ(indexOf(p, 2), -1);
}

TEST_F(Lists, ValuesAndLabelsByIndexInTheRingsType) {
    const int p = shown(R"({"name":"L","kind":"listBox","dataType":"unsigned",
        "items":[{"label":"0x4120\tQM4120","value":16672},{"label":"0x4125\tQM4125","value":16677}]},
        {"name":"N","kind":"numeric"})");
    unsigned u = 0;
    unsigned short us = 0;
    double d = 0;
    std::string s;
    EXPECT_EQ(GetValueFromIndex(p, 2, 1, &u), 0);
    EXPECT_EQ(u, 0x4125u);
    GetValueFromIndex(p, 2, 0, &us);
    GetValueFromIndex(p, 2, 0, &d);
    EXPECT_EQ(us, 0x4120);
    EXPECT_EQ(d, 0x4120);
    EXPECT_EQ(GetValueFromIndex(p, 2, 0, &s), UIE_BAD_VALUE);
    EXPECT_EQ(GetValueFromIndex(p, 2, 2, &u), UIE_BAD_INDEX);
    EXPECT_EQ(GetLabelFromIndex(p, 2, 0, &s), 0);
    EXPECT_EQ(s, "0x4120\tQM4120");
    int index = -1;
    EXPECT_EQ(GetIndexFromValue(p, 2, &index, 0x4125), 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(GetIndexFromValue(p, 2, &index, 1.0), UIE_BAD_VALUE);
    EXPECT_EQ(SetCtrlIndex(p, 2, 1), 0);
    EXPECT_EQ(op.shows(p, 2), "0x4125\tQM4125");
    EXPECT_EQ(SetCtrlIndex(p, 2, 2), UIE_BAD_INDEX);

    EXPECT_EQ(InsertListItem(p, 3, -1, "x", 1), UIE_BAD_CONTROL_TYPE) << "a numeric has no items";
    EXPECT_EQ(ClearListCtrl(p, 2), 0);
    EXPECT_EQ(itemCount(p, 2), 0);
}

TEST_F(Lists, LazySourceOfAMillionItemsStoresNoLabels) {
    const int p = shown(R"({"name":"L","kind":"listBox","dataType":"int"})");
    int made = 0;
    ASSERT_EQ(SetListItemSource(p, 2, 1'000'000,
                                [&made](int i) {
                                    ++made;
                                    return std::to_string(i * 3) + " : " + std::to_string(-i);
                                }),
              0);
    EXPECT_EQ(made, 0) << "no label is made until someone asks";
    const ui::Control* c = ui::findControl(p, 2);
    EXPECT_TRUE(c->items.empty());
    EXPECT_EQ(itemCount(p, 2), 1'000'000);
    std::string l;
    GetLabelFromIndex(p, 2, 999'999, &l);
    EXPECT_EQ(l, "2999997 : -999999");
    EXPECT_EQ(made, 1);
    int v = 0;
    GetValueFromIndex(p, 2, 500'000, &v);
    EXPECT_EQ(v, 500'000) << "values are the indices";
    EXPECT_EQ(SetCtrlVal(p, 2, 123'456), 0);
    EXPECT_EQ(indexOf(p, 2), 123'456);
    EXPECT_EQ(InsertListItem(p, 2, -1, "x", 1), UIE_BAD_VALUE) << "a lazy list is replaced, not edited";
    EXPECT_EQ(SetListItemSource(p, 2, 5, nullptr), UIE_BAD_VALUE);

    ClearListCtrl(p, 2);
    EXPECT_EQ(itemCount(p, 2), 0);
    EXPECT_EQ(InsertListItem(p, 2, -1, "back to items", 1), 0);
}

}  // namespace
