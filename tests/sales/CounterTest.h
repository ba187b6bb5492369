#pragma once

#include "sales/SalesSeed.h"
#include "support/Keys.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "core/Password.h"
#include "program/Program.h"
#include "sales/SalesCounter.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitCotizacion.h"
#include "shell/UnitPrincipal.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <memory>

namespace testsupport::counter {

// The seller's counter on a small catalogue, with a logged-in user, the main window and the
// search screen shown.
class CounterTest : public WindowTest {
protected:
    static constexpr int kAmoxilTab = 10;   // cost 0.50, price 1.20, stock 5
    static constexpr int kAmoxilSusp = 11;  // stock 0
    static constexpr int kPanadol = 20;     // cost 2.00, price 3.50, stock 40

    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 1, QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"),
                 QStringLiteral("ADMINISTRADOR"));
        seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE2"),
                 QStringLiteral("CAJERO"));
        seedUser(db(), 3, QStringLiteral("MAXIMOS"), QStringLiteral("CLAVE3"),
                 QStringLiteral("TECNICA"));
        seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        seedPresentation(db(), kAmoxilTab, 1, QStringLiteral("AMOXIL 500 MG TAB"), "0.50", "1.20",
                         5);
        seedPresentation(db(), kAmoxilSusp, 1, QStringLiteral("AMOXIL SUSP 250"), "4.00", "7.50",
                         0);
        seedLink(db(), 2, QStringLiteral("AMBROXOL"), QStringLiteral("PORTUGAL"));
        seedLink(db(), 3, QStringLiteral("CLAMOXIL"), QStringLiteral("BAYER"));
        seedLink(db(), 4, QStringLiteral("AMOBAN"), QStringLiteral("MEDIFARMA"),
                 QStringLiteral("INACTIVO"));
        seedLink(db(), 5, QStringLiteral("PANADOL"), QStringLiteral("GSK"));
        seedPresentation(db(), kPanadol, 5, QStringLiteral("PANADOL 500 MG"), "2.00", "3.50", 40);
        dm().openSessionDatasets();
        program::registerSubsystems(ctx());
        principal = std::make_unique<shell::TPRINCIPAL>(ctx());
    }

    void TearDown() override {
        delete screen.data();
        principal.reset();
        WindowTest::TearDown();
    }

    // Logs the user in as the login window does, and shows the search screen.
    void openCounter(int userCode = 1, const char* password = "CLAVE1") {
        ASSERT_EQ(dm().openAccess(userCode, core::Encripta(QString::fromLatin1(password))), 1);
        session().logIn(userCode, dm().access()->UsuLogin, 0, false);
        screen = sales::TFormBusqueda::of(ctx());
        ASSERT_NE(screen, nullptr);
        activate(screen->window());
    }
    static void activate(QWidget* window) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(isActive(window));
    }
    // Waits until the window is the application's active one (a window whose transient parent
    // is active counts as active for QTest::qWaitForWindowActive, so that wait proves nothing).
    static bool isActive(QWidget* window) {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }

    sales::SalesCounter& salesCounter() { return sales::SalesCounter::of(ctx()); }
    sales::TFormCotizacion* quotation() {
        return qobject_cast<sales::TFormCotizacion*>(salesCounter().quotation);
    }

    void search(const QString& text) {
        child<QLineEdit>(screen, "EdNombre")->clear();
        typeText(child<QLineEdit>(screen, "EdNombre"), text);
    }
    // Moves the search screen to the presentation, as clicking its panel does.
    void choose(const QString& product, int codPresentacion) {
        search(product);
        const auto& rows = dm().presentations();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].CodPresentacion == codPresentacion)
                dm().setCurrentPresentationIndex(int(i));
        ASSERT_EQ(dm().currentPresentation()->CodPresentacion, codPresentacion);
    }
    void f4() { pressKey(child<QLineEdit>(screen, "EdNombre"), Qt::Key_F4); }
    // F1 on the presentation: the quotation window, once active.
    sales::TFormCotizacion* f1() {
        pressKey(child<QTableView>(screen, "cg"), Qt::Key_F1);
        if (quotation() && quotation()->isVisible()) {
            EXPECT_TRUE(isActive(quotation()));
        }
        return quotation();
    }
    void enterQuantity(const QString& quantity) {
        child<QLineEdit>(quotation(), "EdCan")->clear();
        typeText(child<QLineEdit>(quotation(), "EdCan"), quantity);
        pressKey(child<QLineEdit>(quotation(), "EdCan"), Qt::Key_Return);
    }

    int linesOf(int sale) {
        return int(db::proc::saleLines(db(), sale, core::saleDay(clock.today())).size());
    }
    QString saleState(int sale) {
        return db::proc::estadoVenta(db(), sale, core::saleDay(clock.today()));
    }

    std::unique_ptr<shell::TPRINCIPAL> principal;
    QPointer<sales::TFormBusqueda> screen;
};

}  // namespace testsupport::counter
