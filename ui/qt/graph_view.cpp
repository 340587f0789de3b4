// The graph control on QCustomPlot: black plot area inside a grey frame, the control's label as the
// title, axis names, fixed divisions with manual scaling or nice ticks with autoscaling, plots handed
// over in one piece per trace, text plots and cursors.
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

#include "control_kinds.h"
#include "qt_frontend.h"
#include "qt_util.h"

namespace qmqt {
namespace {

// Manual scales show exactly the requested number of divisions from the lower limit, as an instrument
// graticule does (ten divisions of 10 dB from the top of screen down).
class DivisionTicker : public QCPAxisTicker {
  public:
    int divisions = 10;

  protected:
    QVector<double> createTickVector(double, const QCPRange& range) override {
        const int n = std::max(1, divisions);
        QVector<double> ticks(n + 1);
        for (int i = 0; i <= n; ++i) ticks[i] = range.lower + range.size() * i / n;
        ticks[n] = range.upper;
        return ticks;
    }
    int getSubTickCount(double) override { return 0; }

    // On a narrow horizontal axis the labels of every division would run into each other: label every
    // second (third, ...) division instead, keeping the grid of all of them.
    QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale, QChar formatChar,
                                       int precision) override {
        QVector<QString> labels = QCPAxisTicker::createLabelVector(ticks, locale, formatChar, precision);
        if (!axis || axis->orientation() != Qt::Horizontal || ticks.size() < 2 || !axis->axisRect())
            return labels;
        const QFontMetrics metrics(axis->tickLabelFont());
        int widest = 0;
        for (const QString& label : labels) widest = std::max(widest, metrics.horizontalAdvance(label));
        const double spacing = axis->axisRect()->width() / double(ticks.size() - 1);
        const int every = spacing > 0 ? int(std::ceil((widest + 6) / spacing)) : 1;
        if (every > 1)
            for (int i = 0; i < labels.size(); ++i)
                if (i % every != 0) labels[i].clear();
        return labels;
    }

