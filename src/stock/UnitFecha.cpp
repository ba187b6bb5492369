#include "stock/UnitFecha.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "core/Roles.h"
#include "db/procedures/Stock.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "stock/IntakeDocument.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

namespace stock {

namespace {

const QString kCaption = QStringLiteral("PRESENTACION:  ");
const QString kNoUnits = QStringLiteral("INGRESE UN VALOR\rPARA STOCK");
const QString kSaveFailed =
    QStringLiteral("ERROR EN FECHA\rESCOGE UN PROVEEDOR, O \rEXISTE UN ERROR EN LA TRANSACCION");
const QString kAdministrator = QStringLiteral("ADMINISTRADOR");
constexpr int kExpiryDays = 90;

QDateTime readIntakeMoment(const QString& text) {
    for (const char* format : {"d/M/yyyy H:mm:ss", "dd/MM/yyyy H:mm:ss", "d/M/yyyy"}) {
        const QDateTime moment = QDateTime::fromString(text.trimmed(), QLatin1String(format));
        if (moment.isValid())
            return moment;
    }
    throw std::invalid_argument("not a date and time: " + text.toStdString());
}

}  // namespace

TFormFecha* TFormFecha::open(session::AppContext& ctx) {
    auto* form = new TFormFecha(ctx);
    showIntakeWindow(ctx, form, [form] { form->activated(); });
    return form;
}

TFormFecha::TFormFecha(session::AppContext& ctx)
    : QWidget(ctx.mainWindow,
              Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormFecha"));
    build();
    wire();
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormFecha::build() {
    FechIngre = new QLineEdit(this);
    FechIngre->setObjectName(QStringLiteral("FechIngre"));
    ui::setHint(FechIngre, QStringLiteral("FECHA EN LA CUAL SE INGRESO EL PRODUCTO"));
    Stock = unitsBox(this, "Stock");
    ui::setHint(Stock, QStringLiteral("NUMERO DE UNIDADES INGRESADAS AL SISTEMA"));
    document_ = new IntakeDocument(ctx_, this, "CbTipoDocumento");
    ui::forceUpperCase(document_->numberBox());
    DateTimePicker2 = expiryBox(this, "DateTimePicker2");
    Mensaje = new QLabel(this);
    Mensaje->setObjectName(QStringLiteral("Mensaje"));
    Grabar = new QPushButton(QStringLiteral("&Grabar"), this);
    Grabar->setObjectName(QStringLiteral("Grabar"));
    Salir = new QPushButton(QStringLiteral("&Salir"), this);
    Salir->setObjectName(QStringLiteral("Salir"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("FECHA DE INGRESO:"), FechIngre);
    fields->addRow(QStringLiteral("STOCK:"), Stock);
    fields->addRow(QStringLiteral("PROVEEDOR"), document_->supplierBox());
    fields->addRow(QStringLiteral("NUMERO DOCUMENTO:"), document_->numberBox());
    fields->addRow(QStringLiteral("TIPO DOCUMENTO:"), document_->typeBox());
    fields->addRow(QStringLiteral("FECHA DE CADUCIDAD:"), DateTimePicker2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Grabar);
    buttons->addWidget(Salir);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Mensaje);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

void TFormFecha::wire() {
    ui::filter(Stock, core::endsWithDigit);
    for (QObject* w :
         std::initializer_list<QObject*>{Stock, document_->supplierBox(), document_->typeBox(),
                                         document_->numberBox(), DateTimePicker2, Grabar, Salir})
        w->installEventFilter(this);
    installEventFilter(this);
    connect(Grabar, &QPushButton::clicked, this, &TFormFecha::GrabarClick);
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);
    connect(&ctx_.session, &session::Session::intakeUnitsOffered, this, &TFormFecha::unitsOffered);
}

bool TFormFecha::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape &&
        (watched == DateTimePicker2 || watched == Grabar || watched == Salir)) {
        Stock->clear();
        Stock->setFocus();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return enterIn(watched);
    return QWidget::eventFilter(watched, event);
}

// Enter moves on through the boxes, taking the spaces out of the units on the way.
bool TFormFecha::enterIn(QObject* watched) {
    if (watched == Stock || watched == document_->numberBox()) {
        if (!unitsAboveZero())
            return true;
        removeStockSpaces();
        if (watched == document_->numberBox())
            document_->numberBox()->setText(
                document_->numberBox()->text().remove(QLatin1Char(' ')));
        DateTimePicker2->setFocus();
    } else if (watched == document_->supplierBox()) {
        removeStockSpaces();
        document_->typeBox()->setFocus();
    } else if (watched == document_->typeBox()) {
        removeStockSpaces();
        document_->numberBox()->setFocus();
    } else if (watched == DateTimePicker2) {
        Grabar->setFocus();
    } else if (watched == Grabar) {
        Salir->setFocus();
    } else {
        return false;
    }
    return true;
}

// Back from its own message box the expiry date, supplier and document stay as chosen.
void TFormFecha::activated() {
    // A box closing activates the window inside the action that showed it.
    const bool own = ownActions_ > 0;
    const session::PresentationRow* current = ctx_.dm.currentPresentation();
    presentation_ = current ? current->CodPresentacion : 0;
    setWindowTitle(kCaption + (current ? current->PresTipo.trimmed() : QString()));
    document_->readSuppliers();
    if (own)
        return;
    const QDateTime now = ctx_.clock.now();
    FechIngre->setText(core::fmt::shortDateLongTime(now));
    FechIngre->setEnabled(ctx_.dm.sessionRole().trimmed() == kAdministrator);
    DateTimePicker2->setDateTime(now.addDays(kExpiryDays));
    Mensaje->clear();
    document_->recall();
    Stock->setFocus();
}

void TFormFecha::unitsOffered(const QString& units) {
    Stock->setText(units);
}

void TFormFecha::GrabarClick() {
    ++ownActions_;
    if (!ui::guard(ctx_.messages, [this] {
            if (checked())
                save();
        }))
        ui::guard(ctx_.messages, [this] {
            ctx_.messages.notice(kSaveFailed);
            document_->supplierBox()->setFocus();
        });
    --ownActions_;
}

// The save's checks in their order, each ending it.
bool TFormFecha::checked() {
    namespace roles = core::roles;
    if (!session::roleAllows(ctx_, roles::Group::AdministratorOrPharmacist, roles::kOperacion))
        return false;
    if (!expiryAccepted(ctx_, DateTimePicker2) || !document_->suppliersOnFile())
        return false;
    if (!document_->typeAccepted(offeredTypes()) || !document_->supplierChosen() ||
        !document_->numberGiven())
        return false;
    removeStockSpaces();
    const QDateTime now = ctx_.clock.now();
    const QDate expiry = DateTimePicker2->date();
    DateTimePicker2->setDateTime(QDateTime(QDate(expiry.year(), expiry.month(), 1), now.time()));
    if (!unitsAboveZero()) {
        Stock->clear();
        ctx_.messages.notice(kNoUnits);
        Stock->setFocus();
        return false;
    }
    return unitsWithinRange(ctx_, Stock);
}

void TFormFecha::save() {
    db::proc::KardexIngresoIn in;
    in.pCodPresentacion = presentation_;
    in.pFechCad = DateTimePicker2->dateTime();
    in.pStock = Stock->text().toInt();
    in.pFechIngre = readIntakeMoment(FechIngre->text());
    in.pCodTrab = ctx_.session.userCode();
    in.pProvNom = document_->supplier();
    in.pPresFechNumDoc = document_->number();
    in.pDocTipo = document_->type();
    const db::proc::KardexIngresoOut out = db::proc::KZ_KardexIngreso(ctx_.db, in);
    Mensaje->setText(out.pMensaje);
    if (out.KarInCod == 0) {
        ctx_.messages.notice(out.pMensaje);
        return;
    }
    ctx_.dm.reopenSessionDatasets();
    document_->remember();
    Stock->clear();
    Salir->setFocus();
}

bool TFormFecha::unitsAboveZero() const {
    bool ok = false;
    const int units = Stock->text().trimmed().toInt(&ok);
    return ok && units > 0;
}

void TFormFecha::removeStockSpaces() {
    Stock->setText(Stock->text().remove(QLatin1Char(' ')));
}

}  // namespace stock
