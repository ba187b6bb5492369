#include "support/CheckoutSeed.h"
#include "support/DbTest.h"
#include "support/Keys.h"
#include "support/WindowTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Summary.h"
#include "db/procedures/Transfer.h"
#include "sales/UnitTraspasoNotBol.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <QSet>
#include <algorithm>
#include <mutex>
#include <numeric>

using namespace db::proc;
using namespace testsupport;

namespace {

const QDate kToday(2026, 3, 7);
const QDate kYesterday = kToday.addDays(-1);

struct Header {
    QString FacEstado;
    QString FacTipoSunat;
    QVariant FacNumSunat;
    QString FacSerieSunat;
    int FacEstadoSunat = -1;
};

class TransferProcedures : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 100);
        seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        seedIgv(db(), 2, QStringLiteral("B002"), QStringLiteral("F002"));
    }

    // A discharged sale of the day with one line of `amount`, of the receipt type given.
    void discharged(int facNumero, const char* amount, const QString& type = kNotaDeVenta,
                    const QDate& day = kToday, const QVariant& number = {}) {
        seedSale(db(), facNumero, day, QStringLiteral("CAJA1-4"), {{101, 1, amount, kDescargado}});
        setSaleReceipt(db(), facNumero, day, kDescargado, type, number);
    }

    Header header(int facNumero, const QDate& day = kToday) {
        QSqlQuery q = db().exec(QStringLiteral("SELECT FacEstado, FacTipoSunat, FacNumSunat, "
                                               "FacSerieSunat, FacEstadoSunat FROM FACTURA "
                                               "WHERE FacNumero = ? AND FacFecha = ?"),
                                {facNumero, QDateTime(day, core::kDayFirstSecond)});
        EXPECT_TRUE(q.next()) << "no sale " << facNumero;
        return {db::text(q.value(0)), db::text(q.value(1)), q.value(2), db::text(q.value(3)),
                q.value(4).isNull() ? -1 : db::integer(q.value(4))};
    }

    // The boleta number the next boleta would get.
    int nextBoleta() {
        db::Db::Transaction t(db());
        return nextReceiptNumber(db(), kBoletaDeVenta);
    }

    CambioNotBolOut convert(int facNumero, const QDate& day = kToday) {
        return KZ_CambioNotBol(db(), {facNumero, day});
    }
};

TEST_P(TransferProcedures, TheListHoldsTheDaysDischargedNotesLargestFirst) {
    discharged(1, "30");
    discharged(2, "60");
    discharged(3, "45", kBoletaDeVenta, kToday, 1);
    discharged(4, "90", kNotaDeVenta, kYesterday);
    seedSale(db(), 5, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "99"}});
    addSaleLine(db(), 1, kToday, 2, {101, 2, "5", kDevuelto});

    const std::vector<SaleNote> notes = saleNotes(db(), kToday);

    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].FacNumero, 2);
    EXPECT_EQ(notes[0].SUMA_TOTAL, money("60"));
    EXPECT_EQ(notes[1].FacNumero, 1);
    EXPECT_EQ(notes[1].SUMA_TOTAL, money("30"));  // the returned line is left out
    EXPECT_EQ(notes[1].FacTipoSunat, kNotaDeVenta);
}

TEST_P(TransferProcedures, ANoteBecomesTheNextBoletaOfTheSeriesInForceWaitingForTheSummary) {
    discharged(1, "10", kBoletaDeVenta, kToday, 4);
    discharged(2, "20");

    const CambioNotBolOut out = convert(2);

    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.FacNumSunat, 5);
    EXPECT_EQ(out.pMensaje, QStringLiteral("VENTA 2 PASO A LA BOLETA B002-5"));
    const Header h = header(2);
    EXPECT_EQ(h.FacEstado, kDescargado);
    EXPECT_EQ(h.FacTipoSunat, kBoletaDeVenta);
    EXPECT_EQ(h.FacNumSunat.toInt(), 5);
    EXPECT_EQ(h.FacSerieSunat, QStringLiteral("B002"));
    EXPECT_EQ(h.FacEstadoSunat, 1);
    EXPECT_TRUE(saleNotes(db(), kToday).empty());
}

