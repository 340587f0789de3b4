// Graphs: plots handed over in one piece (moved into the model, never copied point by point), text plots,
// axis scaling and cursors.
#include <cmath>

#include "runtime.h"

namespace ui::detail {
namespace {

int lookupGraph(int panel, int control, Control** out) {
    if (int s = lookupControl(panel, control, out); s < 0) return s;
    return (*out)->graph ? 0 : UIE_BAD_CONTROL_TYPE;
}

bool validStyle(int plotStyle, int pointStyle, int lineStyle) {
    return plotStyle >= VAL_THIN_LINE && plotStyle <= VAL_CONNECTED_POINTS && pointStyle >= VAL_NO_POINT &&
           pointStyle <= VAL_SOLID_CIRCLE && lineStyle >= VAL_SOLID && lineStyle <= VAL_DOT;
}

int addPlot(int panel, int control, Plot plot) {
    Control* c = nullptr;
    if (int s = lookupGraph(panel, control, &c); s < 0) return s;
    GraphData& g = *c->graph;
    const int handle = g.nextPlotHandle++;
    plot.handle = handle;
    g.plots.emplace(handle, std::move(plot));
    notifyControl(panel, control, ChPlots);
    return handle;
}

int plot(int panel, int control, std::vector<double> x, std::vector<double> y, int plotStyle, int pointStyle,
         int lineStyle, int color) {
    if (!validStyle(plotStyle, pointStyle, lineStyle) || color < 0 || color > VAL_TRANSPARENT)
        return UIE_BAD_VALUE;
    if (!x.empty() && x.size() != y.size()) return UIE_BAD_VALUE;
    Plot p;
    p.x = std::move(x);
    p.y = std::move(y);
    p.plotStyle = plotStyle;
    p.pointStyle = pointStyle;
    p.lineStyle = lineStyle;
    p.color = color;
    // A plot is made on the main thread; from another thread the data travels with the queued call and
    // the plot handle cannot be returned.
    if (!isMainThread()) {
        auto shared = std::make_shared<Plot>(std::move(p));
        return postToMain([=] { addPlot(panel, control, std::move(*shared)); });
    }
    return addPlot(panel, control, std::move(p));
}

int lookupCursor(int panel, int control, int cursor, GraphCursor** out) {
    Control* c = nullptr;
    if (int s = lookupGraph(panel, control, &c); s < 0) return s;
    auto& cursors = c->graph->cursors;
    if (cursor < 1 || cursor > static_cast<int>(cursors.size())) return UIE_BAD_INDEX;
    *out = &cursors[static_cast<size_t>(cursor) - 1];
    return 0;
}

}  // namespace
}  // namespace ui::detail

using namespace ui;
using namespace ui::detail;

int PlotXY(int panel, int control, const double* x, const double* y, int count, int plotStyle, int pointStyle,
           int lineStyle, int color) {
    if (count < 0 || (count > 0 && (!x || !y))) return UIE_BAD_VALUE;
    return plot(panel, control, std::vector<double>(x, x + count), std::vector<double>(y, y + count),
                plotStyle, pointStyle, lineStyle, color);
}

int PlotXY(int panel, int control, std::vector<double> x, std::vector<double> y, int plotStyle,
           int pointStyle, int lineStyle, int color) {
    if (x.size() != y.size()) return UIE_BAD_VALUE;
    return plot(panel, control, std::move(x), std::move(y), plotStyle, pointStyle, lineStyle, color);
}

int PlotY(int panel, int control, const double* y, int count, int plotStyle, int pointStyle, int lineStyle,
          int color) {
    if (count < 0 || (count > 0 && !y)) return UIE_BAD_VALUE;
    return plot(panel, control, {}, std::vector<double>(y, y + count), plotStyle, pointStyle, lineStyle,
                color);
}

int PlotY(int panel, int control, std::vector<double> y, int plotStyle, int pointStyle, int lineStyle,
          int color) {
    return plot(panel, control, {}, std::move(y), plotStyle, pointStyle, lineStyle, color);
}

