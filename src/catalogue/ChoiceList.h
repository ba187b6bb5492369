#pragma once

#include "core/PrefixIndex.h"
#include "db/procedures/Catalogue.h"
#include "ui/Grid.h"
#include "ui/TableModel.h"

#include <QLineEdit>
#include <QTableView>
#include <memory>
#include <vector>

namespace catalogue {

// A grid to choose a row from, with its search box: the rows are sorted by their name in
// memory (the same order on either engine), and every change of the box moves the grid to the
// first row whose name starts with the text; a text that no name starts with leaves the row.
template <class Row>
class ChoiceList {
public:
    ChoiceList(QTableView* grid, QLineEdit* box, QString Row::*name)
        : grid_(grid), model_(new ui::VectorModel<Row>(grid)), name_(name) {
        QObject::connect(box, &QLineEdit::textChanged, grid,
                         [this](const QString& text) { locate(text); });
    }
    ChoiceList(const ChoiceList&) = delete;
    ChoiceList& operator=(const ChoiceList&) = delete;

    ui::VectorModel<Row>& model() { return *model_; }
    void setColumns(std::vector<ui::ColumnDef> columns) {
        model_->setColumns(std::move(columns));
        ui::Grid::setUp(grid_, model_);
    }

    // New rows, sorted; the first one current.
    void setRows(std::vector<Row> rows) {
        index_.sort(rows, name_);
        model_->setRows(std::move(rows));
        ui::Grid::selectRow(grid_, 0);
    }
    void locate(const QString& text) {
        const int row = index_.find(text);
        if (row >= 0) {
            ui::Grid::selectRow(grid_, row);
            grid_->scrollTo(model_->index(row, 0));
        }
    }
    // The current row; nullptr when the list is empty.
    const Row* current() const {
        const int row = ui::Grid::currentRow(grid_);
        return row < 0 || row >= model_->rowCount() ? nullptr : &model_->row(row);
    }

private:
    QTableView* grid_;
    ui::VectorModel<Row>* model_;
    QString Row::*name_;
    core::PrefixIndex index_;
};

using BrandList = ChoiceList<db::proc::LaboratorioChoice>;
// The brands' list with its columns "CODIGO" and the name's, titled as the window calls it.
std::unique_ptr<BrandList> brandList(QTableView* grid, QLineEdit* box, const QString& nameTitle);

}  // namespace catalogue
