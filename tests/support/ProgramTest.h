#pragma once

#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/Keys.h"
#include "support/ScriptedMessages.h"

#include "core/Clock.h"
#include "db/Settings.h"
#include "program/Program.h"
#include "sales/UnitBusqueda.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "shell/UnitEntrada.h"
#include "shell/UnitPrincipal.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <memory>

namespace testsupport {

// A whole program (data module, main window, login window) on another connection to the test's
// database, with scripted messages, a fixed clock and a fake platform. Ending the program is
// counted instead of leaving the event loop.
class ProgramTest : public DbTest {
protected:
    void TearDown() override {
        program_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DbTest::TearDown();
    }

    // Seed the accounts first: a shop without any would ask for its owner.
    program::Program& startProgram() {
        program_ = std::make_unique<program::Program>(connectAnother(), settings, platform,
                                                      &messages, &clock);
        principal().setEndProgram([this] { ++programEnds; });
        program_->start();
        settle();
        activateLogin();
        return *program_;
    }

    program::Program& program() { return *program_; }
    shell::TPRINCIPAL& principal() { return program_->principal(); }
    session::TDM& dm() { return program_->dm(); }
    session::Session& session() { return program_->session(); }
    session::AppContext& context() { return program_->context(); }
    // What using the control does: the registry's answer.
    bool run(const QString& control) { return context().commands.run(control, context()); }
    bool isRegistered(const QString& control) { return context().commands.has(control); }
    sales::TFormBusqueda* searchScreen() { return sales::TFormBusqueda::of(context()); }

    // Delivers what is pending: activations, deferred deletions.
    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    shell::TFormEntrada* login() { return principal().loginWindow(); }
    // Fills the open login window's list, as its activation does.
    void activateLogin() { login()->FormActivate(); }
    QComboBox* loginBox() { return login()->findChild<QComboBox*>(QStringLiteral("CbLogin")); }
    QLineEdit* passwordBox() { return login()->findChild<QLineEdit*>(QStringLiteral("EdPasword")); }

    // Types the login text (the combo box's own text) and the password, then Enter.
    void enter(const QString& loginText, const QString& password) {
        QComboBox* box = loginBox();
        box->lineEdit()->clear();
        typeText(box->lineEdit(), loginText);
        pressEnter(password);
    }
    // Picks the listed entry, types the password, then Enter.
    void pick(const QString& entry, const QString& password) {
        QComboBox* box = loginBox();
        box->setCurrentIndex(box->findText(entry));
        pressEnter(password);
    }
    void pressEnter(const QString& password) {
        QLineEdit* box = passwordBox();
        box->clear();
        typeText(box, password);
        pressKey(box, Qt::Key_Return);
        settle();
    }

    db::Settings settings = db::Settings::load();
    core::FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    ScriptedMessages messages;
    FakePlatform platform;
    int programEnds = 0;

private:
    std::unique_ptr<program::Program> program_;
};

}  // namespace testsupport
