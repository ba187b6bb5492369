#include "support/DesktopTest.h"

#include "session/Commands.h"
#include "session/UnitDM.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>

using testsupport::child;

namespace {

// The catalogue and stock windows on a real desktop: what they show after their own message
// boxes, where they stand on the screen and above which windows.
class WindowsDesktop : public testsupport::DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        logInAs(2, QStringLiteral("ADMIN"));
    }

    // Runs a command as its menu item or button does and waits for the window it opens.
    QWidget* open(const char* command, const char* window) {
        context().commands.run(QString::fromLatin1(command), context());
        QWidget* found = nullptr;
        QTest::qWaitFor([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String(window) && w->isVisible())
                    found = w;
            return found != nullptr;
        });
        EXPECT_TRUE(becomesActive(found)) << window;
        return found;
    }

    // The user turns to the maximised main window; asked again until the window manager gives
    // it the activation.
    bool turnToTheMainWindow() {
        QWidget* main = &program_->principal();
        for (int i = 0; i < 25 && QApplication::activeWindow() != main; ++i) {
            main->activateWindow();
            QTest::qWait(200);
        }
        return QApplication::activeWindow() == main;
    }

    // The window in front at its own centre, as the X server stacks them.
    static bool inFront(QWidget* window) {
        return QTest::qWaitFor([window] {
            return QApplication::topLevelAt(window->frameGeometry().center()) == window;
        });
    }

    // Within the screen and no larger than 1024 x 768, frame and title included.
    static void fitsTheScreen(QWidget* window, const char* state) {
        QTest::qWait(200);  // the window manager's frame
        const QRect frame = window->frameGeometry();
        EXPECT_LE(frame.width(), 1024) << state;
        EXPECT_LE(frame.height(), 768) << state;
        EXPECT_TRUE(window->screen()->availableGeometry().contains(frame))
            << state << ": " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
            << frame.height();
    }
};

// "Asignar" asks; the question's closing activates the window (lists re-read, labels emptied)
// before the assignment, so what the assignment shows stays.
TEST_P(WindowsDesktop, AnAssignmentShowsItsResultAfterItsQuestion) {
    QWidget* form = open("SPLaboratorioProducto", "FormProductoLaboratorio");
    ASSERT_NE(form, nullptr);
    fitsTheScreen(form, "assignment");
    answerNextBox(QMessageBox::Yes);
    child<QPushButton>(form, "SpeedButton1")->click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, form);
    ASSERT_TRUE(becomesActive(form));
    QTest::qWait(300);  // any activation the window manager still had to give
    EXPECT_FALSE(child<QLabel>(form, "PRODUCTO")->text().isEmpty());
    EXPECT_FALSE(child<QLabel>(form, "LABORATORIO")->text().isEmpty());
    EXPECT_FALSE(child<QLabel>(form, "AVISO")->text().isEmpty());

    // A click on the maximised main window leaves the window in front.
    ASSERT_TRUE(turnToTheMainWindow());
    EXPECT_TRUE(inFront(form));
}

// A check of the intake's first batch shows its box and leaves supplier, document and the
// chosen expiry date as they were; the window fits the screen in each of its states.
TEST_P(WindowsDesktop, TheIntakesCheckKeepsWhatTheUserChoseAndTheWindowFitsTheScreen) {
    QWidget* form = open("MasStock1", "FrmMasStock");
    ASSERT_NE(form, nullptr);
    fitsTheScreen(form, "ready");
    auto* supplier = child<QComboBox>(form, "CBProveedor");
    supplier->setEditText(QStringLiteral("SAUCAL"));
    child<QComboBox>(form, "CBTipoDocumento")->setEditText(QString());
    child<QLineEdit>(form, "EdNumDoc")->setText(QStringLiteral("NE-0041"));
    auto* expiry = child<QDateTimeEdit>(form, "DateTimePicker1");
    const QDate chosen = clock_.today().addDays(400);
    expiry->setDate(chosen);
    child<QLineEdit>(form, "Pc")->setText(QStringLiteral("10"));
    child<QLineEdit>(form, "Stock")->setText(QStringLiteral("5"));

    answerNextBox();
    child<QPushButton>(form, "Ingreso")->click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("ELEJIR UNA OPCION, PARA EL TIPO DE DOCUMENTO"));
    ASSERT_TRUE(becomesActive(form));
    QTest::qWait(300);
    EXPECT_EQ(supplier->currentText(), QStringLiteral("SAUCAL"));
    EXPECT_EQ(child<QLineEdit>(form, "EdNumDoc")->text(), QStringLiteral("NE-0041"));
    EXPECT_EQ(expiry->date(), chosen);

    child<QComboBox>(form, "CBTipoDocumento")->setEditText(QStringLiteral("NOTA DE ENVIO"));
    child<QPushButton>(form, "Ingreso")->click();
    fitsTheScreen(form, "staged");
    child<QPushButton>(form, "Averiguar")->click();
    fitsTheScreen(form, "applied");
    EXPECT_TRUE(child<QPushButton>(form, "Ingresar")->isVisible());
}

// The photo window refuses a file that is no picture in a box of its own and stays in front
// of the main window after it.
TEST_P(WindowsDesktop, ThePhotoWindowStaysInFrontAfterItsRefusal) {
    QTemporaryFile text;
    ASSERT_TRUE(text.open());
    text.write("no es una imagen");
    text.close();
    platform_.pictureFile = text.fileName();
    QWidget* form = open("PMPresFoto", "FormFoto");
    ASSERT_NE(form, nullptr);
    fitsTheScreen(form, "photo");
    answerNextBox();
    child<QPushButton>(form, "AsignarFoto")->click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, form);
    ASSERT_TRUE(becomesActive(form));
    ASSERT_TRUE(turnToTheMainWindow());
    EXPECT_TRUE(inFront(form));
}

// Each window opened by its command fits a 1024 x 768 screen, and the ones that stay above the
// others stand in front of the maximised main window when it is clicked.
TEST_P(WindowsDesktop, EveryWindowFitsTheScreenAndTheOnesOnTopStayInFront) {
    struct Row {
        const char* command;
        const char* window;
        bool onTop;
    };
    const Row rows[] = {
        {"Producto_1", "FormProducto", true},
        {"Laboratorio1", "FormLaboratorio", true},
        {"Contents1", "FormPresentacion", true},
        {"Presentacion1", "FormEdicionPresentacion", true},
        {"PMPresCaducidad", "FormFecha", true},
        {"New3", "FormProdIncluya", true},
        {"PMPresDevolucion", "FormDevolucion", true},
        {"PMPresDigemid", "FormDigemid", false},
        {"Boletas1", "FormArchivoPlano", false},
    };
    for (const Row& row : rows) {
        QWidget* form = open(row.command, row.window);
        ASSERT_NE(form, nullptr) << row.command;
        fitsTheScreen(form, row.window);
        if (row.onTop) {
            ASSERT_TRUE(turnToTheMainWindow()) << row.window;
            EXPECT_TRUE(inFront(form)) << row.window;
        }
        form->close();
        QTest::qWait(100);
    }
}

}  // namespace

VELCARIS_DB_TEST_SUITE(WindowsDesktop);
