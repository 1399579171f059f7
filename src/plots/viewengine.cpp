#include "plots/viewengine.h"

#include "plots/planeview.h"
#include "plots/plot3dview.h"
#include "plots/viewseries.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolTip>

namespace {

constexpr int ThreeDChart = 4;
constexpr int BarThickness = 17;
constexpr int BarLength = 121;
constexpr int ZoomBarTop = 210;
constexpr int ZoomPageStep = 10;
constexpr int AnglePageStep = 15;

int ChartOf(int series)
{
    return (series - 1) % 4 + 1;
}

QString SeriesName(int series)
{
    return QStringLiteral("Series%1").arg(series);
}

QScrollBar *MakeBar(Qt::Orientation orientation, int minimum, int maximum, int value, int pageStep,
                    const QString &name, QWidget *chart)
{
    auto *bar = new QScrollBar(orientation, chart);
    bar->setObjectName(name);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    bar->setValue(value);
    if (orientation == Qt::Vertical)
        bar->resize(BarThickness, BarLength);
    else
        bar->resize(BarLength, BarThickness);
    return bar;
}

} // namespace

TViewEngine::TViewEngine(QWidget *parent) : QObject(parent)
{
    const std::array<TPlaneView::TLook, 3> looks = {{
        {QStringLiteral("X-Y Plane"), QStringLiteral("X (mm)"), QStringLiteral("Y (mm)"), 1.0, 1.0, Qt::white,
         QColor(220, 220, 220), QColor()},
        {QStringLiteral("X-Z Plane"), QStringLiteral("X (mm)"), QStringLiteral("Z (mm)"), 0.0, 1.0, Qt::white,
         QColor(128, 255, 255), QColor(Qt::yellow)},
        {QStringLiteral("Y-Z Plane"), QStringLiteral("Y (mm)"), QStringLiteral("Z (mm)"), 0.0, 0.0,
         QColor(196, 196, 255), Qt::white, QColor(0, 255, 64)},
    }};
    for (int chart = 1; chart <= 3; ++chart) {
        auto *view = new TPlaneView(
            looks[chart - 1],
            {SeriesName(chart), SeriesName(chart + 4), SeriesName(chart + 8), SeriesName(chart + 12)},
            parent);
        view->setObjectName(QStringLiteral("Chart%1").arg(chart));
        connect(view, &TViewWidget::MarkClicked, this,
                [this, chart](int index) { ReportPointClick(chart, index); });
        connect(view, &TViewWidget::PanDragged, this, [this, chart](double horizontal, double vertical) {
            ReportPan(chart, horizontal, vertical);
        });
        m_planes[chart - 1] = view;
    }
    m_view3D = new TPlot3DView({SeriesName(4), SeriesName(8), SeriesName(12), SeriesName(16)}, parent);
    m_view3D->setObjectName(QStringLiteral("Chart4"));
    connect(m_view3D, &TViewWidget::MarkClicked, this,
            [this](int index) { ReportPointClick(ThreeDChart, index); });

    const std::array<QString, 4> zoomNames = {QStringLiteral("scrlZoomXY"), QStringLiteral("scrlZoomXZ"),
                                              QStringLiteral("scrlZoomYZ"), QStringLiteral("scrlZoom3D")};
    for (int chart = 1; chart <= 4; ++chart) {
        QScrollBar *bar =
            MakeBar(Qt::Vertical, 5, 100, 100, ZoomPageStep, zoomNames[chart - 1], Chart(chart));
        m_barValueTexts[bar] = tr("-%1 to %1 mm");
        bar->move(0, ZoomBarTop);
        Chart(chart)->SetZoomBar(bar);
        m_zoomBars[chart - 1] = bar;
    }
    m_rotateBar = MakeBar(Qt::Horizontal, 0, 360, m_view3D->Rotation(), AnglePageStep,
                          QStringLiteral("scrlRotate3D"), m_view3D);
    m_barValueTexts[m_rotateBar] = tr("Rotation %1\u00b0");
    m_elevateBar = MakeBar(Qt::Vertical, 0, 360, m_view3D->Elevation(), AnglePageStep,
                           QStringLiteral("scrlElevate3D"), m_view3D);
    m_barValueTexts[m_elevateBar] = tr("Elevation %1\u00b0");
    for (QScrollBar *bar :
         {m_zoomBars[0], m_zoomBars[1], m_zoomBars[2], m_zoomBars[3], m_rotateBar, m_elevateBar})
        bar->installEventFilter(this);
}

QString TViewEngine::BarTip(const QScrollBar *bar) const
{
    const auto valueText = m_barValueTexts.constFind(bar);
    if (valueText == m_barValueTexts.constEnd())
        return bar ? bar->toolTip() : QString();
    const QString value = valueText->arg(bar->value());
    return bar->toolTip().isEmpty() ? value : bar->toolTip() + QLatin1Char('\n') + value;
}

