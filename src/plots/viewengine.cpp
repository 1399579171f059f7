#include "plots/qtchartengine.h"

#include "plots/planechartview.h"
#include "plots/plot3dseries.h"
#include "plots/plot3dview.h"

#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QScrollBar>
#include <QTimer>
#include <QValueAxis>

namespace {

constexpr int ThreeDChart = 4;
constexpr int BarThickness = 17;
constexpr int BarLength = 121;
constexpr int ZoomBarTop = 210;

// A mark of size s spans s pixels either side of its point, so it is 2 s + 1 pixels across; the
// star is drawn a little larger so that its points show.
constexpr double StarMarkSize = 2 * 3 + 1 + 4;
constexpr double CrossMarkSize = 2 * 6 + 1;

int ChartOf(int series)
{
    return (series - 1) % 4 + 1;
}

bool IsSeries(int series)
{
    return series >= 1 && series <= 16;
}

QString SeriesName(int series)
{
    return QStringLiteral("Series%1").arg(series);
}

// The live marker: an upright cross in the series' colour.
QImage CrossImage(const QColor &colour)
{
    const int size = 4 * static_cast<int>(CrossMarkSize);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, size / 4.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(size / 2.0, 0.0), QPointF(size / 2.0, size));
    painter.drawLine(QPointF(0.0, size / 2.0), QPointF(size, size / 2.0));
    return image;
}

QLinearGradient RisingGradient(const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0.0, 1.0, 1.0, 0.0);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0.0, from);
    gradient.setColorAt(1.0, to);
    return gradient;
}

QScrollBar *MakeBar(Qt::Orientation orientation, int minimum, int maximum, int value, const QString &name,
                    QWidget *chart)
{
    auto *bar = new QScrollBar(orientation, chart);
    bar->setObjectName(name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(0);
    bar->setValue(value);
    if (orientation == Qt::Vertical)
        bar->resize(BarThickness, BarLength);
    else
        bar->resize(BarLength, BarThickness);
    return bar;
}

} // namespace

TQtChartEngine::TQtChartEngine(QWidget *parent) : QObject(parent)
{
    struct TPlaneLook
    {
        QString title;
        QString horizontal;
        QString vertical;
        double horizontalStep;
        double verticalStep;
        QLinearGradient background;
        bool mouseZoom;
    };
    const std::array<TPlaneLook, 3> looks = {{
        {QStringLiteral("X-Y Plane"), QStringLiteral("X (mm)"), QStringLiteral("Y (mm)"), 1.0, 1.0,
         RisingGradient(Qt::white, QColor(220, 220, 220)), false},
        {QStringLiteral("X-Z Plane"), QStringLiteral("X (mm)"), QStringLiteral("Z (mm)"), 0.0, 1.0,
         RisingGradient(Qt::white, QColor(128, 255, 255)), true},
        {QStringLiteral("Y-Z Plane"), QStringLiteral("Y (mm)"), QStringLiteral("Z (mm)"), 0.0, 0.0,
         RisingGradient(QColor(196, 196, 255), Qt::white), true},
    }};
    const std::array<QColor, 3> starFill = {QColor(), QColor(Qt::yellow), QColor(0, 255, 64)};

    for (int chart = 1; chart <= 3; ++chart) {
        const TPlaneLook &look = looks[chart - 1];
        auto *view = new TPlaneChartView(look.title, look.horizontal, look.vertical, look.horizontalStep,
                                         look.verticalStep, parent);
        view->setObjectName(QStringLiteral("Chart%1").arg(chart));
        view->setBackgroundBrush(parent ? parent->palette().window() : QBrush(Qt::lightGray));
        view->setRubberBand(look.mouseZoom ? QChartView::RectangleRubberBand : QChartView::NoRubberBand);
        QChart *plot = view->chart();
        plot->setBackgroundBrush(look.background);
        plot->setBackgroundPen(QPen(QColor(64, 64, 64), 2));
        plot->setBackgroundRoundness(10.0);
        plot->setPlotAreaBackgroundVisible(true);
        plot->setPlotAreaBackgroundBrush(Qt::NoBrush);
        plot->setPlotAreaBackgroundPen(QPen(QColor(128, 128, 128), 2));
        m_planes[chart - 1] = view;

        // Series are added in number order so each takes the chart's colour for its place; the
        // looks that the views name are set after adding, as adding applies the chart's theme.
        const auto attach = [&](QXYSeries *series, int number) {
            series->setObjectName(SeriesName(number));
            plot->addSeries(series);
            series->attachAxis(view->HorizontalAxis());
            series->attachAxis(view->VerticalAxis());
            series->setPointLabelsVisible(false);
            m_planeSeries[number - 1] = series;
        };

        auto *recorded = new QScatterSeries(plot);
        attach(recorded, chart);
        recorded->setMarkerShape(QScatterSeries::MarkerShapeStar);
        recorded->setMarkerSize(StarMarkSize);
        if (starFill[chart - 1].isValid())
            recorded->setColor(starFill[chart - 1]);
        recorded->setBorderColor(recorded->color().darker(170));
        view->SetPickSeries(recorded);
        view->SetBeforeUse([this] { HandOver(); });

        auto *live = new QScatterSeries(plot);
        attach(live, chart + 4);
        live->setMarkerSize(CrossMarkSize);
        live->setLightMarker(CrossImage(live->color()));

        for (const int number : {chart + 8, chart + 12}) {
            auto *line = new QLineSeries(plot);
            attach(line, number);
            line->setPen(QPen(Qt::red, 3));
            line->setPointsVisible(false);
        }

        connect(view, &TPlaneChartView::MarkClicked, this,
                [this, chart](int index) { ReportPointClick(chart, index); });
    }

    m_view3D = new TPlot3DView({SeriesName(4), SeriesName(8), SeriesName(12), SeriesName(16)}, parent);
    m_view3D->setObjectName(QStringLiteral("Chart4"));
    connect(m_view3D, &TPlot3DView::MarkClicked, this,
            [this](int index) { ReportPointClick(ThreeDChart, index); });

    const std::array<QString, 4> zoomNames = {QStringLiteral("scrlZoomXY"), QStringLiteral("scrlZoomXZ"),
                                              QStringLiteral("scrlZoomYZ"), QStringLiteral("scrlZoom3D")};
    for (int chart = 1; chart <= 4; ++chart) {
        QScrollBar *bar = MakeBar(Qt::Vertical, 5, 100, 100, zoomNames[chart - 1], Chart(chart));
        bar->move(0, ZoomBarTop);
        m_zoomBars[chart - 1] = bar;
    }
    m_rotateBar =
        MakeBar(Qt::Horizontal, 0, 360, m_view3D->Rotation(), QStringLiteral("scrlRotate3D"), m_view3D);
    m_elevateBar =
        MakeBar(Qt::Vertical, 0, 360, m_view3D->Elevation(), QStringLiteral("scrlElevate3D"), m_view3D);
}

