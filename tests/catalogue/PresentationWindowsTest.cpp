#include "catalogue/CatalogueTest.h"

#include "catalogue/UnitDigemid.h"
#include "catalogue/UnitEdicionPresentacion.h"
#include "catalogue/UnitFoto.h"
#include "catalogue/UnitPresentacion.h"
#include "db/procedures/SessionData.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace testsupport;
using ::catalogue::TFormDigemid;
using ::catalogue::TFormFoto;
using ::catalogue::TFormPresentacion;
using ::catalogue::TFrmEdicionPresentacion;

namespace {

const QString kRefused = QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION");
const QString kPriceRefused = QStringLiteral(
    "INGRESO ERRONEO\rPRECIO DE COSTO NUNCA\rPUEDE SER MAYOR QUE\rEL PRECIO DE VENTA...");
const QString kChooseLine =
    QStringLiteral("DEBE ELEGIR SI EL PRODUCTO ES GENERICO O COMERCIAL\rINTENTELO NUEVAMENTE...");

class PresentationWindows : public testsupport::catalog::CatalogueTest {
protected:
    void setIgv(double rate) {
        db().exec(QStringLiteral("INSERT INTO IGV (IgvCod, IgvValor) VALUES (1, ?)"), {rate});
    }
    TFormPresentacion* openEntry(const QString& product = QStringLiteral("AMOXIL")) {
        standOn(product);
        EXPECT_TRUE(run("PMProdPresentacion"));
        return shown<TFormPresentacion>();
    }
    TFrmEdicionPresentacion* openEdit(const char* control, int presentation) {
        choose(QStringLiteral("AMOXIL"), presentation);
        messages.clear();
        EXPECT_TRUE(run(control));
        return shown<TFrmEdicionPresentacion>();
    }
    QString text(QWidget* form, const char* box) { return child<QLineEdit>(form, box)->text(); }
    void set(QWidget* form, const char* box, const QString& value) {
        child<QLineEdit>(form, box)->setText(value);
    }
    void enter(QWidget* form, const char* box) {
        pressKey(child<QLineEdit>(form, box), Qt::Key_Return);
        settle();
    }
    void choice(QWidget* form, const char* box, const QString& value) {
        child<QComboBox>(form, box)->setCurrentText(value);
    }
    // A valid entry: type, cost 10, sale 12, a generic line.
    void fillEntry(TFormPresentacion* form, const QString& tipo) {
        set(form, "PresTipo", tipo);
        set(form, "Pc", QStringLiteral("10"));
        set(form, "Pv", QStringLiteral("12"));
        choice(form, "CB1", QStringLiteral("GENERICO"));
    }
    int presentations() { return counter::count(db(), QStringLiteral("PRESENTACION")); }
    int logRows() { return counter::count(db(), QStringLiteral("SEGUIMIENTO_PRECIO")); }
    QString column(int code, const char* name) {
        return db::text(db().scalar(QStringLiteral("SELECT %1 FROM PRESENTACION "
                                                   "WHERE CodPresentacion = ?")
                                        .arg(QString::fromLatin1(name)),
                                    {code}));
    }
    QString mensaje(QWidget* form) { return child<QLabel>(form, "Mensaje")->text(); }
};

// ---- the price aids ----

TEST_P(PresentationWindows, TheTaxAidAddsTheRateOfTheNewestIgvRowAtEachEnter) {
    setIgv(18);
    logInAs(1);
    TFormPresentacion* form = openEntry();
    ASSERT_NE(form, nullptr);
    set(form, "Pc", QStringLiteral("10"));
    enter(form, "Pc");
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("10"));  // "CON  I.G.V." checked
    child<QRadioButton>(form, "Mas")->setChecked(true);
    enter(form, "Pc");
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("11.8"));
    auto* pc = child<QLineEdit>(form, "Pc");
    EXPECT_TRUE(pc->font().bold());
    EXPECT_EQ(pc->palette().color(QPalette::Text), QColor(Qt::red));
    enter(form, "Pc");
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("13.924"));
}

