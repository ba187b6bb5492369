#pragma once

#include "db/Settings.h"
#include "platform/CupsPrintSystem.h"
#include "platform/Platform.h"

#include <QStringList>
#include <memory>

namespace platform {

// The real operating-system services of a Linux workstation.
//
// Settings read: workstation/name (computer name), drives/<letter> (drive map),
// platform/usb_rule_file (the modprobe rule that switches USB storage off; default
// /etc/modprobe.d/velcaris-usb-storage.conf).
class SystemPlatform : public Platform {
public:
    explicit SystemPlatform(const db::Settings& settings);
    ~SystemPlatform() override;

    QString computerName() const override;
    QString mapPath(const QString& windowsPath) const override;
    bool driveExists(QChar letter) const override;
    void playSound(const QString& name) override;
    void startCalculator() override;
    void trimWorkingSet() override;
    QString choosePictureFile(QWidget* parent) override;
    UsbStorage usbStorage() const override;
    bool setUsbStorage(bool enabled) override;
    PrintSystem& printSystem() override { return printSystem_; }

    // The desktop calculators looked for, in order of preference.
    static const QStringList& calculators();
    // The first of calculators() found on PATH; empty when none is installed.
    static QString findCalculator();
    // The sound's WAV file, extracted from the program's resources into a temporary folder on
    // first use; empty for an unknown sound.
    QString soundFile(const QString& name);
    // The modprobe rule file in use.
    QString usbRuleFile() const;

    // The line of the rule file that disables USB storage.
    static constexpr const char* kUsbDisabledRule = "install usb-storage /bin/false";

private:
    QString databaseFolder() const;

    struct Sounds;
    db::Settings settings_;
    std::unique_ptr<Sounds> sounds_;
    CupsPrintSystem printSystem_;
};

}  // namespace platform
