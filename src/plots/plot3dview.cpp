#include "plots/plot3dview.h"

#include "plots/axislabelstep.h"
#include "plots/viewseries.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The look of the view: projection zoom 70 per cent, perspective 88 (0 is nearly orthogonal, 100 the
// strongest), offsets of 14 pixels right and down, 15 per cent of the width and height kept free on
// the right and at the bottom, a 3-pixel border rounded with radius 10, label step at least 10 mm.
constexpr double ProjectionZoom = 0.70;
constexpr double Perspective = 88.0;
constexpr double HorizontalOffset = 14.0;
constexpr double VerticalOffset = 14.0;
constexpr double RightMargin = 0.15;
constexpr double BottomMargin = 0.15;
constexpr int BorderWidth = 3;
constexpr double LeastLabelStep = 10.0;

// The squares of the points, half their side in pixels.
constexpr double SquareHalfSize = 3.0;

const QColor GradientEnd(199, 199, 141);
const QColor GridColour(192, 192, 192);
const QColor WallEdgeColour(128, 128, 128);
// The series' colours, one for each role, in the order a chart hands them out.
const QColor SeriesColours[4] = {QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53), QColor(0xf6, 0xa6, 0x25),
                                 QColor(0x6d, 0x5f, 0xd5)};

// The eye's distance from the box centre, in half box widths: farther means flatter.
double EyeDistance()
{
    return 6.0 + 40.0 * (100.0 - Perspective) / 100.0;
}

double Radians(int degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

QRectF CentredTextRect(const QPainter &painter, QPointF centre, const QString &text)
{
    const QRectF box = painter.fontMetrics().boundingRect(text);
    return QRectF(centre.x() - box.width() / 2.0 - 2.0, centre.y() - box.height() / 2.0, box.width() + 4.0,
                  box.height());
}

void DrawCentredText(QPainter &painter, QPointF centre, const QString &text)
{
    painter.drawText(CentredTextRect(painter, centre, text), Qt::AlignCenter, text);
}

} // namespace

TPlot3DView::TPlot3DView(const std::array<QString, 4> &seriesNames, QWidget *parent)
    : TViewWidget(QStringLiteral("3D View"), seriesNames, parent)
{
    SetRoundLiveMarker();
}

void TPlot3DView::SetAxisMaximum(TAxis axis, double value)
{
    TRange &range = m_ranges[static_cast<int>(axis)];
    range.maximum = value;
    range.minimum = std::min(range.minimum, value);
    ViewChanged();
}

void TPlot3DView::SetAxisMinimum(TAxis axis, double value)
{
    TRange &range = m_ranges[static_cast<int>(axis)];
    range.minimum = value;
    range.maximum = std::max(range.maximum, value);
    ViewChanged();
}

void TPlot3DView::SetRotation(int degrees)
{
    m_rotation = degrees;
    ViewChanged();
}

void TPlot3DView::SetElevation(int degrees)
{
    m_elevation = degrees;
    ViewChanged();
}

void TPlot3DView::ViewChanged()
{
    m_projection.reset();
    InvalidatePicture();
}

void TPlot3DView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        ViewChanged();
    TViewWidget::changeEvent(event);
}

void TPlot3DView::resizeEvent(QResizeEvent *event)
{
    m_projection.reset();
    TViewWidget::resizeEvent(event);
}

TPlot3DView::TBoxPoint TPlot3DView::ToBox(double horizontal, double vertical, double depth) const
{
    const auto unit = [](const TRange &range, double value) {
        const double span = range.maximum - range.minimum;
        return span > 0.0 ? 2.0 * (value - range.minimum) / span - 1.0 : 0.0;
    };
    return {unit(m_ranges[static_cast<int>(TAxis::Bottom)], horizontal),
            unit(m_ranges[static_cast<int>(TAxis::Left)], vertical),
            unit(m_ranges[static_cast<int>(TAxis::Depth)], depth)};
}

QRectF TPlot3DView::PlotRect() const
{
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 1.0);
    const QRectF inside = FrameRect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    const double top = inside.top() + 4.0 + QFontMetricsF(titleFont).height() + 4.0;
    return QRectF(inside.left(), top, inside.width() * (1.0 - RightMargin),
                  (inside.bottom() - top) * (1.0 - BottomMargin));
}

