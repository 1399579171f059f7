#include "register/partcoordinatesmodel.h"

#include "common/coordinatetext.h"
#include "register/featureregister.h"

namespace {

using TColumn = TFeatureRegister::TColumn;

void WriteVector(QStringList &texts, int firstColumn, const Eigen::Vector3d &value, bool cosines)
{
    for (int i = 0; i < 3; ++i)
        texts[firstColumn + i] = cosines ? TFeatureRegister::FormatCosine(value[i])
                                         : FormatCoordinate(static_cast<float>(value[i]));
}

std::optional<Eigen::Vector3d> ReadVector(const QStringList &texts, int firstColumn)
{
    Eigen::Vector3d value;
    for (int i = 0; i < 3; ++i) {
        const auto number = ReadDecimal(texts.value(firstColumn + i));
        if (!number)
            return std::nullopt;
        value[i] = *number;
    }
    return value;
}

} // namespace

TPartCoordinatesModel::TPartCoordinatesModel(const TFeatureRegister &features, QObject *parent)
    : QIdentityProxyModel(parent), m_features(features)
{
    setSourceModel(const_cast<TTextTable *>(&features.Table()));
    // A row written, deleted or emptied may be the active alignment's; a new active one turns every row.
    connect(&features.Table(), &TTextTable::Edited, this, [this] { CoordinatesChanged(); });
    connect(&features.Alignments().Table(), &TTextTable::Edited, this, [this] { CoordinatesChanged(); });
}

bool TPartCoordinatesModel::SetPartCoordinates(bool on)
{
    const bool part = on && m_features.ActiveAlignment().has_value();
    if (part != m_part) {
        m_part = part;
        CoordinatesChanged();
    }
    return m_part;
}

void TPartCoordinatesModel::CoordinatesChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, TColumn::ColX), index(rowCount() - 1, TColumn::ColK), {Qt::DisplayRole});
}

QStringList TPartCoordinatesModel::ShownTexts(int row) const
{
    QStringList texts = m_features.Table().RowTexts(row);
    if (!m_part || m_features.Table().IsRowFree(row))
        return texts;
    const auto frame = m_features.ActiveAlignment();
    if (!frame)
        return texts;
    const QString type = texts.value(TColumn::ColType);
    if (const auto feature = m_features.Feature(row)) {
        const TGeometryFeature part = frame->ToPart(*feature);
        WriteVector(texts, TColumn::ColX, part.location, false);
        if (!texts.value(TColumn::ColI).isEmpty())
            WriteVector(texts, TColumn::ColI, part.direction, true);
    } else if (type == TPartAlignments::TypeText) {
        if (const auto alignment = m_features.Alignments().Alignment(texts.value(TColumn::ColFeature))) {
            WriteVector(texts, TColumn::ColX, frame->ToPart(alignment->Origin()), false);
            WriteVector(texts, TColumn::ColI, frame->DirectionToPart(alignment->Axis(2)), true);
        }
    } else if (const auto source = m_features.Source(row);
               source && source->kind == TFeatureRegister::TKind::Distance) {
        // Centre to centre: the components turn with the frame, the distance stays.
        if (const auto components = ReadVector(texts, TColumn::ColX))
            WriteVector(texts, TColumn::ColX, frame->DirectionToPart(*components), false);
    }
    return texts;
}

QVariant TPartCoordinatesModel::data(const QModelIndex &index, int role) const
{
    if (!m_part || role != Qt::DisplayRole || !index.isValid() || index.column() < TColumn::ColX ||
        index.column() > TColumn::ColK)
        return QIdentityProxyModel::data(index, role);
    return ShownTexts(index.row() + 1).value(index.column());
}
