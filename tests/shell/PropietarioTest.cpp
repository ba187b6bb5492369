#include "support/Keys.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "core/Password.h"
#include "shell/UnitPropietario.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

using shell::TFormPropietario;
using testsupport::pressKey;
using testsupport::typeText;

using testsupport::child;

namespace {

class Propietario : public testsupport::WindowTest {
protected:
    struct Entry {
        QString nombres, login, password, confirmation;
    };

    static void fill(TFormPropietario& form, const Entry& e) {
        for (QLineEdit* box :
             {child<QLineEdit>(&form, "EdNombres"), child<QLineEdit>(&form, "EdLogin"),
              child<QLineEdit>(&form, "EdPassword1"), child<QLineEdit>(&form, "EdPassword2")})
            box->clear();
        typeText(child<QLineEdit>(&form, "EdNombres"), e.nombres);
        typeText(child<QLineEdit>(&form, "EdLogin"), e.login);
        typeText(child<QLineEdit>(&form, "EdPassword1"), e.password);
        typeText(child<QLineEdit>(&form, "EdPassword2"), e.confirmation);
    }
    // Runs ensureOwner, acting on its dialog once it is up.
    bool ensureOwnerWith(const std::function<void(TFormPropietario&)>& act) {
        QTimer::singleShot(0, [this, act] {
            auto* form = qobject_cast<TFormPropietario*>(QApplication::activeModalWidget());
            if (!form)
                return;
            dialogSeen = true;
            act(*form);
        });
        const bool result = shell::ensureOwner(ctx());
        QApplication::processEvents();  // the timer left over when no dialog ran
        return result;
    }
    QString owner(const char* column) {
        return db::text(
            db().scalar(QStringLiteral("SELECT %1 FROM USUARIO WHERE UsuCod = 1").arg(column)));
    }
    int users() { return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM USUARIO"))); }

    bool dialogSeen = false;
};

TEST_P(Propietario, AShopWithUsersNeedsNoOwnerDialog) {
    testsupport::seedUser(db(), 1, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"),
                          QStringLiteral("ADMINISTRADOR"));
    EXPECT_TRUE(ensureOwnerWith([](TFormPropietario& form) { form.reject(); }));
    EXPECT_FALSE(dialogSeen);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(Propietario, OwnerIsCreatedAsUserOneAdministrator) {
    EXPECT_TRUE(ensureOwnerWith([](TFormPropietario& form) {
        fill(form, {"ana", "dueno", "farma 26", "farma 26"});
        pressKey(child<QLineEdit>(&form, "EdPassword2"), Qt::Key_Return);
    }));
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(owner("UsuLogin"), QStringLiteral("DUENO"));
    EXPECT_EQ(owner("UsuNombres"), QStringLiteral("ANA"));
    EXPECT_EQ(owner("UsuCargo"), QStringLiteral("ADMINISTRADOR"));
    EXPECT_EQ(owner("UsuEstado"), QStringLiteral("ACTIVO"));
    EXPECT_EQ(owner("UsuPassword"), core::Encripta(QStringLiteral("FARMA 26"), 1));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.first().contains(QStringLiteral("CODIGO 1")));
}

TEST_P(Propietario, CancellingEndsWithoutAnOwner) {
    EXPECT_FALSE(ensureOwnerWith(
        [](TFormPropietario& form) { child<QPushButton>(&form, "Cancelar")->click(); }));
    EXPECT_EQ(users(), 0);
}

TEST_P(Propietario, EntryFaultsKeepTheDialogOpen) {
    struct Case {
        Entry entry;
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {{"", "  ", "A1", "A1"}, "DEBE DE INGRESAR UN\rLOGIN", "EdLogin"},
        {{"", "DON JOSE", "A1", "A1"}, "EL LOGIN NO DEBE TENER ESPACIOS", "EdLogin"},
        {{"", "DUENO", "   ", "   "}, "DEBE DE INGRESAR UN\rPASSWORD", "EdPassword1"},
        {{"", "DUENO", "A1", "A2"}, "LOS PASSWORDS NO COINCIDEN", "EdPassword1"},
    };
    TFormPropietario form(ctx());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        messages.clear();
        fill(form, c.entry);
        child<QPushButton>(&form, "Aceptar")->click();
        EXPECT_EQ(messages.shown, QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focus));
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_TRUE(
        child<QLineEdit>(&form, "EdPassword1")->text().isEmpty());  // a mismatch empties both
    EXPECT_TRUE(child<QLineEdit>(&form, "EdPassword2")->text().isEmpty());
    EXPECT_EQ(users(), 0);
}

TEST_P(Propietario, EnterWalksTheBoxesAndTheLoginIsCapped) {
    TFormPropietario form(ctx());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    child<QLineEdit>(&form, "EdNombres")->setFocus();
    for (QLineEdit* next :
         {child<QLineEdit>(&form, "EdLogin"), child<QLineEdit>(&form, "EdPassword1"),
          child<QLineEdit>(&form, "EdPassword2")}) {
        pressKey(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    typeText(child<QLineEdit>(&form, "EdLogin"), QStringLiteral("ADMINISTRADORA"));
    EXPECT_EQ(child<QLineEdit>(&form, "EdLogin")->text(), QStringLiteral("ADMINISTRA"));
    typeText(child<QLineEdit>(&form, "EdPassword1"), QStringLiteral("abc"));
    EXPECT_EQ(child<QLineEdit>(&form, "EdPassword1")->displayText(), QStringLiteral("###"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(Propietario, AnOwnerRegisteredMeanwhileByAnotherWorkstationStands) {
    EXPECT_TRUE(ensureOwnerWith([this](TFormPropietario& form) {
        testsupport::seedUser(*connectAnother(), 1, QStringLiteral("ROSA"),
                              QStringLiteral("CLAVE1"), QStringLiteral("ADMINISTRADOR"));
        fill(form, {"", "DUENO", "X1", "X1"});
        child<QPushButton>(&form, "Aceptar")->click();
    }));
    EXPECT_EQ(owner("UsuLogin"), QStringLiteral("ROSA"));
    EXPECT_EQ(users(), 1);
    EXPECT_EQ(messages.shown.size(), 1);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(Propietario);