TEST_P(PresentationWindows, WithoutAnIgvRowTheTaxAidAsksForOneAndLeavesTheCost) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    child<QRadioButton>(form, "Mas")->setChecked(true);
    set(form, "Pc", QStringLiteral("10"));
    enter(form, "Pc");
    EXPECT_EQ(
        messages.shown,
        QStringList{QStringLiteral("PRIMERO DEBERIA INGRESAR\rEL IGV EN LA BASE DE DATOS...")});
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("10"));
}

TEST_P(PresentationWindows, TheEntryWindowsCostProfitAndSaleAids) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    set(form, "Pc", QStringLiteral("12.50"));
    set(form, "Can", QStringLiteral("3"));
    enter(form, "Can");
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("4.17"));

    set(form, "Pc", QStringLiteral("10"));
    set(form, "Pg", QStringLiteral("25"));
    set(form, "Pv", QString());
    enter(form, "Pg");
    EXPECT_EQ(text(form, "Pv"), QStringLiteral("12.5"));

    set(form, "Pc", QStringLiteral("12"));
    set(form, "Pv", QStringLiteral("15"));
    enter(form, "Pv");
    EXPECT_EQ(text(form, "Pg"), QStringLiteral("25"));

    set(form, "Pc", QStringLiteral("12,5"));
    enter(form, "Pc");
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("12.5"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(PresentationWindows, TheCostAidWorksTheCostOutFromTheSalePriceAndTheProfit) {
    logInAs(1);
    const struct {
        const char* window;
        std::function<QWidget*()> open;
        const char* cost;
        const char* profit;
        const char* sale;
    } cases[] = {
        {"entry", [&] { return openEntry(); }, "Pc", "Pg", "Pv"},
        {"edit", [&] { return openEdit("PMPresEditar", kAmoxilTab); }, "PC", "PG", "PV"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        QWidget* form = c.open();
        ASSERT_NE(form, nullptr);
        set(form, c.cost, QString());
        set(form, c.profit, QStringLiteral("25"));
        set(form, c.sale, QStringLiteral("12.5"));
        enter(form, c.sale);
        EXPECT_EQ(text(form, c.cost), QStringLiteral("10"));
        form->close();
        settle();
    }
}

TEST_P(PresentationWindows, ADivisorOfZeroStopsNoAid) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    set(form, "Pc", QStringLiteral("0"));
    set(form, "Pg", QStringLiteral("30"));
    set(form, "Pv", QStringLiteral("5"));
    enter(form, "Pv");
    EXPECT_EQ(text(form, "Pg"), QString());
    set(form, "Pc", QStringLiteral("9"));
    set(form, "Can", QStringLiteral("0"));
    enter(form, "Can");
    EXPECT_EQ(text(form, "Pc"), QStringLiteral("9"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(PresentationWindows, NumberBoxesRefuseOtherCharactersAndTheTypeAidCapitalisesAToW) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    set(form, "Pc", QStringLiteral("1A"));
    EXPECT_EQ(text(form, "Pc"), QString());
    set(form, "EdMinimo", QStringLiteral("1.5"));
    EXPECT_EQ(text(form, "EdMinimo"), QString());
    EXPECT_EQ(child<QLineEdit>(form, "EdCodDigemid")->maxLength(), 9);
    auto* tipo = child<QLineEdit>(form, "PresTipo");
    tipo->clear();
    typeText(tipo, QStringLiteral("jarabe x y wa"));
    EXPECT_EQ(tipo->text(), QStringLiteral("Jarabe x y Wa"));
}

TEST_P(PresentationWindows, EnterInTheLineBoxGoesToGrabarOnlyForALine) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    auto* line = child<QComboBox>(form, "CB1");
    line->setFocus();
    pressKey(line->lineEdit(), Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), child<QPushButton>(form, "Grabar"));
    line->setCurrentText(QStringLiteral("GENERICO"));
    pressKey(line->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(form, "Grabar"));
}

TEST_P(PresentationWindows, EscapeClosesTheEditWindowFromItsLineBox) {
    logInAs(1);
    TFrmEdicionPresentacion* form = openEdit("PMPresEditar", kAmoxilTab);
    auto* line = child<QComboBox>(form, "Cb1");
    line->setFocus();
    pressKey(line->lineEdit(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(shown<TFrmEdicionPresentacion>(), nullptr);
}

// ---- the entry's save ----

TEST_P(PresentationWindows, ASaveStoresTheNormalisedTypeAndMakesTheNewPresentationCurrent) {
    logInAs(4);
    TFormPresentacion* form = openEntry();
    fillEntry(form, QStringLiteral("jarabe  de fresa x 120 ml (inf)"));
    set(form, "PresPosologia", QStringLiteral("CADA 8 HORAS"));
    set(form, "EDPresUbi", QStringLiteral("B2"));
    set(form, "EdMinimo", QStringLiteral("32767"));
    set(form, "EdCodDigemid", QStringLiteral("123456789"));
    click(form, "Grabar");
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(text(form, "PresTipo"), QStringLiteral("jarabe De Fresa x 120 Ml (INF)"));
    EXPECT_EQ(mensaje(form), QStringLiteral("PRESENTACION INGRESADA CON CODIGO 21"));
    EXPECT_EQ(column(21, "PresTipo"), QStringLiteral("jarabe De Fresa x 120 Ml (INF)"));
    EXPECT_EQ(column(21, "ProdLabCod"), QStringLiteral("1"));
    EXPECT_EQ(column(21, "PresPromUni"), QStringLiteral("32767"));
    EXPECT_EQ(column(21, "PresCodDigemid"), QStringLiteral("123456789"));
    EXPECT_EQ(column(21, "PresUbicacion"), QStringLiteral("B2"));
    EXPECT_EQ(child<QComboBox>(form, "CB1")->currentText(), QStringLiteral("LINEA COMERCIAL"));
    ASSERT_NE(dm().currentPresentation(), nullptr);
    EXPECT_EQ(dm().currentPresentation()->CodPresentacion, 21);
}

TEST_P(PresentationWindows, AnEqualPriceIsRefusedAndNothingIsSaved) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    fillEntry(form, QStringLiteral("TAB"));
    set(form, "Pv", QStringLiteral("10,0"));
    click(form, "Grabar");
    EXPECT_EQ(messages.shown, QStringList{kPriceRefused});
    EXPECT_EQ(mensaje(form), QStringLiteral("NO SE LLEVO A CABO EL INGRESO, ERROR DEL USUARIO"));
    EXPECT_EQ(text(form, "Pv"), QStringLiteral("10.0"));
    EXPECT_EQ(presentations(), 3);
}

TEST_P(PresentationWindows, TheLineIsCheckedBeforeTheUnitAndTheRoleBeforeBoth) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    fillEntry(form, QStringLiteral("TAB"));
    choice(form, "CB1", QStringLiteral("LINEA COMERCIAL"));
    choice(form, "CBUniTodo", QStringLiteral("SOBRE"));
    click(form, "Grabar");
    EXPECT_EQ(messages.shown, QStringList{kChooseLine});
    choice(form, "CB1", QStringLiteral("COMERCIAL"));
    messages.clear();
    click(form, "Grabar");
    EXPECT_EQ(messages.shown,
              (QStringList{QStringLiteral(
                  "DEBE ELEGIR ENTRE UNIDADES O CAJA...\rINTENTELO NUEVAMENTE...")}));
    EXPECT_EQ(presentations(), 3);
}

TEST_P(PresentationWindows, ACashierOpensTheEntryButEverySaveIsRefused) {
    logInAs(2);
    TFormPresentacion* form = openEntry();
    ASSERT_NE(form, nullptr);
    fillEntry(form, QStringLiteral("TAB"));
    click(form, "Grabar");
    EXPECT_EQ(messages.shown, QStringList{dm().sessionName().trimmed() + kRefused});
    EXPECT_EQ(presentations(), 3);
}

TEST_P(PresentationWindows, AnIntegerBeyondItsColumnIsRefusedWithTheWindowsErrorText) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    fillEntry(form, QStringLiteral("TAB"));
    set(form, "EdNumCaja", QStringLiteral("40000"));
    click(form, "Grabar");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("OCURRE UN ERROR EN EL INGRESO...")});
    EXPECT_EQ(presentations(), 3);
    EXPECT_EQ(text(form, "PresTipo"), QStringLiteral("TAB"));
}

