#include "purchasing/PurchasingTest.h"

#include <QImage>
#include <QTemporaryDir>

using namespace testsupport;

namespace {

class Suppliers : public purchase::PurchasingTest {
protected:
    QWidget* suppliers(int user = 4) { return openAs(user, "Proveedor1", "FormProveedor"); }
    QWidget* representatives(int user = 4) {
        return openAs(user, "Representante1", "FormRepresentante");
    }
    QVariant photo() { return value("SELECT RepFoto FROM REPRESENTANTE WHERE RepCodigo = 1"); }
};

TEST_P(Suppliers, EveryOpenerFollowsItsRoleRule) {
    const std::vector<std::tuple<const char*, const char*, int, bool>> cases = {
        {"Proveedor1", "FormProveedor", 4, true},
        {"Representante1", "FormRepresentante", 1, true},
        {"Pedido2", "FormPedido", 4, true},
        {"SBDetallePedido", "FormDetallePedido", 1, true},
        {"Proveedor1", "FormProveedor", 2, false},
        {"Representante1", "FormRepresentante", 5, false},
        {"Pedido2", "FormPedido", 2, false},
        {"SBDetallePedido", "FormDetallePedido", 2, false},
    };
    for (const auto& [control, window, user, opens] : cases) {
        EXPECT_EQ(openAs(user, control, window) != nullptr, opens) << control << " " << user;
        EXPECT_EQ(messages.last().endsWith(
                      QLatin1String("NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION")),
                  !opens)
            << control;
        TearDownWindows();
    }
    EXPECT_LE(child<QWidget>(principal.get(), "Panel1")->minimumSizeHint().width(), 800);
}

TEST_P(Suppliers, ASupplierWithOnlyItsNameIsSavedWithEmptyTexts) {
    QWidget* w = suppliers();
    typeInto(w, "EdRS", QStringLiteral("botica central"));
    click(w, "BtnGrabar");
    EXPECT_EQ(child<QLabel>(w, "ST")->text(), QStringLiteral("PROVEEDOR INGRESADO CON CODIGO 4"));
    EXPECT_EQ(db::text(value("SELECT ProvRazSoc || '|' || ProvTelefono || ProvTelefax || "
                             "ProvEmail || ProvCuenta || ProvDescrip FROM PROVEEDOR WHERE ProvCod "
                             "= 4")),
              QStringLiteral("BOTICA CENTRAL|"));
    EXPECT_EQ(rows(w, "DBProveedor"), 4);
}

TEST_P(Suppliers, DeletionAnsweredNoLeavesOnlyGrabarEnabledAndYesIsRefusedWithARepresentative) {
    QWidget* w = suppliers();
    selectRow(w, "DBProveedor", 2);
    for (const bool answer : {false, true}) {
        menu(w, "PMEliminar");
        EXPECT_TRUE(enabled(w, "BtnBorrar"));
        messages.answers = {answer};
        click(w, "BtnBorrar");
        EXPECT_TRUE(enabled(w, "BtnGrabar"));
        EXPECT_FALSE(enabled(w, "BtnEditar"));
        EXPECT_FALSE(enabled(w, "BtnBorrar"));
    }
    EXPECT_EQ(messages.asked.first(),
              QStringLiteral("DESEA ELIMINAR:\rAL PROVEEDOR:   SAUCAL\rPERMANENTEMENTE..."));
    EXPECT_EQ(messages.last(), QStringLiteral("EL PROVEEDOR TIENE REPRESENTANTES"));
    EXPECT_EQ(rows(w, "DBProveedor"), 3);
}

TEST_P(Suppliers, AnEditChangesTheSupplierTheBoxesWereFilledFrom) {
    QWidget* w = suppliers();
    selectRow(w, "DBProveedor", 2);
    menu(w, "PMEditar");
    EXPECT_EQ(child<QLineEdit>(w, "EdRS")->text(), QStringLiteral("SAUCAL"));
    typeInto(w, "EdT", QStringLiteral("044231100"));
    selectRow(w, "DBProveedor", 0);
    click(w, "BtnEditar");
    EXPECT_EQ(db::text(value("SELECT ProvTelefono FROM PROVEEDOR WHERE ProvCod = 1")),
              QStringLiteral("044231100"));
    EXPECT_EQ(db::text(value("SELECT ProvTelefono FROM PROVEEDOR WHERE ProvCod = 2")), QString());
}

TEST_P(Suppliers, ARepresentativesNameMustEndInALetter) {
    QWidget* w = representatives();
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"JUAN", "JUAN"}, {"JUAN2", ""}, {"JOSÉ", "JOSÉ"}, {"ANA ", "ANA "}, {" ", ""}};
    for (const auto& [typed, kept] : cases) {
        typeInto(w, "EdN", QString::fromUtf8(typed));
        EXPECT_EQ(child<QLineEdit>(w, "EdN")->text(), QString::fromUtf8(kept)) << typed;
    }
}

