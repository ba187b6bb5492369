#pragma once

#include "session/AppContext.h"

#include <QObject>
#include <chrono>

class QTimer;

namespace db {
class Db;
}
namespace ui {
class Messages;
}

namespace admin {

// This workstation in the shop's registry and its incoming messages: the workstation is recorded
// as running at once and then at every beat, and as stopped when this object goes (a clean
// exit); its unread messages are claimed at every poll and each shown once in a window of its
// own. A failed beat or poll waits for the next.
class WorkstationMessages : public QObject {
    Q_OBJECT

public:
    WorkstationMessages(session::AppContext& ctx, QObject* parent,
                        std::chrono::milliseconds beat = std::chrono::seconds(30),
                        std::chrono::milliseconds poll = std::chrono::seconds(5));
    ~WorkstationMessages() override;

    // Claims and shows the unread messages now.
    void poll();

signals:
    // A message window was shown.
    void shown(QWidget* window);

private:
    void beat();

    session::AppContext& ctx_;
    // Kept apart from the context, which may be gone when this object goes.
    db::Db& db_;
    ui::Messages& messages_;
    QString station_;
    QTimer* beatTimer_ = nullptr;
    QTimer* pollTimer_ = nullptr;
};

// Starts the registry and the messages of the program's workstation, for the program's run.
void startWorkstationMessages(session::AppContext& ctx);

}  // namespace admin
