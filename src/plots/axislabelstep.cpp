#include "plots/axislabelstep.h"

#include <algorithm>
#include <cmath>

double AxisLabelStep(double span, double pixels, double labelPixels, double leastStep)
{
    if (!(span > 0.0) || !std::isfinite(span))
        return std::max(leastStep, 1.0);
    // At least one label per axis whatever the space; a tiny or hidden view gets the whole span.
    const double needed = pixels > labelPixels ? span * labelPixels / pixels : span;
    const double wanted = std::max(needed, leastStep);
    double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            // A little slack keeps 20.0000001 (from rounding) at 20.
            if (factor * decade >= wanted * (1.0 - 1e-9))
                return factor * decade;
        }
        decade *= 10.0;
    }
}

int AxisLabelDecimals(double step)
{
    int decimals = 0;
    while (decimals < 6 &&
           std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) >
               1e-6 * std::pow(10.0, decimals))
        ++decimals;
    return decimals;
}

QList<double> AxisTickValues(double minimum, double maximum, double step)
{
    QList<double> values;
    const double span = maximum - minimum;
    if (!(step > 0.0) || !(span >= 0.0) || !std::isfinite(span) || span / step > 10000.0)
        return values;
    for (double index = std::ceil(minimum / step - 1e-9);
         index * step <= maximum + 1e-9 * std::max(span, 1.0); index += 1.0)
        values.append(index * step);
    return values;
}

QString AxisLabelText(double value, int decimals)
{
    if (std::abs(value) < 1e-9)
        value = 0.0;
    return QString::number(value, 'f', decimals);
}
