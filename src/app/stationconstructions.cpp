#include "app/stationconstructions.h"

#include "app/featuresform.h"
#include "common/operatordialogs.h"
#include "register/featureregister.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

TStationConstructions::TStationConstructions(TFeatureRegister &features, TFeaturesForm &form,
                                             TOperatorDialogs &dialogs, TSelectedRows selected,
                                             std::function<void(const QString &)> report, QObject *parent)
    : QObject(parent), m_features(features), m_form(form), m_dialogs(dialogs),
      m_selected(std::move(selected)), m_report(std::move(report)), m_constructor(features)
{
    connect(m_form.btnConstruct, &QPushButton::clicked, this, &TStationConstructions::Construct);
}

void TStationConstructions::Construct()
{
    const int chosen = m_form.cbConstruction->currentData().toInt();
    std::optional<TFeatureConstructor::TKind> kind;
    if (chosen >= 0 && chosen < TConstructionRecipe::KindCount)
        kind = static_cast<TFeatureConstructor::TKind>(chosen);
    const TFeatureConstructor::TConstructed made = m_constructor.Construct(kind, m_selected());
    if (!made.Added()) {
        m_dialogs.ShowMessage(made.message);
        return;
    }
    const QString name = m_features.Name(made.row);
    QString text =
        tr("%1 constructed: %2").arg(name, m_features.Table().Cell(TFeatureRegister::ColFrom, made.row));
    if (!made.message.isEmpty())
        text += QStringLiteral("; ") + made.message;
    if (m_report)
        m_report(text);
    // The new row alone is selected, whatever keys are held, so that it can be taken on at once.
    const QModelIndex first = m_form.sgFeatures->model()->index(made.row - 1, 0);
    m_form.sgFeatures->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect |
                                                                    QItemSelectionModel::Rows);
    m_form.sgFeatures->scrollTo(first);
}
