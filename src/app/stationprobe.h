#pragma once

#include "common/stationtypes.h"
#include "geometry/approachtracker.h"
#include "geometry/probecompensation.h"
#include "register/texttable.h"

#include <QList>
#include <QObject>
#include <functional>
#include <optional>

class TFeatureMeasurement;
class TFeatureRegister;
class TFeaturesForm;
class TOperatorDialogs;
class TPointRegister;
class TSettingsFile;

// The probe's ball in the features window: the ball diameter the operator enters (kept in the settings
// file) or qualifies on a reference sphere, the approach direction of every recorded point (taken from
// the positions the cycle polls), and the side of a feature set by hand from the table's context menu.
// The fits themselves compensate (TFeatureMeasurement).
class TStationProbe : public QObject
{
    Q_OBJECT

public:
    // A monotonic clock in milliseconds; tests drive their own.
    using TClock = std::function<std::int64_t()>;
    using TSelectedRows = std::function<QList<int>()>;

    TStationProbe(TFeatureMeasurement &measurement, TFeatureRegister &features, const TPointRegister &points,
                  TFeaturesForm &form, TOperatorDialogs &dialogs, const TSettingsFile &settings,
                  TSelectedRows selected, QObject *parent);

    void SetClock(TClock clock) { m_clock = std::move(clock); }
    void SetStatusReport(std::function<void(const QString &)> report) { m_statusReport = std::move(report); }

    // The diameter read from the settings file at start-up.
    void SetBallDiameter(double diameter);
    double BallDiameter() const;

    // Every position the cycle shows, as the device sent it (calibrated when "Calibrated" is down).
    void PositionShown(TPoint3 position);
    // The point just recorded, at the position last shown.
    void PointRecorded(int number);
    // The point table was emptied or replaced: the directions belong to its old points.
    void PointsReplaced();

    std::optional<Eigen::Vector3d> Approach(int number) const;
    // The directions as texts, a row a point ("Pt", I, J, K with six decimals): what the project file
    // keeps and gives back.
    TTextTable &Approaches() { return m_approaches; }

    // The selected feature rows fitted again with the operator's side.
    void SetSide(TProbeSide side);
    // The ball diameter from the selected sphere and the reference sphere's diameter.
    void Qualify();

private:
    void DiameterEdited();
    void ApplyDiameter(double diameter);
    void Report(const QString &text);

    TFeatureMeasurement &m_measurement;
    TFeatureRegister &m_features;
    const TPointRegister &m_points;
    TFeaturesForm &m_form;
    TOperatorDialogs &m_dialogs;
    const TSettingsFile &m_settings;
    TSelectedRows m_selected;
    TClock m_clock;
    std::function<void(const QString &)> m_statusReport;
    TApproachTracker m_tracker;
    struct TShown
    {
        std::int64_t timeMs;
        Eigen::Vector3d position;
    };
    std::optional<TShown> m_lastShown;
    TTextTable m_approaches;
};
