#include "app/qintarform.h"

#include "app/projectname.h"
#include "app/qtoperatordialogs.h"
#include "app/togglegroup.h"
#include "devicelink/portmanagerpanel.h"
#include "devicelink/portmanagerrs232.h"
#include "files/projectfile.h"
#include "plots/plotviews.h"
#include "plots/qtchartengine.h"
#include "register/derivations.h"
#include "register/pointpicker.h"
#include "register/texttable.h"
#include "register/viewpickplots.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

namespace {

const QColor Cream(255, 251, 240);
const QColor DarkBlue(0, 0, 160);
const QColor LightYellow(255, 255, 128);
const QColor Silver(192, 192, 192);
const QColor Red(255, 0, 0);
const QColor StaleGrey(150, 150, 150);

constexpr int DesignedClientWidth = 968;
constexpr int ClientHeight = 695;
constexpr int NarrowOuterWidth = 981;
constexpr int WideOuterWidth = 1225;
constexpr int TableRowHeight = 15;
const QString ProjectFilter = QStringLiteral("Qintar Project Files (*.prj)|*.PRJ");
constexpr int FullDataGroupHeight = 489;
constexpr int FullDataTableHeight = 465;
constexpr int ShortDataGroupHeight = 250;
constexpr int ShortDataTableHeight = 220;

void SetColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void SetBackground(QWidget *widget, const QColor &colour)
{
    SetColour(widget, QPalette::Window, colour);
    widget->setAutoFillBackground(true);
}

QGroupBox *Group(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(place);
    return group;
}

QPushButton *Button(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QPushButton *Toggle(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    QPushButton *button = Button(parent, name, caption, place);
    button->setCheckable(true);
    return button;
}

QLabel *Label(QWidget *parent, const char *name, const QString &text, const QPoint &place)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(place);
    label->adjustSize();
    return label;
}

QLabel *Label(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

QLineEdit *Edit(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    return edit;
}

// The station's logo: a probe over three measuring axes.
QPixmap LogoPicture()
{
    QPixmap picture(196, 188);
    picture.fill(QColor(255, 251, 240));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF origin(70, 130);
    painter.setPen(QPen(QColor(0, 0, 160), 7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(origin, QPointF(180, 130));
    painter.drawLine(origin, QPointF(70, 20));
    painter.drawLine(origin, QPointF(16, 176));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 0, 0));
    painter.drawEllipse(QPointF(140, 70), 22, 22);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(34);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 160));
    painter.drawText(QRectF(96, 136, 100, 48), Qt::AlignCenter, QStringLiteral("Q"));
    return picture;
}

} // namespace

TQintarForm::TQintarForm(TOperatorDialogs *dialogs, QWidget *parent) : QWidget(parent), m_dialogs(dialogs)
{
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<TQtOperatorDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }

    setWindowTitle(QStringLiteral("QintarSoft Revision 1.00"));
    QFont font(QStringLiteral("Tahoma"), 8);
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        font = QFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 8);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Cream);
    palette.setColor(QPalette::WindowText, DarkBlue);
    palette.setColor(QPalette::Text, DarkBlue);
    palette.setColor(QPalette::ButtonText, DarkBlue);
    setPalette(palette);
    setAutoFillBackground(true);

    tCommsDelay = new QTimer(this);
    tCommsDelay->setObjectName(QStringLiteral("tCommsDelay"));
    tCommsDelay->setInterval(150);
    tCommsDelay->setSingleShot(true);
    // Qt's default coarse timer may drift by 5 %, which would stretch every poll.
    tCommsDelay->setTimerType(Qt::PreciseTimer);
    tShutdown = new QTimer(this);
    tShutdown->setObjectName(QStringLiteral("tShutdown"));
    tShutdown->setInterval(5000);
    connect(tShutdown, &QTimer::timeout, this, &TQintarForm::tShutdownTimer);

    SetUpPortManager();
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

    BuildMainArea();
    BuildMaintenanceArea();
    setFixedSize(DesignedClientWidth, ClientHeight);

    FormCreate();
    FormResize();
}

TQintarForm::~TQintarForm()
{
    // The panel and the charts outlive the members their handlers use; nothing may reach them now.
    USB->SetOnSuccess({});
    USB->SetOnFail({});
    USB->SetErrorReport({});
    m_chartEngine->SetPointClickHandler({});
}

