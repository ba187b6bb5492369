#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/Keys.h"
#include "support/ScriptedMessages.h"

#include "core/Clock.h"
#include "db/DemoShop.h"
#include "db/Settings.h"
#include "db/procedures/Checkout.h"
#include "program/Program.h"
#include "sales/FacturaFilesOutput.h"
#include "sales/SalesCounter.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitCotizacion.h"
#include "session/UnitDM.h"
#include "shell/UnitEntrada.h"
#include "shell/UnitLoginPassword.h"
#include "shell/UnitPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

using namespace testsupport;

namespace {

const QDate kDay(2026, 3, 2);

// One workstation of the shop: its own program, connection, clock, messages and drives.
struct Workstation {
    Workstation(std::unique_ptr<db::Db> connection, const QString& name, const QTime& time)
        : clock(QDateTime(kDay, time)) {
        platform.name = name;
        program = std::make_unique<program::Program>(std::move(connection), settings, platform,
                                                     &messages, &clock);
        program->principal().setEndProgram([] {});
        program->start();
        settle();
    }

    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    shell::TPRINCIPAL& principal() { return program->principal(); }
    session::TDM& dm() { return program->dm(); }
    session::Session& session() { return program->session(); }
    sales::SalesCounter& counter() { return sales::SalesCounter::of(program->context()); }

    // Types the user code and the password into the login window, then Enter.
    void logIn(int userCode, const QString& password) {
        shell::TFormEntrada* login = principal().loginWindow();
        ASSERT_NE(login, nullptr);
        login->FormActivate();
        auto* box = login->findChild<QComboBox*>(QStringLiteral("CbLogin"));
        auto* passwordBox = login->findChild<QLineEdit*>(QStringLiteral("EdPasword"));
        ASSERT_TRUE(box && passwordBox);
        box->lineEdit()->clear();
        typeText(box->lineEdit(), QString::number(userCode));
        typeText(passwordBox, password);
        pressKey(passwordBox, Qt::Key_Return);
        settle();
        ASSERT_EQ(session().userCode(), userCode) << messages.shown.join(" / ").toStdString();
    }

