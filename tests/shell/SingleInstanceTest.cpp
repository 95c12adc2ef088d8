// One copy of the program per data home.

#include "shell/SingleInstance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "storage/Cp1252.h"
#include "support/ChildProcess.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

class SingleInstanceTest : public DataHomeTest {};

TEST_F(SingleInstanceTest, ASecondCopyIsToldAndEndsAndACrashedCopyBlocksNothing) {
    ScriptedUi ui;
    {
        ChildProcess first([home = Home()](const std::function<void()>& ready) {
            ScriptedUi childUi;
            DataHomeLock lock;
            if (ClaimDataHome(childUi, home, lock)) {
                ready();
                for (;;) {
                    ::pause();
                }
            }
        });
        ASSERT_TRUE(first.WaitReady());
        DataHomeLock second;
        EXPECT_FALSE(ClaimDataHome(ui, Home(), second));
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, W("O programa já está aberto neste computador."));
        EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Ok);
        first.Kill();
    }
    ui.ClearMessages();
    DataHomeLock next;
    EXPECT_TRUE(ClaimDataHome(ui, Home(), next));
    EXPECT_TRUE(next.Held());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SingleInstanceTest, AHomeWithoutRoomForTheLockStillStarts) {
    // What is wrong with such a home is for the preparation of the home to say.
    WriteBytes(Scratch() / "arquivo", "x");
    ScriptedUi ui;
    DataHomeLock lock;
    EXPECT_TRUE(ClaimDataHome(ui, Scratch() / "arquivo", lock));
    EXPECT_FALSE(lock.Held());
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace velmaro::test
