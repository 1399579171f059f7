#pragma once

#include "geometry/geometryfeature.h"
#include "register/pointnumbers.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The points that give a feature row its extent in the views: its own points while the point table
// holds them all. Next part empties the point table while the rows keep the last part's values, to show
// where to probe; such a row is drawn with the points it was last drawn with whole, not as a stub, until
// it is measured again.
class TFeatureExtents
{
public:
    // row is the row's texts, found its points as the point table now gives them.
    TPointList PointsFor(const QStringList &row, const TPointNumbers::TFound &found);
    // Forgets the rows no longer in the table, as they now read.
    void Keep(const QList<QStringList> &rows);

private:
    static QString Key(const QStringList &row);

    QHash<QString, TPointList> m_last;
};
