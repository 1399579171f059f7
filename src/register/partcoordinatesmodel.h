#pragma once

#include <QIdentityProxyModel>
#include <QStringList>

class TFeatureRegister;

// The features table as the features window shows it: in machine coordinates, as the table holds them,
// or, with part coordinates on and an alignment active, every row's X Y Z and I J K turned into the
// part's frame (a feature's location and direction, an alignment's origin and +Z axis, a distance's
// dX dY dZ). Distances, angles, sizes and the positions, already in part coordinates, read the same
// either way. The table itself stays in machine coordinates: the store of record is never rewritten.
class TPartCoordinatesModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit TPartCoordinatesModel(const TFeatureRegister &features, QObject *parent = nullptr);

    // True when the rows now read in part coordinates; false (and nothing changes) while no alignment
    // is active.
    bool SetPartCoordinates(bool on);
    bool PartCoordinates() const { return m_part; }
    // The texts of a row of the table (1 on) as shown.
    QStringList ShownTexts(int row) const;

    QVariant data(const QModelIndex &index, int role) const override;

private:
    // Every shown coordinate may have changed (the active alignment, or its row, did).
    void CoordinatesChanged();

    const TFeatureRegister &m_features;
    bool m_part = false;
};