void TQintarForm::BuildMainArea()
{
    QGroupBox *gbProject = Group(this, "gbProject", tr("Project"), {11, 2, 249, 51});
    auto *btnNew = Button(gbProject, "btnNew", tr("New"), {8, 18, 75, 25});
    auto *btnLoadAll = Button(gbProject, "btnLoadAll", tr("Load"), {88, 18, 75, 25});
    auto *btnSaveAll = Button(gbProject, "btnSaveAll", tr("Save"), {168, 18, 75, 25});
    // Beyond the group's right edge, so never seen.
    auto *btnSave = Button(gbProject, "btnSave", tr("Save"), {414, 18, 75, 25});
    connect(btnNew, &QPushButton::clicked, this, &TQintarForm::btnNewClick);
    connect(btnLoadAll, &QPushButton::clicked, this, &TQintarForm::btnLoadAllClick);
    connect(btnSaveAll, &QPushButton::clicked, this, &TQintarForm::btnSaveAllClick);
    connect(btnSave, &QPushButton::clicked, this, &TQintarForm::btnSaveClick);

    QGroupBox *gbProjectName = Group(this, "gbProjectName", tr("Project Name"), {269, 2, 343, 51});
    edProjectName = Edit(gbProjectName, "edProjectName", {}, {8, 20, 327, 21});
    SetColour(edProjectName, QPalette::Base, LightYellow);

    QGroupBox *gbMode = Group(this, "gbMode", tr("Mode"), {618, 2, 343, 51});
    sbOnLine = Toggle(gbMode, "sbOnLine", tr("On Line"), {8, 18, 100, 25});
    SetColour(sbOnLine, QPalette::ButtonText, Red);
    connect(sbOnLine, &QPushButton::clicked, this, &TQintarForm::sbOnLineClick);
    sbMeasure = Toggle(gbMode, "sbMeasure", tr("Measure Point"), {116, 18, 100, 25});
    sbMeasure->setChecked(true);
    btnGoToPosition = Button(gbMode, "btnGoToPosition", tr("Go To Position"), {224, 18, 110, 25});
    btnGoToPosition->setEnabled(false);
    btnGoToPosition->hide();
    connect(sbMeasure, &QPushButton::clicked, this,
            [this] { btnGoToPosition->setEnabled(!sbMeasure->isChecked()); });
    connect(btnGoToPosition, &QPushButton::clicked, this,
            [this] { m_cycle.GoToClicked(stGoToX->text(), stGoToY->text(), stGoToZ->text()); });

    QGroupBox *gbGraphView = Group(this, "gbGraphView", tr("Graph View"), {3, 55, 257, 51});
    m_viewGroup = new TToggleGroup(this);
    sbXYView = Toggle(gbGraphView, "sbXYView", tr("X-Y"), {6, 18, 38, 25});
    sbXZView = Toggle(gbGraphView, "sbXZView", tr("X-Z"), {46, 18, 38, 25});
    sbYZView = Toggle(gbGraphView, "sbYZView", tr("Y-Z"), {86, 18, 38, 25});
    sb3DView = Toggle(gbGraphView, "sb3DView", tr("3D"), {126, 18, 38, 25});
    for (QPushButton *button : {sbXYView, sbXZView, sbYZView, sb3DView})
        m_viewGroup->Add(button);
    sbXYView->setChecked(true);
    connect(m_viewGroup, &TToggleGroup::Clicked, this, [this] {
        m_views->HandleGraphView(sbXYView->isChecked(), sbXZView->isChecked(), sbYZView->isChecked(),
                                 sb3DView->isChecked());
    });
    auto *btnClear = Button(gbGraphView, "btnClear", tr("Clear"), {170, 18, 40, 25});
    connect(btnClear, &QPushButton::clicked, this, &TQintarForm::ClearAll);
    auto *btnZero = Button(gbGraphView, "btnZero", tr("Zero"), {212, 18, 40, 25});
    connect(btnZero, &QPushButton::clicked, this, [this] {
        m_cycle.ZeroClicked();
        m_dialogs->PlaySound(QStringLiteral("hello.wav"));
    });

    QFont readoutFont = font();
    readoutFont.setPointSize(12);
    readoutFont.setBold(true);
    QGroupBox *gbActualPosition =
        Group(this, "gbActualPosition", tr("Actual Position (mm)"), {268, 55, 344, 51});
    QGroupBox *gbSetPosition = Group(this, "gbSetPosition", tr("Go-to Position (mm)"), {268, 55, 344, 51});
    gbSetPosition->hide();
    const char *readNames[] = {"stReadX", "stReadY", "stReadZ"};
    const char *goToNames[] = {"stGoToX", "stGoToY", "stGoToZ"};
    const char *readLabels[] = {"lbReadX", "lbReadY", "lbReadZ"};
    const char *goToLabels[] = {"lbGoToX", "lbGoToY", "lbGoToZ"};
    const QString axisCaptions[] = {tr("X= "), tr("Y= "), tr("Z= ")};
    QLabel *reads[3] = {};
    QLabel *goTos[3] = {};
    for (int axis = 0; axis < 3; ++axis) {
        const int left = 8 + axis * 112;
        Label(gbActualPosition, readLabels[axis], axisCaptions[axis], QPoint(left, 25));
        reads[axis] =
            Label(gbActualPosition, readNames[axis], QStringLiteral("0.000"), QRect(left + 22, 19, 84, 24));
        reads[axis]->setFont(readoutFont);
        Label(gbSetPosition, goToLabels[axis], axisCaptions[axis], QPoint(left, 25));
        goTos[axis] =
            Label(gbSetPosition, goToNames[axis], QStringLiteral("0.000"), QRect(left + 22, 19, 84, 24));
        goTos[axis]->setFont(readoutFont);
        SetColour(goTos[axis], QPalette::WindowText, Red);
    }
    stReadX = reads[0];
    stReadY = reads[1];
    stReadZ = reads[2];
    stGoToX = goTos[0];
    stGoToY = goTos[1];
    stGoToZ = goTos[2];

    QGroupBox *gbJoystickPrecision = Group(this, "gbJoystickPrecision", tr("Joystick "), {618, 55, 114, 114});
    m_joystickGroup = new TToggleGroup(this);
    sbCoarse = Toggle(gbJoystickPrecision, "sbCoarse", tr("Coarse"), {12, 24, 90, 32});
    sbFine = Toggle(gbJoystickPrecision, "sbFine", tr("Fine"), {12, 66, 90, 32});
    m_joystickGroup->Add(sbCoarse);
    m_joystickGroup->Add(sbFine);
    sbFine->setChecked(true);
    connect(m_joystickGroup, &TToggleGroup::Clicked, this,
            [this] { m_cycle.JoystickClicked(sbCoarse->isChecked()); });

    pnLogo = new QFrame(this);
    pnLogo->setObjectName(QStringLiteral("pnLogo"));
    pnLogo->setGeometry(733, 58, 116, 110);
    pnLogo->setFrameShape(QFrame::Panel);
    pnLogo->setFrameShadow(QFrame::Raised);
    SetBackground(pnLogo, Red);
    Image1 = new QLabel(pnLogo);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(9, 8, 98, 94);
    Image1->setScaledContents(true);
    Image1->setPixmap(LogoPicture());
    Image1->installEventFilter(this);

    QGroupBox *gbOperation = Group(this, "gbOperation", tr("Operation"), {855, 55, 106, 114});
    m_operationGroup = new TToggleGroup(this);
    sbDistance = Toggle(gbOperation, "sbDistance", tr("Distance"), {8, 20, 90, 27});
    sbAngle = Toggle(gbOperation, "sbAngle", tr("Angle"), {8, 51, 90, 27});
    sbDelete = Toggle(gbOperation, "sbDelete", tr("Delete Point"), {8, 82, 90, 27});
    for (QPushButton *button : {sbDistance, sbAngle, sbDelete})
        m_operationGroup->Add(button);
    connect(m_operationGroup, &TToggleGroup::Clicked, this, &TQintarForm::sbDistanceClick);

    gbMeasuredData =
        Group(this, "gbMeasuredData", tr("Measured Coordinates (mm)"), {616, 176, 345, FullDataGroupHeight});
    sgData = BuildTable(gbMeasuredData, "sgData", {8, 18, 329, FullDataTableHeight}, &m_register.Data());
    for (int column = 0; column < 4; ++column)
        sgData->setColumnWidth(column, column == 0 ? 36 : 92);
    gbInferredDistances =
        Group(this, "gbInferredDistances", tr("Inferred Distances (mm)"), {616, 459, 345, 211});
    sgDistance = BuildTable(gbInferredDistances, "sgDistance", {8, 18, 329, 185}, &m_register.Distances());
    for (int column = 0; column < 6; ++column)
        sgDistance->setColumnWidth(column, column < 2 ? 36 : 59);
    gbInferredDistances->hide();
    gbinferredAngles = Group(this, "gbinferredAngles", tr("Inferred Angles (degrees)"), {615, 459, 345, 211});
    sgAngles = BuildTable(gbinferredAngles, "sgAngles", {8, 18, 329, 185}, &m_register.Angles());
    for (int column = 0; column < 7; ++column)
        sgAngles->setColumnWidth(column, column < 3 ? 32 : 54);
    gbinferredAngles->hide();

    // Under the views: the designed table-file groups, covered by the chart in front. The operator
    // reaches the same operations through each table's context menu.
    using TKind = TTableFile::TKind;
    QGroupBox *gbSaveToFile = Group(this, "gbSaveToFile", tr("Save to File"), {194, 298, 250, 51});
    QGroupBox *gbLoad = Group(this, "gbLoad", tr("Load from file"), {191, 354, 254, 51});
    const char *saveNames[] = {"btnSaveCoordinates", "btnSaveDistances", "btnSaveAngles"};
    const char *loadNames[] = {"btnLoadCoordinates", "btnLoadDistances", "btnLoadAngles"};
    const QString captions[] = {tr("Coordinates"), tr("Distances"), tr("Angles")};
    const TKind kinds[] = {TKind::Coordinates, TKind::Distances, TKind::Angles};
    for (int i = 0; i < 3; ++i) {
        const TKind kind = kinds[i];
        auto *save = Button(gbSaveToFile, saveNames[i], captions[i], {8 + i * 80, 18, 75, 25});
        connect(save, &QPushButton::clicked, this, [this, kind] { WriteTableFile(kind); });
        auto *load = Button(gbLoad, loadNames[i], captions[i], {8 + i * 80, 18, 75, 25});
        connect(load, &QPushButton::clicked, this, [this, kind] { LoadTableFile(kind); });
    }
    for (QGroupBox *group : {gbSaveToFile, gbLoad}) {
        auto *hiddenSave =
            Button(group, group == gbSaveToFile ? "Button1" : "Button3", tr("Save"), {414, 18, 75, 25});
        connect(hiddenSave, &QPushButton::clicked, this, &TQintarForm::btnSaveClick);
        group->lower();
    }
    AddTableFileActions(sgData, TKind::Coordinates);
    AddTableFileActions(sgDistance, TKind::Distances);
    AddTableFileActions(sgAngles, TKind::Angles);

    // The strip below the views tells the operator how the link to the device is doing.
    stLinkStatus = Label(this, "stLinkStatus", {}, QRect(8, 672, 600, 20));
}

