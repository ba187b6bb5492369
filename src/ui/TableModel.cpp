#include "ui/TableModel.h"

#include <QBrush>
#include <QFont>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ui {

TableModel::TableModel(QObject* parent) : QAbstractTableModel(parent) {}

TableModel::TableModel(std::vector<ColumnDef> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void TableModel::setColumns(std::vector<ColumnDef> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

int TableModel::columnTitled(const QString& title) const {
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].title == title)
            return int(c);
    return -1;
}

void TableModel::reset(int rowCount) {
    beginResetModel();
    rowCount_ = rowCount;
    endResetModel();
}

void TableModel::grow(int rowCount) {
    if (rowCount <= rowCount_)
        return;
    beginInsertRows({}, rowCount_, rowCount - 1);
    rowCount_ = rowCount;
    endInsertRows();
}

QVariant TableModel::value(int row, int column) const {
    const ColumnDef& col = this->column(column);
    if (col.value)
        return col.value(row);
    return col.field.isEmpty() ? QVariant() : fieldValue(row, col.field);
}

QString TableModel::text(int row, int column) const {
    const ColumnDef& col = this->column(column);
    const QVariant v = value(row, column);
    return col.format ? col.format(v) : v.toString();
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

namespace {

QVariant brush(const std::function<QColor(int)>& colour, int row) {
    if (!colour)
        return {};
    const QColor c = colour(row);
    return c.isValid() ? QVariant(QBrush(c)) : QVariant();
}

}  // namespace

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_ || index.column() >= columnCount())
        return {};
    const int row = index.row();
    const ColumnDef& col = column(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return text(row, index.column());
        case Qt::EditRole:
            return value(row, index.column());
        case Qt::TextAlignmentRole:
            return int(col.alignment.toInt());
        case Qt::ForegroundRole:
            return brush(col.foreground, row);
        case Qt::BackgroundRole:
            return brush(col.background, row);
        case Qt::FontRole: {
            if (!col.bold || !col.bold(row))
                return {};
            QFont font;
            font.setBold(true);
            return font;
        }
        default:
            return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const ColumnDef& col = column(section);
    switch (role) {
        case Qt::DisplayRole:
            return col.title;
        case Qt::TextAlignmentRole:
            return int(col.alignment.toInt());
        default:
            return {};
    }
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant TableModel::fieldValue(int, const QString&) const {
    return {};
}

void RecordModel::load(QSqlQuery& query) {
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    std::vector<QVariantList> rows;
    while (query.next()) {
        QVariantList values;
        values.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            values << query.value(i);
        rows.push_back(std::move(values));
    }
    setRecords(std::move(names), std::move(rows));
}

void RecordModel::setRecords(QStringList fieldNames, std::vector<QVariantList> rows) {
    fieldNames_ = std::move(fieldNames);
    setRows(std::move(rows));
}

QVariant RecordModel::field(int row, const QString& name) const {
    return fieldValue(row, name);
}

QVariant RecordModel::fieldValue(int row, const QString& field) const {
    for (qsizetype i = 0; i < fieldNames_.size(); ++i)
        if (fieldNames_.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return this->row(row).value(i);
    return {};
}

}  // namespace ui
