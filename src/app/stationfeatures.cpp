#include "app/stationfeatures.h"

#include "app/featuresform.h"
#include "app/stationalignment.h"
#include "app/stationconstructions.h"
#include "app/togglegroup.h"
#include "common/operatordialogs.h"
#include "plots/plotviews.h"
#include "register/featureregister.h"
#include "register/partcoordinatesmodel.h"
#include "register/pointnumbers.h"
#include "register/pointregister.h"

#include <QAction>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <algorithm>
#include <array>

namespace {

// The reserved place of the button, in the strip between the second row of groups and the views.
const QRect kButtonPlace(8, 107, 80, 21);
constexpr std::array kToggleTypes{TFeatureType::Line,   TFeatureType::Plane,    TFeatureType::Circle,
                                  TFeatureType::Sphere, TFeatureType::Cylinder, TFeatureType::Cone,
                                  TFeatureType::Point};
// The widest text each column is made for: a name, a type, a list of points, a construction's
// recipe or what fixes an alignment, millimetres, cosines, a size, a form error and an apex angle.
constexpr std::array kColumnSamples{"Feature",   "Alignment", "Z: PL1, X: L1, origin: C1 (Z: PL1)",
                                    "-1000.000", "-1000.000", "-1000.000",
                                    "-0.000000", "-0.000000", "-0.000000",
                                    "1000.000",  "10.000",    "179.000"};
// Between the main window and the features window.
constexpr int kWindowGap = 8;

} // namespace

TStationFeatures::TStationFeatures(TFeatureRegister &features, TPointRegister &points,
                                   TOperatorDialogs &dialogs, QWidget &window)
    : QObject(&window), m_features(features), m_points(points), m_dialogs(dialogs), m_window(window),
      m_measurement(features, points.Data())
{
    m_button = new QPushButton(tr("Features"), &window);
    m_button->setObjectName(QStringLiteral("btnFeatures"));
    m_button->setGeometry(kButtonPlace);
    m_button->setToolTip(tr("Open the features window: fit lines, planes, circles, spheres, cylinders and "
                            "cones to recorded points (Ctrl+F)"));
    connect(m_button, &QPushButton::clicked, this, &TStationFeatures::ShowForm);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), &window);
    shortcut->setObjectName(QStringLiteral("scFeatures"));
    connect(shortcut, &QShortcut::activated, this, &TStationFeatures::ShowForm);

    m_form = new TFeaturesForm(&window);
    auto *shortcutInForm = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), m_form);
    connect(shortcutInForm, &QShortcut::activated, this, &TStationFeatures::ShowForm);
    m_shown = new TPartCoordinatesModel(m_features, this);
    m_form->sgFeatures->setModel(m_shown);
    // Sized from the font, so that no value is cut off whatever font the platform gives.
    const QFontMetrics metrics(m_form->sgFeatures->font());
    int tableWidth = 0;
    for (int column = 0; column < static_cast<int>(kColumnSamples.size()); ++column) {
        const int width = metrics.horizontalAdvance(QLatin1String(kColumnSamples[column])) + 12;
        m_form->sgFeatures->setColumnWidth(column, width);
        tableWidth += width;
    }
    m_form->resize(tableWidth + 40, 410);

    auto *group = new TToggleGroup(this);
    for (QPushButton *button : m_form->sbFeatType)
        group->Add(button);
    connect(group, &TToggleGroup::Clicked, this, &TStationFeatures::TypeClicked);
    connect(m_form->btnEndFeature, &QPushButton::clicked, this, &TStationFeatures::EndFeature);
    connect(m_form, &TFeaturesForm::EndRequested, this, &TStationFeatures::EndFeature);
    connect(m_form, &TFeaturesForm::AbandonRequested, this, &TStationFeatures::AbandonFeature);
    connect(m_form->btnFitFeature, &QPushButton::clicked, this, &TStationFeatures::FitTyped);
    connect(m_form, &TFeaturesForm::FitRequested, this, &TStationFeatures::FitTyped);
    connect(m_form, &TFeaturesForm::DeleteRequested, this, &TStationFeatures::DeleteSelected);
    connect(m_form->btnFeatDistance, &QPushButton::clicked, this, [this] { Relate(false); });
    connect(m_form->btnFeatAngle, &QPushButton::clicked, this, [this] { Relate(true); });
    connect(m_form->sgFeatures->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { DrawingChanged(); });
    connect(&m_features.Table(), &QAbstractItemModel::dataChanged, this, [this] { DrawingChanged(); });
    m_constructions = new TStationConstructions(
        features, *m_form, dialogs, [this] { return SelectedRows(); },
        [this](const QString &text) { Report(text); }, this);
    m_alignment = new TStationAlignment(
        features, *m_form, *m_shown, dialogs, [this] { return SelectedRows(); },
        [this](const QString &text) { Report(text); }, this);
    ShowProgress();
}

