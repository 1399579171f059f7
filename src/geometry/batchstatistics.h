#pragma once

#include "geometry/characteristic.h"

#include <optional>
#include <vector>

// The spread of one characteristic over the parts of a batch. Parts without an actual are left out.
struct TBatchStatistics
{
    int count = 0;
    double mean = 0.0;
    // The sample standard deviation (n - 1); from 2 values on.
    std::optional<double> standardDeviation;
    double minimum = 0.0;
    double maximum = 0.0;
    // Cp = (USL - LSL) / (6 s) and Cpk = min(USL - mean, mean - LSL) / (3 s), from 2 values on and while
    // s is not zero. A characteristic with an upper tolerance only (a form, a true position, an
    // orientation) has no lower tolerance limit: it gets no Cp, and its Cpk is the upper side's,
    // (USL - mean) / (3 s).
    std::optional<double> cp;
    std::optional<double> cpk;
    // Fewer than 25 values: Cp and Cpk are figures, not yet a capability to rely on.
    bool reliable = false;
};

constexpr int ReliableCapabilityCount = 25;

TBatchStatistics BatchStatistics(TCharacteristicKind kind, const TTolerance &tolerance,
                                 const std::vector<std::optional<double>> &actuals);
