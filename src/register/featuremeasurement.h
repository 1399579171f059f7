#pragma once

#include "geometry/geometryfeature.h"
#include "geometry/probecompensation.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class TFeatureRegister;
class TTextTable;

// The feature being measured and the fits that add feature rows. While a type is chosen, every point
// the device records joins the feature in progress by its number; End fits the points as the point
// table holds them and adds the row, Abandon forgets them (they stay in the point table). A feature
// can also be fitted from typed point numbers. The points are always read from the point table's
// texts, so a feature is made from exactly what the table shows.
class TFeatureMeasurement
{
public:
    using TFit = std::function<TGeometryOutcome(TFeatureType, const TPointList &)>;
    // The direction the probe came from to a recorded point, by the point's number; none if unknown.
    using TApproachOf = std::function<std::optional<Eigen::Vector3d>(int number)>;

    // What a fit did: the row added, or why nothing was added. With a row, message may tell why
    // the feature was left as fitted to the ball centres.
    struct TOutcome
    {
        int row = 0;
        QString message;

        bool Added() const { return row > 0; }
    };

    // fit defaults to the station's least-squares fits.
    TFeatureMeasurement(TFeatureRegister &features, const TTextTable &points, TFit fit = {});

    // The type toggle: a type chosen, or none. A new type keeps the points collected so far (the
    // operator may have pressed the wrong one); none abandons the feature in progress.
    void SetType(std::optional<TFeatureType> type);
    std::optional<TFeatureType> Type() const { return m_type; }
    const QList<int> &Points() const { return m_points; }
    // A point the device recorded, by its number; ignored while no type is chosen.
    void PointRecorded(int number);
    // "Circle: 3 points (needs 3)", or what to do when no type is chosen.
    QString ProgressText() const;

    // Fits the feature in progress and adds its row; on success the next feature of the same type
    // starts empty. On a refusal the points stay, so the operator can record more.
    TOutcome End();
    void Abandon() { m_points.clear(); }
    // Fits the chosen type to the typed point numbers ("1-4, 9"); bad text, unknown numbers and a
    // refused fit are told and add nothing.
    TOutcome FitTyped(const QString &text);

    // The fit of one type to numbered points of the table, adding its row when it succeeds.
    TOutcome Fit(TFeatureType type, const QList<int> &numbers);

    // The probe's ball: every fit from now on is moved onto the surface on the side the approaches
    // say (diameter 0: the points are surface points).
    void SetProbe(double ballDiameter, TApproachOf approachOf);
    double BallDiameter() const { return m_ballDiameter; }
    // Fits a feature row again from its points with the operator's side (Inside, Outside, None, or
    // Auto from the approaches) and the ball as it is now; the row keeps its name and place.
    TOutcome Refit(int row, TProbeSide side);

private:
    TFeatureRegister &m_features;
    const TTextTable &m_pointTable;
    TFit m_fit;
    // The fitted feature on the surface, with the note of why not where it stays on the centres.
    TGeometryOutcome FitOnSurface(TFeatureType type, const TPointList &points, const QList<int> &numbers,
                                  TProbeSide side, QString &note) const;
    TOutcome FitRow(TFeatureType type, const QList<int> &numbers, TProbeSide side, int row);

    std::optional<TFeatureType> m_type;
    QList<int> m_points;
    double m_ballDiameter = 0.0;
    TApproachOf m_approachOf;
};
