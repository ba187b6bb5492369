#include "support/CheckoutSeed.h"
#include "support/Keys.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "db/procedures/Checkout.h"
#include "program/Program.h"
#include "sales/ReceiptOutput.h"
#include "sales/UnitDescargar.h"
#include "shell/UnitPrincipal.h"
#include "ui/Palette.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <stdexcept>

using namespace testsupport;
using db::proc::kDescargado;
using db::proc::kNoDescargado;
using sales::ReceiptType;
using sales::TFormDescargar;

// Readable failures.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
static void PrintTo(const QColor& colour, std::ostream* os) {
    *os << colour.name().toStdString();
}
static void PrintTo(const QVariant& value, std::ostream* os) {
    *os << (value.isNull() ? std::string("null") : value.toString().toStdString());
}

namespace {

const QString kSettledMessage = QStringLiteral("PEDIDO DESCARGADO, SATISFACTORIAMENTE...");
const QString kDischargeError = QStringLiteral("ERROR EN EL DESCARGO...");
const QString kTypeSaleNumber = QStringLiteral("INGRESE EL NUMERO DE VENTA...");

// Columns of the line grid.
constexpr int kEstado = 0;
constexpr int kSubTotal = 6;

// What a discharge hands the receipt output, and the previews asked for; it can be told to
// fail just before the commit.
class RecordingOutput : public sales::ReceiptOutput {
public:
    struct Begun {
        sales::ReceiptJob job;
        int receiptNumber = 0;
        int lines = 0;
    };

    void begin(const sales::ReceiptJob& job, int receiptNumber, const QDateTime&,
               const std::vector<db::proc::SaleLine>& lines,
               const std::optional<db::proc::Igv>&) override {
        begun.push_back({job, receiptNumber, int(lines.size())});
    }
    void afterLine(const db::proc::SaleLine&, const db::proc::DecargarPresStockOut& out) override {
        passed << out.Estado;
    }
    void beforeCommit() override {
        if (failBeforeCommit)
            throw std::runtime_error("el archivo no se pudo escribir");
    }
    void committed(const sales::Receipt& receipt) override { done.push_back(receipt); }
    void abandoned() override { ++abandonedCount; }
    void print(const sales::Receipt& receipt) override {
        if (failPrint)
            throw std::runtime_error("la impresora no responde");
        printed.push_back(receipt);
    }
    void preview(const sales::ReceiptJob& job) override { previews.push_back(job); }

    bool failBeforeCommit = false;
    bool failPrint = false;  // after the commit
    std::vector<Begun> begun;
    QStringList passed;
    std::vector<sales::Receipt> done;
    int abandonedCount = 0;
    std::vector<sales::Receipt> printed;
    std::vector<sales::ReceiptJob> previews;
};

// The checkout screen of a logged-in cashier (code 7), with the main window, on a catalogue of
// three presentations. Sellers: key F7 is held by an inactive user (red photo) and an active
// one (green photo); F3 by an active user (blue photo).
class Checkout : public WindowTest {
protected:
    static constexpr int kCashier = 7;

    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 50);
        seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 30,
                         QStringLiteral("BAYER"));
        seedPresentation(db(), 103, QStringLiteral("AMOXICILINA 500MG"), 20);
        seedSeller(2, QStringLiteral("INACTIVO"), QStringLiteral("F7"), Qt::red);
        seedSeller(3, QStringLiteral("ACTIVO"), QStringLiteral("F7"), Qt::green);
        seedSeller(4, QStringLiteral("ACTIVO"), QStringLiteral("F3"), Qt::blue);
        session().logIn(kCashier, QStringLiteral("rosa"), 0, false);
        dm().openSessionDatasets();
        program::registerSubsystems(ctx());
        principal = std::make_unique<shell::TPRINCIPAL>(ctx());
    }

    void TearDown() override {
        delete form.data();
        principal.reset();
        WindowTest::TearDown();
    }

    void seedSeller(int code, const QString& estado, const QString& key, const QColor& photo) {
        seedUser(db(), code, QStringLiteral("VENDEDOR%1").arg(code), QStringLiteral("CLAVE"),
                 QStringLiteral("TECNICA"), estado, {}, {}, key);
        setUserPhoto(db(), code, photoOf(photo));
    }
    // Sale `number` of the day with one line of each presentation given.
    void sale(int number, const std::vector<SeedLine>& lines,
              const QString& tag = QStringLiteral("CAJA2-7")) {
        seedSale(db(), number, clock.today(), tag, lines);
    }

    // A new screen as the openers show it, once its start-up refresh has run.
    void open() {
        delete form.data();
        auto recording = std::make_unique<RecordingOutput>();
        output = recording.get();
        form = new TFormDescargar(ctx(), std::move(recording));
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        form->startingSteps();
        ASSERT_TRUE(QTest::qWaitFor([this] {
            return form->windowTitle().startsWith(QStringLiteral("PERSONAL DE TURNO: "));
        }));
    }

    template <class W = QWidget>
    W* get(const char* name) const {
        return child<W>(form, name);
    }
    QLineEdit* numberBox() const { return get<QLineEdit>("EdFacNumero"); }
    QTableView* lineGrid() const { return get<QTableView>("DBGrid1"); }
    QTableView* pendingGrid() const { return get<QTableView>("DBGrid3"); }
    QCheckBox* box(const char* name) const { return get<QCheckBox>(name); }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QString textOf(const char* label) const { return get<QLabel>(label)->text(); }
    QColor colourOf(const char* name) const {
        return get(name)->palette().color(QPalette::WindowText);
    }
    static QWidget* focus() { return QApplication::focusWidget(); }

    // Types a sale number and presses Enter.
    void load(const QString& number) {
        numberBox()->clear();
        typeText(numberBox(), number);
        pressKey(numberBox(), Qt::Key_Return);
    }
    void clickPending(int row, bool twice = false) {
        QTableView* grid = pendingGrid();
        const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    // The texts of one column of a grid, top to bottom.
    static QStringList column(QTableView* grid, int c) {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, c).data().toString();
        return out;
    }
    // The cell and title colours of a column of the line grid.
    QColor cellColour(int c) const {
        return lineGrid()->model()->index(0, c).data(Qt::BackgroundRole).value<QBrush>().color();
    }
    QColor titleColour(int c) const {
        return lineGrid()
            ->model()
            ->headerData(c, Qt::Horizontal, Qt::BackgroundRole)
            .value<QBrush>()
            .color();
    }
    // The four customer boxes (name, address, DNI, RUC) and their labels, as shown.
    std::vector<bool> customerShown() const {
        const std::pair<const char*, const char*> pairs[] = {{"Ed_Nombre", "Label2"},
                                                             {"Ed_direccion", "Label3"},
                                                             {"Ed_Dni", "Label4"},
                                                             {"EdRuc", "Label5"}};
        std::vector<bool> out;
        for (const auto& [edit, label] : pairs) {
            out.push_back(get(edit)->isVisible());
            EXPECT_EQ(get(label)->isVisible(), out.back()) << label;
        }
        return out;
    }
    QRgb photoPixel() const {
        const QPixmap photo = get<QLabel>("FOTO_CAJERO")->pixmap();
        return photo.isNull() ? 0 : photo.toImage().pixel(0, 0);
    }
    QString state(int sale, int line = 1) { return lineState(db(), sale, clock.today(), line); }
    void setCustomer(const QString& name, const QString& address, const QString& ruc) {
        get<QLineEdit>("Ed_Nombre")->setText(name);
        get<QLineEdit>("Ed_direccion")->setText(address);
        get<QLineEdit>("EdRuc")->setText(ruc);
    }

    std::unique_ptr<shell::TPRINCIPAL> principal;
    QPointer<TFormDescargar> form;
    RecordingOutput* output = nullptr;
};