  public:
    QCPAxis* axis = nullptr;  // the axis whose labels are thinned out when crowded
};

QCPScatterStyle scatterOf(int pointStyle, const QColor& color) {
    switch (pointStyle) {
        case VAL_SOLID_SQUARE:
            return QCPScatterStyle(QCPScatterStyle::ssSquare, color, color, 5);
        case VAL_EMPTY_SQUARE:
            return QCPScatterStyle(QCPScatterStyle::ssSquare, color, 5);
        case VAL_SOLID_CIRCLE:
            return QCPScatterStyle(QCPScatterStyle::ssDisc, color, 5);
        case VAL_SIMPLE_DOT:
        default:
            return QCPScatterStyle(QCPScatterStyle::ssDisc, color, 3);
    }
}

QPen penOf(const ui::Plot& plot) {
    QPen pen(toColor(plot.color));
    pen.setWidth(plot.plotStyle == VAL_FAT_LINE ? 2 : 1);
    pen.setStyle(plot.lineStyle == VAL_DASH  ? Qt::DashLine
                 : plot.lineStyle == VAL_DOT ? Qt::DotLine
                                             : Qt::SolidLine);
    return pen;
}

class GraphView : public ControlView {
  public:
    GraphView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        plot_ = new QCustomPlot(canvas);
        plot_->setNoAntialiasingOnDrag(true);
        plot_->setPlottingHints(QCP::phCacheLabels);
        // Ten labelled divisions across a 604-pixel graph need a compact face to stay apart.
        QFont tickFont = plot_->font();
        tickFont.setPixelSize(10);
        for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
            axis->setTickLabelFont(tickFont);
            axis->grid()->setSubGridVisible(false);
            axis->grid()->setZeroLinePen(Qt::NoPen);
            axis->setSubTicks(false);
        }
        xDivisions_.reset(new DivisionTicker);
        xDivisions_->axis = plot_->xAxis;
        yDivisions_.reset(new DivisionTicker);
        xNice_.reset(new QCPAxisTicker);
        yNice_.reset(new QCPAxisTicker);
        setBody(plot_);
    }

    QCustomPlot* plot() const { return plot_; }

  protected:
    bool hasOwnLabel() const override { return true; }

    void syncKind(const ui::Control& c, unsigned what) override {
        if (!c.graph) return;
        const ui::GraphData& g = *c.graph;
        const bool all = what & ui::ChCreated;
        if (all || (what & ui::ChAttributes)) syncLook(c, g);
        if (all || (what & ui::ChPlots)) syncPlots(g);
        if (all || (what & ui::ChCursors)) syncCursors(g);
        if (all || (what & (ui::ChAxes | ui::ChPlots | ui::ChAttributes))) syncAxes(g);
        frontend_.requestFlush(this);
    }

  public:
    void flush() override {
        if (!body_) return;
        // A colour map replaced by a new one comes as a deletion and a new plot: the scale is settled
        // once both are in.
        if (spareMap_) {
            plot_->removePlottable(spareMap_);
            spareMap_ = nullptr;
        }
        if (scaleStale_) syncColorScale();
        scaleStale_ = false;
        plot_->replot(QCustomPlot::rpQueuedRefresh);
    }

  private:
    void syncLook(const ui::Control& c, const ui::GraphData& g) {
        plot_->setBackground(toColor(isTransparent(c.frameColor) ? VAL_GRAY : c.frameColor));
        plot_->axisRect()->setBackground(toColor(g.plotBgColor));
        const QColor text = isTransparent(c.textColor) ? QColor(Qt::black) : toColor(c.textColor);
        for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
            axis->setLabelColor(text);
            axis->setTickLabelColor(text);
            const QPen line(QColor(0xC0, 0xC0, 0xC0));
            axis->setBasePen(line);
            axis->setTickPen(line);
        }
        const QString title = c.labelVisible ? lineBreaks(c.label) : QString();
        if (title.isEmpty() && title_) {
            plot_->plotLayout()->remove(title_);
            plot_->plotLayout()->simplify();
            title_ = nullptr;
        } else if (!title.isEmpty()) {
            if (!title_) {
                plot_->plotLayout()->insertRow(0);
                QFont f = plot_->font();
                f.setBold(true);
                title_ = new QCPTextElement(plot_, title, f);
                plot_->plotLayout()->addElement(0, 0, title_);
            }
            title_->setText(title);
            title_->setTextColor(text);
        }
    }

    void syncAxes(const ui::GraphData& g) {
        const QPen grid(toColor(g.gridColor), 0);
        syncAxis(plot_->xAxis, g.xAxis, grid, xDivisions_, xNice_);
        syncAxis(plot_->yAxis, g.yAxis, grid, yDivisions_, yNice_);
    }

    void syncAxis(QCPAxis* axis, const ui::Axis& a, const QPen& gridPen,
                  const QSharedPointer<DivisionTicker>& divisions,
                  const QSharedPointer<QCPAxisTicker>& nice) {
        axis->setLabel(lineBreaks(a.name));
        axis->grid()->setPen(gridPen);
        axis->grid()->setVisible(a.gridVisible);
        if (a.precision >= 0) {
            axis->setNumberFormat(QStringLiteral("f"));
            axis->setNumberPrecision(a.precision);
        } else {
            axis->setNumberFormat(QStringLiteral("gb"));
            axis->setNumberPrecision(6);
        }
        axis->setRangeReversed(a.reversed);
        if (a.mode == VAL_MANUAL) {
            divisions->divisions = a.divisions;
            if (axis->ticker() != divisions) axis->setTicker(divisions);
            if (a.max > a.min) axis->setRange(a.min, a.max);
            return;
        }
        nice->setTickCount(std::max(1, a.divisions));
        if (axis->ticker() != nice) axis->setTicker(nice);
        bool found = false;
        QCPRange range;
        for (int i = 0; i < plot_->plottableCount(); ++i) {
            bool ok = false;
            QCPAbstractPlottable* p = plot_->plottable(i);
            const QCPRange r =
                axis->orientation() == Qt::Horizontal ? p->getKeyRange(ok) : p->getValueRange(ok);
            if (!ok) continue;
            range = found ? QCPRange(std::min(range.lower, r.lower), std::max(range.upper, r.upper)) : r;
            found = true;
        }
        if (!found) {
            if (a.max > a.min) axis->setRange(a.min, a.max);
            return;
        }
        if (range.size() <= 0) range = QCPRange(range.lower - 1, range.upper + 1);
        axis->setRange(range);
    }

    void syncPlots(const ui::GraphData& g) {
        for (auto it = plots_.begin(); it != plots_.end();) {
            if (g.plots.count(it->first)) {
                ++it;
                continue;
            }
            auto* map = qobject_cast<QCPColorMap*>(it->second.plottable.data());
            if (map && !spareMap_) {
                // Kept for the colour map that usually follows at once (a waterfall's next picture).
                map->setVisible(false);
                spareMap_ = map;
            } else if (it->second.plottable) {
                plot_->removePlottable(it->second.plottable);
            }
            if (it->second.text) plot_->removeItem(it->second.text);
            it = plots_.erase(it);
        }
        for (const auto& [handle, model] : g.plots)
            if (!plots_.count(handle)) plots_[handle] = addPlot(model);
        scaleStale_ = true;
    }

    // A colour map gets its colour scale under the plot area, as wide as it, so that a waterfall's
    // frequency axis keeps the same width as the spectrum's above it; it goes with the last colour map.
    void syncColorScale() {
        QCPColorMap* map = nullptr;
        for (auto& [handle, shown] : plots_)
            if (auto* m = qobject_cast<QCPColorMap*>(shown.plottable.data())) map = m;
        if (!map) {
            if (scale_) {
                plot_->plotLayout()->remove(scale_);
                plot_->plotLayout()->simplify();
                scale_ = nullptr;
            }
            return;
        }
        if (!scale_) {
            scale_ = new QCPColorScale(plot_);
            scale_->setType(QCPAxis::atBottom);
            scale_->setBarWidth(8);
            plot_->plotLayout()->addElement(plot_->plotLayout()->rowCount(), 0, scale_);
            if (!margins_) margins_ = new QCPMarginGroup(plot_);
            plot_->axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, margins_);
            scale_->setMarginGroup(QCP::msLeft | QCP::msRight, margins_);
            QFont tickFont = plot_->font();
            tickFont.setPixelSize(10);
            scale_->axis()->setTickLabelFont(tickFont);
            scale_->axis()->setTickLabelPadding(2);
        }
        const QColor text = plot_->xAxis->tickLabelColor();
        scale_->axis()->setTickLabelColor(text);
        scale_->axis()->setBasePen(plot_->xAxis->basePen());
        scale_->axis()->setTickPen(plot_->xAxis->tickPen());
        scale_->setGradient(map->gradient());
        scale_->setDataRange(map->dataRange());
    }

    struct Shown {
        QPointer<QCPAbstractPlottable> plottable;
        QPointer<QCPItemText> text;
    };

    Shown addPlot(const ui::Plot& p) {
        Shown shown;
        const QColor color = toColor(p.color);
        if (p.isText) {
            auto* t = new QCPItemText(plot_);
            t->setText(qs(p.text));
            t->setColor(color);
            if (!isTransparent(p.bgColor)) t->setBrush(toColor(p.bgColor));
            t->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            t->position->setCoords(p.x.empty() ? 0 : p.x[0], p.y.empty() ? 0 : p.y[0]);
            shown.text = t;
            return shown;
        }
        if (p.isColorMap) {
            shown.plottable = addColorMap(p);
            return shown;
        }
        const size_t n = p.x.empty() ? p.y.size() : std::min(p.x.size(), p.y.size());
        const bool scatterOnly = p.plotStyle == VAL_SCATTER;
        const bool withPoints =
            scatterOnly || p.plotStyle == VAL_CONNECTED_POINTS || p.pointStyle != VAL_NO_POINT;
        const QPen pen = penOf(p);
        if (p.x.empty() || std::is_sorted(p.x.begin(), p.x.begin() + static_cast<ptrdiff_t>(n))) {
            // Traces against sample number or frequency: one bulk copy into the graph's container.
            QVector<QCPGraphData> data(static_cast<qsizetype>(n));
            for (size_t i = 0; i < n; ++i)
                data[static_cast<qsizetype>(i)] =
                    QCPGraphData(p.x.empty() ? static_cast<double>(i) : p.x[i], p.y[i]);
            auto* graph = plot_->addGraph();
            graph->data()->set(data, true);
            graph->setPen(pen);
            graph->setLineStyle(scatterOnly ? QCPGraph::lsNone : QCPGraph::lsLine);
            if (withPoints) graph->setScatterStyle(scatterOf(p.pointStyle, color));
            shown.plottable = graph;
        } else {
            // Q against I: points joined in capture order, not in order of I.
            QVector<QCPCurveData> data(static_cast<qsizetype>(n));
            for (size_t i = 0; i < n; ++i)
                data[static_cast<qsizetype>(i)] = QCPCurveData(static_cast<double>(i), p.x[i], p.y[i]);
            auto* curve = new QCPCurve(plot_->xAxis, plot_->yAxis);
            curve->data()->set(data, true);
            curve->setPen(pen);
            curve->setLineStyle(scatterOnly ? QCPCurve::lsNone : QCPCurve::lsLine);
            if (withPoints) curve->setScatterStyle(scatterOf(p.pointStyle, color));
            shown.plottable = curve;
        }
        return shown;
    }

    QCPColorMap* addColorMap(const ui::Plot& p) {
        const ui::ColorMap& m = p.colorMap;
        QCPColorMap* map = spareMap_ ? spareMap_.data() : new QCPColorMap(plot_->xAxis, plot_->yAxis);
        spareMap_ = nullptr;
        map->setVisible(true);
        if (map->data()->keySize() != m.columns || map->data()->valueSize() != m.rows)
            map->data()->setSize(m.columns, m.rows);
        map->data()->setRange(QCPRange(m.xFirst, m.xLast), QCPRange(m.yFirst, m.yLast));
        for (int r = 0; r < m.rows; ++r) {
            const double* row = p.y.data() + static_cast<size_t>(r) * static_cast<size_t>(m.columns);
            for (int c = 0; c < m.columns; ++c) map->data()->setCell(c, r, row[c]);
        }
        // Dark for the floor, through red and yellow to white for the strongest levels; empty cells let
        // the plot area show through.
        QCPColorGradient gradient(QCPColorGradient::gpThermal);
        gradient.setNanHandling(QCPColorGradient::nhTransparent);
        map->setGradient(gradient);
        map->setDataRange(QCPRange(m.zMin, m.zMax));
        map->setInterpolate(false);
        return map;
    }

    struct CursorItems {
        QPointer<QCPItemStraightLine> vertical, horizontal;
        QPointer<QCPItemTracer> point;
    };

    void syncCursors(const ui::GraphData& g) {
        while (cursors_.size() > g.cursors.size()) {
            CursorItems& gone = cursors_.back();
            for (QCPAbstractItem* item :
                 std::initializer_list<QCPAbstractItem*>{gone.vertical, gone.horizontal, gone.point})
                if (item) plot_->removeItem(item);
            cursors_.pop_back();
        }
        while (cursors_.size() < g.cursors.size()) {
            CursorItems items;
            items.vertical = new QCPItemStraightLine(plot_);
            items.horizontal = new QCPItemStraightLine(plot_);
            items.point = new QCPItemTracer(plot_);
            cursors_.push_back(items);
        }
        for (size_t i = 0; i < g.cursors.size(); ++i) {
            const ui::GraphCursor& m = g.cursors[i];
            CursorItems& items = cursors_[i];
            if (!items.vertical || !items.horizontal || !items.point) continue;
            const QPen pen(toColor(m.color), 1);
            const bool longCross = m.crossHairStyle == VAL_LONG_CROSS;
            items.vertical->point1->setCoords(m.x, 0);
            items.vertical->point2->setCoords(m.x, 1);
            items.horizontal->point1->setCoords(0, m.y);
            items.horizontal->point2->setCoords(1, m.y);
            for (QCPItemStraightLine* line : {items.vertical.data(), items.horizontal.data()}) {
                line->setPen(pen);
                line->setVisible(longCross);
            }
            QCPItemTracer* t = items.point;
            t->position->setCoords(m.x, m.y);
            t->setPen(pen);
            t->setSize(m.crossHairStyle == VAL_SHORT_CROSS ? 15 : 7);
            t->setBrush(Qt::NoBrush);
            if (m.crossHairStyle == VAL_SHORT_CROSS) {
                t->setStyle(QCPItemTracer::tsPlus);
            } else if (m.pointStyle == VAL_NO_POINT) {
                t->setStyle(QCPItemTracer::tsNone);
            } else if (m.pointStyle == VAL_SOLID_SQUARE || m.pointStyle == VAL_EMPTY_SQUARE) {
                t->setStyle(QCPItemTracer::tsSquare);
                if (m.pointStyle == VAL_SOLID_SQUARE) t->setBrush(toColor(m.color));
            } else {
                t->setStyle(QCPItemTracer::tsCircle);
                t->setBrush(toColor(m.color));
            }
        }
    }

    QCustomPlot* plot_;
    QPointer<QCPTextElement> title_;
    QPointer<QCPColorScale> scale_;
    QCPMarginGroup* margins_ = nullptr;  // owned by the plot
    bool scaleStale_ = false;
    QPointer<QCPColorMap> spareMap_;  // a colour map just deleted, reused by the next one
    QSharedPointer<DivisionTicker> xDivisions_, yDivisions_;
    QSharedPointer<QCPAxisTicker> xNice_, yNice_;
    std::map<int, Shown> plots_;
    std::vector<CursorItems> cursors_;
};

}  // namespace

ControlView* makeGraphView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new GraphView(fe, panel, c, canvas);
}

int saveGraphPicture(QWidget* body, const std::string& path, int format, int width, int height) {
    auto* plot = qobject_cast<QCustomPlot*>(body);
    if (!plot) return UIE_BAD_CONTROL_TYPE;
    plot->replot(QCustomPlot::rpImmediateRefresh);
    const QString file = qs(path);
    bool ok = false;
    switch (format) {
        case VAL_GRAPH_JPEG:
            ok = plot->saveJpg(file, width, height);
            break;
        case VAL_GRAPH_PDF:
            ok = plot->savePdf(file, width, height);
            break;
        default:
            ok = plot->savePng(file, width, height);
            break;
    }
    return ok ? 0 : UIE_FILE_WRITE;
}

}  // namespace qmqt
