#include "app/qintarform.h"

#include "app/controltips.h"
#include "app/desklook.h"
#include "app/exportactions.h"
#include "app/logopicture.h"
#include "app/maintenancearea.h"
#include "app/projectname.h"
#include "app/qtoperatordialogs.h"
#include "app/stationcolours.h"
#include "app/stationfeatures.h"
#include "app/stationfiles.h"
#include "app/stationjournal.h"
#include "app/stationlink.h"
#include "app/stationmeasuring.h"
#include "app/stationprobe.h"
#include "app/stationviews.h"
#include "app/statusline.h"
#include "app/tableviewbinding.h"
#include "app/togglegroup.h"
#include "devicelink/portmanagerpanel.h"
#include "devicelink/portmanagerrs232.h"
#include "devicelink/portsetup.h"
#include "journal/journal.h"
#include "plots/plotviews.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/derivations.h"
#include "register/pointpicker.h"
#include "register/texttable.h"
#include "register/unsavedchanges.h"
#include "register/viewpickplots.h"
#include "ui_qintarform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <array>

using namespace StationColours;

namespace {

constexpr int DesignedClientWidth = 968;
constexpr int ClientHeight = 695;
const QString ProjectFilter = QStringLiteral("Qintar Project Files (*.prj)|*.PRJ");
constexpr int ShortDataGroupHeight = 250;
constexpr int ShortDataTableHeight = 220;

// Labels the form places by their top-left corner take the size of their text, in the window's font.
void SizeLabelsToText(const QWidget *form)
{
    for (QLabel *label : form->findChildren<QLabel *>())
        if (label->property("autoSize").toBool())
            label->adjustSize();
}

} // namespace

TQintarForm::TQintarForm(TOperatorDialogs *dialogs, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TQintarForm>()), m_dialogs(dialogs)
{
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<TQtOperatorDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }

    TDeskLook::SetWindowLook(this);

    m_link = new TStationLink(
        *this, m_cycle, *m_dialogs, [this](TPortManagerRS232 &sender) { USBSuccess(sender); },
        [this] { return m_shuttingDown; });
    USB = &m_link->Port();
    m_portSetUp = std::make_unique<TPortSetUp>(*m_dialogs);
    // "Use this port from now on" is the one way the station writes Port Number.
    m_portSetUp->SetRemember([this](quint16 number) { return m_settings.WritePortNumber(number); });
    m_link->Panel()->SetPortChooser(
        [this](const QList<quint16> &ports) { return m_portSetUp->Choose(ports); });
    tCommsDelay = m_link->PollTimer();
    tShutdown = new QTimer(this);
    tShutdown->setObjectName(QStringLiteral("tShutdown"));
    tShutdown->setInterval(5000);
    connect(tShutdown, &QTimer::timeout, this, &TQintarForm::tShutdownTimer);

    BuildCharts();
    m_views = std::make_unique<TPlotViews>(*m_chartEngine);
    m_pickPlots = std::make_unique<TViewPickPlots>(*m_views);
    m_derivations = std::make_unique<TDerivations>(
        m_register, m_calibration, [this] { return sbOffLineCalibrationTest->isChecked(); }, *m_pickPlots);
    m_picker = std::make_unique<TPointPicker>(m_register, *m_derivations, *m_pickPlots, *m_dialogs);
    m_picker->SetOperationState([this] {
        return TOperationState{sbDistance->isChecked(), sbAngle->isChecked(), sbDelete->isChecked()};
    });
    m_picker->SetProcessEvents([] { QCoreApplication::processEvents(); });
    m_picker->SetGoToTargets([this](const QString &x, const QString &y, const QString &z) {
        stGoToX->setText(x);
        stGoToY->setText(y);
        stGoToZ->setText(z);
    });
    m_chartEngine->SetPointClickHandler([this](int series, int index) { m_picker->Pick(series, index); });
    m_files = new TStationFiles(m_register, *m_views, *m_dialogs,
                                {[this] { return edProjectName->text(); },
                                 [this](const QString &name) { edProjectName->setText(name); },
                                 [this] { return DataDirectory(); },
                                 [this] { edProjectName->setFocus(Qt::OtherFocusReason); }},
                                this);

    ui->setupUi(this);
    SizeLabelsToText(this);
    TakeControls();
    m_link->SetControls({sbOnLine, pnLogo, stLinkStatus, {stReadX, stReadY, stReadZ}});
    WireMainArea();
    WireMaintenanceArea();
    AddExportActions();
    m_measuring = new TStationMeasuring({m_featureRegister, m_register, *m_views, *m_dialogs, m_settings,
                                         *m_exports, *m_files, [this] { return edProjectName->text(); },
                                         [this] { return DataDirectory(); },
                                         [this](const QString &text) { m_status->ShowMessage(text); }},
                                        *this);
    connect(this, &TQintarForm::PositionShown, m_measuring, &TStationMeasuring::PositionShown);
    m_measuring->Features().AddToContextMenus(
        {sgData, sgDistance, sgAngles, Chart[0], Chart[1], Chart[2], Chart[3]});
    setFixedSize(DesignedClientWidth, ClientHeight);
    TDeskLook::Apply(this);
    TControlTips::Apply(this);
    // A readout keeps its size: a label of changing width would otherwise ask its group box to lay
    // itself out again at every poll.
    for (QLabel *readout : {stReadX, stReadY, stReadZ})
        readout->setFixedSize(readout->size());
    m_stationViews = new TStationViews(
        {*m_views, *m_chartEngine, m_register, *m_link, m_measuring->Features(), *m_operationGroup}, *this);
    m_status = std::make_unique<TStatusLine>(stLinkStatus);
    m_link->SetStatusLine(m_status.get());
    m_picker->SetProgressReport([this](const QString &text) { m_status->ShowMessage(text); });
    m_stationViews->Actions()->SetStatusReport([this](const QString &text) { m_status->ShowMessage(text); });
    m_unsaved = std::make_unique<TUnsavedChanges>(
        QList<TTextTable *>{&m_register.Data(), &m_register.Distances(), &m_register.Angles()} +
        m_measuring->WorkTables());
    m_files->SetUnsavedChanges(m_unsaved.get());
    m_files->SetStatusReport(
        [this](const QString &text, const QString &detail) { m_status->ShowMessage(text, detail); });

    FormCreate();
    FormResize();
    // Start-up's headers are no work of the operator's.
    m_unsaved->MarkSaved();
    m_status->ShowMessage(tr("Press On Line to poll the device on COM%1").arg(m_portNumber));
    StartJournal();
}

