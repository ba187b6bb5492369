#include "catalogue/UnitCambiarLaboratorio.h"

#include "catalogue/FormParts.h"
#include "core/Roles.h"
#include "session/CommandRules.h"
#include "session/UnitDM.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace catalogue {

namespace {

const QString kNoBrand = QStringLiteral("NO HAY MARCA ELEGIDA EN LA LISTA");

}  // namespace

TFormCambiarLaboratorio* TFormCambiarLaboratorio::open(session::AppContext& ctx) {
    const session::ProductRow* product = ctx.dm.currentProduct();
    if (!product)
        return nullptr;
    auto* form = new TFormCambiarLaboratorio(ctx, product->ProdLabCod, ctx.mainWindow);
    parts::show(form);
    return form;
}

TFormCambiarLaboratorio::TFormCambiarLaboratorio(session::AppContext& ctx, int link,
                                                 QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint), ctx_(ctx), link_(link) {
    setObjectName(QStringLiteral("FormCambiarLaboratorio"));
    setWindowTitle(QStringLiteral("CAMBIAR LABORATORIO"));
    build();
    connect(Editar, &QPushButton::clicked, this, &TFormCambiarLaboratorio::EditarClick);
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);
    ui::guard(ctx_.messages, [this] { QConLab->setRows(db::proc::laboratorioChoices(ctx_.db)); });
}

TFormCambiarLaboratorio::~TFormCambiarLaboratorio() = default;

void TFormCambiarLaboratorio::build() {
    EdLaboratorio = parts::box(this, "EdLaboratorio", db::proc::kLabNombreSize);
    AVISO = parts::notice(this, "AVISO");
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setMinimumSize(400, 280);
    QConLab = brandList(DBGrid1, EdLaboratorio, QStringLiteral("NOMBRE DEL LABORATORIO"));
    Editar = parts::button(this, "Editar", QStringLiteral("&Editar"));
    Salir = parts::button(this, "Salir", QStringLiteral("&Salir"));
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("LABORATORIO:"), this));
    search->addWidget(EdLaboratorio, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Editar);
    buttons->addWidget(Salir);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(AVISO);
    layout->addWidget(DBGrid1);
    layout->addLayout(buttons);
}

void TFormCambiarLaboratorio::EditarClick() {
    ui::guard(ctx_.messages, [this] {
        if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOrPharmacist,
                                 core::roles::kOperacion))
            return;
        const db::proc::LaboratorioChoice* brand = QConLab->current();
        if (!brand) {
            ctx_.messages.notice(kNoBrand);
            return;
        }
        const db::proc::EditarLaboratorioOut out =
            db::proc::KZ_EditarLaboratorio(ctx_.db, {link_, brand->LabCodigo});
        AVISO->setText(out.pMensaje);
        ctx_.dm.reopenSessionDatasets();
    });
}

}  // namespace catalogue
