#include "support/DbTest.h"

#include "core/Password.h"
#include "db/DemoShop.h"

#include <QImage>
#include <QRegularExpression>
#include <QSqlRecord>
#include <atomic>

using db::Db;

namespace {

const QStringList kDemoTables = {QStringLiteral("SUCURSAL"),
                                 QStringLiteral("USUARIO"),
                                 QStringLiteral("IGV"),
                                 QStringLiteral("INVENTARIO"),
                                 QStringLiteral("LABORATORIO"),
                                 QStringLiteral("PRODUCTO"),
                                 QStringLiteral("PRODUCTO_LABORATORIO"),
                                 QStringLiteral("PRESENTACION"),
                                 QStringLiteral("PROVEEDOR"),
                                 QStringLiteral("REPRESENTANTE")};

int count(Db& db, const QString& sql, const QVariantList& values = {}) {
    return db::integer(db.scalar(sql, values));
}

// Every row of the demo tables, one text per row, in key order.
QStringList dump(Db& db) {
    QStringList rows;
    for (const QString& table : kDemoTables) {
        QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        while (q.next()) {
            QStringList fields{table};
            for (int i = 0; i < q.record().count(); ++i) {
                fields << q.value(i).toString();
            }
            rows << fields.join(QLatin1Char('|'));
        }
    }
    return rows;
}

class DemoShop : public testsupport::DbTest {
protected:
    void SetUp() override {
        testsupport::DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(db::loadDemoShop(db()));
    }
};

TEST_P(DemoShop, LoadsOnceAndAlwaysTheSame) {
    const QStringList loaded = dump(db());
    EXPECT_FALSE(db::loadDemoShop(db()));
    EXPECT_EQ(dump(db()), loaded);

    for (const QString& table : kDemoTables) {
        db().exec(QStringLiteral("DELETE FROM %1").arg(table));
    }
    ASSERT_TRUE(db::loadDemoShop(db()));
    EXPECT_EQ(dump(db()), loaded);
}

TEST_P(DemoShop, LeavesAShopWithUsersAlone) {
    for (const QString& table : kDemoTables) {
        db().exec(QStringLiteral("DELETE FROM %1").arg(table));
    }
    db().exec(QStringLiteral("INSERT INTO USUARIO (UsuCod, UsuLogin) VALUES (7, 'PROPIO')"));
    EXPECT_FALSE(db::loadDemoShop(db()));
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) FROM USUARIO")), 1);
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) FROM PRODUCTO")), 0);
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) FROM SUCURSAL")), 0);
}

TEST_P(DemoShop, TwoWorkstationsStartingTogetherLoadItOnce) {
    for (const QString& table : kDemoTables) {
        db().exec(QStringLiteral("DELETE FROM %1").arg(table));
    }
    std::atomic<int> loads{0};
    concurrently(2, [&loads](int, Db& c) {
        if (db::loadDemoShop(c)) {
            ++loads;
        }
    });
    EXPECT_EQ(loads.load(), 1);
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) FROM USUARIO")), db::demoLogins().size());
}

TEST_P(DemoShop, EveryAccountLogsInWithItsLoginAsPassword) {
    QSqlQuery q = db().exec(QStringLiteral(
        "SELECT UsuCod, UsuLogin, UsuPassword, UsuFoto, SucCod FROM USUARIO ORDER BY UsuCod"));
    QStringList logins;
    while (q.next()) {
        const QString login = db::text(q.value(1));
        const QString stored = db::text(q.value(2));
        logins << login;
        EXPECT_EQ(stored, core::Encripta(login)) << login.toStdString();
        EXPECT_FALSE(stored.contains(login)) << login.toStdString();
        EXPECT_FALSE(login.contains(QRegularExpression(QStringLiteral("[0-9]"))))
            << "a digit in a login breaks the code taken from the login list";
        EXPECT_FALSE(QImage::fromData(db::blob(q.value(3)), "PNG").isNull()) << login.toStdString();
        EXPECT_EQ(db::integer(q.value(4)), 1);
    }
    EXPECT_EQ(logins, db::demoLogins());
    EXPECT_EQ(
        db::text(db().scalar(QStringLiteral("SELECT UsuLogin FROM USUARIO WHERE UsuCod = 1"))),
        QStringLiteral("MAXIMOS"));
    EXPECT_EQ(
        db::text(db().scalar(QStringLiteral("SELECT SucNombre FROM SUCURSAL WHERE SucCod = 1"))),
        QStringLiteral("BOTICA VELCARIS"));
}

TEST_P(DemoShop, HasEveryRoleAndOneKeyPerActiveSeller) {
    const QString activeOf = QStringLiteral(
        "SELECT COUNT(*) FROM USUARIO WHERE UsuCargo = ? AND UsuEstado = 'ACTIVO' "
        "AND UsuCod <> 1");
    for (const char* role :
         {"ADMINISTRADOR", "QUIMICO FARMACEUTICO", "CAJERO", "TECNICA", "AUXILIAR", "CONTADOR"}) {
        EXPECT_EQ(count(db(), activeOf, {QString::fromLatin1(role)}), 1) << role;
    }
    EXPECT_EQ(
        db::text(db().scalar(QStringLiteral("SELECT UsuCargo FROM USUARIO WHERE UsuCod = 1"))),
        QStringLiteral("ADMINISTRADOR"));
    EXPECT_EQ(
        count(db(), QStringLiteral("SELECT COUNT(*) FROM USUARIO WHERE UsuEstado = 'INACTIVO'")),
        1);

    QSqlQuery q = db().exec(QStringLiteral(
        "SELECT UsuTecla FROM USUARIO WHERE UsuTecla IS NOT NULL AND UsuEstado = 'ACTIVO' "
        "AND UsuCargo IN ('ADMINISTRADOR', 'QUIMICO FARMACEUTICO', 'CAJERO', 'TECNICA', "
        "'AUXILIAR') ORDER BY UsuTecla"));
    QStringList keys;
    while (q.next()) {
        keys << db::text(q.value(0));
    }
    EXPECT_EQ(keys, QStringList({"F5", "F6", "F7", "F8", "F9"}));
}

