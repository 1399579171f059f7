#pragma once

#include "geometry/geometryfeature.h"
#include "register/featureconstructor.h"
#include "register/featureregister.h"

#include <QList>
#include <QSet>
#include <QString>
#include <functional>

class TTextTable;

// The next part measured by the plan of the first: the features fitted to points, in the order of the
// features table, each taking as many points as it had. The points the device records join the feature
// in hand; once it has its points it is fitted to them, its row takes the new part's values, the
// relations and constructions whose features are all measured again (or worked out again) are worked
// out anew, and the guide moves on.
//
// Until a feature is measured again its row keeps the last part's values (the views show where to
// probe), but it is not fresh: the characteristics take nothing from it.
class TGuidedPlan
{
public:
    using TFit = std::function<TGeometryOutcome(TFeatureType, const TPointList &)>;

    struct TStep
    {
        QString name;
        TFeatureType type = TFeatureType::Point;
        int points = 0;
    };

    struct TOutcome
    {
        // The feature in hand was fitted (or refused: message says why, and its points start again).
        bool fitted = false;
        QString message;
    };

    // fit defaults to the station's least-squares fits.
    TGuidedPlan(TFeatureRegister &features, const TTextTable &points, TFit fit = {});

    // Takes the plan from the features table; false with the reason when it has no fitted feature.
    bool Start(QString *problem = nullptr);
    void Stop();
    bool Active() const { return m_active; }
    bool Done() const { return m_active && m_current >= m_steps.size(); }
    const QList<TStep> &Steps() const { return m_steps; }
    // The feature in hand, or empty when the plan is done or not running.
    QString CurrentName() const;
    // "C1 Circle: point 2 of 4", "Plan done: 3 features measured, 1 skipped".
    QString GuideText() const;

    TOutcome PointRecorded(int number);
    // Leaves the feature in hand unmeasured and moves on.
    void Skip();
    // Takes the feature in hand's points again.
    void Redo() { m_taken.clear(); }

    // Whether the row holds this part's values: every row does while no plan runs; in a plan, a feature
    // measured in it, and a relation or a construction worked out from such.
    bool IsFresh(const QString &name) const;

private:
    void Relate();

    TFeatureRegister &m_features;
    const TTextTable &m_points;
    TFit m_fit;
    TFeatureConstructor m_constructor;
    QList<TStep> m_steps;
    qsizetype m_current = 0;
    QList<int> m_taken;
    QSet<QString> m_fresh;
    int m_skipped = 0;
    bool m_active = false;
};
