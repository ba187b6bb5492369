#include "admin/UnitFormMensajesPC02PC03.h"

#include "admin/AdminParts.h"
#include "core/Clock.h"
#include "db/procedures/Messages.h"
#include "platform/Platform.h"
#include "ui/Activation.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace admin {

namespace {

constexpr int kTextSize = 255;
constexpr int kNameSize = 20;
const QString kCaption = QStringLiteral("ENVIO DE MENSAJES...");
const QString kNoSuchPc = QStringLiteral("NOMBRE DE PC, NO EXISTE...");

QRadioButton* option(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    ui::setHint(b, QStringLiteral("ENVIA MENSAJES A LA COMPUTADORA ") + caption);
    b->setEnabled(false);
    return b;
}

}  // namespace

TFormMensajesPC02PC03* TFormMensajesPC02PC03::open(session::AppContext& ctx) {
    auto* form = new TFormMensajesPC02PC03(ctx);
    parts::show(form);
    return form;
}

TFormMensajesPC02PC03::TFormMensajesPC02PC03(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, parts::windowFlags(true)), ctx_(ctx) {
    setObjectName(QStringLiteral("FormMensajesPC02PC03"));
    setWindowTitle(kCaption);
    build();
    wire();
    ui::onActivation(this, [this] { activated(); });
}

void TFormMensajesPC02PC03::build() {
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(QFont(QStringLiteral("Arial"), 10));
    QPalette p = Memo1->palette();
    p.setColor(QPalette::Base, ui::palette::cream);
    Memo1->setPalette(p);
    Memo1->setTabChangesFocus(true);
    Memo1->setMinimumSize(360, 140);
    RB2 = option(this, "RB2", QStringLiteral("PC02"));
    RB3 = option(this, "RB3", QStringLiteral("PC03"));
    EdNombrePC = new QLineEdit(this);
    EdNombrePC->setObjectName(QStringLiteral("EdNombrePC"));
    ui::setHint(EdNombrePC, QStringLiteral("NOMBRE DE LA COMPUTADORA A ESCRIBIRLE"));
    BtnNuevo = parts::button(this, "BtnNuevo", QStringLiteral("&Nuevo"));
    BtnMensajes = parts::button(this, "BtnMensajes", QStringLiteral("&Mensajes"));
    BitBtn1 = parts::button(this, "BitBtn1", QStringLiteral("&Salir"));

    auto* options = new QHBoxLayout;
    options->addWidget(RB2);
    options->addWidget(RB3);
    options->addWidget(EdNombrePC, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnNuevo);
    buttons->addWidget(BtnMensajes);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(options);
    layout->addLayout(buttons);
}

void TFormMensajesPC02PC03::wire() {
    ui::forceUpperCase(EdNombrePC);
    ui::capLength(EdNombrePC, kNameSize);
    ui::capLength(Memo1, kTextSize);
    connect(BtnMensajes, &QPushButton::clicked, this, &TFormMensajesPC02PC03::BtnMensajesClick);
    connect(BtnNuevo, &QPushButton::clicked, this, &TFormMensajesPC02PC03::BtnNuevoClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

void TFormMensajesPC02PC03::activated() {
    Memo1->clear();
    RB2->setChecked(false);
    RB3->setChecked(false);
    Memo1->setFocus();
}

// The caption names the workstation only once the message is left for it.
void TFormMensajesPC02PC03::BtnMensajesClick() {
    const QString name = EdNombrePC->text().trimmed();
    if (name.isEmpty())
        return;
    const QString text = Memo1->toPlainText();
    const bool sent = ui::guard(ctx_.messages, [&] {
        db::proc::KZ_MensajeActualizaPC(ctx_.db, {text, name, ctx_.platform.computerName()},
                                        ctx_.clock.now());
    });
    if (sent)
        setWindowTitle(QStringLiteral("MENSAJE ENVIADO A ") + name);
    else
        ctx_.messages.notice(kNoSuchPc);
}

void TFormMensajesPC02PC03::BtnNuevoClick() {
    Memo1->clear();
    EdNombrePC->clear();
    RB2->setChecked(false);
    RB3->setChecked(false);
    Memo1->setFocus();
}

}  // namespace admin
