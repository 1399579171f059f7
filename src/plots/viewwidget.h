#pragma once

#include "plots/chartengine.h"
#include "plots/featurelayer.h"
#include "plots/labelplacement.h"

#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QGradient;
class QScrollBar;
class TViewSeries;

// What the four views share: the frame, background and title, the marks, the hit-test of the recorded
// points, and the two layers of the picture. Everything but the live marker is drawn once into a
// cached picture, which is built again only when the content, ranges, zoom, rotation, elevation or
// size change; the live marker is drawn over it, and a move of the marker repaints only its old and
// new places.
//
// A press of any mouse button on a recorded point's mark picks it (MarkClicked); a right press that
// picks does not also open the context menu, one anywhere else does. The wheel moves the zoom bar. A
// view that pans (the plane views) follows a drag with the middle button anywhere, or with the left
// button from an empty place of its plot (PanDragged). Over a mark the tooltip names the points under
// the mouse. Over the points the picture carries the distance and angle rows (thin, and the selected
// ones strong) and, when shown, the point numbers beside the marks.
class TViewWidget : public QWidget
{
    Q_OBJECT

public:
    enum class TRole
    {
        Points,     // recorded points, the only ones that report clicks
        Live,       // the live position: at most one point
        FirstLine,  // a distance, or the first leg of an angle
        SecondLine, // the second leg of an angle
    };

    enum class TMarkShape
    {
        Star,
        Square,
    };

    // A mark is hit within this many pixels of its centre, in every view.
    static constexpr double PickReach = 8.0;
    // The tooltip of a deleted point's mark.
    static inline const QString DeletedTip =
        QStringLiteral("Point deleted: its row is no longer in the point table");

    // Series objects get the names given, in the order of the roles.
    TViewWidget(const QString &title, const std::array<QString, 4> &seriesNames, QWidget *parent);

    QString Title() const { return m_title; }
    TViewSeries *Series(TRole role) const { return m_series[static_cast<int>(role)]; }
    void SetZoomBar(QScrollBar *bar) { m_zoomBar = bar; }

    // Where a point of this view's series lands in the widget; none when it lies outside an axis range
    // (it is not drawn there).
    virtual std::optional<QPointF> MarkPosition(const TSeriesPoint &point) const = 0;
    // The index of the recorded point whose mark is nearest to position within PickReach, the earlier
    // point on equal distances; -1 when there is none.
    int MarkAt(QPointF position) const;
    // Every recorded point whose mark lies within PickReach of position, in the series' order.
    QList<int> MarksAt(QPointF position) const;

    // The point numbers by index in the recorded series, and whether they are drawn.
    void SetPointLabels(const QStringList &labels);
    void ShowPointLabels(bool shown);
    bool PointLabelsShown() const { return m_showLabels; }
    // Where the numbers went in the last picture (those that found no free place are not listed).
    const QList<TPlacedLabel> &PlacedLabels() const { return m_placedLabels; }
    void SetRowSegments(const std::vector<TSeriesSegment> &thin,
                        const std::vector<TSeriesSegment> &highlighted);
    const std::vector<TSeriesSegment> &ThinSegments() const { return m_thin; }
    const std::vector<TSeriesSegment> &HighlightedSegments() const { return m_highlighted; }
    // Makes the tooltip over marks: given the indices under the mouse, what to show.
    void SetMarkTipSource(std::function<QString(const QList<int> &indices)> source)
    {
        m_markTip = std::move(source);
    }
    QString MarkTip(QPointF position) const;

    // The features drawn over the recorded points; a new layer builds the picture again.
    void SetFeatureLayer(const TFeatureLayer &layer);
    const TFeatureLayer &FeatureLayer() const { return m_featureLayer; }

