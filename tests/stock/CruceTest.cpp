#include "stock/StockTest.h"

#include "sales/UnitBusqueda.h"
#include "stock/UnitCruce.h"
#include "ui/Grid.h"

#include <QAction>
#include <QCheckBox>
#include <QTableView>

using namespace testsupport;
using ::stock::TFormCruce;

namespace {

// The tablets with stock 10 (unless asked otherwise) at a price of 2.50.
class Cruce : public stockwin::StockTest {
protected:
    TFormCruce* open(int user = 1, int stock = 10) {
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ?, PresVenta = ?"),
                  {stock, QVariant::fromValue(counter::soles("2.50"))});
        dm().reopenSessionDatasets();
        return openAs<TFormCruce>(user, "PMPresCruce");
    }
    void record(QWidget* w, const char* kind, const QString& units) {
        if (kind)
            child<QCheckBox>(w, kind)->setChecked(true);
        child<QLineEdit>(w, "EdUnidades")->setText(units);  // pasted: "-5" at once
        click(w, "SBGrabar");
    }
    int rows() { return counter::count(db(), "CRUCE"); }
    QStringList codes(QWidget* w) {
        auto* grid = child<QTableView>(w, "DBGrid1");
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, 1).data().toString();
        return out;
    }
    static void trigger(QWidget* w, const char* action) {
        w->findChild<QAction*>(QLatin1String(action))->trigger();
        settle();
    }
};

TEST_P(Cruce, ARecordsChecksDecideWhatIsRecorded) {
    const char* const kProduct = "PRODUCTO: AMOXIL 500 MG TAB";
    struct Case {
        const char* kind;
        const char* units;
        const char* status;  // in the status line; after a box, what its activation shows
        const char* box;
        int recorded;
    } cases[] = {
        {"CBFalta", "11", "INGRESO ERRONEO...", "", 0},
        {"CBFalta", "-5", kProduct, "INGRESE VALORES MAYORES QUE CERO...", 0},
        {"CBSobra", "0", kProduct, "INGRESE VALORES MAYORES A CERO...", 0},
        {nullptr, "3", "ELIGE SI EL PRODUCTO SOBRA O FALTA...", "", 0},
        {"CBSobra", "40000", kProduct, "CANTIDAD ERRONEA:\rNO SE ACEPTAN MAS DE 32767 UNIDADES", 0},
        {"CBFalta", "3", "CRUCE INGRESADO CORRECTAMENTE", "", 1},
        {"CBSobra", "900", "CRUCE INGRESADO CORRECTAMENTE", "", 2},
    };
    TFormCruce* w = open();
    for (const Case& c : cases) {
        messages.clear();
        click(w, "SBNuevo");
        record(w, c.kind, QString::fromLatin1(c.units));
        EXPECT_EQ(text(w, "ST1"), QString::fromLatin1(c.status)) << c.units;
        EXPECT_EQ(messages.last(), QString::fromLatin1(c.box)) << c.units;
        EXPECT_EQ(rows(), c.recorded) << c.units;
    }
    EXPECT_EQ(tablets().PresStockTotal, 10);
    EXPECT_EQ(child<QLabel>(sales::TFormBusqueda::of(ctx()), "DBText10")->text(),
              QStringLiteral("7 /3 FALTA"));
    EXPECT_EQ(codes(w), (QStringList{"900", "3"}));
}

TEST_P(Cruce, TheValuationIsTheAdministratorsAndGivesTheDifference) {
    struct Case {
        int user, shortage, surplus;
        const char* status;
    } cases[] = {
        {1, 12, 5, "TOTAL: 17.5 SOLES DE DESCUENTO"},  // 30 against 12.5
        {1, 4, 10, "TOTAL: 15 SOLES DE DESCUENTO"},    // 10 against 25
        {4, 4, 10, "LUZ NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION..."},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM CRUCE"));
        TFormCruce* w = open(c.user, 20);
        record(w, "CBFalta", QString::number(c.shortage));
        record(w, "CBSobra", QString::number(c.surplus));
        click(w, "SPCalculaMonto");
        EXPECT_EQ(text(w, "ST1"), QString::fromLatin1(c.status));
        EXPECT_EQ(child<QLabel>(w, "STFalta")->isVisible(), c.user == 1);
        EXPECT_EQ(rows(), 2);
        w->close();
        settle();
    }
}

TEST_P(Cruce, BorrarDeletesTheRowAskedAboutEvenWhenTheGridIsReadAgain) {
    TFormCruce* w = open(4);
    for (const char* units : {"1", "2"})
        record(w, "CBSobra", QString::fromLatin1(units));
    ui::Grid::selectRow(child<QTableView>(w, "DBGrid1"), 1);  // the older one: 1
    messages.answers = {true};
    messages.whileAsked = [&] {
        clock.set(clock.now().addSecs(60));
        db::proc::KZ_IngresoCruce(db(), {kAmoxilTab, 1, 7, db::proc::kSobra}, clock.now());
        QEvent on(QEvent::WindowActivate);
        QApplication::sendEvent(w, &on);
        ui::Grid::selectRow(child<QTableView>(w, "DBGrid1"), 0);  // the cursor moved meanwhile
    };
    trigger(w, "Borrar1");
    messages.whileAsked = nullptr;
    EXPECT_EQ(codes(w), (QStringList{"7", "2"}));
    EXPECT_EQ(text(w, "ST1"), QStringLiteral("CRUCE ELIMINADO CORRECTAMENTE"));
}

TEST_P(Cruce, EliminaDeletesEveryRowFirstRowFirst) {
    TFormCruce* w = open(4);
    for (const char* units : {"1", "2", "3"})
        record(w, "CBSobra", QString::fromLatin1(units));
    messages.answers = {true};
    click(w, "SBEliminaTodoCruce");
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(codes(w).isEmpty());
    EXPECT_EQ(text(w, "ST1"), QStringLiteral("CRUCE ELIMINADO CORRECTAMENTE"));
    EXPECT_EQ(dm().cruceText(), QString());
    messages.answers = {true};
    click(w, "SBEliminaTodoCruce");
    EXPECT_EQ(messages.last(), QStringLiteral("NO HAY ITEMS PARA ELIMINAR"));
}

VELCARIS_DB_TEST_SUITE(Cruce);

}  // namespace