TEST_P(Checkout, TheStartUpRefreshLoadsTheOnlyPendingSaleAndProposesTheOldestOfSeveral) {
    open();
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("PERSONAL DE TURNO: ROSA - CODIGO DE TRABAJADOR: 7"));
    EXPECT_EQ(numberBox()->text(), QString());
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(textOf("Total"), QString());
    EXPECT_EQ(titleColour(kEstado), ui::palette::red);
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    EXPECT_EQ(focus(), numberBox());

    sale(12, {{101, 2, "1.50"}, {102, 1, "3.20"}});
    open();
    EXPECT_EQ(numberBox()->text(), QStringLiteral("12"));
    EXPECT_EQ(column(lineGrid(), 2), QStringList({QStringLiteral("PARACETAMOL 500MG"),
                                                  QStringLiteral("IBUPROFENO 400MG")}));
    EXPECT_EQ(textOf("Total"), QStringLiteral("6.2"));
    EXPECT_EQ(textOf("PC"), QStringLiteral("CAJA2-7"));
    EXPECT_EQ(colourOf("PC"), ui::palette::blue);
    EXPECT_EQ(cellColour(kSubTotal), ui::palette::infoBackground);
    EXPECT_EQ(photoPixel(), QColor(Qt::green).rgb());
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    EXPECT_TRUE(box("CBNotadeVenta")->isChecked());

    sale(15, {{101, 1, "1.50"}});
    sale(13, {{103, 1, "4"}});
    open();
    EXPECT_EQ(column(pendingGrid(), 0),
              QStringList({QStringLiteral("15"), QStringLiteral("13"), QStringLiteral("12")}));
    EXPECT_EQ(pendingGrid()->currentIndex().row(), 2);
    EXPECT_EQ(numberBox()->text(), QStringLiteral("12"));
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(textOf("PC"), QString());
}

TEST_P(Checkout, TheMenuAndTheToolbarEachOpenANewScreenInTheMainWindow) {
    QMdiArea* area = principal->mdiArea();
    const int trims = platform.trims;
    principal->findChild<QAction*>(QStringLiteral("Descarga1"))->trigger();
    principal->findChild<QToolButton*>(QStringLiteral("DescargarImprimir"))->click();
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    auto* opened = qobject_cast<TFormDescargar*>(windows.back()->widget());
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(windows.front()->widget(), opened);
    EXPECT_EQ(platform.trims, trims + 1);  // the toolbar trims, the menu does not
    auto* grid = opened->findChild<QTableView*>(QStringLiteral("DBGrid1"));
    EXPECT_EQ(grid->model()
                  ->headerData(kEstado, Qt::Horizontal, Qt::BackgroundRole)
                  .value<QBrush>()
                  .color(),
              ui::palette::red);
    EXPECT_EQ(opened->findChild<QLabel*>(QStringLiteral("Total"))->text(), QString());
}

TEST_P(Checkout, TheSaleNumberBoxTakesNineDigitsAndHidesTheCustomerWhileTyping) {
    sale(12, {{101, 1, "1.50"}});
    sale(13, {{102, 1, "3.20"}});
    open();
    numberBox()->clear();
    typeText(numberBox(), QStringLiteral("12a"));
    EXPECT_EQ(numberBox()->text(), QString());
    EXPECT_EQ(focus(), numberBox());
    typeText(numberBox(), QStringLiteral("12345678901"));
    EXPECT_EQ(numberBox()->text(), QStringLiteral("123456789"));

    box("CbBoleta")->click();
    EXPECT_EQ(customerShown(), std::vector<bool>({true, true, true, false}));
    typeText(numberBox(), QStringLiteral("1"));
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));

    box("CbFactura")->click();
    load(QStringLiteral("0"));
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));
}