TEST_P(TransferProcedures, AConvertedNoteWaitsForTheDailySummaryWithItsTotal) {
    discharged(2, "20");
    convert(2);

    const std::vector<WaitingBoleta> waiting =
        waitingBoletas(db(), QDateTime(kToday, core::kDayLastSecond));

    ASSERT_EQ(waiting.size(), 1u);
    EXPECT_EQ(waiting[0].FacNumero, 2);
    EXPECT_EQ(waiting[0].FacNumSunat, 1);
    EXPECT_EQ(waiting[0].total, money("20"));
}

TEST_P(TransferProcedures, ABoletaAFacturaOrAPendingSaleIsRefusedUnchanged) {
    discharged(1, "10", kBoletaDeVenta, kToday, 3);
    discharged(2, "10", kFactura, kToday, 8);
    seedSale(db(), 3, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "10"}});

    for (int sale : {1, 2, 3}) {
        const Header before = header(sale);
        const CambioNotBolOut out = convert(sale);
        EXPECT_FALSE(out.changed) << sale;
        EXPECT_EQ(out.pMensaje,
                  QStringLiteral("VENTA %1 NO ES UNA NOTA DE VENTA DESCARGADA").arg(sale));
        const Header after = header(sale);
        EXPECT_EQ(after.FacTipoSunat, before.FacTipoSunat) << sale;
        EXPECT_EQ(after.FacNumSunat, before.FacNumSunat) << sale;
        EXPECT_EQ(after.FacEstadoSunat, before.FacEstadoSunat) << sale;
    }
    EXPECT_EQ(convert(9).pMensaje, QStringLiteral("VENTA 9 NO EXISTE"));
    EXPECT_EQ(nextBoleta(), 4);
}

TEST_P(TransferProcedures, OnlyTheSaleOfTheDayGivenIsConvertedBesideAnotherDaysOfTheSameNumber) {
    discharged(1, "50", kNotaDeVenta, kYesterday);
    discharged(1, "20");

    EXPECT_TRUE(convert(1).changed);

    EXPECT_EQ(header(1).FacTipoSunat, kBoletaDeVenta);
    EXPECT_EQ(header(1, kYesterday).FacTipoSunat, kNotaDeVenta);
    EXPECT_FALSE(convert(1, kToday.addDays(-2)).changed);
}

TEST_P(TransferProcedures, TwoAdministratorsConvertingOneNoteAtOnceConvertItOnce) {
    discharged(1, "20");
    std::mutex mutex;
    std::vector<CambioNotBolOut> outs;

    concurrently(2, [&](int, db::Db& connection) {
        const CambioNotBolOut out = KZ_CambioNotBol(connection, {1, kToday});
        const std::lock_guard<std::mutex> lock(mutex);
        outs.push_back(out);
    });

    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(std::count_if(outs.begin(), outs.end(), [](const auto& o) { return o.changed; }), 1);
    EXPECT_EQ(header(1).FacNumSunat.toInt(), 1);
    EXPECT_EQ(nextBoleta(), 2);
}

TEST_P(TransferProcedures, ConversionsBesideBoletaDischargesGiveUniqueNumbersWithoutGaps) {
    constexpr int kNotes = 6;
    constexpr int kSales = 6;
    for (int n = 1; n <= kNotes; ++n)
        discharged(n, "10");
    for (int s = 1; s <= kSales; ++s)
        seedSale(db(), 100 + s, kToday, QStringLiteral("CAJA1-5"), {{101, 1, "1"}});

    concurrently(4, [&](int i, db::Db& connection) {
        if (i == 0) {
            for (int n = 1; n <= kNotes; ++n)
                ASSERT_TRUE(KZ_CambioNotBol(connection, {n, kToday}).changed);
            return;
        }
        for (int s = i; s <= kSales; s += 3)
            DischargeSale(connection,
                          {100 + s, core::saleDay(kToday), 7, kBoletaDeVenta, QDateTime()});
    });

    QSqlQuery q = db().exec(QStringLiteral("SELECT FacNumSunat FROM FACTURA WHERE FacTipoSunat = ? "
                                           "ORDER BY FacNumSunat"),
                            {kBoletaDeVenta});
    std::vector<int> numbers;
    while (q.next())
        numbers.push_back(db::integer(q.value(0)));
    std::vector<int> expected(kNotes + kSales);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(numbers, expected);
}

