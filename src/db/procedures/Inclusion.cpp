#include "db/procedures/Inclusion.h"

namespace db::proc {

namespace {

// A WHERE clause and its values, built one condition at a time.
class Conditions {
public:
    explicit Conditions(const Db& db) : like_(db.likeCi()) {}

    void add(const QString& condition, const QVariantList& values = {}) {
        sql_ += (sql_.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + condition;
        values_ += values;
    }
    // The column contains the text, taken literally; nothing for an empty text.
    void contains(const QString& column, const QString& typed) {
        if (typed.isEmpty())
            return;
        add(column + QLatin1Char(' ') + like_ + QStringLiteral(" ? ESCAPE '\\'"),
            {QLatin1Char('%') + escaped(typed) + QLatin1Char('%')});
    }
    void containsAll(const QString& column, const QStringList& texts) {
        for (const QString& t : texts)
            contains(column, t);
    }
    const QString& sql() const { return sql_; }
    const QVariantList& values() const { return values_; }

private:
    static QString escaped(QString typed) {
        typed.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        typed.replace(QLatin1Char('%'), QStringLiteral("\\%"));
        typed.replace(QLatin1Char('_'), QStringLiteral("\\_"));
        return typed;
    }

    QString like_;
    QString sql_;
    QVariantList values_;
};

QString comparisonSql(Comparison c) {
    switch (c) {
        case Comparison::Greater:
            return QStringLiteral(">");
        case Comparison::GreaterOrEqual:
            return QStringLiteral(">=");
        case Comparison::Equal:
            return QStringLiteral("=");
        case Comparison::Less:
            return QStringLiteral("<");
        case Comparison::LessOrEqual:
            return QStringLiteral("<=");
    }
    return QStringLiteral("=");
}

void stockBound(Conditions& where, const std::optional<StockBound>& bound) {
    if (bound)
        where.add(QStringLiteral("R.PresStockTotal ") + comparisonSql(bound->comparison) +
                      QStringLiteral(" ?"),
                  {bound->value});
}

// Distinct rows in the order of their columns, with their count: a distinct listing, which
// streams where the ORDER BY can follow an index.
Listing distinctRows(const QString& columns, const QString& from, const Conditions& where) {
    const QString rows = from + where.sql();
    return {{QStringLiteral("SELECT ") + columns + rows + QStringLiteral(" ORDER BY ") + columns,
             where.values()},
            Read{QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT ") + columns + rows +
                     QStringLiteral(") T"),
                 where.values()},
            true};
}

}  // namespace

Listing presentationsListing(const Db& db, const ProductSearch& search) {
    Conditions where(db);
    where.add(
        QStringLiteral("PL.ProdCodigo = P.ProdCodigo AND R.ProdLabCod = PL.ProdLabCod AND "
                       "L.LabCodigo = PL.LabCodigo"));
    where.contains(QStringLiteral("P.ProdNomComercial"), search.producto);
    where.contains(QStringLiteral("L.LabNombre"), search.laboratorio);
    if (search.priceFrom && search.priceTo)
        where.add(QStringLiteral("R.PresVenta BETWEEN ? AND ?"),
                  {search.priceFrom->raw(), search.priceTo->raw()});
    if (!search.stockFrom && !search.stockTo)
        where.add(QStringLiteral("R.PresStockTotal >= 0"));
    stockBound(where, search.stockFrom);
    stockBound(where, search.stockTo);
    where.containsAll(QStringLiteral("P.ProdNomGenerico"), search.ingredientes);
    where.contains(QStringLiteral("P.ProAccionMecanismo"), search.mecanismo);
    where.contains(QStringLiteral("R.PresTipo"), search.presentacion);
    return distinctRows(
        QStringLiteral("P.ProdNomComercial, R.PresTipo, P.ProdNomGenerico, P.ProAccionMecanismo, "
                       "L.LabNombre, R.PresVenta, R.PresStockTotal"),
        // CROSS JOIN keeps SQLite's join order: the products first, in their names' index order.
        QStringLiteral(" FROM PRODUCTO P CROSS JOIN PRODUCTO_LABORATORIO PL CROSS JOIN "
                       "PRESENTACION R CROSS JOIN LABORATORIO L"),
        where);
}

FoundPresentation foundPresentation(const QSqlQuery& q) {
    return {text(q.value(0)), text(q.value(1)),  text(q.value(2)),   text(q.value(3)),
            text(q.value(4)), money(q.value(5)), integer(q.value(6))};
}

std::vector<FoundPresentation> searchPresentations(Db& db, const ProductSearch& search) {
    return readAll(db, presentationsListing(db, search), &foundPresentation);
}

Listing productsListing(const Db& db, const ProductSearch& search) {
    Conditions where(db);
    where.contains(QStringLiteral("ProdNomComercial"), search.producto);
    where.containsAll(QStringLiteral("ProdNomGenerico"), search.ingredientes);
    where.contains(QStringLiteral("ProAccionMecanismo"), search.mecanismo);
    return distinctRows(QStringLiteral("ProdNomComercial, ProdNomGenerico, ProAccionMecanismo"),
                        QStringLiteral(" FROM PRODUCTO"), where);
}

FoundProduct foundProduct(const QSqlQuery& q) {
    return {text(q.value(0)), text(q.value(1)), text(q.value(2))};
}

std::vector<FoundProduct> searchProducts(Db& db, const ProductSearch& search) {
    return readAll(db, productsListing(db, search), &foundProduct);
}

Listing soldLinesListing(const Db& db, const SoldLinesSearch& search) {
    Conditions where(db);
    where.add(QStringLiteral("D.FacFecha BETWEEN ? AND ?"), {search.day.start, search.day.end});
    if (search.first && search.last)
        where.add(QStringLiteral("D.FacNumero BETWEEN ? AND ?"), {*search.first, *search.last});
    else if (search.first)
        where.add(QStringLiteral("D.FacNumero = ?"), {*search.first});
    return {{QStringLiteral("SELECT D.FacNumero, D.Cantidad, P.PresTipo, D.Estado, "
                            "SUM(D.Cantidad * D.Importe) AS TOTAL, F.FacHostName FROM DETAFAC D "
                            "JOIN FACTURA F ON F.FacNumero = D.FacNumero AND F.FacFecha = "
                            "D.FacFecha JOIN PRESENTACION P ON P.CodPresentacion = "
                            "D.CodPresentacion") +
                 where.sql() +
                 QStringLiteral(" GROUP BY D.FacNumero, D.Cantidad, P.PresTipo, D.Estado, "
                                "F.FacHostName ORDER BY D.FacNumero DESC, P.PresTipo, "
                                "D.Cantidad, D.Estado, F.FacHostName"),
             where.values()},
            std::nullopt};
}

SoldLine soldLine(const QSqlQuery& q) {
    return {integer(q.value(0)), integer(q.value(1)), text(q.value(2)),
            text(q.value(3)),    money(q.value(4)),   text(q.value(5))};
}

std::vector<SoldLine> soldLines(Db& db, const SoldLinesSearch& search) {
    return readAll(db, soldLinesListing(db, search), &soldLine);
}

}  // namespace db::proc
