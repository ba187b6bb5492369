#pragma once

#include "session/AppContext.h"
#include "session/Commands.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace shell {

// The privileged re-authentication window: a login and password, checked by
// KZ_VerificaLoginPassword, open the user-accounts screen, the administration console or grant
// the discount permission. Closing only hides it, so a caller may show it again.
class TFormLoginPassword : public session::ReauthWindow {
    Q_OBJECT

public:
    using Purpose = session::ReauthPurpose;
    // Creates and shows the screen a success opens; returns it (nullptr when none opened).
    using Opener = std::function<QWidget*()>;

    // The window is top-level; a parent only owns it.
    explicit TFormLoginPassword(session::AppContext& ctx, QWidget* parent = nullptr);

    // Sets the session's purpose and shows the window, centred.
    void showFor(Purpose purpose) override;

    // The screens behind the accounts and console purposes. Without one, a success of that
    // purpose opens nothing.
    void setAccountsOpener(Opener opener) { openAccounts_ = std::move(opener); }
    void setConsoleOpener(Opener opener) { openConsole_ = std::move(opener); }

    // The session's re-authentication purpose.
    Purpose purpose() const;

private:
    enum class Trigger { Button, Enter };

    void build();
    void FormActivate();
    void CBLoginKeyPress();
    void check(Trigger trigger);
    bool sessionMayAuthorise(const QString& login);
    void succeed(Trigger trigger);
    void open(const Opener& opener, bool centre);
    void CancelarClick();
    void closeBackToAsker();

    session::AppContext& ctx_;
    QStringList ADOQueryUsu_;  // UsuLogin of the active users but user 1, read at creation
    Opener openAccounts_;
    Opener openConsole_;
    QPointer<QWidget> asker_;  // the window active when this one was shown

    // Controls, named as their objectName.
    QComboBox* CBLogin = nullptr;
    QLineEdit* EdPassword = nullptr;
    QPushButton* Aceptar = nullptr;
    QPushButton* Cancelar = nullptr;
};

}  // namespace shell
