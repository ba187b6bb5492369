#include "sales/CheckoutModels.h"

#include "core/Format.h"
#include "ui/Palette.h"

#include <QBrush>
#include <QFont>

namespace sales {

using db::proc::PendingSale;
using db::proc::SaleLine;

namespace {

QString amount(core::Money m) {
    return core::fmt::twoDecimals(m);
}

}  // namespace

SaleLinesModel::SaleLinesModel(QObject* parent, bool withDate)
    : ui::VectorModel<SaleLine>(parent), first_(withDate ? 1 : 0) {
    const auto settledRed = [this](int r) {
        const QString& e = row(r).Estado;
        return e == db::proc::kDescargado || e == db::proc::kDevuelto;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    std::vector<ui::ColumnDef> columns;
    if (withDate)
        columns.push_back({.title = QStringLiteral("FECHA"),
                           .width = 120,
                           .value = by([](const SaleLine& l) {
                               return core::fmt::shortDateLongTime(l.FacFecha);
                           })});
    std::vector<ui::ColumnDef> own{
        {.title = QStringLiteral("ESTADO"),
         .width = 125,
         .value = by(&SaleLine::Estado),
         .foreground = [settledRed](int r) { return settledRed(r) ? ui::palette::red : QColor(); },
         .background = [this](int) { return cell_[std::size_t(estadoColumn())]; },
         .bold = settledRed},
        {.title = QStringLiteral("FACT."), .width = 50, .value = by(&SaleLine::FacNumero)},
        {.title = QStringLiteral("PRESENTACION DEL PRODUCTO"),
         .width = 300,
         .value = by(&SaleLine::PresTipo)},
        {.title = QStringLiteral("LABORATORIO"), .width = 120, .value = by(&SaleLine::LabNombre)},
        {.title = QStringLiteral("IMPORTE"),
         .width = 70,
         .alignment = right,
         .value = by([](const SaleLine& l) { return amount(l.Importe); })},
        {.title = QStringLiteral("CANT."),
         .width = 50,
         .alignment = right,
         .value = by(&SaleLine::Cantidad)},
        {.title = QStringLiteral("SUB TOTAL"),
         .width = 80,
         .alignment = right,
         .value = by([](const SaleLine& l) { return amount(l.SUB_TOTAL); }),
         .foreground = [](int) { return ui::palette::red; },
         .background = [this](int) { return cell_[std::size_t(subTotalColumn())]; },
         .bold = [](int) { return true; }},
    };
    columns.insert(columns.end(), own.begin(), own.end());
    setColumns(std::move(columns));
    title_.fill(ui::palette::red);
}

void SaleLinesModel::tint(int column, const QColor& cell, const QColor& title) {
    cell_[std::size_t(column)] = cell;
    title_[std::size_t(column)] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

QVariant SaleLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        switch (role) {
            case Qt::BackgroundRole:
                return QBrush(title_[std::size_t(section)]);
            case Qt::ForegroundRole:
                return QBrush(ui::palette::white);
            case Qt::FontRole: {
                QFont font;
                font.setBold(true);
                return font;
            }
            default:
                break;
        }
    }
    return ui::VectorModel<SaleLine>::headerData(section, orientation, role);
}

PendingSalesModel::PendingSalesModel(QObject* parent) : ui::VectorModel<PendingSale>(parent) {
    setColumns({{.title = QStringLiteral("FacNumero"),
                 .width = 70,
                 .alignment = Qt::AlignCenter,
                 .value = by(&PendingSale::FacNumero),
                 .foreground = [](int) { return ui::palette::red; },
                 .bold = [](int) { return true; }},
                {.title = QStringLiteral("TOTAL"),
                 .width = 90,
                 .alignment = Qt::AlignRight | Qt::AlignVCenter,
                 .value = by([](const PendingSale& p) { return amount(p.TOTAL); })}});
}

DaySalesModel::DaySalesModel(QObject* parent) : ui::VectorModel<db::proc::DaySale>(parent) {
    const auto colour = [this](int r) {
        return row(r).Estado == db::proc::kNoDescargado ? ui::palette::blue : ui::palette::red;
    };
    setColumns({{.title = QStringLiteral("FacNumero"),
                 .width = 60,
                 .alignment = Qt::AlignCenter,
                 .value = by(&db::proc::DaySale::FacNumero),
                 .foreground = colour,
                 .bold = [](int) { return true; }},
                {.title = QStringLiteral("TOTAL"),
                 .width = 80,
                 .alignment = Qt::AlignRight | Qt::AlignVCenter,
                 .value = by([](const db::proc::DaySale& d) { return amount(d.TOTAL); }),
                 .foreground = colour},
                {.title = QStringLiteral("Estado"),
                 .width = 105,
                 .value = by(&db::proc::DaySale::Estado),
                 .foreground = colour}});
}

}  // namespace sales