void TQintarForm::BuildMaintenanceArea()
{
    gbCalibration = Group(this, "gbCalibration", tr("Maintenance Settings"), {976, 2, 233, 599});
    SetBackground(gbCalibration, Silver);
    gbCalibration->setEnabled(false);

    QGroupBox *gbCalibrationParameters =
        Group(gbCalibration, "gbCalibrationParameters", tr("Calibration Parameters"), {8, 18, 217, 232});
    const char *editNames[] = {"editalphax", "editalphay", "editalphaz",
                               "editthetax", "editthetay", "editthetaz"};
    const char *labelNames[] = {"lbalphax", "lbalphay", "lbalphaz", "lbthetax", "lbthetay", "lbthetaz"};
    const char *saveNames[] = {"btnSaveAlphaX", "btnSaveAlphaY", "btnSaveAlphaZ",
                               "btnSaveThetaX", "btnSaveThetaY", "btnSaveThetaZ"};
    const QString captions[] = {tr("alpha x"), tr("alpha y"), tr("alpha z"),
                                tr("theta x"), tr("theta y"), tr("theta z")};
    const QString designedTexts[] = {QStringLiteral("1"),  QStringLiteral("1"),  QStringLiteral("1"),
                                     QStringLiteral("90"), QStringLiteral("90"), QStringLiteral("89.81")};
    for (int i = 0; i < 6; ++i) {
        const int top = 20 + i * 28;
        Label(gbCalibrationParameters, labelNames[i], captions[i], QPoint(8, top + 4));
        editCalibration[i] = Edit(gbCalibrationParameters, editNames[i], designedTexts[i], {60, top, 84, 21});
        btnSaveCalibration[i] =
            Button(gbCalibrationParameters, saveNames[i], tr("Save"), {150, top - 1, 58, 23});
        btnSaveCalibration[i]->setEnabled(false);
        const int tag = i + 1;
        connect(editCalibration[i], &QLineEdit::textChanged, this, [this, tag] {
            m_calibrationPanel.EditChanged(tag);
            ShowSaveButtons();
        });
        connect(btnSaveCalibration[i], &QPushButton::clicked, this, [this, tag] { btnSaveAlphaXClick(tag); });
    }
    auto *btnApply =
        Button(gbCalibrationParameters, "btnApplyCalibrationParameters", tr("Apply"), {8, 196, 200, 26});
    connect(btnApply, &QPushButton::clicked, this, &TQintarForm::btnApplyCalibrationParametersClick);

    QGroupBox *gbDataDisplay =
        Group(gbCalibration, "gbDataDisplay", tr("Measured Coordinates are..."), {8, 256, 217, 150});
    m_displayGroup = new TToggleGroup(this);
    sbCalibrated = Toggle(gbDataDisplay, "sbCalibrated", tr("Calibrated"), {8, 20, 96, 27});
    sbUseRawValues = Toggle(gbDataDisplay, "sbUseRawValues", tr("Raw"), {112, 20, 96, 27});
    m_displayGroup->Add(sbCalibrated);
    m_displayGroup->Add(sbUseRawValues);
    sbCalibrated->setChecked(true);
    QLabel *warning = Label(
        gbDataDisplay, "lbRawWarning",
        tr("Warning: use raw data to determine calibration parameters: use calibrated data for normal use."),
        QRect(8, 54, 200, 88));
    warning->setWordWrap(true);
    warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    sbOffLineCalibrationTest =
        Toggle(gbCalibration, "sbOffLineCalibrationTest", tr("Off Line Calibration Test"), {8, 414, 217, 30});

    QGroupBox *gbSelectAxis = Group(gbCalibration, "gbSelectAxis", tr("Select Axis"), {8, 452, 217, 138});
    m_axisGroup = new TToggleGroup(this);
    sbLockX = Toggle(gbSelectAxis, "sbLockX", tr("X only"), {8, 20, 200, 32});
    sbLockY = Toggle(gbSelectAxis, "sbLockY", tr("Y only"), {8, 58, 200, 32});
    sbLockZ = Toggle(gbSelectAxis, "sbLockZ", tr("Z only"), {8, 96, 200, 32});
    for (QPushButton *button : {sbLockX, sbLockY, sbLockZ})
        m_axisGroup->Add(button);
    connect(m_axisGroup, &TToggleGroup::Clicked, this, [this](QAbstractButton *button) {
        using TAxis = TMeasurementCycle::TAxis;
        m_cycle.LockClicked(button == sbLockX   ? TAxis::X
                            : button == sbLockY ? TAxis::Y
                                                : TAxis::Z,
                            CycleState());
    });

    Label(this, "Label14", tr("Enter password to access maintenance settings"), QPoint(986, 609));
    edPassword = Edit(this, "edPassword", {}, {1032, 627, 121, 21});
    edPassword->setEchoMode(QLineEdit::Password);
    connect(edPassword, &QLineEdit::textChanged, this, &TQintarForm::edPasswordChange);
    Label(this, "Label15", tr("Enter invalid password to make secure"), QPoint(1002, 650));
}

