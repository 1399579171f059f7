#include "files/projectfile.h"

#include "common/globalprocedures.h"
#include "files/codepage1252.h"
#include "files/featuresection.h"
#include "files/linereader.h"
#include "files/rowlines.h"
#include "files/wholefile.h"

#include <QDir>
#include <QFile>

namespace {

const QString kGeneral = QStringLiteral("[General]");
const QString kFiledOn = QStringLiteral("Filed on ");
const QString kCoordinates = QStringLiteral("[Coordinates]");
const QString kPointHeading = QStringLiteral("Point, X, Y, Z");
const QString kDistances = QStringLiteral("[Distances]");
const QString kDistanceHeading = QStringLiteral("Pt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR");
const QString kAngles = QStringLiteral("[Angles]");
const QString kAngleHeading = QStringLiteral("Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ");
const QString kEnd = QStringLiteral("[End]");

constexpr int kPointColumns = 4;
constexpr int kDistanceColumns = 6;
constexpr int kAngleColumns = 7;
// Longest file name (in bytes on POSIX, in UTF-16 units on Windows) that common file systems take.
constexpr qsizetype kMaxFileNameLength = 255;

using TSection = TRowLines::TRowsRead;

// Reads row lines up to the section's end line (consumed). Rows beyond MaxRows are counted, not kept,
// so the later sections still start at their own lines.
void ReadSection(TLineReader &reader, const QString &endLine, int columnCount, TSection &section)
{
    while (const std::optional<QString> line = reader.ReadLine()) {
        if (*line == endLine)
            return;
        TRowLines::AddLine(section, *line, columnCount);
    }
}

QString SkippedWarning(qsizetype skipped, const QString &what)
{
    return QStringLiteral("The file holds %1 more %2 rows than the table can take; only the first %3 "
                          "were loaded.")
        .arg(skipped)
        .arg(what)
        .arg(TRowLines::MaxRows);
}

bool IsWindowsDeviceName(const QString &name)
{
    // Windows reserves these names with any extension and with blanks before it.
    const QString base = TrimControls(name.section(QLatin1Char('.'), 0, 0)).toUpper();
    static const QStringList reserved = {QStringLiteral("CON"),    QStringLiteral("PRN"),
                                         QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                         QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (reserved.contains(base))
        return true;
    if (base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))))
        return base[3] >= QLatin1Char('0') && base[3] <= QLatin1Char('9');
    return false;
}

} // namespace

QString TProjectFile::FilePath(const QString &dataDirectory, const QString &projectName)
{
    // Joined as text: QDir::filePath would take a name beginning with ":" for a resource path and
    // return it alone, which saves the file outside the data folder.
    return QDir(dataDirectory).absolutePath() + QLatin1Char('/') + projectName + Extension;
}

QString TProjectFile::CheckProjectName(const QString &projectName, TNameRules rules)
{
    const auto refuse = [&](const QString &why) {
        return QStringLiteral("The project name \"%1\" cannot be used as a file name: %2. Please choose "
                              "another name.")
            .arg(projectName, why);
    };
    if (projectName.contains(QLatin1Char('/')) || projectName.contains(QLatin1Char('\\')))
        return refuse(QStringLiteral("it holds \"/\" or \"\\\""));
    for (const QChar c : projectName) {
        if (c.category() == QChar::Other_Control)
            return refuse(QStringLiteral("it holds a control character"));
    }
    // Refused on every system, so that a Data folder can be copied to any of them.
    for (const QChar c : projectName) {
        if (QStringView(u":*?\"<>|").contains(c))
            return refuse(
                QStringLiteral("it holds the character %1, which other systems do not allow in file names")
                    .arg(QLatin1Char('"') + c + QLatin1Char('"')));
    }
    // A file whose name begins with "." is hidden on Linux, and the Load dialog would not list it.
    if (projectName.startsWith(QLatin1Char('.')))
        return refuse(QStringLiteral(
            "a name beginning with \".\" makes a hidden file, which the Load dialog does not list"));
    const QString fileName = projectName + Extension;
    if (rules == TNameRules::Posix) {
        if (QFile::encodeName(fileName).size() > kMaxFileNameLength)
            return refuse(QStringLiteral("it is too long"));
        return {};
    }
    if (fileName.size() > kMaxFileNameLength)
        return refuse(QStringLiteral("it is too long"));
    if (IsWindowsDeviceName(projectName))
        return refuse(QStringLiteral("Windows keeps that name for a device"));
    return {};
}

QByteArray TProjectFile::Compose(const QString &projectName, const QString &timeStamp,
                                 qsizetype *unrepresentable) const
{
    const QString &end = TRowLines::LineEnd;
    QString text;
    text.reserve(256 + 60 * TRowLines::MaxRows);
    text += kGeneral + end;
    text += NamePrefix + projectName + end;
    text += kFiledOn + timeStamp + end;
    text += kCoordinates + end + kPointHeading + end;
    TRowLines::AppendRows(text, m_tables.data, kPointColumns);
    text += kDistances + end + kDistanceHeading + end;
    TRowLines::AppendRows(text, m_tables.distances, kDistanceColumns);
    text += kAngles + end + kAngleHeading + end;
    TRowLines::AppendRows(text, m_tables.angles, kAngleColumns);
    text += kEnd + end;
    if (m_tables.features)
        TFeatureSection::Append(text, *m_tables.features, m_tables.approaches, m_tables.alignments);
    if (m_tables.inspection)
        TQualitySection::Append(text, m_tables.inspection->characteristics, m_tables.inspection->part);
    return TCodePage1252::Encode(text, unrepresentable);
}

