#include "devicelink/portmanagerpanel.h"

#include "devicelink/panelpictures.h"
#include "devicelink/portdirectory.h"
#include "devicelink/qtenginetimer.h"
#include "devicelink/qtserialportaccess.h"
#include "devicelink/selectportdialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

namespace {

const QColor Navy(0, 0, 128);
const QColor Maroon(128, 0, 0);
const QColor Silver(192, 192, 192);

QColor ToColor(TPortManagerDisplay::TArrowColour colour)
{
    return QColor::fromRgb(QRgb(colour));
}

// A reply usually repeats what the boxes already hold: refilling a box with the same text would
// still lay it out and repaint it, so only a change is passed on.
void SetBoxText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

} // namespace

TPortManagerPanel::TPortManagerPanel(QWidget *parent) : QWidget(parent)
{
    auto port = std::make_unique<TQtSerialPortAccess>();
    port->SetPortChooser(
        [this](const QList<quint16> &ports) { return TSelectPortDialog::Choose(ports, this); });
    auto transmitTimer = std::make_unique<TQtEngineTimer>();
    auto receiveTimer = std::make_unique<TQtEngineTimer>();
    m_realPort = port.get();
    m_realTimers = {transmitTimer.get(), receiveTimer.get()};
    m_engine = std::make_unique<TPortManagerRS232>(std::move(port), std::move(transmitTimer),
                                                   std::move(receiveTimer));
    BuildChildren();
    m_engine->SetDisplay(this);
}

TPortManagerPanel::TPortManagerPanel(std::unique_ptr<TPortManagerRS232> engine, QWidget *parent)
    : QWidget(parent), m_engine(std::move(engine))
{
    BuildChildren();
    m_engine->SetDisplay(this);
}

TPortManagerPanel::~TPortManagerPanel()
{
    m_engine->SetDisplay(nullptr);
    SetEscapedErrorReport({});
}

void TPortManagerPanel::SetEscapedErrorReport(const std::function<void(const QString &message)> &report)
{
    if (m_realPort)
        m_realPort->SetErrorReport(report);
    for (TQtEngineTimer *timer : m_realTimers)
        if (timer)
            timer->SetErrorReport(report);
}

