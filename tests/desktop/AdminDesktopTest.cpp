#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/Keys.h"

#include "admin/UnitBacKupBD.h"
#include "admin/UnitFormDescargarMonto.h"
#include "admin/UnitFormMensajesPC02PC03.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using testsupport::child;
using testsupport::pressKey;
using testsupport::typeText;

namespace {

// The demo shop's program on a real desktop, logged in, with the real message boxes.
class AdminDesktop : public testsupport::DbTest {
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
        ASSERT_TRUE(program_->start());
        shell::TFormEntrada* login = program_->principal().loginWindow();
        ASSERT_TRUE(becomesActive(login));
        child<QComboBox>(login, "CbLogin")->lineEdit()->setText(QStringLiteral("2"));
        auto* password = child<QLineEdit>(login, "EdPasword");
        typeText(password, QStringLiteral("ADMIN"));
        pressKey(password, Qt::Key_Return);
        ASSERT_TRUE(becomesActive(&program_->principal()));
    }
    void TearDown() override {
        program_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DbTest::TearDown();
    }

    static bool becomesActive(QWidget* w) {
        return w && QTest::qWaitFor([w] { return QApplication::activeWindow() == w; });
    }
    static bool focusIn(QWidget* box) {
        return QTest::qWaitFor([box] { return QApplication::focusWidget() == box; });
    }
    // Opens the window of the control and waits until it is active.
    template <class W>
    W* open(const char* control) {
        program_->context().commands.run(QString::fromLatin1(control), program_->context());
        W* found = program_->principal().findChild<W*>();
        return becomesActive(found) ? found : nullptr;
    }
    // Answers the next message box with its default button once it is the active window and
    // keeps its text.
    void answerNextBox() {
        auto* poll = new QTimer;
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, [this, poll] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || QApplication::activeWindow() != box)
                return;
            boxes_ << box->text();
            poll->stop();
            poll->deleteLater();
            box->buttons().value(0)->click();
        });
        poll->start();
    }

    db::Settings settings_ = db::Settings::load();
    testsupport::FakePlatform platform_;
    core::FixedClock clock_{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    std::unique_ptr<program::Program> program_;
    QStringList boxes_;
};

TEST_P(AdminDesktop, AFailedCopyLeavesItsReasonAndTheNextCopyIsMade) {
    auto* w = open<admin::TFormBacKupBD>("BacKupBD1");
    ASSERT_NE(w, nullptr);
    auto* key = child<QLineEdit>(w, "EdClave");
    const auto copy = [&] {
        typeText(key, QStringLiteral("WBN6"));
        pressKey(key, Qt::Key_Return);
        QSignalSpy ended(w, &admin::TFormBacKupBD::copyEnded);
        child<QPushButton>(w, "Copia")->click();
        return ended.count() == 1 || ended.wait(60000);
    };
    platform_.removeDrive(QLatin1Char('E'));
    answerNextBox();
    ASSERT_TRUE(copy());
    ASSERT_EQ(boxes_.size(), 1);
    EXPECT_TRUE(boxes_[0].startsWith(QStringLiteral("ERROR EN BD")));
    ASSERT_TRUE(becomesActive(w));
    EXPECT_EQ(child<QLabel>(w, "AVISO")->text(), QStringLiteral("NO EXISTE LA UNIDAD E:"));
    EXPECT_TRUE(focusIn(key));

    platform_.makeDrive(QLatin1Char('E'));
    ASSERT_TRUE(copy());
    EXPECT_TRUE(child<QLabel>(w, "AVISO")->text().startsWith(QStringLiteral("COPIA REALIZADA: ")));
}

// Refused for an unknown name, the window keeps the name; sent to its own workstation, the
// message shows without taking the focus from the text box.
TEST_P(AdminDesktop, AMessageArrivesWithoutTakingTheFocus) {
    auto* w = open<admin::TFormMensajesPC02PC03>("MensajeaPCs1");
    ASSERT_NE(w, nullptr);
    auto* memo = child<QPlainTextEdit>(w, "Memo1");
    auto* name = child<QLineEdit>(w, "EdNombrePC");
    typeText(memo, QStringLiteral("HOLA"));
    typeText(name, QStringLiteral("noexiste"));
    answerNextBox();
    child<QPushButton>(w, "BtnMensajes")->click();
    ASSERT_EQ(boxes_, QStringList{"NOMBRE DE PC, NO EXISTE..."});
    ASSERT_TRUE(becomesActive(w));
    EXPECT_TRUE(focusIn(memo));
    EXPECT_EQ(name->text(), QStringLiteral("NOEXISTE"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ENVIO DE MENSAJES..."));

    typeText(memo, QStringLiteral("CIERRE DE CAJA\nA LAS 9"));
    name->setText(platform_.name);
    child<QPushButton>(w, "BtnMensajes")->click();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("MENSAJE ENVIADO A CAJA01"));
    QWidget* received = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == QLatin1String("FormMensajeRecibido") && top->isVisible())
                    received = top;
            return received != nullptr;
        },
        10000));
    EXPECT_EQ(child<QLabel>(received, "LblTexto")->text(),
              QStringLiteral("CIERRE DE CAJA\nA LAS 9"));
    EXPECT_TRUE(becomesActive(w));
    EXPECT_TRUE(focusIn(memo));
}

// A withdrawal without its reason is refused with the focus on the reason; completed, it is
// listed and totalled.
TEST_P(AdminDesktop, AWithdrawalWithoutItsReasonGoesBackToTheReason) {
    auto* w = open<admin::TFormDescargarMonto>("Descargar2");
    ASSERT_NE(w, nullptr);
    auto* amount = child<QLineEdit>(w, "EdCantidad");
    ASSERT_TRUE(focusIn(amount));
    typeText(amount, QStringLiteral("12.50"));
    answerNextBox();
    child<QPushButton>(w, "BtnGrabar")->click();
    ASSERT_EQ(boxes_, QStringList{"INGRESE EL MOTIVO DEL DESCARGO"});
    ASSERT_TRUE(becomesActive(w));
    auto* reason = child<QPlainTextEdit>(w, "Memo1");
    EXPECT_TRUE(focusIn(reason));
    EXPECT_EQ(amount->text(), QStringLiteral("12.50"));

    typeText(reason, QStringLiteral("AGUA"));
    child<QPushButton>(w, "BtnGrabar")->click();
    EXPECT_EQ(child<QLabel>(w, "STMonto")->text(), QStringLiteral("12.5"));
    EXPECT_EQ(child<QLabel>(w, "STMensaje")->text(), QStringLiteral("EGRESO REGISTRADO..."));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(AdminDesktop);
