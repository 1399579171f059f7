#include "app/controltips.h"

#include "app/stationlink.h"

#include <QAbstractButton>
#include <QHash>
#include <QKeySequence>
#include <QWidget>

namespace {

const QHash<QString, QString> &Tips()
{
    static const QHash<QString, QString> tips = {
        {QStringLiteral("btnNew"), QStringLiteral("Start a new, empty project")},
        {QStringLiteral("btnLoadAll"), QStringLiteral("Load a project file into the three tables")},
        {QStringLiteral("btnSaveAll"), QStringLiteral("Save the three tables as the project file in Data")},
        {QStringLiteral("btnSave"), QStringLiteral("Save each table to a file of its own")},
        {QStringLiteral("edProjectName"), QStringLiteral("The project's name, used as its file name")},
        {QStringLiteral("sbOnLine"),
         QStringLiteral("Open the port and poll the device (press again to stop)")},
        {QStringLiteral("sbMeasure"),
         QStringLiteral("Record the points the device signals (down) or not (up)")},
        {QStringLiteral("btnGoToPosition"), QStringLiteral("Send the device to the go-to position")},
        {QStringLiteral("sbXYView"), QStringLiteral("Show the X-Y view")},
        {QStringLiteral("sbXZView"), QStringLiteral("Show the X-Z view")},
        {QStringLiteral("sbYZView"), QStringLiteral("Show the Y-Z view")},
        {QStringLiteral("sb3DView"), QStringLiteral("Show the 3D view")},
        {QStringLiteral("btnClear"), QStringLiteral("Empty the views and the three tables")},
        {QStringLiteral("btnZero"), QStringLiteral("Make the device's present position the zero point")},
        {QStringLiteral("stReadX"), QStringLiteral("The device's X position in mm")},
        {QStringLiteral("stReadY"), QStringLiteral("The device's Y position in mm")},
        {QStringLiteral("stReadZ"), QStringLiteral("The device's Z position in mm")},
        {QStringLiteral("stGoToX"), QStringLiteral("The go-to X position in mm")},
        {QStringLiteral("stGoToY"), QStringLiteral("The go-to Y position in mm")},
        {QStringLiteral("stGoToZ"), QStringLiteral("The go-to Z position in mm")},
        {QStringLiteral("sbCoarse"), QStringLiteral("Coarse joystick movement")},
        {QStringLiteral("sbFine"), QStringLiteral("Fine joystick movement")},
        // As the logo starts: red, with no readings yet.
        {QStringLiteral("Image1"), TStationLink::LogoTip(TSignalColour::Red, false)},
        {QStringLiteral("sbDistance"), QStringLiteral("Pick two points in a view to add their distance")},
        {QStringLiteral("sbAngle"),
         QStringLiteral("Pick three points (the vertex second) to add their angle")},
        {QStringLiteral("sbDelete"), QStringLiteral("Pick a point or click a table row to delete it")},
        {QStringLiteral("sgData"), QStringLiteral("The recorded points (right-click for files)")},
        {QStringLiteral("sgDistance"), QStringLiteral("The distances derived (right-click for files)")},
        {QStringLiteral("sgAngles"), QStringLiteral("The angles derived (right-click for files)")},
        {QStringLiteral("btnSaveCoordinates"), QStringLiteral("Save the point table to a file")},
        {QStringLiteral("btnSaveDistances"), QStringLiteral("Save the distances table to a file")},
        {QStringLiteral("btnSaveAngles"), QStringLiteral("Save the angles table to a file")},
        {QStringLiteral("btnLoadCoordinates"), QStringLiteral("Load the point table from a file")},
        {QStringLiteral("btnLoadDistances"), QStringLiteral("Load the distances table from a file")},
        {QStringLiteral("btnLoadAngles"), QStringLiteral("Load the angles table from a file")},
        {QStringLiteral("Button1"), QStringLiteral("Save each table to a file of its own")},
        {QStringLiteral("Button3"), QStringLiteral("Save each table to a file of its own")},
        {QStringLiteral("scrlZoomXY"), QStringLiteral("Zoom the X-Y view")},
        {QStringLiteral("scrlZoomXZ"), QStringLiteral("Zoom the X-Z view")},
        {QStringLiteral("scrlZoomYZ"), QStringLiteral("Zoom the Y-Z view")},
        {QStringLiteral("scrlZoom3D"), QStringLiteral("Zoom the 3D view")},
        {QStringLiteral("scrlRotate3D"), QStringLiteral("Turn the 3D view")},
        {QStringLiteral("scrlElevate3D"), QStringLiteral("Tilt the 3D view")},
        {QStringLiteral("editalphax"), QStringLiteral("Scale factor of X")},
        {QStringLiteral("editalphay"), QStringLiteral("Scale factor of Y")},
        {QStringLiteral("editalphaz"), QStringLiteral("Scale factor of Z")},
        {QStringLiteral("editthetax"), QStringLiteral("Offset angle of X in degrees")},
        {QStringLiteral("editthetay"), QStringLiteral("Offset angle of Y in degrees")},
        {QStringLiteral("editthetaz"), QStringLiteral("Offset angle of Z in degrees")},
        {QStringLiteral("btnSaveAlphaX"), QStringLiteral("Save this value to the settings file")},
        {QStringLiteral("btnSaveAlphaY"), QStringLiteral("Save this value to the settings file")},
        {QStringLiteral("btnSaveAlphaZ"), QStringLiteral("Save this value to the settings file")},
        {QStringLiteral("btnSaveThetaX"), QStringLiteral("Save this value to the settings file")},
        {QStringLiteral("btnSaveThetaY"), QStringLiteral("Save this value to the settings file")},
        {QStringLiteral("btnSaveThetaZ"), QStringLiteral("Save this value to the settings file")},
        {QStringLiteral("btnApplyCalibrationParameters"), QStringLiteral("Use the six values from now on")},
        {QStringLiteral("sbCalibrated"), QStringLiteral("Show and record calibrated coordinates")},
        {QStringLiteral("sbUseRawValues"), QStringLiteral("Show and record raw coordinates")},
        {QStringLiteral("sbOffLineCalibrationTest"),
         QStringLiteral("Calibrate picked raw points before deriving from them")},
        {QStringLiteral("sbLockX"), QStringLiteral("Let only the X axis move")},
        {QStringLiteral("sbLockY"), QStringLiteral("Let only the Y axis move")},
        {QStringLiteral("sbLockZ"), QStringLiteral("Let only the Z axis move")},
        {QStringLiteral("edPassword"), QStringLiteral("The access code of the maintenance settings")},
    };
    return tips;
}

} // namespace

QString TControlTips::TipFor(const QString &objectName)
{
    return Tips().value(objectName);
}

void TControlTips::Apply(QWidget *window)
{
    for (QWidget *control : window->findChildren<QWidget *>()) {
        QString tip = TipFor(control->objectName());
        if (tip.isEmpty())
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(control); button && !button->shortcut().isEmpty())
            tip += QStringLiteral(" (%1)").arg(button->shortcut().toString(QKeySequence::NativeText));
        control->setToolTip(tip);
    }
}
