#include "db/ConnectionInfo.h"
#include "db/Db.h"
#include "db/Settings.h"
#include "platform/SystemPlatform.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The file locks this process holds, as the kernel lists them (type, mode and the file's device
// and inode), in order.
QStringList ownLocks() {
    QFile file(QStringLiteral("/proc/locks"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString pid = QString::number(::getpid());
    QStringList out;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QStringList fields = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
        if (fields.size() > 7 && fields[4] == pid)
            out << fields.mid(1, 3).join(QLatin1Char(' ')) + QLatin1Char(' ') +
                       fields.mid(5).join(QLatin1Char(' '));
    }
    out.sort();
    return out;
}

// Opening the picture chooser in the database's own folder lists the pictures only and leaves
// every lock the program's connection holds on the database's files in place: a file of the
// database opened and closed by the process would drop them, and another workstation's
// connection could then delete the journal the program still writes into.
TEST(PictureChooser, BrowsingTheDatabasesFolderKeepsTheDatabasesLocks) {
    QTemporaryDir dir;
    const QString dbPath = dir.filePath(QStringLiteral("velcaris.db"));
    qputenv("VELCARIS_CONFIG", dir.filePath(QStringLiteral("velcaris.ini")).toUtf8());
    db::Settings settings = db::Settings::load();
    settings.setValue(QStringLiteral("database/url"), QStringLiteral("sqlite://") + dbPath);
    db::Db database(*db::ConnectionInfo::parse(settings.databaseUrl()));
    database.exec(QStringLiteral("CREATE TABLE t (x INTEGER)"));
    database.exec(QStringLiteral("INSERT INTO t VALUES (1)"));
    QFile picture(dir.filePath(QStringLiteral("foto.png")));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();
    const QStringList before = ownLocks();
    ASSERT_FALSE(before.isEmpty()) << "the connection holds no lock to watch";

    QString startedIn;
    QStringList listed;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (startedIn.isEmpty()) {
            startedIn = dialog->directory().absolutePath();
            dialog->setDirectory(dir.path());
            return;
        }
        auto* model = dialog->findChild<QFileSystemModel*>();
        const QModelIndex root = model->index(dir.path());
        if (model->rowCount(root) == 0 && !QTest::qWaitFor([&] { return model->rowCount(root); }))
            return;
        QTest::qWait(300);  // the gatherer's icons and types of every row
        for (int r = 0; r < model->rowCount(root); ++r)
            listed << model->index(r, 0, root).data().toString();
        poll.stop();
        dialog->reject();
    });
    poll.start();
    platform::SystemPlatform system(settings);
    EXPECT_TRUE(system.choosePictureFile(nullptr).isEmpty());

    EXPECT_NE(QDir(startedIn), QDir(dir.path()));
    EXPECT_EQ(listed, QStringList{QStringLiteral("foto.png")});
    EXPECT_EQ(ownLocks(), before);
    database.exec(QStringLiteral("INSERT INTO t VALUES (2)"));
    qunsetenv("VELCARIS_CONFIG");
}

}  // namespace
