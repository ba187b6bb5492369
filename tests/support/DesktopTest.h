#pragma once

#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/Keys.h"

#include "core/Clock.h"
#include "db/DemoShop.h"
#include "db/Settings.h"
#include "program/Program.h"
#include "shell/UnitEntrada.h"
#include "shell/UnitPrincipal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

namespace testsupport {

// The demo shop's program on a real desktop (the X display VELCARIS_TEST_DISPLAY names, with a
// window manager) and its real message boxes: what a test sees is what the window manager
// gives, the active window and the focused box after each step. Without the display it skips.
class DesktopTest : public DbTest {
protected:
    // A message box as the user saw it: its text and the window it stood in front of.
    struct Box {
        QString text;
        QWidget* owner = nullptr;
    };

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("VELCARIS_TEST_DISPLAY")) {
            if (!qEnvironmentVariableIsEmpty("VELCARIS_REQUIRE_DESKTOP"))
                FAIL() << "VELCARIS_TEST_DISPLAY is not set";
            GTEST_SKIP() << "VELCARIS_TEST_DISPLAY is not set";
        }
        DbTest::SetUp();
        if (IsSkipped())
            return;
        db::loadDemoShop(db());
        program_ = std::make_unique<program::Program>(connectAnother(), settings_, platform_,
                                                      nullptr, &clock_);
        program_->principal().setEndProgram([this] { ++ends_; });
        ASSERT_TRUE(program_->start());
        ASSERT_TRUE(becomesActive(login()));
    }
    void TearDown() override {
        program_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DbTest::TearDown();
    }

    static bool becomesActive(QWidget* window) {
        return window &&
               QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    static bool focusIn(QWidget* box) {
        return QTest::qWaitFor([box] { return QApplication::focusWidget() == box; });
    }

    // Answers the next message box once it is the active window, with `button` (its default
    // button when none), and records it. The box is modal, so this runs inside its own loop.
    void answerNextBox(QMessageBox::StandardButton button = QMessageBox::NoButton) {
        auto* poll = new QTimer;
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, [this, poll, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || QApplication::activeWindow() != box)
                return;
            boxes_.push_back(
                {box->text(), box->parentWidget() ? box->parentWidget()->window() : nullptr});
            poll->stop();
            poll->deleteLater();
            QAbstractButton* answer =
                button != QMessageBox::NoButton ? box->button(button) : box->defaultButton();
            if (!answer)
                answer = box->buttons().value(0);
            answer->click();
        });
        poll->start();
    }

    shell::TFormEntrada* login() { return program_->principal().loginWindow(); }
    QComboBox* loginBox() { return child<QComboBox>(login(), "CbLogin"); }
    QLineEdit* passwordBox() { return child<QLineEdit>(login(), "EdPasword"); }
    void enterPassword(const QString& password) {
        typeText(passwordBox(), password);
        pressKey(passwordBox(), Qt::Key_Return);
    }
    // Logs a demo user in by code (the password is the login) and waits for the main window.
    void logInAs(int code, const QString& login) {
        loginBox()->lineEdit()->setText(QString::number(code));
        enterPassword(login);
        ASSERT_TRUE(becomesActive(&program_->principal()));
    }

    session::AppContext& context() { return program_->context(); }

    db::Settings settings_ = db::Settings::load();
    FakePlatform platform_;
    core::FixedClock clock_{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    std::unique_ptr<program::Program> program_;
    std::vector<Box> boxes_;
    int ends_ = 0;
};

}  // namespace testsupport
