// Grids (tables of text cells with a fixed header row and column) and tab controls whose pages are panels.
#include <algorithm>

#include "runtime.h"

namespace ui::detail {
namespace {

constexpr long long MAX_GRID_CELLS = 10'000'000;

int lookupGrid(int panel, int control, Control** c, GridData** g) {
    if (int s = lookupControl(panel, control, c); s < 0) return s;
    if (!(*c)->grid) return UIE_BAD_CONTROL_TYPE;
    *g = (*c)->grid.get();
    return 0;
}

int lookupTab(int panel, int control, TabData** t) {
    Control* c = nullptr;
    if (int s = lookupControl(panel, control, &c); s < 0) return s;
    if (!c->tab) return UIE_BAD_CONTROL_TYPE;
    *t = c->tab.get();
    return 0;
}

bool inside(const GridData& g, int row, int col) {
    return row >= 0 && row < g.rows && col >= 0 && col < g.cols;
}

void resize(GridData& g, int rows, int cols) {
    std::vector<std::string> cells(static_cast<size_t>(rows) * cols);
    for (int r = 0; r < std::min(rows, g.rows); ++r)
        for (int c = 0; c < std::min(cols, g.cols); ++c)
            cells[static_cast<size_t>(r) * cols + c] =
                std::move(g.cells[static_cast<size_t>(r) * g.cols + c]);
    g.cells = std::move(cells);
    g.rows = rows;
    g.cols = cols;
    g.colWidths.resize(static_cast<size_t>(cols), 64);
    g.colAlign.resize(static_cast<size_t>(cols), '<');
    g.selRow = std::min(g.selRow, rows - 1);
    g.selCol = std::min(g.selCol, cols - 1);
    g.topRow = std::clamp(g.topRow, std::min(g.fixedRows, rows - 1), rows - 1);
}

}  // namespace
}  // namespace ui::detail

using namespace ui;
using namespace ui::detail;