const TPlot3DView::TProjection &TPlot3DView::Projection() const
{
    if (m_projection)
        return *m_projection;
    TProjection projection;
    projection.cosRotation = std::cos(Radians(m_rotation));
    projection.sinRotation = std::sin(Radians(m_rotation));
    projection.cosElevation = std::cos(Radians(m_elevation));
    projection.sinElevation = std::sin(Radians(m_elevation));
    const QRectF plot = PlotRect();
    // At 100 per cent the box, seen square on, would nearly fill the plot's shorter side.
    projection.scale = ProjectionZoom * std::min(plot.width(), plot.height()) / 2.0 / 1.2;
    projection.centre = plot.center() + QPointF(HorizontalOffset, VerticalOffset);
    m_projection = projection;
    return *m_projection;
}

TPlot3DView::TBoxPoint TPlot3DView::ToEye(const TBoxPoint &point) const
{
    // Turn about the vertical axis by the rotation, then tilt about the screen's horizontal axis by
    // the elevation; z then runs from the eye into the picture.
    const TProjection &p = Projection();
    const double x1 = point.x * p.cosRotation - point.z * p.sinRotation;
    const double z1 = point.x * p.sinRotation + point.z * p.cosRotation;
    return {x1, point.y * p.cosElevation - z1 * p.sinElevation,
            point.y * p.sinElevation + z1 * p.cosElevation};
}

QPointF TPlot3DView::Project(const TBoxPoint &point) const
{
    const TBoxPoint seen = ToEye(point);
    const double eye = EyeDistance();
    const double perspective = eye / (eye + seen.z);
    const TProjection &p = Projection();
    return p.centre + QPointF(seen.x * perspective * p.scale, -seen.y * perspective * p.scale);
}

TPlot3DView::TWalls TPlot3DView::FarWalls() const
{
    // Of each pair of opposite faces, the one farther from the eye carries the grid.
    return {ToEye({0, 0, 1}).z >= ToEye({0, 0, -1}).z ? 1.0 : -1.0,
            ToEye({-1, 0, 0}).z >= ToEye({1, 0, 0}).z ? -1.0 : 1.0};
}

std::optional<QPointF> TPlot3DView::MarkPosition(const TSeriesPoint &point) const
{
    const TBoxPoint box = ToBox(point.horizontal, point.vertical, point.depth);
    constexpr double edge = 1.0 + 1e-9;
    if (std::abs(box.x) > edge || std::abs(box.y) > edge || std::abs(box.z) > edge)
        return std::nullopt;
    return Project(box);
}

QPointF TPlot3DView::mapToPosition(QVector3D value) const
{
    return Project(ToBox(value.x(), value.z(), value.y()));
}

void TPlot3DView::PaintPicture(QPainter &painter) const
{
    const QRectF frame = FrameRect();
    QLinearGradient background(frame.bottomLeft(), frame.topRight());
    background.setColorAt(0.0, Qt::white);
    background.setColorAt(1.0, GradientEnd);
    const QRectF inside = PaintFrame(painter, BorderWidth, background);
    PaintTitle(painter, inside);

    PaintWalls(painter);
    QList<QRectF> labels;
    PaintAxis(painter, TAxis::Bottom, labels);
    PaintAxis(painter, TAxis::Left, labels);
    PaintAxis(painter, TAxis::Depth, labels);
    PaintRowSegments(painter, inside);
    PaintSeries(painter);
    PaintFeatureLayer(painter, inside);
    PaintPointLabels(painter, inside);
}

std::optional<QPointF> TPlot3DView::LayerPlace(const TSeriesPoint &point) const
{
    // Far outside the box the perspective no longer means anything (and may pass the eye).
    const TBoxPoint box = ToBox(point.horizontal, point.vertical, point.depth);
    constexpr double reach = 2.0;
    if (std::abs(box.x) > reach || std::abs(box.y) > reach || std::abs(box.z) > reach)
        return std::nullopt;
    return Project(box);
}

void TPlot3DView::PaintWalls(QPainter &painter) const
{
    // The back wall (the far end of the depth axis) is lightly filled; the side wall is only its grid
    // and edges; the floor is not drawn.
    const TWalls walls = FarWalls();
    const double b = walls.back;
    const double s = walls.side;
    const QPolygonF back(
        {Project({-1, -1, b}), Project({1, -1, b}), Project({1, 1, b}), Project({-1, 1, b})});
    const QPolygonF side(
        {Project({s, -1, -1}), Project({s, -1, 1}), Project({s, 1, 1}), Project({s, 1, -1})});
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawPolygon(back);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(WallEdgeColour, 1));
    painter.drawPolygon(back);
    painter.drawPolygon(side);
}