TEST_P(Checkout, EnterLoadsTheTypedSaleOfTheDayAndPresetsTheReceiptTypeFromIt) {
    sale(12, {{101, 2, "1.50"}, {102, 1, "3.20"}}, QStringLiteral("CAJA2-4"));
    seedSale(db(), 12, clock.today().addDays(-1), QStringLiteral("CAJA9-4"), {{103, 1, "9"}});
    sale(13, {{103, 1, "4"}});
    sale(20, {{101, 1, "1.50", kDescargado}});
    setSaleReceipt(db(), 20, clock.today(), kDescargado, db::proc::kBoletaDeVenta, 3);
    sale(21, {{101, 1, "1.50", kDescargado}});
    setSaleReceipt(db(), 21, clock.today(), kDescargado, db::proc::kFactura, 8);
    open();

    box("CbBoleta")->click();
    load(QStringLiteral("12"));
    EXPECT_EQ(column(lineGrid(), 2), QStringList({QStringLiteral("PARACETAMOL 500MG"),
                                                  QStringLiteral("IBUPROFENO 400MG")}));
    EXPECT_EQ(column(lineGrid(), kEstado), QStringList({kNoDescargado, kNoDescargado}));
    EXPECT_EQ(column(lineGrid(), kSubTotal), QStringList({"3.00", "3.20"}));
    EXPECT_EQ(textOf("Total"), QStringLiteral("6.2"));
    EXPECT_EQ(textOf("PC"), QStringLiteral("CAJA2-4"));
    EXPECT_EQ(colourOf("Total"), ui::palette::blue);
    EXPECT_EQ(cellColour(kEstado), ui::palette::infoBackground);
    EXPECT_EQ(titleColour(kSubTotal), ui::palette::red);
    EXPECT_EQ(textOf("Mensaje"), QString());
    EXPECT_TRUE(button("Imprimir")->isEnabled());
    EXPECT_TRUE(box("CBNotadeVenta")->isChecked());  // a pending sale starts as a sale note
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));
    EXPECT_EQ(focus(), numberBox());

    box("NO")->click();
    load(QStringLiteral("20"));
    EXPECT_TRUE(box("CbBoleta")->isChecked());
    EXPECT_TRUE(box("SI")->isChecked());
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    load(QStringLiteral("21"));
    EXPECT_TRUE(box("CbFactura")->isChecked());

    box("CbBoleta")->click();
    load(QStringLiteral("99"));  // no such sale: nothing to show, a sale note again
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(textOf("Total"), QString());
    EXPECT_TRUE(box("CBNotadeVenta")->isChecked());
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));
    EXPECT_FALSE(button("Imprimir")->isEnabled());
}

TEST_P(Checkout, AClickOnThePendingListLoadsThatSaleAndLeavesTheReceiptTypeAlone) {
    sale(12, {{101, 2, "1.50"}});
    sale(13, {{102, 1, "3.20"}}, QStringLiteral("CAJA1-3"));
    open();
    box("CbFactura")->click();
    clickPending(0);
    EXPECT_EQ(numberBox()->text(), QStringLiteral("13"));
    EXPECT_EQ(column(lineGrid(), 2), QStringList({QStringLiteral("IBUPROFENO 400MG")}));
    EXPECT_EQ(textOf("Total"), QStringLiteral("3.2"));
    EXPECT_EQ(textOf("PC"), QStringLiteral("CAJA1-3"));
    EXPECT_TRUE(button("Imprimir")->isEnabled());
    EXPECT_TRUE(box("CbFactura")->isChecked());
    EXPECT_EQ(customerShown(), std::vector<bool>({true, true, false, true}));
}

TEST_P(Checkout, TheSellerPhotoIsThatOfTheActiveUserHoldingTheKeyTheTagEndsIn) {
    sale(12, {{101, 1, "1.50"}}, QStringLiteral("CAJA2-3"));
    sale(13, {{101, 1, "1.50"}}, QStringLiteral("CAJA2-7"));
    open();
    load(QStringLiteral("12"));
    EXPECT_EQ(photoPixel(), 0u);  // "-3" names no key, whoever holds F3
    load(QStringLiteral("13"));
    EXPECT_EQ(photoPixel(), QColor(Qt::green).rgb());
    load(QStringLiteral("12"));
    EXPECT_EQ(photoPixel(), 0u);
}

