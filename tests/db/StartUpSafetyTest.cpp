#include "db/Migrations.h"
#include "db/Open.h"
#include "db/SqliteFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// What a SQLite file goes through at start-up: the check before anything writes into it, and the
// copies made before it is upgraded. SQLite only: both are about the file.
namespace {

constexpr qint64 kPage = 4096;

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

db::ConnectionInfo sqlite(const QString& path) {
    db::ConnectionInfo info;
    info.dialect = db::Dialect::SQLite;
    info.path = path;
    return info;
}

// A shop's file at the program's schema, with a few hundred users in it, closed.
class SqliteStartUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        auto shop = db::open(info);
        db::Db::Transaction tx(*shop);
        for (int code = 1; code <= 300; ++code)
            shop->exec(QStringLiteral("INSERT INTO USUARIO (UsuCod, UsuLogin, UsuNombres) "
                                      "VALUES (?, ?, ?)"),
                       {code, QStringLiteral("U%1").arg(code), QStringLiteral("ROSA ELENA")});
        tx.commit();
    }

    QString copy(int migration) const {
        return info.path + QStringLiteral(".before-%1").arg(migration, 3, 10, QLatin1Char('0'));
    }

    // The program's migrations and `count` more after them, the last one as `last` says.
    db::Migrations withMore(int count, const QString& last) const {
        db::Migrations all = db::migrations(db::Dialect::SQLite);
        for (int i = 1; i < count; ++i)
            all[latest + i] = QStringLiteral("CREATE TABLE EXTRA%1 (a INTEGER);").arg(i);
        all[latest + count] = last;
        return all;
    }

    void damagePages(int first, int count) {
        QFile f(info.path);
        ASSERT_GT(f.size(), (first + count) * kPage);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(first * kPage);
        f.write(QByteArray(int(count * kPage), '\x5a'));
    }

    int users(db::Db& db) {
        return db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM USUARIO")));
    }

    QTemporaryDir dir;
    db::ConnectionInfo info = sqlite(dir.filePath(QStringLiteral("velcaris.db")));
    const int latest = db::latestSchemaVersion(db::Dialect::SQLite);
};

}  // namespace

TEST_F(SqliteStartUp, ADamagedFileIsRefusedNamingItsNewestCopyAndLeftByteForByteAsItWas) {
    ASSERT_TRUE(QFile::copy(info.path, copy(2)));
    ASSERT_TRUE(QFile::copy(info.path, copy(3)));
    damagePages(3, 4);
    const QByteArray damaged = bytesOf(info.path);
    try {
        db::open(info);
        FAIL() << "a damaged file was opened";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.where(), info.path);
        EXPECT_TRUE(e.serverText().startsWith(QStringLiteral("la base de datos está dañada (")))
            << e.what();
        EXPECT_TRUE(e.serverText().endsWith(QStringLiteral("La copia más reciente es ") + copy(3) +
                                            QLatin1Char('.')))
            << e.what();
    }
    EXPECT_EQ(bytesOf(info.path), damaged);

    // Without copies, and with the header gone too.
    QFile::remove(copy(2));
    QFile::remove(copy(3));
    damagePages(0, 1);
    const QByteArray unrecognised = bytesOf(info.path);
    try {
        db::open(info);
        FAIL() << "a damaged file was opened";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.serverText().endsWith(
            QStringLiteral("No hay ninguna copia (velcaris.db.before-NNN) junto a ella.")))
            << e.what();
    }
    EXPECT_EQ(bytesOf(info.path), unrecognised);
}

TEST_F(SqliteStartUp, AFailingMigrationLeavesTheDatabaseAsItWasAndNamesTheCopyThatHoldsIt) {
    const QByteArray before = bytesOf(info.path);
    {
        db::Db shop(info);
        try {
            db::migrate(shop, withMore(1, QStringLiteral("CREATE TABLE HALFWAY (a INTEGER);\n"
                                                         "INSERT INTO NOWHERE VALUES (1);")));
            FAIL() << "the failing migration was applied";
        } catch (const db::Error& e) {
            EXPECT_TRUE(
                e.serverText().endsWith(QStringLiteral("su copia de antes es ") + copy(latest + 1)))
                << e.what();
        }
    }
    EXPECT_EQ(bytesOf(info.path), before);

    db::Db saved(sqlite(copy(latest + 1)));
    EXPECT_EQ(db::schemaVersion(saved), latest);
    EXPECT_EQ(users(saved), 300);
    auto reopened = db::open(info);
    EXPECT_EQ(db::schemaVersion(*reopened), latest);
    EXPECT_EQ(users(*reopened), 300);
    EXPECT_EQ(db::integer(reopened->scalar(
                  QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'HALFWAY'"))),
              0);
}

TEST_F(SqliteStartUp, EachUpgradeOfAFileWithDataIsCopiedFirstAndTheNewestThreeCopiesAreKept) {
    EXPECT_TRUE(db::sqlitefile::copiesOf(info.path).isEmpty());  // created from nothing
    for (int count = 1; count <= 4; ++count) {
        db::Db shop(info);
        db::migrate(shop,
                    withMore(count, QStringLiteral("CREATE TABLE LAST%1 (a INTEGER);").arg(count)));
        EXPECT_EQ(db::schemaVersion(shop), latest + count);
    }
    EXPECT_EQ(db::sqlitefile::copiesOf(info.path),
              (QStringList{copy(latest + 2), copy(latest + 3), copy(latest + 4)}));
    db::Db newest(sqlite(copy(latest + 4)));
    EXPECT_EQ(db::schemaVersion(newest), latest + 3);
    EXPECT_EQ(users(newest), 300);
    // Nothing pending: no copy.
    db::migrate(newest, withMore(3, QStringLiteral("CREATE TABLE LAST3 (a INTEGER);")));
    EXPECT_EQ(db::sqlitefile::copiesOf(copy(latest + 4)), QStringList());
}

TEST_F(SqliteStartUp, AnInMemoryDatabaseIsNeitherCheckedNorCopied) {
    auto memory = db::open(sqlite(QStringLiteral(":memory:")));
    db::migrate(*memory, withMore(1, QStringLiteral("CREATE TABLE LAST1 (a INTEGER);")));
    EXPECT_EQ(db::schemaVersion(*memory), latest + 1);
    EXPECT_TRUE(QDir::current().entryList({QStringLiteral("*before-*")}).isEmpty());
}
