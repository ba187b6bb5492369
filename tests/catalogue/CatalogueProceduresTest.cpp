#include "sales/SalesSeed.h"
#include "support/DbTest.h"

#include "db/Migrations.h"
#include "db/procedures/Catalogue.h"

#include <QSet>
#include <atomic>
#include <mutex>

using namespace db::proc;
using namespace testsupport::counter;
using db::Db;

namespace {

class CatalogueProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        seedLink(db(), 2, QStringLiteral("PANADOL"), QStringLiteral("GSK"));
        seedPresentation(db(), 10, 1, QStringLiteral("AMOXIL 500 MG TAB"), "0.50", "1.20", 5);
    }

    IngresoProductoOut newProduct(const QString& name, const QString& descrip = {}) {
        return KZ_IngresoPRODUCTO(db(), {QStringLiteral("MEDICINA"), name + QStringLiteral(" GEN"),
                                         name, descrip, QStringLiteral("ANTIBIOTICO")});
    }
    QStringList productRow(int code) {
        QSqlQuery q = db().exec(
            QStringLiteral("SELECT ProdNomComercial, ProdNomGenerico, ProdLinea, ProDescripcion, "
                           "ProAccionMecanismo FROM PRODUCTO WHERE ProdCodigo = ?"),
            {code});
        QStringList row;
        if (q.next())
            for (int i = 0; i < 5; ++i)
                row << db::text(q.value(i));
        return row;
    }
    // (product, brand) of a link; (0, 0) when there is none.
    std::pair<int, int> link(int code) {
        QSqlQuery q = db().exec(QStringLiteral("SELECT ProdCodigo, LabCodigo FROM "
                                               "PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
                                {code});
        return q.next() ? std::pair{db::integer(q.value(0)), db::integer(q.value(1))}
                        : std::pair{0, 0};
    }
};

TEST_P(CatalogueProcedures, IngresoProductoRecordsTheFiveTextsUnderTheNextCode) {
    const IngresoProductoOut out =
        KZ_IngresoPRODUCTO(db(), {QStringLiteral("POPULARES"), QStringLiteral("PARACETAMOL"),
                                  QStringLiteral("DOLOFEN"), QStringLiteral("CAJA X 100"),
                                  QStringLiteral("ANALGESICO")});
    EXPECT_EQ(out.ProdCodigo, 3);
    EXPECT_EQ(out.pMensaje, QStringLiteral("PRODUCTO INGRESADO CON CODIGO 3"));
    EXPECT_EQ(productRow(3), (QStringList{QStringLiteral("DOLOFEN"), QStringLiteral("PARACETAMOL"),
                                          QStringLiteral("POPULARES"), QStringLiteral("CAJA X 100"),
                                          QStringLiteral("ANALGESICO")}));
}

TEST_P(CatalogueProcedures, IngresoProductoKeepsWholeNamesWhereTheOldParametersCutThem) {
    const QString name(110, QLatin1Char('N'));
    const QString mechanism(120, QLatin1Char('M'));
    const IngresoProductoOut out = KZ_IngresoPRODUCTO(
        db(), {QStringLiteral("MEDICINA"), name, name, QString(30, QLatin1Char('D')), mechanism});
    const QStringList row = productRow(out.ProdCodigo);
    ASSERT_EQ(row.size(), 5);
    EXPECT_EQ(row[0], name);
    EXPECT_EQ(row[1], name);
    EXPECT_EQ(row[4], mechanism);
}

TEST_P(CatalogueProcedures, TheStatementRecreatesTheProductWithItsApostrophesAndItsCode) {
    const QString name = QStringLiteral("D'ALESSANDRO ") + QString(90, QLatin1Char('X'));
    const IngresoProductoOut out = newProduct(name, QStringLiteral("LINEA 1\nLINEA 2"));
    const QStringList stored = productRow(out.ProdCodigo);
    ASSERT_EQ(stored.size(), 5);
    EXPECT_EQ(stored[3], QStringLiteral("LINEA 1 LINEA 2"));  // one line, as the statement
    EXPECT_FALSE(out.pMensajeSQL.contains(QLatin1Char('\n')));
    EXPECT_GT(out.pMensajeSQL.size(), 50);

    db().exec(QStringLiteral("DELETE FROM PRODUCTO WHERE ProdCodigo = ?"), {out.ProdCodigo});
    db().exec(out.pMensajeSQL);  // unprepared: as another database would run the line
    EXPECT_EQ(productRow(out.ProdCodigo), stored);
}