TEST_P(Checkout, AnAllDischargedSaleShowsItsStateInRedAndKeepsImprimirDisabled) {
    sale(12, {{101, 1, "1.50"}, {102, 1, "3.20"}});
    db::proc::DischargeSale(db(), {12, core::saleDay(clock.today()), kCashier, std::nullopt});
    open();
    load(QStringLiteral("12"));
    EXPECT_EQ(textOf("Mensaje"), kSettledMessage);
    EXPECT_EQ(colourOf("Mensaje"), ui::palette::red);
    EXPECT_EQ(colourOf("PC"), ui::palette::red);
    EXPECT_EQ(colourOf("Total"), ui::palette::red);
    for (int c : {kEstado, kSubTotal}) {
        EXPECT_EQ(cellColour(c), ui::palette::skyBlue);
        EXPECT_EQ(titleColour(c), ui::palette::skyBlue);
    }
    const QModelIndex estado = lineGrid()->model()->index(0, kEstado);
    EXPECT_EQ(estado.data(Qt::ForegroundRole).value<QBrush>().color(), ui::palette::red);
    EXPECT_TRUE(estado.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(button("Imprimir")->isEnabled());
}

TEST_P(Checkout, TheReceiptTypeAndPrintingBoxesActAsRadioButtons) {
    open();
    const auto captions = [this] {
        QList<bool> red;
        for (const char* name : {"CBNotadeVenta", "CbBoleta", "CbFactura", "SI", "NO"})
            red << (colourOf(name) == ui::palette::red);
        return red;
    };
    EXPECT_TRUE(box("CBNotadeVenta")->isChecked());
    EXPECT_TRUE(box("NO")->isChecked());
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));

    box("CbFactura")->click();
    EXPECT_FALSE(box("CBNotadeVenta")->isChecked());
    EXPECT_TRUE(box("SI")->isChecked());
    EXPECT_FALSE(box("NO")->isChecked());
    EXPECT_EQ(captions(), QList<bool>({false, false, true, true, false}));
    EXPECT_EQ(customerShown(), std::vector<bool>({true, true, false, true}));
    EXPECT_EQ(focus(), get("Ed_Nombre"));

    box("CBNotadeVenta")->click();
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));
    EXPECT_TRUE(box("SI")->isChecked());
    EXPECT_EQ(captions(), QList<bool>({true, false, false, true, false}));

    box("CbBoleta")->click();
    box("CbBoleta")->click();  // clicking the chosen box keeps it chosen
    EXPECT_TRUE(box("CbBoleta")->isChecked());
    EXPECT_EQ(customerShown(), std::vector<bool>({true, true, true, false}));

    box("NO")->click();
    EXPECT_FALSE(box("SI")->isChecked());
    EXPECT_EQ(captions(), QList<bool>({false, true, false, false, true}));
}

TEST_P(Checkout, CustomerBoxesRefuseWhatANameOrAddressCannotEndInAndEnterWalksThem) {
    open();
    box("CbFactura")->click();
    auto* name = get<QLineEdit>("Ed_Nombre");
    auto* address = get<QLineEdit>("Ed_direccion");
    EXPECT_EQ(name->text(), QStringLiteral("CLIENTES VARIOS"));
    name->clear();
    typeText(name, QStringLiteral("perez1"));
    EXPECT_EQ(name->text(), QString());
    typeText(name, QStringLiteral("juan perez"));
    EXPECT_EQ(name->text(), QStringLiteral("JUAN PEREZ"));
    address->clear();
    typeText(address, QStringLiteral("AV. SOL *"));
    EXPECT_EQ(address->text(), QString());
    typeText(address, QStringLiteral("FARMACIAS UNIDAS S.A."));
    EXPECT_EQ(address->text(), QStringLiteral("FARMACIAS UNIDAS S.A."));

    pressKey(name, Qt::Key_Return);
    EXPECT_EQ(focus(), address);
    pressKey(address, Qt::Key_Return);
    EXPECT_EQ(focus(), get("EdRuc"));
    pressKey(get("EdRuc"), Qt::Key_Return);
    EXPECT_EQ(focus(), numberBox());
    box("CbBoleta")->click();
    pressKey(address, Qt::Key_Return);
    EXPECT_EQ(focus(), get("Ed_Dni"));

    pressKey(get("Ed_Dni"), Qt::Key_Escape);
    for (const char* boxName : {"Ed_Nombre", "Ed_direccion", "Ed_Dni", "EdRuc"})
        EXPECT_EQ(get<QLineEdit>(boxName)->text(), QString()) << boxName;
    EXPECT_EQ(focus(), numberBox());
}

TEST_P(Checkout, CustomerBoxesTakeSpanishNamesAndAddressesTypedALetterAtATime) {
    open();
    box("CbFactura")->click();
    auto* name = get<QLineEdit>("Ed_Nombre");
    auto* address = get<QLineEdit>("Ed_direccion");
    for (const char* typed : {"peña & hijos s.a.c.", "muñoz", "núñez", "o'hara", "güemes, díaz-"}) {
        name->clear();
        typeText(name, QString::fromUtf8(typed));
        EXPECT_EQ(name->text(), QString::fromUtf8(typed).toUpper()) << typed;
    }
    typeText(name, QStringLiteral("2"));
    EXPECT_EQ(name->text(), QString());

    address->clear();
    typeText(address, QStringLiteral("jr. unión n° 120 int. 4/b #5 - peña"));
    EXPECT_EQ(address->text(), QStringLiteral("JR. UNIÓN N° 120 INT. 4/B #5 - PEÑA"));
    typeText(address, QStringLiteral("*"));
    EXPECT_EQ(address->text(), QString());
}

TEST_P(Checkout, APrintedFacturaIsRefusedUntilItsCustomerIsCompleteAndThenDischarged) {
    sale(12, {{101, 2, "1.50"}});
    open();
    box("CbFactura")->click();
    const auto refused = [this](const QString& message, const char* focused) {
        messages.clear();
        clickPending(0, true);
        EXPECT_EQ(messages.shown, QStringList({message}));
        EXPECT_EQ(focus(), get(focused));
        EXPECT_EQ(state(12), kNoDescargado);
        EXPECT_TRUE(output->begun.empty());
    };
    setCustomer({}, QStringLiteral("JR. UNION 12"), QStringLiteral("20481234567"));
    refused(QStringLiteral("DEBE INGRESAR UN NOMBRE"), "Ed_Nombre");
    setCustomer(QStringLiteral("BOTICA SOL"), {}, QStringLiteral("20481234567"));
    refused(QStringLiteral("DEBE INGRESAR UNA DIRECCION"), "Ed_direccion");
    setCustomer(QStringLiteral("BOTICA SOL"), QStringLiteral("JR. UNION 12"), {});
    refused(QStringLiteral("DEBE INGRESAR UN RUC"), "EdRuc");
    // The DNI box still holds its "00000000": the number is checked all the same.
    setCustomer(QStringLiteral("BOTICA SOL"), QStringLiteral("JR. UNION 12"),
                QStringLiteral("2048123456"));
    refused(QStringLiteral("DEBE INGRESAR UN RUC DE 11 DIGITOS"), "EdRuc");

    setCustomer(QStringLiteral("BOTICA SOL"), QStringLiteral("JR. UNION 12"),
                QStringLiteral("20481234567"));
    messages.clear();
    clickPending(0, true);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(state(12), kDescargado);
    ASSERT_EQ(output->printed.size(), 1u);
    EXPECT_EQ(output->printed.front().job.type, ReceiptType::Factura);
    EXPECT_EQ(output->printed.front().receiptNumber, 1);
    EXPECT_EQ(output->printed.front().job.customer.ruc, QStringLiteral("20481234567"));
    EXPECT_EQ(output->printed.front().job.customer.name, QStringLiteral("BOTICA SOL"));
}