TEST_P(PresentationWindows, SalirHandsTheFocusBackToTheProductGrid) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    click(form, "Salir");
    EXPECT_EQ(shown<TFormPresentacion>(), nullptr);
    EXPECT_EQ(screen->focusWidget(), child<QTableView>(screen, "DBGrid1"));
}

// The window loses the activation and gets it back, as a window manager does it.
void leaveAndReturn(QWidget* window) {
    QEvent off(QEvent::WindowDeactivate);
    QApplication::sendEvent(window, &off);
    QEvent on(QEvent::WindowActivate);
    QApplication::sendEvent(window, &on);
}

TEST_P(PresentationWindows, OnlyReturningFromAnotherWindowEmptiesTheQuantityAndLocation) {
    logInAs(1);
    TFormPresentacion* form = openEntry();
    fillEntry(form, QStringLiteral("TAB"));
    choice(form, "CB1", QStringLiteral("LINEA COMERCIAL"));
    set(form, "Can", QStringLiteral("30"));
    set(form, "EDPresUbi", QStringLiteral("B2"));
    messages.whileShown = [form] { leaveAndReturn(form); };
    click(form, "Grabar");  // refused for its line, in a box of the window's own
    ASSERT_EQ(messages.shown, QStringList{kChooseLine});
    EXPECT_EQ(text(form, "Can"), QStringLiteral("30"));
    EXPECT_EQ(text(form, "EDPresUbi"), QStringLiteral("B2"));
    messages.whileShown = nullptr;
    leaveAndReturn(form);
    EXPECT_EQ(text(form, "Can"), QString());
    EXPECT_EQ(text(form, "EDPresUbi"), QString());
    EXPECT_EQ(child<QLabel>(form, "PROD")->text(), QStringLiteral("AMOXIL"));
}

