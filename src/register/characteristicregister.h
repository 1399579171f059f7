#pragma once

#include "files/resultshistory.h"
#include "geometry/characteristic.h"
#include "register/featureregister.h"
#include "register/texttable.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// The characteristics table: one row a number of a feature or relation row that the inspector
// tolerances, with its nominal, its signed upper and lower tolerances, and the actual, the deviation and
// the result that the features give it. Like the other tables it is a text table and the store of
// record: a characteristic is its texts, read back by DefinitionOf.
//
//   Feature  Characteristic            Nominal         Upper  Lower   Actual  Deviation  Result
//   C1       Diameter                  20.000          0.020  -0.010  20.013  0.013      OK
//   C1       True position             25.000 10.000   0.100          0.104   0.104      NOK
//   CY1      Perpendicularity to PL1   0.000           0.020          0.006   0.006      OK
//   PL1      Flatness                  0.000           0.010                             missing
//
// A zone characteristic (a form, a true position, an orientation) has an upper tolerance only and its
// Lower stays empty. A true position's nominal is the nominal X and Y of the centre.
class TCharacteristicRegister
{
public:
    static constexpr int kRowCount = 1000;

    enum TColumn
    {
        ColFeature,
        ColCharacteristic,
        ColNominal,
        ColUpper,
        ColLower,
        ColActual,
        ColDeviation,
        ColResult,
        ColumnCount,
    };

    static inline const QString OkText = QStringLiteral("OK");
    static inline const QString NokText = QStringLiteral("NOK");
    static inline const QString MissingText = QStringLiteral("missing");

    // What a characteristic asks for.
    struct TDefinition
    {
        QString feature;
        TCharacteristicKind kind = TCharacteristicKind::Diameter;
        // The datum feature of a perpendicularity or a parallelism.
        QString datum;
        TTolerance tolerance;
        // A true position's nominal Y (tolerance.nominal holds its X).
        double nominalY = 0.0;
    };

    // What a characteristic needs of a feature row, found by its name: the feature in the coordinates
    // the characteristics are judged in (part coordinates when an alignment is active), its own points
    // in the same coordinates, or a relation's value.
    struct TFeatureFacts
    {
        TFeatureRegister::TKind kind = TFeatureRegister::TKind::Feature;
        std::optional<TGeometryFeature> geometry;
        TPointList points;
        std::optional<double> relationValue;
    };
    using TLookup = std::function<std::optional<TFeatureFacts>(const QString &name)>;
    // The features table's rows as they stand, with their points from the point table.
    static TLookup LookupIn(const TFeatureRegister &features, const TTextTable &points);

    TCharacteristicRegister();
    TCharacteristicRegister(const TCharacteristicRegister &) = delete;
    TCharacteristicRegister &operator=(const TCharacteristicRegister &) = delete;

    TTextTable &Table() { return m_table; }
    const TTextTable &Table() const { return m_table; }
    void SetHeaders();

    // The characteristics a feature row can carry, in the order offered to the operator.
    static QList<TCharacteristicKind> KindsFor(const TFeatureFacts &facts);
    // Adds the row after the last filled one and judges it; 0 with the reason when the characteristic
    // has no meaning for the feature, the tolerances contradict each other, or the table is full.
    int Add(const TDefinition &definition, const TLookup &lookup, QString *problem = nullptr);
    static QStringList DefinitionTexts(const TDefinition &definition, std::optional<TFeatureType> type);
    // A characteristic as the operator types it: the nominal (two numbers, X and Y, for a true position;
    // empty is 0 for a zone), the upper and, but for a zone, the lower tolerance. Bad numbers are told.
    static std::optional<TDefinition> DefinitionFromTexts(const QString &feature, TCharacteristicKind kind,
                                                          const QString &datum, const QString &nominal,
                                                          const QString &upper, const QString &lower,
                                                          QString *problem);
    std::optional<TDefinition> DefinitionOf(int row) const;
    // What the actual is judged against: the definition's tolerance, but a true position's zone about
    // a nominal of zero.
    static TTolerance JudgedTolerance(const TDefinition &definition);

    int Count() const { return m_table.FilledRowCount(); }
    void DeleteRow(int row) { m_table.DeleteRow(row); }
    void Clear() { m_table.ClearDataRows(); }

    // Fills Actual, Deviation and Result of every row from the features as they now are.
    void Evaluate(const TLookup &lookup);
    // Empties Actual, Deviation and Result (a new part is about to be measured).
    void ClearResults();

    struct TSummary
    {
        int total = 0;
        int ok = 0;
        int nok = 0;
        int missing = 0;
        // "12 characteristics, 11 OK, 1 NOK", with ", 2 missing" when some have no actual.
        QString Text() const;
        // "OK" when every characteristic is, "NOK" when one is not, "incomplete" when none is NOK but
        // some are missing; empty without characteristics.
        QString Overall() const;
    };
    TSummary Summary() const;

    // The history's columns and this part's actuals, row by row.
    QList<TResultsColumn> HistoryColumns() const;
    QStringList Actuals() const;

private:
    static std::optional<double> Actual(const TDefinition &definition, const TLookup &lookup);
    void Judge(int row, const TDefinition &definition, const TLookup &lookup);

    TTextTable m_table;
};