QWidget *TQtChartEngine::Chart(int chart) const
{
    if (chart >= 1 && chart <= 3)
        return m_planes[chart - 1];
    return chart == ThreeDChart ? m_view3D : nullptr;
}

QScrollBar *TQtChartEngine::ZoomBar(int chart) const
{
    return chart >= 1 && chart <= 4 ? m_zoomBars[chart - 1] : nullptr;
}

QXYSeries *TQtChartEngine::PlaneSeries(int series) const
{
    return IsSeries(series) ? m_planeSeries[series - 1] : nullptr;
}

void TQtChartEngine::SetAxisMaximum(int chart, TAxis axis, double value)
{
    if (chart == ThreeDChart) {
        m_view3D->SetAxisMaximum(axis, value);
    } else if (chart >= 1 && chart <= 3 && axis != TAxis::Depth) {
        TPlaneChartView *view = m_planes[chart - 1];
        (axis == TAxis::Bottom ? view->HorizontalAxis() : view->VerticalAxis())->setMax(value);
    }
}

void TQtChartEngine::SetAxisMinimum(int chart, TAxis axis, double value)
{
    if (chart == ThreeDChart) {
        m_view3D->SetAxisMinimum(axis, value);
    } else if (chart >= 1 && chart <= 3 && axis != TAxis::Depth) {
        TPlaneChartView *view = m_planes[chart - 1];
        (axis == TAxis::Bottom ? view->HorizontalAxis() : view->VerticalAxis())->setMin(value);
    }
}

double TQtChartEngine::AxisMaximum(int chart, TAxis axis) const
{
    if (chart == ThreeDChart)
        return m_view3D->AxisMaximum(axis);
    if (chart < 1 || chart > 3 || axis == TAxis::Depth)
        return 0.0;
    const TPlaneChartView *view = m_planes[chart - 1];
    return (axis == TAxis::Bottom ? view->HorizontalAxis() : view->VerticalAxis())->max();
}

double TQtChartEngine::AxisMinimum(int chart, TAxis axis) const
{
    if (chart == ThreeDChart)
        return m_view3D->AxisMinimum(axis);
    if (chart < 1 || chart > 3 || axis == TAxis::Depth)
        return 0.0;
    const TPlaneChartView *view = m_planes[chart - 1];
    return (axis == TAxis::Bottom ? view->HorizontalAxis() : view->VerticalAxis())->min();
}

void TQtChartEngine::AddPlanePoint(int series, double horizontal, double vertical)
{
    if (!IsSeries(series))
        return;
    if (ChartOf(series) == ThreeDChart)
        Add3DPoint(series, horizontal, vertical, 0.0);
    else
        HoldBack(series, {horizontal, vertical});
}