// Each receipt names the customer typed for its own sale: a factura's customer does not stay in
// the boxes for the boletas after it.
TEST_P(Checkout, EachLoadedSaleStartsWithEmptyCustomerBoxesAndPrintsItsOwnCustomer) {
    sale(12, {{101, 1, "1.50"}});
    sale(13, {{102, 1, "3.20"}});
    sale(14, {{103, 1, "4"}});
    open();
    const auto dischargeLoaded = [this] {
        ASSERT_TRUE(button("Imprimir")->isEnabled());
        button("Imprimir")->click();
    };
    const auto boxes = [this] {
        return QStringList{get<QLineEdit>("Ed_Nombre")->text(),
                           get<QLineEdit>("Ed_direccion")->text(), get<QLineEdit>("Ed_Dni")->text(),
                           get<QLineEdit>("EdRuc")->text()};
    };

    load(QStringLiteral("12"));
    box("CbFactura")->click();
    setCustomer(QStringLiteral("BOTICAS DEL NORTE SAC"), QStringLiteral("AV. LARCO 410"),
                QStringLiteral("20481234567"));
    dischargeLoaded();

    load(QStringLiteral("13"));
    EXPECT_EQ(boxes(), QStringList({{}, {}, QStringLiteral("00000000"), {}}));
    box("CbBoleta")->click();
    typeText(get<QLineEdit>("Ed_Nombre"), QStringLiteral("JUAN PEREZ"));
    get<QLineEdit>("Ed_Dni")->setText(QStringLiteral("41234567"));
    dischargeLoaded();

    clickPending(0);  // sale 14, from the pending list
    EXPECT_EQ(boxes(), QStringList({{}, {}, QStringLiteral("00000000"), {}}));
    box("CbBoleta")->click();
    clickPending(0, true);

    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    ASSERT_EQ(output->printed.size(), 3u);
    const auto customer = [this](size_t i) {
        const sales::CustomerData& c = output->printed[i].job.customer;
        return QStringList{c.name, c.address, c.dni, c.ruc};
    };
    EXPECT_EQ(output->printed[0].job.type, ReceiptType::Factura);
    EXPECT_EQ(customer(0),
              QStringList({QStringLiteral("BOTICAS DEL NORTE SAC"), QStringLiteral("AV. LARCO 410"),
                           QStringLiteral("00000000"), QStringLiteral("20481234567")}));
    EXPECT_EQ(output->printed[1].job.facNumero, 13);
    EXPECT_EQ(customer(1),
              QStringList({QStringLiteral("JUAN PEREZ"), {}, QStringLiteral("41234567"), {}}));
    EXPECT_EQ(output->printed[2].job.facNumero, 14);
    EXPECT_EQ(customer(2), QStringList({{}, {}, QStringLiteral("00000000"), {}}));
}

// What the cashier types before loading the sale, and what a click on the sale already loaded
// finds in the boxes, stays for that sale.
TEST_P(Checkout, CustomerTypedForTheSaleAboutToBeDischargedIsKept) {
    sale(12, {{101, 1, "1.50"}});
    sale(13, {{102, 1, "3.20"}});
    open();
    box("CbBoleta")->click();
    get<QLineEdit>("Ed_Nombre")->clear();
    typeText(get<QLineEdit>("Ed_Nombre"), QStringLiteral("ANA TORRES"));
    clickPending(1);
    clickPending(1, true);
    ASSERT_EQ(output->printed.size(), 1u);
    EXPECT_EQ(output->printed[0].job.facNumero, 12);
    EXPECT_EQ(output->printed[0].job.customer.name, QStringLiteral("ANA TORRES"));
}

// After a discharge the cashier chooses the next receipt and types its customer, then picks
// the next sale from the pending list: the load keeps what was typed and the receipt names it,
// as typed, accents and marks included.
TEST_P(Checkout, TheCustomerTypedAfterADischargeGoesWithTheNextSaleLoaded) {
    const QStringList names = {QStringLiteral("JUAN PEREZ"), QStringLiteral("JOSÉ"),
                               QStringLiteral("BOTICA SAN JUAN S.A.C."), QStringLiteral("O'HARA")};
    sale(12, {{101, 1, "1.50"}});
    for (int i = 0; i < names.size(); ++i)
        sale(13 + i, {{102, 1, "3.20"}});
    open();
    load(QStringLiteral("12"));
    button("Imprimir")->click();
    for (const QString& name : names) {
        box("CbFactura")->click();
        auto* nameBox = get<QLineEdit>("Ed_Nombre");
        nameBox->clear();
        typeText(nameBox, name);
        get<QLineEdit>("Ed_direccion")->setText(QStringLiteral("AV. LARCO 410"));
        get<QLineEdit>("EdRuc")->setText(QStringLiteral("20481234567"));
        const int next = pendingGrid()->model()->index(0, 0).data().toInt();
        clickPending(0, true);
        EXPECT_EQ(state(next), kDescargado) << name.toStdString();
        ASSERT_FALSE(output->printed.empty());
        EXPECT_EQ(output->printed.back().job.facNumero, next);
        EXPECT_EQ(output->printed.back().job.customer.name, name);
        EXPECT_EQ(get<QLineEdit>("Ed_Nombre")->text(), QString());  // emptied for the next one
    }
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
}

