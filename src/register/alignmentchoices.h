#pragma once

#include "register/partalignments.h"

#include <QList>
#include <QString>
#include <optional>

class TFeatureRegister;

// The features of the table that can serve each role of a part alignment, as the alignment dialog
// lists them, read once from the table's rows (constructed features count; relations, alignments and
// positions do not):
//
//   primary    PL1, L1, CY1            planes, and lines', cylinders' and cones' axes
//   secondary  L1, CY1, C1-C2, C2-C1   lines and axes, then the line from one centre to another
//   origin     C1, C1 (Z: PL1), P1...  points and centres; with a plane primary each also with its Z
//                                      from that plane
class TAlignmentChoices
{
public:
    // The centres the secondary's pairs are made of, in table order: beyond these the list would grow
    // by the square of the centres for lines no one draws through.
    static constexpr int kPairedCentres = 40;

    struct TChoice
    {
        QString text;
        int row = 0;
        // The centre the secondary's line runs to; 0 for a line or an axis.
        int secondRow = 0;
        bool zFromPrimary = false;
    };

    explicit TAlignmentChoices(const TFeatureRegister &features);

    const QList<TChoice> &Primaries() const { return m_primaries; }
    const QList<TChoice> &Secondaries() const { return m_secondaries; }
    // The origins with the primary chosen (an index of Primaries(), or -1 for none).
    QList<TChoice> Origins(int primary) const;
    // The secondary to offer first: the first that is not the primary's own row, else the first.
    int FirstSecondary(int primary) const;
    // True when every role has a feature to offer.
    bool Complete() const
    {
        return !m_primaries.isEmpty() && !m_secondaries.isEmpty() && !m_centres.isEmpty();
    }

    // The roles of the chosen entries (indices of the three lists, the origin's of Origins(primary));
    // none when an index is out of range.
    std::optional<TPartAlignments::TRoles> Roles(int primary, int secondary, int origin) const;
    // What fixes each degree of freedom with these entries: "Z: PL1, X: L1, origin: C1"; empty when an
    // index is out of range.
    QString FixedByText(int primary, int secondary, int origin) const;

private:
    const TFeatureRegister &m_features;
    QList<TChoice> m_primaries;
    QList<TChoice> m_secondaries;
    // The points and centres, by row.
    QList<int> m_centres;
    QList<bool> m_primaryIsPlane;
};
