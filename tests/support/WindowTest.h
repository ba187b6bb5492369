#pragma once

#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessages.h"

#include "core/Clock.h"
#include "db/Settings.h"
#include "session/AppContext.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"

#include <memory>

namespace testsupport {

// A window's surroundings on the test's database: a data module, a session, an empty command
// registry, scripted messages, a fixed clock and a fake platform; no main window unless the test
// builds one (after registering what it needs: registerSubsystems()).
class WindowTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        dm_ = std::make_unique<session::TDM>(db());
        session_.setSaleDay(clock.today());
        ctx_ = std::make_unique<session::AppContext>(session::AppContext{
            db(), settings, clock, messages, platform, *dm_, session_, commands_});
    }

    void TearDown() override {
        ctx_.reset();
        dm_.reset();
        DbTest::TearDown();
    }

    session::AppContext& ctx() { return *ctx_; }
    session::TDM& dm() { return *dm_; }
    session::Session& session() { return session_; }

    // The user logged in as the login window leaves it (no attendance row, no cost figures).
    void logIn(int userCode, const QString& login) { session_.logIn(userCode, login, 0, false); }

    db::Settings settings = db::Settings::load();
    core::FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    ScriptedMessages messages;
    FakePlatform platform;

private:
    session::Session session_;
    session::Commands commands_;
    std::unique_ptr<session::TDM> dm_;
    std::unique_ptr<session::AppContext> ctx_;
};

}  // namespace testsupport
