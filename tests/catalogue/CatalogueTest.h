#pragma once

#include "sales/CounterTest.h"

#include "catalogue/ProductScript.h"
#include "session/Commands.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>

namespace testsupport::catalog {

// The counter's catalogue (links 1 AMOXIL/GENFAR, 2 AMBROXOL/PORTUGAL, 3 CLAMOXIL/BAYER,
// 4 AMOBAN/MEDIFARMA, 5 PANADOL/GSK) with the main window, and a pharmacist (4, " LUZ ") and a
// technician (5, "ANA") besides the administrator (1), the cashier (2) and MAXIMOS (3, TECNICA).
class CatalogueTest : public counter::CounterTest {
protected:
    void SetUp() override {
        CounterTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 4, QStringLiteral("LUZ"), QStringLiteral("CLAVE4"),
                 QStringLiteral("QUIMICO FARMACEUTICO"), QStringLiteral("ACTIVO"),
                 QStringLiteral(" LUZ "));
        seedUser(db(), 5, QStringLiteral("ANA"), QStringLiteral("CLAVE5"),
                 QStringLiteral("TECNICA"), QStringLiteral("ACTIVO"), QStringLiteral("ANA"));
    }
    void TearDown() override {
        TearDownWindows();
        CounterTest::TearDown();
    }
    // Closes every catalogue window left open.
    void TearDownWindows() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != principal.get() && w->isVisible() &&
                w->objectName().startsWith(QLatin1String("Form")) &&
                w->objectName() != QLatin1String("FormBusqueda"))
                w->close();
        settle();
    }

    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Logs the user in (password "CLAVE<code>") with the search screen shown.
    void logInAs(int code) {
        openCounter(code, QStringLiteral("CLAVE%1").arg(code).toLatin1().constData());
        messages.clear();
    }
    bool run(const char* control) {
        const bool passed = ctx().commands.run(QString::fromLatin1(control), ctx());
        settle();
        return passed;
    }

    // The open window of that class (the last one opened); nullptr when none is shown.
    template <class W>
    W* shown() {
        W* last = nullptr;
        for (W* w : principal->findChildren<W*>())
            if (w->isVisible())
                last = w;
        return last;
    }
    template <class W>
    int shownCount() {
        int n = 0;
        for (W* w : principal->findChildren<W*>())
            n += w->isVisible() ? 1 : 0;
        return n;
    }

    void click(QWidget* window, const char* button) {
        child<QPushButton>(window, button)->click();
        settle();
    }
    void typeInto(QWidget* window, const char* box, const QString& text) {
        auto* b = child<QLineEdit>(window, box);
        b->clear();
        typeText(b, text);
    }

    QString scriptPath(const QDate& day) { return ::catalogue::ProductScript(platform).path(day); }
    QStringList scriptLines(const QDate& day) {
        QFile f(scriptPath(day));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    int productCount() { return counter::count(db(), QStringLiteral("PRODUCTO")); }
    QString productName(int code) {
        return db::text(db().scalar(
            QStringLiteral("SELECT ProdNomComercial FROM PRODUCTO WHERE ProdCodigo = ?"), {code}));
    }
    int brandOfLink(int link) {
        return db::integer(db().scalar(
            QStringLiteral("SELECT LabCodigo FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
            {link}));
    }
    // Makes the link of that product the data module's current one.
    void standOn(const QString& product) {
        dm().locateProduct(product);
        ASSERT_EQ(dm().currentProduct()->ProdNomComercial, product);
    }
};

}  // namespace testsupport::catalog
