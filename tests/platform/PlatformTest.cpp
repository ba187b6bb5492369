#include "platform/DriveMap.h"
#include "platform/SystemPlatform.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

using platform::Platform;
using platform::SystemPlatform;

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct MapCase {
    const char* windowsPath;
    const char* expected;
};

class DriveMapTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(DriveMapTest, MapsDriveLettersOntoTheirFolders) {
    const auto folder = [](QChar letter) { return QStringLiteral("/srv/drives/") + letter + '/'; };
    EXPECT_EQ(platform::mapWindowsPath(QString::fromUtf8(GetParam().windowsPath), folder),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DriveMapTest,
    ::testing::Values(MapCase{R"(D:\SFS_v1.3.4.4\sunat_archivos\sfs\DATA\)",
                              "/srv/drives/D/SFS_v1.3.4.4/sunat_archivos/sfs/DATA/"},
                      MapCase{R"(c:\kzv.bmp)", "/srv/drives/C/kzv.bmp"},
                      MapCase{R"(C:\Velcaris\Base de datos)",
                              "/srv/drives/C/Velcaris/Base de datos"},
                      MapCase{R"(e:\)", "/srv/drives/E/"}, MapCase{"E:", "/srv/drives/E"},
                      MapCase{"D:DATA", "/srv/drives/D/DATA"},
                      MapCase{R"(sunat\DATA\20100066603-01.cab)", "sunat/DATA/20100066603-01.cab"},
                      MapCase{R"(\\SERVIDOR\compartido)", "//SERVIDOR/compartido"},
                      MapCase{R"(1:\no\es\unidad)", "1:/no/es/unidad"}, MapCase{"", ""}));

// A SystemPlatform over settings of its own INI file.
class SystemPlatformTest : public ::testing::Test {
protected:
    SystemPlatformTest()
        : config_("VELCARIS_CONFIG", (dir_.path() + QStringLiteral("/velcaris.ini")).toUtf8()),
          drive_("VELCARIS_DRIVE_D", QByteArray()),
          workstation_("VELCARIS_WORKSTATION", QByteArray()),
          settings_(db::Settings::load()) {}

    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    ScopedEnv config_;
    ScopedEnv drive_;
    ScopedEnv workstation_;
    db::Settings settings_;
};

TEST_F(SystemPlatformTest, MapsPathsThroughTheDrivesOfTheSettings) {
    settings_.setValue(QStringLiteral("drives/D"), path(QStringLiteral("unidad-d")));
    SystemPlatform system(settings_);

    EXPECT_EQ(system.mapPath(QStringLiteral(R"(d:\SFS_v1.3.4.4\sunat_archivos\sfs\DATA\)")),
              path(QStringLiteral("unidad-d/SFS_v1.3.4.4/sunat_archivos/sfs/DATA/")));
    EXPECT_FALSE(system.driveExists(QLatin1Char('D')));
    QDir().mkpath(path(QStringLiteral("unidad-d")));
    EXPECT_TRUE(system.driveExists(QLatin1Char('d')));
    EXPECT_FALSE(system.driveExists(QLatin1Char('1')));
}

TEST_F(SystemPlatformTest, ComputerNameIsTheWorkstationSettingInUpperCase) {
    settings_.setValue(QStringLiteral("workstation/name"), QStringLiteral("caja-02"));
    EXPECT_EQ(SystemPlatform(settings_).computerName(), QStringLiteral("CAJA-02"));

    settings_.setValue(QStringLiteral("workstation/name"), QString());
    EXPECT_EQ(SystemPlatform(settings_).computerName(), QSysInfo::machineHostName().toUpper());
}

TEST_F(SystemPlatformTest, UsbStorageFollowsTheModprobeRule) {
    const QString rule = path(QStringLiteral("usb.conf"));
    settings_.setValue(QStringLiteral("platform/usb_rule_file"), rule);
    SystemPlatform system(settings_);
    EXPECT_EQ(system.usbStorage(), Platform::UsbStorage::Enabled);

    ASSERT_TRUE(system.setUsbStorage(false));
    EXPECT_EQ(system.usbStorage(), Platform::UsbStorage::Disabled);
    QFile file(rule);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\ninstall usb-storage /bin/false\n"));
    file.close();

    ASSERT_TRUE(system.setUsbStorage(true));
    EXPECT_EQ(system.usbStorage(), Platform::UsbStorage::Enabled);
    EXPECT_FALSE(QFile::exists(rule));
    EXPECT_TRUE(system.setUsbStorage(true));  // already enabled

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("install usb-storage /sbin/modprobe --ignore-install usb-storage\n");
    file.close();
    EXPECT_EQ(system.usbStorage(), Platform::UsbStorage::Enabled);
}

TEST_F(SystemPlatformTest, UsbSwitchReportsAFolderItCannotWrite) {
    // A rule file under a plain file: no one can create it, not even root.
    QFile plain(path(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    settings_.setValue(QStringLiteral("platform/usb_rule_file"),
                       path(QStringLiteral("plain/usb.conf")));
    SystemPlatform system(settings_);
    EXPECT_FALSE(system.setUsbStorage(false));
    EXPECT_EQ(system.usbStorage(), Platform::UsbStorage::Enabled);
}

TEST_F(SystemPlatformTest, UsbSwitchReportsARuleItCannotRemove) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString locked = path(QStringLiteral("locked"));
    QDir().mkpath(locked);
    settings_.setValue(QStringLiteral("platform/usb_rule_file"), locked + "/usb.conf");
    SystemPlatform system(settings_);
    ASSERT_TRUE(system.setUsbStorage(false));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(system.setUsbStorage(true));
    EXPECT_EQ(system.usbStorage(), Platform::UsbStorage::Disabled);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(SystemPlatformTest, SoundsAreTheProgramsOwnWaveFiles) {
    SystemPlatform system(settings_);
    for (const char* name : {"VELCARIS", "AUTOR", "DESCARGAR"}) {
        const QString file = system.soundFile(QString::fromLatin1(name));
        ASSERT_FALSE(file.isEmpty()) << name;
        EXPECT_EQ(system.soundFile(QString::fromLatin1(name)), file) << "extracted once";
        EXPECT_TRUE(file.startsWith(
            QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/')))
            << "in the cache, not a temporary folder a killed program would leave behind";
        EXPECT_EQ(SystemPlatform(settings_).soundFile(QString::fromLatin1(name)), file)
            << "the next run finds it";
        QFile wav(file);
        ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
        const QByteArray header = wav.read(44);
        EXPECT_TRUE(header.startsWith("RIFF") && header.mid(8, 8) == "WAVEfmt ") << name;
        EXPECT_LT(wav.size(), 60 * 1024) << name;
        system.playSound(QString::fromLatin1(name));  // silent without an audio device
    }
    EXPECT_TRUE(system.soundFile(QStringLiteral("NINGUNO")).isEmpty());
    EXPECT_TRUE(system.soundFile(QStringLiteral("../sounds/AUTOR")).isEmpty());
    system.playSound(QStringLiteral("NINGUNO"));
}

// A PATH of its own holding fake calculators.
class CalculatorTest : public SystemPlatformTest {
protected:
    CalculatorTest() : path_("PATH", bin_.path().toUtf8()) {}

    void install(const QString& name, const QByteArray& script = "#!/bin/sh\n") {
        QFile program(bin_.filePath(name));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write(script);
        program.close();
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner);
    }

    QTemporaryDir bin_;
    ScopedEnv path_;
};

TEST_F(CalculatorTest, TheFirstInstalledCalculatorInOrderOfPreferenceIsChosen) {
    EXPECT_TRUE(SystemPlatform::findCalculator().isEmpty());
    SystemPlatform(settings_).startCalculator();  // none installed: nothing happens

    install(QStringLiteral("xcalc"));
    EXPECT_EQ(QFileInfo(SystemPlatform::findCalculator()).fileName(), QStringLiteral("xcalc"));
    install(QStringLiteral("galculator"));
    EXPECT_EQ(QFileInfo(SystemPlatform::findCalculator()).fileName(), QStringLiteral("galculator"));
    install(QStringLiteral("gnome-calculator"));
    EXPECT_EQ(QFileInfo(SystemPlatform::findCalculator()).fileName(),
              QStringLiteral("gnome-calculator"));
}

TEST_F(CalculatorTest, TheCalculatorIsStartedAndLeftRunning) {
    const QString marker = path(QStringLiteral("started"));
    install(QStringLiteral("kcalc"), "#!/bin/sh\necho started > '" + marker.toUtf8() + "'\n");
    SystemPlatform(settings_).startCalculator();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 20000));
}

}  // namespace
