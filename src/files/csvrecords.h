#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Records of comma-separated values after RFC 4180, in UTF-8: fields separated by ",", a field holding a
// comma, a double quote or a line break quoted with its quotes doubled, every record ended by CR LF (LF
// alone is read too). Empty lines are no records.
class TCsvRecords
{
public:
    struct TParsed
    {
        QList<QStringList> records;
        // The bytes up to the end of the last whole record: a file cut off while a record was being
        // written ends with a record that has no line end (or a quote that never closes); it is not in
        // records, and its bytes, from completeLength on, are in tornTail.
        qsizetype completeLength = 0;
        QByteArray tornTail;
    };

    static TParsed Parse(const QByteArray &bytes);
    // One record with its line end.
    static QByteArray Compose(const QStringList &fields);
    static QString Field(const QString &text);
};
