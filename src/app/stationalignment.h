#pragma once

#include "common/stationtypes.h"
#include "geometry/partalignment.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

class QAction;
class TAlignmentDialog;
class TFeatureRegister;
class TFeaturesForm;
class TOperatorDialogs;
class TPartCoordinatesModel;

// The features window's part alignments: btnAlign opens the alignment dialog, whose OK adds the AL row,
// makes it active and selects it; sbPartCoordinates shows sgFeatures through the part-coordinates model
// and the probe in part coordinates in stPartX, stPartY, stPartZ, while an alignment is active (with none
// it stays up and says why). The table's context menu makes an AL row the active one and adds the
// angle of a row to an axis of the active alignment, or a centre's position in part coordinates.
// The main window's readouts are never touched: the part readout is fed the same positions beside them.
class TStationAlignment : public QObject
{
    Q_OBJECT

public:
    using TSelectedRows = std::function<QList<int>()>;

    TStationAlignment(TFeatureRegister &features, TFeaturesForm &form, TPartCoordinatesModel &shown,
                      TOperatorDialogs &dialogs, TSelectedRows selected,
                      std::function<void(const QString &)> report, QObject *parent);

    // Every position the cycle shows, as the main window's readouts show it.
    void PositionShown(TPoint3 position);
    // The dialog while it is open, else none.
    TAlignmentDialog *Dialog() const;

private:
    void OpenDialog();
    void DialogDone(int result);
    void PartToggled(bool down);
    // The active alignment, or its row, may have changed: after the edits of the moment are done, Part
    // goes up if nothing is active any more and the readout and the menu follow the active one.
    void AlignmentsEdited();
    void Refresh();
    void ShowReadouts();
    void MakeActive();
    void AngleToAxis(int axis);
    void PositionInPart();
    // The one selected row, or 0 after telling what to select.
    int OneSelectedRow(const QString &forWhat);
    void Select(int row);
    void Report(const QString &text);

    TFeatureRegister &m_features;
    TFeaturesForm &m_form;
    TPartCoordinatesModel &m_shown;
    TOperatorDialogs &m_dialogs;
    TSelectedRows m_selected;
    std::function<void(const QString &)> m_report;
    QPointer<TAlignmentDialog> m_dialog;
    std::array<QAction *, 3> m_angleActions{};
    std::optional<TPartAlignment> m_frame;
    std::optional<TPoint3> m_position;
    bool m_refreshPending = false;
};