bool TViewEngine::eventFilter(QObject *watched, QEvent *event)
{
    // The bar's tooltip (whatever describes it) with its value as it is at that moment.
    if (event->type() == QEvent::ToolTip) {
        if (auto *bar = qobject_cast<QScrollBar *>(watched); bar && m_barValueTexts.contains(bar)) {
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), BarTip(bar), bar);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

TViewWidget *TViewEngine::Chart(int chart) const
{
    if (chart >= 1 && chart <= 3)
        return m_planes[chart - 1];
    return chart == ThreeDChart ? m_view3D : nullptr;
}

TViewSeries *TViewEngine::Series(int series) const
{
    if (series < 1 || series > 16)
        return nullptr;
    return Chart(ChartOf(series))->Series(static_cast<TViewWidget::TRole>((series - 1) / 4));
}

QScrollBar *TViewEngine::ZoomBar(int chart) const
{
    return chart >= 1 && chart <= 4 ? m_zoomBars[chart - 1] : nullptr;
}

void TViewEngine::SetAxisMaximum(int chart, TAxis axis, double value)
{
    if (chart == ThreeDChart)
        m_view3D->SetAxisMaximum(axis, value);
    else if (chart >= 1 && chart <= 3)
        m_planes[chart - 1]->SetAxisMaximum(axis, value);
}

void TViewEngine::SetAxisMinimum(int chart, TAxis axis, double value)
{
    if (chart == ThreeDChart)
        m_view3D->SetAxisMinimum(axis, value);
    else if (chart >= 1 && chart <= 3)
        m_planes[chart - 1]->SetAxisMinimum(axis, value);
}

double TViewEngine::AxisMaximum(int chart, TAxis axis) const
{
    if (chart == ThreeDChart)
        return m_view3D->AxisMaximum(axis);
    return chart >= 1 && chart <= 3 ? m_planes[chart - 1]->AxisMaximum(axis) : 0.0;
}

double TViewEngine::AxisMinimum(int chart, TAxis axis) const
{
    if (chart == ThreeDChart)
        return m_view3D->AxisMinimum(axis);
    return chart >= 1 && chart <= 3 ? m_planes[chart - 1]->AxisMinimum(axis) : 0.0;
}

void TViewEngine::AddPlanePoint(int series, double horizontal, double vertical)
{
    if (TViewSeries *target = Series(series))
        target->Append({horizontal, vertical, 0.0});
}

void TViewEngine::Add3DPoint(int series, double horizontal, double vertical, double depth)
{
    // A plane view has no depth: the point keeps its horizontal and vertical values there.
    if (TViewSeries *target = Series(series))
        target->Append({horizontal, vertical, ChartOf(series) == ThreeDChart ? depth : 0.0});
}

void TViewEngine::ClearSeries(int series)
{
    if (TViewSeries *target = Series(series))
        target->Clear();
}

int TViewEngine::SeriesCount(int series) const
{
    const TViewSeries *target = Series(series);
    return target ? target->Count() : 0;
}

TSeriesPoint TViewEngine::SeriesPoint(int series, int index) const
{
    if (index < 0 || index >= SeriesCount(series))
        return {};
    return Series(series)->At(index);
}

void TViewEngine::SetMarkDeleted(int series, int index, bool deleted)
{
    if (series >= 1 && series <= 4)
        Series(series)->SetDeleted(index, deleted);
}

bool TViewEngine::IsMarkDeleted(int series, int index) const
{
    return series >= 1 && series <= 4 && Series(series)->IsDeleted(index);
}

void TViewEngine::SetRotation(int degrees)
{
    m_view3D->SetRotation(degrees);
}

int TViewEngine::Rotation() const
{
    return m_view3D->Rotation();
}

void TViewEngine::SetElevation(int degrees)
{
    m_view3D->SetElevation(degrees);
}

int TViewEngine::Elevation() const
{
    return m_view3D->Elevation();
}

void TViewEngine::BringToFront(int chart)
{
    if (QWidget *view = Chart(chart)) {
        view->raise();
        m_front = chart;
    }
}

void TViewEngine::SetFeatureLayer(int chart, const QList<TFeatureShape> &layer)
{
    if (TViewWidget *view = Chart(chart))
        view->SetFeatureLayer(layer);
}

void TViewEngine::LayoutCharts(int left, int top, int width, int height)
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

std::optional<QPointF> TViewEngine::MarkPosition(int series, int index) const
{
    if (index < 0 || index >= SeriesCount(series))
        return std::nullopt;
    return Chart(ChartOf(series))->MarkPosition(SeriesPoint(series, index));
}

int TViewEngine::MarkAt(int chart, QPointF position) const
{
    const TViewWidget *view = Chart(chart);
    return view ? view->MarkAt(position) : -1;
}

void TViewEngine::ShowZoomPosition(int chart, int position)
{
    if (QScrollBar *bar = ZoomBar(chart)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(position);
    }
}

void TViewEngine::SetPointLabels(const QStringList &labels)
{
    for (int chart = 1; chart <= 4; ++chart)
        Chart(chart)->SetPointLabels(labels);
}

void TViewEngine::ShowPointLabels(bool shown)
{
    for (int chart = 1; chart <= 4; ++chart)
        Chart(chart)->ShowPointLabels(shown);
}

void TViewEngine::SetRowSegments(int chart, const std::vector<TSeriesSegment> &thin,
                                 const std::vector<TSeriesSegment> &highlighted)
{
    if (TViewWidget *view = Chart(chart))
        view->SetRowSegments(thin, highlighted);
}

void TViewEngine::SetMarkTipSource(const std::function<QString(const QList<int> &indices)> &source)
{
    for (int chart = 1; chart <= 4; ++chart)
        Chart(chart)->SetMarkTipSource(source);
}
