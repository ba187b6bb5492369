#include "sales/SalesSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Catalogue.h"
#include "db/procedures/SessionData.h"

#include <QSet>
#include <mutex>
#include <stdexcept>

using namespace db::proc;
using namespace testsupport::counter;
using db::Db;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 15, 0));

class PresentationProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        seedPresentation(db(), 10, 1, QStringLiteral("AMOXIL 500 MG TAB"), "12.00", "12.50", 5);
        seedPresentation(db(), 11, 1, QStringLiteral("AMOXIL SUSP"), "4.00", "7.50", 0);
    }

    IngresoPresentacionIn entry(const QString& tipo) {
        IngresoPresentacionIn in;
        in.pProdLabCod = 1;
        in.pPresTipo = tipo;
        in.pPresPrecioCosto = soles("2.5");
        in.pPos = QStringLiteral("CADA 8 HORAS");
        in.pPresUbi = QStringLiteral("B2");
        in.pPreVen = soles("3.75");
        in.pPresGenCom = QStringLiteral("GENERICO");
        in.pPresUniTodo = QStringLiteral("CAJA");
        in.pPresPromUni = 12;
        in.pPresCodDigemid = 123456789;
        in.pPresNumCaja = 100;
        return in;
    }
    SPEditarPresentacionIn edit(int code, const char* cost, const char* price) {
        SPEditarPresentacionIn in;
        in.pPresCodigo = code;
        in.pNomPresEdit = QStringLiteral("AMOXIL 500 MG CAPS");
        in.pEditCosto = soles(cost);
        in.pPresUbi = QStringLiteral("C3");
        in.pPresPos = QStringLiteral("CADA 12 HORAS");
        in.pPresVen = soles(price);
        in.pPresGenCom = QStringLiteral("COMERCIAL");
        in.pPresUniTodo = QStringLiteral("UNIDAD");
        in.pPresPromUni = 7;
        in.pPresEstado = QStringLiteral("DISCONTINUO");
        return in;
    }
    QVariantList row(int code) {
        QSqlQuery q = db().exec(
            QStringLiteral("SELECT ProdLabCod, PresTipo, PresPrecioCosto, PresVenta, "
                           "PresIndicaPosologia, PresUbicacion, PresGenCom, PresUniTodo, "
                           "PresStockTotal, PresPromUni, PresEstado, PresCodDigemid, PresNumCaja "
                           "FROM PRESENTACION WHERE CodPresentacion = ?"),
            {code});
        QVariantList values;
        if (q.next())
            for (int i = 0; i < 13; ++i)
                values << (i == 2 || i == 3 ? QVariant(db::money(q.value(i)).raw())
                                            : QVariant(db::text(q.value(i))));
        return values;
    }
    int logRows() { return count(db(), QStringLiteral("SEGUIMIENTO_PRECIO")); }
    QVariantList logRow() {
        QSqlQuery q = db().exec(QStringLiteral(
            "SELECT CodPresentacion, UsuCod, SegFecha, SegAnPc, SegAnPv, SegNewPc, SegNewPv "
            "FROM SEGUIMIENTO_PRECIO ORDER BY SegCod DESC"));
        if (!q.next())
            return {};
        return {db::integer(q.value(0)),     db::integer(q.value(1)),
                db::dateTime(q.value(2)),    db::money(q.value(3)).raw(),
                db::money(q.value(4)).raw(), db::money(q.value(5)).raw(),
                db::money(q.value(6)).raw()};
    }
};

TEST_P(PresentationProcedures, IngresoPresentacionRecordsEveryValueContinuedWithNoStock) {
    const IngresoPresentacionOut out = KZ_IngresoPresentacion(db(), entry(QStringLiteral("TAB")));
    EXPECT_EQ(out.CodPresentacion, 12);
    EXPECT_EQ(out.pMensaje, QStringLiteral("PRESENTACION INGRESADA CON CODIGO 12"));
    EXPECT_EQ(row(12),
              (QVariantList{"1", "TAB", qint64(25000), qint64(37500), "CADA 8 HORAS", "B2",
                            "GENERICO", "CAJA", "0", "12", "CONTINUO", "123456789", "100"}));
}