void TQintarForm::BuildCharts()
{
    m_chartEngine = new TQtChartEngine(this);
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

QTableView *TQintarForm::BuildTable(QWidget *parent, const char *name, const QRect &place, TTextTable *table)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setGeometry(place);
    view->setModel(table);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->verticalHeader()->hide();
    view->verticalHeader()->setMinimumSectionSize(TableRowHeight);
    view->verticalHeader()->setDefaultSectionSize(TableRowHeight);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setFixedHeight(TableRowHeight + 2);
    view->horizontalHeader()->setHighlightSections(false);
    view->setWordWrap(false);

    // The table's current and top rows are the truth; the view mirrors them, and the operator's
    // clicks and scrolling go back into the table (model row = table row - 1).
    auto mirroring = std::make_shared<bool>(false);
    view->selectRow(table->Row() - 1);
    connect(table, &TTextTable::CurrentRowChanged, view, [view, mirroring](int row) {
        if (*mirroring)
            return;
        *mirroring = true;
        view->selectRow(row - 1);
        *mirroring = false;
    });
    connect(table, &TTextTable::TopRowChanged, view, [view, mirroring](int row) {
        if (*mirroring)
            return;
        *mirroring = true;
        view->verticalScrollBar()->setValue(row - 1);
        *mirroring = false;
    });
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, table,
            [table, mirroring](const QModelIndex &current) {
                if (*mirroring || !current.isValid())
                    return;
                *mirroring = true;
                table->SetRow(current.row() + 1);
                *mirroring = false;
            });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, table, [table, mirroring](int value) {
        if (*mirroring)
            return;
        *mirroring = true;
        table->SetTopRow(value + 1);
        *mirroring = false;
    });
    return view;
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
    m_calibration = settings.Calibration;
    // Filling the boxes counts as an edit and enables their Save buttons; start with them disabled.
    ShowCalibration();
    DisableCalibrationSaves();

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
    m_views->StartUp();
    for (QScrollBar *bar : scrlZoom) {
        bar->setMaximum(100);
        bar->setMinimum(5);
        bar->setValue(100);
    }
    m_dialogFolder = DataDirectory();
    m_dialogFilter = ProjectFilter;
    m_derivations->ClearSelections();
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
        Image1DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TQintarForm::Image1DblClick()
{
    if (frameGeometry().width() > 1000) {
        SetOuterWidth(NarrowOuterWidth);
        m_displayGroup->SetDown(sbCalibrated);
    } else {
        SetOuterWidth(WideOuterWidth);
    }
}

