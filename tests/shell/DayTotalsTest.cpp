#include "support/ProgramTest.h"
#include "support/Seed.h"

#include "core/Money.h"

#include <QLabel>
#include <QTest>

namespace {

struct Line {
    const char* importe;
    int cantidad;
    const char* estado = "DESCARGADO";
};

class DayTotals : public testsupport::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE"),
                              QStringLiteral("CAJERO"));
        startProgram();
    }

    void sale(const QDateTime& at, const char* tipo, std::initializer_list<Line> lines,
              const char* estado = "DESCARGADO") {
        const int number = ++sales_;
        db().exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, FacEstado, "
                                 "FacTipoSunat) VALUES (?, ?, ?, ?)"),
                  {number, at, QString::fromLatin1(estado), QString::fromLatin1(tipo)});
        int n = 0;
        for (const Line& l : lines)
            db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                     "Cantidad, Importe, Estado) VALUES (?, ?, ?, ?, ?, ?)"),
                      {number, at, ++n, l.cantidad,
                       QVariant::fromValue(*core::Money::parse(QString::fromLatin1(l.importe))),
                       QString::fromLatin1(l.estado)});
    }

    QString click(const char* box) {
        auto* label = principal().findChild<QLabel*>(QString::fromLatin1(box));
        QTest::mouseClick(label, Qt::LeftButton);
        return label->text();
    }

    QDateTime at(int dayOffset, int h, int m, int s) {
        return QDateTime(clock.today().addDays(dayOffset), QTime(h, m, s));
    }

    int sales_ = 0;
};

TEST_P(DayTotals, NothingDischargedTodayShowsZero) {
    sale(at(-1, 12, 0, 0), "BOLETA DE VENTA", {{"8.00", 1}});
    EXPECT_EQ(click("StaticText1"), QStringLiteral("0"));
    EXPECT_EQ(click("StaticText2"), QStringLiteral("0"));
}

TEST_P(DayTotals, CountTodaysDischargedSalesOfTheirTypeUpToTomorrowsMidnight) {
    sale(at(0, 0, 0, 0), "BOLETA DE VENTA", {{"10.50", 2}, {"3.25", 1, "DEVUELTO"}});
    sale(at(0, 23, 59, 59), "BOLETA DE VENTA", {{"5.00", 1, "SIN STOCK"}});
    sale(at(1, 0, 0, 0), "BOLETA DE VENTA", {{"0.25", 4}});
    sale(at(1, 0, 0, 1), "BOLETA DE VENTA", {{"1000.00", 1}});
    sale(at(-1, 23, 59, 59), "BOLETA DE VENTA", {{"100.00", 1}});
    sale(at(0, 10, 0, 0), "BOLETA DE VENTA", {{"50.00", 1, "NO DESCARGADO"}}, "NO DESCARGADO");
    sale(at(0, 11, 0, 0), "NOTA DE VENTA", {{"70.00", 1}});
    sale(at(0, 12, 30, 0), "FACTURA", {{"7.5", 2}, {"0.1234", 1}});

    EXPECT_EQ(click("StaticText1"), QStringLiteral("30.25"));
    EXPECT_EQ(click("StaticText2"), QStringLiteral("15.1234"));
}

TEST_P(DayTotals, AFailedQueryKeepsThePreviousText) {
    sale(at(0, 9, 0, 0), "BOLETA DE VENTA", {{"2.50", 2}});
    ASSERT_EQ(click("StaticText1"), QStringLiteral("5"));
    db().exec(QStringLiteral("DROP TABLE DETAFAC"));
    EXPECT_EQ(click("StaticText1"), QStringLiteral("5"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

VELCARIS_DB_TEST_SUITE(DayTotals);

}  // namespace
