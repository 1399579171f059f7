#include "register/characteristicbatch.h"

#include <QStringList>
#include <vector>

std::optional<TCharacteristicBatch> TCharacteristicBatch::Of(const TCharacteristicRegister &characteristics,
                                                             int row, const TResultsHistory &history)
{
    const auto definition = characteristics.DefinitionOf(row);
    if (!definition)
        return std::nullopt;
    using R = TCharacteristicRegister;
    const TTextTable &table = characteristics.Table();
    TCharacteristicBatch batch;
    batch.m_column = {table.Cell(R::ColFeature, row), table.Cell(R::ColCharacteristic, row),
                      table.Cell(R::ColNominal, row), table.Cell(R::ColUpper, row),
                      table.Cell(R::ColLower, row)};
    batch.m_kind = definition->kind;
    batch.m_tolerance = R::JudgedTolerance(*definition);
    batch.m_values = history.Values(batch.m_column.feature, batch.m_column.characteristic);
    batch.m_statistics =
        BatchStatistics(batch.m_kind, batch.m_tolerance,
                        std::vector<std::optional<double>>(batch.m_values.begin(), batch.m_values.end()));
    return batch;
}

std::optional<double> TCharacteristicBatch::LowerLimit() const
{
    if (HasUpperToleranceOnly(m_kind))
        return std::nullopt;
    return m_tolerance.nominal + m_tolerance.lower;
}

QString TCharacteristicBatch::Result(qsizetype part) const
{
    const TJudgement judgement = Judge(m_kind, m_tolerance, m_values.value(part));
    switch (judgement.verdict) {
    case TVerdict::Ok:
        return TCharacteristicRegister::OkText;
    case TVerdict::Nok:
        return TCharacteristicRegister::NokText;
    case TVerdict::Missing:
        break;
    }
    return {};
}

QString TCharacteristicBatch::Fixed(double value, int decimals)
{
    const QString text = QString::number(value, 'f', decimals);
    return text.toDouble() == 0.0 ? QString::number(0.0, 'f', decimals) : text;
}

QString TCharacteristicBatch::StatisticsText(const TBatchStatistics &statistics, TCharacteristicKind kind)
{
    if (statistics.count == 0)
        return QStringLiteral("n 0: no part in the history has a value");
    const QString spread =
        QStringLiteral("n %1, mean %2, s %3, min %4, max %5")
            .arg(statistics.count)
            .arg(Fixed(statistics.mean, 4),
                 statistics.standardDeviation ? Fixed(*statistics.standardDeviation, 4) : QStringLiteral("-"),
                 Fixed(statistics.minimum, 3), Fixed(statistics.maximum, 3));
    QString capability;
    QStringList notes;
    if (statistics.count < 2) {
        capability = QStringLiteral("Cp, Cpk from 2 parts on");
    } else if (!statistics.cpk) {
        capability = QStringLiteral("Cp, Cpk: none, the values do not spread");
    } else {
        capability = HasUpperToleranceOnly(kind)
                         ? QStringLiteral("Cpk %1").arg(Fixed(*statistics.cpk, 2))
                         : QStringLiteral("Cp %1 Cpk %2")
                               .arg(Fixed(statistics.cp.value_or(0.0), 2), Fixed(*statistics.cpk, 2));
        if (HasUpperToleranceOnly(kind))
            notes << QStringLiteral("upper limit only");
        if (!statistics.reliable)
            notes << QStringLiteral("unreliable: %1 parts").arg(statistics.count);
    }
    if (!notes.isEmpty())
        capability += QStringLiteral(" (%1)").arg(notes.join(QStringLiteral("; ")));
    return spread + QLatin1Char('\n') + capability;
}