TEST_P(PresentationProcedures, IngresoPresentacionRefusesALinkThatDoesNotExist) {
    IngresoPresentacionIn in = entry(QStringLiteral("TAB"));
    in.pProdLabCod = 9;
    const IngresoPresentacionOut out = KZ_IngresoPresentacion(db(), in);
    EXPECT_EQ(out.CodPresentacion, 0);
    EXPECT_EQ(out.pMensaje, QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"));
    EXPECT_EQ(count(db(), QStringLiteral("PRESENTACION")), 2);
}

TEST_P(PresentationProcedures, TextsAreTakenUpToTheWholeColumn) {
    IngresoPresentacionIn in = entry(QString(95, QLatin1Char('T')));
    in.pPos = QString(160, QLatin1Char('P'));
    in.pPresUbi = QString(25, QLatin1Char('U'));
    const int code = KZ_IngresoPresentacion(db(), in).CodPresentacion;
    const QVariantList values = row(code);
    ASSERT_GT(values.size(), 5);
    EXPECT_EQ(values[1].toString(), QString(90, QLatin1Char('T')));
    EXPECT_EQ(values[4].toString(), QString(150, QLatin1Char('P')));
    EXPECT_EQ(values[5].toString(), QString(20, QLatin1Char('U')));

    SPEditarPresentacionIn e = edit(code, "1", "2");
    e.pNomPresEdit = QString(120, QLatin1Char('E'));
    e.pPresPos = QString(150, QLatin1Char('Q'));
    KZ_SPEditarPresentacion(db(), e);
    EXPECT_EQ(row(code)[1].toString(), QString(90, QLatin1Char('E')));
    EXPECT_EQ(row(code)[4].toString(), QString(150, QLatin1Char('Q')));
}

TEST_P(PresentationProcedures, SimultaneousEntriesGetDistinctCodes) {
    QSet<int> codes;
    std::mutex mutex;
    concurrently(6, [&](int station, Db& connection) {
        const int code =
            KZ_IngresoPresentacion(connection, entry(QStringLiteral("P%1").arg(station)))
                .CodPresentacion;
        const std::lock_guard<std::mutex> hold(mutex);
        codes.insert(code);
    });
    EXPECT_EQ(codes, (QSet<int>{12, 13, 14, 15, 16, 17}));
}

TEST_P(PresentationProcedures, SPEditarPresentacionReplacesTheNineValuesOfThatPresentationOnly) {
    const QVariantList other = row(11);
    const SPEditarPresentacionOut out = KZ_SPEditarPresentacion(db(), edit(10, "8", "10"));
    EXPECT_TRUE(out.editado);
    EXPECT_EQ(out.pMensaje, QStringLiteral("PRESENTACION EDITADA"));
    EXPECT_EQ(row(10), (QVariantList{"1", "AMOXIL 500 MG CAPS", qint64(80000), qint64(100000),
                                     "CADA 12 HORAS", "C3", "COMERCIAL", "UNIDAD", "5", "7",
                                     "DISCONTINUO", "", ""}));
    EXPECT_EQ(row(11), other);
}

TEST_P(PresentationProcedures, SPEditarPresentacionRefusesAnUnknownCode) {
    const SPEditarPresentacionOut out = KZ_SPEditarPresentacion(db(), edit(99, "8", "10"));
    EXPECT_FALSE(out.editado);
    EXPECT_EQ(out.pMensaje, QStringLiteral("NO EXISTE LA PRESENTACION"));
}

TEST_P(PresentationProcedures, IngreSegEditRecordsThePricesItIsGiven) {
    KZ_IngreSegEdit(db(), {10, 4, soles("1"), soles("2"), soles("3"), soles("4")}, kNow);
    EXPECT_EQ(logRow(), (QVariantList{10, 4, kNow, qint64(10000), qint64(20000), qint64(30000),
                                      qint64(40000)}));
}

TEST_P(PresentationProcedures, AnEditOfTheSalePriceLogsTheStoredOldPrices) {
    editarPresentacionConSeguimiento(db(), edit(10, "12.00", "13.00"), 4, kNow);
    ASSERT_EQ(logRows(), 1);
    EXPECT_EQ(logRow(), (QVariantList{10, 4, kNow, qint64(120000), qint64(125000), qint64(120000),
                                      qint64(130000)}));
}

TEST_P(PresentationProcedures, AnEditThatKeepsBothPricesLogsNothing) {
    const SPEditarPresentacionOut out =
        editarPresentacionConSeguimiento(db(), edit(10, "12", "12.5"), 4, kNow);
    EXPECT_TRUE(out.editado);
    EXPECT_EQ(logRows(), 0);
    EXPECT_EQ(row(10)[5].toString(), QStringLiteral("C3"));
}

TEST_P(PresentationProcedures, ARefusedEditLogsNothing) {
    EXPECT_FALSE(editarPresentacionConSeguimiento(db(), edit(99, "1", "2"), 4, kNow).editado);
    EXPECT_EQ(logRows(), 0);
}

TEST_P(PresentationProcedures, AnEditThatFailsAfterTheLogLeavesNoLogRowAndNoChange) {
    SPEditarPresentacionIn in = edit(10, "12", "13");
    in.pPresPromUni = 40000;  // beyond the smallint column: the update fails
    EXPECT_THROW(editarPresentacionConSeguimiento(db(), in, 4, kNow), std::exception);
    EXPECT_EQ(logRows(), 0);
    EXPECT_EQ(row(10)[3].toLongLong(), 125000);
}

TEST_P(PresentationProcedures, SimultaneousEditsLogThePricesEachOneReallyReplaced) {
    concurrently(2, [&](int station, Db& connection) {
        editarPresentacionConSeguimiento(connection, edit(10, "12", station == 0 ? "13" : "14"),
                                         station + 1, kNow);
    });
    QSqlQuery q = db().exec(
        QStringLiteral("SELECT SegAnPv, SegNewPv FROM SEGUIMIENTO_PRECIO ORDER BY SegCod"));
    ASSERT_TRUE(q.next());
    const qint64 firstNew = db::money(q.value(1)).raw();
    EXPECT_EQ(db::money(q.value(0)).raw(), 125000);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::money(q.value(0)).raw(), firstNew);  // the second replaced the first's price
    EXPECT_EQ(db::money(q.value(1)).raw(), row(10)[3].toLongLong());
}

