#include "admin/WithdrawalReport.h"

#include "core/Format.h"

namespace admin {

namespace {

constexpr double kLine = 6;
const printing::Font kTitle{.points = 12, .bold = true};
const printing::Font kBody{.points = 9};

printing::Text cell(double x, double width, printing::Value value,
                    Qt::Alignment align = Qt::AlignLeft) {
    return printing::Text{.box = QRectF(x, 0, width, kLine),
                          .value = std::move(value),
                          .font = kBody,
                          .align = align | Qt::AlignVCenter};
}

std::shared_ptr<printing::RowList> rowsOf(const std::vector<db::proc::EgresoRow>& rows) {
    auto list = std::make_shared<printing::RowList>();
    for (const db::proc::EgresoRow& r : rows)
        list->append({{QStringLiteral("EgreCod"), r.EgreCod},
                      {QStringLiteral("NOMBRE_COMPLETO"), r.NOMBRE_COMPLETO},
                      {QStringLiteral("EgreFecha"), core::fmt::shortDateLongTime(r.EgreFecha)},
                      {QStringLiteral("EgreMonto"), core::fmt::twoDecimals(r.EgreMonto)},
                      {QStringLiteral("EgreMotivo"), r.EgreMotivo.simplified()}});
    return list;
}

}  // namespace

printing::Report withdrawalReport(const std::vector<db::proc::EgresoRow>& rows, core::Money total) {
    printing::Report r;
    r.page.marginsMm = QMarginsF(15, 10, 10, 10);
    const double width = r.page.printableWidthMm();
    r.title.heightMm = 12;
    r.title.items.push_back(printing::Text{
        .box = QRectF(0, 2, width / 2, 8),
        .value = printing::fixed(QStringLiteral("MONTO ACUMULADO:") + core::fmt::shortest(total)),
        .font = kTitle});
    r.title.items.push_back(
        printing::Text{.box = QRectF(width / 2, 2, width / 2, 8),
                       .value = printing::printedAt(core::fmt::shortDateLongTime),
                       .font = kBody,
                       .align = Qt::AlignRight | Qt::AlignVCenter});
    r.detail.heightMm = kLine;
    r.detail.items = {cell(0, 14, printing::field(QStringLiteral("EgreCod"))),
                      cell(14, 50, printing::field(QStringLiteral("NOMBRE_COMPLETO"))),
                      cell(64, 36, printing::field(QStringLiteral("EgreFecha"))),
                      cell(100, 24, printing::field(QStringLiteral("EgreMonto")), Qt::AlignHCenter),
                      cell(124, width - 124, printing::field(QStringLiteral("EgreMotivo")))};
    r.rows = rowsOf(rows);
    return r;
}

}  // namespace admin