// ---- the edit ----

TEST_P(PresentationWindows, TheOpenersFillEveryBoxTheSaveSends) {
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresIndicaPosologia = 'CADA 8 HORAS', "
                       "PresPromUni = 6, PresGenCom = 'GENERICO' WHERE CodPresentacion = 10"));
    dm().reopenSessionDatasets();
    logInAs(1);
    TFrmEdicionPresentacion* form = openEdit("Presentacion1", kAmoxilTab);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(text(form, "PC"), QStringLiteral("0.50"));
    EXPECT_EQ(text(form, "PV"), QStringLiteral("1.20"));
    EXPECT_EQ(text(form, "PG"), QStringLiteral("140.00"));
    EXPECT_EQ(text(form, "EdPm"), QStringLiteral("6"));
    EXPECT_EQ(child<QPlainTextEdit>(form, "EdPosologia")->toPlainText(),
              QStringLiteral("CADA 8 HORAS"));
    EXPECT_EQ(child<QComboBox>(form, "CbEstado")->currentText(), QStringLiteral("CONTINUO"));
    set(form, "EdPresUbi", QStringLiteral("Z9"));
    click(form, "Editar");
    EXPECT_EQ(column(10, "PresIndicaPosologia"), QStringLiteral("CADA 8 HORAS"));
    EXPECT_EQ(column(10, "PresPromUni"), QStringLiteral("6"));
    EXPECT_EQ(column(10, "PresUbicacion"), QStringLiteral("Z9"));
    EXPECT_EQ(logRows(), 0);  // only the location changed
    TearDownWindows();

    form = openEdit("PMPresEditar", kAmoxilTab);
    EXPECT_EQ(text(form, "PC"), QStringLiteral("0.5"));
    EXPECT_EQ(text(form, "PV"), QStringLiteral("1.2"));
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("AMOXIL  GENFAR  AMOXIL 500")));
}

