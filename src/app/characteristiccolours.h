#pragma once

#include <QIdentityProxyModel>

// The characteristics table as the operator sees it: OK rows green, NOK rows red, a row without an
// actual amber.
class TCharacteristicColours : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override;
};