void TQintarForm::SetOuterWidth(int outerWidth)
{
    const int frame = frameGeometry().width() - width();
    setFixedSize(outerWidth - frame, height());
    // A hidden window gets its resize event only when shown; lay out now all the same.
    if (!isVisible())
        FormResize();
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
    edProjectName->clear();
    ClearAll();
    if (!HasProjectName())
        m_dialogs->ShowMessage(QStringLiteral("Please enter a project name"));
}

void TQintarForm::ClearAll()
{
    m_views->ClearAllSeries();
    m_register.ClearAll();
}

void TQintarForm::sbDistanceClick()
{
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
        if (m_register.AddPoint(point, true).tellOperator)
            m_dialogs->ShowMessage(TPointRegister::TableFullMessage());
        return;
    }
    if (!HasProjectName())
        edProjectName->setText(DefaultProjectName());
    m_views->AddRecordedPoint(point);
    m_register.AddPoint(point, gbMeasuredData->height() == ShortDataGroupHeight);
}

TFileTables TQintarForm::FileTables()
{
    return TFileTables{
        m_register.Data(), m_register.Distances(), m_register.Angles(),
        [this](const QString &x, const QString &y, const QString &z) { return m_views->PlotPoint(x, y, z); },
        [this] { m_views->ClearAllSeries(); }};
}

