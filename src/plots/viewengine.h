#pragma once

#include "plots/chartengine.h"

#include <QHash>
#include <QObject>
#include <QPointF>
#include <array>
#include <optional>

class QScrollBar;
class QWidget;
class TPlaneView;
class TPlot3DView;
class TViewSeries;
class TViewWidget;

// The drawing engine of the four views, all painted by the station itself on one drawing core
// (TViewWidget): Chart1 (X-Y), Chart2 (X-Z) and Chart3 (Y-Z) are TPlaneViews, Chart4 (3D) a
// TPlot3DView. All four are children of the parent widget and share one rectangle (LayoutCharts);
// each carries its own scroll bars. The window connects the bars' valueChanged to the plot views'
// zoom, rotation and elevation handlers.
class TViewEngine : public QObject, public TChartEngine
{
    Q_OBJECT

public:
    explicit TViewEngine(QWidget *parent);

    void SetAxisMaximum(int chart, TAxis axis, double value) override;
    void SetAxisMinimum(int chart, TAxis axis, double value) override;
    double AxisMaximum(int chart, TAxis axis) const override;
    double AxisMinimum(int chart, TAxis axis) const override;

    void AddPlanePoint(int series, double horizontal, double vertical) override;
    void Add3DPoint(int series, double horizontal, double vertical, double depth) override;
    void ClearSeries(int series) override;
    int SeriesCount(int series) const override;
    TSeriesPoint SeriesPoint(int series, int index) const override;
    void SetMarkDeleted(int series, int index, bool deleted) override;
    bool IsMarkDeleted(int series, int index) const override;

    void SetRotation(int degrees) override;
    int Rotation() const override;
    void SetElevation(int degrees) override;
    int Elevation() const override;

    void BringToFront(int chart) override;
    int FrontChart() const override { return m_front; }
    void SetFeatureLayer(int chart, const QList<TFeatureShape> &layer) override;

    void ShowZoomPosition(int chart, int position) override;
    void SetPointLabels(const QStringList &labels) override;
    void ShowPointLabels(bool shown) override;
    void SetRowSegments(int chart, const std::vector<TSeriesSegment> &thin,
                        const std::vector<TSeriesSegment> &highlighted) override;
    // What the tooltip over marks says, given the recorded-point indices under the mouse; the same in
    // every view, since the four recorded series hold the same points in the same order.
    void SetMarkTipSource(const std::function<QString(const QList<int> &indices)> &source);

    // Chart 1 to 4 (nullptr otherwise) and its bars.
    TViewWidget *Chart(int chart) const;
    QScrollBar *ZoomBar(int chart) const;
    QScrollBar *RotateBar() const { return m_rotateBar; }
    QScrollBar *ElevateBar() const { return m_elevateBar; }
    // What a bar's tooltip shows: its own tooltip text (what it does), then its value as it stands.
    QString BarTip(const QScrollBar *bar) const;

    // Gives the four charts the same rectangle in the parent, places the bars inside them, sets the
    // 3D bars to the current rotation and elevation, and brings Chart1 to front.
    void LayoutCharts(int left, int top, int width, int height);

    // Where mark index of series 1 to 16 is drawn, in its chart's coordinates; none when the index
    // is not held or the point lies outside the axis ranges.
    std::optional<QPointF> MarkPosition(int series, int index) const;
    // The hit-test behind a click: the index of the recorded point under position in chart 1 to 4,
    // or -1.
    int MarkAt(int chart, QPointF position) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Series 1 to 16 (nullptr otherwise).
    TViewSeries *Series(int series) const;

    std::array<TPlaneView *, 3> m_planes{};
    TPlot3DView *m_view3D = nullptr;
    std::array<QScrollBar *, 4> m_zoomBars{};
    QScrollBar *m_rotateBar = nullptr;
    QScrollBar *m_elevateBar = nullptr;
    int m_front = 1;
    // How each bar's value reads in its tooltip.
    QHash<const QScrollBar *, QString> m_barValueTexts;
};
