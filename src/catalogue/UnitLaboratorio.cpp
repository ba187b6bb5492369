#include "catalogue/UnitLaboratorio.h"

#include "catalogue/FormParts.h"
#include "core/Roles.h"
#include "db/procedures/Catalogue.h"
#include "session/CommandRules.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace catalogue {

namespace {

const QString kNoName = QStringLiteral("INGRESA EL NOMBRE DE LA MARCA...");

}  // namespace

TFormLaboratorio* TFormLaboratorio::open(session::AppContext& ctx) {
    auto* form = new TFormLaboratorio(ctx, ctx.mainWindow);
    form->empty();
    parts::show(form);
    return form;
}

TFormLaboratorio::TFormLaboratorio(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint), ctx_(ctx) {
    setObjectName(QStringLiteral("FormLaboratorio"));
    setWindowTitle(QStringLiteral("VENTANA DE INGRESO DE NUEVA MARCA"));
    build();
    wire();
}

void TFormLaboratorio::build() {
    namespace p = db::proc;
    MENSAJE = parts::messageStrip(this, "MENSAJE");
    EdNombre = parts::box(this, "EdNombre", p::kLabNombreSize);
    EdRazSoc = parts::box(this, "EdRazSoc", p::kLabRazSocSize);
    Descri = parts::memo(this, "Descri", p::kLabDescripcionSize);
    SpeedButton2 = parts::button(this, "SpeedButton2", QStringLiteral("&Nuevo"));
    Grabar = parts::button(this, "Grabar", QStringLiteral("&Grabar"));
    SpeedButton3 = parts::button(this, "SpeedButton3", QStringLiteral("&Salir"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("NOMBRE:"), EdNombre);
    fields->addRow(QStringLiteral("RAZON SOCIAL:"), EdRazSoc);
    fields->addRow(QStringLiteral("DESCRIPCION:"), Descri);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {SpeedButton2, Grabar, SpeedButton3})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MENSAJE);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumWidth(560);
}

void TFormLaboratorio::wire() {
    connect(EdNombre, &QLineEdit::returnPressed, EdRazSoc, [this] { EdRazSoc->setFocus(); });
    connect(SpeedButton2, &QPushButton::clicked, this, &TFormLaboratorio::empty);
    connect(Grabar, &QPushButton::clicked, this, &TFormLaboratorio::GrabarClick);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFormLaboratorio::SpeedButton3Click);
}

void TFormLaboratorio::empty() {
    EdNombre->clear();
    EdRazSoc->clear();
    Descri->clear();
}

void TFormLaboratorio::GrabarClick() {
    ui::guard(ctx_.messages, [this] {
        if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOrPharmacist,
                                 core::roles::kOperacion))
            return;
        if (EdNombre->text().trimmed().isEmpty()) {
            ctx_.messages.notice(kNoName);
            EdNombre->setFocus();
            return;
        }
        const db::proc::IngresoLaboratorioOut out = db::proc::KZ_IngresoLABORATORIO(
            ctx_.db, {EdNombre->text(), EdRazSoc->text(), Descri->toPlainText()});
        MENSAJE->setText(out.pMensaje);
    });
}

void TFormLaboratorio::SpeedButton3Click() {
    empty();
    MENSAJE->clear();
    close();
}

}  // namespace catalogue
