#include "files/resultshistory.h"

#include "files/csvrecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString Signed(const QString &text)
{
    return text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? text
                                                                                  : QLatin1Char('+') + text;
}

TFileResult Failed(const QString &fileName, const QString &message)
{
    TFileResult result;
    result.status = TFileResult::TStatus::Failed;
    result.fileName = fileName;
    result.message = message;
    return result;
}

// A new or renamed file is only safe once the folder's entry for it is on the disk too.
void SyncFolder(const QString &fileName)
{
#ifdef Q_OS_UNIX
    const int folder =
        ::open(QFile::encodeName(QFileInfo(fileName).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
#else
    Q_UNUSED(fileName);
#endif
}

bool SyncFile(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

struct TFileContent
{
    QStringList headings;
    QList<QStringList> rows;
    qsizetype completeLength = 0;
    QByteArray tornTail;
    QStringList warnings;
};

QString TornWarning(const QByteArray &tail, bool removed)
{
    return QStringLiteral("The last part of the results history was cut off while being written and %1: "
                          "\"%2\".")
        .arg(removed ? QStringLiteral("was removed") : QStringLiteral("is left out"),
             QString::fromUtf8(tail.left(200)).trimmed());
}

const QString NotAHistory = QStringLiteral("its first line is not the heading of a results history");

// Reads the heading and the part rows; an empty string when the bytes are a results history (an empty
// file is one without parts), else the reason. The file is made whole with its heading, so a first line
// cut off is not one of ours.
QString ReadContent(const QByteArray &bytes, TFileContent &content)
{
    const TCsvRecords::TParsed parsed = TCsvRecords::Parse(bytes);
    content.completeLength = parsed.completeLength;
    content.tornTail = parsed.tornTail;
    if (parsed.records.isEmpty()) {
        if (!parsed.tornTail.trimmed().isEmpty())
            return NotAHistory;
        content.completeLength = 0;
        content.tornTail.clear();
        return {};
    }
    const QStringList &heading = parsed.records.front();
    if (heading.mid(0, TResultsHistory::PartHeadings.size()) != TResultsHistory::PartHeadings)
        return NotAHistory;
    content.headings = heading.mid(TResultsHistory::PartHeadings.size());
    const qsizetype width = heading.size();
    qsizetype longer = 0, shorter = 0;
    for (qsizetype index = 1; index < parsed.records.size(); ++index) {
        QStringList row = parsed.records.at(index);
        if (row.size() > width) {
            ++longer;
            row = row.mid(0, width);
        } else if (row.size() < width) {
            ++shorter;
            while (row.size() < width)
                row.append(QString());
        }
        content.rows.append(row);
    }
    if (longer > 0)
        content.warnings.append(QStringLiteral("%1 part(s) of the results history have more values than "
                                               "its heading has columns; the extra values are left out.")
                                    .arg(longer));
    if (shorter > 0)
        content.warnings.append(QStringLiteral("%1 part(s) of the results history have fewer values than "
                                               "its heading has columns; the missing ones read as empty.")
                                    .arg(shorter));
    if (!content.tornTail.trimmed().isEmpty())
        content.warnings.append(TornWarning(content.tornTail, false));
    return {};
}

TPartResults PartOf(const QStringList &row)
{
    const qsizetype fixed = TResultsHistory::PartHeadings.size();
    return {row.value(0), row.value(1), row.value(2), row.mid(fixed)};
}

QStringList RowOf(const TPartResults &part, qsizetype columns)
{
    QStringList row{part.serialNumber, part.measuredAt, part.operatorName};
    row += part.actuals.mid(0, columns);
    while (row.size() < TResultsHistory::PartHeadings.size() + columns)
        row.append(QString());
    return row;
}

} // namespace

QString TResultsColumn::Heading() const
{
    QString tolerance = Signed(upper);
    if (!lower.isEmpty())
        tolerance += QLatin1Char('/') + Signed(lower);
    return QStringList{feature, characteristic, nominal, tolerance}.join(QLatin1Char(' '));
}

QString TResultsHistory::FileName(const QString &dataDirectory, const QString &projectName)
{
    return QDir(dataDirectory).filePath(projectName + Suffix);
}

QString TResultsHistory::TimeText(const QDateTime &when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QList<std::optional<double>> TResultsHistory::Values(const QString &feature,
                                                     const QString &characteristic) const
{
    const QString name = feature + QLatin1Char(' ') + characteristic;
    QList<qsizetype> columns;
    for (qsizetype column = 0; column < m_headings.size(); ++column) {
        const QString &heading = m_headings.at(column);
        if (heading == name || heading.startsWith(name + QLatin1Char(' ')))
            columns.append(column);
    }
    QList<std::optional<double>> values;
    const QLocale c = QLocale::c();
    for (const TPartResults &part : m_parts) {
        std::optional<double> value;
        for (qsizetype column : columns) {
            bool ok = false;
            const double number = c.toDouble(part.actuals.value(column).trimmed(), &ok);
            if (ok && qIsFinite(number)) {
                value = number;
                break;
            }
        }
        values.append(value);
    }
    return values;
}

void TResultsHistory::Clear()
{
    m_headings.clear();
    m_parts.clear();
}

TFileResult TResultsHistory::Load(const QString &fileName)
{
    TFileResult result;
    result.fileName = fileName;
    QFile file(fileName);
    if (!file.exists()) {
        Clear();
        return result;
    }
    if (!file.open(QIODevice::ReadOnly))
        return Failed(fileName, QStringLiteral("Cannot open %1: %2").arg(fileName, file.errorString()));
    TFileContent content;
    const QString refused = ReadContent(file.readAll(), content);
    if (!refused.isEmpty())
        return Failed(fileName, QStringLiteral("%1 is not read: %2.").arg(fileName, refused));
    m_headings = content.headings;
    m_parts.clear();
    for (const QStringList &row : content.rows)
        m_parts.append(PartOf(row));
    result.warnings = content.warnings;
    return result;
}

TFileResult TResultsHistory::Append(const QString &fileName, const QList<TResultsColumn> &columns,
                                    const TPartResults &part)
{
    TFileResult result;
    result.fileName = fileName;
    TFileContent content;
    QFile existing(fileName);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return Failed(fileName,
                          QStringLiteral("Cannot open %1: %2").arg(fileName, existing.errorString()));
        const QString refused = ReadContent(existing.readAll(), content);
        existing.close();
        if (!refused.isEmpty())
            return Failed(fileName, QStringLiteral("The part was not added to %1: %2. The file is left as it "
                                                   "is.")
                                        .arg(fileName, refused));
    }
    const bool hadHeading = content.completeLength > 0;

    // Each characteristic takes the column with its heading; a heading met twice takes the next such
    // column; one without a column gets a new one at the end.
    QStringList headings = content.headings;
    QList<bool> taken(headings.size(), false);
    QStringList actuals(headings.size());
    for (qsizetype index = 0; index < columns.size(); ++index) {
        const QString heading = columns.at(index).Heading();
        qsizetype column = 0;
        while (column < headings.size() && (taken.at(column) || headings.at(column) != heading))
            ++column;
        if (column == headings.size()) {
            headings.append(heading);
            taken.append(false);
            actuals.append(QString());
        }
        taken[column] = true;
        actuals[column] = part.actuals.value(index);
    }
    const TPartResults written{part.serialNumber, part.measuredAt, part.operatorName, actuals};
    const QByteArray row = TCsvRecords::Compose(RowOf(written, headings.size()));

    if (hadHeading && headings.size() == content.headings.size()) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadWrite))
            return Failed(fileName, QStringLiteral("Cannot open %1: %2").arg(fileName, file.errorString()));
        // A part cut off by a crash would run into this one: it goes, and is told.
        if (!content.tornTail.isEmpty()) {
            if (!file.resize(content.completeLength))
                return Failed(fileName,
                              QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
            if (!content.tornTail.trimmed().isEmpty())
                result.warnings.append(TornWarning(content.tornTail, true));
        }
        if (!file.seek(content.completeLength) || file.write(row) != row.size() || !SyncFile(file))
            return Failed(fileName, QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    } else {
        // A new file, or new columns: the whole file is written aside and takes the old one's place only
        // once it is complete.
        QByteArray bytes = TCsvRecords::Compose(PartHeadings + headings);
        for (const QStringList &old : content.rows)
            bytes += TCsvRecords::Compose(RowOf(PartOf(old), headings.size()));
        bytes += row;
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            return Failed(fileName, QStringLiteral("Cannot create %1: %2").arg(fileName, file.errorString()));
        if (file.write(bytes) != bytes.size() || !file.commit()) {
            file.cancelWriting();
            return Failed(fileName, QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
        }
        SyncFolder(fileName);
        if (!content.tornTail.trimmed().isEmpty())
            result.warnings.append(TornWarning(content.tornTail, true));
    }

    // What is held follows the file as it now is.
    m_headings = headings;
    m_parts.clear();
    for (const QStringList &old : content.rows)
        m_parts.append(PartOf(RowOf(PartOf(old), headings.size())));
    m_parts.append(written);
    return result;
}
