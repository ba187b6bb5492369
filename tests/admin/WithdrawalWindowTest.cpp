#include "admin/AdminTest.h"

#include "admin/UnitFormDescargarMonto.h"
#include "admin/WithdrawalReport.h"
#include "printing/Layout.h"
#include "printing/Paint.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

using namespace testsupport;
using ::admin::TFormDescargarMonto;

namespace {

class WithdrawalWindow : public adminwin::AdminTest {
protected:
    void SetUp() override {
        AdminTest::SetUp();
        if (IsSkipped())
            return;
        db().exec(QStringLiteral("UPDATE USUARIO SET UsuNombres = ?, UsuApellidos = ? WHERE "
                                 "UsuCod = 1"),
                  {QStringLiteral("JORGE"), QStringLiteral("PAREDES LUNA")});
    }
    TFormDescargarMonto* open(int user) { return openAs<TFormDescargarMonto>(user, "Descargar2"); }
    void record(TFormDescargarMonto* w, const QString& amount, const QString& reason) {
        typeInto(w, "EdCantidad", amount);
        typeMemo(w, "Memo1", reason);
        click(w, "BtnGrabar");
    }
    QString cell(TFormDescargarMonto* w, int row, int column) {
        QAbstractItemModel* m = child<QTableView>(w, "DBGrid1")->model();
        return m->data(m->index(row, column)).toString();
    }
    int recorded() { return counter::count(db(), QStringLiteral("EGRESO")); }
};

VELCARIS_DB_TEST_SUITE(WithdrawalWindow);

TEST_P(WithdrawalWindow, AnAdministratorsWithdrawalIsListedFirstAndTotalled) {
    TFormDescargarMonto* w = open(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(label(w, "STMonto"), QStringLiteral("0"));
    record(w, QStringLiteral("3"), QStringLiteral("TAXI"));
    record(w, QStringLiteral("12.50"), QStringLiteral("AGUA"));
    EXPECT_EQ(label(w, "STMensaje"), QStringLiteral("EGRESO REGISTRADO..."));
    EXPECT_EQ(cell(w, 0, 2), QStringLiteral("12.50"));
    EXPECT_EQ(cell(w, 0, 3), QStringLiteral("AGUA"));
    EXPECT_EQ(label(w, "STMonto"), QStringLiteral("15.5"));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT MIN(UsuCod) FROM EGRESO"))), 1);
    EXPECT_TRUE(messages.shown.isEmpty());
}

// The amount must be above 0, at most 99,999.99 and one number; a comma empties the box.
TEST_P(WithdrawalWindow, OnlyAValidAmountIsRecorded) {
    TFormDescargarMonto* w = open(1);
    struct Case {
        const char* typed;
        const char* refusal;
    };
    for (const Case& c :
         {Case{"0", "INGRESE UN MONTO VALIDO"}, Case{"1.2.5", "INGRESE UN MONTO VALIDO"},
          Case{"100000", "INGRESE UN MONTO VALIDO"}, Case{"12,", "INGRESE EL MONTO A DESCARGAR"},
          Case{"99999.99", nullptr}}) {
        messages.clear();
        const int before = recorded();
        record(w, QString::fromLatin1(c.typed), QStringLiteral("CAJA CHICA"));
        EXPECT_EQ(messages.last(), QString::fromLatin1(c.refusal)) << c.typed;
        EXPECT_EQ(recorded(), before + (c.refusal ? 0 : 1)) << c.typed;
    }
}

// The cash has left the till: a withdrawal that could not be recorded says so.
TEST_P(WithdrawalWindow, AWithdrawalThatCannotBeRecordedSaysSo) {
    TFormDescargarMonto* w = open(1);
    db().exec(QStringLiteral("DROP TABLE EGRESO"));
    record(w, QStringLiteral("12.50"), QStringLiteral("AGUA"));
    EXPECT_EQ(label(w, "STMensaje"), QStringLiteral("NO SE PUDO REGISTRAR EL EGRESO"));
}

TEST_P(WithdrawalWindow, ACashierIsRefused) {
    TFormDescargarMonto* w = open(2);
    record(w, QStringLiteral("12.50"), QStringLiteral("AGUA"));
    EXPECT_EQ(messages.last(),
              QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION"));
    EXPECT_EQ(recorded(), 0);
}

// The printed list: the total on top and each withdrawal with its user's full name.
TEST_P(WithdrawalWindow, ThePrintedListNamesTheUserOfEachWithdrawal) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    TFormDescargarMonto* w = open(1);
    record(w, QStringLiteral("12.50"), QStringLiteral("PAGO AGUA"));
    const auto rows = db::proc::egresos(db(), clock.now().addDays(-1), clock.now().addDays(1));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("egresos.pdf"));
    printing::writePdf(
        printing::layout(::admin::withdrawalReport(rows, rows.front().EgreMonto), clock.now()),
        pdf);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(page.contains(QStringLiteral("MONTO ACUMULADO:12.5"))) << page.toStdString();
    EXPECT_TRUE(
        page.contains(QStringLiteral("1 JORGE, PAREDES LUNA 02/03/2026 9:00:00 12.50 PAGO AGUA")))
        << page.toStdString();
}

}  // namespace
