#pragma once

#include "support/DbTest.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessages.h"

#include "core/Clock.h"
#include "db/Settings.h"
#include "shell/AppContext.h"
#include "shell/UnitDM.h"

#include <memory>

namespace testsupport {

// A window's surroundings on the test's database: a data module, scripted messages, a fixed
// clock and a fake platform; no main window unless the test sets ctx().principal.
class WindowTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        dm_ = std::make_unique<shell::TDM>(db());
        ctx_ = std::make_unique<shell::AppContext>(
            shell::AppContext{db(), settings, clock, messages, platform, *dm_, nullptr});
    }

    void TearDown() override {
        ctx_.reset();
        dm_.reset();
        DbTest::TearDown();
    }

    shell::AppContext& ctx() { return *ctx_; }
    shell::TDM& dm() { return *dm_; }

    db::Settings settings = db::Settings::load();
    core::FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    ScriptedMessages messages;
    FakePlatform platform;

private:
    std::unique_ptr<shell::TDM> dm_;
    std::unique_ptr<shell::AppContext> ctx_;
};

}  // namespace testsupport