TFileResult TProjectFile::Save(const QString &dataDirectory, const QString &projectName,
                               const QString &timeStamp, TNameRules rules) const
{
    TFileResult result;
    if (TrimControls(projectName).isEmpty()) {
        result.status = TFileResult::TStatus::NoProjectName;
        result.message = NoNameMessage;
        return result;
    }
    result.message = CheckProjectName(projectName, rules);
    if (!result.message.isEmpty()) {
        result.status = TFileResult::TStatus::RefusedName;
        return result;
    }

    result.fileName = FilePath(dataDirectory, projectName);
    qsizetype unrepresentable = 0;
    const QByteArray bytes = Compose(projectName, timeStamp, &unrepresentable);
    TWholeFile::Write(result, bytes, unrepresentable, QStringLiteral("project"));
    return result;
}

std::optional<TProjectFile::TSummary> TProjectFile::Peek(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    TLineReader reader(file);
    TSummary summary;
    for (int line = 1; line <= 5; ++line) {
        const QString text = reader.ReadLine().value_or(QString());
        if (line == 3 && text.startsWith(kFiledOn))
            summary.filedOn = text.mid(kFiledOn.size());
    }
    while (const std::optional<QString> line = reader.ReadLine()) {
        if (*line == kDistances)
            break;
        QString rest = *line;
        QString number;
        if (NextField(rest, number, QLatin1Char(',')) && !number.isEmpty())
            ++summary.points;
    }
    if (reader.ReadError())
        return std::nullopt;
    return summary;
}

TFileResult TProjectFile::Load(const QString &fileName)
{
    return TWholeFile::Read(fileName, [this](QIODevice &device) { return Load(device); });
}

TFileResult TProjectFile::Load(QIODevice &device)
{
    // The whole file is read before anything changes; a read error leaves the tables as they were.
    TLineReader reader(device);
    reader.ReadLine();
    const QString name = reader.ReadLine().value_or(QString()).mid(NamePrefix.size(), MaxNameLength);
    for (int i = 0; i < 3; ++i)
        reader.ReadLine();
    TSection points;
    ReadSection(reader, kDistances, kPointColumns, points);
    reader.ReadLine();
    TSection distances;
    ReadSection(reader, kAngles, kDistanceColumns, distances);
    reader.ReadLine();
    TSection angles;
    ReadSection(reader, kEnd, kAngleColumns, angles);
    const bool endMissing = reader.ReachedEnd();
    TFeatureSection::TRead features;
    QStringList afterEnd;
    if (m_tables.features && !endMissing)
        features = TFeatureSection::Read(reader, m_tables.features->ColCount(), &afterEnd);
    TQualitySection::TRead inspection;
    if (m_tables.inspection && !endMissing) {
        for (std::optional<QString> line; (line = reader.ReadLine());)
            afterEnd.append(*line);
        inspection = TQualitySection::Read(afterEnd, m_tables.inspection->characteristics.ColCount());
    }

    TFileResult result;
    if (reader.ReadError()) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot read the file: %1").arg(device.errorString());
        return result;
    }
    result.pointCount = TRowLines::FillPoints(m_tables, points.rows);
    TRowLines::FillTable(m_tables.distances, distances.rows);
    TRowLines::FillTable(m_tables.angles, angles.rows);
    // A project written before features leaves the features table empty.
    if (m_tables.features)
        TRowLines::FillTable(*m_tables.features, features.rows.rows);
    if (m_tables.approaches)
        TRowLines::FillTable(*m_tables.approaches, features.approaches.rows);
    if (m_tables.alignments)
        TRowLines::FillTable(*m_tables.alignments, features.alignments.rows);
    // So does one written before inspections for the characteristics and the part's fields.
    if (m_tables.inspection) {
        TRowLines::FillTable(m_tables.inspection->characteristics, inspection.rows);
        m_tables.inspection->part = inspection.part;
    }
    result.projectName = name;

    if (points.beyond > 0)
        result.warnings.append(SkippedWarning(points.beyond, QStringLiteral("point")));
    if (distances.beyond > 0)
        result.warnings.append(SkippedWarning(distances.beyond, QStringLiteral("distance")));
    if (angles.beyond > 0)
        result.warnings.append(SkippedWarning(angles.beyond, QStringLiteral("angle")));
    if (features.rows.beyond > 0)
        result.warnings.append(SkippedWarning(features.rows.beyond, QStringLiteral("feature")));
    if (const qsizetype blank = points.blank + distances.blank + angles.blank + features.rows.blank +
                                features.approaches.blank + features.alignments.blank;
        blank > 0)
        result.warnings.append(TRowLines::BlankLinesWarning(blank));
    if (features.unended) {
        result.warnings.append(QStringLiteral("The features end before their \"%1\" line; the file may be "
                                              "incomplete. What it holds has been loaded.")
                                   .arg(TFeatureSection::EndLine));
    }
    if (inspection.beyond > 0)
        result.warnings.append(SkippedWarning(inspection.beyond, QStringLiteral("characteristic")));
    if (inspection.unended) {
        result.warnings.append(QStringLiteral("The inspection ends before its \"%1\" line; the file may be "
                                              "incomplete. What it holds has been loaded.")
                                   .arg(TQualitySection::EndLine));
    }
    if (endMissing) {
        result.warnings.append(QStringLiteral("The file ends before its \"%1\" line; it may be incomplete. "
                                              "What it holds has been loaded.")
                                   .arg(kEnd));
    }
    return result;
}
