#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

namespace {

using platform::SingleInstance;

// Another process of this workstation, forked from the test, that takes the guard and then
// does what the test asks over a pipe: 'r' releases it and exits, 'k' exits still holding it
// (a copy that crashed). It reports 'y' or 'n' for whether it got the guard.
class OtherCopy {
public:
    explicit OtherCopy(const QString& folder) {
        if (pipe(toChild_) != 0 || pipe(fromChild_) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0)
            runChild(folder);
        close(toChild_[0]);
        close(fromChild_[1]);
    }
    ~OtherCopy() {
        if (pid_ > 0)
            finish('r');
        close(toChild_[1]);
        close(fromChild_[0]);
    }

    // Whether the other copy got the guard.
    bool acquired() {
        char answer = 'n';
        return read(fromChild_[0], &answer, 1) == 1 && answer == 'y';
    }
    // Tells it to end ('r' releasing, 'k' leaving the lock file behind) and waits for it.
    void finish(char how) {
        if (write(toChild_[1], &how, 1) != 1)
            return;
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    [[noreturn]] void runChild(const QString& folder) {
        close(toChild_[1]);
        close(fromChild_[0]);
        auto guard = std::make_unique<SingleInstance>(QStringLiteral("VELCARIS_MIRANTO"), folder);
        const char answer = guard->acquire() ? 'y' : 'n';
        char how = 'r';
        if (write(fromChild_[1], &answer, 1) != 1 || read(toChild_[0], &how, 1) != 1)
            _exit(1);
        if (how == 'r')
            guard.reset();
        _exit(0);  // 'k': no destructor runs, the lock file stays
    }

    int toChild_[2] = {-1, -1};
    int fromChild_[2] = {-1, -1};
    pid_t pid_ = -1;
};

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, ASecondCopyIsRefusedWhileTheFirstRuns) {
    SingleInstance first(QStringLiteral("VELCARIS_MIRANTO"), dir_.path());
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(first.acquire()) << "taking a guard one holds is no failure";

    OtherCopy second(dir_.path());
    EXPECT_FALSE(second.acquired());
}

TEST_F(SingleInstanceTest, TheGuardOfAnotherCopyIsRefusedUntilItIsReleased) {
    SingleInstance mine(QStringLiteral("VELCARIS_MIRANTO"), dir_.path());
    OtherCopy other(dir_.path());
    ASSERT_TRUE(other.acquired());
    EXPECT_FALSE(mine.acquire());

    other.finish('r');
    EXPECT_TRUE(mine.acquire());
}

TEST_F(SingleInstanceTest, ACopyRunningForHoursStillHoldsTheGuard) {
    SingleInstance mine(QStringLiteral("VELCARIS_MIRANTO"), dir_.path());
    OtherCopy other(dir_.path());
    ASSERT_TRUE(other.acquired());
    QFile lock(mine.lockFilePath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-6 * 3600),
                                 QFileDevice::FileModificationTime));
    lock.close();

    EXPECT_FALSE(mine.acquire());
}

TEST_F(SingleInstanceTest, TheLockOfACopyThatDiedIsTakenOver) {
    SingleInstance mine(QStringLiteral("VELCARIS_MIRANTO"), dir_.path());
    OtherCopy crashed(dir_.path());
    ASSERT_TRUE(crashed.acquired());
    crashed.finish('k');
    ASSERT_TRUE(QFile::exists(mine.lockFilePath()));

    EXPECT_TRUE(mine.acquire());
}

TEST_F(SingleInstanceTest, AReleasedGuardCanBeTakenAgain) {
    SingleInstance first(QStringLiteral("VELCARIS_MIRANTO"), dir_.path());
    SingleInstance second(QStringLiteral("VELCARIS_MIRANTO"), dir_.path());
    SingleInstance otherName(QStringLiteral("OTRO"), dir_.path());
    ASSERT_TRUE(first.acquire());
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(otherName.acquire());

    first.release();
    EXPECT_FALSE(first.isHeld());
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstanceFolder, TheGuardLivesInTheRuntimeFolder) {
    const SingleInstance guard;
    EXPECT_TRUE(guard.lockFilePath().endsWith(QStringLiteral("/VELCARIS_MIRANTO.lock")));
    EXPECT_TRUE(guard.lockFilePath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
}

}  // namespace
