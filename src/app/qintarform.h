#pragma once

// serial port -> TPortManagerRS232 -> USBSuccess -> point table + views -> project files
//
// The device's replies arrive through the port manager USB on the UI thread; USBSuccess turns each one
// into the live readouts and marker and, when the device signals a point, a new row of sgData and a
// mark in the four views. The operator derives distances and angles by picking marks, and the three
// tables go to a project file in DataDirectory. The window only wires: every decision is made by the
// classes it calls.

#include "app/measurementcycle.h"
#include "app/settingsfile.h"
#include "app/stationmeasuring.h"
#include "common/calibration.h"
#include "register/featureregister.h"
#include "register/pointregister.h"

#include <QString>
#include <QWidget>
#include <memory>

class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableView;
class QTimer;
class TMaintenanceArea;
class TDerivations;
class TExportActions;
class TOperatorDialogs;
class TPlotViews;
class TPortManagerRS232;
class TPortSetUp;
class TPointPicker;
class TStationViews;
class TJournal;
class TStationFiles;
class TStationJournal;
class TStationLink;
class TStatusLine;
class TTextTable;
class TToggleGroup;
class TUnsavedChanges;
class TViewEngine;
class TViewPickPlots;
namespace Ui {
class TQintarForm;
}

class TQintarForm : public QWidget
{
    Q_OBJECT

public:
    // dialogs answers every question and plays every sound; without one the window uses the
    // station's message boxes and sounds. It must outlive the window.
    explicit TQintarForm(TOperatorDialogs *dialogs = nullptr, QWidget *parent = nullptr);
    ~TQintarForm() override;

    QString WorkingDirectory() const { return m_workingDirectory; }
    // WorkingDirectory + "/Data", with the platform's separators.
    QString DataDirectory() const;
    QString NextCommand() const { return QString::fromLatin1(m_cycle.NextCommand()); }
    int PointCount() const { return m_register.PointCount(); }
    bool ShuttingDown() const { return m_shuttingDown; }
    int ChartWidth() const { return m_chartWidth; }
    int ChartHeight() const { return m_chartHeight; }
    const TCalibration &Calibration() const { return m_calibration; }
    quint16 PortNumber() const { return m_portNumber; }
    // The port for this run instead of the settings file's (the command line's --port); the file keeps
    // its own.
    void UsePortNumber(quint16 portNumber);

    // The work journal of this run (none when the Data folder could not be made).
    TJournal *Journal() const;

    bool HasProjectName() const;
    static QString DefaultProjectName();
    // True when row 1 of the point table holds a point.
    bool HasMeasuredData() const;
    // The features table: fitted features and their relations, beside the point table.
    const TFeatureRegister &FeatureRegister() const { return m_featureRegister; }
    TStationFeatures *StationFeatures() const { return &m_measuring->Features(); }
    TStationProbe *StationProbe() const { return &m_measuring->Probe(); }
    TStationQuality *Inspection() const { return &m_measuring->Quality(); }

Q_SIGNALS:
    // A position reply has just been shown in the readouts (and the live marker).
    void PositionShown(TPoint3 position);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls come from the form qintarform.ui; these take them into the members and wire them.
    void TakeControls();
    void WireMainArea();
    void WireMaintenanceArea();
    void BuildCharts();

    void FormCreate();
    void FormResize();
    void btnNewClick();
    void btnClearClick();
    void ClearAll();
    void sbDistanceClick();
    void RecordPoint(TPoint3 point);
    // Start-up's last step: the journal of this run, and the work an earlier one left.
    void StartJournal();
    void btnZeroClick();

    TCycleState CycleState() const;
    void USBSuccess(TPortManagerRS232 &sender);
    // "Export..." and "Report..." in the tables' and the views' context menus.
    void AddExportActions();
    void tShutdownTimer();

    std::unique_ptr<Ui::TQintarForm> ui;
    TOperatorDialogs *m_dialogs;
    std::unique_ptr<TOperatorDialogs> m_ownDialogs;