TEST_P(Suppliers, WithoutSuppliersTheRepresentativeWindowSaysSoOnce) {
    db().exec(QStringLiteral("DELETE FROM REPRESENTANTE"));
    db().exec(QStringLiteral("DELETE FROM PROVEEDOR"));
    QWidget* w = representatives();
    ASSERT_NE(w, nullptr);
    for (int i = 0; i < 2; ++i) {
        activate(principal.get());
        activate(w);
    }
    EXPECT_EQ(messages.shown, QStringList{"INGRESE PRIMERO LOS PROVEEDORES"});
}

TEST_P(Suppliers, APhotoIsStoredFromTheChosenPictureAndRemoved) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("foto.png"));
    QImage(40, 30, QImage::Format_RGB32).save(picture);
    const QString text = dir.filePath(QStringLiteral("nota.png"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("no picture") > 0);
    f.close();
    QWidget* w = representatives();
    platform.pictureFile = text;
    menu(w, "PMFoto");
    EXPECT_EQ(messages.last(), QStringLiteral("EL ARCHIVO ELEGIDO NO ES UNA IMAGEN..."));
    EXPECT_TRUE(photo().isNull());
    platform.pictureFile = picture;
    menu(w, "PMFoto");
    EXPECT_EQ(messages.last(), QStringLiteral("IMAGEN  ASIGNADA...AL REPRESENTATE"));
    EXPECT_FALSE(db::blob(photo()).isEmpty());
    EXPECT_FALSE(child<QLabel>(w, "DBImage1")->pixmap().isNull());
    menu(w, "PMBorrarFoto");
    EXPECT_TRUE(db::blob(photo()).isEmpty());
    EXPECT_TRUE(child<QLabel>(w, "DBImage1")->pixmap().isNull());
}

TEST_P(Suppliers, APharmacistAddsAndDeletesARepresentative) {
    QWidget* w = representatives();
    typeInto(w, "EdN", QStringLiteral("ana"));
    typeInto(w, "EdD", QString(45, QLatin1Char('D')));
    click(w, "BtnGrabar");
    choose(w, "CBRepresentate", QStringLiteral("DROGUERIA SUR"));
    click(w, "BtnGrabar");
    EXPECT_EQ(messages.shown.first(),
              QStringLiteral("TIENE QUE INGRESAR EL PROVEEDOR\rEN DONDE TRABAJA: ANA"));
    ASSERT_EQ(rows(w, "DBGrid1"), 2);
    EXPECT_EQ(db::text(value("SELECT RepDescrip FROM REPRESENTANTE WHERE RepCodigo = 2")).size(),
              45);
    selectRow(w, "DBGrid1", 0);
    menu(w, "PMEliminar");
    messages.answers = {true};
    click(w, "BtnEliminar");
    ASSERT_EQ(rows(w, "DBGrid1"), 1);
    EXPECT_EQ(cell(w, "DBGrid1", 0, "APELLIDOS"), QStringLiteral("ARANDA"));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(Suppliers);
