#include "files/measurementreport.h"

#include "files/csvexport.h"
#include "files/pageflow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <charconv>
#include <functional>

namespace {

using TKind = TTableFile::TKind;

constexpr double Margin = TPageFlow::Margin;
constexpr double ContentWidth = TPageFlow::ContentWidth;
constexpr double RowHeight = TPageFlow::RowHeight;
constexpr double HeadingRowHeight = TPageFlow::HeadingRowHeight;
constexpr double NumberColumnWidth = 21.0;
constexpr double ValueColumnWidth = 29.0;
constexpr double CalibrationColumnWidth = ContentWidth / 6;

const QColor Ink = TPageFlow::Ink;
const QColor Accent = TPageFlow::Accent;
const QColor Rule = TPageFlow::Rule;

QFont Font(double points, bool bold = false)
{
    return TPageFlow::Font(points, bold);
}

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
    flow.SectionHeading(QStringLiteral("%1 (%2 rows)").arg(title).arg(rows.size()));
    flow.CellRow(widths, headings, HeadingRowHeight, true, false);
    if (rows.isEmpty()) {
        flow.Text(flow.Rect(Margin, flow.Top(), ContentWidth, RowHeight), QStringLiteral("No rows."),
                  Font(9.0), Qt::AlignLeft | Qt::AlignVCenter);
        flow.Advance(RowHeight);
        return;
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (flow.EnsureRoom(RowHeight))
            flow.CellRow(widths, headings, HeadingRowHeight, true, false);
        flow.CellRow(widths, table.RowTexts(rows[i]), RowHeight, false, i % 2 == 1, NumberColumns(kind));
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
    flow.SectionHeading(QStringLiteral("Characteristics"));
    flow.Text(flow.Rect(Margin, flow.Top(), ContentWidth, RowHeight), summary, Font(10.0, true),
              Qt::AlignLeft | Qt::AlignVCenter);
    flow.Advance(RowHeight + 1.0);
    flow.CellRow(widths, headings, HeadingRowHeight, true, false);
    for (int row = 1; row <= rows; ++row) {
        if (flow.EnsureRoom(RowHeight))
            flow.CellRow(widths, headings, HeadingRowHeight, true, false);
        const QStringList texts = table.RowTexts(row);
        const QString &result = texts.value(7);
        double total = 0.0;
        for (double width : widths)
            total += width;
        if (result == QStringLiteral("OK") || result == QStringLiteral("NOK"))
            flow.Fill(
                flow.Rect(Margin + total - widths.back(), flow.Top() + 0.15, widths.back(), RowHeight - 0.3),
                result == QStringLiteral("OK") ? OkShade : NokShade);
        flow.CellRow(widths, texts, RowHeight, false, false, 2);
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
    flow.SectionHeading(QStringLiteral("Features (%1 rows)").arg(rows.size()));
    flow.CellRow(widths, headings, HeadingRowHeight, true, false, 0, FontSize);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (flow.EnsureRoom(RowHeight))
            flow.CellRow(widths, headings, HeadingRowHeight, true, false, 0, FontSize);
        flow.CellRow(widths, table.RowTexts(rows[i]), RowHeight, false, i % 2 == 1, 3, FontSize);
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
    flow.SectionHeading(QStringLiteral("Views"));
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
    const QString name = m_content.projectName.trimmed().isEmpty() ? QStringLiteral("(no name)")
                                                                   : m_content.projectName.trimmed();
    TPageFlow::SetUpWriter(writer, QStringLiteral("Measurement report: %1").arg(name));
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
        flow.SectionHeading(QStringLiteral("Calibration in force"));
        const QList<double> widths(6, CalibrationColumnWidth);
        flow.CellRow(widths,
                     {QStringLiteral("alpha x"), QStringLiteral("alpha y"), QStringLiteral("alpha z"),
                      QStringLiteral("theta x (deg)"), QStringLiteral("theta y (deg)"),
                      QStringLiteral("theta z (deg)")},
                     HeadingRowHeight, true, false);
        flow.CellRow(widths,
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

    return TPageFlow::PaintPages(writer, run);
}

TFileResult TMeasurementReport::Save(const QString &fileName) const
{
    return TPageFlow::Save(fileName, [this](QPdfWriter &writer) { return Paint(writer); });
}
