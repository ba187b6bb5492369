#include "program/Program.h"

#include "admin/AdminModule.h"
#include "admin/WorkstationMessages.h"
#include "catalogue/CatalogueModule.h"
#include "core/Clock.h"
#include "db/Open.h"
#include "platform/Resources.h"
#include "platform/SingleInstance.h"
#include "platform/SystemPlatform.h"
#include "purchasing/PurchasingModule.h"
#include "sales/FacturaFilesOutput.h"
#include "sales/SalesCounter.h"
#include "sales/SalesModule.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "shell/ShellModule.h"
#include "shell/UnitPrincipal.h"
#include "shell/UnitPropietario.h"
#include "stock/StockModule.h"
#include "summary/DailySummary.h"
#include "summary/SummaryModule.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

namespace program {

namespace {

std::unique_ptr<core::Clock> serverClock(db::Db& db) {
    const QDateTime server = db.serverNow();
    return std::make_unique<core::SystemClock>(
        server.isValid() ? QDateTime::currentDateTime().secsTo(server) : 0);
}

}  // namespace

void registerSubsystems(session::AppContext& context) {
    shell::registerShell(context);
    sales::registerSales(context);
    catalogue::registerCatalogue(context);
    summary::registerSummary(context);
    stock::registerStock(context);
    purchasing::registerPurchasing(context);
    admin::registerAdmin(context);
    session::AppContext* ctx = &context;
    sales::SalesCounter& counter = sales::SalesCounter::of(context);
    counter.wire(sales::SalesCounter::Command::EditPresentation,
                 [ctx] { catalogue::editPresentationByKey(*ctx); });
    counter.wire(sales::SalesCounter::Command::ExpiryDate, [ctx] { stock::expiryDateByKey(*ctx); });
}

Program::Program(std::unique_ptr<db::Db> database, const db::Settings& settings,
                 platform::Platform& platform, ui::Messages* messages, core::Clock* clock)
    : db_(std::move(database)), settings_(settings) {
    platform::initResources();
    // The picture every window of the program carries, also a maximised sub-window in the menu
    // bar.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/venta.png")));
    if (!messages) {
        ownMessages_ = std::make_unique<ui::DialogMessages>();
        messages = ownMessages_.get();
    }
    if (!clock) {
        ownClock_ = serverClock(*db_);
        clock = ownClock_.get();
    }
    dm_ = std::make_unique<session::TDM>(*db_);
    session_ = std::make_unique<session::Session>();
    session_->setSaleDay(clock->today());
    commands_ = std::make_unique<session::Commands>();
    context_ = std::unique_ptr<session::AppContext>(new session::AppContext{
        *db_, settings_, *clock, *messages, platform, *dm_, *session_, *commands_});
    registerSubsystems(*context_);
    principal_ = std::make_unique<shell::TPRINCIPAL>(*context_);
    if (auto* dialogs = dynamic_cast<ui::DialogMessages*>(messages))
        dialogs->setParent(principal_.get());
}

bool Program::start() {
    // Without a window manager (a bare X server) maximising does nothing: fill the screen first.
    if (const QScreen* screen = principal_->screen())
        principal_->setGeometry(screen->availableGeometry());
    principal_->showMaximized();
    ui::guard(context_->messages, [this] { sales::recoverFacturaFiles(*db_, context_->platform); });
    ui::guard(context_->messages,
              [this] { summary::DailySummary(*db_, context_->platform).recover(); });
    ui::guard(context_->messages, [this] { stock::removeLeftIntakes(*context_); });
    admin::startWorkstationMessages(*context_);
    if (!shell::ensureOwner(*context_))
        return false;
    principal_->showLoginWindow();
    return true;
}

Program::~Program() = default;

int runGui() {
    QApplication::setApplicationName(QStringLiteral("VELCARIS_MIRANTO"));
    platform::SingleInstance instance;
    if (!instance.acquire()) {
        ui::DialogMessages().notice(QStringLiteral("VELCARIS YA ESTA ABIERTO EN ESTA COMPUTADORA"),
                                    ui::Messages::Kind::Warning);
        return 0;
    }
    const db::Settings settings = db::Settings::load();
    try {
        platform::SystemPlatform system(settings);
        Program program(db::openConfigured(settings), settings, system);
        return program.start() ? QApplication::exec() : 0;
    } catch (const db::Error& e) {
        qCritical("database not opened: %s", e.what());
        ui::DialogMessages().notice(QStringLiteral("NO SE PUDO ABRIR LA BASE DE DATOS\r") +
                                        e.where() + QStringLiteral(": ") + e.serverText(),
                                    ui::Messages::Kind::Error);
        return 2;
    }
}

}  // namespace program