void TQintarForm::StartJournal()
{
    if (!QDir(m_workingDirectory + QStringLiteral("/Data")).exists())
        return;
    m_journal = std::make_unique<TStationJournal>(*m_dialogs, DataDirectory());
    m_journal->Watch(
        m_register, *m_views, [this] { return edProjectName->text(); },
        [this](const QString &name) { edProjectName->setText(name); });
    m_measuring->Journal(m_journal->Journal());
    m_journal->SetStatusReport([this](const QString &text) { m_status->ShowMessage(text); });
    m_files->SetJournal(&m_journal->Journal());
    if (m_journal->OfferLeftOvers())
        m_measuring->Restored();
}

TJournal *TQintarForm::Journal() const
{
    return m_journal ? &m_journal->Journal() : nullptr;
}

TQintarForm::~TQintarForm()
{
    // The panel and the charts outlive the members their handlers use; nothing may reach them now.
    USB->SetOnSuccess({});
    USB->SetOnFail({});
    USB->SetErrorReport({});
    m_chartEngine->SetPointClickHandler({});
    m_chartEngine->SetPanHandler({});
    m_chartEngine->SetMarkTipSource({});
}

void TQintarForm::TakeControls()
{
    edProjectName = ui->edProjectName;
    sbOnLine = ui->sbOnLine;
    sbMeasure = ui->sbMeasure;
    btnGoToPosition = ui->btnGoToPosition;
    sbXYView = ui->sbXYView;
    sbXZView = ui->sbXZView;
    sbYZView = ui->sbYZView;
    sb3DView = ui->sb3DView;
    stReadX = ui->stReadX;
    stReadY = ui->stReadY;
    stReadZ = ui->stReadZ;
    stGoToX = ui->stGoToX;
    stGoToY = ui->stGoToY;
    stGoToZ = ui->stGoToZ;
    sbCoarse = ui->sbCoarse;
    sbFine = ui->sbFine;
    pnLogo = ui->pnLogo;
    Image1 = ui->Image1;
    sbDistance = ui->sbDistance;
    sbAngle = ui->sbAngle;
    sbDelete = ui->sbDelete;
    gbMeasuredData = ui->gbMeasuredData;
    gbInferredDistances = ui->gbInferredDistances;
    gbinferredAngles = ui->gbinferredAngles;
    sgData = ui->sgData;
    sgDistance = ui->sgDistance;
    sgAngles = ui->sgAngles;
    stLinkStatus = ui->stLinkStatus;
    gbCalibration = ui->gbCalibration;
    const std::array edits{ui->editalphax, ui->editalphay, ui->editalphaz,
                           ui->editthetax, ui->editthetay, ui->editthetaz};
    const std::array saves{ui->btnSaveAlphaX, ui->btnSaveAlphaY, ui->btnSaveAlphaZ,
                           ui->btnSaveThetaX, ui->btnSaveThetaY, ui->btnSaveThetaZ};
    std::copy(edits.begin(), edits.end(), editCalibration);
    std::copy(saves.begin(), saves.end(), btnSaveCalibration);
    sbCalibrated = ui->sbCalibrated;
    sbUseRawValues = ui->sbUseRawValues;
    sbOffLineCalibrationTest = ui->sbOffLineCalibrationTest;
    sbLockX = ui->sbLockX;
    sbLockY = ui->sbLockY;
    sbLockZ = ui->sbLockZ;
    edPassword = ui->edPassword;
}

