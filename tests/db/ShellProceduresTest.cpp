#include "support/DbTest.h"

#include "db/procedures/Shell.h"

using core::Money;

namespace {

class ShellProcedures : public testsupport::DbTest {
protected:
    const QDateTime today{QDate(2026, 3, 7), QTime(10, 0)};

    void sale(int number, const QDateTime& at, const QString& state, const QString& type) {
        db().exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, FacEstado, "
                                 "FacTipoSunat) VALUES (?, ?, ?, ?)"),
                  {number, at, state, type});
    }
    void line(int number, const QDateTime& at, int line, const QString& state, int qty,
              const char* price) {
        db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                 "CodPresentacion, Cantidad, Importe, Costo, Estado) VALUES "
                                 "(?, ?, ?, 1, ?, ?, 0, ?)"),
                  {number, at, line, qty,
                   QVariant::fromValue(*Money::parse(QString::fromLatin1(price))), state});
    }
    int count(const char* sql) { return db::integer(db().scalar(QString::fromLatin1(sql))); }
};

TEST_P(ShellProcedures, RemovingPendingItemsKeepsDischargedLinesAndEverySaleHeader) {
    sale(1, today, QStringLiteral("NO DESCARGADO"), QString());
    line(1, today, 1, QStringLiteral("NO DESCARGADO"), 1, "2");
    line(1, today, 2, QStringLiteral("NO DESCARGADO"), 1, "2");
    sale(2, today, QStringLiteral("DESCARGADO"), QStringLiteral("BOLETA DE VENTA"));
    line(2, today, 1, QStringLiteral("DESCARGADO"), 1, "2");
    line(2, today, 2, QStringLiteral("DEVUELTO"), 1, "2");
    db().exec(QStringLiteral("INSERT INTO DESCUENTO (FacNumero, FacFecha, DetaNumero, "
                             "CodPresentacion, DesNombre) VALUES (1, ?, 2, 1, 'X'), "
                             "(2, ?, 1, 1, 'Y')"),
              {today, today});

    const auto out = db::proc::KZ_BorrarVentasNoDescargadas(db());

    EXPECT_EQ(out.pMensaje, QStringLiteral("SE ELIMINARON 2 ITEMS NO DESCARGADOS"));
    EXPECT_LE(out.pMensaje.size(), 50);
    EXPECT_EQ(count("SELECT COUNT(*) FROM DETAFAC"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM DETAFAC WHERE Estado = 'NO DESCARGADO'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM FACTURA"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM DESCUENTO"), 1);
}

TEST_P(ShellProcedures, DailyTotalCountsTheWholeDayOfDischargedSalesOfOneType) {
    const QDate day = today.date();
    EXPECT_EQ(db::proc::totalDelDia(db(), day, QStringLiteral("BOLETA DE VENTA")), Money());

    const QString boleta = QStringLiteral("BOLETA DE VENTA");
    sale(1, QDateTime(day, QTime(0, 0, 0)), QStringLiteral("DESCARGADO"), boleta);
    line(1, QDateTime(day, QTime(0, 0, 0)), 1, QStringLiteral("DESCARGADO"), 2, "5.90");
    // Every line of a discharged sale counts, whatever its own state.
    line(1, QDateTime(day, QTime(0, 0, 0)), 2, QStringLiteral("DEVUELTO"), 1, "0.2");
    sale(2, QDateTime(day, QTime(23, 59, 59)), QStringLiteral("DESCARGADO"), boleta);
    line(2, QDateTime(day, QTime(23, 59, 59)), 1, QStringLiteral("DESCARGADO"), 1, "1");
    sale(3, QDateTime(day.addDays(1), QTime(0, 0, 0)), QStringLiteral("DESCARGADO"), boleta);
    line(3, QDateTime(day.addDays(1), QTime(0, 0, 0)), 1, QStringLiteral("DESCARGADO"), 1, "100");
    sale(4, QDateTime(day.addDays(-1), QTime(23, 59, 59)), QStringLiteral("DESCARGADO"), boleta);
    line(4, QDateTime(day.addDays(-1), QTime(23, 59, 59)), 1, QStringLiteral("DESCARGADO"), 1,
         "1000");
    sale(5, today, QStringLiteral("NO DESCARGADO"), boleta);
    line(5, today, 1, QStringLiteral("NO DESCARGADO"), 1, "10000");
    sale(6, today, QStringLiteral("DESCARGADO"), QStringLiteral("FACTURA"));
    line(6, today, 1, QStringLiteral("DESCARGADO"), 3, "0.3333");

    EXPECT_EQ(db::proc::totalDelDia(db(), day, boleta), *Money::parse(QStringLiteral("113")));
    EXPECT_EQ(db::proc::totalDelDia(db(), day, QStringLiteral("FACTURA")),
              *Money::parse(QStringLiteral("0.9999")));
}

VELCARIS_DB_TEST_SUITE(ShellProcedures);

}  // namespace
