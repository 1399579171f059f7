#include "files/batchreport.h"

#include "files/pageflow.h"
#include "plots/runchartdrawing.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace {

using F = TPageFlow;

constexpr double ChartHeight = 58.0;
constexpr double StatisticsHeight = 11.0;
// A screen pixel is about a quarter of a millimetre: the chart's lines and marks on paper.
constexpr double ChartPixel = 0.26;

const QColor OkShade(214, 240, 214);
const QColor NokShade(246, 200, 200);

QString Capability(const std::optional<double> &value, bool reliable)
{
    if (!value)
        return QStringLiteral("-");
    return TCharacteristicBatch::Fixed(*value, 2) + (reliable ? QString() : QStringLiteral("*"));
}

void Facts(TPageFlow &flow, const QList<std::pair<QString, QString>> &facts)
{
    for (const auto &[name, value] : facts) {
        flow.Text(flow.Rect(F::Margin, flow.Top(), 45.0, 6.0), name, F::Font(10.0, true),
                  Qt::AlignLeft | Qt::AlignVCenter);
        flow.Text(flow.Rect(F::Margin + 45.0, flow.Top(), F::ContentWidth - 45.0, 6.0), value, F::Font(10.0),
                  Qt::AlignLeft | Qt::AlignVCenter);
        flow.Advance(6.0);
    }
}

// One row a characteristic: its definition, n, mean, s, Cp, Cpk and the parts out of tolerance.
void Overview(TPageFlow &flow, const QList<TCharacteristicBatch> &characteristics)
{
    static const QList<double> widths{15.0, 36.0, 25.0, 15.0, 15.0, 9.0, 19.0, 15.0, 11.0, 11.0, 9.0};
    static const QStringList headings{QStringLiteral("Feature"), QStringLiteral("Characteristic"),
                                      QStringLiteral("Nominal"), QStringLiteral("Upper"),
                                      QStringLiteral("Lower"),   QStringLiteral("n"),
                                      QStringLiteral("Mean"),    QStringLiteral("s"),
                                      QStringLiteral("Cp"),      QStringLiteral("Cpk"),
                                      QStringLiteral("NOK")};
    constexpr double FontSize = 8.0;
    flow.Advance(4.0);
    flow.EnsureRoom(9.0 + F::HeadingRowHeight + F::RowHeight);
    flow.SectionHeading(QStringLiteral("Characteristics (%1)").arg(characteristics.size()));
    flow.CellRow(widths, headings, F::HeadingRowHeight, true, false, 0, FontSize);
    bool unreliable = false;
    for (qsizetype i = 0; i < characteristics.size(); ++i) {
        const TCharacteristicBatch &batch = characteristics.at(i);
        const TBatchStatistics &s = batch.Statistics();
        int nok = 0;
        for (qsizetype part = 0; part < batch.Values().size(); ++part)
            nok += batch.Result(part) == QStringLiteral("NOK") ? 1 : 0;
        unreliable = unreliable || (s.cpk && !s.reliable);
        const TResultsColumn &column = batch.Column();
        if (flow.EnsureRoom(F::RowHeight))
            flow.CellRow(widths, headings, F::HeadingRowHeight, true, false, 0, FontSize);
        flow.CellRow(widths,
                     {column.feature, column.characteristic, column.nominal, column.upper, column.lower,
                      QString::number(s.count),
                      s.count > 0 ? TCharacteristicBatch::Fixed(s.mean, 4) : QString(),
                      s.standardDeviation ? TCharacteristicBatch::Fixed(*s.standardDeviation, 4) : QString(),
                      Capability(s.cp, s.reliable), Capability(s.cpk, s.reliable), QString::number(nok)},
                     F::RowHeight, false, i % 2 == 1, 2, FontSize);
    }
    if (unreliable) {
        flow.Text(flow.Rect(F::Margin, flow.Top() + 0.5, F::ContentWidth, F::RowHeight),
                  QStringLiteral("* from fewer than %1 parts: unreliable").arg(ReliableCapabilityCount),
                  F::Font(8.0), Qt::AlignLeft | Qt::AlignVCenter);
        flow.Advance(F::RowHeight + 0.5);
    }
}