    db::Settings settings = db::Settings::load();
    FakePlatform platform;
    core::FixedClock clock;
    ScriptedMessages messages;
    std::unique_ptr<program::Program> program;
};

// The road of one sale on the demo shop: a seller builds it on one workstation, a cashier
// discharges it as a factura on another.
class RoadOfASale : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        db::loadDemoShop(db());
        db::Settings::load().setValue(QStringLiteral("printing/pdf_folder"), pdfs.path());
    }
    void TearDown() override {
        db::Settings::load().setValue(QStringLiteral("printing/pdf_folder"), QString());
        cashier.reset();
        seller.reset();
        Workstation::settle();
        DbTest::TearDown();
    }

    // --- The seller's side, through the search screen and the quotation window.

    sales::TFormBusqueda& screen() { return *sales::TFormBusqueda::of(seller->program->context()); }
    sales::TFormCotizacion* quotation() {
        return qobject_cast<sales::TFormCotizacion*>(seller->counter().quotation);
    }

    // Types the product's name, walks the product list to the link that has the presentation,
    // then the presentation grid to it.
    void findPresentation(const QString& typed, const QString& presTipo) {
        sales::TFormBusqueda& s = screen();
        child<QLineEdit>(&s, "EdNombre")->clear();
        typeText(child<QLineEdit>(&s, "EdNombre"), typed);
        pressKey(child<QLineEdit>(&s, "EdNombre"), Qt::Key_Return);
        const session::TDM& dm = seller->dm();
        auto holds = [&] {
            for (const session::PresentationRow& p : dm.presentations())
                if (p.PresTipo == presTipo)
                    return true;
            return false;
        };
        for (int i = 0; i < 5 && !holds(); ++i)
            pressKey(child<QTableView>(&s, "DBGrid1"), Qt::Key_Down);
        ASSERT_TRUE(holds()) << presTipo.toStdString();
        pressKey(child<QTableView>(&s, "DBGrid1"), Qt::Key_Return);
        for (int i = 0; i < 9 && dm.currentPresentation()->PresTipo != presTipo; ++i)
            pressKey(child<QTableView>(&s, "cg"), Qt::Key_Down);
        ASSERT_EQ(dm.currentPresentation()->PresTipo, presTipo);
    }

    void f1() {
        pressKey(child<QTableView>(&screen(), "cg"), Qt::Key_F1);
        ASSERT_NE(quotation(), nullptr);
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return QApplication::activeWindow() == quotation(); }));
    }

    void enterQuantity(const QString& quantity) {
        child<QLineEdit>(quotation(), "EdCan")->clear();
        typeText(child<QLineEdit>(quotation(), "EdCan"), quantity);
        pressKey(child<QLineEdit>(quotation(), "EdCan"), Qt::Key_Return);
    }

    void sell(const QString& typed, const QString& presTipo, const QString& quantity) {
        findPresentation(typed, presTipo);
        f1();
        enterQuantity(quantity);
        pressKey(child<QLineEdit>(quotation(), "EdCan"), Qt::Key_Escape);
        Workstation::settle();
    }

    // "&Descuento" on the quantity box, authorised by the owner's account on this session.
    void discountedPrice(const QString& price) {
        auto* discount = quotation()->findChild<QAction*>(QStringLiteral("Descuento2"));
        ASSERT_NE(discount, nullptr);
        discount->trigger();
        auto* auth = qobject_cast<shell::TFormLoginPassword*>(seller->counter().discountAuth);
        ASSERT_NE(auth, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([auth] { return QApplication::activeWindow() == auth; }));
        child<QComboBox>(auth, "CBLogin")->setEditText(QStringLiteral("MAXIMOS"));
        typeText(child<QLineEdit>(auth, "EdPassword"), QStringLiteral("MAXIMOS"));
        pressKey(child<QLineEdit>(auth, "EdPassword"), Qt::Key_Return);
        ASSERT_TRUE(seller->session().discountAllowed());
        quotation()->activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return child<QLineEdit>(quotation(), "EdPv")->isEnabled(); }));
        child<QLineEdit>(quotation(), "EdPv")->clear();
        typeText(child<QLineEdit>(quotation(), "EdPv"), price);
        pressKey(child<QLineEdit>(quotation(), "EdPv"), Qt::Key_Return);
    }

    // --- The cashier's side, through the checkout.

    template <class W>
    W* checkoutControl(const char* name) {
        auto* w = cashier->principal().findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // --- What the shop has afterwards.

    int count(const QString& tableAndCondition) {
        return db::integer(
            db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + tableAndCondition));
    }

    int codeOf(const QString& presTipo) {
        return db::integer(db().scalar(
            QStringLiteral("SELECT CodPresentacion FROM PRESENTACION WHERE PresTipo = ?"),
            {presTipo}));
    }
    QByteArray taxFile(const char* extension) {
        QFile f(
            cashier->platform.mapPath(QString::fromLatin1(sales::FacturaFilesOutput::kDataFolder)) +
            QStringLiteral("10471829356-01-F001-1.") + QLatin1String(extension));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        return f.readAll();
    }
    QString run(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // The QR picture the receipt printed, enlarged on a white border as a reader scans it.
    QString scanQrPicture() {
        const QImage qr(cashier->platform.driveFolder(QLatin1Char('C')) +
                        QStringLiteral("/kzv.bmp"));
        EXPECT_FALSE(qr.isNull());
        QImage scan(qr.size() * 8 + QSize(160, 160), QImage::Format_RGB32);
        scan.fill(Qt::white);
        QPainter(&scan).drawImage(QRect(QPoint(80, 80), qr.size() * 8), qr);
        const QString path = pdfs.filePath(QStringLiteral("scan.png"));
        scan.save(path);
        return run(QStringLiteral("zbarimg"),
                   {QStringLiteral("--raw"), QStringLiteral("-q"), path});
    }

    QTemporaryDir pdfs;
    std::unique_ptr<Workstation> seller;
    std::unique_ptr<Workstation> cashier;
};

const QString kJarabe = QStringLiteral("PARACETAMOL 120MG/5ML JARABE 60ML");
const QString kAmoxicilina = QStringLiteral("AMOXICILINA 500MG TABLETA X 100");
const QString kIbuprofeno = QStringLiteral("IBUPROFENO 400MG TABLETA X 100");