TStationFeatures::~TStationFeatures() = default;

void TStationFeatures::AddToContextMenus(const QList<QWidget *> &widgets)
{
    for (QWidget *widget : widgets) {
        auto *action = new QAction(tr("Features..."), widget);
        action->setObjectName(widget->objectName() + QStringLiteral("Features"));
        connect(action, &QAction::triggered, this, &TStationFeatures::ShowForm);
        widget->addAction(action);
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
}

void TStationFeatures::FitHeight(const QRect &available)
{
    // A screen lower than the window: its tables and the run chart take less room.
    const int frame = m_form->frameGeometry().height() - m_form->height();
    if (m_form->frameGeometry().height() > available.height())
        m_form->resize(m_form->width(),
                       std::max(m_form->minimumSizeHint().height(), available.height() - frame));
}

void TStationFeatures::ShowForm()
{
    if (!m_placed) {
        // Beside the main window on the right where the screen has room, else on the left; on a
        // screen too narrow for either, in its bottom right corner, where it leaves the main window's
        // readouts, buttons and most of its views in sight.
        m_placed = true;
        const QRect main = m_window.frameGeometry();
        const QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
        const QRect available =
            screen ? screen->availableGeometry() : QRect(main.topLeft(), QSize(4000, 4000));
        FitHeight(available);
        const QSize size = m_form->frameGeometry().size();
        QPoint place(main.right() + kWindowGap, main.top());
        if (place.x() + size.width() > available.right()) {
            place.setX(main.left() - kWindowGap - size.width());
            if (place.x() < available.left())
                place = QPoint(available.right() - size.width(), available.bottom() - size.height());
        }
        place.setX(std::clamp(place.x(), available.left(),
                              std::max(available.left(), available.right() - size.width())));
        place.setY(std::clamp(place.y(), available.top(),
                              std::max(available.top(), available.bottom() - size.height())));
        m_form->move(place);
        m_form->show();
        // Only a shown window has its frame.
        FitHeight(available);
        if (m_form->frameGeometry().bottom() > available.bottom())
            m_form->move(m_form->x(),
                         std::max(available.top(),
                                  m_form->y() - (m_form->frameGeometry().bottom() - available.bottom())));
    }
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
}

void TStationFeatures::TypeClicked()
{
    std::optional<TFeatureType> type;
    for (std::size_t i = 0; i < kToggleTypes.size(); ++i)
        if (m_form->sbFeatType[i]->isChecked())
            type = kToggleTypes[i];
    m_measurement.SetType(type);
    ShowProgress();
}

void TStationFeatures::PointRecorded(int number)
{
    if (!m_measurement.Type())
        return;
    m_measurement.PointRecorded(number);
    ShowProgress();
}

void TStationFeatures::ShowProgress()
{
    m_form->stFeatureProgress->setText(m_measurement.ProgressText());
    m_form->btnEndFeature->setEnabled(m_measurement.Type().has_value());
    Q_EMIT ProgressChanged(m_measurement.Type() ? m_measurement.ProgressText() : QString());
}

void TStationFeatures::Report(const QString &text)
{
    if (m_statusReport)
        m_statusReport(text);
}

void TStationFeatures::ShowOutcome(const TFeatureMeasurement::TOutcome &outcome)
{
    if (!outcome.Added()) {
        m_dialogs.ShowMessage(outcome.message);
        return;
    }
    const QString name = m_features.Name(outcome.row);
    const QString size = m_features.Table().Cell(TFeatureRegister::ColSize, outcome.row);
    QString text =
        size.isEmpty() ? tr("Feature %1 added").arg(name) : tr("Feature %1 added: size %2").arg(name, size);
    if (!outcome.message.isEmpty())
        text += QStringLiteral("; ") + outcome.message;
    Report(text);
    m_form->sgFeatures->scrollTo(m_shown->index(outcome.row - 1, 0));
}

void TStationFeatures::EndFeature()
{
    ShowOutcome(m_measurement.End());
    ShowProgress();
}

void TStationFeatures::AbandonFeature()
{
    if (m_measurement.Points().isEmpty())
        return;
    m_measurement.Abandon();
    ShowProgress();
    Report(tr("Feature abandoned; its points stay in the point table"));
}

void TStationFeatures::FitTyped()
{
    const auto outcome = m_measurement.FitTyped(m_form->edFeaturePoints->text());
    ShowOutcome(outcome);
}

QList<int> TStationFeatures::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_form->sgFeatures->selectionModel()->selectedRows())
        if (!m_features.Table().IsRowFree(index.row() + 1))
            rows.append(index.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TStationFeatures::Relate(bool angle)
{
    const QList<int> rows = SelectedRows();
    const QString what = angle ? tr("an angle") : tr("a distance");
    if (rows.size() != 2) {
        m_dialogs.ShowMessage(
            tr("Select two features in the table (click one, Ctrl+click the other) for %1.").arg(what));
        return;
    }
    using TKind = TFeatureRegister::TKind;
    const auto related = m_features.Relate(angle ? TKind::Angle : TKind::Distance, rows[0], rows[1]);
    if (!related.row) {
        m_dialogs.ShowMessage(related.message);
        return;
    }
    Report(tr("%1 added: %2")
               .arg(m_features.Name(related.row),
                    m_features.Table().Cell(TFeatureRegister::ColSize, related.row)));
    m_form->sgFeatures->scrollTo(m_shown->index(related.row - 1, 0));
}

void TStationFeatures::DeleteSelected()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty())
        return;
    QStringList names;
    for (int row : rows)
        names.append(m_features.Name(row));
    const QString question = rows.size() == 1
                                 ? tr("Delete feature %1?").arg(names.first())
                                 : tr("Delete the %1 features %2?").arg(rows.size()).arg(names.join(", "));
    if (!m_dialogs.AskYesNo(question, TOperatorDialogs::TStyle::Warning))
        return;
    // From the bottom up, so that the rows still to go keep their places.
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        m_features.DeleteRow(*row);
    m_form->sgFeatures->clearSelection();
    Report(tr("Deleted %1").arg(names.join(", ")));
}

