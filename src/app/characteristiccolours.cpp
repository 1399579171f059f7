#include "app/characteristiccolours.h"

#include "register/characteristicregister.h"

#include <QColor>

QVariant TCharacteristicColours::data(const QModelIndex &index, int role) const
{
    if (role != Qt::BackgroundRole && role != Qt::ForegroundRole)
        return QIdentityProxyModel::data(index, role);
    const QString result = QIdentityProxyModel::data(
                               this->index(index.row(), TCharacteristicRegister::ColResult), Qt::DisplayRole)
                               .toString();
    if (result.isEmpty())
        return QIdentityProxyModel::data(index, role);
    if (role == Qt::ForegroundRole)
        return QColor(Qt::black);
    if (result == TCharacteristicRegister::OkText)
        return QColor(0xc6, 0xef, 0xc6);
    if (result == TCharacteristicRegister::NokText)
        return QColor(0xf6, 0xb8, 0xb8);
    return QColor(0xfa, 0xe3, 0xa8);
}