void TQtChartEngine::Add3DPoint(int series, double horizontal, double vertical, double depth)
{
    if (!IsSeries(series))
        return;
    if (ChartOf(series) == ThreeDChart)
        m_view3D->Series(static_cast<TPlot3DView::TRole>((series - 1) / 4))
            ->Append({horizontal, vertical, depth});
    else
        HoldBack(series, {horizontal, vertical});
}

void TQtChartEngine::HoldBack(int series, QPointF point)
{
    m_heldBack[series - 1].append(point);
    if (!m_handOverQueued) {
        m_handOverQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_handOverQueued = false;
            HandOver();
        });
    }
}

void TQtChartEngine::HandOver() const
{
    for (int series = 1; series <= 16; ++series) {
        QList<QPointF> &held = m_heldBack[series - 1];
        if (held.isEmpty())
            continue;
        // One replacement places the marks once; appending point by point would place them all
        // again for every point.
        QXYSeries *target = PlaneSeries(series);
        target->replace(target->points() + held);
        held.clear();
    }
}

void TQtChartEngine::ClearSeries(int series)
{
    if (!IsSeries(series))
        return;
    if (ChartOf(series) == ThreeDChart) {
        m_view3D->Series(static_cast<TPlot3DView::TRole>((series - 1) / 4))->Clear();
    } else {
        m_heldBack[series - 1].clear();
        PlaneSeries(series)->clear();
    }
}

int TQtChartEngine::SeriesCount(int series) const
{
    if (!IsSeries(series))
        return 0;
    if (ChartOf(series) == ThreeDChart)
        return m_view3D->Series(static_cast<TPlot3DView::TRole>((series - 1) / 4))->Count();
    return PlaneSeries(series)->count() + static_cast<int>(m_heldBack[series - 1].size());
}

TSeriesPoint TQtChartEngine::SeriesPoint(int series, int index) const
{
    if (index < 0 || index >= SeriesCount(series))
        return {};
    if (ChartOf(series) == ThreeDChart)
        return m_view3D->Series(static_cast<TPlot3DView::TRole>((series - 1) / 4))->At(index);
    HandOver();
    const QPointF point = PlaneSeries(series)->at(index);
    return {point.x(), point.y(), 0.0};
}

void TQtChartEngine::SetRotation(int degrees)
{
    m_view3D->SetRotation(degrees);
}

int TQtChartEngine::Rotation() const
{
    return m_view3D->Rotation();
}

void TQtChartEngine::SetElevation(int degrees)
{
    m_view3D->SetElevation(degrees);
}

int TQtChartEngine::Elevation() const
{
    return m_view3D->Elevation();
}

void TQtChartEngine::BringToFront(int chart)
{
    if (QWidget *view = Chart(chart)) {
        view->raise();
        m_front = chart;
    }
}

void TQtChartEngine::LayoutCharts(int left, int top, int width, int height)
{
    for (int chart = 1; chart <= 4; ++chart)
        Chart(chart)->setGeometry(left, top, width, height);

    m_rotateBar->raise();
    m_rotateBar->move(width - m_rotateBar->width() - 27, height - m_rotateBar->height() - 5);
    m_rotateBar->setValue(Rotation());
    m_elevateBar->raise();
    m_elevateBar->move(width - m_elevateBar->width() - 8, height - m_elevateBar->height() - 25);
    m_elevateBar->setValue(Elevation());
    for (QScrollBar *bar : m_zoomBars) {
        bar->move(width - m_zoomBars[0]->width() - 8, ZoomBarTop);
        bar->raise();
    }
    BringToFront(1);
}

std::optional<QPointF> TQtChartEngine::MarkPosition(int series, int index) const
{
    if (index < 0 || index >= SeriesCount(series))
        return std::nullopt;
    const TSeriesPoint point = SeriesPoint(series, index);
    if (ChartOf(series) == ThreeDChart)
        return m_view3D->MarkPosition(point);
    const TPlaneChartView *view = m_planes[ChartOf(series) - 1];
    const QValueAxis *horizontal = view->HorizontalAxis();
    const QValueAxis *vertical = view->VerticalAxis();
    if (point.horizontal < horizontal->min() || point.horizontal > horizontal->max() ||
        point.vertical < vertical->min() || point.vertical > vertical->max())
        return std::nullopt;
    return view->MarkPosition({point.horizontal, point.vertical});
}

int TQtChartEngine::MarkAt(int chart, QPointF position) const
{
    if (chart == ThreeDChart)
        return m_view3D->MarkAt(position);
    if (chart >= 1 && chart <= 3)
        return m_planes[chart - 1]->MarkAt(position);
    return -1;
}
