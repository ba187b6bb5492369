#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolButton;

namespace session {
struct AppContext;
}

namespace shell {

class TFormEntrada;

// The main window: an MDI parent with the menu bar, the toolbar panel, the user's photo and
// login, the two daily totals and the status bar. Every menu item, toolbar button and total box
// asks the command registry what it does; a control nobody registered stays disabled.
class TPRINCIPAL : public QMainWindow {
    Q_OBJECT

public:
    // Registers the main window's own commands; the subsystems' are registered before it.
    explicit TPRINCIPAL(session::AppContext& context);
    ~TPRINCIPAL() override;

    QMdiArea* mdiArea() const { return mdi_; }

    // The login window: there is at most one. Shows a new one, closing any other.
    TFormEntrada* showLoginWindow();
    TFormEntrada* loginWindow() const;

    // Ends the program; by default QCoreApplication::exit(0). Tests replace it to observe it.
    void endProgram();
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }

    // The user label LLog, showing the session's user caption.
    QString userLabel() const;

    // The status-bar panels (0 the hint, 2 the date, 3 a fixed text).
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void registerCommands();
    void buildMenus();
    QWidget* buildToolbar();
    void buildStatusBar();
    void wireCommands();
    void showHint(const QString& hint);
    void showDate();
    void showUserPhoto();
    void showDayTotal(QLabel* box, const QString& receiptType);
    void closeAttendance();
    void backToLogin();

    // Command bodies.
    void Calculadora1Click();
    void Actulaizar1Click();
    void Eliminar1Click();
    void LoginPassword1Click();
    void About1Click();
    void Salir1Click();
    void Salir2Click();
    void SPasswordClick();

    session::AppContext& ctx_;
    std::function<void()> endProgram_;
    QMdiArea* mdi_ = nullptr;
    QLabel* DBImage1 = nullptr;
    QLabel* LLog = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* panels_[4] = {};
    QPointer<TFormEntrada> login_;
};

}  // namespace shell
