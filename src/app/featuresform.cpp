#include "app/featuresform.h"

#include "register/featureconstructor.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr std::array kTypeNames{"sbFeatLine",     "sbFeatPlane", "sbFeatCircle", "sbFeatSphere",
                                "sbFeatCylinder", "sbFeatCone",  "sbFeatPoint"};
constexpr std::array kTypeCaptions{"Line", "Plane", "Circle", "Sphere", "Cylinder", "Cone", "Point"};

QPushButton *Button(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFeaturesForm::TFeaturesForm(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FeaturesForm"));
    setWindowTitle(tr("Features"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto *types = new QHBoxLayout;
    types->setSpacing(4);
    for (int i = 0; i < TypeCount; ++i) {
        sbFeatType[i] = Button(kTypeNames[i], tr(kTypeCaptions[i]), this);
        sbFeatType[i]->setCheckable(true);
        sbFeatType[i]->setToolTip(tr("Measure a %1: the points recorded while this is down make it up; press "
                                     "it again to stop")
                                      .arg(tr(kTypeCaptions[i]).toLower()));
        types->addWidget(sbFeatType[i]);
    }
    types->addStretch();
    layout->addLayout(types);

    auto *progress = new QHBoxLayout;
    stFeatureProgress = new QLabel(this);
    stFeatureProgress->setObjectName(QStringLiteral("stFeatureProgress"));
    stFeatureProgress->setMinimumWidth(260);
    progress->addWidget(stFeatureProgress, 1);
    btnEndFeature = Button("btnEndFeature", tr("End"), this);
    btnEndFeature->setToolTip(tr("Fit the feature to its points and add it to the table (Enter); Esc "
                                 "abandons it"));
    progress->addWidget(btnEndFeature);
    layout->addLayout(progress);

    auto *probe = new QHBoxLayout;
    auto *ballLabel = new QLabel(tr("Ball diameter (mm):"), this);
    probe->addWidget(ballLabel);
    edProbeDiameter = new QLineEdit(QStringLiteral("0.000"), this);
    edProbeDiameter->setObjectName(QStringLiteral("edProbeDiameter"));
    edProbeDiameter->setMaximumWidth(70);
    edProbeDiameter->setToolTip(
        tr("The probe's ball diameter: features are moved onto the surface on the side "
           "the probe came from; 0 when the points are surface points"));
    ballLabel->setBuddy(edProbeDiameter);
    probe->addWidget(edProbeDiameter);
    probe->addSpacing(12);
    auto *referenceLabel = new QLabel(tr("Reference sphere (mm):"), this);
    probe->addWidget(referenceLabel);
    edReferenceSphere = new QLineEdit(this);
    edReferenceSphere->setObjectName(QStringLiteral("edReferenceSphere"));
    edReferenceSphere->setMaximumWidth(70);
    edReferenceSphere->setToolTip(tr("The calibrated diameter of the reference sphere"));
    referenceLabel->setBuddy(edReferenceSphere);
    probe->addWidget(edReferenceSphere);
    btnQualify = Button("btnQualify", tr("Qualify"), this);
    btnQualify->setToolTip(tr("Set the ball diameter from the selected sphere measured on the reference "
                              "sphere: its fitted diameter less the reference's"));
    probe->addWidget(btnQualify);
    probe->addStretch();
    layout->addLayout(probe);

    auto *typed = new QHBoxLayout;
    auto *pointsLabel = new QLabel(tr("Points:"), this);
    typed->addWidget(pointsLabel);
    edFeaturePoints = new QLineEdit(this);
    edFeaturePoints->setObjectName(QStringLiteral("edFeaturePoints"));
    edFeaturePoints->setPlaceholderText(QStringLiteral("1-4, 9"));
    edFeaturePoints->setToolTip(tr("Numbers of recorded points to fit the chosen type to"));
    pointsLabel->setBuddy(edFeaturePoints);
    typed->addWidget(edFeaturePoints, 1);
    btnFitFeature = Button("btnFitFeature", tr("Fit"), this);
    btnFitFeature->setToolTip(tr("Fit the chosen type to the numbered points and add it to the table"));
    typed->addWidget(btnFitFeature);
    layout->addLayout(typed);

    sgFeatures = new QTableView(this);
    sgFeatures->setObjectName(QStringLiteral("sgFeatures"));
    sgFeatures->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgFeatures->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sgFeatures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgFeatures->verticalHeader()->hide();
    sgFeatures->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgFeatures->verticalHeader()->setDefaultSectionSize(17);
    sgFeatures->setMinimumHeight(220);
    sgFeatures->setToolTip(tr("The features: select two (Ctrl+click) for a distance or an angle; Delete "
                              "deletes the selected ones"));
    layout->addWidget(sgFeatures, 1);

    auto *relations = new QHBoxLayout;
    relations->addWidget(new QLabel(tr("Two selected features:"), this));
    btnFeatDistance = Button("btnFeatDistance", tr("Distance"), this);
    btnFeatAngle = Button("btnFeatAngle", tr("Angle"), this);
    btnFeatDistance->setToolTip(tr("Add the distance between the two selected features"));
    btnFeatAngle->setToolTip(tr("Add the angle between the two selected features"));
    relations->addWidget(btnFeatDistance);
    relations->addWidget(btnFeatAngle);
    relations->addSpacing(16);
    auto *constructLabel = new QLabel(tr("Construct:"), this);
    relations->addWidget(constructLabel);
    cbConstruction = new QComboBox(this);
    cbConstruction->setObjectName(QStringLiteral("cbConstruction"));
    cbConstruction->addItem(tr("What the selection makes"), -1);
    for (int kind = 0; kind < TConstructionRecipe::KindCount; ++kind)
        cbConstruction->addItem(TFeatureConstructor::Caption(static_cast<TConstructionRecipe::TKind>(kind)),
                                kind);
    cbConstruction->setToolTip(tr("The feature to construct from the selected rows; the first entry "
                                  "takes what their types make"));
    constructLabel->setBuddy(cbConstruction);
    relations->addWidget(cbConstruction);
    btnConstruct = Button("btnConstruct", tr("Construct"), this);
    btnConstruct->setToolTip(tr("Add the constructed feature to the table; its From names the features it "
                                "was made from"));
    relations->addWidget(btnConstruct);
    relations->addStretch();
    layout->addLayout(relations);

    auto *part = new QHBoxLayout;
    btnAlign = Button("btnAlign", tr("Align..."), this);
    btnAlign->setToolTip(tr("Make a part alignment from a plane or an axis, a line and a centre of the "
                            "table"));
    part->addWidget(btnAlign);
    sbPartCoordinates = Button("sbPartCoordinates", tr("Part"), this);
    sbPartCoordinates->setCheckable(true);
    part->addWidget(sbPartCoordinates);
    part->addSpacing(12);
    const std::array<std::pair<const char *, QLabel **>, 3> readouts{
        {{"stPartX", &stPartX}, {"stPartY", &stPartY}, {"stPartZ", &stPartZ}}};
    const QFontMetrics metrics(font());
    for (const auto &[name, readout] : readouts) {
        part->addWidget(new QLabel(QStringLiteral("%1:").arg(QLatin1Char(name[6])), this));
        *readout = new QLabel(this);
        (*readout)->setObjectName(QLatin1String(name));
        (*readout)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        (*readout)->setFrameShape(QFrame::StyledPanel);
        (*readout)->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("-10000.000")) + 10);
        (*readout)->setToolTip(tr("The probe in part coordinates while Part is down"));
        part->addWidget(*readout);
    }
    part->addStretch();
    layout->addLayout(part);
}

void TFeaturesForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focusWidget() == edFeaturePoints)
            Q_EMIT FitRequested();
        else
            Q_EMIT EndRequested();
        event->accept();
        return;
    case Qt::Key_Escape:
        Q_EMIT AbandonRequested();
        event->accept();
        return;
    case Qt::Key_Delete:
        Q_EMIT DeleteRequested();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
