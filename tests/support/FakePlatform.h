#pragma once

#include "platform/DriveMap.h"
#include "platform/Platform.h"
#include "support/FakePrintSystem.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// Operating-system services that record what the program asked of them. The drives C:, D:
// and E: are folders of a temporary folder, created at construction.
class FakePlatform : public platform::Platform {
public:
    FakePlatform() {
        for (const char letter : {'C', 'D', 'E'})
            makeDrive(QLatin1Char(letter));
    }

    QString computerName() const override { return name; }
    QString mapPath(const QString& windowsPath) const override {
        return platform::mapWindowsPath(windowsPath,
                                        [this](QChar letter) { return driveFolder(letter); });
    }
    bool driveExists(QChar letter) const override { return QDir(driveFolder(letter)).exists(); }
    void playSound(const QString& sound) override { sounds << sound; }
    void startCalculator() override { ++calculatorStarts; }
    void trimWorkingSet() override { ++trims; }
    UsbStorage usbStorage() const override { return usb; }
    bool setUsbStorage(bool enabled) override {
        usbWrites << enabled;
        if (!usbWritable)
            return false;
        usb = enabled ? UsbStorage::Enabled : UsbStorage::Disabled;
        return true;
    }
    QString choosePictureFile(QWidget*) override {
        ++pictureChoices;
        return pictureFile;
    }

    platform::PrintSystem& printSystem() override {
        return realPrintSystem ? *realPrintSystem : printer;
    }

    // The folder that stands for a drive (whether it exists or not).
    QString driveFolder(QChar letter) const {
        return root_.path() + QLatin1Char('/') + letter.toUpper();
    }
    QString makeDrive(QChar letter) {
        QDir().mkpath(driveFolder(letter));
        return driveFolder(letter);
    }
    void removeDrive(QChar letter) { QDir(driveFolder(letter)).removeRecursively(); }

    QString name = QStringLiteral("CAJA01");
    QStringList sounds;
    int calculatorStarts = 0;
    int trims = 0;
    UsbStorage usb = UsbStorage::Enabled;
    bool usbWritable = true;  // false: every setUsbStorage fails
    QList<bool> usbWrites;    // every switch asked for, successful or not
    QString pictureFile;      // what the picture dialog answers; empty: cancelled
    int pictureChoices = 0;
    FakePrintSystem printer;
    platform::PrintSystem* realPrintSystem = nullptr;  // set: used instead of the fake

private:
    QTemporaryDir root_;
};

}  // namespace testsupport
