#include "app/largereadoutform.h"

#include "app/largedigitlabel.h"
#include "app/stationcolours.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <algorithm>

using namespace StationColours;

namespace {

const QString PlaceKey = QStringLiteral("LargeReadout/Geometry");
// The widest position the readouts show: seven significant digits, a sign and a point.
const QString WidestNumber = QStringLiteral("-0000.000");
const QColor Background(250, 250, 240);

QFont PixelFont(const QFont &base, double pixels, bool bold)
{
    QFont font = base;
    font.setPixelSize(std::max(6, int(pixels)));
    font.setBold(bold);
    return font;
}

} // namespace

TLargeReadoutForm::TLargeReadoutForm(const QString &settingsFile, QWidget *parent)
    : QWidget(parent, Qt::Window), m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("LargeReadout"));
    setWindowTitle(tr("QintarSoft - Large readout"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Background);
    palette.setColor(QPalette::WindowText, DarkBlue);
    setPalette(palette);
    setAutoFillBackground(true);

    const char *axes[] = {"X", "Y", "Z"};
    TLargeDigitLabel **digits[] = {&stLargeX, &stLargeY, &stLargeZ};
    for (int n = 0; n < 3; ++n) {
        m_axes[n] = new QLabel(QString::fromLatin1(axes[n]), this);
        m_axes[n]->setObjectName(QStringLiteral("lbLarge") + QLatin1String(axes[n]));
        *digits[n] = new TLargeDigitLabel(this);
        (*digits[n])->setObjectName(QStringLiteral("stLarge") + QLatin1String(axes[n]));
        (*digits[n])->setText(QStringLiteral("0.000"));
        m_units[n] = new QLabel(tr("mm"), this);
        m_units[n]->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }
    stLargeLink = new QLabel(tr("Off line"), this);
    stLargeLink->setObjectName(QStringLiteral("stLargeLink"));
    stLargeLink->setWordWrap(true);
    stLargePoint = new QLabel(this);
    stLargePoint->setObjectName(QStringLiteral("stLargePoint"));
    stLargePoint->setAlignment(Qt::AlignCenter);
    stLargeFeature = new QLabel(this);
    stLargeFeature->setObjectName(QStringLiteral("stLargeFeature"));
    stLargeFeature->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stLargeFeature->setWordWrap(true);
    SetLastPoint(0);
    resize(760, 480);
    setMinimumSize(240, 160);
}

TLargeReadoutForm::~TLargeReadoutForm()
{
    if (isVisible())
        SavePlace();
}

void TLargeReadoutForm::ShowPosition(const QString &x, const QString &y, const QString &z)
{
    // A label asks for nothing when its text stays the same.
    stLargeX->setText(x);
    stLargeY->setText(y);
    stLargeZ->setText(z);
}

void TLargeReadoutForm::SetFresh(bool fresh)
{
    if (fresh == m_fresh)
        return;
    m_fresh = fresh;
    for (QLabel *digits :
         {static_cast<QLabel *>(stLargeX), static_cast<QLabel *>(stLargeY), static_cast<QLabel *>(stLargeZ)})
        SetColour(digits, QPalette::WindowText, fresh ? DarkBlue : StaleGrey);
}

void TLargeReadoutForm::SetLinkState(const QString &text, bool trouble)
{
    stLargeLink->setText(text);
    SetColour(stLargeLink, QPalette::WindowText, trouble ? Red : DarkBlue);
}

void TLargeReadoutForm::SetLastPoint(int number)
{
    stLargePoint->setText(number > 0 ? tr("Last point: %1").arg(number) : tr("No point recorded"));
}

void TLargeReadoutForm::SetFeatureInProgress(const QString &text)
{
    stLargeFeature->setText(text);
}

