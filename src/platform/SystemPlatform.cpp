#include "platform/SystemPlatform.h"

#include "db/ConnectionInfo.h"
#include "platform/DriveMap.h"
#include "platform/PictureChooser.h"
#include "platform/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextStream>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef VELCARIS_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace platform {

namespace {

const QString kDefaultUsbRuleFile = QStringLiteral("/etc/modprobe.d/velcaris-usb-storage.conf");

bool isSoundName(const QString& name) {
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('_'))
            return false;
    return true;
}

}  // namespace

// The extracted WAV files and the player. The files go into the user's cache folder, where the
// next run finds them, so no run leaves a copy behind in the temporary folder (a program that
// is killed never removes its temporaries). The player is opened on the first sound; where no
// audio device exists it stays closed and every sound is silent.
struct SystemPlatform::Sounds {
    QDir folder{QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                QStringLiteral("/sounds")};
    QHash<QString, QString> files;
#ifdef VELCARIS_HAVE_CANBERRA
    ca_context* player = nullptr;
    bool playerTried = false;

    ca_context* openPlayer() {
        if (playerTried)
            return player;
        playerTried = true;
        if (ca_context_create(&player) != CA_SUCCESS) {
            player = nullptr;
            return nullptr;
        }
        ca_context_change_props(player, CA_PROP_APPLICATION_NAME, "Velcaris", nullptr);
        if (ca_context_open(player) != CA_SUCCESS) {
            ca_context_destroy(player);
            player = nullptr;
        }
        return player;
    }

    ~Sounds() {
        if (player)
            ca_context_destroy(player);
    }
#endif
};

SystemPlatform::SystemPlatform(const db::Settings& settings)
    : settings_(settings), sounds_(std::make_unique<Sounds>()) {
    initResources();
    // C: is the workstation's own system drive: it always exists.
    QDir().mkpath(settings_.drive(QLatin1Char('C')));
}

SystemPlatform::~SystemPlatform() = default;

QString SystemPlatform::computerName() const {
    const QString configured = settings_.workstation().trimmed();
    return (configured.isEmpty() ? QSysInfo::machineHostName() : configured).toUpper();
}

QString SystemPlatform::mapPath(const QString& windowsPath) const {
    return mapWindowsPath(windowsPath, [this](QChar letter) { return settings_.drive(letter); });
}

bool SystemPlatform::driveExists(QChar letter) const {
    if (!letter.isLetter() || letter.unicode() >= 0x80)
        return false;
    const QString folder = settings_.drive(letter);
    return !folder.isEmpty() && QDir(folder).exists();
}

QString SystemPlatform::soundFile(const QString& name) {
    if (!isSoundName(name))
        return {};
    const auto known = sounds_->files.constFind(name);
    if (known != sounds_->files.constEnd())
        return *known;
    const QString resource = QStringLiteral(":/sounds/") + name + QStringLiteral(".wav");
    if (!QFile::exists(resource) || !sounds_->folder.mkpath(QStringLiteral(".")))
        return {};
    const QString file = sounds_->folder.filePath(name + QStringLiteral(".wav"));
    if (!QFile::exists(file) && !QFile::copy(resource, file))
        return {};
    sounds_->files.insert(name, file);
    return file;
}

void SystemPlatform::playSound(const QString& name) {
#ifdef VELCARIS_HAVE_CANBERRA
    const QString file = soundFile(name);
    if (file.isEmpty())
        return;
    ca_context* player = sounds_->openPlayer();
    if (!player)
        return;
    const QByteArray path = QFile::encodeName(file);
    const QByteArray id = name.toUtf8();
    // Returns at once: the sound server (or libcanberra's own thread) plays it.
    ca_context_play(player, 0, CA_PROP_MEDIA_FILENAME, path.constData(), CA_PROP_MEDIA_NAME,
                    id.constData(), CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
#else
    (void)name;
#endif
}

const QStringList& SystemPlatform::calculators() {
    static const QStringList names = {
        QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
        QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
        QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc"),
    };
    return names;
}

QString SystemPlatform::findCalculator() {
    for (const QString& name : calculators()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            return program;
    }
    return {};
}

void SystemPlatform::startCalculator() {
    const QString program = findCalculator();
    if (!program.isEmpty())
        QProcess::startDetached(program, {});
}

void SystemPlatform::trimWorkingSet() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

QString SystemPlatform::choosePictureFile(QWidget* parent) {
    return choosePicture(parent, databaseFolder());
}

// The folder of the shop's SQLite file; none for a server.
QString SystemPlatform::databaseFolder() const {
    const auto info = db::ConnectionInfo::parse(settings_.databaseUrl());
    if (!info || info->dialect != db::Dialect::SQLite || info->path.startsWith(QLatin1Char(':')))
        return {};
    return QFileInfo(info->path).absolutePath();
}

QString SystemPlatform::usbRuleFile() const {
    return settings_.value(QStringLiteral("platform/usb_rule_file"), kDefaultUsbRuleFile);
}

Platform::UsbStorage SystemPlatform::usbStorage() const {
    QFile rule(usbRuleFile());
    if (!rule.exists())
        return UsbStorage::Enabled;
    if (!rule.open(QIODevice::ReadOnly | QIODevice::Text))
        return UsbStorage::Unknown;
    QTextStream in(&rule);
    QString line;
    while (in.readLineInto(&line))
        if (line.simplified() == QLatin1String(kUsbDisabledRule))
            return UsbStorage::Disabled;
    return UsbStorage::Enabled;
}

bool SystemPlatform::setUsbStorage(bool enabled) {
    const QString path = usbRuleFile();
    if (enabled)
        return !QFile::exists(path) || QFile::remove(path);
    QSaveFile rule(path);
    if (!rule.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QByteArray text =
        QByteArrayLiteral("# Removable USB storage switched off by Velcaris.\n") +
        kUsbDisabledRule + '\n';
    return rule.write(text) == text.size() && rule.commit();
}

}  // namespace platform
