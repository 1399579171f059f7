#pragma once

#include "files/fileresult.h"
#include "files/resultshistory.h"
#include "register/characteristicbatch.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QPdfWriter;

// What the batch report is made of: the project's results history and its characteristics over it.
struct TBatchReportContent
{
    QString projectName;
    QString partName;
    QDateTime createdAt;
    QList<TPartResults> parts;
    QList<TCharacteristicBatch> characteristics;
};

// The batch report of a project: an A4 PDF with the project, the part's name, the number of parts and
// when they were measured, how many of them are in tolerance, and an overview of every characteristic's
// statistics; then each characteristic in turn with its heading (feature, characteristic, nominal and
// tolerances), its statistics, its run chart and every part's value with its result. All text is written
// as text, so the file can be searched and copied from.
class TBatchReport
{
public:
    static inline const QString Suffix = QStringLiteral(".batch-report.pdf");

    explicit TBatchReport(TBatchReportContent content);

    // Data/<project name>.batch-report.pdf, beside the results history.
    static QString FileName(const QString &dataDirectory, const QString &projectName);
    // "7 parts, 5 OK, 1 NOK, 1 incomplete": a part is NOK when one of its values is, incomplete when
    // none is NOK but one is missing.
    static QString SummaryText(const QList<TCharacteristicBatch> &characteristics, qsizetype parts);

    // Writes the file whole or not at all; a history without parts is refused and nothing is written.
    TFileResult Save(const QString &fileName) const;
    // Paints the report on the writer, which it sets to A4; returns the number of pages, 0 when the
    // writer cannot be painted on.
    int Paint(QPdfWriter &writer) const;

private:
    TBatchReportContent m_content;
};
