#include "catalogue/UnitProducto.h"

#include "catalogue/FormParts.h"
#include "catalogue/ProductScript.h"
#include "core/Clock.h"
#include "core/Roles.h"
#include "db/procedures/Catalogue.h"
#include "session/CommandRules.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace catalogue {

namespace {

const QString kCaption = QStringLiteral("VENTANA DE INGRESO DE PRODUCTO");
const QString kMedicina = QStringLiteral("MEDICINA");
const QString kChooseDontType = QStringLiteral("ELIGE UNA OPCION, NO LA INGRESES");
const QString kChoose = QStringLiteral("ELEJIR UNA OPCION");
const QString kTodos = QStringLiteral("TODOS");
const QString kNotEdited = QStringLiteral("NO SE PUDO EDITAR\rERROR EN LA BASE DE DATOS...");
const QString kNotWritten = QStringLiteral("NO SE PUDO ESCRIBIR EN EL ARCHIVO:\r");

}  // namespace

const QStringList& TFormProducto::lines() {
    static const QStringList all{kMedicina, QStringLiteral("PERFUMERIA"),
                                 QStringLiteral("POPULARES"), QStringLiteral("MATERIAL QUIRURGICO"),
                                 QStringLiteral("SERVICIOS")};
    return all;
}

TFormProducto* TFormProducto::openNew(session::AppContext& ctx, const QString& commercialName) {
    auto* form = new TFormProducto(ctx, ctx.mainWindow);
    form->NomCom->setText(commercialName);
    form->Linea->setCurrentText(kMedicina);
    form->Editar->hide();
    parts::show(form);
    return form;
}

TFormProducto* TFormProducto::openEdit(session::AppContext& ctx) {
    const session::ProductRow* product = ctx.dm.currentProduct();
    if (!product)
        return nullptr;
    auto* form = new TFormProducto(ctx, ctx.mainWindow);
    form->fill(*product);
    form->Grabar->hide();
    parts::show(form);
    return form;
}

TFormProducto::TFormProducto(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormProducto"));
    setWindowTitle(kCaption);
    build();
    wire();
    ui::onActivation(this, [this] { MENSAJE->clear(); });
}

void TFormProducto::build() {
    namespace p = db::proc;
    MENSAJE = parts::messageStrip(this, "MENSAJE");
    NomCom = parts::box(this, "NomCom", p::kProdNombreSize);
    Linea = new QComboBox(this);
    Linea->setObjectName(QStringLiteral("Linea"));
    Linea->setEditable(true);
    Linea->setInsertPolicy(QComboBox::NoInsert);
    Linea->setCompleter(nullptr);  // a typed line is taken as typed, case and all
    Linea->addItems(lines());
    Linea->lineEdit()->setMaxLength(p::kProdLineaSize);
    NomGen = parts::box(this, "NomGen", p::kProdNombreSize);
    Mecanismo = parts::box(this, "Mecanismo", p::kProdMecanismoSize);
    Descrip = parts::memo(this, "Descrip", p::kProdDescripcionSize);
    SpeedButton1 = parts::button(this, "SpeedButton1", QStringLiteral("&Nuevo"));
    Grabar = parts::button(this, "Grabar", QStringLiteral("&Grabar"));
    Editar = parts::button(this, "Editar", QStringLiteral("&Editar"));
    SpeedButton3 = parts::button(this, "SpeedButton3", QStringLiteral("&Salir"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("NOMBRE COMERCIAL:"), NomCom);
    fields->addRow(QStringLiteral("LINEA:"), Linea);
    fields->addRow(QStringLiteral("NOMBRE GENERICO:"), NomGen);
    fields->addRow(QStringLiteral("MECANISMO:"), Mecanismo);
    fields->addRow(QStringLiteral("DESCRIPCION:"), Descrip);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {SpeedButton1, Grabar, Editar, SpeedButton3})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MENSAJE);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumWidth(620);
    setTabOrder(NomCom, Linea);
}

void TFormProducto::wire() {
    for (QObject* w : {static_cast<QObject*>(NomGen), static_cast<QObject*>(NomCom),
                       static_cast<QObject*>(Mecanismo), static_cast<QObject*>(Descrip)})
        w->installEventFilter(this);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFormProducto::SpeedButton1Click);
    connect(Grabar, &QPushButton::clicked, this, &TFormProducto::GrabarClick);
    connect(Editar, &QPushButton::clicked, this, &TFormProducto::EditarClick);
    connect(SpeedButton3, &QPushButton::clicked, this, &QWidget::close);
}