void TQintarForm::WireMainArea()
{
    connect(ui->btnNew, &QPushButton::clicked, this, &TQintarForm::btnNewClick);

    SetColour(edProjectName, QPalette::Base, LightYellow);

    SetColour(sbOnLine, QPalette::ButtonText, Red);
    connect(sbOnLine, &QPushButton::clicked, m_link, &TStationLink::sbOnLineClick);
    btnGoToPosition->hide();
    connect(sbMeasure, &QPushButton::clicked, this,
            [this] { btnGoToPosition->setEnabled(!sbMeasure->isChecked()); });
    connect(btnGoToPosition, &QPushButton::clicked, this,
            [this] { m_cycle.GoToClicked(stGoToX->text(), stGoToY->text(), stGoToZ->text()); });

    m_viewGroup = new TToggleGroup(this);
    for (QPushButton *button : {sbXYView, sbXZView, sbYZView, sb3DView})
        m_viewGroup->Add(button);
    connect(m_viewGroup, &TToggleGroup::Clicked, this, [this] {
        m_views->HandleGraphView(sbXYView->isChecked(), sbXZView->isChecked(), sbYZView->isChecked(),
                                 sb3DView->isChecked());
    });
    connect(ui->btnClear, &QPushButton::clicked, this, &TQintarForm::btnClearClick);
    connect(ui->btnZero, &QPushButton::clicked, this, &TQintarForm::btnZeroClick);

    ui->gbSetPosition->hide();
    for (QLabel *target : {stGoToX, stGoToY, stGoToZ})
        SetColour(target, QPalette::WindowText, Red);

    m_joystickGroup = new TToggleGroup(this);
    m_joystickGroup->Add(sbCoarse);
    m_joystickGroup->Add(sbFine);
    connect(m_joystickGroup, &TToggleGroup::Clicked, this,
            [this] { m_cycle.JoystickClicked(sbCoarse->isChecked()); });

    SetBackground(pnLogo, Red);
    Image1->setPixmap(LogoPicture());
    Image1->installEventFilter(this);

    m_operationGroup = new TToggleGroup(this);
    for (QPushButton *button : {sbDistance, sbAngle, sbDelete})
        m_operationGroup->Add(button);
    connect(m_operationGroup, &TToggleGroup::Clicked, this, &TQintarForm::sbDistanceClick);

    BindTableView(sgData, &m_register.Data());
    for (int column = 0; column < 4; ++column)
        sgData->setColumnWidth(column, column == 0 ? 36 : 92);
    BindTableView(sgDistance, &m_register.Distances());
    for (int column = 0; column < 6; ++column)
        sgDistance->setColumnWidth(column, column < 2 ? 36 : 59);
    gbInferredDistances->hide();
    BindTableView(sgAngles, &m_register.Angles());
    for (int column = 0; column < 7; ++column)
        sgAngles->setColumnWidth(column, column < 3 ? 32 : 54);
    gbinferredAngles->hide();

    // btnSave lies beyond its group's right edge, so it is never seen; so do the hidden "Save" buttons
    // Button1 and Button3 of the table-file groups, which lie under the views, covered by the chart in
    // front. The operator reaches the same operations through each table's context menu.
    m_files->Wire({ui->btnLoadAll,
                   ui->btnSaveAll,
                   {ui->btnSave, ui->Button1, ui->Button3},
                   {ui->btnSaveCoordinates, ui->btnSaveDistances, ui->btnSaveAngles},
                   {ui->btnLoadCoordinates, ui->btnLoadDistances, ui->btnLoadAngles},
                   {sgData, sgDistance, sgAngles}});
    ui->gbSaveToFile->lower();
    ui->gbLoad->lower();
}

