#pragma once

#include "common/portoffer.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;

// The "Select Port" dialog, shown when a port with number 0 is opened: the existing COMn links, each
// with where it leads, then the system's serial devices, to pick one from; and "Use this port from now
// on" to keep the choice in the settings file.
class TSelectPortDialog : public QDialog
{
    Q_OBJECT

public:
    // The links in rising order, then the devices; the first entry is selected.
    explicit TSelectPortDialog(const TPortOffer &offer, QWidget *parent = nullptr);
    // Links only, each looked up in the ports folder.
    explicit TSelectPortDialog(const QList<quint16> &ports, QWidget *parent = nullptr);

    // The number of the selected link; no value with a device or no entry selected.
    std::optional<quint16> SelectedPort() const;
    // The selected entry and the state of "Use this port from now on"; no value with no entry.
    std::optional<TPortChoice> Choice() const;

    // Shows the dialog modally; no value when the operator cancels or closes it.
    static std::optional<TPortChoice> Choose(const TPortOffer &offer, QWidget *parent);
    static std::optional<quint16> Choose(const QList<quint16> &ports, QWidget *parent);

private:
    QComboBox *m_ports = nullptr;
    QCheckBox *m_remember = nullptr;
};
