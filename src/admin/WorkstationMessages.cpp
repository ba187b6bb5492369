#include "admin/WorkstationMessages.h"

#include "admin/UnitMensajeRecibido.h"
#include "core/Clock.h"
#include "db/Db.h"
#include "db/procedures/Messages.h"
#include "platform/Platform.h"
#include "session/Session.h"
#include "ui/Guard.h"
#include "ui/Messages.h"

#include <QTimer>

namespace admin {

WorkstationMessages::WorkstationMessages(session::AppContext& ctx, QObject* parent,
                                         std::chrono::milliseconds beat,
                                         std::chrono::milliseconds poll)
    : QObject(parent),
      ctx_(ctx),
      db_(ctx.db),
      messages_(ctx.messages),
      station_(ctx.platform.computerName()) {
    beatTimer_ = new QTimer(this);
    beatTimer_->setInterval(beat);
    connect(beatTimer_, &QTimer::timeout, this, &WorkstationMessages::beat);
    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(poll);
    connect(pollTimer_, &QTimer::timeout, this, &WorkstationMessages::poll);
    this->beat();
    beatTimer_->start();
    pollTimer_->start();
}

WorkstationMessages::~WorkstationMessages() {
    ui::guard(messages_, [this] { db::proc::detieneEstacion(db_, station_); });
}

void WorkstationMessages::beat() {
    if (db_.inTransaction())
        return;
    ui::guard(ctx_.messages,
              [this] { db::proc::registraEstacion(db_, station_, ctx_.clock.now()); });
}

void WorkstationMessages::poll() {
    if (db_.inTransaction())
        return;
    ui::guard(ctx_.messages, [this] {
        for (const db::proc::MensajeRecibido& m : db::proc::reclamaMensajes(db_, station_))
            emit shown(TFormMensajeRecibido::open(ctx_, m));
    });
}

void startWorkstationMessages(session::AppContext& ctx) {
    new WorkstationMessages(ctx, &ctx.session);
}

}  // namespace admin