bool TQintarForm::Report(const TFileResult &result)
{
    switch (result.status) {
    case TFileResult::TStatus::Done:
        for (const QString &warning : result.warnings)
            m_dialogs->ShowMessage(warning);
        return true;
    case TFileResult::TStatus::NoProjectName:
    case TFileResult::TStatus::RefusedName:
        m_dialogs->ShowMessage(result.message);
        return false;
    case TFileResult::TStatus::Failed:
        m_dialogs->ShowError(result.message);
        return false;
    }
    return false;
}

bool TQintarForm::btnSaveAllClick()
{
    const TProjectFile file(FileTables());
    return Report(file.Save(DataDirectory(), edProjectName->text(), DefaultProjectName()));
}

void TQintarForm::btnLoadAllClick()
{
    const auto fileName = m_dialogs->OpenFileName({}, m_dialogFolder, m_dialogFilter);
    if (!fileName)
        return;
    TProjectFile file(FileTables());
    const TFileResult result = file.Load(*fileName);
    if (result.Ok()) {
        if (result.pointCount)
            m_register.SetPointCount(*result.pointCount);
        if (result.projectName)
            edProjectName->setText(*result.projectName);
    }
    Report(result);
}

bool TQintarForm::WriteTableFile(TTableFile::TKind kind)
{
    const auto fileName =
        m_dialogs->SaveFileName(TTableFile::SaveTitle(kind), m_dialogFolder, m_dialogFilter);
    if (!fileName)
        return true;
    const TTableFile file(FileTables());
    return Report(file.Save(kind, *fileName));
}

void TQintarForm::btnSaveClick()
{
    // A cancelled dialog skips only its own file; a failed write ends the whole operation.
    for (TTableFile::TKind kind :
         {TTableFile::TKind::Coordinates, TTableFile::TKind::Distances, TTableFile::TKind::Angles})
        if (!WriteTableFile(kind))
            return;
}

void TQintarForm::LoadTableFile(TTableFile::TKind kind)
{
    const auto fileName = m_dialogs->OpenFileName({}, m_dialogFolder, m_dialogFilter);
    if (!fileName)
        return;
    TTableFile file(FileTables());
    const TFileResult result = file.Load(kind, *fileName);
    if (result.Ok() && result.pointCount)
        m_register.SetPointCount(*result.pointCount);
    Report(result);
}

