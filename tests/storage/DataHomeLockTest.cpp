#include "storage/DataHomeLock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/ChildProcess.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using State = DataHomeLock::State;

// A copy of the program holding the data home until it is killed.
test::ChildProcess HoldingCopy(const std::filesystem::path& home) {
    return test::ChildProcess([home](const std::function<void()>& ready) {
        DataHomeLock lock;
        if (lock.Acquire(home) != State::Held) {
            return;  // ends without ready(): the parent sees it
        }
        ready();
        for (;;) {
            ::pause();
        }
    });
}

TEST(DataHomeLock, ASecondCopyFindsTheHomeBusyUntilTheFirstIsKilled) {
    test::TempDir dir;
    const auto home = dir.Path() / "home";
    {
        test::ChildProcess first = HoldingCopy(home);
        ASSERT_TRUE(first.WaitReady()) << "the first copy takes a new home (and makes it)";
        DataHomeLock second;
        EXPECT_EQ(second.Acquire(home), State::Busy);
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(second.Acquire(home), State::Busy) << "trying again changes nothing";
        // Another home is free meanwhile.
        DataHomeLock elsewhere;
        EXPECT_EQ(elsewhere.Acquire(dir.Path() / "outra"), State::Held);

        first.Kill();  // a crash: nothing released by the program itself
        EXPECT_TRUE(std::filesystem::exists(home / DataHomeLock::kFileName))
            << "the crashed copy's lock file is left behind";
        EXPECT_EQ(second.Acquire(home), State::Held) << "a killed copy's lock is free again";

        // Now the roles turn: a copy started while this process holds the home gives up.
        test::ChildProcess third = HoldingCopy(home);
        EXPECT_FALSE(third.WaitReady());
        EXPECT_EQ(third.Wait(), 0);
        second.Release();
        test::ChildProcess fourth = HoldingCopy(home);
        EXPECT_TRUE(fourth.WaitReady()) << "a released home can be taken";
    }
}

TEST(DataHomeLock, EveryOpenOfTheLockFileCountsAsAnotherCopy) {
    // The program and the command-line companion in one process (as in tests) exclude
    // each other too, and a lock moved to another owner stays held.
    test::TempDir dir;
    DataHomeLock first;
    ASSERT_EQ(first.Acquire(dir.Path()), State::Held);
    DataHomeLock second;
    EXPECT_EQ(second.Acquire(dir.Path()), State::Busy);
    DataHomeLock moved = std::move(first);
    EXPECT_TRUE(moved.Held());
    EXPECT_EQ(first.GetState(), State::Free);
    EXPECT_EQ(second.Acquire(dir.Path()), State::Busy);
    moved = DataHomeLock();
    EXPECT_EQ(second.Acquire(dir.Path()), State::Held);
}

TEST(DataHomeLock, AHomeThatCannotHoldTheLockFileIsUnavailableNotBusy) {
    test::TempDir dir;
    test::WriteBytes(dir.Path() / "arquivo", "não é uma pasta");
    DataHomeLock lock;
    EXPECT_EQ(lock.Acquire(dir.Path() / "arquivo"), State::Unavailable);
    EXPECT_NE(lock.Error().find(DataHomeLock::kFileName), std::string::npos) << lock.Error();
}

}  // namespace
}  // namespace velmaro
