#include "ui/Grid.h"

#include "ui/TableModel.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace ui {

namespace {

void applyWidths(QTableView* view, const TableModel* model) {
    for (int c = 0; c < model->columnCount(); ++c)
        view->setColumnWidth(c, model->column(c).width);
}

}  // namespace

void Grid::setUp(QTableView* view, TableModel* model) {
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    applyWidths(view, model);
    // A reset of the model gives the header its default widths back.
    QObject::connect(model, &QAbstractItemModel::modelReset, view,
                     [view, model] { applyWidths(view, model); });
}

int Grid::currentRow(const QTableView* view) {
    const QModelIndex current = view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void Grid::selectRow(QTableView* view, int row) {
    const int rows = view->model() ? view->model()->rowCount() : 0;
    if (rows == 0)
        return;
    view->selectRow(std::clamp(row, 0, rows - 1));
}

}  // namespace ui
