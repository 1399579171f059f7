#pragma once

#include "register/featureextents.h"
#include "register/featuremeasurement.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QPushButton;
class QRect;
class QWidget;
class TFeatureRegister;
class TFeaturesForm;
class TOperatorDialogs;
class TPlotViews;
class TPartCoordinatesModel;
class TPointRegister;
class TStationAlignment;
class TStationConstructions;

// The window's features: the "Features" button and Ctrl+F that open the features window, the
// feature in progress fed by the points the device records, the fits from typed point numbers, the
// relations between two selected features, the constructions, the part alignments and the deletion of
// rows. Every message and
// question goes through the operator's dialogs; what was done is told in the status line.
class TStationFeatures : public QObject
{
    Q_OBJECT

public:
    // The features window is a tool window of window; btnFeatures is placed on window at its
    // reserved place.
    TStationFeatures(TFeatureRegister &features, TPointRegister &points, TOperatorDialogs &dialogs,
                     QWidget &window);
    ~TStationFeatures() override;

    void SetStatusReport(std::function<void(const QString &)> report) { m_statusReport = std::move(report); }
    // Gives each of these widgets (the tables, the views) "Features..." in its context menu.
    void AddToContextMenus(const QList<QWidget *> &widgets);

    // The views that draw the features; the drawing follows every change of the table and of its
    // selection, once the events of the change are done.
    void SetViews(TPlotViews *views) { m_views = views; }
    // Draws the features now.
    void DrawFeatures();

    TFeaturesForm *Form() const { return m_form; }
    TFeatureMeasurement &Measurement() { return m_measurement; }
    TStationConstructions &Constructions() { return *m_constructions; }
    TStationAlignment &Alignment() { return *m_alignment; }

    // Opens the features window beside the main window (or brings it to front).
    void ShowForm();
    // A point the device recorded, by its number, after it went into the point table.
    void PointRecorded(int number);
    // The point table and the features were emptied (Clear, New) or replaced (a load).
    void FeaturesReplaced();
    // The selected rows of the features table, in table order.
    QList<int> SelectedRows() const;

Q_SIGNALS:
    // The feature in progress with its point count ("Circle: 3 points (needs 3)"), empty for none.
    void ProgressChanged(const QString &text);

private:
    // The features to draw, or the one to highlight, changed.
    void DrawingChanged();
    void TypeClicked();
    void EndFeature();
    void AbandonFeature();
    void FitTyped();
    void Relate(bool angle);
    void DeleteSelected();
    void ShowOutcome(const TFeatureMeasurement::TOutcome &outcome);
    // No taller than the screen's available height, as far as the window's least height allows.
    void FitHeight(const QRect &available);
    void ShowProgress();
    void Report(const QString &text);

    TFeatureRegister &m_features;
    const TPointRegister &m_points;
    TOperatorDialogs &m_dialogs;
    TPlotViews *m_views = nullptr;
    bool m_drawingPending = false;
    TFeatureExtents m_extents;
    QWidget &m_window;
    TFeatureMeasurement m_measurement;
    TFeaturesForm *m_form = nullptr;
    QPushButton *m_button = nullptr;
    TStationConstructions *m_constructions = nullptr;
    // What sgFeatures shows: the table, in machine or part coordinates.
    TPartCoordinatesModel *m_shown = nullptr;
    TStationAlignment *m_alignment = nullptr;
    std::function<void(const QString &)> m_statusReport;
    bool m_placed = false;
};