TEST_P(PresentationWindows, ASalePriceChangeIsLoggedWithTheSessionUser) {
    logInAs(4);
    TFrmEdicionPresentacion* form = openEdit("PMPresEditar", kAmoxilTab);
    choice(form, "Cb1", QStringLiteral("COMERCIAL"));
    set(form, "PV", QStringLiteral("1.30"));
    click(form, "Editar");
    EXPECT_EQ(mensaje(form), QStringLiteral("PRESENTACION EDITADA"));
    ASSERT_EQ(logRows(), 1);
    QSqlQuery q = db().exec(QStringLiteral(
        "SELECT UsuCod, SegAnPc, SegNewPc, SegAnPv, SegNewPv FROM SEGUIMIENTO_PRECIO"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::integer(q.value(0)), 4);
    EXPECT_EQ(db::money(q.value(1)), db::money(q.value(2)));
    EXPECT_EQ(db::money(q.value(3)).raw(), 12000);
    EXPECT_EQ(db::money(q.value(4)).raw(), 13000);
    EXPECT_EQ(text(form, "PG"), QStringLiteral("160.00"));
    EXPECT_EQ(child<QComboBox>(form, "CbEstado")->currentText(), QStringLiteral("ESTADO"));

    messages.clear();
    click(form, "Editar");  // "LINEA" is no line
    EXPECT_EQ(messages.shown, QStringList{kChooseLine});
    EXPECT_EQ(logRows(), 1);
}

TEST_P(PresentationWindows, TheEditChangesThePresentationItWasOpenedOn) {
    logInAs(1);
    TFrmEdicionPresentacion* form = openEdit("PMPresEditar", kAmoxilTab);
    choose(QStringLiteral("AMOXIL"), kAmoxilSusp);
    choice(form, "Cb1", QStringLiteral("COMERCIAL"));
    set(form, "EditPres", QStringLiteral("AMOXIL 500 MG CAPS"));
    click(form, "Editar");
    EXPECT_EQ(column(kAmoxilTab, "PresTipo"), QStringLiteral("AMOXIL 500 MG CAPS"));
    EXPECT_EQ(column(kAmoxilSusp, "PresTipo"), QStringLiteral("AMOXIL SUSP 250"));
    EXPECT_EQ(form->presentationCode(), kAmoxilTab);
}

TEST_P(PresentationWindows, ADiscontinuedPresentationSavedUntouchedBecomesContinued) {
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresEstado = 'DISCONTINUO', "
                       "PresGenCom = 'GENERICO' WHERE CodPresentacion = 10"));
    dm().reopenSessionDatasets();
    logInAs(1);
    TFrmEdicionPresentacion* form = openEdit("PMPresEditar", kAmoxilTab);
    click(form, "Editar");
    EXPECT_EQ(column(10, "PresEstado"), QStringLiteral("CONTINUO"));
}

TEST_P(PresentationWindows, ACashiersEditIsRefusedAndTheWindowCloses) {
    logInAs(2);
    TFrmEdicionPresentacion* form = openEdit("PMPresEditar", kAmoxilTab);
    ASSERT_NE(form, nullptr);
    choice(form, "Cb1", QStringLiteral("COMERCIAL"));
    set(form, "PV", QStringLiteral("9"));
    click(form, "Editar");
    EXPECT_EQ(messages.shown, QStringList{dm().sessionName().trimmed() + kRefused});
    EXPECT_EQ(shown<TFrmEdicionPresentacion>(), nullptr);
    EXPECT_EQ(db::money(db().scalar(QStringLiteral(
                            "SELECT PresVenta FROM PRESENTACION WHERE CodPresentacion = 10")))
                  .raw(),
              12000);
    EXPECT_EQ(logRows(), 0);
}

TEST_P(PresentationWindows, TheEditWindowsAidsAndItsEmptyPrices) {
    logInAs(1);
    TFrmEdicionPresentacion* form = openEdit("PMPresEditar", kAmoxilTab);
    set(form, "PG", QString());
    set(form, "PC", QStringLiteral("8"));
    set(form, "PV", QStringLiteral("10"));
    enter(form, "PV");
    EXPECT_EQ(text(form, "PG"), QStringLiteral("25.00"));

    choice(form, "Cb1", QStringLiteral("COMERCIAL"));
    for (const char* box : {"PC", "PG", "PV"})
        set(form, box, QString());
    click(form, "Editar");
    EXPECT_EQ(messages.shown, QStringList{kPriceRefused});
    EXPECT_EQ(text(form, "PC"), QStringLiteral("0.00"));
    EXPECT_EQ(logRows(), 0);
}

TEST_P(PresentationWindows, WithoutAPresentationTheEditSaysSoAndStaysEmpty) {
    logInAs(1);
    search(QStringLiteral("AMBROXOL"));
    messages.clear();
    run("PMPresEditar");
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("NO HAY PRESENTACION ALGUNA QUE EDITAR...")});
    auto* form = shown<TFrmEdicionPresentacion>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(text(form, "EditPres"), QString());
    EXPECT_EQ(form->presentationCode(), 0);
}

