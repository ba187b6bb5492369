#pragma once

class QTableView;

namespace ui {

class TableModel;

// Setting a QTableView up as the program's grids are: the model's column titles, widths and
// alignments; read-only; one whole row selected at a time; fixed row height, so that a grid of
// a hundred thousand rows stays fast.
class Grid {
public:
    static void setUp(QTableView* view, TableModel* model);
    // The row of the current cell; -1 when there is none.
    static int currentRow(const QTableView* view);
    // Makes `row` the current, selected row (clamped to the rows there are).
    static void selectRow(QTableView* view, int row);
};

}  // namespace ui