    // The rounded frame of the view, the same place and size in all four.
    QRectF FrameRect() const;
    // How often the cached picture has been built.
    int PictureBuildCount() const { return m_pictureBuilds; }
    // Where the live marker is drawn (empty when there is none).
    QRect LiveMarkerRect() const;
    // Whether the marks of deleted points are drawn (hollow and grey); a report's picture leaves them out.
    void SetDeletedShown(bool shown);

Q_SIGNALS:
    void MarkClicked(int index);
    // A pan drag moved by (horizontal, vertical) mm of the view's axes: the ranges should move by that.
    void PanDragged(double horizontal, double vertical);

protected:
    // Draws everything but the live marker, in widget coordinates.
    virtual void PaintPicture(QPainter &painter) const = 0;
    // The content, ranges, angles or layout changed: the picture is built again at the next paint.
    void InvalidatePicture();
    // The live marker is a circle (the 3D view) rather than an upright cross.
    void SetRoundLiveMarker() { m_roundLiveMarker = true; }

    // The frame with its border and background; returns the area inside the border.
    QRectF PaintFrame(QPainter &painter, int borderWidth, const QGradient &background) const;
    // The title at the top of area; returns the rest of the area below it.
    QRectF PaintTitle(QPainter &painter, const QRectF &area) const;
    // One mark at each place, from a picture of the mark drawn once.
    void PaintMarks(QPainter &painter, const QList<QPointF> &places, TMarkShape shape, double halfSize,
                    const QColor &fill) const;
    // The places of a series' points that lie within the ranges; of the recorded points, those not
    // deleted.
    QList<QPointF> Places(TRole role) const;
    // Where a point of the feature layer lands in the widget, inside the ranges or not; none where the
    // view cannot place it sensibly.
    virtual std::optional<QPointF> LayerPlace(const TSeriesPoint &point) const = 0;
    // The feature layer, within clip; the highlighted feature last, so that it lies on top.
    void PaintFeatureLayer(QPainter &painter, const QRectF &clip) const;
    // The distance and angle rows, clipped to clip; then the point numbers inside area.
    void PaintRowSegments(QPainter &painter, const QRectF &clip) const;
    void PaintPointLabels(QPainter &painter, const QRectF &area) const;
    // Where a left-button drag pans, and what a drag of pixels is in mm; none for a view that does not pan.
    virtual QRectF PanArea() const { return {}; }
    virtual std::optional<QPointF> PanValues(QPointF /*pixels*/) const { return std::nullopt; }
    // The recorded points that are deleted, hollow and grey in the shape of the live ones.
    void PaintDeletedMarks(QPainter &painter, TMarkShape shape, double halfSize) const;

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void BuildPicture(qreal ratio);
    void LiveChanged();
    void PaintLiveMarker(QPainter &painter, QPointF place) const;
    const QPixmap &MarkPicture(TMarkShape shape, double halfSize, const QColor &fill, qreal ratio) const;
    const QPixmap &LabelPicture(const QString &text, qreal ratio) const;

    QString m_title;
    std::array<TViewSeries *, 4> m_series{};
    TFeatureLayer m_featureLayer;
    QScrollBar *m_zoomBar = nullptr;
    QPixmap m_picture;
    bool m_pictureValid = false;
    int m_pictureBuilds = 0;
    // Where the live marker was last asked to show, so that a move repaints only the two places.
    QRect m_liveRect;
    bool m_swallowContextMenu = false;
    bool m_roundLiveMarker = false;
    bool m_deletedShown = true;
    mutable QHash<QString, QPixmap> m_markPictures;
    QStringList m_labels;
    bool m_showLabels = false;
    mutable QList<TPlacedLabel> m_placedLabels;
    // The numbers drawn once each, with their halo, for the font and pixel ratio of m_labelKey.
    mutable QHash<QString, QPixmap> m_labelPictures;
    mutable QString m_labelKey;
    std::vector<TSeriesSegment> m_thin;
    std::vector<TSeriesSegment> m_highlighted;
    std::function<QString(const QList<int> &)> m_markTip;
    bool m_panning = false;
    QPointF m_panFrom;
};
