#include "admin/AdminTest.h"

#include "admin/UnitBacKupBD.h"
#include "db/procedures/Backup.h"

#include <QDir>
#include <QSignalSpy>
#include <QToolButton>

using namespace testsupport;
using ::admin::TFormBacKupBD;

namespace {

const QString kCopyFailed =
    QStringLiteral("ERROR EN BD\rNO SE PUDO REALIZAR\rLA COPIA\rDE LA BASE DE DATOS");

class BackupWindow : public adminwin::AdminTest {
protected:
    QString folder() { return platform.driveFolder(QLatin1Char('E')) + "/Velcaris/Base de datos"; }
    QString file(const QString& name) { return QDir(folder()).filePath(name); }
    QPushButton* copyButton(TFormBacKupBD* w) { return child<QPushButton>(w, "Copia"); }
    void enterKey(TFormBacKupBD* w, const QString& key) {
        typeInto(w, "EdClave", key);
        pressKey(child<QLineEdit>(w, "EdClave"), Qt::Key_Return);
    }
    // Types the key, presses the copy button and waits for the copy's end.
    void copy(TFormBacKupBD* w) {
        enterKey(w, QStringLiteral("WBN6"));
        QSignalSpy ended(w, &TFormBacKupBD::copyEnded);
        copyButton(w)->click();
        if (w->copying())
            ASSERT_TRUE(ended.wait(60000));
        settle();
    }
};

VELCARIS_DB_TEST_SUITE(BackupWindow);

TEST_P(BackupWindow, OnlyTheKeyFollowedByEnterShowsTheCopyButton) {
    TFormBacKupBD* w = openAs<TFormBacKupBD>(2, "SpBacKUpBd");
    ASSERT_NE(w, nullptr);
    struct Case {
        const char* key;
        const char* after;
        bool shown;
    };
    for (const Case& c : {Case{"WBN6", "", true}, Case{"wbn6", "", true}, Case{"WBN5", "", false},
                          Case{"WBN6", "X", false}}) {
        enterKey(w, QString::fromLatin1(c.key));
        typeText(child<QLineEdit>(w, "EdClave"), QString::fromLatin1(c.after));
        EXPECT_EQ(copyButton(w)->isVisible(), c.shown) << c.key << c.after;
    }
}

// Only counter staff copy the database; the copy is named in the status text.
TEST_P(BackupWindow, TheCopyIsMadeForCounterStaffOnly) {
    struct Case {
        int user;
        bool made;
    };
    for (const Case& c : {Case{5, false}, Case{2, true}, Case{4, true}}) {
        QFile::remove(file(db::proc::kBackupFile));
        TFormBacKupBD* w = openAs<TFormBacKupBD>(c.user, "SpBacKUpBd");
        copy(w);
        EXPECT_EQ(QFile::exists(file(db::proc::kBackupFile)), c.made) << c.user;
        EXPECT_EQ(label(w, "AVISO").startsWith(QStringLiteral("COPIA REALIZADA: ")), c.made);
        EXPECT_EQ(messages.shown,
                  c.made ? QStringList() : QStringList{"No tienes los permisos..."});
        EXPECT_TRUE(child<QPushButton>(w, "Salir")->isEnabled());
        w->close();
    }
}

// Without drive E: the failure is shown, its reason stays in the status text after the box.
TEST_P(BackupWindow, ACopyThatCannotBeMadeSaysWhy) {
    TFormBacKupBD* w = openAs<TFormBacKupBD>(1, "BacKupBD1");
    platform.removeDrive(QLatin1Char('E'));
    copy(w);
    EXPECT_EQ(messages.shown, QStringList{kCopyFailed});
    EXPECT_EQ(label(w, "AVISO"), QStringLiteral("NO EXISTE LA UNIDAD E:"));
    EXPECT_TRUE(child<QPushButton>(w, "Salir")->isEnabled());
}

TEST_P(BackupWindow, TheArchiveIsPackedForAdministratorsAndCashiers) {
    QDir().mkpath(folder());
    db::proc::KZ_BacKupBaseDatosVelcaris(db().info(), {folder()});
    for (const auto& [user, packed] : {std::pair{4, false}, {2, true}}) {
        TFormBacKupBD* w = openAs<TFormBacKupBD>(user, "SpBacKUpBd");
        child<QToolButton>(w, "SpeedButton1")->click();
        EXPECT_EQ(QFile::exists(file(db::proc::kArchiveFile)), packed) << user;
        w->close();
    }
}

}  // namespace
