#pragma once

#include "plots/viewwidget.h"

#include <QList>
#include <QVector3D>

// The 3D view: a box spanning the three axis ranges, turned by the rotation about the vertical axis
// and tilted by the elevation, then drawn in perspective. Horizontal is the measured X, vertical the
// measured Z and depth the measured Y. Rotation 0 and elevation 0 look straight at the X-Z face;
// 301 and 344 (the start) turn the depth axis off to the right and look down on the box a little.
// Recorded points are squares, the live position a circle, and the line series squares joined by a
// line. The frame takes the same place as the plane views' frames; the plot keeps 15 per cent of the
// width free on the right and of the height at the bottom.
class TPlot3DView : public TViewWidget
{
    Q_OBJECT

public:
    // Series objects get the names given, in the order of the roles.
    TPlot3DView(const std::array<QString, 4> &seriesNames, QWidget *parent);

    void SetAxisMaximum(TAxis axis, double value);
    void SetAxisMinimum(TAxis axis, double value);
    double AxisMaximum(TAxis axis) const { return m_ranges[static_cast<int>(axis)].maximum; }
    double AxisMinimum(TAxis axis) const { return m_ranges[static_cast<int>(axis)].minimum; }

    void SetRotation(int degrees);
    int Rotation() const { return m_rotation; }
    void SetElevation(int degrees);
    int Elevation() const { return m_elevation; }

    // The widget pixel of a point given as the point table holds it (X, Y, Z): where a press picks
    // that point's mark.
    Q_INVOKABLE QPointF mapToPosition(QVector3D value) const;
    // Where a point (horizontal, vertical, depth) lands in this widget; none when it lies outside an
    // axis range (not drawn).
    std::optional<QPointF> MarkPosition(const TSeriesPoint &point) const override;

protected:
    void PaintPicture(QPainter &painter) const override;
    std::optional<QPointF> LayerPlace(const TSeriesPoint &point) const override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct TRange
    {
        double minimum = -50.0;
        double maximum = 50.0;
    };
    // Box coordinates: each axis range mapped onto -1..1.
    struct TBoxPoint
    {
        double x = 0.0;
        double y = 0.0;
        double z = 0.0;
    };

    // Which face of each pair lies away from the eye: back is the depth end (-1 or 1) and side the
    // horizontal end that carry the walls.
    struct TWalls
    {
        double back = 1.0;
        double side = -1.0;
    };

    // The turn, tilt and scale of the picture, worked out once for each layout and pair of angles.
    struct TProjection
    {
        double cosRotation = 1.0;
        double sinRotation = 0.0;
        double cosElevation = 1.0;
        double sinElevation = 0.0;
        double scale = 1.0;
        QPointF centre;
    };

    const TProjection &Projection() const;
    void ViewChanged();
    TBoxPoint ToBox(double horizontal, double vertical, double depth) const;
    TBoxPoint ToEye(const TBoxPoint &point) const;
    QPointF Project(const TBoxPoint &point) const;
    TWalls FarWalls() const;
    // The plot inside the frame, below the title and clear of the margins.
    QRectF PlotRect() const;
    void PaintWalls(QPainter &painter) const;
    void PaintAxis(QPainter &painter, TAxis axis, QList<QRectF> &labels) const;
    void PaintSeries(QPainter &painter) const;

    std::array<TRange, 3> m_ranges{};
    int m_rotation = 301;
    int m_elevation = 344;
    mutable std::optional<TProjection> m_projection;
};