void TFormProducto::fill(const session::ProductRow& product) {
    code_ = product.ProdCodigo;
    NomGen->setText(product.ProdNomGenerico.trimmed());
    NomCom->setText(product.ProdNomComercial.trimmed());
    Linea->setCurrentText(product.ProdLinea.trimmed());
    Descrip->setPlainText(product.ProDescripcion.trimmed());
    Mecanismo->setText(product.ProAccionMecanismo.trimmed());
    setWindowTitle(QStringLiteral("PRODUCTO:  ") + product.ProdNomComercial.trimmed() +
                   QStringLiteral("    LABORATORIO:  ") + product.LabNombre);
}

// Enter moves on, Escape back: NomGen, NomCom, Mecanismo, Descrip (and from NomGen to Linea).
bool TFormProducto::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget* next = nullptr;
    if (enter && watched == NomGen)
        next = NomCom;
    else if (enter && watched == NomCom)
        next = Mecanismo;
    else if (enter && watched == Mecanismo)
        next = Descrip;
    else if (key == Qt::Key_Escape && watched == Descrip)
        next = Mecanismo;
    else if (key == Qt::Key_Escape && watched == Mecanismo)
        next = NomCom;
    else if (key == Qt::Key_Escape && watched == NomCom)
        next = NomGen;
    else if (key == Qt::Key_Escape && watched == NomGen)
        next = Linea;
    if (!next)
        return QWidget::eventFilter(watched, event);
    next->setFocus();
    return true;
}

bool TFormProducto::lineIsValid() const {
    return lines().contains(Linea->currentText().trimmed());
}

void TFormProducto::GrabarClick() {
    ui::guard(ctx_.messages, [this] {
        if (!session::roleAllows(ctx_, core::roles::Group::CounterStaff, core::roles::kOperacion))
            return;
        if (!lineIsValid()) {
            Linea->setCurrentText(QString());
            ctx_.messages.notice(kChooseDontType);
            Linea->setFocus();
            return;
        }
        save();
    });
}

void TFormProducto::save() {
    const db::proc::IngresoProductoOut out = db::proc::KZ_IngresoPRODUCTO(
        ctx_.db, {Linea->currentText().trimmed(), NomGen->text().trimmed(),
                  NomCom->text().trimmed(), Descrip->toPlainText(), Mecanismo->text().trimmed()});
    if (out.ProdCodigo == 0) {
        ctx_.messages.notice(out.pMensaje);
        MENSAJE->setText(out.pMensaje);
        NomCom->setFocus();
        return;
    }
    const ProductScript script(ctx_.platform);
    const QDate today = ctx_.clock.today();
    if (!script.append(today, out.pMensajeSQL))
        ctx_.messages.notice(kNotWritten + script.path(today), ui::Messages::Kind::Error);
    ctx_.messages.notice(out.pMensajeSQL);
    // After the boxes, whose closing activates the window and empties the strip.
    MENSAJE->setText(out.pMensaje);
}

void TFormProducto::EditarClick() {
    ui::guard(ctx_.messages, [this] {
        if (!session::roleAllows(ctx_, core::roles::Group::CounterStaff, core::roles::kOperacion))
            return;
        if (!lineIsValid()) {
            Linea->setCurrentText(kTodos);
            ctx_.messages.notice(kChoose);
            return;
        }
        MENSAJE->clear();
        ui::guard(
            ctx_.messages, [this] { edit(); }, kNotEdited);
    });
}

void TFormProducto::edit() {
    const db::proc::EditarProductoOut out = db::proc::KZ_EditarProducto(
        ctx_.db,
        {code_, NomCom->text().trimmed(), Linea->currentText().trimmed(), NomGen->text().trimmed(),
         Mecanismo->text().trimmed(), Descrip->toPlainText().trimmed()});
    ctx_.dm.reopenSessionDatasets();
    MENSAJE->setText(out.pMensaje);
}

void TFormProducto::SpeedButton1Click() {
    Linea->setCurrentText(QString());
    for (QLineEdit* b : {NomGen, NomCom, Mecanismo})
        b->clear();
    Descrip->clear();
    MENSAJE->clear();
}

}  // namespace catalogue
