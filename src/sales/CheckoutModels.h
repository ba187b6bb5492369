#pragma once

#include "db/procedures/Checkout.h"
#include "db/procedures/Monitor.h"
#include "ui/TableModel.h"

#include <QColor>
#include <array>

namespace sales {

// The lines of the loaded sale, after a "FECHA" column when `withDate`. The "ESTADO" and
// "SUB TOTAL" columns take the colour the screen's rules give them, cells and title; every title
// is otherwise bold white on red.
class SaleLinesModel : public ui::VectorModel<db::proc::SaleLine> {
public:
    SaleLinesModel(QObject* parent, bool withDate);

    // The columns the rules colour or stretch.
    int estadoColumn() const { return first_; }
    int presTipoColumn() const { return first_ + 2; }
    int subTotalColumn() const { return first_ + 6; }

    // The colour of a column's cells and of its title.
    void tint(int column, const QColor& cell, const QColor& title);

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int first_ = 0;
    std::array<QColor, 8> cell_{};
    std::array<QColor, 8> title_{};
};

// The pending-sale list: the sale number in large bold red, and what it totals.
class PendingSalesModel : public ui::VectorModel<db::proc::PendingSale> {
public:
    explicit PendingSalesModel(QObject* parent);
};

// The monitor's day list: the sale number in large bold; rows still "NO DESCARGADO" in blue,
// the others in red.
class DaySalesModel : public ui::VectorModel<db::proc::DaySale> {
public:
    explicit DaySalesModel(QObject* parent);
};

}  // namespace sales
