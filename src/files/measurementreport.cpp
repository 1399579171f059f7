#include "files/measurementreport.h"

#include "files/csvexport.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <charconv>
#include <functional>

namespace {

using TKind = TTableFile::TKind;

// Page geometry in millimetres (A4 portrait).
constexpr double PageWidth = 210.0;
constexpr double PageHeight = 297.0;
constexpr double Margin = 15.0;
constexpr double ContentWidth = PageWidth - 2 * Margin;
constexpr double HeadTop = 10.0;
constexpr double ContentTop = 22.0;
constexpr double ContentBottom = 282.0;
constexpr double FootTop = 286.0;

constexpr double RowHeight = 5.0;
constexpr double HeadingRowHeight = 9.0;
constexpr double NumberColumnWidth = 21.0;
constexpr double ValueColumnWidth = 29.0;
constexpr double CalibrationColumnWidth = ContentWidth / 6;

const QString FontFamily = QStringLiteral("DejaVu Sans");
const QColor Ink(0, 0, 0);
const QColor Accent(0, 0, 160);
const QColor Rule(128, 128, 128);
const QColor HeadingShade(220, 226, 240);
const QColor RowShade(244, 244, 244);

QFont Font(double points, bool bold = false)
{
    QFont font(FontFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Places the report's blocks from the top of a page down and opens a new page where one does not fit.
// Run once without a painter to count the pages, then again to paint them with "Page n of m".
class TPageFlow
{
public:
    TPageFlow(QPdfWriter *writer, QPainter *painter, int pageCount, QString head)
        : m_writer(writer), m_painter(painter), m_pageCount(pageCount), m_head(std::move(head))
    {
        DrawFrame();
    }

    int Page() const { return m_page; }
    double Top() const { return m_top; }
    QPainter *Painter() const { return m_painter; }

    // True when a new page had to be opened.
    bool EnsureRoom(double height)
    {
        if (m_top + height <= ContentBottom || m_top == ContentTop)
            return false;
        NewPage();
        return true;
    }
    void Advance(double height) { m_top += height; }

    double Units(double mm) const { return m_writer ? mm * m_writer->resolution() / 25.4 : mm; }
    QRectF Rect(double left, double top, double width, double height) const
    {
        return {Units(left), Units(top), Units(width), Units(height)};
    }

    // Text in a box; a text too wide for it is set smaller rather than cut.
    void Text(const QRectF &box, const QString &text, const QFont &font, int flags,
              const QColor &colour = Ink) const
    {
        if (!m_painter)
            return;
        QFont fitted = font;
        const double room = box.width() - Units(1.0);
        for (double size = font.pointSizeF(); size > 4.0; size -= 0.5) {
            fitted.setPointSizeF(size);
            if (flags & Qt::TextWordWrap || QFontMetricsF(fitted, m_writer).horizontalAdvance(text) <= room)
                break;
        }
        m_painter->setFont(fitted);
        m_painter->setPen(colour);
        m_painter->drawText(box, flags, text);
    }

    void Line(double left, double top, double right, double bottom, const QColor &colour) const
    {
        if (!m_painter)
            return;
        m_painter->setPen(QPen(colour, Units(0.2)));
        m_painter->drawLine(QPointF(Units(left), Units(top)), QPointF(Units(right), Units(bottom)));
    }

    void Fill(const QRectF &box, const QColor &colour) const
    {
        if (m_painter)
            m_painter->fillRect(box, colour);
    }

private:
    void NewPage()
    {
        if (m_writer && m_painter)
            m_writer->newPage();
        ++m_page;
        m_top = ContentTop;
        DrawFrame();
    }

    void DrawFrame() const
    {
        Text(Rect(Margin, HeadTop, ContentWidth * 0.7, 6.0), m_head, Font(8.0),
             Qt::AlignLeft | Qt::AlignVCenter, Accent);
        Line(Margin, HeadTop + 7.0, PageWidth - Margin, HeadTop + 7.0, Rule);
        Line(Margin, FootTop - 1.0, PageWidth - Margin, FootTop - 1.0, Rule);
        Text(Rect(Margin, FootTop, ContentWidth, 6.0),
             QStringLiteral("Page %1 of %2").arg(m_page).arg(m_pageCount), Font(8.0),
             Qt::AlignHCenter | Qt::AlignVCenter, Accent);
    }

    QPdfWriter *m_writer;
    QPainter *m_painter;
    int m_pageCount;
    QString m_head;
    int m_page = 1;
    double m_top = ContentTop;
};

int NumberColumns(TKind kind)
{
    return kind == TKind::Coordinates ? 1 : kind == TKind::Distances ? 2 : 3;
}

QList<double> ColumnWidths(TKind kind)
{
    const int numbers = NumberColumns(kind);
    const int columns = TTableFile::ColumnCount(kind);
    QList<double> widths;
    for (int column = 0; column < columns; ++column)
        widths.append(column < numbers ? NumberColumnWidth : ValueColumnWidth);
    return widths;
}

// One row of cells; shaded for the heading row and every second data row. The first centred columns
// hold point numbers, the others values, set to the right so that their decimal points line up.
void CellRow(TPageFlow &flow, const QList<double> &widths, const QStringList &texts, double height,
             bool heading, bool shaded, int centred = 0, double fontSize = 9.0)
{
    double left = Margin;
    double total = 0.0;
    for (double width : widths)
        total += width;
    // Clear of the rules above and below, so that every rule shows whole.
    if (heading || shaded)
        flow.Fill(flow.Rect(Margin, flow.Top() + 0.15, total, height - 0.3),
                  heading ? HeadingShade : RowShade);
    const QFont font = Font(fontSize, heading);
    for (qsizetype column = 0; column < widths.size(); ++column) {
        const double width = widths[column];
        const QRectF box = flow.Rect(left + 1.0, flow.Top(), width - 2.0, height);
        if (heading)
            flow.Text(box, texts.value(column), font, Qt::AlignCenter | Qt::TextWordWrap);
        else
            flow.Text(box, texts.value(column), font,
                      (column < centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
        left += width;
    }
    flow.Line(Margin, flow.Top() + height, Margin + total, flow.Top() + height, Rule);
    flow.Advance(height);
}

void SectionHeading(TPageFlow &flow, const QString &text)
{
    flow.Text(flow.Rect(Margin, flow.Top(), ContentWidth, 8.0), text, Font(12.0, true),
              Qt::AlignLeft | Qt::AlignVCenter, Accent);
    flow.Advance(9.0);
}

void Table(TPageFlow &flow, const QString &title, TKind kind, const TTextTable &table)
{
    QList<int> rows;
    for (int row = 1; row < table.RowCount(); ++row)
        if (!table.IsRowFree(row))
            rows.append(row);
    const QList<double> widths = ColumnWidths(kind);
    const QStringList headings = TCsvExport::Headings(kind);

    flow.Advance(4.0);
    // The heading stays with the column headings and the first row.
    flow.EnsureRoom(9.0 + HeadingRowHeight + RowHeight);
    SectionHeading(flow, QStringLiteral("%1 (%2 rows)").arg(title).arg(rows.size()));
    CellRow(flow, widths, headings, HeadingRowHeight, true, false);
    if (rows.isEmpty()) {
        flow.Text(flow.Rect(Margin, flow.Top(), ContentWidth, RowHeight), QStringLiteral("No rows."),
                  Font(9.0), Qt::AlignLeft | Qt::AlignVCenter);
        flow.Advance(RowHeight);
        return;
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (flow.EnsureRoom(RowHeight))
            CellRow(flow, widths, headings, HeadingRowHeight, true, false);
        CellRow(flow, widths, table.RowTexts(rows[i]), RowHeight, false, i % 2 == 1, NumberColumns(kind));
    }
}

// The characteristics, each with its result; the result is also spelled out in text, so the file says
// it without its colours.
void Characteristics(TPageFlow &flow, const TTextTable &table, const QString &summary)
{
    static const QList<double> widths{16.0, 38.0, 28.0, 16.0, 16.0, 22.0, 22.0, 22.0};
    static const QStringList headings{QStringLiteral("Feature"),   QStringLiteral("Characteristic"),
                                      QStringLiteral("Nominal"),   QStringLiteral("Upper"),
                                      QStringLiteral("Lower"),     QStringLiteral("Actual"),
                                      QStringLiteral("Deviation"), QStringLiteral("Result")};
    static const QColor OkShade(214, 240, 214);
    static const QColor NokShade(246, 200, 200);
    const int rows = table.FilledRowCount();
    flow.Advance(4.0);
    flow.EnsureRoom(9.0 + RowHeight + HeadingRowHeight + RowHeight);
    SectionHeading(flow, QStringLiteral("Characteristics"));
    flow.Text(flow.Rect(Margin, flow.Top(), ContentWidth, RowHeight), summary, Font(10.0, true),
              Qt::AlignLeft | Qt::AlignVCenter);
    flow.Advance(RowHeight + 1.0);
    CellRow(flow, widths, headings, HeadingRowHeight, true, false);
    for (int row = 1; row <= rows; ++row) {
        if (flow.EnsureRoom(RowHeight))
            CellRow(flow, widths, headings, HeadingRowHeight, true, false);
        const QStringList texts = table.RowTexts(row);
        const QString &result = texts.value(7);
        double total = 0.0;
        for (double width : widths)
            total += width;
        if (result == QStringLiteral("OK") || result == QStringLiteral("NOK"))
            flow.Fill(
                flow.Rect(Margin + total - widths.back(), flow.Top() + 0.15, widths.back(), RowHeight - 0.3),
                result == QStringLiteral("OK") ? OkShade : NokShade);
        CellRow(flow, widths, texts, RowHeight, false, false, 2);
    }
}

// The features table: twelve columns across the page in a smaller type; the name, type and what it
// was made from centred, the numbers set to the right.
void FeatureTable(TPageFlow &flow, const TTextTable &table)
{
    QList<int> rows;
    for (int row = 1; row < table.RowCount(); ++row)
        if (!table.IsRowFree(row))
            rows.append(row);
    if (rows.isEmpty())
        return;
    static const QList<double> widths{12.0, 17.0, 21.0, 15.5, 15.5, 15.5, 13.5, 13.5, 13.5, 15.5, 14.0, 13.0};
    constexpr double FontSize = 7.0;
    const QStringList headings = TCsvExport::FeatureHeadings();
    flow.Advance(4.0);
    flow.EnsureRoom(9.0 + HeadingRowHeight + RowHeight);
    SectionHeading(flow, QStringLiteral("Features (%1 rows)").arg(rows.size()));
    CellRow(flow, widths, headings, HeadingRowHeight, true, false, 0, FontSize);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (flow.EnsureRoom(RowHeight))
            CellRow(flow, widths, headings, HeadingRowHeight, true, false, 0, FontSize);
        CellRow(flow, widths, table.RowTexts(rows[i]), RowHeight, false, i % 2 == 1, 3, FontSize);
    }
}

void Views(TPageFlow &flow, const std::array<QImage, 4> &views)
{
    static const QString captions[] = {QStringLiteral("X-Y view"), QStringLiteral("X-Z view"),
                                       QStringLiteral("Y-Z view"), QStringLiteral("3D view")};
    constexpr double Gap = 6.0;
    constexpr double CaptionHeight = 6.0;
    const double width = (ContentWidth - Gap) / 2;
    double aspect = 0.9;
    for (const QImage &view : views) {
        if (!view.isNull()) {
            aspect = std::clamp(double(view.height()) / view.width(), 0.4, 1.2);
            break;
        }
    }
    const double height = width * aspect;

    flow.Advance(4.0);
    flow.EnsureRoom(9.0 + CaptionHeight + height);
    SectionHeading(flow, QStringLiteral("Views"));
    for (int pair = 0; pair < 2; ++pair) {
        flow.EnsureRoom(CaptionHeight + height + Gap);
        for (int side = 0; side < 2; ++side) {
            const int n = pair * 2 + side;
            const double left = Margin + side * (width + Gap);
            flow.Text(flow.Rect(left, flow.Top(), width, CaptionHeight), captions[n], Font(10.0, true),
                      Qt::AlignLeft | Qt::AlignVCenter);
            const QRectF frame = flow.Rect(left, flow.Top() + CaptionHeight, width, height);
            const QImage &view = views[static_cast<std::size_t>(n)];
            if (QPainter *painter = flow.Painter()) {
                if (!view.isNull()) {
                    // Kept in proportion, centred in its frame.
                    QSizeF size = view.size();
                    size.scale(frame.size(), Qt::KeepAspectRatio);
                    const QRectF place(frame.center() - QPointF(size.width() / 2, size.height() / 2), size);
                    painter->drawImage(place, view);
                } else {
                    flow.Text(frame, QStringLiteral("(no picture)"), Font(9.0), Qt::AlignCenter, Rule);
                }
                painter->setPen(QPen(Rule, flow.Units(0.2)));
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(frame);
            }
        }
        flow.Advance(CaptionHeight + height + Gap);
    }
}

} // namespace

TMeasurementReport::TMeasurementReport(TReportContent content, const TTextTable &data,
                                       const TTextTable &distances, const TTextTable &angles,
                                       const TTextTable *features)
    : m_content(std::move(content)), m_data(data), m_distances(distances), m_angles(angles),
      m_features(features)
{}

QString TMeasurementReport::CalibrationValue(float value)
{
    std::array<char, 400> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed).ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

int TMeasurementReport::Paint(QPdfWriter &writer) const
{
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setResolution(600);
    const QString name = m_content.projectName.trimmed().isEmpty() ? QStringLiteral("(no name)")
                                                                   : m_content.projectName.trimmed();
    writer.setTitle(QStringLiteral("Measurement report: %1").arg(name));
    writer.setCreator(QStringLiteral("QintarSoft"));
    const QString when = m_content.createdAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString head = QStringLiteral("QintarSoft measurement report: %1, %2").arg(name, when);

    const TCalibration &c = m_content.calibration;
    auto run = [&](QPainter *painter, int pageCount) {
        TPageFlow flow(&writer, painter, pageCount, head);
        flow.Text(flow.Rect(Margin, flow.Top(), ContentWidth, 10.0), QStringLiteral("Measurement report"),
                  Font(18.0, true), Qt::AlignLeft | Qt::AlignVCenter, Accent);
        flow.Advance(13.0);
        const QStringList facts = {
            QStringLiteral("Project:\t%1").arg(name),
            QStringLiteral("Date and time:\t%1").arg(when),
            QStringLiteral("Readings:\t%1")
                .arg(m_content.calibrated ? QStringLiteral("calibrated")
                                          : QStringLiteral("raw, not calibrated")),
            QStringLiteral("Off Line Calibration Test:\t%1")
                .arg(m_content.offLineCalibrationTest ? QStringLiteral("on") : QStringLiteral("off")),
        };
        QStringList inspection;
        const bool inspected = m_content.characteristics && m_content.characteristics->FilledRowCount() > 0;
        if (inspected || !m_content.part.IsEmpty()) {
            inspection << QStringLiteral("Part:\t%1").arg(m_content.part.partName)
                       << QStringLiteral("Serial number:\t%1").arg(m_content.part.serialNumber)
                       << QStringLiteral("Operator:\t%1").arg(m_content.part.operatorName);
        }
        if (inspected)
            inspection << QStringLiteral("Result:\t%1 (%2)").arg(m_content.overall, m_content.summary);
        for (const QString &fact : facts) {
            const QStringList parts = fact.split(QLatin1Char('\t'));
            flow.Text(flow.Rect(Margin, flow.Top(), 55.0, 6.0), parts[0], Font(10.0, true),
                      Qt::AlignLeft | Qt::AlignVCenter);
            flow.Text(flow.Rect(Margin + 55.0, flow.Top(), ContentWidth - 55.0, 6.0), parts[1], Font(10.0),
                      Qt::AlignLeft | Qt::AlignVCenter);
            flow.Advance(6.0);
        }
        for (const QString &fact : inspection) {
            const QStringList parts = fact.split(QLatin1Char('\t'));
            const bool result = parts[0].startsWith(QStringLiteral("Result"));
            const QColor colour = !result                                      ? Ink
                                  : m_content.overall == QStringLiteral("OK")  ? QColor(0, 120, 0)
                                  : m_content.overall == QStringLiteral("NOK") ? QColor(190, 0, 0)
                                                                               : Ink;
            flow.Text(flow.Rect(Margin, flow.Top(), 55.0, 6.0), parts[0], Font(10.0, true),
                      Qt::AlignLeft | Qt::AlignVCenter);
            flow.Text(flow.Rect(Margin + 55.0, flow.Top(), ContentWidth - 55.0, 6.0), parts[1],
                      Font(result ? 12.0 : 10.0, result), Qt::AlignLeft | Qt::AlignVCenter, colour);
            flow.Advance(result ? 7.0 : 6.0);
        }

        flow.Advance(4.0);
        SectionHeading(flow, QStringLiteral("Calibration in force"));
        const QList<double> widths(6, CalibrationColumnWidth);
        CellRow(flow, widths,
                {QStringLiteral("alpha x"), QStringLiteral("alpha y"), QStringLiteral("alpha z"),
                 QStringLiteral("theta x (deg)"), QStringLiteral("theta y (deg)"),
                 QStringLiteral("theta z (deg)")},
                HeadingRowHeight, true, false);
        CellRow(flow, widths,
                {CalibrationValue(c.AlphaX), CalibrationValue(c.AlphaY), CalibrationValue(c.AlphaZ),
                 CalibrationValue(c.ThetaX), CalibrationValue(c.ThetaY), CalibrationValue(c.ThetaZ)},
                RowHeight, false, false);

        if (inspected)
            Characteristics(flow, *m_content.characteristics, m_content.summary);
        Views(flow, m_content.views);
        Table(flow, QStringLiteral("Measured coordinates"), TKind::Coordinates, m_data);
        Table(flow, QStringLiteral("Inferred distances"), TKind::Distances, m_distances);
        Table(flow, QStringLiteral("Inferred angles"), TKind::Angles, m_angles);
        if (m_features)
            FeatureTable(flow, *m_features);
        return flow.Page();
    };

    const int pageCount = run(nullptr, 0);
    QPainter painter;
    if (!painter.begin(&writer))
        return 0;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    run(&painter, pageCount);
    painter.end();
    return pageCount;
}

TFileResult TMeasurementReport::Save(const QString &fileName) const
{
    TFileResult result;
    result.fileName = fileName;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot create %1: %2").arg(fileName, file.errorString());
        return result;
    }
    int pages = 0;
    {
        QPdfWriter writer(&file);
        pages = Paint(writer);
    }
    if (pages == 0 || file.error() != QFileDevice::NoError || !file.commit()) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString());
        file.cancelWriting();
    }
    return result;
}
