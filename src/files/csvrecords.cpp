#include "files/csvrecords.h"

TCsvRecords::TParsed TCsvRecords::Parse(const QByteArray &bytes)
{
    TParsed parsed;
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    parsed.completeLength = at;
    QStringList fields;
    QByteArray field;
    bool quoted = false;
    bool recordHasText = false;
    auto endField = [&] {
        fields.append(QString::fromUtf8(field));
        field.clear();
    };
    while (at < bytes.size()) {
        const char c = bytes.at(at++);
        if (quoted) {
            if (c != '"') {
                field.append(c);
            } else if (at < bytes.size() && bytes.at(at) == '"') {
                field.append('"');
                ++at;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == '"') {
            // A quote opens a quoted part anywhere in the field; text beside it is kept as it stands.
            quoted = true;
            recordHasText = true;
        } else if (c == ',') {
            endField();
            recordHasText = true;
        } else if (c == '\n' || (c == '\r' && at < bytes.size() && bytes.at(at) == '\n')) {
            if (c == '\r')
                ++at;
            if (recordHasText || !field.isEmpty()) {
                endField();
                parsed.records.append(fields);
            }
            fields.clear();
            field.clear();
            recordHasText = false;
            parsed.completeLength = at;
        } else {
            field.append(c);
        }
    }
    parsed.tornTail = bytes.mid(parsed.completeLength);
    return parsed;
}

QString TCsvRecords::Field(const QString &text)
{
    static const QString needQuotes = QStringLiteral(",\"\r\n");
    for (QChar c : text) {
        if (needQuotes.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

QByteArray TCsvRecords::Compose(const QStringList &fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString &field : fields)
        written.append(Field(field));
    return (written.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
}