TEST_P(PresentationWindows, KeyZeroInThePresentationGridOpensTheEditUnderItsRule) {
    logInAs(3);
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    auto* grid = child<QTableView>(screen, "cg");
    grid->setFocus();
    messages.clear();
    pressKey(grid, Qt::Key_0);
    settle();
    EXPECT_EQ(shown<TFrmEdicionPresentacion>(), nullptr);
    EXPECT_EQ(messages.shown.size(), 1);
    TearDownWindows();
    logInAs(1);
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    grid->setFocus();
    pressKey(grid, Qt::Key_0);
    settle();
    ASSERT_NE(shown<TFrmEdicionPresentacion>(), nullptr);
    EXPECT_EQ(shown<TFrmEdicionPresentacion>()->presentationCode(), kAmoxilTab);
}

// ---- the openers ----

TEST_P(PresentationWindows, EveryOpenerForEveryRole) {
    const QString authorised = QStringLiteral(" NO TIENES LA AUTORIZACION PARA\r");
    struct Case {
        const char* control;
        const char* window;
        const char* refusal;  // for the technician; nullptr: silent
        bool cashierPasses;
    };
    const Case cases[] = {
        {"Contents1", "entry", "REALIZAR ESTA OPERACION DE INGRESO...", false},
        {"SBPresentacion", "entry", nullptr, false},
        {"PMProdPresentacion", "entry", "REALIZAR INGRESOS", true},
        {"PMPresPresentacion", "entry", "REALIZAR INGRESOS", true},
        {"Presentacion1", "edit", "REALIZAR ESTA OPERACION DE INGRESO...", false},
        {"PMPresEditar", "edit", "REALIZAR ESTA OPERACION DE EDICION", true},
        {"PMPresFoto", "photo", "REALIZAR ESTA OPERACION DE EDICION", true},
        {"PMPresDigemid", "code", "", true},
    };
    for (const int user : {1, 4, 2, 3}) {
        logInAs(user);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.control) + " user " + std::to_string(user));
            choose(QStringLiteral("AMOXIL"), kAmoxilTab);
            messages.clear();
            run(c.control);
            const QString window = shown<TFormPresentacion>()         ? QStringLiteral("entry")
                                   : shown<TFrmEdicionPresentacion>() ? QStringLiteral("edit")
                                   : shown<TFormFoto>()               ? QStringLiteral("photo")
                                   : shown<TFormDigemid>()            ? QStringLiteral("code")
                                                                      : QString();
            const bool passes = user == 1 || user == 4 || (user == 2 && c.cashierPasses) ||
                                (c.refusal && !*c.refusal);
            if (passes) {
                EXPECT_EQ(window, QString::fromLatin1(c.window));
                EXPECT_TRUE(messages.shown.isEmpty());
            } else {
                EXPECT_EQ(window, QString());
                EXPECT_EQ(messages.shown,
                          c.refusal ? QStringList{dm().sessionName().trimmed() + authorised +
                                                  QString::fromLatin1(c.refusal)}
                                    : QStringList{});
            }
            TearDownWindows();
        }
    }
}

TEST_P(PresentationWindows, TheToolbarsEntryShowsTheLinksNamesWithTheFocusInTheType) {
    logInAs(1);
    standOn(QStringLiteral("AMOXIL"));
    run("SBPresentacion");
    auto* form = shown<TFormPresentacion>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(child<QLabel>(form, "PROD")->text(), QStringLiteral("AMOXIL"));
    EXPECT_EQ(child<QLabel>(form, "LAB")->text(), QStringLiteral("GENFAR"));
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(form, "PresTipo"));
}

// ---- photo and code ----