void TQintarForm::WireMaintenanceArea()
{
    TCalibrationPanel::TControls calibration{
        {}, {}, ui->btnApplyCalibrationParameters, edPassword, gbCalibration};
    std::copy(std::begin(editCalibration), std::end(editCalibration), calibration.edits.begin());
    std::copy(std::begin(btnSaveCalibration), std::end(btnSaveCalibration), calibration.saves.begin());
    m_maintenance = new TMaintenanceArea(
        {calibration, sbCalibrated, sbUseRawValues, {sbLockX, sbLockY, sbLockZ}}, DesignedClientWidth,
        m_calibration, m_settings, *m_dialogs, *this,
        [this](TMeasurementCycle::TAxis axis) { m_cycle.LockClicked(axis, CycleState()); },
        [this] { FormResize(); });
}

void TQintarForm::BuildCharts()
{
    m_chartEngine = new TViewEngine(this);
    for (int n = 0; n < 4; ++n) {
        Chart[n] = m_chartEngine->Chart(n + 1);
        scrlZoom[n] = m_chartEngine->ZoomBar(n + 1);
    }
    scrlRotate3D = m_chartEngine->RotateBar();
    scrlElevate3D = m_chartEngine->ElevateBar();
    for (int n = 0; n < 4; ++n)
        connect(scrlZoom[n], &QScrollBar::valueChanged, this,
                [this, n](int position) { m_views->ZoomChanged(n + 1, position); });
    connect(scrlRotate3D, &QScrollBar::valueChanged, this,
            [this](int degrees) { m_views->RotationChanged(degrees); });
    connect(scrlElevate3D, &QScrollBar::valueChanged, this,
            [this](int degrees) { m_views->ElevationChanged(degrees); });
}

QString TQintarForm::DataDirectory() const
{
    return QDir::toNativeSeparators(m_workingDirectory + QStringLiteral("/Data"));
}

void TQintarForm::FormCreate()
{
    m_workingDirectory = QDir::currentPath();
    const TStationSettings settings = m_settings.LoadSettings();
    m_portNumber = settings.PortNumber;
    m_portSetUp->SetConfiguredNumber(m_portNumber);
    m_calibration = settings.Calibration;
    m_measuring->Probe().SetBallDiameter(settings.BallDiameter);
    // Filling the boxes counts as an edit and enables their Save buttons; start with them disabled.
    m_maintenance->Panel().ShowCalibration();
    m_maintenance->Panel().DisableCalibrationSaves();
    if (!settings.Replaced.isEmpty())
        m_dialogs->ShowMessage(TSettingsFile::ReplacedMessage(settings.Replaced));

    const QDir data(m_workingDirectory + QStringLiteral("/Data"));
    if (!data.exists() && !QDir(m_workingDirectory).mkdir(QStringLiteral("Data"))) {
        // The rest of start-up is skipped; the window opens and works with its designed settings.
        m_dialogs->ShowError(QStringLiteral("Cannot create ") + DataDirectory());
        return;
    }

    try {
        USB->SetPortNumber(m_portNumber);
    } catch (const TSerialError &error) {
        m_dialogs->ShowError(error.Message());
    }
    USB->SetTransmitEndSequence(QByteArray(1, '\r'));
    USB->SetReceiveEndSequence(QByteArray(1, '\r'));
    m_register.SetHeaders();
    m_featureRegister.SetHeaders();
    m_views->StartUp();
    for (QScrollBar *bar : scrlZoom) {
        bar->setMaximum(100);
        bar->setMinimum(5);
        bar->setValue(100);
    }
    m_files->SetDialogPlace(DataDirectory(), ProjectFilter);
    m_derivations->ClearSelections();
}

