#include "plots/viewwidget.h"

#include "plots/nearestmark.h"
#include "plots/viewseries.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QSet>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

namespace {

// The frame keeps this much of the widget's edge free, in all four views.
constexpr double FrameInset = 2.0;
constexpr double FrameRadius = 10.0;
const QColor BorderColour(64, 64, 64);

// The live marker: a strong colour on a white halo, so that it shows on every background and over
// the marks.
constexpr double LiveHalfSize = 6.0;
constexpr double LiveHalo = 2.0;
constexpr double LiveArmWidth = 3.0;
const QColor LiveColour(200, 0, 150);
// A deleted point's mark: an outline only, in the grey of things no longer in force.
const QColor DeletedColour(150, 150, 150);
constexpr double DeletedPenWidth = 1.5;

// The features: a dark teal that shows on every view's background, the selected one in a strong
// orange and wider.
const QColor FeatureColour(0, 110, 120);
const QColor HighlightColour(255, 110, 0);
constexpr double FeatureLineWidth = 1.5;
constexpr double HighlightLineWidth = 3.0;
// The distance and angle rows: every row a thin line, the selected one strong, in colours apart from
// the red of a pick in progress.
const QColor RowColour(90, 60, 150, 170);
const QColor SelectedRowColour(0, 90, 230);
constexpr double SelectedRowWidth = 3.0;

bool Insert(QSet<QString> &set, const QString &text)
{
    const qsizetype before = set.size();
    set.insert(text);
    return set.size() != before;
}

// A point number stands this far off its mark's centre, dark on a light halo.
constexpr double LabelGap = 3.0;
const QColor LabelColour(0, 0, 96);

QPainterPath StarPath(double radius)
{
    QPainterPath path;
    for (int corner = 0; corner < 10; ++corner) {
        const double r = corner % 2 == 0 ? radius : radius * 0.45;
        const double angle = -std::numbers::pi / 2.0 + corner * std::numbers::pi / 5.0;
        const QPointF point(r * std::cos(angle), r * std::sin(angle));
        if (corner == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

} // namespace

TViewWidget::TViewWidget(const QString &title, const std::array<QString, 4> &seriesNames, QWidget *parent)
    : QWidget(parent), m_title(title)
{
    setAccessibleName(title);
    // The picture covers every pixel, so nothing beneath the view is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (size_t role = 0; role < m_series.size(); ++role) {
        m_series[role] = new TViewSeries(seriesNames[role], this);
        if (static_cast<TRole>(role) == TRole::Live)
            connect(m_series[role], &TViewSeries::Changed, this, [this] { LiveChanged(); });
        else
            connect(m_series[role], &TViewSeries::Changed, this, [this] { InvalidatePicture(); });
    }
}

QRectF TViewWidget::FrameRect() const
{
    return QRectF(rect()).adjusted(FrameInset, FrameInset, -FrameInset, -FrameInset);
}

void TViewWidget::SetFeatureLayer(const TFeatureLayer &layer)
{
    if (layer.isEmpty() && m_featureLayer.isEmpty())
        return;
    m_featureLayer = layer;
    InvalidatePicture();
}

void TViewWidget::PaintFeatureLayer(QPainter &painter, const QRectF &clip) const
{
    if (m_featureLayer.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    const auto paintLines = [&](const QList<QList<TSeriesPoint>> &lines) {
        for (const QList<TSeriesPoint> &line : lines) {
            QPolygonF places;
            places.reserve(line.size());
            for (const TSeriesPoint &point : line) {
                // A point the view cannot place breaks the line there.
                if (const auto place = LayerPlace(point)) {
                    places.append(*place);
                    continue;
                }
                if (places.size() > 1)
                    painter.drawPolyline(places);
                places.clear();
            }
            if (places.size() > 1)
                painter.drawPolyline(places);
        }
    };
    for (const bool highlighted : {false, true}) {
        for (const TFeatureShape &shape : m_featureLayer) {
            if (shape.highlighted != highlighted)
                continue;
            const QColor colour = highlighted ? HighlightColour : FeatureColour;
            const double width = highlighted ? HighlightLineWidth : FeatureLineWidth;
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            paintLines(shape.outlines);
            painter.setPen(QPen(colour, width * 0.7, Qt::DashLine, Qt::FlatCap));
            paintLines(shape.axes);
        }
    }
    painter.restore();
}

void TViewWidget::InvalidatePicture()
{
    m_pictureValid = false;
    update();
}

int TViewWidget::MarkAt(QPointF position) const
{
    const TViewSeries *points = Series(TRole::Points);
    return NearestMark(
        points->Count(), [&](int i) { return MarkPosition(points->At(i)); }, position, PickReach);
}

QList<int> TViewWidget::MarksAt(QPointF position) const
{
    QList<int> found;
    const TViewSeries *points = Series(TRole::Points);
    for (int i = 0; i < points->Count(); ++i) {
        const auto place = MarkPosition(points->At(i));
        if (!place)
            continue;
        const QPointF offset = *place - position;
        if (QPointF::dotProduct(offset, offset) <= PickReach * PickReach)
            found.append(i);
    }
    return found;
}

QString TViewWidget::MarkTip(QPointF position) const
{
    const QList<int> under = MarksAt(position);
    if (under.isEmpty())
        return {};
    return m_markTip ? m_markTip(under) : QString();
}

void TViewWidget::SetPointLabels(const QStringList &labels)
{
    if (labels == m_labels)
        return;
    m_labels = labels;
    if (m_showLabels)
        InvalidatePicture();
}

void TViewWidget::ShowPointLabels(bool shown)
{
    if (shown == m_showLabels)
        return;
    m_showLabels = shown;
    if (!shown)
        m_placedLabels.clear();
    InvalidatePicture();
}

void TViewWidget::SetRowSegments(const std::vector<TSeriesSegment> &thin,
                                 const std::vector<TSeriesSegment> &highlighted)
{
    if (thin.empty() && highlighted.empty() && m_thin.empty() && m_highlighted.empty())
        return;
    m_thin = thin;
    m_highlighted = highlighted;
    InvalidatePicture();
}

void TViewWidget::PaintRowSegments(QPainter &painter, const QRectF &clip) const
{
    if (m_thin.empty() && m_highlighted.empty())
        return;
    const auto lines = [this](const std::vector<TSeriesSegment> &segments) {
        QList<QLineF> drawn;
        drawn.reserve(qsizetype(segments.size()));
        for (const auto &[from, to] : segments) {
            const auto a = LayerPlace(from);
            const auto b = LayerPlace(to);
            if (a && b)
                drawn.append(QLineF(*a, *b));
        }
        return drawn;
    };
    painter.save();
    painter.setClipRect(clip);
    // Hundreds of long thin lines: drawn without smoothing, which would cost most of a redraw.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(RowColour, 1.0));
    painter.drawLines(lines(m_thin));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(SelectedRowColour, SelectedRowWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLines(lines(m_highlighted));
    painter.restore();
}

const QPixmap &TViewWidget::LabelPicture(const QString &text, qreal ratio) const
{
    auto found = m_labelPictures.constFind(text);
    if (found != m_labelPictures.constEnd())
        return *found;
    const QFontMetricsF metrics(font());
    const QSizeF size(std::ceil(metrics.horizontalAdvance(text)) + 2.0, std::ceil(metrics.height()) + 2.0);
    QPixmap picture((size * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setFont(font());
    const QRectF area(QPointF(0, 0), size);
    painter.setPen(QColor(255, 255, 255, 200));
    for (const QPointF offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
        painter.drawText(area.translated(offset), Qt::AlignCenter, text);
    painter.setPen(LabelColour);
    painter.drawText(area, Qt::AlignCenter, text);
    painter.end();
    return *m_labelPictures.insert(text, picture);
}

void TViewWidget::PaintPointLabels(QPainter &painter, const QRectF &area) const
{
    m_placedLabels.clear();
    if (!m_showLabels)
        return;
    const qreal ratio = painter.device()->devicePixelRatioF();
    // The pictures hold for one font and pixel ratio.
    const QString key = font().key() + QLatin1Char('/') + QString::number(ratio);
    if (key != m_labelKey) {
        m_labelPictures.clear();
        m_labelKey = key;
    }
    const TViewSeries *points = Series(TRole::Points);
    const int count = std::min(points->Count(), int(m_labels.size()));
    // The newest points first: the one just recorded always shows its number.
    QList<TLabelRequest> requests;
    requests.reserve(count);
    // Points recorded twice at one place share one mark and one label ("1, 24").
    QSet<QString> asked;
    for (int i = count - 1; i >= 0; --i) {
        const QString &label = m_labels[i];
        if (label.isEmpty() || (label.contains(QLatin1Char(',')) && !Insert(asked, label)))
            continue;
        const auto place = MarkPosition(points->At(i));
        if (!place)
            continue;
        const QPixmap &picture = LabelPicture(label, ratio);
        requests.append({i, *place, QSizeF(picture.size()) / ratio});
    }
    m_placedLabels = PlaceLabels(requests, area, LabelGap);
    for (const TPlacedLabel &label : m_placedLabels)
        painter.drawPixmap(QPointF(std::round(label.place.left()), std::round(label.place.top())),
                           LabelPicture(m_labels[label.index], ratio));
}

QList<QPointF> TViewWidget::Places(TRole role) const
{
    const TViewSeries *series = Series(role);
    QList<QPointF> places;
    places.reserve(series->Count());
    const bool points = role == TRole::Points;
    for (int index = 0; index < series->Count(); ++index)
        if (!points || !series->IsDeleted(index))
            if (const auto place = MarkPosition(series->At(index)))
                places.append(*place);
    return places;
}

void TViewWidget::PaintDeletedMarks(QPainter &painter, TMarkShape shape, double halfSize) const
{
    if (!m_deletedShown)
        return;
    const TViewSeries *series = Series(TRole::Points);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(DeletedColour, DeletedPenWidth));
    painter.setBrush(Qt::NoBrush);
    const QPainterPath star = StarPath(halfSize);
    for (int index = 0; index < series->Count(); ++index) {
        if (!series->IsDeleted(index))
            continue;
        const auto place = MarkPosition(series->At(index));
        if (!place)
            continue;
        const QPointF centre(std::round(place->x()), std::round(place->y()));
        if (shape == TMarkShape::Star)
            painter.drawPath(star.translated(centre));
        else
            painter.drawRect(
                QRectF(centre.x() - halfSize, centre.y() - halfSize, 2 * halfSize, 2 * halfSize));
    }
    painter.restore();
}

void TViewWidget::SetDeletedShown(bool shown)
{
    if (shown == m_deletedShown)
        return;
    m_deletedShown = shown;
    InvalidatePicture();
}

QRect TViewWidget::LiveMarkerRect() const
{
    const TViewSeries *live = Series(TRole::Live);
    if (live->Count() == 0)
        return {};
    const auto place = MarkPosition(live->At(live->Count() - 1));
    if (!place)
        return {};
    // The halo's square caps reach half its width beyond the arms; antialiasing touches one more
    // pixel. Anything drawn outside this rectangle would stay behind when the marker moves.
    const double reach = LiveHalfSize + (LiveArmWidth + 2 * LiveHalo) / 2.0 + 2.0;
    return QRectF(place->x() - reach, place->y() - reach, 2 * reach, 2 * reach).toAlignedRect();
}

void TViewWidget::LiveChanged()
{
    // Only the marker's old and new places are painted again; the picture stays.
    const QRect now = LiveMarkerRect();
    if (now == m_liveRect)
        return;
    if (!m_liveRect.isEmpty())
        update(m_liveRect);
    if (!now.isEmpty())
        update(now);
    m_liveRect = now;
}

QRectF TViewWidget::PaintFrame(QPainter &painter, int borderWidth, const QGradient &background) const
{
    painter.fillRect(rect(), palette().window());
    const double half = borderWidth / 2.0;
    const QRectF frame = FrameRect().adjusted(half, half, -half, -half);
    painter.setPen(QPen(BorderColour, borderWidth));
    painter.setBrush(background);
    painter.drawRoundedRect(frame, FrameRadius, FrameRadius);
    painter.setBrush(Qt::NoBrush);
    return FrameRect().adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth);
}

QRectF TViewWidget::PaintTitle(QPainter &painter, const QRectF &area) const
{
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 1.0);
    const QFontMetricsF metrics(titleFont);
    const QRectF place(area.left(), area.top() + 4.0, area.width(), metrics.height() + 4.0);
    painter.save();
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(place, Qt::AlignCenter, m_title);
    painter.restore();
    return QRectF(area.left(), place.bottom(), area.width(), area.bottom() - place.bottom());
}

const QPixmap &TViewWidget::MarkPicture(TMarkShape shape, double halfSize, const QColor &fill,
                                        qreal ratio) const
{
    const QString key =
        QStringLiteral("%1/%2/%3/%4").arg(int(shape)).arg(halfSize).arg(fill.rgba()).arg(ratio);
    auto found = m_markPictures.constFind(key);
    if (found != m_markPictures.constEnd())
        return *found;
    const int side = int(std::ceil(2.0 * halfSize + 3.0));
    QPixmap picture(QSize(side, side) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(side / 2.0, side / 2.0);
    painter.setBrush(fill);
    if (shape == TMarkShape::Star) {
        painter.setPen(QPen(fill.darker(170), 1.0));
        painter.drawPath(StarPath(halfSize));
    } else {
        painter.setPen(QPen(fill.darker(160), 1.0));
        painter.drawRect(QRectF(-halfSize, -halfSize, 2 * halfSize, 2 * halfSize));
    }
    painter.end();
    return *m_markPictures.insert(key, picture);
}

void TViewWidget::PaintMarks(QPainter &painter, const QList<QPointF> &places, TMarkShape shape,
                             double halfSize, const QColor &fill) const
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QPixmap &mark = MarkPicture(shape, halfSize, fill, ratio);
    const double centre = mark.width() / ratio / 2.0;
    for (const QPointF &place : places)
        painter.drawPixmap(QPointF(std::round(place.x() - centre), std::round(place.y() - centre)), mark);
}

void TViewWidget::PaintLiveMarker(QPainter &painter, QPointF place) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_roundLiveMarker) {
        painter.setPen(QPen(Qt::white, LiveHalo));
        painter.setBrush(LiveColour);
        painter.drawEllipse(place, LiveHalfSize, LiveHalfSize);
    } else {
        const QPointF across(LiveHalfSize, 0.0);
        const QPointF up(0.0, LiveHalfSize);
        painter.setPen(QPen(Qt::white, LiveArmWidth + 2 * LiveHalo, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(place - across, place + across);
        painter.drawLine(place - up, place + up);
        painter.setPen(QPen(LiveColour, LiveArmWidth, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(place - across, place + across);
        painter.drawLine(place - up, place + up);
    }
    painter.restore();
}

void TViewWidget::BuildPicture(qreal ratio)
{
    m_picture = QPixmap(size() * ratio);
    m_picture.setDevicePixelRatio(ratio);
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    PaintPicture(painter);
    painter.end();
    m_pictureValid = true;
    ++m_pictureBuilds;
}

void TViewWidget::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_pictureValid || m_picture.size() != size() * ratio || m_picture.devicePixelRatioF() != ratio)
        BuildPicture(ratio);
    QPainter painter(this);
    for (const QRect &part : event->region())
        painter.drawPixmap(part, m_picture,
                           QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
    m_liveRect = LiveMarkerRect();
    if (!m_liveRect.isEmpty() && event->region().intersects(m_liveRect)) {
        const TViewSeries *live = Series(TRole::Live);
        if (const auto place = MarkPosition(live->At(live->Count() - 1)))
            PaintLiveMarker(painter, *place);
    }
}

void TViewWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    InvalidatePicture();
}

void TViewWidget::mousePressEvent(QMouseEvent *event)
{
    // Any button picks: which one was pressed is of no account to a pick.
    const int index = MarkAt(event->position());
    m_swallowContextMenu = index >= 0 && event->button() == Qt::RightButton;
    if (index < 0) {
        const bool pans = PanValues(QPointF(1, 1)).has_value() &&
                          (event->button() == Qt::MiddleButton ||
                           (event->button() == Qt::LeftButton && PanArea().contains(event->position())));
        if (pans) {
            m_panning = true;
            m_panFrom = event->position();
            setCursor(Qt::ClosedHandCursor);
            event->accept();
            return;
        }
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    Q_EMIT MarkClicked(index);
}

void TViewWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_panning) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF moved = event->position() - m_panFrom;
    m_panFrom = event->position();
    if (const auto values = PanValues(moved); values && !moved.isNull())
        Q_EMIT PanDragged(values->x(), values->y());
    event->accept();
}

void TViewWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_panning && !(event->buttons() & (Qt::LeftButton | Qt::MiddleButton))) {
        m_panning = false;
        unsetCursor();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

bool TViewWidget::event(QEvent *event)
{
    // Over a deleted point's mark the tooltip says so; over other marks it names their points;
    // elsewhere the view's own tooltip, if any.
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int index = MarkAt(help->pos());
        const QString tip =
            index >= 0 && Series(TRole::Points)->IsDeleted(index) ? DeletedTip : MarkTip(help->pos());
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this);
            return true;
        }
        if (toolTip().isEmpty()) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
    }
    // The context menu follows a right press; after a pick it stays shut.
    if (event->type() == QEvent::ContextMenu && m_swallowContextMenu &&
        static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse) {
        m_swallowContextMenu = false;
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TViewWidget::wheelEvent(QWheelEvent *event)
{
    if (!m_zoomBar) {
        QWidget::wheelEvent(event);
        return;
    }
    // As if the wheel turned over the zoom bar: up narrows the range, as moving its thumb up does.
    QCoreApplication::sendEvent(m_zoomBar, event);
    event->accept();
}
