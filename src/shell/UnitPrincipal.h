#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolButton;

namespace sales {
class TFormBusqueda;
}

namespace shell {

struct AppContext;
class TFormEntrada;

// The main window: an MDI parent with the menu bar, the toolbar panel, the user's photo and
// login, the two daily totals and the status bar. Every menu item and toolbar button runs
// through its command rule (CommandRules.h) and then its body.
class TPRINCIPAL : public QMainWindow {
    Q_OBJECT

public:
    explicit TPRINCIPAL(AppContext& context);
    ~TPRINCIPAL() override;

    // State other windows read and write.
    int newSaleFlag = 1;        // cleared when a sale number is reserved, set by a new line
    int accountsAfterAuth = 0;  // the re-authentication opens the user accounts
    int consoleAfterAuth = 0;   // the re-authentication opens the administration console

    QMdiArea* mdiArea() const { return mdi_; }

    // What the control (a menu item, toolbar button or total box, by objectName) does when
    // used: its rule's tests, then its body. True when the rule passed.
    bool run(const QString& control);
    // False for a control whose window is not part of the program yet (it is disabled).
    bool isWired(const QString& control) const;

    // The login window: there is at most one. Shows a new one, closing any other.
    TFormEntrada* showLoginWindow();
    TFormEntrada* loginWindow() const;

    // Ends the program; by default QCoreApplication::exit(0). Tests replace it to observe it.
    void endProgram();
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }

    // The user label LLog.
    void setUserLabel(const QString& text);
    QString userLabel() const;

    // The product search screen: a maximised sub-window, at most one per session; none while
    // logged out.
    void openSearchScreen();
    void closeSearchScreen();
    sales::TFormBusqueda* searchScreen();
    // Shows or hides the search screen's margin and cost figures and their label; remembered
    // for the session.
    void setCostFiguresVisible(bool visible);
    bool costFiguresVisible() const { return costFiguresVisible_; }
    // The search screen's sale label V.
    void setSaleLabel(const QString& text);

    // The status-bar panels (0 the hint, 2 the date, 3 a fixed text).
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using Body = void (TPRINCIPAL::*)();
    struct Command {
        const char* control;
        Body body;
    };
    static const std::vector<Command>& commands();
    Body bodyOf(const QString& control) const;

    void buildMenus();
    QWidget* buildToolbar();
    void buildStatusBar();
    void wireCommands();
    void showHint(const QString& hint);
    void showUserPhoto();
    void showDayTotal(QLabel* box, const QString& receiptType);
    void closeAttendance();

    // Command bodies.
    void rulesOnly() {}
    void Calcular1Click();
    void DescargarImprimirClick();
    void Calculadora1Click();
    void Actulaizar1Click();
    void Eliminar1Click();
    void LoginPassword1Click();
    void About1Click();
    void Salir1Click();
    void Salir2Click();
    void SPasswordClick();
    void StaticText1Click();
    void StaticText2Click();

    AppContext& ctx_;
    std::function<void()> endProgram_;
    QMdiArea* mdi_ = nullptr;
    QLabel* DBImage1 = nullptr;
    QLabel* LLog = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* panels_[4] = {};
    QPointer<TFormEntrada> login_;
    bool costFiguresVisible_ = false;
};

}  // namespace shell