void TQintarForm::UsePortNumber(quint16 portNumber)
{
    m_portNumber = portNumber;
    m_portSetUp->SetConfiguredNumber(m_portNumber);
    try {
        USB->SetPortNumber(m_portNumber);
    } catch (const TSerialError &error) {
        m_dialogs->ShowError(error.Message());
    }
}

void TQintarForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TQintarForm::FormResize()
{
    m_chartHeight = height() - 155;
    // The rule knows only outer widths below and above 1000; exactly 1000 takes the narrow factor.
    const double factor = frameGeometry().width() > 1000 ? 0.49 : 0.62;
    m_chartWidth = static_cast<int>(width() * factor);
    m_chartEngine->LayoutCharts(8, 130, m_chartWidth, m_chartHeight);
}

bool TQintarForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        m_maintenance->OpenOrClose();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TQintarForm::HasProjectName() const
{
    return ::HasProjectName(edProjectName->text());
}

QString TQintarForm::DefaultProjectName()
{
    return ::DefaultProjectName(QDateTime::currentDateTime(), QLocale::system());
}

bool TQintarForm::HasMeasuredData() const
{
    return !m_register.Data().Cell(0, 1).isEmpty();
}

void TQintarForm::btnNewClick()
{
    if (!m_files->MayDiscardWork())
        return;
    edProjectName->clear();
    ClearAll();
    if (!HasProjectName()) {
        m_dialogs->ShowMessage(QStringLiteral("Please enter a project name"));
        edProjectName->setFocus(Qt::OtherFocusReason);
    }
}

void TQintarForm::btnClearClick()
{
    if (m_files->MayDiscardWork())
        ClearAll();
}

void TQintarForm::ClearAll()
{
    {
        // Emptied after the operator's answer: nothing is left for the journal to keep.
        TJournal::TPause pause(Journal());
        m_views->ClearAllSeries();
        m_register.ClearAll();
        m_featureRegister.Clear();
        m_measuring->Cleared();
    }
    if (Journal())
        Journal()->Settled();
    m_status->ShowMessage(tr("Cleared"));
}

void TQintarForm::btnZeroClick()
{
    // A new zero moves the frame of every later point; the points so far keep the old one.
    if (HasMeasuredData() &&
        !m_dialogs->AskYesNo(QStringLiteral("Zero the device? Points recorded so far keep the old zero."),
                             TOperatorDialogs::TStyle::Warning))
        return;
    m_cycle.ZeroClicked();
    m_status->ShowMessage(tr("Zero requested"), tr("BZ00 goes to the device with the next poll"));
    m_dialogs->PlaySound(QStringLiteral("hello.wav"));
}

void TQintarForm::sbDistanceClick()
{
    m_status->ShowMessage(TPointPicker::StartText(
        TOperationState{sbDistance->isChecked(), sbAngle->isChecked(), sbDelete->isChecked()}));
    // Delete Point, or all three up, keeps the layout last set.
    if (!sbDistance->isChecked() && !sbAngle->isChecked())
        return;
    gbMeasuredData->resize(gbMeasuredData->width(), ShortDataGroupHeight);
    sgData->resize(sgData->width(), ShortDataTableHeight);
    gbInferredDistances->setVisible(sbDistance->isChecked());
    gbinferredAngles->setVisible(sbAngle->isChecked());
}