void TQintarForm::AddTableFileActions(QTableView *view, TTableFile::TKind kind)
{
    auto *save = new QAction(tr("Save to file..."), view);
    save->setObjectName(view->objectName() + QStringLiteral("SaveToFile"));
    connect(save, &QAction::triggered, this, [this, kind] { WriteTableFile(kind); });
    auto *load = new QAction(tr("Load from file..."), view);
    load->setObjectName(view->objectName() + QStringLiteral("LoadFromFile"));
    connect(load, &QAction::triggered, this, [this, kind] { LoadTableFile(kind); });
    view->addAction(save);
    view->addAction(load);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TQintarForm::closeEvent(QCloseEvent *event)
{
    if (m_shuttingDown) {
        event->accept();
        return;
    }
    if (HasMeasuredData() &&
        m_dialogs->AskYesNo(QStringLiteral("Save current data?"), TOperatorDialogs::TStyle::Information)) {
        if (btnSaveAllClick())
            m_dialogs->ShowMessage(QStringLiteral("Data has been saved to disk"));
        event->ignore();
        return;
    }
    if (!m_dialogs->AskYesNo(QStringLiteral("Are you sure?"), TOperatorDialogs::TStyle::Information)) {
        event->ignore();
        return;
    }
    m_shuttingDown = true;
    // Shown up without its click action: the port is not closed here.
    sbOnLine->setChecked(false);
    tShutdown->start();
    tCommsDelay->stop();
    event->accept();
}

void TQintarForm::SetUpPortManager()
{
    auto *panel = new TPortManagerPanel(this);
    panel->setObjectName(QStringLiteral("USB"));
    // Below the client area: the window shows the link's state in its own status line instead.
    panel->setGeometry(8, 2000, 220, 180);
    panel->SetErrorReport([this](const QString &message) { m_dialogs->ShowError(message); });
    USB = &panel->Engine();
    // The device's line: 19200 baud 8N1, one attempt each way, a second to answer.
    USB->SetPortNumber(5);
    USB->SetBaudRate(19200);
    USB->SetParity(pNone);
    USB->SetDataBits(8);
    USB->SetStopBits(1);
    USB->SetTTimeout(1000);
    USB->SetRTimeout(1000);
    USB->SetMaxTransmitAttempts(1);
    USB->SetMaxReceiveAttempts(1);
    USB->SetUseDSR(false);
    USB->SetTransmitEndSequence(QByteArray(1, '\r'));
    USB->SetReceiveEndSequence(QByteArray(1, '\r'));
    USB->SetNumberOfReceiveEndSequences(1);
    USB->SetOnSuccess([this](TPortManagerRS232 &sender) { USBSuccess(sender); });
    USB->SetOnFail([this](TPortManagerRS232 &sender) { USBFail(sender); });
    USB->SetErrorReport([this](const TSerialError &error) {
        ShowLinkTrouble(tr("The port cannot be opened - press On Line again (%1)").arg(error.Message()));
    });
    connect(tCommsDelay, &QTimer::timeout, this, &TQintarForm::tCommsDelayTimer);
}

TCycleState TQintarForm::CycleState() const
{
    return TCycleState{m_shuttingDown,         sbOnLine->isChecked(), sbCalibrated->isChecked(),
                       sbMeasure->isChecked(), sbLockX->isChecked(),  sbLockY->isChecked(),
                       sbLockZ->isChecked()};
}

void TQintarForm::sbOnLineClick()
{
    try {
        if (sbOnLine->isChecked()) {
            USB->SetPortOpen(true);
            USB->SetCommand(TMeasurementCycle::kReadPosition);
            ShowLinkTrouble(tr("Waiting for the device..."));
        } else {
            USB->SetPortOpen(false);
            ShowLinkTrouble(tr("Off line"));
        }
    } catch (const TSerialError &error) {
        ShowLinkTrouble(tr("The port cannot be opened - press On Line again (%1)").arg(error.Message()));
        m_dialogs->ShowError(error.Message());
    }
}

void TQintarForm::tCommsDelayTimer()
{
    tCommsDelay->stop();
    try {
        USB->SetCommand(m_cycle.NextCommand());
    } catch (const TSerialError &error) {
        // The cycle stalls here until the operator goes off line and on line again.
        ShowLinkTrouble(tr("Cannot send to the device - press On Line again (%1)").arg(error.Message()));
        m_dialogs->PlaySound(QStringLiteral("Chimes.wav"));
    }
}

void TQintarForm::USBSuccess(TPortManagerRS232 &sender)
{
    const TReplyActions actions = m_cycle.ProcessReply(sender.Reply(), CycleState(), m_calibration);
    if (!actions.Handled)
        return;
    SetLogoColour(actions.Logo);
    if (actions.Position) {
        m_views->ShowLivePosition(*actions.Position, sbXYView->isChecked(), sbXZView->isChecked(),
                                  sbYZView->isChecked(), sb3DView->isChecked());
        stReadX->setText(actions.Readouts[0]);
        stReadY->setText(actions.Readouts[1]);
        stReadZ->setText(actions.Readouts[2]);
        SetReadoutsFresh(true);
        Q_EMIT PositionShown(*actions.Position);
    }
    if (actions.Chime)
        m_dialogs->PlaySound(QStringLiteral("chimes.wav"));
    if (actions.Record && actions.Position)
        RecordPoint(*actions.Position);
    if (actions.Beep)
        m_dialogs->Beep();
    SetHeartbeat(actions.Heartbeat);
    ShowLinkHealthy();
    if (actions.StartPoll)
        tCommsDelay->start();
}

void TQintarForm::USBFail(TPortManagerRS232 &sender)
{
    if (m_shuttingDown)
        return;
    QString detail = QString::fromLatin1(sender.FailText());
    if (detail.isEmpty())
        detail = QString::fromLatin1(sender.ErrorText());
    ShowLinkTrouble(tr("No reply from the device - press On Line again (%1)").arg(detail));
}

void TQintarForm::SetLogoColour(TSignalColour colour)
{
    const QColor wanted = QColor::fromRgb(RgbOf(colour));
    if (pnLogo->palette().color(QPalette::Window) != wanted)
        SetBackground(pnLogo, wanted);
}

void TQintarForm::SetHeartbeat(TSignalColour colour)
{
    SetColour(sbOnLine, QPalette::ButtonText, QColor::fromRgb(RgbOf(colour)));
}

void TQintarForm::ShowLinkTrouble(const QString &text)
{
    stLinkStatus->setText(text);
    SetColour(stLinkStatus, QPalette::WindowText, Red);
    SetReadoutsFresh(false);
}

void TQintarForm::ShowLinkHealthy()
{
    stLinkStatus->clear();
}

void TQintarForm::SetReadoutsFresh(bool fresh)
{
    for (QLabel *readout : {stReadX, stReadY, stReadZ})
        SetColour(readout, QPalette::WindowText, fresh ? DarkBlue : StaleGrey);
}

void TQintarForm::ShowCalibration()
{
    const auto texts = TCalibrationPanelLogic::EditTexts(m_calibration);
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i)
        editCalibration[i]->setText(texts[static_cast<std::size_t>(i)]);
}

