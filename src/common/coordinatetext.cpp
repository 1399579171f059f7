#include "common/coordinatetext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int kDecimals = 3;
constexpr int kSignificantDigits = 7;

// Adds one unit at the last place of a string of decimal digits; returns true when a new leading
// digit was carried out of it.
bool IncrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

} // namespace

QString FormatCoordinate(float value)
{
    if (!std::isfinite(value))
        return QStringLiteral("***.***");

    // A float converted to double keeps its value exactly, and 160 fixed decimals write every binary
    // fraction a float can hold in full, so the rounding below decides ties on the exact value.
    std::array<char, 512> buffer{};
    const double magnitude = std::fabs(static_cast<double>(value));
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::fixed, 160);
    const std::string exact(buffer.data(), result.ptr);
    const auto point = exact.find('.');
    std::string integerPart = exact.substr(0, point);
    const std::string fraction = exact.substr(point + 1);

    const int integerDigits = integerPart == "0" ? 0 : static_cast<int>(integerPart.size());
    // Places kept after the point: three, fewer when the integer part already uses up the seven
    // significant digits (negative: whole tens, hundreds... are dropped as well).
    const int kept =
        std::min(kDecimals, kSignificantDigits - std::max(integerDigits, kSignificantDigits - kDecimals));

    std::string digits = integerPart + fraction;
    const std::size_t cut = integerPart.size() + kept;
    const bool roundUp = digits[cut] >= '5';
    digits.resize(cut);
    std::size_t integerLength = integerPart.size();
    if (roundUp && IncrementDigits(digits))
        ++integerLength;

    std::string integerText;
    std::string decimals;
    if (kept >= 0) {
        integerText = digits.substr(0, integerLength);
        decimals = digits.substr(integerLength);
    } else {
        integerText = digits + std::string(static_cast<std::size_t>(-kept), '0');
    }
    decimals.resize(kDecimals, '0');

    const bool isZero = integerText.find_first_not_of('0') == std::string::npos &&
                        decimals.find_first_not_of('0') == std::string::npos;
    if (isZero)
        return QStringLiteral("0.000");

    const auto firstSignificant = integerText.find_first_not_of('0');
    integerText = firstSignificant == std::string::npos ? "0" : integerText.substr(firstSignificant);
    std::string text = (value < 0 ? "-" : "") + integerText + "." + decimals;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<float> ReadDecimal(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;

    std::string ascii;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            ascii += '-';
        ++i;
    }
    auto isDigit = [&](qsizetype at) {
        return at < n && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };

    int mantissaDigits = 0;
    while (isDigit(i)) {
        ascii += static_cast<char>(text[i++].unicode());
        ++mantissaDigits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ascii += '.';
        ++i;
        while (isDigit(i)) {
            ascii += static_cast<char>(text[i++].unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ascii += static_cast<char>(text[i++].unicode());
        if (!isDigit(i))
            return std::nullopt;
        while (isDigit(i))
            ascii += static_cast<char>(text[i++].unicode());
    }
    if (i != n)
        return std::nullopt;

    float value = 0.0f;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