TEST_P(CatalogueProcedures, EditarProductoChangesOnlyThatProductAndRefusesAnUnknownCode) {
    const EditarProductoOut out =
        KZ_EditarProducto(db(), {1, QStringLiteral("AMOXIL FORTE"), QStringLiteral("MEDICINA"),
                                 QStringLiteral("AMOXICILINA"), QStringLiteral("BETALACTAMICO"),
                                 QStringLiteral("CAPSULAS")});
    EXPECT_TRUE(out.editado);
    EXPECT_EQ(out.pMensaje, QStringLiteral("PRODUCTO EDITADO"));
    EXPECT_EQ(productRow(1),
              (QStringList{QStringLiteral("AMOXIL FORTE"), QStringLiteral("AMOXICILINA"),
                           QStringLiteral("MEDICINA"), QStringLiteral("CAPSULAS"),
                           QStringLiteral("BETALACTAMICO")}));
    EXPECT_EQ(productRow(2)[0], QStringLiteral("PANADOL"));

    const EditarProductoOut unknown = KZ_EditarProducto(db(), {99, QStringLiteral("X")});
    EXPECT_FALSE(unknown.editado);
    EXPECT_EQ(unknown.pMensaje, QStringLiteral("NO EXISTE EL PRODUCTO 99"));
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO")), 2);
}

TEST_P(CatalogueProcedures, EditarProductoKeepsAWholeGenericName) {
    const QString name(110, QLatin1Char('G'));
    KZ_EditarProducto(db(), {1, name, QStringLiteral("MEDICINA"), name});
    EXPECT_EQ(productRow(1)[0], name);
    EXPECT_EQ(productRow(1)[1], name);
}

TEST_P(CatalogueProcedures, IngresoLaboratorioRefusesANameABrandAlreadyHas) {
    const IngresoLaboratorioOut out = KZ_IngresoLABORATORIO(
        db(),
        {QString(82, QLatin1Char('B')), QStringLiteral("BAYER S.A."), QStringLiteral("ALEMANA")});
    EXPECT_EQ(out.LabCodigo, 3);
    EXPECT_EQ(out.pMensaje, QStringLiteral("MARCA INGRESADA CON CODIGO 3"));
    EXPECT_EQ(db::text(db().scalar(
                  QStringLiteral("SELECT LabNombre FROM LABORATORIO WHERE LabCodigo = 3"))),
              QString(82, QLatin1Char('B')));
    EXPECT_EQ(db::text(db().scalar(
                  QStringLiteral("SELECT LabRazSoc FROM LABORATORIO WHERE LabCodigo = 3"))),
              QStringLiteral("BAYER S.A."));

    const IngresoLaboratorioOut again = KZ_IngresoLABORATORIO(db(), {QStringLiteral("  GSK  ")});
    EXPECT_EQ(again.LabCodigo, 0);
    EXPECT_EQ(again.pMensaje, QStringLiteral("YA EXISTE LA MARCA"));
    const IngresoLaboratorioOut empty = KZ_IngresoLABORATORIO(db(), {QStringLiteral("   ")});
    EXPECT_EQ(empty.LabCodigo, 0);
    EXPECT_EQ(empty.pMensaje, QStringLiteral("FALTA EL NOMBRE DE LA MARCA"));
    EXPECT_EQ(count(db(), QStringLiteral("LABORATORIO")), 3);
}