// A characteristic's heading, statistics and run chart, then every part's value with its result.
void Characteristic(TPageFlow &flow, const TCharacteristicBatch &batch, const QList<TPartResults> &parts)
{
    static const QList<double> widths{14.0, 38.0, 42.0, 42.0, 26.0, 18.0};
    static const QStringList headings{QStringLiteral("Part"),          QStringLiteral("Serial number"),
                                      QStringLiteral("Date and time"), QStringLiteral("Operator"),
                                      QStringLiteral("Actual"),        QStringLiteral("Result")};
    flow.Advance(6.0);
    // The heading keeps its statistics, its chart and the first rows of its table on one page.
    flow.EnsureRoom(9.0 + StatisticsHeight + ChartHeight + 3.0 + F::HeadingRowHeight + 2 * F::RowHeight);
    flow.SectionHeading(batch.Heading());
    const QStringList lines = batch.StatisticsText().split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        flow.Text(flow.Rect(F::Margin, flow.Top(), F::ContentWidth, 5.0), line, F::Font(10.0),
                  Qt::AlignLeft | Qt::AlignVCenter);
        flow.Advance(5.0);
    }
    flow.Advance(StatisticsHeight - 5.0 * lines.size());

    if (QPainter *painter = flow.Painter()) {
        TRunChartDrawing chart;
        chart.SetSeries(
            {batch.Name(), batch.Values(), batch.Nominal(), batch.UpperLimit(), batch.LowerLimit()});
        painter->setFont(F::Font(8.0));
        chart.Paint(*painter, flow.Rect(F::Margin, flow.Top(), F::ContentWidth, ChartHeight),
                    flow.Units(ChartPixel), QString());
    }
    flow.Advance(ChartHeight + 3.0);

    flow.CellRow(widths, headings, F::HeadingRowHeight, true, false);
    double total = 0.0;
    for (double width : widths)
        total += width;
    for (qsizetype index = 0; index < parts.size(); ++index) {
        if (flow.EnsureRoom(F::RowHeight)) {
            flow.Text(flow.Rect(F::Margin, flow.Top(), F::ContentWidth, 6.0),
                      QStringLiteral("%1 (continued)").arg(batch.Heading()), F::Font(9.0, true),
                      Qt::AlignLeft | Qt::AlignVCenter, F::Accent);
            flow.Advance(7.0);
            flow.CellRow(widths, headings, F::HeadingRowHeight, true, false);
        }
        const TPartResults &part = parts.at(index);
        const std::optional<double> value = batch.Values().value(index);
        const QString result = batch.Result(index);
        if (!result.isEmpty())
            flow.Fill(flow.Rect(F::Margin + total - widths.back(), flow.Top() + 0.15, widths.back(),
                                F::RowHeight - 0.3),
                      result == QStringLiteral("OK") ? OkShade : NokShade);
        flow.CellRow(widths,
                     {QString::number(index + 1), part.serialNumber, part.measuredAt, part.operatorName,
                      value ? TCharacteristicBatch::Fixed(*value, 3) : QString(),
                      result.isEmpty() ? QStringLiteral("missing") : result},
                     F::RowHeight, false, false, 4);
    }
}

} // namespace

TBatchReport::TBatchReport(TBatchReportContent content) : m_content(std::move(content)) {}

QString TBatchReport::FileName(const QString &dataDirectory, const QString &projectName)
{
    return QDir(dataDirectory).filePath(projectName + Suffix);
}

QString TBatchReport::SummaryText(const QList<TCharacteristicBatch> &characteristics, qsizetype parts)
{
    int ok = 0, nok = 0, incomplete = 0;
    for (qsizetype part = 0; part < parts; ++part) {
        bool bad = false, missing = false;
        for (const TCharacteristicBatch &batch : characteristics) {
            const QString result = batch.Result(part);
            bad = bad || result == QStringLiteral("NOK");
            missing = missing || result.isEmpty();
        }
        ++(bad ? nok : missing ? incomplete : ok);
    }
    QString text = QStringLiteral("%1 part%2, %3 OK, %4 NOK")
                       .arg(parts)
                       .arg(parts == 1 ? QString() : QStringLiteral("s"))
                       .arg(ok)
                       .arg(nok);
    if (incomplete > 0)
        text += QStringLiteral(", %1 incomplete").arg(incomplete);
    return text;
}

int TBatchReport::Paint(QPdfWriter &writer) const
{
    const QString name = m_content.projectName.trimmed().isEmpty() ? QStringLiteral("(no name)")
                                                                   : m_content.projectName.trimmed();
    TPageFlow::SetUpWriter(writer, QStringLiteral("Batch report: %1").arg(name));
    const QString when = m_content.createdAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString head = QStringLiteral("QintarSoft batch report: %1, %2").arg(name, when);
    const QList<TPartResults> &parts = m_content.parts;
    const QString measured =
        parts.isEmpty() ? QString()
        : parts.size() == 1
            ? parts.front().measuredAt
            : QStringLiteral("%1 to %2").arg(parts.front().measuredAt, parts.back().measuredAt);

    auto run = [&](QPainter *painter, int pageCount) {
        TPageFlow flow(&writer, painter, pageCount, head);
        flow.Text(flow.Rect(F::Margin, flow.Top(), F::ContentWidth, 10.0), QStringLiteral("Batch report"),
                  F::Font(18.0, true), Qt::AlignLeft | Qt::AlignVCenter, F::Accent);
        flow.Advance(13.0);
        Facts(flow, {{QStringLiteral("Project:"), name},
                     {QStringLiteral("Part:"), m_content.partName},
                     {QStringLiteral("Parts:"), QString::number(parts.size())},
                     {QStringLiteral("Measured:"), measured},
                     {QStringLiteral("Date and time:"), when}});
        flow.Text(flow.Rect(F::Margin, flow.Top(), 45.0, 7.0), QStringLiteral("Result:"), F::Font(10.0, true),
                  Qt::AlignLeft | Qt::AlignVCenter);
        flow.Text(flow.Rect(F::Margin + 45.0, flow.Top(), F::ContentWidth - 45.0, 7.0),
                  SummaryText(m_content.characteristics, parts.size()), F::Font(12.0, true),
                  Qt::AlignLeft | Qt::AlignVCenter);
        flow.Advance(7.0);
        if (m_content.characteristics.isEmpty()) {
            flow.Advance(4.0);
            flow.Text(flow.Rect(F::Margin, flow.Top(), F::ContentWidth, 6.0),
                      QStringLiteral("No characteristics."), F::Font(10.0), Qt::AlignLeft | Qt::AlignVCenter);
            flow.Advance(6.0);
        } else {
            Overview(flow, m_content.characteristics);
        }
        for (const TCharacteristicBatch &batch : m_content.characteristics)
            Characteristic(flow, batch, parts);
        return flow.Page();
    };

    return TPageFlow::PaintPages(writer, run);
}

TFileResult TBatchReport::Save(const QString &fileName) const
{
    TFileResult result;
    result.fileName = fileName;
    if (m_content.parts.isEmpty()) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("The results history holds no part yet: there is no batch to report. "
                                        "Next part keeps each part measured in it.");
        return result;
    }
    return TPageFlow::Save(fileName, [this](QPdfWriter &writer) { return Paint(writer); });
}
