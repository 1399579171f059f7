#pragma once

#include "register/featureconstructor.h"

#include <QList>
#include <QObject>
#include <functional>

class TFeatureRegister;
class TFeaturesForm;
class TOperatorDialogs;

// The features window's constructions: btnConstruct builds what cbConstruction names (or what the
// selected rows' types make) from the selected rows of sgFeatures, adds its row and selects it; a
// refusal is a message, what was made and the lines' gap are told in the status line.
class TStationConstructions : public QObject
{
    Q_OBJECT

public:
    using TSelectedRows = std::function<QList<int>()>;

    TStationConstructions(TFeatureRegister &features, TFeaturesForm &form, TOperatorDialogs &dialogs,
                          TSelectedRows selected, std::function<void(const QString &)> report,
                          QObject *parent);

    TFeatureConstructor &Constructor() { return m_constructor; }

private:
    void Construct();

    TFeatureRegister &m_features;
    TFeaturesForm &m_form;
    TOperatorDialogs &m_dialogs;
    TSelectedRows m_selected;
    std::function<void(const QString &)> m_report;
    TFeatureConstructor m_constructor;
};
