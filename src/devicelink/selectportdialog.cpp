#include "devicelink/selectportdialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TSelectPortDialog::TSelectPortDialog(const QList<quint16> &ports, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setWindowTitle(QStringLiteral("Select Port"));
    setFixedSize(220, 131);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Bevel"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(8, 8, 201, 42);

    auto *line1 = new QLabel(QStringLiteral("The configured serial port is not valid."), this);
    line1->move(18, 14);
    line1->adjustSize();
    auto *line2 = new QLabel(QStringLiteral("Please choose another port."), this);
    line2->move(18, 30);
    line2->adjustSize();

    m_ports = new QComboBox(this);
    m_ports->setObjectName(QStringLiteral("PortList"));
    m_ports->setEditable(false);
    m_ports->move(8, 64);
    m_ports->setFixedWidth(201);
    for (quint16 port : ports)
        m_ports->addItem(QStringLiteral("COM%1").arg(port));
    m_ports->setCurrentIndex(ports.isEmpty() ? -1 : 0);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setGeometry(8, 95, 85, 27);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(124, 95, 85, 27);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

std::optional<quint16> TSelectPortDialog::SelectedPort() const
{
    if (m_ports->currentIndex() < 0)
        return std::nullopt;
    bool ok = false;
    const uint number = m_ports->currentText().mid(3).toUInt(&ok);
    if (!ok || number == 0 || number > 0xffff)
        return std::nullopt;
    return quint16(number);
}

std::optional<quint16> TSelectPortDialog::Choose(const QList<quint16> &ports, QWidget *parent)
{
    TSelectPortDialog dialog(ports, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.SelectedPort();
}
