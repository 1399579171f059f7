#pragma once

#include "common/coordinatetext.h"
#include "files/filetables.h"
#include "register/texttable.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <array>

// The three tables of the register and a stand-in for the plot views that records what a load plots
// and clears. A point is plotted, as by the real views, only when its three texts convert.
struct TTablesUnderTest
{
    TTextTable data{4, 1000};
    TTextTable distances{6, 1000};
    TTextTable angles{7, 1000};
    QList<std::array<float, 3>> plotted;
    int seriesClears = 0;

    TFileTables Tables()
    {
        return {data, distances, angles,
                [this](const QString &x, const QString &y, const QString &z) {
                    const auto vx = ReadDecimal(x), vy = ReadDecimal(y), vz = ReadDecimal(z);
                    if (!vx || !vy || !vz)
                        return false;
                    plotted.append({*vx, *vy, *vz});
                    return true;
                },
                [this] {
                    plotted.clear();
                    ++seriesClears;
                }};
    }

    QList<QStringList> Rows(const TTextTable &table) const
    {
        QList<QStringList> rows;
        for (int row = 1; row <= table.FilledRowCount(); ++row)
            rows.append(table.RowTexts(row));
        return rows;
    }
};

inline QByteArray Crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}
