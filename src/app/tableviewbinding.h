#pragma once

class QTableView;
class TTextTable;

// Shows a text table in a view of the window: fixed rows of 15 pixels, and the table's current and top
// rows mirrored both ways, so that the program's row changes show and the operator's clicks and
// scrolling reach the table.
void BindTableView(QTableView *view, TTextTable *table);
