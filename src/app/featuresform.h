#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The "Features" tool window beside the main window: the type toggles, the feature in progress with
// its End button, the typed point numbers with Fit, the features table, the relation buttons, the
// constructions and the part alignment with its readout. It only holds the controls and turns the keys
// into signals; TStationFeatures wires it to the logic.
//
// Enter fits (the typed numbers when their box has the focus, else the feature in progress), Esc
// abandons the feature in progress, Delete asks to delete the selected rows of the table.
class TFeaturesForm : public QWidget
{
    Q_OBJECT

public:
    // The toggles in the order of the types Line, Plane, Circle, Sphere, Cylinder, Cone, Point (one
    // recorded point used as a feature).
    static constexpr int TypeCount = 7;

    explicit TFeaturesForm(QWidget *parent);

    std::array<QPushButton *, TypeCount> sbFeatType{};
    QLabel *stFeatureProgress = nullptr;
    QPushButton *btnEndFeature = nullptr;
    QLineEdit *edFeaturePoints = nullptr;
    QPushButton *btnFitFeature = nullptr;
    QTableView *sgFeatures = nullptr;
    QPushButton *btnFeatDistance = nullptr;
    QPushButton *btnFeatAngle = nullptr;
    // The construction from the selected rows: the first entry lets the station pick it.
    QComboBox *cbConstruction = nullptr;
    QPushButton *btnConstruct = nullptr;
    // The part alignment: Align opens its dialog; Part (a toggle) shows the table and the probe's own
    // readout in part coordinates.
    QPushButton *btnAlign = nullptr;
    QPushButton *sbPartCoordinates = nullptr;
    QLabel *stPartX = nullptr;
    QLabel *stPartY = nullptr;
    QLabel *stPartZ = nullptr;
    // The probe: the ball diameter (0: the points are surface points) and its qualification on a
    // reference sphere.
    QLineEdit *edProbeDiameter = nullptr;
    QLineEdit *edReferenceSphere = nullptr;
    QPushButton *btnQualify = nullptr;

Q_SIGNALS:
    void EndRequested();
    void FitRequested();
    void AbandonRequested();
    void DeleteRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
