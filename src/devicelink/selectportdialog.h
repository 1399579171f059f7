#pragma once

#include <QDialog>
#include <optional>

class QComboBox;

// The "Select Port" dialog, shown when a port with number 0 is opened: the existing ports to pick from.
class TSelectPortDialog : public QDialog
{
    Q_OBJECT

public:
    // ports: numbers in rising order; the first is selected.
    explicit TSelectPortDialog(const QList<quint16> &ports, QWidget *parent = nullptr);

    // The number after "COM" in the selected entry; no value with no entry.
    std::optional<quint16> SelectedPort() const;

    // Shows the dialog modally; no value when the operator cancels or closes it.
    static std::optional<quint16> Choose(const QList<quint16> &ports, QWidget *parent);

private:
    QComboBox *m_ports = nullptr;
};
