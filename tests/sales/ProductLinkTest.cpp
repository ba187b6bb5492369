#include "sales/SalesSeed.h"
#include "support/ProgramTest.h"
#include "support/Seed.h"

#include "core/Password.h"

#include <QAbstractButton>

namespace {

using testsupport::counter::seedLink;
using testsupport::counter::seedPresentation;

const QString kQuestion =
    QStringLiteral("DESEA BORRAR:\rEL PRODUCTO:   AMBROXOL\rPERMANENTEMENTE...");

// The toolbar's "DESASIGNAR UN PRODUCTO-LABORATORIO" in the whole program: an administrator and
// a cashier, a link without presentations (AMBROXOL) and one with a presentation (PANADOL).
class UnassignLink : public testsupport::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::seedUser(db(), 1, QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"),
                              QStringLiteral("ADMINISTRADOR"), QStringLiteral("ACTIVO"),
                              QStringLiteral("MARCO"));
        testsupport::seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE2"),
                              QStringLiteral("CAJERO"), QStringLiteral("ACTIVO"),
                              QStringLiteral(" ROSA "));
        seedLink(db(), 1, QStringLiteral("AMBROXOL"), QStringLiteral("PORTUGAL"));
        seedLink(db(), 2, QStringLiteral("PANADOL"), QStringLiteral("GSK"));
        seedPresentation(db(), 20, 2, QStringLiteral("PANADOL 500 MG"), "2.00", "3.50", 40);
        startProgram();
    }

    // Logs in through the login window and makes the link current in the product list.
    void logInAt(int code, const char* password, const QString& product) {
        enter(QString::number(code), QString::fromLatin1(password));
        ASSERT_EQ(session().userCode(), code) << messages.last().toStdString();
        dm().locateProduct(product);
        ASSERT_EQ(dm().currentProduct()->ProdNomComercial, product);
        messages.clear();
    }
    void press() {
        auto* button = principal().findChild<QAbstractButton*>(QStringLiteral("SBEliminar"));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        button->click();
        settle();
    }
    QStringList listed() {
        QStringList names;
        for (const session::ProductRow& p : dm().products())
            names << p.ProdNomComercial;
        return names;
    }
    int links() {
        return db::integer(
            db().scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTO_LABORATORIO")));
    }
};

TEST_P(UnassignLink, YesRemovesTheLinkAndTheReopenedListNoLongerHoldsIt) {
    logInAt(1, "CLAVE1", QStringLiteral("AMBROXOL"));
    messages.answers = {true};
    press();
    EXPECT_EQ(messages.shown,
              (QStringList{kQuestion, QStringLiteral("PRODUCTO-LABORATORIO BORRADO")}));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("PANADOL")});
    EXPECT_EQ(links(), 1);

    // A link with presentations stays, and the procedure says why.
    messages.clear();
    messages.answers = {true};
    press();
    EXPECT_EQ(messages.shown,
              (QStringList{QStringLiteral("DESEA BORRAR:\rEL PRODUCTO:   PANADOL\r"
                                          "PERMANENTEMENTE..."),
                           QStringLiteral("NO SE BORRA: TIENE 1 PRESENTACION(ES)")}));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("PANADOL")});
}

TEST_P(UnassignLink, NoChangesNothing) {
    logInAt(1, "CLAVE1", QStringLiteral("AMBROXOL"));
    press();  // answered No
    EXPECT_EQ(messages.shown, QStringList{kQuestion});
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("AMBROXOL"), QStringLiteral("PANADOL")}));
    EXPECT_EQ(links(), 2);
}

TEST_P(UnassignLink, ARoleWithoutTheRightIsRefusedWithTheProductNamed) {
    logInAt(2, "CLAVE2", QStringLiteral("AMBROXOL"));
    messages.answers = {true};
    press();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "ROSA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION "
                                  "DE ELIMINAR A\rAMBROXOL")});
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_EQ(links(), 2);
    EXPECT_EQ(listed().size(), 2);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(UnassignLink);
