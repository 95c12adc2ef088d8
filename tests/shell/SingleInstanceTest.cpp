// One copy of the program per data home.

#include "shell/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

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

TEST_F(SingleInstanceTest, ALockThatCannotBeTakenCountsAsHeldAndSaysWhy) {
    // A second copy could be working on such a home unseen: the start ends, told why.
    struct Case {
        const char* what;
        std::function<std::filesystem::path(const std::filesystem::path&)> make;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a file in the home's place",
         [](const std::filesystem::path& dir) {
             WriteBytes(dir / "arquivo", "x");
             return dir / "arquivo";
         },
         "a pasta de dados não é uma pasta"},
        {"a folder in the lock file's place",
         [](const std::filesystem::path& dir) {
             std::filesystem::create_directories(dir / "casa" / DataHomeLock::kFileName);
             return dir / "casa";
         },
         "há uma pasta no lugar do arquivo de trava"},
        {"a pipe in the lock file's place",
         [](const std::filesystem::path& dir) {
             std::filesystem::create_directories(dir / "cano");
             EXPECT_EQ(::mkfifo((dir / "cano" / DataHomeLock::kFileName).c_str(), 0644), 0);
             return dir / "cano";
         },
         "não é um arquivo comum"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path home = c.make(Scratch());
        ScriptedUi ui;
        DataHomeLock lock;
        EXPECT_FALSE(ClaimDataHome(ui, home, lock));
        EXPECT_FALSE(lock.Held());
        ASSERT_EQ(ui.Messages().size(), 1u);
        const std::string& text = ui.Messages()[0].text;
        EXPECT_EQ(text.rfind(W("Não foi possível reservar a pasta de dados"), 0), 0u) << text;
        EXPECT_NE(text.find(W(c.reason)), std::string::npos) << text;
        EXPECT_NE(text.find(W("o programa será encerrado")), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace velmaro::test
