#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

// A text grid of the station: row 0 is the fixed header row, rows 1 to RowCount() - 1 are data rows.
// Cells hold text only; a data row is free when its column 0 is empty. The table also keeps the two
// view positions the station's logic works with: the current (selected) row and the top row (the first
// data row shown). A view mirrors them; the logic never reaches into a view.
//
// As an item model it shows the data rows (model row = table row - 1) with the header row's texts as
// column headers. Cells cannot be edited through the model.
class TTextTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    // What Edited reports: a data row's texts were written (row), a data row was deleted and the rows
    // below moved up (row), or every data row was emptied (row 0).
    enum class TEdit
    {
        Row,
        Delete,
        Clear,
    };
    Q_ENUM(TEdit)

    TTextTable(int columnCount, int rowCount, QObject *parent = nullptr);

    int ColCount() const { return m_columnCount; }
    int RowCount() const { return static_cast<int>(m_cells.size()); }
    // Changes the number of rows (header included); new rows are empty.
    void SetRowCount(int rowCount);

    // Out-of-range cells read as empty and ignore writes.
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString &text);
    QStringList RowTexts(int row) const;
    void SetRowTexts(int row, const QStringList &texts);

    bool IsRowFree(int row) const { return Cell(0, row).isEmpty(); }
    // First free data row from row 1, or 0 when every data row is taken.
    int FirstFreeRow() const;
    // Data rows from 1 down to the row before the first free one.
    int FilledRowCount() const;
    // The last row written since the data rows were last emptied (0 if none): every row below it is
    // empty, so work over the rows can stop there.
    int LastUsedRow() const { return m_lastUsedRow; }
    // Empties every cell of the data rows; the header row stays and row 1 becomes current again.
    void ClearDataRows();
    // Empties the row, then moves every later data row up by one place and empties the last data row.
    void DeleteRow(int row);

    int Row() const { return m_currentRow; }
    // Makes row the current row. When it differs from the current one, SelectCell(row) is emitted first
    // (its handlers may change the table) and then the row becomes current. Selecting the current row
    // again emits nothing.
    void SetRow(int row);
    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    // Once for each change to the data rows, after it is made: a SetRowTexts is one edit of its row,
    // as is a SetCell of a data row that changes the cell. Header texts are no edit.
    void Edited(TTextTable::TEdit edit, int row);
    // The row-selection event: raised by SetRow before the row becomes current.
    void SelectCell(int row);
    void CurrentRowChanged(int row);
    void TopRowChanged(int row);

private:
    // Writes the cell and tells the views; true when the text changed.
    bool WriteCell(int column, int row, const QString &text);

    int m_columnCount;
    QList<QStringList> m_cells;
    int m_lastUsedRow = 0;
    int m_currentRow = 1;
    int m_topRow = 1;
};
