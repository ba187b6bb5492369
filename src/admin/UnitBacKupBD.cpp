#include "admin/UnitBacKupBD.h"

#include "admin/AdminParts.h"
#include "core/Roles.h"
#include "db/Db.h"
#include "db/Settings.h"
#include "db/procedures/Backup.h"
#include "platform/Platform.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>
#include <variant>

namespace admin {

namespace {

const QString kAccessKey = QStringLiteral("WBN6");
const QString kCopyFailed =
    QStringLiteral("ERROR EN BD\rNO SE PUDO REALIZAR\rLA COPIA\rDE LA BASE DE DATOS");
const QString kNoPermission = QStringLiteral("No tienes los permisos...");
const QString kCopying = QStringLiteral("REALIZANDO COPIA...");
const QString kArchivePassword = QStringLiteral("backup/archive_password");

// What the copy's thread hands back: the copy made, or why not.
using CopyResult = std::variant<db::proc::BacKupBaseDatosOut, QString>;

CopyResult runCopy(const db::ConnectionInfo& info, const QString& folder,
                   const std::atomic<bool>* cancelled) {
    try {
        return db::proc::KZ_BacKupBaseDatosVelcaris(info, {folder, cancelled});
    } catch (const db::Error& e) {
        return e.serverText().simplified();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}

QString described(const QString& file) {
    const QFileInfo info(file);
    return QDir::toNativeSeparators(file) + QStringLiteral("  ") +
           QLocale(QLocale::Spanish).toString(info.size()) + QStringLiteral(" BYTES  ") +
           info.lastModified().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

}  // namespace

TFormBacKupBD* TFormBacKupBD::open(session::AppContext& ctx) {
    auto* form = new TFormBacKupBD(ctx);
    parts::show(form);
    return form;
}

TFormBacKupBD::TFormBacKupBD(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, parts::windowFlags(true)), ctx_(ctx) {
    setObjectName(QStringLiteral("FormBacKupBD"));
    setWindowTitle(QStringLiteral("BACKUP DE LA BASE DE DATOS VELCARIS"));
    ownBoxes_ = new parts::OwnBoxes(this);
    build();
    wire();
    ui::onActivation(this, [this] { activated(); });
}

TFormBacKupBD::~TFormBacKupBD() {
    stopCopy();
}

void TFormBacKupBD::build() {
    AVISO = parts::statusText(this, "AVISO");
    AVISO->setMinimumSize(560, 44);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFixedSize(16, 24);
    EdClave = new QLineEdit(this);
    EdClave->setObjectName(QStringLiteral("EdClave"));
    ui::forceUpperCase(EdClave);
    ui::hashEcho(EdClave);
    Copia = parts::button(this, "Copia", QStringLiteral("&BACKUP SAUCAL"));
    Copia->hide();
    Salir = parts::button(this, "Salir", QStringLiteral("&SALIR"));

    auto* status = new QHBoxLayout;
    status->setSpacing(0);
    status->addWidget(SpeedButton1);
    status->addWidget(AVISO, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(EdClave);
    buttons->addWidget(Copia);
    buttons->addStretch();
    buttons->addWidget(Salir);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(status);
    layout->addLayout(buttons);
}

void TFormBacKupBD::wire() {
    EdClave->installEventFilter(this);
    connect(Copia, &QPushButton::clicked, this, &TFormBacKupBD::CopiaClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormBacKupBD::SpeedButton1Click);
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);
}

// Enter shows the copy button for the right key; any other key hides it.
bool TFormBacKupBD::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EdClave && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        Copia->setVisible(enter && EdClave->text().trimmed() == kAccessKey && !copying());
        if (enter)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Back from its own box the status text keeps what the action put there.
void TFormBacKupBD::activated() {
    if (ownBoxes_->returning())
        return;
    EdClave->clear();
    if (!copying())
        AVISO->clear();
}

void TFormBacKupBD::closeEvent(QCloseEvent* event) {
    stopCopy();
    EdClave->clear();
    Copia->hide();
    QWidget::closeEvent(event);
}

void TFormBacKupBD::CopiaClick() {
    ownBoxes_->own([this] {
        ui::guard(ctx_.messages, [this] {
            if (!core::roles::passes(ctx_.dm.sessionRole(), core::roles::Group::CounterStaff)) {
                ctx_.messages.notice(kNoPermission);
                return;
            }
            ctx_.platform.trimWorkingSet();
            if (ctx_.dm.isSessionOpen())
                startCopy();
        });
    });
}

void TFormBacKupBD::startCopy() {
    if (!ctx_.platform.driveExists(QLatin1Char('E'))) {
        copyFailed(QStringLiteral("NO EXISTE LA UNIDAD E:"));
        return;
    }
    Salir->setEnabled(false);
    Copia->hide();
    AVISO->setText(kCopying);
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<CopyResult>(QString());
    const db::ConnectionInfo info = ctx_.db.info();
    const QString folder = parts::backupFolder(ctx_.platform);
    const std::shared_ptr<std::atomic<bool>> cancelled = cancelled_;
    worker_ = QThread::create(
        [info, folder, cancelled, result] { *result = runCopy(info, folder, cancelled.get()); });
    worker_->setParent(this);
    connect(worker_, &QThread::finished, this, [this, result, cancelled] {
        if (cancelled->load())
            return;
        worker_->deleteLater();
        worker_ = nullptr;
        if (const auto* out = std::get_if<db::proc::BacKupBaseDatosOut>(result.get()))
            copyMade(*out);
        else
            copyFailed(std::get<QString>(*result));
    });
    worker_->start();
}

void TFormBacKupBD::copyMade(const db::proc::BacKupBaseDatosOut& out) {
    AVISO->setText(QStringLiteral("COPIA REALIZADA: ") + described(out.file));
    copyOver();
}

// The box comes first; its closing activates the window, and the reason is shown after it.
void TFormBacKupBD::copyFailed(const QString& reason) {
    ownBoxes_->own([this] { ctx_.messages.notice(kCopyFailed, ui::Messages::Kind::Error); });
    AVISO->setText(reason);
    copyOver();
}

void TFormBacKupBD::copyOver() {
    EdClave->clear();
    Copia->hide();
    Salir->setEnabled(true);
    EdClave->setFocus();
    emit copyEnded();
}

void TFormBacKupBD::SpeedButton1Click() {
    ui::guard(ctx_.messages, [this] {
        const QString folder = parts::backupFolder(ctx_.platform);
        if (ctx_.platform.driveExists(QLatin1Char('E')))
            QDir().mkpath(folder);
        const QString copy = QDir(folder).filePath(db::proc::kBackupFile);
        if (!QFileInfo::exists(copy) ||
            !core::roles::passes(ctx_.dm.sessionRole(), core::roles::Group::AdministratorOrCashier))
            return;
        const QString zip = QDir(folder).filePath(db::proc::kArchiveFile);
        try {
            db::proc::KZ_Dba_AddRarFile({copy, zip, ctx_.settings.value(kArchivePassword)});
            AVISO->setText(QStringLiteral("ARCHIVO CREADO: ") + described(zip));
        } catch (const db::Error& e) {
            AVISO->setText(QStringLiteral("NO SE PUDO CREAR EL ARCHIVO: ") +
                           e.serverText().simplified());
        }
    });
}

// Stops a copy under way and waits for its thread, which removes the copy's temporary file.
void TFormBacKupBD::stopCopy() {
    if (!worker_)
        return;
    cancelled_->store(true);
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    Salir->setEnabled(true);
}

}  // namespace admin
