#include "register/plottedpointnumbers.h"

#include "common/coordinatetext.h"
#include "register/texttable.h"

namespace {

QString KeyOf(const QString &x, const QString &y, const QString &z)
{
    return x + QLatin1Char('|') + y + QLatin1Char('|') + z;
}

} // namespace

void TPlottedPointNumbers::Update(const std::vector<TPoint3> &plotted)
{
    QHash<QString, QStringList> numbers;
    for (int row = 1; row <= m_data.LastUsedRow(); ++row) {
        const QString number = m_data.Cell(0, row);
        if (!number.isEmpty())
            numbers[KeyOf(m_data.Cell(1, row), m_data.Cell(2, row), m_data.Cell(3, row))].append(number);
    }
    m_texts.clear();
    m_texts.reserve(plotted.size());
    m_labels.clear();
    m_labels.reserve(qsizetype(plotted.size()));
    for (const TPoint3 &point : plotted) {
        m_texts.push_back({FormatCoordinate(point.x), FormatCoordinate(point.y), FormatCoordinate(point.z)});
        const auto &[x, y, z] = m_texts.back();
        m_labels.append(numbers.value(KeyOf(x, y, z)).join(QStringLiteral(", ")));
    }
}

QString TPlottedPointNumbers::ToolTip(const QList<int> &indices) const
{
    QStringList lines;
    for (const int index : indices) {
        if (index < 0 || index >= int(m_texts.size()))
            continue;
        const auto &[x, y, z] = m_texts[size_t(index)];
        const QString &number = m_labels[index];
        const QString name = number.isEmpty()       ? QStringLiteral("Deleted point")
                             : number.contains(',') ? QStringLiteral("Points ") + number
                                                    : QStringLiteral("Point ") + number;
        lines.append(QStringLiteral("%1: X %2  Y %3  Z %4").arg(name, x, y, z));
    }
    return lines.join(QLatin1Char('\n'));
}
