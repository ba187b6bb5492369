#pragma once

#include "session/UnitDM.h"
#include "ui/TableModel.h"

#include <QColor>
#include <QStyledItemDelegate>
#include <map>
#include <vector>

class QLabel;

// The pieces the search screen is built from: its labels and fields, its grids' delegate and
// model, and the presentation grid's columns.
namespace sales::parts {

// A caption the user cannot select.
QLabel* label(const QString& text, QWidget* parent);
// A data field named as its control, in its colour and font.
QLabel* field(const char* name, QWidget* parent, const QColor& color, int pointSize = 0,
              bool bold = false, bool italic = false);
// The background a box or grid draws its cells on.
void setBase(QWidget* w, const QColor& color);

// The product grid's selected row, while the grid has the focus: bold on red.
class FocusedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// A grid model whose columns carry hints.
class HintedModel : public ui::TableModel {
public:
    using ui::TableModel::TableModel;
    void setHint(int column, const QString& hint) { hints_[column] = hint; }
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::map<int, QString> hints_;
};

// The presentation grid's columns over the data module's presentations: margin, state, text,
// cost, price, DIGEMID code and stock, with their captions.
std::vector<ui::ColumnDef> presentationColumns(const session::TDM& dm);

}  // namespace sales::parts
