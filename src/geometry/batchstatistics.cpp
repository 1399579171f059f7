#include "geometry/batchstatistics.h"

#include <algorithm>
#include <cmath>

TBatchStatistics BatchStatistics(TCharacteristicKind kind, const TTolerance &tolerance,
                                 const std::vector<std::optional<double>> &actuals)
{
    std::vector<double> values;
    for (const std::optional<double> &actual : actuals)
        if (actual && std::isfinite(*actual))
            values.push_back(*actual);

    TBatchStatistics statistics;
    statistics.count = static_cast<int>(values.size());
    if (values.empty())
        return statistics;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    statistics.minimum = *low;
    statistics.maximum = *high;
    // Two passes: the squares of the deviations from the mean, not of the values, keep the digits of a
    // 20 mm diameter that varies by microns.
    double sum = 0.0;
    for (double value : values)
        sum += value;
    statistics.mean = sum / values.size();
    statistics.reliable = statistics.count >= ReliableCapabilityCount;
    if (values.size() < 2)
        return statistics;
    // Equal values have no spread, though their mean may differ from them in the last bit: fifteen parts
    // of 20.013 would otherwise give s = 4e-15 and a Cp of 10^12.
    double squares = 0.0;
    if (statistics.minimum != statistics.maximum)
        for (double value : values)
            squares += (value - statistics.mean) * (value - statistics.mean);
    const double sigma = std::sqrt(squares / (values.size() - 1));
    statistics.standardDeviation = sigma;
    if (!(sigma > 0.0))
        return statistics;

    const double upperLimit = tolerance.nominal + tolerance.upper;
    const double upperSide = (upperLimit - statistics.mean) / (3.0 * sigma);
    if (HasUpperToleranceOnly(kind)) {
        statistics.cpk = upperSide;
        return statistics;
    }
    const double lowerLimit = tolerance.nominal + tolerance.lower;
    statistics.cp = (upperLimit - lowerLimit) / (6.0 * sigma);
    statistics.cpk = std::min(upperSide, (statistics.mean - lowerLimit) / (3.0 * sigma));
    return statistics;
}
