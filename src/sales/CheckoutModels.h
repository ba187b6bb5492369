#pragma once

#include "db/procedures/Checkout.h"
#include "ui/TableModel.h"

#include <QColor>
#include <array>

namespace sales {

// The columns of the checkout's line grid that its rules colour or stretch.
constexpr int kEstado = 0;
constexpr int kPresTipo = 2;
constexpr int kSubTotal = 6;

// The lines of the loaded sale. The "ESTADO" and "SUB TOTAL" columns take the colour the
// screen's rules give them, cells and title; every title is otherwise bold white on red.
class SaleLinesModel : public ui::VectorModel<db::proc::SaleLine> {
public:
    explicit SaleLinesModel(QObject* parent);

    // The colour of a column's cells and of its title.
    void tint(int column, const QColor& cell, const QColor& title);

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::array<QColor, 7> cell_{};
    std::array<QColor, 7> title_{};
};

// The pending-sale list: the sale number in large bold red, and what it totals.
class PendingSalesModel : public ui::VectorModel<db::proc::PendingSale> {
public:
    explicit PendingSalesModel(QObject* parent);
};

}  // namespace sales
