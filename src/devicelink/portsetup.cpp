#include "devicelink/portsetup.h"

#include "common/operatordialogs.h"
#include "devicelink/portdirectory.h"
#include "devicelink/serialerror.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

using TKind = TSerialError::TKind;

const QString kByIdFolder = QStringLiteral("/dev/serial/by-id");

// Where the link file itself points, before any further link is followed.
QString LinkTarget(quint16 number)
{
    const QFileInfo link(TPortDirectory::LinkPath(number));
    return link.isSymLink() ? link.symLinkTarget() : QString();
}

} // namespace

TPortSetUp::TPortSetUp(TOperatorDialogs &dialogs, TDeviceLister devices)
    : m_dialogs(dialogs), m_devices(devices ? std::move(devices) : TDeviceLister(&TPortSetUp::SystemDevices))
{}

std::optional<quint16> TPortSetUp::Choose(const QList<quint16> &ports)
{
    TPortOffer offer;
    for (quint16 number : ports)
        offer.Links.append(TPortLink{number, TPortDirectory::DevicePath(number)});
    offer.Devices = m_devices();
    if (offer.Links.isEmpty() && offer.Devices.isEmpty())
        throw TSerialError(
            TKind::NoPortSelected,
            QStringLiteral("No serial port is set up among COM1 to COM%1, and the system has no "
                           "serial device: plug the device in and press On Line again.")
                .arg(HighestNumber));

    const std::optional<TPortChoice> choice = m_dialogs.ChoosePort(offer);
    if (!choice)
        return std::nullopt;

    quint16 number = 0;
    if (choice->Link) {
        number = *choice->Link;
    } else if (choice->Device && *choice->Device >= 0 && *choice->Device < offer.Devices.size()) {
        const TSerialDevice &device = offer.Devices[*choice->Device];
        const QString deviceFile = QFileInfo(device.Location).canonicalFilePath();
        // A device that already has a link keeps it.
        for (const TPortLink &link : offer.Links)
            if (!deviceFile.isEmpty() && link.LeadsTo == deviceFile)
                number = link.Number;
        if (number == 0) {
            QList<TPortLink> links;
            for (quint16 n = 1; n <= HighestNumber; ++n)
                if (QFileInfo(TPortDirectory::LinkPath(n)).isSymLink())
                    links.append(TPortLink{n, TPortDirectory::DevicePath(n)});
            number = NumberForNewLink(m_configured, links);
            if (number == 0)
                throw TSerialError(TKind::NoPortSelected,
                                   QStringLiteral("COM1 to COM%1 are all taken: remove a link from %2.")
                                       .arg(HighestNumber)
                                       .arg(TPortDirectory::PortsFolder()));
            const QString target = device.StablePath.isEmpty() ? device.Location : device.StablePath;
            QString error;
            // Only a link that leads nowhere is replaced: NumberForNewLink never picks a live one.
            if (!TPortDirectory::CreateLink(number, target, false, &error))
                throw TSerialError(TKind::Other, QStringLiteral("Cannot set up %1 for %2: %3")
                                                     .arg(TPortDirectory::PortName(number), target, error));
        }
    } else {
        return std::nullopt;
    }

    if (choice->Remember && m_remember) {
        if (const std::optional<QString> error = m_remember(number))
            m_dialogs.ShowError(*error);
    }
    return number;
}

QList<TSerialDevice> TPortSetUp::SystemDevices()
{
    // The stable names, by the device each leads to.
    QHash<QString, QString> stable;
    const QDir byId(kByIdFolder);
    for (const QFileInfo &entry : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        stable.insert(entry.canonicalFilePath(), entry.absoluteFilePath());

    QList<TSerialDevice> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        TSerialDevice device;
        device.Location = info.systemLocation();
        device.StablePath = stable.value(QFileInfo(device.Location).canonicalFilePath());
        device.Description = info.description();
        device.Manufacturer = info.manufacturer();
        device.SerialNumber = info.serialNumber();
        devices.append(device);
    }
    return devices;
}

quint16 TPortSetUp::NumberForNewLink(quint16 configured, const QList<TPortLink> &links)
{
    const auto linkOf = [&links](quint16 number) -> const TPortLink * {
        for (const TPortLink &link : links)
            if (link.Number == number)
                return &link;
        return nullptr;
    };
    if (configured != 0) {
        const TPortLink *present = linkOf(configured);
        if (!present || present->LeadsTo.isEmpty())
            return configured;
    }
    for (quint16 number = 1; number <= HighestNumber; ++number)
        if (!linkOf(number))
            return number;
    return 0;
}

QString TPortSetUp::LinkText(quint16 number)
{
    const QString name = TPortDirectory::PortName(number);
    const QString target = LinkTarget(number);
    const QString device = TPortDirectory::DevicePath(number);
    if (device.isEmpty())
        return target.isEmpty() ? name : QStringLiteral("%1 -> %2 (missing)").arg(name, target);
    if (target.isEmpty() || target == device)
        return QStringLiteral("%1 -> %2").arg(name, device);
    return QStringLiteral("%1 -> %2 (%3)").arg(name, target, device);
}

QString TPortSetUp::DeviceText(const TSerialDevice &device)
{
    QStringList details;
    for (const QString &detail : {device.Description, device.Manufacturer, device.SerialNumber})
        if (!detail.trimmed().isEmpty())
            details.append(detail.trimmed());
    const QString kind = device.StablePath.contains(QLatin1String("usb")) ||
                                 device.Location.contains(QLatin1String("USB")) ||
                                 device.Location.contains(QLatin1String("ACM"))
                             ? QStringLiteral("USB device")
                             : QStringLiteral("Device");
    QString text = QStringLiteral("%1 %2").arg(kind, device.Location);
    if (!details.isEmpty())
        text += QStringLiteral(": ") + details.join(QStringLiteral(", "));
    return text;
}