TEST_P(RoadOfASale, ASellerBuildsItAndACashierDischargesItAsAFactura) {
    const int stockJarabe = db::integer(db().scalar(
        QStringLiteral("SELECT PresStockTotal FROM PRESENTACION WHERE PresTipo = ?"), {kJarabe}));

    // The seller, a technician at CAJA1, reserves a sale and enters three presentations, the
    // last one at a price the owner authorised.
    seller =
        std::make_unique<Workstation>(connectAnother(), QStringLiteral("CAJA1"), QTime(9, 0, 0));
    seller->logIn(5, QStringLiteral("TECNICA"));
    ASSERT_NE(sales::TFormBusqueda::of(seller->program->context()), nullptr);
    pressKey(child<QLineEdit>(&screen(), "EdNombre"), Qt::Key_F4);
    ASSERT_EQ(child<QLabel>(&screen(), "V")->text(), QStringLiteral("1"));
    sell(QStringLiteral("PARACETAMOL"), kJarabe, QStringLiteral("2"));  // 2 x 4.00
    sell(QStringLiteral("AMOX"), kAmoxicilina, QStringLiteral("10"));   // 10 x 0.50
    findPresentation(QStringLiteral("IBUPRO"), kIbuprofeno);
    f1();
    discountedPrice(QStringLiteral("0.25"));  // list price 0.30
    enterQuantity(QStringLiteral("4"));
    EXPECT_EQ(child<QLabel>(quotation(), "TOTAL")->text(), QStringLiteral("14"));
    EXPECT_EQ(count(QStringLiteral("DESCUENTO")), 1);

    // The cashier at CAJA2 finds it pending and discharges it as a factura, printed.
    cashier =
        std::make_unique<Workstation>(connectAnother(), QStringLiteral("CAJA2"), QTime(9, 5, 7));
    cashier->logIn(4, QStringLiteral("CAJERO"));
    ASSERT_TRUE(cashier->program->context().commands.run(QStringLiteral("DescargarImprimir"),
                                                         cashier->program->context()));
    auto* pending = checkoutControl<QTableView>("DBGrid3");
    ASSERT_NE(pending, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([pending] { return pending->model()->rowCount() == 1; }));
    checkoutControl<QCheckBox>("CbFactura")->click();
    EXPECT_TRUE(checkoutControl<QCheckBox>("SI")->isChecked());
    for (const auto& [box, text] : {std::pair{"Ed_Nombre", "FARMACIAS DEL NORTE SAC"},
                                    {"Ed_direccion", "JR. PIZARRO 410"},
                                    {"EdRuc", "20481234567"}}) {
        auto* edit = checkoutControl<QLineEdit>(box);
        edit->clear();
        typeText(edit, QString::fromLatin1(text));
    }
    const QRect row = pending->visualRect(pending->model()->index(0, 0));
    QTest::mouseClick(pending->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(pending->viewport(), Qt::LeftButton, {}, row.center());
    Workstation::settle();
    EXPECT_EQ(pending->model()->rowCount(), 0) << cashier->messages.shown.join(" / ").toStdString();

    // The database: one factura, number 1, every line sold, stock taken.
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT FacTipoSunat FROM FACTURA WHERE "
                                                  "FacNumero = 1"))),
              db::proc::kFactura);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT FacNumSunat FROM FACTURA WHERE FacNumero = 1"))),
              1);
    EXPECT_EQ(count(QStringLiteral("DETAFAC WHERE Estado = 'DESCARGADO'")), 3);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT PresStockTotal FROM PRESENTACION WHERE PresTipo = ?"),
                  {kJarabe})),
              stockJarabe - 2);

    // The five tax files, byte for byte.
    EXPECT_EQ(taxFile("cab"),
              QByteArray("0101|2026-03-02|9:05:07|-|0000|1|20481234567|FARMACIAS DEL NORTE SAC|"
                         "PEN|2.14|11.86|14.00|0.00|0.00|0.00|14.00|2.1|2.0|"));
    EXPECT_EQ(taxFile("aca"), QByteArray("|000|0|0.00||PE|130101|JR. PIZARRO 410||||"));
    EXPECT_EQ(taxFile("ley"), QByteArray("1000|CATORCE CON 00/100 SOLES|"));
    EXPECT_EQ(taxFile("tri"), QByteArray("1000|IGV|VAT|11.86|2.14|\r\n"
                                         "9997|EXO|VAT|0|0|\r\n"
                                         "9998|INA|FRE|0|0|\r\n"
                                         "7152|ICBPER|OTH|0|0|\r\n"));
    const QByteArray tail =
        "||IGV|VAT|10|18.00|-|0.00|0.00||||15.00|-|0.00|0.00|||15.00|-|0|0|||0|";
    EXPECT_EQ(taxFile("det"),
              "NIU|2|" + QByteArray::number(codeOf(kJarabe)) +
                  "|-|PARACETAMOL 120MG/5ML JARABE|3.39|1.22|1000|1.22|12.78" + tail +
                  "4.00|12.78||0.00|\r\n"
                  "NIU|10|" +
                  QByteArray::number(codeOf(kAmoxicilina)) +
                  "|-|AMOXICILINA 500MG TABLETA X|0.42|0.76|1000|0.76|13.24" + tail +
                  "0.50|13.24||0.00|\r\n"
                  "NIU|4|" +
                  QByteArray::number(codeOf(kIbuprofeno)) +
                  "|-|IBUPROFENO 400MG TABLETA X 1|0.21|0.15|1000|0.15|13.85" + tail +
                  "0.25|13.85||0.00|\r\n");

    // The printed receipt and its QR code.
    const QStringList printed = QDir(pdfs.path()).entryList({QStringLiteral("factura_*.pdf")});
    ASSERT_EQ(printed.size(), 1);
    const QString text =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), pdfs.filePath(printed.front()), QStringLiteral("-")});
    for (const char* expected :
         {"FACTURA ELECTRONICA", "F001-1", "FARMACIAS DEL NORTE SAC", "20481234567",
          "CATORCE CON 00/100 SOLES", "14.00", "PARACETAMOL 120MG/5ML", "0.25"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected;
    EXPECT_EQ(scanQrPicture(),
              QStringLiteral("6|10471829356|6||20481234567|01|F001-1|2026-3-2|2.1336|14"));

    // The seller's next entry on that sale is refused: it has been discharged.
    enterQuantity(QStringLiteral("1"));
    EXPECT_EQ(seller->messages.last(), QStringLiteral("VENTA Nº1 HA SIDO DESCARGADA"));
    EXPECT_EQ(child<QLabel>(&screen(), "V")->text(), QStringLiteral("V"));
    EXPECT_EQ(count(QStringLiteral("DETAFAC")), 3);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(RoadOfASale);
