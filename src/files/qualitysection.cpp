#include "files/qualitysection.h"

#include "files/featuresection.h"
#include "files/rowlines.h"
#include "register/texttable.h"

namespace {

const QString kPartName = QStringLiteral("Part Name = ");
const QString kSerialNumber = QStringLiteral("Serial Number = ");
const QString kOperator = QStringLiteral("Operator = ");
const QString kColumnHeading =
    QStringLiteral("Feature, Characteristic, Nominal, Upper, Lower, Actual, Deviation, Result");

// A field is one line: a line break typed or pasted into it would end the line early.
QString OneLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace

void TQualitySection::Append(QString &text, const TTextTable &characteristics, const TPartFields &part)
{
    const int rows = std::min(characteristics.FilledRowCount(), TRowLines::MaxRows);
    if (rows == 0 && part.IsEmpty())
        return;
    const QString &end = TRowLines::LineEnd;
    text += Heading + end;
    text += kPartName + OneLine(part.partName) + end;
    text += kSerialNumber + OneLine(part.serialNumber) + end;
    text += kOperator + OneLine(part.operatorName) + end;
    text += kColumnHeading + end;
    for (int row = 1; row <= rows; ++row)
        text += TFeatureSection::RowLine(characteristics.RowTexts(row)) + end;
    text += EndLine + end;
}

TQualitySection::TRead TQualitySection::Read(const QStringList &lines, int columnCount)
{
    TRead read;
    qsizetype at = lines.indexOf(Heading);
    if (at < 0)
        return read;
    read.found = true;
    ++at;
    auto field = [&](const QString &prefix) {
        if (at < lines.size() && lines.at(at).startsWith(prefix))
            return lines.at(at++).mid(prefix.size());
        return QString();
    };
    read.part.partName = field(kPartName);
    read.part.serialNumber = field(kSerialNumber);
    read.part.operatorName = field(kOperator);
    // The column heading, written but not parsed, as the other sections' headings.
    if (at < lines.size() && lines.at(at) != EndLine)
        ++at;
    for (; at < lines.size(); ++at) {
        if (lines.at(at) == EndLine)
            return read;
        const QStringList fields = TFeatureSection::SplitRow(lines.at(at), columnCount);
        if (fields.value(0).isEmpty())
            continue;
        if (read.rows.size() < TRowLines::MaxRows)
            read.rows.append(fields);
        else
            ++read.beyond;
    }
    read.unended = true;
    return read;
}
