#include "app/tableviewbinding.h"

#include "register/texttable.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>
#include <memory>

namespace {

constexpr int TableRowHeight = 15;

} // namespace

void BindTableView(QTableView *view, TTextTable *table)
{
    view->setModel(table);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setFixedHeight(TableRowHeight + 2);

    // The table's current and top rows are the truth; the view mirrors them, and the operator's
    // clicks and scrolling go back into the table (model row = table row - 1).
    auto mirroring = std::make_shared<bool>(false);
    view->selectRow(table->Row() - 1);
    // A new row count resets the view's selection; the table's current row still holds.
    QObject::connect(table, &QAbstractItemModel::modelReset, view, [view, table, mirroring] {
        *mirroring = true;
        view->selectRow(table->Row() - 1);
        *mirroring = false;
    });
    QObject::connect(table, &TTextTable::CurrentRowChanged, view, [view, mirroring](int row) {
        if (*mirroring)
            return;
        *mirroring = true;
        view->selectRow(row - 1);
        *mirroring = false;
    });
    QObject::connect(table, &TTextTable::TopRowChanged, view, [view, mirroring](int row) {
        if (*mirroring)
            return;
        *mirroring = true;
        view->verticalScrollBar()->setValue(row - 1);
        *mirroring = false;
    });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, table,
                     [table, mirroring](const QModelIndex &current) {
                         if (*mirroring || !current.isValid())
                             return;
                         *mirroring = true;
                         table->SetRow(current.row() + 1);
                         *mirroring = false;
                     });
    QObject::connect(view->verticalScrollBar(), &QScrollBar::valueChanged, table,
                     [table, mirroring](int value) {
                         if (*mirroring)
                             return;
                         *mirroring = true;
                         table->SetTopRow(value + 1);
                         *mirroring = false;
                     });
}