void TPortManagerPanel::BuildChildren()
{
    setFixedSize(220, 180);
    QFont font(QStringLiteral("Small Fonts"));
    font.setPointSize(7);
    setFont(font);

    // Each label's caption has one blank either side, centred, and the label takes the size of it.
    const auto makeLabel = [this](const char *name, const QString &text, QPoint at, const QColor &colour) {
        auto *label = new QLabel(QLatin1Char(' ') + text + QLatin1Char(' '), this);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        SetTextColour(label, colour);
        label->move(at);
        label->adjustSize();
        return label;
    };
    const auto makeBox = [this](const char *name, QRect geometry, bool readOnly) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(geometry);
        box->setReadOnly(readOnly);
        box->setTextMargins(0, 0, 0, 0);
        SetTextColour(box, Navy);
        return box;
    };

    m_titleLabel = makeLabel("TitleLabel", QStringLiteral("Port Manager RS232 v1.00"), {3, 2}, Maroon);
    m_commandBox = makeBox("CommandBox", {75, 20, 110, 14}, true);
    m_replyBox = makeBox("ReplyBox", {75, 47, 110, 14}, true);
    m_transmitTriesBox = makeBox("TransmitTriesBox", {182, 20, 28, 14}, true);
    m_receiveTriesBox = makeBox("ReceiveTriesBox", {182, 47, 28, 14}, true);
    m_portSettingsLabel = makeLabel("PortSettingsLabel", QStringLiteral("PC Port Settings"), {22, 72}, Navy);

    m_settingsGrid = new QTableWidget(9, 2, this);
    m_settingsGrid->setObjectName(QStringLiteral("SettingsGrid"));
    m_settingsGrid->setGeometry(10, 85, 105, 88);
    m_settingsGrid->horizontalHeader()->hide();
    m_settingsGrid->verticalHeader()->hide();
    m_settingsGrid->horizontalHeader()->setDefaultSectionSize(50);
    m_settingsGrid->verticalHeader()->setMinimumSectionSize(1);
    m_settingsGrid->verticalHeader()->setDefaultSectionSize(13);
    m_settingsGrid->setShowGrid(true);
    m_settingsGrid->setSelectionMode(QAbstractItemView::NoSelection);
    m_settingsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_settingsGrid->setFocusPolicy(Qt::NoFocus);
    m_settingsGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_settingsGrid->verticalScrollBar()->setTracking(true);
    SetTextColour(m_settingsGrid, Navy);
    static const char *const labels[] = {"Port No",   "Baud Rate", "Parity",     "Data Bits", "Stop Bits",
                                         "T Timeout", "R Timeout", "No T Tries", "No R Tries"};
    for (int row = 0; row < 9; ++row) {
        // The label column is the grid's fixed column.
        auto *label = new QTableWidgetItem(QLatin1String(labels[row]));
        label->setFlags(Qt::NoItemFlags);
        label->setBackground(Silver);
        label->setForeground(Navy);
        m_settingsGrid->setItem(row, 0, label);
        auto *value = new QTableWidgetItem;
        value->setFlags(Qt::ItemIsEnabled);
        value->setForeground(Navy);
        m_settingsGrid->setItem(row, 1, value);
    }

    m_errorDetailsLabel = makeLabel("ErrorDetailsLabel", QStringLiteral("Error Details"), {132, 68}, Navy);
    m_testCommandLabel = makeLabel("TestCommandLabel", QStringLiteral("Test Command"), {126, 108}, Navy);
    m_errorDetailsBox = makeBox("ErrorDetailsBox", {123, 80, 87, 14}, true);
    m_testCommandBox = makeBox("TestCommandBox", {123, 120, 87, 14}, false);

    m_sendButton = new QPushButton(QStringLiteral("Send"), this);
    m_sendButton->setObjectName(QStringLiteral("SendButton"));
    m_sendButton->setGeometry(170, 145, 40, 20);
    SetTextColour(m_sendButton, QColor(255, 0, 0));
    connect(m_sendButton, &QPushButton::clicked, this, [this] { SendButtonClick(); });

    m_statusIndicator = new QLabel(this);
    m_statusIndicator->setObjectName(QStringLiteral("StatusIndicator"));
    m_statusIndicator->setGeometry(123, 145, 40, 20);
    m_statusIndicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusIndicator->setLineWidth(2);
    m_statusIndicator->setAlignment(Qt::AlignCenter);
    m_statusIndicator->setAutoFillBackground(true);
    QPalette palette = m_statusIndicator->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    palette.setColor(QPalette::WindowText, Qt::black);
    m_statusIndicator->setPalette(palette);
}

void TPortManagerPanel::SetPortChooser(TQtSerialPortAccess::TPortChooser chooser)
{
    if (m_realPort)
        m_realPort->SetPortChooser(std::move(chooser));
}

QString TPortManagerPanel::PortInUse() const
{
    if (!m_realPort || !m_realPort->IsOpen())
        return {};
    const quint16 number = m_realPort->PortNumber();
    return QStringLiteral("%1 - %2").arg(TPortDirectory::PortName(number),
                                         TPortDirectory::DevicePath(number));
}

void TPortManagerPanel::SendButtonClick()
{
    try {
        m_engine->SendTestCommand(m_testCommandBox->text().toLatin1());
    } catch (const TSerialError &error) {
        if (m_errorReport)
            m_errorReport(error.Message());
        else
            QMessageBox::warning(this, QStringLiteral("Serial port"), error.Message());
    }
}

void TPortManagerPanel::ShowTransmitArrow(TArrowColour colour)
{
    const QColor wanted = ToColor(colour);
    if (wanted == m_transmitDrawn)
        return;
    m_transmitAsked = m_transmitDrawn = wanted;
    update(TransmitArrowRect);
}

