#pragma once

#include "geometry/geometryfeature.h"
#include "register/constructionrecipe.h"
#include "register/partalignments.h"
#include "register/texttable.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

// The features table: one row a feature fitted to recorded points, or a relation (distance or angle)
// between two features. Like the point table it is a text table of 1000 rows and the store of record:
// every row is its texts alone, so a project file or a journal keeps a feature by keeping its texts,
// and whatever is read back (the feature's numbers, what it was made from) is read from them.
//
//   Feature  Type      From       X Y Z (centre or point; a distance's dX dY dZ)   I J K (direction)
//   C1       Circle    1-8        Size (diameter; a relation's distance or angle)   Form   Apex (cone)
//   D1       Distance  C1, PL1
//   P2       Point     Intersection L1, L2   (constructed: how, and from which features)
//
// Millimetres and degrees are in the station's coordinate text form, direction cosines have six
// decimals. Names are numbered per type (L1, PL1, C1, SP1, CY1, CO1, P1; D1, A1 for relations; AL1 for
// part alignments, POS1 for positions in part coordinates) and a name is never given out twice between
// two clearings, so a relation's "From" never comes to name another feature.
class TFeatureRegister
{
public:
    static constexpr int kRowCount = 1000;

    enum TColumn
    {
        ColFeature,
        ColType,
        ColFrom,
        ColX,
        ColY,
        ColZ,
        ColI,
        ColJ,
        ColK,
        ColSize,
        ColForm,
        ColApex,
        ColumnCount,
    };

    // What a row is: a feature of a geometric type, or a relation between two features.
    enum class TKind
    {
        Feature,
        Distance,
        Angle,
    };

    // What a row was made from, read back from its Type and From texts.
    struct TSource
    {
        TKind kind = TKind::Feature;
        // For a feature.
        TFeatureType type = TFeatureType::Point;
        QList<int> points;
        // A constructed feature has no points: its From names its features and how it was made.
        std::optional<TConstructionRecipe> recipe;
        // For a relation: the names of the two features.
        QString first;
        QString second;
    };

    // A relation's values: a distance with its components where they have a meaning (centre to
    // centre), or an angle in degrees.
    struct TRelationValues
    {
        double value = 0.0;
        std::optional<std::array<double, 3>> components;
    };

    TFeatureRegister();
    TFeatureRegister(const TFeatureRegister &) = delete;
    TFeatureRegister &operator=(const TFeatureRegister &) = delete;

    TTextTable &Table() { return m_table; }
    const TTextTable &Table() const { return m_table; }
    // The header row, as start-up writes it.
    void SetHeaders();

    // Appends a row after the last filled one and returns it; 0 when every row is taken.
    int AddFeature(const TGeometryFeature &feature, const QList<int> &points);
    int AddRelation(TKind kind, const QString &first, const QString &second, const TRelationValues &values);
    // A constructed feature, its From the recipe.
    int AddConstructed(const TGeometryFeature &feature, const TConstructionRecipe &recipe);
    // The row's texts of a feature or a relation, as Add... writes them (name given).
    static QStringList FeatureTexts(const QString &name, const TGeometryFeature &feature,
                                    const QList<int> &points);
    static QStringList ConstructedTexts(const QString &name, const TGeometryFeature &feature,
                                        const TConstructionRecipe &recipe);
    static QStringList RelationTexts(const QString &name, TKind kind, const QString &first,
                                     const QString &second, const TRelationValues &values);

    // Rows from 1 down to the last filled one (a deleted row leaves no gap).
    int FeatureCount() const { return m_table.FilledRowCount(); }
    // The row holding this name, 0 if none.
    int FindRow(const QString &name) const;
    QString Name(int row) const { return m_table.Cell(ColFeature, row); }
    std::optional<TSource> Source(int row) const;
    // A feature row's geometry read from its texts (location, direction, diameter, apex angle, form);
    // none for a relation, a free row, or texts that do not read. The residuals are not kept.
    std::optional<TGeometryFeature> Feature(int row) const;

    // A distance or an angle between the features of two rows, added as a row of its own; a pair
    // without such a relation (the angle between two spheres), a relation row or a row that does not
    // read adds nothing and says why. Returns the row added, 0 when none was.
    struct TRelated
    {
        int row = 0;
        QString message;
    };
    TRelated Relate(TKind kind, int firstRow, int secondRow);

    // Appends a row of these texts (its name given) after the last filled one; 0 when every row is taken.
    int AddTexts(const QStringList &texts) { return AppendRow(texts); }

    // The part alignments the table's "AL" rows stand for.
    TPartAlignments &Alignments() { return m_alignments; }
    const TPartAlignments &Alignments() const { return m_alignments; }
    // The frame features are read in when shown in part coordinates; none when no alignment is active.
    std::optional<TPartAlignment> ActiveAlignment() const { return m_alignments.Active(); }

    // Removes the row; the rows below move up one place. An alignment's row takes its frame with it.
    void DeleteRow(int row);
    // Empties the table and starts the names again at 1.
    void Clear();
    // After a load: names go on from the highest ones the table holds.
    void TakeNamesFromTable();

    // The name the next feature of this type or relation would get.
    QString NextName(TFeatureType type) const;
    QString NextName(TKind kind) const;
    // For the rows named by a prefix of their own (AL, POS).
    QString NextName(const QString &prefix) const;

    static QString TypeText(TFeatureType type);
    static std::optional<TFeatureType> TypeFromText(const QString &text);
    // The name's prefix for a type: L, PL, C, SP, CY, CO, P.
    static QString NamePrefix(TFeatureType type);
    // A direction cosine with six decimals, "0.000000" without a sign for anything that rounds to zero.
    static QString FormatCosine(double value);

private:
    // Index into m_highest: the feature types, then the two relation kinds.
    static int PrefixIndex(const QString &prefix);
    static QString Prefix(int index);
    int NextNumber(int index) const;
    void TakeName(const QString &name);
    int AppendRow(const QStringList &texts);

    TTextTable m_table;
    // The highest number given out per prefix since the last clearing.
    std::array<int, 11> m_highest{};
    TPartAlignments m_alignments;
};
