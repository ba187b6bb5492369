#include "sales/UnitTraspasoNotBol.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "sales/SalesCounter.h"
#include "session/AppContext.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/TextStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace sales {

using db::proc::SaleNote;

std::vector<int> notesToConvert(const std::vector<SaleNote>& notes, core::Money required) {
    std::vector<int> out;
    core::Money sum;
    for (const SaleNote& note : notes) {
        if (note.SUMA_TOTAL > required)
            continue;
        sum = sum + note.SUMA_TOTAL;
        if (sum <= required)
            out.push_back(note.FacNumero);
    }
    return out;
}

TFormTraspasoNotBol::TFormTraspasoNotBol(session::AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(context) {
    setObjectName(QStringLiteral("FormTraspasoNotBol"));
    setWindowTitle(QStringLiteral("FORMULARIO DE NOTAS DE VENTAS A BOLETAS."));
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("MONTO REQUERIDO:"));
    ui::setFontSize(label, 10, true);
    EdMonto = new QLineEdit;
    EdMonto->setObjectName(QStringLiteral("EdMonto"));
    ui::commaAsPoint(EdMonto);
    ui::filter(EdMonto, core::isAmountText);
    SpeedButton1 = new QPushButton(QStringLiteral("&Traspasar"));
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    row->addWidget(label);
    row->addWidget(EdMonto, 1);
    row->addWidget(SpeedButton1);
    column->addLayout(row);

    model_ = new ui::VectorModel<SaleNote>(this);
    model_->setColumns({{.title = QStringLiteral("FacNumero"),
                         .width = 80,
                         .alignment = Qt::AlignCenter,
                         .value = model_->by(&SaleNote::FacNumero)},
                        {.title = QStringLiteral("SUMA_TOTAL"),
                         .width = 100,
                         .alignment = Qt::AlignRight | Qt::AlignVCenter,
                         .value = model_->by([](const SaleNote& n) {
                             return core::fmt::twoDecimals(n.SUMA_TOTAL);
                         })},
                        {.title = QStringLiteral("FacTipoSunat"),
                         .width = 130,
                         .value = model_->by(&SaleNote::FacTipoSunat)}});
    DBGrid1 = new QTableView;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    ui::Grid::setUp(DBGrid1, model_);
    column->addWidget(DBGrid1, 1);
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    resize(400, 420);
}

TFormTraspasoNotBol* TFormTraspasoNotBol::showFor(session::AppContext& context) {
    QPointer<QWidget>& kept = SalesCounter::of(context).transfer;
    if (!kept)
        kept = new TFormTraspasoNotBol(context, context.mainWindow);
    auto* form = static_cast<TFormTraspasoNotBol*>(kept.data());
    form->show();
    form->raise();
    form->activateWindow();
    return form;
}

// The list is of the moment the window is shown, not of when it was created.
void TFormTraspasoNotBol::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ui::guard(ctx_.messages, [this] { readNotes(); });
}

void TFormTraspasoNotBol::readNotes() {
    listDay_ = ctx_.clock.today();
    notes_ = db::proc::saleNotes(ctx_.db, listDay_);
    model_->setRows(notes_);
    ui::Grid::selectRow(DBGrid1, 0);
}

// Only this transfer's own calls speak: their last message, or an empty one when none was made.
// A failure ends it quietly; the notes converted before it stay converted and the list shows it.
void TFormTraspasoNotBol::SpeedButton1Click() {
    const std::optional<core::Money> required = core::Money::parse(EdMonto->text());
    if (!required)
        return;
    ui::guard(ctx_.messages, [this, &required] {
        readNotes();
        QString message;
        for (int facNumero : notesToConvert(notes_, *required))
            message = db::proc::KZ_CambioNotBol(ctx_.db, {facNumero, listDay_}).pMensaje;
        ctx_.messages.notice(message);
    });
    ui::guard(ctx_.messages, [this] { readNotes(); });
}

}  // namespace sales
