#pragma once

#include "geometry/partalignment.h"
#include "register/texttable.h"

#include <QString>
#include <optional>

class TFeatureRegister;

// The part alignments of the features table. Each alignment is a row of that table, "AL1" of Type
// "Alignment", whose From tells what fixes each degree of freedom ("Z: PL1, X: L1, origin: C1"), with the
// origin in X Y Z and the part's +Z axis in I J K, in machine coordinates. What a row cannot hold, the
// part's +X axis and which alignment is active, this table keeps, a row an alignment:
//
//   Alignment  Active  X I       X J       X K
//   AL1        Yes     0.996195  0.087156  0.000000
//
// Like the features table it is the store of record: a frame is always read back from the texts, so an
// alignment just made and one loaded from a project read the same. Deleting a feature an alignment was
// made from keeps the alignment as stored.
class TPartAlignments
{
public:
    static constexpr int kRowCount = 1000;

    enum TColumn
    {
        ColAlignment,
        ColActive,
        ColXI,
        ColXJ,
        ColXK,
        ColumnCount,
    };

    static inline const QString TypeText = QStringLiteral("Alignment");
    static inline const QString NamePrefix = QStringLiteral("AL");
    static inline const QString ActiveText = QStringLiteral("Yes");
    static inline const QString PositionTypeText = QStringLiteral("Position");
    static inline const QString PositionPrefix = QStringLiteral("POS");
    // The axes a relation can name after the alignment ("AL1 X").
    static inline const QString AxisNames = QStringLiteral("XYZ");

    // The features given each role, by row of the features table; secondaryTo 0 for a secondary that is
    // a line or an axis, else the second centre of the line from secondary's centre.
    struct TRoles
    {
        int primary = 0;
        int secondary = 0;
        int secondaryTo = 0;
        int origin = 0;
        bool originZFromPrimary = false;
    };

    // A row added to the features table (0 when none was) and what to tell: the reason of a refusal, or
    // what was done.
    struct TAdded
    {
        int row = 0;
        QString message;
    };

    explicit TPartAlignments(TFeatureRegister &features);
    TPartAlignments(const TPartAlignments &) = delete;
    TPartAlignments &operator=(const TPartAlignments &) = delete;

    TTextTable &Table() { return m_table; }
    const TTextTable &Table() const { return m_table; }
    void SetHeaders();

    // Makes the alignment from the features, adds its row and makes it the active one.
    TAdded Align(const TRoles &roles);
    // "Z: PL1, X: C1-C2, origin: C3 (Z: PL1)".
    static QString FixedByText(const QString &primary, const QString &secondary, const QString &secondaryTo,
                               const QString &origin, bool originZFromPrimary);

    // The alignment's frame read back from its row and this table; none when either is missing or does
    // not read.
    std::optional<TPartAlignment> Alignment(const QString &name) const;
    // The active alignment's name, empty when none is active or its row is gone.
    QString ActiveName() const;
    std::optional<TPartAlignment> Active() const;
    // Makes the named alignment the active one; false when it does not read as one.
    bool SetActive(const QString &name);
    static bool IsAlignmentRow(const TTextTable &features, int row);

    // The angle of the row's line or axis (a plane's normal too) to an axis (0 X, 1 Y, 2 Z) of the active
    // alignment, added as an Angle row "L1, AL1 X".
    TAdded AxisAngle(int row, int axis);
    // The row's point or centre in part coordinates of the active alignment, added as a Position row
    // "C2, AL1" with the part's X Y Z.
    TAdded Position(int row);

    // The alignment's row of the features table is gone.
    void Forget(const QString &name);
    void Clear() { m_table.ClearDataRows(); }

private:
    int TableRow(const QString &name) const;

    TFeatureRegister &m_features;
    TTextTable m_table;
};
