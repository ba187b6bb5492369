#include "catalogue/UnitFoto.h"

#include "catalogue/FormParts.h"
#include "db/procedures/Catalogue.h"
#include "platform/Platform.h"
#include "session/UnitDM.h"
#include "ui/Guard.h"
#include "ui/PictureFile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace catalogue {

namespace {

const QString kNotAssigned = QStringLiteral("NO SE HAN ASIGNADO\rPRODUCTO - LABORATORIO");
const QString kNotAPicture = QStringLiteral("EL ARCHIVO ELEGIDO NO ES UNA IMAGEN...");

}  // namespace

TFormFoto* TFormFoto::open(session::AppContext& ctx) {
    TFormFoto* shown = nullptr;
    ui::guard(
        ctx.messages,
        [&] {
            const session::PresentationRow* presentation = ctx.dm.currentPresentation();
            const int code = presentation ? presentation->CodPresentacion : 0;
            if (db::proc::KZ_VerificaExistenPresFoto(ctx.db, code).pNum <= 0) {
                const session::ProductRow* product = ctx.dm.currentProduct();
                ctx.messages.notice(
                    QStringLiteral("DEBE ASIGNAR PRIMERO\rUNA PRESENTACION AL PRODUCTO:\r") +
                    (product ? product->ProdNomComercial : QString()));
                return;
            }
            shown = new TFormFoto(ctx, code, presentation->ProdLabCod);
            parts::show(shown);
        },
        kNotAssigned);
    return shown;
}

TFormFoto::TFormFoto(session::AppContext& ctx, int codPresentacion, int prodLabCod)
    : QWidget(ctx.mainWindow,
              Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ctx_(ctx),
      code_(codPresentacion),
      link_(prodLabCod) {
    setObjectName(QStringLiteral("FormFoto"));
    setWindowTitle(QStringLiteral("ASIGNAR FOTO A UNA PRESENTACION"));
    build();
    showPhoto();
    connect(AsignarFoto, &QPushButton::clicked, this, &TFormFoto::AsignarFotoClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFormFoto::SpeedButton1Click);
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);
}

void TFormFoto::build() {
    DBImage1 = new QLabel(this);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setFixedSize(320, 240);
    DBImage1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DBImage1->setScaledContents(true);
    AsignarFoto = parts::button(this, "AsignarFoto", QStringLiteral("&Asignar"));
    SpeedButton1 = parts::button(this, "SpeedButton1", QStringLiteral("&Eliminar"));
    Salir = parts::button(this, "Salir", QStringLiteral("&Salir"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {AsignarFoto, SpeedButton1, Salir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBImage1);
    layout->addLayout(buttons);
}

void TFormFoto::showPhoto() {
    ui::guard(ctx_.messages, [this] {
        QPixmap photo;
        photo.loadFromData(ctx_.dm.presentationPhoto(code_));
        DBImage1->setPixmap(photo);
    });
}

void TFormFoto::AsignarFotoClick() {
    const QString file = ctx_.platform.choosePictureFile(this);
    if (file.isEmpty())
        return;
    ui::guard(
        ctx_.messages, [this, &file] { store(file); }, kNotAssigned);
}

void TFormFoto::store(const QString& file) {
    const QByteArray bytes = ui::photoBytes(file);
    if (bytes.isEmpty()) {
        ctx_.messages.notice(kNotAPicture, ui::Messages::Kind::Warning);
        return;
    }
    if (!db::proc::guardaFotoPresentacion(ctx_.db, code_, bytes)) {
        ctx_.messages.notice(kNotAssigned);
        return;
    }
    ctx_.dm.refreshPresentations();
    ctx_.messages.notice(QStringLiteral("IMAGEN  ASIGNADA..."));
    close();
}

void TFormFoto::SpeedButton1Click() {
    ui::guard(
        ctx_.messages,
        [this] {
            const db::proc::BorraFotoOut out = db::proc::KZ_BorraFoto(ctx_.db, {code_, link_});
            ctx_.dm.refreshPresentations();
            ctx_.messages.notice(out.pMensaje);
            close();
        },
        QStringLiteral("NO SE PUDO BORRAR LA IMAGEN..."));
}

}  // namespace catalogue
