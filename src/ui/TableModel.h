#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <iterator>
#include <vector>

class QSqlQuery;

namespace ui {

// One column of a grid. The value comes from `value` (a function of the row index) or, in a
// RecordModel, from the record field named `field`. Unset functions mean the defaults: the
// value's own text, the grid's colours, a normal font. An invalid QColor also means the default.
struct ColumnDef {
    QString title{};
    int width = 80;  // pixels
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    std::function<QVariant(int row)> value{};
    QString field{};
    std::function<QString(const QVariant& value)> format{};
    std::function<QColor(int row)> foreground{};
    std::function<QColor(int row)> background{};
    std::function<bool(int row)> bold{};
};

// The read-only model behind every grid. Rows are whatever the value functions index; the
// owner tells the model how many there are with reset(). Subclasses below hold the rows
// themselves. data() calls only the functions of the asked cell and role.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(QObject* parent = nullptr);
    explicit TableModel(std::vector<ColumnDef> columns, QObject* parent = nullptr);

    void setColumns(std::vector<ColumnDef> columns);
    const std::vector<ColumnDef>& columns() const { return columns_; }
    const ColumnDef& column(int index) const { return columns_.at(std::size_t(index)); }
    // The column with this title; -1 when none.
    int columnTitled(const QString& title) const;

    // The rows changed: now there are `rowCount` of them.
    void reset(int rowCount);
    // Rows were added after the last one: now there are `rowCount` of them.
    void grow(int rowCount);

    // The raw value of a cell, and the text the grid shows for it.
    QVariant value(int row, int column) const;
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    // The value of a column given by field name; none in this model.
    virtual QVariant fieldValue(int row, const QString& field) const;
    void setRowCountQuietly(int rowCount) { rowCount_ = rowCount; }

private:
    std::vector<ColumnDef> columns_;
    int rowCount_ = 0;
};

// A model over a vector of any row type:
//
//   auto* m = new ui::VectorModel<Product>(this);
//   m->setColumns({{.title = "NOMBRE", .width = 200, .value = m->by(&Product::name)},
//                  {.title = "STOCK", .value = m->by([](const Product& p) { return p.stock; }),
//                   .foreground = m->by([](const Product& p) {
//                       return p.stock == 0 ? QColor(Qt::red) : QColor(); })}});
//   m->setRows(std::move(products));
template <class Row>
class VectorModel : public TableModel {
public:
    using TableModel::TableModel;

    void setRows(std::vector<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        setRowCountQuietly(int(rows_.size()));
        endResetModel();
    }
    // Rows added after the last one.
    void append(std::vector<Row> rows) {
        if (rows.empty())
            return;
        const int first = int(rows_.size());
        beginInsertRows({}, first, first + int(rows.size()) - 1);
        rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
        setRowCountQuietly(int(rows_.size()));
        endInsertRows();
    }
    const std::vector<Row>& rows() const { return rows_; }
    const Row& row(int index) const { return rows_.at(std::size_t(index)); }

    // A function of the row index from a function (or member pointer) of the row, for the
    // value, colour and bold functions of a ColumnDef.
    template <class F>
    auto by(F f) const {
        return [this, f](int r) { return std::invoke(f, rows_[std::size_t(r)]); };
    }

private:
    std::vector<Row> rows_;
};

// A model over the rows of a query, one QVariantList per row; columns name their field.
class RecordModel : public VectorModel<QVariantList> {
public:
    using VectorModel<QVariantList>::VectorModel;

    // Reads every row of an executed query (the query is used up).
    void load(QSqlQuery& query);
    void setRecords(QStringList fieldNames, std::vector<QVariantList> rows);
    const QStringList& fieldNames() const { return fieldNames_; }
    // The field of a row by name (case-insensitive); null when there is no such field.
    QVariant field(int row, const QString& name) const;

protected:
    QVariant fieldValue(int row, const QString& field) const override;

private:
    QStringList fieldNames_;
};

}  // namespace ui