void TStationFeatures::FeaturesReplaced()
{
    m_measurement.Abandon();
    m_form->sgFeatures->clearSelection();
    ShowProgress();
    DrawingChanged();
}

void TStationFeatures::DrawingChanged()
{
    // A row is written cell by cell: draw once, when the change is complete.
    if (m_drawingPending || !m_views)
        return;
    m_drawingPending = true;
    QMetaObject::invokeMethod(this, &TStationFeatures::DrawFeatures, Qt::QueuedConnection);
}

void TStationFeatures::DrawFeatures()
{
    m_drawingPending = false;
    if (!m_views)
        return;
    const QList<int> selected = SelectedRows();
    std::vector<TPlotViews::TDrawnFeature> drawn;
    QList<QStringList> rows;
    for (int row = 1; row <= m_features.FeatureCount(); ++row) {
        const auto feature = m_features.Feature(row);
        if (!feature)
            continue;
        const auto source = m_features.Source(row);
        rows.append(m_features.Table().RowTexts(row));
        TPointList points =
            m_extents.PointsFor(rows.back(), TPointNumbers::Find(m_points.Data(), source->points));
        drawn.push_back({*feature, std::move(points), selected.contains(row)});
    }
    m_extents.Keep(rows);
    m_views->ShowFeatures(drawn);
}
