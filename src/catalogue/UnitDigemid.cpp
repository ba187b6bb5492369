#include "catalogue/UnitDigemid.h"

#include "catalogue/FormParts.h"
#include "catalogue/PriceAids.h"
#include "db/procedures/Catalogue.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <stdexcept>

namespace catalogue {

namespace {

const QString kEnterInteger = QStringLiteral("INGRESE UN VALOR ENTERO");
constexpr int kDigemidDigits = 9;
constexpr int kDigemidMax = 999999999;

}  // namespace

TFormDigemid* TFormDigemid::open(session::AppContext& ctx) {
    const session::PresentationRow* presentation = ctx.dm.currentPresentation();
    if (!presentation)
        return nullptr;
    auto* form = new TFormDigemid(ctx, *presentation);
    form->setAttribute(Qt::WA_DeleteOnClose);
    ui::centreOnDesktop(form);
    form->show();
    form->activateWindow();
    form->activated();
    return form;
}

TFormDigemid::TFormDigemid(session::AppContext& ctx, const session::PresentationRow& presentation)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowCloseButtonHint),
      ctx_(ctx),
      presentation_(presentation) {
    setObjectName(QStringLiteral("FormDigemid"));
    StCod = parts::notice(this, "StCod");
    EdCodDigemid = parts::digitsBox(this, "EdCodDigemid", kDigemidDigits);
    EdCodDigemid->installEventFilter(this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Codigo:"), EdCodDigemid);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StCod);
    layout->addLayout(fields);
    setMinimumWidth(420);
    ui::onActivation(this, [this] { activated(); });
}

void TFormDigemid::activated() {
    StCod->setText(presentation_.PresTipo);
    const QString code = QString::number(presentation_.PresCodDigemid);
    setWindowTitle(QStringLiteral("CODIGO DIGEMID: ") + code);
    EdCodDigemid->setText(code);
    if (presentation_.PresCodDigemid == 0) {
        EdCodDigemid->clear();
        setWindowTitle(QStringLiteral("PRESENTACION AUN NO TIENE CODIGO ASIGNADO"));
    }
    EdCodDigemid->setFocus();
}

bool TFormDigemid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (!prices::isEnter(event))
        return QWidget::eventFilter(watched, event);
    ui::guard(ctx_.messages, [this] { EdCodDigemidEnter(); });
    return true;
}

// The code is read before the question, whose box's closing refills the box.
void TFormDigemid::EdCodDigemidEnter() {
    int code = 0;
    try {
        code = prices::integerOf(EdCodDigemid, kDigemidMax);
    } catch (const std::out_of_range&) {
    }
    if (code == 0 && EdCodDigemid->text().trimmed() != QLatin1String("0")) {
        ctx_.messages.notice(kEnterInteger);
        EdCodDigemid->setFocus();
        return;
    }
    if (db::proc::codDigemidEnOtraPresentacion(ctx_.db, code, presentation_.CodPresentacion) &&
        !ctx_.messages.confirm(QStringLiteral(
            "YA EXISTE UN CODIGO CON EL MISMO NOMBRE\rDESEA INGRESAR EL CODIGO...???")))
        return;
    db::proc::KZ_IngresoCodDigemid(ctx_.db, {presentation_.CodPresentacion, code});
    ctx_.dm.refreshPresentations();
    close();
}

}  // namespace catalogue
