#pragma once

#include "common/calibration.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the station keeps between runs: the serial port number and the calibration.
struct TStationSettings
{
    quint16 PortNumber = 99;
    TCalibration Calibration;
    // The probe's ball diameter in millimetres; 0 when the recorded points are surface points.
    double BallDiameter = 0.0;
    // The values of the file that could not be used and were replaced by their defaults, as
    // "Theta X = 80" for the operator; empty when all was well.
    QStringList Replaced;

    friend bool operator==(const TStationSettings &, const TStationSettings &) = default;
};

// The settings file "Qintar_54_Setup.ini", one per machine: in the Windows directory on Windows, in the
// user's configuration folder elsewhere (QStandardPaths::GenericConfigLocation, which follows
// XDG_CONFIG_HOME), never in the working directory.
//
//   [USB Comms]      Port Number        decimal, or hexadecimal after "0x"/"0X"; 0..65535, default 99
//   [Scale Factors]  Alpha X, Y, Z      reals, default 1
//   [Offset Angles]  Theta X, Y, Z      reals in degrees, default 0
//   [Probe]          Ball Diameter      real in millimetres, 0 or more, default 0
//
// A key that is absent, empty or not a number of its kind gives its default, without a message. Reals
// are read with a point as decimal mark or, failing that, with the decimal mark of the locale in force,
// and written with a point, so the file reads the same whatever the machine's language.
class TSettingsFile
{
public:
    // The Save buttons' tags: 1..3 the scale factors, 4..6 the angles.
    enum TTag
    {
        tAlphaX = 1,
        tAlphaY,
        tAlphaZ,
        tThetaX,
        tThetaY,
        tThetaZ,
    };

    static constexpr quint16 kDefaultPortNumber = 99;

    static QString FileName();
    // The file in its folder for this machine; empty when the platform names no such folder.
    static QString DefaultPath();

    TSettingsFile();
    explicit TSettingsFile(QString path);

    const QString &Path() const { return m_path; }

    // Never fails: a missing or unreadable file gives every default. Theta X and theta Y that would
    // leave 1 - sin²(theta x) - sin²(theta y) below zero (the corrected Z would be the root of a
    // negative number) both fall back to their default and are listed in Replaced; theta Z plays no
    // part there and is kept.
    TStationSettings LoadSettings() const;

    // The message that tells the operator, once at start-up, which values were replaced.
    static QString ReplacedMessage(const QStringList &replaced);

    // Writes the one value that belongs to the tag, as "%.15g" of the single-precision value taken as
    // double (89.81 is written 89.8099975585938); another tag writes nothing. No value on success,
    // otherwise the error text for the operator ("Unable to write to Qintar_54_Setup.ini").
    std::optional<QString> WriteValue(int tag, float value) const;
    // Writes Port Number (in decimal), the operator's choice of "Use this port from now on"; no value
    // on success, otherwise the error text for the operator.
    std::optional<QString> WritePortNumber(quint16 number) const;
    // Writes Ball Diameter, as "%.15g"; a negative or non-finite diameter is not written. No value on
    // success, otherwise the error text for the operator.
    std::optional<QString> WriteBallDiameter(double diameter) const;

    // The text forms of the file, public for the tests.
    static QString FormatReal(float value);
    static std::optional<quint16> ParsePortNumber(const QString &text);
    static std::optional<float> ParseReal(const QString &text);

private:
    QString m_path;
};