int PlotText(int panel, int control, double x, double y, const char* text, int textColor, int bgColor) {
    if (!text || textColor < 0 || textColor > VAL_TRANSPARENT || bgColor < 0 || bgColor > VAL_TRANSPARENT)
        return UIE_BAD_VALUE;
    Plot p;
    p.isText = true;
    p.x = {x};
    p.y = {y};
    p.text = text;
    p.color = textColor;
    p.bgColor = bgColor;
    if (!isMainThread()) return postToMain([=] { addPlot(panel, control, p); });
    return addPlot(panel, control, std::move(p));
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int refresh) {
    (void)refresh;  // the front end redraws on the change notification either way
    if (!isMainThread()) return postToMain([=] { DeleteGraphPlot(panel, control, plotHandle, refresh); });
    Control* c = nullptr;
    if (int s = lookupGraph(panel, control, &c); s < 0) return s;
    auto& plots = c->graph->plots;
    if (plotHandle == -1) {
        plots.clear();
    } else if (plots.erase(plotHandle) == 0) {
        return UIE_BAD_PLOT;
    }
    notifyControl(panel, control, ChPlots);
    return 0;
}

int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max) {
    if (!isMainThread()) return postToMain([=] { SetAxisScalingMode(panel, control, axis, mode, min, max); });
    Control* c = nullptr;
    if (int s = lookupGraph(panel, control, &c); s < 0) return s;
    if (axis != VAL_XAXIS && axis != VAL_LEFT_YAXIS) return UIE_BAD_VALUE;
    if (mode != VAL_MANUAL && mode != VAL_AUTOSCALE) return UIE_BAD_VALUE;
    Axis& a = axis == VAL_XAXIS ? c->graph->xAxis : c->graph->yAxis;
    if (mode == VAL_MANUAL) {
        // A manual range must be a real interval; the limits of an autoscaled axis are left as they were.
        if (!std::isfinite(min) || !std::isfinite(max) || min >= max) return UIE_BAD_VALUE;
        a.min = min;
        a.max = max;
    }
    a.mode = mode;
    notifyControl(panel, control, ChAxes);
    return 0;
}

int GetAxisScalingMode(int panel, int control, int axis, int* mode, double* min, double* max) {
    if (!isMainThread())
        return askMain([&] { return GetAxisScalingMode(panel, control, axis, mode, min, max); });
    Control* c = nullptr;
    if (int s = lookupGraph(panel, control, &c); s < 0) return s;
    if (axis != VAL_XAXIS && axis != VAL_LEFT_YAXIS) return UIE_BAD_VALUE;
    const Axis& a = axis == VAL_XAXIS ? c->graph->xAxis : c->graph->yAxis;
    if (mode) *mode = a.mode;
    if (min) *min = a.min;
    if (max) *max = a.max;
    return 0;
}

int SetGraphCursor(int panel, int control, int cursor, double x, double y) {
    if (!isMainThread()) return postToMain([=] { SetGraphCursor(panel, control, cursor, x, y); });
    GraphCursor* gc = nullptr;
    if (int s = lookupCursor(panel, control, cursor, &gc); s < 0) return s;
    if (!std::isfinite(x) || !std::isfinite(y)) return UIE_BAD_VALUE;
    gc->x = x;
    gc->y = y;
    notifyControl(panel, control, ChCursors);
    return 0;
}

int GetGraphCursor(int panel, int control, int cursor, double* x, double* y) {
    if (!isMainThread()) return askMain([&] { return GetGraphCursor(panel, control, cursor, x, y); });
    GraphCursor* gc = nullptr;
    if (int s = lookupCursor(panel, control, cursor, &gc); s < 0) return s;
    if (x) *x = gc->x;
    if (y) *y = gc->y;
    return 0;
}