void TLargeReadoutForm::Open()
{
    if (!m_placed) {
        m_placed = true;
        const QByteArray place =
            m_settingsFile.isEmpty()
                ? QByteArray()
                : QSettings(m_settingsFile, QSettings::IniFormat).value(PlaceKey).toByteArray();
        // A place on a screen that is gone is brought back onto one that is there.
        if (place.isEmpty() || !restoreGeometry(place)) {
            if (const QWidget *station = parentWidget())
                move(station->frameGeometry().topRight() + QPoint(8, 0));
        }
    }
    show();
    raise();
    activateWindow();
}

void TLargeReadoutForm::SavePlace() const
{
    if (m_settingsFile.isEmpty())
        return;
    QSettings settings(m_settingsFile, QSettings::IniFormat);
    settings.setValue(PlaceKey, saveGeometry());
}

void TLargeReadoutForm::hideEvent(QHideEvent *event)
{
    SavePlace();
    QWidget::hideEvent(event);
}

void TLargeReadoutForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TLargeReadoutForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void TLargeReadoutForm::LayOut()
{
    // Three rows of digits over a band of plain words; the digits take the largest size at which the
    // widest number, its axis letter and unit fit a row.
    const double margin = std::max(8.0, height() * 0.02);
    const double band = std::clamp(height() * 0.11, 22.0, 90.0);
    const double rowHeight = (height() - band - 2 * margin) / 3.0;
    const QFont probe = PixelFont(font(), 100.0, true);
    const QFontMetricsF at100(probe);
    const double unitShare = 0.35;
    const double across100 = at100.horizontalAdvance(QStringLiteral("X ")) +
                             at100.horizontalAdvance(WidestNumber) +
                             unitShare * at100.horizontalAdvance(QStringLiteral(" mm"));
    const double pixels =
        std::min(rowHeight / at100.height() * 100.0, (width() - 2 * margin) / across100 * 100.0);
    const QFont digitFont = PixelFont(font(), pixels, true);
    const QFont unitFont = PixelFont(font(), pixels * unitShare, false);
    const QFontMetricsF digitMetrics(digitFont);
    const double letterWidth = digitMetrics.horizontalAdvance(QStringLiteral("X "));
    const double unitWidth = QFontMetricsF(unitFont).horizontalAdvance(QStringLiteral(" mm")) + 4.0;
    TLargeDigitLabel *digits[] = {stLargeX, stLargeY, stLargeZ};
    for (int n = 0; n < 3; ++n) {
        const int top = int(margin + n * rowHeight);
        const int h = int(rowHeight);
        m_axes[n]->setFont(digitFont);
        m_axes[n]->setGeometry(int(margin), top, int(letterWidth), h);
        const int right = int(width() - margin - unitWidth);
        digits[n]->setFont(digitFont);
        digits[n]->setFixedSize(std::max(1, right - int(margin + letterWidth)), h);
        digits[n]->move(int(margin + letterWidth), top);
        m_units[n]->setFont(unitFont);
        // The unit sits on the digits' baseline.
        const int baseline = int(top + (h - digitMetrics.height()) / 2 + digitMetrics.ascent());
        const QFontMetricsF unitMetrics(unitFont);
        m_units[n]->setGeometry(right, int(baseline - unitMetrics.ascent()), int(unitWidth),
                                int(unitMetrics.height()) + 2);
        m_units[n]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    // Two lines of words fit the band, for the link's longer texts.
    const QFont bandFont = PixelFont(font(), band * 0.34, true);
    const int bandTop = int(height() - margin - band);
    const int bandWidth = int(width() - 2 * margin);
    const int thirds[] = {int(bandWidth * 0.42), int(bandWidth * 0.24),
                          bandWidth - int(bandWidth * 0.42) - int(bandWidth * 0.24)};
    int left = int(margin);
    for (int n = 0; n < 3; ++n) {
        QLabel *label = n == 0 ? stLargeLink : n == 1 ? stLargePoint : stLargeFeature;
        label->setFont(bandFont);
        label->setGeometry(left, bandTop, thirds[n], int(band));
        left += thirds[n];
    }
}
