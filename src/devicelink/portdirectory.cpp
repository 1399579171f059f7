#include "devicelink/portdirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QSerialPortInfo>
#endif

QString TPortDirectory::PortsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Qintar_54_Ports");
}

QString TPortDirectory::PortName(quint16 number)
{
    return QStringLiteral("COM%1").arg(number);
}

QString TPortDirectory::LinkPath(quint16 number)
{
#ifdef Q_OS_WIN
    return PortName(number);
#else
    return PortsFolder() + QLatin1Char('/') + PortName(number);
#endif
}

QString TPortDirectory::DevicePath(quint16 number)
{
    if (number == 0)
        return {};
#ifdef Q_OS_WIN
    const QString name = PortName(number);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName().compare(name, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
#else
    // canonicalFilePath resolves every link and is empty when the link leads nowhere.
    return QFileInfo(LinkPath(number)).canonicalFilePath();
#endif
}

bool TPortDirectory::CreateLink(quint16 number, const QString &device, bool replace, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
#ifdef Q_OS_WIN
    Q_UNUSED(number);
    Q_UNUSED(device);
    Q_UNUSED(replace);
    return fail(QStringLiteral("Serial port numbers are given by Windows."));
#else
    if (number == 0)
        return fail(QStringLiteral("Port number 0 names no port."));
    if (!QDir().mkpath(PortsFolder()))
        return fail(QStringLiteral("Cannot create the folder %1.").arg(PortsFolder()));
    const QString link = LinkPath(number);
    const QFileInfo present(link);
    if (present.isSymLink() || present.exists()) {
        if (!present.isSymLink())
            return fail(QStringLiteral("%1 exists and is not a link.").arg(link));
        if (present.exists() && !replace)
            return fail(QStringLiteral("%1 already leads to %2.").arg(link, present.symLinkTarget()));
        if (!QFile::remove(link))
            return fail(QStringLiteral("Cannot remove the old link %1.").arg(link));
    }
    if (!QFile::link(device, link))
        return fail(QStringLiteral("Cannot link %1 to %2.").arg(link, device));
    return true;
#endif
}

void TPortDirectory::RemoveLink(quint16 number, const QString &device)
{
#ifdef Q_OS_WIN
    Q_UNUSED(number);
    Q_UNUSED(device);
#else
    const QFileInfo present(LinkPath(number));
    if (present.isSymLink() && present.symLinkTarget() == QFileInfo(device).absoluteFilePath())
        QFile::remove(present.filePath());
#endif
}
