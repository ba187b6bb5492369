#pragma once

#include "catalogue/CatalogueTest.h"

#include "db/procedures/Stock.h"
#include "stock/UnitFecha.h"
#include "stock/UnitMasStock.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>

namespace testsupport::stockwin {

// The counter's catalogue with three suppliers, standing on AMOXIL 500 MG TAB (cost 0.50, price
// 1.20, stock 5).
class StockTest : public catalog::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped())
            return;
        int code = 0;
        for (const char* name : {"SAUCAL", "ALMACEN BRISA", "DROGUERIA SUR"})
            db().exec(QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc) VALUES (?, ?)"),
                      {++code, QString::fromLatin1(name)});
    }

    void standOnTablets() {
        standOn(QStringLiteral("AMOXIL"));
        dm().setCurrentPresentationIndex(0);
        ASSERT_EQ(dm().currentPresentation()->CodPresentacion, kAmoxilTab);
    }
    // Logged in as the user with the search screen on the tablets, and the window opened by the
    // control.
    template <class W>
    W* openAs(int user, const char* control) {
        logInAs(user);
        standOnTablets();
        run(control);
        return shown<W>();
    }

    static QComboBox* supplier(QWidget* w) { return child<QComboBox>(w, "CBProveedor"); }
    static QString text(QWidget* w, const char* name) {
        if (auto* box = w->findChild<QLineEdit*>(QLatin1String(name)))
            return box->text();
        if (auto* l = w->findChild<QLabel*>(QLatin1String(name)))
            return l->text();
        return child<QComboBox>(w, name)->currentText();
    }
    // The supplier and document of a batch.
    void fillDocument(QWidget* w, const char* typeBox, const QString& name = "SAUCAL",
                      const QString& number = "NE-0041") {
        supplier(w)->setEditText(name);
        if (name != QLatin1String("SAUCAL"))
            child<QComboBox>(w, typeBox)->setEditText(QStringLiteral("FACTURA"));
        typeInto(w, "EdNumDoc", number);
    }

    db::proc::PresentacionStock tablets() { return *db::proc::presentacionStock(db(), kAmoxilTab); }
};

}  // namespace testsupport::stockwin
