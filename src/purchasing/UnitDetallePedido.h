#pragma once

#include "core/PrefixIndex.h"
#include "db/procedures/Purchasing.h"
#include "session/AppContext.h"

#include <QWidget>

class QLineEdit;
class QTableView;

namespace ui {
template <class Row>
class VectorModel;
}

namespace purchasing {

// "DETALLE DE PEDIDO": every presentation with its brand, prices and stock, to consult while
// ordering. Typing a name moves to the first presentation whose type begins with it. The list
// is read when the window is first shown.
class TFormDetallePedido : public QWidget {
    Q_OBJECT

public:
    TFormDetallePedido(session::AppContext& ctx, QWidget* parent);
    // A new look-up window of its own, shown.
    static TFormDetallePedido* open(session::AppContext& ctx);
    // Reads the presentations and sorts them by type.
    void load();
    int rowCount() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void EdnombreChange(const QString& text);

    session::AppContext& ctx_;
    bool loaded_ = false;
    core::PrefixIndex index_;

    QLineEdit* Ednombre = nullptr;
    QTableView* DBGrid1 = nullptr;
    ui::VectorModel<db::proc::PresentacionConsulta>* QPresentaciones = nullptr;
};

}  // namespace purchasing
