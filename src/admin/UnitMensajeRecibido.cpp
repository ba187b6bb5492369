#include "admin/UnitMensajeRecibido.h"

#include "admin/AdminParts.h"
#include "db/procedures/Messages.h"
#include "ui/TextStyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace admin {

namespace {

constexpr int kMargin = 8;

}  // namespace

TFormMensajeRecibido* TFormMensajeRecibido::open(session::AppContext& ctx,
                                                 const db::proc::MensajeRecibido& m) {
    auto* form = new TFormMensajeRecibido(ctx, m);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setAttribute(Qt::WA_ShowWithoutActivating);
    form->adjustSize();
    // In the screen's upper right corner, out of the way of the window being typed in.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        form->move(free.right() - form->width() - kMargin, free.top() + kMargin);
    }
    form->show();
    return form;
}

TFormMensajeRecibido::TFormMensajeRecibido(session::AppContext& ctx,
                                           const db::proc::MensajeRecibido& m)
    : QWidget(ctx.mainWindow, parts::windowFlags(true) | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("FormMensajeRecibido"));
    setWindowTitle(QStringLiteral("MENSAJE DE ") + m.remitente);
    build(m);
}

void TFormMensajeRecibido::build(const db::proc::MensajeRecibido& m) {
    LblRemitente = new QLabel(QStringLiteral("DE: ") + m.remitente + QStringLiteral("   ") +
                                  m.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                              this);
    LblRemitente->setObjectName(QStringLiteral("LblRemitente"));
    ui::setFontSize(LblRemitente, 9, true);
    LblTexto = new QLabel(this);
    LblTexto->setObjectName(QStringLiteral("LblTexto"));
    LblTexto->setTextFormat(Qt::PlainText);
    LblTexto->setText(m.texto);
    LblTexto->setWordWrap(true);
    LblTexto->setMinimumWidth(320);
    ui::setFontSize(LblTexto, 10);
    BtnAceptar = parts::button(this, "BtnAceptar", QStringLiteral("&Aceptar"));
    connect(BtnAceptar, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblRemitente);
    layout->addWidget(LblTexto, 1);
    layout->addWidget(BtnAceptar, 0, Qt::AlignRight);
}

}  // namespace admin