class PhotoAndCode : public PresentationWindows {
protected:
    QString picture(int width, int height) {
        const QString path = folder.filePath(QStringLiteral("p%1x%2.png").arg(width).arg(height));
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    TFormFoto* openPhoto(int presentation) {
        choose(QStringLiteral("AMOXIL"), presentation);
        messages.clear();
        run("PMPresFoto");
        return shown<TFormFoto>();
    }
    QImage stored(int code) { return QImage::fromData(db::proc::presentationPhoto(db(), code)); }
    QTemporaryDir folder;
};

TEST_P(PhotoAndCode, ACancelledChooserChangesNothingAndShowsNothing) {
    logInAs(1);
    TFormFoto* form = openPhoto(kAmoxilTab);
    ASSERT_NE(form, nullptr);
    click(form, "AsignarFoto");
    EXPECT_EQ(platform.pictureChoices, 1);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(stored(kAmoxilTab).isNull());
    EXPECT_NE(shown<TFormFoto>(), nullptr);
}

TEST_P(PhotoAndCode, AFileThatIsNoPictureIsRefused) {
    logInAs(1);
    TFormFoto* form = openPhoto(kAmoxilTab);
    platform.pictureFile = folder.filePath(QStringLiteral("nota.png"));
    QFile note(platform.pictureFile);
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("no soy una imagen");
    note.close();
    click(form, "AsignarFoto");
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("EL ARCHIVO ELEGIDO NO ES UNA IMAGEN...")});
    EXPECT_TRUE(db::proc::presentationPhoto(db(), kAmoxilTab).isEmpty());
}

TEST_P(PhotoAndCode, APhotoIsStoredScaledDownWhenLargeAndRemoved) {
    logInAs(1);
    TFormFoto* form = openPhoto(kAmoxilTab);
    platform.pictureFile = picture(2048, 1000);
    click(form, "AsignarFoto");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("IMAGEN  ASIGNADA...")});
    EXPECT_EQ(shown<TFormFoto>(), nullptr);
    EXPECT_EQ(stored(kAmoxilTab).size(), QSize(1024, 500));

    form = openPhoto(kAmoxilTab);
    platform.pictureFile = picture(300, 200);
    click(form, "AsignarFoto");
    EXPECT_EQ(stored(kAmoxilTab).size(), QSize(300, 200));

    form = openPhoto(kAmoxilTab);
    click(form, "SpeedButton1");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("IMAGEN ELIMINADA...")});
    EXPECT_TRUE(db::proc::presentationPhoto(db(), kAmoxilTab).isEmpty());
}

TEST_P(PhotoAndCode, APhotoNeedsAPresentation) {
    logInAs(1);
    search(QStringLiteral("AMBROXOL"));
    messages.clear();
    run("PMPresFoto");
    EXPECT_EQ(shown<TFormFoto>(), nullptr);
    EXPECT_EQ(messages.shown,
              QStringList{
                  QStringLiteral("DEBE ASIGNAR PRIMERO\rUNA PRESENTACION AL PRODUCTO:\rAMBROXOL")});
}

TEST_P(PhotoAndCode, TheDigemidCodeAsksAboutAnotherPresentationsCodeOnly) {
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresCodDigemid = 777 WHERE "
                       "CodPresentacion = 20"));
    logInAs(3);
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    run("PMPresDigemid");
    TFormDigemid* form = shown<TFormDigemid>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("PRESENTACION AUN NO TIENE CODIGO ASIGNADO"));
    EXPECT_EQ(text(form, "EdCodDigemid"), QString());
    enter(form, "EdCodDigemid");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("INGRESE UN VALOR ENTERO")});

    messages.clear();
    set(form, "EdCodDigemid", QStringLiteral("777"));
    messages.answers = {false};
    enter(form, "EdCodDigemid");
    EXPECT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(column(kAmoxilTab, "PresCodDigemid"), QString());
    EXPECT_NE(shown<TFormDigemid>(), nullptr);
    EXPECT_EQ(text(form, "EdCodDigemid"), QString());  // the question's closing refilled it

    messages.answers = {true};
    set(form, "EdCodDigemid", QStringLiteral("777"));
    enter(form, "EdCodDigemid");
    EXPECT_EQ(column(kAmoxilTab, "PresCodDigemid"), QStringLiteral("777"));
    EXPECT_EQ(shown<TFormDigemid>(), nullptr);

    messages.clear();
    run("PMPresDigemid");
    form = shown<TFormDigemid>();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("CODIGO DIGEMID: 777"));
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresCodDigemid = 0 WHERE "
                       "CodPresentacion = 20"));
    set(form, "EdCodDigemid", QStringLiteral("777"));
    enter(form, "EdCodDigemid");
    EXPECT_TRUE(messages.asked.isEmpty());  // its own code
    EXPECT_EQ(shown<TFormDigemid>(), nullptr);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(PresentationWindows);
VELCARIS_DB_TEST_SUITE(PhotoAndCode);