TEST_P(Checkout, WithoutPrintingAFacturaIsDischargedWhateverItsCustomerBoxesHold) {
    sale(12, {{101, 2, "1.50"}});
    open();
    box("CbFactura")->click();
    box("NO")->click();
    setCustomer({}, {}, {});
    clickPending(0, true);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(state(12), kDescargado);
    ASSERT_EQ(output->done.size(), 1u);
    EXPECT_EQ(output->done.front().job.type, ReceiptType::Factura);
    EXPECT_FALSE(output->done.front().job.print);
    EXPECT_TRUE(output->printed.empty());
}

TEST_P(Checkout, AListDischargedBoletaGetsOneNumberForItsLinesAndTheScreensFollow) {
    sale(5, {{103, 1, "4", kDescargado}});
    setSaleReceipt(db(), 5, clock.today(), kDescargado, db::proc::kBoletaDeVenta, 41);
    sale(12, {{101, 2, "1.50"}, {102, 1, "3.20"}, {103, 3, "4"}});
    sale(13, {{101, 1, "1.50"}});
    dm().locateProduct(QStringLiteral("PARACETAMOL"));
    ASSERT_EQ(dm().currentPresentation()->PresStockTotal, 50);
    open();
    box("CbBoleta")->click();
    ASSERT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("13"), QStringLiteral("12")}));

    clickPending(1, true);
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_EQ(output->begun.size(), 1u);
    EXPECT_EQ(output->begun.front().receiptNumber, 42);
    EXPECT_EQ(output->begun.front().lines, 3);
    EXPECT_EQ(output->passed, QStringList({kDescargado, kDescargado, kDescargado}));
    const SaleReceipt stored = saleReceipt(db(), 12, clock.today());
    EXPECT_EQ(stored.type, db::proc::kBoletaDeVenta);
    EXPECT_EQ(stored.number, QVariant(42));
    ASSERT_EQ(output->printed.size(), 1u);
    EXPECT_EQ(output->printed.front().job.type, ReceiptType::Boleta);
    EXPECT_EQ(output->printed.front().receiptNumber, 42);

    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("13")}));
    EXPECT_EQ(column(lineGrid(), kEstado), QStringList({kDescargado, kDescargado, kDescargado}));
    EXPECT_EQ(textOf("Mensaje"), kSettledMessage);
    EXPECT_EQ(colourOf("PC"), ui::palette::red);
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    EXPECT_EQ(numberBox()->text(), QStringLiteral("12"));
    EXPECT_EQ(focus(), numberBox());
    EXPECT_EQ(principal->statusText(1), QStringLiteral("12"));
    EXPECT_EQ(session().lastDischargedSale(), 12);
    EXPECT_EQ(dm().currentPresentation()->PresStockTotal, 48);
    for (const char* name : {"CBNotadeVenta", "CbBoleta", "CbFactura", "SI", "NO"})
        EXPECT_EQ(colourOf(name), ui::palette::black) << name;
}

TEST_P(Checkout, AListDischargeWithPrintingOfASaleWithNothingInStockPrintsNothing) {
    sale(12, {{103, 25, "4"}});  // 20 in stock
    open();
    box("CBNotadeVenta")->click();  // a sale note prints without any receipt number
    if (!box("SI")->isChecked())
        box("SI")->click();
    ASSERT_TRUE(box("SI")->isChecked());

    clickPending(0, true);

    EXPECT_EQ(output->passed, QStringList{db::proc::kSinStock});
    EXPECT_EQ(output->done.size(), 1u);
    EXPECT_TRUE(output->printed.empty());
    EXPECT_EQ(state(12), db::proc::kSinStock);
}

TEST_P(Checkout, WithoutACashierTheListDischargesNothingButTurnsTheCaptionsBlack) {
    sale(12, {{101, 1, "1.50"}});
    open();
    box("CbBoleta")->click();
    session().logIn(0, {}, 0, false);
    clickPending(0, true);
    EXPECT_EQ(state(12), kNoDescargado);
    EXPECT_TRUE(output->begun.empty());
    EXPECT_EQ(colourOf("CbBoleta"), ui::palette::black);
    EXPECT_EQ(colourOf("SI"), ui::palette::black);
}

TEST_P(Checkout, ImprimirDischargesOnlyTheLoadedSaleAndChecksAPrintedFactura) {
    sale(12, {{101, 2, "1.50"}});
    sale(13, {{102, 1, "3.20"}});
    open();
    load(QStringLiteral("12"));
    ASSERT_TRUE(button("Imprimir")->isEnabled());
    typeText(numberBox(), QStringLiteral("3"));  // 123
    button("Imprimir")->click();
    EXPECT_EQ(messages.last(), QStringLiteral("EL NUMERO QUE HA INGRESADO: 123\rNO CONCUERDA CON "
                                              "EL CONSULTADO: 12\rINTENTALO NUEVAMENTE..."));
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    EXPECT_EQ(numberBox()->text(), QString());
    EXPECT_EQ(focus(), numberBox());
    EXPECT_TRUE(output->begun.empty());

    load(QStringLiteral("12"));
    numberBox()->clear();
    button("Imprimir")->click();
    EXPECT_EQ(messages.last(), kTypeSaleNumber);
    load(QStringLiteral("12"));
    session().logIn(0, {}, 0, false);
    button("Imprimir")->click();
    EXPECT_EQ(messages.last(), kTypeSaleNumber);
    session().logIn(kCashier, QStringLiteral("rosa"), 0, false);
    box("CbFactura")->click();
    setCustomer(QStringLiteral("BOTICA SOL"), QStringLiteral("JR. UNION 12"), {});
    button("Imprimir")->click();
    EXPECT_EQ(messages.last(), QStringLiteral("DEBE INGRESAR UN RUC"));
    EXPECT_TRUE(output->begun.empty());

    box("CbBoleta")->click();
    messages.clear();
    button("Imprimir")->click();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(state(12), kDescargado);
    EXPECT_EQ(saleReceipt(db(), 12, clock.today()).number, QVariant(1));
    ASSERT_EQ(output->printed.size(), 1u);
    EXPECT_EQ(output->printed.front().job.type, ReceiptType::Boleta);
    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("13")}));
    EXPECT_EQ(textOf("Mensaje"), kSettledMessage);
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    EXPECT_EQ(principal->statusText(1), QStringLiteral("12"));
    EXPECT_EQ(session().lastDischargedSale(), 12);
    EXPECT_EQ(focus(), numberBox());
}

