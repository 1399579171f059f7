#include "register/featureextents.h"

#include <QSet>

QString TFeatureExtents::Key(const QStringList &row)
{
    // A row is the same row while every text of it is: its values are those the points were fitted to.
    return row.join(QChar(0x1f));
}

TPointList TFeatureExtents::PointsFor(const QStringList &row, const TPointNumbers::TFound &found)
{
    const QString key = Key(row);
    if (found.Complete()) {
        m_last.insert(key, found.points);
        return found.points;
    }
    const auto last = m_last.constFind(key);
    return last != m_last.cend() ? *last : found.points;
}

void TFeatureExtents::Keep(const QList<QStringList> &rows)
{
    QSet<QString> kept;
    for (const QStringList &row : rows)
        kept.insert(Key(row));
    for (auto it = m_last.begin(); it != m_last.end();)
        it = kept.contains(it.key()) ? std::next(it) : m_last.erase(it);
}
