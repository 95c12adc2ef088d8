// The start of the program on a data home that another copy holds.

#include <gtest/gtest.h>

#include "e2e/AppDriver.h"
#include "storage/DataHomeLock.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

class SingleInstanceE2e : public DataHomeTest {};

TEST_F(SingleInstanceE2e, ASecondCopyShowsTheMessageAndDoesNotStart) {
    DataHomeLock first;  // the copy already running
    ASSERT_EQ(first.Acquire(Home()), DataHomeLock::State::Held);
    AppDriver driver;
    bool claimed = true;
    driver.Answer("OkBitBtn");
    ASSERT_TRUE(driver.RunStart([&] { claimed = driver.App().ClaimHome(); })) << driver.Failure();
    EXPECT_FALSE(claimed);
    EXPECT_EQ(driver.Messages(),
              std::vector<std::string>{"O programa já está aberto neste computador."});
    EXPECT_FALSE(std::filesystem::exists(Home() / "Dados")) << "nothing of the home was touched";

    first.Release();  // the first copy ended (or crashed)
    EXPECT_TRUE(driver.App().ClaimHome());
    DataHomeLock third;
    EXPECT_EQ(third.Acquire(Home()), DataHomeLock::State::Busy) << "held for the whole run";
}

}  // namespace
}  // namespace velmaro::test
