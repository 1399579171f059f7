#pragma once

#include "plots/chartengine.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <array>
#include <optional>

class TPlot3DSeries;

// The 3D view: a box spanning the three axis ranges, turned by the rotation about the vertical axis
// and tilted by the elevation, then drawn in perspective. Horizontal is the measured X, vertical the
// measured Z and depth the measured Y. Rotation 0 and elevation 0 look straight at the X-Z face;
// 301 and 344 (the start) turn the depth axis off to the right and look down on the box a little.
class TPlot3DView : public QWidget
{
    Q_OBJECT

public:
    enum class TRole
    {
        Points,     // recorded points: squares, clickable
        Live,       // the live position: a circle
        FirstLine,  // squares joined by a line
        SecondLine, // squares joined by a line
    };

    // Series objects get the names given, in the order of the roles.
    TPlot3DView(const std::array<QString, 4> &seriesNames, QWidget *parent);

    TPlot3DSeries *Series(TRole role) const { return m_series[static_cast<int>(role)]; }

    void SetAxisMaximum(TAxis axis, double value);
    void SetAxisMinimum(TAxis axis, double value);
    double AxisMaximum(TAxis axis) const { return m_ranges[static_cast<int>(axis)].maximum; }
    double AxisMinimum(TAxis axis) const { return m_ranges[static_cast<int>(axis)].minimum; }

    void SetRotation(int degrees);
    int Rotation() const { return m_rotation; }
    void SetElevation(int degrees);
    int Elevation() const { return m_elevation; }

    // Where a point lands in this widget; none when it lies outside an axis range (not drawn).
    std::optional<QPointF> MarkPosition(const TSeriesPoint &point) const;
    // The index of the recorded point whose mark is under position, nearest first and the series'
    // own order among equals; -1 when none is within a few pixels.
    int MarkAt(QPointF position) const;

Q_SIGNALS:
    void MarkClicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

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

    TBoxPoint ToBox(double horizontal, double vertical, double depth) const;
    TBoxPoint ToEye(const TBoxPoint &point) const;
    QPointF Project(const TBoxPoint &point) const;
    TWalls FarWalls() const;
    QRectF TitleRect() const;
    void DrawWalls(QPainter &painter) const;
    void DrawAxis(QPainter &painter, TAxis axis, QList<QRectF> &labels) const;
    void DrawSeries(QPainter &painter) const;

    std::array<TPlot3DSeries *, 4> m_series{};
    std::array<TRange, 3> m_ranges{};
    int m_rotation = 301;
    int m_elevation = 344;
};