void TQintarForm::RecordPoint(TPoint3 point)
{
    // A full table takes no more points: the point is neither plotted nor recorded.
    if (m_register.IsDataFull()) {
        // Shown once the serial notification has returned: a box opened inside it would hold back
        // every reply until it closed.
        if (m_register.AddPoint(point, true).tellOperator)
            QMetaObject::invokeMethod(
                this, [this] { m_dialogs->ShowMessage(TPointRegister::TableFullMessage()); },
                Qt::QueuedConnection);
        return;
    }
    // The name, the marks and the row reach the disk together, before the row is shown.
    TJournal::TBatch batch(Journal());
    if (!HasProjectName())
        edProjectName->setText(DefaultProjectName());
    m_views->AddRecordedPoint(point);
    const auto added = m_register.AddPoint(point, gbMeasuredData->height() == ShortDataGroupHeight);
    if (added.added)
        m_measuring->PointRecorded(added.number);
}

void TQintarForm::AddExportActions()
{
    m_exports = new TExportActions(
        TExportSources{m_register.Data(), m_register.Distances(), m_register.Angles(),
                       [this] { return edProjectName->text(); }, [this] { return m_files->DialogFolder(); },
                       [this] { return sbCalibrated->isChecked(); },
                       [this] { return sbOffLineCalibrationTest->isChecked(); },
                       [this] { return m_calibration; }, &m_featureRegister},
        *m_dialogs, this);
    m_exports->AddToTable(sgData, TTableFile::TKind::Coordinates);
    m_exports->AddToTable(sgDistance, TTableFile::TKind::Distances);
    m_exports->AddToTable(sgAngles, TTableFile::TKind::Angles);
    m_exports->AddToViews({Chart[0], Chart[1], Chart[2], Chart[3]});
    m_exports->SetStatusReport(
        [this](const QString &text, const QString &detail) { m_status->ShowMessage(text, detail); });
}

void TQintarForm::closeEvent(QCloseEvent *event)
{
    if (m_shuttingDown) {
        event->accept();
        return;
    }
    if (m_unsaved->HasChanges() &&
        m_dialogs->AskYesNo(QStringLiteral("Save current data?"), TOperatorDialogs::TStyle::Information)) {
        if (m_files->btnSaveAllClick())
            m_dialogs->ShowMessage(QStringLiteral("Data has been saved to disk"));
        event->ignore();
        return;
    }
    if (!m_dialogs->AskYesNo(QStringLiteral("Are you sure?"), TOperatorDialogs::TStyle::Information)) {
        event->ignore();
        return;
    }
    m_shuttingDown = true;
    if (Journal())
        Journal()->Close();
    // Shown up without its click action: the port is not closed here.
    sbOnLine->setChecked(false);
    tShutdown->start();
    tCommsDelay->stop();
    event->accept();
}

TCycleState TQintarForm::CycleState() const
{
    return TCycleState{m_shuttingDown,         sbOnLine->isChecked(), sbCalibrated->isChecked(),
                       sbMeasure->isChecked(), sbLockX->isChecked(),  sbLockY->isChecked(),
                       sbLockZ->isChecked()};
}

void TQintarForm::USBSuccess(TPortManagerRS232 &sender)
{
    const TReplyActions actions = m_cycle.ProcessReply(sender.Reply(), CycleState(), m_calibration);
    if (!actions.Handled)
        return;
    m_link->SetLogoColour(actions.Logo);
    if (actions.Position) {
        m_views->ShowLivePosition(*actions.Position, sbXYView->isChecked(), sbXZView->isChecked(),
                                  sbYZView->isChecked(), sb3DView->isChecked());
        stReadX->setText(actions.Readouts[0]);
        stReadY->setText(actions.Readouts[1]);
        stReadZ->setText(actions.Readouts[2]);
        m_link->SetReadoutsFresh(true);
        Q_EMIT PositionShown(*actions.Position);
    }
    if (actions.Chime)
        m_dialogs->PlaySound(QStringLiteral("chimes.wav"));
    // The next poll is scheduled before anything can open a box.
    m_link->ReplyTaken(actions, sender.Reply());
    if (actions.Record && actions.Position)
        RecordPoint(*actions.Position);
    if (actions.IgnoredPoint)
        m_status->ShowMessage(tr("Point not recorded: \"Measure Point\" is up - press it to record points"));
    if (actions.Beep)
        m_dialogs->Beep();
    m_link->SetHeartbeat(actions.Heartbeat);
}

void TQintarForm::tShutdownTimer()
{
    close();
}
