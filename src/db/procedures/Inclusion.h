#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "db/Reader.h"
#include "db/procedures/Procedure.h"

#include <QStringList>
#include <optional>
#include <vector>

// The advanced search's reads: products by parts of their names, bounded by price and stock,
// and the sale lines of a day. Every text is looked for as typed, anywhere in its column and
// whatever its case ("%" and "_" match themselves); an empty text filters nothing.
namespace db::proc {

// The stock comparisons the search offers.
enum class Comparison { Greater, GreaterOrEqual, Equal, Less, LessOrEqual };

struct StockBound {
    Comparison comparison = Comparison::GreaterOrEqual;
    int value = 0;
};

struct ProductSearch {
    QString producto;          // ProdNomComercial
    QString laboratorio;       // LabNombre
    QString presentacion;      // PresTipo
    QStringList ingredientes;  // each contained in ProdNomGenerico, in any order
    QString mecanismo;         // ProAccionMecanismo
    std::optional<core::Money> priceFrom, priceTo;  // both or neither
    // Both empty: stock 0 or more.
    std::optional<StockBound> stockFrom, stockTo;
};

// A presentation found, with its product and brand.
struct FoundPresentation {
    QString ProdNomComercial;
    QString PresTipo;
    QString ProdNomGenerico;
    QString ProAccionMecanismo;
    QString LabNombre;
    core::Money PresVenta;
    int PresStockTotal = 0;
};
// Distinct rows, by commercial name.
std::vector<FoundPresentation> searchPresentations(Db& db, const ProductSearch& search);
// The same as a listing, with its count.
Listing presentationsListing(const Db& db, const ProductSearch& search);
FoundPresentation foundPresentation(const QSqlQuery& row);

// A product found by its own texts alone (commercial name, ingredients, mechanism), whatever
// its brands and presentations.
struct FoundProduct {
    QString ProdNomComercial;
    QString ProdNomGenerico;
    QString ProAccionMecanismo;
};
std::vector<FoundProduct> searchProducts(Db& db, const ProductSearch& search);
Listing productsListing(const Db& db, const ProductSearch& search);
FoundProduct foundProduct(const QSqlQuery& row);

// The lines of one sale, or of the sales of a range of numbers, or of every sale of a day: one
// row per number, quantity, presentation, state and workstation, with what those lines total.
struct SoldLine {
    int FacNumero = 0;
    int Cantidad = 0;
    QString PresTipo;
    QString Estado;
    core::Money TOTAL;
    QString FacHostName;
};
struct SoldLinesSearch {
    core::DateTimeRange day;
    std::optional<int> first;  // alone: that sale
    std::optional<int> last;   // with first: first to last
};
// Highest number first.
std::vector<SoldLine> soldLines(Db& db, const SoldLinesSearch& search);
Listing soldLinesListing(const Db& db, const SoldLinesSearch& search);
SoldLine soldLine(const QSqlQuery& row);

}  // namespace db::proc
