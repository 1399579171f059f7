#pragma once

#include "plots/chartengine.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <array>
#include <optional>

class QScrollBar;
class QWidget;
class QXYSeries;
class TPlaneChartView;
class TPlot3DView;

// The drawing engine of the four views: Chart1 (X-Y), Chart2 (X-Z) and Chart3 (Y-Z) on Qt Charts,
// Chart4 (3D) painted by TPlot3DView. All four are children of the parent widget and share one
// rectangle (LayoutCharts); each carries its own scroll bars. The window connects the bars'
// valueChanged to the plot views' zoom, rotation and elevation handlers.
class TQtChartEngine : public QObject, public TChartEngine
{
    Q_OBJECT

public:
    explicit TQtChartEngine(QWidget *parent);

    void SetAxisMaximum(int chart, TAxis axis, double value) override;
    void SetAxisMinimum(int chart, TAxis axis, double value) override;
    double AxisMaximum(int chart, TAxis axis) const override;
    double AxisMinimum(int chart, TAxis axis) const override;

    void AddPlanePoint(int series, double horizontal, double vertical) override;
    void Add3DPoint(int series, double horizontal, double vertical, double depth) override;
    void ClearSeries(int series) override;
    int SeriesCount(int series) const override;
    TSeriesPoint SeriesPoint(int series, int index) const override;

    void SetRotation(int degrees) override;
    int Rotation() const override;
    void SetElevation(int degrees) override;
    int Elevation() const override;

    void BringToFront(int chart) override;
    int FrontChart() const override { return m_front; }

    // Chart 1 to 4 (nullptr otherwise) and its bars.
    QWidget *Chart(int chart) const;
    QScrollBar *ZoomBar(int chart) const;
    QScrollBar *RotateBar() const { return m_rotateBar; }
    QScrollBar *ElevateBar() const { return m_elevateBar; }

    // Gives the four charts the same rectangle in the parent, places the bars inside them, sets the
    // 3D bars to the current rotation and elevation, and brings Chart1 to front.
    void LayoutCharts(int left, int top, int width, int height);

    // Where mark index of series 1 to 16 is drawn, in its chart's coordinates; none when the index
    // is not held or the point lies outside the axis ranges.
    std::optional<QPointF> MarkPosition(int series, int index) const;
    // The hit-test behind a click: the index of the recorded point under position in chart 1 to 4,
    // or -1.
    int MarkAt(int chart, QPointF position) const;

private:
    QXYSeries *PlaneSeries(int series) const;
    // A chart series redoes the places of all its marks on every added point, so points added in
    // one go (a file of 999 rows) are held back and handed over together: when control returns to
    // the event loop, or before anything reads, paints or hit-tests the series.
    void HoldBack(int series, QPointF point);
    void HandOver() const;

    std::array<TPlaneChartView *, 3> m_planes{};
    TPlot3DView *m_view3D = nullptr;
    // Series1 to Series16 of the plane views by number; the 3D ones live in m_view3D.
    std::array<QXYSeries *, 16> m_planeSeries{};
    std::array<QScrollBar *, 4> m_zoomBars{};
    QScrollBar *m_rotateBar = nullptr;
    QScrollBar *m_elevateBar = nullptr;
    int m_front = 1;
    mutable std::array<QList<QPointF>, 16> m_heldBack;
    bool m_handOverQueued = false;
};
