#pragma once

#include "devicelink/portmanagerdisplay.h"
#include "devicelink/portmanagerrs232.h"
#include "devicelink/qtserialportaccess.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TQtEngineTimer;
class TQtSerialPortAccess;

// The port manager's status panel, 220 x 180: the command and reply of the transaction, the attempt
// counters, the error text, the port settings, the connection picture, the transmit and receive arrows
// and Busy/Ready, with a test command to send. It owns its engine.
class TPortManagerPanel : public QWidget, public TPortManagerDisplay
{
    Q_OBJECT

public:
    // Builds a real engine on QSerialPort and two precise timers; port 0 asks with "Select Port".
    explicit TPortManagerPanel(QWidget *parent);
    // Shows and owns the engine given (a test's engine on stand-ins).
    TPortManagerPanel(std::unique_ptr<TPortManagerRS232> engine, QWidget *parent);
    ~TPortManagerPanel() override;

    TPortManagerRS232 &Engine() { return *m_engine; }

    // Replaces the "Select Port" chooser of the real serial line (a test's engine has none).
    void SetPortChooser(TQtSerialPortAccess::TPortChooser chooser);
    // The port the real line uses and the device it leads to ("COM5 - /dev/ttyUSB0"); empty when the
    // line is closed or not a real one.
    QString PortInUse() const;

    // Where an error of the Send button goes (the port cannot be opened). Without one a message box
    // shows it.
    void SetErrorReport(std::function<void(const QString &message)> report)
    {
        m_errorReport = std::move(report);
    }

    // Where an error goes that escapes a received-data notification or a timer tick of the real
    // engine (a handler's fault); a test's engine has none.
    void SetEscapedErrorReport(const std::function<void(const QString &message)> &report);

    // The colour each arrow was last drawn in, white after a repaint has forgotten it.
    QColor TransmitArrowColor() const { return m_transmitDrawn; }
    QColor ReceiveArrowColor() const { return m_receiveDrawn; }
    TConnectionPicture DrawnConnectionPicture() const { return m_pictureDrawn; }

    void ShowTransmitArrow(TArrowColour colour) override;
    void ShowReceiveArrow(TArrowColour colour) override;
    void ShowConnectionState(TConnectionPicture picture) override;
    void ShowCommand(const QByteArray &command) override;
    void ShowReply(const QByteArray &reply) override;
    void ShowTransmitTries(const QString &text) override;
    void ShowReceiveTries(const QString &text) override;
    void ShowErrorText(const QByteArray &text) override;
    void ShowBusy(bool busy) override;
    void ShowSetting(TSetting row, const QString &value) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // What the boxes and the Busy/Ready indicator are to show.
    struct TTexts
    {
        QString command;
        QString reply;
        QString transmitTries;
        QString receiveTries;
        QString errorText;
        bool busy = false;
    };

    void BuildChildren();
    void SendButtonClick();
    // Hands the texts to the boxes while the panel can be seen; otherwise keeps them for its next paint.
    void ShowTexts();
    void ApplyTexts();

    static constexpr QRect TransmitArrowRect{54, 21, 15, 18};
    static constexpr QRect ReceiveArrowRect{55, 47, 15, 18};
    static constexpr QPoint ConnectionAt{1, 24};

    std::unique_ptr<TPortManagerRS232> m_engine;
    // The real engine's serial line and timers, owned by the engine; null for a test's engine.
    TQtSerialPortAccess *m_realPort = nullptr;
    std::array<TQtEngineTimer *, 2> m_realTimers{};
    std::function<void(const QString &message)> m_errorReport;

    QLabel *m_titleLabel = nullptr;
    QLineEdit *m_commandBox = nullptr;
    QLineEdit *m_replyBox = nullptr;
    QLineEdit *m_transmitTriesBox = nullptr;
    QLineEdit *m_receiveTriesBox = nullptr;
    QLabel *m_portSettingsLabel = nullptr;
    QTableWidget *m_settingsGrid = nullptr;
    QLabel *m_errorDetailsLabel = nullptr;
    QLineEdit *m_errorDetailsBox = nullptr;
    QLabel *m_testCommandLabel = nullptr;
    QLineEdit *m_testCommandBox = nullptr;
    QPushButton *m_sendButton = nullptr;
    QLabel *m_statusIndicator = nullptr;

    TTexts m_texts;
    bool m_textsPending = false;

    // Last asked for (drawn again by a repaint) and last drawn, per arrow.
    QColor m_transmitAsked{128, 128, 128};
    QColor m_receiveAsked{128, 128, 128};
    QColor m_transmitDrawn{128, 128, 128};
    QColor m_receiveDrawn{128, 128, 128};
    TConnectionPicture m_pictureAsked = TConnectionPicture::None;
    TConnectionPicture m_pictureDrawn = TConnectionPicture::None;
};
