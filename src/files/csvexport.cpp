#include "files/csvexport.h"

#include "files/rowlines.h"
#include "files/wholefile.h"

QStringList TCsvExport::Headings(TKind kind)
{
    switch (kind) {
    case TKind::Coordinates:
        return {QStringLiteral("Point"), QStringLiteral("X (mm)"), QStringLiteral("Y (mm)"),
                QStringLiteral("Z (mm)")};
    case TKind::Distances:
        return {QStringLiteral("Point 1"),      QStringLiteral("Point 2"),
                QStringLiteral("delta X (mm)"), QStringLiteral("delta Y (mm)"),
                QStringLiteral("delta Z (mm)"), QStringLiteral("delta R (mm)")};
    case TKind::Angles:
        return {QStringLiteral("Point 1"),       QStringLiteral("Point 2 (vertex)"),
                QStringLiteral("Point 3"),       QStringLiteral("theta3D (deg)"),
                QStringLiteral("thetaXY (deg)"), QStringLiteral("thetaXZ (deg)"),
                QStringLiteral("thetaYZ (deg)")};
    }
    return {};
}

QString TCsvExport::Field(const QString &text)
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

QStringList TCsvExport::FeatureHeadings()
{
    // A relation's Size is a distance in millimetres or an angle in degrees.
    return {QStringLiteral("Feature"),   QStringLiteral("Type"),
            QStringLiteral("From"),      QStringLiteral("X (mm)"),
            QStringLiteral("Y (mm)"),    QStringLiteral("Z (mm)"),
            QStringLiteral("I"),         QStringLiteral("J"),
            QStringLiteral("K"),         QStringLiteral("Size (mm or deg)"),
            QStringLiteral("Form (mm)"), QStringLiteral("Apex (deg)")};
}

QByteArray TCsvExport::Compose(TKind kind, const TTextTable &table)
{
    return ComposeRows(Headings(kind), table);
}

QByteArray TCsvExport::ComposeFeatures(const TTextTable &features)
{
    return ComposeRows(FeatureHeadings(), features);
}

TFileResult TCsvExport::SaveFeatures(const TTextTable &features, const QString &fileName)
{
    TFileResult result;
    result.fileName = fileName;
    TWholeFile::Write(result, ComposeFeatures(features), 0, QString());
    return result;
}

QByteArray TCsvExport::ComposeRows(const QStringList &headings, const TTextTable &table)
{
    QStringList fields;
    QString text;
    auto appendRecord = [&text, &fields] {
        text += fields.join(QLatin1Char(','));
        text += TRowLines::LineEnd;
        fields.clear();
    };
    for (const QString &heading : headings)
        fields << Field(heading);
    appendRecord();
    // Every filled row, also one below a row left free by hand-editing a file.
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.IsRowFree(row))
            continue;
        for (int column = 0; column < headings.size(); ++column)
            fields << Field(table.Cell(column, row));
        appendRecord();
    }
    return text.toUtf8();
}

TFileResult TCsvExport::Save(TKind kind, const TTextTable &table, const QString &fileName)
{
    TFileResult result;
    result.fileName = fileName;
    TWholeFile::Write(result, Compose(kind, table), 0, QString());
    return result;
}
