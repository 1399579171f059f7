#pragma once

// The PDF reports as pdftotext and pdfimages (poppler-utils) read them back; the test target defines
// QINTAR_PDFTOTEXT.

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

inline QByteArray RunTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return "<" + program.toUtf8() + " failed: " + process.readAllStandardError() + ">";
    return process.readAllStandardOutput();
}

// The report's pages as pdftotext reads them, one string per page.
inline QStringList PageTexts(const QString &fileName)
{
    QStringList pages = QString::fromUtf8(RunTool(QStringLiteral(QINTAR_PDFTOTEXT),
                                                  {QStringLiteral("-layout"), fileName, "-"}))
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A row is found when its cells stand in order on one line of the text.
inline bool HoldsRow(const QString &text, const QStringList &cells)
{
    QStringList escaped;
    for (const QString &cell : cells)
        escaped << QRegularExpression::escape(cell);
    const QRegularExpression row(QStringLiteral("(^|\\s)") + escaped.join(QStringLiteral("\\s+")) +
                                     QStringLiteral("(\\s|$)"),
                                 QRegularExpression::MultilineOption);
    return row.match(text).hasMatch();
}
