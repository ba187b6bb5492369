#include "printing/RowSource.h"

#include <QSqlQuery>

namespace printing {

QVariant RowList::value(int row, const QString& column) const {
    return row >= 0 && row < rows_.size() ? rows_[row].value(column) : QVariant();
}

QueryRows::QueryRows(QSqlQuery& query) {
    while (query.next())
        records_.push_back(query.record());
}

QVariant QueryRows::value(int row, const QString& column) const {
    return row >= 0 && row < rowCount() ? records_[row].value(column) : QVariant();
}

}  // namespace printing
