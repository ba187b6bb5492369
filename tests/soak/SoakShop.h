#pragma once

#include "core/Clock.h"
#include "core/DayWindow.h"
#include "db/Db.h"
#include "db/Settings.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "support/FakePrintSystem.h"
#include "support/ScriptedMessages.h"

#include <QStringList>
#include <map>
#include <ostream>

// Faults print as text when a check fails.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The shop the soak and crash tests run: one sale day, a few presentations, drives shared by
// every workstation, and the checks of what must hold after any mix of work on it.
namespace soak {

inline const QDate kDay(2026, 3, 7);
inline core::DateTimeRange saleDay() {
    return core::saleDay(kDay);
}

// Drives C:, D: and E: as folders of one root, so workstations on several threads or in
// several processes write to the same D:.
class FolderPlatform : public platform::Platform {
public:
    explicit FolderPlatform(QString root);

    QString computerName() const override { return QStringLiteral("SOAK"); }
    QString mapPath(const QString& windowsPath) const override;
    bool driveExists(QChar letter) const override;
    void playSound(const QString&) override {}
    void startCalculator() override {}
    void trimWorkingSet() override {}
    UsbStorage usbStorage() const override { return UsbStorage::Unknown; }
    bool setUsbStorage(bool) override { return false; }
    QString choosePictureFile(QWidget*) override { return {}; }
    platform::PrintSystem& printSystem() override { return printer_; }

    // The tax tool's data folder.
    QString dataFolder() const;

private:
    QString root_;
    testsupport::FakePrintSystem printer_;
};

// One workstation's program around its own connection, logged in as `userCode`, its clock
// fixed on the sale day: what sales::dischargeSale runs in. Belongs to the thread that made it.
class Station {
public:
    Station(db::Db& db, platform::Platform& platform, int userCode);
    session::AppContext& context() { return context_; }

private:
    db::Settings settings_ = db::Settings::load();
    core::FixedClock clock_;
    testsupport::ScriptedMessages messages_;
    session::TDM dm_;
    session::Session session_;
    session::Commands commands_;
    session::AppContext context_;
};

// A worker process of the crash tests tells where it stands on its standard output, each step
// on a line of its own marked so that GoogleTest's own lines are told apart.
inline const QByteArray kMark("@@ ");
void announce(const QByteArray& step);
// The test's database as a worker process reaches it.
QString workerUrl(const db::ConnectionInfo& info);

// The seed the tests draw their choices from; VELCARIS_SOAK_SEED replays a run.
quint32 seed();

// Presentation code -> units in stock.
using Stock = std::map<int, int>;

// The presentations (each with its own product and brand) and the tax-rate row.
void seedShop(db::Db& db, const Stock& stock);

// Every check returns what it found wrong, one text per fault; empty when all holds.

// Sale numbers of the day are unique and run from 1 without gaps.
QStringList saleNumberFaults(db::Db& db);
// Boleta and factura numbers run from 1 without gaps or repeats; a sale note has none.
QStringList receiptNumberFaults(db::Db& db);
// Every line is in exactly one known state, its quantity fits it ("DEVUELTO" 0, otherwise
// above 0); a sale is either wholly pending or wholly settled, and its header says which.
QStringList lineAndSaleFaults(db::Db& db);
// No stock below 0, and each presentation's stock is its initial stock less the units its
// lines still hold ("DESCARGADO" and "DEVUELTO" lines keep what was not returned).
QStringList stockFaults(db::Db& db, const Stock& initial);
// Files under final names belong to discharged facturas, and every discharged factura has all
// five, its ".det" one line per settled line. With `complete`, no temporary file is left;
// without (after a crash), a file still under a temporary name counts as present, so nothing a
// committed discharge wrote is lost, only perhaps not yet named.
QStringList taxFileFaults(db::Db& db, const QString& dataFolder, bool complete);

}  // namespace soak
