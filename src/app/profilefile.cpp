#include "app/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVector>

namespace {

// One line of the file: its text runs from Begin to End (without the line break), the next line
// starts at Next. End == Next for a last line without a break.
struct TLine
{
    qsizetype Begin = 0;
    qsizetype End = 0;
    qsizetype Next = 0;
};

QVector<TLine> SplitLines(const QByteArray &content)
{
    QVector<TLine> lines;
    qsizetype begin = 0;
    // A UTF-8 byte order mark belongs to no line; it stays in the file untouched.
    if (content.startsWith("\xEF\xBB\xBF"))
        begin = 3;
    while (begin < content.size()) {
        qsizetype newline = content.indexOf('\n', begin);
        TLine line;
        line.Begin = begin;
        if (newline < 0) {
            line.End = content.size();
            line.Next = content.size();
        } else {
            line.End = newline > begin && content[newline - 1] == '\r' ? newline - 1 : newline;
            line.Next = newline + 1;
        }
        lines.append(line);
        begin = line.Next;
    }
    return lines;
}

QByteArrayView Text(const QByteArray &content, const TLine &line)
{
    return QByteArrayView(content).sliced(line.Begin, line.End - line.Begin);
}

QString Decode(QByteArrayView bytes)
{
    return QString::fromLocal8Bit(bytes.trimmed());
}

// The section name of a "[...]" line; no value for any other line.
std::optional<QString> SectionName(QByteArrayView text)
{
    const QByteArrayView trimmed = text.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    return Decode(trimmed.sliced(1, (close < 0 ? trimmed.size() : close) - 1));
}

bool IsComment(QByteArrayView text)
{
    const QByteArrayView trimmed = text.trimmed();
    return trimmed.startsWith(';') || trimmed.startsWith('#');
}

// Position of the '=' of a "key=value" line whose key is the given one; -1 otherwise.
qsizetype KeyEquals(QByteArrayView text, const QString &key)
{
    if (IsComment(text))
        return -1;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return -1;
    return Decode(text.first(equals)).compare(key, Qt::CaseInsensitive) == 0 ? equals : -1;
}

bool SameName(const std::optional<QString> &name, const QString &wanted)
{
    return name && name->compare(wanted, Qt::CaseInsensitive) == 0;
}

QByteArray LineBreakOf(const QByteArray &content)
{
    if (content.contains("\r\n"))
        return "\r\n";
    if (content.contains('\n'))
        return "\n";
#ifdef Q_OS_WIN
    return "\r\n";
#else
    return "\n";
#endif
}

bool HasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool Storable(const QString &section, const QString &key, const QString &value)
{
    if (section.isEmpty() || key.isEmpty())
        return false;
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    if (section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        return false;
    return !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';')) &&
           !key.startsWith(QLatin1Char('#'));
}

} // namespace

TProfileFile::TProfileFile(QString path) : m_path(std::move(path)) {}

std::optional<QString> TProfileFile::ReadValue(const QString &section, const QString &key) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ValueIn(file.readAll(), section, key);
}

std::optional<QString> TProfileFile::ValueIn(const QByteArray &content, const QString &section,
                                             const QString &key)
{
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();

    bool inSection = false;
    for (const TLine &line : SplitLines(content)) {
        const QByteArrayView text = Text(content, line);
        if (const auto name = SectionName(text)) {
            if (inSection)
                return std::nullopt;
            inSection = SameName(name, wantedSection);
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = KeyEquals(text, wantedKey);
        if (equals >= 0)
            return Decode(text.sliced(equals + 1));
    }
    return std::nullopt;
}

std::optional<QByteArray> TProfileFile::WithValue(const QByteArray &content, const QString &section,
                                                  const QString &key, const QString &value)
{
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    const QString wantedValue = value.trimmed();
    if (!Storable(wantedSection, wantedKey, wantedValue))
        return std::nullopt;

    const QByteArray lineBreak = LineBreakOf(content);
    const QByteArray keyLine = wantedKey.toLocal8Bit() + '=' + wantedValue.toLocal8Bit();
    const QVector<TLine> lines = SplitLines(content);

    qsizetype sectionLine = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (SameName(SectionName(Text(content, lines[i])), wantedSection)) {
            sectionLine = i;
            break;
        }
    }

    if (sectionLine < 0) {
        QByteArray result = content;
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += lineBreak;
        result += '[' + wantedSection.toLocal8Bit() + ']' + lineBreak + keyLine + lineBreak;
        return result;
    }

    // The key's own line keeps everything up to the '=' and the blanks after it; a new key goes after
    // the last line of the section that is not blank, so blank lines before the next section stay there.
    qsizetype lastFilled = sectionLine;
    for (qsizetype i = sectionLine + 1; i < lines.size(); ++i) {
        const QByteArrayView text = Text(content, lines[i]);
        if (SectionName(text))
            break;
        const qsizetype equals = KeyEquals(text, wantedKey);
        if (equals >= 0) {
            qsizetype valueBegin = lines[i].Begin + equals + 1;
            while (valueBegin < lines[i].End && (content[valueBegin] == ' ' || content[valueBegin] == '\t'))
                ++valueBegin;
            return content.first(valueBegin) + wantedValue.toLocal8Bit() + content.sliced(lines[i].End);
        }
        if (!text.trimmed().isEmpty())
            lastFilled = i;
    }

    const TLine &after = lines[lastFilled];
    QByteArray insertion = keyLine + lineBreak;
    if (after.Next == after.End)
        insertion.prepend(lineBreak);
    return content.first(after.Next) + insertion + content.sliced(after.Next);
}

bool TProfileFile::WriteValue(const QString &section, const QString &key, const QString &value)
{
    QByteArray content;
    QFile existing(m_path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        content = existing.readAll();
        existing.close();
    }
    const std::optional<QByteArray> updated = WithValue(content, section, key, value);
    if (!updated)
        return false;

    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(*updated) != updated->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
