#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/Keys.h"

#include "admin/UnitPasswordAcceso.h"
#include "core/Clock.h"
#include "db/DemoShop.h"
#include "db/Settings.h"
#include "program/Program.h"
#include "session/Commands.h"
#include "shell/UnitEntrada.h"
#include "shell/UnitPrincipal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <memory>

using testsupport::child;
using testsupport::pressKey;
using testsupport::typeText;

namespace {

// The demo shop's administrator creates an account on a real desktop, keys only, with the
// real message box in the middle.
class AccountsDesktop : public testsupport::DbTest {
protected:
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
        program_->principal().setEndProgram([] {});
        ASSERT_TRUE(program_->start());
        ASSERT_TRUE(becomesActive(program_->principal().loginWindow()));
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
    // Answers the next message box once it is the active window, keeping its text.
    void answerNextBox() {
        auto* poll = new QTimer;
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, [this, poll] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || QApplication::activeWindow() != box)
                return;
            shown_ << box->text();
            poll->stop();
            poll->deleteLater();
            box->buttons().value(0)->click();
        });
        poll->start();
    }
    void typeAndEnter(QWidget* box, const QString& text) {
        typeText(box, text);
        pressKey(box, Qt::Key_Return);
    }

    db::Settings settings_ = db::Settings::load();
    testsupport::FakePlatform platform_;
    core::FixedClock clock_{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    std::unique_ptr<program::Program> program_;
    QStringList shown_;
};

TEST_P(AccountsDesktop, AfterTheCreatedBoxTheWindowIsActiveWithEveryLoginListed) {
    shell::TFormEntrada* login = program_->principal().loginWindow();
    child<QComboBox>(login, "CbLogin")->lineEdit()->setText(QStringLiteral("2"));
    typeAndEnter(child<QLineEdit>(login, "EdPasword"), QStringLiteral("ADMIN"));
    ASSERT_TRUE(becomesActive(&program_->principal()));
    ASSERT_TRUE(program_->context().commands.run(QStringLiteral("Password1"), program_->context()));
    auto* reauth = program_->principal().findChild<session::ReauthWindow*>();
    ASSERT_TRUE(becomesActive(reauth));
    typeAndEnter(child<QLineEdit>(reauth, "EdPassword"), QStringLiteral("ADMIN"));
    auto* form = program_->principal().findChild<admin::TFormLoginPasswordEC*>();
    ASSERT_TRUE(becomesActive(form));

    auto* tabs = child<QTabWidget>(form, "PageControl1");
    pressKey(tabs, Qt::Key_Tab, Qt::ControlModifier);  // from "FORZAR" round to "NUEVO"
    ASSERT_EQ(tabs->currentIndex(), 0);
    auto* edLogin = child<QLineEdit>(form, "EdLogin");
    edLogin->setFocus();
    typeAndEnter(edLogin, QStringLiteral("vendedor2"));
    typeAndEnter(child<QLineEdit>(form, "EdPassword1"), QStringLiteral("clave9"));
    typeAndEnter(child<QLineEdit>(form, "EdPassword2"), QStringLiteral("clave9"));
    answerNextBox();
    pressKey(form, Qt::Key_A, Qt::AltModifier);

    ASSERT_TRUE(QTest::qWaitFor([this] { return !shown_.isEmpty(); }));
    EXPECT_EQ(shown_, QStringList{QStringLiteral("USUARIO REGISTRADO: VENDEDOR2")});
    ASSERT_TRUE(becomesActive(form));
    auto* logins = child<QComboBox>(form, "CbLogin");
    EXPECT_TRUE(QTest::qWaitFor([logins] { return logins->findText("VENDEDOR2") >= 0; }));
    EXPECT_GE(logins->count(), 7);
    EXPECT_TRUE(edLogin->text().isEmpty());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(AccountsDesktop);
