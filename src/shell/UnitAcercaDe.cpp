#include "shell/UnitAcercaDe.h"

#include "db/Settings.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "ui/Activation.h"
#include "ui/Clicks.h"
#include "ui/Messages.h"
#include "ui/Palette.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

namespace {

QLabel* line(const QString& text, const QString& name, int points, bool bold = false) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QString usbText(platform::Platform::UsbStorage state) {
    switch (state) {
        case platform::Platform::UsbStorage::Enabled:
            return QStringLiteral("USB ENABLED");
        case platform::Platform::UsbStorage::Disabled:
            return QStringLiteral("USB DISABLED");
        case platform::Platform::UsbStorage::Unknown:
            break;
    }
    return {};
}

}  // namespace

TAcercaDe::TAcercaDe(session::AppContext& context, QWidget* parent)
    : QDialog(parent), ctx_(context) {
    setObjectName(QStringLiteral("AcercaDe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Acerca de VELCARIS"));

    auto* column = new QVBoxLayout(this);
    auto* logo = new QLabel;
    logo->setPixmap(QPixmap(QStringLiteral(":/pictures/activa.png")));
    logo->setAlignment(Qt::AlignCenter);
    column->addWidget(logo);
    column->addWidget(line(QStringLiteral("VELCARIS"), QStringLiteral("LProducto"), 18, true));
    QLabel* version =
        line(QStringLiteral("Version " VELCARIS_VERSION), QStringLiteral("LVersion"), 11);
    QLabel* below = line(QStringLiteral("SISTEMA DE VENTAS - ") + ctx_.settings.businessName(),
                         QStringLiteral("LSistema"), 9);
    LUSB = line(usbText(ctx_.platform.usbStorage()), QStringLiteral("LUSB"), 9, true);
    column->addWidget(version);
    column->addWidget(below);
    column->addWidget(LUSB);
    auto* ok = new QPushButton(QStringLiteral("&Ok"));
    ok->setObjectName(QStringLiteral("BtnOk"));
    column->addWidget(ok, 0, Qt::AlignCenter);

    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    ui::onClick(version, [this] { switchUsb(false); });
    ui::onClick(below, [this] { switchUsb(true); });
    ui::onActivation(this, [this] { ctx_.platform.playSound(QStringLiteral("AUTOR")); });
}

void TAcercaDe::switchUsb(bool enabled) {
    if (!ctx_.platform.setUsbStorage(enabled)) {
        ctx_.messages.notice(QStringLiteral("ERROR EN EL REGISTRO..."), ui::Messages::Kind::Error);
        return;
    }
    QPalette p = LUSB->palette();
    p.setColor(QPalette::WindowText,
               enabled ? palette().color(QPalette::WindowText) : QColor(ui::palette::red));
    LUSB->setPalette(p);
    LUSB->setText(enabled ? QStringLiteral("USB HABILITADO...")
                          : QStringLiteral("USB INHABILITADO..."));
}

}  // namespace shell