TEST_P(Checkout, F12DischargesTheTypedSaleAsASaleNoteEvenRightAfterABoleta) {
    sale(12, {{101, 2, "1.50"}});
    sale(13, {{102, 1, "3.20"}});
    sale(14, {{103, 1, "4"}});
    open();
    box("CbBoleta")->click();
    clickPending(2, true);
    ASSERT_EQ(saleReceipt(db(), 12, clock.today()).number, QVariant(1));

    numberBox()->setText(QStringLiteral("13"));
    pressKey(numberBox(), Qt::Key_F12);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(state(13), kDescargado);
    const SaleReceipt stored = saleReceipt(db(), 13, clock.today());
    EXPECT_EQ(stored.type, db::proc::kNotaDeVenta);
    EXPECT_TRUE(stored.number.isNull());
    ASSERT_EQ(output->printed.size(), 2u);
    EXPECT_EQ(output->printed.back().job.type, ReceiptType::NotaDeVenta);
    EXPECT_EQ(output->printed.back().receiptNumber, 0);
    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("14")}));
    EXPECT_EQ(textOf("Mensaje"), kSettledMessage);
    EXPECT_EQ(numberBox()->text(), QStringLiteral("13"));
    EXPECT_EQ(principal->statusText(1), QStringLiteral("13"));
    EXPECT_EQ(session().lastDischargedSale(), 13);
    EXPECT_EQ(focus(), pendingGrid());

    numberBox()->clear();
    pressKey(numberBox(), Qt::Key_F12);
    EXPECT_EQ(messages.shown, QStringList({kDischargeError}));
    EXPECT_EQ(state(14), kNoDescargado);
}

TEST_P(Checkout, AFailingReceiptOutputLeavesTheSaleWaiting) {
    sale(12, {{101, 2, "1.50"}, {102, 1, "3.20"}});
    open();
    output->failBeforeCommit = true;
    box("CbBoleta")->click();
    clickPending(0, true);
    EXPECT_EQ(messages.shown, QStringList({kDischargeError}));
    EXPECT_EQ(state(12, 1), kNoDescargado);
    EXPECT_EQ(state(12, 2), kNoDescargado);
    EXPECT_EQ(stockOf(db(), 101), 50);
    EXPECT_TRUE(saleReceipt(db(), 12, clock.today()).number.isNull());
    EXPECT_EQ(output->abandonedCount, 1);
    EXPECT_TRUE(output->printed.empty());
    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("12")}));
    EXPECT_EQ(column(lineGrid(), kEstado), QStringList({kNoDescargado, kNoDescargado}));
    EXPECT_TRUE(button("Imprimir")->isEnabled());

    messages.clear();
    button("Imprimir")->click();
    EXPECT_EQ(messages.shown,
              QStringList({QStringLiteral("  ERROR EN LA BASE DE DATOS\rPOSIBLEMENTE NO SE LLEVO A "
                                          "CABO LA DESCARGA\r\rANOTAR LA HORA Y EL NUMERO DE "
                                          "VENTA")}));
    EXPECT_EQ(state(12), kNoDescargado);
}

TEST_P(Checkout, APrinterFailingAfterTheCommitStillShowsTheSaleDischarged) {
    sale(12, {{101, 2, "1.50"}});
    sale(13, {{102, 1, "3.20"}});
    open();
    output->failPrint = true;
    box("CbBoleta")->click();
    clickPending(1, true);
    EXPECT_EQ(messages.shown, QStringList({kDischargeError}));
    EXPECT_EQ(state(12), kDescargado);
    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("13")}));
    EXPECT_EQ(column(lineGrid(), kEstado), QStringList({kDescargado}));
    EXPECT_EQ(textOf("Mensaje"), kSettledMessage);
    EXPECT_FALSE(button("Imprimir")->isEnabled());
}

TEST_P(Checkout, EscInTheSaleNumberBoxLoadsTheOnlyPendingSaleAndInTheListOnlyProposesIt) {
    sale(12, {{101, 2, "1.50"}});
    open();
    box("CbBoleta")->click();
    clickPending(0);
    pressKey(pendingGrid(), Qt::Key_Escape);
    EXPECT_EQ(numberBox()->text(), QStringLiteral("12"));
    EXPECT_EQ(focus(), numberBox());
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(textOf("Total"), QString());
    EXPECT_EQ(customerShown(), std::vector<bool>({true, true, true, false}));

    pressKey(numberBox(), Qt::Key_Escape);
    EXPECT_EQ(numberBox()->text(), QStringLiteral("12"));
    EXPECT_EQ(lineGrid()->model()->rowCount(), 1);
    EXPECT_TRUE(button("Imprimir")->isEnabled());
    EXPECT_EQ(customerShown(), std::vector<bool>({false, false, false, false}));
    EXPECT_EQ(focus(), numberBox());

    sale(13, {{102, 1, "3.20"}});
    pressKey(numberBox(), Qt::Key_Escape);
    EXPECT_EQ(numberBox()->text(), QString());
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(textOf("PC"), QString());
    EXPECT_EQ(photoPixel(), 0u);
    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("13"), QStringLiteral("12")}));
}

