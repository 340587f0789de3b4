// Every panel of every resource file loads, shows every control and is written out as a PNG under
// <build>/screenshots/<file>_<panel>.png for a person to look at.
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <cmath>

#include "qt_fixture.h"
#include "screenshot.h"

#ifdef QM_HAVE_RESOURCES
#include <nlohmann/json.hpp>

#include "embedded_resources.h"
#include "resource_callbacks.h"
#endif

namespace {

// "qm4120_sfp.uir" and "MAINPANEL" give "qm4120_sfp_MAINPANEL".
QString pictureName(const std::string& file, const std::string& panel) {
    QString base = QString::fromStdString(file);
    base.replace(QLatin1String(".uir"), QString());
    return base + '_' + QString::fromStdString(panel);
}

#ifdef QM_HAVE_RESOURCES
// A do-nothing callback under every name the resource files use, so their panels load without the logic.
void registerNoopCallbacks() {
    for (const qm::ResourceCallback& cb : qm::resourceCallbacks()) {
        const std::string name(cb.name);
        switch (cb.kind) {
            case qm::ResourceCallback::Kind::Control:
                RegisterCtrlCallback(name.c_str(), [](int, int, int, void*, int, int) { return 0; });
                break;
            case qm::ResourceCallback::Kind::Panel:
                RegisterPanelCallback(name.c_str(), [](int, int, void*, int, int) { return 0; });
                break;
            case qm::ResourceCallback::Kind::MenuItem:
                RegisterMenuCallback(name.c_str(), [](int, int, void*, int) {});
                break;
        }
    }
}
#endif

}  // namespace

class ScreenshotTest : public QtFrontendTest {
  protected:
    // Loads, shows and photographs one panel; checks that each control of the model has its widget.
    void shoot(const std::string& file, int constant) {
        const int handle = LoadPanel(0, file.c_str(), constant);
        ASSERT_GT(handle, 0) << file << " panel " << constant << ": " << GetUILErrorString(handle);
        DisplayPanel(handle);
        settle();
        const ui::Panel* p = ui::findPanel(handle);
        ASSERT_NE(p, nullptr);
        for (const auto& c : p->controls)
            EXPECT_NE(fe_.controlWidget(handle, c->id), nullptr)
                << file << " " << p->constName << " " << c->constName;
        EXPECT_GE(saveScreenshot(fe_.panelWidget(handle), pictureName(file, p->constName)).width(), p->width);
        HidePanel(handle);
    }
};

TEST_F(ScreenshotTest, EveryPanelOfEveryResourceFileRenders) {
#ifndef QM_HAVE_RESOURCES
    GTEST_SKIP() << "the panel resources are not built";
#else
    registerNoopCallbacks();
    int shot = 0;
    for (std::string_view name : qm::embeddedResourceNames()) {
        const std::string file(name);
        const auto doc = nlohmann::json::parse(qm::embeddedResource(name), nullptr, false);
        ASSERT_FALSE(doc.is_discarded()) << file;
        const auto& panels = doc.at("panels");
        for (size_t i = 0; i < panels.size(); ++i) {
            SCOPED_TRACE(file + " " + panels[i].value("name", std::string()));
            shoot(file, static_cast<int>(i) + 1);
            ++shot;
        }
    }
    EXPECT_GT(shot, 0);
#endif
}

// One control of every kind, filled as the program fills them (two-column resource list, channel grid,
// trace), for a look at each rendering side by side; the grid's headers and cells are checked here too.
TEST_F(ScreenshotTest, PanelWithEveryControlKind) {
    const int panel = loadTestPanel("PANEL");
    const int res = ctrl(panel, "RES"), grid = ctrl(panel, "GRID"), graph = ctrl(panel, "GRAPH");
    SetCtrlAttribute(panel, res, ATTR_COLUMN_STOP, 100);
    SetCtrlAttribute(panel, res, ATTR_COLUMN_RULE, 1);
    GridSetFormatString(panel, grid,
                        "^Chan|^Freq (Hz)|^LO Position|^Atten Config|^RF Level(dBm)|^IF Level(dBm)|^RF "
                        "Atten(dB)|^IF Atten(dB)");
    for (int r = 1; r < 129; ++r)
        GridSetRowTexts(panel, grid, r,
                        {std::to_string(r - 1), "2000000000", "Above", "Auto", "0.00", "0.00", "0", "0"});
    SetCtrlVal(panel, ctrl(panel, "LED"), 1);
    std::vector<double> y(2048);
    for (size_t i = 0; i < y.size(); ++i) y[i] = 20000.0 * std::sin(static_cast<double>(i) / 20.0);
    SetCtrlAttribute(panel, graph, ATTR_LABEL_TEXT, "Time Series (I,Q Overlaid)\r[Yellow=I, Green=Q]");
    PlotY(panel, graph, y.data(), static_cast<int>(y.size()), VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID,
          VAL_YELLOW);
    settle();
    saveScreenshot(fe_.panelWidget(panel), "qt_test_EVERY_KIND");

    // The grid's header row and column are the table's headers; the corner cell has no place of its own.
    auto* table = qobject_cast<QTableView*>(fe_.controlWidget(panel, grid));
    ASSERT_NE(table, nullptr);
    const QAbstractItemModel* m = table->model();
    EXPECT_EQ(m->rowCount(), 128);
    EXPECT_EQ(m->columnCount(), 7);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Freq (Hz)");
    EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString(), "IF Atten(dB)");
    EXPECT_EQ(m->headerData(127, Qt::Vertical).toString(), "127");
    EXPECT_EQ(m->index(5, 0).data().toString(), "2000000000");
    EXPECT_EQ(m->index(5, 1).data().toString(), "Above");
    EXPECT_EQ(table->columnWidth(0), 90);
    EXPECT_EQ(table->verticalHeader()->width(), 40);
}
