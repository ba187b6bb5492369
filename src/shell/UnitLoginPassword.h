#pragma once

#include "shell/AppContext.h"

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
class TFormLoginPassword : public QWidget {
    Q_OBJECT

public:
    enum class Purpose { Accounts, Console, Discount };
    // Creates and shows the screen a success opens; returns it (nullptr when none opened).
    using Opener = std::function<QWidget*()>;

    // The window is top-level; a parent only owns it.
    explicit TFormLoginPassword(AppContext& ctx, QWidget* parent = nullptr);

    // Sets the purpose (the main window's after-auth flags) and shows the window, centred.
    void showFor(Purpose purpose);

    // The screens behind the accounts and console purposes. Without one, a success of that
    // purpose opens nothing.
    void setAccountsOpener(Opener opener) { openAccounts_ = std::move(opener); }
    void setConsoleOpener(Opener opener) { openConsole_ = std::move(opener); }

    // The purpose the main window's after-auth flags give.
    Purpose purpose();

    QComboBox* CBLogin;
    QLineEdit* EdPassword;
    QPushButton* Aceptar;
    QPushButton* Cancelar;

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
    void setFlags(int accounts, int console);
    // The after-auth flags are the main window's; without one (a window shown before it
    // exists) they are kept here.
    int& accountsFlag();
    int& consoleFlag();

    AppContext& ctx_;
    QStringList ADOQueryUsu_;  // UsuLogin of the active users but user 1, read at creation
    Opener openAccounts_;
    Opener openConsole_;
    int accountsAfterAuth_ = 0;
    int consoleAfterAuth_ = 0;
};

}  // namespace shell
