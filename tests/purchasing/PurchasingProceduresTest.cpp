#include "sales/SalesSeed.h"
#include "support/DbTest.h"
#include "support/Seed.h"

#include "db/procedures/Purchasing.h"

#include <QSet>
#include <mutex>

using namespace db::proc;
using db::Db;
using testsupport::counter::count;

namespace {

const QDateTime kMonday(QDate(2026, 3, 2), QTime(9, 30));

// SAUCAL (1) with its representative JUAN ARANDA (1), ALMACEN BRISA (2) with an intake, and
// DROGUERIA SUR (3) with nothing; order 1 of JUAN ARANDA with one instalment of 40.
class PurchasingProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::seedUser(db(), 1, QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"),
                              QStringLiteral("ADMINISTRADOR"), QStringLiteral("ACTIVO"),
                              QStringLiteral("ROSA"), QStringLiteral("PAZ"));
        for (const char* name : {"SAUCAL", "ALMACEN BRISA", "DROGUERIA SUR"})
            ASSERT_GT(KZ_IngresoProveedor(db(), {QString::fromLatin1(name)}).codigo, 0);
        ASSERT_EQ(
            KZ_IngresoRepresentante(db(), {QStringLiteral("SAUCAL"), {"JUAN", "ARANDA"}}).codigo,
            1);
        db().exec(QStringLiteral("INSERT INTO KARDEXINGRESO (KarInCod, ProvCod) VALUES (1, 2)"));
        ASSERT_EQ(KZ_IngresoPedido(db(), order(1)).codigo, 1);
        ASSERT_EQ(KZ_IngresoPago(db(), pago(1, 40)).codigo, 1);
    }

    static PedidoIn order(int rep, const QString& estado = QStringLiteral("NO ENTREGADO")) {
        return {rep, 0, 1, kMonday, kMonday.addDays(5), estado};
    }
    static PagoIn pago(int pedido, double monto, const QString& estado = "PENDIENTE") {
        return {pedido, 0, kMonday, monto, estado};
    }
    // Every row of the four tables, to show that a refusal changed nothing.
    QString everything() {
        QString all;
        for (const char* sql :
             {"SELECT ProvCod, ProvRazSoc, ProvEstado FROM PROVEEDOR ORDER BY ProvCod",
              "SELECT RepCodigo, ProvCod, RepNombre FROM REPRESENTANTE ORDER BY RepCodigo",
              "SELECT PedNumero, RepCodigo, PedEstado, PedFechaEntrega FROM PEDIDO",
              "SELECT PagCod, PedNumero, PagMonto, PagEstado FROM PAGO ORDER BY PagCod"}) {
            QSqlQuery q = db().exec(QString::fromLatin1(sql));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    all += q.value(i).toString() + QLatin1Char('|');
        }
        return all;
    }
};

TEST_P(PurchasingProcedures, EachRefusalSaysWhyAndChangesNothing) {
    const std::vector<std::pair<const char*, std::function<Resultado(Db&)>>> cases = {
        {"YA EXISTE UN PROVEEDOR CON ESE NOMBRE",
         [](Db& d) { return KZ_IngresoProveedor(d, {QStringLiteral("  SAUCAL ")}); }},
        {"YA EXISTE UN PROVEEDOR CON ESE NOMBRE",
         [](Db& d) {
             return KZ_EditarProveedor(d, {3, {"ALMACEN BRISA"}, "ACTIVO"});
         }},
        {"ELIJA EL ESTADO DEL PROVEEDOR",
         [](Db& d) {
             return KZ_EditarProveedor(d, {3, {"DROGUERIA SUR"}, "ESTADO"});
         }},
        {"NO EXISTE EL PROVEEDOR",
         [](Db& d) {
             return KZ_EditarProveedor(d, {9, {"OTRO"}, "ACTIVO"});
         }},
        {"EL PROVEEDOR TIENE REPRESENTANTES", [](Db& d) { return KZ_BorraProveedor(d, 1); }},
        {"EL PROVEEDOR TIENE INGRESOS DE STOCK", [](Db& d) { return KZ_BorraProveedor(d, 2); }},
        {"NO EXISTE EL PROVEEDOR",
         [](Db& d) {
             return KZ_IngresoRepresentante(d, {"DROGUERIA NORTE", {"ANA"}});
         }},
        {"EL REPRESENTANTE TIENE PEDIDOS", [](Db& d) { return KZ_BorraRepresentante(d, 1); }},
        {"NO EXISTE EL REPRESENTANTE", [](Db& d) { return KZ_IngresoPedido(d, order(7)); }},
        {"ELIJA EL ESTADO DEL PEDIDO",
         [](Db& d) { return KZ_IngresoPedido(d, order(1, "ESTADO")); }},
        {"FECHA DE ENTREGA MENOR QUE FECHA DE PEDIDO",
         [](Db& d) {
             PedidoIn in = order(1);
             in.pPedNumero = 1;
             in.pPedFechaEntrega = kMonday.addSecs(-60);
             return KZ_EditarPedido(d, in);
         }},
        {"NO EXISTE EL PEDIDO", [](Db& d) { return KZ_BorraPedido(d, 5); }},
        {"NO EXISTE EL PEDIDO", [](Db& d) { return KZ_IngresoPago(d, pago(5, 10)); }},
        {"ELIJA EL ESTADO DEL PAGO",
         [](Db& d) { return KZ_IngresoPago(d, pago(1, 10, "ESTADO")); }},
        {"EL MONTO DEBE SER MAYOR QUE CERO", [](Db& d) { return KZ_IngresoPago(d, pago(1, 0)); }},
        {"NO EXISTE EL PAGO",
         [](Db& d) {
             return KZ_EditarPago(d, {0, 8, kMonday, 5, "PENDIENTE"});
         }},
    };
    const QString before = everything();
    for (const auto& [message, call] : cases) {
        const Resultado out = call(db());
        EXPECT_EQ(out.pMensaje, QString::fromLatin1(message));
        EXPECT_EQ(out.codigo, 0) << message;
        EXPECT_EQ(everything(), before) << message;
    }
}

