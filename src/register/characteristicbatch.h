#pragma once

#include "files/resultshistory.h"
#include "geometry/batchstatistics.h"
#include "register/characteristicregister.h"

#include <QList>
#include <QString>
#include <optional>

// One characteristic of the characteristics table over the parts of the results history: every part's
// value in the order measured, the limits it is judged against, each part's result and the spread.
// The values are the history's for the feature's characteristic under any tolerance it had; the limits
// are the table's as it stands.
class TCharacteristicBatch
{
public:
    // None for a free row or one whose texts do not read as a characteristic.
    static std::optional<TCharacteristicBatch> Of(const TCharacteristicRegister &characteristics, int row,
                                                  const TResultsHistory &history);

    // "C1 Diameter", and with the table's nominal and tolerances "C1 Diameter 20.000 +0.020/-0.010".
    QString Name() const { return m_column.feature + QLatin1Char(' ') + m_column.characteristic; }
    QString Heading() const { return m_column.Heading(); }
    const TResultsColumn &Column() const { return m_column; }
    TCharacteristicKind Kind() const { return m_kind; }
    // The nominal the actual is judged about (zero for a zone) and the limits; no lower limit for a
    // characteristic with an upper tolerance only.
    double Nominal() const { return m_tolerance.nominal; }
    double UpperLimit() const { return m_tolerance.nominal + m_tolerance.upper; }
    std::optional<double> LowerLimit() const;

    const QList<std::optional<double>> &Values() const { return m_values; }
    const TBatchStatistics &Statistics() const { return m_statistics; }
    // "OK" or "NOK" for the part at index (from 0) against the table's limits; empty without a value.
    QString Result(qsizetype part) const;
    QString StatisticsText() const { return StatisticsText(m_statistics, m_kind); }

    // Two lines: "n 7, mean 20.0123, s 0.0031, min 20.008, max 20.017" and "Cp 1.33 Cpk 1.10
    // (unreliable: 7 parts)". The mean and s take a decimal more than the values' three; Cp and Cpk
    // come from 2 values on and while they spread.
    static QString StatisticsText(const TBatchStatistics &statistics, TCharacteristicKind kind);
    // Fixed decimals; a value that rounds to zero is written without its sign.
    static QString Fixed(double value, int decimals);

private:
    TResultsColumn m_column;
    TCharacteristicKind m_kind = TCharacteristicKind::Diameter;
    TTolerance m_tolerance;
    QList<std::optional<double>> m_values;
    TBatchStatistics m_statistics;
};