int SetCursorAttribute(int panel, int control, int cursor, int attribute, int value) {
    if (!isMainThread())
        return postToMain([=] { SetCursorAttribute(panel, control, cursor, attribute, value); });
    GraphCursor* gc = nullptr;
    if (int s = lookupCursor(panel, control, cursor, &gc); s < 0) return s;
    switch (attribute) {
        case ATTR_CURSOR_COLOR:
            if (value < 0 || value > VAL_TRANSPARENT) return UIE_BAD_VALUE;
            gc->color = value;
            break;
        case ATTR_CURSOR_MODE:
            if (value != VAL_FREE_FORM && value != VAL_SNAP_TO_POINT) return UIE_BAD_VALUE;
            gc->mode = value;
            break;
        case ATTR_CROSS_HAIR_STYLE:
            if (value < VAL_LONG_CROSS || value > VAL_NO_CROSS) return UIE_BAD_VALUE;
            gc->crossHairStyle = value;
            break;
        case ATTR_CURSOR_POINT_STYLE:
            if (value < VAL_NO_POINT || value > VAL_SOLID_CIRCLE) return UIE_BAD_VALUE;
            gc->pointStyle = value;
            break;
        case ATTR_CURSOR_ENABLED:
            gc->enabled = value != 0;
            break;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
    notifyControl(panel, control, ChCursors);
    return 0;
}

int GetCursorAttribute(int panel, int control, int cursor, int attribute, int* value) {
    if (!value) return UIE_BAD_VALUE;
    if (!isMainThread())
        return askMain([&] { return GetCursorAttribute(panel, control, cursor, attribute, value); });
    GraphCursor* gc = nullptr;
    if (int s = lookupCursor(panel, control, cursor, &gc); s < 0) return s;
    switch (attribute) {
        case ATTR_CURSOR_COLOR:
            *value = gc->color;
            return 0;
        case ATTR_CURSOR_MODE:
            *value = gc->mode;
            return 0;
        case ATTR_CROSS_HAIR_STYLE:
            *value = gc->crossHairStyle;
            return 0;
        case ATTR_CURSOR_POINT_STYLE:
            *value = gc->pointStyle;
            return 0;
        case ATTR_CURSOR_ENABLED:
            *value = gc->enabled;
            return 0;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int PlotColorMap(int panel, int control, std::vector<double> levels, int columns, int rows, double xFirst,
                 double xLast, double yFirst, double yLast, double zMin, double zMax) {
    if (columns < 1 || rows < 1 || levels.size() != static_cast<size_t>(columns) * static_cast<size_t>(rows))
        return UIE_BAD_VALUE;
    for (double v : {xFirst, xLast, yFirst, yLast, zMin, zMax})
        if (!std::isfinite(v)) return UIE_BAD_VALUE;
    if (zMin >= zMax) return UIE_BAD_VALUE;
    Plot p;
    p.isColorMap = true;
    p.y = std::move(levels);
    p.colorMap = ColorMap{columns, rows, xFirst, xLast, yFirst, yLast, zMin, zMax};
    if (!isMainThread()) {
        auto shared = std::make_shared<Plot>(std::move(p));
        return postToMain([=] { addPlot(panel, control, std::move(*shared)); });
    }
    return addPlot(panel, control, std::move(p));
}

int SaveGraphImage(int panel, int control, const char* path, int format, int width, int height) {
    if (!path || !*path || format < VAL_GRAPH_PNG || format > VAL_GRAPH_PDF || width < 0 || height < 0 ||
        (width == 0) != (height == 0))
        return UIE_BAD_VALUE;
    if (!isMainThread()) {
        const std::string file = path;
        return askMain([&] { return SaveGraphImage(panel, control, file.c_str(), format, width, height); });
    }
    Control* c = nullptr;
    if (int s = lookupGraph(panel, control, &c); s < 0) return s;
    Frontend* fe = frontend();
    if (!fe) return UIE_NO_FRONTEND;
    return fe->saveGraphImage(panel, control, path, format, width, height);
}
