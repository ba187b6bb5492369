#pragma once

#include "printing/Report.h"

#include <memory>

// A listing on a 100 x 100 mm sheet with 10 mm margins and 10 mm bands: the first page holds
// the page header, the title and five rows above the footer, every other page six rows.
namespace sample {

using namespace printing;

inline std::shared_ptr<RowList> items(int count, const QStringList& groups = {}) {
    auto rows = std::make_shared<RowList>();
    for (int i = 1; i <= count; ++i)
        rows->append(
            {{QStringLiteral("NOMBRE"), QStringLiteral("ITEM %1").arg(i, 2, 10, QLatin1Char('0'))},
             {QStringLiteral("GRUPO"), groups.value(i - 1)},
             {QStringLiteral("CANTIDAD"), i}});
    return rows;
}

inline Band band(std::vector<Item> items) {
    return Band{10, std::move(items)};
}

inline Text text(Value value, double x = 0, double width = 60) {
    return Text{.box = {x, 0, width, 10}, .value = std::move(value)};
}

inline Report listing(std::shared_ptr<const RowSource> rows) {
    Report r;
    r.page.paperMm = {100, 100};
    r.page.marginsMm = {10, 10, 10, 10};
    r.pageHeader = band({text(fixed(QStringLiteral("LISTADO")))});
    r.title = band({text(fixed(QStringLiteral("REPORTE DE PRUEBA")))});
    r.detail = band({text(rowNumber(), 0, 10), text(field(QStringLiteral("NOMBRE")), 10)});
    r.summary = band({text(concat({fixed(QStringLiteral("FILAS: ")), rowNumber()}))});
    r.pageFooter = band({text(concat({fixed(QStringLiteral("Pág. Nº: ")), pageNumber(),
                                      fixed(QStringLiteral(" de ")), pageCount()}),
                              0, 80)});
    r.rows = std::move(rows);
    return r;
}

}  // namespace sample
