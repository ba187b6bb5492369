#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace session {
struct AppContext;
}

namespace shell {

// The login window: a user picks an active account (or types a user code), types the password
// and presses Enter. The third Enter since the last success ends the program.
class TFormEntrada : public QWidget {
    Q_OBJECT

public:
    TFormEntrada(session::AppContext& context, QWidget* parent = nullptr);

    // Refills the list of active users and moves to the password box (on every activation).
    void FormActivate();
    // One tick of the animation timer.
    void Timer1Timer();
    // The animation step shared by every login window of the run.
    static int animationStep() { return step_; }

    // ADOQAcceso's NOMBRE_COMPLETO: login, blank, surnames, three blanks, user code.
    static QString nombreCompleto(const QString& login, const QString& apellidos, int code);

private:
    void EdPaswordKeyPress();
    void attempt();
    void succeed(int userCode);
    QString noAccess() const;
    void refuse(const QString& message, QWidget* focus);
    void showOnly(QLabel* picture);

    session::AppContext& ctx_;
    QComboBox* CbLogin = nullptr;
    QLineEdit* EdPasword = nullptr;
    QLabel* Iinactiva = nullptr;
    QLabel* IEspera = nullptr;
    QLabel* IActiva = nullptr;
    QTimer* Timer1 = nullptr;
    std::vector<QString> users_;  // ADOQAcceso, read when the window is created

    static int step_;
};

}  // namespace shell
