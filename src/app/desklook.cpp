#include "app/desklook.h"

#include "app/stationcolours.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

namespace {

// The maintenance area's right edge: gbCalibration ends at x 976 + 233.
constexpr int MaintenanceRight = 1209;

} // namespace

const QColor TDeskLook::DisabledText(128, 128, 128);

QPalette TDeskLook::WithDisabledLook(QPalette palette)
{
    for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, DisabledText);
    return palette;
}

void TDeskLook::FitText(QLabel *label, int width)
{
    if (!label)
        return;
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > width && font.pointSizeF() > 6.0)
        font.setPointSizeF(std::max(6.0, font.pointSizeF() - 0.5));
    label->setFont(font);
    label->adjustSize();
}

int TDeskLook::LeftKeepingOnScreen(int left, int outerWidth, const QRect &available)
{
    const int rightmost = available.x() + available.width() - outerWidth;
    return std::max(available.x(), std::min(left, rightmost));
}

void TDeskLook::Apply(QWidget *window)
{
    if (auto *password = window->findChild<QLineEdit *>(QStringLiteral("edPassword"))) {
        password->setEchoMode(QLineEdit::Password);
        // The platform would show its own dot; the station shows a star per character.
        password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    }
    for (const char *name : {"Label14", "Label15"}) {
        auto *label = window->findChild<QLabel *>(QLatin1String(name));
        if (label)
            FitText(label, MaintenanceRight - label->x());
    }
}

void TDeskLook::SetWindowLook(QWidget *window)
{
    using namespace StationColours;
    QFont font(QStringLiteral("Tahoma"), 8);
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        font = QFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 8);
    window->setFont(font);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Cream);
    palette.setColor(QPalette::WindowText, DarkBlue);
    palette.setColor(QPalette::Text, DarkBlue);
    palette.setColor(QPalette::ButtonText, DarkBlue);
    window->setPalette(TDeskLook::WithDisabledLook(palette));
    window->setAutoFillBackground(true);
}
