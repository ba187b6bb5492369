#pragma once

#include "session/AppContext.h"

#include <QWidget>
#include <atomic>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QThread;
class QToolButton;

namespace db::proc {
struct BacKupBaseDatosOut;
}

namespace admin {

namespace parts {
class OwnBoxes;
}

// "BACKUP DE LA BASE DE DATOS VELCARIS": the database copied to drive E: behind an access key,
// and the copy packed into an archive. The copy runs on a thread of its own, so the window
// answers meanwhile; closing the window stops it.
class TFormBacKupBD : public QWidget {
    Q_OBJECT

public:
    static TFormBacKupBD* open(session::AppContext& ctx);
    ~TFormBacKupBD() override;

    // True while a copy runs.
    bool copying() const { return worker_ != nullptr; }

signals:
    // A copy ended, made or not.
    void copyEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit TFormBacKupBD(session::AppContext& ctx);
    void build();
    void wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void activated();

    void CopiaClick();
    void startCopy();
    void copyMade(const db::proc::BacKupBaseDatosOut& out);
    void copyFailed(const QString& reason);
    void copyOver();
    void SpeedButton1Click();
    void stopCopy();

    session::AppContext& ctx_;
    parts::OwnBoxes* ownBoxes_ = nullptr;
    QThread* worker_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancelled_;

    QLabel* AVISO = nullptr;
    QLineEdit* EdClave = nullptr;
    QPushButton* Copia = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* Salir = nullptr;
};

}  // namespace admin
