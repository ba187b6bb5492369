#include "stock/IntakeDocument.h"

#include "core/Clock.h"
#include "core/InputRules.h"
#include "db/procedures/Stock.h"
#include "session/Session.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QWidget>

namespace stock {

namespace {

const QString kChooseSupplier = QStringLiteral("ELIGE PROVEEDOR");
const QString kTypeText = QStringLiteral("TIPO DOCUMENTO");
const QString kNoSuppliers = QStringLiteral("INGRESE PRIMERO LOS PROVEEDORES");
const QString kNoSupplier = QStringLiteral("ELIJA EL PROVEEDOR...");
const QString kNoType = QStringLiteral("ELEJIR UNA OPCION, PARA EL TIPO DE DOCUMENTO");
const QString kNoNumber = QStringLiteral("INGRESE EL NUMERO DE DOCUMENTO");
const QString kBadDate = QStringLiteral("INGRESE FECHA CORRECTA");
const QString kTooManyUnits =
    QStringLiteral("CANTIDAD ERRONEA:\rNO SE ACEPTAN MAS DE 32767 UNIDADES");
// One digit more than the largest stock has: what the cap cuts is refused as too many anyway,
// so no typed count is ever saved as another.
constexpr int kUnitsDigits = 6;

QComboBox* editableChoice(QWidget* parent, const char* name, int size) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    ui::capLength(box->lineEdit(), size);
    ui::forceUpperCase(box->lineEdit());
    return box;
}

}  // namespace

QStringList offeredTypes() {
    return {QStringLiteral("BOLETA"),         QStringLiteral("FACTURA"),
            QStringLiteral("COMPROBANTE"),    QStringLiteral("TICKET"),
            QStringLiteral("NOTA DE PEDIDO"), QStringLiteral("NOTA DE ENVIO")};
}

IntakeDocument::IntakeDocument(session::AppContext& ctx, QWidget* window, const char* typeName)
    : QObject(window),
      ctx_(ctx),
      CBProveedor(editableChoice(window, "CBProveedor", db::proc::kProvNombreSize)),
      tipo_(editableChoice(window, typeName, db::proc::kDocSize)),
      EdNumDoc(new QLineEdit(window)) {
    CBProveedor->setEditText(kChooseSupplier);
    tipo_->addItems(offeredTypes());
    tipo_->setEditText(kTypeText);
    EdNumDoc->setObjectName(QStringLiteral("EdNumDoc"));
    EdNumDoc->setMaxLength(db::proc::kDocSize);
    ui::filter(EdNumDoc, core::endsWithDocumentChar);
    connect(CBProveedor, &QComboBox::currentTextChanged, this, &IntakeDocument::supplierChanged);
}

void IntakeDocument::supplierChanged(const QString& text) {
    const QString name = text.trimmed();
    if (name == QLatin1String("SAUCAL"))
        tipo_->setEditText(QStringLiteral("NOTA DE ENVIO"));
    else if (name == QLatin1String("ALMACEN BRISA"))
        tipo_->setEditText(QStringLiteral("COMPROBANTE"));
    else {
        tipo_->setEditText(QString());
        return;
    }
    EdNumDoc->setFocus();
}

void IntakeDocument::readSuppliers() {
    const QString shown = CBProveedor->currentText();
    const QSignalBlocker quiet(CBProveedor);
    CBProveedor->clear();
    CBProveedor->addItems(db::proc::proveedorNombres(ctx_.db));
    CBProveedor->setEditText(shown);
}

void IntakeDocument::recall() {
    const session::Session::IntakeDocument& last = ctx_.session.intakeDocument();
    CBProveedor->setEditText(last.supplier);
    EdNumDoc->setText(last.number);
    tipo_->setEditText(last.type.trimmed());
}

void IntakeDocument::remember() {
    ctx_.session.setIntakeDocument({supplier(), number(), type()});
}

bool IntakeDocument::suppliersOnFile() {
    if (CBProveedor->count() > 0)
        return true;
    ctx_.messages.notice(kNoSuppliers);
    return false;
}

bool IntakeDocument::supplierChosen() {
    const QString name = CBProveedor->currentText();
    if (!name.isEmpty() && name != kChooseSupplier)
        return true;
    ctx_.messages.notice(kNoSupplier);
    CBProveedor->setFocus();
    return false;
}

bool IntakeDocument::typeAccepted(const QStringList& accepted) {
    if (accepted.contains(type()))
        return true;
    tipo_->setEditText(kTypeText);
    ctx_.messages.notice(kNoType);
    tipo_->setFocus();
    return false;
}

bool IntakeDocument::numberGiven(bool zeroIsNone) {
    const QString number = EdNumDoc->text();
    if (!number.isEmpty() && !(zeroIsNone && number == QLatin1String("0")))
        return true;
    ctx_.messages.notice(kNoNumber);
    EdNumDoc->setFocus();
    return false;
}

QString IntakeDocument::supplier() const {
    return CBProveedor->currentText().trimmed();
}
QString IntakeDocument::number() const {
    return EdNumDoc->text().trimmed();
}
QString IntakeDocument::type() const {
    return tipo_->currentText().trimmed();
}

bool expiryAccepted(session::AppContext& ctx, QDateTimeEdit* expiry) {
    if (expiry->dateTime() > ctx.clock.now())
        return true;
    ctx.messages.notice(kBadDate);
    expiry->setFocus();
    return false;
}

bool unitsWithinRange(session::AppContext& ctx, QLineEdit* units) {
    bool ok = false;
    const qlonglong typed = units->text().trimmed().toLongLong(&ok);
    if (typed <= db::proc::kStockMax && (ok || !core::isDigitsOnly(units->text().trimmed())))
        return true;
    ctx.messages.notice(kTooManyUnits);
    units->clear();
    units->setFocus();
    return false;
}

void showIntakeWindow(session::AppContext& ctx, QWidget* window,
                      const std::function<void()>& activated) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    ui::stayOnTop(window);
    ui::centreOnDesktop(window);
    window->show();
    window->raise();
    window->activateWindow();
    ui::guard(ctx.messages, activated);
}

QLineEdit* unitsBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(kUnitsDigits);
    return box;
}

QDateTimeEdit* expiryBox(QWidget* parent, const char* name) {
    auto* box = new QDateTimeEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    box->setCalendarPopup(true);
    return box;
}

}  // namespace stock
