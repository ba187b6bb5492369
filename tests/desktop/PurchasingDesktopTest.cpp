#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/Keys.h"

#include "core/Clock.h"
#include "db/DemoShop.h"
#include "db/Settings.h"
#include "program/Program.h"
#include "sales/UnitBusqueda.h"
#include "session/UnitDM.h"
#include "shell/UnitEntrada.h"
#include "shell/UnitPrincipal.h"
#include "ui/Messages.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <memory>

using testsupport::child;
using testsupport::pressKey;
using testsupport::typeText;

namespace {

// The demo shop's program on a real desktop, the pharmacist logged in: the purchasing windows
// with the real message boxes, activation and focus as the window manager gives them.
class PurchasingDesktop : public testsupport::DbTest {
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
        child<QComboBox>(login, "CbLogin")->lineEdit()->setText(QStringLiteral("3"));
        auto* password = child<QLineEdit>(login, "EdPasword");
        typeText(password, QStringLiteral("QUIMICO"));
        pressKey(password, Qt::Key_Return);
        ASSERT_TRUE(becomesActive(&program_->principal()));
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

    // Runs the main window's menu item and waits for the window of that name.
    QWidget* open(const char* item, const char* window) {
        child<QAction>(&program_->principal(), item)->trigger();
        QWidget* w = nullptr;
        const bool shown = QTest::qWaitFor([&] {
            w = program_->principal().findChild<QWidget*>(QLatin1String(window));
            return w && w->isVisible();
        });
        return shown && becomesActive(w) ? w : nullptr;
    }

    // Answers the next message box with its default button once it is active, and records it.
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
            QAbstractButton* ok = box->defaultButton();
            (ok ? ok : box->buttons().value(0))->click();
        });
        poll->start();
    }
    void pressButton(QWidget* w, const char* button) {
        auto* b = child<QPushButton>(w, button);
        b->setFocus();
        pressKey(b, Qt::Key_Space);
    }

    db::Settings settings_ = db::Settings::load();
    testsupport::FakePlatform platform_;
    core::FixedClock clock_{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    std::unique_ptr<program::Program> program_;
    QStringList boxes_;
};

TEST_P(PurchasingDesktop, AfterTheEmptyNameBoxTheSupplierEditGoesOn) {
    QWidget* w = open("Proveedor1", "FormProveedor");
    ASSERT_NE(w, nullptr);
    auto* grid = child<QTableView>(w, "DBProveedor");
    grid->setFocus();
    grid->selectRow(2);
    child<QAction>(w, "PMEditar")->trigger();
    auto* name = child<QLineEdit>(w, "EdRS");
    name->clear();
    answerNextBox();
    pressButton(w, "BtnEditar");
    EXPECT_EQ(boxes_, QStringList{"TIENE QUE INGRESAR EL NOMBRE DEL PROVEEDOR"});
    ASSERT_TRUE(becomesActive(w));
    EXPECT_TRUE(focusIn(name));
    EXPECT_TRUE(child<QPushButton>(w, "BtnEditar")->isEnabled());
    typeText(name, QStringLiteral("SAUCAL S.A."));
    pressButton(w, "BtnEditar");
    EXPECT_EQ(child<QLabel>(w, "ST")->text(), QStringLiteral("PROVEEDOR EDITADO CORRECTAMENTE"));
}

TEST_P(PurchasingDesktop, AfterTheSupplierBoxTheRepresentativeKeepsWhatWasTyped) {
    QWidget* w = open("Representante1", "FormRepresentante");
    ASSERT_NE(w, nullptr);
    auto* name = child<QLineEdit>(w, "EdN");
    name->setFocus();
    typeText(name, QStringLiteral("ANA"));
    answerNextBox();
    pressButton(w, "BtnGrabar");
    ASSERT_EQ(boxes_.size(), 1);
    ASSERT_TRUE(becomesActive(w));
    auto* supplier = child<QComboBox>(w, "CBRepresentate");
    EXPECT_TRUE(focusIn(supplier));
    EXPECT_EQ(name->text(), QStringLiteral("ANA"));
    pressKey(supplier, Qt::Key_Down);
    pressButton(w, "BtnGrabar");
    EXPECT_TRUE(
        child<QLabel>(w, "ST")->text().startsWith(QLatin1String("REPRESENTANTE INGRESADO")));
}

TEST_P(PurchasingDesktop, AnOrderRefusedForItsDeliveryKeepsItsDatesAndTakesItsInstalment) {
    QWidget* w = open("Pedido2", "FormPedido");
    ASSERT_NE(w, nullptr);
    auto* ordered = child<QDateTimeEdit>(w, "DateTimePicker1");
    auto* delivery = child<QDateTimeEdit>(w, "DateTimePicker2");
    ordered->setDateTime(clock_.now().addDays(-2));
    delivery->setDateTime(clock_.now().addDays(-3));
    child<QComboBox>(w, "CBEstado")->setCurrentIndex(0);
    answerNextBox();
    pressButton(w, "BtnGrabar");
    EXPECT_EQ(boxes_, QStringList{ui::Messages::displayed(QStringLiteral(
                          "FECHA DE ENTREGA NO PUEDE SER\r MENOR QUE FECHA DE PEDIDO"))});
    ASSERT_TRUE(becomesActive(w));
    EXPECT_EQ(ordered->dateTime(), clock_.now().addDays(-2));
    EXPECT_EQ(delivery->dateTime(), clock_.now().addDays(-3));
    delivery->setDateTime(clock_.now().addDays(1));
    pressButton(w, "BtnGrabar");
    auto* orders = child<QTableView>(w, "DBGrid3");
    ASSERT_EQ(orders->model()->rowCount(), 1);

    orders->setFocus();
    orders->setCurrentIndex(orders->model()->index(0, 3));
    pressKey(orders, Qt::Key_Return);
    QWidget* pago = program_->principal().findChild<QWidget*>(QStringLiteral("FormPago"));
    ASSERT_TRUE(becomesActive(pago));
    answerNextBox();
    pressButton(pago, "BtnGrabar");
    EXPECT_EQ(boxes_.last(), QStringLiteral("INGRESE UN VALOR"));
    ASSERT_TRUE(becomesActive(pago));
    auto* amount = child<QLineEdit>(pago, "EdMonto");
    EXPECT_TRUE(focusIn(amount));
    typeText(amount, QStringLiteral("100"));
    child<QComboBox>(pago, "CbEstado")->setCurrentIndex(0);
    pressButton(pago, "BtnGrabar");
    EXPECT_EQ(orders->model()->index(0, 3).data().toString(), QStringLiteral("1"));
}

TEST_P(PurchasingDesktop, TheToolbarsLookUpFollowsTheTypedName) {
    child<QToolButton>(&program_->principal(), "SBDetallePedido")->click();
    QWidget* w = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        w = program_->principal().findChild<QWidget*>(QStringLiteral("FormDetallePedido"));
        return w && w->isVisible();
    }));
    ASSERT_TRUE(becomesActive(w));
    auto* name = child<QLineEdit>(w, "Ednombre");
    name->setFocus();
    typeText(name, QStringLiteral("para"));
    auto* grid = child<QTableView>(w, "DBGrid1");
    const QString shown = grid->model()->index(grid->currentIndex().row(), 0).data().toString();
    EXPECT_TRUE(shown.startsWith(QLatin1String("PARACETAMOL"))) << shown.toStdString();
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(PurchasingDesktop);