std::vector<SaleNote> notes(std::initializer_list<const char*> totals) {
    std::vector<SaleNote> out;
    int number = 0;
    for (const char* t : totals)
        out.push_back({++number, money(t), kNotaDeVenta});
    return out;
}

TEST(TransferRule, NotesAreTakenLargestFirstWhileTheRunningSumStaysWithinTheAmount) {
    EXPECT_EQ(sales::notesToConvert(notes({"60", "50", "30"}), money("100")), std::vector<int>{1});
    EXPECT_EQ(sales::notesToConvert(notes({"40", "30"}), money("100")), (std::vector<int>{1, 2}));
    EXPECT_TRUE(sales::notesToConvert(notes({"60", "50"}), money("40")).empty());
    EXPECT_EQ(sales::notesToConvert(notes({"150", "60", "40"}), money("100")),
              (std::vector<int>{2, 3}));
    EXPECT_EQ(sales::notesToConvert(notes({"33.34", "33.33", "33.33"}), money("100")),
              (std::vector<int>{1, 2, 3}));
}

class TransferWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 100);
        seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
    }
    void TearDown() override {
        delete form.data();
        WindowTest::TearDown();
    }

    void note(int facNumero, const char* amount, const QDate& day) {
        seedSale(db(), facNumero, day, QStringLiteral("CAJA1-4"), {{101, 1, amount, kDescargado}});
        setSaleReceipt(db(), facNumero, day, kDescargado, kNotaDeVenta);
    }
    void show() {
        form = sales::TFormTraspasoNotBol::showFor(ctx());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    int listed() { return form->findChild<QTableView*>("DBGrid1")->model()->rowCount(); }
    void transfer(const QString& amount) {
        auto* box = form->findChild<QLineEdit*>("EdMonto");
        box->clear();
        typeText(box, amount);
        form->findChild<QPushButton*>("SpeedButton1")->click();
    }
    QString type(int facNumero, const QDate& day) { return saleReceipt(db(), facNumero, day).type; }

    QPointer<sales::TFormTraspasoNotBol> form;
};

TEST_P(TransferWindow, AnAmountOf100ConvertsOnlyThe60NoteAndTellsItsOwnMessage) {
    const QDate today = clock.today();
    note(1, "60", today);
    note(2, "50", today);
    note(3, "30", today);
    show();
    EXPECT_EQ(listed(), 3);

    transfer(QStringLiteral("100"));

    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("VENTA 1 PASO A LA BOLETA B001-1")});
    EXPECT_EQ(type(1, today), kBoletaDeVenta);
    EXPECT_EQ(type(2, today), kNotaDeVenta);
    EXPECT_EQ(listed(), 2);

    transfer(QStringLiteral("20,5"));
    EXPECT_EQ(messages.shown.last(), QString());  // none converted: no earlier message
    EXPECT_EQ(listed(), 2);
}

TEST_P(TransferWindow, YesterdaysNoteIsNeverListedNorConvertedBesideTodaysOfTheSameNumber) {
    const QDate today = clock.today();
    note(1, "80", today.addDays(-1));
    note(1, "20", today);
    show();
    EXPECT_EQ(listed(), 1);

    transfer(QStringLiteral("100"));

    EXPECT_EQ(type(1, today), kBoletaDeVenta);
    EXPECT_EQ(type(1, today.addDays(-1)), kNotaDeVenta);
}

TEST_P(TransferWindow, TheOneWindowReadsItsListAgainEachTimeItIsShown) {
    show();
    EXPECT_EQ(listed(), 0);
    form->hide();
    note(4, "10", clock.today());
    auto* again = sales::TFormTraspasoNotBol::showFor(ctx());
    EXPECT_EQ(again, form.data());
    EXPECT_EQ(listed(), 1);
}

TEST_P(TransferWindow, TheAmountTakesDigitsAndOnePointAndEmptyDoesNothing) {
    note(1, "10", clock.today());
    show();
    auto* box = form->findChild<QLineEdit*>("EdMonto");
    typeText(box, QStringLiteral("12,5"));
    EXPECT_EQ(box->text(), QStringLiteral("12.5"));
    typeText(box, QStringLiteral("."));
    EXPECT_EQ(box->text(), QString());
    form->findChild<QPushButton*>("SpeedButton1")->click();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(type(1, clock.today()), kNotaDeVenta);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(TransferProcedures);
VELCARIS_DB_TEST_SUITE(TransferWindow);
