#pragma once

#include <QString>

// Port number n names the serial device COMn. On Windows that is the system's COMn. Elsewhere it is
// the symbolic link COMn in the ports folder, <config>/Qintar_54_Ports, beside the settings file; an
// operator gives any device a number without root: ln -s /dev/ttyUSB0 ~/.config/Qintar_54_Ports/COM5
class TPortDirectory
{
public:
    // The folder of the COMn links (not used on Windows).
    static QString PortsFolder();
    // "COM5".
    static QString PortName(quint16 number);
    // Where COMn is looked up: the link in PortsFolder, or "COMn" on Windows.
    static QString LinkPath(quint16 number);
    // The device COMn leads to, links resolved; empty when there is none.
    static QString DevicePath(quint16 number);
    // Points COMn at device, creating the folder. Refuses (false, with the reason in error) when COMn
    // already leads to a device, unless replace is true; a link to nothing is replaced.
    static bool CreateLink(quint16 number, const QString &device, bool replace, QString *error);
    // Removes COMn if it is a link to device (so another program's link is left alone).
    static void RemoveLink(quint16 number, const QString &device);
};