TEST_P(PurchasingProcedures, WritesKeepWhatTheyAreGivenAndTouchOnlyTheirRow) {
    const QString longText = QString(45, QLatin1Char('D'));
    ASSERT_GT(
        KZ_IngresoRepresentante(db(), {"DROGUERIA SUR", {"ANA", "RUIZ", "", "", longText}}).codigo,
        0);
    ASSERT_GT(KZ_EditarRepresentante(db(), 1, {"JUANA", "ARANDA"}).codigo, 0);
    ASSERT_GT(KZ_IngresoPago(db(), pago(1, 15.5)).codigo, 0);
    ASSERT_GT(KZ_EditarPago(db(), {0, 2, kMonday.addDays(1), 16, "CANCELADO"}).codigo, 0);
    const std::vector<RepresentanteRow> reps = representantes(db());
    ASSERT_EQ(reps.size(), 2U);
    EXPECT_EQ(reps[0].RepNombre, QStringLiteral("JUANA"));
    EXPECT_EQ(reps[0].ProvRazSoc, QStringLiteral("SAUCAL"));
    EXPECT_EQ(reps[1].RepDescrip, longText);
    const std::vector<PagoRow> pagos = pagosDe(db(), 1);
    ASSERT_EQ(pagos.size(), 2U);
    EXPECT_EQ(pagos[0].PagMonto, 40);
    EXPECT_EQ(pagos[1].PagFechaPago, kMonday.addDays(1));
    const QString empty = db::text(db().scalar(QStringLiteral(
        "SELECT ProvTelefono || ProvTelefax || ProvEmail || ProvCuenta || ProvDescrip || "
        "ProvEstado FROM PROVEEDOR WHERE ProvCod = 3")));
    EXPECT_EQ(empty, QStringLiteral("ACTIVO"));
    ASSERT_GT(KZ_BorraPedido(db(), 1).codigo, 0);
    EXPECT_EQ(count(db(), QStringLiteral("PAGO")), 0);
}

TEST_P(PurchasingProcedures, EveryOrderIsListedWithTheSumAndNumberOfItsInstalments) {
    ASSERT_EQ(KZ_IngresoPedido(db(), order(1)).codigo, 2);
    for (const double monto : {100.0, 50.0, 25.0})
        ASSERT_GT(KZ_IngresoPago(db(), pago(2, monto)).codigo, 0);
    ASSERT_EQ(KZ_IngresoPedido(db(), order(1)).codigo, 3);
    db().exec(QStringLiteral("UPDATE PEDIDO SET UsuCod = 9 WHERE PedNumero = 3"));
    const std::vector<PedidoRow> rows = pedidos(db());
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].PedNumero, 3);
    EXPECT_EQ(rows[0].TOTAL, 0);
    EXPECT_EQ(rows[0].PedNumCuotas, 0);
    EXPECT_EQ(rows[0].APENOMUSU, QString());
    EXPECT_EQ(rows[1].TOTAL, 175);
    EXPECT_EQ(rows[1].PedNumCuotas, 3);
    EXPECT_EQ(rows[1].APENOMPEDIDO, QStringLiteral("ARANDA, JUAN"));
    EXPECT_EQ(rows[1].APENOMUSU, QStringLiteral("PAZ, ROSA"));
    EXPECT_EQ(rows[2].TOTAL, 40);
}

TEST_P(PurchasingProcedures, TwoWorkstationsNamingASupplierAlikeGetOneSupplier) {
    std::mutex mutex;
    QStringList messages;
    concurrently(4, [&](int, Db& connection) {
        const Resultado out = KZ_IngresoProveedor(connection, {QStringLiteral("DROGUERIA NORTE")});
        const std::lock_guard<std::mutex> hold(mutex);
        messages << out.pMensaje.left(19);
    });
    messages.sort();
    EXPECT_EQ(messages, (QStringList{"PROVEEDOR INGRESADO", "YA EXISTE UN PROVEE",
                                     "YA EXISTE UN PROVEE", "YA EXISTE UN PROVEE"}));
    EXPECT_EQ(count(db(), QStringLiteral("PROVEEDOR")), 4);
}

TEST_P(PurchasingProcedures, OrdersAndInstalmentsFromSeveralWorkstationsGetDistinctNumbers) {
    std::mutex mutex;
    QSet<int> orders, instalments;
    concurrently(4, [&](int, Db& connection) {
        for (int i = 0; i < 3; ++i) {
            const int number = KZ_IngresoPedido(connection, order(1)).codigo;
            const int code = KZ_IngresoPago(connection, pago(number, 10)).codigo;
            const std::lock_guard<std::mutex> hold(mutex);
            orders.insert(number);
            instalments.insert(code);
        }
    });
    EXPECT_EQ(orders.size(), 12);
    EXPECT_FALSE(orders.contains(0));
    EXPECT_EQ(instalments.size(), 12);
    EXPECT_FALSE(instalments.contains(0));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(PurchasingProcedures);