TEST_P(PresentationProcedures, APhotoIsStoredAsItsBytesAndRemovedForItsLink) {
    const QByteArray picture("\x89PNG\r\n\x1a\n\0\x01\x02", 11);
    EXPECT_TRUE(guardaFotoPresentacion(db(), 10, picture));
    EXPECT_FALSE(guardaFotoPresentacion(db(), 99, picture));
    EXPECT_EQ(presentationPhoto(db(), 10), picture);

    EXPECT_EQ(KZ_BorraFoto(db(), {10, 2}).pMensaje, QStringLiteral("NO EXISTE LA PRESENTACION"));
    EXPECT_EQ(presentationPhoto(db(), 10), picture);
    EXPECT_EQ(KZ_BorraFoto(db(), {10, 1}).pMensaje, QStringLiteral("IMAGEN ELIMINADA..."));
    EXPECT_TRUE(presentationPhoto(db(), 10).isEmpty());
}

TEST_P(PresentationProcedures, VerificaExistenPresFotoIsAboveZeroOnlyForAPresentationThatExists) {
    EXPECT_GT(KZ_VerificaExistenPresFoto(db(), 10).pNum, 0);
    EXPECT_EQ(KZ_VerificaExistenPresFoto(db(), 99).pNum, 0);
}

TEST_P(PresentationProcedures, TheDigemidLookUpLeavesOutThePresentationItself) {
    KZ_IngresoCodDigemid(db(), {10, 555});
    EXPECT_EQ(row(10)[11].toString(), QStringLiteral("555"));
    EXPECT_FALSE(codDigemidEnOtraPresentacion(db(), 555, 10));
    EXPECT_TRUE(codDigemidEnOtraPresentacion(db(), 555, 11));
    EXPECT_FALSE(codDigemidEnOtraPresentacion(db(), 556, 11));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(PresentationProcedures);
