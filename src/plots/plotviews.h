#pragma once

#include "common/stationtypes.h"
#include "geometry/geometryfeature.h"
#include "plots/chartengine.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The station's four views as the rest of the program sees them: which view is in front, the zoom,
// rotation and elevation, and the one rule that places a point (X, Y, Z) in each view:
//   X-Y view (X, Y), X-Z view (X, Z), Y-Z view (Y, Z), 3D view (X, Z, Y) as (across, up, depth),
// so in the 3D view the measured Z stands up and the measured Y runs into the depth. The drawing
// itself is the engine's; this class only tells it what to show.
class TPlotViews
{
public:
    // Zoom bars move between these positions; a position is the half span shown, in millimetres.
    static constexpr int MinimumZoom = 5;
    static constexpr int MaximumZoom = 100;

    explicit TPlotViews(TChartEngine &engine);

    TChartEngine &Engine() const { return m_engine; }

    // Every axis of every view spans -100 to 100 mm, the left axis first, then the bottom (and depth).
    void StartUp();

    // The four view buttons' state after any of them changed: the view whose button is down comes to
    // front; with all buttons up the view in front stays.
    void HandleGraphView(bool xy, bool xz, bool yz, bool threeD);

    // Zoom bar of chart 1 to 4 moved to position: every axis of that view shows position either side
    // of the view's centre as it is now (the origin until the view is panned or fitted). A position
    // below MinimumZoom is taken as MinimumZoom, so no axis ever gets an empty range.
    void ZoomChanged(int chart, int position);
    // Moves the ranges of plane chart 1 to 3 by (horizontal, vertical) mm; the span stays.
    void Pan(int chart, double horizontal, double vertical);
    // Frames the recorded points, the line series and whatever SetFitExtent adds in chart 1 to 4: the
    // view is centred on them and every axis spans the largest extent with a tenth of it to spare on
    // each side, in whole millimetres and no less than MinimumZoom. The zoom bar is set to match (at
    // most MaximumZoom, when the points need more). False, and nothing changes, with nothing to frame.
    bool Fit(int chart);
    // The designed ranges: -100 to 100 mm about the origin, the zoom bar at MaximumZoom.
    void Home(int chart);
    // More points a fit frames, asked at every fit; the features shown are framed anyway.
    void SetFitExtent(std::function<std::vector<TPoint3>()> extent) { m_fitExtent = std::move(extent); }

    // The distance and angle rows to draw in every view, as pairs of measured points.
    using TSegments = std::vector<std::pair<TPoint3, TPoint3>>;
    void ShowRowSegments(const TSegments &thin, const TSegments &highlighted);
    // The recorded points as they were plotted, read back from the 3D series, which holds all three
    // coordinates.
    std::vector<TPoint3> RecordedPoints() const;
    void RotationChanged(int degrees);
    void ElevationChanged(int degrees);

    // Plots a point given as the three texts of a table row into the recorded-point series. Texts
    // that do not read as numbers plot nothing and return false.
    bool PlotPoint(const QString &x, const QString &y, const QString &z);
    void AddRecordedPoint(TPoint3 point);

    // The live marker of each view whose button is down is emptied and set to point; the others keep
    // the position they last showed.
    void ShowLivePosition(TPoint3 point, bool xy, bool xz, bool yz, bool threeD);

    void ClearAllSeries();
    // Told of each recorded point added to the views, and (with no point) of their emptying.
    void SetRecordedWatch(std::function<void(std::optional<TPoint3>)> watch)
    {
        m_recordedWatch = std::move(watch);
    }
    // Marks the recorded points whose rows are gone: deleted[i] for the i-th recorded point, in all
    // four views; marks beyond the list are not deleted.
    void SetDeletedMarks(const std::vector<bool> &deleted);
    // The two line series of every view (Series9 to Series16).
    void ClearLineSeries();
    // Adds point to the first (line 1) or second (line 2) line series of chart 1 to 4.
    void AddLinePoint(int chart, int line, TPoint3 point);

    // A feature to draw: its geometry, the points it was fitted to (its extent) and whether it is the
    // one selected.
    struct TDrawnFeature
    {
        TGeometryFeature feature;
        TPointList points;
        bool highlighted = false;
    };
    // Draws these features in all four views on their own layer over the recorded points, in place
    // of those drawn before.
    void ShowFeatures(const std::vector<TDrawnFeature> &features);

    // The point behind mark index of recorded series 1 to 4, read back by the placement rule; a plane
    // view's missing coordinate is 0. An index the series does not hold gives the origin.
    TPoint3 ClickedPoint(int series, int index) const;

private:
    void AddToSeries(int series, TPoint3 point);
    void SetSymmetricRange(int chart, TAxis axis, double halfSpan);
    void SetRange(int chart, TAxis axis, double minimum, double maximum);
    double Centre(int chart, TAxis axis) const;

    TChartEngine &m_engine;
    std::function<std::vector<TPoint3>()> m_fitExtent;
    // The outlines of the features shown, in each view's places, for a fit.
    std::array<std::vector<TSeriesPoint>, 4> m_featurePlaces;
    std::function<void(std::optional<TPoint3>)> m_recordedWatch;
};