void TPortManagerPanel::ShowReceiveArrow(TArrowColour colour)
{
    const QColor wanted = ToColor(colour);
    if (wanted == m_receiveDrawn)
        return;
    m_receiveAsked = m_receiveDrawn = wanted;
    update(ReceiveArrowRect);
}

void TPortManagerPanel::ShowConnectionState(TConnectionPicture picture)
{
    if (picture == m_pictureDrawn)
        return;
    m_pictureAsked = m_pictureDrawn = picture;
    update(QRect(ConnectionAt, TPanelPictures::ConnectionSize));
}

void TPortManagerPanel::ShowCommand(const QByteArray &command)
{
    m_texts.command = QString::fromLatin1(command);
    ShowTexts();
}

void TPortManagerPanel::ShowReply(const QByteArray &reply)
{
    m_texts.reply = QString::fromLatin1(reply);
    ShowTexts();
}

void TPortManagerPanel::ShowTransmitTries(const QString &text)
{
    m_texts.transmitTries = text;
    ShowTexts();
}

void TPortManagerPanel::ShowReceiveTries(const QString &text)
{
    m_texts.receiveTries = text;
    ShowTexts();
}

void TPortManagerPanel::ShowErrorText(const QByteArray &text)
{
    m_texts.errorText = QString::fromLatin1(text);
    ShowTexts();
}

void TPortManagerPanel::ShowBusy(bool busy)
{
    m_texts.busy = busy;
    ShowTexts();
}

void TPortManagerPanel::ShowTexts()
{
    // The window keeps the panel below its client area, out of sight. A box given a new text lays it
    // out again even there, and every poll brings a command, a reply and Busy then Ready: unseen, they
    // are only remembered until the panel is next painted.
    if (!isVisible() || visibleRegion().isEmpty()) {
        m_textsPending = true;
        return;
    }
    ApplyTexts();
}

void TPortManagerPanel::ApplyTexts()
{
    m_textsPending = false;
    SetBoxText(m_commandBox, m_texts.command);
    SetBoxText(m_replyBox, m_texts.reply);
    SetBoxText(m_transmitTriesBox, m_texts.transmitTries);
    SetBoxText(m_receiveTriesBox, m_texts.receiveTries);
    SetBoxText(m_errorDetailsBox, m_texts.errorText);

    const QString text = m_texts.busy ? QStringLiteral("Busy") : QStringLiteral("Ready");
    const QColor colour = m_texts.busy ? QColor(255, 255, 0) : QColor(0, 255, 0);
    if (m_statusIndicator->text() == text && m_statusIndicator->palette().color(QPalette::Window) == colour)
        return;
    m_statusIndicator->setText(text);
    QPalette palette = m_statusIndicator->palette();
    palette.setColor(QPalette::Window, colour);
    m_statusIndicator->setPalette(palette);
}

void TPortManagerPanel::ShowSetting(TSetting row, const QString &value)
{
    QTableWidgetItem *item = m_settingsGrid->item(int(row), 1);
    if (item && item->text() != value)
        item->setText(value);
}

void TPortManagerPanel::showEvent(QShowEvent *)
{
    if (m_textsPending)
        ShowTexts();
}

void TPortManagerPanel::paintEvent(QPaintEvent *)
{
    // The boxes are painted after the panel, so they show what came while it was out of sight.
    if (m_textsPending)
        ApplyTexts();
    QPainter painter(this);
    painter.fillRect(rect(), Silver);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // Everything is drawn anew: what was drawn before is forgotten.
    if (m_pictureAsked != TConnectionPicture::None)
        painter.drawImage(ConnectionAt, TPanelPictures::Connection(m_pictureAsked));
    m_pictureDrawn = m_pictureAsked;
    painter.drawImage(TransmitArrowRect.topLeft(), TPanelPictures::TransmitArrow(m_transmitAsked));
    m_transmitDrawn = m_transmitAsked;
    painter.drawImage(ReceiveArrowRect.topLeft(), TPanelPictures::ReceiveArrow(m_receiveAsked));
    m_receiveDrawn = m_receiveAsked;
}
