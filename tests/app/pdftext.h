#pragma once

// The text of a PDF as pdftotext lays it out, for the report tests; the target defines QINTAR_PDFTOTEXT.
#include <QProcess>
#include <QString>

inline QString PdfText(const QString &fileName)
{
    QProcess process;
    process.start(QStringLiteral(QINTAR_PDFTOTEXT),
                  {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}
