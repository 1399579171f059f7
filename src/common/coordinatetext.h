#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The one text form of every coordinate, distance, angle and live readout: fixed point with exactly
// three decimals, at most seven significant digits, ties rounded away from zero on the exact value of
// the single-precision number, a point as decimal mark whatever the locale, and "0.000" without sign
// for anything that rounds to zero. A value that is not finite gives "***.***", which reads back as
// no number.
QString FormatCoordinate(float value);

// Reads a decimal number the way the station writes one: leading blanks, an optional sign, digits with
// an optional point and fraction, an optional exponent, and nothing after. The decimal mark is a point
// whatever the locale. Empty text, a value beyond the single-precision range and anything else return
// no value.
std::optional<float> ReadDecimal(QStringView text);