void TPlot3DView::PaintAxis(QPainter &painter, TAxis axis, QList<QRectF> &labels) const
{
    const TRange &range = m_ranges[static_cast<int>(axis)];
    const double span = range.maximum - range.minimum;
    if (!(span > 0.0))
        return;
    const auto unit = [&](double value) { return 2.0 * (value - range.minimum) / span - 1.0; };

    // Each axis runs along a box edge next to the walls: X along the bottom at the near end of the
    // depth, Z up the corner of the side wall and the near end, Y along the bottom away from the side
    // wall. The labels stand off outwards from the box.
    const TWalls walls = FarWalls();
    const double b = walls.back;
    const double s = walls.side;
    constexpr double r = 0.70710678;
    const auto at = [&](double t) {
        return axis == TAxis::Bottom ? TBoxPoint{t, -1, -b}
               : axis == TAxis::Left ? TBoxPoint{s, t, -b}
                                     : TBoxPoint{-s, -1, t};
    };
    const TBoxPoint outward = axis == TAxis::Bottom ? TBoxPoint{0, -r, -b * r}
                              : axis == TAxis::Left ? TBoxPoint{s * r, 0, -b * r}
                                                    : TBoxPoint{-s * r, -r, 0};
    const QString title = axis == TAxis::Bottom ? QStringLiteral("X (mm)")
                          : axis == TAxis::Left ? QStringLiteral("Z (mm)")
                                                : QStringLiteral("Y (mm)");
    const auto shifted = [&](TBoxPoint p, double amount) {
        return TBoxPoint{p.x + outward.x * amount, p.y + outward.y * amount, p.z + outward.z * amount};
    };

    const QPointF from = Project(at(-1.0));
    const QPointF to = Project(at(1.0));
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QFontMetricsF metrics(painter.font());
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("-100.0")) + 6.0;
    const double labelHeight = metrics.height() + 4.0;
    // A label needs its width along a level axis and its height along an upright one.
    const double labelPixels =
        length > 0.0 ? std::abs(along.x()) / length * labelWidth + std::abs(along.y()) / length * labelHeight
                     : labelWidth;
    const double step = AxisLabelStep(span, length, labelPixels, LeastLabelStep);
    const int decimals = AxisLabelDecimals(step);
    const QList<double> values = AxisTickValues(range.minimum, range.maximum, step);

    // Grid lines on the walls at each label: the back wall for X and Z, the side wall for Y and Z.
    painter.setPen(QPen(GridColour, 1, Qt::SolidLine));
    for (const double value : values) {
        const double t = unit(value);
        if (axis == TAxis::Bottom) {
            painter.drawLine(Project({t, -1, b}), Project({t, 1, b}));
        } else if (axis == TAxis::Left) {
            painter.drawLine(Project({s, t, -1}), Project({s, t, 1}));
            painter.drawLine(Project({-1, t, b}), Project({1, t, b}));
        } else {
            painter.drawLine(Project({s, -1, t}), Project({s, 1, t}));
        }
    }

    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(from, to);
    for (const double value : values) {
        const TBoxPoint tick = at(unit(value));
        painter.drawLine(Project(tick), Project(shifted(tick, 0.05)));
        // Where two axes meet, the label drawn first keeps the corner.
        const QString text = AxisLabelText(value, decimals);
        const QRectF place = CentredTextRect(painter, Project(shifted(tick, 0.16)), text);
        if (std::any_of(labels.cbegin(), labels.cend(),
                        [&](const QRectF &taken) { return taken.intersects(place); }))
            continue;
        labels.append(place);
        painter.drawText(place, Qt::AlignCenter, text);
    }

    const QPointF titleAt = Project(shifted(at(0.0), 0.42));
    if (axis == TAxis::Left) {
        painter.save();
        painter.translate(titleAt);
        painter.rotate(-90.0);
        DrawCentredText(painter, QPointF(0.0, 0.0), title);
        painter.restore();
    } else {
        DrawCentredText(painter, titleAt, title);
    }
}

void TPlot3DView::PaintSeries(QPainter &painter) const
{
    for (const TRole role : {TRole::FirstLine, TRole::SecondLine}) {
        const QList<QPointF> places = Places(role);
        if (places.size() > 1) {
            painter.setPen(QPen(SeriesColours[int(role)], 2));
            painter.drawPolyline(places.constData(), int(places.size()));
        }
        PaintMarks(painter, places, TMarkShape::Square, SquareHalfSize, SeriesColours[int(role)]);
    }
    PaintDeletedMarks(painter, TMarkShape::Square, SquareHalfSize);
    PaintMarks(painter, Places(TRole::Points), TMarkShape::Square, SquareHalfSize,
               SeriesColours[int(TRole::Points)]);
}
