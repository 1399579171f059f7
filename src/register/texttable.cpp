#include "register/texttable.h"

TTextTable::TTextTable(int columnCount, int rowCount, QObject *parent)
    : QAbstractTableModel(parent), m_columnCount(columnCount)
{
    SetRowCount(rowCount);
}

void TTextTable::SetRowCount(int rowCount)
{
    rowCount = std::max(1, rowCount);
    beginResetModel();
    while (m_cells.size() > rowCount)
        m_cells.removeLast();
    while (m_cells.size() < rowCount)
        m_cells.append(QStringList(m_columnCount, QString()));
    m_lastUsedRow = std::min(m_lastUsedRow, rowCount - 1);
    m_currentRow = std::min(m_currentRow, rowCount - 1);
    m_topRow = std::min(m_topRow, std::max(1, rowCount - 1));
    endResetModel();
}

QString TTextTable::Cell(int column, int row) const
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= RowCount())
        return {};
    return m_cells[row][column];
}

void TTextTable::SetCell(int column, int row, const QString &text)
{
    if (WriteCell(column, row, text) && row > 0)
        Q_EMIT Edited(TEdit::Row, row);
}

bool TTextTable::WriteCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= RowCount())
        return false;
    if (m_cells[row][column] == text)
        return false;
    m_cells[row][column] = text;
    if (row > m_lastUsedRow)
        m_lastUsedRow = row;
    if (row == 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    } else {
        const QModelIndex at = index(row - 1, column);
        Q_EMIT dataChanged(at, at, {Qt::DisplayRole});
    }
    return true;
}

QStringList TTextTable::RowTexts(int row) const
{
    if (row < 0 || row >= RowCount())
        return QStringList(m_columnCount, QString());
    return m_cells[row];
}

void TTextTable::SetRowTexts(int row, const QStringList &texts)
{
    bool changed = false;
    for (int column = 0; column < m_columnCount; ++column)
        changed |= WriteCell(column, row, column < texts.size() ? texts[column] : QString());
    if (changed && row > 0)
        Q_EMIT Edited(TEdit::Row, row);
}

int TTextTable::FirstFreeRow() const
{
    for (int row = 1; row < RowCount(); ++row) {
        if (IsRowFree(row))
            return row;
    }
    return 0;
}

int TTextTable::FilledRowCount() const
{
    int row = 1;
    while (row < RowCount() && !IsRowFree(row))
        ++row;
    return row - 1;
}

void TTextTable::ClearDataRows()
{
    if (RowCount() < 2)
        return;
    // Only the rows written since the last clearing can hold text: a load empties the tables every
    // time, and most of their 999 rows are empty already.
    for (int row = 1; row <= m_lastUsedRow; ++row)
        m_cells[row] = QStringList(m_columnCount, QString());
    m_lastUsedRow = 0;
    Q_EMIT dataChanged(index(0, 0), index(RowCount() - 2, m_columnCount - 1), {Qt::DisplayRole});
    Q_EMIT Edited(TEdit::Clear, 0);
    // An emptied table starts over at row 1, as at start-up. This is no selection by the operator, so
    // no row-selection event is raised (in Delete Point mode it would ask to delete row 1).
    if (m_currentRow != 1) {
        m_currentRow = 1;
        Q_EMIT CurrentRowChanged(m_currentRow);
    }
}

void TTextTable::DeleteRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    m_cells.removeAt(row);
    m_cells.append(QStringList(m_columnCount, QString()));
    Q_EMIT dataChanged(index(row - 1, 0), index(RowCount() - 2, m_columnCount - 1), {Qt::DisplayRole});
    Q_EMIT Edited(TEdit::Delete, row);
}

void TTextTable::SetRow(int row)
{
    if (row == m_currentRow)
        return;
    Q_EMIT SelectCell(row);
    m_currentRow = row;
    Q_EMIT CurrentRowChanged(row);
}

void TTextTable::SetTopRow(int row)
{
    row = std::clamp(row, 1, std::max(1, RowCount() - 1));
    if (row == m_topRow)
        return;
    m_topRow = row;
    Q_EMIT TopRowChanged(row);
}

int TTextTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowCount() - 1;
}

int TTextTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant TTextTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return Cell(index.column(), index.row() + 1);
}

QVariant TTextTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return Cell(section, 0);
    return section + 1;
}