    QString m_workingDirectory;
    TMeasurementCycle m_cycle;
    bool m_shuttingDown = false;
    TSettingsFile m_settings;
    quint16 m_portNumber = TSettingsFile::kDefaultPortNumber;
    TCalibration m_calibration;
    // The maintenance area's calibration controls, the file operations and the link to the device,
    // each a child of the window.
    // The calibration, the display pair and the axis locks, opened and closed by the logo.
    TMaintenanceArea *m_maintenance = nullptr;
    TStationFiles *m_files = nullptr;
    TStationLink *m_link = nullptr;
    int m_chartWidth = 0;
    int m_chartHeight = 0;

    TPointRegister m_register;
    TFeatureRegister m_featureRegister;
    // The features, the probe, the characteristics and Next part; a child of the window.
    TStationMeasuring *m_measuring = nullptr;
    // Fit, Home, point numbers and the rows drawn in the views; the large readout.
    TStationViews *m_stationViews = nullptr;
    // The engine of the port manager panel "USB", a child of the window placed below the client area.
    TPortManagerRS232 *USB = nullptr;
    // A child of the window, like the charts it draws.
    TViewEngine *m_chartEngine = nullptr;
    std::unique_ptr<TPlotViews> m_views;
    std::unique_ptr<TViewPickPlots> m_pickPlots;
    std::unique_ptr<TDerivations> m_derivations;
    std::unique_ptr<TPointPicker> m_picker;
    TExportActions *m_exports = nullptr;
    std::unique_ptr<TUnsavedChanges> m_unsaved;
    // The work journal of this run; none when the Data folder could not be made.
    std::unique_ptr<TStationJournal> m_journal;
    std::unique_ptr<TStatusLine> m_status;
    // The "Select Port" dialog's links and devices, for port number 0.
    std::unique_ptr<TPortSetUp> m_portSetUp;

    QLineEdit *edProjectName = nullptr;
    QPushButton *sbOnLine = nullptr;
    QPushButton *sbMeasure = nullptr;
    QPushButton *btnGoToPosition = nullptr;
    QPushButton *sbXYView = nullptr;
    QPushButton *sbXZView = nullptr;
    QPushButton *sbYZView = nullptr;
    QPushButton *sb3DView = nullptr;
    QLabel *stReadX = nullptr;
    QLabel *stReadY = nullptr;
    QLabel *stReadZ = nullptr;
    QLabel *stGoToX = nullptr;
    QLabel *stGoToY = nullptr;
    QLabel *stGoToZ = nullptr;
    QPushButton *sbCoarse = nullptr;
    QPushButton *sbFine = nullptr;
    QFrame *pnLogo = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *sbDistance = nullptr;
    QPushButton *sbAngle = nullptr;
    QPushButton *sbDelete = nullptr;
    QGroupBox *gbMeasuredData = nullptr;
    QGroupBox *gbInferredDistances = nullptr;
    QGroupBox *gbinferredAngles = nullptr;
    QTableView *sgData = nullptr;
    QTableView *sgDistance = nullptr;
    QTableView *sgAngles = nullptr;
    QLabel *stLinkStatus = nullptr;
    QWidget *Chart[4] = {};
    QScrollBar *scrlZoom[4] = {};
    QScrollBar *scrlRotate3D = nullptr;
    QScrollBar *scrlElevate3D = nullptr;

    QGroupBox *gbCalibration = nullptr;
    QLineEdit *editCalibration[6] = {};
    QPushButton *btnSaveCalibration[6] = {};
    QPushButton *sbCalibrated = nullptr;
    QPushButton *sbUseRawValues = nullptr;
    QPushButton *sbOffLineCalibrationTest = nullptr;
    QPushButton *sbLockX = nullptr;
    QPushButton *sbLockY = nullptr;
    QPushButton *sbLockZ = nullptr;
    QLineEdit *edPassword = nullptr;

    TToggleGroup *m_viewGroup = nullptr;
    TToggleGroup *m_joystickGroup = nullptr;
    TToggleGroup *m_operationGroup = nullptr;

    QTimer *tCommsDelay = nullptr;
    QTimer *tShutdown = nullptr;
};