TEST_P(Checkout, EscInTheLinesOrOnAButtonClosesTheSale) {
    sale(12, {{101, 2, "1.50"}});
    sale(13, {{101, 1, "1.50"}});
    db::proc::DischargeSale(db(), {13, core::saleDay(clock.today()), kCashier, std::nullopt});
    open();
    for (const char* from : {"DBGrid1", "Nuevo", "Previuw", "Salir"}) {
        load(QStringLiteral("13"));
        ASSERT_EQ(textOf("Mensaje"), kSettledMessage);
        pressKey(get(from), Qt::Key_Escape);
        EXPECT_EQ(lineGrid()->model()->rowCount(), 0) << from;
        EXPECT_EQ(textOf("Total"), QString()) << from;
        EXPECT_EQ(numberBox()->text(), QString()) << from;
        EXPECT_EQ(focus(), numberBox()) << from;
        EXPECT_EQ(titleColour(kEstado), ui::palette::red) << from;
        // Only Esc in the lines clears the message.
        EXPECT_EQ(textOf("Mensaje"), QString(from) == "DBGrid1" ? QString() : kSettledMessage);
    }
    load(QStringLiteral("12"));
    ASSERT_TRUE(button("Imprimir")->isEnabled());
    pressKey(button("Imprimir"), Qt::Key_Escape);
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_FALSE(button("Imprimir")->isEnabled());
}

TEST_P(Checkout, NuevoClearsTheSaleAndChoosesPrinting) {
    sale(12, {{101, 2, "1.50"}});
    open();
    load(QStringLiteral("12"));
    button("Nuevo")->click();
    EXPECT_TRUE(box("SI")->isChecked());
    EXPECT_FALSE(box("NO")->isChecked());
    EXPECT_EQ(colourOf("SI"), ui::palette::red);
    EXPECT_EQ(lineGrid()->model()->rowCount(), 0);
    EXPECT_EQ(textOf("Total"), QString());
    EXPECT_EQ(textOf("PC"), QString());
    EXPECT_EQ(photoPixel(), 0u);
    EXPECT_EQ(numberBox()->text(), QString());
    EXPECT_EQ(focus(), numberBox());
    EXPECT_FALSE(button("Imprimir")->isEnabled());
    EXPECT_EQ(column(pendingGrid(), 0), QStringList({QStringLiteral("12")}));

    button("BtnVozDescargar")->click();
    EXPECT_EQ(platform.sounds, QStringList({QStringLiteral("DESCARGAR")}));
    button("Salir")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_P(Checkout, EliminarRemovesAPendingLineOnlyOnYes) {
    sale(12, {{101, 2, "1.50"}, {102, 1, "3.20"}});
    sale(13, {{101, 1, "1.50"}, {103, 1, "4", kDescargado}});
    open();
    auto* eliminar = form->findChild<QAction*>(QStringLiteral("Eliminar"));
    load(QStringLiteral("12"));
    lineGrid()->selectRow(1);
    eliminar->trigger();
    EXPECT_EQ(messages.asked, QStringList({QStringLiteral("DESEA ELIMINAR:IBUPROFENO 400MG")}));
    EXPECT_EQ(lineGrid()->model()->rowCount(), 2);

    messages.answers = {true};
    eliminar->trigger();
    EXPECT_EQ(column(lineGrid(), 2), QStringList({QStringLiteral("PARACETAMOL 500MG")}));
    EXPECT_EQ(textOf("Total"), QStringLiteral("3"));
    EXPECT_EQ(textOf("Mensaje"), QStringLiteral("ITEM ELIMINADO"));
    EXPECT_EQ(column(pendingGrid(), 1), QStringList({"1.50", "3.00"}));

    load(QStringLiteral("13"));
    lineGrid()->selectRow(1);
    messages.clear();
    messages.answers = {true};
    eliminar->trigger();
    EXPECT_EQ(messages.last(), QStringLiteral("ITEMS YA HAN SIDO DESCARGADOS..."));
    EXPECT_EQ(state(13, 2), kDescargado);
    EXPECT_EQ(lineGrid()->model()->rowCount(), 2);
}

TEST_P(Checkout, PreviuwShowsTheCheckedReceiptOfTheTypedSaleWithoutDischargingIt) {
    sale(12, {{101, 2, "1.50"}});
    open();
    box("CbBoleta")->click();
    numberBox()->clear();
    button("Previuw")->click();
    EXPECT_EQ(messages.last(), kTypeSaleNumber);
    EXPECT_EQ(get<QLineEdit>("Ed_Nombre")->text(), QString());
    EXPECT_EQ(focus(), numberBox());
    EXPECT_TRUE(output->previews.empty());

    get<QLineEdit>("Ed_Nombre")->setText(QStringLiteral("ANA TORRES"));
    numberBox()->setText(QStringLiteral("12"));
    button("Previuw")->click();
    ASSERT_EQ(output->previews.size(), 1u);
    EXPECT_EQ(output->previews.front().facNumero, 12);
    EXPECT_EQ(output->previews.front().type, ReceiptType::Boleta);
    EXPECT_EQ(output->previews.front().customer.name, QStringLiteral("ANA TORRES"));
    EXPECT_EQ(state(12), kNoDescargado);
    EXPECT_TRUE(output->begun.empty());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(Checkout);
