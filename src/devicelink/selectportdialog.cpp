#include "devicelink/selectportdialog.h"

#include "devicelink/portdirectory.h"
#include "devicelink/portsetup.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// Item data: what an entry stands for, and its link number or device index.
constexpr int KindRole = Qt::UserRole;
constexpr int ValueRole = Qt::UserRole + 1;
enum TEntryKind
{
    LinkEntry,
    DeviceEntry,
};

// Below the designed 220 x 131: the "Use this port from now on" box.
constexpr int ClientHeight = 131 + 24;

TPortOffer LinksOnly(const QList<quint16> &ports)
{
    TPortOffer offer;
    for (quint16 number : ports)
        offer.Links.append(TPortLink{number, TPortDirectory::DevicePath(number)});
    return offer;
}

// A smaller font, down to 6 points, until the label's text fits width.
void FitText(QLabel *label, int width)
{
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > width && font.pointSizeF() > 6.0)
        font.setPointSizeF(std::max(6.0, font.pointSizeF() - 0.5));
    label->setFont(font);
    label->adjustSize();
}

} // namespace

TSelectPortDialog::TSelectPortDialog(const QList<quint16> &ports, QWidget *parent)
    : TSelectPortDialog(LinksOnly(ports), parent)
{
    // Nothing here writes the settings file: the designed dialog without the box.
    m_remember->hide();
    setFixedSize(220, 131);
}

TSelectPortDialog::TSelectPortDialog(const TPortOffer &offer, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setWindowTitle(QStringLiteral("Select Port"));
    setFixedSize(220, ClientHeight);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Bevel"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(8, 8, 201, 42);

    // Both lines stay inside the bevel, whatever the platform's font.
    auto *line1 = new QLabel(QStringLiteral("The configured serial port is not valid."), this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->move(18, 14);
    FitText(line1, frame->geometry().right() - 2 - 18);
    auto *line2 = new QLabel(QStringLiteral("Please choose another port."), this);
    line2->setObjectName(QStringLiteral("Line2"));
    line2->move(18, 30);
    // The two lines read as one message: the second takes the first's size.
    line2->setFont(line1->font());
    FitText(line2, frame->geometry().right() - 2 - 18);

    m_ports = new QComboBox(this);
    m_ports->setObjectName(QStringLiteral("PortList"));
    m_ports->setEditable(false);
    m_ports->move(8, 64);
    m_ports->setFixedWidth(201);
    m_ports->setToolTip(QStringLiteral("The COMn links set up, and the serial devices the system has"));
    for (const TPortLink &link : offer.Links) {
        const QString name = TPortDirectory::PortName(link.Number);
        m_ports->addItem(link.LeadsTo.isEmpty() ? name : QStringLiteral("%1 -> %2").arg(name, link.LeadsTo));
        m_ports->setItemData(m_ports->count() - 1, TPortSetUp::LinkText(link.Number), Qt::ToolTipRole);
        m_ports->setItemData(m_ports->count() - 1, LinkEntry, KindRole);
        m_ports->setItemData(m_ports->count() - 1, link.Number, ValueRole);
    }
    for (int i = 0; i < offer.Devices.size(); ++i) {
        const TSerialDevice &device = offer.Devices[i];
        m_ports->addItem(TPortSetUp::DeviceText(device));
        QString tip = TPortSetUp::DeviceText(device);
        if (!device.StablePath.isEmpty())
            tip += QStringLiteral("\nLinked as ") + device.StablePath;
        m_ports->setItemData(m_ports->count() - 1, tip, Qt::ToolTipRole);
        m_ports->setItemData(m_ports->count() - 1, DeviceEntry, KindRole);
        m_ports->setItemData(m_ports->count() - 1, i, ValueRole);
    }
    m_ports->setCurrentIndex(m_ports->count() == 0 ? -1 : 0);
    // The list opens as wide as its longest entry; the closed box shows what fits.
    m_ports->view()->setMinimumWidth(m_ports->view()->sizeHintForColumn(0) + 24);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setGeometry(8, 95, 85, 27);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(124, 95, 85, 27);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_remember = new QCheckBox(QStringLiteral("Use this port from now on"), this);
    m_remember->setObjectName(QStringLiteral("RememberBox"));
    m_remember->setGeometry(8, 129, 201, 20);
    m_remember->setToolTip(QStringLiteral("Keep this port number in the settings file for later runs"));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

std::optional<quint16> TSelectPortDialog::SelectedPort() const
{
    const std::optional<TPortChoice> choice = Choice();
    return choice ? choice->Link : std::nullopt;
}

std::optional<TPortChoice> TSelectPortDialog::Choice() const
{
    const int index = m_ports->currentIndex();
    if (index < 0)
        return std::nullopt;
    TPortChoice choice;
    const int value = m_ports->itemData(index, ValueRole).toInt();
    if (m_ports->itemData(index, KindRole).toInt() == LinkEntry) {
        if (value <= 0 || value > 0xffff)
            return std::nullopt;
        choice.Link = quint16(value);
    } else {
        choice.Device = value;
    }
    choice.Remember = !m_remember->isHidden() && m_remember->isChecked();
    return choice;
}

std::optional<TPortChoice> TSelectPortDialog::Choose(const TPortOffer &offer, QWidget *parent)
{
    TSelectPortDialog dialog(offer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

std::optional<quint16> TSelectPortDialog::Choose(const QList<quint16> &ports, QWidget *parent)
{
    TSelectPortDialog dialog(ports, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.SelectedPort();
}
