#pragma once

#include <QString>

class QWidget;

namespace platform {

class PrintSystem;

// The operating-system services the windows use. SystemPlatform is the real one; tests use a
// recording fake (tests/support/FakePlatform.h).
class Platform {
public:
    enum class UsbStorage { Enabled, Disabled, Unknown };

    virtual ~Platform() = default;

    // The workstation's computer name (the settings may override the host name).
    virtual QString computerName() const = 0;
    // A Windows path of the program ("D:\SFS\DATA\", "c:\kzv.bmp") in the drive map of the
    // settings: "<folder of D>/SFS/DATA/".
    virtual QString mapPath(const QString& windowsPath) const = 0;
    // True when the folder that stands for the drive exists.
    virtual bool driveExists(QChar letter) const = 0;
    // Plays one of the program's sounds ("VELCARIS", "AUTOR", "DESCARGAR") without waiting;
    // silent where there is no audio device.
    virtual void playSound(const QString& name) = 0;
    // Starts the desktop calculator; nothing happens when none is installed.
    virtual void startCalculator() = 0;
    // Gives unused memory back to the system; no visible effect, no failure reported.
    virtual void trimWorkingSet() = 0;
    // Whether removable USB storage is enabled on the workstation, and the switch for it;
    // setUsbStorage returns false when the setting could not be written.
    virtual UsbStorage usbStorage() const = 0;
    virtual bool setUsbStorage(bool enabled) = 0;
    // The picture-file dialog over `parent`: the chosen file's path, empty when cancelled.
    virtual QString choosePictureFile(QWidget* parent) = 0;
    // The print system the reports and receipts go to.
    virtual PrintSystem& printSystem() = 0;
};

}  // namespace platform