TEST_P(DemoShop, CatalogueCoversTheCasesTheScreensShow) {
    QSqlQuery q =
        db().exec(QStringLiteral("SELECT DISTINCT ProdLinea FROM PRODUCTO ORDER BY ProdLinea"));
    QStringList lines;
    while (q.next()) {
        lines << db::text(q.value(0));
    }
    EXPECT_EQ(lines, QStringList({"MATERIAL QUIRURGICO", "MEDICINA", "PERFUMERIA", "POPULARES",
                                  "SERVICIOS"}));
    EXPECT_GE(count(db(), QStringLiteral("SELECT COUNT(*) FROM PRODUCTO")), 40);
    EXPECT_EQ(count(db(), QStringLiteral(
                              "SELECT COUNT(*) FROM PRODUCTO_LABORATORIO WHERE ProdLabEstado = "
                              "'INACTIVO'")),
              1);
    EXPECT_EQ(
        count(db(),
              QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE PresEstado = 'DISCONTINUO'")),
        1);
    EXPECT_GE(count(db(), QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE PresStockTotal = "
                                         "0 AND PresEstado = 'CONTINUO'")),
              2);
    EXPECT_GE(count(db(), QStringLiteral("SELECT MAX(n) FROM (SELECT COUNT(*) AS n FROM "
                                         "PRESENTACION GROUP BY ProdLabCod) AS per_link")),
              2);
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE PresVenta < "
                                         "PresPrecioCosto OR PresVenta <= 0")),
              0);
    EXPECT_EQ(
        count(db(), QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE PresGenCom NOT IN "
                                   "('GENERICO', 'COMERCIAL') OR PresUniTodo NOT IN "
                                   "('UNIDAD', 'CAJA')")),
        0);
}

TEST_P(DemoShop, EveryReferenceFindsItsRow) {
    const char* orphans[] = {
        "SELECT COUNT(*) FROM PRODUCTO_LABORATORIO L WHERE NOT EXISTS (SELECT 1 FROM PRODUCTO P "
        "WHERE P.ProdCodigo = L.ProdCodigo) OR NOT EXISTS (SELECT 1 FROM LABORATORIO B WHERE "
        "B.LabCodigo = L.LabCodigo)",
        "SELECT COUNT(*) FROM PRESENTACION P WHERE NOT EXISTS (SELECT 1 FROM PRODUCTO_LABORATORIO "
        "L WHERE L.ProdLabCod = P.ProdLabCod)",
        "SELECT COUNT(*) FROM PRODUCTO_LABORATORIO L WHERE NOT EXISTS (SELECT 1 FROM PRESENTACION "
        "P WHERE P.ProdLabCod = L.ProdLabCod)",
        "SELECT COUNT(*) FROM REPRESENTANTE R WHERE NOT EXISTS (SELECT 1 FROM PROVEEDOR P WHERE "
        "P.ProvCod = R.ProvCod)",
        "SELECT COUNT(*) FROM USUARIO U WHERE NOT EXISTS (SELECT 1 FROM SUCURSAL S WHERE "
        "S.SucCod = U.SucCod)",
    };
    for (const char* sql : orphans) {
        EXPECT_EQ(count(db(), QString::fromLatin1(sql)), 0) << sql;
    }
}

TEST_P(DemoShop, SuppliersTaxSettingAndInventoryPeriod) {
    const QString representatives = QStringLiteral(
        "SELECT COUNT(*) FROM PROVEEDOR P, REPRESENTANTE R WHERE R.ProvCod = P.ProvCod AND "
        "P.ProvRazSoc = ?");
    EXPECT_EQ(count(db(), representatives, {QStringLiteral("SAUCAL")}), 1);
    EXPECT_EQ(count(db(), representatives, {QStringLiteral("ALMACEN BRISA")}), 1);

    QSqlQuery igv = db().exec(QStringLiteral(
        "SELECT IgvValor, IgvSerieBoleta, IgvSerieFactura FROM IGV ORDER BY IgvCod DESC"));
    ASSERT_TRUE(igv.next());
    EXPECT_EQ(db::real(igv.value(0)), 18.0);
    EXPECT_EQ(db::text(igv.value(1)), QStringLiteral("B001"));
    EXPECT_EQ(db::text(igv.value(2)), QStringLiteral("F001"));
    EXPECT_EQ(count(db(), QStringLiteral("SELECT MAX(InvCod) FROM INVENTARIO")), 1);
}

TEST_P(DemoShop, TextsAreUpperCase) {
    for (const QString& table : kDemoTables) {
        QSqlQuery q = db().exec(QStringLiteral("SELECT * FROM %1").arg(table));
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                if (v.typeId() != QMetaType::QString ||
                    q.record().fieldName(i).compare(QStringLiteral("UsuPassword"),
                                                    Qt::CaseInsensitive) == 0) {
                    continue;
                }
                EXPECT_EQ(v.toString(), v.toString().toUpper())
                    << table.toStdString() << "." << q.record().fieldName(i).toStdString();
            }
        }
    }
}

}  // namespace

VELCARIS_DB_TEST_SUITE(DemoShop);