// Stored trimmed, so the prefix search finds it: a new brand, and one stored before with blanks
// once the schema is brought up to date.
TEST_P(CatalogueProcedures, BrandNamesAreStoredTrimmed) {
    EXPECT_EQ(KZ_IngresoLABORATORIO(db(), {QStringLiteral("   LAB X")}).LabCodigo, 3);
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT LabNombre FROM LABORATORIO "
                                                  "WHERE LabCodigo = 3"))),
              QStringLiteral("LAB X"));
    db().exec(QStringLiteral("INSERT INTO LABORATORIO (LabCodigo, LabNombre) VALUES (4, ?)"),
              {QStringLiteral("   LAB Y  ")});
    // The brands' migration applied again, as to a database that predates it.
    db().execScript(db::migrations(db().info().dialect).at(9));
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT LabNombre FROM LABORATORIO "
                                                  "WHERE LabCodigo = 4"))),
              QStringLiteral("LAB Y"));
}

TEST_P(CatalogueProcedures, AProductWithoutAnyOfItsThreeNamesIsRefusedOnEntryAndEdit) {
    const QString blank = QStringLiteral("  ");
    const IngresoProductoOut entry = KZ_IngresoPRODUCTO(
        db(), {QStringLiteral("MEDICINA"), blank, {}, QStringLiteral("X"), blank});
    EXPECT_EQ(entry.ProdCodigo, 0);
    EXPECT_EQ(entry.pMensaje, QStringLiteral("FALTA EL NOMBRE DEL PRODUCTO"));
    EXPECT_TRUE(entry.pMensajeSQL.isEmpty());
    const EditarProductoOut edit =
        KZ_EditarProducto(db(), {1, {}, QStringLiteral("MEDICINA"), blank, blank, {}});
    EXPECT_FALSE(edit.editado);
    EXPECT_EQ(edit.pMensaje, QStringLiteral("FALTA EL NOMBRE DEL PRODUCTO"));
    EXPECT_EQ(productRow(1).value(0), QStringLiteral("AMOXIL"));
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO")), 2);
    // Any one of the three names is enough.
    EXPECT_GT(
        KZ_IngresoPRODUCTO(db(), {QStringLiteral("MEDICINA"), {}, {}, {}, QStringLiteral("M")})
            .ProdCodigo,
        0);
}

TEST_P(CatalogueProcedures, AsignaLinksAnActivePairOnceAndRefusesUnknownCodes) {
    const AsignaLaboratorioProductoOut out = KZ_AsignaLaboratorioProducto(db(), {1, 2});
    EXPECT_EQ(out.ProdLabCod, 3);
    EXPECT_EQ(out.pMensaje, QStringLiteral("ASIGNACION REALIZADA CON CODIGO 3"));
    EXPECT_EQ(link(3), std::pair(1, 2));
    EXPECT_EQ(db::text(db().scalar(QStringLiteral(
                  "SELECT ProdLabEstado FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = 3"))),
              QStringLiteral("ACTIVO"));

    EXPECT_EQ(KZ_AsignaLaboratorioProducto(db(), {1, 2}).pMensaje,
              QStringLiteral("YA ESTA ASIGNADO A ESA MARCA"));
    EXPECT_EQ(KZ_AsignaLaboratorioProducto(db(), {9, 2}).pMensaje,
              QStringLiteral("NO EXISTE EL PRODUCTO"));
    EXPECT_EQ(KZ_AsignaLaboratorioProducto(db(), {1, 9}).pMensaje,
              QStringLiteral("NO EXISTE LA MARCA"));
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO_LABORATORIO")), 3);
}

TEST_P(CatalogueProcedures, EditarLaboratorioMovesTheLinkWithItsCodeAndPresentations) {
    const EditarLaboratorioOut out = KZ_EditarLaboratorio(db(), {1, 2});
    EXPECT_TRUE(out.cambiado);
    EXPECT_EQ(out.pMensaje, QStringLiteral("LABORATORIO CAMBIADO"));
    EXPECT_EQ(link(1), std::pair(1, 2));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral(
                  "SELECT ProdLabCod FROM PRESENTACION WHERE CodPresentacion = 10"))),
              1);
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO_LABORATORIO")), 2);
}