int GridSetSize(int panel, int control, int rows, int cols) {
    if (!isMainThread()) return postToMain([=] { GridSetSize(panel, control, rows, cols); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (rows < 1 || cols < 1 || static_cast<long long>(rows) * cols > MAX_GRID_CELLS) return UIE_BAD_VALUE;
    resize(*g, rows, cols);
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridGetSize(int panel, int control, int* rows, int* cols) {
    if (!isMainThread()) return askMain([&] { return GridGetSize(panel, control, rows, cols); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (rows) *rows = g->rows;
    if (cols) *cols = g->cols;
    return 0;
}

int GridSetCellText(int panel, int control, int row, int col, const char* text) {
    if (!isMainThread())
        return postToMain(
            [=, t = std::string(text ? text : "")] { GridSetCellText(panel, control, row, col, t.c_str()); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (!inside(*g, row, col)) return UIE_BAD_INDEX;
    g->cells[static_cast<size_t>(row) * g->cols + col] = text ? text : "";
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridGetCellText(int panel, int control, int row, int col, std::string* text) {
    if (!text) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GridGetCellText(panel, control, row, col, text); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (!inside(*g, row, col)) return UIE_BAD_INDEX;
    *text = g->cell(row, col);
    return 0;
}

int GridSetRowTexts(int panel, int control, int row, const std::vector<std::string>& texts) {
    if (!isMainThread()) return postToMain([=] { GridSetRowTexts(panel, control, row, texts); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (row < 0 || row >= g->rows || texts.size() > static_cast<size_t>(g->cols)) return UIE_BAD_INDEX;
    std::copy(texts.begin(), texts.end(), g->cells.begin() + static_cast<long>(row) * g->cols);
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridSetBlockTexts(int panel, int control, int firstRow,
                      const std::vector<std::vector<std::string>>& rows) {
    if (!isMainThread()) return postToMain([=] { GridSetBlockTexts(panel, control, firstRow, rows); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (firstRow < 0 || firstRow + static_cast<long>(rows.size()) > g->rows) return UIE_BAD_INDEX;
    for (const std::vector<std::string>& texts : rows)
        if (texts.size() > static_cast<size_t>(g->cols)) return UIE_BAD_INDEX;
    for (size_t i = 0; i < rows.size(); ++i)
        std::copy(rows[i].begin(), rows[i].end(),
                  g->cells.begin() + (static_cast<long>(firstRow) + static_cast<long>(i)) * g->cols);
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridSetFormatString(int panel, int control, const char* format) {
    if (!format) return UIE_BAD_VALUE;
    if (!isMainThread())
        return postToMain([=, f = std::string(format)] { GridSetFormatString(panel, control, f.c_str()); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    std::vector<std::string> titles;
    std::vector<char> aligns;
    std::string rest = format;
    for (;;) {
        const size_t bar = rest.find('|');
        std::string title = rest.substr(0, bar);
        char align = '<';
        if (!title.empty() && (title[0] == '^' || title[0] == '<' || title[0] == '>')) {
            align = title[0];
            title.erase(0, 1);
        }
        titles.push_back(std::move(title));
        aligns.push_back(align);
        if (bar == std::string::npos) break;
        rest.erase(0, bar + 1);
    }
    // The header names the columns: a longer header widens the grid.
    if (static_cast<int>(titles.size()) > g->cols) {
        if (static_cast<long long>(g->rows) * static_cast<long long>(titles.size()) > MAX_GRID_CELLS)
            return UIE_BAD_VALUE;
        resize(*g, g->rows, static_cast<int>(titles.size()));
    }
    for (size_t i = 0; i < titles.size(); ++i) {
        g->cells[i] = std::move(titles[i]);
        g->colAlign[i] = aligns[i];
    }
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridSetColWidth(int panel, int control, int col, int pixels) {
    if (!isMainThread()) return postToMain([=] { GridSetColWidth(panel, control, col, pixels); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (col < 0 || col >= g->cols) return UIE_BAD_INDEX;
    if (pixels < 0) return UIE_BAD_VALUE;
    g->colWidths[static_cast<size_t>(col)] = pixels;
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridGetColWidth(int panel, int control, int col, int* pixels) {
    if (!pixels) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GridGetColWidth(panel, control, col, pixels); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (col < 0 || col >= g->cols) return UIE_BAD_INDEX;
    *pixels = g->colWidths[static_cast<size_t>(col)];
    return 0;
}

int GridAllowColumnResize(int panel, int control, int allow) {
    if (!isMainThread()) return postToMain([=] { GridAllowColumnResize(panel, control, allow); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    g->columnResize = allow != 0;
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridSetSelection(int panel, int control, int row, int col) {
    if (!isMainThread()) return postToMain([=] { GridSetSelection(panel, control, row, col); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (!inside(*g, row, col)) return UIE_BAD_INDEX;
    g->selRow = row;
    g->selCol = col;
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridGetSelection(int panel, int control, int* row, int* col) {
    if (!isMainThread()) return askMain([&] { return GridGetSelection(panel, control, row, col); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (row) *row = g->selRow;
    if (col) *col = g->selCol;
    return 0;
}

int GridSetTopRow(int panel, int control, int row) {
    if (!isMainThread()) return postToMain([=] { GridSetTopRow(panel, control, row); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    if (row < g->fixedRows || row >= g->rows) return UIE_BAD_INDEX;
    g->topRow = row;
    notifyControl(panel, control, ChCells);
    return 0;
}

int GridGetTopRow(int panel, int control, int* row) {
    if (!row) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GridGetTopRow(panel, control, row); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    *row = g->topRow;
    return 0;
}

int GridSetSelChangeCallback(int panel, int control, GridSelChangeCallbackPtr fn, void* callbackData) {
    if (!isMainThread())
        return postToMain([=] { GridSetSelChangeCallback(panel, control, fn, callbackData); });
    Control* c = nullptr;
    GridData* g = nullptr;
    if (int s = lookupGrid(panel, control, &c, &g); s < 0) return s;
    g->selChange = fn;
    g->selChangeData = callbackData;
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Tab controls

int InsertPanelAsTabPage(int panel, int control, int index, int pagePanel) {
    if (!isMainThread())
        return askMain([=] { return InsertPanelAsTabPage(panel, control, index, pagePanel); });
    TabData* t = nullptr;
    if (int s = lookupTab(panel, control, &t); s < 0) return s;
    Panel* page = nullptr;
    if (int s = lookupPanel(pagePanel, &page); s < 0) return s;
    // The page lies inside the panel holding the tab control, and in one tab control only.
    if (pagePanel == panel || page->tabControl > 0 || (page->parent != 0 && page->parent != panel))
        return UIE_BAD_PANEL;
    const int count = static_cast<int>(t->pages.size());
    if (index == -1) index = count;
    if (index < 0 || index > count) return UIE_BAD_INDEX;
    page->parent = panel;
    page->tabControl = control;
    page->visible = true;
    t->pages.insert(t->pages.begin() + index, TabPage{page->title, pagePanel});
    if (count > 0 && index <= t->active) ++t->active;
    notifyControl(panel, control, ChPages);
    notifyPanel(pagePanel, ChShown);
    return index;
}

int SetTabPageAttribute(int panel, int control, int pageIndex, int attribute, const char* value) {
    if (!isMainThread())
        return postToMain([=, v = std::string(value ? value : "")] {
            SetTabPageAttribute(panel, control, pageIndex, attribute, v.c_str());
        });
    TabData* t = nullptr;
    if (int s = lookupTab(panel, control, &t); s < 0) return s;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(t->pages.size())) return UIE_BAD_INDEX;
    if (attribute != ATTR_LABEL_TEXT) return UIE_BAD_ATTRIBUTE;
    t->pages[static_cast<size_t>(pageIndex)].label = value ? value : "";
    notifyControl(panel, control, ChPages);
    return 0;
}

int GetPanelHandleFromTabPage(int panel, int control, int pageIndex, int* pagePanel) {
    if (!pagePanel) return UIE_BAD_VALUE;
    if (!isMainThread())
        return askMain([&] { return GetPanelHandleFromTabPage(panel, control, pageIndex, pagePanel); });
    TabData* t = nullptr;
    if (int s = lookupTab(panel, control, &t); s < 0) return s;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(t->pages.size())) return UIE_BAD_INDEX;
    *pagePanel = t->pages[static_cast<size_t>(pageIndex)].panel;
    return 0;
}

int GetNumTabPages(int panel, int control, int* count) {
    if (!count) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetNumTabPages(panel, control, count); });
    TabData* t = nullptr;
    if (int s = lookupTab(panel, control, &t); s < 0) return s;
    *count = static_cast<int>(t->pages.size());
    return 0;
}

int GetActiveTabPage(int panel, int control, int* pageIndex) {
    if (!pageIndex) return UIE_BAD_VALUE;
    if (!isMainThread()) return askMain([&] { return GetActiveTabPage(panel, control, pageIndex); });
    TabData* t = nullptr;
    if (int s = lookupTab(panel, control, &t); s < 0) return s;
    *pageIndex = t->pages.empty() ? -1 : t->active;
    return 0;
}

int SetActiveTabPage(int panel, int control, int pageIndex) {
    if (!isMainThread()) return postToMain([=] { SetActiveTabPage(panel, control, pageIndex); });
    TabData* t = nullptr;
    if (int s = lookupTab(panel, control, &t); s < 0) return s;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(t->pages.size())) return UIE_BAD_INDEX;
    t->active = pageIndex;
    notifyControl(panel, control, ChPages);
    return 0;
}
