#include "app/settingsfile.h"

#include "app/profilefile.h"
#include "common/coordinatetext.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

const QString kUsbComms = QStringLiteral("USB Comms");
const QString kPortNumber = QStringLiteral("Port Number");
const QString kProbe = QStringLiteral("Probe");
const QString kBallDiameter = QStringLiteral("Ball Diameter");

struct TRealKey
{
    const char *Section;
    const char *Key;
};

// Indexed by tag - 1.
constexpr std::array<TRealKey, 6> kRealKeys = {{
    {"Scale Factors", "Alpha X"},
    {"Scale Factors", "Alpha Y"},
    {"Scale Factors", "Alpha Z"},
    {"Offset Angles", "Theta X"},
    {"Offset Angles", "Theta Y"},
    {"Offset Angles", "Theta Z"},
}};

QString SettingsFolder()
{
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(buffer, static_cast<qsizetype>(length)));
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

float ReadReal(const TProfileFile &file, const TRealKey &key, float fallback)
{
    const auto text = file.ReadValue(QLatin1String(key.Section), QLatin1String(key.Key));
    if (!text)
        return fallback;
    return TSettingsFile::ParseReal(*text).value_or(fallback);
}

} // namespace

QString TSettingsFile::FileName()
{
    return QStringLiteral("Qintar_54_Setup.ini");
}

QString TSettingsFile::DefaultPath()
{
    const QString folder = SettingsFolder();
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(FileName());
}

TSettingsFile::TSettingsFile() : m_path(DefaultPath()) {}

TSettingsFile::TSettingsFile(QString path) : m_path(std::move(path)) {}

TStationSettings TSettingsFile::LoadSettings() const
{
    TStationSettings settings;
    if (m_path.isEmpty())
        return settings;
    const TProfileFile file(m_path);

    if (const auto port = file.ReadValue(kUsbComms, kPortNumber))
        settings.PortNumber = ParsePortNumber(*port).value_or(kDefaultPortNumber);

    TCalibration &c = settings.Calibration;
    c.AlphaX = ReadReal(file, kRealKeys[0], c.AlphaX);
    c.AlphaY = ReadReal(file, kRealKeys[1], c.AlphaY);
    c.AlphaZ = ReadReal(file, kRealKeys[2], c.AlphaZ);
    c.ThetaX = ReadReal(file, kRealKeys[3], c.ThetaX);
    c.ThetaY = ReadReal(file, kRealKeys[4], c.ThetaY);
    c.ThetaZ = ReadReal(file, kRealKeys[5], c.ThetaZ);

    if (const auto ball = file.ReadValue(kProbe, kBallDiameter)) {
        const auto diameter = ParseReal(*ball);
        if (diameter && std::isfinite(*diameter) && *diameter >= 0)
            settings.BallDiameter = static_cast<double>(*diameter);
    }

    if (!c.IsUsable()) {
        const TCalibration defaults;
        settings.Replaced = {QStringLiteral("Theta X = %1").arg(FormatReal(c.ThetaX)),
                             QStringLiteral("Theta Y = %1").arg(FormatReal(c.ThetaY))};
        c.ThetaX = defaults.ThetaX;
        c.ThetaY = defaults.ThetaY;
    }
    return settings;
}

QString TSettingsFile::ReplacedMessage(const QStringList &replaced)
{
    return QStringLiteral("The calibration in %1 cannot be used as it is (the angles leave no real Z). "
                          "These values were replaced by their defaults:\r%2")
        .arg(FileName(), replaced.join(QLatin1Char('\r')));
}

std::optional<QString> TSettingsFile::WriteValue(int tag, float value) const
{
    if (tag < tAlphaX || tag > tThetaZ)
        return std::nullopt;
    const TRealKey &key = kRealKeys[static_cast<std::size_t>(tag - 1)];
    TProfileFile file(m_path);
    if (!std::isfinite(value) || m_path.isEmpty() ||
        !file.WriteValue(QLatin1String(key.Section), QLatin1String(key.Key), FormatReal(value)))
        return QStringLiteral("Unable to write to %1").arg(FileName());
    return std::nullopt;
}

std::optional<QString> TSettingsFile::WritePortNumber(quint16 number) const
{
    TProfileFile file(m_path);
    if (m_path.isEmpty() || !file.WriteValue(kUsbComms, kPortNumber, QString::number(number)))
        return QStringLiteral("Unable to write to %1").arg(FileName());
    return std::nullopt;
}

std::optional<QString> TSettingsFile::WriteBallDiameter(double diameter) const
{
    TProfileFile file(m_path);
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), diameter, std::chars_format::general, 15);
    if (!std::isfinite(diameter) || diameter < 0 || m_path.isEmpty() ||
        !file.WriteValue(kProbe, kBallDiameter,
                         QString::fromLatin1(buffer.data(), result.ptr - buffer.data())))
        return QStringLiteral("Unable to write to %1").arg(FileName());
    return std::nullopt;
}

QString TSettingsFile::FormatReal(float value)
{
    // to_chars with a precision behaves as printf's "%.15g", but never follows the C locale.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      static_cast<double>(value), std::chars_format::general, 15);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

std::optional<quint16> TSettingsFile::ParsePortNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qulonglong number = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = trimmed.sliced(2);
        const bool hexDigits = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                   (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
        });
        if (hexDigits)
            number = digits.toULongLong(&ok, 16);
    } else {
        const bool decimalDigits =
            !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) {
                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
            });
        if (decimalDigits)
            number = trimmed.toULongLong(&ok, 10);
    }
    if (!ok || number > 65535)
        return std::nullopt;
    return static_cast<quint16>(number);
}

std::optional<float> TSettingsFile::ParseReal(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (const auto value = ReadDecimal(trimmed))
        return value;
    const QString mark = QLocale().decimalPoint();
    if (mark == QLatin1String(".") || !trimmed.contains(mark))
        return std::nullopt;
    QString withPoint = trimmed;
    withPoint.replace(mark, QLatin1String("."));
    return ReadDecimal(withPoint);
}