TEST_P(CatalogueProcedures, EditarLaboratorioRefusesAndChangesNothing) {
    KZ_AsignaLaboratorioProducto(db(), {1, 2});  // link 3: AMOXIL under GSK
    EXPECT_EQ(KZ_EditarLaboratorio(db(), {1, 2}).pMensaje,
              QStringLiteral("EL PRODUCTO YA ESTA ASIGNADO A ESA MARCA"));
    EXPECT_EQ(KZ_EditarLaboratorio(db(), {1, 1}).pMensaje,
              QStringLiteral("EL PRODUCTO YA ESTA ASIGNADO A ESA MARCA"));
    EXPECT_EQ(KZ_EditarLaboratorio(db(), {9, 2}).pMensaje,
              QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"));
    EXPECT_EQ(KZ_EditarLaboratorio(db(), {1, 9}).pMensaje, QStringLiteral("NO EXISTE LA MARCA"));
    EXPECT_FALSE(KZ_EditarLaboratorio(db(), {1, 9}).cambiado);
    EXPECT_EQ(link(1), std::pair(1, 1));
    EXPECT_EQ(link(3), std::pair(1, 2));
}

TEST_P(CatalogueProcedures, TheChoicesListEveryProductAndBrand) {
    newProduct(QStringLiteral("ZINC"));
    KZ_IngresoLABORATORIO(db(), {QStringLiteral("ABBOTT")});
    const std::vector<ProductoChoice> products = productoChoices(db());
    ASSERT_EQ(products.size(), 3u);
    EXPECT_EQ(products[2].ProdNomComercial, QStringLiteral("ZINC"));
    EXPECT_EQ(products[2].ProdNomGenerico, QStringLiteral("ZINC GEN"));
    const std::vector<LaboratorioChoice> brands = laboratorioChoices(db());
    ASSERT_EQ(brands.size(), 3u);
    EXPECT_EQ(brands[2].LabNombre, QStringLiteral("ABBOTT"));
}

// ---- several workstations at once ----

TEST_P(CatalogueProcedures, EightWorkstationsCreatingProductsGetEightCodes) {
    std::mutex mutex;
    QSet<int> codes;
    concurrently(8, [&](int station, Db& connection) {
        const int code =
            KZ_IngresoPRODUCTO(connection,
                               {QStringLiteral("MEDICINA"), {}, QStringLiteral("P%1").arg(station)})
                .ProdCodigo;
        const std::lock_guard<std::mutex> hold(mutex);
        codes.insert(code);
    });
    EXPECT_EQ(codes.size(), 8);
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO")), 10);
}

TEST_P(CatalogueProcedures, TwoWorkstationsCreatingTheSameBrandGetOneRowAndOneRefusal) {
    std::atomic<int> created{0};
    std::atomic<int> refused{0};
    concurrently(4, [&](int, Db& connection) {
        const IngresoLaboratorioOut out =
            KZ_IngresoLABORATORIO(connection, {QStringLiteral("MEDIFARMA")});
        (out.LabCodigo > 0 ? created : refused)++;
    });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(refused, 3);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT COUNT(*) FROM LABORATORIO WHERE LabNombre = ?"),
                  {QStringLiteral("MEDIFARMA")})),
              1);
}

TEST_P(CatalogueProcedures, TwoWorkstationsLinkingTheSamePairGetOneLinkAndOneRefusal) {
    std::atomic<int> linkedOnce{0};
    concurrently(4, [&](int, Db& connection) {
        if (KZ_AsignaLaboratorioProducto(connection, {2, 1}).ProdLabCod > 0)
            ++linkedOnce;
    });
    EXPECT_EQ(linkedOnce, 1);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTO_LABORATORIO "
                                                     "WHERE ProdCodigo = 2 AND LabCodigo = 1"))),
              1);
}

TEST_P(CatalogueProcedures, AMoveAndALinkOntoTheSamePairAtOnceGiveOneOfThem) {
    // Link 1 (AMOXIL, GENFAR) moving to GSK while another workstation links AMOXIL to GSK.
    std::atomic<int> done{0};
    concurrently(2, [&](int station, Db& connection) {
        const bool ok = station == 0
                            ? KZ_EditarLaboratorio(connection, {1, 2}).cambiado
                            : KZ_AsignaLaboratorioProducto(connection, {1, 2}).ProdLabCod > 0;
        if (ok)
            ++done;
    });
    EXPECT_EQ(done, 1);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTO_LABORATORIO "
                                                     "WHERE ProdCodigo = 1 AND LabCodigo = 2"))),
              1);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(CatalogueProcedures);
