#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <vector>

class QSqlQuery;

namespace printing {

// The rows a report prints, read by index (a report is laid out twice) and by column name.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int rowCount() const = 0;
    // The value of a column in a row (0-based); a null QVariant for an unknown column.
    virtual QVariant value(int row, const QString& column) const = 0;
};

// Rows held in memory, one map of column name to value per row.
class RowList : public RowSource {
public:
    RowList() = default;
    explicit RowList(QList<QVariantMap> rows) : rows_(std::move(rows)) {}
    void append(QVariantMap row) { rows_.append(std::move(row)); }

    int rowCount() const override { return int(rows_.size()); }
    QVariant value(int row, const QString& column) const override;

private:
    QList<QVariantMap> rows_;
};

// The rows of an executed query, read to its end once. Column names match whatever their case
// (PostgreSQL folds unquoted names to lower case).
class QueryRows : public RowSource {
public:
    explicit QueryRows(QSqlQuery& query);

    int rowCount() const override { return int(records_.size()); }
    QVariant value(int row, const QString& column) const override;

private:
    std::vector<QSqlRecord> records_;
};

}  // namespace printing