void TQintarForm::DisableCalibrationSaves()
{
    m_calibrationPanel.DisableCalibrationSaves();
    ShowSaveButtons();
}

TCalibrationPanelLogic::TEditTexts TQintarForm::CalibrationTexts() const
{
    TCalibrationPanelLogic::TEditTexts texts;
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i)
        texts[static_cast<std::size_t>(i)] = editCalibration[i]->text();
    return texts;
}

void TQintarForm::ShowSaveButtons()
{
    for (int i = 0; i < TCalibrationPanelLogic::kEditCount; ++i)
        btnSaveCalibration[i]->setEnabled(m_calibrationPanel.SaveEnabled(i + 1));
}

void TQintarForm::PutIntoEffect(const TCalibrationDecision &decision)
{
    if (decision.NewCalibration)
        m_calibration = *decision.NewCalibration;
    ShowSaveButtons();
    if (!decision.Message.isEmpty())
        m_dialogs->ShowMessage(decision.Message);
    if (!decision.ErrorText.isEmpty())
        m_dialogs->ShowError(decision.ErrorText);
}

void TQintarForm::btnApplyCalibrationParametersClick()
{
    PutIntoEffect(m_calibrationPanel.Apply(CalibrationTexts()));
}

void TQintarForm::btnSaveAlphaXClick(int tag)
{
    PutIntoEffect(m_calibrationPanel.Save(tag, CalibrationTexts(), m_settings));
}

void TQintarForm::edPasswordChange(const QString &text)
{
    const bool unlocked = TCalibrationPanelLogic::IsAccessCode(text);
    gbCalibration->setEnabled(unlocked);
    SetBackground(gbCalibration, unlocked ? Cream : Silver);
}

void TQintarForm::tShutdownTimer()
{
    close();
}
